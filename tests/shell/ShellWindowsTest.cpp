#include "common/CodePage.h"
#include "common/RecordingSink.h"
#include "shell/TFormFileEdit.h"
#include "shell/TFormLogDlg.h"
#include "shell/TFormWait.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// ---- Action log ---------------------------------------------------------------------------------------

TEST(ActionLog, CopyAndFindWorkOnTheSelectedLineOnly) {
    TFormLogDlg log;
    EXPECT_EQ(log.windowTitle(), "Лог дій:");
    EXPECT_EQ(log.size(), QSize(550, 200));
    QStringList found;
    log.SetFindingHandler([&](const QString& line, int) { found << line; });
    log.SetLines({"Знайдено помилок: 1", "Стр№ 5: Елемент 'X' ..."});
    QApplication::clipboard()->setText("раніше");
    log.CopySelectedLine();
    log.FindSelectedInEditor();
    EXPECT_EQ(QApplication::clipboard()->text(), "раніше"); // nothing selected: clipboard unchanged
    EXPECT_TRUE(found.isEmpty());

    log.SelectRow(1);
    log.findChild<QAction*>("POPUP_COPY")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), "Стр№ 5: Елемент 'X' ...");
    log.findChild<QAction*>("POPUP_FIND")->trigger();
    EXPECT_EQ(found, QStringList({"Стр№ 5: Елемент 'X' ..."}));
    EXPECT_EQ(log.findChild<QAction*>("POPUP_FIND")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(log.findChild<QAction*>("POPUP_COPY")->text(), "Копіювати текст");
    EXPECT_EQ(log.findChild<QAction*>("POPUP_FIND")->text(), "Знайти у редакторі");
}

// ---- Wait window --------------------------------------------------------------------------------------

TEST(WaitWindow, PrepareResetsAndCounterFollowsTheGauge) {
    TFormWait wait;
    EXPECT_EQ(wait.size(), QSize(388, 83));
    EXPECT_EQ(wait.findChild<QLabel*>("LabelHead")->text(), "Зачекайте будь-ласка: ");
    wait.SetProgress(10, 3);
    EXPECT_EQ(wait.CounterText(), "3 з 10");
    wait.SetProgress(10, 10);
    wait.StepProgress();
    EXPECT_EQ(wait.Position(), 0);
    EXPECT_EQ(wait.CounterText(), "0 з 10");
    wait.SetWaitStatus("крок");
    wait.EnableStop(true);
    wait.PrepareWait(false, "готово");
    EXPECT_EQ(wait.CounterText(), "0 з 100");
    EXPECT_EQ(wait.StatusText(), "");
    EXPECT_FALSE(wait.findChild<QPushButton*>("BStop")->isEnabled());
    EXPECT_FALSE(wait.StopRequested());
}

