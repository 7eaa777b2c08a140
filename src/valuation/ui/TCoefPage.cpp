#include "valuation/ui/TCoefPage.h"

#include "common/ui/GridColumns.h"
#include "common/ui/WrapHeaderView.h"
#include "valuation/ui/TFormNGOMain.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

namespace {

// The grids of an earlier valuation are only looked at: their check boxes do not toggle.
class TReadOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&) override {
        return false;
    }
};

void SetUpGridLook(QTableView* view) {
    auto* header = new TWrapHeaderView(Qt::Horizontal, view);
    view->setHorizontalHeader(header);
    header->setSectionResizeMode(QHeaderView::Interactive);
    view->setWordWrap(true);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

} // namespace

TCoefficientTable* SessionTable(TValuationSession& session, const QString& gridName) {
    if (gridName == session.Agro.objectName()) return &session.Agro;
    return session.Tables.ByName(gridName);
}

TCoefPage::TCoefPage(const TPageLayout& layout, TValuationSession& session, QWidget* parent,
                     QTableView* previous)
    : QWidget(parent), layout_(layout), session_(session), previous_(previous) {
    setObjectName(QStringLiteral("Page") + layout_.Stem);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < layout_.Grids.size(); ++i) {
        const TPageGrid& g = layout_.Grids[i];
        QWidget* holder = this;
        QVBoxLayout* holderLay = lay;
        if (i == 1) { // "Нрд": appendix 2 in its own panel, shown by category
            nrd2Panel_ = new QWidget(this);
            nrd2Panel_->setObjectName(QStringLiteral("PanelNrd2"));
            holderLay = new QVBoxLayout(nrd2Panel_);
            holderLay->setContentsMargins(0, 0, 0, 0);
            lay->addWidget(nrd2Panel_, 1);
            nrd2Panel_->setVisible(false);
            holder = nrd2Panel_;
        }
        const QString stem = g.TableName.mid(QStringLiteral("NextGrid").size());
        if (!g.MemoLines.isEmpty())
            holderLay->addWidget(AddMemo(holder, QStringLiteral("Memo") + stem, g.MemoLines));
        if (i == 0 && !layout_.FilterLabel.isEmpty()) {
            auto* row = new QHBoxLayout();
            row->addWidget(new QLabel(layout_.FilterLabel, holder));
            filterBox_ = new QLineEdit(holder);
            filterBox_->setObjectName(QStringLiteral("EFilter") + layout_.Stem);
            filterBox_->setMinimumWidth(260);
            row->addWidget(filterBox_);
            filterButton_ = new QPushButton(kFilterCaption, holder);
            filterButton_->setObjectName(QStringLiteral("BFilter") + layout_.Stem);
            filterButton_->setCheckable(true);
            row->addWidget(filterButton_);
            row->addStretch(1);
            holderLay->addLayout(row);
            connect(filterButton_, &QPushButton::toggled, this, &TCoefPage::SetFilterPressed);
        }
        TCoefficientTable* table = SessionTable(session_, g.TableName);
        const bool agro = table == &session_.Agro;
        holderLay->addWidget(AddGrid(holder, table, g), agro ? 0 : 1);
        if (agro) holderLay->addStretch(1); // one agro group: the grid is no taller than its rows
    }
    if (layout_.ShowAll || layout_.NotApplicableLabel || layout_.SaveKls) {
        auto* row = new QHBoxLayout();
        if (layout_.NotApplicableLabel) {
            notApplicable_ = new QLabel(kNotApplicableWarning, this);
            notApplicable_->setObjectName(QStringLiteral("LabelNotApplicable") + layout_.Stem);
            QPalette pal = notApplicable_->palette();
            pal.setColor(QPalette::WindowText, Qt::red);
            notApplicable_->setPalette(pal);
            QFont f = notApplicable_->font();
            f.setBold(true);
            notApplicable_->setFont(f);
            notApplicable_->setVisible(false);
            row->addWidget(notApplicable_);
        }
        row->addStretch(1);
        if (layout_.ShowAll) {
            showAll_ = new QPushButton(kShowAllCaption, this);
            showAll_->setObjectName(QStringLiteral("BShowAll") + layout_.Stem);
            showAll_->setVisible(false);
            connect(showAll_, &QPushButton::clicked, this, &TCoefPage::ShowAllRows);
            row->addWidget(showAll_);
        }
        if (layout_.SaveKls) {
            saveKls_ = new QPushButton(kSaveKlsCaption, this);
            saveKls_->setObjectName(QStringLiteral("BSaveKls"));
            saveKls_->setToolTip(kSaveKlsHint);
            connect(saveKls_, &QPushButton::clicked, this, [this] { session_.SaveKls(); });
            row->addWidget(saveKls_);
        }
        lay->addLayout(row);
    }
    if (previous_) {
        SetUpGridLook(previous_);
        previous_->setItemDelegate(new TReadOnlyDelegate(previous_));
        previous_->setMaximumHeight(previous_->fontMetrics().height() * 9);
        previous_->installEventFilter(this);
        connect(previous_->model(), &QAbstractItemModel::modelReset, this, &TCoefPage::ScheduleRefresh);
        connect(previous_->model(), &QAbstractItemModel::rowsInserted, this, &TCoefPage::ScheduleRefresh);
    }
}

