#include "exchange/OrganisationLookup.h"

#include "common/Messages.h"
#include "data/SqlHelpers.h"
#include "data/TFormMain.h"

bool FindLicensee(const QString& name, QMap<QString, QString>* row) {
    LastErrorText.clear();
    TFormMain* data = DataModule();
    if (!data) {
        LastErrorText = kNoConnectionText;
        return false;
    }
    TDataQuery& q = data->ADOQueryRef;
    if (!RunSql(q,
                QStringLiteral("SELECT * FROM ліцензіати WHERE назва='") + SqlQuote(name) + QLatin1Char('\''),
                true, true))
        return false;
    row->clear();
    for (int i = 0; i < q.FieldCount(); ++i)
        row->insert(q.FieldName(i), q.FieldText(i));
    return true;
}
