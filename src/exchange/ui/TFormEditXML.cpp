#include "exchange/ui/TFormEditXML.h"

TFormEditXML::TFormEditXML(QWidget* parent) : QMainWindow(parent) { setObjectName(QStringLiteral("TFormEditXML")); }
