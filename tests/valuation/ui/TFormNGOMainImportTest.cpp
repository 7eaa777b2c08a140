// The wizard with real files: import from an exchange file, Apply, the council lookup and the modes.
#include "valuation/ui/TFormNGOMain.h"

#include "common/CodePage.h"
#include "common/RecordingSink.h"
#include "common/ui/PropertyInspector.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"
#include "valuation/ui/NgoCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kBorova = QStringLiteral("Борівська сільська рада");

void Wait(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

class NgoWizardImport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.CopyFromProgram("NGO.dat"));
        WriteBytes(dir_.File("POPUL.dat"), ToCp1251(kBorova + "\t2140\tс. Борова\r\n"));
    }
    // A copy of a fixture with some texts replaced.
    QString Variant(const QString& fixture, const QList<QPair<QString, QString>>& replacements) {
        QString text = QString::fromUtf8(ReadBytes(TestDataPath("valuation/" + fixture)));
        for (const auto& [what, with] : replacements) {
            EXPECT_TRUE(text.contains(what)) << what.toStdString();
            text.replace(what, with);
        }
        const QString path = dir_.File("variant.xml");
        WriteBytes(path, text.toUtf8());
        return path;
    }
    // Every tab's caption colour is the one the session's boxes call for.
    void ExpectTabColoursFollowTheSession(const TFormNGOMain& w) {
        for (int i = 0; i < kNgoPageCount; ++i) {
            const auto page = static_cast<TNgoPage>(i);
            QStringList values;
            for (const QString& box : PageValueBoxes(page))
                values << w.Edit(box)->text();
            EXPECT_EQ(w.PageCaptionColor(page) == QColor(Qt::red),
                      !values.isEmpty() && PageCaptionRed(values))
                << NgoPageInfo(page).Caption.toStdString();
        }
    }

    TTestProgramDir dir_;
    TRecordingSink sink_;
};

