#pragma once
// The thirteen methodology tables of NGO.dat, the purpose list, and the two settings kept in the same file
// (the saved Клс default and the base year of the rent-income norms).
#include "valuation/CoefficientTable.h"

#include <QStringList>

#include <optional>

// Column layout of the tables (0-based model columns).
namespace NgoColumns {
// Check-box tables: column 0 is the check box.
constexpr int kNrdBand = 1, kNrdValue = 2;       // NextGridNrd
constexpr int kNrd2Category = 1, kNrd2Value = 2; // NextGridNrd2
constexpr int kKm1City = 1, kKm1Communities = 2, kKm1Value = 3;
constexpr int kKm2Name = 1, kKm2Value = 2;
constexpr int kKm3Name = 1, kKm3Value = 2;
constexpr int kKcpCode = 1, kKcpName = 2, kKcpValue = 3;
constexpr int kPsrRegion = 1, kPsrNumber = 2, kPsrName = 3, kPsrKpsgrFirst = 4, kPsrBpsgrFirst = 9;
constexpr int kUnitName = 1, kUnitValue = 2; // NextGridKmcI, NextGridKmcH, NextGridKmcN, NextGridKls
// Cell tables.
constexpr int kKmc1Name = 0, kKmc1FirstBand = 1; // bands 1..12
constexpr int kKlkName = 0, kKlkProtective = 1, kKlkExploitation = 2;
} // namespace NgoColumns

class TNgoTables {
public:
    TNgoTables();
    TNgoTables(const TNgoTables&) = delete;
    TNgoTables& operator=(const TNgoTables&) = delete;

    TCoefficientTable Nrd;  // NextGridNrd, "dod1=": population band, Нрд per square metre
    TCoefficientTable Nrd2; // NextGridNrd2, "dod2-": category text, Нрд per hectare
    TCoefficientTable Km1;  // NextGridKm1, "dod3="
    TCoefficientTable Km2;  // NextGridKm2, "dod4="
    TCoefficientTable Km3;  // NextGridKm3, "dod5="
    TCoefficientTable Kcp;  // NextGridKcp, "dod8="
    TCoefficientTable Psr;  // NextGridPSR, "dod9="
    TCoefficientTable Kmc1; // NextGridKmc1, "dod10=" (cell table)
    TCoefficientTable KmcI; // NextGridKmcI, "dod11="
    TCoefficientTable KmcH; // NextGridKmcH, "dod12="
    TCoefficientTable KmcN; // NextGridKmcN, "dod12i="
    TCoefficientTable Kls;  // NextGridKls, "dod14="
    TCoefficientTable Klk;  // NextGridKlk, "dod13=" (cell table)
    // The drop-down list of "Цільове призначення": code, "-", name of every "dod8=" line in file order.
    QStringList Purposes;

    void Clear();
    QList<TCoefficientTable*> All();
    TCoefficientTable* ByName(const QString& objectName);
};

// Column captions, also used by the grids that copy a table's columns (the previous-value grids).
QStringList PsrCaptions();  // columns 1..12 of NextGridPSR
QStringList AgroCaptions(); // columns 0..6 of NextGridAgro
QStringList Kmc1BandCaptions();

// Fills the tables from the lines of NGO.dat (setting lines and unknown lines are ignored).
void ParseNgoTables(TNgoTables& tables, const QStringList& lines);
// Reads NGO.dat; a missing or unreadable file leaves every table empty. Returns false only when the file
// exists but could not be read.
bool LoadNgoTables(TNgoTables& tables, const QString& path);

// Section "YEAR", key "on": the base year; 2020 when missing or not an integer.
int ReadBaseYear(const QString& ngoPath);
// Section "NGO DEFAUL", key "Kls": the saved Клс choice; nullopt when the key is not there.
std::optional<QString> ReadKlsDefault(const QString& ngoPath);
// "Зберегти вибір": column 1 of the (last) checked Клс row, empty when none, written as the default; shows
// "Збережено "<text>"" on success and an error when NGO.dat could not be written.
bool SaveKlsDefault(const QString& ngoPath, const TCoefficientTable& kls);
