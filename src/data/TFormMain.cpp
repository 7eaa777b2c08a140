#include "data/TFormMain.h"

#include "app/GlobalVar.h"
#include "common/Messages.h"
#include "data/ConnectionString.h"
#include "data/PlotSchema.h"
#include "data/ReferenceUpdates.h"
#include "data/SqlHelpers.h"

const QString kCaptionRefConnection = QStringLiteral("Підключення до бази довідників");
const QString kCaptionMainConnection = QStringLiteral("Підключення до бази ділянок");

namespace {

TFormMain* g_module = nullptr;

// The connection string kept in the file, or the embedded default when there is none.
QString ConnectionStringOf(const QString& file, const QString& fallback) {
    const QString s = ReadConnectionFile(file).trimmed();
    return s.isEmpty() ? fallback : s;
}

} // namespace

TFormMain::TFormMain(QObject* parent)
    : QObject(parent), ADOConnectionMain(QStringLiteral("main")), ADOConnectionRef(QStringLiteral("ref")),
      ADOQueryMain(ADOConnectionMain), ADOQueryRef(ADOConnectionRef), ADOQueryRef2(ADOConnectionRef),
      ADOQueryRefGets(ADOConnectionRef), ADOQueryUserEdit(ADOConnectionMain),
      ADOQueryMainGets(ADOConnectionMain), ADOQueryUserShow(ADOConnectionMain),
      ADOQueryUserAnalitics(ADOConnectionMain), ADOQueryUserMain(ADOConnectionMain) {
    setObjectName(QStringLiteral("TFormMain"));
    g_module = this;
}

TFormMain::~TFormMain() {
    for (TDataQuery* q : {&ADOQueryMain, &ADOQueryRef, &ADOQueryRef2, &ADOQueryRefGets, &ADOQueryUserEdit,
                          &ADOQueryMainGets, &ADOQueryUserShow, &ADOQueryUserAnalitics, &ADOQueryUserMain})
        q->Close();
    ADOConnectionMain.Close();
    ADOConnectionRef.Close();
    if (g_module == this) g_module = nullptr;
}

TFormMain* DataModule() {
    return g_module;
}

QString TFormMain::ColumnDef(const QString& name, TFieldKind kind, int size, bool noDefault) const {
    return ::ColumnDef(ADOConnectionMain.Dialect(), name, kind, size, noDefault);
}

bool TFormMain::OpenReferenceDatabase(QString* caption) {
    if (caption) *caption = kCaptionRefConnection;
    LastErrorText.clear();
    if (ADOConnectionRef.IsOpen()) return true;
    // The shipped reference database must be there: an empty one made on the fly would hide the fault.
    return ADOConnectionRef.Open(ConnectionStringOf(kConnectionFileRef, kDefaultConnectionRef), true);
}

bool TFormMain::OpenPlotDatabase(QString* caption) {
    if (caption) *caption = kCaptionMainConnection;
    LastErrorText.clear();
    if (ADOConnectionMain.IsOpen()) return true;
    return ADOConnectionMain.Open(ConnectionStringOf(kConnectionFileMain, kDefaultConnectionMain), false);
}

void TFormMain::ApplyUpdateLists() {
    const qsizetype before = StartupLog.size();
    ApplyReferenceUpdates(ADOQueryRef, GlobalVar().Settings.ProgramDir, &StartupLog);
    // Also on the error stream, so that nothing is lost before the action log exists.
    for (qsizetype i = before; i < StartupLog.size(); ++i)
        qWarning("%s", qUtf8Printable(StartupLog[i]));
}

void TFormMain::FillReferenceCache() {
    const QStringList skipped = {QStringLiteral("коатуу"), QStringLiteral("кодифікатор"),
                                 QStringLiteral("умолчания")};
    const TSqlDialect dialect = ADOConnectionRef.Dialect();
    for (const QString& table : TableNames(ADOConnectionRef)) {
        if (table.startsWith('-')) continue;
        bool skip = false;
        for (const QString& s : skipped)
            if (table.compare(s, Qt::CaseInsensitive) == 0) skip = true;
        if (skip) continue;
        if (QueryHasField(ADOQueryRef,
                          QStringLiteral("SELECT * FROM ") + QuoteIdentifier(dialect, table) +
                              QStringLiteral(" WHERE id=0"),
                          QStringLiteral("code")))
            ReferenceCache.LoadReference(ADOQueryRef, table, QStringLiteral("code"),
                                         QStringLiteral(" ORDER BY id"), QStringLiteral("title"));
    }
    ADOQueryRef.Close();
    LastErrorText.clear();
}

bool TFormMain::CreatePlotTableIfMissing() {
    if (TableExists(ADOConnectionMain, kPlotTable)) return true;
    return RunSql(ADOQueryMain, CreatePlotTableStatement(ADOConnectionMain.Dialect()), false, false);
}

bool TFormMain::OpenDatabases() {
    QString caption;
    if (!OpenReferenceDatabase(&caption) || !OpenPlotDatabase(&caption)) {
        const QString reason = LastErrorText;
        MessageSink()->ShowMessage(TMsgKind::Error, caption, reason);
        return false;
    }
    ApplyUpdateLists();
    FillReferenceCache();
    CreatePlotTableIfMissing();
    return true;
}
