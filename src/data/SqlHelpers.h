#pragma once
// The SQL operations every part of the program uses. Each clears LastErrorText first and leaves the reason
// of a failure there.
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class TDataConnection;

extern const QString kNoRecordsText;    // "Відсутні записи."
extern const QString kNoConnectionText; // "Відсутнє з'єднання"
class TDataQuery;

// Runs the statement on the query after adapting it to the dialect of the query's connection.
// Not open: executes it. open: opens it as a result set (standing on its first row); with needRows an empty
// result closes the query and fails with "Відсутні записи.". No connection: "Відсутнє з'єднання"; an empty
// statement fails silently; an engine error gives its message, "\r", "Запит: " and the statement.
bool RunSql(TDataQuery& query, const QString& statement, bool open, bool needRows);
// The same with values bound to the "?" placeholders of the statement, in order.
bool RunSql(TDataQuery& query, const QString& statement, const QVariantList& values, bool open,
            bool needRows);

// Doubles every "'" so that the text can stand between single quotes; a final "\" becomes "/".
QString SqlQuote(const QString& text);

// "SELECT MAX(column) FROM table" as an integer; 0 on any failure or an empty table.
qint64 SelectMax(TDataQuery& query, const QString& table, const QString& column);

// Whether the open connection has a table of that name (without regard to case).
bool TableExists(const TDataConnection& connection, const QString& table);
// The connection's table names; empty when it is not open.
QStringList TableNames(const TDataConnection& connection);

// Opens the statement (rows not required) and tells whether its result set has the field.
bool QueryHasField(TDataQuery& query, const QString& statement, const QString& field);

// Runs a group of statements as one transaction on the query's connection: commits when body returns true,
// rolls back otherwise (LastErrorText keeps the first reason).
bool RunInTransaction(TDataQuery& query, const std::function<bool()>& body);
