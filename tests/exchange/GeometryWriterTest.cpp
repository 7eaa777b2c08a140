#include "exchange/GeometryWriter.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A closed square ring (last vertex repeats the first, as map regions keep them), counter-clockwise.
TMapPoints Square(double x, double y, double size) {
    return {{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}, {x, y}};
}

TMapPoints Reversed(TMapPoints ring) {
    std::reverse(ring.begin(), ring.end());
    return ring;
}

TContourObject Object(std::vector<TMapPoints> parts, const QString& parent = QString()) {
    return TContourObject{parent, std::move(parts)};
}

struct TFixture {
    pugi::xml_document doc;
    pugi::xml_node pointInfo, polyline, externals;
    TFixture() {
        pugi::xml_node root = doc.append_child("Root");
        pointInfo = root.append_child("PointInfo");
        polyline = root.append_child("Polyline");
        externals = root.append_child("Externals");
    }
};

QString Text(pugi::xml_node node) {
    return QString::fromUtf8(node.text().get());
}

QString Xml(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return QString::fromStdString(out.str());
}

// "start>end" of every PL, by its points' X/Y texts.
QStringList LineEnds(const TGeometryWriter& writer) {
    QStringList ends;
    for (const TNamedPline& line : writer.Lines())
        ends << line.StartUIDP + QLatin1Char('>') + line.EndUIDP;
    return ends;
}

TEST(GeometryWriter, CoordinateTextsAreCutRoundedAndFourDecimal) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {5432101.123487, "5432101.1235"},  // cut to 5432101.12348, then rounded
        {5432101.1234499, "5432101.1234"}, // cut to 5432101.12344
        {2392995.38, "2392995.3800"},
        {0.0, "0.0000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CoordinateText(c.value), QString::fromUtf8(c.text)) << c.value;
}

TEST(GeometryWriter, SegmentLengthNeedsNumbersAndDistinctEnds) {
    EXPECT_EQ(SegmentLengthText("0.0000", "0.0000", "3.0000", "4.0000"), "5.00");
    EXPECT_EQ(SegmentLengthText("1.0000", "1.0000", "1.0000", "1.0000"), "0");
    EXPECT_EQ(SegmentLengthText("1.0000", "x", "2.0000", "2.0000"), "0");
    EXPECT_EQ(SegmentLengthText("0", "0", "0.005", "0"), "0.01") << "half away from zero";
}

TEST(GeometryWriter, PointsAreNumberedOnceAcrossLayersWithFileAxes) {
    TFixture f;
    TGeometryWriter writer(f.pointInfo, f.polyline, {});
    writer.AddLayerPoints({Object({Square(100, 200, 10)})});
    writer.AddLayerPoints({Object({Square(100, 200, 10)}), Object({Square(110, 200, 10)})});
    ASSERT_EQ(writer.Points().size(), 6u) << "the second layer repeats four points and adds two";
    pugi::xml_node first = f.pointInfo.first_child();
    EXPECT_EQ(Xml(first),
              "<Point><UIDP>1</UIDP><PN>1</PN><DeterminationMethod><Survey/></DeterminationMethod>"
              "<X>200.0000</X><Y>100.0000</Y></Point>")
        << "X is the northing (map y), Y the easting (map x)";
    EXPECT_EQ(Text(f.pointInfo.last_child().child("UIDP")), "6");
}

TEST(GeometryWriter, MxMyOptionAddsAccuracies) {
    TFixture f;
    TGeometryWriter writer(f.pointInfo, f.polyline, {false, true});
    writer.AddLayerPoints({Object({Square(0, 0, 1)})});
    pugi::xml_node p = f.pointInfo.first_child();
    EXPECT_EQ(Text(p.child("MX")), "0.05");
    EXPECT_EQ(Text(p.child("MY")), "0.05");
    EXPECT_STREQ(p.last_child().name(), "MY");
}

TEST(GeometryWriter, ClosedRingGivesOneLinePerSideAndNoZeroLengthLine) {
    TFixture f;
    TGeometryWriter writer(f.pointInfo, f.polyline, {});
    TMapPoints ring = Square(0, 0, 10);
    ring.insert(ring.begin() + 2, ring[1]); // a repeated vertex
    const TContourLayer layer{Object({ring})};
    writer.AddLayerPoints(layer);
    writer.AddLayerLines(layer);
    EXPECT_EQ(LineEnds(writer), (QStringList{"1>2", "2>3", "3>4", "4>1"}));
    for (pugi::xml_node pl : f.polyline.children("PL"))
        EXPECT_EQ(Text(pl.child("Length")), "10.00");
    EXPECT_EQ(Xml(f.polyline.first_child()), "<PL><ULID>1</ULID><Points><P>1</P><P>2</P></Points>"
                                             "<Length>10.00</Length></PL>");
}

