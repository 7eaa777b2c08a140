#pragma once
// SQL dialects, chosen by the provider name of a connection string.
#include <QString>

enum class TSqlDialect {
    Server,     // provider containing "SQLOLEDB"
    Embedded,   // provider containing "Microsoft.Jet.OLEDB"
    Sqlite,     // provider QSQLITE: the embedded files beside the program
    OpenServer, // anything else (PostgreSQL): quoted identifiers
};

TSqlDialect DialectOfProvider(const QString& provider);

enum class TFieldKind { Text, WideText, Integer, Float, Date, Time, DateTime, AutoIncrement, Memo };

// One column clause of CREATE TABLE. The default clause (an empty text) is left out with noDefault.
QString ColumnDef(TSqlDialect dialect, const QString& name, TFieldKind kind, int size, bool noDefault);

// The statement as the dialect needs it: "Mid$" becomes the dialect's substring function, "%JET_LIMIT%" and
// "%PG_LIMIT%" become the dialect's way of taking the first row only.
QString AdaptStatement(TSqlDialect dialect, const QString& statement);

// A table or column name taken from the database's own catalogue, quoted for use in a statement.
QString QuoteIdentifier(TSqlDialect dialect, const QString& name);
