#include "exchange/ExchangeDocument.h"

#include "common/CodePage.h"
#include "common/Files.h"
#include "common/Messages.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace {

constexpr unsigned kParseFlags =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_comments | pugi::parse_pi;

enum class TSourceKind { Utf8, Cp1251, Unsupported };

TSourceKind KindOf(const QByteArray& name) {
    if (name.isEmpty() || name == "utf-8" || name == "utf8" || name == "us-ascii" || name == "ascii")
        return TSourceKind::Utf8;
    if (name == "windows-1251" || name == "cp1251" || name == "x-cp1251" || name == "win-1251" ||
        name == "cp-1251")
        return TSourceKind::Cp1251;
    return TSourceKind::Unsupported;
}

// UTF-8 encodings of the 256 windows-1251 bytes, and the reverse map for the BMP.
struct TCp1251Tables {
    std::array<std::array<char, 4>, 256> toUtf8{}; // [0] = length, then the bytes
    std::vector<unsigned char> fromUnicode;        // 0 = not in the code page
    TCp1251Tables() : fromUnicode(0x10000, 0) {
        QByteArray all(256, '\0');
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = FromCp1251(all);
        for (int i = 0; i < 256 && i < text.size(); ++i) {
            const char16_t u = text.at(i).unicode();
            const QByteArray enc = QString(QChar(u)).toUtf8();
            toUtf8[i][0] = char(enc.size());
            for (int k = 0; k < enc.size() && k < 3; ++k)
                toUtf8[i][k + 1] = enc.at(k);
            if (u != 0xFFFD && fromUnicode[u] == 0) fromUnicode[u] = static_cast<unsigned char>(i);
        }
    }
};

const TCp1251Tables& Tables() {
    static const TCp1251Tables tables;
    return tables;
}

// Converts windows-1251 bytes into a buffer allocated with pugixml's allocator.
char* Cp1251ToUtf8Buffer(const char* data, size_t size, size_t* outSize) {
    const auto& t = Tables();
    size_t n = 0;
    for (size_t i = 0; i < size; ++i)
        n += size_t(t.toUtf8[static_cast<unsigned char>(data[i])][0]);
    char* out = static_cast<char*>(pugi::get_memory_allocation_function()(n ? n : 1));
    if (!out) return nullptr;
    char* w = out;
    for (size_t i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        if (c < 0x80) {
            *w++ = char(c);
        } else {
            const auto& e = t.toUtf8[c];
            for (int k = 0; k < e[0]; ++k)
                *w++ = e[k + 1];
        }
    }
    *outSize = n;
    return out;
}

QByteArray Utf8ToCp1251(const QByteArray& utf8) {
    const auto& t = Tables();
    const QString text = QString::fromUtf8(utf8);
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u < 0x80) {
            out.append(char(u));
            continue;
        }
        const unsigned char b = t.fromUnicode[u];
        if (b) {
            out.append(char(b));
            continue;
        }
        char32_t code = u;
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(u, text.at(i + 1).unicode());
            ++i;
        }
        out.append("&#").append(QByteArray::number(quint32(code))).append(';');
    }
    return out;
}

// Offset of the first byte that breaks UTF-8, or -1.
qsizetype FirstInvalidUtf8(const char* data, size_t size, bool* multiByte) {
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    size_t i = 0;
    bool multi = false;
    while (i < size) {
        // Plain ASCII runs, eight bytes at a time.
        while (i + 8 <= size) {
            std::uint64_t chunk;
            std::memcpy(&chunk, s + i, 8);
            if (chunk & 0x8080808080808080ULL) break;
            i += 8;
        }
        if (i >= size) break;
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        multi = true;
        size_t len;
        char32_t min;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) {
            len = 2, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, min = 0x10000, cp = c & 0x07;
        } else {
            return qsizetype(i);
        }
        if (i + len > size) return qsizetype(i);
        for (size_t k = 1; k < len; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return qsizetype(i);
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return qsizetype(i);
        i += len;
    }
    if (multiByte) *multiByte = multi;
    return -1;
}

int LineAt(const char* data, size_t offset) {
    int line = 1;
    for (size_t i = 0; i < offset; ++i)
        if (data[i] == '\n') ++line;
    return line;
}

