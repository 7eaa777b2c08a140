// The whole wizard as an engineer uses it: a land-management file opened and applied, every page visited
// with "Далі", one coefficient overridden by clicking another row, the calculation following it, the end
// page filled and "Створити XML" handing the valuation to the main window, which writes the new file.
#include "valuation/ui/TFormNGOMain.h"

#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "common/RecordingSink.h"
#include "common/TextHelpers.h"
#include "exchange/ExchangeDocument.h"
#include "map/ui/TFormMapView.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"
#include "valuation/CoefficientRules.h"
#include "valuation/ui/NgoCommands.h"
#include "valuation/ui/TCoefPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void Settle() {
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

QPushButton* NextButton(TFormNGOMain& w, TNgoPage page) {
    for (QPushButton* b : w.Page(page)->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("Далі")) return b;
    return nullptr;
}

// Typing, as the keyboard sends it (Cyrillic letters included).
void TypeInto(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(e, &press);
    }
}

QString LineStartingWith(const QString& text, const QString& start) {
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (line.startsWith(start)) return line;
    return {};
}

QString ElementText(const QString& file, const QString& name) {
    ExchangeDocument doc;
    if (!doc.LoadFromFile(file)) return QStringLiteral("(unreadable)");
    const std::string n = name.toStdString();
    const pugi::xpath_node found = doc.DocumentElement().select_node(("//" + n).c_str());
    return QString::fromUtf8(found.node().text().get());
}

class WizardWalkthrough : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"NGO.dat", "IN4XMLSchema.xml"})
            ASSERT_TRUE(dir_.CopyFromProgram(QString::fromLatin1(name))) << name;
        WriteBytes(dir_.File("POPUL.dat"), ToCp1251("Борівська сільська рада\t2140\tс. Борова\r\n"));
    }
    void TearDown() override { SetNewValuationHandler({}); }
    TTestProgramDir dir_;
    TRecordingSink sink_;
};

TEST_F(WizardWalkthrough, FromTheSourceFileToTheNewValuationFile) {
    TFormXMLMain main;
    TFormMapView view;
    view.PrecisionClass = [] { return 4; };
    main.SetMapViewPort(&view);
    RegisterNgoCommands(main);

    TFormNGOMain w;
    w.InitializeWizard();
    w.show();
    Settle();
    ASSERT_TRUE(
        w.ImportChosenFile(TSourceKind::LandManagement, TestDataPath("valuation/parcel-6-vertices.xml")))
        << sink_.LastText().toStdString();
    QTest::mouseClick(w.Button("BApplyZagalni"), Qt::LeftButton);
    Settle();
    ASSERT_TRUE(sink_.messages.isEmpty()) << sink_.LastText().toStdString();
    ASSERT_EQ(w.CurrentPage(), TNgoPage::Nrd);

    // "Далі" from page to page: every page after "Старт", in the order of the tabs.
    QList<TNgoPage> visited{w.CurrentPage()};
    QString calculation;
    while (w.CurrentPage() != TNgoPage::End) {
        const TNgoPage here = w.CurrentPage();
        if (here == TNgoPage::Kni) calculation = w.CalculationMemo()->toPlainText();
        QPushButton* next = NextButton(w, here);
        ASSERT_NE(next, nullptr) << NgoPageInfo(here).Caption.toStdString();
        QTest::mouseClick(next, Qt::LeftButton);
        Settle();
        ASSERT_NE(w.CurrentPage(), here) << NgoPageInfo(here).Caption.toStdString();
        visited << w.CurrentPage();
    }
    QList<TNgoPage> all;
    for (int i = static_cast<int>(TNgoPage::Nrd); i < kNgoPageCount; ++i)
        all << static_cast<TNgoPage>(i);
    EXPECT_EQ(visited, all);
    const QString km2Before = LineStartingWith(calculation, QStringLiteral("Км2="));
    const QString totalBefore = LineStartingWith(calculation, QStringLiteral("ОЦІНКА="));
    ASSERT_FALSE(km2Before.isEmpty()) << calculation.toStdString();

    // Back to "Км2" by its tab, and another row with another value chosen by a click on its check box.
    w.PageControl()->setCurrentIndex(static_cast<int>(TNgoPage::Km2));
    Settle();
    TCoefPage* km2 = w.CoefPage(TNgoPage::Km2);
    ASSERT_NE(km2, nullptr);
    QTableView* grid = km2->Grid();
    const TCoefficientTable& table = *km2->Table();
    const int chosen = table.LastCheckedRow();
    const int valueColumn = ValueColumn(table);
    int other = -1;
    for (int r = 0; r < table.RowCount() && other < 0; ++r)
        if (r != chosen && !grid->isRowHidden(r) &&
            table.Cell(r, valueColumn) != table.Cell(chosen, valueColumn) &&
            IsNumberText(table.Cell(r, valueColumn)))
            other = r;
    ASSERT_GE(other, 0);
    const QModelIndex box = grid->model()->index(other, 0);
    grid->scrollTo(box);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(box).center());
    Settle();
    const QString km2Value = table.Cell(other, valueColumn);
    EXPECT_EQ(w.Edit("EKm2Value")->text(), km2Value);
    EXPECT_EQ(w.Edit("EKm2Ndx")->text(), QString::number(other + 1));

    // The calculation follows when its page is shown again.
    w.PageControl()->setCurrentIndex(static_cast<int>(TNgoPage::Kni));
    Settle();
    calculation = w.CalculationMemo()->toPlainText();
    EXPECT_NE(LineStartingWith(calculation, QStringLiteral("Км2=")), km2Before);
    EXPECT_NE(LineStartingWith(calculation, QStringLiteral("ОЦІНКА=")), totalBefore);

    // "Завершення": the engineer types what the file cannot give and creates the file.
    w.PageControl()->setCurrentIndex(static_cast<int>(TNgoPage::End));
    Settle();
    TypeInto(w.Edit("EFileTerrID"), QStringLiteral("UA32060050000030591"));
    TypeInto(w.Edit("EFileApproveBy"), QStringLiteral("Фастівська районна рада"));
    TypeInto(w.Edit("EFileApproveNo"), QStringLiteral("17"));
    w.findChild<QCheckBox*>("CBBlockCreateTerrZona")->setChecked(false);
    const QString km2InSummary = w.Edit("EFileKm2")->text();
    EXPECT_EQ(ParseNumber(km2InSummary, nullptr), ParseNumber(km2Value, nullptr));
    QTimer::singleShot(0, &w, [&w] { QTest::mouseClick(w.Button("BCreateFile"), Qt::LeftButton); });
    ASSERT_EQ(w.exec(), TFormNGOMain::kResultYes) << sink_.LastText().toStdString();
    ASSERT_EQ(NewValuationCommand(&w), TFormNGOMain::kResultYes);

    // The main window holds the new file with the overridden coefficient.
    ASSERT_TRUE(QFileInfo::exists(main.File.WorkingCopy)) << sink_.LastText().toStdString();
    EXPECT_EQ(ElementText(main.File.WorkingCopy, QStringLiteral("Km2")), km2InSummary);
    EXPECT_EQ(ElementText(main.File.WorkingCopy, QStringLiteral("TerritorialZoneID")),
              QStringLiteral("UA32060050000030591"));
    EXPECT_FALSE(main.NavigatorLines().isEmpty());
}

} // namespace
