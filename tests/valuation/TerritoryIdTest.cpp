// The territory ID from an address: normalisation, and the look-ups on the shipped codifier and on both
// engines.
#include "valuation/TerritoryId.h"
#include "common/Messages.h"
#include "data/ReferenceDatabase.h"
#include "data/TFormMain.h"
#include "data/TestEngines.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

TEST(TerritoryIdNormalisation, NamesLoseTheirKindWords) {
    struct Case {
        QString (*fn)(const QString&);
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {NormaliseRegionName, "Чернігівська область", "Чернігівська"},
        {NormaliseDistrictName, "Ніжинський район", "Ніжинський"},
        {NormaliseCouncilName, "на території Бобровицької міської ради", "Бобровицька"},
        {NormaliseCouncilName, "На території Крутівської сільської ради", "Крутівська"},
        {NormaliseCouncilName, "Бобровицька міська рада", "Бобровицька"},
        {NormaliseCouncilName, "на території Широкого сільського округу", "Широкий"},
        {NormaliseSettlementName, "м. Бобровиця", "Бобровиця"},
        {NormaliseSettlementName, "с.Пам'ятне, вул. Шевченка, 5", "Пам'ятне"},
        {NormaliseSettlementName, "смт Іванків", "Іванків"},
        {NormaliseSettlementName, "с-ще Миру (Ніжинський р-н)", "Миру Ніжинський р-н"},
        {NormaliseSettlementName, "  ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fn(U(c.in)), U(c.out)) << c.in;
    EXPECT_EQ(TerritoryIdOfCode(QStringLiteral("UA74040050010084586")), QStringLiteral("084586"));
    EXPECT_EQ(TerritoryIdOfCode(QStringLiteral("123")), QString());
}

struct AddressCase {
    const char* name;
    const char* region;
    const char* district;
    const char* council;
    const char* settlement;
    const char* location;
    const char* id;
};

// Every case exists in the shipped codifier and in the small one of the tests.
const AddressCase kAddressCases[] = {
    {"settlement inside its community", "Чернігівська область", "Ніжинський район", "Бобровицька міська рада",
     "м. Бобровиця", "В межах", "084586"},
    {"community without a settlement", "Чернігівська область", "Ніжинський район", "Бобровицька міська рада",
     "", "За межами", "013413"},
    {"outside a settlement: the settlement is ignored", "Чернігівська область", "Ніжинський район",
     "Бобровицька міська рада", "м. Бобровиця", "За межами", "013413"},
    {"council in the genitive", "Чернігівська область", "Ніжинський район",
     "на території Бобровицької міської ради", "м. Бобровиця", "В межах", "084586"},
    {"straight apostrophe in the settlement", "Чернігівська область", "Ніжинський район",
     "Крутівська сільська рада", "с. Пам'ятне", "В межах", "068401"},
    {"settlement that does not exist", "Чернігівська область", "Ніжинський район", "Бобровицька міська рада",
     "с. Неіснуюче", "В межах", ""},
    {"inside without a settlement", "Чернігівська область", "Ніжинський район", "Бобровицька міська рада", "",
     "В межах", ""},
    {"no region", "", "Ніжинський район", "Бобровицька міська рада", "м. Бобровиця", "В межах", ""},
    {"unknown district", "Чернігівська область", "Невідомий район", "Бобровицька міська рада", "",
     "За межами", ""},
    {"apostrophe that would end the literal", "Чернігівська область", "Ніжинський' OR '1'='1 район",
     "Бобровицька міська рада", "", "За межами", ""},
};

void CheckAddresses(TDataQuery& query) {
    for (const AddressCase& c : kAddressCases) {
        const TAddressForId a{U(c.region), U(c.district), U(c.council), U(c.settlement), U(c.location)};
        EXPECT_EQ(TerritoryIdFromAddress(query, a), U(c.id)) << c.name;
    }
}

TEST(TerritoryIdFromAddress, OnTheShippedCodifier) {
    TTestProgramDir dir;
    ASSERT_TRUE(dir.CopyFromProgram(QStringLiteral("ref.db")));
    TFormMain module;
    ASSERT_TRUE(module.OpenReferenceDatabase()) << LastErrorText.toStdString();
    CheckAddresses(module.ADOQueryRef);
}

class TerritoryIdEngines : public ::testing::TestWithParam<TEngine> {};

TEST_P(TerritoryIdEngines, OnTheSmallCodifier) {
    TTestDatabases db(GetParam());
    ZEMLYAR_REQUIRE_ENGINE(db);
    db.WriteConnectionFiles();
    TFormMain module;
    ASSERT_TRUE(module.OpenReferenceDatabase()) << LastErrorText.toStdString();
    QString error;
    ASSERT_TRUE(BuildReferenceDatabase(module.ADOQueryRef, SmallReferenceSources(), &error))
        << error.toStdString();
    CheckAddresses(module.ADOQueryRef);
}

INSTANTIATE_TEST_SUITE_P(Engines, TerritoryIdEngines, ::testing::Values(TEngine::Sqlite, TEngine::Postgres),
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