QString ParseStatusText(pugi::xml_parse_status status) {
    switch (status) {
    case pugi::status_out_of_memory:
        return QStringLiteral("недостатньо пам'яті");
    case pugi::status_unrecognized_tag:
        return QStringLiteral("нерозпізнаний тег");
    case pugi::status_bad_pi:
        return QStringLiteral("помилка в заголовку XML або інструкції обробки");
    case pugi::status_bad_comment:
        return QStringLiteral("помилка в коментарі");
    case pugi::status_bad_cdata:
        return QStringLiteral("помилка в розділі CDATA");
    case pugi::status_bad_doctype:
        return QStringLiteral("помилка в оголошенні типу документа");
    case pugi::status_bad_pcdata:
        return QStringLiteral("помилка в тексті елемента");
    case pugi::status_bad_start_element:
        return QStringLiteral("помилка в початковому тезі елемента");
    case pugi::status_bad_attribute:
        return QStringLiteral("помилка в атрибуті елемента");
    case pugi::status_bad_end_element:
        return QStringLiteral("помилка в кінцевому тезі елемента");
    case pugi::status_end_element_mismatch:
        return QStringLiteral("кінцевий тег не відповідає початковому");
    case pugi::status_no_document_element:
        return QStringLiteral("документ не містить кореневого елемента");
    default:
        return QStringLiteral("документ не є правильним XML");
    }
}

class TByteWriter : public pugi::xml_writer {
public:
    explicit TByteWriter(QByteArray* out) : out_(out) {}
    void write(const void* data, size_t size) override {
        out_->append(static_cast<const char*>(data), qsizetype(size));
    }

private:
    QByteArray* out_;
};

} // namespace

QByteArray DeclaredEncoding(const QByteArray& head) {
    if (!head.startsWith("<?xml")) return QByteArray();
    const qsizetype end = head.indexOf("?>");
    const QByteArray decl = end < 0 ? head : head.left(end);
    const qsizetype at = decl.indexOf("encoding");
    if (at < 0) return QByteArray();
    qsizetype i = at + 8;
    while (i < decl.size() && (decl[i] == ' ' || decl[i] == '\t' || decl[i] == '\r' || decl[i] == '\n'))
        ++i;
    if (i >= decl.size() || decl[i] != '=') return QByteArray();
    ++i;
    while (i < decl.size() && (decl[i] == ' ' || decl[i] == '\t' || decl[i] == '\r' || decl[i] == '\n'))
        ++i;
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return QByteArray();
    const char quote = decl[i];
    const qsizetype close = decl.indexOf(quote, i + 1);
    if (close < 0) return QByteArray();
    return decl.mid(i + 1, close - i - 1).trimmed().toLower();
}

void ExchangeDocument::Clear() {
    doc_.reset();
    active_ = false;
    fileName_.clear();
    sourceEncoding_ = TXmlEncoding::Utf8;
    lineEnds_.clear();
    lineEnds_.shrink_to_fit();
}

bool ExchangeDocument::LoadFromFile(const QString& path) {
    Clear();
    LastErrorText.clear();
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        LastErrorText = QStringLiteral("Файл \"%1\" не знайдено.").arg(path);
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        LastErrorText = QStringLiteral("Не вдалося відкрити файл \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    const qint64 size = file.size();
    char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size_t(size > 0 ? size : 1)));
    if (!buffer) {
        LastErrorText = QStringLiteral("Недостатньо пам'яті для файлу \"%1\".").arg(path);
        return false;
    }
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(buffer + got, size - got);
        if (n <= 0) break;
        got += n;
    }
    if (got != size) {
        pugi::get_memory_deallocation_function()(buffer);
        LastErrorText = QStringLiteral("Не вдалося прочитати файл \"%1\": %2").arg(path, file.errorString());
        return false;
    }
    file.close();
    if (!ParseOwnedBuffer(buffer, size_t(size))) return false;
    fileName_ = path;
    return true;
}

bool ExchangeDocument::LoadFromBytes(const QByteArray& bytes, const QString& fileName) {
    Clear();
    LastErrorText.clear();
    const size_t size = size_t(bytes.size());
    char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size ? size : 1));
    if (!buffer) {
        LastErrorText = QStringLiteral("Недостатньо пам'яті.");
        return false;
    }
    std::memcpy(buffer, bytes.constData(), size);
    if (!ParseOwnedBuffer(buffer, size)) return false;
    fileName_ = fileName;
    return true;
}

