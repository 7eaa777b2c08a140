#include "CanvasFixtures.h"

#include "map/MapRenderer.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage Render(const TMap& map, double dpr = 1.0, const TRenderOptions& o = {}) {
    QImage image(QSize(map.ScreenWidth(), map.ScreenHeight()) * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    QPainter p(&image);
    TMapRenderer::Render(p, map, o);
    return image;
}

bool Reddish(QRgb c) {
    return qRed(c) > 150 && qRed(c) - qGreen(c) > 60 && qRed(c) - qBlue(c) > 60;
}
bool Bluish(QRgb c) {
    return qBlue(c) > 150 && qBlue(c) - qRed(c) > 60;
}
bool White(QRgb c) {
    return qRed(c) > 245 && qGreen(c) > 245 && qBlue(c) > 245;
}

// Any pixel of the kind within a few pixels of the point.
template <typename Pred> bool Near(const QImage& img, QPointF at, Pred pred, int r = 2) {
    const double dpr = img.devicePixelRatio();
    for (int dx = -r; dx <= r; ++dx)
        for (int dy = -r; dy <= r; ++dy) {
            const int x = static_cast<int>(at.x() * dpr) + dx, y = static_cast<int>(at.y() * dpr) + dy;
            if (img.rect().contains(x, y) && pred(img.pixel(x, y))) return true;
        }
    return false;
}

} // namespace

TEST(MapRenderer, DrawsBordersInLayerOrderAndLeavesInteriorsEmpty) {
    TTwoSquares m;
    const QImage img = Render(m.map);
    const TViewTransform v = TViewTransform::FromMap(m.map);
    // The plot's red border lies over the blue district border on the left square.
    EXPECT_TRUE(Near(img, v.ToScreen(kX0 + 50, kY0), Reddish));
    EXPECT_FALSE(Near(img, v.ToScreen(kX0 + 50, kY0), Bluish, 0));
    EXPECT_TRUE(Near(img, v.ToScreen(kX0 + 150, kY0), Bluish));
    EXPECT_TRUE(White(img.pixel(v.ToScreen(kX0 + 150, kY0 + 50).toPoint())));

    // A solid fill, a hidden layer and a layer outside its zoom range.
    TMapStyle filled = Outline(MapRgb(0, 0, 255));
    filled.RegionPattern = FillSolid;
    filled.RegionColor = MapRgb(0, 200, 0);
    TMapFeature f = m.districts->Feature(m.right);
    f.Style = filled;
    m.districts->UpdateFeature(m.right, f);
    QImage withFill = Render(m.map);
    const QRgb inside = withFill.pixel(v.ToScreen(kX0 + 150, kY0 + 50).toPoint());
    EXPECT_GT(qGreen(inside), 150);
    EXPECT_LT(qRed(inside), 80);
    m.districts->ZoomLayer = true;
    m.districts->ZoomMin = 1000;
    m.districts->ZoomMax = 5000;
    EXPECT_TRUE(White(Render(m.map).pixel(v.ToScreen(kX0 + 150, kY0 + 50).toPoint())));
    m.districts->ZoomLayer = false;
    m.districts->Visible = false;
    EXPECT_TRUE(White(Render(m.map).pixel(v.ToScreen(kX0 + 150, kY0 + 50).toPoint())));
}

// The same geometry drawn at small and at plane coordinates of millions of metres, in a
// view 20 cm wide (a millimetre is a pixel), gives the same picture.
TEST(MapRenderer, LargeCoordinatesDrawLikeSmallOnes) {
    auto build = [](TMap& map, double x0, double y0) {
        TMapLayer* l = AddMemLayer(map, QStringLiteral("L"));
        TMapPoints ring{{x0 + 0.013, y0 + 0.021},
                        {x0 + 0.171, y0 + 0.004},
                        {x0 + 0.12, y0 + 0.15},
                        {x0 + 0.013, y0 + 0.021}};
        l->AddFeature(TMapFeature::MakeRegion(ring, Outline(MapRgb(255, 0, 0))));
        map.SetScreenSize(200, 200);
        map.ZoomTo(0.2, x0 + 0.1, y0 + 0.1);
    };
    TMap small, large;
    build(small, 0, 0);
    build(large, 4366679.0, 5495953.0);
    const QImage a = Render(small), b = Render(large);
    int differ = 0, drawn = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y), pb = b.pixel(x, y);
            drawn += !White(pa);
            // A sub-pixel step of the rasteriser shades an edge pixel a little differently; a lost
            // millimetre would move whole edges.
            differ += std::abs(qRed(pa) - qRed(pb)) > 24 || std::abs(qGreen(pa) - qGreen(pb)) > 24;
        }
    EXPECT_GT(drawn, 100);
    EXPECT_EQ(differ, 0);
}

