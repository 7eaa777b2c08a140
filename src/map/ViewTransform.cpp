#include "map/ViewTransform.h"

#include "map/MapControl.h"

#include <algorithm>
#include <cmath>

TViewTransform TViewTransform::FromMap(const TMap& map) {
    TViewTransform t;
    const TMapRect b = map.Bounds();
    t.OriginX = map.CenterX();
    t.OriginY = map.CenterY();
    t.HalfWidth = std::max(1, map.ScreenWidth()) / 2.0;
    t.HalfHeight = std::max(1, map.ScreenHeight()) / 2.0;
    t.Scale = std::max(1, map.ScreenWidth()) / std::max(1e-12, b.Width());
    return t;
}

TMapRect TViewTransform::VisibleRect() const {
    const double w = HalfWidth / Scale, h = HalfHeight / Scale;
    return {OriginX - w, OriginY - h, OriginX + w, OriginY + h};
}

static double ClampZoom(double zoom) {
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

void ZoomAtPixel(TMap& map, double factor, const QPointF& pixel) {
    if (!(factor > 0) || !std::isfinite(factor)) return;
    const TViewTransform before = TViewTransform::FromMap(map);
    const TMapPoint anchor = before.ToMap(pixel);
    const double zoom = ClampZoom(map.Zoom() * factor);
    const double realFactor = zoom / map.Zoom();
    // The anchor keeps its pixel: its offset from the centre shrinks with the zoom.
    const double cx = anchor.x - (anchor.x - before.OriginX) * realFactor;
    const double cy = anchor.y - (anchor.y - before.OriginY) * realFactor;
    map.ZoomTo(zoom, cx, cy);
}

void PanByPixels(TMap& map, const QPointF& delta) {
    const TViewTransform t = TViewTransform::FromMap(map);
    map.SetCenter(t.OriginX - delta.x() / t.Scale, t.OriginY + delta.y() / t.Scale);
}

void ZoomToRect(TMap& map, const TMapRect& rect) {
    const TMapRect r = rect.Normalised();
    if (r.IsEmpty()) return;
    if (!(r.Width() > 0) && !(r.Height() > 0)) {
        map.SetCenter(r.Centre().x, r.Centre().y);
        return;
    }
    map.SetBounds(r);
    const double zoom = ClampZoom(map.Zoom());
    if (zoom != map.Zoom()) map.ZoomTo(zoom, map.CenterX(), map.CenterY());
}

double ScreenWidthCm(int widthPixels, double logicalDpi) {
    const double dpi = logicalDpi > 0 ? logicalDpi : 96.0;
    return std::max(1, widthPixels) / dpi * 2.54;
}

void SetStandardScale(TMap& map, double factor, double screenWidthCm) {
    if (!(factor > 0) || !(screenWidthCm > 0)) return;
    map.ZoomTo(ClampZoom(factor * screenWidthCm), map.CenterX(), map.CenterY());
}

double MapUnitsPerScreenMm(const TMap& map, double screenWidthCm) {
    return map.Zoom() / std::max(1e-9, screenWidthCm) / 10.0;
}
