#pragma once
// The one place where numbers become texts and texts numbers. "." is the decimal separator everywhere.
// Rounding is half away from zero on the decimal value of the number (its shortest exact-round-trip
// decimal form), so 2.675 with two decimals gives 2.68 although the double is slightly below it.
#include <QString>

// Strict parse: optional "-", digits, at most one "." with digits on both sides; exponents "e"/"E" allowed
// only when allowExponent. A comma is never a decimal separator here.
double ParseNumber(const QString& text, bool* ok, bool allowExponent = false);

// The value rounded to `decimals` places, half away from zero on the decimal value.
double RoundDecimal(double value, int decimals);

// n = 0: whole number; n > 0: exactly n decimals; no thousands separators.
QString FormatDecimals(double value, int decimals);

// A picture pattern: integer placeholders "0" (always a digit) and "#" (a digit when there is one), spaces
// between integer placeholders as group separators shown only between digits, then "." and fraction
// placeholders "0" (always) and "#" (only when not a trailing zero). Examples: "0.0######", "0.#######",
// "0.000", "0.00", "### ### ### ##0.00".
QString FormatFloatPattern(const QString& pattern, double value);

// The general form: up to 15 significant digits, "." separator, no trailing zeros, exponent form
// ("1E20", "1E-7") only for very large or very small values.
QString FormatGeneral(double value);
