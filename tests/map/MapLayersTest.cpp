#include "map/MapLayers.h"
#include "app/Settings.h"
#include "common/Ini.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString WriteTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& content) {
    const QString path = dir.path() + "/" + name;
    WriteBytes(path, content);
    return path;
}

TEST(StandardLayers, PrepareMapForFileCreatesTheTenLayers) {
    QTemporaryDir dir;
    const QString file = WriteTemp(dir, "a.xml", "<X>5500000.00</X>\n<Y>3324900.00</Y>\n<Polyline>\n");
    TMap map;
    map.AddLayer([] {
        TMapLayerInfo old;
        old.Name = "old";
        return old;
    }());
    ASSERT_TRUE(PrepareMapForFile(map, file, 4));
    ASSERT_EQ(map.LayerCount(), 10);
    EXPECT_EQ(map.FindLayer("old"), nullptr);
    // From top to bottom: the reverse of the order of creation.
    const QStringList topDown = {"Косметичний шар",   "Тимчасовий",          "Iнфо: Вузли",
                                 "Iнфо: Нумерація",   "Iнфо: Відстані",      "Оціночна ділянка",
                                 "Оціночний район",   "Природний-c-г район", "Агрогрупа грунтів",
                                 "Територіальна зона"};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(map.LayerAt(i)->Name, topDown[i]) << i;
    EXPECT_EQ(kLayerSelhRaion.mid(10, 1), QString(QChar(0x63))) << "Latin c";
    for (const QString& n : {kLayerInfoDistances, kLayerInfoNumbering, kLayerInfoNodes})
        EXPECT_EQ(n.at(0), QChar(0x49)) << "Latin I";

    const TMapRect fileBounds(3250000, 5450000, 3350000, 5550000);
    for (int i = 0; i < 10; ++i) {
        const TMapLayer* l = map.LayerAt(i);
        SCOPED_TRACE(l->Name.toStdString());
        EXPECT_TRUE(l->IsMemoryTable());
        EXPECT_EQ(l->Dataset().Name(), l->Name);
        EXPECT_EQ(l->Visible, l->Name != kLayerInfoDistances);
        EXPECT_EQ(l->Editable, l->Name == kLayerInfoDistances || l->Name == kLayerInfoNumbering);
        const auto& fields = l->Dataset().Fields();
        if (l->Name == kLayerTemporary) {
            ASSERT_EQ(fields.size(), 12u);
            EXPECT_EQ(fields[0].Name, "PARAM1");
            EXPECT_EQ(fields[11].Name, "PARAM12");
            EXPECT_EQ(fields[11].Width, 250);
        } else if (l->Name == kLayerCosmetic) {
            ASSERT_EQ(fields.size(), 1u);
            EXPECT_EQ(fields[0].Name, "uid");
        } else {
            ASSERT_EQ(fields.size(), 2u);
            EXPECT_EQ(fields[0].Name, "uid");
            EXPECT_EQ(fields[1].Name, "parent");
            EXPECT_EQ(fields[1].Width, 32);
            EXPECT_EQ(fields[1].Type, TFieldType::String);
        }
        for (const auto& f : fields)
            EXPECT_FALSE(f.Indexed);
        EXPECT_EQ(l->CoordSys.Bounds, l->Name == kLayerCosmetic
                                          ? TMapRect(-10000000, -10000000, 10000000, 10000000)
                                          : fileBounds);
    }
    EXPECT_EQ(map.NumericCoordSys.Bounds, fileBounds);
    EXPECT_EQ(map.DisplayCoordSys, map.NumericCoordSys);
    EXPECT_EQ(map.CurrentTool, ToolSelect);
    EXPECT_TRUE(map.AutoRedraw);
    EXPECT_EQ(map.FindLayer(kLayerOcDilanka)->Style.RegionBorderColor, MapRgb(255, 0, 0));
    EXPECT_EQ(ClearableLayerNames().size(), 8);
    EXPECT_EQ(ClearableLayerNames().last(), kLayerInfoNodes);

    ASSERT_TRUE(PrepareMapForFile(map, file, 2));
    EXPECT_EQ(map.NumericCoordSys.Bounds, TMapRect(-10000000, -10000000, 10000000, 10000000));

    // The precision option of the settings: "4" when absent.
    TTestProgramDir program;
    ASSERT_TRUE(PrepareMapForFile(map, file));
    EXPECT_EQ(map.NumericCoordSys.Bounds, fileBounds);
    WriteCoordPrecision("2");
    ASSERT_TRUE(PrepareMapForFile(map, file));
    EXPECT_EQ(map.NumericCoordSys.Bounds, TMapRect(-10000000, -10000000, 10000000, 10000000));
}

