// Data access on both engines: RunSql and its helpers, the plot table, the reference cache, the update
// lists and the start-up sequence.
#include "common/CodePage.h"
#include "common/Files.h"
#include "common/Messages.h"
#include "common/RecordingSink.h"
#include "data/ConnectionString.h"
#include "data/DataQuery.h"
#include "data/EngineFixture.h"
#include "data/PlotRows.h"
#include "data/PlotSchema.h"
#include "data/ReferenceDatabase.h"
#include "data/ReferenceUpdates.h"
#include "data/SqlHelpers.h"
#include "data/StoredDefaults.h"
#include "data/TFormMain.h"

#include <QDir>
#include <QFile>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <memory>

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

class DataAccessTest : public TEngineFixture {
protected:
    void SetUp() override { OpenDatabases(true); }

    // Runs a statement that must succeed.
    void Exec(TDataQuery& q, const QString& sql) {
        ASSERT_TRUE(RunSql(q, sql, false, false)) << LastErrorText.toStdString();
    }
    QStringList Column(TDataQuery& q, const QString& sql, const QString& field) {
        QStringList out;
        if (!RunSql(q, sql, true, false)) return {QStringLiteral("<failed: ") + LastErrorText + '>'};
        for (bool row = !q.Eof(); row; row = q.Next())
            out << q.FieldText(field);
        q.Close();
        return out;
    }
    QString File(const QString& name) const { return db_->ProgramDir().File(name); }
};

TEST_P(DataAccessTest, RunSqlFlagsAndFailures) {
    TDataQuery& q = module_->ADOQueryMain;
    Exec(q, QStringLiteral("CREATE TABLE t (id int, name varchar(20))"));
    Exec(q, QStringLiteral("INSERT INTO t (id, name) VALUES (1, 'a')"));

    struct Case {
        const char* statement;
        bool open, needRows;
        bool ok;
        const char* error; // exact, or a prefix when it ends with "*"
        bool active;
    };
    const Case cases[] = {
        {"SELECT * FROM t WHERE id=1", true, true, true, "", true},
        {"SELECT * FROM t WHERE id=2", true, false, true, "", true},
        {"SELECT * FROM t WHERE id=2", true, true, false, "Відсутні записи.", false},
        {"UPDATE t SET name='b' WHERE id=1", false, false, true, "", false},
        {"", true, false, false, "", false},
        {"SELECT * FROM missing_table", true, false, false, "*", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.statement);
        LastErrorText = QStringLiteral("old");
        EXPECT_EQ(RunSql(q, U(c.statement), c.open, c.needRows), c.ok);
        EXPECT_EQ(q.Active(), c.active);
        const QString error = U(c.error);
        if (error == QLatin1String("*")) {
            // Engine message, a line break and the statement.
            EXPECT_TRUE(LastErrorText.endsWith(QStringLiteral("\rЗапит: ") + U(c.statement)))
                << LastErrorText.toStdString();
            EXPECT_GT(LastErrorText.indexOf('\r'), 0);
        } else {
            EXPECT_EQ(LastErrorText, error);
        }
    }
    // An opened result set stands on its first row.
    ASSERT_TRUE(RunSql(q, QStringLiteral("SELECT name FROM t"), true, true));
    EXPECT_EQ(q.FieldText(QStringLiteral("name")), QStringLiteral("b"));

    module_->ADOConnectionMain.Close();
    EXPECT_FALSE(RunSql(q, QStringLiteral("SELECT 1"), true, false));
    EXPECT_EQ(LastErrorText, QStringLiteral("Відсутнє з'єднання"));
}

