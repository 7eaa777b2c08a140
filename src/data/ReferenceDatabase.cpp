#include "data/ReferenceDatabase.h"

#include "common/Files.h"
#include "common/Messages.h"
#include "data/DataConnection.h"
#include "data/DataQuery.h"
#include "data/SqlHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <filesystem>

const QString kCodifierTable = QStringLiteral("кодифікатор");
const QString kCodifierSourceFile = QStringLiteral("кодифікатор.csv");

namespace {

TColumnSpec Col(const char* name, TFieldKind kind, int size = 0) {
    return {QString::fromUtf8(name), kind, size};
}

QString EngineText(const QSqlError& e) {
    const QString db = e.databaseText().trimmed();
    return db.isEmpty() ? e.text().trimmed() : db;
}

bool ReadUtf8Lines(const QString& path, QStringList* lines, QString* error) {
    bool ok = false;
    const QByteArray bytes = ReadFileBytes(path, &ok);
    if (!ok) {
        if (error) *error = QStringLiteral("Файл не читається: ") + QDir::toNativeSeparators(path);
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        if (error) *error = QStringLiteral("Файл не в кодуванні UTF-8: ") + QDir::toNativeSeparators(path);
        return false;
    }
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    *lines = text.split('\n');
    return true;
}

// Creates the table and inserts the rows with one prepared statement.
bool CreateAndFill(QSqlQuery& q, TSqlDialect dialect, const QString& table, const QList<TColumnSpec>& columns,
                   const QList<QStringList>& rows, QString* error) {
    if (!q.exec(CreateTableStatement(dialect, table, columns))) {
        if (error) *error = table + QStringLiteral(": ") + EngineText(q.lastError());
        return false;
    }
    if (rows.isEmpty()) return true;
    QStringList names;
    QStringList marks;
    for (int i = 1; i < columns.size(); ++i) { // the key column fills itself
        names << columns[i].Name;
        marks << QStringLiteral("?");
    }
    if (!q.prepare(QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + names.join(',') +
                   QStringLiteral(") VALUES (") + marks.join(',') + QStringLiteral(")"))) {
        if (error) *error = table + QStringLiteral(": ") + EngineText(q.lastError());
        return false;
    }
    for (const QStringList& row : rows) {
        for (int i = 0; i < names.size(); ++i)
            q.bindValue(i, i < row.size() ? row[i] : QString());
        if (!q.exec()) {
            if (error) *error = table + QStringLiteral(": ") + EngineText(q.lastError());
            return false;
        }
    }
    return true;
}

} // namespace

const QList<TColumnSpec>& CodeListColumns() {
    static const QList<TColumnSpec> c = {Col("id", TFieldKind::AutoIncrement),
                                         Col("code", TFieldKind::Text, 255), Col("title", TFieldKind::Memo)};
    return c;
}

const QList<TColumnSpec>& CodifierColumns() {
    static const QList<TColumnSpec> c = {
        Col("id", TFieldKind::AutoIncrement), Col("code1", TFieldKind::Text, 19),
        Col("code2", TFieldKind::Text, 19),   Col("code3", TFieldKind::Text, 19),
        Col("code4", TFieldKind::Text, 19),   Col("code5", TFieldKind::Text, 19),
        Col("cat", TFieldKind::Text, 1),      Col("title", TFieldKind::Text, 255)};
    return c;
}