TEST(ExtentForFile, FormatsClassesAndBounds) {
    QTemporaryDir dir;
    struct Case {
        const char* what;
        const char* name;
        QByteArray content;
        int requested;
        TMapRect expected;
    } cases[] = {
        {"no readable coordinate: extent -20 000 000, class 4 around 0",
         "none.xml",
         "<a/>\n<X>abc</X>\n",
         4,
         {-50000, -50000, 50000, 50000}},
        {"centre easting 3 324 900 with class 4",
         "c.xml",
         "  <Point>\n    <X>5500000.5</X>\n    <Y>3324900.00</Y>\n  </Point>\n<Polyline>\n<X>1</X>\n",
         4,
         {3250000, 5450000, 3350000, 5550000}},
        {"120 km span with class 4 requested gives class 3",
         "span.xml",
         "<Y>3300000</Y>\n<X>5400000</X>\n<Y>3420000</Y>\n<X>5410000</X>\n",
         4,
         {3000000, 5000000, 3500000, 5500000}},
        {"class 3 requested lowers class 4",
         "c3.xml",
         "<Y>3324900</Y>\n<X>5500000</X>\n",
         3,
         {3000000, 5500000, 3500000, 6000000}},
        {"class 2 requested",
         "c2.xml",
         "<Y>3324900</Y>\n<X>5500000</X>\n",
         2,
         {-10000000, -10000000, 10000000, 10000000}},
        {"extent of 1 000 km gives class 2",
         "wide.csv",
         "1,2000000,5000000\n2,3000000,5000000\n",
         4,
         {-10000000, -10000000, 10000000, 10000000}},
        {"in4",
         "a.IN4",
         "N=1,X=5500000.1,Y=3324900.2,H=0\nX=1,Y=2\n  n=2,x=5500010,y=3324910\n",
         4,
         {3250000, 5450000, 3350000, 5550000}},
        {"geojson",
         "a.geojson",
         "{\"coordinates\": [[ [3324900.5, 5500000.5],\n [3324950, 5500010] ]]}",
         4,
         {3250000, 5450000, 3350000, 5550000}},
        {"csv with a bad line",
         "a.csv",
         "1,3324900,5500000\nx,y,z\n",
         4,
         {3250000, 5450000, 3350000, 5550000}},
        {"txt: tabs, runs of blanks, decimal commas; second field northing",
         "a.txt",
         "1\t5500000,5   3324900,25\n",
         4,
         {3250000, 5450000, 3350000, 5550000}},
        // A plot whose centre lies just below a cell edge sticks out of the class-4 cell:
        // the coarser class keeps its nodes inside.
        {"plot across a class-4 cell edge",
         "edge.csv",
         "1,3349990,5500000\n2,3350008,5500010\n",
         4,
         {3000000, 5500000, 3500000, 6000000}},
        {"plot across a class-3 cell edge",
         "edge3.csv",
         "1,3399000,5600000\n2,3599000,5610000\n",
         4,
         {-10000000, -10000000, 10000000, 10000000}},
    };
    for (const Case& c : cases) {
        const QString path = WriteTemp(dir, c.name, c.content);
        EXPECT_EQ(ExtentForFile(path, c.requested), c.expected) << c.what;
    }
    EXPECT_EQ(ExtentForFile(dir.path() + "/missing.xml", 4),
              TMapRect(-10000000, -10000000, 10000000, 10000000))
        << "a file that cannot be read gives class 2";
}

// Exchange files keep a whole point on one line; their coordinates must still count,
// or the map's bounds would lie around 0 and every node outside them.
TEST(ExtentForFile, PointsWrittenOnOneLineCount) {
    TFileExtent e = ReadFileExtent(TestDataPath("map/parcel-6-vertices.xml"));
    ASSERT_TRUE(e.HasCoordinates());
    EXPECT_EQ(e.minEasting, 2392984.60);
    EXPECT_EQ(e.maxEasting, 2393039.99);
    EXPECT_EQ(e.minNorthing, 5508161.30);
    EXPECT_EQ(e.maxNorthing, 5508232.17);
    TMapRect r;
    EXPECT_EQ(ExtentClass(e, 4, &r), 4);
    EXPECT_TRUE(r.Contains(TMapRect(e.minEasting, e.minNorthing, e.maxEasting, e.maxNorthing)));
}

