#include "map/MapObjectsFromExchange.h"
#include "common/CodePage.h"
#include "common/Messages.h"
#include "map/MapLayers.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A map prepared as for an opened file, with the geometry of `xml` built into it.
struct TBuilt {
    TMap map;
    QStringList log;
    TMapObjectsResult result;

    explicit TBuilt(const QByteArray& xml) {
        QTemporaryDir dir;
        WriteBytes(dir.path() + "/f.xml", "");
        PrepareMapForFile(map, dir.path() + "/f.xml", 2);
        pugi::xml_document doc;
        doc.load_buffer(xml.constData(), static_cast<size_t>(xml.size()), pugi::parse_default,
                        pugi::encoding_utf8);
        result = BuildMapObjectsFromExchangeFile(map, doc, [this](const QString& line) { log << line; });
    }
    TMapLayer& Layer(const QString& name) { return *map.FindLayer(name); }
    const TMapFeature& Feature(const QString& layer, int index) {
        return Layer(layer).Feature(Layer(layer).KeyAt(index));
    }
    QString Value(const QString& layer, int index, const char* field) {
        return Layer(layer).Dataset().Text(Layer(layer).KeyAt(index), field);
    }
};

// An exchange document: points "uidp:x:y" (x northing, y easting), lines "ulid:p1,p2,...",
// the inside of the plot element and of the territorial zone.
QByteArray Doc(const QStringList& points, const QStringList& lines, const QString& plot,
               const QString& zone = QString(), bool withPolyline = true) {
    QString s = "<UkrainianCadastralExchangeFile><InfoPart><MetricInfo><PointInfo>";
    for (const QString& p : points) {
        const QStringList f = p.split(':');
        s += QString("<Point><UIDP>%1</UIDP><PN>%1</PN><X>%2</X><Y>%3</Y></Point>").arg(f[0], f[1], f[2]);
    }
    s += "</PointInfo>";
    if (withPolyline) {
        s += "<Polyline>";
        for (const QString& l : lines) {
            const QStringList f = l.split(':');
            s += QString("<PL><ULID>%1</ULID><Points>").arg(f[0]);
            for (const QString& p : f[1].split(',', Qt::SkipEmptyParts))
                s += "<P>" + p + "</P>";
            s += "</Points></PL>";
        }
        s += "</Polyline>";
    }
    s += "</MetricInfo><TerritorialZoneInfo>" + zone + "<Objects><Lands><NormativValuation>" + plot +
         "</NormativValuation></Lands></Objects>"
         "</TerritorialZoneInfo></InfoPart></UkrainianCadastralExchangeFile>";
    return s.toUtf8();
}

// Externals with outer boundaries and holes, each a list of "ulid" or "ulid/fp".
QString Externals(const QList<QStringList>& outer, const QList<QStringList>& inner = {}) {
    auto boundary = [](const QStringList& lines) {
        QString s = "<Boundary><Lines>";
        for (const QString& l : lines) {
            const QStringList f = l.split('/');
            s += "<Line><ULID>" + f[0] + "</ULID>" + (f.size() > 1 ? "<FP>" + f[1] + "</FP>" : QString()) +
                 "</Line>";
        }
        return s + "</Lines><Closed>true</Closed></Boundary>";
    };
    QString s = "<Externals>";
    for (const auto& b : outer)
        s += boundary(b);
    if (!inner.isEmpty()) {
        s += "<Internals>";
        for (const auto& b : inner)
            s += boundary(b);
        s += "</Internals>";
    }
    return s + "</Externals>";
}

// Square 0-10 m: nodes 1 (0,0) 2 (0,10) 3 (10,10) 4 (10,0) as (northing, easting) offsets.
const QStringList kSquare = {"1:5500000:3300000", "2:5500010:3300000", "3:5500010:3300010",
                             "4:5500000:3300010"};

