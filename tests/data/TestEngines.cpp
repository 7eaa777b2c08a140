#include "data/TestEngines.h"

#include "data/ConnectionString.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

const char* const kPgBin = "/usr/lib/postgresql/15/bin";

// Runs a program with its arguments (no shell), as the postgres user when this process is root; output
// goes to the log file. The exit code, or -1 when it could not start.
int RunAs(const std::vector<std::string>& args, const std::string& log) {
    std::vector<std::string> full;
    if (::geteuid() == 0) full = {"runuser", "-u", "postgres", "--"};
    full.insert(full.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : full)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        FILE* out = std::fopen(log.c_str(), "a");
        if (out) {
            ::dup2(::fileno(out), 1);
            ::dup2(::fileno(out), 2);
        }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int FreeLoopbackPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof(a);
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(s);
    return port;
}

class TPostgresServer {
public:
    static TPostgresServer& Instance() {
        if (!instance_) instance_ = new TPostgresServer(); // stopped by the environment below
        return *instance_;
    }
    // Stops the server and removes its folder when one was made.
    static void StopIfStarted() {
        if (instance_) instance_->Stop();
    }

    bool Start(QString* reason) {
        if (started_) return true;
        if (failed_) {
            *reason = reason_;
            return false;
        }
        started_ = DoStart();
        failed_ = !started_;
        if (!started_) *reason = reason_;
        return started_;
    }

    void Stop() {
        if (!started_) {
            dir_.remove();
            return;
        }
        RunAs({std::string(kPgBin) + "/pg_ctl", "-D", data_, "-m", "immediate", "-w", "stop"}, log_);
        started_ = false;
        dir_.remove();
    }

    int Port() const { return port_; }

private:
    bool DoStart() {
        if (!QFileInfo::exists(QString::fromUtf8(kPgBin) + QStringLiteral("/initdb"))) {
            reason_ = QStringLiteral("PostgreSQL 15 is not installed (scripts/setup installs it)");
            return false;
        }
        if (!dir_.isValid()) {
            reason_ = QStringLiteral("no temporary folder");
            return false;
        }
        if (::geteuid() == 0) {
            const passwd* pw = ::getpwnam("postgres");
            if (!pw || ::chown(QFile::encodeName(dir_.path()).constData(), pw->pw_uid, pw->pw_gid) != 0) {
                reason_ = QStringLiteral("cannot hand the temporary folder to the postgres user");
                return false;
            }
        }
        const std::string base = QFile::encodeName(dir_.path()).toStdString();
        data_ = base + "/data";
        log_ = base + "/server.log";
        if (RunAs({std::string(kPgBin) + "/initdb", "-D", data_, "-E", "UTF8", "--locale=C", "-U", "zemlyar",
                   "-A", "trust", "--no-sync"},
                  log_) != 0) {
            reason_ = QStringLiteral("initdb failed, see ") + QString::fromStdString(log_);
            return false;
        }
        for (int attempt = 0; attempt < 5; ++attempt) {
            port_ = FreeLoopbackPort();
            const std::string options = "-p " + std::to_string(port_) + " -k " + base +
                                        " -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off"
                                        " -c synchronous_commit=off";
            if (RunAs({std::string(kPgBin) + "/pg_ctl", "-D", data_, "-o", options, "-l",
                       base + "/postgres.log", "-w", "-t", "60", "start"},
                      log_) == 0)
                return true;
        }
        reason_ = QStringLiteral("pg_ctl start failed, see ") + QString::fromStdString(log_);
        return false;
    }

    static inline TPostgresServer* instance_ = nullptr;
    QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/zemlyar-pg-XXXXXX")};
    std::string data_;
    std::string log_;
    int port_ = 0;
    bool started_ = false;
    bool failed_ = false;
    QString reason_;
};

class TPostgresEnvironment : public ::testing::Environment {
public:
    void TearDown() override { TPostgresServer::StopIfStarted(); }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new TPostgresEnvironment);

std::atomic<int> g_databaseCounter{0};

} // namespace

QString NewPostgresDatabase(QString* reason) {
    TPostgresServer& server = TPostgresServer::Instance();
    if (!server.Start(reason)) return {};
    const QString name = QStringLiteral("t%1_%2").arg(::getpid()).arg(++g_databaseCounter);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("pg_admin"));
        admin.setHostName(QStringLiteral("127.0.0.1"));
        admin.setPort(server.Port());
        admin.setUserName(QStringLiteral("zemlyar"));
        admin.setDatabaseName(QStringLiteral("postgres"));
        bool ok = admin.open();
        if (ok) {
            QSqlQuery q(admin);
            ok = q.exec(QStringLiteral("CREATE DATABASE ") + name +
                        QStringLiteral(" ENCODING 'UTF8' TEMPLATE template0"));
            if (!ok) *reason = q.lastError().text();
        } else {
            *reason = admin.lastError().text();
        }
        admin.close();
        admin = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("pg_admin"));
        if (!ok) return {};
    }
    return QStringLiteral("Provider=QPSQL;Host=127.0.0.1;Port=%1;Database=%2;User ID=zemlyar;Password=")
        .arg(server.Port())
        .arg(name);
}

TTestDatabases::TTestDatabases(TEngine engine) : engine_(engine) {
    if (engine == TEngine::Sqlite) {
        // The reference database must exist; an empty SQLite file is an empty database.
        QFile f(programDir_.File(QStringLiteral("ref.db")));
        f.open(QIODevice::WriteOnly);
        f.close();
        main_ = kDefaultConnectionMain;
        ref_ = kDefaultConnectionRef;
        return;
    }
    main_ = NewPostgresDatabase(&reason_);
    if (!main_.isEmpty()) ref_ = NewPostgresDatabase(&reason_);
}

TTestDatabases::~TTestDatabases() = default;

bool TTestDatabases::Ready(QString* reason) const {
    if (!main_.isEmpty() && !ref_.isEmpty()) return true;
    if (reason) *reason = reason_;
    return false;
}

void TTestDatabases::WriteConnectionFiles() const {
    WriteConnectionFile(programDir_.File(kConnectionFileMain), main_);
    WriteConnectionFile(programDir_.File(kConnectionFileRef), ref_);
}
