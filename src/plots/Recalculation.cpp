#include "plots/Recalculation.h"

#include "common/NumberFormat.h"
#include "common/TextHelpers.h"
#include "valuation/Calculation.h"
#include "valuation/GeneralData.h"
#include "valuation/Indexation.h"
#include "valuation/NgoTables.h"
#include "valuation/ReferenceStores.h"

namespace {

QString Row(const TPlotRows& rows, const char* name) {
    return rows.value(QString::fromLatin1(name));
}

} // namespace

void RecalcIndexation(TPlotRows& rows, const TRefFiles& files, QStringList* indexationList) {
    const QString category = CodeBeforeDash(Row(rows, "NxItemCategory"));
    if (!LoadIndexationList(files.Path(IndexationFileName(category)), indexationList))
        *indexationList = BuiltInIndexationList();
    const QString yearText = Row(rows, "NxItemOcYear").trimmed();
    const int year = IsIntegerText(yearText) ? static_cast<int>(TextToIntOrZero(yearText)) : 2026;
    rows[QStringLiteral("NxItemOcYear")] = QString::number(year);
    const TKni kni = ComputeKni(*indexationList, ReadBaseYear(files.Path(kNgoFile)), year);
    rows[QStringLiteral("NxItemOcKni")] = kni.Value + QStringLiteral(" (") + kni.Factors + QLatin1Char(')');
}

QString RecalcValuation(TPlotRows& rows, const TCoefficientTable& psr, bool normaliseArea) {
    if (normaliseArea) {
        QString area = Row(rows, "NxItemSQ");
        area.replace(QLatin1Char(','), QLatin1Char('.'));
        rows[QStringLiteral("NxItemSQ")] = area.trimmed();
    }
    const QString category = CodeBeforeDash(Row(rows, "NxItemCategory"));
    const QString purpose = CodeBeforeDash(Row(rows, "NxItemCileve"));
    const QString landType = Row(rows, "NxItemVydSilhoz").trimmed();
    const QString water = Row(rows, "NxItemVydVodnogo").trimmed();
    const QString location = Row(rows, "NxItemVMezhah").trimmed();

    TCalcFactors f;
    f.Pd = FactorValue(Row(rows, "NxItemSQ")) * 10000;
    const QString nrd = Row(rows, "NxItemOcNdr");
    f.Nrd = StoredCoefficientNumber(nrd);
    if (nrd.contains(QStringLiteral("дод.2"))) f.Nrd /= 10000;
    f.Km1 = StoredCoefficientNumber(Row(rows, "NxItemOcKm1"));
    f.Km2 = StoredCoefficientNumber(Row(rows, "NxItemOcKm2"));
    f.Km3 = StoredCoefficientNumber(Row(rows, "NxItemOcKm3"));
    f.Kcp = StoredCoefficientNumber(Row(rows, "NxItemOcKcp"));
    if (Km4IsFixed(category)) {
        f.Km4 = 1;
        rows[QStringLiteral("NxItemOcKm4")] = QStringLiteral("1.0");
    } else {
        f.Km4 = StoredCoefficientNumber(Row(rows, "NxItemOcKm4"));
    }

    TKmcInputs in;
    if (category == QLatin1String("100")) {
        const QString psrRow = StoredCoefficientRow(Row(rows, "NxItemOcPsrNo")).trimmed();
        const int row = IsIntegerText(psrRow) ? static_cast<int>(TextToIntOrZero(psrRow)) - 1 : -1;
        const int column = KpsgrColumn(landType);
        if (row >= 0 && row < psr.RowCount() && column >= 0) in.Kpsgr = FactorValue(psr.Cell(row, column));
    }
    if (category == QLatin1String("700")) {
        in.Klk = StoredCoefficientNumber(Row(rows, "NxItemOcKlk"));
        in.Kls = StoredCoefficientNumber(Row(rows, "NxItemOcKls"));
    }
    in.Kmc1 = StoredCoefficientNumber(Row(rows, "NxItemOcKmc1"));
    in.KmcH = StoredCoefficientNumber(Row(rows, "NxItemOcKmcH"));
    in.KmcN = StoredCoefficientNumber(Row(rows, "NxItemOcKmcN"));
    in.KmcI = StoredCoefficientNumber(Row(rows, "NxItemOcKmcI"));
    const TKmcRule kmc = KmcByCategory(category, purpose, location, water, in);
    f.Kmc = kmc.Kmc;
    f.KmcNote = kmc.Note;
    rows[QStringLiteral("NxItemOcPsrKpsgp")] = FormatFloatPattern(QStringLiteral("0.0####"), in.Kpsgr);
    rows[QStringLiteral("NxItemOcKmc")] = FormatFloatPattern(QStringLiteral("0.0####"), f.Kmc);

    const QString kniText = Row(rows, "NxItemOcKni");
    const int bracket = kniText.indexOf(QLatin1Char('('));
    f.Kni = FactorValue(bracket < 0 ? kniText : kniText.left(bracket));
    f.KniText = kniText;
    rows[QStringLiteral("NxItemOcValue")] = FormatFloatPattern(QStringLiteral("0.00"), ValuationAmount(f));

    QStringList lines = CalculationHeaderLines();
    lines << AreaLine(f.Pd) << FactorLines(f, QStringLiteral("ОЦІНКА="));
    return JoinCalculationLines(lines);
}
