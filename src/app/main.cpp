#include "app/ui/Startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Command-line parameters are not used by the program.
    QApplication app(argc, argv);
    SetProcessDecimalSeparator();
    if (!RunStartup(app, QCoreApplication::applicationFilePath())) {
        ShutdownWindows();
        return 1;
    }
    const int rc = app.exec();
    ShutdownWindows();
    return rc;
}
