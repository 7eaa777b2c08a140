#include "exchange/StructureTester.h"

#include "common/CodePage.h"
#include "common/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlschemas.h>

#include <cstdio>
#include <functional>
#include <vector>

const QString kTesterPassPhrase = QStringLiteral("tovm5276");
const QString kStructureSchemaName = QStringLiteral("IN4XMLSchema.xsd");

namespace {

const QString kIncomplete = QStringLiteral("має неповне утримання. Перелік можливих елементів");

QString OneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace('\r', ' ');
    text.replace('\n', ' ');
    text.replace('\t', ' ');
    return text.trimmed();
}

QString NotCheckedLine(const QString& reason) {
    return QStringLiteral("0: Перевірку не виконано: ") + reason;
}

struct TRule {
    QRegularExpression pattern;
    std::function<QString(const QRegularExpressionMatch&)> text;
};

const QString kFacetValue = QStringLiteral(R"(^\[facet '(\w+)'\] The value(?: '(.*)')? )");

const std::vector<TRule>& Rules() {
    static const std::vector<TRule> rules = [] {
        using M = QRegularExpressionMatch;
        const auto opts = QRegularExpression::DotMatchesEverythingOption;
        auto rx = [&](const QString& p) { return QRegularExpression(p, opts); };
        auto value = [](const M& m, int i) { return QStringLiteral("значення '%1'").arg(m.captured(i)); };
        std::vector<TRule> r;
        r.push_back(
            {rx(R"(^This element is not expected\. Expected is(?: one of)? \( (.*) \)\.$)"), [](const M& m) {
                 return QStringLiteral("не очікується в цьому місці. Перелік можливих елементів: %1.")
                     .arg(m.captured(1));
             }});
        r.push_back({rx(R"(^This element is not expected\.$)"),
                     [](const M&) { return QStringLiteral("не очікується в цьому місці."); }});
        r.push_back({rx(R"(^Missing child element\(s\)\.(?: Expected is(?: one of)? \( (.*) \)\.)?$)"),
                     [](const M& m) {
                         return QStringLiteral("має неповне утримання. Перелік можливих елементів: %1.")
                             .arg(m.captured(1));
                     }});
        r.push_back(
            {rx(R"(^'(.*)' is not a valid value of the (?:local )?(atomic|list|union) type(?: '(.*)')?\.$)"),
             [value](const M& m) {
                 const QString type = m.captured(3).isEmpty()
                                          ? QStringLiteral("місцевого типу")
                                          : QStringLiteral("типу '%1'").arg(m.captured(3));
                 return QStringLiteral(": %1 не відповідає %2.").arg(value(m, 1), type);
             }});
        r.push_back(
            {rx(kFacetValue + R"(is not accepted by the pattern '(.*)'\.$)"), [value](const M& m) {
                 return QStringLiteral(": %1 не відповідає шаблону '%2'.").arg(value(m, 2), m.captured(3));
             }});
        r.push_back({rx(kFacetValue + R"(is not an element of the set \{(.*)\}\.$)"), [value](const M& m) {
                         return QStringLiteral(": %1 не входить до переліку допустимих значень {%2}.")
                             .arg(value(m, 2), m.captured(3));
                     }});
        r.push_back({rx(kFacetValue +
                        R"(has a length of '(\d+)'; this differs from the allowed length of '(\d+)'\.$)"),
                     [](const M& m) {
                         return QStringLiteral(": значення '%1' має довжину %2, а дозволена довжина %3.")
                             .arg(m.captured(2), m.captured(3), m.captured(4));
                     }});
        r.push_back(
            {rx(kFacetValue +
                R"(has a length of '(\d+)'; this underruns the allowed minimum length of '(\d+)'\.$)"),
             [](const M& m) {
                 return QStringLiteral(": значення '%1' має довжину %2, менше за найменшу дозволену %3.")
                     .arg(m.captured(2), m.captured(3), m.captured(4));
             }});
        r.push_back({rx(kFacetValue +
                        R"(has a length of '(\d+)'; this exceeds the allowed maximum length of '(\d+)'\.$)"),
                     [](const M& m) {
                         return QStringLiteral(
                                    ": значення '%1' має довжину %2, більше за найбільшу дозволену %3.")
                             .arg(m.captured(2), m.captured(3), m.captured(4));
                     }});
        const struct {
            const char* english;
            const char* ukrainian;
        } bounds[] = {
            {R"(is less than the minimum value allowed \('(.*)'\)\.$)",
             "менше за найменше дозволене значення '%1'"},
            {R"(is greater than the maximum value allowed \('(.*)'\)\.$)",
             "більше за найбільше дозволене значення '%1'"},
            {R"(must be greater than '(.*)'\.$)", "має бути більшим за '%1'"},
            {R"(must be less than '(.*)'\.$)", "має бути меншим за '%1'"},
            {R"(has more digits than are allowed \('(.*)'\)\.$)", "має більше цифр, ніж дозволено (%1)"},
            {R"(has more fractional digits than are allowed \('(.*)'\)\.$)",
             "має більше цифр після крапки, ніж дозволено (%1)"},
        };
        for (const auto& b : bounds) {
            const QString uk = QString::fromUtf8(b.ukrainian);
            r.push_back({rx(kFacetValue + QString::fromUtf8(b.english)), [value, uk](const M& m) {
                             return QStringLiteral(": %1 ").arg(value(m, 2)) + uk.arg(m.captured(3)) + '.';
                         }});
        }
        r.push_back(
            {rx(R"(^The (?:initial|actual) value '(.*)' does not match the fixed value constraint '(.*)'\.$)"),
             [value](const M& m) {
                 return QStringLiteral(": %1 не збігається з фіксованим значенням '%2'.")
                     .arg(value(m, 1), m.captured(2));
             }});
        r.push_back(
            {rx(R"(^Character content other than whitespace is not allowed because the content type is 'element-only'\.$)"),
             [](const M&) { return QStringLiteral("не може містити текст, лише вкладені елементи."); }});
        r.push_back(
            {rx(R"(^Element content is not allowed, because the (?:content type is a simple type definition|type definition is simple)\.$)"),
             [](const M&) { return QStringLiteral("не може містити вкладених елементів."); }});
        r.push_back(
            {rx(R"(^(?:Character|Element) content is not allowed, because the content type is empty\.$)"),
             [](const M&) { return QStringLiteral("має бути порожнім."); }});
        r.push_back({rx(R"(^The attribute '(.*)' is not allowed\.$)"), [](const M& m) {
                         return QStringLiteral(": атрибут '%1' не допускається.").arg(m.captured(1));
                     }});
        r.push_back({rx(R"(^The attribute '(.*)' is required but missing\.$)"), [](const M& m) {
                         return QStringLiteral(": відсутній обов'язковий атрибут '%1'.").arg(m.captured(1));
                     }});
        r.push_back({rx(R"(^No matching global declaration available for the validation root\.$)"),
                     [](const M&) { return QStringLiteral("не є кореневим елементом обмінного файлу."); }});
        return r;
    }();
    return rules;
}