TEST_F(NgoWizardImport, GeneratedParcelIsImportedAppliedAndLandsOnNrd) {
    TFormNGOMain w;
    w.InitializeWizard();
    ASSERT_TRUE(
        w.ImportChosenFile(TSourceKind::LandManagement, TestDataPath("valuation/parcel-6-vertices.xml")))
        << sink_.LastText().toStdString();
    EXPECT_TRUE(sink_.messages.isEmpty());
    const QList<QPair<QString, QString>> rows = {
        {"NxItemSQ", "0.1079"},
        {"NxItemKoatuu", "3224980400"},
        {"NxItemAddrObl", "Київська область"},
        {"NxItemAddrRaion", "Фастівський район"},
        {"NxItemAddrRada", kBorova},
        {"NxItemAddrNP", "(с. Борова)"},
        {"NxItemVMezhah", "В межах"},
        {"NxItemCenterTG", "с. Борова"},
        {"NxItemPopul", "2140"},
        {"NxItemCategory", "200"},
        {"NxItemCileve", "02.01"},
        {"NxItemYear", QString::number(QDate::currentDate().year())},
        {"NxItemVydSilhoz", "несільськогосподарські угіддя"},
        {"NxItemVydVodnogo", ""},
        {"NxItemVydLisnogo", ""},
    };
    for (const auto& [row, value] : rows)
        EXPECT_EQ(w.RowValue(row), value) << row.toStdString();
    EXPECT_EQ(w.Edit("EFileCadnum")->text(), "3224980400:05:017:0008");
    EXPECT_EQ(w.Edit("EFileApproveDt")->text(), "20.05.2025");
    EXPECT_EQ(w.Edit("EFileTerrCode")->text(), "021");
    EXPECT_TRUE(w.findChild<QCheckBox*>("CBSrcZemXML")->isChecked());

    // The plot's contour: one region of six corners on the map page's model.
    TMapLayer* plot = w.MapNgo.FindLayer("ДІЛЯНКА");
    ASSERT_NE(plot, nullptr);
    ASSERT_EQ(plot->FeatureCount(), 1);
    EXPECT_TRUE(w.Button("BApplyZagalni")->isEnabled());
    EXPECT_FALSE(w.PageShown(TNgoPage::Nrd));

    ASSERT_TRUE(w.ApplyGeneralData()) << sink_.LastText().toStdString();
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
    EXPECT_EQ(w.CurrentPage(), TNgoPage::Nrd);
    for (int i = 0; i < kNgoPageCount; ++i)
        EXPECT_TRUE(w.PageShown(static_cast<TNgoPage>(i))) << i;
    EXPECT_EQ(w.Session.Data.CategoryCode, "200");
    EXPECT_EQ(w.Session.Data.PopulationCount, 2140);
    // The page boxes show the session's choices, and the tabs are coloured by them.
    EXPECT_EQ(w.Edit("ENrdValue")->text(), w.Session.Boxes.Nrd.Value);
    EXPECT_FALSE(w.Edit("ENrdValue")->text().isEmpty());
    EXPECT_EQ(w.Edit("ENrdDodatok")->text(), "дод.1");
    EXPECT_EQ(w.Edit("EKm1Value")->text(), w.Session.Boxes.Km1.Value);
    EXPECT_EQ(w.Edit("EKcpValue")->text(), w.Session.Boxes.Kcp.Value);
    EXPECT_EQ(w.Edit("EKniValue")->text(), w.Session.Boxes.KniValue);
    ExpectTabColoursFollowTheSession(w);

    // A typed value reaches the session and recolours its tab.
    QLineEdit* km2 = w.Edit("EKm2Value");
    km2->clear();
    emit km2->textEdited(QString());
    EXPECT_EQ(w.Session.Boxes.Km2.Value, "");
    EXPECT_EQ(w.PageCaptionColor(TNgoPage::Km2), QColor(Qt::red));
    km2->setText("1,1");
    emit km2->textEdited("1,1");
    EXPECT_EQ(w.Session.Boxes.Km2.Value, "1,1");
    EXPECT_NE(w.PageCaptionColor(TNgoPage::Km2), QColor(Qt::red));

    // Remembered for the next plot.
    EXPECT_TRUE(QString::fromUtf8(ReadBytes(dir_.File("ADDR.dat"))).isEmpty() == false);
}

TEST_F(NgoWizardImport, RealSampleFillsTheGeneralDataButCannotBeAppliedWithoutCoordinates) {
    TFormNGOMain w;
    w.InitializeWizard();
    EXPECT_FALSE(w.ImportChosenFile(TSourceKind::LandManagement,
                                    TestDataPath("valuation/land-management-urban-4624280900.xml")));
    EXPECT_EQ(sink_.Texts(), QStringList{"Зчитування файлу: Неможливо зчитати координати"});
    EXPECT_EQ(w.RowValue("NxItemAddrObl"), "Львівська область");
    EXPECT_EQ(w.RowValue("NxItemAddrRaion"), "Самбірський район");
    EXPECT_EQ(w.RowValue("NxItemAddrRada"), "с. Воля-Блажівська");
    EXPECT_EQ(w.RowValue("NxItemSQ"), "0.2500");
    EXPECT_EQ(w.RowValue("NxItemKoatuu"), "4624280900");
    EXPECT_EQ(w.RowValue("NxItemPopul"), "-");
    EXPECT_EQ(w.RowValue("NxItemCategory"), "200");
    EXPECT_FALSE(w.Button("BApplyZagalni")->isEnabled());
    EXPECT_FALSE(w.ApplyGeneralData());
    EXPECT_FALSE(w.PageShown(TNgoPage::Nrd));
}

