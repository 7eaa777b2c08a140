#include "map/MapEditing.h"

#include "common/NumberFormat.h"
#include "map/MapLayers.h"
#include "map/ViewTransform.h"

#include <cmath>
#include <map>
#include <utility>

namespace {

bool IsLinear(const TMapFeature& f) {
    return f.Type == TFeatureType::Region || f.Type == TFeatureType::Line;
}

double Dist(const TMapPoint& a, const TMapPoint& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool SameRounded(const TMapPoint& a, const TMapPoint& b) {
    return RoundTo4(a.x) == RoundTo4(b.x) && RoundTo4(a.y) == RoundTo4(b.y);
}

// The ring without its closing copy of the first node.
size_t OpenCount(const TMapPoints& ring, bool region) {
    if (region && ring.size() > 1 && ring.front() == ring.back()) return ring.size() - 1;
    return ring.size();
}

} // namespace

std::optional<TNodeHit> FindNodeNear(const TMap& map, const TMapPoint& p, double tolerance, bool editableOnly,
                                     const QStringList& skippedLayers) {
    std::optional<TNodeHit> best;
    double bestDist = tolerance;
    for (int li = 0; li < map.LayerCount(); ++li) {
        TMapLayer* layer = map.LayerAt(li);
        if (!layer->Visible || (editableOnly && !layer->Editable)) continue;
        if (skippedLayers.contains(layer->Name, Qt::CaseInsensitive)) continue;
        for (TFeatureKey key : layer->SearchAtPoint(p, tolerance)) {
            const TMapFeature& f = layer->Feature(key);
            for (int pi = 0; pi < f.PartCount(); ++pi) {
                const TMapPoints& part = f.Parts[static_cast<size_t>(pi)];
                for (size_t ni = 0; ni < part.size(); ++ni) {
                    const double d = Dist(part[ni], p);
                    if (d <= bestDist && (!best || d < bestDist)) {
                        best = TNodeHit{{layer, key}, pi, static_cast<int>(ni), part[ni]};
                        bestDist = d;
                    }
                }
            }
        }
        if (best) return best; // the top layer with a node wins
    }
    return best;
}

std::optional<TNodeHit> FindSideNear(const TMap& map, const TMapPoint& p, double tolerance) {
    for (int li = 0; li < map.LayerCount(); ++li) {
        TMapLayer* layer = map.LayerAt(li);
        if (!layer->Visible || !layer->Editable) continue;
        std::optional<TNodeHit> best;
        double bestDist = tolerance;
        for (TFeatureKey key : layer->SearchAtPoint(p, tolerance)) {
            const TMapFeature& f = layer->Feature(key);
            if (!IsLinear(f)) continue;
            for (int pi = 0; pi < f.PartCount(); ++pi) {
                const TMapPoints& part = f.Parts[static_cast<size_t>(pi)];
                const size_t n = part.size();
                const bool closeIt = f.Type == TFeatureType::Region && n > 1 && part.front() != part.back();
                const size_t sides = closeIt ? n : n - 1;
                for (size_t i = 0; i < sides && n > 1; ++i) {
                    const double d = SegmentDistance(p, part[i], part[(i + 1) % n]);
                    if (d <= bestDist) {
                        best = TNodeHit{{layer, key}, pi, static_cast<int>(i), part[i]};
                        bestDist = d;
                    }
                }
            }
        }
        if (best) return best;
    }
    return std::nullopt;
}

void InsertNodeAfter(const TNodeHit& side, const TMapPoint& p) {
    if (!side.Feature.IsValid()) throw TMapError(QStringLiteral("Об'єкт відсутній"));
    TMapFeature f = *side.Feature.Feature();
    TMapPoints& part = f.Parts.at(static_cast<size_t>(side.Part));
    part.insert(part.begin() + side.Node + 1, p);
    side.Feature.Layer->UpdateFeature(side.Feature.Key, f);
}

// ---- snapping

const QStringList& SnapExcludedLayers() {
    static const QStringList names{kLayerInfoNumbering, kLayerInfoDistances, kLayerInfoNodes,
                                   QStringLiteral("Р-ти перевірки"), kLayerCosmetic};
    return names;
}

double SnapRadius(const TMap& map, double screenWidthCm) {
    return MapUnitsPerScreenMm(map, screenWidthCm) * 3;
}

TSnapResult FindSnapNode(const TMap& map, const TMapPoint& centre, double radius,
                         const TMapFeatureRef& skip) {
    TSnapResult result;
    for (int li = 0; li < map.LayerCount(); ++li) {
        TMapLayer* layer = map.LayerAt(li);
        if (!layer->Visible || !layer->Selectable) continue;
        if (SnapExcludedLayers().contains(layer->Name, Qt::CaseInsensitive)) continue;
        for (TFeatureKey key : layer->SearchWithinDistance(centre, radius, TSearchType::PartiallyWithin)) {
            if (skip.Layer == layer && skip.Key == key) continue;
            result.FeatureFound = true;
            const TMapFeature& f = layer->Feature(key);
            for (const TMapPoints& part : f.Parts) {
                for (const TMapPoint& node : part) {
                    if (Dist(node, centre) <= radius) {
                        result.NodeFound = true;
                        result.Node = node;
                        result.Feature = {layer, key};
                        return result;
                    }
                }
            }
        }
    }
    return result;
}

// ---- shared nodes

namespace {

struct TPending {
    TMapLayer* layer;
    TFeatureKey key;
    TMapFeature feature;
};

TNodeEditResult Apply(std::vector<TPending>& pending) {
    TNodeEditResult result;
    // Every change is checked by a dry run on a copy first, so a refusal changes nothing.
    for (TPending& p : pending) {
        try {
            TMapLayer probe(TMapLayerInfo{QStringLiteral("probe")});
            probe.AddFeature(p.feature);
        } catch (const TMapError& e) {
            result.Ok = false;
            result.FailedLayer = p.layer->Name;
            result.Error = e.Text();
            return result;
        }
    }
    for (TPending& p : pending) {
        p.layer->UpdateFeature(p.key, p.feature);
        ++result.Changed;
    }
    return result;
}

} // namespace

TNodeEditResult MoveSharedNode(TMap& map, const QStringList& layers, const TMapPoint& from,
                               const TMapPoint& to) {
    std::vector<TPending> pending;
    for (const QString& name : layers) {
        TMapLayer* layer = map.FindLayer(name);
        if (!layer || !layer->Visible) continue;
        const TMapRect near = TMapRect(from.x, from.y, from.x, from.y).Inflated(0.001);
        for (TFeatureKey key : layer->SearchWithinRectangle(near, TSearchType::PartiallyWithin)) {
            TMapFeature f = layer->Feature(key);
            bool changed = false;
            for (TMapPoints& part : f.Parts)
                for (TMapPoint& node : part)
                    if (SameRounded(node, from)) {
                        node = to;
                        changed = true;
                    }
            if (changed) pending.push_back({layer, key, std::move(f)});
        }
    }
    return Apply(pending);
}

TNodeEditResult DeleteSharedNode(TMap& map, const QStringList& layers, const TMapPoint& node) {
    std::vector<TPending> pending;
    TNodeEditResult tooFew;
    for (const QString& name : layers) {
        TMapLayer* layer = map.FindLayer(name);
        if (!layer || !layer->Visible) continue;
        const TMapRect near = TMapRect(node.x, node.y, node.x, node.y).Inflated(0.001);
        for (TFeatureKey key : layer->SearchWithinRectangle(near, TSearchType::PartiallyWithin)) {
            TMapFeature f = layer->Feature(key);
            if (!IsLinear(f)) continue;
            const bool region = f.Type == TFeatureType::Region;
            bool changed = false;
            for (TMapPoints& part : f.Parts) {
                const bool closed = region && part.size() > 1 && part.front() == part.back();
                TMapPoints kept;
                const size_t n = closed ? part.size() - 1 : part.size();
                for (size_t i = 0; i < n; ++i)
                    if (part[i] != node) kept.push_back(part[i]);
                if (kept.size() == n) continue;
                changed = true;
                const size_t minimum = region ? 3 : 2;
                if (kept.size() < minimum) {
                    tooFew.Ok = false;
                    tooFew.FailedLayer = layer->Name;
                    return tooFew;
                }
                if (closed) kept.push_back(kept.front());
                part = std::move(kept);
            }
            if (changed) pending.push_back({layer, key, std::move(f)});
        }
    }
    return Apply(pending);
}

// ---- label layers

TLabelLayerSettings& LabelLayerSettings() {
    static TLabelLayerSettings settings = [] {
        TLabelLayerSettings s;
        s.TextStyle = DefaultMapStyle();
        s.TextStyle.TextFontSize = 9;
        s.TextStyle.TextFontColor = MapRgb(0, 0, 128);
        s.TextStyle.TextFontHalo = true;
        return s;
    }();
    return settings;
}

QString DistanceLabelText(double metres, int decimals) {
    return FormatDecimals(metres, decimals);
}

namespace {

// Unit normal pointing out of the ring for the side a -> b (the ring's orientation is
// given by the sign of its area, positive counter-clockwise).
QPointF OutwardNormal(const TMapPoint& a, const TMapPoint& b, bool counterClockwise) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    if (len <= 0) return {0, 0};
    // For a counter-clockwise ring the outside lies to the right of each side.
    return counterClockwise ? QPointF(dy / len, -dx / len) : QPointF(-dy / len, dx / len);
}

TMapPoints OpenRing(const TMapPoints& ring) {
    TMapPoints open(ring.begin(), ring.begin() + static_cast<long>(OpenCount(ring, true)));
    return open;
}

} // namespace

