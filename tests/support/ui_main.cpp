// Widget tests run on the offscreen platform.
#include "app/GlobalVar.h"
#include "app/ui/Startup.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Offscreen unless a test run asks for a real display (pictures under Xvfb).
    const QByteArray platform = qgetenv("ZEMLYAR_UI_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QApplication app(argc, argv);
    SetProcessDecimalSeparator();
    InitGlobalVar(QStringLiteral(ZEMLYAR_PROGRAM_DIR) + QStringLiteral("/zemlyar"), false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
