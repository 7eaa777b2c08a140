#pragma once
// Кні: the product of the yearly indexation coefficients from the base year up to the year before the
// year of valuation.
#include <QString>
#include <QStringList>

struct TKni {
    double Product = 1.0;
    QString Value;   // the product, "0.000"
    QString Factors; // the factors, "0.0##" each, joined by " x "
};

// list: "year=value" lines; rows whose year is not an integer or whose value is not a number are skipped.
TKni ComputeKni(const QStringList& list, int baseYear, int yearOfValuation);
