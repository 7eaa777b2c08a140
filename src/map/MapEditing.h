#pragma once

#include "map/MapControl.h"

#include <QStringList>

#include <optional>

// Editing operations of the map view that need no screen: finding nodes under the
// mouse, snapping to a node, moving and deleting a node shared by several objects,
// adding a node to a side, and the label layers (numbering, distances, node markers).

// A node of a feature: part and node indexes (0-based) and its coordinates.
struct TNodeHit {
    TMapFeatureRef Feature;
    int Part = -1;
    int Node = -1;
    TMapPoint Point;
};

// The nearest node within the tolerance among the visible layers (editable ones only
// when asked), top layer first; nullopt when none is that close.
std::optional<TNodeHit> FindNodeNear(const TMap& map, const TMapPoint& p, double tolerance, bool editableOnly,
                                     const QStringList& skippedLayers = {});
// The nearest side of a line or region within the tolerance on a visible editable layer;
// Node is the index of the side's first node.
std::optional<TNodeHit> FindSideNear(const TMap& map, const TMapPoint& p, double tolerance);
// Inserts the point after the side's first node (the feature is updated in its layer).
void InsertNodeAfter(const TNodeHit& side, const TMapPoint& p);

// ---- snapping

// Layers never searched by the snapping.
const QStringList& SnapExcludedLayers();
// The snap radius in map units: three screen millimetres at the current zoom.
double SnapRadius(const TMap& map, double screenWidthCm);

struct TSnapResult {
    bool FeatureFound = false; // some feature touches the circle
    bool NodeFound = false;    // and one of its nodes lies inside
    TMapPoint Node;
    TMapFeatureRef Feature;
};
// Searches the visible, selectable layers (except SnapExcludedLayers) in layer order for
// features touching the circle and takes the first node inside it, in layer, feature,
// part and node order (the first found, not the nearest). The skipped feature is the one
// being drawn.
TSnapResult FindSnapNode(const TMap& map, const TMapPoint& centre, double radius,
                         const TMapFeatureRef& skip = {});

// ---- shared nodes

struct TNodeEditResult {
    bool Ok = true;
    int Changed = 0;     // objects changed
    QString FailedLayer; // the layer whose object refused the change
    QString Error;
};
// Moves every node equal to `from` (both coordinates compared after RoundTo4) to `to`
// in every object of the visible layers of the list. All or nothing: when one object
// refuses, no object changes.
TNodeEditResult MoveSharedNode(TMap& map, const QStringList& layers, const TMapPoint& from,
                               const TMapPoint& to);
// Removes every node exactly equal to the given one from every ring and line of the
// visible layers of the list (a ring keeps its closing node). All or nothing: an object
// that would keep too few nodes (a ring fewer than three, a line fewer than two) makes
// the whole deletion fail with its layer named.
TNodeEditResult DeleteSharedNode(TMap& map, const QStringList& layers, const TMapPoint& node);

// ---- label layers

struct TLabelLayerSettings {
    double OffsetFactor = 2.5; // screen millimetres between a node and its number
    int DistanceDecimals = 2;
    TMapStyle TextStyle; // font of numbers and distances
};
// The label settings the map view uses (the offset factor and decimals are settings).
TLabelLayerSettings& LabelLayerSettings();

// Numbers the nodes of every ring of the feature: the first occurrence of a coordinate
// pair (RoundTo4) gets the next number, a repeated pair a blank label. Each label lies
// outside its ring, offsetMapUnits from the node.
void BuildNumberingLabels(TMapLayer& layer, const TMapFeature& feature, double offsetMapUnits,
                          const TLabelLayerSettings& settings);
// One label per side of non-zero length with its length in metres, at the side's middle,
// outside the ring and turned along the side so that the text reads upright.
void BuildDistanceLabels(TMap& map, TMapLayer& layer, const TMapFeature& feature, double offsetMapUnits,
                         const TLabelLayerSettings& settings);
// A node marker of the style on every node (the closing copy of a ring excepted).
void BuildNodeMarkers(TMapLayer& layer, const TMapFeature& feature, const TMapStyle& markerStyle);
// The text of a node number and of a distance, as the label layers write them.
QString DistanceLabelText(double metres, int decimals);
