#include "data/SqlDialect.h"

TSqlDialect DialectOfProvider(const QString& provider) {
    if (provider.contains(QStringLiteral("SQLOLEDB"), Qt::CaseInsensitive)) return TSqlDialect::Server;
    if (provider.contains(QStringLiteral("Microsoft.Jet.OLEDB"), Qt::CaseInsensitive))
        return TSqlDialect::Embedded;
    if (provider.contains(QStringLiteral("SQLITE"), Qt::CaseInsensitive)) return TSqlDialect::Sqlite;
    return TSqlDialect::OpenServer;
}

QString ColumnDef(TSqlDialect dialect, const QString& name, TFieldKind kind, int size, bool noDefault) {
    const QString n = QString::number(size);
    auto withDefault = [noDefault](const QString& clause, const QString& def) {
        return noDefault ? clause : clause + def;
    };
    switch (dialect) {
    case TSqlDialect::Server:
        switch (kind) {
        case TFieldKind::Text:
        case TFieldKind::WideText:
            return withDefault(name + QStringLiteral(" [nvarchar] (") + n + QStringLiteral(") "),
                               QStringLiteral("DEFAULT (N'')"));
        case TFieldKind::Integer:
            return name + QStringLiteral(" [int] ");
        case TFieldKind::Float:
            return name + QStringLiteral(" [float] ");
        case TFieldKind::Date:
        case TFieldKind::Time:
        case TFieldKind::DateTime:
            return name + QStringLiteral(" [date] ");
        case TFieldKind::AutoIncrement:
            return name + QStringLiteral(" [AUTOINCREMENT]");
        case TFieldKind::Memo:
            return withDefault(name + QStringLiteral(" [ntext] "), QStringLiteral("DEFAULT (N'')"));
        }
        break;
    case TSqlDialect::Embedded:
        switch (kind) {
        case TFieldKind::Text:
        case TFieldKind::WideText:
            return withDefault(name + QStringLiteral(" nvarchar (") + n + QStringLiteral(") "),
                               QStringLiteral("DEFAULT \"\""));
        case TFieldKind::Integer:
            return name + QStringLiteral(" int ");
        case TFieldKind::Float:
            return name + QStringLiteral(" float ");
        case TFieldKind::Date:
        case TFieldKind::Time:
        case TFieldKind::DateTime:
            return name + QStringLiteral(" date ");
        case TFieldKind::AutoIncrement:
            return name + QStringLiteral(" AUTOINCREMENT");
        case TFieldKind::Memo:
            return withDefault(name + QStringLiteral(" ntext "), QStringLiteral("DEFAULT \"\""));
        }
        break;
    case TSqlDialect::Sqlite:
    case TSqlDialect::OpenServer: {
        // Both quote the name; SQLite has its own auto-increment key and keeps the declared sizes as text
        // affinity.
        const QString q = QuoteIdentifier(dialect, name);
        const bool lite = dialect == TSqlDialect::Sqlite;
        switch (kind) {
        case TFieldKind::Text:
        case TFieldKind::WideText:
            return withDefault(q + QStringLiteral(" character varying (") + n + QStringLiteral(") "),
                               QStringLiteral("DEFAULT ''"));
        case TFieldKind::Integer:
            return q + QStringLiteral(" int ");
        case TFieldKind::Float:
            return q + QStringLiteral(" float ");
        case TFieldKind::Date:
        case TFieldKind::Time:
        case TFieldKind::DateTime:
            return q + QStringLiteral(" date ");
        case TFieldKind::AutoIncrement:
            return lite ? q + QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT")
                        : q + QStringLiteral(" serial");
        case TFieldKind::Memo:
            return withDefault(q + QStringLiteral(" text "), QStringLiteral("DEFAULT ''"));
        }
        break;
    }
    }
    return name;
}

QString AdaptStatement(TSqlDialect dialect, const QString& statement) {
    QString s = statement;
    const bool topDialect = dialect == TSqlDialect::Server || dialect == TSqlDialect::Embedded;
    if (dialect == TSqlDialect::Server)
        s.replace(QStringLiteral("Mid$"), QStringLiteral("SUBSTRING"));
    else if (dialect != TSqlDialect::Embedded)
        s.replace(QStringLiteral("Mid$"), QStringLiteral("substr"));
    // "TOP 1" only means something to the first two dialects; the others take "LIMIT 1" at the end.
    s.replace(QStringLiteral("%JET_LIMIT%"), topDialect ? QStringLiteral("TOP 1") : QString());
    s.replace(QStringLiteral("%PG_LIMIT%"), topDialect ? QString() : QStringLiteral("LIMIT 1"));
    return s;
}

QString QuoteIdentifier(TSqlDialect dialect, const QString& name) {
    if (dialect == TSqlDialect::Server || dialect == TSqlDialect::Embedded)
        return '[' + QString(name).replace(']', QStringLiteral("]]")) + ']';
    return '"' + QString(name).replace('"', QStringLiteral("\"\"")) + '"';
}