void BuildNumberingLabels(TMapLayer& layer, const TMapFeature& feature, double offset,
                          const TLabelLayerSettings& settings) {
    std::map<std::pair<double, double>, int> seen;
    int next = 1;
    for (const TMapPoints& part : feature.Parts) {
        const bool ccw = RingSignedArea(part) > 0;
        const TMapPoints ring = OpenRing(part);
        const size_t n = ring.size();
        for (size_t i = 0; i < part.size(); ++i) {
            const TMapPoint& node = part[i];
            const std::pair<double, double> keyXY{RoundTo4(node.x), RoundTo4(node.y)};
            QString text;
            if (!seen.count(keyXY)) {
                seen[keyXY] = next;
                text = QString::number(next++);
            }
            QPointF dir(0, 0);
            if (feature.Type == TFeatureType::Region && n >= 3) {
                const size_t k = i % n;
                const QPointF n1 = OutwardNormal(ring[(k + n - 1) % n], ring[k], ccw);
                const QPointF n2 = OutwardNormal(ring[k], ring[(k + 1) % n], ccw);
                dir = n1 + n2;
                const double len = std::hypot(dir.x(), dir.y());
                dir = len > 1e-9 ? dir / len : n1;
            }
            const TMapPoint at{node.x + dir.x() * offset, node.y + dir.y() * offset};
            layer.AddFeature(TMapFeature::MakeText(at, text, settings.TextStyle));
        }
    }
}

