#include "common/CodePage.h"
#include "common/RecordingSink.h"
#include "support/TestSupport.h"
#include "valuation/NgoTables.h"
#include "valuation/RefFiles.h"
#include "valuation/ReferenceStores.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// Writes lines in windows-1251 with the given line break.
void WriteLines(const QString& path, const QStringList& lines, const QByteArray& eol = "\r\n") {
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += ToCp1251(l) + eol;
    WriteBytes(path, bytes);
}

QStringList FileLines(const QString& path) {
    return ReadRefLines(path).Lines;
}

class ReferenceFiles : public ::testing::Test {
protected:
    TTestProgramDir dir;
    TRecordingSink sink;
    QString Path(const QString& name) const { return dir.File(name); }
};

} // namespace

TEST_F(ReferenceFiles, TableLinesGoToTheirTablesByPrefix) {
    TNgoTables t;
    ParseNgoTables(t, {
                          QStringLiteral("dod10=Київська область\t0.9\t1.0"),
                          QStringLiteral("dod1=від 0,5 до 1 тис. осіб\t125"),
                          QStringLiteral("dod12i=Львівська область\t1.4"),
                          QStringLiteral("dod12=Одеська область\t1.3"),
                          QStringLiteral("dod2-100 землі с/г\t27=5"),
                          QStringLiteral("dod3=м. Київ\tБроварська"),
                          QStringLiteral("[YEAR]"),
                          QStringLiteral("on=2021"),
                          QStringLiteral("dod3=м. Львів\tПустомитівська\t1.15\tзайве\tзайве"),
                          QStringLiteral("[NGO DEFAUL]"),
                          QStringLiteral("Kls=Полісся"),
                          QStringLiteral("dod8=02.01\tДля будівництва житлового будинку\t1.0"),
                          QStringLiteral("dod13=Київська область\t1.6\t1.1"),
                          QStringLiteral("dod15=невідома таблиця\t1"),
                          QStringLiteral("DOD1=велика літера\t1"),
                      });
    ASSERT_EQ(t.Kmc1.RowCount(), 1);
    EXPECT_EQ(t.Nrd.RowCount(), 1);
    EXPECT_EQ(t.KmcN.RowCount(), 1);
    EXPECT_EQ(t.KmcH.RowCount(), 1);
    EXPECT_EQ(t.KmcN.Cell(0, 1), QStringLiteral("Львівська область"));
    // Cell tables start at column 0, check-box tables at column 1.
    EXPECT_EQ(t.Kmc1.Cell(0, 0), QStringLiteral("Київська область"));
    EXPECT_EQ(t.Kmc1.Cell(0, 2), QStringLiteral("1.0"));
    EXPECT_EQ(t.Klk.Cell(0, 2), QStringLiteral("1.1"));
    EXPECT_EQ(t.Nrd.Cell(0, 0), QString());
    EXPECT_EQ(t.Nrd.Cell(0, 1), QStringLiteral("від 0,5 до 1 тис. осіб"));
    // "dod2-": prefix gone, "=" read as the decimal point.
    EXPECT_EQ(t.Nrd2.Cell(0, 1), QStringLiteral("100 землі с/г"));
    EXPECT_EQ(t.Nrd2.Cell(0, 2), QStringLiteral("27.5"));
    // Setting lines between table lines neither add rows nor shift row numbers.
    ASSERT_EQ(t.Km1.RowCount(), 2);
    EXPECT_EQ(t.Km1.Cell(0, 3), QString());
    EXPECT_EQ(t.Km1.Cell(1, 1), QStringLiteral("м. Львів"));
    EXPECT_EQ(t.Km1.Cell(1, 3), QStringLiteral("1.15"));
    EXPECT_EQ(t.Km1.ColumnCount(), 4);
    EXPECT_EQ(t.Purposes, QStringList{QStringLiteral("02.01-Для будівництва житлового будинку")});
    EXPECT_EQ(t.Kls.RowCount(), 0);
}

