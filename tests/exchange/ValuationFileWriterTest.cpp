#include "exchange/ValuationFileWriter.h"

#include "app/GlobalVar.h"
#include "common/Messages.h"
#include "common/RecordingSink.h"
#include "exchange/ExchangePaths.h"
#include "exchange/WriterTexts.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace {

const QString kNv = QStringLiteral("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation");

TValuationHandOver SampleHandOver() {
    TValuationHandOver h;
    h.EFileTerrCode = "021";
    h.EFileTerrID = "123456";
    h.EFileObl = "Київська область";
    h.EFileKoatuu = "3224980400";
    h.EFileRaion = "Фастівський район";
    h.EFileRada = "Борівська сільська рада, с. Борова";
    h.EFileSq = "0.1079";
    h.EFileYear = "2026";
    h.EFilePopul = "1500";
    h.EFileNrd = "1125";
    h.EFileKm1 = "1.2";
    h.EFileKm2 = "1.0";
    h.EFileKm3 = "1.05";
    h.EFileKmc1 = "1.1";
    h.EFileKmcI = "1.0";
    h.EFileKmcH = "1.0";
    h.EFileKmcN = "1.0";
    h.EFileKls = "1.0";
    h.EFileRaNo = "1";
    h.EFileRaKm4 = "1,0";
    h.EFileRaKlk = "1,5";
    h.EFileApproveBy = "Борівська сільська рада";
    h.EFileApproveDt = "20.05.2025";
    h.EFileApproveNo = "838-55-VIII";
    h.EPSRNdx = "2";
    h.PsrRow = {"", "Київська", "27", "Лісостеп", "1,1", "1,2", "0,9", "0,8", "1,0", "45", "-", "30", "-"};
    h.AgroRows = {{"1", "53г", "0,1079", "40", "-", "38", "-"}};
    return h;
}

QString Text(pugi::xml_node root, const QString& path) {
    pugi::xml_node n = FindNodeAtPath(root, {}, SplitPath(path));
    return n ? ElementText(n) : QStringLiteral("<missing>");
}

bool Has(pugi::xml_node root, const QString& path) {
    return FindNodeAtPath(root, {}, SplitPath(path));
}

QString Xml(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return QString::fromStdString(out.str());
}

struct TWriterFixture {
    TTestProgramDir dir;
    TRecordingSink sink;
    TOpenExchangeFile file;
    QStringList log;
    int mapBuilds = 0, navigatorBuilds = 0;
    TCreateHooks hooks;
    QString source = TestDataPath("exchange/parcel-6-vertices.xml");

    TWriterFixture() {
        EXPECT_TRUE(dir.CopyFromProgram("IN4XMLSchema.xml"));
        hooks.LogLine = [this](const QString& line) { log << line; };
        hooks.BuildMapObjects = [this](ExchangeDocument&) {
            ++mapBuilds;
            return true;
        };
        hooks.RebuildNavigator = [this](ExchangeDocument&) { ++navigatorBuilds; };
    }
    QString NewWorkingCopy() { return NewWorkingCopyPath(source); }
    bool Create(const TValuationHandOver& h, const QString& workingCopy) {
        return CreateValuationFile(file, source, workingCopy, h, hooks);
    }
};

