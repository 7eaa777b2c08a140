#pragma once

#include "map/MapStyle.h"
#include "map/MapTypes.h"

#include <QString>

#include <vector>

// A feature's geometry with its style and caption. Parts are the rings of a region
// or the sections of a line; a point or a text has one part with one node (for a
// text the anchor). Rings are kept as given, usually closed (last node = first);
// measurements treat every ring as closed either way. Regions follow the even-odd
// rule: a ring inside another ring is a hole.
struct TMapFeature {
    TFeatureType Type = TFeatureType::None;
    std::vector<TMapPoints> Parts;
    TMapStyle Style;
    QString Caption;      // the text of a text feature
    double TextAngle = 0; // degrees, counter-clockwise, for a text feature
    bool Smooth = false;

    static TMapFeature MakePoint(const TMapPoint& p, const TMapStyle& style);
    static TMapFeature MakeLine(const TMapPoints& points, const TMapStyle& style);
    static TMapFeature MakeRegion(const TMapPoints& ring, const TMapStyle& style);
    static TMapFeature MakeText(const TMapPoint& anchor, const QString& caption, const TMapStyle& style,
                                double angle = 0);

    // Point, line, region and text count as plain kinds.
    bool IsPlain() const;
    int PartCount() const { return static_cast<int>(Parts.size()); }
    int NodeCount() const; // over all parts
    // The anchor of a point or a text (first node), (0, 0) when there is none.
    TMapPoint Position() const;
    void AddPart(const TMapPoints& points) { Parts.push_back(points); }

    TMapRect Bounds() const;  // empty rectangle without nodes
    TMapPoint Centre() const; // centre of the bounds
    // Centroid of a region (a point inside it when the centre of mass falls outside),
    // of a line, or the position of a point or a text.
    TMapPoint Centroid() const;
    double Area() const;      // region area in square map units, holes subtracted
    double Length() const;    // length of a line over all its parts; 0 otherwise
    double Perimeter() const; // sum of the closed ring lengths of a region; 0 otherwise

    // Region: the point lies inside by the even-odd rule over all rings.
    bool ContainsPoint(const TMapPoint& p) const;
    // Smallest distance from p to the geometry: 0 inside a region, otherwise to the
    // nearest ring, line section or node.
    double DistanceTo(const TMapPoint& p) const;
    // The geometry meets the rectangle.
    bool IntersectsRect(const TMapRect& r) const;
};

// Length of the ring taken as closed, and the shoelace area with its sign
// (positive for counter-clockwise with y up). Computed around the first node so
// that coordinates of millions of metres keep their precision.
double RingLength(const TMapPoints& ring);
double RingSignedArea(const TMapPoints& ring);
double PolylineLength(const TMapPoints& line);
bool RingContains(const TMapPoints& ring, const TMapPoint& p); // even-odd crossing test
double SegmentDistance(const TMapPoint& p, const TMapPoint& a, const TMapPoint& b);
