#include "map/MapExpression.h"

#include "common/CodePage.h"
#include "common/NumberFormat.h"

#include <cmath>
#include <vector>

struct TMapExpression::Node {
    enum Kind { Number, Text, Field, Object, Neg, Add, Sub, Mul, Div, Call } kind = Number;
    double number = 0;
    QString text; // literal text or function name (lower case)
    int field = -1;
    std::vector<std::shared_ptr<Node>> args;
};

namespace {

using Node = TMapExpression::Node;
using NodePtr = std::shared_ptr<Node>;

QString Refused(const QString& text, const QString& why) {
    return QStringLiteral("Вираз \"%1\" не підтримується: %2").arg(text, why);
}

struct Token {
    enum Kind { End, Number, Text, Name, Op } kind = End;
    QString text;
    double number = 0;
};

class Parser {
public:
    Parser(const QString& text, const std::function<int(const QString&)>& fieldIndex)
        : src_(text), fieldIndex_(fieldIndex) {
        Next();
    }

    NodePtr ParseAll() {
        NodePtr n = ParseSum();
        if (tok_.kind != Token::End) Fail(QStringLiteral("зайвий текст \"%1\"").arg(tok_.text));
        CheckObjects(*n);
        return n;
    }

private:
    // obj may only stand as the first argument of a geometry function.
    void CheckObjects(const Node& n) {
        if (n.kind == Node::Object) Fail(QStringLiteral("obj поза функцією геометрії"));
        for (size_t i = 0; i < n.args.size(); ++i) {
            if (n.kind == Node::Call && i == 0 && n.args[i]->kind == Node::Object) continue;
            CheckObjects(*n.args[i]);
        }
    }

    [[noreturn]] void Fail(const QString& why) { throw TMapError(Refused(src_, why)); }

    void Next() {
        while (pos_ < src_.size() && src_[pos_].isSpace())
            ++pos_;
        tok_ = Token{};
        if (pos_ >= src_.size()) return;
        const QChar c = src_[pos_];
        if (c.isDigit() || (c == '.' && pos_ + 1 < src_.size() && src_[pos_ + 1].isDigit())) {
            int start = pos_;
            while (pos_ < src_.size() && (src_[pos_].isDigit() || src_[pos_] == '.'))
                ++pos_;
            bool ok = false;
            QString t = src_.mid(start, pos_ - start);
            if (t.startsWith('.')) t.prepend('0');
            tok_.number = ParseNumber(t, &ok);
            if (!ok) Fail(QStringLiteral("число \"%1\"").arg(t));
            tok_.kind = Token::Number;
            tok_.text = t;
            return;
        }
        if (c == '"') {
            QString t;
            ++pos_;
            for (;;) {
                if (pos_ >= src_.size()) Fail(QStringLiteral("незакритий текст"));
                if (src_[pos_] == '"') {
                    if (pos_ + 1 < src_.size() && src_[pos_ + 1] == '"') {
                        t += '"';
                        pos_ += 2;
                        continue;
                    }
                    ++pos_;
                    break;
                }
                t += src_[pos_++];
            }
            tok_.kind = Token::Text;
            tok_.text = t;
            return;
        }
        if (c.isLetter() || c == '_') {
            int start = pos_;
            while (pos_ < src_.size() && (src_[pos_].isLetterOrNumber() || src_[pos_] == '_'))
                ++pos_;
            if (pos_ < src_.size() && src_[pos_] == '$') ++pos_;
            tok_.kind = Token::Name;
            tok_.text = src_.mid(start, pos_ - start);
            return;
        }
        if (QStringLiteral("+-*/(),").contains(c)) {
            tok_.kind = Token::Op;
            tok_.text = QString(c);
            ++pos_;
            return;
        }
        Fail(QStringLiteral("символ \"%1\"").arg(c));
    }

    bool IsOp(const char* op) const { return tok_.kind == Token::Op && tok_.text == QLatin1String(op); }

    void Expect(const char* op) {
        if (!IsOp(op)) Fail(QStringLiteral("очікується \"%1\"").arg(QLatin1String(op)));
        Next();
    }

    NodePtr Binary(Node::Kind kind, NodePtr a, NodePtr b) {
        auto n = std::make_shared<Node>();
        n->kind = kind;
        n->args = {std::move(a), std::move(b)};
        return n;
    }

    NodePtr ParseSum() {
        NodePtr left = ParseProduct();
        while (IsOp("+") || IsOp("-")) {
            const Node::Kind k = IsOp("+") ? Node::Add : Node::Sub;
            Next();
            left = Binary(k, left, ParseProduct());
        }
        return left;
    }