// Takes ownership of the buffer (allocated with pugixml's allocator) in every case.
bool ExchangeDocument::ParseOwnedBuffer(char* buffer, size_t size) {
    auto release = [](char* p) { pugi::get_memory_deallocation_function()(p); };
    std::unique_ptr<char, decltype(release)> owned(buffer, release);

    bool bom = false;
    if (size >= 3 && std::memcmp(buffer, "\xEF\xBB\xBF", 3) == 0) {
        std::memmove(buffer, buffer + 3, size - 3);
        size -= 3;
        bom = true;
    } else if (size >= 2 &&
               (std::memcmp(buffer, "\xFF\xFE", 2) == 0 || std::memcmp(buffer, "\xFE\xFF", 2) == 0)) {
        LastErrorText = QStringLiteral("Непідтримуване кодування файлу: UTF-16.");
        return false;
    }
    const QByteArray declared = DeclaredEncoding(QByteArray(buffer, qsizetype(std::min<size_t>(size, 512))));
    const TSourceKind kind = KindOf(declared);
    if (kind == TSourceKind::Unsupported) {
        LastErrorText =
            QStringLiteral("Непідтримуване кодування файлу: %1.").arg(QString::fromLatin1(declared));
        return false;
    }
    if (bom && kind != TSourceKind::Utf8) {
        LastErrorText =
            QStringLiteral("Файл має позначку кодування UTF-8, а заголовок XML вказує кодування %1.")
                .arg(QString::fromLatin1(declared));
        return false;
    }
    bool multiByte = false;
    const qsizetype bad = FirstInvalidUtf8(buffer, size, &multiByte);
    if (kind == TSourceKind::Utf8) {
        if (bad >= 0) {
            const int line = LineAt(buffer, size_t(bad));
            LastErrorText =
                declared.isEmpty()
                    ? QStringLiteral("Файл без заголовка XML має бути в кодуванні UTF-8, але його вміст не є "
                                     "текстом UTF-8 (рядок %1).")
                          .arg(line)
                    : QStringLiteral("Вміст файлу не відповідає кодуванню UTF-8, вказаному в заголовку XML "
                                     "(рядок %1).")
                          .arg(line);
            return false;
        }
        sourceEncoding_ = TXmlEncoding::Utf8;
    } else {
        // Cyrillic windows-1251 text is practically never valid UTF-8; text that is, with letters beyond
        // ASCII, was written in UTF-8 under a wrong declaration.
        if (bad < 0 && multiByte) {
            LastErrorText = QStringLiteral("Вміст файлу не відповідає кодуванню windows-1251, вказаному в "
                                           "заголовку XML: текст записаний у кодуванні UTF-8.");
            return false;
        }
        size_t converted = 0;
        char* utf8 = Cp1251ToUtf8Buffer(buffer, size, &converted);
        if (!utf8) {
            LastErrorText = QStringLiteral("Недостатньо пам'яті.");
            return false;
        }
        owned.reset(utf8);
        buffer = utf8;
        size = converted;
        sourceEncoding_ = TXmlEncoding::Cp1251;
    }

    lineEnds_.clear();
    for (const char* p = buffer; p < buffer + size;) {
        const void* nl = std::memchr(p, '\n', size_t(buffer + size - p));
        if (!nl) break;
        const char* at = static_cast<const char*>(nl);
        lineEnds_.push_back(std::uint32_t(at - buffer));
        p = at + 1;
    }

    const pugi::xml_parse_result result =
        doc_.load_buffer_inplace_own(owned.release(), size, kParseFlags, pugi::encoding_utf8);
    if (!result) {
        // The buffer now belongs to the document; the offset is the parser's position in it.
        const auto offset = std::uint32_t(std::max<ptrdiff_t>(result.offset, 0));
        const int line =
            int(std::lower_bound(lineEnds_.begin(), lineEnds_.end(), offset) - lineEnds_.begin()) + 1;
        LastErrorText = QStringLiteral("Помилка розбору XML (рядок %1): %2.")
                            .arg(line)
                            .arg(ParseStatusText(result.status));
        doc_.reset();
        lineEnds_.clear();
        return false;
    }
    active_ = true;
    return true;
}

int ExchangeDocument::SourceLine(pugi::xml_node node) const {
    if (!node || !active_) return 0;
    const ptrdiff_t offset = node.offset_debug();
    if (offset < 0) return 0;
    return int(std::lower_bound(lineEnds_.begin(), lineEnds_.end(), std::uint32_t(offset)) -
               lineEnds_.begin()) +
           1;
}

QByteArray ExchangeDocument::SaveToBytes(TXmlEncoding encoding) {
    pugi::xml_node decl = doc_.first_child();
    if (decl.type() != pugi::node_declaration) decl = doc_.prepend_child(pugi::node_declaration);
    if (!decl.attribute("version")) decl.prepend_attribute("version");
    decl.attribute("version").set_value("1.0");
    if (!decl.attribute("encoding")) decl.insert_attribute_after("encoding", decl.attribute("version"));
    decl.attribute("encoding").set_value(encoding == TXmlEncoding::Utf8 ? "UTF-8" : "windows-1251");

    QByteArray out;
    TByteWriter writer(&out);
    doc_.save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
    if (encoding == TXmlEncoding::Cp1251) return Utf8ToCp1251(out);
    return out;
}

bool ExchangeDocument::SaveToFile(const QString& path, TXmlEncoding encoding) {
    LastErrorText.clear();
    QString error;
    if (!WriteFileAtomic(path, SaveToBytes(encoding), &error)) {
        LastErrorText = QStringLiteral("Не вдалося записати файл \"%1\": %2").arg(path, error);
        return false;
    }
    fileName_ = path;
    return true;
}
