#include "valuation/KlkPicker.h"

#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "valuation/CoefficientTable.h"
#include "valuation/NgoTables.h"

#include <cmath>

const QString kKlkPickerMemo =
    QStringLiteral("Коефіцієнт, який враховує категорію лісів (Клк) Дані зазначаються згідно з додатком 13");

std::optional<QString> KlkCellValue(const TCoefficientTable& klk, int row, int column) {
    if (column != NgoColumns::kKlkProtective && column != NgoColumns::kKlkExploitation) return std::nullopt;
    if (row < 0 || row >= klk.RowCount()) return std::nullopt;
    return klk.Cell(row, column);
}

bool KlkAcceptValue(const QString& value) {
    if (value.isEmpty()) {
        ShowWarning(QStringLiteral("Значення не обрано."));
        return false;
    }
    const QString v = QString(value).replace(',', '.').trimmed();
    const double number = TextToFloatOrZero(v);
    if (!IsNumberText(v) || number == 0.0 || !std::isfinite(number)) {
        ShowWarning(QStringLiteral("Значення не є дійсним коефіцієнтом."));
        return false;
    }
    return true;
}