TEST(CreateValuationFile, FillsTheTemplateFromTheSourceAndTheHandOver) {
    TWriterFixture f;
    const QString wc = f.NewWorkingCopy();
    ASSERT_TRUE(f.Create(SampleHandOver(), wc)) << f.log.join("\n").toStdString();
    EXPECT_EQ(f.file.WorkingCopy, wc);
    EXPECT_TRUE(f.file.CoordinatesLoaded);
    EXPECT_EQ(f.mapBuilds, 1);
    EXPECT_EQ(f.navigatorBuilds, 1);
    EXPECT_FALSE(f.file.XMLDocument_XML.IsActive()) << "the source is emptied";
    EXPECT_TRUE(f.file.XMLDocument_TEMPL.IsActive()) << "the template is loaded again";

    ExchangeDocument out, src;
    ASSERT_TRUE(out.LoadFromFile(wc));
    ASSERT_TRUE(src.LoadFromFile(f.source));
    const pugi::xml_node r = out.DocumentElement(), s = src.DocumentElement();

    // Service block.
    EXPECT_EQ(Text(r, "AdditionalPart\\ServiceInfo\\FileID\\FileDate"),
              QDate::currentDate().toString("yyyy-MM-dd"));
    EXPECT_EQ(Text(r, "AdditionalPart\\ServiceInfo\\FileID\\FileGUID").size(), 36);
    EXPECT_NE(Text(r, "AdditionalPart\\ServiceInfo\\FileID\\FileGUID"),
              "00000000-0000-0000-0000-000000000000");
    EXPECT_EQ(Text(r, "AdditionalPart\\ServiceInfo\\FormatVersion"), "0.12");
    EXPECT_EQ(Text(r, "AdditionalPart\\ServiceInfo\\Software"), GlobalVar().AppName);
    EXPECT_FALSE(Has(r, "AdditionalPart\\ServiceInfo\\ReceiverName"));
    EXPECT_FALSE(Has(r, "AdditionalPart\\ServiceInfo\\ReceiverIdentifier"));

    // The organisation and the metric block as in the source (without the licence).
    EXPECT_EQ(Text(r, "AdditionalPart\\InfoLandWork\\Executor\\CompanyName"),
              "ТОВ «Умовне землевпорядне бюро»");
    EXPECT_FALSE(Has(r, "AdditionalPart\\InfoLandWork\\Executor\\License"));
    EXPECT_FALSE(Has(r, "AdditionalPart\\InfoLandWork\\Executor\\TaxNumber")) << "all children replaced";
    EXPECT_EQ(Xml(FindNodeAtPath(r, {}, SplitPath("InfoPart\\MetricInfo"))),
              Xml(FindNodeAtPath(s, {}, SplitPath("InfoPart\\MetricInfo"))));

    // Documentation: DraftingDate into DateDrafted, the lists with the second and later reversed.
    const QString doc = "InfoPart\\TerritorialZoneInfo\\TechDocumentation";
    EXPECT_EQ(Text(r, doc + "\\DocumentationType"), "006");
    EXPECT_EQ(Text(r, doc + "\\DateDrafted"), "2025-05-20");
    EXPECT_FALSE(Has(r, doc + "\\BookNumber"));
    EXPECT_FALSE(Has(r, doc + "\\DateSigned"));
    QStringList lists;
    for (pugi::xml_node n : FindNodeAtPath(r, {}, SplitPath(doc)).children("DocumentList"))
        lists << ElementText(n);
    EXPECT_EQ(lists, (QStringList{"001", "042", "041", "040", "036", "022", "021", "014", "013", "008", "007",
                                  "002"}));

    // Approval and zone.
    EXPECT_EQ(Text(r, "InfoPart\\TerritorialZoneInfo\\DocumentationApproval\\ApprovalDate"), "2025-05-20");
    EXPECT_EQ(Text(r, "InfoPart\\TerritorialZoneInfo\\DocumentationApproval\\ApprovedBy"),
              "Борівська сільська рада");
    EXPECT_EQ(Text(r, "InfoPart\\TerritorialZoneInfo\\TerritorialZoneNumber\\TerritorialZoneID"), "123456");
    EXPECT_FALSE(Has(r, "InfoPart\\TerritorialZoneInfo\\TerritorialZoneNumber\\TerritorialZoneShortNumber"));
    EXPECT_FALSE(Has(r, "InfoPart\\TerritorialZoneInfo\\TerritorialZoneName"));

    // The valuation block.
    EXPECT_EQ(Text(r, kNv + "\\DescriptionOfTerritory\\Rada"), "Борівська сільська рада, с. Борова");
    EXPECT_EQ(Text(r, kNv + "\\Nrd"), "1125");
    EXPECT_EQ(Text(r, kNv + "\\KmcIndustry"), "1.0");
    EXPECT_EQ(Text(r, kNv + "\\AreaTerritory\\Size"), "0.1079");
    EXPECT_EQ(Text(r, kNv + "\\ValuationDistricts\\ValuationDistrict\\Klk"), "1.5");
    EXPECT_EQ(Text(r, kNv + "\\ValuationDistricts\\ValuationDistrict\\DistrictArea\\Size"), "0.1079");
    const QString nad = kNv + "\\NaturalAgriculturalsDistrict";
    EXPECT_EQ(Text(r, nad + "\\AgrDistrictNumber"), "27");
    EXPECT_EQ(Text(r, nad + "\\AgrDistrictName"), "Лісостеп");
    EXPECT_EQ(Text(r, nad + "\\Kpsgr\\Arable"), "1.1");
    EXPECT_EQ(Text(r, nad + "\\Kpsgr\\Nsg"), "1.0");
    EXPECT_EQ(Text(r, nad + "\\Bpsgr\\PerennialPlants"), "0");
    EXPECT_EQ(Text(r, nad + "\\AgroGroups\\AgroGroup\\CodeAgroGroup"), "53г");
    EXPECT_EQ(Text(r, nad + "\\AgroGroups\\AgroGroup\\AgroGroupArea\\Size"), "0.1079");
    EXPECT_EQ(Text(r, nad + "\\AgroGroups\\AgroGroup\\Bagr\\Pasture"), "0");

    // Every object starts with the parcel's contour.
    const QString parcel = Xml(FindNodeAtPath(
        s, {},
        SplitPath(
            "InfoPart\\CadastralZoneInfo\\CadastralQuarters\\CadastralQuarterInfo\\Parcels\\ParcelInfo\\"
            "ParcelMetricInfo\\Externals")));
    for (const QString& path : {QString("InfoPart\\TerritorialZoneInfo\\Externals"), kNv + "\\Externals",
                                kNv + "\\ValuationDistricts\\ValuationDistrict\\Externals",
                                nad + "\\Externals", nad + "\\AgroGroups\\AgroGroup\\Externals"})
        EXPECT_EQ(Xml(FindNodeAtPath(r, {}, SplitPath(path))), parcel) << path.toStdString();

    // The documentation's executor and chief come from the organisation.
    EXPECT_EQ(Text(r, "InfoPart\\TerritorialZoneInfo\\Executor\\ExecutorName\\LastName"), "Гончаренко");
    EXPECT_EQ(Text(r, "InfoPart\\TerritorialZoneInfo\\Chief\\ChiefName\\LastName"), "Дяченко");
    EXPECT_TRUE(f.log.isEmpty()) << f.log.join("\n").toStdString();
}

