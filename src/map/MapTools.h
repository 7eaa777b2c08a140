#pragma once

#include "map/MapControl.h"
#include "map/MapEditing.h"

#include <QObject>
#include <QPointF>
#include <QRectF>

#include <optional>

// Flags of a polyline tool's report.
enum TPolyToolFlags : int {
    PolyToolBegin = 0,
    PolyToolInProgress = 1,
    PolyToolEnd = 2,
    PolyToolEndEscaped = 3
};

// What the mouse and the keyboard do on the map, for the current tool of the map:
// selection by a click (shift adds or removes), panning by dragging, zooming in and out
// by a click or a box, the wheel, custom point tools (one report per click) and custom
// polyline tools (points collected until a double click or Enter), and in node-editing
// mode dragging a node or adding one to a side. Pixels are logical pixels of the view.
// It knows no widget: the canvas feeds it and draws what it holds in progress.
class TMapToolController : public QObject {
    Q_OBJECT
public:
    explicit TMapToolController(TMap& map, QObject* parent = nullptr);

    void MousePress(const QPointF& pixel, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void MouseMove(const QPointF& pixel, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    void MouseRelease(const QPointF& pixel, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    void DoubleClick(const QPointF& pixel, Qt::MouseButton button, Qt::KeyboardModifiers mods);
    // Wheel steps (120 per notch); forward zooms in around the pixel.
    void Wheel(const QPointF& pixel, int angleDelta);
    // Enter ends and Esc abandons a polyline tool; true when the key was used.
    bool KeyPress(int key, Qt::KeyboardModifiers mods);
    // Forgets every gesture in progress (the tool changed).
    void Reset();

    // Hit tolerance of clicks and node picking, in pixels.
    double PickTolerancePixels = 5;
    // The zoom factor of one click of the zoom tools and of one wheel notch.
    double ClickZoomFactor = 2.0;
    double WheelZoomFactor = 1.25;
    // Layers whose nodes node editing does not pick (labels and marks built from other objects).
    QStringList NodeLayersSkipped;

    // In progress, for drawing.
    bool IsPanning() const { return panning_; }
    QPointF PanOffset() const { return panning_ ? lastPixel_ - pressPixel_ : QPointF(); }
    std::optional<QRectF> ZoomBox() const; // pixels
    const TMapPoints& PolyPoints() const { return polyPoints_; }
    TMapPoint MousePoint() const { return mouse_; }
    bool HasMousePoint() const { return hasMouse_; }
    // Node editing: the node picked and, while dragging, where it goes.
    const std::optional<TNodeHit>& SelectedNode() const { return selectedNode_; }
    bool IsDraggingNode() const { return draggingNode_; }
    TMapPoint NodeDragTarget() const { return dragTarget_; }
    void ClearSelectedNode() { selectedNode_.reset(); }
    void SetSelectedNode(const std::optional<TNodeHit>& node) { selectedNode_ = node; }

    // Selects the topmost feature at the map point (the same as a click of the selection
    // tool); with add, toggles it in the selection.
    void SelectAt(const TMapPoint& p, bool add);

signals:
    // Something drawn over the map changed (rubber lines, a zoom box, a node drag).
    void OverlayChanged();
    // A node was dragged from one place to another (node-editing mode): the receiver moves it.
    void NodeDragged(const TNodeHit& node, const TMapPoint& to);
    // A node was picked in node-editing mode.
    void NodeSelected(const TNodeHit& node);
    // A node is to be added to a side in node-adding mode.
    void NodeAddRequested(const TNodeHit& side, const TMapPoint& at);

private:
    bool IsPolyTool() const;
    bool NodeMode() const;
    void EndPoly(bool escaped);
    double Tolerance() const;

    TMap& map_;
    bool pressed_ = false;
    Qt::MouseButton pressButton_ = Qt::NoButton;
    QPointF pressPixel_, lastPixel_;
    bool dragged_ = false;
    bool panning_ = false;
    TMapPoints polyPoints_;
    TMapPoint mouse_;
    bool hasMouse_ = false;
    std::optional<TNodeHit> selectedNode_;
    bool draggingNode_ = false;
    TMapPoint dragTarget_;
};

Q_DECLARE_METATYPE(TNodeHit)
