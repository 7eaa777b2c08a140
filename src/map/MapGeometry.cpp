#include "map/MapGeometry.h"

#include <geos_c.h>

#include <memory>

namespace {

// The last GEOS error text of this thread.
QString& GeosErrorText() {
    thread_local QString text;
    return text;
}

void GeosError(const char* message, void*) {
    GeosErrorText() = QString::fromUtf8(message);
}

GEOSContextHandle_t Geos() {
    struct Handle {
        GEOSContextHandle_t h;
        Handle() : h(GEOS_init_r()) {
            GEOSContext_setErrorMessageHandler_r(h, GeosError, nullptr);
            GEOSContext_setNoticeMessageHandler_r(
                h, [](const char*, void*) {}, nullptr);
        }
        ~Handle() { GEOS_finish_r(h); }
    };
    thread_local Handle handle;
    return handle.h;
}

struct GeomDeleter {
    void operator()(GEOSGeometry* g) const {
        if (g) GEOSGeom_destroy_r(Geos(), g);
    }
};
using Geom = std::unique_ptr<GEOSGeometry, GeomDeleter>;

TMapPoint OriginOf(const TMapFeature& f) {
    for (const auto& part : f.Parts)
        if (!part.empty()) return part.front();
    return {};
}

// A closed polygon of one ring, or null when the ring has fewer than three nodes.
Geom RingPolygon(const TMapPoints& ring, const TMapPoint& o) {
    TMapPoints pts = ring;
    if (pts.size() < 3) return nullptr;
    if (pts.front() != pts.back()) pts.push_back(pts.front());
    if (pts.size() < 4) return nullptr;
    GEOSContextHandle_t h = Geos();
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(pts.size()), 2);
    for (unsigned i = 0; i < pts.size(); ++i)
        GEOSCoordSeq_setXY_r(h, seq, i, pts[i].x - o.x, pts[i].y - o.y);
    GEOSGeometry* shell = GEOSGeom_createLinearRing_r(h, seq);
    if (!shell) return nullptr;
    GEOSGeometry* poly = GEOSGeom_createPolygon_r(h, shell, nullptr, 0);
    return Geom(poly);
}

// The region as one GEOS geometry: its rings combined by symmetric difference.
Geom RegionGeometry(const TMapFeature& f, const TMapPoint& o) {
    GEOSContextHandle_t h = Geos();
    Geom result;
    for (const auto& part : f.Parts) {
        Geom ring = RingPolygon(part, o);
        if (!ring) continue;
        if (!GEOSisValid_r(h, ring.get())) {
            Geom fixed(GEOSMakeValid_r(h, ring.get()));
            if (fixed) ring = std::move(fixed);
        }
        if (!result) {
            result = std::move(ring);
            continue;
        }
        Geom x(GEOSSymDifference_r(h, result.get(), ring.get()));
        if (!x) throw TMapError(QStringLiteral("Помилка геометрії: ") + GeosErrorText());
        result = std::move(x);
    }
    return result;
}

Geom LineGeometry(const TMapFeature& f, const TMapPoint& o) {
    GEOSContextHandle_t h = Geos();
    std::vector<GEOSGeometry*> lines;
    for (const auto& part : f.Parts) {
        if (part.size() < 2) continue;
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(h, static_cast<unsigned>(part.size()), 2);
        for (unsigned i = 0; i < part.size(); ++i)
            GEOSCoordSeq_setXY_r(h, seq, i, part[i].x - o.x, part[i].y - o.y);
        if (GEOSGeometry* g = GEOSGeom_createLineString_r(h, seq)) lines.push_back(g);
    }
    if (lines.empty()) return nullptr;
    return Geom(GEOSGeom_createCollection_r(h, GEOS_MULTILINESTRING, lines.data(),
                                            static_cast<unsigned>(lines.size())));
}

TMapPoints RingPoints(const GEOSGeometry* ring, const TMapPoint& o) {
    GEOSContextHandle_t h = Geos();
    TMapPoints out;
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(h, ring);
    unsigned n = 0;
    GEOSCoordSeq_getSize_r(h, seq, &n);
    out.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        double x = 0, y = 0;
        GEOSCoordSeq_getXY_r(h, seq, i, &x, &y);
        out.push_back({x + o.x, y + o.y});
    }
    return out;
}

