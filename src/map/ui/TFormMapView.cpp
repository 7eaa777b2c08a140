#include "map/ui/TFormMapView.h"

TFormMapView::TFormMapView(QWidget* parent) : QMainWindow(parent) { setObjectName(QStringLiteral("TFormMapView")); }
