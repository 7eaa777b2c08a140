// The coefficient and district pages after an Apply on a generated parcel: what the automatic choice shows,
// hand choices by row and by cell, show-all, the filter, the saved Клс choice and the agro row.
#include "valuation/ui/TCoefPage.h"

#include "common/CodePage.h"
#include "common/RecordingSink.h"
#include "common/ui/GridColumns.h"
#include "common/ui/WrapHeaderView.h"
#include "support/TestSupport.h"
#include "valuation/ui/TFormNGOMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

void Settle() {
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

class CoefPages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.CopyFromProgram("NGO.dat"));
        WriteBytes(dir_.File("POPUL.dat"),
                   ToCp1251(QStringLiteral("Борівська сільська рада\t2140\tс. Борова\r\n")));
        w_ = std::make_unique<TFormNGOMain>();
        w_->InitializeWizard();
        ASSERT_TRUE(w_->ImportChosenFile(TSourceKind::LandManagement,
                                         TestDataPath("valuation/parcel-6-vertices.xml")));
        w_->show();
        Settle();
        Apply();
    }
    void Apply() {
        sink_.Clear();
        ASSERT_TRUE(w_->ApplyGeneralData()) << sink_.LastText().toStdString();
        Settle();
    }
    TCoefPage* Open(TNgoPage page) {
        w_->ShowPage(page);
        Settle();
        TCoefPage* p = w_->CoefPage(page);
        EXPECT_NE(p, nullptr);
        return p;
    }
    QString Text(const char* box) const { return w_->Edit(QString::fromLatin1(box))->text(); }
    static void Click(QTableView* v, int row, int column) {
        const QModelIndex at = v->model()->index(row, column);
        v->scrollTo(at);
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, v->visualRect(at).center());
        Settle();
    }
    static int VisibleRows(QTableView* v) {
        int n = 0;
        for (int r = 0; r < v->model()->rowCount(); ++r)
            n += v->isRowHidden(r) ? 0 : 1;
        return n;
    }

    TTestProgramDir dir_;
    TRecordingSink sink_;
    std::unique_ptr<TFormNGOMain> w_;
};

TEST_F(CoefPages, TheAutomaticChoiceIsShownCheckedScrolledAndInTheBoxes) {
    // The generated parcel: category 200 in the settlement, Київська область, Фастівський район,
    // Борівська сільська рада, 2140 inhabitants, purpose 02.01.
    struct TCase {
        TNgoPage page;
        const char* grid;
        const char* value;
        const char* valueBox;
        const char* rowBox;
        const char* rowText;
        const char* filter; // nullptr: the page has no filter
    };
    const TCase cases[] = {
        {TNgoPage::Nrd, "NextGridNrd", "140", "ENrdValue", "ENrdNdx", "4", nullptr},
        {TNgoPage::Km1, "NextGridKm1", "1,0", "EKm1Value", "EKm1Ndx", "1", "борівська"},
        {TNgoPage::Km3, "NextGridKm3", "1,0", "EKm3Value", "EKm3Ndx", "1", nullptr},
        {TNgoPage::Kcp, "NextGridKcp", "1.0", "EKcpValue", "EKcpNdx", "20", "02.01"},
        {TNgoPage::Kmc1, "NextGridKmc1", "1.52", "EKmc1Value", "EKmc1Ndx", "9x4", "київська"},
        {TNgoPage::KmcI, "NextGridKmcI", "1.41", "EKmcIValue", "EKmcINdx", "9", "київська"},
        {TNgoPage::Kls, "NextGridKls", "1.33", "EKlsValue", "EKlsNdx", "53", "фастівський"},
        {TNgoPage::OcRa, "NextGridKlk", "1.58", "EKlkValue", "EKlkNdx", "9x1", "київська"},
        {TNgoPage::Psr, "NextGridPSR", "Фастівський (П-7)", "EPSRValue", "EPSRNdx", "53", "фастівськ"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(NgoPageInfo(c.page).Caption.toStdString());
        TCoefPage* page = Open(c.page);
        ASSERT_NE(page, nullptr);
        QTableView* grid = page->Grid(QString::fromLatin1(c.grid));
        ASSERT_NE(grid, nullptr);
        auto* table = static_cast<TCoefficientTable*>(grid->model());
        EXPECT_EQ(Text(c.valueBox), QString::fromUtf8(c.value));
        const QString rowText = Text(c.rowBox);
        if (*c.rowText) EXPECT_EQ(rowText, QString::fromLatin1(c.rowText));
        ASSERT_FALSE(rowText.isEmpty());
        // The chosen row (and cell) is marked, highlighted and scrolled into view.
        const QStringList parts = rowText.split('x');
        const int row = parts[0].toInt() - 1;
        QModelIndex chosen;
        if (table->IsCheckBoxTable()) {
            EXPECT_EQ(table->CheckedCount(), 1);
            EXPECT_TRUE(table->IsChecked(row));
            chosen = table->index(row, 1);
        } else {
            ASSERT_EQ(parts.size(), 2);
            chosen = table->index(row, parts[1].toInt());
            EXPECT_EQ(chosen.data().toString(), Text(c.valueBox));
        }
        EXPECT_EQ(grid->currentIndex(), chosen);
        EXPECT_TRUE(grid->selectionModel()->isSelected(chosen));
        EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(chosen).center()));
        if (c.filter) {
            ASSERT_NE(page->FilterBox(), nullptr);
            EXPECT_EQ(page->FilterBox()->text(), QString::fromUtf8(c.filter));
            EXPECT_FALSE(page->FilterButton()->isChecked());
        } else {
            EXPECT_EQ(page->FilterBox(), nullptr);
        }
        if (page->ShowAllButton()) EXPECT_TRUE(page->ShowAllButton()->isHidden());
    }
    EXPECT_EQ(Text("ENrdDodatok"), "дод.1");
    EXPECT_TRUE(w_->CoefPage(TNgoPage::Nrd)->Nrd2Panel()->isHidden());
    EXPECT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
}

