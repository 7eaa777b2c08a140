#include "valuation/ui/TFormSelectCoefKlk.h"

#include "valuation/CoefficientRules.h"
#include "valuation/KlkPicker.h"
#include "valuation/NgoTables.h"
#include "valuation/RefFiles.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFormSelectCoefKlk::~TFormSelectCoefKlk() = default;

TFormSelectCoefKlk::TFormSelectCoefKlk(QWidget* parent, const QString& ngoPath) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormSelectCoefKlk"));
    setWindowTitle(QStringLiteral("Довідник Клк"));
    resize(760, 520);

    tables_ = std::make_unique<TNgoTables>();
    LoadNgoTables(*tables_, ngoPath.isEmpty() ? TRefFiles{}.Path(kNgoFile) : ngoPath);

    auto* lay = new QVBoxLayout(this);
    MemoKlk = new QPlainTextEdit(kKlkPickerMemo, this);
    MemoKlk->setObjectName(QStringLiteral("MemoKlk"));
    MemoKlk->setReadOnly(true);
    MemoKlk->setMaximumHeight(48);
    lay->addWidget(MemoKlk);

    auto* filter = new QHBoxLayout();
    filter->addWidget(new QLabel(QStringLiteral("Введіть назву"), this));
    EFilterKlk = new QLineEdit(this);
    EFilterKlk->setObjectName(QStringLiteral("EFilterKlk"));
    filter->addWidget(EFilterKlk, 1);
    BFilterKlk = new QPushButton(QStringLiteral("Фільтр"), this);
    BFilterKlk->setObjectName(QStringLiteral("BFilterKlk"));
    BFilterKlk->setCheckable(true);
    BFilterKlk->setAutoDefault(false);
    filter->addWidget(BFilterKlk);
    lay->addLayout(filter);

    NextGridCoefKlk = new QTableView(this);
    NextGridCoefKlk->setObjectName(QStringLiteral("NextGridCoefKlk"));
    NextGridCoefKlk->setModel(&tables_->Klk);
    NextGridCoefKlk->setSelectionMode(QAbstractItemView::SingleSelection);
    NextGridCoefKlk->setSelectionBehavior(QAbstractItemView::SelectItems);
    NextGridCoefKlk->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    NextGridCoefKlk->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    NextGridCoefKlk->verticalHeader()->setVisible(false);
    lay->addWidget(NextGridCoefKlk, 1);

    auto* bottom = new QHBoxLayout();
    bottom->addWidget(new QLabel(QStringLiteral("Клк="), this));
    EKlkValue = new QLineEdit(this);
    EKlkValue->setObjectName(QStringLiteral("EKlkValue"));
    bottom->addWidget(EKlkValue);
    bottom->addStretch(1);
    auto* choose = new QPushButton(QStringLiteral("Обрати"), this);
    choose->setObjectName(QStringLiteral("BSelect"));
    choose->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Скасувати"), this);
    cancel->setObjectName(QStringLiteral("BCancel"));
    cancel->setAutoDefault(false);
    bottom->addWidget(choose);
    bottom->addWidget(cancel);
    lay->addLayout(bottom);

    connect(BFilterKlk, &QPushButton::toggled, this, &TFormSelectCoefKlk::ToggleFilter);
    connect(NextGridCoefKlk, &QTableView::clicked, this,
            [this](const QModelIndex& index) { CellClicked(index.row(), index.column()); });
    connect(choose, &QPushButton::clicked, this, &TFormSelectCoefKlk::Choose);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormSelectCoefKlk::SetFilterText(const QString& text) {
    EFilterKlk->setText(text);
}

QString TFormSelectCoefKlk::Value() const {
    return EKlkValue->text();
}

void TFormSelectCoefKlk::SetValue(const QString& value) {
    EKlkValue->setText(value);
}

bool TFormSelectCoefKlk::RowShown(int row) const {
    return !NextGridCoefKlk->isRowHidden(row);
}

int TFormSelectCoefKlk::RowCount() const {
    return tables_->Klk.RowCount();
}

void TFormSelectCoefKlk::ShowRowVisibility() {
    for (int r = 0; r < RowCount(); ++r)
        NextGridCoefKlk->setRowHidden(r, tables_->Klk.IsRowHidden(r));
}

void TFormSelectCoefKlk::ToggleFilter(bool pressed) {
    if (BFilterKlk->isChecked() != pressed) {
        BFilterKlk->setChecked(pressed); // comes back here through toggled
        return;
    }
    if (!pressed) {
        ReleaseFilter(tables_->Klk);
        ShowRowVisibility();
        if (NextGridCoefKlk->currentIndex().isValid())
            NextGridCoefKlk->scrollTo(NextGridCoefKlk->currentIndex());
        return;
    }
    if (!ApplyFilter(tables_->Klk, EFilterKlk->text())) {
        // Too short to filter by.
        const QSignalBlocker block(BFilterKlk);
        BFilterKlk->setChecked(false);
        EFilterKlk->setFocus();
        return;
    }
    ShowRowVisibility();
}

void TFormSelectCoefKlk::CellClicked(int row, int column) {
    if (const auto value = KlkCellValue(tables_->Klk, row, column)) EKlkValue->setText(*value);
}

void TFormSelectCoefKlk::Choose() {
    if (KlkAcceptValue(EKlkValue->text())) accept();
}