void BuildDistanceLabels(TMap& map, TMapLayer& layer, const TMapFeature& feature, double offset,
                         const TLabelLayerSettings& settings) {
    for (const TMapPoints& part : feature.Parts) {
        const bool region = feature.Type == TFeatureType::Region;
        const bool ccw = RingSignedArea(part) > 0;
        for (size_t i = 0; i + 1 < part.size(); ++i) {
            const TMapPoint& a = part[i];
            const TMapPoint& b = part[i + 1];
            const double length = MapDistance(map, a.x, a.y, b.x, b.y);
            if (!(length > 0)) continue;
            const QPointF normal = region ? OutwardNormal(a, b, ccw) : QPointF(0, 0);
            const TMapPoint at{(a.x + b.x) / 2 + normal.x() * offset, (a.y + b.y) / 2 + normal.y() * offset};
            double angle = std::atan2(b.y - a.y, b.x - a.x) * 180.0 / M_PI;
            // Upright: a side running right to left reads the other way round.
            if (angle > 90) angle -= 180;
            if (angle <= -90) angle += 180;
            layer.AddFeature(TMapFeature::MakeText(at, DistanceLabelText(length, settings.DistanceDecimals),
                                                   settings.TextStyle, angle));
        }
    }
}

void BuildNodeMarkers(TMapLayer& layer, const TMapFeature& feature, const TMapStyle& markerStyle) {
    for (const TMapPoints& part : feature.Parts) {
        const size_t n = OpenCount(part, feature.Type == TFeatureType::Region);
        for (size_t i = 0; i < n; ++i)
            layer.AddFeature(TMapFeature::MakePoint(part[i], markerStyle));
    }
}
