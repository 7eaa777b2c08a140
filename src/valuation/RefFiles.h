#pragma once
// Line-oriented access to the valuation reference files beside the program (NGO.dat, YEARS.dat,
// YEARS_SH.dat, POPUL.dat, ADDR.dat): windows-1251 text, one record per line.
#include <QString>
#include <QStringList>

inline const QString kNgoFile = QStringLiteral("NGO.dat");
inline const QString kYearsFile = QStringLiteral("YEARS.dat");
inline const QString kYearsShFile = QStringLiteral("YEARS_SH.dat");
inline const QString kPopulFile = QStringLiteral("POPUL.dat");
inline const QString kAddrFile = QStringLiteral("ADDR.dat");

// Where the reference files lie. An empty folder means the program folder (GlobalVar().Settings.ProgramDir);
// tests and tools point it elsewhere.
struct TRefFiles {
    QString Folder;
    QString Path(const QString& name) const;
};

enum class TReadStatus { Ok, Missing, Unreadable };

struct TRefLines {
    TReadStatus Status = TReadStatus::Missing;
    QStringList Lines; // non-empty lines in file order
};

// Reads the file; CR LF, a lone LF and a lone CR each end a line; empty lines are skipped.
TRefLines ReadRefLines(const QString& path);
QStringList SplitRefLines(const QString& text);

// Rewrites the whole file: every line ends with CR LF, windows-1251, through a temporary file and a rename.
// On failure the old file stays and *error holds the reason.
bool WriteRefLines(const QString& path, const QStringList& lines, QString* error = nullptr);
