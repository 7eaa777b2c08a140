#pragma once
// Edit-box input filters as pure functions on the text and caret; common/ui/EditFilters.h applies them to
// widgets.
#include <QString>

struct TFilterResult {
    QString text;
    int caret = 0;
    bool rejected = false; // at least one character was removed (the caller beeps once)
};

// Removes every character not in the allowed set, keeping the caret at the same logical place.
TFilterResult FilterChars(const QString& text, int caret, const QString& allowed);
// Number input: "," becomes "."; digits, one leading "-" and one "." are kept, at most maxIntDigits digits
// before and maxFracDigits after the first ".".
TFilterResult FilterNumberText(const QString& text, int caret, int maxIntDigits, int maxFracDigits);