// Parser errors keep libxml2's line; the common ones get Ukrainian words.
QString ParserMessage(const xmlError* e) {
    const QString s1 = e->str1 ? QString::fromUtf8(e->str1) : QString();
    const QString s2 = e->str2 ? QString::fromUtf8(e->str2) : QString();
    switch (e->code) {
    case XML_ERR_TAG_NAME_MISMATCH:
        return QStringLiteral("Елемент '%1' (рядок %2) закрито тегом '%3'.").arg(s1).arg(e->int1).arg(s2);
    case XML_ERR_TAG_NOT_FINISHED:
        return QStringLiteral("Елемент '%1' (рядок %2) не закрито до кінця файлу.").arg(s1).arg(e->int1);
    case XML_ERR_DOCUMENT_END:
        return QStringLiteral("Зайвий вміст після кінця документа.");
    case XML_ERR_DOCUMENT_EMPTY:
        return QStringLiteral("Документ порожній.");
    case XML_ERR_INVALID_CHAR:
        return QStringLiteral("Вміст не відповідає кодуванню файлу або містить недопустимий символ.");
    case XML_ERR_UNDECLARED_ENTITY:
        return QStringLiteral("Невідоме посилання на символ '%1'.").arg(s1);
    default:
        return QStringLiteral("Помилка розбору XML: ") +
               OneLine(QString::fromUtf8(e->message ? e->message : ""));
    }
}

struct TCollector {
    QStringList lines;
    int schemaProblems = 0;
    QString schemaText;
};

void OnParserError(void* ctx, xmlErrorPtr e) {
    if (!e || e->level < XML_ERR_ERROR) return;
    auto* c = static_cast<TCollector*>(ctx);
    c->lines << QStringLiteral("Стр№ %1: %2").arg(e->line).arg(ParserMessage(e));
}

void OnSchemaLoadError(void* ctx, xmlErrorPtr e) {
    if (!e || e->level < XML_ERR_ERROR) return;
    auto* c = static_cast<TCollector*>(ctx);
    if (c->schemaProblems++ == 0) c->schemaText = OneLine(QString::fromUtf8(e->message ? e->message : ""));
}

void OnValidityError(void* ctx, xmlErrorPtr e) {
    if (!e || e->level < XML_ERR_ERROR) return;
    auto* c = static_cast<TCollector*>(ctx);
    static const QRegularExpression prefix(
        QStringLiteral(R"(^Element '([^']*)'(?:, attribute '[^']*')?: (.*)$)"),
        QRegularExpression::DotMatchesEverythingOption);
    const QString message = QString::fromUtf8(e->message ? e->message : "").trimmed();
    QString element;
    QString rest = message;
    const QRegularExpressionMatch m = prefix.match(message);
    if (m.hasMatch()) {
        element = m.captured(1);
        rest = m.captured(2).trimmed();
    } else if (e->node && static_cast<xmlNodePtr>(e->node)->type == XML_ELEMENT_NODE) {
        element = QString::fromUtf8(reinterpret_cast<const char*>(static_cast<xmlNodePtr>(e->node)->name));
    }
    int line = e->line;
    if (line <= 0 && e->node) line = int(xmlGetLineNo(static_cast<xmlNodePtr>(e->node)));
    c->lines << SchemaFindingLine(line, element, rest);
}

} // namespace

