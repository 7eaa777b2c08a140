#pragma once
// Amounts and names in the forms documents need.
#include <QString>

// "1000005.00" -> "один мільйон п'ять грн 00 коп." (wordsOnly: "один мільйон п'ять"). A negative amount is
// written with "мінус" in front; digits beyond the trillions are ignored.
QString AmountInWords(const QString& amount, bool wordsOnly);
// The council, community, district or region name in the genitive case.
QString DeclineCouncilName(const QString& name);
// "Прізвище Ім'я По-батькові" -> "І.П. Прізвище". Texts too short for the positional slicing are returned
// trimmed.
QString ShortPersonName(const QString& fullName);
