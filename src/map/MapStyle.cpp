#include "map/MapStyle.h"

#include <QStringList>

#include <functional>

QColor MapColorToQColor(int color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int QColorToMapColor(const QColor& color) {
    return MapRgb(color.red(), color.green(), color.blue());
}

const TMapStyle& DefaultMapStyle() {
    static const TMapStyle style;
    return style;
}

namespace {

// One value of the text form: how to write it and how to read it back.
struct StyleField {
    enum Kind { Int, Flag, Text, LenientInt } kind;
    int TMapStyle::*intMember = nullptr;
    bool TMapStyle::*flagMember = nullptr;
    QString TMapStyle::*textMember = nullptr;
};

StyleField I(int TMapStyle::*m) {
    return {StyleField::Int, m, nullptr, nullptr};
}
StyleField L(int TMapStyle::*m) {
    return {StyleField::LenientInt, m, nullptr, nullptr};
}
StyleField F(bool TMapStyle::*m) {
    return {StyleField::Flag, nullptr, m, nullptr};
}
StyleField T(QString TMapStyle::*m) {
    return {StyleField::Text, nullptr, nullptr, m};
}

const std::vector<StyleField>& Fields() {
    static const std::vector<StyleField> fields = {
        // symbol (19)
        I(&TMapStyle::SymbolType), I(&TMapStyle::SymbolCharacter), T(&TMapStyle::SymbolFontName),
        I(&TMapStyle::SymbolFontSize), I(&TMapStyle::SymbolFontColor), I(&TMapStyle::SymbolFontRotation),
        F(&TMapStyle::SymbolFontHalo), F(&TMapStyle::SymbolFontOpaque), I(&TMapStyle::SymbolFontBackColor),
        F(&TMapStyle::SymbolFontBold), F(&TMapStyle::SymbolFontItalic), F(&TMapStyle::SymbolFontShadow),
        T(&TMapStyle::SymbolBitmapName), I(&TMapStyle::SymbolBitmapSize), I(&TMapStyle::SymbolBitmapColor),
        F(&TMapStyle::SymbolBitmapTransparent), F(&TMapStyle::SymbolBitmapOverrideColor),
        I(&TMapStyle::SymbolVectorSize), I(&TMapStyle::SymbolVectorColor),
        // line (4)
        L(&TMapStyle::LineStyle), I(&TMapStyle::LineColor), I(&TMapStyle::LineWidth),
        I(&TMapStyle::LineWidthUnit),
        // region (8)
        L(&TMapStyle::RegionPattern), I(&TMapStyle::RegionColor), I(&TMapStyle::RegionBackColor),
        F(&TMapStyle::RegionTransparent), L(&TMapStyle::RegionBorderStyle), I(&TMapStyle::RegionBorderColor),
        I(&TMapStyle::RegionBorderWidth), I(&TMapStyle::RegionBorderWidthUnit),
        // text (12)
        T(&TMapStyle::TextFontName), I(&TMapStyle::TextFontSize), I(&TMapStyle::TextFontColor),
        F(&TMapStyle::TextFontHalo), F(&TMapStyle::TextFontOpaque), I(&TMapStyle::TextFontBackColor),
        F(&TMapStyle::TextFontBold), F(&TMapStyle::TextFontItalic), F(&TMapStyle::TextFontUnderline),
        F(&TMapStyle::TextFontAllCaps), F(&TMapStyle::TextFontShadow), F(&TMapStyle::TextFontDblSpace)};
    return fields;
}

bool ParseInt(const QString& text, int* value) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok) *value = v;
    return ok;
}

bool ParseFlag(const QString& text, bool* value) {
    int v = 0;
    if (ParseInt(text, &v)) {
        *value = v != 0;
        return true;
    }
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true")) {
        *value = true;
        return true;
    }
    if (t == QLatin1String("false")) {
        *value = false;
        return true;
    }
    return false;
}

} // namespace

QString StyleToText(const TMapStyle& style) {
    QString out;
    for (const StyleField& f : Fields()) {
        switch (f.kind) {
        case StyleField::Int:
        case StyleField::LenientInt:
            out += QString::number(style.*(f.intMember));
            break;
        case StyleField::Flag:
            out += (style.*(f.flagMember)) ? QLatin1Char('1') : QLatin1Char('0');
            break;
        case StyleField::Text:
            out += style.*(f.textMember);
            break;
        }
        out += QLatin1Char(',');
    }
    return out;
}

std::optional<TMapStyle> StyleFromText(const QString& text, const TMapStyle& defaultStyle, QString* error) {
    TMapStyle style = defaultStyle;
    if (text.isEmpty() || text == QLatin1String("-")) return style;
    const QStringList values = text.split(QLatin1Char(','));
    const auto& fields = Fields();
    if (values.size() < static_cast<int>(fields.size())) {
        if (error)
            *error = QStringLiteral("Неповний опис стилю: %1 значень замість %2")
                         .arg(values.size())
                         .arg(fields.size());
        return std::nullopt;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        const StyleField& f = fields[i];
        const QString& v = values[static_cast<int>(i)];
        switch (f.kind) {
        case StyleField::LenientInt:
            ParseInt(v, &(style.*(f.intMember)));
            break;
        case StyleField::Int:
            if (!ParseInt(v, &(style.*(f.intMember)))) {
                if (error) *error = QStringLiteral("\"%1\" не є цілим числом").arg(v);
                return std::nullopt;
            }
            break;
        case StyleField::Flag:
            if (!ParseFlag(v, &(style.*(f.flagMember)))) {
                if (error) *error = QStringLiteral("\"%1\" не є логічним значенням").arg(v);
                return std::nullopt;
            }
            break;
        case StyleField::Text:
            style.*(f.textMember) = v;
            break;
        }
    }
    return style;
}
