#include "common/InputFilters.h"

#include <algorithm>

TFilterResult FilterChars(const QString& text, int caret, const QString& allowed) {
    TFilterResult r;
    r.caret = caret;
    for (int i = 0; i < text.size(); ++i) {
        if (allowed.contains(text[i])) {
            r.text += text[i];
        } else {
            r.rejected = true;
            if (i < caret) --r.caret;
        }
    }
    r.caret = std::clamp(r.caret, 0, static_cast<int>(r.text.size()));
    return r;
}

TFilterResult FilterNumberText(const QString& text, int caret, int maxIntDigits, int maxFracDigits) {
    TFilterResult r;
    r.caret = caret;
    bool seenDot = false;
    int intDigits = 0, fracDigits = 0;
    for (int i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == ',') c = '.';
        bool reject = false;
        if (c.isDigit() && c.unicode() < 128) {
            int& counter = seenDot ? fracDigits : intDigits;
            ++counter;
            reject = counter > (seenDot ? maxFracDigits : maxIntDigits);
        } else if (c == '-') {
            reject = i != 0;
        } else if (c == '.') {
            reject = seenDot;
            seenDot = true;
        } else {
            reject = true;
        }
        if (reject) {
            r.rejected = true;
            if (i < caret) --r.caret;
        } else {
            r.text += c;
        }
    }
    r.caret = std::clamp(r.caret, 0, static_cast<int>(r.text.size()));
    return r;
}
