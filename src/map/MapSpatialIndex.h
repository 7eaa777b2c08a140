#pragma once

#include "map/MapTypes.h"

#include <utility>
#include <vector>

// A uniform grid over feature bounds: finds the candidates near a point or a
// rectangle without looking at every feature. Items too large for the grid are kept
// in a side list that every query returns.
class TMapSpatialIndex {
public:
    using Item = std::pair<TFeatureKey, TMapRect>;

    void Clear();
    void Build(const std::vector<Item>& items);
    bool IsBuilt() const { return built_; }
    // False when the rectangle lies outside the grid: the caller rebuilds later.
    bool Insert(TFeatureKey key, const TMapRect& bounds);
    void Remove(TFeatureKey key, const TMapRect& bounds);
    // Keys whose bounds may meet the rectangle, sorted, without duplicates.
    std::vector<TFeatureKey> Query(const TMapRect& rect) const;

private:
    bool CellRange(const TMapRect& r, int* cx1, int* cy1, int* cx2, int* cy2) const;

    bool built_ = false;
    double x0_ = 0, y0_ = 0, cell_ = 1;
    int nx_ = 0, ny_ = 0;
    std::vector<std::vector<TFeatureKey>> cells_;
    std::vector<TFeatureKey> large_;
};
