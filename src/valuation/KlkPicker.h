#pragma once
// The logic of the Клк picker over its copy of the "dod13=" table (the cell table NextGridKlk: column 0 the
// unit name, column 1 Клк for protective and similar forests, column 2 Клк for exploitation forests). Its
// filter is the pages' filter on column 0: ApplyFilter / ReleaseFilter (valuation/CoefficientRules.h).
#include <QString>

#include <optional>

class TCoefficientTable;

extern const QString kKlkPickerMemo; // the memo above the table

// The value a click on the cell puts into the value box; nullopt for column 0 and cells outside the table.
std::optional<QString> KlkCellValue(const TCoefficientTable& klk, int row, int column);
// "Обрати": true when the value is a number other than 0 (after "," -> "." and trimming); otherwise the
// warning "Значення не обрано." (empty) or "Значення не є дійсним коефіцієнтом." is shown.
bool KlkAcceptValue(const QString& value);
