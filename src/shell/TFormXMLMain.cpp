#include "shell/TFormXMLMain.h"

#include "app/GlobalVar.h"

TFormXMLMain::TFormXMLMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TFormXMLMain"));
    setWindowTitle(GlobalVar().AppName);
}