QString SchemaFindingLine(int line, const QString& element, const QString& message) {
    QString text;
    for (const TRule& rule : Rules()) {
        const QRegularExpressionMatch m = rule.pattern.match(message);
        if (!m.hasMatch()) continue;
        text = rule.text(m);
        break;
    }
    if (text.isEmpty()) text = QStringLiteral(": ") + message;
    if (text.startsWith(kIncomplete)) ++line; // the program's jump takes it back to the element
    const QString sep = text.startsWith(':') ? QString() : QStringLiteral(" ");
    return OneLine(QStringLiteral("Стр№ %1: Елемент '%2'").arg(line).arg(element) + sep + text);
}

TTesterResult ValidateStructure(const QString& xmlPath, const QString& schemaPath) {
    TTesterResult result;
    xmlInitParser();
    if (!QFileInfo(schemaPath).isFile()) {
        result.Lines << NotCheckedLine(QStringLiteral("не знайдено схему структури \"%1\".").arg(schemaPath));
        return result;
    }
    if (!QFileInfo(xmlPath).isFile()) {
        result.Lines << NotCheckedLine(QStringLiteral("не знайдено файл \"%1\".").arg(xmlPath));
        return result;
    }

    TCollector collector;
    const QByteArray schemaName = QFile::encodeName(schemaPath);
    xmlSchemaParserCtxtPtr parserCtxt = xmlSchemaNewParserCtxt(schemaName.constData());
    xmlSchemaSetParserStructuredErrors(parserCtxt, OnSchemaLoadError, &collector);
    xmlSetStructuredErrorFunc(&collector, OnSchemaLoadError);
    xmlSchemaPtr schema = xmlSchemaParse(parserCtxt);
    xmlSchemaFreeParserCtxt(parserCtxt);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!schema) {
        result.Lines << NotCheckedLine(QStringLiteral("не вдалося завантажити схему структури \"%1\": %2")
                                           .arg(schemaPath, collector.schemaText));
        return result;
    }

    const QByteArray fileName = QFile::encodeName(xmlPath);
    xmlSetStructuredErrorFunc(&collector, OnParserError);
    xmlDocPtr doc =
        xmlReadFile(fileName.constData(), nullptr, XML_PARSE_BIG_LINES | XML_PARSE_COMPACT | XML_PARSE_NONET);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc) {
        xmlSchemaFree(schema);
        if (collector.lines.isEmpty()) {
            result.Lines << NotCheckedLine(QStringLiteral("не вдалося прочитати файл \"%1\".").arg(xmlPath));
            return result;
        }
        result.Status = TesterFindings;
        result.Lines = collector.lines;
        return result;
    }
    // Errors the parser recovered from are findings too.
    QStringList parserLines = collector.lines;
    collector.lines.clear();

    xmlSchemaValidCtxtPtr valid = xmlSchemaNewValidCtxt(schema);
    xmlSchemaSetValidStructuredErrors(valid, OnValidityError, &collector);
    const int rc = xmlSchemaValidateDoc(valid, doc);
    xmlSchemaFreeValidCtxt(valid);
    xmlFreeDoc(doc);
    xmlSchemaFree(schema);

    if (rc < 0) {
        result.Lines << NotCheckedLine(QStringLiteral("внутрішня помилка перевірки (%1).").arg(rc));
        return result;
    }
    result.Lines = parserLines + collector.lines;
    result.Status = result.Lines.isEmpty() ? TesterValid : TesterFindings;
    return result;
}

int RunStructureTester(const QStringList& arguments, const QString& programDir) {
    if (arguments.size() < 2) {
        std::fprintf(stderr, "testerxml <pass phrase> <file.xml>\n");
        return TesterNotChecked;
    }
    const QString file = arguments.at(1);
    TTesterResult result;
    if (arguments.at(0) != kTesterPassPhrase) {
        result.Lines << NotCheckedLine(QStringLiteral("невірний параметр запуску програми тестування."));
    } else {
        result = ValidateStructure(file, programDir + '/' + kStructureSchemaName);
    }
    QByteArray bytes;
    for (const QString& line : result.Lines)
        bytes += ToCp1251(line) + "\r\n";
    QString error;
    if (!WriteFileAtomic(file + QStringLiteral(".log"), bytes, &error)) {
        std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        return TesterNotChecked;
    }
    return result.Status;
}
