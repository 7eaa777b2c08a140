#pragma once
#include <QString>

class QLineEdit;

void FilterEditChars(QLineEdit* edit, const QString& allowed);
void FilterNumberEdit(QLineEdit* edit, int maxIntDigits, int maxFracDigits);