const QList<TColumnSpec>& LicenseeColumns() {
    static const QList<TColumnSpec> c = {
        Col("id", TFieldKind::AutoIncrement),
        Col("назва", TFieldKind::Text, 150),
        Col("повна_назва", TFieldKind::Text, 250),
        Col("інн", TFieldKind::Text, 20),
        Col("едрпо", TFieldKind::Text, 20),
        Col("адреса_код", TFieldKind::Text, 20),
        Col("адреса_індекс", TFieldKind::Text, 10),
        Col("адреса_область", TFieldKind::Text, 100),
        Col("адреса_район", TFieldKind::Text, 100),
        Col("адреса_наспункт", TFieldKind::Text, 100),
        Col("адреса_вулиця", TFieldKind::Text, 150),
        Col("адреса_будинок", TFieldKind::Text, 20),
        Col("адреса_корпус", TFieldKind::Text, 20),
        Col("адреса_квартира", TFieldKind::Text, 20),
        Col("телефон1", TFieldKind::Text, 50),
        Col("факс", TFieldKind::Text, 50),
        Col("емайл", TFieldKind::Text, 100),
        Col("відповідальна_посада", TFieldKind::Text, 150),
        Col("відповідальна_прізвище", TFieldKind::Text, 50),
        Col("відповідальна_імя", TFieldKind::Text, 50),
        Col("відповідальна_побатькові", TFieldKind::Text, 50),
        Col("відповідальна_сертиф_номер", TFieldKind::Text, 50),
        Col("відповідальна_сертиф_дата", TFieldKind::Text, 20),
        Col("виконавець_посада", TFieldKind::Text, 150),
        Col("виконавець_прізвище", TFieldKind::Text, 50),
        Col("виконавець_імя", TFieldKind::Text, 50),
        Col("виконавець_побатькові", TFieldKind::Text, 50),
        Col("виконавець_сертиф_номер", TFieldKind::Text, 50),
        Col("виконавець_сертиф_дата", TFieldKind::Text, 20),
    };
    return c;
}

const QList<TColumnSpec>& CouncilColumns() {
    static const QList<TColumnSpec> c = {Col("id", TFieldKind::AutoIncrement),
                                         Col("code", TFieldKind::Text, 255), Col("title", TFieldKind::Memo),
                                         Col("title2", TFieldKind::Memo), Col("title3", TFieldKind::Memo)};
    return c;
}

QString UnifyApostrophes(const QString& text) {
    QString s = text;
    for (const QChar c : {QChar('\''), QChar(0x02BC), QChar(0x2018), QChar('`'), QChar(0x00B4)})
        s.replace(c, QChar(0x2019));
    return s;
}

bool ReadCodifierSource(const QString& path, QList<TCodifierRow>* rows, QString* error) {
    QStringList lines;
    if (!ReadUtf8Lines(path, &lines, error)) return false;
    rows->clear();
    for (int n = 1; n < lines.size(); ++n) { // line 0 is the header
        if (lines[n].trimmed().isEmpty()) continue;
        const QStringList f = lines[n].split(';');
        if (f.size() != 7) {
            if (error)
                *error = QDir::toNativeSeparators(path) + QStringLiteral(", рядок ") +
                         QString::number(n + 1) + QStringLiteral(": очікується 7 полів");
            return false;
        }
        TCodifierRow r;
        for (int i = 0; i < 5; ++i)
            r.Code[i] = f[i].trimmed();
        r.Cat = f[5].trimmed();
        r.Title = UnifyApostrophes(f[6].trimmed());
        rows->append(r);
    }
    return true;
}

bool ReadCodeListSource(const QString& path, QList<QPair<QString, QString>>* rows, QString* error) {
    QStringList lines;
    if (!ReadUtf8Lines(path, &lines, error)) return false;
    rows->clear();
    for (int n = 1; n < lines.size(); ++n) {
        const QString& line = lines[n];
        const qsizetype tab = line.indexOf('\t');
        const QString code = (tab < 0 ? line : line.left(tab)).trimmed();
        if (code.isEmpty()) continue;
        rows->append({code, tab < 0 ? QString() : UnifyApostrophes(line.mid(tab + 1).trimmed())});
    }
    return true;
}

