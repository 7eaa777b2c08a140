#pragma once
// One table of the valuation methodology as the wizard's grids show it: cells, column captions, the check
// marks of a check-box table, the selected cell of a cell table and the hidden rows of a filter.
//
// Check-box tables have column 0 as the check box (no caption, no text); their fields start at column 1.
// Cell tables (NextGridKmc1, NextGridKlk, the agro-group grids) have no check box; the chosen value is a
// cell. Row numbers shown to the user and stored in valuation records are 1-based; the model is 0-based.
#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

enum class TTableKind { CheckBox, Cell };

class TCoefficientTable : public QAbstractTableModel {
    Q_OBJECT
public:
    // captions: one per column from column 1 (check-box tables) or from column 0 (cell tables); the number
    // of captions fixes the number of data columns. A caption's line breaks are "\n".
    TCoefficientTable(const QString& objectName, TTableKind kind, const QStringList& captions,
                      QObject* parent = nullptr);

    TTableKind Kind() const { return kind_; }
    bool IsCheckBoxTable() const { return kind_ == TTableKind::CheckBox; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    int ColumnCount() const { return columns_; }
    // The first column that holds data: 1 for check-box tables, 0 for cell tables.
    int FirstDataColumn() const { return IsCheckBoxTable() ? 1 : 0; }
    QString Cell(int row, int column) const; // empty outside the table
    QStringList RowCells(int row) const;     // every column (column 0 of a check-box table is empty)
    QString Caption(int column) const;       // empty for the check-box column
    // The cell lower-cased and trimmed, as the searches compare it (kept until the content changes).
    QString SearchCell(int row, int column) const;

    // Editing the content.
    void Clear();
    // Field n (from 1) goes to column n (check-box table) or n - 1 (cell table); missing fields stay empty,
    // fields beyond the last column are dropped.
    void AppendFields(const QStringList& fields);
    void AppendRow(const QStringList& cells); // cells by column, column 0 included
    void SetCell(int row, int column, const QString& text);
    void SetEditable(bool editable) { editable_ = editable; }

    // Check marks (check-box tables).
    bool IsChecked(int row) const;
    void SetChecked(int row, bool checked);
    void ClearChecks();
    int LastCheckedRow() const; // -1 when none
    int CheckedCount() const;

    // Visibility (filters, not-applicable coefficients).
    bool IsRowHidden(int row) const;
    void SetRowHidden(int row, bool hidden);
    void ShowAllRows();
    void HideAllRows();
    int VisibleRowCount() const;

    // Selection: the chosen cell of a cell table, the row a grid scrolls to.
    int SelectedRow() const { return selectedRow_; }
    int SelectedColumn() const { return selectedColumn_; }
    void SelectCell(int row, int column);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void rowVisibilityChanged();
    void selectionChanged(int row, int column);
    // A check box was set or cleared through setData (the grid's check-box column), after the change;
    // SetChecked by the program does not send it.
    void checkToggled(int row);

private:
    TTableKind kind_;
    int columns_ = 0;
    QStringList captions_; // by column
    QList<QStringList> rows_;
    QVector<bool> checked_;
    QVector<bool> hidden_;
    int selectedRow_ = 0;
    int selectedColumn_ = 0;
    bool editable_ = false;
    mutable QList<QStringList> searchRows_; // lower-cased, trimmed cells; empty when out of date
};
