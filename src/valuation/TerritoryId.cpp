#include "valuation/TerritoryId.h"

#include "common/TextHelpers.h"
#include "data/DataQuery.h"
#include "data/ReferenceDatabase.h"
#include "data/SqlHelpers.h"

namespace {

const QString kInside = QStringLiteral("В межах");
const QString kOutside = QStringLiteral("За межами");

// The field of the first row, or "" when the statement finds nothing.
QString FirstField(TDataQuery& query, const QString& statement, const QString& field) {
    if (!RunSql(query, statement, true, true)) return {};
    const QString v = query.FieldText(field);
    query.Close();
    return v;
}

} // namespace

QString NormaliseRegionName(const QString& region) {
    return ReplaceAll(region, QStringLiteral(" область"), QString()).trimmed();
}

QString NormaliseDistrictName(const QString& district) {
    return ReplaceAll(district, QStringLiteral(" район"), QString()).trimmed();
}

QString NormaliseCouncilName(const QString& council) {
    QString s = ReplaceAll(council, QStringLiteral("на території "), QString());
    s = ReplaceAll(s, QStringLiteral("На території "), QString());
    s = ReplaceAll(s, QStringLiteral("кої "), QStringLiteral("ка "));
    s = ReplaceAll(s, QStringLiteral("кого "), QStringLiteral("кий "));
    s = s.trimmed();
    const qsizetype space = s.indexOf(' ');
    return space < 0 ? s : s.left(space);
}

QString NormaliseSettlementName(const QString& settlement) {
    QString s = settlement;
    s.remove('(').remove(')');
    const qsizetype comma = s.indexOf(',');
    if (comma >= 0) s = s.left(comma);
    for (const QString& prefix :
         {QStringLiteral("с."), QStringLiteral("м."), QStringLiteral("с-ще"), QStringLiteral("смт")})
        s = ReplaceAll(s, prefix, QString());
    return s.trimmed();
}

QString TerritoryIdOfCode(const QString& code) {
    return code.size() < 6 ? QString() : code.right(6);
}

QString TerritoryIdFromAddress(TDataQuery& query, const TAddressForId& address) {
    // The codifier spells apostrophes as "’"; so do the names looked up in it.
    const QString region = NormaliseRegionName(UnifyApostrophes(address.Region));
    const QString district = NormaliseDistrictName(UnifyApostrophes(address.District));
    const QString council = NormaliseCouncilName(UnifyApostrophes(address.Council));
    QString settlement = NormaliseSettlementName(UnifyApostrophes(address.Settlement));
    if (region.isEmpty() || district.isEmpty() || council.isEmpty()) return {};
    if (settlement.isEmpty() && address.LocationKind == kInside) return {};
    if (address.LocationKind == kOutside) settlement.clear();

    // Names go into the statements quoted once, so that an apostrophe cannot end the literal.
    const QString code2 =
        FirstField(query,
                   QStringLiteral("SELECT * FROM кодифікатор WHERE (cat='P') and (title='") +
                       SqlQuote(district) + QStringLiteral("') ORDER BY id"),
                   QStringLiteral("code2"));
    if (code2.isEmpty()) return {};
    const QString code3 = FirstField(query,
                                     QStringLiteral("SELECT * FROM кодифікатор WHERE (code2='") +
                                         SqlQuote(code2) + QStringLiteral("') and (cat='H') and (title='") +
                                         SqlQuote(council) + QStringLiteral("') ORDER BY id"),
                                     QStringLiteral("code3"));
    if (code3.isEmpty()) return {};
    if (settlement.isEmpty()) return TerritoryIdOfCode(code3);
    const QString code4 = FirstField(query,
                                     QStringLiteral("SELECT * FROM кодифікатор WHERE (code3='") +
                                         SqlQuote(code3) + QStringLiteral("') and (title='") +
                                         SqlQuote(settlement) + QStringLiteral("') ORDER BY id"),
                                     QStringLiteral("code4"));
    return TerritoryIdOfCode(code4);
}
