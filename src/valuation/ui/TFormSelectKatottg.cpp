#include "valuation/ui/TFormSelectKatottg.h"

TFormSelectKatottg::TFormSelectKatottg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormSelectKatottg"));
}
