// Pictures for docs/screenshots: runs only when ZEMLYAR_SCREENSHOT_DIR names a folder and the tests run on a
// real (virtual) X display (scripts/screenshots).
#include "common/RecordingSink.h"
#include "shell/TFormWait.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(Screenshots, WaitWindowDuringAJob) {
    const QString dir = qEnvironmentVariable("ZEMLYAR_SCREENSHOT_DIR");
    if (dir.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "screenshots are taken by scripts/screenshots";
    TTestProgramDir program;
    TRecordingSink sink;
    TFormXMLMain main;
    main.showMaximized();
    TFormWait wait(&main);
    wait.PrepareWait(false, QString());
    int rc = -1;
    wait.RunJob([&](TWaitProgress& p, TMessages&) {
        p.ShowProgress(true);
        p.EnableStop(true);
        p.SetProgress(10, 3);
        p.SetWaitStatus(QStringLiteral("Заповнення \"Розділ 2.odt\"..."));
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        const QRect r = wait.frameGeometry().adjusted(-1, -1, 1, 1);
        rc = QProcess::execute(
            QStringLiteral("import"),
            {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
             QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()),
             QStringLiteral("+repage"), dir + QStringLiteral("/wait-window.png")});
    });
    EXPECT_EQ(rc, 0);
}

} // namespace
