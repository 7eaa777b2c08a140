#include "common/ui/EditFilters.h"

#include "common/InputFilters.h"

#include <QApplication>
#include <QLineEdit>

namespace {
void Apply(QLineEdit* edit, const TFilterResult& r) {
    if (!r.rejected && r.text == edit->text()) return;
    if (r.rejected) QApplication::beep();
    const QSignalBlocker block(edit);
    edit->setText(r.text);
    edit->setCursorPosition(r.caret);
}
} // namespace

void FilterEditChars(QLineEdit* edit, const QString& allowed) {
    if (!edit) return;
    Apply(edit, FilterChars(edit->text(), edit->cursorPosition(), allowed));
}

void FilterNumberEdit(QLineEdit* edit, int maxIntDigits, int maxFracDigits) {
    if (!edit) return;
    Apply(edit, FilterNumberText(edit->text(), edit->cursorPosition(), maxIntDigits, maxFracDigits));
}
