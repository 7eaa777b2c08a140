// Widget tests run on the offscreen platform.
#include "app/GlobalVar.h"
#include "app/ui/Startup.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Offscreen unless a platform was asked for (screenshots under a virtual X server use xcb).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetProcessDecimalSeparator();
    InitGlobalVar(QStringLiteral(ZEMLYAR_PROGRAM_DIR) + QStringLiteral("/zemlyar"), false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
