#include "valuation/NgoCommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(NgoCommandLine, OptionsAndFiles) {
    TNgoCommandLine c;
    ASSERT_EQ(ParseNgoCommandLine({"--population",
                                   "1500",
                                   "--location=За межами",
                                   "a.xml",
                                   "--row",
                                   "Km2=3",
                                   "--row=Kmc1=2x5",
                                   "--set",
                                   "Km4=1,1",
                                   "--set",
                                   "District=2",
                                   "--kmc-always",
                                   "off",
                                   "--out-dir",
                                   "/tmp/o",
                                   "--organisation",
                                   "Бюро",
                                   "--no-zone",
                                   "--no-approval",
                                   "--json",
                                   "--",
                                   "--b.xml"},
                                  &c),
              "");
    EXPECT_EQ(c.Files, (QStringList{"a.xml", "--b.xml"}));
    EXPECT_EQ(c.GeneralData.value("population"), "1500");
    EXPECT_EQ(c.GeneralData.value("location"), "За межами");
    EXPECT_EQ(c.Rows, (QList<QPair<QString, QString>>{{"Km2", "3"}, {"Kmc1", "2x5"}}));
    EXPECT_EQ(c.Sets, (QList<QPair<QString, QString>>{{"Km4", "1,1"}, {"District", "2"}}));
    EXPECT_EQ(c.KmcAlways, std::optional<bool>(false));
    EXPECT_TRUE(c.Write) << "--out-dir writes";
    EXPECT_EQ(c.OutDir, "/tmp/o");
    EXPECT_EQ(c.Organisation, "Бюро");
    EXPECT_TRUE(c.NoZone && c.NoApproval && c.Json);
    EXPECT_FALSE(c.Help);
}

TEST(NgoCommandLine, CoefficientNamesIgnoreCase) {
    TNgoCommandLine c;
    ASSERT_EQ(ParseNgoCommandLine({"--row", "psr=4", "--set", "kmci=1.2", "f.xml"}, &c), "");
    EXPECT_EQ(c.Rows.first().first, "PSR");
    EXPECT_EQ(c.Sets.first().first, "KmcI");
}

TEST(NgoCommandLine, ProblemsAreNamedInUkrainian) {
    const struct {
        QStringList args;
        const char* start;
    } cases[] = {
        {{}, "Не вказано жодного файлу."},
        {{"--bogus", "a.xml"}, "Невідомий параметр \"--bogus\"."},
        {{"a.xml", "--year"}, "Параметр --year потребує значення."},
        {{"--json=1", "a.xml"}, "Параметр --json не приймає значення."},
        {{"--location", "всередині", "a.xml"}, "--location: вкажіть \"В межах\" або \"За межами\"."},
        {{"--kmc-always", "так", "a.xml"}, "--kmc-always: вкажіть on або off."},
        {{"--row", "Km9=1", "a.xml"}, "--row: невідомий коефіцієнт \"Km9\""},
        {{"--row", "Km1", "a.xml"}, "--row: очікується НАЗВА=ЗНАЧЕННЯ"},
        {{"--row", "Km1=0", "a.xml"}, "--row: номер рядка для Km1 має бути цілим числом від 1"},
        {{"--row", "Kmc1=3", "a.xml"}, "--row: для Kmc1 вкажіть рядок і стовпець як РЯДОКxСТОВПЕЦЬ"},
        {{"--row", "Km4=1", "a.xml"}, "--row: Km4 не обирається з таблиці"},
        {{"--set", "Km1=багато", "a.xml"}, "--set: значення Km1 має бути числом"},
        {{"--set", "PSR=2", "a.xml"}, "--set: природно-сільськогосподарський район обирається рядком"},
        {{"--set", "Km1=", "a.xml"}, "--set: для Km1 не вказано значення."},
    };
    for (const auto& c : cases) {
        TNgoCommandLine out;
        const QString error = ParseNgoCommandLine(c.args, &out);
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.start)))
            << c.args.join(' ').toStdString() << " -> " << error.toStdString();
    }
}

TEST(NgoCommandLine, HelpNeedsNoFileAndListsEveryOption) {
    TNgoCommandLine c;
    ASSERT_EQ(ParseNgoCommandLine({"--help"}, &c), "");
    EXPECT_TRUE(c.Help);
    const QString help = NgoHelpText();
    EXPECT_TRUE(help.startsWith("Використання: zemlyar-ngo [параметри] ФАЙЛ..."));
    for (const QString& option : NgoGeneralDataOptions())
        EXPECT_TRUE(help.contains("--" + option + " ")) << option.toStdString();
    for (const char* option : {"--kmc-always", "--row", "--set", "--write", "--out-dir", "--organisation",
                               "--no-zone", "--no-approval", "--json", "--help"})
        EXPECT_TRUE(help.contains(option)) << option;
}

} // namespace