TEST_P(DataAccessTest, StatementsAreAdaptedToTheDialect) {
    TDataQuery& q = module_->ADOQueryMain;
    Exec(q, QStringLiteral("CREATE TABLE t (id int, name varchar(20))"));
    Exec(q, QStringLiteral("INSERT INTO t (id, name) VALUES (1, 'abcdef')"));
    Exec(q, QStringLiteral("INSERT INTO t (id, name) VALUES (2, 'ghijkl')"));
    ASSERT_TRUE(RunSql(q, QStringLiteral("SELECT Mid$(name, 2, 3) AS s FROM t WHERE id=1"), true, true))
        << LastErrorText.toStdString();
    EXPECT_EQ(q.FieldText(QStringLiteral("s")), QStringLiteral("bcd"));
    // Both engines take the first row with LIMIT, so "%JET_LIMIT%" vanishes and "%PG_LIMIT%" limits.
    EXPECT_EQ(Column(q, QStringLiteral("SELECT %JET_LIMIT% name FROM t ORDER BY id %PG_LIMIT%"),
                     QStringLiteral("name")),
              QStringList{QStringLiteral("abcdef")});
}

TEST_P(DataAccessTest, SelectMaxTableExistsAndQueryHasField) {
    TDataQuery& q = module_->ADOQueryMain;
    Exec(q, QStringLiteral("CREATE TABLE t (id int, code varchar(20))"));
    EXPECT_EQ(SelectMax(q, QStringLiteral("t"), QStringLiteral("id")), 0); // empty table
    Exec(q, QStringLiteral("INSERT INTO t (id, code) VALUES (7, 'x')"));
    Exec(q, QStringLiteral("INSERT INTO t (id, code) VALUES (42, 'y')"));
    EXPECT_EQ(SelectMax(q, QStringLiteral("t"), QStringLiteral("id")), 42);
    EXPECT_EQ(SelectMax(q, QStringLiteral("missing"), QStringLiteral("id")), 0);

    EXPECT_TRUE(TableExists(module_->ADOConnectionMain, QStringLiteral("t")));
    EXPECT_TRUE(TableExists(module_->ADOConnectionMain, QStringLiteral("T")));
    EXPECT_FALSE(TableExists(module_->ADOConnectionMain, QStringLiteral("missing")));
    EXPECT_FALSE(TableExists(module_->ADOConnectionRef, QStringLiteral("t")));

    EXPECT_TRUE(QueryHasField(q, QStringLiteral("SELECT * FROM t WHERE id=0"), QStringLiteral("code")));
    EXPECT_FALSE(QueryHasField(q, QStringLiteral("SELECT * FROM t WHERE id=0"), QStringLiteral("title")));
    EXPECT_FALSE(QueryHasField(q, QStringLiteral("SELECT * FROM missing"), QStringLiteral("code")));

    module_->ADOConnectionMain.Close();
    EXPECT_FALSE(TableExists(module_->ADOConnectionMain, QStringLiteral("t")));
}

TEST_P(DataAccessTest, PlotTableIsCreatedWithEveryColumnInOrder) {
    ASSERT_TRUE(module_->CreatePlotTableIfMissing()) << LastErrorText.toStdString();
    EXPECT_TRUE(TableExists(module_->ADOConnectionMain, QStringLiteral("dilanky")));
    TDataQuery& q = module_->ADOQueryMain;
    ASSERT_TRUE(RunSql(q, QStringLiteral("SELECT * FROM dilanky WHERE id=0"), true, false));
    const QSqlRecord rec = q.Record();
    ASSERT_EQ(rec.count(), 81);
    for (int i = 0; i < 81; ++i)
        EXPECT_EQ(rec.fieldName(i), PlotColumns()[i].Name) << i;

    // Every text column defaults to "", so a freshly registered row reads empty everywhere but id and uid.
    const qint64 id = RegisterPlotRow(q);
    ASSERT_GT(id, 0);
    ASSERT_TRUE(ReadPlotRow(q, id));
    for (const auto& [name, value] : CurrentRowValues(q)) {
        if (name == QLatin1String("id") || name == QLatin1String("uid")) continue;
        EXPECT_EQ(value, QString()) << name.toStdString();
    }
}

