#include "valuation/BatchValuation.h"

#include "exchange/ExchangePaths.h"
#include "exchange/GeometryFromMap.h"
#include "exchange/OpenExchangeFile.h"
#include "exchange/StructureTester.h"
#include "exchange/ValuationFileWriter.h"
#include "map/MapControl.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "map/MapTexts.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A program folder with the shipped reference files and template.
struct TProgramFolder {
    TTestProgramDir dir;
    TProgramFolder() {
        for (const char* name :
             {"IN4XMLSchema.xml", "IN4XMLSchema.xsd", "NGO.dat", "YEARS.dat", "YEARS_SH.dat"})
            EXPECT_TRUE(dir.CopyFromProgram(name)) << name;
        QDir().mkpath(dir.File("out"));
    }
};

struct TGeneratedCase {
    const char* file;
    QStringList args; // the options the file's data need
};

const TGeneratedCase kGenerated[] = {
    {"parcel-6-vertices", {"--population", "2400"}},
    {"parcel-with-hole-cp1251", {"--population", "800"}},
    {"three-neighbours", {"--population", "52000"}},
};

TNgoCommandLine Options(QStringList args, const QString& outDir) {
    args << "--zone-id"
         << "123456"
         << "--out-dir" << outDir << "x.xml";
    TNgoCommandLine options;
    EXPECT_EQ(ParseNgoCommandLine(args, &options), "");
    return options;
}

QString Xml(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return QString::fromStdString(out.str());
}

pugi::xml_node At(const ExchangeDocument& doc, const QString& path) {
    return FindNodeAtPath(doc.DocumentElement(), {}, SplitPath(path));
}

// "northing easting" texts of a ring, closing vertex dropped.
QSet<QString> VertexSet(const TMapPoints& ring) {
    QSet<QString> set;
    for (const TMapPoint& p : ring)
        set << QString::number(p.y, 'f', 2) + ' ' + QString::number(p.x, 'f', 2);
    return set;
}
QSet<QString> VertexSet(const QJsonArray& vertices) {
    QSet<QString> set;
    for (const QJsonValue& v : vertices)
        set << QString::number(v[0].toDouble(), 'f', 2) + ' ' + QString::number(v[1].toDouble(), 'f', 2);
    return set;
}

// The map objects of a valuation file, as the main window builds them.
void BuildMap(TMap& map, const QString& path) {
    ExchangeDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(path));
    PrepareMapForFile(map, path, 4);
    BuildMapObjectsFromExchangeFile(map, doc.Dom(),
                                    [](const QString& line) { ADD_FAILURE() << line.toStdString(); });
}

