// The last two pages of the wizard: "Кні+Оцінка" (indexation list, Кні, calculation text) and "Завершення"
// (summary, checks of the output buttons), and the hand-over of "Створити XML" to the writer.
#include "valuation/ui/TFormNGOMain.h"

#include "app/GlobalVar.h"
#include "common/CodePage.h"
#include "common/RecordingSink.h"
#include "data/SqlHelpers.h"
#include "data/TFormMain.h"
#include "exchange/ExchangePaths.h"
#include "exchange/OpenExchangeFile.h"
#include "exchange/ValuationFileWriter.h"
#include "map/MapLayers.h"
#include "map/ui/TFormMapView.h"
#include "shell/TFormLogDlg.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"
#include "valuation/CalculationFixtures.h"
#include "valuation/ui/NgoCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kZoneId = QStringLiteral("UA32060050000030591");

class NgoWizardResult : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"NGO.dat", "IN4XMLSchema.xml"})
            ASSERT_TRUE(dir_.CopyFromProgram(QString::fromLatin1(name))) << name;
        WriteBytes(dir_.File("POPUL.dat"), ToCp1251("Борівська сільська рада\t2140\tс. Борова\r\n"));
    }
    void TearDown() override {
        // The registered writer refers to a main window of the test.
        SetNewValuationHandler({});
    }
    static void Type(TFormNGOMain& w, const QString& box, const QString& text) {
        QLineEdit* e = w.Edit(box);
        ASSERT_NE(e, nullptr) << box.toStdString();
        e->setText(text);
        emit e->textEdited(text);
    }
    // The generated parcel imported and applied as it comes (category 200), the zone ID typed.
    void ImportAndApply(TFormNGOMain& w) {
        w.InitializeWizard();
        ASSERT_TRUE(
            w.ImportChosenFile(TSourceKind::LandManagement, TestDataPath("valuation/parcel-6-vertices.xml")))
            << sink_.LastText().toStdString();
        ASSERT_TRUE(w.ApplyGeneralData()) << sink_.LastText().toStdString();
        Type(w, "EFileTerrID", kZoneId);
        sink_.Clear();
    }
    TTestProgramDir dir_;
    TRecordingSink sink_;
};