// Every caption fits its column (no word wider than the column, the header tall enough for the wrapped
// text) and no grid needs a horizontal scroll bar at the window's first size.
TEST_F(CoefPages, CaptionsFitAndTheGridsFitTheWindow) {
    for (const TPageLayout& layout : PageLayouts()) {
        TCoefPage* page = Open(layout.Page);
        ASSERT_NE(page, nullptr);
        for (int g = 0; g < layout.Grids.size(); ++g) {
            QTableView* grid = page->Grid(g);
            if (!grid->isVisible()) continue;
            SCOPED_TRACE(grid->objectName().toStdString());
            auto* header = qobject_cast<TWrapHeaderView*>(grid->horizontalHeader());
            ASSERT_NE(header, nullptr);
            const QFontMetrics fm = header->fontMetrics();
            for (int c = 0; c < grid->model()->columnCount(); ++c) {
                const QString caption = grid->model()->headerData(c, Qt::Horizontal).toString();
                for (const QString& word :
                     caption.split(QRegularExpression("\\s+|(?<=-)"), Qt::SkipEmptyParts))
                    EXPECT_LE(fm.horizontalAdvance(word) + 8, grid->columnWidth(c))
                        << c << " " << word.toStdString();
                EXPECT_GE(header->height(),
                          CaptionLines(fm, caption, grid->columnWidth(c)) * fm.lineSpacing())
                    << c;
            }
            EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());
        }
    }
}

