#include "valuation/ui/TFormNGOMain.h"

#include "common/ui/PropertyInspector.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace {

TEST(NgoWizardWindow, HasItsPagesInOrderAndOnlyStartShownAtFirst) {
    TFormNGOMain w;
    EXPECT_EQ(w.windowTitle(), "НГО на ділянку");
    QTabWidget* tabs = w.PageControl();
    ASSERT_EQ(tabs->count(), kNgoPageCount);
    for (int i = 0; i < kNgoPageCount; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), NgoPages()[i].Name);
        EXPECT_EQ(tabs->tabText(i), NgoPages()[i].Caption);
        EXPECT_EQ(tabs->isTabVisible(i), i == 0) << i;
    }
    EXPECT_EQ(tabs->tabText(14), "Кні+Оцінка");
    EXPECT_FALSE(w.Button("BApplyZagalni")->isEnabled());
    EXPECT_FALSE(w.Button("BApplyZagalni")->isHidden());
    EXPECT_TRUE(w.Button("BCompareZagalni")->isHidden());
    EXPECT_TRUE(w.Button("BAgainZagalni")->isHidden());

    const auto* memo = w.findChild<QPlainTextEdit*>("MemoFormula");
    ASSERT_NE(memo, nullptr);
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->toPlainText().split('\n'), NgoFormulaLines());
    EXPECT_TRUE(memo->toPlainText().contains("Кмц х Кні, де \n"));
    EXPECT_TRUE(memo->toPlainText().contains("земель  за період"));

    const auto* kmc = w.findChild<QCheckBox*>("CheckBoxKmcAlways");
    ASSERT_NE(kmc, nullptr);
    EXPECT_TRUE(kmc->isChecked());
    EXPECT_EQ(kmc->toolTip(), "Визначати всі кмц , незважаючі на категорію");
}

// The wizard stands in the middle of the screen, also when the main window that owns it is elsewhere.
TEST(NgoWizardWindow, IsCentredOnTheScreen) {
    QWidget owner;
    owner.setGeometry(0, 0, 300, 200);
    owner.show();
    TFormNGOMain w(&owner);
    EXPECT_EQ(w.size(), QSize(970, 660));
    EXPECT_EQ(w.minimumSize(), QSize(600, 400));
    w.show();
    QApplication::processEvents();
    // A few pixels of window frame aside, the middles meet.
    const QPoint middle = w.screen()->availableGeometry().center();
    EXPECT_LE((w.geometry().center() - middle).manhattanLength(), 10);
}

// Кцп and Кні are shown but not written: both pages say so beside their value boxes.
TEST(NgoWizardWindow, ValuesThatAreNotWrittenSaySoBesideTheirBoxes) {
    TFormNGOMain w;
    for (const TNgoPage page : {TNgoPage::Kcp, TNgoPage::Kni}) {
        QStringList labels;
        for (const QLabel* l : w.Page(page)->findChildren<QLabel*>())
            labels << l->text();
        EXPECT_TRUE(labels.contains("(у файл не заноситься)")) << NgoPageInfo(page).Caption.toStdString();
    }
}

TEST(NgoWizardWindow, GeneralDataRowsWithTheirInitialValues) {
    TFormNGOMain w;
    TPropertyInspector* g = w.GeneralData();
    ASSERT_EQ(g->objectName(), "NextGridZagalni");
    const QStringList names = {"NxItemZag",       "NxItemSQ",        "NxItemKoatuu",     "NxItemAddrObl",
                               "NxItemAddrRaion", "NxItemAddrRada",  "NxItemAddrNP",     "NxItemVMezhah",
                               "NxItemCenterTG",  "NxItemPopul",     "NxItemCategory",   "NxItemCileve",
                               "NxItemYear",      "NxItemVydSilhoz", "NxItemVydVodnogo", "NxItemVydLisnogo"};
    ASSERT_EQ(g->Rows().size(), names.size());
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(g->Rows()[i]->objectName(), names[i]);
    EXPECT_EQ(g->Row("NxItemZag")->Kind(), TInspectorKind::Header);
    EXPECT_FALSE(g->Row("NxItemZag")->Item()->flags() & Qt::ItemIsEditable);
    // Every data row can be edited (the heading above them does not disable them).
    for (TInspectorRow* row : g->Rows().mid(1)) {
        EXPECT_TRUE(row->Item()->flags() & Qt::ItemIsEditable) << row->objectName().toStdString();
        EXPECT_FALSE(row->Item()->isDisabled()) << row->objectName().toStdString();
    }
    EXPECT_EQ(g->Value("NxItemSQ"), " ");
    EXPECT_EQ(g->Value("NxItemYear"), "2026");
    EXPECT_EQ(g->Value("NxItemVydSilhoz"), "несільськогосподарські угіддя");
    EXPECT_EQ(g->Row("NxItemCategory")->Items().size(), 9);
    EXPECT_EQ(g->Row("NxItemYear")->Items().first(), "2022");
    EXPECT_EQ(g->Row("NxItemYear")->Items().last(), "2035");
    EXPECT_EQ(g->Row("NxItemVydVodnogo")->Caption(), "Вид водного об'єкта");
}

TEST(NgoWizardWindow, ModesPutTheirApplyButtonInPlace) {
    TFormNGOMain compare;
    compare.SetMode(kModeCompare);
    EXPECT_TRUE(compare.Button("BApplyZagalni")->isHidden());
    EXPECT_FALSE(compare.Button("BCompareZagalni")->isHidden());
    TFormNGOMain again;
    again.SetMode(kModeAgain);
    EXPECT_FALSE(again.Button("BAgainZagalni")->isHidden());
    EXPECT_TRUE(again.Button("BCompareZagalni")->isHidden());
}

TEST(NgoWizardWindow, TabCaptionTurnsRedWhileItsValueIsMissing) {
    TFormNGOMain w;
    const QColor red(Qt::red);
    EXPECT_EQ(w.PageCaptionColor(TNgoPage::Km1), red);
    EXPECT_NE(w.PageCaptionColor(TNgoPage::Start), red);
    w.Edit("EKm1Value")->setText("1,0");
    EXPECT_NE(w.PageCaptionColor(TNgoPage::Km1), red);
    w.Edit("EKm1Value")->setText("декілька");
    EXPECT_EQ(w.PageCaptionColor(TNgoPage::Km1), red);
    // The district page needs all three values.
    w.Edit("EKlkValue")->setText("1.2");
    w.Edit("EKm4Value")->setText("1,0");
    EXPECT_EQ(w.PageCaptionColor(TNgoPage::OcRa), red);
    w.Edit("EOcRaNoValue")->setText("1");
    EXPECT_NE(w.PageCaptionColor(TNgoPage::OcRa), red);
}

// No caption of the general data is cut off: the names column is as wide as its longest caption.
TEST(NgoWizardWindow, GeneralDataCaptionsAreShownInFull) {
    TFormNGOMain w;
    w.show();
    TPropertyInspector* g = w.GeneralData();
    EXPECT_GE(g->columnWidth(0), 150);
    for (TInspectorRow* row : g->Rows()) {
        QTreeWidgetItem* item = row->Item();
        const QRect rect = g->visualItemRect(item);
        QFont f = g->font();
        if (row->Kind() == TInspectorKind::Header) f.setBold(true);
        const int room = item->isFirstColumnSpanned() ? rect.width() : g->columnWidth(0) - rect.left();
        EXPECT_LE(QFontMetrics(f).horizontalAdvance(row->Caption()), room) << row->objectName().toStdString();
    }
}

} // namespace
