#pragma once

#include "map/MapFeature.h"

#include <optional>

// Polygon operations on region features, through GEOS. Coordinates are shifted to
// a local origin before GEOS sees them, so plane coordinates of millions of metres
// keep their precision. The rings of a region combine by the even-odd rule.

// Area of a region in square map units (holes subtracted); 0 for other kinds.
double RegionArea(const TMapFeature& region);

// The point lies inside the region or on its boundary.
bool PointInRegion(const TMapFeature& region, const TMapPoint& p);

// The regions share at least one point.
bool RegionsIntersect(const TMapFeature& a, const TMapFeature& b);

// The common part of two regions as a region feature with a's style; its parts are
// the outer rings and holes of the result, each closed. nullopt when they do not
// overlap or the result has no area. Throws TMapError when GEOS refuses the geometry.
std::optional<TMapFeature> RegionIntersection(const TMapFeature& a, const TMapFeature& b);

// Centroid of a region or a line (for a region a point on its surface when the
// centre of mass lies outside). False when it cannot be computed.
bool GeometryCentroid(const TMapFeature& feature, TMapPoint* centroid);