TEST_F(NgoWizardImport, ValidationMessagesAppearInOrderForAFileWithMissingData) {
    const QString file =
        Variant("parcel-6-vertices.xml",
                {{"<Category>200</Category>", "<Category></Category>"},
                 {"<Purpose>02.01</Purpose>", "<Purpose/>"},
                 {"<Region>Київська область</Region>\n                <Settlement>",
                  "<Region/>\n                <Settlement>"},
                 {"<District>Фастівський район</District>\n                <ParcelLocation>",
                  "<District/>\n                <ParcelLocation>"},
                 {"<Settlement>Борівська сільська рада (с. Борова)</Settlement>", "<Settlement/>"},
                 {"<CadastralZoneNumber>3224980400:05</CadastralZoneNumber>", ""},
                 {"<Urban/>", ""},
                 {"<Size>0.1079</Size>", "<Size>0,1079</Size>"}});
    TFormNGOMain w;
    w.InitializeWizard();
    ASSERT_TRUE(w.ImportChosenFile(TSourceKind::LandManagement, file)) << sink_.LastText().toStdString();
    // Each failing Apply names the first missing parameter; the engineer fills it and applies again.
    const QList<QPair<QString, QPair<QString, QString>>> steps = {
        {"Відсутній обов'язковий параметр \"Категорія земель\"",
         {"NxItemCategory", "100-землі сільськогосподарського призначення"}},
        {"Відсутній обов'язковий параметр \"Цільове призначення\"", {"NxItemCileve", "01.01-Для ведення"}},
        {"Відсутній обов'язковий параметр \"Область\"", {"NxItemAddrObl", "Київська область"}},
        {"Відсутній обов'язковий параметр \"Район\"", {"NxItemAddrRaion", "Фастівський район"}},
        {"Відсутній обов'язковий параметр \"Рада\"", {"NxItemAddrRada", kBorova}},
        {"Відсутній обов'язковий параметр \"КОАТУУ\"", {"NxItemKoatuu", "3224980400"}},
        {"Відсутній обов'язковий параметр \"В межах\"", {"NxItemVMezhah", "За межами"}},
        {"Відсутній обов'язковий параметр \"Площа\" або некоректний", {"NxItemSQ", "0,1079"}},
        {"Відсутній обов'язковий параметр \"Кількість нас.\" або некоректний", {"NxItemPopul", "2140"}},
        {"Невідповідний параметр \"Рік оцінки\"", {"NxItemYear", "2026"}},
        {"Відсутній обов'язковий параметр \"Вид угідь для с/г\"", {"NxItemVydSilhoz", "рілля, перелоги"}},
    };
    w.SetRowValue("NxItemYear", "2019");
    w.SetRowValue("NxItemVydSilhoz", " ");
    for (const auto& [message, fill] : steps) {
        sink_.Clear();
        EXPECT_FALSE(w.ApplyGeneralData());
        ASSERT_EQ(sink_.messages.size(), 1);
        EXPECT_EQ(sink_.messages[0].text, message);
        EXPECT_EQ(sink_.messages[0].kind, TMsgKind::Warning);
        EXPECT_FALSE(w.PageShown(TNgoPage::Nrd));
        w.SetRowValue(fill.first, fill.second);
    }
    sink_.Clear();
    EXPECT_TRUE(w.ApplyGeneralData()) << sink_.LastText().toStdString();
    EXPECT_EQ(w.Session.Data.AreaText, "0.1079");
    EXPECT_EQ(w.CurrentPage(), TNgoPage::Nrd);
    ExpectTabColoursFollowTheSession(w);
}