TEST(CreateValuationFile, CheckBoxesOffRemoveApprovalAndZoneContour) {
    TWriterFixture f;
    TValuationHandOver h = SampleHandOver();
    h.CBBlockCreateApprove = false;
    h.CBBlockCreateTerrZona = false;
    const QString wc = f.NewWorkingCopy();
    ASSERT_TRUE(f.Create(h, wc));
    ExchangeDocument out;
    ASSERT_TRUE(out.LoadFromFile(wc));
    EXPECT_FALSE(Has(out.DocumentElement(), "InfoPart\\TerritorialZoneInfo\\DocumentationApproval"));
    EXPECT_FALSE(Has(out.DocumentElement(), "InfoPart\\TerritorialZoneInfo\\Externals"));
    EXPECT_TRUE(Has(out.DocumentElement(), kNv + "\\Externals\\Boundary"));
}

TEST(CreateValuationFile, OrganisationFromTheReferenceTable) {
    TWriterFixture f;
    TValuationHandOver h = SampleHandOver();
    h.RBOrganFromDB = true;
    h.EDefLicenziat = "Бюро";
    QString asked;
    f.hooks.FindOrganisation = [&asked](const QString& name, TOrganisationRow* row) {
        asked = name;
        row->insert("повна_назва", "ТОВ \"Бюро\"");
        row->insert("едрпо", "12345678");
        row->insert("відповідальна_прізвище", "Коваль");
        row->insert("виконавець_сертиф_номер", "777");
        row->insert("телефон1", "0441234567");
        row->insert("адреса_область", "Київська область");
        return true;
    };
    const QString wc = f.NewWorkingCopy();
    ASSERT_TRUE(f.Create(h, wc));
    EXPECT_EQ(asked, "Бюро");
    ExchangeDocument out;
    ASSERT_TRUE(out.LoadFromFile(wc));
    const pugi::xml_node r = out.DocumentElement();
    const QString ex = "AdditionalPart\\InfoLandWork\\Executor";
    EXPECT_EQ(Text(r, ex + "\\CompanyName"), "ТОВ \"Бюро\"");
    EXPECT_EQ(Text(r, ex + "\\EDRPOU"), "12345678");
    EXPECT_FALSE(Has(r, ex + "\\TaxNumber")) << "a company code removes the tax number";
    EXPECT_FALSE(Has(r, ex + "\\Chief\\Qualification")) << "no certificate of the responsible person";
    EXPECT_EQ(Text(r, ex + "\\Executor\\Qualification\\QualificationNumber"), "777");
    EXPECT_FALSE(Has(r, ex + "\\Executor\\ContactInfo\\Fax"));
    EXPECT_FALSE(Has(r, ex + "\\Executor\\ContactInfo\\Email"));
    EXPECT_FALSE(Has(r, ex + "\\Address\\Block"));
    EXPECT_EQ(Text(r, "InfoPart\\TerritorialZoneInfo\\Chief\\ChiefName\\LastName"), "Коваль");
}

