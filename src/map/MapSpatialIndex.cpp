#include "map/MapSpatialIndex.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMaxCellsPerAxis = 2048;
constexpr long kMaxCellsPerItem = 16;
} // namespace

void TMapSpatialIndex::Clear() {
    built_ = false;
    cells_.clear();
    large_.clear();
    nx_ = ny_ = 0;
}

void TMapSpatialIndex::Build(const std::vector<Item>& items) {
    Clear();
    TMapRect extent = TMapRect::Empty();
    for (const auto& it : items)
        extent.Extend(it.second);
    if (extent.IsEmpty()) extent = TMapRect(0, 0, 1, 1);
    const double w = std::max(extent.Width(), 1e-6);
    const double h = std::max(extent.Height(), 1e-6);
    const double n = std::max<double>(1.0, static_cast<double>(items.size()));
    cell_ = std::sqrt(w * h / n);
    if (!(cell_ > 0)) cell_ = std::max(w, h);
    cell_ = std::max({cell_, w / kMaxCellsPerAxis, h / kMaxCellsPerAxis});
    // A margin of one cell around the extent lets nearby additions go in without a rebuild.
    x0_ = extent.x1 - cell_;
    y0_ = extent.y1 - cell_;
    nx_ = std::min(kMaxCellsPerAxis + 2, static_cast<int>(std::ceil(w / cell_)) + 2);
    ny_ = std::min(kMaxCellsPerAxis + 2, static_cast<int>(std::ceil(h / cell_)) + 2);
    cells_.assign(static_cast<size_t>(nx_) * ny_, {});
    built_ = true;
    for (const auto& it : items)
        Insert(it.first, it.second);
}

bool TMapSpatialIndex::CellRange(const TMapRect& r, int* cx1, int* cy1, int* cx2, int* cy2) const {
    const double fx1 = std::floor((r.x1 - x0_) / cell_), fy1 = std::floor((r.y1 - y0_) / cell_);
    const double fx2 = std::floor((r.x2 - x0_) / cell_), fy2 = std::floor((r.y2 - y0_) / cell_);
    const bool inside = fx1 >= 0 && fy1 >= 0 && fx2 < nx_ && fy2 < ny_;
    *cx1 = static_cast<int>(std::clamp(fx1, 0.0, nx_ - 1.0));
    *cy1 = static_cast<int>(std::clamp(fy1, 0.0, ny_ - 1.0));
    *cx2 = static_cast<int>(std::clamp(fx2, 0.0, nx_ - 1.0));
    *cy2 = static_cast<int>(std::clamp(fy2, 0.0, ny_ - 1.0));
    return inside;
}

bool TMapSpatialIndex::Insert(TFeatureKey key, const TMapRect& bounds) {
    if (!built_) return false;
    if (bounds.IsEmpty()) {
        large_.push_back(key);
        return true;
    }
    int cx1, cy1, cx2, cy2;
    if (!CellRange(bounds, &cx1, &cy1, &cx2, &cy2)) return false;
    const long count = static_cast<long>(cx2 - cx1 + 1) * (cy2 - cy1 + 1);
    if (count > kMaxCellsPerItem) {
        large_.push_back(key);
        return true;
    }
    for (int cy = cy1; cy <= cy2; ++cy)
        for (int cx = cx1; cx <= cx2; ++cx)
            cells_[static_cast<size_t>(cy) * nx_ + cx].push_back(key);
    return true;
}

void TMapSpatialIndex::Remove(TFeatureKey key, const TMapRect& bounds) {
    if (!built_) return;
    auto drop = [key](std::vector<TFeatureKey>& v) {
        v.erase(std::remove(v.begin(), v.end(), key), v.end());
    };
    drop(large_);
    if (bounds.IsEmpty()) return;
    int cx1, cy1, cx2, cy2;
    CellRange(bounds, &cx1, &cy1, &cx2, &cy2);
    for (int cy = cy1; cy <= cy2; ++cy)
        for (int cx = cx1; cx <= cx2; ++cx)
            drop(cells_[static_cast<size_t>(cy) * nx_ + cx]);
}

std::vector<TFeatureKey> TMapSpatialIndex::Query(const TMapRect& rect) const {
    std::vector<TFeatureKey> out = large_;
    if (built_) {
        const TMapRect r = rect.Normalised();
        const bool outside = r.x2 < x0_ || r.y2 < y0_ || r.x1 > x0_ + nx_ * cell_ || r.y1 > y0_ + ny_ * cell_;
        if (!outside) {
            int cx1, cy1, cx2, cy2;
            CellRange(r, &cx1, &cy1, &cx2, &cy2);
            for (int cy = cy1; cy <= cy2; ++cy)
                for (int cx = cx1; cx <= cx2; ++cx) {
                    const auto& cell = cells_[static_cast<size_t>(cy) * nx_ + cx];
                    out.insert(out.end(), cell.begin(), cell.end());
                }
        }
    }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}
