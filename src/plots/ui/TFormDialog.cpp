#include "plots/ui/TFormDialog.h"

TFormDialog::TFormDialog(QWidget* parent) : QDialog(parent) { setObjectName(QStringLiteral("TFormDialog")); }