// After a valued plot, a second file whose import fails must not leave the first plot's results reachable
// under the new file's name.
TEST_F(NgoWizardImport, AFailedSecondImportHidesTheFirstPlotsResults) {
    TFormNGOMain w;
    w.InitializeWizard();
    ASSERT_TRUE(
        w.ImportChosenFile(TSourceKind::LandManagement, TestDataPath("valuation/parcel-6-vertices.xml")));
    ASSERT_TRUE(w.ApplyGeneralData());
    const QString broken =
        Variant("parcel-6-vertices.xml",
                {{"<ULID>3</ULID><FP>3</FP><TP>6</TP>", "<ULID>33</ULID><FP>3</FP><TP>6</TP>"}});
    sink_.Clear();
    EXPECT_FALSE(w.ImportChosenFile(TSourceKind::LandManagement, broken));
    EXPECT_EQ(sink_.Texts(), QStringList{"Зчитування файлу: Неможливо створити межі (Блок Ділянкa) \r"
                                         "Не знайдено лінію ULID=33 у блоці Polyline"});
    EXPECT_EQ(w.Session.SourceFileName, broken);
    EXPECT_FALSE(w.Button("BApplyZagalni")->isEnabled());
    for (int i = 1; i < kNgoPageCount; ++i)
        EXPECT_FALSE(w.PageShown(static_cast<TNgoPage>(i))) << i;
    EXPECT_EQ(w.CurrentPage(), TNgoPage::Start);
    sink_.Clear();
    EXPECT_FALSE(w.ApplyGeneralData());
    EXPECT_TRUE(sink_.messages.isEmpty());
    // A good file makes it usable again.
    ASSERT_TRUE(
        w.ImportChosenFile(TSourceKind::LandManagement, TestDataPath("valuation/parcel-6-vertices.xml")));
    EXPECT_TRUE(w.Button("BApplyZagalni")->isEnabled());
}

TEST_F(NgoWizardImport, ChoosingACouncilLooksUpPopulationAndCentreAfterAMoment) {
    TFormNGOMain w;
    w.InitializeWizard();
    TPropertyInspector* g = w.GeneralData();
    TInspectorRow* council = g->Row("NxItemAddrRada");
    council->SetValue(kBorova);
    emit g->ListClosed(council);
    EXPECT_EQ(w.RowValue("NxItemPopul"), " ");
    Wait(200);
    EXPECT_EQ(w.RowValue("NxItemPopul"), "2140");
    EXPECT_EQ(w.RowValue("NxItemCenterTG"), "с. Борова");
    // A council that is not remembered changes nothing.
    council->SetValue("Інша рада");
    emit g->ListClosed(council);
    Wait(200);
    EXPECT_EQ(w.RowValue("NxItemPopul"), "2140");
    EXPECT_EQ(w.RowValue("NxItemCenterTG"), "с. Борова");
}

// "Зробити оцінку" over a loaded file that cannot be read: the failure is shown and no empty wizard follows.
TEST_F(NgoWizardImport, CompareOfAnUnreadableFileShowsTheFailureAndNoWizard) {
    TFormXMLMain main;
    const QString path = dir_.File("broken нго.xml");
    WriteBytes(path, QByteArray("<UkrainianCadastralExchangeFile><InfoPart>"));
    main.File.WorkingCopy = path;
    bool wizardShown = false;
    QTimer::singleShot(0, &main, [&wizardShown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            wizardShown = true;
            modal->close();
        }
    });
    CompareValuationCommand(main);
    Wait(10);
    EXPECT_FALSE(wizardShown);
    ASSERT_EQ(sink_.messages.size(), 1);
    EXPECT_FALSE(sink_.LastText().isEmpty());
    main.File.WorkingCopy.clear();
}

