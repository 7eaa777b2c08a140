// Connection strings, their files, the dialects' column clauses and the fatal start-up failures.
#include "common/RecordingSink.h"
#include "data/ConnectionString.h"
#include "data/SqlDialect.h"
#include "data/SqlHelpers.h"
#include "data/TFormMain.h"
#include "data/TestEngines.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

TEST(ConnectionString, FilesAreScrambledAndReadBack) {
    TTestProgramDir dir;
    // Longer than the key, so that the key wraps; Cyrillic goes through the single-byte code page.
    const QString text =
        QStringLiteral("Provider=QPSQL;Host=db.local;Port=5432;Database=ділянки;User ID=інженер;"
                       "Password=p;") +
        QString(200, 'x');
    ASSERT_TRUE(WriteConnectionFile(kConnectionFileMain, text));
    const QByteArray bytes = ReadBytes(dir.File(kConnectionFileMain));
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_FALSE(bytes.contains("Provider"));
    EXPECT_EQ(ReadConnectionFile(kConnectionFileMain), text);
    EXPECT_EQ(UnscrambleConnectionString(ScrambleConnectionString(text)), text);
    EXPECT_EQ(ReadConnectionFile(QStringLiteral("missing.string")), QString());
}

TEST(ConnectionString, ParsesKeysAndQuotedValues) {
    const TConnectionParams p(
        QStringLiteral(" provider = QPSQL ; Host=h;Port=5433;Database=\"a;b\";user id=u;"
                       "Password='p w';Persist Security Info=False"));
    EXPECT_EQ(p.Provider(), QStringLiteral("QPSQL"));
    EXPECT_EQ(p.Value({"Host"}), QStringLiteral("h"));
    EXPECT_EQ(p.Value({"Port"}), QStringLiteral("5433"));
    EXPECT_EQ(p.Value({"Database"}), QStringLiteral("a;b"));
    EXPECT_EQ(p.Value({"UID", "User ID"}), QStringLiteral("u"));
    EXPECT_EQ(p.Value({"Password"}), QStringLiteral("p w"));
    EXPECT_EQ(p.Value({"Missing"}), QString());
}

TEST(SqlDialect, ProvidersAndColumnClauses) {
    EXPECT_EQ(DialectOfProvider(QStringLiteral("SQLOLEDB.1")), TSqlDialect::Server);
    EXPECT_EQ(DialectOfProvider(QStringLiteral("Microsoft.Jet.OLEDB.4.0")), TSqlDialect::Embedded);
    EXPECT_EQ(DialectOfProvider(QStringLiteral("QSQLITE")), TSqlDialect::Sqlite);
    EXPECT_EQ(DialectOfProvider(QStringLiteral("QPSQL")), TSqlDialect::OpenServer);

    struct Case {
        TSqlDialect dialect;
        TFieldKind kind;
        bool noDefault;
        const char* clause;
    };
    const Case cases[] = {
        {TSqlDialect::Server, TFieldKind::Text, false, "n [nvarchar] (50) DEFAULT (N'')"},
        {TSqlDialect::Server, TFieldKind::Memo, false, "n [ntext] DEFAULT (N'')"},
        {TSqlDialect::Server, TFieldKind::AutoIncrement, false, "n [AUTOINCREMENT]"},
        {TSqlDialect::Server, TFieldKind::Integer, false, "n [int] "},
        {TSqlDialect::Embedded, TFieldKind::WideText, false, "n nvarchar (50) DEFAULT \"\""},
        {TSqlDialect::Embedded, TFieldKind::Memo, true, "n ntext "},
        {TSqlDialect::Embedded, TFieldKind::AutoIncrement, false, "n AUTOINCREMENT"},
        {TSqlDialect::Embedded, TFieldKind::DateTime, false, "n date "},
        {TSqlDialect::OpenServer, TFieldKind::Text, false, "\"n\" character varying (50) DEFAULT ''"},
        {TSqlDialect::OpenServer, TFieldKind::Memo, false, "\"n\" text DEFAULT ''"},
        {TSqlDialect::OpenServer, TFieldKind::AutoIncrement, false, "\"n\" serial"},
        {TSqlDialect::OpenServer, TFieldKind::Float, false, "\"n\" float "},
        {TSqlDialect::Sqlite, TFieldKind::Text, true, "\"n\" character varying (50) "},
        {TSqlDialect::Sqlite, TFieldKind::AutoIncrement, false, "\"n\" INTEGER PRIMARY KEY AUTOINCREMENT"},
        {TSqlDialect::Sqlite, TFieldKind::Memo, false, "\"n\" text DEFAULT ''"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ColumnDef(c.dialect, QStringLiteral("n"), c.kind, 50, c.noDefault), U(c.clause))
            << c.clause;
}

TEST(SqlDialect, StatementSubstitutions) {
    const QString s = QStringLiteral("SELECT %JET_LIMIT% Mid$(a,1,2) FROM t %PG_LIMIT%");
    EXPECT_EQ(AdaptStatement(TSqlDialect::Server, s),
              QStringLiteral("SELECT TOP 1 SUBSTRING(a,1,2) FROM t "));
    EXPECT_EQ(AdaptStatement(TSqlDialect::Embedded, s), QStringLiteral("SELECT TOP 1 Mid$(a,1,2) FROM t "));
    EXPECT_EQ(AdaptStatement(TSqlDialect::Sqlite, s), QStringLiteral("SELECT  substr(a,1,2) FROM t LIMIT 1"));
    EXPECT_EQ(AdaptStatement(TSqlDialect::OpenServer, s),
              QStringLiteral("SELECT  substr(a,1,2) FROM t LIMIT 1"));
}

TEST(SqlQuote, DoublesApostrophesAndTurnsAFinalBackslash) {
    EXPECT_EQ(SqlQuote(QStringLiteral("дев'ять")), QStringLiteral("дев''ять"));
    EXPECT_EQ(SqlQuote(QStringLiteral("C:\\a\\")), QStringLiteral("C:\\a/"));
    EXPECT_EQ(SqlQuote(QStringLiteral("''")), QStringLiteral("''''"));
    EXPECT_EQ(SqlQuote(QString()), QString());
}

TEST(OpenDatabases, AMissingReferenceDatabaseEndsTheStartWithoutCreatingOne) {
    TTestProgramDir dir;
    TRecordingSink sink;
    TFormMain module;
    EXPECT_FALSE(module.OpenDatabases());
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].kind, TMsgKind::Error);
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("Підключення до бази довідників"));
    EXPECT_TRUE(sink.messages[0].text.contains(QStringLiteral("ref.db")))
        << sink.messages[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("ref.db"))));
    EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("data.db"))));
}