bool BuildReferenceDatabase(TDataQuery& query, const QString& sourcesDir, QString* error) {
    QList<TCodifierRow> codifier;
    if (!ReadCodifierSource(sourcesDir + '/' + kCodifierSourceFile, &codifier, error)) return false;
    QList<QPair<QString, QList<QStringList>>> lists;
    const QStringList tsv = QDir(sourcesDir).entryList({QStringLiteral("*.tsv")}, QDir::Files, QDir::Name);
    for (const QString& name : tsv) {
        QList<QPair<QString, QString>> rows;
        if (!ReadCodeListSource(sourcesDir + '/' + name, &rows, error)) return false;
        QList<QStringList> cells;
        for (const auto& [code, title] : rows)
            cells.append({code, title});
        lists.append({QFileInfo(name).completeBaseName(), cells});
    }

    // Councils (communities) and districts of regions, named as the codifier names them.
    QList<QStringList> codifierCells, councils, districts;
    QHash<QString, QString> regionTitle, districtTitle;
    for (const TCodifierRow& r : codifier) {
        codifierCells.append({r.Code[0], r.Code[1], r.Code[2], r.Code[3], r.Code[4], r.Cat, r.Title});
        if (r.Cat == QLatin1String("O")) regionTitle.insert(r.Code[0], r.Title);
        if (r.Cat == QLatin1String("P")) {
            districtTitle.insert(r.Code[1], r.Title);
            districts.append({r.Title, regionTitle.value(r.Code[0])});
        }
        if (r.Cat == QLatin1String("H"))
            councils.append(
                {r.Title, r.Code[2], districtTitle.value(r.Code[1]), regionTitle.value(r.Code[0])});
    }

    const TSqlDialect dialect = query.Connection().Dialect();
    QString reason;
    const bool ok = RunInTransaction(query, [&] {
        QSqlQuery q(query.Connection().Database());
        if (!CreateAndFill(q, dialect, kCodifierTable, CodifierColumns(), codifierCells, &reason))
            return false;
        const QStringList indexes = {
            QStringLiteral("(cat, title)"), QStringLiteral("(code1, cat)"), QStringLiteral("(code2, cat)"),
            QStringLiteral("(code3, cat)"), QStringLiteral("(code4, cat)"), QStringLiteral("(code3, title)"),
        };
        for (int i = 0; i < indexes.size(); ++i) {
            if (!q.exec(QStringLiteral("CREATE INDEX кодифікатор_%1 ON ").arg(i + 1) + kCodifierTable + ' ' +
                        indexes[i])) {
                reason = kCodifierTable + QStringLiteral(": ") + EngineText(q.lastError());
                return false;
            }
        }
        for (const auto& [table, rows] : lists)
            if (!CreateAndFill(q, dialect, table, CodeListColumns(), rows, &reason)) return false;
        if (!CreateAndFill(q, dialect, QStringLiteral("ради"), CouncilColumns(), councils, &reason))
            return false;
        if (!CreateAndFill(q, dialect, QStringLiteral("райони_обл"), CodeListColumns(), districts, &reason))
            return false;
        if (!CreateAndFill(q, dialect, QStringLiteral("ліцензіати"), LicenseeColumns(), {}, &reason))
            return false;
        if (!CreateAndFill(q, dialect, QStringLiteral("умолчания"), CodeListColumns(), {}, &reason))
            return false;
        return true;
    });
    if (!ok && error) *error = reason.isEmpty() ? LastErrorText : reason;
    return ok;
}

bool BuildReferenceDatabaseFile(const QString& sourcesDir, const QString& outFile, QString* error) {
    const QString target = QFileInfo(outFile).absoluteFilePath();
    const QString temp = target + QStringLiteral(".part");
    QFile::remove(temp);
    bool ok;
    {
        TDataConnection connection(QStringLiteral("build"));
        if (!connection.Open(QStringLiteral("Provider=QSQLITE;Data Source=") + temp, false)) {
            if (error) *error = LastErrorText;
            return false;
        }
        TDataQuery query(connection);
        ok = BuildReferenceDatabase(query, sourcesDir, error);
        query.Close();
        connection.Close();
    }
    if (!ok) {
        QFile::remove(temp);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(temp.toStdU16String()),
                            std::filesystem::path(target.toStdU16String()), ec);
    if (ec) {
        if (error) *error = QStringLiteral("Не вдалося записати ") + QDir::toNativeSeparators(target);
        QFile::remove(temp);
        return false;
    }
    return true;
}