TEST(CreateValuationFile, FailuresAreLoggedAndLeaveThePreviousDocument) {
    struct TCase {
        const char* name;
        std::function<void(TWriterFixture&, TValuationHandOver&, QString&)> setUp;
        QString logStart;
    };
    const TCase cases[] = {
        {"unreadable source",
         [](TWriterFixture& f, TValuationHandOver&, QString&) { f.source = f.dir.File("missing.xml"); },
         kMsgLoadFile},
        {"missing template",
         [](TWriterFixture& f, TValuationHandOver&, QString&) {
             QFile::remove(f.dir.File("IN4XMLSchema.xml"));
         },
         kMsgLoadFile},
        {"organisation not found",
         [](TWriterFixture& f, TValuationHandOver& h, QString&) {
             h.RBOrganFromDB = true;
             f.hooks.FindOrganisation = [](const QString&, TOrganisationRow*) {
                 LastErrorText = "Відсутні записи.";
                 return false;
             };
         },
         "Відсутні записи."},
        {"working copy cannot be written",
         [](TWriterFixture& f, TValuationHandOver&, QString& wc) { wc = f.dir.File("no-such-folder/x.xml"); },
         kMsgSaveWorkingCopy + "\""},
    };
    for (const TCase& c : cases) {
        TWriterFixture f;
        f.file.WorkingCopy = "previous.xml";
        TValuationHandOver h = SampleHandOver();
        QString wc = f.NewWorkingCopy();
        c.setUp(f, h, wc);
        EXPECT_FALSE(f.Create(h, wc)) << c.name;
        ASSERT_FALSE(f.log.isEmpty()) << c.name;
        EXPECT_TRUE(f.log.first().startsWith(c.logStart)) << c.name << ": " << f.log.first().toStdString();
        EXPECT_EQ(f.file.WorkingCopy, "previous.xml") << c.name;
        EXPECT_EQ(f.mapBuilds, 0) << c.name << ": the map keeps the previous document";
        EXPECT_EQ(f.navigatorBuilds, 0) << c.name;
    }
}

