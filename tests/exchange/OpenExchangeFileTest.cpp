#include "exchange/OpenExchangeFile.h"
#include "app/GlobalVar.h"
#include "common/CodePage.h"
#include "common/Files.h"
#include "common/Messages.h"
#include "exchange/ExchangePaths.h"
#include "exchange/NodeLibrary.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

QString TemplateInProgram() {
    return QStringLiteral(ZEMLYAR_PROGRAM_DIR) + "/IN4XMLSchema.xml";
}

TEST(NodeLibraryBuild, EntriesInOrderFromTheTemplate) {
    ExchangeDocument templ;
    ASSERT_TRUE(templ.LoadFromFile(TemplateInProgram())) << LastErrorText.toStdString();
    TNodeLibrary lib;
    ASSERT_TRUE(BuildNodeLibrary(lib, templ));
    QStringList keys;
    for (const TNodeLibItem& item : lib.Items())
        keys << item.ParentName + "/" + item.ElementName;
    const QStringList expected = {
        "Executor/TaxNumber", "Executor/EDRPOU", "Executor/EDDRNumber",
        // the template has no AdditionalPart\TerritorialZoneInfo, so these come from InfoLandWork only
        "ContactInfo/Phone", "ContactInfo/Fax", "ContactInfo/Email", "CoordinateSystem/SC42",
        "CoordinateSystem/SC42_3", "CoordinateSystem/Local", "CoordinateSystem/USC2000",
        "CoordinateSystem/WGS84", "CoordinateSystem/SC63 \"X\"", "CoordinateSystem/SC63 \"C\"",
        "CoordinateSystem/SC63 \"P\"", "CoordinateSystem/SC63 \"T\"", "HeightSystem/EVRS",
        "HeightSystem/Baltic", "HeightSystem/Baltic77", "HeightSystem/Other", "MeasurementUnit/M",
        "MeasurementUnit/Km", "MeasurementUnit/Other", "DeterminationMethod/Survey",
        "DeterminationMethod/GPS", "DeterminationMethod/Digitization", "DeterminationMethod/Photogrammetry",
        "PointInfo/Point", "Polyline/PL", "Externals/Boundary", "ValuationDistricts/ValuationDistrict",
        "NormativValuation/NaturalAgriculturalsDistrict", "AgroGroups/AgroGroup",
        "TechDocumentation/DocumentList", "DeterminationMethod/ExhangeFileCoordinates",
        "DeterminationMethod/ExhangeFileCoordinates", "DeterminationMethod/ExhangeFileCoordinates",
        "DeterminationMethod/ExhangeFileCoordinates"};
    EXPECT_EQ(keys, expected);

    // Each zone variant is its own SC63; the point fragment carries Survey only.
    for (const char* zone : {"X", "C", "P", "T"}) {
        const pugi::xml_node sc = lib.Find("CoordinateSystem", QStringLiteral("SC63 \"%1\"").arg(zone));
        ASSERT_TRUE(sc) << zone;
        EXPECT_STREQ(sc.name(), "SC63");
        EXPECT_STREQ(sc.first_child().name(), zone);
    }
    const pugi::xml_node point = lib.Find("PointInfo", "Point");
    QStringList methods;
    for (pugi::xml_node m : point.child("DeterminationMethod").children())
        methods << ElementName(m);
    EXPECT_EQ(methods, QStringList({"Survey"}));
    const pugi::xml_node templMethods = FindNodeAtPath(
        templ.DocumentElement(), {}, SplitPath(R"(InfoPart\MetricInfo\PointInfo\Point\DeterminationMethod)"));
    EXPECT_EQ(CountChildrenNamed(templMethods, "gps") + CountChildrenNamed(templMethods, "Survey"), 2)
        << "the template itself keeps every variant";
    EXPECT_FALSE(lib.Find("Executor", "Phone"));
    EXPECT_FALSE(lib.Find("executor", "TaxNumber")); // exact names
}

