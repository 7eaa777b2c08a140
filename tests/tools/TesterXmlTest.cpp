// The structure tester as the program runs it: build/program/testerxml <pass phrase> <file>.
#include "common/CodePage.h"
#include "exchange/StructureCheck.h"
#include "exchange/StructureTester.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kTester = QStringLiteral(ZEMLYAR_PROGRAM_DIR "/testerxml");

struct TRun {
    int exitCode = -1;
    QStringList log;
};

TRun RunTester(const QStringList& args, const QString& logPath) {
    QProcess p;
    p.start(kTester, args);
    EXPECT_TRUE(p.waitForFinished(120000)) << p.errorString().toStdString();
    TRun r;
    r.exitCode = p.exitCode();
    QFile f(logPath);
    if (f.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
        for (const QString& line : FromCp1251(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            r.log << line;
    }
    return r;
}

// Checks a copy of the fixture so that the log lands in a temporary folder.
TRun Check(QTemporaryDir& dir, const QString& fixture) {
    const QString copy = dir.filePath(QFileInfo(fixture).fileName());
    QFile::remove(copy);
    EXPECT_TRUE(QFile::copy(fixture, copy));
    return RunTester({kTesterPassPhrase, copy}, copy + ".log");
}

// "line|element" of each finding as the program's jump resolves it.
QStringList Targets(const QStringList& log) {
    QStringList t;
    for (const QString& line : log) {
        const TFindingTarget target = ParseFinding(line);
        t << target.Location + "|" + target.ElementName;
    }
    t.sort();
    return t;
}

// The same for an independent validator on the official schema.
QStringList XmllintTargets(const QString& file) {
    QProcess p;
    p.start("xmllint", {"--noout", "--schema", TestDataPath("exchange/UAXML.xsd"), file});
    EXPECT_TRUE(p.waitForFinished(120000));
    static const QRegularExpression rx(
        QStringLiteral(R"(^.*?:(\d+): element \S+: Schemas validity error : Element '([^']+)')"));
    QStringList t;
    for (const QString& line : QString::fromUtf8(p.readAllStandardError()).split('\n')) {
        const QRegularExpressionMatch m = rx.match(line);
        if (m.hasMatch()) t << m.captured(1) + "|" + m.captured(2);
    }
    t.sort();
    return t;
}

TEST(TesterXml, RealFilesFindTheSameLinesAndElementsAsXmllint) {
    QTemporaryDir dir;
    for (const char* name : {"land-management-lease-sublease.xml", "land-management-placeholders-points.xml",
                             "land-management-placeholders.xml", "land-management-urban-4624280900.xml"}) {
        const QString fixture = TestDataPath(QStringLiteral("exchange/") + name);
        const TRun r = Check(dir, fixture);
        EXPECT_EQ(r.exitCode, 1) << name;
        ASSERT_FALSE(r.log.isEmpty()) << name;
        for (const QString& line : r.log)
            EXPECT_TRUE(line.startsWith("Стр№ ") && line.contains(" Елемент '")) << line.toStdString();
        EXPECT_EQ(Targets(r.log), XmllintTargets(fixture)) << name;
    }
}

TEST(TesterXml, GeneratedFilesAreValid) {
    QTemporaryDir dir;
    for (const char* name :
         {"parcel-6-vertices.xml", "parcel-with-hole-cp1251.xml", "three-neighbours.xml"}) {
        const TRun r = Check(dir, TestDataPath(QStringLiteral("exchange/") + name));
        EXPECT_EQ(r.exitCode, 0) << name;
        EXPECT_TRUE(r.log.isEmpty()) << name << ": " << r.log.join('\n').toStdString();
        EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromUtf8(name) + ".log")))
            << "a log is always written";
    }
}

// The template holds every choice variant side by side and leaves the documentation particulars empty:
// exactly those are its findings.
TEST(TesterXml, TemplateFindingsAreOnlyTheIntendedOnes) {
    QTemporaryDir dir;
    const TRun r = Check(dir, QStringLiteral(ZEMLYAR_PROGRAM_DIR "/IN4XMLSchema.xml"));
    EXPECT_EQ(r.exitCode, 1);
    QStringList elements;
    for (const QString& line : r.log)
        elements << ParseFinding(line).ElementName;
    EXPECT_EQ(elements, QStringList({"EDRPOU", "SC42_3", "EVRS", "Km", "GPS", "DocumentationType",
                                     "DateDrafted", "DateSigned", "DocumentList"}))
        << r.log.join('\n').toStdString();
}

