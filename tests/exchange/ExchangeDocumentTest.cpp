#include "exchange/ExchangeDocument.h"
#include "common/CodePage.h"
#include "common/Messages.h"
#include "exchange/ExchangePaths.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kText = QStringLiteral("Львівська область №1 «ґ»");

QByteArray Doc(const QByteArray& declaration, const QByteArray& body) {
    return declaration + body;
}
QByteArray Body(const QByteArray& value) {
    return "\n<R>\n\t<A>" + value + "</A>\n</R>\n";
}

TEST(ExchangeDocumentRead, EncodingsFromTheDeclaration) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool ok;
        TXmlEncoding encoding;
    };
    const QByteArray utf8 = kText.toUtf8();
    const QByteArray cp = ToCp1251(kText);
    const Case cases[] = {
        {"utf-8", Doc(R"(<?xml version="1.0" encoding="UTF-8"?>)", Body(utf8)), true, TXmlEncoding::Utf8},
        {"utf-8 bom", Doc("\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?>", Body(utf8)), true,
         TXmlEncoding::Utf8},
        {"no declaration", Body(utf8).mid(1), true, TXmlEncoding::Utf8},
        {"declaration without encoding", Doc(R"(<?xml version="1.0"?>)", Body(utf8)), true,
         TXmlEncoding::Utf8},
        {"windows-1251", Doc(R"(<?xml version="1.0" encoding="windows-1251"?>)", Body(cp)), true,
         TXmlEncoding::Cp1251},
        {"cp1251 alias, odd spacing", Doc(R"(<?xml version="1.0" encoding = 'CP1251' ?>)", Body(cp)), true,
         TXmlEncoding::Cp1251},
        // Declarations that lie about the text, and encodings the program does not read.
        {"utf-8 declared, cp1251 text",
         Doc(R"(<?xml version="1.0" encoding="UTF-8"?>)", Body(cp)),
         false,
         {}},
        {"no declaration, cp1251 text", Body(cp).mid(1), false, {}},
        {"cp1251 declared, utf-8 text",
         Doc(R"(<?xml version="1.0" encoding="windows-1251"?>)", Body(utf8)),
         false,
         {}},
        {"koi8-u", Doc(R"(<?xml version="1.0" encoding="KOI8-U"?>)", Body("x")), false, {}},
        {"bom and cp1251",
         Doc("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"windows-1251\"?>", Body(cp)),
         false,
         {}},
    };
    for (const Case& c : cases) {
        ExchangeDocument doc;
        const bool ok = doc.LoadFromBytes(c.bytes);
        EXPECT_EQ(ok, c.ok) << c.name << ": " << LastErrorText.toStdString();
        EXPECT_EQ(doc.IsActive(), c.ok) << c.name;
        if (!c.ok) {
            EXPECT_FALSE(LastErrorText.isEmpty()) << c.name;
            EXPECT_FALSE(doc.DocumentElement()) << c.name;
            continue;
        }
        EXPECT_EQ(doc.SourceEncoding(), c.encoding) << c.name;
        EXPECT_EQ(ElementText(doc.DocumentElement().child("A")), kText) << c.name;
    }
}

TEST(ExchangeDocumentRead, LyingDeclarationSaysWhyAndWhere) {
    ExchangeDocument doc;
    const QByteArray bytes =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R>\n<A>ok</A>\n<B>" + ToCp1251(kText) + "</B>\n</R>\n";
    EXPECT_FALSE(doc.LoadFromBytes(bytes));
    EXPECT_EQ(LastErrorText,
              "Вміст файлу не відповідає кодуванню UTF-8, вказаному в заголовку XML (рядок 4).");
    EXPECT_FALSE(doc.LoadFromBytes("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<R>" + kText.toUtf8() +
                                   "</R>"));
    EXPECT_TRUE(LastErrorText.contains("windows-1251")) << LastErrorText.toStdString();
}

