#pragma once
// Date texts: "yyyy-mm-dd" in files and the database, "dd.mm.yyyy" on screen and in documents.
#include <QDate>
#include <QString>

// "yyyy-mm-dd" -> "dd.mm.yyyy" by position; empty for an empty text and for the placeholder dates; a text
// without "-" unchanged. A text with "-" too short to hold a date is returned unchanged.
QString IsoDateToUa(const QString& text);
// "dd.mm.yyyy" -> "yyyy-mm-dd" by position for a non-empty text without "-"; other texts unchanged (also
// texts too short to hold a date).
QString UaDateToIso(const QString& text);
bool IsoTextToDate(const QString& text, QDate* date);
