#include "app/GlobalVar.h"

#include "common/Files.h"
#include "common/TextHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

const QString kAppName = QStringLiteral("Zemlyar");
const QString kAppVersion = QStringLiteral("1.1.260527");

TGlobalVar& GlobalVar() {
    static TGlobalVar g;
    return g;
}

void InitGlobalVar(const QString& executablePath, bool createFolders) {
    TGlobalVar& g = GlobalVar();
    g.AppName = kAppName;
    g.AppVersion = kAppVersion;
    const QFileInfo exe(QDir::fromNativeSeparators(executablePath));
    TSettings& s = g.Settings;
    s.ProgramDir = StripTrailingBackslashes(QDir::fromNativeSeparators(exe.absolutePath()));
    if (s.ProgramDir.isEmpty()) s.ProgramDir = QStringLiteral("/");
    const QString base = s.ProgramDir == QLatin1String("/") ? QString() : s.ProgramDir;
    s.IniFile = base + '/' + exe.fileName() + QStringLiteral(".ini");
    s.TempDir = base + QStringLiteral("/Temp");
    // The generator is still in its initial state here, so the name is the same on every start.
    ResetRandomGenerator();
    s.CacheDir = base + QStringLiteral("/Cashe/") + RandomDigits(10);
    s.MapsDir = base + QStringLiteral("/Карти");
    s.TemplatesDir = base + QStringLiteral("/Templ");
    if (createFolders) {
        QDir().mkpath(s.TempDir);
        QDir().mkpath(s.CacheDir);
    }
}

bool FolderIsWritable(const QString& folder) {
    QTemporaryFile probe(folder + QStringLiteral("/.write-probe-XXXXXX"));
    return probe.open();
}
