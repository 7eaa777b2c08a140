#pragma once

#include "map/MapTypes.h"

#include <QPointF>
#include <QRectF>

class TMap;

// A snapshot of the map's view for drawing and hit tests. Conversions work around the
// view centre, which serves as the local origin: plane coordinates of millions of metres
// only ever meet small differences, so a pixel keeps sub-millimetre precision at any
// zoom. Pixels are logical (device-independent) pixels with y growing downwards.
struct TViewTransform {
    double OriginX = 0, OriginY = 0; // map point at the centre of the view
    double Scale = 1;                // pixels per map unit
    double HalfWidth = 400, HalfHeight = 300;

    static TViewTransform FromMap(const TMap& map);

    QPointF ToScreen(double x, double y) const {
        return {HalfWidth + (x - OriginX) * Scale, HalfHeight - (y - OriginY) * Scale};
    }
    QPointF ToScreen(const TMapPoint& p) const { return ToScreen(p.x, p.y); }
    TMapPoint ToMap(const QPointF& pixel) const {
        return {OriginX + (pixel.x() - HalfWidth) / Scale, OriginY - (pixel.y() - HalfHeight) / Scale};
    }
    // Map units covered by a distance in pixels.
    double PixelsToMap(double pixels) const { return pixels / Scale; }
    // The visible map rectangle.
    TMapRect VisibleRect() const;
};

// ---- view operations on the map (they change its zoom and centre)

// Multiplies the visible width by the factor (below 1 zooms in) keeping the map point
// under the pixel where it is; a wheel turn or a click of the zoom tools.
void ZoomAtPixel(TMap& map, double factor, const QPointF& pixel);
// Moves the view so that the map follows the mouse by the given pixel offset.
void PanByPixels(TMap& map, const QPointF& delta);
// Fits the rectangle into the view (a zoom box, a layer's bounds); an empty or
// degenerate rectangle only recentres the view.
void ZoomToRect(TMap& map, const TMapRect& rect);

// The smallest and largest visible width the view accepts, in map units.
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 1.0e8;

// The map's screen width in centimetres, from its width in pixels and the screen's
// logical resolution. Scales, snap radii and label offsets are measured in it.
double ScreenWidthCm(int widthPixels, double logicalDpi);
// Standard scales: the factor is the number of metres a screen centimetre shows (5 for
// 1:500, 10 for 1:1000, ...); the view keeps its centre.
void SetStandardScale(TMap& map, double factor, double screenWidthCm);
// Map units per screen millimetre.
double MapUnitsPerScreenMm(const TMap& map, double screenWidthCm);
