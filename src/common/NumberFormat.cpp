#include "common/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>
#include <vector>

namespace {

// Decimal digits and exponent of |value|: value = 0.d1d2d3... * 10^exp10 (digits without leading zeros).
struct TDecimal {
    std::string digits; // at least one digit; "0" for zero
    int pointPos = 1;   // digits before the decimal point (may be <= 0 or > size)
    bool negative = false;
};

TDecimal ShortestDecimal(double value) {
    TDecimal d;
    d.negative = std::signbit(value) && value != 0.0;
    const double a = std::fabs(value);
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    std::string s(buf, res.ptr);
    // s like "2.675e+00"
    const auto e = s.find('e');
    std::string mant = s.substr(0, e);
    const int exp = std::stoi(s.substr(e + 1));
    std::string digits;
    for (char c : mant)
        if (c != '.') digits += c;
    d.digits = digits;
    d.pointPos = exp + 1;
    if (a == 0.0) {
        d.digits = "0";
        d.pointPos = 1;
    }
    return d;
}

// Integer and fraction digit strings of |value| rounded half away from zero to `decimals` places.
void RoundedParts(double value, int decimals, std::string* intPart, std::string* fracPart, bool* negative) {
    TDecimal d = ShortestDecimal(value);
    // Build a fixed representation with enough digits.
    std::string all; // digits with the point after `point` chars
    int point = d.pointPos;
    all = d.digits;
    if (point <= 0) {
        all = std::string(-point + 1, '0') + all;
        point = 1;
    }
    if (static_cast<int>(all.size()) < point + decimals + 1)
        all.append(point + decimals + 1 - all.size(), '0');
    // Round at position point + decimals.
    const int keep = point + decimals;
    const bool up = all[keep] >= '5';
    all.resize(keep);
    if (up) {
        int i = keep - 1;
        while (i >= 0) {
            if (all[i] == '9') {
                all[i] = '0';
                --i;
            } else {
                ++all[i];
                break;
            }
        }
        if (i < 0) {
            all.insert(all.begin(), '1');
            ++point;
        }
    }
    std::string ip = all.substr(0, point);
    std::string fp = all.substr(point);
    // Strip leading zeros of the integer part.
    const auto nz = ip.find_first_not_of('0');
    ip = nz == std::string::npos ? std::string() : ip.substr(nz);
    *intPart = ip;
    *fracPart = fp;
    const bool isZero = ip.empty() && fp.find_first_not_of('0') == std::string::npos;
    *negative = d.negative && !isZero;
}

} // namespace

double ParseNumber(const QString& text, bool* ok, bool allowExponent) {
    if (ok) *ok = false;
    const QByteArray b = text.toLatin1();
    const qsizetype n = b.size();
    if (n == 0 || text.size() != n) return 0;
    qsizetype i = 0;
    if (b[0] == '-') i = 1;
    qsizetype digitsBefore = 0, digitsAfter = 0;
    while (i < n && b[i] >= '0' && b[i] <= '9')
        ++i, ++digitsBefore;
    if (i < n && b[i] == '.') {
        ++i;
        while (i < n && b[i] >= '0' && b[i] <= '9')
            ++i, ++digitsAfter;
        if (digitsBefore == 0 || digitsAfter == 0) return 0;
    }
    if (digitsBefore == 0) return 0;
    if (i < n && allowExponent && (b[i] == 'e' || b[i] == 'E')) {
        ++i;
        if (i < n && (b[i] == '+' || b[i] == '-')) ++i;
        qsizetype ed = 0;
        while (i < n && b[i] >= '0' && b[i] <= '9')
            ++i, ++ed;
        if (ed == 0) return 0;
    }
    if (i != n) return 0;
    double v = 0;
    const char* first = b.constData();
    auto res = std::from_chars(first, first + n, v);
    if (res.ec != std::errc() || res.ptr != first + n) return 0;
    if (ok) *ok = true;
    return v;
}

double RoundDecimal(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    bool ok = false;
    const double v = ParseNumber(FormatDecimals(value, decimals), &ok);
    return ok ? v : value;
}

QString FormatDecimals(double value, int decimals) {
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN")
                                 : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    if (decimals < 0) decimals = 0;
    std::string ip, fp;
    bool neg = false;
    RoundedParts(value, decimals, &ip, &fp, &neg);
    std::string out = neg ? "-" : "";
    out += ip.empty() ? "0" : ip;
    if (decimals > 0) out += "." + fp;
    return QString::fromStdString(out);
}

QString FormatFloatPattern(const QString& pattern, double value) {
    if (!std::isfinite(value)) return FormatDecimals(value, 0);
    const qsizetype dot = pattern.indexOf('.');
    const QString intPat = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPat = dot < 0 ? QString() : pattern.mid(dot + 1);
    int minFrac = 0;
    const int maxFrac = static_cast<int>(fracPat.size());
    for (int i = 0; i < fracPat.size(); ++i)
        if (fracPat[i] == '0') minFrac = i + 1;
    int minInt = 0;
    for (QChar c : intPat)
        if (c == '0') ++minInt;

    std::string ip, fp;
    bool neg = false;
    RoundedParts(value, maxFrac, &ip, &fp, &neg);
    while (static_cast<int>(fp.size()) > minFrac && !fp.empty() && fp.back() == '0')
        fp.pop_back();
    while (static_cast<int>(ip.size()) < minInt)
        ip.insert(ip.begin(), '0');

    // A literal character between integer placeholders is a group separator: it is written when a digit
    // stands on its left, i.e. only between digits.
    std::vector<std::pair<int, char>> seps; // (placeholders to its right, character)
    int placeholdersRight = 0;
    for (qsizetype i = intPat.size() - 1; i >= 0; --i) {
        const QChar c = intPat[i];
        if (c == '0' || c == '#')
            ++placeholdersRight;
        else if (placeholdersRight > 0)
            seps.push_back({placeholdersRight, static_cast<char>(c.unicode() < 128 ? c.unicode() : ' ')});
    }
    std::string rev;
    for (int w = 0; w < static_cast<int>(ip.size()); ++w) {
        for (const auto& [pos, ch] : seps)
            if (pos == w) rev += ch;
        rev += ip[ip.size() - 1 - w];
    }
    const std::string grouped(rev.rbegin(), rev.rend());
    std::string out = neg ? "-" : "";
    out += grouped;
    if (!fp.empty()) out += "." + fp;
    if (out.empty() || out == "-") out = "0";
    return QString::fromStdString(out);
}

QString FormatGeneral(double value) {
    if (!std::isfinite(value)) return FormatDecimals(value, 0);
    if (value == 0) return QStringLiteral("0");
    // Round to 15 significant digits first.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    std::string s(buf, res.ptr);
    const auto e = s.find('e');
    const int exp = std::stoi(s.substr(e + 1));
    std::string mant = s.substr(0, e);
    bool neg = false;
    if (!mant.empty() && mant[0] == '-') {
        neg = true;
        mant.erase(0, 1);
    }
    std::string digits;
    for (char c : mant)
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out;
    if (exp >= 15 || exp < -5) {
        out = digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        out += "E" + std::to_string(exp);
    } else if (exp < 0) {
        out = "0." + std::string(-exp - 1, '0') + digits;
    } else {
        const int intDigits = exp + 1;
        if (static_cast<int>(digits.size()) <= intDigits) {
            out = digits + std::string(intDigits - digits.size(), '0');
        } else {
            out = digits.substr(0, intDigits) + "." + digits.substr(intDigits);
        }
    }
    return QString::fromStdString((neg ? "-" : "") + out);
}