TEST(OpenDatabases, ConnectionFailuresNameTheirDatabase) {
    struct Case {
        const char* ref;  // connection string of the reference database ("" = the default ref.db)
        const char* main; // of the plot database
        const char* caption;
    };
    const Case cases[] = {
        {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=ref.mdb", "", "Підключення до бази довідників"},
        {"Provider=QSQLITE;Data Source=not-a-db.db", "", "Підключення до бази довідників"},
        {"", "Provider=QPSQL;Host=127.0.0.1;Port=1;Database=x;User ID=u;Password=p",
         "Підключення до бази ділянок"},
        {"", "Provider=QSQLITE;Data Source=no/such/folder/data.db", "Підключення до бази ділянок"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ref + std::string(" | ") + c.main);
        TTestProgramDir dir;
        WriteBytes(dir.File(QStringLiteral("ref.db")), QByteArray());
        WriteBytes(dir.File(QStringLiteral("not-a-db.db")), QByteArray(4096, 'z'));
        if (*c.ref) WriteConnectionFile(kConnectionFileRef, U(c.ref));
        if (*c.main) WriteConnectionFile(kConnectionFileMain, U(c.main));
        TRecordingSink sink;
        TFormMain module;
        EXPECT_FALSE(module.OpenDatabases());
        ASSERT_EQ(sink.messages.size(), 1);
        EXPECT_EQ(sink.messages[0].caption, U(c.caption));
        EXPECT_FALSE(sink.messages[0].text.isEmpty());
    }
}

TEST(OpenDatabases, TheDefaultsAreTheFilesBesideTheProgram) {
    TTestProgramDir dir;
    WriteBytes(dir.File(QStringLiteral("ref.db")), QByteArray());
    TRecordingSink sink;
    {
        TFormMain module;
        ASSERT_TRUE(module.OpenDatabases()) << sink.LastText().toStdString();
        EXPECT_EQ(module.ADOConnectionMain.FilePath(),
                  QFileInfo(dir.File(QStringLiteral("data.db"))).absoluteFilePath());
        EXPECT_TRUE(TableExists(module.ADOConnectionMain, QStringLiteral("dilanky")));
    }
    EXPECT_TRUE(QFile::exists(dir.File(QStringLiteral("data.db"))));
}

} // namespace
