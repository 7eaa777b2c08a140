#pragma once
// The in-memory copy of the reference database's code/title lists, filled at start-up. It only grows: a
// reload of the same table and title column refreshes its entry.
#include <QList>
#include <QString>
#include <QStringList>

class TDataQuery;

struct TReferenceEntry {
    QString Table; // compared without regard to case
    QString CodeColumn;
    QString TitleColumn;
    QStringList Codes;  // in id order
    QStringList Titles; // "" where the title column is missing
    // Further title columns: the title column's name plus 2, 3, ... while they exist without a gap
    // (at most 11); ExtraTitleColumns[k] names the column whose values are ExtraTitles[k].
    QStringList ExtraTitleColumns;
    QList<QStringList> ExtraTitles;
    int Count = 0;
    bool HasTitles = false;
};

class TReferenceCache {
public:
    // When the table exists, runs "SELECT * FROM " table + orderClause and (re)fills the entry of the table
    // and title column. False when nothing was loaded (the cache is then unchanged).
    bool LoadReference(TDataQuery& query, const QString& table, const QString& codeColumn,
                       const QString& orderClause, const QString& titleColumn);

    // Fills an empty list with the codes of the table in order, or with its titles when the list name holds a
    // "*" anywhere (which is removed to give the table name). A list with items is left alone.
    void ReferenceList(const QString& listName, QStringList& list) const;
    // The code; or, unless codeOnly, the code, " - " and the title when the title differs. Table "ради":
    // code, " (", title3, ")"; table "райони_обл": the code alone. "" past the end or for unknown tables.
    QString ReferenceEntryText(const QString& table, int index, bool codeOnly) const;
    // The trimmed title of the first row whose trimmed code equals the trimmed text (without regard to case),
    // or, with contains, whose trimmed code holds the trimmed text. Not found: "" with emptyIfMissing, else
    // the text. Without a title column the first entry of the table decides.
    QString ReferenceTitleOf(const QString& table, const QString& text, bool emptyIfMissing, bool contains,
                             const QString& titleColumn = QString()) const;
    // Each piece of the list mapped by ReferenceTitleOf (exact, empty if missing), joined again.
    QString ReferenceTitlesOf(const QString& table, const QString& list, const QString& separator,
                              const QString& titleColumn = QString()) const;

    const TReferenceEntry* Find(const QString& table, const QString& titleColumn = QString()) const;
    const QList<TReferenceEntry>& Entries() const { return entries_; }
    void Clear() { entries_.clear(); }

private:
    QList<TReferenceEntry> entries_;
};