TEST_F(ReferenceFiles, LinesEndWithAnyBreakAndEmptyLinesAreSkipped) {
    WriteBytes(Path(kNgoFile), ToCp1251(QStringLiteral("dod4=м. Трускавець\t1.2\r\n\r\ndod4=м. Моршин\t1.2\n"
                                                       "\ndod4=м. Яремче\t1.2\rdod4=м. Миргород\t1.15")));
    TNgoTables t;
    EXPECT_TRUE(LoadNgoTables(t, Path(kNgoFile)));
    ASSERT_EQ(t.Km2.RowCount(), 4);
    EXPECT_EQ(t.Km2.Cell(3, 1), QStringLiteral("м. Миргород"));
    EXPECT_EQ(t.Km2.Cell(3, 2), QStringLiteral("1.15"));
}

TEST_F(ReferenceFiles, MissingNgoFileLeavesEverythingEmptyWithDefaults) {
    TNgoTables t;
    EXPECT_TRUE(LoadNgoTables(t, Path(kNgoFile)));
    for (TCoefficientTable* table : t.All())
        EXPECT_EQ(table->RowCount(), 0) << table->objectName().toStdString();
    EXPECT_TRUE(t.Purposes.isEmpty());
    EXPECT_EQ(ReadBaseYear(Path(kNgoFile)), 2020);
    EXPECT_FALSE(ReadKlsDefault(Path(kNgoFile)).has_value());
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST_F(ReferenceFiles, BaseYearSetting) {
    const struct {
        const char* value;
        int year;
    } cases[] = {{"2021", 2021}, {"abc", 2020}, {"20.5", 2020}, {"", 2020}};
    for (const auto& c : cases) {
        WriteLines(Path(kNgoFile), {QStringLiteral("dod1=менше 0,2 тис. осіб\t95"), QStringLiteral("[YEAR]"),
                                    QStringLiteral("on=") + QString::fromUtf8(c.value)});
        EXPECT_EQ(ReadBaseYear(Path(kNgoFile)), c.year) << c.value;
    }
}

TEST_F(ReferenceFiles, SavedKlsDefaultIsWrittenWithoutDisturbingTables) {
    const QStringList table{QStringLiteral("dod14=Полісся, Броварський район\t1.1"),
                            QStringLiteral("dod14=Лісостеп, Бориспільський район\t1.2")};
    WriteLines(Path(kNgoFile), table);
    TNgoTables t;
    LoadNgoTables(t, Path(kNgoFile));
    t.Kls.SetChecked(1, true);
    ASSERT_TRUE(SaveKlsDefault(Path(kNgoFile), t.Kls));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Збережено \"Лісостеп, Бориспільський район\""));
    EXPECT_EQ(ReadKlsDefault(Path(kNgoFile)), QStringLiteral("Лісостеп, Бориспільський район"));
    EXPECT_EQ(FileLines(Path(kNgoFile)).mid(0, 2), table);
    TNgoTables again;
    LoadNgoTables(again, Path(kNgoFile));
    EXPECT_EQ(again.Kls.RowCount(), 2);

    // Nothing checked: an empty default is saved (and is a saved default).
    t.Kls.ClearChecks();
    ASSERT_TRUE(SaveKlsDefault(Path(kNgoFile), t.Kls));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Збережено \"\""));
    EXPECT_EQ(ReadKlsDefault(Path(kNgoFile)), QString());
}

TEST_F(ReferenceFiles, KlsDefaultIntoMissingNgoFileCreatesIt) {
    TNgoTables t;
    ASSERT_TRUE(SaveKlsDefault(Path(kNgoFile), t.Kls));
    EXPECT_EQ(ReadKlsDefault(Path(kNgoFile)), QString());
}

