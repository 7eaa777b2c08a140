#include "app/GlobalVar.h"
#include "app/Settings.h"
#include "common/CodePage.h"
#include "common/NumberFormat.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

TEST(GlobalVar, FoldersFromTheExecutablePath) {
    TTestProgramDir dir;
    InitGlobalVar(dir.Path() + "//zemlyar");
    const TSettings& s = GlobalVar().Settings;
    EXPECT_EQ(GlobalVar().AppName, "Zemlyar");
    EXPECT_EQ(GlobalVar().AppVersion, "1.1.260527");
    EXPECT_FALSE(s.ProgramDir.endsWith('/'));
    EXPECT_EQ(s.TempDir, s.ProgramDir + "/Temp");
    EXPECT_EQ(s.IniFile, s.ProgramDir + "/zemlyar.ini");
    EXPECT_EQ(s.TemplatesDir, s.ProgramDir + "/Templ");
    EXPECT_EQ(s.MapsDir, s.ProgramDir + "/Карти");
    EXPECT_TRUE(QDir(s.TempDir).exists());
    EXPECT_TRUE(QDir(s.CacheDir).exists());
    // Same cache name on every start.
    const QString cache = s.CacheDir;
    InitGlobalVar(dir.Path() + "/zemlyar");
    EXPECT_EQ(GlobalVar().Settings.CacheDir, cache);
    EXPECT_TRUE(cache.startsWith(s.ProgramDir + "/Cashe/"));
    EXPECT_EQ(cache.section('/', -1).size(), 10);
}

TEST(Settings, DefaultsWithoutAnIniFile) {
    TTestProgramDir dir;
    EXPECT_EQ(ReadCoordPrecision(), "4");
    EXPECT_FALSE(ReadBlockOption(IniKeys::kBlockAddFptp));
    EXPECT_FALSE(ReadBlockOption(IniKeys::kBlockAddMxmy));
    EXPECT_TRUE(ReadKmcAlways());
    EXPECT_EQ(ReadDialogFolder(1), "");
}

TEST(Settings, ParsingRulesAndWindows1251File) {
    TTestProgramDir dir;
    WriteBytes(GlobalVar().Settings.IniFile,
               ToCp1251("[INTERFACE]\r\nACT_BLOCK_ADD_FPTP=01\r\nACT_BLOCK_ADD_MXMY=1.0\r\nKmcAlways=0\r\n"
                        "[Інше]\r\nключ=значення\r\n"));
    EXPECT_TRUE(ReadBlockOption(IniKeys::kBlockAddFptp)) << "a whole number equal to 1";
    EXPECT_FALSE(ReadBlockOption(IniKeys::kBlockAddMxmy));
    EXPECT_FALSE(ReadKmcAlways());
    ASSERT_TRUE(WriteCoordPrecision("2"));
    ASSERT_TRUE(WriteDialogFolder(1, "/дані/обмін"));
    const QByteArray bytes = ReadBytes(GlobalVar().Settings.IniFile);
    EXPECT_TRUE(bytes.contains(ToCp1251("[Інше]\r\nключ=значення\r\n")));
    EXPECT_TRUE(bytes.contains(ToCp1251("Initial1=/дані/обмін")));
    EXPECT_EQ(ReadCoordPrecision(), "2");
}

TEST(DecimalSeparator, PointParsesCommaDoesNot) {
    bool ok = false;
    EXPECT_DOUBLE_EQ(ParseNumber("1.5", &ok), 1.5);
    EXPECT_TRUE(ok);
    ParseNumber("1,5", &ok);
    EXPECT_FALSE(ok);
    EXPECT_DOUBLE_EQ(QString("1.5").toDouble(&ok), 1.5);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(QLocale().toDouble("1.5", &ok), 1.5);
    EXPECT_TRUE(ok);
    QLocale().toDouble("1,5", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::atof("1.5"), 1.5);
}

} // namespace
