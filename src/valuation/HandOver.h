#pragma once
// The hand-over record of "Створити XML" from the page "Завершення": the summary edits, the chosen row of
// NextGridPSR, the rows of NextGridAgro, the organisation choice, the approval fields and the check boxes.
// The wizard and the command-line valuation fill it the same way.
#include "exchange/ValuationHandOver.h"
#include "valuation/CoefficientTable.h"
#include "valuation/Summary.h"

// psrRowText: the row box of the natural-agricultural district page (EPSRNdx, 1-based); sourceIsValuation:
// the plot was imported from an earlier valuation file (CBSrcNGOXML), else from a land-management file.
TValuationHandOver HandOverFromSummary(const TSummary& summary, const TCoefficientTable& psr,
                                       const QString& psrRowText, const TCoefficientTable& agro,
                                       bool sourceIsValuation);