TEST(MapRenderer, SelectionSymbolsTextsAndHighDpi) {
    TTwoSquares m;
    TMapLayer* points = AddMemLayer(m.map, QStringLiteral("P"));
    TMapStyle sym = DefaultMapStyle();
    sym.SymbolType = SymbolVector;
    sym.SymbolCharacter = 32; // filled square
    sym.SymbolVectorSize = 12;
    sym.SymbolVectorColor = MapRgb(255, 0, 0);
    points->AddFeature(TMapFeature::MakePoint({kX0 + 150, kY0 + 70}, sym));
    TMapStyle text = DefaultMapStyle();
    text.TextFontSize = 14;
    text.TextFontColor = MapRgb(0, 0, 255);
    points->AddFeature(TMapFeature::MakeText({kX0 + 150, kY0 + 30}, QStringLiteral("Ділянка"), text));
    m.districts->SelectionReplace({m.right});

    for (double dpr : {1.0, 2.0}) {
        const QImage img = Render(m.map, dpr);
        EXPECT_EQ(img.width(), static_cast<int>(400 * dpr));
        const TViewTransform v = TViewTransform::FromMap(m.map);
        EXPECT_TRUE(Reddish(img.pixel((v.ToScreen(kX0 + 150, kY0 + 70) * dpr).toPoint()))) << dpr;
        EXPECT_TRUE(Near(img, v.ToScreen(kX0 + 150, kY0 + 30), Bluish, 6)) << dpr;
        // The selected square is tinted with the selection colour.
        const QRgb tint = img.pixel((v.ToScreen(kX0 + 180, kY0 + 50) * dpr).toPoint());
        EXPECT_FALSE(White(tint)) << dpr;
        EXPECT_GT(qBlue(tint), qRed(tint)) << dpr;
    }
    TRenderOptions noSel;
    noSel.DrawSelection = false;
    const TViewTransform v = TViewTransform::FromMap(m.map);
    EXPECT_TRUE(White(Render(m.map, 1.0, noSel).pixel(v.ToScreen(kX0 + 180, kY0 + 50).toPoint())));
}

TEST(MapRenderer, AutomaticLabelsDoNotOverlap) {
    TMap map;
    TMapLayer* l = AddMemLayer(map, QStringLiteral("L"));
    // Two regions whose centres are close on screen: only one label fits.
    l->AddFeature(TMapFeature::MakeRegion(Square(kX0, kY0, 10), Outline(0)),
                  {QStringLiteral("Перша"), QString()});
    l->AddFeature(TMapFeature::MakeRegion(Square(kX0 + 3, kY0, 10), Outline(0)),
                  {QStringLiteral("Друга"), QString()});
    map.SetScreenSize(300, 200);
    map.ZoomTo(150, kX0 + 6, kY0 + 5);
    l->Labels.Visible = true;
    l->Labels.DataField = QStringLiteral("uid");
    l->Labels.Style.TextFontColor = MapRgb(0, 0, 255);
    auto bluePixels = [&] {
        const QImage img = Render(map);
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += Bluish(img.pixel(x, y));
        return n;
    };
    const int one = bluePixels();
    EXPECT_GT(one, 0);
    l->Labels.Overlap = true;
    EXPECT_GT(bluePixels(), one);
}

// Crowded texts: the label of a higher layer wins, the one under it is left out.
TEST(MapRenderer, TextsOfLowerLayersGiveWayToHigherOnes) {
    TMap map;
    TMapLayer* low = AddMemLayer(map, QStringLiteral("low"));
    TMapLayer* high = AddMemLayer(map, QStringLiteral("high")); // on top
    TMapStyle red = DefaultMapStyle(), blue = DefaultMapStyle();
    red.TextFontColor = MapRgb(255, 0, 0);
    red.TextFontSize = 12;
    blue.TextFontColor = MapRgb(0, 0, 255);
    blue.TextFontSize = 12;
    low->AddFeature(TMapFeature::MakeText({kX0 + 1, kY0}, QStringLiteral("12.34"), red));
    high->AddFeature(TMapFeature::MakeText({kX0, kY0}, QStringLiteral("7"), blue));
    low->AddFeature(TMapFeature::MakeText({kX0 + 60, kY0}, QStringLiteral("56.78"), red)); // far away: stays
    map.SetScreenSize(200, 100);
    map.ZoomTo(200, kX0 + 30, kY0);
    auto count = [&](bool avoid, auto pred, double x0, double x1) {
        TRenderOptions o;
        o.AvoidTextOverlap = avoid;
        const QImage img = Render(map, 1.0, o);
        const TViewTransform v = TViewTransform::FromMap(map);
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = static_cast<int>(v.ToScreen(x0, kY0).x());
                 x < static_cast<int>(v.ToScreen(x1, kY0).x()); ++x)
                n += pred(img.pixel(x, y));
        return n;
    };
    EXPECT_GT(count(false, Reddish, kX0 - 20, kX0 + 20), 0);
    EXPECT_EQ(count(true, Reddish, kX0 - 20, kX0 + 20), 0);
    EXPECT_GT(count(true, Bluish, kX0 - 20, kX0 + 20), 0);
    EXPECT_GT(count(true, Reddish, kX0 + 40, kX0 + 80), 0);
}
