// testerxml <pass phrase> <file.xml>: writes <file.xml>.log (windows-1251, one finding per line) and exits
// with 0 (valid), 1 (findings) or 2 (the file could not be checked).
#include "exchange/StructureTester.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return RunStructureTester(arguments, QCoreApplication::applicationDirPath());
}
