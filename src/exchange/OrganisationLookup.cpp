#include "exchange/OrganisationLookup.h"

#include "common/Messages.h"

bool FindLicensee(const QString& name, QMap<QString, QString>* row) {
    Q_UNUSED(name);
    Q_UNUSED(row);
    LastErrorText = QStringLiteral("Відсутнє з'єднання");
    return false;
}
