#pragma once
// Small text and number helpers. All comparisons are exact and case-sensitive.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <initializer_list>

// The n-th field (from 1) of the text cut at the delimiter; the last field is the rest of the text.
// Fewer fields, n = 0 or an empty text: def. n = -1: the part after the last delimiter (or the whole text).
// With prefixDelimiter (n >= 1) a non-empty result gets the delimiter in front.
QString SplitField(const QString& text, const QString& delimiter, const QString& def, int n,
                   bool prefixDelimiter = false);
// Replaces every occurrence left to right (replaced text is not scanned again). With repeat the pass runs
// again while the result still contains `what`; when `with` itself contains `what` a single pass is made,
// since repeating could never end.
QString ReplaceAll(const QString& text, const QString& what, const QString& with, bool repeat = false);
// Cut at every delimiter; an empty text gives nothing; a trailing delimiter yields a final empty item.
QStringList SplitToArray(const QString& text, const QString& delimiter);
// The same, without that final empty item.
QStringList SplitToArrayNoLastEmpty(const QString& text, const QString& delimiter);
// As SplitToArray, the final piece only when not empty.
QStringList SplitToList(const QString& text, const QString& delimiter);
QString JoinList(const QStringList& list, const QString& delimiter);
QString JoinArray(const QStringList& items, int count, const QString& delimiter, bool skipEmpty);
// Head and tail around the first occurrence; without one the head is the whole text.
void SplitOnce(const QString& text, const QString& delimiter, QString* head, QString* tail);
QString TrimChars(const QString& text, const QString& set);
int CountChar(const QString& text, QChar c);
// Shorter than the limit: unchanged. Otherwise first k chars, "[...]", last k chars, k = limit/2 - 2.
// Limits under 4 (k < 1) give "[...]" alone for texts that do not fit.
QString ShortenMiddle(const QString& text, int limit);

template <typename T> T Choose(bool first, const T& a, const T& b) {
    return first ? a : b;
}
inline QString Choose(bool first, const char* a, const char* b) {
    return QString::fromUtf8(first ? a : b);
}

bool IsIntegerText(const QString& text);
bool IsNumberText(const QString& text);
qint64 TextToIntOrZero(const QString& text);
double TextToFloatOrZero(const QString& text);

// The process-wide pseudo-random generator. Its initial state is fixed; Randomize seeds it from the clock.
void ResetRandomGenerator();
void Randomize();
int RandomInt(int range); // 0 .. range-1
// n digits, each (random 0-99) mod 9.
QString RandomDigits(int n);
// A new GUID: 36 upper-case hex characters in groups 8-4-4-4-12, no braces.
QString NewGuidText();

// Values of mixed kinds (numbers, flags, characters, texts) as texts in their default form.
QStringList ArgsToTexts(std::initializer_list<QVariant> values);