TMapStyle OddStyle() {
    TMapStyle s;
    s.SymbolType = SymbolFont;
    s.SymbolCharacter = 65;
    s.SymbolFontName = "DejaVu Sans";
    s.SymbolFontSize = 14;
    s.SymbolFontColor = MapRgb(1, 2, 3);
    s.SymbolFontRotation = 45;
    s.SymbolFontHalo = true;
    s.SymbolFontOpaque = true;
    s.SymbolFontBackColor = 7;
    s.SymbolFontBold = true;
    s.SymbolFontItalic = true;
    s.SymbolFontShadow = true;
    s.SymbolBitmapName = "pin.bmp";
    s.SymbolBitmapSize = 24;
    s.SymbolBitmapColor = 9;
    s.SymbolBitmapTransparent = true;
    s.SymbolBitmapOverrideColor = true;
    s.SymbolVectorSize = 8;
    s.SymbolVectorColor = 10;
    s.LineStyle = LineDash;
    s.LineColor = 11;
    s.LineWidth = 3;
    s.LineWidthUnit = 1;
    s.RegionPattern = FillCross;
    s.RegionColor = 12;
    s.RegionBackColor = 13;
    s.RegionTransparent = false;
    s.RegionBorderStyle = LineDot;
    s.RegionBorderColor = 14;
    s.RegionBorderWidth = 2;
    s.RegionBorderWidthUnit = 1;
    s.TextFontName = "Times New Roman";
    s.TextFontSize = 12;
    s.TextFontColor = 15;
    s.TextFontHalo = true;
    s.TextFontOpaque = true;
    s.TextFontBackColor = 16;
    s.TextFontBold = true;
    s.TextFontItalic = true;
    s.TextFontUnderline = true;
    s.TextFontAllCaps = true;
    s.TextFontShadow = true;
    s.TextFontDblSpace = true;
    return s;
}

TEST(StyleText, RoundTripDefaultsAndFailures) {
    const TMapStyle odd = OddStyle();
    const QString text = StyleToText(odd);
    EXPECT_EQ(text.count(','), 43);
    EXPECT_TRUE(text.endsWith(','));
    EXPECT_TRUE(
        text.startsWith("0,65,DejaVu Sans,14,197121,45,1,1,7,1,1,1,pin.bmp,24,9,1,1,8,10,2,11,3,1,6,"));
    EXPECT_TRUE(text.endsWith("Times New Roman,12,15,1,1,16,1,1,1,1,1,1,"));
    auto back = StyleFromText(text, DefaultMapStyle());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, odd) << "fonts included";

    EXPECT_EQ(StyleFromText("-", odd), odd);
    EXPECT_EQ(StyleFromText("", odd), odd);
    EXPECT_EQ(StyleFromText("-"), DefaultMapStyle());

    // A line style or fill pattern that does not convert keeps its default.
    QStringList v = text.split(',');
    v[19] = "x"; // line style
    v[23] = "";  // fill pattern
    auto lenient = StyleFromText(v.join(','), DefaultMapStyle());
    ASSERT_TRUE(lenient.has_value());
    EXPECT_EQ(lenient->LineStyle, DefaultMapStyle().LineStyle);
    EXPECT_EQ(lenient->RegionPattern, DefaultMapStyle().RegionPattern);
    EXPECT_EQ(lenient->LineColor, 11);

    QString error;
    QStringList bad = text.split(',');
    bad[4] = "red";
    EXPECT_FALSE(StyleFromText(bad.join(','), DefaultMapStyle(), &error).has_value());
    EXPECT_TRUE(error.contains("red"));
    EXPECT_FALSE(StyleFromText("2,34,Arial,", DefaultMapStyle(), &error).has_value()) << "too few values";
}

