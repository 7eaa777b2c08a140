#include "data/ReferenceCache.h"

#include "common/Messages.h"
#include "data/DataConnection.h"
#include "data/DataQuery.h"
#include "data/SqlHelpers.h"

#include <QSqlRecord>

bool TReferenceCache::LoadReference(TDataQuery& query, const QString& table, const QString& codeColumn,
                                    const QString& orderClause, const QString& titleColumn) {
    // The catalogue's own spelling of the name, so that a quoted name matches on every engine.
    QString realName;
    for (const QString& n : TableNames(query.Connection()))
        if (n.compare(table, Qt::CaseInsensitive) == 0) realName = n;
    if (realName.isEmpty()) return false;
    if (!RunSql(query,
                QStringLiteral("SELECT * FROM ") + QuoteIdentifier(query.Connection().Dialect(), realName) +
                    orderClause,
                true, false))
        return false;
    const QSqlRecord rec = query.Record();
    const int codeIdx = rec.indexOf(codeColumn);
    const int titleIdx = rec.indexOf(titleColumn);
    TReferenceEntry e;
    e.Table = table;
    e.CodeColumn = codeColumn;
    e.TitleColumn = titleColumn;
    e.HasTitles = titleIdx >= 0;
    QList<int> extraIdx;
    for (int k = 2; k <= 12; ++k) {
        const QString name = titleColumn + QString::number(k);
        const int i = rec.indexOf(name);
        if (i < 0) break;
        e.ExtraTitleColumns << name;
        extraIdx << i;
    }
    e.ExtraTitles.resize(extraIdx.size());
    for (bool row = !query.Eof(); row; row = query.Next()) {
        e.Codes << query.FieldText(codeIdx);
        e.Titles << (titleIdx >= 0 ? query.FieldText(titleIdx) : QString());
        for (int k = 0; k < extraIdx.size(); ++k)
            e.ExtraTitles[k] << query.FieldText(extraIdx[k]);
    }
    e.Count = int(e.Codes.size());
    query.Close();
    for (TReferenceEntry& old : entries_) {
        if (old.Table.compare(table, Qt::CaseInsensitive) == 0 && old.TitleColumn == titleColumn) {
            old = std::move(e);
            return true;
        }
    }
    entries_.append(std::move(e));
    return true;
}

const TReferenceEntry* TReferenceCache::Find(const QString& table, const QString& titleColumn) const {
    for (const TReferenceEntry& e : entries_) {
        if (e.Table.compare(table, Qt::CaseInsensitive) != 0) continue;
        if (titleColumn.isEmpty() || e.TitleColumn == titleColumn) return &e;
    }
    return nullptr;
}

void TReferenceCache::ReferenceList(const QString& listName, QStringList& list) const {
    if (!list.isEmpty()) return;
    const bool titles = listName.contains('*');
    const TReferenceEntry* e = Find(QString(listName).remove('*'));
    if (!e) return;
    list = titles ? e->Titles : e->Codes;
}

QString TReferenceCache::ReferenceEntryText(const QString& table, int index, bool codeOnly) const {
    const TReferenceEntry* e = Find(table);
    if (!e || index < 0 || index >= e->Count) return {};
    const QString& code = e->Codes[index];
    if (codeOnly) return code;
    if (table.compare(QStringLiteral("ради"), Qt::CaseInsensitive) == 0) {
        const QString title3 = e->ExtraTitles.size() > 1 ? e->ExtraTitles[1][index] : QString();
        return code + QStringLiteral(" (") + title3 + QStringLiteral(")");
    }
    if (table.compare(QStringLiteral("райони_обл"), Qt::CaseInsensitive) == 0) return code;
    const QString& title = e->Titles[index];
    return title == code ? code : code + QStringLiteral(" - ") + title;
}

QString TReferenceCache::ReferenceTitleOf(const QString& table, const QString& text, bool emptyIfMissing,
                                          bool contains, const QString& titleColumn) const {
    const QString missing = emptyIfMissing ? QString() : text;
    const TReferenceEntry* e = Find(table, titleColumn);
    if (!e) return missing;
    const QString t = text.trimmed();
    for (int i = 0; i < e->Count; ++i) {
        const QString code = e->Codes[i].trimmed();
        const bool hit = contains ? code.contains(t) : code.compare(t, Qt::CaseInsensitive) == 0;
        if (hit) return e->Titles[i].trimmed();
    }
    return missing;
}

QString TReferenceCache::ReferenceTitlesOf(const QString& table, const QString& list,
                                           const QString& separator, const QString& titleColumn) const {
    QStringList out;
    for (const QString& piece : list.split(separator))
        out << ReferenceTitleOf(table, piece, true, false, titleColumn);
    return out.join(separator);
}
