#pragma once
// File, folder and program helpers. Paths use "/".
#include <QByteArray>
#include <QString>
#include <QStringList>

bool FileExistsQuiet(const QString& path);
// Removes every trailing "/" or "\" (but keeps a lone root "/").
QString StripTrailingBackslashes(const QString& path);
QString FileNameOnly(const QString& path, bool keepCase = false);
QString FileExtLower(const QString& path);
QString WithoutExtension(const QString& path);
// Files (not folders) matching one of the ";"-separated masks, sorted; empty when the folder is missing.
QStringList ListFiles(const QString& folder, const QString& masks, bool fullPaths);
// Deletes the folder with everything in it; an empty name or a missing folder counts as success.
bool DeleteFolderTree(const QString& folder);
QByteArray ReadFileBytes(const QString& path, bool* ok = nullptr);
// Whole content as text (UTF-8 when valid, else windows-1251); an unreadable file gives an empty text.
QString ReadTextFile(const QString& path);
// Writes through a temporary file in the same folder and a rename; the old file stays when anything fails.
bool WriteFileAtomic(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Opens the file or folder with its associated program. Returns 33 on success (as a shell does),
// 2 / 3 for a missing file / path, 31 when nothing could open it; shows the failure text.
int OpenWithShell(const QString& path);
// The reason texts for shell result codes (empty for codes without one).
QString ShellErrorText(int code);
// Starts the program with an argument list (never through a shell). With wait, blocks until it ends.
// False when the name is empty or the start fails.
bool RunProgram(const QString& executable, const QStringList& arguments, bool minimised, bool wait,
                int* exitCode = nullptr);