    NodePtr ParseProduct() {
        NodePtr left = ParseUnary();
        while (IsOp("*") || IsOp("/")) {
            const Node::Kind k = IsOp("*") ? Node::Mul : Node::Div;
            Next();
            left = Binary(k, left, ParseUnary());
        }
        return left;
    }

    NodePtr ParseUnary() {
        if (IsOp("-")) {
            Next();
            auto n = std::make_shared<Node>();
            n->kind = Node::Neg;
            n->args = {ParseUnary()};
            return n;
        }
        if (IsOp("+")) {
            Next();
            return ParseUnary();
        }
        return ParsePrimary();
    }

    NodePtr ParsePrimary() {
        auto n = std::make_shared<Node>();
        switch (tok_.kind) {
        case Token::Number:
            n->kind = Node::Number;
            n->number = tok_.number;
            Next();
            return n;
        case Token::Text:
            n->kind = Node::Text;
            n->text = tok_.text;
            Next();
            return n;
        case Token::Op:
            if (IsOp("(")) {
                Next();
                NodePtr inner = ParseSum();
                Expect(")");
                return inner;
            }
            Fail(QStringLiteral("оператор \"%1\"").arg(tok_.text));
        case Token::End:
            Fail(QStringLiteral("неочікуваний кінець"));
        case Token::Name:
            break;
        }
        const QString name = tok_.text;
        Next();
        if (IsOp("(")) return ParseCall(name);
        if (name.compare(QLatin1String("obj"), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String("object"), Qt::CaseInsensitive) == 0) {
            n->kind = Node::Object;
            return n;
        }
        const int field = fieldIndex_ ? fieldIndex_(name) : -1;
        if (field < 0) Fail(QStringLiteral("невідоме ім'я \"%1\"").arg(name));
        n->kind = Node::Field;
        n->field = field;
        return n;
    }

    NodePtr ParseCall(const QString& name) {
        struct Fn {
            const char* name;
            int minArgs, maxArgs;
            bool geometry; // first argument is obj
        };
        static const Fn kFunctions[] = {
            {"chr$", 1, 1, false},     {"str$", 1, 1, false},     {"round", 1, 2, false},
            {"left$", 2, 2, false},    {"right$", 2, 2, false},   {"mid$", 3, 3, false},
            {"ucase$", 1, 1, false},   {"lcase$", 1, 1, false},   {"area", 1, 2, true},
            {"perimeter", 1, 2, true}, {"objectlen", 1, 2, true}, {"centroidx", 1, 1, true},
            {"centroidy", 1, 1, true},
        };
        const QString lower = name.toLower();
        const Fn* fn = nullptr;
        for (const Fn& f : kFunctions)
            if (lower == QLatin1String(f.name)) fn = &f;
        if (!fn) Fail(QStringLiteral("функція \"%1\"").arg(name));
        Expect("(");
        auto n = std::make_shared<Node>();
        n->kind = Node::Call;
        n->text = lower;
        if (!IsOp(")")) {
            n->args.push_back(ParseSum());
            while (IsOp(",")) {
                Next();
                n->args.push_back(ParseSum());
            }
        }
        Expect(")");
        const int count = static_cast<int>(n->args.size());
        if (count < fn->minArgs || count > fn->maxArgs)
            Fail(QStringLiteral("кількість аргументів функції \"%1\"").arg(name));
        for (int i = 0; i < count; ++i) {
            const bool isObj = n->args[i]->kind == Node::Object;
            if (fn->geometry && i == 0 && !isObj)
                Fail(QStringLiteral("функція \"%1\" потребує obj").arg(name));
            if (isObj && !(fn->geometry && i == 0)) Fail(QStringLiteral("obj поза функцією геометрії"));
        }
        if (fn->geometry && count == 2) {
            // The unit must be a known literal.
            const NodePtr& unit = n->args[1];
            TMapUnit lu;
            TAreaUnit au;
            if (unit->kind != Node::Text) Fail(QStringLiteral("одиниця виміру має бути текстом"));
            const bool known = lower == QLatin1String("area") ? AreaUnitFromName(unit->text, &au)
                                                              : MapUnitFromName(unit->text, &lu);
            if (!known) Fail(QStringLiteral("одиниця виміру \"%1\"").arg(unit->text));
        }
        return n;
    }