TEST(MapObjects, DirectionSharedJoinsAndClosing) {
    // Lines 1 (1-2), 2 (2-3), 3 (3-4-1): joining nodes appear once and the ring ends where
    // it began, so no further closing point is added.
    TBuilt b(Doc(kSquare, {"1:1,2", "2:2,3", "3:3,4,1"}, Externals({{"1", "2", "3"}})));
    EXPECT_TRUE(b.result.CoordinatesLoaded);
    EXPECT_TRUE(b.log.isEmpty()) << b.log.join('|').toStdString();
    const TMapFeature& f = b.Feature(kLayerOcDilanka, 0);
    ASSERT_EQ(f.Type, TFeatureType::Region);
    EXPECT_EQ(f.Parts[0], (TMapPoints{{3300000, 5500000},
                                      {3300000, 5500010},
                                      {3300010, 5500010},
                                      {3300010, 5500000},
                                      {3300000, 5500000}}));
    EXPECT_EQ(f.Style, XmlStyles().StyleOcDilanka);
    EXPECT_EQ(b.Value(kLayerOcDilanka, 0, "uid"), "1");

    // FP naming the last node walks the line backwards; without FP the stored direction.
    TBuilt r(Doc(kSquare, {"1:2,1", "2:2,3", "3:4,3", "4:4,1"}, Externals({{"1/1", "2", "3/3", "4/4"}})));
    EXPECT_EQ(r.Feature(kLayerOcDilanka, 0).Parts[0], (TMapPoints{{3300000, 5500000},
                                                                  {3300000, 5500010},
                                                                  {3300010, 5500010},
                                                                  {3300010, 5500000},
                                                                  {3300000, 5500000}}));

    // An open ring is closed by repeating its first point only when the ends differ in
    // the fourth decimal.
    TBuilt open(
        Doc({"1:5500000:3300000", "2:5500010:3300000", "3:5500010:3300010", "4:5500000.00004:3300000"},
            {"1:1,2,3,4"}, Externals({{"1"}})));
    EXPECT_EQ(open.Feature(kLayerOcDilanka, 0).Parts[0].size(), 4u);
    TBuilt open2(
        Doc({"1:5500000:3300000", "2:5500010:3300000", "3:5500010:3300010", "4:5500000.0001:3300000"},
            {"1:1,2,3,4"}, Externals({{"1"}})));
    ASSERT_EQ(open2.Feature(kLayerOcDilanka, 0).Parts[0].size(), 5u);
    EXPECT_EQ(open2.Feature(kLayerOcDilanka, 0).Parts[0].back(), TMapPoint(3300000, 5500000));

    // A ring ending in a repeated node loses the repeat and is closed; setting the nodes
    // again afterwards keeps the closing node.
    TBuilt repeat(Doc(kSquare, {"1:1,2,3,3"}, Externals({{"1"}})));
    EXPECT_EQ(repeat.Feature(kLayerOcDilanka, 0).Parts[0],
              (TMapPoints{{3300000, 5500000}, {3300000, 5500010}, {3300010, 5500010}, {3300000, 5500000}}));
}

TEST(MapObjects, AxisSwapAndDegenerateRings) {
    // X = 5500000.12, Y = 3300000.34 give a map node at x = 3300000.34, y = 5500000.12.
    TBuilt one(Doc({"1:5500000.12:3300000.34"}, {"1:1"}, Externals({{"1"}})));
    const TMapFeature& f = one.Feature(kLayerOcDilanka, 0);
    ASSERT_EQ(f.Type, TFeatureType::Region);
    // A single one-node line gives a region of three identical points.
    EXPECT_EQ(f.Parts[0], TMapPoints(3, TMapPoint(3300000.34, 5500000.12)));
    EXPECT_TRUE(one.log.isEmpty());

    // A UIDP matching two points adds both; a UIDP matching none adds nothing.
    TBuilt dup(Doc({"1:5500000:3300000", "2:5500010:3300000", "2:5500010:3300010", "3:5500000:3300010"},
                   {"1:1,2,9,3,1"}, Externals({{"1"}})));
    EXPECT_EQ(dup.Feature(kLayerOcDilanka, 0).Parts[0].size(), 5u);
}