TEST(CreateValuationFile, NoDistrictRowLeavesItsValuesEmpty) {
    for (const char* ndx : {"", "99", "x"}) {
        TWriterFixture f;
        TValuationHandOver h = SampleHandOver();
        h.EPSRNdx = ndx;
        h.PsrRow.clear();
        const QString wc = f.NewWorkingCopy();
        ASSERT_TRUE(f.Create(h, wc)) << ndx;
        ASSERT_EQ(f.log.size(), 1) << ndx;
        ExchangeDocument out;
        ASSERT_TRUE(out.LoadFromFile(wc));
        const QString nad = kNv + "\\NaturalAgriculturalsDistrict";
        EXPECT_EQ(Text(out.DocumentElement(), nad + "\\AgrDistrictNumber"), "") << ndx;
        EXPECT_EQ(Text(out.DocumentElement(), nad + "\\Kpsgr\\Arable"), "") << ndx;
        EXPECT_EQ(Text(out.DocumentElement(), nad + "\\AreaAgrDistrict\\Size"), "0.1079") << ndx;
    }
}

TEST(CreateValuationFile, UnreadableGeometryStillCreatesTheFile) {
    TWriterFixture f;
    f.hooks.BuildMapObjects = [](ExchangeDocument&) -> bool { throw std::runtime_error("точка 3"); };
    ASSERT_TRUE(f.Create(SampleHandOver(), f.NewWorkingCopy()));
    EXPECT_FALSE(f.file.CoordinatesLoaded);
    EXPECT_EQ(f.log, QStringList{kMsgParseFile + "точка 3"});

    f.log.clear();
    f.hooks.BuildMapObjects = [](ExchangeDocument&) { return false; };
    ASSERT_TRUE(f.Create(SampleHandOver(), f.NewWorkingCopy()));
    EXPECT_FALSE(f.file.CoordinatesLoaded) << "a point or a line could not be read";
}

TEST(RowByNumberText, NamesOnlyExistingRows) {
    const QList<QStringList> rows{{"a"}, {"b"}};
    EXPECT_EQ(RowByNumberText(rows, "2"), QStringList{"b"});
    EXPECT_TRUE(RowByNumberText(rows, "0").isEmpty());
    EXPECT_TRUE(RowByNumberText(rows, "3").isEmpty());
    EXPECT_TRUE(RowByNumberText(rows, "").isEmpty());
    EXPECT_TRUE(RowByNumberText(rows, "1x2").isEmpty());
}

// --- Saving

TMapPoints Ring(std::initializer_list<TMapPoint> points) {
    TMapPoints ring(points);
    ring.push_back(ring.front());
    return ring;
}

TValuationGeometry SquareGeometry() {
    const TMapPoints square =
        Ring({{2393000, 5508000}, {2393010, 5508000}, {2393010, 5508010}, {2393000, 5508010}});
    TValuationGeometry g;
    g.TerrZone = {{"", {square}}};
    g.Plot = {{"", {square}}};
    g.Districts = {{"", {square}}};
    g.NaturalDistricts = {{"", {square}}};
    g.AgroGroups = {{"1", {square}}};
    return g;
}

struct TSaveFixture : TWriterFixture {
    QString target;
    TSaveHooks saveHooks;
    QStringList saveLog;
    TSaveFixture() {
        EXPECT_TRUE(Create(SampleHandOver(), NewWorkingCopy()));
        target = dir.File("out нго.xml");
        file.SaveAsFile = target;
        saveHooks.LogLine = [this](const QString& line) { saveLog << line; };
        sink.Clear();
    }
};

