#include "common/RecordingSink.h"
#include "common/ui/BalloonHint.h"
#include "common/ui/PropertyInspector.h"
#include "common/ui/WrapHeaderView.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

TEST(PropertyInspector, RowsAreFoundByNameAndGroupedUnderHeaders) {
    TPropertyInspector insp;
    insp.AddRow("NxItemSQ", "Площа, га", TInspectorKind::Text, "0.25");
    insp.AddRow("NxItemAddr", "Адреса ділянки:", TInspectorKind::Header);
    TInspectorRow* obl =
        insp.AddRow("NxItemAddrObl", "Область", TInspectorKind::Combo, "", {"Київська", "Львівська"});
    TInspectorRow* date = insp.AddRow("NxItemOcDate", "Дата оцінки", TInspectorKind::Date);
    ASSERT_EQ(insp.findChild<TInspectorRow*>("NxItemAddrObl"), obl);
    EXPECT_EQ(insp.topLevelItemCount(), 2);
    EXPECT_EQ(obl->Item()->parent(), insp.Row("NxItemAddr")->Item());
    EXPECT_EQ(insp.Value("NxItemSQ"), "0.25");
    EXPECT_EQ(date->Item()->text(1), "Немає"); // an empty date
    date->SetValue("27.05.2026");
    EXPECT_EQ(date->Item()->text(1), "27.05.2026");
    EXPECT_EQ(InspectorDate(date->Value()), QDate(2026, 5, 27));
    EXPECT_FALSE(insp.Row("NxItemAddr")->Item()->flags() & Qt::ItemIsEditable);
}

TEST(PropertyInspector, EditorsFollowTheRowKind) {
    TPropertyInspector insp;
    insp.resize(400, 300);
    insp.show();
    QList<TInspectorRow*> changed;
    QList<TInspectorRow*> closed;
    QObject::connect(&insp, &TPropertyInspector::ValueChanged, [&](TInspectorRow* r) { changed << r; });
    QObject::connect(&insp, &TPropertyInspector::ListClosed, [&](TInspectorRow* r) { closed << r; });
    TInspectorRow* text = insp.AddRow("NxItemNazva", "Назва об'єкта", TInspectorKind::Text);
    TInspectorRow* combo =
        insp.AddRow("NxItemAddrRada", "Рада/ОТГ", TInspectorKind::Combo, "", {"Бучанська", "Ірпінська"});
    TInspectorRow* fixed = insp.AddRow("NxItemVlasnist", "Власність", TInspectorKind::FixedList, "Комунальна",
                                       {"Приватна", "Комунальна", "Державна"});
    TInspectorRow* date = insp.AddRow("NxItemOcDate", "Дата оцінки", TInspectorKind::Date);
    TInspectorRow* button = insp.AddRow("NxItemKoatuu", "КОАТУУ", TInspectorKind::Button, "3221000000");
    TInspectorRow* locked = insp.AddRow("NxItemID", "Код", TInspectorKind::Text, "17");
    locked->SetReadOnly(true);

    insp.EditRow(text);
    auto* line = insp.findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "AZS");
    QTest::keyClick(line, Qt::Key_Return);
    QApplication::processEvents(); // the delegate commits on a queued call
    EXPECT_EQ(text->Value(), "AZS");
    EXPECT_EQ(changed, QList<TInspectorRow*>({text}));

    insp.EditRow(combo);
    auto* box = insp.findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isEditable());
    EXPECT_EQ(box->count(), 2);
    box->setCurrentIndex(1);
    emit box->activated(1);
    EXPECT_EQ(combo->Value(), "Ірпінська");
    EXPECT_EQ(closed, QList<TInspectorRow*>({combo}));
    insp.closePersistentEditor(combo->Item(), 1);

    insp.EditRow(fixed);
    QComboBox* fixedBox = nullptr;
    for (QComboBox* b : insp.findChildren<QComboBox*>())
        if (!b->isEditable()) fixedBox = b;
    ASSERT_NE(fixedBox, nullptr);
    EXPECT_EQ(fixedBox->currentText(), "Комунальна");

    insp.EditRow(date);
    auto* dateEdit = insp.findChild<QDateEdit*>();
    ASSERT_NE(dateEdit, nullptr);
    EXPECT_EQ(dateEdit->text(), "Немає");
    dateEdit->setDate(QDate(2026, 1, 15));
    insp.EditRow(text); // committing the date editor
    EXPECT_EQ(date->Value(), "15.01.2026");

    int clicks = 0;
    QObject::connect(&insp, &TPropertyInspector::ButtonClicked, [&](TInspectorRow* r) {
        ++clicks;
        r->SetValue("3222000000");
    });
    insp.EditRow(button);
    QToolButton* dots = nullptr;
    for (QToolButton* b : insp.findChildren<QToolButton*>())
        if (b->text() == "...") dots = b;
    ASSERT_NE(dots, nullptr);
    dots->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->Value(), "3222000000");

    const int editorsBefore = insp.findChildren<QLineEdit*>().size();
    insp.EditRow(locked); // a read-only row opens no editor
    EXPECT_EQ(insp.findChildren<QLineEdit*>().size(), editorsBefore);
    EXPECT_EQ(locked->Value(), "17");
}

TEST(WrapHeader, LongCaptionsWrapIntoATallerHeader) {
    QStandardItemModel model(2, 2);
    model.setHorizontalHeaderLabels(
        {"№", "Коефіцієнт, що характеризує місце розташування земельної ділянки"});
    QTableView view;
    auto* header = new TWrapHeaderView(Qt::Horizontal, &view);
    view.setHorizontalHeader(header);
    view.setModel(&model);
    view.setColumnWidth(1, 400);
    const int wide = header->WrappedHeight();
    view.setColumnWidth(1, 90);
    const int narrow = header->WrappedHeight();
    EXPECT_GT(narrow, wide);
    EXPECT_GE(narrow, 3 * header->fontMetrics().height());
    EXPECT_EQ(header->sizeHint().height(), narrow);
}

TEST(Balloon, ShowsTitleAndTextAndHidesOnClick) {
    TBalloonHint balloon;
    balloon.ShowAt(QPoint(100, 100), "Увага", "Не уведено значення.", true, false);
    EXPECT_TRUE(balloon.isVisible());
    QTest::mouseClick(&balloon, Qt::LeftButton);
    EXPECT_FALSE(balloon.isVisible());
}

} // namespace
