// zemlyar-dbtool: the reference database and the connection-string files.
//   zemlyar-dbtool build-ref SOURCES_DIR OUT_FILE    builds the SQLite reference database
//   zemlyar-dbtool write-connection FILE STRING      writes a scrambled connection-string file
//   zemlyar-dbtool read-connection FILE              prints the connection string of a file
#include "data/ConnectionString.h"
#include "data/ReferenceDatabase.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

int Usage() {
    std::fputs("usage:\n"
               "  zemlyar-dbtool build-ref SOURCES_DIR OUT_FILE\n"
               "  zemlyar-dbtool write-connection FILE CONNECTION_STRING\n"
               "  zemlyar-dbtool read-connection FILE\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) return Usage();
    const QString& command = args[0];
    if (command == QLatin1String("build-ref") && args.size() == 3) {
        QString error;
        if (!BuildReferenceDatabaseFile(args[1], args[2], &error)) {
            std::fprintf(stderr, "zemlyar-dbtool: %s\n", qUtf8Printable(QString(error).replace('\r', '\n')));
            return 1;
        }
        return 0;
    }
    if (command == QLatin1String("write-connection") && args.size() == 3) {
        QString error;
        if (!WriteConnectionFile(QFileInfo(args[1]).absoluteFilePath(), args[2], &error)) {
            std::fprintf(stderr, "zemlyar-dbtool: %s\n", qUtf8Printable(error));
            return 1;
        }
        return 0;
    }
    if (command == QLatin1String("read-connection") && args.size() == 2) {
        const QString path = QFileInfo(args[1]).absoluteFilePath();
        if (!QFileInfo::exists(path)) {
            std::fprintf(stderr, "zemlyar-dbtool: no such file: %s\n", qUtf8Printable(path));
            return 1;
        }
        std::printf("%s\n", qUtf8Printable(ReadConnectionFile(path)));
        return 0;
    }
    return Usage();
}
