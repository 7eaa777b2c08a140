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

// The generated parcel imported into a wizard over the shipped tables and reference database.
class WizardScreenshots : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ScreenshotDir();
        if (dir.isEmpty()) GTEST_SKIP() << "screenshots are taken by scripts/screenshots-wizard";
        ASSERT_TRUE(program.CopyFromProgram("NGO.dat"));
        ASSERT_TRUE(program.CopyFromProgram("ref.db"));
        WriteBytes(program.File("POPUL.dat"),
                   ToCp1251(QStringLiteral("Борівська сільська рада\t2140\tс. Борова\r\n")));
        ASSERT_TRUE(data.OpenReferenceDatabase());
        wizard.InitializeWizard();
        ASSERT_TRUE(wizard.ImportChosenFile(TSourceKind::LandManagement,
                                            TestDataPath("valuation/parcel-6-vertices.xml")));
    }
    QString dir;
    TTestProgramDir program;
    TRecordingSink sink;
    TFormMain data;
    TFormNGOMain wizard;
};

TEST_F(WizardScreenshots, StartPageAfterAnImportAndTheCodifierPicker) {
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

TEST_F(WizardScreenshots, ValuationAndEndPagesAfterAnApply) {
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

TEST_F(WizardScreenshots, CoefficientAndDistrictPagesAfterApply) {
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
