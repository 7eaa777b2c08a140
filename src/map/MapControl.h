#pragma once

#include "map/MapLayer.h"

#include <QObject>
#include <QPointF>
#include <QTransform>

#include <memory>
#include <vector>

// Tool numbers of the map itself; custom tools use their own numbers.
enum TMapTool : int {
    ToolArrow = 1000,
    ToolPan = 1001,
    ToolCenter = 1002,
    ToolZoomIn = 1003,
    ToolZoomOut = 1004,
    ToolSelect = 1007,
    ToolRadiusSelect = 1008,
    ToolRectSelect = 1009,
    ToolPolygonSelect = 1010,
};

// Kinds of custom tools.
enum TToolKind : int {
    ToolKindPoint = 0,
    ToolKindLine = 1,
    ToolKindCircle = 2,
    ToolKindRect = 3,
    ToolKindPolyline = 4
};

// Feature edit modes.
enum TFeatureEditMode : int { EditModeObjects = 0, EditModeNodes = 1, EditModeAddNodes = 2 };

// A feature by its layer and key.
struct TMapFeatureRef {
    TMapLayer* Layer = nullptr;
    TFeatureKey Key = kNoFeature;
    bool IsValid() const { return Layer && Layer->HasFeature(Key); }
    const TMapFeature* Feature() const { return Layer ? Layer->FindFeature(Key) : nullptr; }
    bool operator==(const TMapFeatureRef&) const = default;
};

// The map: an ordered list of layers (index 0 on top) and the view and tool state
// that the canvas draws and the windows use. It knows nothing of the screen beyond
// the size in pixels that the canvas reports.
class TMap : public QObject {
    Q_OBJECT
public:
    explicit TMap(QObject* parent = nullptr);
    ~TMap() override;

    // ---- layers
    // Adds a layer at a 1-based position (1 = top; beyond the count = bottom).
    TMapLayer* AddLayer(const TMapLayerInfo& info, int position = 1);
    int LayerCount() const { return static_cast<int>(layers_.size()); }
    TMapLayer* LayerAt(int index) const;             // 0 = top; null when out of range
    TMapLayer* FindLayer(const QString& name) const; // case-insensitive; null when missing
    TMapDataset* FindDataset(const QString& name) const;
    int LayerIndex(const TMapLayer* layer) const; // -1 when not on the map
    void RemoveLayer(TMapLayer* layer);
    void RemoveAllLayers();
    void MoveLayer(int from, int to); // 0-based indexes

    // ---- properties
    int CurrentTool = ToolArrow;
    int MousePointer = 0;
    TMapUnit MapUnit = TMapUnit::Metre;
    TAreaUnit AreaUnit = TAreaUnit::SquareMetre;
    bool AutoRedraw = true;
    int FeatureEditMode = EditModeObjects;
    bool SnapToNodeSupport = false;
    TMapStyle DefaultStyle;
    TMapCoordSys NumericCoordSys;
    TMapCoordSys DisplayCoordSys;

    // The view: width of the visible area in MapUnit and its centre in map coordinates.
    double Zoom() const { return zoom_; }
    void SetZoom(double zoom);
    double CenterX() const { return centerX_; }
    double CenterY() const { return centerY_; }
    void SetCenter(double x, double y);
    void ZoomTo(double zoom, double x, double y);
    // The visible rectangle; setting it centres the view on it and fits it.
    TMapRect Bounds() const;
    void SetBounds(const TMapRect& rect);
    // The size of the drawing area in pixels, reported by the canvas.
    int ScreenWidth() const { return screenWidth_; }
    int ScreenHeight() const { return screenHeight_; }
    void SetScreenSize(int width, int height);
    // Map to pixel transformation of the current view (y grows downwards on screen).
    QTransform MapToScreenTransform() const;
    QPointF MapToScreen(const TMapPoint& p) const;
    TMapPoint ScreenToMap(const QPointF& pixel) const;

    // Distance between two map points in MapUnit; area of a feature in AreaUnit.
    double Distance(double x1, double y1, double x2, double y2) const;
    double FeatureAreaInUnits(const TMapFeature& feature) const;
    // The point lies inside the bounds of the numeric coordinate system.
    bool InsideNumericBounds(const TMapPoint& p) const { return NumericCoordSys.Contains(p); }

    // ---- custom tools
    void CreateCustomTool(int number, int kind, int cursor);
    bool IsCustomTool(int number) const;
    int CustomToolKind(int number) const; // -1 when no such tool

    // ---- selection over all layers
    // Selected features of every layer, in layer and feature order.
    std::vector<TMapFeatureRef> SelectedFeatures() const;
    void ClearSelection();
    // Called by layers; emits SelectionChanged (once per batch, see below).
    void NotifySelectionChanged();
    // Between Begin and End, selection changes are collected into one notification.
    void BeginSelectionUpdate();
    void EndSelectionUpdate();

    // Asks the canvas to repaint.
    void Refresh();

signals:
    void SelectionChanged();
    void LayersChanged();
    void ViewChanged();
    void RefreshRequested();
    // Raised by the canvas when a tool has been used.
    void ToolUsed(int tool, double x1, double y1, double x2, double y2, double distance, bool shift,
                  bool ctrl);
    void PolyToolUsed(int tool, int flags, const TMapPoints& points, bool shift, bool ctrl);

private:
    std::vector<std::unique_ptr<TMapLayer>> layers_;
    double zoom_ = 1000.0;
    double centerX_ = 0.0, centerY_ = 0.0;
    int screenWidth_ = 800, screenHeight_ = 600;
    struct CustomTool {
        int number, kind, cursor;
    };
    std::vector<CustomTool> customTools_;
    int selectionBatch_ = 0;
    bool selectionPending_ = false;
};

// Collects selection changes of a block into one notification.
class TSelectionUpdate {
public:
    explicit TSelectionUpdate(TMap& map) : map_(map) { map_.BeginSelectionUpdate(); }
    ~TSelectionUpdate() { map_.EndSelectionUpdate(); }
    TSelectionUpdate(const TSelectionUpdate&) = delete;
    TSelectionUpdate& operator=(const TSelectionUpdate&) = delete;

private:
    TMap& map_;
};
