#include "data/SqlHelpers.h"

#include "common/Messages.h"
#include "data/DataConnection.h"
#include "data/DataQuery.h"

#include <QSqlError>
#include <QSqlQuery>

const QString kNoRecordsText = QStringLiteral("Відсутні записи.");
const QString kNoConnectionText = QStringLiteral("Відсутнє з'єднання");

namespace {

QString EngineText(const QSqlError& e) {
    const QString db = e.databaseText().trimmed();
    return db.isEmpty() ? e.text().trimmed() : db;
}

bool RunSqlImpl(TDataQuery& query, const QString& statement, const QVariantList* values, bool open,
                bool needRows) {
    LastErrorText.clear();
    if (!query.Connection().IsOpen()) {
        query.Close();
        LastErrorText = kNoConnectionText;
        return false;
    }
    if (statement.isEmpty()) return false;
    const QString text = AdaptStatement(query.Connection().Dialect(), statement);
    QSqlQuery& q = query.StartStatement(text);
    bool ok;
    if (values) {
        ok = q.prepare(text);
        if (ok) {
            for (const QVariant& v : *values)
                q.addBindValue(v);
            ok = q.exec();
        }
    } else {
        ok = q.exec(text);
    }
    if (!ok) {
        LastErrorText = EngineText(q.lastError()) + QStringLiteral("\r") + QStringLiteral("Запит: ") + text;
        // Kept until the next statement: inside a failed transaction the engine frees it only after the
        // rollback.
        query.SetActive(false);
        return false;
    }
    if (!open) {
        q.finish();
        return true;
    }
    if (!q.isActive() || !q.isSelect()) {
        LastErrorText = QStringLiteral("Запит не повернув набору записів.") + QStringLiteral("\r") +
                        QStringLiteral("Запит: ") + text;
        query.Close();
        return false;
    }
    query.SetActive(true);
    const bool hasRow = q.first();
    if (needRows && !hasRow) {
        query.Close();
        LastErrorText = kNoRecordsText;
        return false;
    }
    return true;
}

} // namespace

bool RunSql(TDataQuery& query, const QString& statement, bool open, bool needRows) {
    return RunSqlImpl(query, statement, nullptr, open, needRows);
}

bool RunSql(TDataQuery& query, const QString& statement, const QVariantList& values, bool open,
            bool needRows) {
    return RunSqlImpl(query, statement, &values, open, needRows);
}

QString SqlQuote(const QString& text) {
    QString s = QString(text).replace('\'', QStringLiteral("''"));
    if (s.endsWith('\\')) s[s.size() - 1] = '/';
    return s;
}

qint64 SelectMax(TDataQuery& query, const QString& table, const QString& column) {
    if (!RunSql(query, QStringLiteral("SELECT MAX(") + column + QStringLiteral(") FROM ") + table, true,
                false))
        return 0;
    if (query.Eof()) return 0;
    bool ok = false;
    const qint64 v = query.FieldText(0).toLongLong(&ok);
    if (ok) return v;
    return qint64(query.FieldText(0).toDouble());
}

QStringList TableNames(const TDataConnection& connection) {
    if (!connection.IsOpen()) return {};
    return connection.Database().tables(QSql::Tables);
}

bool TableExists(const TDataConnection& connection, const QString& table) {
    LastErrorText.clear();
    const QStringList names = TableNames(connection);
    for (const QString& n : names)
        if (n.compare(table, Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool QueryHasField(TDataQuery& query, const QString& statement, const QString& field) {
    return RunSql(query, statement, true, false) && query.HasField(field);
}

bool RunInTransaction(TDataQuery& query, const std::function<bool()>& body) {
    LastErrorText.clear();
    if (!query.Connection().IsOpen()) {
        LastErrorText = kNoConnectionText;
        return false;
    }
    QSqlDatabase db = query.Connection().Database();
    if (!db.transaction()) {
        LastErrorText = EngineText(db.lastError());
        return false;
    }
    if (!body()) {
        const QString reason = LastErrorText;
        db.rollback();
        query.Close();
        LastErrorText = reason;
        return false;
    }
    query.Close();
    if (!db.commit()) {
        LastErrorText = EngineText(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}
