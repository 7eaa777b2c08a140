#include "app/ui/Startup.h"

#include "app/GlobalVar.h"
#include "app/ui/AppWindows.h"
#include "app/ui/TFormSplash.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "common/ui/MessageBoxSink.h"
#include "data/TFormMain.h"
#include "exchange/ui/TFormEditXML.h"
#include "map/MapLayers.h"
#include "map/ui/MapSaveCommands.h"
#include "map/ui/TFormCK63.h"
#include "map/ui/TFormMapView.h"
#include "plots/ui/TFormDialog.h"
#include "shell/TFormLogDlg.h"
#include "shell/TFormWait.h"
#include "shell/TFormXMLMain.h"
#include "valuation/ui/NgoCommands.h"
#include "valuation/ui/TFormSelectKatottg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QThread>

#include <clocale>

namespace {
constexpr int kSplashMinimumMs = 700;
}

TAppWindows& AppWindows() {
    static TAppWindows w;
    return w;
}

void SetProcessDecimalSeparator() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    QLocale::setDefault(c);
}

bool RunStartup(QApplication& app, const QString& executablePath) {
    static TMessageBoxSink sink;
    SetMessageSink(&sink);

    // Names, folders, settings file, cache folder (before the generator is seeded).
    InitGlobalVar(executablePath);
    app.setApplicationName(GlobalVar().AppName);
    app.setApplicationDisplayName(GlobalVar().AppName);
    Randomize();
    SetProcessDecimalSeparator();
    QDir::setCurrent(GlobalVar().Settings.ProgramDir);

    if (!FolderIsWritable(GlobalVar().Settings.ProgramDir)) {
        ShowError(QString(),
                  QStringLiteral("Папка програми недоступна для запису:\r") +
                      GlobalVar().Settings.ProgramDir +
                      QStringLiteral("\rНалаштування, бази даних і робочі копії зберігаються в ній, тому "
                                     "програма не може працювати."));
        return false;
    }

    auto* splash = new TFormSplash();
    QElapsedTimer splashShown;
    splashShown.start();
    splash->show();
    splash->SetStatus(QStringLiteral("Ініціалізація..."));

    TAppWindows& w = AppWindows();
    w.FormXMLMain = new TFormXMLMain();
    w.FormMain = new TFormMain(&app);

    splash->SetStatus(QStringLiteral("Завантаження форм..."));
    w.FormDialog = new TFormDialog(w.FormXMLMain);
    w.FormWait = new TFormWait(w.FormXMLMain);
    w.FormLogDlg = new TFormLogDlg(w.FormXMLMain);
    w.FormXMLMain->SetLogWindow(w.FormLogDlg);
    w.FormEditXML = new TFormEditXML();
    w.FormMapView = new TFormMapView();
    w.FormXMLMain->SetMapViewPort(w.FormMapView);
    w.FormMapView->LogLine = [main = w.FormXMLMain](const QString& line) { main->LogLine(line); };
    w.FormMapView->NavigatorLink = [main = w.FormXMLMain](const QString& layer, int number, int parent) {
        main->SelectNavigatorObject(layer, number, parent);
    };
    w.FormCK63 = new TFormCK63(w.FormXMLMain);
    w.FormSelectKatottg = new TFormSelectKatottg(w.FormXMLMain);
    RegisterNgoCommands(*w.FormXMLMain);
    RegisterSaveCommands(*w.FormXMLMain, *w.FormMapView);

    splash->SetStatus(QStringLiteral("Завантаження довідників..."));
    // Both databases; a connection failure has been shown and ends the program.
    if (!w.FormMain->OpenDatabases()) {
        delete splash;
        return false;
    }
    // Map styles of exchange-file objects.
    LoadXmlStyles(GlobalVar().Settings.IniFile);
    // The codifier's first level (a failure has been shown; the picker stays empty).
    w.FormSelectKatottg->FillTree();

    splash->SetStatus(QStringLiteral("Запуск програми..."));
    // Long enough to be read even when everything above was quick.
    while (splashShown.elapsed() < kSplashMinimumMs) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(10);
    }
    splash->hide();
    delete splash;

    // Without a window manager a maximise request does nothing: give the window the whole screen as well.
    if (QScreen* screen = QApplication::primaryScreen())
        w.FormXMLMain->setGeometry(screen->availableGeometry());
    w.FormXMLMain->showMaximized();
    return true;
}

void ShutdownWindows() {
    TAppWindows& w = AppWindows();
    if (w.FormXMLMain) w.FormXMLMain->SetMapViewPort(nullptr);
    delete w.FormMapView;
    delete w.FormEditXML;
    ReleaseSharedNgoWizard();
    delete w.FormXMLMain; // owns the dialogs
    w = TAppWindows{};
}
