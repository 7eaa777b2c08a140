#include "common/Ini.h"
#include "common/CodePage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

TEST(Ini, MissingFileGivesDefaultsAndWritingCreatesIt) {
    TTestProgramDir dir;
    EXPECT_EQ(IniReadString("a.ini", "S", "K", "def"), "def");
    ASSERT_TRUE(IniWriteString("a.ini", "Секція", "Ключ", "значення"));
    EXPECT_EQ(ReadBytes(dir.File("a.ini")), ToCp1251("[Секція]\r\nКлюч=значення\r\n"));
    EXPECT_EQ(IniReadString("a.ini", "Секція", "Ключ", ""), "значення");
    EXPECT_EQ(IniReadString("a.ini", "секція", "ключ", ""), "значення") << "names compare without case";
}

TEST(Ini, WritingKeepsEveryOtherLineByteForByte) {
    TTestProgramDir dir;
    const QByteArray original = ToCp1251("; коментар\n[A]\r\nx = 1 \r\n\r\n[B]\ny=2\nz=3");
    WriteBytes(dir.File("k.ini"), original);
    ASSERT_TRUE(IniWriteString("k.ini", "A", "x", "10"));
    ASSERT_TRUE(IniWriteString("k.ini", "A", "new", "н"));
    ASSERT_TRUE(IniWriteString("k.ini", "B", "y", "20"));
    ASSERT_TRUE(IniWriteString("k.ini", "C", "w", "4"));
    EXPECT_EQ(ReadBytes(dir.File("k.ini")),
              ToCp1251("; коментар\n[A]\r\nx=10\r\nnew=н\r\n\r\n[B]\ny=20\nz=3\r\n[C]\r\nw=4\r\n"));
    EXPECT_EQ(IniReadString("k.ini", "A", "x", ""), "10");
    EXPECT_EQ(IniReadString("k.ini", "B", "z", ""), "3");
}

TEST(Ini, EraseSectionAndReadSection) {
    TTestProgramDir dir;
    WriteBytes(dir.File("r.ini"), "[RecentFiles]\r\nFile0=a\r\nFile1=b\r\n[Other]\r\nk=v\r\n");
    const auto items = IniReadSection("r.ini", "RecentFiles");
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1].second, "b");
    ASSERT_TRUE(IniEraseSection("r.ini", "RecentFiles"));
    EXPECT_EQ(ReadBytes(dir.File("r.ini")), "[Other]\r\nk=v\r\n");
    EXPECT_EQ(IniReadSections("r.ini"), QStringList({"Other"}));
}

TEST(Ini, UnreadableFileIsNeverOverwritten) {
    TTestProgramDir dir;
    // Something that exists under the name but cannot be read as a file (also for root).
    QDir().mkpath(dir.File("locked.ini") + "/keep");
    EXPECT_FALSE(IniWriteString("locked.ini", "A", "y", "2"));
    EXPECT_FALSE(IniEraseSection("locked.ini", "A"));
    EXPECT_TRUE(QFileInfo(dir.File("locked.ini") + "/keep").isDir());
    EXPECT_EQ(IniReadString("locked.ini", "A", "y", "def"), "def");
}

TEST(CodePage, RoundTripOfUkrainianLetters) {
    const QString text = QString::fromUtf8("Ґґ Єє Іі Її ’ № – «»");
    bool lossy = true;
    const QByteArray bytes = ToCp1251(text, &lossy);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(bytes.size(), text.size());
    EXPECT_EQ(FromCp1251(bytes), text);
    EXPECT_FALSE(FitsCp1251(QString::fromUtf8("日本")));
}

} // namespace