TEST(SaveValuationFileAs, WritesTheRegeneratedGeometryReformattedInUtf8) {
    TSaveFixture f;
    const QByteArray workingBefore = ReadBytes(f.file.WorkingCopy);
    QString proposed;
    f.saveHooks.ChooseTarget = [&](const QString& p) {
        proposed = p;
        return p;
    };
    const TSaveResult r = SaveValuationFileAs(f.file, SquareGeometry(), {true, false}, f.saveHooks);
    ASSERT_TRUE(r.Written) << r.Error.toStdString();
    EXPECT_EQ(proposed, f.target);
    EXPECT_EQ(f.sink.Texts(), QStringList{kMsgFinished});
    EXPECT_TRUE(f.saveLog.isEmpty());
    EXPECT_EQ(ReadBytes(f.file.WorkingCopy), workingBefore) << "the working copy is not changed";

    const QByteArray bytes = ReadBytes(f.target);
    EXPECT_TRUE(
        bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UkrainianCadastralExchangeFile>\n"
                         "  <AdditionalPart>\n    <ServiceInfo>\n"));
    EXPECT_FALSE(bytes.contains('\t'));
    ExchangeDocument out;
    ASSERT_TRUE(out.LoadFromFile(f.target));
    const pugi::xml_node r0 = out.DocumentElement();
    pugi::xml_node points = FindNodeAtPath(r0, {}, SplitPath("InfoPart\\MetricInfo\\PointInfo"));
    EXPECT_EQ(std::distance(points.children().begin(), points.children().end()), 4);
    EXPECT_EQ(Text(r0, "InfoPart\\MetricInfo\\PointInfo\\Point\\X"), "5508000.0000");
    EXPECT_EQ(Text(r0, "InfoPart\\MetricInfo\\Polyline\\PL#4\\Length"), "10.00");
    EXPECT_FALSE(Has(r0, "InfoPart\\MetricInfo\\Polyline\\PL#5"));
    EXPECT_EQ(Text(r0, kNv + "\\Externals\\Boundary\\Lines\\Line#4\\TP"), "1");
    EXPECT_EQ(Text(r0, kNv + "\\NaturalAgriculturalsDistrict\\AgroGroups\\AgroGroup\\Externals\\Boundary\\Lin"
                             "es\\Line#2\\ULID"),
              "2");
    EXPECT_EQ(Text(r0, "InfoPart\\TerritorialZoneInfo\\Externals\\Boundary\\Closed"), "true");
    EXPECT_STREQ(FindNodeAtPath(r0, {}, SplitPath(kNv)).first_child().name(), "Externals");
}

TEST(SaveValuationFileAs, ObjectsWithoutContourAreNotedAndTheFileIsWritten) {
    TSaveFixture f;
    TValuationGeometry g = SquareGeometry();
    g.Plot = {{"", {}}};
    g.Districts.clear();
    g.AgroGroups = {{"2", g.AgroGroups[0].Parts}};
    g.TerrZone.clear();
    const TSaveResult r = SaveValuationFileAs(f.file, g, {}, f.saveHooks);
    ASSERT_TRUE(r.Written);
    const QStringList notes{kMsgNoPlotContour, kMsgNoDistrictContour + "1.", kMsgNoAgroContour + "1-1."};
    EXPECT_EQ(r.Notes, notes);
    EXPECT_EQ(f.saveLog, notes);
    ExchangeDocument out;
    ASSERT_TRUE(out.LoadFromFile(f.target));
    EXPECT_FALSE(Has(out.DocumentElement(), "InfoPart\\TerritorialZoneInfo\\Externals")) << "no zone object";
    EXPECT_TRUE(Has(out.DocumentElement(), kNv + "\\Externals")) << "kept, empty";
    EXPECT_FALSE(Has(out.DocumentElement(), kNv + "\\Externals\\Boundary"));
}

