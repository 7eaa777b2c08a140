#include "common/Words.h"

#include "common/TextHelpers.h"

#include <array>

namespace {

const std::array<const char*, 10> kOnes = {"",       " одна",  " дві", " три",   " чотири",
                                           " п'ять", " шість", " сім", " вісім", " дев'ять"};
const std::array<const char*, 10> kTeens = {" десять",       " одинадцять",   " дванадцять",  " тринадцять",
                                            " чотирнадцять", " п'ятнадцять",  " шістнадцять", " сімнадцять",
                                            " вісімнадцять", " дев'ятнадцять"};
const std::array<const char*, 10> kTens = {
    "",           "",           " двадцять", " тридцять",   " сорок",
    " п'ятдесят", " шістдесят", " сімдесят", " вісімдесят", " дев'яносто"};
const std::array<const char*, 10> kHundreds = {"",         " сто",     " двісті", " триста",   " чотириста",
                                               " п'ятсот", " шістсот", " сімсот", " вісімсот", " дев'ятсот"};

// Ones-and-scale words of the higher groups: [scale 1..4][u].
const std::array<std::array<const char*, 10>, 4> kScales = {{
    {" тисяч", " одна тисяча", " дві тисячі", " три тисячі", " чотири тисячі", " п'ять тисяч", " шість тисяч",
     " сім тисяч", " вісім тисяч", " дев'ять тисяч"},
    {" мільйонів", " один мільйон", " два мільйони", " три мільйони", " чотири мільйони", " п'ять мільйонів",
     " шість мільйонів", " сім мільйонів", " вісім мільйонів", " дев'ять мільйонів"},
    {" мільярдів", " один мільярд", " два мільярди", " три мільярди", " чотири мільярди", " п'ять мільярдів",
     " шість мільярдів", " сім мільярдів", " вісім мільярдів", " дев'ять мільярдів"},
    {" трильйонів", " один трильйон", " два трильйони", " три трильйони", " чотири трильйони",
     " п'ять трильйонів", " шість трильйонів", " сім трильйонів", " вісім трильйонів", " дев'ять трильйонів"},
}};

QString U(const char* s) {
    return QString::fromUtf8(s);
}

} // namespace

QString AmountInWords(const QString& amountIn, bool wordsOnly) {
    QString amount = amountIn.trimmed();
    if (amount.isEmpty()) return wordsOnly ? QString() : QStringLiteral("0 грн 00 коп.");
    bool negative = false;
    if (amount.startsWith('-')) {
        negative = true;
        amount = amount.mid(1);
    }
    QString hrnText, kopText;
    SplitOnce(amount, QStringLiteral("."), &hrnText, &kopText);
    kopText.remove('.');
    // Only the trillions and lower groups are read (at most 15 digits); longer texts keep their last 15.
    QString hrnDigits = hrnText;
    if (IsIntegerText(hrnDigits) && hrnDigits.size() > 15) hrnDigits = hrnDigits.right(15);
    if (IsIntegerText(kopText) && kopText.size() > 18) kopText = kopText.left(18);
    const qint64 hrn = IsIntegerText(hrnDigits) ? TextToIntOrZero(hrnDigits) : 0;
    const qint64 kop = IsIntegerText(kopText) ? TextToIntOrZero(kopText) : 0;

    const QString kopWords =
        wordsOnly ? QString() : QString::number(kop).rightJustified(2, '0') + QStringLiteral(" коп.");
    if (hrn == 0) return wordsOnly ? QString() : QStringLiteral("0 грн ") + kopWords;

    QString result = wordsOnly ? QString() : QStringLiteral(" грн ") + kopWords;
    qint64 rest = hrn;
    for (int scale = 0; scale < 5 && rest > 0; ++scale) {
        const int group = static_cast<int>(rest % 1000);
        rest /= 1000;
        if (group == 0) continue;
        const int u = group % 10, t = group / 10 % 10, h = group / 100;
        QString words;
        if (t == 1) {
            words = U(kTeens[u]) + (scale == 0 ? QString() : U(kScales[scale - 1][0]));
        } else {
            words = U(kTens[t]) + (scale == 0 ? U(kOnes[u]) : U(kScales[scale - 1][u]));
        }
        words = U(kHundreds[h]) + words;
        result = words + result;
    }
    result = result.trimmed();
    if (negative) result = QStringLiteral("мінус ") + result;
    return result;
}

QString DeclineCouncilName(const QString& name) {
    QString s = ReplaceAll(name, QStringLiteral("  "), QStringLiteral(" "), true);
    s = ReplaceAll(s, QStringLiteral(". "), QStringLiteral("."));
    struct Rule {
        const char* what;
        const char* with;
        bool repeat;
    };
    static const Rule rules[] = {
        {" рада", " ради", false},    {" громада", " громади", false}, {"голова", "голови", false},
        {"кий ", "кого ", true},      {" район", " району", false},    {" область", " області", false},
        {" округ", " округа", false}, {"ьна ", "ьної ", true},         {"ька ", "ької ", true},
        {"ва ", "вої ", true},        {"ана ", "аної ", true},
    };
    for (const Rule& r : rules)
        s = ReplaceAll(s, U(r.what), U(r.with), r.repeat);
    return s;
}

QString ShortPersonName(const QString& fullName) {
    QString s = fullName;
    if (s.indexOf('.') == 1) return s.trimmed();
    if (!s.contains('.')) {
        const QStringList f = s.split(' ', Qt::SkipEmptyParts);
        if (f.isEmpty()) return s.trimmed();
        QString r = f[0] + ' ';
        if (f.size() > 1) r += f[1].left(1) + '.';
        if (f.size() > 2) r += f[2].left(1) + '.';
        s = r;
    }
    s = ReplaceAll(s, QStringLiteral(". "), QStringLiteral("."));
    const qsizetype L = s.size();
    if (s.count('.') == 1) {
        if (L < 3) return s.trimmed();
        return s.right(2) + ' ' + s.left(L - 3);
    }
    if (L < 5) return s.trimmed();
    return s.right(4) + ' ' + s.left(L - 5);
}