TEST(MapObjects, IdentifiersOfEveryLayer) {
    const QString ring = Externals({{"1"}});
    const QString plot = ring + "<ValuationDistricts><Note/><ValuationDistrict>" + ring +
                         "</ValuationDistrict><ValuationDistrict>" + ring +
                         "</ValuationDistrict></ValuationDistricts>"
                         "<NaturalAgriculturalsDistrict>" +
                         ring + "<AgroGroups><AgroGroup>" + ring +
                         "</AgroGroup></AgroGroups></NaturalAgriculturalsDistrict>"
                         "<Other/><NaturalAgriculturalsDistrict>" +
                         ring + "<AgroGroups><AgroGroup>" + ring + "</AgroGroup><AgroGroup>" + ring +
                         "</AgroGroup></AgroGroups></NaturalAgriculturalsDistrict>";
    TBuilt b(Doc(kSquare, {"1:1,2,3,4,1"}, plot, ring));
    EXPECT_TRUE(b.log.isEmpty()) << b.log.join('|').toStdString();
    ASSERT_EQ(b.Layer(kLayerOcRaion).FeatureCount(), 2);
    // Districts are numbered by their position among all children of ValuationDistricts.
    EXPECT_EQ(b.Value(kLayerOcRaion, 0, "uid"), "2");
    EXPECT_EQ(b.Value(kLayerOcRaion, 1, "uid"), "3");
    ASSERT_EQ(b.Layer(kLayerSelhRaion).FeatureCount(), 2);
    EXPECT_EQ(b.Value(kLayerSelhRaion, 1, "uid"), "2");
    EXPECT_EQ(b.result.NaturalDistrictCount, 2);
    ASSERT_EQ(b.Layer(kLayerAgroGroup).FeatureCount(), 3);
    // Two agro groups of the second district: parent "2", uid "1" and "2".
    EXPECT_EQ(b.Value(kLayerAgroGroup, 0, "parent"), "1");
    EXPECT_EQ(b.Value(kLayerAgroGroup, 1, "parent"), "2");
    EXPECT_EQ(b.Value(kLayerAgroGroup, 1, "uid"), "1");
    EXPECT_EQ(b.Value(kLayerAgroGroup, 2, "parent"), "2");
    EXPECT_EQ(b.Value(kLayerAgroGroup, 2, "uid"), "2");
    EXPECT_EQ(FindMapObject(b.Layer(kLayerAgroGroup), 2, "2"), b.Layer(kLayerAgroGroup).KeyAt(2));
    ASSERT_EQ(b.Layer(kLayerTerrZone).FeatureCount(), 1);
    EXPECT_EQ(b.Value(kLayerTerrZone, 0, "uid"), "1");
    EXPECT_EQ(b.Feature(kLayerTerrZone, 0).Type, TFeatureType::Region);
    EXPECT_EQ(b.Feature(kLayerAgroGroup, 2).Style, XmlStyles().StyleOcAgroGroup);
}

TEST(MapObjects, HolesAndFurtherOuterRings) {
    // Outer square 0-10, hole 2-4 and a second outer square 20-30.
    const QStringList pts =
        kSquare + QStringList{"5:5500002:3300002",  "6:5500004:3300002", "7:5500004:3300004",
                              "8:5500002:3300004",  "9:5500020:3300020", "10:5500030:3300020",
                              "11:5500030:3300030", "12:5500020:3300030"};
    TBuilt b(Doc(pts, {"1:1,2,3,4,1", "2:5,8,7,6,5", "3:9,10,11,12"}, Externals({{"1"}, {"3"}}, {{"2"}})));
    EXPECT_TRUE(b.log.isEmpty()) << b.log.join('|').toStdString();
    const TMapFeature& f = b.Feature(kLayerOcDilanka, 0);
    ASSERT_EQ(f.PartCount(), 3);
    EXPECT_EQ(f.Parts[1].size(), 5u) << "a further outer ring is closed as well";
    EXPECT_EQ(f.Parts[2].front(), TMapPoint(3300002, 5500002));
    EXPECT_NEAR(f.Area(), 100 - 4 + 100, 1e-9);
}

