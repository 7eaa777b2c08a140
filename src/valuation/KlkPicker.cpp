#include "valuation/KlkPicker.h"

#include "common/Messages.h"
#include "common/TextHelpers.h"

#include <cmath>

const QString kKlkPickerMemo =
    QStringLiteral("Коефіцієнт, який враховує категорію лісів (Клк) Дані зазначаються згідно з додатком 13");

QString KlkFilterText(const QString& text) {
    QString s = text.toLower().trimmed();
    s.replace('`', QChar(0x2019)).replace('\'', QChar(0x2019));
    return s;
}

std::optional<QVector<bool>> KlkFilterRows(const QList<QStringList>& rows, const QString& filterText) {
    const QString f = KlkFilterText(filterText);
    if (f.size() < 3) return std::nullopt;
    QVector<bool> visible;
    visible.reserve(rows.size());
    for (const QStringList& r : rows)
        visible << (!r.isEmpty() && r[0].toLower().contains(f));
    return visible;
}

std::optional<QString> KlkCellValue(const QList<QStringList>& rows, int row, int column) {
    if (column != 1 && column != 2) return std::nullopt;
    if (row < 0 || row >= rows.size()) return std::nullopt;
    const QStringList& r = rows[row];
    return column < r.size() ? r[column] : QString();
}

bool KlkAcceptValue(const QString& value) {
    if (value.isEmpty()) {
        ShowWarning(QStringLiteral("Значення не обрано."));
        return false;
    }
    const QString v = QString(value).replace(',', '.').trimmed();
    if (!IsNumberText(v) || TextToFloatOrZero(v) == 0.0 || !std::isfinite(TextToFloatOrZero(v))) {
        ShowWarning(QStringLiteral("Значення не є дійсним коефіцієнтом."));
        return false;
    }
    return true;
}
