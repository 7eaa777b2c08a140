#pragma once
// The body of a coefficient or district page of the wizard: the memo, the filter panel, the grid(s) over
// the session's tables, and the page's buttons ("Показати всі значення  (інші категорії)", "Зберегти
// вибір") and warning. One class serves every page; what a page holds comes from PageLayoutOf
// (valuation/CoefficientPages.h). Choices go to the session (OnRowCheckChanged, OnCellClicked); the window
// copies the session's boxes back when BoxesChanged is sent.
#include "valuation/CoefficientPages.h"
#include "valuation/ValuationSession.h"

#include <QList>
#include <QStyledItemDelegate>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TCoefficientTable;

class TCoefPage : public QWidget {
    Q_OBJECT
public:
    // previous: the read-only grid of the earlier valuation shown under the page's grid (NextGridPSRPrev,
    // NextGridAgroPrev), or nullptr; it gets the same header and column widths.
    TCoefPage(const TPageLayout& layout, TValuationSession& session, QWidget* parent,
              QTableView* previous = nullptr);

    TNgoPage Page() const { return layout_.Page; }
    // The page's grids in the layout's order; Grid(name) by object name.
    QTableView* Grid(int index = 0) const { return grids_.value(index); }
    QTableView* Grid(const QString& name) const;
    TCoefficientTable* Table(int index = 0) const { return tables_.value(index); }
    QLineEdit* FilterBox() const { return filterBox_; }
    QPushButton* FilterButton() const { return filterButton_; }
    QPushButton* ShowAllButton() const { return showAll_; }
    QLabel* NotApplicableLabel() const { return notApplicable_; }
    QPushButton* SaveKlsButton() const { return saveKls_; }
    QWidget* Nrd2Panel() const { return nrd2Panel_; }

    // After Apply: the filter box gets the search text, the filter is released, the show-all button and the
    // warning follow the choice's applicability, the appendix-2 panel the category, and the grid scrolls to
    // the chosen row.
    void ShowChoice();
    // "Фільтр" pressed (true) or released (false).
    void SetFilterPressed(bool pressed);
    // "Показати всі значення  (інші категорії)".
    void ShowAllRows();
    // Column widths from the captions and the page's width.
    void FitColumns();

signals:
    // A hand choice changed the session's boxes.
    void BoxesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTableView* AddGrid(QWidget* parent, TCoefficientTable* table, const TPageGrid& grid);
    void BindGrid(QTableView* view, TCoefficientTable* table);
    void ScheduleRefresh();
    void SyncSelection(QTableView* view, TCoefficientTable* table);
    void SyncHiddenRows(QTableView* view, TCoefficientTable* table);
    void ScrollToSelection(QTableView* view, TCoefficientTable* table);
    void ScrollAllToSelection();
    QLabel* AddMemo(QWidget* parent, const QString& name, const QStringList& lines);

    TPageLayout layout_;
    TValuationSession& session_;
    QList<QTableView*> grids_;
    QList<TCoefficientTable*> tables_;
    QTableView* previous_ = nullptr;
    QLineEdit* filterBox_ = nullptr;
    QPushButton* filterButton_ = nullptr;
    QPushButton* showAll_ = nullptr;
    QLabel* notApplicable_ = nullptr;
    QPushButton* saveKls_ = nullptr;
    QWidget* nrd2Panel_ = nullptr;
    bool scrollPending_ = false;
    bool refreshPending_ = false;
    int toggledRow_ = -1; // the row whose check box a click has just toggled
};

// The agro-group grid's code column: a drop-down of AgroGroupEntries; the chosen entry stores its code.
class TAgroCodeDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

// The session table a grid of that name shows (the methodology tables, NextGridAgro).
TCoefficientTable* SessionTable(TValuationSession& session, const QString& gridName);

class TFormNGOMain;
// Fills the body widget "<page name>Body" of every page of PageLayouts() in the wizard with its page; the
// pages' hand choices refresh the wizard's boxes.
QList<TCoefPage*> BuildCoefPages(TFormNGOMain& wizard);
