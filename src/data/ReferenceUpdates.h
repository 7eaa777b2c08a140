#pragma once
// Update lists dropped into the program folder, each replacing one code/title table of the reference
// database. A list is read whole before the table is touched, its rows replace the table's in one
// transaction, and the file is deleted only when that succeeded; otherwise the table keeps its rows, the
// file stays and the reason goes to the log.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TDataQuery;

struct TUpdateList {
    QString File; // in ProgramDir
    QString Table;
};

// The four lists in the order they are applied.
const QList<TUpdateList>& ReferenceUpdateLists();

// Lines of the list as code and title: split at the first tab (no tab: all code, empty title), each cut to
// 254 characters and trimmed; lines with an empty code are dropped.
QList<QPair<QString, QString>> ParseUpdateList(const QString& text);

// Applies every list present in the folder. Each problem adds one line to *log; true when every present list
// was applied.
bool ApplyReferenceUpdates(TDataQuery& query, const QString& folder, QStringList* log);
// One list into one table.
bool ApplyReferenceUpdate(TDataQuery& query, const QString& path, const QString& table, QStringList* log);