TEST(WaitWindow, JobRunsInsideTheModalLoopAndReportsAfterwards) {
    struct Case {
        const char* what;
        bool showMessages;
        TWaitJob job;
        int boxes;
        QString caption, text;
    };
    const QList<Case> cases = {
        {"error without details", true,
         [](TWaitProgress&, TMessages& m) { m.ErrorTitle = "Файл не знайдено."; }, 1, "Word",
         "Файл не знайдено.\r"},
        {"warning", true, [](TWaitProgress&, TMessages& m) { m.WarningText = "Обережно"; }, 1, "Попередження",
         "Обережно"},
        {"information", true, [](TWaitProgress&, TMessages&) {}, 1, "Інформація", "Документи створено."},
        {"exception", true, [](TWaitProgress&, TMessages&) { throw std::runtime_error("Збій шаблону"); }, 1,
         "Word", "Збій шаблону\r"},
        {"messages off", false, [](TWaitProgress&, TMessages& m) { m.ErrorTitle = "Файл не знайдено."; }, 0,
         "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TRecordingSink sink;
        TFormWait wait;
        wait.PrepareWait(c.showMessages, "Документи створено.");
        QString statusSeen;
        const int result = wait.RunJob([&](TWaitProgress& p, TMessages& m) {
            statusSeen = wait.StatusText();
            p.SetProgress(4, 1);
            p.StepProgress();
            c.job(p, m);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_FALSE(wait.isVisible());
        EXPECT_EQ(statusSeen, "Запуск Word...");
        EXPECT_EQ(wait.Position(), 2);
        ASSERT_EQ(sink.messages.size(), c.boxes);
        if (c.boxes) {
            EXPECT_EQ(sink.messages[0].caption, c.caption);
            EXPECT_EQ(sink.messages[0].text, c.text);
        }
    }
}

TEST(WaitWindow, StopSetsTheFlagTheJobPolls) {
    TRecordingSink sink;
    TFormWait wait;
    wait.PrepareWait(false, QString());
    int steps = 0;
    wait.RunJob([&](TWaitProgress& p, TMessages&) {
        p.EnableStop(true);
        auto* stop = wait.findChild<QPushButton*>("BStop");
        while (!p.StopRequested() && steps < 100) {
            if (++steps == 3) QTest::mouseClick(stop, Qt::LeftButton);
            p.SetWaitStatus(QString::number(steps));
        }
    });
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(wait.StopRequested());
}

// ---- File viewer --------------------------------------------------------------------------------------

TEST(FileViewer, TextOfXmlFilesFollowsTheirBytes) {
    const QString cyr = QStringLiteral("Київська область");
    struct Case {
        const char* what;
        QByteArray bytes;
        bool xml;
        QString shown;
    };
    const QList<Case> cases = {
        {"one-line UTF-8", QByteArray("<a>") + cyr.toUtf8() + "</a>", true, "<a>" + cyr + "</a>"},
        {"UTF-8 with BOM", QByteArray("\xEF\xBB\xBF<a>") + cyr.toUtf8() + "</a>\n<b/>", true,
         "<a>" + cyr + "</a>\n<b/>"},
        {"windows-1251 xml", QByteArray("<a>") + ToCp1251(cyr) + "</a>\n<b/>", true,
         "<a>" + cyr + "</a>\n<b/>"},
        {"text file", ToCp1251(cyr), false, cyr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ViewerTextFromBytes(c.bytes, c.xml), c.shown);
    }
}

TEST(FileViewer, ShowsTheFileReadOnlyAndRemembersWhereItWasClosed) {
    TRecordingSink sink;
    QTemporaryDir dir;
    const QString path = dir.filePath("copy.xml");
    WriteBytes(path,
               QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Назва>Ділянка</Назва>").toUtf8());
    TFormFileEdit::LastPlace() = {};

    TFormFileEdit* first = ShowFileViewer(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), "Перегляд файлу");
    EXPECT_EQ(first->size(), QSize(720, 500));
    EXPECT_TRUE(first->Editor()->toPlainText().contains("<Назва>Ділянка</Назва>"));
    EXPECT_FALSE(first->Editor()->document()->isModified());
    first->Editor()->insertPlainText("зміна");
    first->findChild<QAction*>("FileSave")->trigger();
    EXPECT_EQ(sink.LastText(), "Дія заборонена політикою прав користувача програми.");
    EXPECT_EQ(ReadBytes(path),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Назва>Ділянка</Назва>").toUtf8());

    first->setGeometry(40, 60, 500, 300);
    const QRect closedAt = first->geometry();
    first->close(); // deletes itself
    QApplication::processEvents();
    TFormFileEdit* second = ShowFileViewer(path);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->geometry(), closedAt);
    second->close();

    sink.Clear();
    EXPECT_EQ(ShowFileViewer(dir.filePath("missing.xml")), nullptr);
    EXPECT_EQ(sink.messages.size(), 1);
}

TEST(FileViewer, FindAndReplaceInTheShownText) {
    TRecordingSink sink;
    TFormFileEdit viewer;
    viewer.Editor()->setPlainText("Point\nPoint\nLine");
    EXPECT_TRUE(viewer.FindText("point", true, false));
    EXPECT_EQ(viewer.Editor()->textCursor().blockNumber(), 0);
    EXPECT_TRUE(viewer.FindText("point", false, false));
    EXPECT_EQ(viewer.Editor()->textCursor().blockNumber(), 1);
    EXPECT_FALSE(viewer.FindText("point", false, true));
    EXPECT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(viewer.ReplaceText("Point", "PL", true, true), 2);
    EXPECT_EQ(viewer.Editor()->toPlainText(), "PL\nPL\nLine");
}

} // namespace
