#pragma once
// The command line of zemlyar-ngo, the valuation of plots without a screen: long GNU-style options
// ("--name value" or "--name=value"), then the exchange files. Parsing only; the valuation itself is
// valuation/BatchValuation.h.
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// The coefficient names of --row and --set.
const QStringList&
NgoCoefficientNames(); // Nrd, Km1, Km2, Km3, Km4, Kcp, Kmc1, KmcI, KmcH, KmcN, Kls, Klk, PSR, District

struct TNgoCommandLine {
    QStringList Files;
    // General data the file lacks or that override it, by option name without "--" ("population", "year",
    // "location", "region", "district", "council", "settlement", "centre", "category", "purpose",
    // "land-type", "water-type", "forest-type").
    QMap<QString, QString> GeneralData;
    std::optional<bool> KmcAlways;
    QList<QPair<QString, QString>> Rows; // --row NAME=ROW (ROWxCOL for Kmc1 and Klk), in order
    QList<QPair<QString, QString>> Sets; // --set NAME=VALUE, in order
    bool Write = false;
    QString OutDir;
    QString Organisation;
    QString ZoneId; // TerritorialZoneID as typed on "Завершення" (instead of the codifier's)
    bool NoZone = false;
    bool NoApproval = false;
    bool Json = false;
    bool Help = false;
};

// The general-data options in the order --help lists them.
const QStringList& NgoGeneralDataOptions();

// Parses the arguments (without the program name). Returns the reason of the first problem, in the words
// the user sees; "" when the command line is valid.
QString ParseNgoCommandLine(const QStringList& arguments, TNgoCommandLine* out);

// The Ukrainian --help text (ends with a line break).
QString NgoHelpText();
