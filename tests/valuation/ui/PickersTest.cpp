// The codifier picker on the shipped reference database, the territory ID of the end page, and the Клк
// picker.
#include "valuation/ui/TFormNGOMain.h"
#include "valuation/ui/TFormSelectCoefKlk.h"
#include "valuation/ui/TFormSelectKatottg.h"

#include "app/ui/AppWindows.h"
#include "common/RecordingSink.h"
#include "data/TFormMain.h"
#include "support/TestSupport.h"
#include "valuation/KatottgTree.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace {

class CodifierPicker : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.CopyFromProgram("ref.db"));
        ASSERT_TRUE(dir_.CopyFromProgram("NGO.dat"));
        module_ = std::make_unique<TFormMain>();
        ASSERT_TRUE(module_->OpenReferenceDatabase()) << LastErrorText.toStdString();
    }
    // Types into the search box and presses "Знайти по ID".
    void Search(TFormSelectKatottg& picker, const QString& text) {
        picker.findChild<QLineEdit*>("ESearchText")->setText(text);
        picker.findChild<QPushButton*>("BSearchId")->click();
    }
    QString CurrentText(const TFormSelectKatottg& picker) const {
        return picker.Model()->NodeText(picker.Tree()->currentIndex());
    }
    // Presses "Обрати" while the picker runs modally; returns its result.
    int ChooseModally(TFormSelectKatottg& picker) {
        QTimer::singleShot(0, &picker, [&picker] { picker.findChild<QPushButton*>("BSelect")->click(); });
        return picker.exec();
    }

    TTestProgramDir dir_;
    TRecordingSink sink_;
    std::unique_ptr<TFormMain> module_;
};

TEST_F(CodifierPicker, FindsASettlementByItsSixDigitIdAndChoosesIt) {
    TFormSelectKatottg picker;
    EXPECT_EQ(picker.windowTitle(), "КАТОТТГ");
    ASSERT_TRUE(picker.FillTree());
    EXPECT_GT(picker.Model()->rowCount(), 20);

    Search(picker, " 084586 ");
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
    EXPECT_TRUE(CurrentText(picker).contains("084586 - Бобровиця")) << CurrentText(picker).toStdString();
    EXPECT_TRUE(CurrentText(picker).startsWith("(M)")) << CurrentText(picker).toStdString();
    // Its community is open above it.
    EXPECT_TRUE(picker.Tree()->isExpanded(picker.Tree()->currentIndex().parent()));
    EXPECT_EQ(ChooseModally(picker), QDialog::Accepted);
    EXPECT_EQ(picker.ChosenId(), "084586");

    // The chosen ID stays while the next search fails.
    Search(picker, "08458");
    EXPECT_EQ(sink_.LastText(), "ID повинен мати 6 цифр");
    EXPECT_EQ(picker.ChosenId(), "084586");
}

TEST_F(CodifierPicker, RefusesAnOblastOrNothingSelected) {
    TFormSelectKatottg picker;
    ASSERT_TRUE(picker.FillTree());
    picker.Tree()->setCurrentIndex(QModelIndex());
    picker.Choose();
    EXPECT_EQ(sink_.LastText(), "Не обрано запис.");
    picker.Tree()->setCurrentIndex(picker.Model()->index(0, 0));
    // Selecting the oblast loads its districts.
    EXPECT_FALSE(picker.Model()->HasPlaceholder(picker.Model()->index(0, 0)));
    picker.Choose();
    EXPECT_EQ(sink_.LastText(), "Деталізуйте вибір до НП або ТГ.");
    EXPECT_EQ(picker.result(), 0);
    EXPECT_TRUE(picker.ChosenId().isEmpty());
}

TEST_F(CodifierPicker, ApplyFindsTheZoneIdFromTheImportedAddressAndTheEndPageButtonsSetIt) {
    // A plot in Бобровиця (Ніжинський район), imported and applied as the engineer does it.
    QString text = QString::fromUtf8(ReadBytes(TestDataPath("valuation/parcel-6-vertices.xml")));
    text.replace("<Region>Київська область</Region>", "<Region>Чернігівська область</Region>");
    text.replace("<District>Фастівський район</District>", "<District>Ніжинський район</District>");
    text.replace("Борівська сільська рада (с. Борова)", "Бобровицька міська рада (м. Бобровиця)");
    const QString file = dir_.File("bobrovytsia.xml");
    WriteBytes(file, text.toUtf8());

    TFormSelectKatottg picker;
    AppWindows().FormSelectKatottg = &picker;
    TFormNGOMain w;
    w.InitializeWizard();
    ASSERT_TRUE(w.ImportChosenFile(TSourceKind::LandManagement, file)) << sink_.LastText().toStdString();
    w.SetRowValue("NxItemPopul", "11000");
    ASSERT_TRUE(w.ApplyGeneralData()) << sink_.LastText().toStdString();
    EXPECT_EQ(w.Edit("EFileTerrID")->text(), "084586");

    // Outside the settlement the community's ID, by the end-page button.
    w.SetRowValue("NxItemVMezhah", "За межами");
    ASSERT_TRUE(w.ApplyGeneralData());
    w.Edit("EFileTerrID")->clear();
    w.Button("BKatottgAuto")->click();
    EXPECT_EQ(w.Edit("EFileTerrID")->text(), "013413");

    // "Знайти КАТОТТГ вручну": the picker's choice goes into "ID зони".
    ASSERT_TRUE(picker.FillTree());
    Search(picker, "084586");
    QTimer::singleShot(0, &picker, [&picker] { picker.findChild<QPushButton*>("BSelect")->click(); });
    w.Button("BKatottgSelect")->click();
    EXPECT_EQ(w.Edit("EFileTerrID")->text(), "084586");
    AppWindows().FormSelectKatottg = nullptr;
}

TEST(KlkPicker, FiltersPicksACellAndChecksTheValue) {
    TTestProgramDir dir;
    ASSERT_TRUE(dir.CopyFromProgram("NGO.dat"));
    TRecordingSink sink;
    TFormSelectCoefKlk picker;
    EXPECT_EQ(picker.windowTitle(), "Довідник Клк");
    ASSERT_GT(picker.RowCount(), 5);
    const QAbstractItemModel* model = picker.Grid()->model();
    int kyiv = -1;
    for (int r = 0; r < model->rowCount(); ++r)
        if (model->index(r, 0).data().toString().toLower().contains("київ")) kyiv = r;
    ASSERT_GE(kyiv, 0);

    // Two letters do not filter; the region name does.
    picker.SetFilterText("ки");
    picker.ToggleFilter(true);
    EXPECT_TRUE(picker.RowShown(0));
    picker.SetFilterText("Київська");
    picker.ToggleFilter(true);
    EXPECT_TRUE(picker.RowShown(kyiv));
    int shown = 0;
    for (int r = 0; r < picker.RowCount(); ++r)
        shown += picker.RowShown(r) ? 1 : 0;
    EXPECT_LT(shown, picker.RowCount());
    picker.ToggleFilter(false);
    EXPECT_TRUE(picker.RowShown(0));

    picker.CellClicked(kyiv, 0);
    EXPECT_EQ(picker.Value(), "");
    picker.Choose();
    EXPECT_EQ(sink.LastText(), "Значення не обрано.");
    picker.CellClicked(kyiv, 2);
    EXPECT_EQ(picker.Value(), model->index(kyiv, 2).data().toString());
    picker.SetValue("0");
    picker.Choose();
    EXPECT_EQ(sink.LastText(), "Значення не є дійсним коефіцієнтом.");
    picker.SetValue("1,25");
    sink.Clear();
    picker.Choose();
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
}

} // namespace