TEST_P(DataAccessTest, AnExistingPlotTableIsNeverAltered) {
    TDataQuery& q = module_->ADOQueryMain;
    Exec(q, QStringLiteral("CREATE TABLE dilanky (id int, назва text, uid varchar(50))"));
    ASSERT_TRUE(module_->CreatePlotTableIfMissing());
    Exec(q, QStringLiteral("INSERT INTO dilanky (id, назва, uid) VALUES (5, 'old', '')"));
    ASSERT_TRUE(ReadPlotRow(q, 5));
    EXPECT_EQ(q.FieldCount(), 3);
    EXPECT_EQ(q.FieldText(QStringLiteral("діл_каднум")), QString()); // a newer column: simply no field
}

TEST_P(DataAccessTest, PlotRowsAreWrittenReadAndDeletedWithValuesQuotedOnce) {
    TRecordingSink sink;
    ASSERT_TRUE(module_->CreatePlotTableIfMissing());
    TDataQuery& q = module_->ADOQueryMain;

    qint64 id = 0;
    const TFieldValues values = {
        {QStringLiteral("назва"), QStringLiteral("дев'ять")},
        {QStringLiteral("файл"), QStringLiteral("C:\\plots\\it's here\\")},
        {QStringLiteral("діл_площа"), QStringLiteral("0.1234")},
        {QStringLiteral("діл_власник"), QStringLiteral("'; DELETE FROM dilanky; --")},
    };
    ASSERT_TRUE(WritePlotRow(q, id, values)) << sink.LastText().toStdString();
    ASSERT_GT(id, 0);
    ASSERT_TRUE(ReadPlotRow(q, id));
    EXPECT_EQ(q.FieldText(QStringLiteral("назва")), QStringLiteral("дев'ять"));
    EXPECT_EQ(q.FieldText(QStringLiteral("файл")),
              QStringLiteral("C:\\plots\\it's here/")); // final "\" -> "/"
    EXPECT_EQ(q.FieldText(QStringLiteral("діл_площа")), QStringLiteral("0.1234"));
    EXPECT_EQ(q.FieldText(QStringLiteral("діл_власник")), QStringLiteral("'; DELETE FROM dilanky; --"));
    EXPECT_EQ(q.FieldText(QStringLiteral("uid")), QString());

    // A second write updates the same row; the listing shows completed rows only.
    ASSERT_TRUE(WritePlotRow(q, id, {{QStringLiteral("діл_площа"), QStringLiteral("2")}}));
    const qint64 pending = RegisterPlotRow(q);
    ASSERT_GT(pending, id);
    EXPECT_EQ(Column(q, ListPlotsStatement(), QStringLiteral("id")), QStringList{QString::number(id)});
    EXPECT_EQ(FindPlotByFile(q, QStringLiteral("C:\\plots\\it's here\\")), id);
    EXPECT_EQ(FindPlotByFile(q, QStringLiteral("other.xml")), 0);

    // A failed first write shows its message and leaves no half-made row behind.
    qint64 none = 0;
    EXPECT_FALSE(WritePlotRow(q, none, {{QStringLiteral("no_such_column"), QStringLiteral("x")}}));
    EXPECT_EQ(none, 0);
    ASSERT_FALSE(sink.messages.isEmpty());
    EXPECT_TRUE(sink.LastText().startsWith(QStringLiteral("Помилка збереження запису.\r")))
        << sink.LastText().toStdString();
    EXPECT_EQ(Column(q, QStringLiteral("SELECT id FROM dilanky ORDER BY id"), QStringLiteral("id")),
              (QStringList{QString::number(id), QString::number(pending)}));
    EXPECT_FALSE(WritePlotRow(q, id, {{QStringLiteral("x' = '1"), QStringLiteral("x")}}));

    ASSERT_TRUE(DeletePlotRow(q, id));
    EXPECT_FALSE(ReadPlotRow(q, id));
    EXPECT_EQ(LastErrorText, QStringLiteral("Відсутні записи."));

    sink.Clear();
    module_->ADOConnectionMain.Close();
    EXPECT_EQ(RegisterPlotRow(q), 0);
    EXPECT_EQ(sink.LastText(), QStringLiteral("Помилка реєстрації запису.\rВідсутнє з'єднання"));
    EXPECT_FALSE(DeletePlotRow(q, pending));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Помилка видалення.\rВідсутнє з'єднання"));
}

