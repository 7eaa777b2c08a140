#pragma once
// The general data of a valuation: the texts of the first wizard page as typed, and the applied values
// the coefficient rules, the calculation and the writers work with.
#include <QString>
#include <QStringList>

// The texts of the general-data rows as the inspector holds them (untrimmed).
struct TGeneralDataInput {
    QString Area;            // NxItemSQ "Площа, га"
    QString Koatuu;          // NxItemKoatuu
    QString Region;          // NxItemAddrObl
    QString District;        // NxItemAddrRaion
    QString Council;         // NxItemAddrRada
    QString Settlement;      // NxItemAddrNP
    QString Location;        // NxItemVMezhah
    QString Centre;          // NxItemCenterTG
    QString Population;      // NxItemPopul
    QString Category;        // NxItemCategory
    QString Purpose;         // NxItemCileve
    QString Year;            // NxItemYear
    QString AgriLandType;    // NxItemVydSilhoz
    QString WaterObjectType; // NxItemVydVodnogo
    QString ForestType;      // NxItemVydLisnogo
};

// The applied general data.
struct TGeneralData {
    QString AreaText;     // hectares, "," replaced by "." and spaces removed
    QString CategoryCode; // "200"
    QString PurposeCode;  // "02.01"
    QString RegionName;
    QString DistrictName; // this and the next three with ` and ' replaced by ’
    QString CouncilName;
    QString SettlementName;
    QString CentreName;
    QString KoatuuCode;
    QString LocationKind; // "В межах" or "За межами"
    qint64 PopulationCount = 0;
    int YearOfValuation = 0;
    QString AgriLandType;
    QString WaterObjectType;
    QString ForestType;
    int BaseYear = 2020;
};

inline const QString kInsideSettlement = QStringLiteral("В межах");
inline const QString kOutsideSettlement = QStringLiteral("За межами");
inline const QString kExploitationForests = QStringLiteral("експлуатаційні ліси");
inline const QString kNationalWater = QStringLiteral("загальнодержавного значення");

// The fixed lists of the general-data combo rows.
QStringList CategoryList(); // the nine "100-..." to "900-..." entries
QStringList LocationList(); // "В межах", "За межами"
QStringList YearList();     // "2022" .. "2035"
QStringList AgriLandTypeList(); // "рілля, перелоги" .. "несільськогосподарські угіддя"
QStringList WaterObjectTypeList();
QStringList ForestTypeList();

// Every grave accent and straight apostrophe becomes the right single quotation mark ’.
QString NormaliseApostrophes(const QString& text);
// The part before the first "-", trimmed ("200-землі ..." -> "200"); the whole text when there is none.
QString CodeBeforeDash(const QString& text);
// "," becomes "." and every space is removed.
QString NormaliseNumberText(const QString& text);

// Reads the applied values from the row texts without checking them (numbers that do not parse are 0).
TGeneralData ReadGeneralData(const TGeneralDataInput& input, int baseYear = 2020);
// Reads and checks in the fixed order. Returns the warning text of the first failure, empty when valid;
// *data receives the applied values only when valid.
QString ValidateGeneralData(const TGeneralDataInput& input, TGeneralData* data, int baseYear = 2020);
