#include "common/Dates.h"

QString IsoDateToUa(const QString& text) {
    if (text.isEmpty()) return {};
    static const QStringList placeholders = {QStringLiteral("————|————"), QStringLiteral("0001-01-01"),
                                             QStringLiteral("1900-01-01"), QStringLiteral("1967-08-13"),
                                             QStringLiteral("0000-01-01")};
    if (placeholders.contains(text)) return {};
    if (!text.contains('-')) return text;
    if (text.size() < 10) return text;
    return text.mid(8, 2) + '.' + text.mid(5, 2) + '.' + text.left(4);
}

QString UaDateToIso(const QString& text) {
    if (text.isEmpty() || text.contains('-')) return text;
    if (text.size() < 10) return text;
    return text.mid(6, 4) + '-' + text.mid(3, 2) + '-' + text.left(2);
}

bool IsoTextToDate(const QString& text, QDate* date) {
    if (text.size() < 10) return false;
    const QString ua = text.mid(8, 2) + '.' + text.mid(5, 2) + '.' + text.left(4);
    const QDate d = QDate::fromString(ua, QStringLiteral("dd.MM.yyyy"));
    if (!d.isValid()) return false;
    if (date) *date = d;
    return true;
}
