#include "common/GridHelpers.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardItemModel>
#include <QVariant>

void ClearGrid(QStandardItemModel* grid, int rows) {
    if (!grid) return;
    const int n = rows <= 0 ? 1 : rows;
    grid->setRowCount(n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < grid->columnCount(); ++c)
            grid->setData(grid->index(r, c), QVariant());
}

bool GridIsEmpty(const QAbstractItemModel* grid) {
    if (!grid || grid->rowCount() != 1) return false;
    if (grid->columnCount() == 0) return true;
    return grid->data(grid->index(0, 0)).toString().isEmpty();
}

bool HasCurrentRecord(const QSqlQuery& query) {
    return query.isActive() && query.isValid();
}

bool LocateByFieldValue(QSqlQuery& query, const QString& field, const QString& value) {
    if (!query.isActive()) return false;
    const int previous = query.at();
    const int column = query.record().indexOf(field);
    if (column < 0) return false;
    if (query.first()) {
        do {
            if (query.value(column).toString() == value) return true;
        } while (query.next());
    }
    if (previous >= 0)
        query.seek(previous);
    else
        query.seek(QSql::BeforeFirstRow);
    return false;
}