void CollectPolygons(const GEOSGeometry* g, const TMapPoint& o, std::vector<TMapPoints>* parts) {
    GEOSContextHandle_t h = Geos();
    const int type = GEOSGeomTypeId_r(h, g);
    if (type == GEOS_POLYGON) {
        if (GEOSisEmpty_r(h, g)) return;
        parts->push_back(RingPoints(GEOSGetExteriorRing_r(h, g), o));
        const int holes = GEOSGetNumInteriorRings_r(h, g);
        for (int i = 0; i < holes; ++i)
            parts->push_back(RingPoints(GEOSGetInteriorRingN_r(h, g, i), o));
    } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
        const int n = GEOSGetNumGeometries_r(h, g);
        for (int i = 0; i < n; ++i)
            CollectPolygons(GEOSGetGeometryN_r(h, g, i), o, parts);
    }
}

} // namespace

double RegionArea(const TMapFeature& region) {
    if (region.Type != TFeatureType::Region) return 0.0;
    const TMapPoint o = OriginOf(region);
    Geom g = RegionGeometry(region, o);
    if (!g) return 0.0;
    double area = 0;
    if (!GEOSArea_r(Geos(), g.get(), &area)) return 0.0;
    return area;
}

bool PointInRegion(const TMapFeature& region, const TMapPoint& p) {
    if (region.Type != TFeatureType::Region) return false;
    const TMapPoint o = OriginOf(region);
    Geom g = RegionGeometry(region, o);
    if (!g) return false;
    GEOSContextHandle_t h = Geos();
    Geom pt(GEOSGeom_createPointFromXY_r(h, p.x - o.x, p.y - o.y));
    return GEOSCovers_r(h, g.get(), pt.get()) == 1;
}

bool RegionsIntersect(const TMapFeature& a, const TMapFeature& b) {
    if (a.Type != TFeatureType::Region || b.Type != TFeatureType::Region) return false;
    if (!a.Bounds().Intersects(b.Bounds())) return false;
    const TMapPoint o = OriginOf(a);
    Geom ga = RegionGeometry(a, o);
    Geom gb = RegionGeometry(b, o);
    if (!ga || !gb) return false;
    return GEOSIntersects_r(Geos(), ga.get(), gb.get()) == 1;
}

std::optional<TMapFeature> RegionIntersection(const TMapFeature& a, const TMapFeature& b) {
    if (a.Type != TFeatureType::Region || b.Type != TFeatureType::Region) return std::nullopt;
    if (!a.Bounds().Intersects(b.Bounds())) return std::nullopt;
    const TMapPoint o = OriginOf(a);
    Geom ga = RegionGeometry(a, o);
    Geom gb = RegionGeometry(b, o);
    if (!ga || !gb) return std::nullopt;
    GEOSContextHandle_t h = Geos();
    Geom x(GEOSIntersection_r(h, ga.get(), gb.get()));
    if (!x) throw TMapError(QStringLiteral("Помилка геометрії: ") + GeosErrorText());
    double area = 0;
    if (GEOSisEmpty_r(h, x.get()) || !GEOSArea_r(h, x.get(), &area) || area <= 0) return std::nullopt;
    TMapFeature out;
    out.Type = TFeatureType::Region;
    out.Style = a.Style;
    CollectPolygons(x.get(), o, &out.Parts);
    if (out.Parts.empty()) return std::nullopt;
    return out;
}

bool GeometryCentroid(const TMapFeature& feature, TMapPoint* centroid) {
    const TMapPoint o = OriginOf(feature);
    Geom g;
    if (feature.Type == TFeatureType::Region)
        g = RegionGeometry(feature, o);
    else if (feature.Type == TFeatureType::Line)
        g = LineGeometry(feature, o);
    if (!g || GEOSisEmpty_r(Geos(), g.get())) return false;
    GEOSContextHandle_t h = Geos();
    Geom c(GEOSGetCentroid_r(h, g.get()));
    if (!c || GEOSisEmpty_r(h, c.get())) return false;
    if (feature.Type == TFeatureType::Region && GEOSCovers_r(h, g.get(), c.get()) != 1) {
        Geom s(GEOSPointOnSurface_r(h, g.get()));
        if (s && !GEOSisEmpty_r(h, s.get())) c = std::move(s);
    }
    double x = 0, y = 0;
    GEOSGeomGetX_r(h, c.get(), &x);
    GEOSGeomGetY_r(h, c.get(), &y);
    *centroid = {x + o.x, y + o.y};
    return true;
}