QLabel* TCoefPage::AddMemo(QWidget* parent, const QString& name, const QStringList& lines) {
    auto* memo = new QLabel(lines.join(QLatin1Char('\n')), parent);
    memo->setObjectName(name);
    memo->setWordWrap(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    memo->setFrameShape(QFrame::StyledPanel);
    memo->setMargin(3);
    memo->setAutoFillBackground(true);
    memo->setBackgroundRole(QPalette::Base);
    return memo;
}

QTableView* TCoefPage::AddGrid(QWidget* parent, TCoefficientTable* table, const TPageGrid& grid) {
    auto* view = new QTableView(parent);
    view->setObjectName(grid.TableName);
    SetUpGridLook(view);
    view->setModel(table);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(table->IsCheckBoxTable() ? QAbstractItemView::SelectRows
                                                        : QAbstractItemView::SelectItems);
    const bool agro = table == &session_.Agro;
    view->setEditTriggers(agro ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                     QAbstractItemView::EditKeyPressed
                               : QAbstractItemView::NoEditTriggers);
    if (agro) view->setItemDelegateForColumn(1, new TAgroCodeDelegate(view));
    grids_ << view;
    tables_ << table;
    view->installEventFilter(this);
    BindGrid(view, table);
    return view;
}

QTableView* TCoefPage::Grid(const QString& name) const {
    for (QTableView* v : grids_)
        if (v->objectName() == name) return v;
    return nullptr;
}

void TCoefPage::BindGrid(QTableView* view, TCoefficientTable* table) {
    // Tables are filled row by row: the grid catches up once they are complete.
    connect(table, &QAbstractItemModel::modelReset, this, &TCoefPage::ScheduleRefresh);
    connect(table, &QAbstractItemModel::rowsInserted, this, &TCoefPage::ScheduleRefresh);
    connect(table, &TCoefficientTable::rowVisibilityChanged, this, [this, view, table] {
        SyncHiddenRows(view, table);
        view->resizeRowsToContents();
    });
    connect(table, &TCoefficientTable::selectionChanged, this, [this, view, table] {
        SyncSelection(view, table);
        scrollPending_ = true;
        if (isVisible()) QTimer::singleShot(0, this, &TCoefPage::ScrollAllToSelection);
    });
    if (table == &session_.Agro) return;
    if (table->IsCheckBoxTable()) {
        // The check box has changed when this arrives; the session takes the new state.
        connect(table, &TCoefficientTable::checkToggled, this, [this, view, table](int row) {
            toggledRow_ = row;
            session_.OnRowCheckChanged(*table, row);
            // The highlight follows the check mark (also when the row was already the current one).
            SyncSelection(view, table);
            emit BoxesChanged();
        });
        connect(view, &QAbstractItemView::pressed, this, [this] { toggledRow_ = -1; });
        // A click in the check-box column beside the box itself toggles it as well.
        connect(view, &QAbstractItemView::clicked, this, [this, table](const QModelIndex& index) {
            if (index.column() == 0 && toggledRow_ != index.row())
                table->setData(index, table->IsChecked(index.row()) ? Qt::Unchecked : Qt::Checked,
                               Qt::CheckStateRole);
            toggledRow_ = -1;
        });
    } else {
        connect(view, &QAbstractItemView::clicked, this, [this, table](const QModelIndex& index) {
            session_.OnCellClicked(*table, index.row(), index.column());
            emit BoxesChanged();
        });
    }
}

void TCoefPage::ScheduleRefresh() {
    if (refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        for (int i = 0; i < grids_.size(); ++i)
            SyncHiddenRows(grids_[i], tables_[i]);
        FitColumns();
    });
}