TEST(GeometryWriter, SharedBordersAndSharedContours) {
    // Two neighbours share the side x = 10: the left square walks it upwards, the right one downwards.
    TFixture f;
    TGeometryWriter writer(f.pointInfo, f.polyline, {});
    const TContourLayer plot{Object({Square(0, 0, 10)})};
    const TContourLayer districts{Object({Square(0, 0, 10)}), Object({Square(10, 0, 10)})};
    for (const TContourLayer* l : {&plot, &districts})
        writer.AddLayerPoints(*l);
    for (const TContourLayer* l : {&plot, &districts})
        writer.AddLayerLines(*l);
    EXPECT_EQ(writer.Points().size(), 6u);
    // Plot and first district: the same four lines; the right district adds four more, one of them the
    // shared side in the opposite direction.
    EXPECT_EQ(LineEnds(writer), (QStringList{"1>2", "2>3", "3>4", "4>1", "2>5", "5>6", "6>3", "3>2"}));

    pugi::xml_node plotExternals = f.externals;
    ASSERT_EQ(writer.WriteContour(plotExternals, plot, 1), TContourResult::Written);
    pugi::xml_document other;
    pugi::xml_node districtExternals = other.append_child("Externals");
    ASSERT_EQ(writer.WriteContour(districtExternals, districts, 1), TContourResult::Written);
    EXPECT_EQ(Xml(plotExternals), Xml(districtExternals)) << "same contour, same direction: same PL elements";
}

TEST(GeometryWriter, ContourOuterPartsThenInternals) {
    // Part 1 with a hole (walked clockwise), then a second, separate outer part.
    TFixture f;
    TGeometryWriter writer(f.pointInfo, f.polyline, {});
    const TContourLayer layer{Object({Square(0, 0, 100), Reversed(Square(40, 40, 10)), Square(200, 0, 50)})};
    writer.AddLayerPoints(layer);
    writer.AddLayerLines(layer);
    ASSERT_EQ(writer.WriteContour(f.externals, layer, 1), TContourResult::Written);
    QStringList children;
    for (pugi::xml_node c : f.externals.children())
        children << QString::fromUtf8(c.name());
    EXPECT_EQ(children, (QStringList{"Boundary", "Boundary", "Internals"}));
    pugi::xml_node holes = f.externals.child("Internals");
    EXPECT_EQ(std::distance(holes.children("Boundary").begin(), holes.children("Boundary").end()), 1);
    pugi::xml_node second = f.externals.first_child().next_sibling();
    EXPECT_EQ(Text(second.child("Lines").first_child().child("ULID")), "9") << "the separate part's lines";
    for (pugi::xml_node b : f.externals.children("Boundary"))
        EXPECT_EQ(Text(b.child("Closed")), "true");
    EXPECT_STREQ(f.externals.first_child().first_child().name(), "Lines");
}

TEST(GeometryWriter, HoleOfALaterOuterPartStaysAHole) {
    TFixture f;
    TGeometryWriter writer(f.pointInfo, f.polyline, {});
    const TContourLayer layer{Object({Square(0, 0, 10), Square(200, 0, 50), Reversed(Square(210, 10, 5))})};
    writer.AddLayerPoints(layer);
    writer.AddLayerLines(layer);
    ASSERT_EQ(writer.WriteContour(f.externals, layer, 1), TContourResult::Written);
    EXPECT_TRUE(f.externals.child("Internals").child("Boundary"));
}

TEST(GeometryWriter, FpTpFollowTheOption) {
    for (const bool fptp : {false, true}) {
        TFixture f;
        TGeometryWriter writer(f.pointInfo, f.polyline, {fptp, false});
        const TContourLayer layer{Object({Square(0, 0, 10)})};
        writer.AddLayerPoints(layer);
        writer.AddLayerLines(layer);
        writer.WriteContour(f.externals, layer, 1);
        pugi::xml_node line = f.externals.child("Boundary").child("Lines").first_child();
        EXPECT_EQ(Xml(line),
                  fptp ? "<Line><ULID>1</ULID><FP>1</FP><TP>2</TP></Line>" : "<Line><ULID>1</ULID></Line>");
    }
}

TEST(GeometryWriter, ObjectsByParentAndMissingObjects) {
    // Agro group 2 of district 3 is the second object whose parent is "3".
    const TContourLayer agro{Object({Square(0, 0, 1)}, "3"), Object({Square(5, 0, 1)}, "1"),
                             Object({Square(10, 0, 1)}, "3"), Object({}, "3")};
    EXPECT_EQ(FindContourObject(agro, 2, "3"), &agro[2]);
    EXPECT_EQ(FindContourObject(agro, 2, QString()), &agro[1]);
    EXPECT_EQ(FindContourObject(agro, 4, "3"), nullptr);

    TFixture f;
    TGeometryWriter writer(f.pointInfo, f.polyline, {});
    writer.AddLayerPoints(agro);
    writer.AddLayerLines(agro);
    EXPECT_EQ(writer.WriteContour(f.externals, agro, 3, "3"), TContourResult::Empty) << "a placeholder";
    EXPECT_EQ(writer.WriteContour(f.externals, agro, 4, "3"), TContourResult::NoObject);
    EXPECT_FALSE(f.externals.first_child()) << "nothing written for either";
    EXPECT_EQ(writer.WriteContour(f.externals, agro, 2, "3"), TContourResult::Written);
    EXPECT_EQ(Text(f.externals.child("Boundary").child("Lines").first_child().child("ULID")), "9");
}

} // namespace
