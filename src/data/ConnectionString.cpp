#include "data/ConnectionString.h"

#include "common/CodePage.h"
#include "common/Files.h"
#include "common/Ini.h"

#include <array>

const QString kConnectionFileMain = QStringLiteral("connection_db.string");
const QString kConnectionFileRef = QStringLiteral("connection_ref.string");
const QString kDefaultConnectionMain = QStringLiteral("Provider=QSQLITE;Data Source=data.db");
const QString kDefaultConnectionRef = QStringLiteral("Provider=QSQLITE;Data Source=ref.db");

namespace {

constexpr std::array<quint8, 160> kKey = {
    8,   213, 15,  177, 33,  70,  222, 96,  90,  58,  92,  193, 89,  189, 51,  100, 139, 132, 90,  177,
    38,  144, 155, 124, 178, 93,  209, 44,  74,  7,   97,  138, 18,  80,  16,  214, 136, 136, 47,  240,
    17,  84,  178, 199, 238, 206, 107, 39,  36,  56,  113, 254, 253, 184, 127, 235, 229, 96,  51,  30,
    73,  143, 22,  23,  65,  115, 194, 247, 6,   128, 254, 123, 189, 34,  148, 20,  251, 132, 221, 131,
    44,  26,  123, 35,  105, 122, 96,  140, 199, 101, 62,  134, 51,  211, 62,  70,  222, 200, 100, 152,
    57,  218, 236, 230, 198, 24,  143, 28,  14,  135, 249, 129, 8,   221, 167, 48,  195, 176, 34,  77,
    236, 127, 189, 45,  41,  57,  122, 36,  29,  255, 243, 181, 201, 217, 183, 166, 185, 111, 90,  57,
    227, 118, 173, 66,  145, 154, 204, 38,  34,  98,  101, 236, 93,  193, 67,  47,  21,  193, 12,  28,
};

} // namespace

QByteArray ScrambleConnectionString(const QString& text) {
    QByteArray bytes = ToCp1251(text);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(quint8(quint8(bytes[i]) + kKey[size_t(i % 160)]));
    return bytes;
}

QString UnscrambleConnectionString(const QByteArray& scrambled) {
    QByteArray bytes = scrambled;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(quint8(quint8(bytes[i]) - kKey[size_t(i % 160)]));
    return FromCp1251(bytes);
}

QString ReadConnectionFile(const QString& file) {
    bool ok = false;
    const QByteArray bytes = ReadFileBytes(IniResolvePath(file), &ok);
    return ok ? UnscrambleConnectionString(bytes) : QString();
}

bool WriteConnectionFile(const QString& file, const QString& connectionString, QString* error) {
    return WriteFileAtomic(IniResolvePath(file), ScrambleConnectionString(connectionString), error);
}

TConnectionParams::TConnectionParams(const QString& connectionString) {
    const QString& s = connectionString;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype eq = s.indexOf('=', i);
        if (eq < 0) break;
        const QString key = s.mid(i, eq - i).trimmed().toLower();
        qsizetype j = eq + 1;
        while (j < s.size() && s[j] == ' ')
            ++j;
        QString value;
        if (j < s.size() && (s[j] == '"' || s[j] == '\'')) {
            const QChar quote = s[j];
            qsizetype end = s.indexOf(quote, j + 1);
            if (end < 0) end = s.size();
            value = s.mid(j + 1, end - j - 1);
            j = s.indexOf(';', end);
            if (j < 0) j = s.size();
        } else {
            qsizetype end = s.indexOf(';', j);
            if (end < 0) end = s.size();
            value = s.mid(j, end - j).trimmed();
            j = end;
        }
        if (!key.isEmpty() && !values_.contains(key)) values_.insert(key, value);
        i = j + 1;
    }
}

QString TConnectionParams::Value(std::initializer_list<const char*> names) const {
    for (const char* n : names) {
        const auto it = values_.constFind(QString::fromLatin1(n).toLower());
        if (it != values_.constEnd()) return it.value();
    }
    return {};
}