    QString src_;
    std::function<int(const QString&)> fieldIndex_;
    int pos_ = 0;
    Token tok_;
};

bool IsText(const QVariant& v) {
    return v.typeId() == QMetaType::QString;
}

double ToNumber(const QVariant& v) {
    if (IsText(v)) {
        bool ok = false;
        const double d = ParseNumber(v.toString().trimmed(), &ok, true);
        return ok ? d : 0.0;
    }
    if (!v.isValid() || v.isNull()) return 0.0;
    return v.toDouble();
}

QString ToText(const QVariant& v) {
    if (IsText(v)) return v.toString();
    if (!v.isValid() || v.isNull()) return QString();
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    return FormatGeneral(v.toDouble());
}

QVariant Eval(const Node& n, const TMapFeature& f, const std::function<QVariant(int)>& field) {
    auto arg = [&](int i) { return Eval(*n.args[i], f, field); };
    switch (n.kind) {
    case Node::Number:
        return n.number;
    case Node::Text:
        return n.text;
    case Node::Field: {
        const QVariant v = field ? field(n.field) : QVariant();
        if (IsText(v)) return v;
        if (!v.isValid() || v.isNull()) return QString();
        if (v.typeId() == QMetaType::Bool) return ToText(v);
        return v.toDouble();
    }
    case Node::Object:
        return QVariant();
    case Node::Neg:
        return -ToNumber(arg(0));
    case Node::Add: {
        const QVariant a = arg(0), b = arg(1);
        if (IsText(a) || IsText(b)) return ToText(a) + ToText(b);
        return ToNumber(a) + ToNumber(b);
    }
    case Node::Sub:
        return ToNumber(arg(0)) - ToNumber(arg(1));
    case Node::Mul:
        return ToNumber(arg(0)) * ToNumber(arg(1));
    case Node::Div: {
        const double d = ToNumber(arg(1));
        if (d == 0) throw TMapError(QStringLiteral("Ділення на нуль у виразі"));
        return ToNumber(arg(0)) / d;
    }
    case Node::Call:
        break;
    }
    const QString& fn = n.text;
    if (fn == QLatin1String("chr$")) {
        const int code = static_cast<int>(ToNumber(arg(0)));
        if (code >= 128 && code <= 255) return FromCp1251(QByteArray(1, static_cast<char>(code)));
        return QString(QChar(code));
    }
    if (fn == QLatin1String("str$")) return ToText(arg(0));
    if (fn == QLatin1String("round")) {
        const double v = ToNumber(arg(0));
        const double step = n.args.size() > 1 ? ToNumber(arg(1)) : 1.0;
        if (step == 0) return v;
        return std::round(v / step) * step;
    }
    if (fn == QLatin1String("left$"))
        return ToText(arg(0)).left(std::max(0, static_cast<int>(ToNumber(arg(1)))));
    if (fn == QLatin1String("right$"))
        return ToText(arg(0)).right(std::max(0, static_cast<int>(ToNumber(arg(1)))));
    if (fn == QLatin1String("mid$")) {
        const int start = std::max(1, static_cast<int>(ToNumber(arg(1))));
        const int count = std::max(0, static_cast<int>(ToNumber(arg(2))));
        return ToText(arg(0)).mid(start - 1, count);
    }
    if (fn == QLatin1String("ucase$")) return ToText(arg(0)).toUpper();
    if (fn == QLatin1String("lcase$")) return ToText(arg(0)).toLower();
    const QString unit = n.args.size() > 1 ? n.args[1]->text : QString();
    if (fn == QLatin1String("area")) {
        TAreaUnit u = TAreaUnit::SquareMetre;
        if (!unit.isEmpty()) AreaUnitFromName(unit, &u);
        return f.Area() / SquareMetresPerUnit(u);
    }
    TMapUnit u = TMapUnit::Metre;
    if (!unit.isEmpty()) MapUnitFromName(unit, &u);
    if (fn == QLatin1String("perimeter")) return f.Perimeter() / MetresPerUnit(u);
    if (fn == QLatin1String("objectlen")) return f.Length() / MetresPerUnit(u);
    if (fn == QLatin1String("centroidx")) return f.Centroid().x;
    if (fn == QLatin1String("centroidy")) return f.Centroid().y;
    return QVariant();
}

} // namespace

std::shared_ptr<const TMapExpression>
TMapExpression::Parse(const QString& text, const std::function<int(const QString&)>& fieldIndex) {
    Parser parser(text, fieldIndex);
    auto e = std::make_shared<TMapExpression>();
    e->text_ = text;
    e->root_ = parser.ParseAll();
    return e;
}

QVariant TMapExpression::Evaluate(const TMapFeature& feature,
                                  const std::function<QVariant(int)>& fieldValue) const {
    return Eval(*root_, feature, fieldValue);
}