QStringList MemoLines(const TFormNGOMain& w) {
    QStringList lines = w.CalculationMemo()->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

TEST_F(NgoWizardResult, WorkedExampleEnteredThroughThePagesAppearsInTheCalculation) {
    // NGO.dat with the example's one natural-agricultural district.
    QStringList ngo = FromCp1251(ReadBytes(dir_.File("NGO.dat"))).split(QStringLiteral("\r\n"));
    ngo.erase(std::remove_if(ngo.begin(), ngo.end(), [](const QString& l) { return l.startsWith("dod9="); }),
              ngo.end());
    ngo.prepend(WorkedExamplePsrLine());
    WriteBytes(dir_.File("NGO.dat"), ToCp1251(ngo.join(QStringLiteral("\r\n"))));

    TFormNGOMain w;
    w.InitializeWizard();
    ASSERT_TRUE(
        w.ImportChosenFile(TSourceKind::LandManagement, TestDataPath("valuation/parcel-6-vertices.xml")));
    w.SetRowValue("NxItemSQ", "2");
    w.SetRowValue("NxItemAddrRaion", "Броварський район");
    w.SetRowValue("NxItemCategory", "100-землі сільськогосподарського призначення");
    w.SetRowValue("NxItemCileve", "01.01");
    w.SetRowValue("NxItemVydSilhoz", "рілля, перелоги");
    w.SetRowValue("NxItemYear", "2026");
    ASSERT_TRUE(w.ApplyGeneralData()) << sink_.LastText().toStdString();
    EXPECT_EQ(w.Edit("ENrdDodatok")->text(), "дод.2");
    EXPECT_EQ(w.Edit("EPSRValue")->text(), "Броварський (П-1)");
    EXPECT_EQ(w.Edit("EKniValue")->text(), "1.608");
    Type(w, "ENrdValue", "27500");
    for (const char* box : {"EKm1Value", "EKm2Value", "EKm3Value", "EKcpValue"})
        Type(w, box, "1");

    // Showing the page builds the text.
    w.ShowPage(TNgoPage::Kni);
    EXPECT_EQ(MemoLines(w), WorkedExampleLines());
    EXPECT_EQ(w.Session.CalculationText(), WorkedExampleLines().join("\r\n") + "\r\n");
    EXPECT_TRUE(w.CalculationMemo()->isReadOnly());
    EXPECT_EQ(w.CalculationMemo()->font().family(),
              QFontDatabase::systemFont(QFontDatabase::FixedFont).family());

    // A changed factor reaches the text on "Оновити розрахунок" (and not before).
    Type(w, "EKm2Value", "2");
    EXPECT_EQ(MemoLines(w), WorkedExampleLines());
    w.Button("BRefreshCalculation")->click();
    EXPECT_EQ(MemoLines(w).value(5), "Км2=2");
    EXPECT_EQ(MemoLines(w).last(), "ОЦІНКА=194 568.00 грн");
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
}

TEST_F(NgoWizardResult, IndexationListIsEditedSavedAndRecomputesKni) {
    TFormNGOMain w;
    ImportAndApply(w);
    w.ShowPage(TNgoPage::Kni);
    QTableWidget* list = w.IndexationListWidget();
    ASSERT_NE(list, nullptr);
    // The built-in list (no YEARS.dat yet) and one empty row for a new year.
    ASSERT_EQ(list->rowCount(), 17);
    EXPECT_EQ(list->item(5, 0)->text(), "2025");
    EXPECT_EQ(list->item(5, 1)->text(), "1.08");
    EXPECT_EQ(w.Edit("EKniValue")->text(), "1.608");

    // An edited value counts only after "Перерах. Кні".
    list->item(5, 1)->setText("1,1");
    EXPECT_EQ(w.Edit("EKniValue")->text(), "1.608");
    list->item(5, 1)->setText("1.1");
    w.Button("BRecalcKni")->click();
    EXPECT_EQ(w.Edit("EKniValue")->text(), "1.638");
    EXPECT_EQ(w.Session.Boxes.KniFormula, "1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.1");
    w.Button("BRefreshCalculation")->click();
    EXPECT_EQ(MemoLines(w).value(10), "Кні=1.638 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.1)");

    // A value typed into Кні is used as typed until Кні is recomputed.
    Type(w, "EKniValue", "2,5");
    w.Button("BRefreshCalculation")->click();
    EXPECT_EQ(MemoLines(w).value(10), "Кні=2.5 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.1)");

    // The empty last row takes a new year, and a new empty row appears.
    list->item(16, 0)->setText("2036");
    list->item(16, 1)->setText("1.2");
    EXPECT_EQ(list->rowCount(), 18);
    w.Button("BSaveYearsKni")->click();
    EXPECT_EQ(sink_.LastText(), "Список збережено.");
    const QStringList saved = FromCp1251(ReadBytes(dir_.File("YEARS.dat"))).split("\r\n");
    EXPECT_TRUE(saved.contains("2025=1.1"));
    EXPECT_TRUE(saved.contains("2026="));
    EXPECT_TRUE(saved.contains("2036=1.2"));

    // "Перерах. Кні" re-reads the base year: from 2021 on the 2020 factor drops out.
    QString ngo = FromCp1251(ReadBytes(dir_.File("NGO.dat")));
    ASSERT_TRUE(ngo.contains("on=2020"));
    WriteBytes(dir_.File("NGO.dat"), ToCp1251(ngo.replace("on=2020", "on=2021")));
    w.Button("BRecalcKni")->click();
    EXPECT_EQ(w.Edit("EKniValue")->text(), "1.638");
    EXPECT_EQ(w.Session.Boxes.KniFormula, "1.1 x 1.15 x 1.051 x 1.12 x 1.1");
}

TEST_F(NgoWizardResult, SummaryIsRebuiltWhenThePageIsShownAndKeepsTypedFields) {
    TFormNGOMain w;
    ImportAndApply(w);
    Type(w, "EFileCadnum", "3224980400:05:017:0009");
    w.ShowPage(TNgoPage::End);
    EXPECT_EQ(w.Edit("EFileSq")->text(), "0.1079");
    EXPECT_EQ(w.Edit("EFileRada")->text(), "Борівська сільська рада (с. Борова)");
    EXPECT_EQ(w.Edit("EFileNrd")->text(), "140");
    EXPECT_EQ(w.Edit("EFileKm1")->text(), "1.0");
    EXPECT_EQ(w.Edit("EFileTerrID")->text(), kZoneId);
    EXPECT_EQ(w.Edit("EFileCadnum")->text(), "3224980400:05:017:0009");
    EXPECT_EQ(w.Edit("EFileRaKlk")->property("Tag").toInt(), 98);
    EXPECT_EQ(w.Edit("EFileKls")->property("Tag").toInt(), 99);
    EXPECT_TRUE(w.Edit("EFileKm1")->isReadOnly());
    EXPECT_FALSE(w.Edit("EFileTerrCode")->isReadOnly());

    // A change on a coefficient page reaches the summary when the page is shown again.
    w.ShowPage(TNgoPage::Km1);
    Type(w, "EKm1Value", "1,25");
    w.ShowPage(TNgoPage::End);
    EXPECT_EQ(w.Edit("EFileKm1")->text(), "1.25");
    EXPECT_EQ(w.Session.Summary.FileKm1, "1.25");
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
}

TEST_F(NgoWizardResult, CreateXmlStopsAtTheFirstMissingFieldAndStaysOpen) {
    const struct {
        const char* what;
        std::function<void(TFormNGOMain&)> change;
        const char* message;
    } cases[] = {
        {"zone ID cleared", [](TFormNGOMain& w) { Type(w, "EFileTerrID", ""); },
         "Не визначені необхідні дані.\rПоле: ID зони"},
        {"Км1 of several rows", [](TFormNGOMain& w) { Type(w, "EKm1Value", "декілька"); },
         "Не визначені необхідні дані.\rПоле: Км1"},
        {"the earlier of two fields",
         [](TFormNGOMain& w) {
             Type(w, "EKmcIValue", "");
             Type(w, "EFileTerrCode", " ");
         },
         "Не визначені необхідні дані.\rПоле: Код зони"},
        {"Кмц(пром) empty", [](TFormNGOMain& w) { Type(w, "EKmcIValue", ""); },
         "Не визначені необхідні дані.\rПоле: Кмц Пр."},
        {"no district number", [](TFormNGOMain& w) { Type(w, "EOcRaNoValue", ""); },
         "Не визначені необхідні дані.\rПоле: № оц.района"},
        // The agro page's grid is the session's table.
        {"no agro group", [](TFormNGOMain& w) { w.Session.Agro.Clear(); },
         "Не визначені необхідні дані.\rПоле: Код агрогрупи"},
        {"organisation from the database, none chosen",
         [](TFormNGOMain& w) { w.findChild<QRadioButton*>("RBOrganFromDB")->setChecked(true); },
         "Не обрано організацію."},
        {"approval date that does not exist",
         [](TFormNGOMain& w) { Type(w, "EFileApproveDt", "31.02.2025"); },
         "Вказана некоректна дата затв.док."},
    };
    for (const auto& c : cases) {
        TFormNGOMain w;
        ImportAndApply(w);
        c.change(w);
        w.ShowPage(TNgoPage::End);
        w.setResult(0);
        w.Button("BCreateFile")->click();
        ASSERT_EQ(sink_.messages.size(), 1) << c.what;
        EXPECT_EQ(sink_.messages[0].text, QString::fromUtf8(c.message)) << c.what;
        EXPECT_EQ(sink_.messages[0].kind, TMsgKind::Warning) << c.what;
        EXPECT_NE(w.result(), TFormNGOMain::kResultYes) << c.what;
        sink_.Clear();
    }
}

TEST_F(NgoWizardResult, UpdateXmlChecksOnlyTheCommonFieldsAndSaysTheUpdateIsNotAvailable) {
    TFormNGOMain w;
    ImportAndApply(w);
    w.Session.Agro.Clear(); // a Tag 98 field does not stop the update
    Type(w, "EFileTerrID", "");
    w.ShowPage(TNgoPage::End);
    w.Button("BUpdateFile")->click();
    EXPECT_EQ(sink_.Texts(), QStringList{"Відсутні необхідні дані.\rПоле: ID зони"});
    sink_.Clear();
    Type(w, "EFileTerrID", kZoneId);
    EXPECT_FALSE(w.UpdateFileCommand());
    ASSERT_EQ(sink_.messages.size(), 1);
    EXPECT_EQ(sink_.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(sink_.messages[0].text.contains("ще не доступне")) << sink_.LastText().toStdString();
    sink_.Clear();

    // With an updater registered it runs and the success is reported.
    int runs = 0;
    SetUpdateFromWizardHandler([&runs](TFormNGOMain&) { return ++runs > 0; });
    EXPECT_TRUE(w.UpdateFileCommand());
    SetUpdateFromWizardHandler({});
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sink_.Texts(), QStringList{"Завершено оновлення коефіцієнтів."});
}

TEST_F(NgoWizardResult, OrganisationButtonOpensTheEditorAndRefillsTheList) {
    ASSERT_TRUE(dir_.CopyFromProgram("ref.db"));
    TFormMain data;
    ASSERT_TRUE(data.OpenReferenceDatabase()) << LastErrorText.toStdString();
    TFormNGOMain w;
    w.InitializeWizard();
    auto* list = w.findChild<QComboBox*>("EDefLicenziat");
    ASSERT_NE(list, nullptr);
    const int before = list->count();

    // The editor adds an organisation and returns it; the list shows it chosen.
    QStringList asked;
    SetReferenceTableEditor(
        [&](const QString& table, const QString& key, const QString& result, const QString& current) {
            asked << table << key << result << current;
            EXPECT_TRUE(RunSql(data.ADOQueryRefGets,
                               "INSERT INTO ліцензіати (id, назва) VALUES (9001, 'ТОВ \"Земля-Сервіс\"')",
                               false, false))
                << LastErrorText.toStdString();
            return QStringLiteral("ТОВ \"Земля-Сервіс\"");
        });
    w.Button("BLicenziatEdit")->click();
    SetReferenceTableEditor({});
    EXPECT_EQ(asked, (QStringList{"ліцензіати", "id", "назва", ""}));
    EXPECT_EQ(list->count(), before + 1);
    EXPECT_EQ(list->currentText(), "ТОВ \"Земля-Сервіс\"");
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();

    // Without the editor the list is refilled, the choice kept, and the engineer told why nothing opened.
    w.Button("BLicenziatEdit")->click();
    EXPECT_EQ(list->currentText(), "ТОВ \"Земля-Сервіс\"");
    ASSERT_EQ(sink_.messages.size(), 1);
    EXPECT_EQ(sink_.messages[0].kind, TMsgKind::Warning);

    // "З бази" hands the chosen organisation to the writer.
    w.findChild<QRadioButton*>("RBOrganFromDB")->setChecked(true);
    w.ReadSummaryEdits();
    const TValuationHandOver h = w.HandOver();
    EXPECT_TRUE(h.RBOrganFromDB);
    EXPECT_EQ(h.EDefLicenziat, "ТОВ \"Земля-Сервіс\"");
}

TEST_F(NgoWizardResult, CreateXmlClosesWithYesAndTheMainWindowWritesAndOpensTheValuationFile) {
    TFormXMLMain main;
    TFormMapView view;
    view.PrecisionClass = [] { return 4; };
    main.SetMapViewPort(&view);
    RegisterNgoCommands(main);
    TFormNGOMain w;
    ImportAndApply(w);
    Type(w, "EFileApproveBy", "Фастівська районна рада");
    Type(w, "EFileApproveNo", "17");
    w.findChild<QCheckBox*>("CBBlockCreateTerrZona")->setChecked(false);

    QTimer::singleShot(0, &w, [&w] {
        w.ShowPage(TNgoPage::End);
        w.Button("BCreateFile")->click();
    });
    ASSERT_EQ(w.exec(), TFormNGOMain::kResultYes) << sink_.LastText().toStdString();
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
    EXPECT_FALSE(w.XMLDocument_XML.DocumentElement());

    ASSERT_EQ(NewValuationCommand(&w), TFormNGOMain::kResultYes);
    EXPECT_EQ(sink_.Texts(), QStringList{"Завершено.\rФайл завантажений у головне вікно.\rЗберегти файл "
                                         "кнопкою \"Зберегти як\""});
    const QString source = TestDataPath("valuation/parcel-6-vertices.xml");
    EXPECT_EQ(main.File.SaveAsFile, ValuationFileNameFor(source));
    EXPECT_TRUE(main.File.OpenedFile.isEmpty());
    ASSERT_TRUE(QFileInfo::exists(main.File.WorkingCopy));
    EXPECT_EQ(main.FileCaption(), "  Новий файл (не збережений)");
    EXPECT_FALSE(main.NavigatorLines().isEmpty());
    // The map view shows the new file's objects: the plot has the source parcel's contour.
    EXPECT_TRUE(main.File.CoordinatesLoaded);
    ASSERT_NE(view.FindLayer(kLayerOcDilanka), nullptr);
    EXPECT_EQ(view.FindLayer(kLayerOcDilanka)->FeatureCount(), 1);

    // The file reads back as a valuation file with the wizard's values.
    TOpenExchangeFile reread;
    const QString copy = NewWorkingCopyPath(main.File.WorkingCopy);
    ASSERT_TRUE(OpenValuationFile(reread, main.File.WorkingCopy, copy, {})) << LastErrorText.toStdString();
    ExchangeDocument document;
    ASSERT_TRUE(document.LoadFromFile(reread.WorkingCopy)) << LastErrorText.toStdString();
    const pugi::xml_node root = document.DocumentElement();
    const QString zone = "InfoPart\\TerritorialZoneInfo\\";
    const QString nv = zone + "Objects\\Lands\\NormativValuation\\";
    const QList<QPair<QString, QString>> expected = {
        {zone + "TerritorialZoneNumber\\TerritorialZoneID", kZoneId},
        {zone + "TerritorialZoneNumber\\TerritorialZoneCode", w.Edit("EFileTerrCode")->text()},
        {zone + "DocumentationApproval\\ApprovedBy", "Фастівська районна рада"},
        {zone + "DocumentationApproval\\ApprovalDate", "2025-05-20"},
        {zone + "DocumentationApproval\\ApprovalNumber", "17"},
        {nv + "DescriptionOfTerritory\\Region\\Name", w.Edit("EFileObl")->text()},
        {nv + "DescriptionOfTerritory\\Region\\KOATUU", w.Edit("EFileKoatuu")->text()},
        {nv + "DescriptionOfTerritory\\District", w.Edit("EFileRaion")->text()},
        {nv + "DescriptionOfTerritory\\Rada", w.Edit("EFileRada")->text()},
        {nv + "Population", "2140"},
        {nv + "AreaTerritory\\Size", "0.1079"},
        {nv + "ValuationYear", w.Edit("EFileYear")->text()},
        {nv + "Nrd", "140"},
        {nv + "Km1", w.Edit("EFileKm1")->text()},
        {nv + "Kmc1", "1.52"},
        {nv + "KmcIndustry", w.Edit("EFileKmcI")->text()},
        {nv + "KmcHealth", w.Edit("EFileKmcH")->text()},
        {nv + "KmcNatureReserve", w.Edit("EFileKmcN")->text()},
        {nv + "Kls", w.Edit("EFileKls")->text()},
        {nv + "ValuationDistricts\\ValuationDistrict\\DistrictNumber", w.Edit("EFileRaNo")->text()},
        {nv + "ValuationDistricts\\ValuationDistrict\\Klk", "1.58"},
        {nv + "NaturalAgriculturalsDistrict\\AgrDistrictNumber", "7"},
        {nv + "NaturalAgriculturalsDistrict\\AgrDistrictName", "Фастівський (П-7)"},
    };
    for (const auto& [path, value] : expected) {
        const pugi::xml_node node = FindNodeAtPath(root, {}, SplitPath(path));
        ASSERT_TRUE(node) << path.toStdString();
        EXPECT_EQ(ElementText(node), value) << path.toStdString();
    }
    // "Створити контур територіальної зони" was cleared.
    EXPECT_FALSE(FindNodeAtPath(root, {}, SplitPath(zone + "Externals")));
    EXPECT_TRUE(FindNodeAtPath(root, {}, SplitPath(nv + "Externals")));
    reread.CloseWorkingFolder();
    main.File.CloseWorkingFolder();
}

TEST_F(NgoWizardResult, AFailedCreationIsLoggedAndLeavesNoWorkingCopy) {
    TFormXMLMain main;
    std::unique_ptr<TFormLogDlg> log = std::make_unique<TFormLogDlg>(&main);
    main.SetLogWindow(log.get());
    RegisterNgoCommands(main);
    TFormNGOMain w;
    ImportAndApply(w);
    ASSERT_TRUE(w.CreateFileCommand());
    ASSERT_TRUE(QFile::remove(dir_.File("IN4XMLSchema.xml")));

    EXPECT_EQ(NewValuationCommand(&w), TFormNGOMain::kResultYes);
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
    EXPECT_TRUE(main.File.WorkingCopy.isEmpty());
    EXPECT_TRUE(main.NavigatorLines().isEmpty());
    ASSERT_FALSE(log->Lines().isEmpty());
    EXPECT_TRUE(log->Lines().last().startsWith("Помилка завантаження файлу: "))
        << log->Lines().last().toStdString();
    // No working folder stays behind.
    EXPECT_TRUE(QDir(GlobalVar().Settings.TempDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
