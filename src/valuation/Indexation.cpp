#include "valuation/Indexation.h"

#include "common/NumberFormat.h"
#include "common/TextHelpers.h"

TKni ComputeKni(const QStringList& list, int baseYear, int yearOfValuation) {
    TKni kni;
    QStringList factors;
    if (yearOfValuation != baseYear) {
        for (const QString& line : list) {
            const int eq = line.indexOf(QLatin1Char('='));
            const QString yearText = (eq < 0 ? line : line.left(eq)).trimmed();
            const QString valueText = eq < 0 ? QString() : line.mid(eq + 1).trimmed();
            if (!IsIntegerText(yearText)) continue;
            bool ok = false;
            const double value = ParseNumber(valueText, &ok);
            if (!ok) continue;
            const qint64 year = TextToIntOrZero(yearText);
            if (year < baseYear || year >= yearOfValuation) continue;
            kni.Product *= value;
            factors << FormatFloatPattern(QStringLiteral("0.0##"), value);
        }
    }
    kni.Value = FormatFloatPattern(QStringLiteral("0.000"), kni.Product);
    kni.Factors = factors.join(QStringLiteral(" x "));
    return kni;
}
