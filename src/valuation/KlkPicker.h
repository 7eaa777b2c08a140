#pragma once
// The logic of the Клк picker over the "dod13=" table: column 0 the unit name, column 1 Клк for protective
// and similar forests, column 2 Клк for exploitation forests.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

extern const QString kKlkPickerMemo; // the memo above the table

// The filter text as the pages use it: lower case, trimmed, "`" and "'" turned into "’".
QString KlkFilterText(const QString& text);
// Visibility of each row for the filter on column 0; nullopt when the text is shorter than 3 characters
// (the filter is then ignored and nothing changes).
std::optional<QVector<bool>> KlkFilterRows(const QList<QStringList>& rows, const QString& filterText);
// The value a click on the cell puts into the value box; nullopt for column 0 and cells outside the table.
std::optional<QString> KlkCellValue(const QList<QStringList>& rows, int row, int column);
// "Обрати": true when the value is a number other than 0 (after "," -> "." and trimming); otherwise the
// warning "Значення не обрано." (empty) or "Значення не є дійсним коефіцієнтом." is shown.
bool KlkAcceptValue(const QString& value);
