// The shipped reference database and its build from the text sources.
#include "data/ReferenceDatabase.h"
#include "common/Messages.h"
#include "data/SqlHelpers.h"
#include "data/TFormMain.h"
#include "data/TestEngines.h"

#include <QDir>
#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

QString Scalar(TDataQuery& q, const QString& sql) {
    if (!RunSql(q, sql, true, true)) return QStringLiteral("<failed: ") + LastErrorText + '>';
    const QString v = q.FieldText(0);
    q.Close();
    return v;
}

TEST(ShippedReferenceDatabase, HoldsTheCodifierAndTheLists) {
    TTestProgramDir dir;
    ASSERT_TRUE(dir.CopyFromProgram(QStringLiteral("ref.db")));
    TFormMain module;
    ASSERT_TRUE(module.OpenReferenceDatabase()) << LastErrorText.toStdString();
    TDataQuery& q = module.ADOQueryRef;
    EXPECT_EQ(Scalar(q, QStringLiteral("SELECT count(*) FROM кодифікатор")), QStringLiteral("31748"));
    // Apostrophes are the typographic one, names carry no stray spaces.
    EXPECT_EQ(Scalar(q, QStringLiteral(
                            "SELECT count(*) FROM кодифікатор WHERE title LIKE '%''%' OR title LIKE '% '")),
              QStringLiteral("0"));
    EXPECT_EQ(Scalar(q, QStringLiteral(
                            "SELECT title FROM кодифікатор WHERE code3='UA01020010000048857' AND cat='H'")),
              U("Андріївська"));
    EXPECT_EQ(Scalar(q, QStringLiteral("SELECT title FROM категорія_земель WHERE code='100'")),
              U("Землі сільськогосподарського призначення"));
    for (const char* table : {"цільове_використання", "техдокументація", "документи_формування_обмінного",
                              "ради", "райони_обл", "угіддя", "форми_власності"})
        EXPECT_NE(Scalar(q, QStringLiteral("SELECT count(*) FROM ") + U(table)), QStringLiteral("0"))
            << table;
    EXPECT_EQ(Scalar(q, QStringLiteral("SELECT title3 FROM ради WHERE title='UA74040050000013413'")),
              U("Чернігівська"));
    for (const char* table : {"ліцензіати", "умолчания", "територіальні_зони"})
        EXPECT_EQ(Scalar(q, QStringLiteral("SELECT count(*) FROM ") + U(table)), QStringLiteral("0"))
            << table;
    ASSERT_TRUE(RunSql(q, QStringLiteral("SELECT * FROM ліцензіати WHERE id=0"), true, false));
    EXPECT_EQ(q.Record().count(), 29); // id and 28 columns
    EXPECT_EQ(q.Record().fieldName(28), U("виконавець_сертиф_дата"));
}

TEST(ReferenceDatabaseBuild, ABadSourceLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString sources = dir.filePath(QStringLiteral("src"));
    ASSERT_TRUE(QDir().mkpath(sources));
    const QString out = dir.filePath(QStringLiteral("ref.db"));
    WriteBytes(out, QByteArrayLiteral("old"));
    WriteBytes(sources + U("/кодифікатор.csv"), QByteArrayLiteral("header\nUA1;;;;;O\n"));
    QString error;
    EXPECT_FALSE(BuildReferenceDatabaseFile(sources, out, &error));
    EXPECT_TRUE(error.contains(U("рядок 2"))) << error.toStdString();
    EXPECT_EQ(ReadBytes(out), QByteArrayLiteral("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("ref.db")});

    WriteBytes(sources + U("/кодифікатор.csv"), QString::fromUtf8("h\nUA01;;;;;O;Крим'ська \n").toUtf8());
    WriteBytes(sources + U("/списки.tsv"), QByteArrayLiteral("code\ttitle\n1\tone\n\n2\n"));
    ASSERT_TRUE(BuildReferenceDatabaseFile(sources, out, &error)) << error.toStdString();
    TTestProgramDir programDir;
    TFormMain module;
    ASSERT_TRUE(module.ADOConnectionRef.Open(QStringLiteral("Provider=QSQLITE;Data Source=") + out, true));
    EXPECT_EQ(Scalar(module.ADOQueryRef, QStringLiteral("SELECT title FROM кодифікатор")), U("Крим’ська"));
    EXPECT_EQ(Scalar(module.ADOQueryRef, QStringLiteral("SELECT count(*) FROM списки")), QStringLiteral("2"));
}

} // namespace
