#include "shell/TFormWait.h"

TFormWait::TFormWait(QWidget* parent) : QDialog(parent) { setObjectName(QStringLiteral("TFormWait")); }
