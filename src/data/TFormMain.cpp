#include "data/TFormMain.h"

TFormMain::TFormMain(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("TFormMain")); }

bool TFormMain::OpenDatabases() { return true; }
