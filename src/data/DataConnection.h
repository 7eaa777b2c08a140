#pragma once
// One database connection, opened from an ADO-like connection string through a Qt SQL driver.
#include "data/SqlDialect.h"

#include <QSqlDatabase>
#include <QString>

class TDataConnection {
public:
    // The Qt connection name is made unique from the given stem.
    explicit TDataConnection(const QString& stem);
    ~TDataConnection();
    TDataConnection(const TDataConnection&) = delete;
    TDataConnection& operator=(const TDataConnection&) = delete;

    // Opens the database the string names ("Provider=QSQLITE;Data Source=FILE" with FILE relative to
    // ProgramDir, or "Provider=QPSQL;Host=...;Port=...;Database=...;User ID=...;Password=..."). With
    // mustExist an SQLite file that is not there is a failure, never a new empty database. On failure
    // LastErrorText holds the reason and the connection stays closed.
    bool Open(const QString& connectionString, bool mustExist);
    void Close();
    bool IsOpen() const;

    QSqlDatabase Database() const;
    const QString& Name() const { return name_; }
    const QString& ConnectionString() const { return connectionString_; }
    const QString& Provider() const { return provider_; }
    TSqlDialect Dialect() const { return dialect_; }
    // For SQLite: the absolute path of the file; "" otherwise.
    const QString& FilePath() const { return filePath_; }

private:
    QString name_;
    QString connectionString_;
    QString provider_;
    QString filePath_;
    TSqlDialect dialect_ = TSqlDialect::Sqlite;
};