TEST(SaveValuationFileAs, RefusalsWriteNothing) {
    struct TCase {
        const char* name;
        std::function<void(TSaveFixture&)> setUp;
        QString text;
    };
    auto removeBlock = [](const char* path) {
        return [path](TSaveFixture& f) {
            ExchangeDocument d;
            ASSERT_TRUE(d.LoadFromFile(f.file.WorkingCopy));
            pugi::xml_node n = FindNodeAtPath(d.DocumentElement(), {}, SplitPath(QString::fromUtf8(path)));
            n.parent().remove_child(n);
            ASSERT_TRUE(d.SaveToFile(f.file.WorkingCopy));
        };
    };
    const TCase cases[] = {
        {"no working copy", [](TSaveFixture& f) { f.file.WorkingCopy.clear(); }, kMsgNotLoaded},
        {"working copy deleted", [](TSaveFixture& f) { QFile::remove(f.file.WorkingCopy); }, kMsgNotLoaded},
        {"loaded without coordinates", [](TSaveFixture& f) { f.file.CoordinatesLoaded = false; },
         kMsgNoCoordinates},
        {"PointInfo", removeBlock("InfoPart\\MetricInfo\\PointInfo"),
         "У файлі відсутній блок PointInfo. Збереження неможливе."},
        {"Polyline", removeBlock("InfoPart\\MetricInfo\\Polyline"),
         "У файлі відсутній блок Polyline. Збереження неможливе."},
        {"NormativValuation", removeBlock("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation"),
         "У файлі відсутній блок NormativValuation. Збереження неможливе."},
        {"ValuationDistricts",
         removeBlock("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation\\ValuationDistricts"),
         "У файлі відсутній блок ValuationDistricts. Збереження неможливе."},
        {"NaturalAgriculturalsDistrict",
         removeBlock("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation\\NaturalAgriculturalsD"
                     "istrict"),
         "У файлі відсутній блок NaturalAgriculturalsDistrict. Збереження неможливе."},
    };
    for (const TCase& c : cases) {
        TSaveFixture f;
        c.setUp(f);
        const TSaveResult r = SaveValuationFileAs(f.file, SquareGeometry(), {}, f.saveHooks);
        EXPECT_FALSE(r.Written) << c.name;
        EXPECT_EQ(r.Error, c.text) << c.name;
        EXPECT_EQ(LastErrorText, c.text) << c.name;
        EXPECT_FALSE(QFile::exists(f.target)) << c.name;
        EXPECT_FALSE(f.sink.Texts().contains(kMsgFinished)) << c.name;
    }
}

TEST(SaveValuationFileAs, CancelledDialogWritesNothing) {
    TSaveFixture f;
    f.saveHooks.ChooseTarget = [](const QString&) { return QString(); };
    const TSaveResult r = SaveValuationFileAs(f.file, SquareGeometry(), {}, f.saveHooks);
    EXPECT_FALSE(r.Written);
    EXPECT_TRUE(r.Error.isEmpty());
    EXPECT_FALSE(QFile::exists(f.target));
    EXPECT_EQ(f.file.SaveAsFile, f.target);
}

TEST(SaveWorkingCopy, WritesTheWorkingCopyAndReportsOnlyRealFailures) {
    TSaveFixture f;
    TValuationGeometry g = SquareGeometry();
    g.Plot = {{"", {}}}; // a note, not a failure
    const TSaveResult r = SaveWorkingCopy(f.file, g, {});
    ASSERT_TRUE(r.Written);
    EXPECT_EQ(r.Notes, QStringList{kMsgNoPlotContour});
    EXPECT_TRUE(LastErrorText.isEmpty()) << LastErrorText.toStdString();
    EXPECT_FALSE(SilentMessages) << "restored";
    EXPECT_TRUE(f.sink.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(f.target));
    const QByteArray bytes = ReadBytes(f.file.WorkingCopy);
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"));
    EXPECT_TRUE(bytes.contains("<X>5508010.0000</X>"));

    // A real failure stays reported.
    f.file.CoordinatesLoaded = false;
    EXPECT_FALSE(SaveWorkingCopy(f.file, g, {}).Written);
    EXPECT_EQ(LastErrorText, kMsgNoCoordinates);
}

} // namespace
