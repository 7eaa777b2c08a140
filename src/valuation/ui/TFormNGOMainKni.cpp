// The page "Кні+Оцінка" of the valuation wizard: the indexation list, Кні and the calculation text.
#include "valuation/ui/TFormNGOMain.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString CellText(const QTableWidget* list, int row, int column) {
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text().trimmed() : QString();
}

} // namespace

void TFormNGOMain::BuildKniPage(QWidget* page) {
    auto* lay = new QVBoxLayout(page);

    auto* note = new QPlainTextEdit(page);
    note->setObjectName(QStringLiteral("MemoKni"));
    note->setReadOnly(true);
    note->setPlainText(
        QStringLiteral("Кні - добуток коефіцієнтів індексації нормативної грошової оцінки земель за період "
                       "від затвердження нормативу капіталізованого рентного доходу до дати проведення "
                       "оцінки.\nОцінка буде обрахована за зазначеними коефіцієнтами."));
    note->setMaximumHeight(64);
    lay->addWidget(note);

    auto* body = new QHBoxLayout();
    lay->addLayout(body, 1);

    auto* years = new QGroupBox(QStringLiteral("Коефіціенти індексації"), page);
    years->setObjectName(QStringLiteral("PanelYearsKni"));
    auto* yearsLay = new QVBoxLayout(years);
    ListYearsKni = new QTableWidget(0, 2, years);
    ListYearsKni->setObjectName(QStringLiteral("ListYearsKni"));
    ListYearsKni->setHorizontalHeaderLabels({QStringLiteral("Рік"), QStringLiteral("Значення")});
    ListYearsKni->verticalHeader()->setVisible(false);
    ListYearsKni->verticalHeader()->setDefaultSectionSize(20);
    ListYearsKni->horizontalHeader()->setStretchLastSection(true);
    ListYearsKni->setColumnWidth(0, 70);
    ListYearsKni->setMinimumWidth(200);
    yearsLay->addWidget(ListYearsKni, 1);
    // Every edit reaches the session at once, so that "Перерах. Кні" and "Зберегти" see it.
    connect(ListYearsKni, &QTableWidget::itemChanged, this, [this] {
        if (fillingYears_) return;
        Session.IndexationList = IndexationListShown();
        // One empty row at the end takes a new year.
        const int last = ListYearsKni->rowCount() - 1;
        if (last >= 0 && CellText(ListYearsKni, last, 0).isEmpty() &&
            CellText(ListYearsKni, last, 1).isEmpty())
            return;
        fillingYears_ = true;
        ListYearsKni->insertRow(last + 1);
        ListYearsKni->setItem(last + 1, 0, new QTableWidgetItem());
        ListYearsKni->setItem(last + 1, 1, new QTableWidgetItem());
        fillingYears_ = false;
    });
    auto* listButtons = new QHBoxLayout();
    auto* save = new QPushButton(QStringLiteral("Зберегти"), years);
    save->setObjectName(QStringLiteral("BSaveYearsKni"));
    save->setToolTip(QStringLiteral("Зберегти список"));
    auto* recalc = new QPushButton(QStringLiteral("Перерах. Кні"), years);
    recalc->setObjectName(QStringLiteral("BRecalcKni"));
    recalc->setToolTip(QStringLiteral("Перерахувати Кні"));
    for (QPushButton* b : {save, recalc}) {
        buttons_.insert(b->objectName(), b);
        listButtons->addWidget(b);
    }
    yearsLay->addLayout(listButtons);
    connect(save, &QPushButton::clicked, this, &TFormNGOMain::SaveIndexationList);
    connect(recalc, &QPushButton::clicked, this, &TFormNGOMain::RecomputeKni);
    body->addWidget(years);

    MemoCalculation = new QPlainTextEdit(page);
    MemoCalculation->setObjectName(QStringLiteral("MemoCalculation"));
    MemoCalculation->setReadOnly(true);
    MemoCalculation->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoCalculation->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MemoCalculation->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MemoCalculation->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    body->addWidget(MemoCalculation, 1);

    auto* panel = new QHBoxLayout();
    lay->addLayout(panel);
    panel->addWidget(new QLabel(QStringLiteral("Кні="), page));
    QLineEdit* value = AddEdit(page, QStringLiteral("EKniValue"), false);
    value->setMaximumWidth(120);
    connect(value, &QLineEdit::textEdited, this,
            [this](const QString& text) { Session.Boxes.KniValue = text; });
    panel->addWidget(value);
    // Кні is part of the calculation only; the exchange file does not receive it.
    panel->addWidget(new QLabel(QStringLiteral("(у файл не заноситься)"), page));
    QLineEdit* formula = AddEdit(page, QStringLiteral("EKniFormula"), true);
    formula->setVisible(false);
    panel->addWidget(formula);
    auto* refresh = new QPushButton(QStringLiteral("Оновити розрахунок"), page);
    refresh->setObjectName(QStringLiteral("BRefreshCalculation"));
    buttons_.insert(refresh->objectName(), refresh);
    connect(refresh, &QPushButton::clicked, this, &TFormNGOMain::RefreshCalculation);
    panel->addWidget(refresh);
    panel->addStretch(1);
    auto* next = new QPushButton(QStringLiteral("Далі"), page);
    next->setObjectName(QStringLiteral("BNext18Kni"));
    buttons_.insert(next->objectName(), next);
    connect(next, &QPushButton::clicked, this, &TFormNGOMain::NextPage);
    panel->addWidget(next);

    // The calculation is rebuilt every time the page is shown.
    connect(NxPageControl1, &QTabWidget::currentChanged, this, [this, page](int index) {
        if (NxPageControl1->widget(index) != page || !Session.Initialized) return;
        ShowIndexationList();
        RefreshCalculation();
    });
}

void TFormNGOMain::ShowIndexationList() {
    fillingYears_ = true;
    ListYearsKni->setRowCount(0);
    QStringList lines = Session.IndexationList;
    lines << QString(); // the row for a new year
    ListYearsKni->setRowCount(static_cast<int>(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const QString& line = lines[r];
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        ListYearsKni->setItem(r, 0, new QTableWidgetItem(eq < 0 ? line : line.left(eq)));
        ListYearsKni->setItem(r, 1, new QTableWidgetItem(eq < 0 ? QString() : line.mid(eq + 1)));
    }
    fillingYears_ = false;
}

QStringList TFormNGOMain::IndexationListShown() const {
    QStringList lines;
    for (int r = 0; r < ListYearsKni->rowCount(); ++r) {
        const QString year = CellText(ListYearsKni, r, 0);
        const QString value = CellText(ListYearsKni, r, 1);
        if (year.isEmpty() && value.isEmpty()) continue;
        lines << year + QLatin1Char('=') + value;
    }
    return lines;
}

bool TFormNGOMain::SaveIndexationList() {
    Session.IndexationList = IndexationListShown();
    return Session.SaveIndexation();
}

void TFormNGOMain::RecomputeKni() {
    Session.IndexationList = IndexationListShown();
    Session.ComputeKni();
    ShowSessionBoxes();
}

void TFormNGOMain::RefreshCalculation() {
    if (!Session.Initialized) return;
    MemoCalculation->setPlainText(Session.CalculationText());
}