TEST(BatchValuation, GeneratedFilesAreValuedWrittenAndGiveBackTheirPolygons) {
    for (const TGeneratedCase& c : kGenerated) {
        SCOPED_TRACE(c.file);
        TProgramFolder folder;
        const QString source = TestDataPath(QStringLiteral("exchange/%1.xml").arg(c.file));
        TBatchValuation batch(Options(c.args, folder.dir.File("out")));
        const TPlotOutcome o = batch.ValueFile(source);
        ASSERT_EQ(o.Status, NgoValued) << o.Error.toStdString() << " " << o.Log.join("; ").toStdString();
        ASSERT_EQ(o.Written, folder.dir.File(QStringLiteral("out/%1 нго.xml").arg(c.file)));
        EXPECT_TRUE(o.Log.contains("Закінчено.")) << o.Log.join("; ").toStdString();
        EXPECT_TRUE(o.Calculation.contains("ОЦІНКА=")) << o.Calculation.toStdString();

        // The structure tester finds nothing in the valuation block (the service block lacks the receiver,
        // which a valuation file does not name).
        const TTesterResult tested = ValidateStructure(o.Written, folder.dir.File("IN4XMLSchema.xsd"));
        EXPECT_NE(tested.Status, TesterNotChecked) << tested.Lines.join("\n").toStdString();
        for (const QString& line : tested.Lines)
            EXPECT_TRUE(line.contains("ServiceInfo")) << line.toStdString();

        // The source's other blocks are carried over unchanged.
        ExchangeDocument out, src;
        ASSERT_TRUE(out.LoadFromFile(o.Written));
        ASSERT_TRUE(src.LoadFromFile(source));
        for (const char* path :
             {"InfoPart\\MetricInfo\\CoordinateSystem", "InfoPart\\MetricInfo\\HeightSystem",
              "InfoPart\\MetricInfo\\MeasurementUnit", "AdditionalPart\\InfoLandWork\\Executor\\CompanyName",
              "AdditionalPart\\InfoLandWork\\Executor\\Chief",
              "AdditionalPart\\InfoLandWork\\Executor\\Executor",
              "AdditionalPart\\InfoLandWork\\Executor\\Address"})
            EXPECT_EQ(Xml(At(out, path)), Xml(At(src, path))) << path;

        // The plot's contour gives back the source parcel: same vertices, holes and area.
        const QJsonObject manifest =
            QJsonDocument::fromJson(ReadBytes(TestDataPath(QStringLiteral("exchange/%1.json").arg(c.file))))
                .object();
        const QJsonObject parcel = manifest["parcels"].toArray().first().toObject();
        TMap map;
        BuildMap(map, o.Written);
        for (const QString& layerName :
             {kLayerOcDilanka, kLayerOcRaion, kLayerSelhRaion, kLayerAgroGroup, kLayerTerrZone}) {
            SCOPED_TRACE(layerName.toStdString());
            const TMapLayer* layer = map.FindLayer(layerName);
            ASSERT_TRUE(layer);
            ASSERT_EQ(layer->FeatureCount(), 1);
            const TMapFeature& plot = layer->Feature(layer->KeyAt(0));
            ASSERT_EQ(plot.Type, TFeatureType::Region);
            const QJsonArray holes = parcel["holes"].toArray();
            ASSERT_EQ(plot.PartCount(), 1 + holes.size());
            EXPECT_EQ(VertexSet(plot.Parts[0]), VertexSet(parcel["vertices"].toArray()));
            EXPECT_EQ(static_cast<int>(plot.Parts[0].size()), parcel["vertex_count"].toInt() + 1)
                << "closed once";
            for (int h = 0; h < holes.size(); ++h)
                EXPECT_EQ(VertexSet(plot.Parts[1 + h]), VertexSet(holes[h].toObject()["vertices"].toArray()));
            EXPECT_NEAR(plot.Area(), parcel["area_m2"].toDouble(), 0.01);
        }
        EXPECT_EQ(
            At(out, "InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation\\Externals\\Internals")
                .empty(),
            parcel["holes"].toArray().isEmpty());

        // "Зберегти як" after reopening writes the same file again.
        TOpenExchangeFile reopened;
        TOpenHooks hooks;
        TMap map2;
        hooks.BuildMapObjects = [&](ExchangeDocument& d) {
            PrepareMapForFile(map2, o.Written, 4);
            return BuildMapObjectsFromExchangeFile(map2, d.Dom(), {}).CoordinatesLoaded;
        };
        ASSERT_TRUE(OpenValuationFile(reopened, o.Written, NewWorkingCopyPath(o.Written), hooks));
        reopened.SaveAsFile = folder.dir.File("again.xml");
        const TSaveResult again = SaveValuationFileAs(reopened, GeometryFromMap(map2), {}, {});
        ASSERT_TRUE(again.Written) << again.Error.toStdString();
        EXPECT_EQ(ReadBytes(folder.dir.File("again.xml")), ReadBytes(o.Written));
        reopened.CloseWorkingFolder();
    }
}

