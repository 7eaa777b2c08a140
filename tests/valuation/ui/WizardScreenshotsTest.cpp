// Pictures for docs/screenshots: runs only when ZEMLYAR_SCREENSHOT_DIR names a folder and the tests run on a
// real (virtual) X display (scripts/screenshots-wizard).
#include "valuation/ui/TFormNGOMain.h"
#include "valuation/ui/TFormSelectKatottg.h"

#include "common/CodePage.h"
#include "common/RecordingSink.h"
#include "data/TFormMain.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QString ScreenshotDir() {
    const QString dir = qEnvironmentVariable("ZEMLYAR_SCREENSHOT_DIR");
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return {};
    return dir;
}

void Settle() {
    for (int i = 0; i < 30; ++i)
        QApplication::processEvents();
}

TEST(WizardScreenshots, StartPageAfterAnImportAndTheCodifierPicker) {
    const QString dir = ScreenshotDir();
    if (dir.isEmpty()) GTEST_SKIP() << "screenshots are taken by scripts/screenshots-wizard";
    TTestProgramDir program;
    ASSERT_TRUE(program.CopyFromProgram("NGO.dat"));
    ASSERT_TRUE(program.CopyFromProgram("ref.db"));
    WriteBytes(program.File("POPUL.dat"),
               ToCp1251(QStringLiteral("Борівська сільська рада\t2140\tс. Борова\r\n")));
    TRecordingSink sink;
    TFormMain data;
    ASSERT_TRUE(data.OpenReferenceDatabase());

    TFormNGOMain wizard;
    wizard.InitializeWizard();
    ASSERT_TRUE(wizard.ImportChosenFile(TSourceKind::LandManagement,
                                        TestDataPath("valuation/parcel-6-vertices.xml")));
    wizard.show();
    Settle();
    EXPECT_TRUE(wizard.grab().save(dir + "/wizard-start-after-import.png"));

    TFormSelectKatottg picker;
    ASSERT_TRUE(picker.FillTree());
    picker.show();
    picker.findChild<QLineEdit*>("ESearchText")->setText("084586");
    picker.findChild<QPushButton*>("BSearchId")->click();
    Settle();
    EXPECT_TRUE(picker.grab().save(dir + "/katottg-picker-found-by-id.png"));
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST(WizardScreenshots, ValuationAndEndPagesAfterAnApply) {
    const QString dir = ScreenshotDir();
    if (dir.isEmpty()) GTEST_SKIP() << "screenshots are taken by scripts/screenshots-wizard";
    TTestProgramDir program;
    ASSERT_TRUE(program.CopyFromProgram("NGO.dat"));
    ASSERT_TRUE(program.CopyFromProgram("ref.db"));
    WriteBytes(program.File("POPUL.dat"),
               ToCp1251(QStringLiteral("Борівська сільська рада\t2140\tс. Борова\r\n")));
    TRecordingSink sink;
    TFormMain data;
    ASSERT_TRUE(data.OpenReferenceDatabase());

    TFormNGOMain wizard;
    wizard.InitializeWizard();
    ASSERT_TRUE(wizard.ImportChosenFile(TSourceKind::LandManagement,
                                        TestDataPath("valuation/parcel-6-vertices.xml")));
    ASSERT_TRUE(wizard.ApplyGeneralData());
    wizard.show();
    wizard.ShowPage(TNgoPage::Kni);
    Settle();
    EXPECT_TRUE(wizard.grab().save(dir + "/wizard-kni-valuation.png"));
    wizard.ShowPage(TNgoPage::End);
    Settle();
    EXPECT_TRUE(wizard.grab().save(dir + "/wizard-end-summary.png"));
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.LastText().toStdString();
}

TEST(WizardScreenshots, CoefficientAndDistrictPagesAfterApply) {
    const QString dir = ScreenshotDir();
    if (dir.isEmpty()) GTEST_SKIP() << "screenshots are taken by scripts/screenshots-wizard";
    TTestProgramDir program;
    ASSERT_TRUE(program.CopyFromProgram("NGO.dat"));
    ASSERT_TRUE(program.CopyFromProgram("ref.db"));
    WriteBytes(program.File("POPUL.dat"),
               ToCp1251(QStringLiteral("Борівська сільська рада\t2140\tс. Борова\r\n")));
    TRecordingSink sink;
    TFormMain data;
    ASSERT_TRUE(data.OpenReferenceDatabase());

    TFormNGOMain wizard;
    wizard.InitializeWizard();
    ASSERT_TRUE(wizard.ImportChosenFile(TSourceKind::LandManagement,
                                        TestDataPath("valuation/parcel-6-vertices.xml")));
    wizard.show();
    Settle();
    ASSERT_TRUE(wizard.ApplyGeneralData());
    const QList<QPair<TNgoPage, QString>> shots = {
        {TNgoPage::Nrd, "wizard-nrd.png"}, {TNgoPage::Km1, "wizard-km1.png"},
        {TNgoPage::Kcp, "wizard-kcp.png"}, {TNgoPage::Kmc1, "wizard-kmc1.png"},
        {TNgoPage::Psr, "wizard-psr.png"}, {TNgoPage::Agro, "wizard-agro.png"}};
    for (const auto& [page, file] : shots) {
        wizard.ShowPage(page);
        Settle();
        EXPECT_TRUE(wizard.grab().save(dir + "/" + file));
    }
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.LastText().toStdString();
}

} // namespace
