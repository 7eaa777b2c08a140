#include "map/ViewTransform.h"
#include "map/MapControl.h"
#include "map/MapEditing.h"

#include <gtest/gtest.h>

namespace {

void SetView(TMap& map, double zoom, double cx, double cy, int w = 800, int h = 600) {
    map.SetScreenSize(w, h);
    map.ZoomTo(zoom, cx, cy);
}

} // namespace

// Plane coordinates of millions of metres keep sub-millimetre precision through the view.
TEST(ViewTransform, LargeCoordinatesRoundTripPrecisely) {
    struct Case {
        double zoom;
        TMapPoint p;
    } cases[] = {
        {100.0, {4366679.8712, 5495953.1834}},
        {0.5, {4366679.8712, 5495953.1834}},
        {300000.0, {9999999.9999, -9999999.9999}},
    };
    for (const Case& c : cases) {
        TMap map;
        SetView(map, c.zoom, c.p.x + 3.21, c.p.y - 1.23);
        const TViewTransform t = TViewTransform::FromMap(map);
        const QPointF px = t.ToScreen(c.p);
        const TMapPoint back = t.ToMap(px);
        EXPECT_NEAR(back.x, c.p.x, 1e-6) << c.zoom;
        EXPECT_NEAR(back.y, c.p.y, 1e-6) << c.zoom;
        // The centre is the middle of the widget; y grows downwards.
        const QPointF centre = t.ToScreen(map.CenterX(), map.CenterY());
        EXPECT_DOUBLE_EQ(centre.x(), 400);
        EXPECT_DOUBLE_EQ(centre.y(), 300);
        EXPECT_LT(t.ToScreen(map.CenterX(), map.CenterY() + 1).y(), 300);
    }
    // A millimetre at a close zoom is a visible step.
    TMap close;
    SetView(close, 0.8, 4366679.0, 5495953.0);
    const TViewTransform t = TViewTransform::FromMap(close);
    EXPECT_NEAR(t.ToScreen(4366679.001, 5495953.0).x() - t.ToScreen(4366679.0, 5495953.0).x(), 1.0, 1e-6);
}

TEST(ViewTransform, ZoomAtPixelKeepsThePointUnderTheMouse) {
    TMap map;
    SetView(map, 1000, 4366000, 5495000);
    const QPointF mouse(620, 140);
    const TMapPoint before = TViewTransform::FromMap(map).ToMap(mouse);
    for (double factor : {0.8, 1.25, 0.01, 64.0}) {
        ZoomAtPixel(map, factor, mouse);
        const TMapPoint after = TViewTransform::FromMap(map).ToMap(mouse);
        EXPECT_NEAR(after.x, before.x, 1e-6) << factor;
        EXPECT_NEAR(after.y, before.y, 1e-6) << factor;
    }
    // The view refuses widths beyond its range instead of breaking.
    ZoomAtPixel(map, 1e-12, mouse);
    EXPECT_DOUBLE_EQ(map.Zoom(), kMinZoom);
}

TEST(ViewTransform, PanFollowsTheMouse) {
    TMap map;
    SetView(map, 800, 4366000, 5495000); // 1 map unit per pixel
    PanByPixels(map, QPointF(100, -50));
    EXPECT_DOUBLE_EQ(map.CenterX(), 4366000 - 100);
    EXPECT_DOUBLE_EQ(map.CenterY(), 5495000 - 50);
}

TEST(ViewTransform, ZoomToRectFitsTheRectangle) {
    TMap map;
    SetView(map, 800, 0, 0);
    ZoomToRect(map, TMapRect(4366600, 5495900, 4366800, 5496000));
    const TMapRect v = TViewTransform::FromMap(map).VisibleRect();
    EXPECT_TRUE(v.Contains(TMapRect(4366600, 5495900, 4366800, 5496000)));
    EXPECT_NEAR(v.Width(), 200, 1e-6); // the wider side fits exactly
    // A single point only recentres.
    const double zoom = map.Zoom();
    ZoomToRect(map, TMapRect(10, 20, 10, 20));
    EXPECT_DOUBLE_EQ(map.Zoom(), zoom);
    EXPECT_DOUBLE_EQ(map.CenterX(), 10);
}

// A standard scale: one screen centimetre shows factor metres, whatever the screen.
TEST(ViewTransform, StandardScalesAndSnapRadius) {
    struct Case {
        int widthPx;
        double dpi;
        double factor;
    } cases[] = {{800, 96, 5}, {800, 96, 100}, {1600, 192, 10}};
    for (const Case& c : cases) {
        TMap map;
        SetView(map, 1000, 4366000, 5495000, c.widthPx);
        const double cm = ScreenWidthCm(c.widthPx, c.dpi);
        SetStandardScale(map, c.factor, cm);
        EXPECT_NEAR(map.Zoom(), c.factor * cm, 1e-9);
        EXPECT_DOUBLE_EQ(map.CenterX(), 4366000);
        // Three screen millimetres.
        EXPECT_NEAR(SnapRadius(map, cm), c.factor / 10 * 3, 1e-9);
    }
}