TEST(MapObjects, FailuresAreLoggedExactly) {
    // A missing line, a line without nodes and a boundary without Lines.
    const QString plot =
        "<Externals><Boundary><Lines><Line><ULID>9</ULID></Line></Lines></Boundary>"
        "<Boundary><Lines><Line><ULID>2</ULID></Line></Lines></Boundary>"
        "<Internals><Boundary><Lines><Line><ULID>9</ULID></Line></Lines></Boundary></Internals>"
        "</Externals><ValuationDistricts><ValuationDistrict><Externals><Boundary><Closed/></Boundary>"
        "<Boundary><Lines><Line><ULID>1</ULID></Line></Lines></Boundary></Externals>"
        "</ValuationDistrict></ValuationDistricts>";
    TBuilt b(Doc(kSquare, {"1:1,2,3,4,1", "2:77"}, plot,
                 "<Externals><Boundary><Lines><Line><ULID>8</ULID></Line></Lines></Boundary></Externals>"));
    EXPECT_EQ(b.log,
              (QStringList{
                  "Неможливо створити межі (Блок Оц.ділянки) Не знайдено лінію ULID=9 у блоці Polyline",
                  "Неможливо створити межі (Блок Оц.ділянки) Лінія ULID=2 не має вузлів",
                  "Неможливо створити межі внутр. (Блок Оц.ділянки)Не знайдено лінію ULID=9 у блоці Polyline",
                  "Lines: Неможливо считування блоку",
                  "Неможливо створити межі (Блок Тер.зона) Не знайдено лінію ULID=8 у блоці Polyline",
              }));
    EXPECT_TRUE(b.result.CoordinatesLoaded);
    // A feature that never got a ring is still a feature with its attributes: a point at (0, 0).
    const TMapFeature& plotFeature = b.Feature(kLayerOcDilanka, 0);
    EXPECT_EQ(plotFeature.Type, TFeatureType::Point);
    EXPECT_EQ(plotFeature.Position(), TMapPoint(0, 0));
    EXPECT_EQ(b.Value(kLayerOcDilanka, 0, "uid"), "1");
    EXPECT_EQ(b.Feature(kLayerOcRaion, 0).Type, TFeatureType::Point)
        << "processing stopped at the broken boundary";
}

// A point or a line that cannot be read empties its table: the boundaries stay
// placeholders, and the geometry does not count as loaded (so it is never saved back).
TEST(MapObjects, UnreadablePointOrLineMeansNotLoaded) {
    const QString plot = Externals({{"1"}});
    QByteArray badPoint = Doc(kSquare, {"1:1,2,3,4,1"}, plot);
    badPoint.replace("<X>5500010</X><Y>3300010</Y>", "<X>5500010,5</X><Y>3300010</Y>");
    TBuilt p(badPoint);
    EXPECT_EQ(p.log, QStringList{"Неможливо считування блоку (Блок Координати): Точка № 3"});
    EXPECT_FALSE(p.result.CoordinatesLoaded);
    EXPECT_EQ(p.Feature(kLayerOcDilanka, 0).Type, TFeatureType::Point);

    // The same through an exchange document, as the opening hook reads it.
    ExchangeDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes(badPoint));
    TMap map;
    QTemporaryDir dir;
    PrepareMapForFile(map, dir.path() + "/none.xml", 2);
    EXPECT_FALSE(BuildMapObjectsFromExchangeFile(map, doc, {}).CoordinatesLoaded);
    ExchangeDocument good;
    ASSERT_TRUE(good.LoadFromBytes(Doc(kSquare, {"1:1,2,3,4,1"}, plot)));
    for (const QString& name : ClearableLayerNames())
        map.FindLayer(name)->DeleteAllFeatures();
    EXPECT_TRUE(BuildMapObjectsFromExchangeFile(map, good, {}).CoordinatesLoaded);

    QByteArray badLine = Doc(kSquare, {"1:1,2,3,4,1", "2:1,2"}, plot);
    badLine.replace("<PL><ULID>2</ULID>", "<PL>");
    badLine.replace("<Polyline>", "<Polyline><Comment/>");
    TBuilt l(badLine);
    EXPECT_EQ(l.log, QStringList{"Неможливо считування блоку (Блок Ліній): Лінія № 3"});
    EXPECT_FALSE(l.result.CoordinatesLoaded);
    EXPECT_EQ(l.Feature(kLayerOcDilanka, 0).Type, TFeatureType::Point);
}

TEST(MapObjects, MissingBlocks) {
    // Without Polyline: placeholders for the plot and the zone, no ring messages.
    TBuilt b(Doc(kSquare, {}, Externals({{"1"}}), Externals({{"1"}}), false));
    EXPECT_EQ(b.log, QStringList{"InfoPart\\MetricInfo\\Polyline: Неможливо считування блоку"});
    EXPECT_TRUE(b.result.CoordinatesLoaded);
    EXPECT_EQ(b.Feature(kLayerOcDilanka, 0).Type, TFeatureType::Point);
    EXPECT_EQ(b.Feature(kLayerTerrZone, 0).Type, TFeatureType::Point);

    // Without the plot element nothing at all, not even the zone.
    QByteArray noPlot = Doc(kSquare, {"1:1,2,3,4,1"}, Externals({{"1"}}), Externals({{"1"}}));
    noPlot.replace("NormativValuation", "Other");
    TBuilt n(noPlot);
    for (const QString& name : ThematicLayerNames())
        EXPECT_EQ(n.Layer(name).FeatureCount(), 0);
    EXPECT_TRUE(n.log.isEmpty());

    // The plot feature exists even without Externals; the zone only with its Externals.
    TBuilt bare(Doc(kSquare, {"1:1,2,3,4,1"}, QString()));
    EXPECT_EQ(bare.Layer(kLayerOcDilanka).FeatureCount(), 1);
    EXPECT_EQ(bare.Layer(kLayerTerrZone).FeatureCount(), 0);
}

