#pragma once
// Stored defaults in the reference table умолчания: one text per code.
#include <QList>
#include <QPair>
#include <QString>

class TDataQuery;

extern const QString kDefaultExecutorCode; // "InfoLandWork-Executor"

// Updates the code's row or inserts one. False with LastErrorText on failure.
bool WriteStoredDefault(TDataQuery& query, const QString& code, const QString& text);
// The title stored for the code; "" (and *found false) when there is none.
QString ReadStoredDefault(TDataQuery& query, const QString& code, bool* found = nullptr);
// Every row whose code begins "NxItem": code and title, in the order the engine returns them.
QList<QPair<QString, QString>> ReadInspectorDefaults(TDataQuery& query);
