#include "valuation/Calculation.h"

#include "common/NumberFormat.h"
#include "common/TextHelpers.h"
#include "valuation/CoefficientRules.h"

namespace {

const QString kRowMarker = QStringLiteral(", рядок в табл. № ");

bool In(const QString& code, std::initializer_list<const char*> codes) {
    for (const char* c : codes)
        if (code == QLatin1String(c)) return true;
    return false;
}

// A previous value as the exchange file wrote it: "." only, 0 when it does not parse.
double StrictValue(const QString& text) {
    bool ok = false;
    const double v = ParseNumber(text.trimmed(), &ok);
    return ok ? v : 0;
}

double KpsgrOf(const TCoefficientTable& psr, int row, const QString& agriLandType) {
    const int column = KpsgrColumn(agriLandType);
    if (column < 0 || row < 0 || row >= psr.RowCount()) return 0;
    return FactorValue(psr.Cell(row, column));
}

} // namespace

TKmcRule KmcByCategory(const QString& c, const QString& purposeCode, const QString& location,
                       const QString& waterObjectType, const TKmcInputs& in) {
    TKmcRule r;
    if (c == QLatin1String("100")) {
        r.Kmc = in.Kpsgr;
        r.Note = QStringLiteral(" (по п.12 =Кпсгр)");
    } else if (c == QLatin1String("200")) {
        r.Kmc = in.Kmc1;
        r.Note = QStringLiteral(" (по п.13 =Кмц1)");
    } else if (c == QLatin1String("300")) {
        r.Kmc = In(purposeCode, {"04.01", "04.02", "04.03"}) ? 3.9 : 3.3;
        r.Note = QStringLiteral(" (по п.15 =3,3 або 3,9)");
    } else if (c == QLatin1String("400") && location == kInsideSettlement) {
        r.Kmc = in.Kmc1;
        r.Note = QStringLiteral(" (по дод.10 =Kмц1)");
    } else if (c == QLatin1String("400") && location == kOutsideSettlement) {
        r.Kmc = in.KmcH;
        r.Note = QStringLiteral(" (по п.14 =KмсОзд)");
    } else if (c == QLatin1String("500")) {
        r.Kmc = in.Kmc1;
        r.Note = QStringLiteral(" (по п.13 =Kмц1)");
    } else if (c == QLatin1String("600")) {
        r.Kmc = in.KmcN;
        r.Note = QStringLiteral(" (по п.14 =KмцІст)");
    } else if (c == QLatin1String("700")) {
        r.Kmc = in.Klk * in.Kls;
        r.Note = QStringLiteral(" (по п.16 Клк=") + FormatGeneral(in.Klk) + QStringLiteral(" x Клс=") +
                 FormatGeneral(in.Kls) + QLatin1Char(')');
    } else if (c == QLatin1String("800")) {
        r.Kmc = waterObjectType == kNationalWater ? 1.2 : 1.0;
        r.Note = QStringLiteral(" (по п.17 =1,0 або 1,2)");
    } else if (c == QLatin1String("900") && location == kInsideSettlement) {
        r.Kmc = in.Kmc1;
        r.Note = QStringLiteral(" (по п.13 =Kмц1)");
    } else if (c == QLatin1String("900") && location == kOutsideSettlement) {
        r.Kmc = in.KmcI;
        r.Note = QStringLiteral(" (по п.13 =KмцПром)");
    }
    return r;
}

bool Km4IsFixed(const QString& category) {
    return In(category, {"100", "300", "400", "600", "700", "800"});
}

int KpsgrColumn(const QString& agriLandType) {
    const int i = static_cast<int>(AgriLandTypeList().indexOf(agriLandType));
    return i < 0 ? -1 : NgoColumns::kPsrKpsgrFirst + i;
}

double FactorValue(const QString& text) {
    QString s = text.trimmed();
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = ParseNumber(s, &ok);
    return ok ? v : 0;
}

double ValuationAmount(const TCalcFactors& f) {
    return f.Pd * f.Nrd * f.Km1 * f.Km2 * f.Km3 * f.Km4 * f.Kcp * f.Kmc * f.Kni;
}

QString FormatAmount(double amount) {
    return FormatFloatPattern(QStringLiteral("### ### ### ##0.00"), amount);
}

QStringList CalculationHeaderLines() {
    return {QStringLiteral("Розрахунки по формулі: Цн = Пд х Нрд х Км1 х Км2 х Км3 х Км4 х Кцп х Кмц х Кні"),
            QString()};
}

QString AreaLine(double pd) {
    return QStringLiteral("Пд=") + FormatGeneral(pd) + QStringLiteral(" кв.м");
}

QStringList FactorLines(const TCalcFactors& f, const QString& amountLabel) {
    return {QStringLiteral("Нрд=") + FormatGeneral(f.Nrd) + QStringLiteral(" грн за кв.м."),
            QStringLiteral("Км1=") + FormatGeneral(f.Km1),
            QStringLiteral("Км2=") + FormatGeneral(f.Km2),
            QStringLiteral("Км3=") + FormatGeneral(f.Km3),
            QStringLiteral("Км4=") + FormatGeneral(f.Km4) + f.Km4Note,
            QStringLiteral("Кцп=") + FormatGeneral(f.Kcp),
            QStringLiteral("Кмц=") + FormatGeneral(f.Kmc) + f.KmcNote,
            QStringLiteral("Кні=") + f.KniText,
            amountLabel + FormatAmount(ValuationAmount(f)) + QStringLiteral(" грн")};
}

