#include "map/ui/TFormCK63.h"

TFormCK63::TFormCK63(QWidget* parent) : QDialog(parent) { setObjectName(QStringLiteral("TFormCK63")); }