TEST(TesterXml, MessagesInUkrainian) {
    QTemporaryDir dir;
    const QString file = dir.filePath("f.xml");
    WriteBytes(file, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<UkrainianCadastralExchangeFile>\n"
                     "<AdditionalPart>\n"
                     "<ServiceInfo>\n"
                     "<FileID><FileDate>вчора</FileDate><FileGUID>g</FileGUID></FileID>\n"
                     "</ServiceInfo>\n"
                     "</AdditionalPart>\n"
                     "<Extra/>\n"
                     "</UkrainianCadastralExchangeFile>\n");
    const TRun r = RunTester({kTesterPassPhrase, file}, file + ".log");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(
        r.log,
        QStringList({
            "Стр№ 5: Елемент 'FileDate': значення 'вчора' не відповідає типу 'xs:date'.",
            "Стр№ 5: Елемент 'ServiceInfo' має неповне утримання. Перелік можливих елементів: "
            "FormatVersion, ReceiverName, ReceiverIdentifier, Software, SoftwareVersion.",
            "Стр№ 4: Елемент 'AdditionalPart' має неповне утримання. Перелік можливих елементів: "
            "InfoLandWork.",
            "Стр№ 8: Елемент 'Extra' не очікується в цьому місці. Перелік можливих елементів: InfoPart.",
        }))
        << r.log.join('\n').toStdString();

    WriteBytes(file, "<?xml version=\"1.0\"?>\n<UkrainianCadastralExchangeFile>\n<A>\n</B>\n");
    const TRun broken = RunTester({kTesterPassPhrase, file}, file + ".log");
    EXPECT_EQ(broken.exitCode, 1);
    ASSERT_FALSE(broken.log.isEmpty());
    EXPECT_EQ(broken.log.at(0), "Стр№ 4: Елемент 'A' (рядок 3) закрито тегом 'B'.");
}

TEST(TesterXml, CannotCheck) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("немає.xml");
    TRun r = RunTester({kTesterPassPhrase, missing}, missing + ".log");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.log, QStringList({"0: Перевірку не виконано: не знайдено файл \"" + missing + "\"."}));

    const QString file = dir.filePath("f.xml");
    WriteBytes(file, "<UkrainianCadastralExchangeFile/>");
    r = RunTester({"wrong", file}, file + ".log");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.log,
              QStringList({"0: Перевірку не виконано: невірний параметр запуску програми тестування."}));
}

TEST(TesterMessages, TypesAndFacets) {
    struct Case {
        int line;
        const char* element;
        const char* libxml;
        const char* expected;
    };
    const Case cases[] = {
        {5, "TaxNumber", "[facet 'pattern'] The value ' ' is not accepted by the pattern '[0-9]{10}'.",
         "Стр№ 5: Елемент 'TaxNumber': значення ' ' не відповідає шаблону '[0-9]{10}'."},
        {6, "DocumentationType",
         "[facet 'length'] The value has a length of '0'; this differs from the allowed length of '3'.",
         "Стр№ 6: Елемент 'DocumentationType': значення '' має довжину 0, а дозволена довжина 3."},
        {7, "D",
         "[facet 'minLength'] The value 'ab' has a length of '2'; this underruns the allowed minimum length "
         "of '4'.",
         "Стр№ 7: Елемент 'D': значення 'ab' має довжину 2, менше за найменшу дозволену 4."},
        {8, "U", "[facet 'enumeration'] The value 'м' is not an element of the set {'га', 'кв.м'}.",
         "Стр№ 8: Елемент 'U': значення 'м' не входить до переліку допустимих значень {'га', 'кв.м'}."},
        {9, "N", "[facet 'maxInclusive'] The value '12' is greater than the maximum value allowed ('10').",
         "Стр№ 9: Елемент 'N': значення '12' більше за найбільше дозволене значення '10'."},
        {10, "X", "The initial value ' ' does not match the fixed value constraint ''.",
         "Стр№ 10: Елемент 'X': значення ' ' не збігається з фіксованим значенням ''."},
        {11, "DocumentList", "'' is not a valid value of the union type 'DocumentList'.",
         "Стр№ 11: Елемент 'DocumentList': значення '' не відповідає типу 'DocumentList'."},
        {12, "Q", "Something new.", "Стр№ 12: Елемент 'Q': Something new."},
        {13, "PointInfo", "Missing child element(s). Expected is ( Point ).",
         "Стр№ 14: Елемент 'PointInfo' має неповне утримання. Перелік можливих елементів: Point."},
        {15, "R",
         "Character content other than whitespace is not allowed because the content type is 'element-only'.",
         "Стр№ 15: Елемент 'R' не може містити текст, лише вкладені елементи."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SchemaFindingLine(c.line, c.element, c.libxml), QString::fromUtf8(c.expected)) << c.libxml;
}

} // namespace