TEST(XmlStyles, BuiltInStylesAndTheSettingsSection) {
    const TXmlStyles d = DefaultXmlStyles();
    struct Case {
        const TMapStyle* style;
        int color;
    } outlines[] = {{&d.StyleOcTerr, MapRgb(0, 0, 0)},
                    {&d.StyleOcDilanka, MapRgb(255, 0, 0)},
                    {&d.StyleOcRaion, MapRgb(0, 0, 255)},
                    {&d.StyleOcSelhRaion, MapRgb(0, 153, 153)},
                    {&d.StyleOcAgroGroup, MapRgb(54, 166, 42)}};
    for (const Case& c : outlines) {
        EXPECT_EQ(c.style->RegionPattern, 0);
        EXPECT_EQ(c.style->RegionBorderStyle, 1);
        EXPECT_EQ(c.style->RegionBorderColor, c.color);
    }
    EXPECT_EQ(d.StyleOcTerr.RegionBorderWidth, 1);
    EXPECT_EQ(d.StyleNode.SymbolType, SymbolVector);
    EXPECT_EQ(d.StyleNode.SymbolCharacter, 34);
    EXPECT_EQ(d.StyleNode.SymbolVectorSize, 4);
    EXPECT_EQ(d.StyleNode.SymbolVectorColor, MapRgb(255, 0, 0));
    EXPECT_EQ(d.StylePlaceholder.SymbolCharacter, 1);

    TTestProgramDir dir;
    TMapStyle raion = d.StyleOcRaion;
    raion.RegionBorderColor = MapRgb(1, 2, 3);
    IniWriteString("zemlyar.ini", "XML_STYLE", "StyleOcRaion", StyleToText(raion));
    IniWriteString("zemlyar.ini", "XML_STYLE", "StyleNode", "broken,");
    LoadXmlStyles(dir.File("zemlyar.ini"));
    EXPECT_EQ(XmlStyles().StyleOcRaion, raion);
    EXPECT_EQ(XmlStyles().StyleNode, d.StyleNode) << "an unreadable value keeps the built-in style";
    EXPECT_EQ(XmlStyles().StyleOcDilanka, d.StyleOcDilanka) << "a missing key keeps the built-in style";
    XmlStyles() = DefaultXmlStyles();
}

TEST(BuildFeatureFromPoints, PointsPolylinesAndRegions) {
    const TMapStyle style = OddStyle();
    TMapPoints pts = {{1, 2}, {3, 4}};
    auto point = BuildFeatureFromPoints(ToolDrawPoint, pts, style);
    ASSERT_TRUE(point);
    EXPECT_EQ(point->Type, TFeatureType::Point);
    EXPECT_EQ(point->Position(), TMapPoint(1, 2));
    EXPECT_EQ(point->Style, style);

    // A region drawn with two clicks: the first point is repeated, the ring is closed.
    TMapPoints two = {{0, 0}, {10, 0}};
    auto triangle = BuildFeatureFromPoints(ToolDrawRegion, two, style);
    ASSERT_TRUE(triangle);
    EXPECT_EQ(triangle->Type, TFeatureType::Region);
    EXPECT_EQ(triangle->Parts[0], (TMapPoints{{0, 0}, {10, 0}, {0, 0}}));

    TMapPoints square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 10}};
    auto region = BuildFeatureFromPoints(ToolDrawRegion, square, style);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->Parts[0], (TMapPoints{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}));
    EXPECT_EQ(square, region->Parts[0]) << "the list itself changes";

    TMapPoints line = {{0, 0}, {5, 5}, {5, 5}};
    auto polyline = BuildFeatureFromPoints(ToolDrawPolyline, line, style);
    ASSERT_TRUE(polyline);
    EXPECT_EQ(polyline->Type, TFeatureType::Line);
    EXPECT_EQ(polyline->Parts[0], (TMapPoints{{0, 0}, {5, 5}})) << "the repeated last click is dropped";

    TMapPoints none;
    EXPECT_FALSE(BuildFeatureFromPoints(ToolDrawPoint, none, style));
    TMapPoints one = {{1, 1}, {1, 1}};
    EXPECT_FALSE(BuildFeatureFromPoints(ToolDrawPolyline, one, style));
    TMapPoints other = {{1, 1}, {2, 2}, {3, 1}};
    EXPECT_FALSE(BuildFeatureFromPoints(52, other, style));
}