void TCoefPage::SyncSelection(QTableView* view, TCoefficientTable* table) {
    // The grid highlights the chosen row (check-box tables) or cell (cell tables), nothing otherwise.
    QItemSelectionModel* sel = view->selectionModel();
    const int row = table->SelectedRow();
    const int column = table->SelectedColumn();
    const bool chosen = table->IsCheckBoxTable() ? table->IsChecked(row) : column > 0;
    if (!chosen) {
        sel->clearSelection();
        return;
    }
    const QModelIndex at = table->index(row, table->IsCheckBoxTable() ? 1 : column);
    sel->setCurrentIndex(at, table->IsCheckBoxTable()
                                 ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                                 : QItemSelectionModel::ClearAndSelect);
}

void TCoefPage::SyncHiddenRows(QTableView* view, TCoefficientTable* table) {
    for (int r = 0; r < table->RowCount(); ++r)
        view->setRowHidden(r, table->IsRowHidden(r));
}

void TCoefPage::ScrollToSelection(QTableView* view, TCoefficientTable* table) {
    const int row = table->SelectedRow();
    if (row < 0 || row >= table->RowCount() || table->IsRowHidden(row)) return;
    const int column = std::max(table->SelectedColumn(), table->FirstDataColumn());
    view->scrollTo(table->index(row, column),
                   row == 0 ? QAbstractItemView::PositionAtTop : QAbstractItemView::PositionAtCenter);
}

void TCoefPage::ScrollAllToSelection() {
    if (!isVisible()) return;
    scrollPending_ = false;
    for (int i = 0; i < grids_.size(); ++i)
        ScrollToSelection(grids_[i], tables_[i]);
}

void TCoefPage::ShowChoice() {
    const TChoice* choice = PageChoiceOf(session_.Choices, layout_.Page);
    if (filterBox_ && choice) filterBox_->setText(choice->FilterText);
    if (filterButton_) {
        const QSignalBlocker block(filterButton_);
        filterButton_->setChecked(false);
    }
    const bool notApplicable = choice && !choice->Applicable;
    if (showAll_) showAll_->setVisible(notApplicable);
    if (notApplicable_) notApplicable_->setVisible(notApplicable);
    if (nrd2Panel_) nrd2Panel_->setVisible(Nrd2PanelVisible(session_.Data.CategoryCode));
    for (int i = 0; i < grids_.size(); ++i)
        SyncSelection(grids_[i], tables_[i]);
    FitColumns();
    scrollPending_ = true;
    if (isVisible()) QTimer::singleShot(0, this, &TCoefPage::ScrollAllToSelection);
}

void TCoefPage::SetFilterPressed(bool pressed) {
    if (tables_.isEmpty() || !filterButton_) return;
    TCoefficientTable* table = tables_.first();
    if (filterButton_->isChecked() != pressed) {
        const QSignalBlocker block(filterButton_);
        filterButton_->setChecked(pressed);
    }
    if (pressed) {
        if (!ApplyFilter(*table, filterBox_->text())) {
            const QSignalBlocker block(filterButton_);
            filterButton_->setChecked(false);
            filterBox_->setFocus();
        }
        return;
    }
    ReleaseFilter(*table);
    ScrollToSelection(grids_.first(), table);
}

void TCoefPage::ShowAllRows() {
    if (tables_.isEmpty()) return;
    ReleaseFilter(*tables_.first());
    if (filterButton_) {
        const QSignalBlocker block(filterButton_);
        filterButton_->setChecked(false);
    }
}

