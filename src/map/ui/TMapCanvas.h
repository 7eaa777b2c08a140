#pragma once

#include "map/MapControl.h"
#include "map/MapRenderer.h"
#include "map/MapTools.h"

#include <QImage>
#include <QWidget>

#include <functional>

// The map control: a widget that owns a map (TMap), draws it and runs its tools. The
// drawn layers are kept in an image that is only redrawn when the map, its view or its
// selection change; panning moves that image, and gestures in progress (rubber lines,
// zoom boxes, node drags) are drawn over it.
class TMapCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TMapCanvas(QWidget* parent = nullptr);

    TMap& Map() { return map_; }
    const TMap& Map() const { return map_; }
    TMapToolController& Tools() { return tools_; }

    // Conversions between the widget's pixels and map coordinates.
    TMapPoint ScreenToMap(const QPointF& pixel) const;
    QPointF MapToScreen(const TMapPoint& p) const;
    // The widget's width in screen centimetres (the unit of scales and snap radii).
    double ScreenWidthCm() const;
    // Redraws the layers (after features changed).
    void Refresh();
    TRenderOptions& RenderOptions() { return options_; }
    // An extra drawing over the map (the window's temporary marks), in widget pixels.
    void SetOverlayPainter(std::function<void(QPainter&)> painter) { overlay_ = std::move(painter); }
    // Renders the current view into an image of the widget's size (for tests and pictures).
    QImage RenderToImage(double devicePixelRatio = 1.0) const;

signals:
    void OnSelectionChanged();
    void OnToolUsed(int tool, double x1, double y1, double x2, double y2, double distance, bool shift,
                    bool ctrl);
    void OnPolyToolUsed(int tool, int flags, const TMapPoints& points);
    // Mouse and keys: the button, the modifiers and the map point.
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers mods, double x, double y);
    void OnMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, double x, double y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, double x, double y);
    void OnDblClick(double x, double y);
    void OnKeyDown(int key, Qt::KeyboardModifiers mods);
    // The view moved or zoomed.
    void OnViewChanged();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;

private:
    void Invalidate();
    void UpdateCursor();
    void PaintOverlay(QPainter& painter);

    TMap map_;
    TMapToolController tools_;
    TRenderOptions options_;
    QImage cache_;
    bool dirty_ = true;
    std::function<void(QPainter&)> overlay_;
};