TEST(CloseRing, ComparesAfterRoundingToFourDecimals) {
    struct Case {
        TMapPoints in;
        size_t size;
    } cases[] = {
        {{{0, 0}, {1, 0}, {1, 1}}, 4},
        {{{0, 0}, {1, 0}, {1, 1}, {0, 0}}, 4},
        {{{3300000.12341, 5500000.5}, {1, 0}, {3300000.12344, 5500000.5}}, 3}, // equal in four decimals
        {{{3300000.1234, 5500000.5}, {1, 0}, {3300000.1235, 5500000.5}}, 4},
        {{{0, 0}, {1, 0}}, 2}, // fewer than three points
    };
    for (auto& c : cases) {
        CloseRing(c.in);
        EXPECT_EQ(c.in.size(), c.size);
        if (c.size == 4 && c.in.size() == 4) EXPECT_EQ(c.in.back(), c.in.front());
    }
}

TEST(Rounding, RoundTo4AndRoundCoordinate) {
    struct Case {
        double in, out;
    } cases[] = {
        {0.12355, 0.1236},
        {0.12345, 0.1234},
        {-0.12355, -0.1236},
        {5432101.123487, 5432101.1235},
        {5432101.1234499, 5432101.1234},
        {1.00005, 1.0},
        {2.99995, 3.0},
        {0.0, 0.0},
        {5500000.12, 5500000.12},
        {0.000049, 0.0},
        {12345678901.12345, 12345678901.1234},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RoundTo4(c.in), c.out) << c.in;

    TCoordRounding saved = CoordRounding();
    CoordRounding().PointCoordRoundToUse = false;
    CoordRounding().PointCoordRoundTo = 2;
    EXPECT_EQ(RoundCoordinate(1.23456, -2), 1.23456);
    EXPECT_EQ(RoundCoordinate(1.23456, -1), 1.23456) << "setting off";
    CoordRounding().PointCoordRoundToUse = true;
    EXPECT_EQ(RoundCoordinate(1.23456, -1), 1.23);
    EXPECT_EQ(RoundCoordinate(1.235, 2), 1.24) << "half away from zero on the decimal value";
    EXPECT_EQ(RoundCoordinate(2.5, 0), 2.0) << "whole numbers: halves to even";
    EXPECT_EQ(RoundCoordinate(3.5, 0), 4.0);
    CoordRounding() = saved;
}

TEST(Measurements, DistanceAreaAndUnitsRestored) {
    TMap map;
    map.MapUnit = TMapUnit::Kilometre;
    map.AreaUnit = TAreaUnit::Hectare;
    EXPECT_DOUBLE_EQ(MapDistance(map, 3300000, 5500000, 3300003, 5500004), 5.0);
    EXPECT_EQ(map.MapUnit, TMapUnit::Kilometre);
    const TMapFeature square =
        TMapFeature::MakeRegion({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, DefaultMapStyle());
    EXPECT_DOUBLE_EQ(FeatureArea(map, square), 100.0);
    EXPECT_EQ(map.AreaUnit, TAreaUnit::Hectare);
    EXPECT_EQ(FeatureArea(map, TMapFeature::MakeRegion({{0, 0}, {10, 0}, {0, 10}}, DefaultMapStyle())), 0.0)
        << "first ring of fewer than four points";
    EXPECT_EQ(FeatureArea(map, TMapFeature::MakeLine({{0, 0}, {10, 0}, {10, 10}, {0, 0}}, DefaultMapStyle())),
              0.0);
}

TEST(DrawingTools, NumbersAndFeatureList) {
    for (int t : {5, 7, 13, 29, 40, 47, 49, 53})
        EXPECT_TRUE(IsDrawingTool(t)) << t;
    for (int t : {3, 4, 30, 39, 48, 54, 1000})
        EXPECT_FALSE(IsDrawingTool(t)) << t;

    TMap map;
    TMapLayerInfo info;
    info.Name = "L";
    TMapLayer* l = map.AddLayer(info);
    const TFeatureKey a = l->AddFeature(TMapFeature::MakePoint({0, 0}, DefaultMapStyle()));
    const TFeatureKey b = l->AddFeature(TMapFeature::MakePoint({1, 0}, DefaultMapStyle()));
    TMapXFeaturesList list;
    list.Add({l, b});
    list.AddAll({{l, a}, {l, b}});
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(1).Key, a);
    EXPECT_EQ(list.Text(2), "");
    list.Text(2) = "x";
    EXPECT_EQ(list.Texts(), (QStringList{"", "", "x"}));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
