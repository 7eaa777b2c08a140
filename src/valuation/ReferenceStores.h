#pragma once
// The remembered user input beside the program: population per council (POPUL.dat), the address history
// of the general data (ADDR.dat) and the yearly indexation lists (YEARS.dat, YEARS_SH.dat).
//
// Every store reads the file first and refuses to write when the file exists but cannot be read, so that
// the user's lines are never replaced by an empty list; writes go through a temporary file and a rename.
#include <QMap>
#include <QString>
#include <QStringList>

// --- POPUL.dat: council name, TAB, population, TAB, centre settlement name.
struct TPopulationEntry {
    QString Population = QStringLiteral("-"); // "-" when not found
    QString Centre = QStringLiteral(" ");     // " " when not found
    bool Found() const { return Population != QLatin1String("-") || Centre != QLatin1String(" "); }
};
// The first line whose council field equals the name exactly.
TPopulationEntry PopulationLookup(const QString& path, const QString& councilName);
// Replaces the council's first line or appends one. False (reason in LastErrorText) when the file could
// not be read or written.
bool PopulationStore(const QString& path, const QString& councilName, qint64 population,
                     const QString& centreName);

// --- ADDR.dat: row name, "=", value. The history only grows.
class TAddressHistory {
public:
    // NxItemKoatuu, NxItemAddrObl, NxItemAddrRaion, NxItemAddrRada, NxItemAddrNP, NxItemCenterTG, NxItemPopul
    static const QStringList& RowNames();

    // The drop-down list of a history row (empty for other names).
    QStringList List(const QString& rowName) const { return lists_.value(rowName); }
    void Add(const QString& rowName, const QString& value); // ignored for empty values and other names
    void Clear() { lists_.clear(); }

    // Adds every value of the file to its row's list.
    void Load(const QString& path);
    // Adds the rows' current values to their lists, then adds every list entry to the file. False (reason
    // in LastErrorText) when the file could not be read or written.
    bool Store(const QString& path, const QMap<QString, QString>& currentValues);

private:
    QMap<QString, QStringList> lists_;
};

// --- YEARS.dat / YEARS_SH.dat: year, "=", coefficient; the lines of the list editor ListYearsKni.
// "2020=1.0" .. "2025=1.08", then "2026=" .. "2035=".
QStringList BuiltInIndexationList();
// YEARS_SH.dat for category "100", YEARS.dat for every other.
QString IndexationFileName(const QString& categoryCode);
// When the file exists and can be read, its lines replace *list; otherwise *list stays as it is.
// Returns true when the list was replaced.
bool LoadIndexationList(const QString& path, QStringList* list);
// "Зберегти": writes the lines; shows "Список збережено." after a successful write, an error otherwise.
bool SaveIndexationList(const QString& path, const QStringList& list);
