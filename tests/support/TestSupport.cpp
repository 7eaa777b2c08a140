#include "support/TestSupport.h"

#include "app/GlobalVar.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

QString TestDataPath(const QString& relative) {
    return QStringLiteral(ZEMLYAR_TEST_DATA) + '/' + relative;
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

struct TTestProgramDir::Saved {
    TGlobalVar value;
};

TTestProgramDir::TTestProgramDir() : saved_(std::make_unique<Saved>()) {
    saved_->value = GlobalVar();
    InitGlobalVar(dir_.path() + QStringLiteral("/zemlyar"));
}

TTestProgramDir::~TTestProgramDir() {
    GlobalVar() = saved_->value;
}

bool TTestProgramDir::CopyFromProgram(const QString& name) const {
    const QString src = QStringLiteral(ZEMLYAR_PROGRAM_DIR) + '/' + name;
    QFile::remove(File(name));
    return QFile::copy(src, File(name));
}
