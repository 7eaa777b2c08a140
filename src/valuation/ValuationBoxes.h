#pragma once
// The result boxes of the coefficient pages: what the wizard shows and the calculation, the summary and the
// valuation record read. Plain texts, exactly as the boxes hold them (a typed "1,25" stays "1,25").
#include <QString>

struct TCoefficientBox {
    QString Value;            // E...Value
    QString Row;              // E...Ndx: "3", "0", "", "2x5"
    QString Prev;             // E...ValuePrev: the value of the earlier valuation
    bool PrevVisible = false; // the previous-value box is shown (modes "compare" and "again")
};

struct TValuationBoxes {
    TCoefficientBox Nrd; // ENrdValue, ENrdNdx, ENrdValuePrev
    QString NrdAppendix; // ENrdDodatok: "дод.1" or "дод.2"
    TCoefficientBox Km1, Km2, Km3, Kcp, Kmc1, KmcI, KmcH, KmcN, Kls;
    TCoefficientBox Klk;            // EKlkValue, EKlkNdx, EKlkValuePrev
    TCoefficientBox Km4;            // EKm4Value, -, EKm4ValuePrev
    TCoefficientBox DistrictNumber; // EOcRaNoValue, -, EOcRaNoValuePrev
    TCoefficientBox Psr;            // EPSRValue (name and cipher), EPSRNdx
    QString PsrNumber;              // EPSRValue2
    QString KniValue;               // EKniValue
    QString KniFormula;             // EKniFormula
};
