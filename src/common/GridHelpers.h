#pragma once
// Grid and data-set helpers on item models and queries.
#include <QString>

class QStandardItemModel;
class QAbstractItemModel;
class QSqlQuery;

// Empties all cells of the data rows and sets the number of rows to `rows` (1 when rows is 0).
void ClearGrid(QStandardItemModel* grid, int rows);
// True when the grid has exactly one data row and its first cell is empty.
bool GridIsEmpty(const QAbstractItemModel* grid);

// The query is active and positioned on a record.
bool HasCurrentRecord(const QSqlQuery& query);
// Scans from the first record for an exact text match of the field; leaves the query there and returns true,
// or restores the previous position and returns false.
bool LocateByFieldValue(QSqlQuery& query, const QString& field, const QString& value);