TEST_F(NgoWizardImport, CompareModeShowsThePreviousValuesAndKeepsTheMapPageHidden) {
    const QString xml = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<UkrainianCadastralExchangeFile>
<AdditionalPart><InfoLandWork><Executor/></InfoLandWork></AdditionalPart>
<InfoPart><MetricInfo/>
<CadastralZoneInfo><CadastralZoneNumber>3224980400:05</CadastralZoneNumber></CadastralZoneInfo>
<TerritorialZoneInfo>
 <TerritorialZoneNumber><TerritorialZoneID>064411</TerritorialZoneID><TerritorialZoneCode>021</TerritorialZoneCode></TerritorialZoneNumber>
 <Objects><Lands><NormativValuation>
  <DescriptionOfTerritory><Region><Name>Київська область</Name><KOATUU>3224980400</KOATUU></Region>
   <District>Фастівський район</District><Rada>Борівська сільська рада (с. Борова)</Rada></DescriptionOfTerritory>
  <AreaTerritory><Size>0.1079</Size></AreaTerritory>
  <Population>2140</Population><ValuationYear>2024</ValuationYear>
  <Nrd>45.5</Nrd><Km1>1.2</Km1><Km2>1.0</Km2><Km3>1.0</Km3><Kmc1>1.5</Kmc1><Kls>1.05</Kls>
  <ValuationDistricts>
   <ValuationDistrict><DistrictNumber>1</DistrictNumber><Km4>1.0</Km4><Klk>1.2</Klk></ValuationDistrict>
   <ValuationDistrict><DistrictNumber>2</DistrictNumber><Km4>1.1</Km4><Klk>1.3</Klk></ValuationDistrict>
  </ValuationDistricts>
  <NaturalAgriculturalsDistrict><AgrDistrictNumber>7</AgrDistrictNumber><AgrDistrictName>Лісостеп</AgrDistrictName>
   <AgroGroups><AgroGroup><CodeAgroGroup>49</CodeAgroGroup></AgroGroup></AgroGroups>
  </NaturalAgriculturalsDistrict>
 </NormativValuation></Lands></Objects>
</TerritorialZoneInfo></InfoPart></UkrainianCadastralExchangeFile>)");
    const QString path = dir_.File("loaded нго.xml");
    WriteBytes(path, xml.toUtf8());

    TFormNGOMain w;
    ASSERT_TRUE(w.PrepareCompare(path)) << sink_.LastText().toStdString();
    EXPECT_FALSE(w.Button("BCompareZagalni")->isHidden());
    EXPECT_TRUE(w.Button("BApplyZagalni")->isHidden());
    EXPECT_TRUE(w.Button("BOpenZemXML")->isHidden());
    EXPECT_TRUE(w.Button("BOpenNGOXML")->isHidden());
    EXPECT_TRUE(w.Button("BCreateFile")->isHidden());
    EXPECT_FALSE(w.Button("BUpdateFile")->isHidden());
    EXPECT_EQ(w.RowValue("NxItemYear"), "2024");
    EXPECT_EQ(w.RowValue("NxItemAddrNP"), "(с. Борова)");
    EXPECT_EQ(w.Edit("EKm1ValuePrev")->text(), "1.2");
    EXPECT_FALSE(w.Edit("EKm1ValuePrev")->isHidden());
    EXPECT_EQ(w.Edit("EOcRaNoValuePrev")->text(), "1,2");
    EXPECT_EQ(w.Edit("EKm4ValuePrev")->text(), "1.0,1.1");
    EXPECT_EQ(w.Edit("EFileTerrIDPrev")->text(), "064411");
    EXPECT_FALSE(w.Edit("EFileTerrIDPrev")->isHidden());
    EXPECT_TRUE(w.Edit("EKm1ValuePrev")->toolTip() == "З файлу");
    EXPECT_FALSE(w.findChild<QTableView*>("NextGridPSRPrev")->isHidden());
    ASSERT_EQ(w.Session.PsrPrev.RowCount(), 1);
    EXPECT_TRUE(w.Session.PsrPrev.IsChecked(0));
    EXPECT_EQ(w.Session.AgroPrev.Cell(0, 1), "49");
    EXPECT_TRUE(w.findChild<QCheckBox*>("CBSrcNGOXML")->isChecked());

    w.SetRowValue("NxItemCategory", "200-землі житлової та громадської забудови");
    w.SetRowValue("NxItemCileve", "02.01");
    ASSERT_TRUE(w.ApplyGeneralData()) << sink_.LastText().toStdString();
    EXPECT_TRUE(w.PageShown(TNgoPage::End));
    EXPECT_FALSE(w.PageShown(TNgoPage::Map));
    EXPECT_EQ(w.CurrentPage(), TNgoPage::Nrd);
    // Two earlier districts: the district number comes from the previous box.
    EXPECT_EQ(w.Edit("EOcRaNoValue")->text(), "1,2");
}

} // namespace
