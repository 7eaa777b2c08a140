#include "shell/TFormLogDlg.h"

TFormLogDlg::TFormLogDlg(QWidget* parent) : QDialog(parent) { setObjectName(QStringLiteral("TFormLogDlg")); }
