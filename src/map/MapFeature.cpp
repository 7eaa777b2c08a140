#include "map/MapFeature.h"

#include "map/MapGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

TMapFeature TMapFeature::MakePoint(const TMapPoint& p, const TMapStyle& style) {
    TMapFeature f;
    f.Type = TFeatureType::Point;
    f.Parts = {{p}};
    f.Style = style;
    return f;
}

TMapFeature TMapFeature::MakeLine(const TMapPoints& points, const TMapStyle& style) {
    TMapFeature f;
    f.Type = TFeatureType::Line;
    f.Parts = {points};
    f.Style = style;
    return f;
}

TMapFeature TMapFeature::MakeRegion(const TMapPoints& ring, const TMapStyle& style) {
    TMapFeature f;
    f.Type = TFeatureType::Region;
    f.Parts = {ring};
    f.Style = style;
    return f;
}

TMapFeature TMapFeature::MakeText(const TMapPoint& anchor, const QString& caption, const TMapStyle& style,
                                  double angle) {
    TMapFeature f;
    f.Type = TFeatureType::Text;
    f.Parts = {{anchor}};
    f.Caption = caption;
    f.Style = style;
    f.TextAngle = angle;
    return f;
}

bool TMapFeature::IsPlain() const {
    return Type == TFeatureType::Point || Type == TFeatureType::Line || Type == TFeatureType::Region ||
           Type == TFeatureType::Text;
}

int TMapFeature::NodeCount() const {
    int n = 0;
    for (const auto& part : Parts)
        n += static_cast<int>(part.size());
    return n;
}

TMapPoint TMapFeature::Position() const {
    if (Parts.empty() || Parts.front().empty()) return {};
    return Parts.front().front();
}

TMapRect TMapFeature::Bounds() const {
    TMapRect r = TMapRect::Empty();
    for (const auto& part : Parts)
        for (const auto& p : part)
            r.Extend(p);
    return r;
}

TMapPoint TMapFeature::Centre() const {
    const TMapRect r = Bounds();
    if (r.IsEmpty()) return {};
    return r.Centre();
}

TMapPoint TMapFeature::Centroid() const {
    switch (Type) {
    case TFeatureType::Region:
    case TFeatureType::Line: {
        TMapPoint c;
        if (GeometryCentroid(*this, &c)) return c;
        return Centre();
    }
    default:
        return Position();
    }
}

double TMapFeature::Area() const {
    if (Type != TFeatureType::Region) return 0.0;
    if (Parts.size() == 1) return std::fabs(RingSignedArea(Parts.front()));
    return RegionArea(*this);
}

double TMapFeature::Length() const {
    if (Type != TFeatureType::Line) return 0.0;
    double sum = 0;
    for (const auto& part : Parts)
        sum += PolylineLength(part);
    return sum;
}

double TMapFeature::Perimeter() const {
    if (Type != TFeatureType::Region) return 0.0;
    double sum = 0;
    for (const auto& part : Parts)
        sum += RingLength(part);
    return sum;
}

bool TMapFeature::ContainsPoint(const TMapPoint& p) const {
    if (Type != TFeatureType::Region) return false;
    bool inside = false;
    for (const auto& part : Parts)
        if (RingContains(part, p)) inside = !inside;
    return inside;
}

double TMapFeature::DistanceTo(const TMapPoint& p) const {
    if (Type == TFeatureType::Region && ContainsPoint(p)) return 0.0;
    double best = std::numeric_limits<double>::infinity();
    for (const auto& part : Parts) {
        if (part.empty()) continue;
        if (part.size() == 1) {
            best = std::min(best, std::hypot(p.x - part[0].x, p.y - part[0].y));
            continue;
        }
        for (size_t i = 0; i + 1 < part.size(); ++i)
            best = std::min(best, SegmentDistance(p, part[i], part[i + 1]));
        if (Type == TFeatureType::Region)
            best = std::min(best, SegmentDistance(p, part.back(), part.front()));
    }
    return best;
}

namespace {

// Segment a-b meets the rectangle (Liang-Barsky clipping).
bool SegmentMeetsRect(const TMapPoint& a, const TMapPoint& b, const TMapRect& r) {
    if (r.Contains(a) || r.Contains(b)) return true;
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.x1, r.x2 - a.x, a.y - r.y1, r.y2 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    return t0 <= t1;
}

} // namespace

bool TMapFeature::IntersectsRect(const TMapRect& rect) const {
    const TMapRect r = rect.Normalised();
    if (!Bounds().Intersects(r)) return false;
    for (const auto& part : Parts) {
        if (part.size() == 1 && r.Contains(part[0])) return true;
        for (size_t i = 0; i + 1 < part.size(); ++i)
            if (SegmentMeetsRect(part[i], part[i + 1], r)) return true;
        if (Type == TFeatureType::Region && part.size() > 1 && SegmentMeetsRect(part.back(), part.front(), r))
            return true;
    }
    // A rectangle lying wholly inside a region
    return Type == TFeatureType::Region && ContainsPoint(r.Centre());
}

double RingLength(const TMapPoints& ring) {
    if (ring.size() < 2) return 0.0;
    double sum = PolylineLength(ring);
    sum += std::hypot(ring.front().x - ring.back().x, ring.front().y - ring.back().y);
    return sum;
}

double RingSignedArea(const TMapPoints& ring) {
    if (ring.size() < 3) return 0.0;
    const TMapPoint o = ring.front();
    double sum = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const TMapPoint& a = ring[i];
        const TMapPoint& b = ring[(i + 1) % ring.size()];
        sum += (a.x - o.x) * (b.y - o.y) - (b.x - o.x) * (a.y - o.y);
    }
    return sum / 2.0;
}

double PolylineLength(const TMapPoints& line) {
    double sum = 0;
    for (size_t i = 0; i + 1 < line.size(); ++i)
        sum += std::hypot(line[i + 1].x - line[i].x, line[i + 1].y - line[i].y);
    return sum;
}

bool RingContains(const TMapPoints& ring, const TMapPoint& p) {
    const size_t n = ring.size();
    if (n < 3) return false;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const TMapPoint& a = ring[i];
        const TMapPoint& b = ring[j];
        if ((a.y > p.y) != (b.y > p.y)) {
            const double xCross = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < xCross) inside = !inside;
        }
    }
    return inside;
}

double SegmentDistance(const TMapPoint& p, const TMapPoint& a, const TMapPoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = 0;
    if (len2 > 0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}