TEST(NodeLibraryBuild, AbsentPathsAreSkippedAndCopiesAreDeep) {
    ExchangeDocument templ;
    ASSERT_TRUE(templ.LoadFromBytes(R"(<UkrainianCadastralExchangeFile><InfoPart><MetricInfo><Polyline>
        <PL><ULID>7</ULID></PL></Polyline></MetricInfo></InfoPart></UkrainianCadastralExchangeFile>)"));
    TNodeLibrary lib;
    ASSERT_TRUE(BuildNodeLibrary(lib, templ));
    ASSERT_EQ(lib.Items().size(), 1u);
    templ.Clear(); // the copy outlives its source
    EXPECT_EQ(ReadValuesAtPath(lib.Find("Polyline", "PL"), {}, {}, {"ULID"}, "", false), "7");

    lib.Add("A", "B", pugi::xml_node());
    lib.Add("A", "B", lib.Find("Polyline", "PL"));
    EXPECT_FALSE(lib.Find("A", "B")); // the first match wins, even an empty one

    ExchangeDocument other;
    ASSERT_TRUE(other.LoadFromBytes("<Other/>"));
    EXPECT_FALSE(BuildNodeLibrary(lib, other));
    EXPECT_FALSE(LastErrorText.isEmpty());
    EXPECT_FALSE(BuildNodeLibrary(lib, ExchangeDocument()));
}

class OpenValuation : public ::testing::Test {
protected:
    void SetUp() override {
        NodeLibrary().Clear();
        ASSERT_TRUE(program.CopyFromProgram("IN4XMLSchema.xml"));
        hooks.LogLine = [this](const QString& t) { log << t; };
        hooks.BuildMapObjects = [this](ExchangeDocument& d) {
            ++built;
            points = CountChildrenNamed(
                FindNodeAtPath(d.DocumentElement(), {}, {"InfoPart", "MetricInfo", "PointInfo"}), "Point");
            if (throwOnBuild) throw std::runtime_error("зламана геометрія");
            return coordinatesRead;
        };
        hooks.RebuildNavigator = [this](ExchangeDocument& d) {
            navigatorRoot = ElementName(d.DocumentElement());
        };
    }
    void TearDown() override { NodeLibrary().Clear(); }
    QStringList TempEntries() const {
        return QDir(GlobalVar().Settings.TempDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    TTestProgramDir program;
    TOpenExchangeFile file;
    TOpenHooks hooks;
    QStringList log;
    int built = 0;
    int points = -1;
    bool throwOnBuild = false;
    bool coordinatesRead = true;
    QString navigatorRoot;
};

TEST_F(OpenValuation, EveryRealAndGeneratedFileOpens) {
    const char* names[] = {"land-management-lease-sublease.xml",
                           "land-management-placeholders-points.xml",
                           "land-management-placeholders.xml",
                           "land-management-urban-4624280900.xml",
                           "parcel-6-vertices.xml",
                           "parcel-with-hole-cp1251.xml",
                           "three-neighbours.xml"};
    for (const char* name : names) {
        const QString source = TestDataPath(QStringLiteral("exchange/") + name);
        file.CloseWorkingFolder();
        const QString wc = NewWorkingCopyPath(source);
        ASSERT_FALSE(wc.isEmpty());
        EXPECT_TRUE(wc.startsWith(GlobalVar().Settings.TempDir + "/"));
        EXPECT_EQ(QFileInfo(wc).fileName(), FileNameOnly(name) + ".xml");
        log.clear();
        ASSERT_TRUE(OpenValuationFile(file, source, wc, hooks))
            << name << ": " << log.join('|').toStdString();
        EXPECT_TRUE(log.isEmpty()) << name;
        EXPECT_EQ(file.WorkingCopy, wc);
        EXPECT_TRUE(file.CoordinatesLoaded);
        EXPECT_EQ(ReadBytes(wc), ReadBytes(source)) << name;
        EXPECT_EQ(navigatorRoot, "UkrainianCadastralExchangeFile");
        EXPECT_EQ(points, ReadBytes(source).count("<Point>")) << name;
        EXPECT_FALSE(file.Document().IsActive()) << "emptied after opening";
        EXPECT_TRUE(file.XMLDocument_TEMPL.IsActive());
        EXPECT_EQ(TempEntries().size(), 1) << "only the current working folder";
    }
    EXPECT_FALSE(NodeLibrary().IsEmpty());
    file.CloseWorkingFolder();
    EXPECT_TRUE(TempEntries().isEmpty());
    EXPECT_TRUE(file.WorkingCopy.isEmpty());
}

TEST_F(OpenValuation, GeometryFailureStillOpens) {
    throwOnBuild = true;
    const QString wc = NewWorkingCopyPath("Ділянка.XML");
    EXPECT_TRUE(wc.endsWith("/ділянка.xml"));
    ASSERT_TRUE(OpenValuationFile(file, TestDataPath("exchange/parcel-6-vertices.xml"), wc, hooks));
    EXPECT_EQ(log, QStringList({"Помилка парсингу файлу: зламана геометрія"}));
    EXPECT_FALSE(file.CoordinatesLoaded);
    EXPECT_EQ(file.WorkingCopy, wc);
    EXPECT_EQ(navigatorRoot, "UkrainianCadastralExchangeFile");
}

TEST_F(OpenValuation, UnreadableCoordinatesStillOpen) {
    coordinatesRead = false;
    const QString wc = NewWorkingCopyPath("x.xml");
    ASSERT_TRUE(OpenValuationFile(file, TestDataPath("exchange/parcel-6-vertices.xml"), wc, hooks));
    EXPECT_TRUE(log.isEmpty());
    EXPECT_FALSE(file.CoordinatesLoaded);
    EXPECT_EQ(file.WorkingCopy, wc);
}

TEST_F(OpenValuation, FailuresLogTheirTextAndLeaveNoWorkingFolder) {
    const QString good = TestDataPath("exchange/parcel-6-vertices.xml");
    const QString lying = program.File("lying.xml");
    WriteBytes(lying, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UkrainianCadastralExchangeFile>" +
                          ToCp1251("Київ") + "</UkrainianCadastralExchangeFile>\n");
    const QString badTemplate = program.File("bad-template.xml");
    WriteBytes(badTemplate, "<NotAnExchangeFile/>");

    struct Case {
        const char* name;
        std::function<void()> arrange;
        QString source;
        QString expected;
    };
    const Case cases[] = {
        {"template missing", [&] { QFile::remove(TemplateFile()); }, good,
         "Помилка завантаження файлу: Файл \"" + TemplateFile() + "\" не знайдено."},
        {"catalogue",
         [&] {
             QFile::remove(TemplateFile());
             QFile::copy(badTemplate, TemplateFile());
         },
         good,
         "Помилка завантаження бібліотек XSD схеми: Шаблон не є обмінним файлом: кореневий елемент "
         "\"NotAnExchangeFile\"."},
        {"source missing", [&] {}, program.File("немає.xml"),
         "Помилка завантаження файлу: Не вдалось скопіювати файл \"" + program.File("немає.xml") + "\""},
        {"lying declaration", [&] {}, lying,
         "Помилка завантаження файлу: Вміст файлу не відповідає кодуванню UTF-8, вказаному в заголовку XML "
         "(рядок 2)."},
    };
    for (const Case& c : cases) {
        NodeLibrary().Clear();
        ASSERT_TRUE(program.CopyFromProgram("IN4XMLSchema.xml"));
        c.arrange();
        log.clear();
        const QString wc = NewWorkingCopyPath(c.source);
        file.WorkingCopy = wc;
        file.CoordinatesLoaded = true;
        EXPECT_FALSE(OpenValuationFile(file, c.source, wc, hooks)) << c.name;
        EXPECT_EQ(log, QStringList({c.expected})) << c.name;
        EXPECT_TRUE(file.WorkingCopy.isEmpty()) << c.name;
        EXPECT_FALSE(file.CoordinatesLoaded) << c.name;
        EXPECT_TRUE(TempEntries().isEmpty()) << c.name << ": the new working folder is gone";
        EXPECT_FALSE(file.Document().IsActive()) << c.name;
    }
    EXPECT_EQ(built, 0);
}

TEST_F(OpenValuation, PrepareWorkingCopyReplacesTheOldFolder) {
    const QString first = PrepareWorkingCopy(file, "/a/Перша.XML");
    ASSERT_FALSE(first.isEmpty());
    EXPECT_TRUE(first.endsWith("/перша.xml"));
    EXPECT_EQ(file.WorkingCopy, first);
    EXPECT_EQ(file.NamesFile, GlobalVar().Settings.ProgramDir + "/IN4XMLSchema.names");
    ASSERT_TRUE(OpenValuationFile(file, TestDataPath("exchange/parcel-6-vertices.xml"), first, hooks));
    ASSERT_TRUE(file.XMLDocument_XML.LoadFromFile(first));

    const QString second = PrepareWorkingCopy(file, "/b/друга.xml");
    EXPECT_NE(QFileInfo(second).absolutePath(), QFileInfo(first).absolutePath());
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(first).absolutePath())) << "the old working folder is deleted";
    EXPECT_TRUE(QFileInfo(QFileInfo(second).absolutePath()).isDir());
    EXPECT_FALSE(file.CoordinatesLoaded);
    EXPECT_FALSE(file.XMLDocument_XML.IsActive());
    EXPECT_FALSE(file.XMLDocument_TEMPL.IsActive());
    EXPECT_EQ(TempEntries().size(), 1);

    // A later refusal (the map view, say) takes the new folder away again.
    file.CloseWorkingFolder();
    EXPECT_TRUE(TempEntries().isEmpty());
}

TEST(OpenPrecheck, NormativValuationTag) {
    EXPECT_TRUE(HasNormativValuationTag(TemplateInProgram()));
    EXPECT_FALSE(HasNormativValuationTag(TestDataPath("exchange/parcel-6-vertices.xml")));
    EXPECT_FALSE(HasNormativValuationTag("/no/such/file.xml"));
}

} // namespace
