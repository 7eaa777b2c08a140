#pragma once
// The program's single-byte code page (windows-1251) at file boundaries.
#include <QByteArray>
#include <QString>

// Decodes windows-1251 bytes. Every byte maps to a character (0x98 becomes U+FFFD).
QString FromCp1251(const QByteArray& bytes);
// Encodes into windows-1251; characters the code page lacks become "?" and set *lossy when given.
QByteArray ToCp1251(const QString& text, bool* lossy = nullptr);
// True when every character of the text has a windows-1251 byte.
bool FitsCp1251(const QString& text);
