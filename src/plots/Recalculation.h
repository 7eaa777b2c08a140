#pragma once
// The plot database window's recomputation of a stored valuation: the indexation step (Кні from the yearly
// list) and the recalculation from the stored coefficient texts. Both work on the rows of the window's
// property list, by row name, and share the calculation rules and text of the valuation wizard.
#include "valuation/CoefficientTable.h"
#include "valuation/RefFiles.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Row name (NxItemCategory, NxItemOcNdr, ...) -> the row's text.
using TPlotRows = QMap<QString, QString>;

// Replaces *indexationList (the wizard's ListYearsKni) by YEARS_SH.dat (category 100) or YEARS.dat when the
// file exists, else by the built-in list; rewrites NxItemOcYear (2026 when it is not a whole number) and
// NxItemOcKni ("1.608 (1.0 x 1.1 x ...)").
void RecalcIndexation(TPlotRows& rows, const TRefFiles& files, QStringList* indexationList);

// Rewrites NxItemOcKm4 (categories with a fixed Км4), NxItemOcPsrKpsgp, NxItemOcKmc and NxItemOcValue and
// returns the report for MemoCalculation. psr is the wizard's NextGridPSR. With normaliseArea ("Оновити
// оцінку") NxItemSQ first gets "," replaced by "." and is trimmed.
QString RecalcValuation(TPlotRows& rows, const TCoefficientTable& psr, bool normaliseArea = false);