void TCoefPage::FitColumns() {
    for (int i = 0; i < grids_.size(); ++i) {
        TGridFit fit;
        fit.CheckColumn = tables_[i]->IsCheckBoxTable() ? 0 : -1;
        fit.WideColumn = layout_.Grids[i].WideColumn;
        fit.WideMinimum = layout_.Grids[i].WideMinimum;
        FitGridColumns(grids_[i], fit);
        if (tables_[i] == &session_.Agro) {
            QTableView* v = grids_[i];
            int h = v->horizontalHeader()->sizeHint().height() + 2 * v->frameWidth() +
                    v->horizontalScrollBar()->sizeHint().height();
            for (int r = 0; r < std::max(1, v->model()->rowCount()); ++r)
                h += v->rowHeight(r) > 0 ? v->rowHeight(r) : v->verticalHeader()->defaultSectionSize();
            v->setMaximumHeight(h);
        }
        if (i == 0 && previous_) {
            // The earlier valuation's rows stand column under column.
            for (int c = 0; c < previous_->model()->columnCount(); ++c)
                previous_->setColumnWidth(c, grids_[i]->columnWidth(c));
            previous_->resizeRowsToContents();
        }
    }
}

bool TCoefPage::eventFilter(QObject* watched, QEvent* event) {
    // A grid that changes its width (the window resized, the appendix-2 panel shown) fits its columns.
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) {
        for (QTableView* view : grids_)
            if (view == watched) FitColumns();
        if (previous_ && watched == previous_) FitColumns();
    }
    return QWidget::eventFilter(watched, event);
}

void TCoefPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FitColumns();
    if (scrollPending_) QTimer::singleShot(0, this, &TCoefPage::ScrollAllToSelection);
}

// ---- Agro-group code column -------------------------------------------------------------------------

QWidget* TAgroCodeDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex&) const {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true); // a code may also be typed
    combo->addItems(AgroGroupEntries());
    combo->setMaxVisibleItems(20);
    // Choosing an entry commits it at once.
    connect(combo, &QComboBox::activated, this, [this, combo] {
        emit const_cast<TAgroCodeDelegate*>(this)->commitData(combo);
        emit const_cast<TAgroCodeDelegate*>(this)->closeEditor(combo);
    });
    return combo;
}

void TAgroCodeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    const QString code = index.data(Qt::EditRole).toString();
    const QStringList entries = AgroGroupEntries();
    for (int i = 0; i < entries.size(); ++i)
        if (AgroCodeFromChoice(entries[i]) == code) {
            combo->setCurrentIndex(i);
            return;
        }
    combo->setCurrentIndex(0);
}

void TAgroCodeDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                     const QModelIndex& index) const {
    model->setData(index, AgroCodeFromChoice(static_cast<QComboBox*>(editor)->currentText()), Qt::EditRole);
}

// ---- The wizard's pages -----------------------------------------------------------------------------

QList<TCoefPage*> BuildCoefPages(TFormNGOMain& wizard) {
    QList<TCoefPage*> pages;
    for (const TPageLayout& layout : PageLayouts()) {
        QWidget* page = wizard.Page(layout.Page);
        auto* body = page ? page->findChild<QWidget*>(NgoPageInfo(layout.Page).Name + QStringLiteral("Body"))
                          : nullptr;
        if (!body) continue;
        auto* bodyLay = qobject_cast<QBoxLayout*>(body->layout());
        if (!bodyLay) {
            bodyLay = new QVBoxLayout(body);
        }
        bodyLay->setContentsMargins(0, 0, 0, 0);
        QTableView* previous = nullptr;
        if (layout.Page == TNgoPage::Psr)
            previous = body->findChild<QTableView*>(QStringLiteral("NextGridPSRPrev"));
        if (layout.Page == TNgoPage::Agro)
            previous = body->findChild<QTableView*>(QStringLiteral("NextGridAgroPrev"));
        auto* coef = new TCoefPage(layout, wizard.Session, body, previous);
        bodyLay->insertWidget(0, coef, 1);
        QObject::connect(coef, &TCoefPage::BoxesChanged, &wizard, &TFormNGOMain::ShowSessionBoxes);
        pages << coef;
    }
    return pages;
}