TEST_F(CoefPages, ClickingARowOrACellChangesTheValue) {
    // Км1: another row by its check box, then the same row again clears the choice.
    TCoefPage* km1 = Open(TNgoPage::Km1);
    QTableView* grid = km1->Grid();
    auto* table = static_cast<TCoefficientTable*>(grid->model());
    // The grid highlights exactly the checked row: the new one, and none once it is unchecked.
    auto highlighted = [grid] {
        QList<int> rows;
        for (const QModelIndex& i : grid->selectionModel()->selectedRows())
            rows << i.row();
        return rows;
    };
    ASSERT_EQ(highlighted(), QList<int>{0}); // the automatic "1,0" row
    Click(grid, 1, 0);
    EXPECT_EQ(Text("EKm1Value"), "1.15");
    EXPECT_EQ(Text("EKm1Ndx"), "2");
    EXPECT_EQ(table->CheckedCount(), 1);
    EXPECT_TRUE(table->IsChecked(1));
    EXPECT_EQ(w_->Session.Boxes.Km1.Value, "1.15");
    EXPECT_EQ(highlighted(), QList<int>{1});
    Click(grid, 1, 0);
    EXPECT_EQ(Text("EKm1Value"), "");
    EXPECT_EQ(Text("EKm1Ndx"), "");
    EXPECT_EQ(table->CheckedCount(), 0);
    EXPECT_TRUE(highlighted().isEmpty());
    EXPECT_EQ(w_->PageCaptionColor(TNgoPage::Km1), QColor(Qt::red));
    // A click on the text of a row chooses nothing.
    Click(grid, 2, 2);
    EXPECT_EQ(table->CheckedCount(), 0);

    // Кмц1: a cell; the name column does nothing.
    TCoefPage* kmc1 = Open(TNgoPage::Kmc1);
    Click(kmc1->Grid(), 2, 5);
    EXPECT_EQ(Text("EKmc1Value"), "1.67");
    EXPECT_EQ(Text("EKmc1Ndx"), "3x5");
    Click(kmc1->Grid(), 4, 0);
    EXPECT_EQ(Text("EKmc1Value"), "1.67");
    EXPECT_EQ(Text("EKmc1Ndx"), "3x5");

    // Клк on "Оц.р-ни": the exploitation-forest column.
    TCoefPage* ocRa = Open(TNgoPage::OcRa);
    Click(ocRa->Grid(), 0, 2);
    EXPECT_EQ(Text("EKlkValue"), "0.81");
    EXPECT_EQ(Text("EKlkNdx"), "1x2");
}

TEST_F(CoefPages, ShowAllBringsBackTheRowsOfACoefficientThatDoesNotApply) {
    w_->SetRowValue("NxItemCategory", "100-землі сільськогосподарського призначення");
    w_->SetRowValue("NxItemCileve", "01.01");
    w_->KmcAlwaysBox()->setChecked(false);
    Apply();
    TCoefPage* km2 = Open(TNgoPage::Km2);
    EXPECT_EQ(Text("EKm2Value"), "1,0");
    EXPECT_EQ(Text("EKm2Ndx"), "0");
    EXPECT_EQ(VisibleRows(km2->Grid()), 0);
    ASSERT_FALSE(km2->ShowAllButton()->isHidden());
    km2->FilterButton()->setChecked(true); // "ско" is not in the filter box; the text there is short
    km2->ShowAllButton()->click();
    EXPECT_EQ(VisibleRows(km2->Grid()), km2->Grid()->model()->rowCount());
    EXPECT_FALSE(km2->FilterButton()->isChecked());

    TCoefPage* kmcI = Open(TNgoPage::KmcI);
    EXPECT_FALSE(kmcI->NotApplicableLabel()->isHidden());
    EXPECT_EQ(kmcI->NotApplicableLabel()->text(), "Не застосовується згідно категорії");
    EXPECT_EQ(Text("EKmcINdx"), "0");
    // Appendix 2 for agricultural land, in its panel.
    TCoefPage* nrd = Open(TNgoPage::Nrd);
    EXPECT_FALSE(nrd->Nrd2Panel()->isHidden());
    EXPECT_EQ(Text("ENrdDodatok"), "дод.2");
    EXPECT_EQ(nrd->Grid(1)->currentIndex().row(), 0);
}

TEST_F(CoefPages, TheFilterNarrowsTheRowsAndReleasingItBringsThemBack) {
    TCoefPage* kls = Open(TNgoPage::Kls);
    QTableView* grid = kls->Grid();
    const int all = grid->model()->rowCount();
    kls->FilterBox()->setText("Київська обл");
    kls->FilterButton()->click();
    EXPECT_TRUE(kls->FilterButton()->isChecked());
    EXPECT_EQ(VisibleRows(grid), 7);
    // Two letters do not filter: the toggle stays released and the rows stay as they are.
    kls->FilterButton()->click();
    EXPECT_EQ(VisibleRows(grid), all);
    kls->FilterBox()->setText("фа");
    kls->FilterButton()->click();
    EXPECT_FALSE(kls->FilterButton()->isChecked());
    EXPECT_EQ(VisibleRows(grid), all);
    // Released, the grid is back at its chosen row.
    const QModelIndex chosen = grid->currentIndex();
    ASSERT_TRUE(chosen.isValid());
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(chosen).center()));
}

