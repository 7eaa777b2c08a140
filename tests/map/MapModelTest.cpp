#include "map/MapControl.h"
#include "map/MapGeometry.h"

#include <gtest/gtest.h>

namespace {

// Counts the emissions of a signal.
struct TSignalCount {
    int n = 0;
    template <typename Signal> TSignalCount(TMap* map, Signal signal) {
        QObject::connect(map, signal, map, [this] { ++n; });
    }
    int count() const { return n; }
};

TMapPoints Square(double x, double y, double size) {
    return {{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}, {x, y}};
}

TMapLayerInfo MemLayer(const QString& name) {
    TMapLayerInfo info;
    info.Name = name;
    TMapField uid;
    uid.Name = "uid";
    uid.Width = 32;
    TMapField area;
    area.Name = "area";
    area.Type = TFieldType::Float;
    info.Fields = {uid, area};
    return info;
}

TEST(MapFeature, MeasuresOfRegionsLinesAndPoints) {
    // A 10 x 10 square at plane coordinates of millions of metres with a 2 x 2 hole.
    TMapFeature region = TMapFeature::MakeRegion(Square(3300000.0, 5500000.0, 10), DefaultMapStyle());
    EXPECT_DOUBLE_EQ(region.Area(), 100.0);
    EXPECT_DOUBLE_EQ(region.Perimeter(), 40.0);
    region.AddPart(Square(3300002.0, 5500002.0, 2));
    EXPECT_NEAR(region.Area(), 96.0, 1e-9);
    EXPECT_DOUBLE_EQ(region.Perimeter(), 48.0);
    EXPECT_FALSE(region.ContainsPoint({3300003.0, 5500003.0})) << "inside the hole";
    EXPECT_TRUE(region.ContainsPoint({3300001.0, 5500001.0}));
    EXPECT_EQ(region.Bounds(), TMapRect(3300000.0, 5500000.0, 3300010.0, 5500010.0));
    const TMapPoint c = region.Centroid();
    EXPECT_TRUE(region.ContainsPoint(c));

    // An open ring measures as closed.
    TMapFeature open = TMapFeature::MakeRegion({{0, 0}, {4, 0}, {4, 3}}, DefaultMapStyle());
    EXPECT_DOUBLE_EQ(open.Area(), 6.0);
    EXPECT_DOUBLE_EQ(open.Perimeter(), 12.0);

    const TMapFeature line = TMapFeature::MakeLine({{0, 0}, {3, 4}, {3, 10}}, DefaultMapStyle());
    EXPECT_DOUBLE_EQ(line.Length(), 11.0);
    EXPECT_DOUBLE_EQ(line.Area(), 0.0);
    EXPECT_DOUBLE_EQ(line.Perimeter(), 0.0);
    EXPECT_DOUBLE_EQ(line.DistanceTo({0, 7}), 3.0);

    const TMapFeature point = TMapFeature::MakePoint({7, 8}, DefaultMapStyle());
    EXPECT_EQ(point.Centroid(), TMapPoint(7, 8));
    EXPECT_EQ(point.Centre(), TMapPoint(7, 8));
}

TEST(MapFeature, CoordinatesAreKeptExactly) {
    // No quantisation by any coordinate system's bounds: what goes in comes out.
    TMap map;
    map.NumericCoordSys = TMapCoordSys::NonEarth(TMapRect(-10000000, -10000000, 10000000, 10000000));
    TMapLayer* layer = map.AddLayer(MemLayer("L"));
    const TMapPoints ring = {{3300000.123456789, 5500000.987654321},
                             {3300010.000000001, 5500000.5},
                             {3300005.1, 5500008.3},
                             {3300000.123456789, 5500000.987654321}};
    const TFeatureKey key = layer->AddFeature(TMapFeature::MakeRegion(ring, DefaultMapStyle()));
    EXPECT_EQ(layer->Feature(key).Parts[0], ring);
}

TEST(MapLayer, FeaturesKeepOrderKeysAndRowsAcrossUpdates) {
    TMap map;
    TMapLayer* layer = map.AddLayer(MemLayer("L"));
    const TFeatureKey a =
        layer->AddFeature(TMapFeature::MakePoint({0, 0}, DefaultMapStyle()), {QString("1")});
    const TFeatureKey b = layer->AddFeature(TMapFeature::MakePoint({1, 1}, DefaultMapStyle()));
    const TFeatureKey c = layer->AddFeature(TMapFeature::MakePoint({2, 2}, DefaultMapStyle()));
    layer->Dataset().SetValue(b, "uid", "2");
    // The geometry of a changes kind; its row survives.
    layer->UpdateFeature(a, TMapFeature::MakeRegion(Square(0, 0, 1), DefaultMapStyle()));
    EXPECT_EQ(layer->Feature(a).Type, TFeatureType::Region);
    EXPECT_EQ(layer->Dataset().Text(a, "uid"), "1");
    EXPECT_EQ(layer->Dataset().Text(a, "UID"), "1") << "field names are not case-sensitive";
    layer->DeleteFeature(b);
    EXPECT_EQ(layer->FeatureKeys(), (std::vector<TFeatureKey>{a, c}));
    EXPECT_EQ(layer->KeyAt(1), c);
    EXPECT_EQ(layer->IndexOf(b), -1);
    EXPECT_THROW(layer->Feature(b), TMapError);
    EXPECT_THROW(layer->Dataset().SetValue(b, "uid", "x"), TMapError);
    EXPECT_THROW(layer->Dataset().SetValue(a, "nosuch", "x"), TMapError);
    EXPECT_EQ(layer->Dataset().Text(a, "nosuch"), "");
}

TEST(MapLayer, RefusesFeaturesWithTooFewNodes) {
    TMap map;
    TMapLayer* layer = map.AddLayer(MemLayer("L"));
    struct Case {
        const char* what;
        TMapFeature feature;
    } cases[] = {
        {"region ring of two nodes", TMapFeature::MakeRegion({{0, 0}, {1, 1}}, DefaultMapStyle())},
        {"line of one node", TMapFeature::MakeLine({{0, 0}}, DefaultMapStyle())},
        {"point without nodes", TMapFeature{TFeatureType::Point, {}, {}, {}, 0, false}},
        {"unsupported kind", TMapFeature{TFeatureType::Collection, {{{0, 0}}}, {}, {}, 0, false}},
        {"not a number", TMapFeature::MakePoint({std::nan(""), 0}, DefaultMapStyle())},
    };
    for (const Case& c : cases)
        EXPECT_THROW(layer->AddFeature(c.feature), TMapError) << c.what;
    EXPECT_EQ(layer->FeatureCount(), 0);
    const TFeatureKey k = layer->AddFeature(TMapFeature::MakeRegion(Square(0, 0, 1), DefaultMapStyle()));
    TMapFeature broken = layer->Feature(k);
    broken.Parts[0].resize(2);
    EXPECT_THROW(layer->UpdateFeature(k, broken), TMapError);
    EXPECT_EQ(layer->Feature(k).Parts[0].size(), 5u) << "a refused update leaves the feature as it was";
}

TEST(MapDataset, TextFieldsAreCutToTheirWidthAndNumbersConvert) {
    TMap map;
    TMapLayer* layer = map.AddLayer(MemLayer("L"));
    layer->Dataset().AddTextField("short", 3);
    const TFeatureKey k = layer->AddFeature(TMapFeature::MakePoint({0, 0}, DefaultMapStyle()));
    layer->Dataset().SetValue(k, "short", "абвгд");
    layer->Dataset().SetValue(k, "area", "12.5");
    EXPECT_EQ(layer->Dataset().Text(k, "short"), "абв");
    EXPECT_DOUBLE_EQ(layer->Dataset().Value(k, "area").toDouble(), 12.5);
    EXPECT_THROW(layer->Dataset().AddTextField("SHORT", 5), TMapError) << "duplicate name";
    const TMapRow row = layer->Dataset().Row(k);
    ASSERT_EQ(row.size(), 3u);
    EXPECT_TRUE(row[0].isNull());
}

TEST(MapDataset, ComputedFieldsEvaluateTheirExpression) {
    TMap map;
    TMapLayer* layer = map.AddLayer(MemLayer("L"));
    TMapDataset& ds = layer->Dataset();
    const TFeatureKey k = layer->AddFeature(
        TMapFeature::MakeRegion(Square(3300000, 5500000, 20), DefaultMapStyle()), {QString("Ділянка"), 2.5});
    struct Case {
        const char* expression;
        QVariant expected;
    } cases[] = {
        {"uid + \" №\" + Str$(3)", QString("Ділянка №3")},
        {"area * 2 + 1 - 4 / 2", 4.0},
        {"-(area - 0.5)", -2.0},
        {"Area(obj, \"sq m\")", 400.0},
        {"Area(obj, \"hectare\")", 0.04},
        {"Perimeter(obj, \"m\")", 80.0},
        {"Perimeter(obj, \"km\")", 0.08},
        {"ObjectLen(obj, \"m\")", 0.0},
        {"CentroidX(obj)", 3300010.0},
        {"CentroidY(obj)", 5500010.0},
        {"Round(12.3456, 0.01)", 12.35},
        {"Round(area)", 3.0},
        {"Left$(uid, 3) + Right$(uid, 2) + Mid$(uid, 2, 3)", QString("Ділкаіля")},
        {"UCase$(uid) + LCase$(\"АБВ\")", QString("ДІЛЯНКАабв")},
        {"\"Площа: \" + Area(obj, \"sq m\") + Chr$(13)", QString("Площа: 400\r")},
        {"Chr$(185)", QString("№")},
        {"\"a\"\"b\"", QString("a\"b")},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString name = QString("f%1").arg(++n);
        ds.AddComputedField(name, c.expression);
        const QVariant v = ds.Value(k, name);
        if (c.expected.typeId() == QMetaType::Double) {
            EXPECT_NEAR(v.toDouble(), c.expected.toDouble(), 1e-9) << c.expression;
        } else {
            EXPECT_EQ(v.toString(), c.expected.toString()) << c.expression;
        }
    }
    // The value follows the feature.
    ds.AddComputedField("sq", "Area(obj, \"sq m\")");
    layer->UpdateFeature(k, TMapFeature::MakeRegion(Square(0, 0, 3), DefaultMapStyle()));
    EXPECT_DOUBLE_EQ(ds.Value(k, "sq").toDouble(), 9.0);
    EXPECT_THROW(ds.SetValue(k, "sq", 1), TMapError);
}

TEST(MapDataset, ExpressionsOutsideTheLanguageAreRefused) {
    TMap map;
    TMapLayer* layer = map.AddLayer(MemLayer("L"));
    const char* refused[] = {
        "Buffer(obj, 32, 1, \"m\")",
        "nosuchfield + 1",
        "uid = 1",
        "area ^ 2",
        "Abs(-1)",
        "Left$(uid)",
        "Area(uid, \"sq m\")",
        "Area(obj, \"parsec\")",
        "obj",
        "obj + 1",
        "\"open",
        "(area",
        "area area",
        "uid & 1",
    };
    for (const char* e : refused) {
        EXPECT_THROW(layer->Dataset().AddComputedField(QString("x%1").arg(qHash(QString(e))), e), TMapError)
            << e;
    }
    EXPECT_EQ(layer->Dataset().FieldCount(), 2) << "a refused field is not added";
}

TEST(MapSelection, EveryChangeNotifiesOnceProgrammaticOnesIncluded) {
    TMap map;
    TMapLayer* a = map.AddLayer(MemLayer("A"));
    TMapLayer* b = map.AddLayer(MemLayer("B"));
    const TFeatureKey a1 = a->AddFeature(TMapFeature::MakePoint({0, 0}, DefaultMapStyle()));
    const TFeatureKey a2 = a->AddFeature(TMapFeature::MakePoint({1, 0}, DefaultMapStyle()));
    const TFeatureKey b1 = b->AddFeature(TMapFeature::MakePoint({2, 0}, DefaultMapStyle()));
    TSignalCount spy(&map, &TMap::SelectionChanged);

    a->SelectionReplace({a2, a1, a2});
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(a->Selection(), (std::vector<TFeatureKey>{a1, a2}));
    a->SelectionReplace({a1, a2});
    EXPECT_EQ(spy.count(), 1) << "no change, no notification";
    b->SelectionAdd(b1);
    EXPECT_EQ(spy.count(), 2);
    a->DeleteFeature(a1);
    EXPECT_EQ(spy.count(), 3) << "deleting a selected feature changes the selection";
    EXPECT_EQ(a->Selection(), (std::vector<TFeatureKey>{a2}));
    ASSERT_EQ(map.SelectedFeatures().size(), 2u);
    EXPECT_EQ(map.SelectedFeatures()[0].Layer, b) << "layer order: B was added on top";
    {
        TSelectionUpdate batch(map);
        map.ClearSelection();
        a->SelectionAdd(a2);
        EXPECT_EQ(spy.count(), 3);
    }
    EXPECT_EQ(spy.count(), 4) << "one notification for the batch";
    a->SelectionAdd(12345);
    EXPECT_EQ(spy.count(), 4) << "unknown features are not selected";
    map.RemoveLayer(a);
    EXPECT_EQ(spy.count(), 5);
    EXPECT_TRUE(map.SelectedFeatures().empty());
}

// The same answers with and without the spatial index.
TEST(MapSearch, PointRectangleAndDistanceWithAndWithoutIndex) {
    for (int count : {10, 2000}) {
        TMap map;
        TMapLayer* layer = map.AddLayer(MemLayer("L"));
        std::vector<TFeatureKey> keys;
        // A row of 10 x 10 squares every 20 m, a line and a point.
        for (int i = 0; i < count; ++i)
            keys.push_back(layer->AddFeature(
                TMapFeature::MakeRegion(Square(3300000 + 20.0 * i, 5500000, 10), DefaultMapStyle())));
        const TFeatureKey line = layer->AddFeature(
            TMapFeature::MakeLine({{3300000, 5499990}, {3300100, 5499990}}, DefaultMapStyle()));
        const TFeatureKey point =
            layer->AddFeature(TMapFeature::MakePoint({3300015, 5500005}, DefaultMapStyle()));
        SCOPED_TRACE(count);

        EXPECT_EQ(layer->SearchAtPoint({3300045, 5500005}), (std::vector<TFeatureKey>{keys[2]}));
        EXPECT_TRUE(layer->SearchAtPoint({3300015, 5500004}).empty()) << "between squares, tolerance 0";
        EXPECT_EQ(layer->SearchAtPoint({3300015, 5500004}, 1.5), (std::vector<TFeatureKey>{point}));
        EXPECT_EQ(layer->SearchAtPoint({3300050, 5499991}, 1.0), (std::vector<TFeatureKey>{line}));
        EXPECT_EQ(layer->SearchAtPoint({3300011, 5500005}, 1.0), (std::vector<TFeatureKey>{keys[0]}));

        // A rectangle over the second and third square.
        const TMapRect r(3300025, 5500002, 3300045, 5500008);
        EXPECT_EQ(layer->SearchWithinRectangle(r, TSearchType::PartiallyWithin),
                  (std::vector<TFeatureKey>{keys[1], keys[2]}));
        EXPECT_EQ(layer->SearchWithinRectangle(TMapRect(3300019, 5499999, 3300051, 5500011),
                                               TSearchType::EntirelyWithin),
                  (std::vector<TFeatureKey>{keys[1], keys[2]}));
        EXPECT_EQ(layer->SearchWithinRectangle(TMapRect(3300024, 5500004, 3300026, 5500006),
                                               TSearchType::CentroidWithin),
                  (std::vector<TFeatureKey>{keys[1]}));
        EXPECT_EQ(layer->SearchWithinRectangle(TMapRect(3300002, 5500002, 3300003, 5500003)),
                  (std::vector<TFeatureKey>{keys[0]}))
            << "a rectangle inside a region touches it";

        // Circle touching square 0 and the point only.
        EXPECT_EQ(layer->SearchWithinDistance({3300014, 5500005}, 4.5),
                  (std::vector<TFeatureKey>{keys[0], point}));

        // Moves and deletions reach the index.
        layer->UpdateFeature(keys[2],
                             TMapFeature::MakeRegion(Square(3400000, 5600000, 10), DefaultMapStyle()));
        EXPECT_TRUE(layer->SearchAtPoint({3300045, 5500005}).empty());
        EXPECT_EQ(layer->SearchAtPoint({3400005, 5600005}), (std::vector<TFeatureKey>{keys[2]}));
        layer->DeleteFeature(keys[2]);
        EXPECT_TRUE(layer->SearchAtPoint({3400005, 5600005}).empty());
        const TFeatureKey added =
            layer->AddFeature(TMapFeature::MakeRegion(Square(3300040, 5500000, 10), DefaultMapStyle()));
        EXPECT_EQ(layer->SearchAtPoint({3300045, 5500005}), (std::vector<TFeatureKey>{added}));
    }
}

TEST(MapCoordSys, EqualityAndBounds) {
    const TMapCoordSys a = TMapCoordSys::NonEarth(TMapRect(10, 20, 0, 0));
    const TMapCoordSys b = TMapCoordSys::NonEarth(TMapRect(0, 0, 10, 20));
    EXPECT_EQ(a, b) << "bounds compare normalised";
    EXPECT_NE(a, TMapCoordSys::NonEarth(TMapRect(0, 0, 10, 21)));
    EXPECT_NE(a, TMapCoordSys::NonEarth(TMapRect(0, 0, 10, 20), TMapUnit::Kilometre));
    EXPECT_TRUE(a.Contains({10, 20}));
    EXPECT_FALSE(a.Contains({10.0001, 20}));

    TMapDatum krassovsky;
    krassovsky.Ellipsoid = 3;
    krassovsky.ShiftX = 25;
    TMapCoordSys e1 = TMapCoordSys::Earth(8, krassovsky, TMapUnit::Metre);
    e1.OriginLongitude = 24;
    TMapCoordSys e2 = e1;
    EXPECT_EQ(e1, e2);
    e2.Datum.RotateZ = 0.1;
    EXPECT_NE(e1, e2);
    EXPECT_NE(e1, a);
    EXPECT_TRUE(e1.Contains({1e9, 1e9})) << "an earth system has no bounds";
}

TEST(MapControl, LayerOrderViewAndUnits) {
    TMap map;
    TSignalCount layers(&map, &TMap::LayersChanged);
    map.AddLayer(MemLayer("bottom"));
    map.AddLayer(MemLayer("top"), 1);
    map.AddLayer(MemLayer("last"), 99);
    ASSERT_EQ(map.LayerCount(), 3);
    EXPECT_EQ(map.LayerAt(0)->Name, "top");
    EXPECT_EQ(map.LayerAt(2)->Name, "last");
    EXPECT_EQ(map.FindLayer("BOTTOM"), map.LayerAt(1));
    EXPECT_EQ(map.FindDataset("top"), &map.LayerAt(0)->Dataset());
    EXPECT_EQ(layers.count(), 3);
    EXPECT_THROW(map.AddLayer(MemLayer(" ")), TMapError);

    map.SetScreenSize(1000, 500);
    map.ZoomTo(200, 3300000, 5500000);
    EXPECT_EQ(map.Bounds(), TMapRect(3299900, 5499950, 3300100, 5500050));
    const QPointF px = map.MapToScreen({3300050, 5500025});
    EXPECT_DOUBLE_EQ(px.x(), 750);
    EXPECT_DOUBLE_EQ(px.y(), 125);
    const TMapPoint back = map.ScreenToMap(px);
    EXPECT_NEAR(back.x, 3300050, 1e-6);
    EXPECT_NEAR(back.y, 5500025, 1e-6);
    EXPECT_NEAR(map.MapToScreenTransform().map(QPointF(3300050, 5500025)).y(), 125, 1e-6);
    map.SetBounds(TMapRect(0, 0, 100, 100));
    EXPECT_DOUBLE_EQ(map.Zoom(), 200) << "the taller side decides";
    map.MapUnit = TMapUnit::Kilometre;
    EXPECT_DOUBLE_EQ(map.Distance(0, 0, 3000, 4000), 5.0);
    map.AreaUnit = TAreaUnit::Hectare;
    EXPECT_DOUBLE_EQ(map.FeatureAreaInUnits(TMapFeature::MakeRegion(Square(0, 0, 100), DefaultMapStyle())),
                     1.0);
    EXPECT_THROW(map.SetZoom(0), TMapError);

    map.CreateCustomTool(7, ToolKindPoint, 36);
    EXPECT_TRUE(map.IsCustomTool(7));
    EXPECT_EQ(map.CustomToolKind(52), -1);
}

TEST(MapGeometry, IntersectionPointInRegionAndArea) {
    const TMapFeature a = TMapFeature::MakeRegion(Square(3300000, 5500000, 10), DefaultMapStyle());
    const TMapFeature b = TMapFeature::MakeRegion(Square(3300005, 5500005, 10), DefaultMapStyle());
    auto x = RegionIntersection(a, b);
    ASSERT_TRUE(x.has_value());
    EXPECT_NEAR(x->Area(), 25.0, 1e-9);
    EXPECT_EQ(x->Bounds(), TMapRect(3300005, 5500005, 3300010, 5500010))
        << "exact vertices come back exactly";
    EXPECT_FALSE(
        RegionIntersection(a, TMapFeature::MakeRegion(Square(3300020, 5500000, 5), DefaultMapStyle())));
    EXPECT_FALSE(
        RegionIntersection(a, TMapFeature::MakeRegion(Square(3300010, 5500000, 5), DefaultMapStyle())))
        << "touching along an edge has no area";
    EXPECT_TRUE(RegionsIntersect(a, b));

    TMapFeature holed = a;
    holed.AddPart(Square(3300002, 5500002, 2));
    EXPECT_NEAR(RegionArea(holed), 96.0, 1e-9);
    EXPECT_TRUE(PointInRegion(holed, {3300001, 5500001}));
    EXPECT_TRUE(PointInRegion(holed, {3300000, 5500005})) << "the boundary counts";
    EXPECT_FALSE(PointInRegion(holed, {3300003, 5500003}));
    // The hole stays a hole in the intersection.
    auto hx =
        RegionIntersection(holed, TMapFeature::MakeRegion(Square(3300001, 5500001, 4), DefaultMapStyle()));
    ASSERT_TRUE(hx.has_value());
    EXPECT_NEAR(hx->Area(), 12.0, 1e-9);
    EXPECT_EQ(hx->PartCount(), 2);

    // Two separate outer rings.
    TMapFeature two = a;
    two.AddPart(Square(3300100, 5500000, 10));
    EXPECT_NEAR(two.Area(), 200.0, 1e-9);
}

} // namespace
