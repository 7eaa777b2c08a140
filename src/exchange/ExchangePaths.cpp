#include "exchange/ExchangePaths.h"

#include "common/Messages.h"
#include "common/TextHelpers.h"

#include <charconv>
#include <cstring>

namespace {

const QString kReadFailure = QStringLiteral(": Неможливо считування блоку");
const QString kWriteFailure = QStringLiteral(": Помилка запису блоку");

bool SameNameNoCase(const char* a, const QByteArray& b) {
    const size_t n = std::strlen(a);
    if (n != size_t(b.size())) return false;
    for (size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[qsizetype(i)];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

struct TPathStep {
    QByteArray name;
    int number = 0; // 0: plain name
    bool valid = true;
};

TPathStep ParseStep(const QString& item) {
    TPathStep step;
    const qsizetype hash = item.indexOf('#');
    if (hash < 0) {
        step.name = item.toUtf8();
        return step;
    }
    step.name = item.left(hash).toUtf8();
    const QString digits = item.mid(hash + 1);
    bool ok = false;
    const int n = IsIntegerText(digits) ? digits.toInt(&ok) : 0;
    step.valid = ok;
    step.number = ok ? n : 0;
    if (ok && n < 1) step.valid = false; // there is no 0th or negative element
    return step;
}

pugi::xml_node NthNamed(pugi::xml_node parent, const QByteArray& name, int n) {
    int seen = 0;
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
        if (c.type() == pugi::node_element && SameNameNoCase(c.name(), name) && ++seen == n) return c;
    }
    return pugi::xml_node();
}

pugi::xml_node StepInto(pugi::xml_node node, const TPathStep& step) {
    if (!step.valid) return pugi::xml_node();
    if (step.number == 0) return node.child(step.name.constData());
    return NthNamed(node, step.name, step.number);
}

void AppendText(pugi::xml_node node, QByteArray* out) {
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        switch (c.type()) {
        case pugi::node_pcdata:
        case pugi::node_cdata:
            out->append(c.value());
            break;
        case pugi::node_element:
            AppendText(c, out);
            break;
        default:
            break;
        }
    }
}

} // namespace

QStringList SplitPath(const QString& text) {
    return text.split('\\', Qt::SkipEmptyParts);
}

QString JoinPath(const QStringList& prefix, const QStringList& path) {
    QString text = prefix.join('\\');
    if (!prefix.isEmpty()) text += '\\';
    return text + path.join('\\');
}

pugi::xml_node FindNodeAtPath(pugi::xml_node start, const QStringList& prefix, const QStringList& path) {
    LastErrorText.clear();
    pugi::xml_node node = start;
    for (const QString& item : path) {
        if (!node) break;
        node = StepInto(node, ParseStep(item));
    }
    if (!node) LastErrorText = JoinPath(prefix, path) + kReadFailure;
    return node;
}

QString ReadValuesAtPath(pugi::xml_node start, const QStringList& prefix, const QStringList& path,
                         const QStringList& leaves, const QString& separator, bool skipEmpty) {
    LastErrorText.clear();
    pugi::xml_node node = FindNodeAtPath(start, prefix, path);
    if (!node) {
        QString text = JoinPath(prefix, path);
        if (!path.isEmpty()) text += '\\';
        LastErrorText = text + leaves.join('+') + kReadFailure;
        return QString();
    }
    LastErrorText.clear();
    QString result;
    for (qsizetype i = 0; i < leaves.size(); ++i) {
        QString leaf = leaves.at(i);
        const bool emptyWhenMissing = leaf.startsWith('-');
        if (emptyWhenMissing) leaf.remove(0, 1);
        const pugi::xml_node child = StepInto(node, ParseStep(leaf));
        QString value;
        if (child) {
            value = ElementText(child);
        } else if (!emptyWhenMissing) {
            continue;
        }
        if (skipEmpty && value.isEmpty()) continue;
        if (i > 0) result += separator;
        result += value;
    }
    return result;
}

pugi::xml_node WriteValueAtPath(pugi::xml_node start, const QStringList& prefix, const QStringList& path,
                                const QString& value) {
    LastErrorText.clear();
    pugi::xml_node node = start;
    for (const QString& item : path) {
        if (!node) break;
        const TPathStep step = ParseStep(item);
        if (step.number == 0 || !step.valid) {
            node = StepInto(node, step);
            continue;
        }
        pugi::xml_node first, last;
        int count = 0;
        for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element || !SameNameNoCase(c.name(), step.name)) continue;
            if (!first) first = c;
            last = c;
            if (++count == step.number) break;
        }
        if (count == 0) {
            node = pugi::xml_node();
        } else if (count < step.number) {
            node = node.insert_copy_after(first, last);
        } else {
            node = last;
        }
    }
    if (!node) {
        LastErrorText = JoinPath(prefix, path) + kWriteFailure;
        return pugi::xml_node();
    }
    SetElementText(node, value);
    return node;
}

QStringList ElementPathOf(pugi::xml_node element) {
    QStringList path;
    for (pugi::xml_node n = element; n && n.parent() && n.parent().type() == pugi::node_element;
         n = n.parent())
        path.prepend(ElementName(n));
    return path;
}

pugi::xml_node NthChildNamed(pugi::xml_node parent, const QString& name, int n) {
    return n < 1 ? pugi::xml_node() : NthNamed(parent, name.toUtf8(), n);
}

int CountChildrenNamed(pugi::xml_node parent, const QString& name) {
    const QByteArray n = name.toUtf8();
    int count = 0;
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && SameNameNoCase(c.name(), n)) ++count;
    return count;
}

QString ElementText(pugi::xml_node element) {
    if (!element) return QString();
    const pugi::xml_node first = element.first_child();
    if (first && !first.next_sibling() &&
        (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return QString::fromUtf8(first.value());
    QByteArray text;
    AppendText(element, &text);
    return QString::fromUtf8(text);
}

bool ElementDouble(pugi::xml_node element, double* value) {
    const pugi::xml_node first = element.first_child();
    if (!first || first.next_sibling() ||
        (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata))
        return false;
    const char* begin = first.value();
    const char* end = begin + std::strlen(begin);
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (begin < end && space(*begin))
        ++begin;
    while (end > begin && space(end[-1]))
        --end;
    if (begin < end && *begin == '+') return false;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, v, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || begin == end) return false;
    *value = v;
    return true;
}

void SetElementText(pugi::xml_node element, const QString& text) {
    if (!element) return;
    while (pugi::xml_node c = element.first_child())
        element.remove_child(c);
    if (!text.isEmpty()) element.append_child(pugi::node_pcdata).set_value(text.toUtf8().constData());
}

QString ElementName(pugi::xml_node element) {
    return QString::fromUtf8(element.name());
}