TEST_P(DataAccessTest, StoredDefaultsKeepApostrophes) {
    BuildSmallReference();
    TDataQuery& q = module_->ADOQueryRef;
    ASSERT_TRUE(WriteStoredDefault(q, QStringLiteral("NxItemPravo"), QStringLiteral("дев'ять")))
        << LastErrorText.toStdString();
    ASSERT_TRUE(WriteStoredDefault(q, QStringLiteral("NxItemPravo"), QStringLiteral("оренда'")));
    ASSERT_TRUE(WriteStoredDefault(q, kDefaultExecutorCode, QStringLiteral("ТОВ \"Земля\"")));
    ASSERT_TRUE(WriteStoredDefault(q, QStringLiteral("NxItemOrg'an"), QStringLiteral("x")));
    EXPECT_EQ(ReadStoredDefault(q, QStringLiteral("NxItemPravo")), QStringLiteral("оренда'"));
    EXPECT_EQ(ReadStoredDefault(q, kDefaultExecutorCode), QStringLiteral("ТОВ \"Земля\""));
    bool found = true;
    EXPECT_EQ(ReadStoredDefault(q, QStringLiteral("NxItemNone"), &found), QString());
    EXPECT_FALSE(found);
    const auto defaults = ReadInspectorDefaults(q);
    ASSERT_EQ(defaults.size(), 2);
    EXPECT_EQ(Column(q, QStringLiteral("SELECT code FROM умолчания WHERE code='NxItemPravo'"),
                     QStringLiteral("code"))
                  .size(),
              1);
}

