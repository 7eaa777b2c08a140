#include "data/DataConnection.h"

#include "app/GlobalVar.h"
#include "common/Messages.h"
#include "data/ConnectionString.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

std::atomic<int> g_connectionCounter{0};

QString EngineText(const QSqlError& e) {
    const QString db = e.databaseText().trimmed();
    return db.isEmpty() ? e.text().trimmed() : db;
}

// The Qt driver for a provider name; "" for providers this build cannot open.
QString DriverOf(const QString& provider) {
    if (provider.contains(QStringLiteral("SQLITE"), Qt::CaseInsensitive)) return QStringLiteral("QSQLITE");
    if (provider.contains(QStringLiteral("PSQL"), Qt::CaseInsensitive) ||
        provider.contains(QStringLiteral("Postgre"), Qt::CaseInsensitive))
        return QStringLiteral("QPSQL");
    return {};
}

} // namespace

TDataConnection::TDataConnection(const QString& stem)
    : name_(QStringLiteral("zemlyar_%1_%2").arg(stem).arg(++g_connectionCounter)) {}

TDataConnection::~TDataConnection() {
    Close();
}

QSqlDatabase TDataConnection::Database() const {
    return QSqlDatabase::database(name_, false);
}

bool TDataConnection::IsOpen() const {
    return QSqlDatabase::contains(name_) && QSqlDatabase::database(name_, false).isOpen();
}

void TDataConnection::Close() {
    if (!QSqlDatabase::contains(name_)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name_);
}

bool TDataConnection::Open(const QString& connectionString, bool mustExist) {
    Close();
    connectionString_ = connectionString;
    filePath_.clear();
    const TConnectionParams params(connectionString);
    provider_ = params.Provider();
    dialect_ = DialectOfProvider(provider_);
    if (provider_.isEmpty()) {
        LastErrorText = QStringLiteral("У рядку підключення не задано провайдера (Provider=...).");
        return false;
    }
    const QString driver = DriverOf(provider_);
    if (driver.isEmpty()) {
        LastErrorText = QStringLiteral("Провайдер бази даних не підтримується: ") + provider_;
        return false;
    }
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        LastErrorText = QStringLiteral("Драйвер бази даних недоступний: ") + driver;
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, name_);
    if (driver == QLatin1String("QSQLITE")) {
        QString file = params.Value({"Data Source", "Database", "DBQ"});
        if (file.isEmpty()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            LastErrorText =
                QStringLiteral("У рядку підключення не задано файл бази даних (Data Source=...).");
            return false;
        }
        file = QDir::fromNativeSeparators(file);
        if (QFileInfo(file).isRelative()) file = GlobalVar().Settings.ProgramDir + '/' + file;
        filePath_ = QFileInfo(file).absoluteFilePath();
        if (mustExist && !QFileInfo(filePath_).isFile()) {
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            LastErrorText =
                QStringLiteral("Файл бази даних не знайдено: ") + QDir::toNativeSeparators(filePath_);
            return false;
        }
        db.setDatabaseName(filePath_);
        // Other programs may use the same file; wait for their locks as long as a command may take.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=300000"));
    } else {
        db.setHostName(params.Value({"Host", "Server", "Data Source"}));
        const QString port = params.Value({"Port"});
        if (!port.isEmpty()) db.setPort(port.toInt());
        db.setDatabaseName(params.Value({"Database", "Initial Catalog"}));
        db.setUserName(params.Value({"User ID", "UID", "User", "User Name"}));
        db.setPassword(params.Value({"Password", "PWD"}));
    }
    if (!db.open()) {
        LastErrorText = EngineText(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        return false;
    }
    if (driver == QLatin1String("QSQLITE")) {
        // SQLite opens any file lazily; reading its catalogue shows at once whether it is a database.
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
            LastErrorText =
                EngineText(probe.lastError()) + QStringLiteral("\r") + QDir::toNativeSeparators(filePath_);
            probe = QSqlQuery();
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name_);
            return false;
        }
    }
    return true;
}
