#include "data/ReferenceUpdates.h"

#include "common/CodePage.h"
#include "common/Files.h"
#include "common/Messages.h"
#include "data/DataConnection.h"
#include "data/DataQuery.h"
#include "data/SqlHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QList<TUpdateList>& ReferenceUpdateLists() {
    static const QList<TUpdateList> lists = {
        {QStringLiteral("update_територіальні_зони.txt"), QStringLiteral("територіальні_зони")},
        {QStringLiteral("update_цільове_використання.txt"), QStringLiteral("цільове_використання")},
        {QStringLiteral("update_техдокументація.txt"), QStringLiteral("техдокументація")},
        {QStringLiteral("update_документи_формування_обмінного.txt"),
         QStringLiteral("документи_формування_обмінного")},
    };
    return lists;
}

QList<QPair<QString, QString>> ParseUpdateList(const QString& text) {
    QList<QPair<QString, QString>> rows;
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    for (const QString& line : t.split('\n')) {
        const qsizetype tab = line.indexOf('\t');
        QString code = tab < 0 ? line : line.left(tab);
        QString title = tab < 0 ? QString() : line.mid(tab + 1);
        code = code.left(254).trimmed();
        title = title.left(254).trimmed();
        if (code.isEmpty()) continue;
        rows.append({code, title});
    }
    return rows;
}

bool ApplyReferenceUpdate(TDataQuery& query, const QString& path, const QString& table, QStringList* log) {
    const QString shown = QDir::toNativeSeparators(path);
    auto note = [log](const QString& line) {
        if (log) log->append(line);
    };
    bool readOk = false;
    const QByteArray bytes = ReadFileBytes(path, &readOk);
    if (!readOk) {
        note(QStringLiteral("Оновлення довідника ") + table + QStringLiteral(": файл не читається: ") +
             shown);
        return false;
    }
    const QList<QPair<QString, QString>> rows = ParseUpdateList(FromCp1251(bytes));
    const QString insert =
        QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (code,title) VALUES (?,?)");
    const bool ok = RunInTransaction(query, [&] {
        if (!RunSql(query, QStringLiteral("DELETE FROM ") + table, false, false)) return false;
        for (const auto& [code, title] : rows)
            if (!RunSql(query, insert, {code, title}, false, false)) return false;
        return true;
    });
    if (!ok) {
        note(QStringLiteral("Оновлення довідника ") + table +
             QStringLiteral(" не виконано, записи не змінено: ") + QString(LastErrorText).replace('\r', ' '));
        return false;
    }
    if (!QFile::remove(path)) {
        note(QStringLiteral("Оновлення довідника ") + table +
             QStringLiteral(" виконано, але файл не видалено: ") + shown);
    }
    return true;
}

bool ApplyReferenceUpdates(TDataQuery& query, const QString& folder, QStringList* log) {
    bool all = true;
    for (const TUpdateList& u : ReferenceUpdateLists()) {
        const QString path = folder + '/' + u.File;
        if (!QFileInfo::exists(path)) continue;
        if (!ApplyReferenceUpdate(query, path, u.Table, log)) all = false;
    }
    return all;
}
