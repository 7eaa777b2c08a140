#include "valuation/ui/TFormSelectKatottg.h"

#include "data/TFormMain.h"
#include "valuation/KatottgTree.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

TFormSelectKatottg::TFormSelectKatottg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormSelectKatottg"));
    setWindowTitle(QStringLiteral("КАТОТТГ"));
    resize(620, 520);

    auto* lay = new QVBoxLayout(this);
    auto* search = new QHBoxLayout();
    ESearchText = new QLineEdit(this);
    ESearchText->setObjectName(QStringLiteral("ESearchText"));
    ESearchText->setMaxLength(19);
    search->addWidget(ESearchText, 1);
    BSearchId = new QPushButton(QStringLiteral("Знайти по ID"), this);
    BSearchId->setObjectName(QStringLiteral("BSearchId"));
    BSearchId->setAutoDefault(false);
    search->addWidget(BSearchId);
    lay->addLayout(search);

    model_ = new TKatottgTreeModel(nullptr, this);
    TreeViewDistr = new QTreeView(this);
    TreeViewDistr->setObjectName(QStringLiteral("TreeViewDistr"));
    TreeViewDistr->setModel(model_);
    TreeViewDistr->setHeaderHidden(true);
    TreeViewDistr->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeViewDistr->setSelectionBehavior(QAbstractItemView::SelectRows);
    TreeViewDistr->setSelectionMode(QAbstractItemView::SingleSelection);
    lay->addWidget(TreeViewDistr, 1);

    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    BSelect = new QPushButton(QStringLiteral("Обрати"), this);
    BSelect->setObjectName(QStringLiteral("BSelect"));
    BSelect->setDefault(true);
    BCancel = new QPushButton(QStringLiteral("Скасувати"), this);
    BCancel->setObjectName(QStringLiteral("BCancel"));
    BCancel->setAutoDefault(false);
    buttons->addWidget(BSelect);
    buttons->addWidget(BCancel);
    lay->addLayout(buttons);

    // The levels load when a node is expanded or selected.
    connect(TreeViewDistr, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (model_->HasPlaceholder(index)) model_->ExpandNode(index);
    });
    connect(TreeViewDistr->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) {
                if (current.isValid() && model_->HasPlaceholder(current)) {
                    model_->ExpandNode(current);
                    TreeViewDistr->expand(current);
                }
            });
    connect(BSearchId, &QPushButton::clicked, this, &TFormSelectKatottg::SearchById);
    connect(ESearchText, &QLineEdit::returnPressed, this, &TFormSelectKatottg::SearchById);
    connect(BSelect, &QPushButton::clicked, this, &TFormSelectKatottg::Choose);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFormSelectKatottg::~TFormSelectKatottg() = default;

void TFormSelectKatottg::SetQuery(TDataQuery* query) {
    model_->SetQuery(query);
    hasQuery_ = query != nullptr;
}

void TFormSelectKatottg::EnsureQuery() {
    if (hasQuery_) return;
    if (TFormMain* data = DataModule()) SetQuery(&data->ADOQueryRef2);
}

bool TFormSelectKatottg::FillTree() {
    EnsureQuery();
    return model_->Fill();
}

void TFormSelectKatottg::SearchById() {
    EnsureQuery();
    const QModelIndex found = model_->FindById(ESearchText->text());
    if (!found.isValid()) return;
    for (QModelIndex p = found.parent(); p.isValid(); p = p.parent())
        TreeViewDistr->expand(p);
    TreeViewDistr->setCurrentIndex(found);
    TreeViewDistr->scrollTo(found, QAbstractItemView::PositionAtCenter);
    TreeViewDistr->setFocus();
}

void TFormSelectKatottg::Choose() {
    const QString id = model_->ChooseId(TreeViewDistr->currentIndex());
    if (id.isEmpty()) return;
    chosenId_ = id;
    accept();
}
