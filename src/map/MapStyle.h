#pragma once

#include <QColor>
#include <QString>

#include <optional>

// Colours are integers red + 256 * green + 65536 * blue.
constexpr int MapRgb(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}
QColor MapColorToQColor(int color);
int QColorToMapColor(const QColor& color);

// Symbol kinds.
enum TSymbolType : int { SymbolFont = 0, SymbolBitmap = 1, SymbolVector = 2 };

// Line styles: 0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot.
// Fill patterns: 0 none, 1 solid, 2 horizontal, 3 vertical, 4 forward diagonal,
// 5 backward diagonal, 6 cross, 7 diagonal cross. Width units: 0 pixels, 1 points.
enum TLineStyle : int {
    LineNone = 0,
    LineSolid = 1,
    LineDash = 2,
    LineDot = 3,
    LineDashDot = 4,
    LineDashDotDot = 5
};
enum TFillPattern : int {
    FillNone = 0,
    FillSolid = 1,
    FillHorizontal = 2,
    FillVertical = 3,
    FillForwardDiagonal = 4,
    FillBackwardDiagonal = 5,
    FillCross = 6,
    FillDiagonalCross = 7,
};

// The drawing style of a feature or a layer: symbol, line, region and text
// attributes, in the order of their text form.
struct TMapStyle {
    // Symbol
    int SymbolType = SymbolVector;
    int SymbolCharacter = 35;
    QString SymbolFontName = QStringLiteral("Arial");
    int SymbolFontSize = 10;
    int SymbolFontColor = 0;
    int SymbolFontRotation = 0;
    bool SymbolFontHalo = false;
    bool SymbolFontOpaque = false; // box
    int SymbolFontBackColor = MapRgb(255, 255, 255);
    bool SymbolFontBold = false;
    bool SymbolFontItalic = false;
    bool SymbolFontShadow = false;
    QString SymbolBitmapName;
    int SymbolBitmapSize = 12;
    int SymbolBitmapColor = 0;
    bool SymbolBitmapTransparent = false;
    bool SymbolBitmapOverrideColor = false;
    int SymbolVectorSize = 6;
    int SymbolVectorColor = 0;
    // Line
    int LineStyle = LineSolid;
    int LineColor = 0;
    int LineWidth = 1;
    int LineWidthUnit = 0;
    // Region
    int RegionPattern = FillNone;
    int RegionColor = MapRgb(255, 255, 255);
    int RegionBackColor = MapRgb(255, 255, 255);
    bool RegionTransparent = true;
    int RegionBorderStyle = LineSolid;
    int RegionBorderColor = 0;
    int RegionBorderWidth = 1;
    int RegionBorderWidthUnit = 0;
    // Text
    QString TextFontName = QStringLiteral("Arial");
    int TextFontSize = 9;
    int TextFontColor = 0;
    bool TextFontHalo = false;
    bool TextFontOpaque = false; // box
    int TextFontBackColor = MapRgb(255, 255, 255);
    bool TextFontBold = false;
    bool TextFontItalic = false;
    bool TextFontUnderline = false;
    bool TextFontAllCaps = false;
    bool TextFontShadow = false;
    bool TextFontDblSpace = false;

    bool operator==(const TMapStyle& o) const = default;
};

// The map component's own default style.
const TMapStyle& DefaultMapStyle();

// The 43 values of a style, each followed by ",". Font names must not contain ",".
QString StyleToText(const TMapStyle& style);

// Reads the text form into a copy of defaultStyle. An empty text or "-" gives the copy
// unchanged. A line style or fill pattern that does not convert keeps its default; any
// other value that does not convert fails: nullopt, the reason in *error.
std::optional<TMapStyle> StyleFromText(const QString& text, const TMapStyle& defaultStyle = DefaultMapStyle(),
                                       QString* error = nullptr);