QString JoinCalculationLines(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString StoredCoefficientValue(const QString& rowText) {
    const int at = rowText.indexOf(kRowMarker);
    return at < 0 ? rowText : rowText.left(at);
}

QString StoredCoefficientRow(const QString& rowText) {
    const int at = rowText.indexOf(kRowMarker);
    return at < 0 ? QString() : rowText.mid(at + kRowMarker.size());
}

double StoredCoefficientNumber(const QString& rowText) {
    return FactorValue(StoredCoefficientValue(rowText));
}

TCalcFactors CurrentFactors(const TGeneralData& d, const TValuationBoxes& b, const TCoefficientTable& psr) {
    TCalcFactors f;
    f.Pd = FactorValue(d.AreaText) * 10000;
    f.Nrd = FactorValue(b.Nrd.Value);
    if (b.NrdAppendix == kAppendix2) f.Nrd /= 10000; // the appendix-2 norms are per hectare
    f.Km1 = FactorValue(b.Km1.Value);
    f.Km2 = FactorValue(b.Km2.Value);
    f.Km3 = FactorValue(b.Km3.Value);
    f.Km4 = Km4IsFixed(d.CategoryCode) ? 1.0 : FactorValue(b.Km4.Value);
    f.Kcp = FactorValue(b.Kcp.Value);
    TKmcInputs in;
    const QString psrRow = b.Psr.Row.trimmed();
    in.Kpsgr = IsIntegerText(psrRow)
                   ? KpsgrOf(psr, static_cast<int>(TextToIntOrZero(psrRow)) - 1, d.AgriLandType)
                   : 0;
    in.Kmc1 = FactorValue(b.Kmc1.Value);
    in.KmcH = FactorValue(b.KmcH.Value);
    in.KmcN = FactorValue(b.KmcN.Value);
    in.KmcI = FactorValue(b.KmcI.Value);
    in.Klk = FactorValue(b.Klk.Value);
    in.Kls = FactorValue(b.Kls.Value);
    const TKmcRule kmc = KmcByCategory(d.CategoryCode, d.PurposeCode, d.LocationKind, d.WaterObjectType, in);
    f.Kmc = kmc.Kmc;
    f.KmcNote = kmc.Note;
    f.Kni = FactorValue(b.KniValue);
    f.KniText = FormatGeneral(f.Kni) + QStringLiteral(" (") + b.KniFormula + QLatin1Char(')');
    return f;
}

TCalcFactors PreviousFactors(const TGeneralData& d, const TValuationBoxes& b,
                             const TCoefficientTable& psrPrev, const TCalcFactors& current) {
    TCalcFactors f;
    f.Pd = current.Pd;
    f.Nrd = StrictValue(b.Nrd.Prev);
    if (f.Nrd > 2000) f.Nrd /= 10000; // a norm that large is per hectare
    f.Km1 = StrictValue(b.Km1.Prev);
    f.Km2 = StrictValue(b.Km2.Prev);
    f.Km3 = StrictValue(b.Km3.Prev);
    f.Km4 = Km4IsFixed(d.CategoryCode) ? 1.0 : StrictValue(b.Km4.Prev);
    if (b.Km4.Prev.contains(QLatin1Char(',')))
        f.Km4Note = QStringLiteral(" (більше 1го оц.района не підтримується оцінка)");
    f.Kcp = current.Kcp;
    TKmcInputs in;
    in.Kpsgr = KpsgrOf(psrPrev, 0, d.AgriLandType);
    in.Kmc1 = StrictValue(b.Kmc1.Prev);
    in.KmcH = StrictValue(b.KmcH.Prev);
    in.KmcN = StrictValue(b.KmcN.Prev);
    in.KmcI = StrictValue(b.KmcI.Prev);
    in.Klk = StrictValue(b.Klk.Prev);
    in.Kls = StrictValue(b.Kls.Prev);
    f.Kmc = KmcByCategory(d.CategoryCode, d.PurposeCode, d.LocationKind, d.WaterObjectType, in).Kmc;
    f.Kni = current.Kni;
    f.KniText = current.KniText;
    return f;
}

QString BuildCalculationText(const TGeneralData& d, const TValuationBoxes& b, const TCoefficientTable& psr,
                             const TCoefficientTable& psrPrev, const QString& mode) {
    const TCalcFactors current = CurrentFactors(d, b, psr);
    QStringList lines = CalculationHeaderLines();
    lines << AreaLine(current.Pd) << FactorLines(current, QStringLiteral("ОЦІНКА="));
    if (!mode.isEmpty()) {
        lines << QString() << QStringLiteral("ПОПЕРЕДНІ КОЕФІЦІЄНТИ:");
        lines << FactorLines(PreviousFactors(d, b, psrPrev, current), QStringLiteral("ОЦІНКА БУЛА="));
    }
    return JoinCalculationLines(lines);
}
