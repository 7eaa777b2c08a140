#pragma once
// The territory ID (the last six characters of a KATOTTG code) from the parts of an address.
#include <QString>

class TDataQuery;

struct TAddressForId {
    QString Region;
    QString District;
    QString Council;
    QString Settlement;
    QString LocationKind; // "В межах" or "За межами"
};

// Region without " область"; district without " район".
QString NormaliseRegionName(const QString& region);
QString NormaliseDistrictName(const QString& district);
// Without "на території "/"На території ", the genitive endings "кої "/"кого " turned into "ка "/"кий ",
// then its first word only ("на території Бобровицької міської ради" -> "Бобровицька").
QString NormaliseCouncilName(const QString& council);
// Without brackets, up to the first ",", without "с.", "м.", "с-ще" and "смт", trimmed.
QString NormaliseSettlementName(const QString& settlement);

// The last six characters of a codifier code ("" for shorter texts).
QString TerritoryIdOfCode(const QString& code);

// The ID of the settlement inside the community (location "В межах", or any settlement given with a
// location other than "За межами"), or of the community itself when there is no settlement or the plot lies
// outside ("За межами"). "" when the address is incomplete or a part is not in the codifier. The query runs
// on the reference database.
QString TerritoryIdFromAddress(TDataQuery& query, const TAddressForId& address);