TEST_F(ReferenceFiles, PopulationLookupAndStore) {
    const QString popul = Path(kPopulFile);
    EXPECT_FALSE(PopulationLookup(popul, QStringLiteral("Броварська")).Found());
    EXPECT_EQ(PopulationLookup(popul, QStringLiteral("Броварська")).Population, QStringLiteral("-"));
    EXPECT_EQ(PopulationLookup(popul, QStringLiteral("Броварська")).Centre, QStringLiteral(" "));

    ASSERT_TRUE(PopulationStore(popul, QStringLiteral("Кам’янська"), 5400, QStringLiteral("с. Кам’янка")));
    ASSERT_TRUE(PopulationStore(popul, QStringLiteral("Броварська"), 110000, QStringLiteral("м. Бровари")));
    ASSERT_TRUE(PopulationStore(popul, QStringLiteral("Кам’янська"), 5500, QStringLiteral("с. Кам’янка")));
    EXPECT_EQ(FileLines(popul), (QStringList{QStringLiteral("Кам’янська\t5500\tс. Кам’янка"),
                                             QStringLiteral("Броварська\t110000\tм. Бровари")}));
    EXPECT_EQ(ReadBytes(popul).right(2), QByteArray("\r\n"));

    const TPopulationEntry found = PopulationLookup(popul, QStringLiteral("Кам’янська"));
    EXPECT_EQ(found.Population, QStringLiteral("5500"));
    EXPECT_EQ(found.Centre, QStringLiteral("с. Кам’янка"));
    // Lookups are exact: a straight apostrophe does not find the name stored with ’.
    EXPECT_FALSE(PopulationLookup(popul, QStringLiteral("Кам'янська")).Found());
    EXPECT_FALSE(PopulationLookup(popul, QStringLiteral("броварська")).Found());

    // An empty field reads as not found for that field.
    WriteLines(popul, {QStringLiteral("Ірпінська\t\tм. Ірпінь")});
    EXPECT_EQ(PopulationLookup(popul, QStringLiteral("Ірпінська")).Population, QStringLiteral("-"));
    EXPECT_EQ(PopulationLookup(popul, QStringLiteral("Ірпінська")).Centre, QStringLiteral("м. Ірпінь"));
}

TEST_F(ReferenceFiles, AddressHistoryOnlyGrowsAndKeepsOneLinePerValue) {
    const QString addr = Path(kAddrFile);
    WriteLines(addr, {QStringLiteral("NxItemAddrObl=Київська область"), QStringLiteral("NxItemAddrObl="),
                      QStringLiteral("=без імені"), QStringLiteral("NxItemUnknown=значення"),
                      QStringLiteral("NxItemAddrObl=Київська область")});
    TAddressHistory history;
    history.Load(addr);
    EXPECT_EQ(history.List(QStringLiteral("NxItemAddrObl")), QStringList{QStringLiteral("Київська область")});
    EXPECT_TRUE(history.List(QStringLiteral("NxItemUnknown")).isEmpty());

    const QMap<QString, QString> current{
        {QStringLiteral("NxItemAddrObl"), QStringLiteral("Львівська область")},
        {QStringLiteral("NxItemAddrRada"), QStringLiteral("Броварська")},
        {QStringLiteral("NxItemAddrNP"), QStringLiteral(" ")}};
    ASSERT_TRUE(history.Store(addr, current));
    ASSERT_TRUE(history.Store(addr, current));
    const QStringList lines = FileLines(addr);
    EXPECT_EQ(lines.count(QStringLiteral("NxItemAddrRada=Броварська")), 1);
    EXPECT_EQ(lines.count(QStringLiteral("NxItemAddrObl=Львівська область")), 1);
    EXPECT_EQ(lines.count(QStringLiteral("NxItemAddrObl=Київська область")),
              2); // earlier lines stay as they were
    EXPECT_TRUE(lines.contains(QStringLiteral("=без імені")));
    EXPECT_FALSE(lines.contains(QStringLiteral("NxItemAddrNP= ")));
    EXPECT_EQ(history.List(QStringLiteral("NxItemAddrObl")),
              (QStringList{QStringLiteral("Київська область"), QStringLiteral("Львівська область")}));
}

