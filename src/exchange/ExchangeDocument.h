#pragma once
// A parsed exchange file (or any XML file the program reads the same way).
//
// Reading: the encoding is taken from the XML declaration (no declaration: UTF-8). UTF-8 text is checked,
// windows-1251 text is converted to UTF-8 before parsing; other encodings and text that contradicts its
// declaration are refused with a clear reason. Text between elements that is only whitespace is not kept.
// Every element parsed from the file knows the line of its start tag (SourceLine).
//
// Saving: a declaration naming the chosen encoding, one element per line, one tab per nesting level,
// written through a temporary file and a rename.
//
// Texts inside the DOM are UTF-8; use ElementText/SetElementText (ExchangePaths.h) to move them in and out
// as QString. Failures return false and leave the reason in LastErrorText (common/Messages.h).
#include <QByteArray>
#include <QString>

#include <pugixml.hpp>

#include <cstdint>
#include <vector>

enum class TXmlEncoding { Utf8, Cp1251 };

class ExchangeDocument {
public:
    ExchangeDocument() = default;
    ExchangeDocument(const ExchangeDocument&) = delete;
    ExchangeDocument& operator=(const ExchangeDocument&) = delete;

    // Empties the document first; on failure it stays empty.
    bool LoadFromFile(const QString& path);
    bool LoadFromBytes(const QByteArray& bytes, const QString& fileName = QString());

    // Writes the document with a declaration in the given encoding, re-indented (tab per level). Characters
    // that windows-1251 lacks are written as character references. The previous file stays on failure.
    bool SaveToFile(const QString& path, TXmlEncoding encoding = TXmlEncoding::Utf8);
    QByteArray SaveToBytes(TXmlEncoding encoding = TXmlEncoding::Utf8);

    // Emptying: no content, no file name, not active.
    void Clear();
    bool IsActive() const { return active_; }
    // The file last loaded or saved.
    const QString& FileName() const { return fileName_; }
    // The encoding the loaded text was in.
    TXmlEncoding SourceEncoding() const { return sourceEncoding_; }

    pugi::xml_node DocumentElement() const { return doc_.document_element(); }
    pugi::xml_document& Dom() { return doc_; }
    const pugi::xml_document& Dom() const { return doc_; }

    // 1-based line of the element's start tag in the loaded text; 0 for nodes made or renamed after loading.
    int SourceLine(pugi::xml_node node) const;

private:
    bool ParseOwnedBuffer(char* buffer, size_t size);

    pugi::xml_document doc_;
    bool active_ = false;
    QString fileName_;
    TXmlEncoding sourceEncoding_ = TXmlEncoding::Utf8;
    std::vector<std::uint32_t> lineEnds_; // offsets of the "\n" characters of the parsed buffer
};

// The encoding named in the declaration at the start of the text: "" when there is no declaration or it
// names none. The name is lower-cased.
QByteArray DeclaredEncoding(const QByteArray& head);
