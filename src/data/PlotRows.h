#pragma once
// Reading and writing rows of the plot table. Values are passed as they are: every statement quotes them
// exactly once. Register, write and delete show their failure themselves (their first line, "\r" and
// LastErrorText) and return false.
#include <QList>
#include <QPair>
#include <QString>

class TDataQuery;

using TFieldValues = QList<QPair<QString, QString>>; // column name, value

extern const QString kPlotRegisterFailed; // "Помилка реєстрації запису."
extern const QString kPlotSaveFailed;     // "Помилка збереження запису."
extern const QString kPlotDeleteFailed;   // "Помилка видалення."

// The listing of the plot window: every completed row in id order.
QString ListPlotsStatement();

// "SELECT * FROM dilanky WHERE id=" id with rows required; the query then stands on the row.
bool ReadPlotRow(TDataQuery& query, qint64 id);
// Every field of the current row of the query, in result order, as text.
TFieldValues CurrentRowValues(const TDataQuery& query);

// A new row marked by a ten-digit token in uid; its id, or 0 on failure.
qint64 RegisterPlotRow(TDataQuery& query);
// One UPDATE that also empties uid; with id 0 a new row is registered first and id receives its key (a row
// registered here is removed again when the write fails).
bool WritePlotRow(TDataQuery& query, qint64& id, const TFieldValues& values);
bool DeletePlotRow(TDataQuery& query, qint64 id);
// The id of the first row whose file column equals the path; 0 when none.
qint64 FindPlotByFile(TDataQuery& query, const QString& file);

// Whether the text can stand as a column name in a statement (letters, digits and "_").
bool IsPlainIdentifier(const QString& name);
