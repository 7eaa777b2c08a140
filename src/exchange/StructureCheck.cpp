#include "exchange/StructureCheck.h"

#include "app/GlobalVar.h"
#include "common/CodePage.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "exchange/StructureTester.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

const QString kNotLoaded = QStringLiteral("Файл ще не завантажений.");
const QString kNoTester = QStringLiteral("Не знайдена програма тестування xml \"testerxml.exe\"");
const QString kFound = QStringLiteral("Знайдено помилок: ");
const QString kNotRun = QStringLiteral("Перевірку на структуру не виконано: ");
const QString kIncomplete = QStringLiteral("має неповне утримання. Перелік можливих елементів");
const QString kStructureChanged =
    QStringLiteral("Була змінена структура файлу. Можливий перехід на неправильний "
                   "рядок.\rНатисніть \"Перевірка\" ще раз і повторіть перехід.");
const QString kTesterNotChecked = QStringLiteral("Перевірку не виконано: ");

TStructureCheck NotRun(const QString& reason) {
    TStructureCheck r;
    r.Outcome = TCheckOutcome::NotRun;
    r.Message = kNotRun + reason;
    r.ActionLog << r.Message;
    return r;
}

} // namespace

QString TesterProgram(const QString& programDir) {
    return programDir + QStringLiteral("/testerxml");
}

QStringList TesterArguments(const QString& checkedFile) {
    return {kTesterPassPhrase, checkedFile};
}

TStructureCheck RunStructureCheck(const TStructureCheckRequest& request) {
    TStructureCheck result;
    if (request.WorkingCopy.isEmpty() || !QFileInfo(request.WorkingCopy).isFile()) {
        result.Outcome = TCheckOutcome::NoFile;
        result.Message = kNotLoaded;
        return result;
    }
    const QString programDir =
        request.ProgramDir.isEmpty() ? GlobalVar().Settings.ProgramDir : request.ProgramDir;
    const QString tester = TesterProgram(programDir);
    if (!QFileInfo(tester).isFile()) {
        result.Outcome = TCheckOutcome::NoTester;
        result.Message = kNoTester;
        return result;
    }

    // The editor's unsaved document is checked as a copy beside the working copy, which stays untouched.
    QString checked = request.WorkingCopy;
    if (request.SaveEditorCopy) {
        checked =
            QFileInfo(request.WorkingCopy).absolutePath() + '/' + RandomDigits(10) + QStringLiteral(".xml");
        request.SaveEditorCopy(checked);
    }
    const QString logPath = checked + QStringLiteral(".log");
    QFile::remove(logPath);

    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tester, TesterArguments(checked));
    if (!process.waitForStarted(30000)) {
        return NotRun(QStringLiteral("не вдалося запустити програму тестування xml \"%1\" (%2).")
                          .arg(tester, process.errorString()));
    }
    if (!process.waitForFinished(request.TimeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return NotRun(QStringLiteral("програма тестування xml не завершила роботу за %1 с і була зупинена.")
                          .arg(request.TimeoutMs / 1000.0, 0, 'g', 6));
    }
    if (process.exitStatus() == QProcess::CrashExit)
        return NotRun(QStringLiteral("програма тестування xml завершилась аварійно."));
    const int exitCode = process.exitCode();

    if (!QFileInfo(logPath).isFile())
        return NotRun(QStringLiteral("програма тестування xml не створила звіт \"%1\".").arg(logPath));
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return NotRun(QStringLiteral("не вдалося прочитати звіт \"%1\": %2").arg(logPath, log.errorString()));
    QStringList lines;
    for (const QString& raw : FromCp1251(log.readAll()).split('\n')) {
        QString line = raw;
        if (line.endsWith('\r')) line.chop(1);
        if (!line.trimmed().isEmpty()) lines << line;
    }

    if (exitCode == TesterNotChecked) {
        QStringList reasons;
        for (const QString& line : lines) {
            const qsizetype at = line.indexOf(kTesterNotChecked);
            reasons << (at >= 0 ? line.mid(at + kTesterNotChecked.size()) : line);
        }
        return NotRun(reasons.isEmpty() ? QStringLiteral("програма тестування xml не змогла перевірити файл.")
                                        : reasons.join(' '));
    }
    if (exitCode != TesterValid && exitCode != TesterFindings)
        return NotRun(QStringLiteral("програма тестування xml завершилась з кодом %1.").arg(exitCode));

    result.Outcome = TCheckOutcome::Checked;
    result.Findings = lines;
    result.ActionLog << kFound + QString::number(lines.size());
    result.ActionLog << lines;
    return result;
}

TFindingTarget ParseFinding(const QString& line) {
    TFindingTarget target;
    QString head, rest;
    SplitOnce(line, QStringLiteral(": "), &head, &rest);
    if (!line.startsWith(QStringLiteral("Стр№"))) {
        target.Location = head;
        return target;
    }
    QString number = head;
    number.replace(QStringLiteral("Стр№ "), QString());
    number = number.trimmed();
    // The element is named between the first and the second quote.
    const qsizetype first = rest.indexOf('\'');
    const qsizetype second = first < 0 ? -1 : rest.indexOf('\'', first + 1);
    QString element = first < 0 ? QString() : rest.mid(first + 1, second < 0 ? -1 : second - first - 1);
    element.remove(QStringLiteral("Елемент"));
    element.remove(QStringLiteral("Элемент"));
    element.remove('\'');
    target.ElementName = element.trimmed();
    if (line.contains(kIncomplete) && IsIntegerText(number))
        number = QString::number(number.toLongLong() - 1);
    target.Location = number;
    return target;
}

bool GotoFinding(int row, const QString& line, bool structureChanged,
                 const std::function<void(const QString&, const QString&)>& showInEditor) {
    if (row <= 0) return false;
    if (structureChanged) ShowWarning(kStructureChanged);
    const TFindingTarget target = ParseFinding(line);
    if (showInEditor) showInEditor(target.Location, target.ElementName);
    return true;
}
