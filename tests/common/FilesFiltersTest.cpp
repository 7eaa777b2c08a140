#include "common/Files.h"
#include "common/InputFilters.h"
#include "common/Messages.h"
#include "common/RecordingSink.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(FileNames, Parts) {
    EXPECT_EQ(StripTrailingBackslashes("/opt/zemlyar///"), "/opt/zemlyar");
    EXPECT_EQ(StripTrailingBackslashes("C:\\Prog\\\\"), "C:\\Prog");
    EXPECT_EQ(FileNameOnly("/a/b/Ділянка.XML"), "ділянка");
    EXPECT_EQ(FileNameOnly("/a/b/Ділянка.XML", true), "Ділянка");
    EXPECT_EQ(FileExtLower("/a/b.c/file.TaR.GZ"), ".gz");
    EXPECT_EQ(FileExtLower("/a/b/file"), "");
    EXPECT_EQ(WithoutExtension("/a/b/file.xml"), "/a/b/file");
}

TEST(Files, ListDeleteAtomicWrite) {
    QTemporaryDir tmp;
    const QString d = tmp.path();
    WriteBytes(d + "/b.xml", "1");
    WriteBytes(d + "/a.XML", "1");
    WriteBytes(d + "/c.txt", "1");
    QDir().mkpath(d + "/sub.xml");
    EXPECT_EQ(ListFiles(d, "*.xml;*.XML", false), QStringList({"a.XML", "b.xml"}));
    EXPECT_TRUE(ListFiles(d + "/missing", "*", false).isEmpty());

    ASSERT_TRUE(WriteFileAtomic(d + "/out.txt", "new"));
    EXPECT_EQ(ReadBytes(d + "/out.txt"), "new");
    QString err;
    EXPECT_FALSE(WriteFileAtomic(d + "/no/such/folder/out.txt", "x", &err));
    EXPECT_FALSE(err.isEmpty());

    WriteBytes(d + "/tree/x/y/z.txt", "1");
    QFile::setPermissions(d + "/tree/x/y/z.txt", QFileDevice::ReadOwner);
    EXPECT_TRUE(DeleteFolderTree(d + "/tree"));
    EXPECT_FALSE(QFileInfo::exists(d + "/tree"));
    EXPECT_TRUE(DeleteFolderTree(d + "/missing"));
    EXPECT_TRUE(DeleteFolderTree(""));
}

TEST(Files, ReadTextFileUtf8AndCp1251) {
    QTemporaryDir tmp;
    WriteBytes(tmp.path() + "/u.txt", QString::fromUtf8("Ділянка").toUtf8());
    WriteBytes(tmp.path() + "/w.txt", "\xC4\xB3\xEB\xFF\xED\xEA\xE0");
    EXPECT_EQ(ReadTextFile(tmp.path() + "/u.txt"), QString::fromUtf8("Ділянка"));
    EXPECT_EQ(ReadTextFile(tmp.path() + "/w.txt"), QString::fromUtf8("Ділянка"));
    EXPECT_EQ(ReadTextFile(tmp.path() + "/none.txt"), "");
}

TEST(RunProgram, ArgumentListNeverThroughAShell) {
    QTemporaryDir tmp;
    const QString marker = tmp.path() + "/x; touch injected";
    int code = -1;
    ASSERT_TRUE(RunProgram("/usr/bin/touch", {marker}, false, true, &code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(QFileInfo::exists(marker));
    EXPECT_FALSE(QFileInfo::exists(tmp.path() + "/injected"));
    EXPECT_FALSE(QFileInfo::exists("injected"));
    EXPECT_FALSE(RunProgram("", {}, false, true));
    EXPECT_FALSE(RunProgram(tmp.path() + "/no-such-program", {}, false, true));
}

TEST(OpenWithShell, MissingFileShowsTheReason) {
    TRecordingSink sink;
    EXPECT_EQ(OpenWithShell("/no/such/folder/file.pdf"), 3);
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].caption, "Запуск");
    EXPECT_EQ(sink.messages[0].text, "/no/such/folder/file.pdf\rThe specified path was not found.");
}

TEST(Messages, SilentModeStoresTheTextAndEmptyErrorsShowNothing) {
    TRecordingSink sink;
    ShowError("", "");
    EXPECT_TRUE(sink.messages.isEmpty());
    ShowError("", "збій");
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].caption, "Помилка");
    {
        TSilentMessagesScope silent;
        ShowWarning("перше");
        ShowInfo("друге");
    }
    EXPECT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(LastErrorText, "друге");
    EXPECT_FALSE(SilentMessages);
    sink.answers = {TMsgButton::No};
    EXPECT_EQ(AskConfirm("?", {TMsgButton::Yes, TMsgButton::No}), TMsgButton::No);
    EXPECT_EQ(CommandFailureText("Відкриття файлу", "немає доступу"),
              "Відкриття файлу\rПомилка: немає доступу");
}

TEST(InputFilters, NumberEdit) {
    const struct {
        const char* text;
        int caret, maxInt, maxFrac;
        const char* expected;
        int caretAfter;
        bool rejected;
    } cases[] = {
        {"12,5", 4, 5, 2, "12.5", 4, false}, {"1a2", 3, 5, 2, "12", 2, true},
        {"1-2", 3, 5, 2, "12", 2, true},     {"-1.2.3", 6, 5, 2, "-1.23", 5, true},
        {"12345", 5, 3, 2, "123", 3, true},  {"1.2345", 6, 3, 2, "1.23", 4, true},
        {"x12", 1, 5, 2, "12", 0, true},
    };
    for (const auto& c : cases) {
        const TFilterResult r = FilterNumberText(c.text, c.caret, c.maxInt, c.maxFrac);
        EXPECT_EQ(r.text, QString(c.expected)) << c.text;
        EXPECT_EQ(r.caret, c.caretAfter) << c.text;
        EXPECT_EQ(r.rejected, c.rejected) << c.text;
    }
    const TFilterResult r = FilterChars("a1b2", 4, "0123456789");
    EXPECT_EQ(r.text, "12");
    EXPECT_EQ(r.caret, 2);
}

} // namespace
