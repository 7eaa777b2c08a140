#pragma once
// A reusable query on one connection. Each RunSql closes it and replaces its statement, so a result set is
// valid only until the next call on the same query. An opened result set stands on its first row.
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <memory>

class TDataConnection;

class TDataQuery {
public:
    // commandTimeout in seconds, 0 = unlimited (kept for the record; the Qt drivers have no per-query limit).
    explicit TDataQuery(TDataConnection& connection, int commandTimeout = 0);
    ~TDataQuery();
    TDataQuery(const TDataQuery&) = delete;
    TDataQuery& operator=(const TDataQuery&) = delete;

    TDataConnection& Connection() const { return *connection_; }
    int CommandTimeout() const { return commandTimeout_; }

    // Whether a result set is open.
    bool Active() const { return active_; }
    void Close();
    // The statement as last run (after dialect adaptation).
    const QString& Statement() const { return statement_; }

    // Row navigation of an open result set.
    bool Eof() const;
    bool First();
    bool Next();
    // Fields of the current row; missing fields and NULL read as "".
    int FieldCount() const;
    QString FieldName(int i) const;
    bool HasField(const QString& name) const; // without regard to case
    QString FieldText(int i) const;
    QString FieldText(const QString& name) const;
    QVariant FieldValue(const QString& name) const;
    QSqlRecord Record() const;

    // For RunSql only.
    QSqlQuery& StartStatement(const QString& statement);
    void SetActive(bool active) { active_ = active; }
    QSqlQuery* Sql() const { return query_.get(); }

private:
    TDataConnection* connection_;
    int commandTimeout_;
    std::unique_ptr<QSqlQuery> query_;
    QString statement_;
    bool active_ = false;
};
