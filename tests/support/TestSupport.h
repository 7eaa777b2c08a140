#pragma once
// Shared test helpers.
#include <QString>
#include <QTemporaryDir>

#include <memory>

QString TestDataPath(const QString& relative); // ZEMLYAR_TEST_DATA + "/" + relative
QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);

// A fresh program folder in a temporary directory: GlobalVar() points into it for the lifetime of the object
// (ProgramDir, TempDir, IniFile "zemlyar.ini", ...), and is restored afterwards.
class TTestProgramDir {
public:
    TTestProgramDir();
    ~TTestProgramDir();
    QString Path() const { return dir_.path(); }
    QString File(const QString& name) const { return dir_.path() + '/' + name; }
    // Copies a file of the built program folder (ZEMLYAR_PROGRAM_DIR) into this one.
    bool CopyFromProgram(const QString& name) const;

private:
    QTemporaryDir dir_;
    struct Saved;
    std::unique_ptr<Saved> saved_;
};
