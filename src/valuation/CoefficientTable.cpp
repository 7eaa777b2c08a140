#include "valuation/CoefficientTable.h"

#include <algorithm>

TCoefficientTable::TCoefficientTable(const QString& objectName, TTableKind kind, const QStringList& captions,
                                     QObject* parent)
    : QAbstractTableModel(parent), kind_(kind) {
    setObjectName(objectName);
    if (kind_ == TTableKind::CheckBox) captions_ << QString();
    captions_ << captions;
    columns_ = static_cast<int>(captions_.size());
}

QString TCoefficientTable::Cell(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_) return {};
    return rows_[row][column];
}

QStringList TCoefficientTable::RowCells(int row) const {
    if (row < 0 || row >= rows_.size()) return {};
    return rows_[row];
}

QString TCoefficientTable::SearchCell(int row, int column) const {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_) return {};
    if (searchRows_.size() != rows_.size()) {
        searchRows_.clear();
        for (const QStringList& r : rows_) {
            QStringList lowered;
            for (const QString& cell : r)
                lowered << cell.toLower().trimmed();
            searchRows_ << lowered;
        }
    }
    return searchRows_[row][column];
}

QString TCoefficientTable::Caption(int column) const {
    if (column < 0 || column >= columns_) return {};
    return captions_[column];
}

void TCoefficientTable::Clear() {
    beginResetModel();
    rows_.clear();
    searchRows_.clear();
    checked_.clear();
    hidden_.clear();
    selectedRow_ = 0;
    selectedColumn_ = 0;
    endResetModel();
}

void TCoefficientTable::AppendFields(const QStringList& fields) {
    QStringList cells;
    const int first = FirstDataColumn();
    for (int c = 0; c < columns_; ++c) {
        const int field = c - first; // 0-based index into fields
        cells << (field >= 0 && field < fields.size() ? fields[field] : QString());
    }
    AppendRow(cells);
}

void TCoefficientTable::AppendRow(const QStringList& cells) {
    QStringList row = cells.mid(0, columns_);
    while (row.size() < columns_)
        row << QString();
    if (IsCheckBoxTable()) row[0].clear();
    const int at = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), at, at);
    rows_ << row;
    searchRows_.clear();
    checked_ << false;
    hidden_ << false;
    endInsertRows();
}

void TCoefficientTable::SetCell(int row, int column, const QString& text) {
    if (row < 0 || row >= rows_.size() || column < 0 || column >= columns_) return;
    if (IsCheckBoxTable() && column == 0) return;
    rows_[row][column] = text;
    searchRows_.clear();
    emit dataChanged(index(row, column), index(row, column));
}

bool TCoefficientTable::IsChecked(int row) const {
    return row >= 0 && row < checked_.size() && checked_[row];
}

void TCoefficientTable::SetChecked(int row, bool checked) {
    if (!IsCheckBoxTable() || row < 0 || row >= checked_.size() || checked_[row] == checked) return;
    checked_[row] = checked;
    emit dataChanged(index(row, 0), index(row, 0), {Qt::CheckStateRole});
}

void TCoefficientTable::ClearChecks() {
    for (int r = 0; r < checked_.size(); ++r)
        SetChecked(r, false);
}

int TCoefficientTable::LastCheckedRow() const {
    for (int r = static_cast<int>(checked_.size()) - 1; r >= 0; --r)
        if (checked_[r]) return r;
    return -1;
}

int TCoefficientTable::CheckedCount() const {
    return static_cast<int>(std::count(checked_.begin(), checked_.end(), true));
}

bool TCoefficientTable::IsRowHidden(int row) const {
    return row >= 0 && row < hidden_.size() && hidden_[row];
}

void TCoefficientTable::SetRowHidden(int row, bool hidden) {
    if (row < 0 || row >= hidden_.size() || hidden_[row] == hidden) return;
    hidden_[row] = hidden;
    emit rowVisibilityChanged();
}

void TCoefficientTable::ShowAllRows() {
    if (!hidden_.contains(true)) return;
    hidden_.fill(false);
    emit rowVisibilityChanged();
}

void TCoefficientTable::HideAllRows() {
    if (!hidden_.contains(false)) return;
    hidden_.fill(true);
    emit rowVisibilityChanged();
}

int TCoefficientTable::VisibleRowCount() const {
    return static_cast<int>(std::count(hidden_.begin(), hidden_.end(), false));
}

void TCoefficientTable::SelectCell(int row, int column) {
    if (row == selectedRow_ && column == selectedColumn_) return;
    selectedRow_ = row;
    selectedColumn_ = column;
    emit selectionChanged(row, column);
}

int TCoefficientTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TCoefficientTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant TCoefficientTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columns_) return {};
    const bool checkColumn = IsCheckBoxTable() && index.column() == 0;
    if (checkColumn) {
        if (role == Qt::CheckStateRole) return checked_[index.row()] ? Qt::Checked : Qt::Unchecked;
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) return rows_[index.row()][index.column()];
    return {};
}

bool TCoefficientTable::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= rows_.size() || index.column() >= columns_) return false;
    if (IsCheckBoxTable() && index.column() == 0) {
        if (role != Qt::CheckStateRole) return false;
        SetChecked(index.row(), value.toInt() == Qt::Checked);
        emit checkToggled(index.row());
        return true;
    }
    if (role != Qt::EditRole || !editable_) return false;
    SetCell(index.row(), index.column(), value.toString());
    return true;
}

QVariant TCoefficientTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return Caption(section);
    return section + 1;
}

Qt::ItemFlags TCoefficientTable::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsCheckBoxTable() && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    else if (editable_)
        f |= Qt::ItemIsEditable;
    return f;
}
