#include "exchange/OrganisationLookup.h"

#include "common/Messages.h"
#include "data/ReferenceDatabase.h"
#include "data/SqlHelpers.h"
#include "data/TFormMain.h"
#include "data/TestEngines.h"

#include <gtest/gtest.h>

namespace {

TEST(OrganisationLookup, ReadsTheNamedLicenseeFromTheReferenceDatabase) {
    TTestDatabases db(TEngine::Sqlite);
    ZEMLYAR_REQUIRE_ENGINE(db);
    db.WriteConnectionFiles();
    TFormMain module;
    ASSERT_TRUE(module.OpenReferenceDatabase()) << LastErrorText.toStdString();
    QString error;
    ASSERT_TRUE(BuildReferenceDatabase(module.ADOQueryRef, SmallReferenceSources(), &error))
        << error.toStdString();
    ASSERT_TRUE(RunSql(module.ADOQueryRef,
                       "INSERT INTO ліцензіати (назва, повна_назва, едрпо) VALUES (?, ?, ?)",
                       {"Бюро О'Коннор", "ТОВ \"Бюро О'Коннор\"", "12345678"}, false, false))
        << LastErrorText.toStdString();

    QMap<QString, QString> row;
    ASSERT_TRUE(FindLicensee("Бюро О'Коннор", &row)) << LastErrorText.toStdString();
    EXPECT_EQ(row.value("повна_назва"), "ТОВ \"Бюро О'Коннор\"");
    EXPECT_EQ(row.value("едрпо"), "12345678");
    EXPECT_EQ(row.value("інн"), "");
    EXPECT_TRUE(row.contains("виконавець_сертиф_номер"));

    EXPECT_FALSE(FindLicensee("Інше бюро", &row));
    EXPECT_EQ(LastErrorText, kNoRecordsText);
}

} // namespace