TEST_F(CoefPages, SaveKlsChoiceIsUsedByTheNextApply) {
    TCoefPage* kls = Open(TNgoPage::Kls);
    QTableView* grid = kls->Grid();
    auto* table = static_cast<TCoefficientTable*>(grid->model());
    Click(grid, 2, 0);
    ASSERT_TRUE(table->IsChecked(2));
    const QString unit = table->Cell(2, 1);
    sink_.Clear();
    ASSERT_NE(kls->SaveKlsButton(), nullptr);
    EXPECT_EQ(kls->SaveKlsButton()->toolTip(), "Зберегти значення як за замовчування");
    kls->SaveKlsButton()->click();
    EXPECT_EQ(sink_.Texts(), QStringList{"Збережено \"" + unit + "\""});
    EXPECT_EQ(ReadKlsDefault(dir_.File("NGO.dat")), std::optional<QString>(unit));
    Apply();
    EXPECT_EQ(Text("EKlsNdx"), "3");
    EXPECT_TRUE(table->IsChecked(2));
    // The filter box keeps the district's text.
    EXPECT_EQ(kls->FilterBox()->text(), "фастівський");
}

TEST_F(CoefPages, ADistrictCheckedByHandFillsTheAgroRow) {
    TCoefPage* psr = Open(TNgoPage::Psr);
    QTableView* grid = psr->Grid();
    const QAbstractItemModel* agro = w_->CoefPage(TNgoPage::Agro)->Grid()->model();
    auto agroScores = [agro] {
        QStringList s;
        for (int c = 3; c <= 6; ++c)
            s << agro->index(0, c).data().toString();
        return s;
    };
    EXPECT_EQ(agroScores(), (QStringList{"36", "21", "49", "47"}));
    Click(grid, 0, 0);
    EXPECT_EQ(Text("EPSRValue"), "Вінницький (П-1)");
    EXPECT_EQ(Text("EPSRValue2"), "1");
    EXPECT_EQ(Text("EPSRNdx"), "1");
    EXPECT_EQ(agroScores(), (QStringList{"29", "44", "42", "51"}));
    Click(grid, 0, 0);
    EXPECT_EQ(Text("EPSRValue"), "");
    EXPECT_EQ(Text("EPSRValue2"), "");
    EXPECT_EQ(agroScores(), (QStringList{"", "", "", ""}));

    // The agro group's code column keeps the code of the chosen entry.
    TCoefPage* agroPage = Open(TNgoPage::Agro);
    QTableView* agroGrid = agroPage->Grid();
    const QModelIndex code = agroGrid->model()->index(0, 1);
    agroGrid->setCurrentIndex(code);
    agroGrid->edit(code);
    Settle();
    auto* combo = agroGrid->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 85);
    EXPECT_EQ(combo->currentText(), "-");
    combo->setCurrentIndex(1);
    EXPECT_EQ(combo->currentText(), "49-Черноземы оподзоленные и реградированные слабосмытые");
    emit combo->activated(1);
    Settle();
    EXPECT_EQ(code.data().toString(), "49");
    EXPECT_EQ(w_->Session.Agro.Cell(0, 1), "49");
}

// The earlier valuation's district grid is only looked at: its check box does not toggle.
TEST_F(CoefPages, PreviousDistrictGridIsReadOnlyWithWrappedCaptions) {
    w_->Session.PsrPrev.AppendRow(w_->Session.Tables.Psr.RowCells(52));
    w_->Session.PsrPrev.SetChecked(0, true);
    auto* prev = w_->findChild<QTableView*>("NextGridPSRPrev");
    ASSERT_NE(prev, nullptr);
    prev->setVisible(true);
    Open(TNgoPage::Psr);
    EXPECT_NE(qobject_cast<TWrapHeaderView*>(prev->horizontalHeader()), nullptr);
    Click(prev, 0, 0);
    EXPECT_TRUE(w_->Session.PsrPrev.IsChecked(0));
    EXPECT_EQ(Text("EPSRValue"), "Фастівський (П-7)");
    for (int c = 0; c < prev->model()->columnCount(); ++c)
        EXPECT_EQ(prev->columnWidth(c), Open(TNgoPage::Psr)->Grid()->columnWidth(c)) << c;
}

} // namespace
