#include "exchange/StructureCheck.h"
#include "common/CodePage.h"
#include "common/Messages.h"
#include "common/RecordingSink.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A program folder whose tester is a small shell script.
class StructureCheckRun : public ::testing::Test {
protected:
    void SetUp() override {
        workingCopy = dir.filePath("work/ділянка.xml");
        WriteBytes(workingCopy, "<UkrainianCadastralExchangeFile/>");
    }
    void Tester(const QByteArray& script) {
        const QString path = TesterProgram(dir.path());
        WriteBytes(path, "#!/bin/sh\n" + script);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    TStructureCheck Run(int timeoutMs = 20000) {
        TStructureCheckRequest request;
        request.WorkingCopy = workingCopy;
        request.ProgramDir = dir.path();
        request.TimeoutMs = timeoutMs;
        request.SaveEditorCopy = saveEditorCopy;
        return RunStructureCheck(request);
    }
    QTemporaryDir dir;
    QString workingCopy;
    std::function<bool(const QString&)> saveEditorCopy;
};

TEST_F(StructureCheckRun, LogLinesBecomeTheActionLog) {
    const QByteArray lines = ToCp1251("Стр№ 12: Елемент 'A' не очікується в цьому місці.\r\n"
                                      "Стр№ 120: Елемент 'AgroGroup' має неповне утримання. Перелік можливих "
                                      "елементів: Bagr.\r\n"
                                      "InfoPart\\MetricInfo\\PointInfo: щось не так\r\n");
    WriteBytes(dir.filePath("log.txt"), lines);
    // The tester gets the pass phrase and the file, and an old log is gone before it starts.
    WriteBytes(workingCopy + ".log", "old\n");
    Tester("[ \"$1\" = tovm5276 ] || exit 3\n[ -e \"$2.log\" ] && exit 4\ncp '" +
           dir.filePath("log.txt").toUtf8() + "' \"$2.log\"\nexit 1\n");
    const TStructureCheck r = Run();
    ASSERT_EQ(r.Outcome, TCheckOutcome::Checked) << r.Message.toStdString();
    ASSERT_EQ(r.ActionLog.size(), 4);
    EXPECT_EQ(r.ActionLog.at(0), "Знайдено помилок: 3");
    EXPECT_EQ(r.ActionLog.at(1), "Стр№ 12: Елемент 'A' не очікується в цьому місці.");
    EXPECT_EQ(r.ActionLog.mid(1), r.Findings);
}

TEST_F(StructureCheckRun, EmptyLogIsNoFindings) {
    Tester(": > \"$2.log\"\nexit 0\n");
    const TStructureCheck r = Run();
    ASSERT_EQ(r.Outcome, TCheckOutcome::Checked);
    EXPECT_EQ(r.ActionLog, QStringList({"Знайдено помилок: 0"}));
}

TEST_F(StructureCheckRun, ACheckThatDidNotRunIsNotReportedAsValid) {
    struct Case {
        const char* name;
        QByteArray script; // empty: no tester at all
        QString expected;  // start of the message
        int timeoutMs = 20000;
    };
    const Case cases[] = {
        {"no log", "exit 0\n",
         "Перевірку на структуру не виконано: програма тестування xml не створила звіт"},
        {"crash", "kill -SEGV $$\n",
         "Перевірку на структуру не виконано: програма тестування xml завершилась аварійно."},
        {"hang", "exec sleep 30\n",
         "Перевірку на структуру не виконано: програма тестування xml не завершила роботу за 0.3 с", 300},
        {"could not check", "echo '0: xx' > \"$2.log\"\nexit 2\n",
         "Перевірку на структуру не виконано: 0: xx"},
        {"odd exit code", ": > \"$2.log\"\nexit 7\n",
         "Перевірку на структуру не виконано: програма тестування xml завершилась з кодом 7."},
        {"cannot start", "",
         "Перевірку на структуру не виконано: не вдалося запустити програму тестування xml"},
    };
    for (const Case& c : cases) {
        if (c.script.isEmpty()) {
            // Present but not executable.
            WriteBytes(TesterProgram(dir.path()), "not a program");
            QFile::setPermissions(TesterProgram(dir.path()), QFile::ReadOwner | QFile::WriteOwner);
        } else {
            Tester(c.script);
        }
        const TStructureCheck r = Run(c.timeoutMs);
        EXPECT_EQ(r.Outcome, TCheckOutcome::NotRun) << c.name;
        EXPECT_TRUE(r.Message.startsWith(c.expected)) << c.name << ": " << r.Message.toStdString();
        EXPECT_EQ(r.ActionLog, QStringList({r.Message})) << c.name;
        EXPECT_FALSE(r.ActionLog.join('\n').contains("Знайдено помилок")) << c.name;
    }
}

TEST_F(StructureCheckRun, NothingOpenOrNoTester) {
    TStructureCheck r = Run();
    EXPECT_EQ(r.Outcome, TCheckOutcome::NoTester);
    EXPECT_EQ(r.Message, "Не знайдена програма тестування xml \"testerxml.exe\"");
    Tester("exit 0\n");
    QFile::remove(workingCopy);
    r = Run();
    EXPECT_EQ(r.Outcome, TCheckOutcome::NoFile);
    EXPECT_EQ(r.Message, "Файл ще не завантажений.");
}

TEST_F(StructureCheckRun, UnsavedEditorChangesAreCheckedAsACopy) {
    QString savedTo;
    saveEditorCopy = [&](const QString& path) {
        savedTo = path;
        WriteBytes(path, "<edited/>");
        return true;
    };
    // The tester reports the checked file's content.
    Tester("printf 'Стр№ 1: %s\\r\\n' \"$(cat \"$2\")\" > \"$2.log\"\nexit 1\n");
    const TStructureCheck r = Run();
    ASSERT_EQ(r.Outcome, TCheckOutcome::Checked) << r.Message.toStdString();
    EXPECT_EQ(QFileInfo(savedTo).absolutePath(), QFileInfo(workingCopy).absolutePath());
    EXPECT_NE(savedTo, workingCopy);
    EXPECT_EQ(r.Findings.size(), 1);
    EXPECT_TRUE(r.Findings.at(0).endsWith("<edited/>")) << r.Findings.join('|').toStdString();
    EXPECT_EQ(ReadBytes(workingCopy), "<UkrainianCadastralExchangeFile/>");
}

TEST(StructureCheckFindings, ParseAndJump) {
    struct Case {
        QString line;
        QString location;
        QString element;
    };
    const Case cases[] = {
        {"Стр№ 120: Елемент 'AgroGroup' має неповне утримання. Перелік можливих елементів: Bagr.", "119",
         "AgroGroup"},
        {"Стр№ 7: Елемент 'X': значення 'a' не відповідає типу 'xs:double'.", "7", "X"},
        {"Стр№ 8: Элемент 'Y' не очікується.", "8", "Y"},
        {"Стр№ x: Елемент 'Z' має неповне утримання. Перелік можливих елементів: Q.", "x", "Z"},
        {"Стр№ 3: Помилка розбору XML: без лапок", "3", ""},
        {"InfoPart\\MetricInfo\\PointInfo: Елемент 'PointInfo' щось", "InfoPart\\MetricInfo\\PointInfo", ""},
        {"42: щось", "42", ""},
    };
    for (const Case& c : cases) {
        const TFindingTarget t = ParseFinding(c.line);
        EXPECT_EQ(t.Location, c.location) << c.line.toStdString();
        EXPECT_EQ(t.ElementName, c.element) << c.line.toStdString();
    }

    TRecordingSink sink;
    QStringList shown;
    auto show = [&](const QString& location, const QString& element) { shown << location + "|" + element; };
    EXPECT_FALSE(GotoFinding(0, "Знайдено помилок: 1", false, show));
    EXPECT_FALSE(GotoFinding(-1, "", false, show));
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(GotoFinding(1, cases[0].line, false, show));
    EXPECT_TRUE(sink.messages.isEmpty());
    EXPECT_TRUE(GotoFinding(2, cases[5].line, true, show));
    EXPECT_EQ(shown, QStringList({"119|AgroGroup", "InfoPart\\MetricInfo\\PointInfo|"}));
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages.at(0).kind, TMsgKind::Warning);
    EXPECT_EQ(sink.messages.at(0).text,
              "Була змінена структура файлу. Можливий перехід на неправильний рядок.\r"
              "Натисніть \"Перевірка\" ще раз і повторіть перехід.");
}

} // namespace
