#pragma once
// The valuation Цн = Пд х Нрд х Км1 х Км2 х Км3 х Км4 х Кцп х Кмц х Кні and its calculation text. The
// category rule for Кмц and the text lines are shared by the wizard and the plot database's recalculation.
#include "valuation/CoefficientTable.h"
#include "valuation/GeneralData.h"
#include "valuation/ValuationBoxes.h"

#include <QString>
#include <QStringList>

// The inputs of the Кмц rule; only the ones the category needs are read.
struct TKmcInputs {
    double Kpsgr = 0; // category 100
    double Kmc1 = 0;  // 200, 400 inside, 500, 900 inside
    double KmcH = 0;  // 400 outside
    double KmcN = 0;  // 600
    double KmcI = 0;  // 900 outside
    double Klk = 0;   // 700
    double Kls = 0;   // 700
};

struct TKmcRule {
    double Kmc = 1.0;
    QString Note; // appended to the "Кмц=" line
};

TKmcRule KmcByCategory(const QString& category, const QString& purposeCode, const QString& location,
                       const QString& waterObjectType, const TKmcInputs& inputs);
// Км4 is 1.0 for the categories 100, 300, 400, 600, 700 and 800.
bool Km4IsFixed(const QString& category);
// The column of NextGridPSR holding Кпсгр for the kind of agricultural land (4..8), -1 for another text.
int KpsgrColumn(const QString& agriLandType);
// A cell or box read as a number: trimmed, "," read as "."; 0 when it does not parse.
double FactorValue(const QString& text);

struct TCalcFactors {
    double Pd = 0;  // square metres
    double Nrd = 0; // UAH per square metre
    double Km1 = 0, Km2 = 0, Km3 = 0, Km4 = 0, Kcp = 0, Kmc = 0, Kni = 0;
    QString Km4Note;
    QString KmcNote;
    QString KniText; // everything after "Кні=" (the wizard: Кні, " (", factors, ")")
};

// Пд x Нрд x Км1 x Км2 x Км3 x Км4 x Кцп x Кмц x Кні, multiplied in this order.
double ValuationAmount(const TCalcFactors& f);
// "### ### ### ##0.00": digit groups of three separated by spaces, two decimals.
QString FormatAmount(double amount);

// "Розрахунки по формулі: ..." and the empty line.
QStringList CalculationHeaderLines();
// "Пд=... кв.м".
QString AreaLine(double pd);
// "Нрд=" to the amount line ("ОЦІНКА=" or "ОЦІНКА БУЛА=").
QStringList FactorLines(const TCalcFactors& f, const QString& amountLabel);
// Lines each ended by CR LF.
QString JoinCalculationLines(const QStringList& lines);

// Stored coefficients (plot database, re-valuation): value, ", рядок в табл. № ", row.
// The value part of a stored coefficient ("1.2, рядок в табл. № 3" -> "1.2").
QString StoredCoefficientValue(const QString& rowText);
// The row part ("... № 3 (дод.2)" -> "3 (дод.2)"); empty when there is none.
QString StoredCoefficientRow(const QString& rowText);
// The value part with "," read as ".", trimmed, as a number; 0 when it does not parse.
double StoredCoefficientNumber(const QString& rowText);

// The wizard's factors from its boxes. psr is NextGridPSR (Кпсгр of the row in EPSRNdx).
TCalcFactors CurrentFactors(const TGeneralData& data, const TValuationBoxes& boxes,
                            const TCoefficientTable& psr);
// The factors of the earlier valuation from the previous-value boxes; psrPrev is NextGridPSRPrev.
TCalcFactors PreviousFactors(const TGeneralData& data, const TValuationBoxes& boxes,
                             const TCoefficientTable& psrPrev, const TCalcFactors& current);
// The text of MemoCalculation; with a mode ("compare", "again") the block of the previous coefficients.
QString BuildCalculationText(const TGeneralData& data, const TValuationBoxes& boxes,
                             const TCoefficientTable& psr, const TCoefficientTable& psrPrev,
                             const QString& mode);