TEST_F(ReferenceFiles, StoresNeverReplaceAFileTheyCouldNotRead) {
    // A folder in the place of the file exists but cannot be read as a file.
    for (const QString& name : {kPopulFile, kAddrFile})
        ASSERT_TRUE(QDir().mkpath(Path(name)));
    EXPECT_EQ(ReadRefLines(Path(kPopulFile)).Status, TReadStatus::Unreadable);
    EXPECT_FALSE(
        PopulationStore(Path(kPopulFile), QStringLiteral("Броварська"), 1, QStringLiteral("м. Бровари")));
    EXPECT_FALSE(LastErrorText.isEmpty());
    TAddressHistory history;
    EXPECT_FALSE(
        history.Store(Path(kAddrFile), {{QStringLiteral("NxItemAddrObl"), QStringLiteral("Київська")}}));
    EXPECT_TRUE(QFileInfo(Path(kPopulFile)).isDir());
}

TEST_F(ReferenceFiles, IndexationListLoadAndSave) {
    QStringList list = BuiltInIndexationList();
    EXPECT_EQ(list.size(), 16);
    EXPECT_EQ(list.first(), QStringLiteral("2020=1.0"));
    EXPECT_EQ(list[5], QStringLiteral("2025=1.08"));
    EXPECT_EQ(list.last(), QStringLiteral("2035="));
    EXPECT_EQ(IndexationFileName(QStringLiteral("100")), kYearsShFile);
    EXPECT_EQ(IndexationFileName(QStringLiteral("200")), kYearsFile);

    EXPECT_FALSE(LoadIndexationList(Path(kYearsFile), &list));
    EXPECT_EQ(list, BuiltInIndexationList());

    const QStringList edited{QStringLiteral("2020=1.0"), QStringLiteral("2021=1.2")};
    ASSERT_TRUE(SaveIndexationList(Path(kYearsShFile), edited));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Список збережено."));
    EXPECT_EQ(ReadBytes(Path(kYearsShFile)), QByteArray("2020=1.0\r\n2021=1.2\r\n"));
    EXPECT_TRUE(LoadIndexationList(Path(kYearsShFile), &list));
    EXPECT_EQ(list, edited);
}

TEST_F(ReferenceFiles, IndexationListSaveFailureIsReportedAsAnError) {
    ASSERT_TRUE(QDir().mkpath(Path(kYearsFile)));
    EXPECT_FALSE(SaveIndexationList(Path(kYearsFile), BuiltInIndexationList()));
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].kind, TMsgKind::Error);
    EXPECT_FALSE(sink.Texts().contains(QStringLiteral("Список збережено.")));
}

TEST_F(ReferenceFiles, ShippedFilesFillEveryTable) {
    ASSERT_TRUE(dir.CopyFromProgram(kNgoFile));
    ASSERT_TRUE(dir.CopyFromProgram(kYearsFile));
    ASSERT_TRUE(dir.CopyFromProgram(kYearsShFile));
    TNgoTables t;
    ASSERT_TRUE(LoadNgoTables(t, Path(kNgoFile)));
    for (TCoefficientTable* table : t.All())
        EXPECT_GT(table->RowCount(), 0) << table->objectName().toStdString();
    EXPECT_EQ(t.Purposes.size(), 148);
    EXPECT_TRUE(
        t.Purposes.contains(QStringLiteral("02.01-Для будівництва і обслуговування житлового будинку, "
                                           "господарських будівель і споруд (присадибна ділянка)")));
    EXPECT_EQ(t.Nrd.RowCount(), 12);
    EXPECT_EQ(ReadBaseYear(Path(kNgoFile)), 2020);
    for (const QString& name : {kYearsFile, kYearsShFile}) {
        QStringList list;
        ASSERT_TRUE(LoadIndexationList(Path(name), &list));
        EXPECT_EQ(list, BuiltInIndexationList());
    }
}