// ---- the generated exchange files and their manifests

QJsonObject Manifest(const QString& name) {
    return QJsonDocument::fromJson(ReadBytes(TestDataPath("map/" + name + ".json"))).object();
}

// The land-management file turned into a valuation file the way a new valuation file
// gets its contours: the first parcel's contour for the plot, every parcel's contour for
// a valuation district of its own.
QByteArray AsValuationFile(const QString& name) {
    ExchangeDocument exchange;
    EXPECT_TRUE(exchange.LoadFromFile(TestDataPath("map/" + name + ".xml"))) << LastErrorText.toStdString();
    pugi::xml_document& doc = exchange.Dom();
    pugi::xml_node info = doc.document_element().child("InfoPart");
    std::vector<pugi::xml_node> contours;
    for (pugi::xpath_node n : doc.select_nodes("//ParcelInfo/ParcelMetricInfo/Externals"))
        contours.push_back(n.node());
    pugi::xml_node zone = info.child("TerritorialZoneInfo");
    if (!zone) zone = info.append_child("TerritorialZoneInfo");
    pugi::xml_node plot =
        zone.append_child("Objects").append_child("Lands").append_child("NormativValuation");
    plot.append_copy(contours.front());
    pugi::xml_node districts = plot.append_child("ValuationDistricts");
    for (const auto& c : contours)
        districts.append_child("ValuationDistrict").append_copy(c);
    return exchange.SaveToBytes(TXmlEncoding::Utf8);
}

TMapPoints ManifestRing(const QJsonArray& vertices) {
    TMapPoints ring;
    for (const QJsonValue& v : vertices)
        ring.push_back({v.toArray()[1].toDouble(), v.toArray()[0].toDouble()});
    return ring;
}

TEST(MapObjects, GeneratedFilesReproduceTheirManifests) {
    for (const QString name : {"parcel-6-vertices", "parcel-with-hole-cp1251", "three-neighbours"}) {
        SCOPED_TRACE(name.toStdString());
        TBuilt b(AsValuationFile(name));
        EXPECT_TRUE(b.result.CoordinatesLoaded);
        EXPECT_TRUE(b.log.isEmpty()) << b.log.join('|').toStdString();
        const QJsonArray parcels = Manifest(name)["parcels"].toArray();
        ASSERT_EQ(b.Layer(kLayerOcRaion).FeatureCount(), parcels.size());
        for (int i = 0; i < parcels.size(); ++i) {
            const QJsonObject p = parcels[i].toObject();
            SCOPED_TRACE(p["cadastral_number"].toString().toStdString());
            const TMapFeature& f = b.Feature(kLayerOcRaion, i);
            ASSERT_EQ(f.Type, TFeatureType::Region);
            const QJsonArray holes = p["holes"].toArray();
            ASSERT_EQ(f.PartCount(), 1 + holes.size());
            // Same vertices in boundary order; the stored ring repeats its first vertex.
            TMapPoints outer = f.Parts[0];
            ASSERT_EQ(outer.front(), outer.back());
            outer.pop_back();
            EXPECT_EQ(outer, ManifestRing(p["vertices"].toArray()));
            for (int h = 0; h < holes.size(); ++h) {
                TMapPoints hole = f.Parts[static_cast<size_t>(1 + h)];
                ASSERT_EQ(hole.front(), hole.back());
                hole.pop_back();
                EXPECT_EQ(hole, ManifestRing(holes[h].toObject()["vertices"].toArray()));
            }
            EXPECT_NEAR(f.Area(), p["area_m2"].toDouble(), 0.0001);
        }
        EXPECT_EQ(b.Feature(kLayerOcDilanka, 0).Parts, b.Feature(kLayerOcRaion, 0).Parts);
    }
}

} // namespace