TEST(BatchValuation, MissingDataAndChoicesAreReported) {
    TProgramFolder folder;
    const QString source = TestDataPath("exchange/parcel-with-hole-cp1251.xml");
    {
        // The council is not in POPUL.dat: Apply stops on the population.
        TBatchValuation batch(Options({}, folder.dir.File("out")));
        const TPlotOutcome o = batch.ValueFile(source);
        EXPECT_EQ(o.Status, NgoNeedsChoice);
        EXPECT_TRUE(o.Error.contains("Кількість нас.")) << o.Error.toStdString();
        EXPECT_TRUE(o.Written.isEmpty());
    }
    {
        TBatchValuation batch(
            Options({"--population", "800", "--district", "Невідомий район"}, folder.dir.File("out")));
        const TPlotOutcome o = batch.ValueFile(source);
        EXPECT_EQ(o.Status, NgoNeedsChoice);
        EXPECT_TRUE(o.Missing.contains("PSR")) << o.Missing.join(",").toStdString();
        const auto psr = std::find_if(o.Coefficients.begin(), o.Coefficients.end(),
                                      [](const TCoefficientOutcome& c) { return c.Name == "PSR"; });
        ASSERT_NE(psr, o.Coefficients.end());
        EXPECT_FALSE(psr->Chosen);
        EXPECT_FALSE(psr->Candidates.isEmpty());
        EXPECT_TRUE(o.Written.isEmpty());
        EXPECT_FALSE(QFile::exists(batch.OutputPathFor(source)));
        const QJsonObject json = QJsonDocument::fromJson(PlotOutcomeJson(o)).object();
        EXPECT_EQ(json["status"].toInt(), 1);
        EXPECT_TRUE(json["missing"].toArray().contains(QJsonValue("PSR")));
        EXPECT_FALSE(json["coefficients"]["PSR"]["chosen"].toBool());
        EXPECT_TRUE(
            PlotOutcomeText(o).contains("Не визначено PSR (порожньо), можливі рядки (--row PSR=РЯДОК):"));

        // A district that no row names: reported with the rows it could be, and nothing is written.
        // Choosing the row by hand values the plot.
        TBatchValuation chosen(Options({"--population", "800", "--district", "Невідомий район", "--row",
                                        "PSR=" + psr->Candidates.first().Row},
                                       folder.dir.File("out")));
        const TPlotOutcome o2 = chosen.ValueFile(source);
        EXPECT_FALSE(o2.Missing.contains("PSR")) << o2.Error.toStdString();
    }
}

TEST(BatchValuation, RowAndValueChoicesOverrideTheAutomaticOnes) {
    TProgramFolder folder;
    const QString source = TestDataPath("exchange/parcel-with-hole-cp1251.xml");
    TBatchValuation batch(
        Options({"--population", "800", "--row", "Kls=2", "--set", "Km4=1,2"}, folder.dir.File("out")));
    const TPlotOutcome o = batch.ValueFile(source);
    ASSERT_EQ(o.Status, NgoValued) << o.Error.toStdString();
    for (const TCoefficientOutcome& c : o.Coefficients) {
        if (c.Name == "Kls") EXPECT_EQ(c.Row, "2");
        if (c.Name == "Km4") EXPECT_EQ(c.Value, "1,2");
    }
    TBatchValuation bad(Options({"--population", "800", "--row", "Kls=99999"}, folder.dir.File("out")));
    const TPlotOutcome o2 = bad.ValueFile(source);
    EXPECT_EQ(o2.Status, NgoNeedsChoice);
    EXPECT_TRUE(o2.Error.startsWith("--row Kls=99999: у таблиці")) << o2.Error.toStdString();
}

TEST(BatchValuation, UnreadableFilesAreFileErrors) {
    TProgramFolder folder;
    WriteBytes(folder.dir.File("broken.xml"), "<UkrainianCadastralExchangeFile><");
    WriteBytes(folder.dir.File("empty.xml"), "<UkrainianCadastralExchangeFile/>");
    TBatchValuation batch(Options({"--population", "800"}, folder.dir.File("out")));
    const TPlotOutcome broken = batch.ValueFile(folder.dir.File("broken.xml"));
    EXPECT_EQ(broken.Status, NgoFileError);
    EXPECT_TRUE(broken.Error.startsWith("Помилка завантаження файлу: ")) << broken.Error.toStdString();
    const TPlotOutcome empty = batch.ValueFile(folder.dir.File("empty.xml"));
    EXPECT_EQ(empty.Status, NgoFileError);
    EXPECT_EQ(empty.Error, kImportNoExecutor);
    const TPlotOutcome missing = batch.ValueFile(folder.dir.File("nothing.xml"));
    EXPECT_EQ(missing.Status, NgoFileError);
}

} // namespace
