// Core tests run without a screen; QtGui is available through the offscreen platform.
#include "app/GlobalVar.h"

#include <QGuiApplication>
#include <QLocale>

#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    InitGlobalVar(QStringLiteral(ZEMLYAR_PROGRAM_DIR) + QStringLiteral("/zemlyar"), false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
