#pragma once
// The executing organisation from the reference database, for a valuation file whose executor comes
// "З бази".
#include <QMap>
#include <QString>

// "SELECT * FROM ліцензіати WHERE назва='" + SqlQuote(name) + "'" requiring a row, on the program's
// reference database: every column of the first row as text. False with the reason in LastErrorText.
bool FindLicensee(const QString& name, QMap<QString, QString>* row);
