#include "data/StoredDefaults.h"

#include "common/Messages.h"
#include "data/DataQuery.h"
#include "data/SqlHelpers.h"

const QString kDefaultExecutorCode = QStringLiteral("InfoLandWork-Executor");

bool WriteStoredDefault(TDataQuery& query, const QString& code, const QString& text) {
    const QString c = SqlQuote(code);
    const bool exists = RunSql(
        query, QStringLiteral("SELECT id FROM умолчания WHERE code='") + c + QStringLiteral("'"), true, true);
    query.Close();
    if (!exists && LastErrorText != kNoRecordsText) return false;
    if (exists)
        return RunSql(query,
                      QStringLiteral("UPDATE умолчания SET title='") + SqlQuote(text) +
                          QStringLiteral("' WHERE code='") + c + QStringLiteral("'"),
                      false, false);
    return RunSql(query,
                  QStringLiteral("INSERT INTO умолчания (code,title) VALUES('") + c + QStringLiteral("','") +
                      SqlQuote(text) + QStringLiteral("')"),
                  false, false);
}

QString ReadStoredDefault(TDataQuery& query, const QString& code, bool* found) {
    const bool ok = RunSql(
        query, QStringLiteral("SELECT * FROM умолчания WHERE code='") + SqlQuote(code) + QStringLiteral("'"),
        true, true);
    if (found) *found = ok;
    const QString title = ok ? query.FieldText(QStringLiteral("title")) : QString();
    query.Close();
    return title;
}

QList<QPair<QString, QString>> ReadInspectorDefaults(TDataQuery& query) {
    QList<QPair<QString, QString>> out;
    if (!RunSql(query, QStringLiteral("SELECT * FROM умолчания WHERE code LIKE 'NxItem%'"), true, false))
        return out;
    for (bool row = !query.Eof(); row; row = query.Next())
        out.append({query.FieldText(QStringLiteral("code")), query.FieldText(QStringLiteral("title"))});
    query.Close();
    return out;
}
