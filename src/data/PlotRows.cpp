#include "data/PlotRows.h"

#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "data/DataQuery.h"
#include "data/PlotSchema.h"
#include "data/SqlHelpers.h"

const QString kPlotRegisterFailed = QStringLiteral("Помилка реєстрації запису.");
const QString kPlotSaveFailed = QStringLiteral("Помилка збереження запису.");
const QString kPlotDeleteFailed = QStringLiteral("Помилка видалення.");

namespace {

void ShowFailure(const QString& first) {
    ShowError(first + QStringLiteral("\r") + LastErrorText);
}

} // namespace

QString ListPlotsStatement() {
    return QStringLiteral("SELECT * FROM dilanky ") + QStringLiteral(" WHERE ") + QStringLiteral("(uid='')") +
           QStringLiteral(" ORDER BY ") + QStringLiteral("id");
}

bool IsPlainIdentifier(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name)
        if (!c.isLetterOrNumber() && c != '_') return false;
    return true;
}

bool ReadPlotRow(TDataQuery& query, qint64 id) {
    return RunSql(query, QStringLiteral("SELECT * FROM dilanky WHERE id=") + QString::number(id), true, true);
}

TFieldValues CurrentRowValues(const TDataQuery& query) {
    TFieldValues out;
    const int n = query.FieldCount();
    for (int i = 0; i < n; ++i)
        out.append({query.FieldName(i), query.FieldText(i)});
    return out;
}

qint64 RegisterPlotRow(TDataQuery& query) {
    const QString token = RandomDigits(10);
    if (!RunSql(query, QStringLiteral("INSERT INTO dilanky (uid) VALUES ('") + token + QStringLiteral("')"),
                false, false) ||
        !RunSql(query, QStringLiteral("SELECT id FROM dilanky WHERE uid='") + token + QStringLiteral("'"),
                true, true)) {
        ShowFailure(kPlotRegisterFailed);
        return 0;
    }
    const qint64 id = query.FieldText(0).toLongLong();
    query.Close();
    return id;
}

bool WritePlotRow(TDataQuery& query, qint64& id, const TFieldValues& values) {
    LastErrorText.clear();
    for (const auto& [column, value] : values) {
        if (!IsPlainIdentifier(column)) {
            LastErrorText = QStringLiteral("Недопустима назва поля: ") + column;
            ShowFailure(kPlotSaveFailed);
            return false;
        }
    }
    const bool registered = id <= 0;
    if (registered) {
        id = RegisterPlotRow(query);
        if (id <= 0) {
            id = 0;
            return false;
        }
    }
    QString sql = QStringLiteral("UPDATE dilanky SET uid=''");
    for (const auto& [column, value] : values)
        sql += QStringLiteral(", ") + column + QStringLiteral("='") + SqlQuote(value) + QStringLiteral("'");
    sql += QStringLiteral(" WHERE id=") + QString::number(id);
    if (!RunSql(query, sql, false, false)) {
        if (registered) {
            // Take the half-made row away again; the reason of the failed write stays.
            const QString reason = LastErrorText;
            RunSql(query, QStringLiteral("DELETE FROM dilanky WHERE id=") + QString::number(id), false,
                   false);
            LastErrorText = reason;
            id = 0;
        }
        ShowFailure(kPlotSaveFailed);
        return false;
    }
    return true;
}

bool DeletePlotRow(TDataQuery& query, qint64 id) {
    if (!RunSql(query, QStringLiteral("DELETE FROM dilanky WHERE id=") + QString::number(id), false, false)) {
        ShowFailure(kPlotDeleteFailed);
        return false;
    }
    return true;
}

qint64 FindPlotByFile(TDataQuery& query, const QString& file) {
    if (!RunSql(query,
                QStringLiteral("SELECT id FROM dilanky WHERE файл='") + SqlQuote(file) + QStringLiteral("'"),
                true, true))
        return 0;
    const qint64 id = query.FieldText(0).toLongLong();
    query.Close();
    return id;
}
