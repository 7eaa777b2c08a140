#pragma once

#include "map/MapTypes.h"
#include "map/ViewTransform.h"

#include <QColor>
#include <QPainter>

#include <vector>

class TMap;
class TMapLayer;
struct TMapFeature;
struct TMapStyle;

// Draws the map's layers with QPainter: bottom layer first, each feature in its own style
// (or the layer's when the layer overrides it): region fills and borders, lines, point
// symbols, texts, automatic labels, node markers, line directions and centroids, then the
// selection on top. Layers outside their zoom range are left out; only features that
// meet the visible rectangle are drawn. Coordinates go through the view's local origin,
// so the painter only ever sees small numbers. The painter may be on a high-resolution
// device: everything is drawn in logical pixels and comes out crisp.
struct TRenderOptions {
    double LogicalDpi = 96; // for sizes in points
    bool Antialiasing = true;
    bool DrawSelection = true;
    QColor Background = Qt::white;
    QColor SelectionColor = QColor(0, 140, 255);
    // A node marker for layers that show their nodes.
    int NodeMarkerPixels = 5;
    // Text objects that would cover a text of a higher layer (or one met earlier in the same
    // layer) are left out, so that crowded labels stay readable.
    bool AvoidTextOverlap = true;
};

class TMapRenderer {
public:
    // Fills the rectangle (0, 0, map screen size) and draws the map into it.
    static void Render(QPainter& painter, const TMap& map, const TRenderOptions& options = {});
    // Texts left out by AvoidTextOverlap, per layer (keys sorted).
    using TSkippedTexts = std::vector<std::vector<TFeatureKey>>;
    static TSkippedTexts PlaceTexts(const TMap& map, const TViewTransform& view,
                                    const TRenderOptions& options);
    static void RenderLayer(QPainter& painter, const TMap& map, const TMapLayer& layer,
                            const TViewTransform& view, const TRenderOptions& options,
                            const std::vector<TFeatureKey>* skippedTexts = nullptr);
    static void RenderFeature(QPainter& painter, const TMapFeature& feature, const TMapStyle& style,
                              const TViewTransform& view, const TRenderOptions& options);
    static void RenderSelection(QPainter& painter, const TMap& map, const TViewTransform& view,
                                const TRenderOptions& options);
    // A point symbol of the style centred on the pixel.
    static void DrawSymbol(QPainter& painter, const QPointF& at, const TMapStyle& style, double logicalDpi);
    static QPen LinePen(int lineStyle, int color, int width, int widthUnit, double logicalDpi);
};
