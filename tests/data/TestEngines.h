#pragma once
// The two engines the data-access tests run on: SQLite files in a temporary program folder, and a real
// PostgreSQL server that this test process starts on a loopback port in a temporary folder (initdb, pg_ctl)
// and stops when the tests end.
#include "support/TestSupport.h"

#include <QString>

#include <memory>
#include <ostream>

enum class TEngine { Sqlite, Postgres };

inline std::ostream& operator<<(std::ostream& os, TEngine e) {
    return os << (e == TEngine::Sqlite ? "Sqlite" : "Postgres");
}
inline std::string EngineName(TEngine e) {
    return e == TEngine::Sqlite ? "Sqlite" : "Postgres";
}

// A fresh pair of empty databases for one test, in a fresh program folder (GlobalVar points into it).
// For SQLite: files data.db and ref.db in the program folder (ref.db created empty here). For PostgreSQL:
// two new databases on the shared server.
class TTestDatabases {
public:
    explicit TTestDatabases(TEngine engine);
    ~TTestDatabases();
    // False (with the reason) when the engine is not available here; the test then skips.
    bool Ready(QString* reason) const;

    TEngine Engine() const { return engine_; }
    const TTestProgramDir& ProgramDir() const { return programDir_; }
    QString MainConnectionString() const { return main_; }
    QString RefConnectionString() const { return ref_; }
    // Writes both connection-string files into the program folder.
    void WriteConnectionFiles() const;

private:
    TEngine engine_;
    TTestProgramDir programDir_;
    QString main_;
    QString ref_;
    QString reason_;
};

// The connection string of a new empty database on the test server; "" with *reason when there is none.
QString NewPostgresDatabase(QString* reason);

// Skips the test where the engine is missing; in CI a missing engine is a failure.
#define ZEMLYAR_REQUIRE_ENGINE(databases)                                                                    \
    do {                                                                                                     \
        QString reason_;                                                                                     \
        if (!(databases).Ready(&reason_)) {                                                                  \
            if (qEnvironmentVariableIsSet("CI")) FAIL() << reason_.toStdString();                            \
            GTEST_SKIP() << reason_.toStdString();                                                           \
        }                                                                                                    \
    } while (0)

// The small reference sources of the tests (a part of the codifier and a few lists).
inline QString SmallReferenceSources() {
    return TestDataPath(QStringLiteral("refdb-small"));
}
