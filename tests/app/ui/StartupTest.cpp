#include "app/ui/Startup.h"
#include "app/GlobalVar.h"
#include "app/ui/AppWindows.h"
#include "app/ui/TFormSplash.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(Splash, ShowsNameAndVersion) {
    TFormSplash splash;
    EXPECT_EQ(splash.ProgramNameText(), "Zemlyar\n v1.1.260527");
    splash.SetStatus("Ініціалізація...");
    EXPECT_EQ(splash.findChild<QLabel*>("Status")->text(), "Ініціалізація...");
}

TEST(Startup, CreatesTheWindowsAndShowsTheMainWindow) {
    TTestProgramDir dir;
    ASSERT_TRUE(dir.CopyFromProgram("ref.db")); // the shipped reference database must be there
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    ASSERT_TRUE(RunStartup(*app, dir.File("zemlyar")));
    TAppWindows& w = AppWindows();
    ASSERT_NE(w.FormXMLMain, nullptr);
    EXPECT_NE(w.FormMain, nullptr);
    EXPECT_NE(w.FormWait, nullptr);
    EXPECT_NE(w.FormSelectKatottg, nullptr);
    EXPECT_EQ(w.FormSelectCoefKlk, nullptr);
    EXPECT_TRUE(w.FormXMLMain->isVisible());
    EXPECT_TRUE(w.FormXMLMain->windowTitle().startsWith("Zemlyar"));
    EXPECT_EQ(QDir::currentPath(), GlobalVar().Settings.ProgramDir);
    ShutdownWindows();
    EXPECT_EQ(AppWindows().FormXMLMain, nullptr);
}

} // namespace
