#pragma once
// Application-wide values fixed at start-up.
#include <QString>

struct TSettings {
    QString ProgramDir;   // folder of the running executable, no trailing separator
    QString TempDir;      // ProgramDir + "/Temp": parent of the per-document working folders
    QString TemplatesDir; // ProgramDir + "/Templ"
    QString IniFile;      // executable path + ".ini"
    QString CacheDir;     // ProgramDir + "/Cashe/" + ten digits from the unseeded generator
    QString MapsDir;      // ProgramDir + "/Карти"
};

struct TGlobalVar {
    QString AppName;
    QString AppVersion;
    TSettings Settings;
};

extern const QString kAppName;    // "Zemlyar"
extern const QString kAppVersion; // "1.1.260527"

TGlobalVar& GlobalVar();

// Fills GlobalVar() from the executable's path (start-up steps 2 to 5): names, folders, ini path and the
// cache folder name from the generator in its initial state. Creates TempDir and CacheDir silently.
void InitGlobalVar(const QString& executablePath, bool createFolders = true);

// True when files can be created in the folder.
bool FolderIsWritable(const QString& folder);
