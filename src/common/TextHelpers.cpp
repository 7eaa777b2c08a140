#include "common/TextHelpers.h"

#include "common/NumberFormat.h"

#include <QDateTime>
#include <QUuid>

QString SplitField(const QString& text, const QString& delimiter, const QString& def, int n,
                   bool prefixDelimiter) {
    if (text.isEmpty() || n == 0 || n < -1) return def;
    if (delimiter.isEmpty()) return n == 1 || n == -1 ? text : def;
    if (n == -1) {
        const qsizetype p = text.lastIndexOf(delimiter);
        return p < 0 ? text : text.mid(p + delimiter.size());
    }
    qsizetype start = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype p = text.indexOf(delimiter, start);
        if (p < 0) return def;
        start = p + delimiter.size();
    }
    const qsizetype next = text.indexOf(delimiter, start);
    const QString field = next < 0 ? text.mid(start) : text.mid(start, next - start);
    if (prefixDelimiter && !field.isEmpty()) return delimiter + field;
    return field;
}

QString ReplaceAll(const QString& text, const QString& what, const QString& with, bool repeat) {
    if (what.isEmpty()) return text;
    QString result = text;
    result.replace(what, with);
    if (repeat && !with.contains(what)) {
        while (result.contains(what))
            result.replace(what, with);
    }
    return result;
}

QStringList SplitToArray(const QString& text, const QString& delimiter) {
    if (text.isEmpty()) return {};
    if (delimiter.isEmpty()) return {text};
    return text.split(delimiter, Qt::KeepEmptyParts);
}

QStringList SplitToArrayNoLastEmpty(const QString& text, const QString& delimiter) {
    QStringList items = SplitToArray(text, delimiter);
    if (!items.isEmpty() && items.last().isEmpty()) items.removeLast();
    return items;
}

QStringList SplitToList(const QString& text, const QString& delimiter) {
    return SplitToArrayNoLastEmpty(text, delimiter);
}

QString JoinList(const QStringList& list, const QString& delimiter) {
    return list.join(delimiter);
}

QString JoinArray(const QStringList& items, int count, const QString& delimiter, bool skipEmpty) {
    QString out;
    bool any = false;
    for (int i = 0; i < count && i < items.size(); ++i) {
        if (skipEmpty && items[i].isEmpty()) continue;
        if (any || (!skipEmpty && i > 0)) out += delimiter;
        out += items[i];
        any = true;
    }
    return out;
}

void SplitOnce(const QString& text, const QString& delimiter, QString* head, QString* tail) {
    const qsizetype p = delimiter.isEmpty() ? -1 : text.indexOf(delimiter);
    if (p < 0) {
        if (head) *head = text;
        if (tail) tail->clear();
        return;
    }
    if (head) *head = text.left(p);
    if (tail) *tail = text.mid(p + delimiter.size());
}

QString TrimChars(const QString& text, const QString& set) {
    qsizetype b = 0, e = text.size();
    while (b < e && set.contains(text[b]))
        ++b;
    while (e > b && set.contains(text[e - 1]))
        --e;
    return text.mid(b, e - b);
}

int CountChar(const QString& text, QChar c) {
    return static_cast<int>(text.count(c));
}

QString ShortenMiddle(const QString& text, int limit) {
    if (text.size() < limit) return text;
    const int k = limit / 2 - 2;
    if (k < 1) return QStringLiteral("[...]");
    return text.left(k) + QStringLiteral("[...]") + text.right(k);
}

bool IsIntegerText(const QString& text) {
    if (text.isEmpty()) return false;
    qsizetype i = 0;
    if (text[0] == '-') {
        if (text.size() < 2) return false;
        i = 1;
    }
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

bool IsNumberText(const QString& text) {
    if (text.isEmpty()) return false;
    qsizetype i = 0;
    if (text[0] == '-') i = 1;
    if (i >= text.size()) return false;
    int dots = 0;
    const qsizetype first = i;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '.') {
            if (++dots > 1 || i == first || i == text.size() - 1) return false;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

qint64 TextToIntOrZero(const QString& text) {
    if (!IsIntegerText(text)) return 0;
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    return ok ? v : 0;
}

double TextToFloatOrZero(const QString& text) {
    if (!IsNumberText(text)) return 0;
    bool ok = false;
    const double v = ParseNumber(text, &ok);
    return ok ? v : 0;
}

namespace {
// A linear congruential generator with a fixed initial state (seed 0), so that values drawn before
// Randomize are the same on every start.
quint32 g_seed = 0;
} // namespace

void ResetRandomGenerator() {
    g_seed = 0;
}

void Randomize() {
    g_seed = static_cast<quint32>(QDateTime::currentMSecsSinceEpoch() * 1103515245ull +
                                  QDateTime::currentMSecsSinceEpoch() / 7);
}

int RandomInt(int range) {
    if (range <= 0) return 0;
    g_seed = g_seed * 134775813u + 1u;
    return static_cast<int>((static_cast<quint64>(g_seed) * static_cast<quint64>(range)) >> 32);
}

QString RandomDigits(int n) {
    QString out;
    for (int i = 0; i < n; ++i)
        out += QChar('0' + RandomInt(100) % 9);
    return out;
}

QString NewGuidText() {
    const QUuid id = QUuid::createUuid();
    if (id.isNull()) return {};
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QStringList ArgsToTexts(std::initializer_list<QVariant> values) {
    QStringList out;
    for (const QVariant& v : values) {
        switch (v.typeId()) {
        case QMetaType::Bool:
            out << (v.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            out << FormatGeneral(v.toDouble());
            break;
        case QMetaType::QChar:
            out << QString(v.toChar());
            break;
        default:
            out << v.toString();
            break;
        }
    }
    return out;
}