TEST(ExchangeDocumentRead, WhitespaceAndLinesAndParseErrors) {
    ExchangeDocument doc;
    const QByteArray text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                            "<R>\r\n"
                            "  <A>  значення з пробілами  </A>\r\n"
                            "  <B\r\n"
                            "     k=\"v\">\r\n"
                            "    <C/>\r\n"
                            "  </B>\r\n"
                            "</R>\r\n";
    ASSERT_TRUE(doc.LoadFromBytes(text));
    pugi::xml_node r = doc.DocumentElement();
    // Whitespace-only text between elements is not content; other text is kept as written.
    int children = 0;
    for (pugi::xml_node c = r.first_child(); c; c = c.next_sibling())
        ++children;
    EXPECT_EQ(children, 2);
    EXPECT_EQ(ElementText(r.child("A")), "  значення з пробілами  ");
    EXPECT_EQ(doc.SourceLine(r), 2);
    EXPECT_EQ(doc.SourceLine(r.child("A")), 3);
    EXPECT_EQ(doc.SourceLine(r.child("B")), 4);
    EXPECT_EQ(doc.SourceLine(r.child("B").child("C")), 6);
    EXPECT_EQ(doc.SourceLine(r.append_child("New")), 0);

    const struct {
        QByteArray bytes;
        const char* expected;
    } broken[] = {
        {"<R>\n<A>\n</B>\n</R>\n", "Помилка розбору XML (рядок 3): кінцевий тег не відповідає початковому."},
        {"", "Помилка розбору XML (рядок 1): документ не містить кореневого елемента."},
        {"<R>\n<A x=1/>\n</R>", "Помилка розбору XML (рядок 2): помилка в атрибуті елемента."},
    };
    for (const auto& b : broken) {
        EXPECT_FALSE(doc.LoadFromBytes(b.bytes));
        EXPECT_EQ(LastErrorText, b.expected);
        EXPECT_FALSE(doc.IsActive());
    }
}

TEST(ExchangeDocumentSave, DeclarationIndentationAndEncoding) {
    QTemporaryDir tmp;
    ExchangeDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes("<?xml version=\"1.0\" encoding=\"windows-1251\"?><R><A>" +
                                  ToCp1251(kText) + "</A><B><C>1</C></B><E/></R>"));
    const QByteArray utf8 = doc.SaveToBytes(TXmlEncoding::Utf8);
    EXPECT_EQ(utf8, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<R>\n\t<A>" + kText.toUtf8() +
                        "</A>\n\t<B>\n\t\t<C>1</C>\n\t</B>\n\t<E />\n</R>\n");

    // windows-1251: characters the code page lacks become references and read back the same.
    WriteValueAtPath(doc.DocumentElement(), {}, {"E"}, QStringLiteral("ℓ😀"));
    const QString path = tmp.filePath("out.xml");
    ASSERT_TRUE(doc.SaveToFile(path, TXmlEncoding::Cp1251));
    const QByteArray cp = ReadBytes(path);
    EXPECT_TRUE(
        cp.startsWith("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<R>\n\t<A>" + ToCp1251(kText)));
    EXPECT_TRUE(cp.contains("<E>&#8467;&#128512;</E>"));
    ExchangeDocument again;
    ASSERT_TRUE(again.LoadFromFile(path)) << LastErrorText.toStdString();
    EXPECT_EQ(again.SourceEncoding(), TXmlEncoding::Cp1251);
    EXPECT_EQ(ElementText(again.DocumentElement().child("E")), QStringLiteral("ℓ😀"));
    EXPECT_EQ(ElementText(again.DocumentElement().child("A")), kText);
    EXPECT_EQ(again.FileName(), path);

    // A failed save leaves the previous file as it was.
    EXPECT_FALSE(doc.SaveToFile(tmp.filePath("missing/dir/out.xml")));
    EXPECT_FALSE(LastErrorText.isEmpty());
    EXPECT_EQ(ReadBytes(path), cp);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList({"out.xml"}));
}

TEST(ExchangeDocumentRead, MissingFileAndClear) {
    ExchangeDocument doc;
    EXPECT_FALSE(doc.LoadFromFile("/no/such/file.xml"));
    EXPECT_EQ(LastErrorText, "Файл \"/no/such/file.xml\" не знайдено.");
    ASSERT_TRUE(doc.LoadFromFile(TestDataPath("exchange/parcel-6-vertices.xml")));
    EXPECT_TRUE(doc.IsActive());
    doc.Clear();
    EXPECT_FALSE(doc.IsActive());
    EXPECT_TRUE(doc.FileName().isEmpty());
    EXPECT_FALSE(doc.DocumentElement());
}

TEST(ExchangeDocumentRead, DeclaredEncodingName) {
    EXPECT_EQ(DeclaredEncoding(R"(<?xml version="1.0" encoding="Windows-1251"?><a/>)"), "windows-1251");
    EXPECT_EQ(DeclaredEncoding(R"(<?xml version="1.0"?><a encoding="x"/>)"), "");
    EXPECT_EQ(DeclaredEncoding(R"(<a/>)"), "");
}

} // namespace