TEST_P(DataAccessTest, ReferenceCacheFollowsItsRules) {
    BuildSmallReference();
    TDataQuery& q = module_->ADOQueryRef;
    const TSqlDialect d = module_->ADOConnectionRef.Dialect();
    const QString autoId = ColumnDef(d, QStringLiteral("id"), TFieldKind::AutoIncrement, 0, false);
    Exec(q, QStringLiteral("CREATE TABLE \"-old\" (") + autoId +
                QStringLiteral(", code varchar(10), title varchar(10))"));
    Exec(q, QStringLiteral("INSERT INTO \"-old\" (code, title) VALUES ('1', 'x')"));
    Exec(q, QStringLiteral("CREATE TABLE nocode (") + autoId + QStringLiteral(", name varchar(10))"));
    Exec(q, QStringLiteral("CREATE TABLE gaps (") + autoId +
                QStringLiteral(
                    ", code varchar(10), title varchar(10), title2 varchar(10), title4 varchar(10))"));
    Exec(q, QStringLiteral("INSERT INTO gaps (code, title, title2, title4) VALUES ('b', 'B', 'B2', 'B4')"));
    Exec(q, QStringLiteral("INSERT INTO gaps (code, title, title2, title4) VALUES ('a', 'a', 'A2', 'A4')"));
    Exec(q, QStringLiteral(
                "INSERT INTO ради (code, title, title2, title3) VALUES ('123', 't', 't2', 'Київська')"));
    Exec(q, QStringLiteral("INSERT INTO райони_обл (code, title) VALUES ('123', 'Назва')"));

    module_->FillReferenceCache();
    const TReferenceCache& cache = module_->ReferenceCache;
    EXPECT_EQ(cache.Find(QStringLiteral("-old")), nullptr);
    EXPECT_EQ(cache.Find(QStringLiteral("nocode")), nullptr);
    EXPECT_EQ(cache.Find(QStringLiteral("кодифікатор")), nullptr);
    EXPECT_EQ(cache.Find(QStringLiteral("умолчания")), nullptr);

    const TReferenceEntry* gaps = cache.Find(QStringLiteral("GAPS"));
    ASSERT_NE(gaps, nullptr);
    EXPECT_EQ(gaps->Codes, (QStringList{QStringLiteral("b"), QStringLiteral("a")})); // id order
    EXPECT_EQ(gaps->ExtraTitleColumns, QStringList{QStringLiteral("title2")});
    EXPECT_EQ(gaps->ExtraTitles.value(0), (QStringList{QStringLiteral("B2"), QStringLiteral("A2")}));
    EXPECT_TRUE(gaps->HasTitles);
    EXPECT_EQ(gaps->Count, 2);

    QStringList codes, titles, kept{QStringLiteral("keep")};
    cache.ReferenceList(QStringLiteral("gaps"), codes);
    cache.ReferenceList(QStringLiteral("*gaps"), titles);
    cache.ReferenceList(QStringLiteral("gaps"), kept);
    EXPECT_EQ(codes, (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
    EXPECT_EQ(titles, (QStringList{QStringLiteral("B"), QStringLiteral("a")}));
    EXPECT_EQ(kept, QStringList{QStringLiteral("keep")});

    struct EntryCase {
        const char* table;
        int index; // -1: the last row of the table
        bool codeOnly;
        const char* text;
    };
    const EntryCase entries[] = {
        {"gaps", 0, false, "b - B"},
        {"gaps", 1, false, "a"},
        {"gaps", 0, true, "b"},
        {"gaps", 2, false, ""},
        {"missing", 0, false, ""},
        {"райони_обл", -1, false, "123"},
        {"ради", -1, false, "123 (Київська)"},
    };
    for (const EntryCase& c : entries) {
        const TReferenceEntry* e = cache.Find(U(c.table));
        const int index = c.index < 0 && e ? e->Count - 1 : c.index;
        EXPECT_EQ(cache.ReferenceEntryText(U(c.table), index, c.codeOnly), U(c.text)) << c.table;
    }

    EXPECT_EQ(
        cache.ReferenceTitleOf(QStringLiteral("категорія_земель"), QStringLiteral(" 100 "), true, false),
        QStringLiteral("Землі сільськогосподарського призначення"));
    EXPECT_EQ(cache.ReferenceTitleOf(QStringLiteral("gaps"), QStringLiteral("B"), true, false),
              QStringLiteral("B"));
    EXPECT_EQ(cache.ReferenceTitleOf(QStringLiteral("gaps"), QStringLiteral("zz"), true, false), QString());
    EXPECT_EQ(cache.ReferenceTitleOf(QStringLiteral("gaps"), QStringLiteral("zz"), false, false),
              QStringLiteral("zz"));
    EXPECT_EQ(
        cache.ReferenceTitleOf(QStringLiteral("цільове_використання"), QStringLiteral("01.0"), true, true),
        cache.ReferenceTitleOf(QStringLiteral("цільове_використання"), QStringLiteral("01.01"), true, false));
    EXPECT_EQ(cache.ReferenceTitlesOf(QStringLiteral("gaps"), QStringLiteral("a,zz,b"), QStringLiteral(",")),
              QStringLiteral("a,,B"));

    // A reload refreshes the entry instead of adding one.
    const qsizetype entries0 = cache.Entries().size();
    Exec(q, QStringLiteral("INSERT INTO gaps (code, title) VALUES ('c', 'C')"));
    module_->FillReferenceCache();
    EXPECT_EQ(cache.Entries().size(), entries0);
    EXPECT_EQ(cache.Find(QStringLiteral("gaps"))->Count, 3);
}

TEST_P(DataAccessTest, UpdateListsReplaceTheirTables) {
    BuildSmallReference();
    const QString file = File(QStringLiteral("update_техдокументація.txt"));
    QByteArray list = ToCp1251(
        QStringLiteral("01.01\r\n\r\n  02.02 \tдев'ять  \r\n0'3\tкод з апострофом\r\n\tбез коду\r\n"));
    list += QByteArray(300, 'x') + '\t' + QByteArray(300, 'y') + "\r\n";
    WriteBytes(file, list);
    QStringList log;
    EXPECT_TRUE(ApplyReferenceUpdates(module_->ADOQueryRef, db_->ProgramDir().Path(), &log));
    EXPECT_TRUE(log.isEmpty()) << log.join('\n').toStdString();
    EXPECT_FALSE(QFile::exists(file));
    TDataQuery& q = module_->ADOQueryRef;
    EXPECT_EQ(
        Column(q, QStringLiteral("SELECT code FROM техдокументація ORDER BY id"), QStringLiteral("code")),
        (QStringList{QStringLiteral("01.01"), QStringLiteral("02.02"), QStringLiteral("0'3"),
                     QString(254, 'x')}));
    EXPECT_EQ(
        Column(q, QStringLiteral("SELECT title FROM техдокументація ORDER BY id"), QStringLiteral("title")),
        (QStringList{QString(), QStringLiteral("дев'ять"), QStringLiteral("код з апострофом"),
                     QString(254, 'y')}));
}

TEST_P(DataAccessTest, AFailedUpdateListKeepsTheRowsAndTheFile) {
    BuildSmallReference();
    TDataQuery& q = module_->ADOQueryRef;
    const QStringList before = Column(q, QStringLiteral("SELECT code FROM цільове_використання ORDER BY id"),
                                      QStringLiteral("code"));
    ASSERT_EQ(before.size(), 5);
    // Codes must be unique in this copy of the table: the second "01.01" fails half-way through the list.
    Exec(q, QStringLiteral("CREATE UNIQUE INDEX tz_code ON територіальні_зони (code)"));
    const QString zones = File(QStringLiteral("update_територіальні_зони.txt"));
    WriteBytes(zones, QByteArrayLiteral("01.01\tA\r\n01.02\tB\r\n01.01\tC\r\n"));
    // A list that cannot be read (here: a folder under the list's name).
    const QString purposes = File(QStringLiteral("update_цільове_використання.txt"));
    ASSERT_TRUE(QDir().mkpath(purposes));

    QStringList log;
    EXPECT_FALSE(ApplyReferenceUpdates(q, db_->ProgramDir().Path(), &log));
    EXPECT_EQ(log.size(), 2) << log.join('\n').toStdString();
    EXPECT_TRUE(QFile::exists(zones));
    EXPECT_TRUE(QFileInfo(purposes).isDir());
    EXPECT_EQ(
        Column(q, QStringLiteral("SELECT code FROM територіальні_зони ORDER BY id"), QStringLiteral("code")),
        (QStringList{QStringLiteral("021"), QStringLiteral("022")}));
    EXPECT_EQ(Column(q, QStringLiteral("SELECT code FROM цільове_використання ORDER BY id"),
                     QStringLiteral("code")),
              before);
}

TEST_P(DataAccessTest, OpenDatabasesRunsTheStartupSteps) {
    TRecordingSink sink;
    BuildSmallReference();
    WriteBytes(File(QStringLiteral("update_документи_формування_обмінного.txt")),
               QByteArrayLiteral("777\tnew\r\n"));
    ASSERT_TRUE(module_->OpenDatabases());
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_TRUE(TableExists(module_->ADOConnectionMain, QStringLiteral("dilanky")));
    EXPECT_EQ(module_->ReferenceCache.ReferenceTitleOf(QStringLiteral("документи_формування_обмінного"),
                                                       QStringLiteral("777"), true, false),
              QStringLiteral("new"));
    EXPECT_NE(module_->ReferenceCache.Find(QStringLiteral("категорія_земель")), nullptr);
    EXPECT_EQ(DataModule(), module_.get());
}

INSTANTIATE_TEST_SUITE_P(Engines, DataAccessTest, ::testing::Values(TEngine::Sqlite, TEngine::Postgres),
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
