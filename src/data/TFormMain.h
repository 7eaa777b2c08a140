#pragma once
// The data-access module: a hidden object created at start-up that owns both database connections, their
// queries and the reference cache for the whole run.
#include "data/DataConnection.h"
#include "data/DataQuery.h"
#include "data/ReferenceCache.h"
#include "data/SqlDialect.h"

#include <QObject>
#include <QStringList>

class TFormMain : public QObject {
    Q_OBJECT
public:
    explicit TFormMain(QObject* parent = nullptr);
    ~TFormMain() override;

    TDataConnection ADOConnectionMain; // plot database
    TDataConnection ADOConnectionRef;  // reference database
    // Only these two carry the program's statements.
    TDataQuery ADOQueryMain;
    TDataQuery ADOQueryRef;
    // Spare queries.
    TDataQuery ADOQueryRef2;
    TDataQuery ADOQueryRefGets;
    TDataQuery ADOQueryUserEdit;
    TDataQuery ADOQueryMainGets;
    TDataQuery ADOQueryUserShow;
    TDataQuery ADOQueryUserAnalitics;
    TDataQuery ADOQueryUserMain;

    TReferenceCache ReferenceCache;
    QString KeyColumn = QStringLiteral("id");
    // Problems of the start-up maintenance (update lists) for the action log.
    QStringList StartupLog;

    // Opens both databases, applies the update lists, fills the reference cache and creates dilanky when
    // missing. A connection failure shows the always-on-top error box and returns false: the program ends.
    bool OpenDatabases();

    // The steps of OpenDatabases. The connection steps leave the reason in LastErrorText and the caption of
    // the box in *caption.
    bool OpenReferenceDatabase(QString* caption = nullptr);
    bool OpenPlotDatabase(QString* caption = nullptr);
    void ApplyUpdateLists();
    void FillReferenceCache();
    bool CreatePlotTableIfMissing();

    // One column clause in the plot database's dialect.
    QString ColumnDef(const QString& name, TFieldKind kind, int size, bool noDefault) const;
};

// The module of the run (the last one created), or null.
TFormMain* DataModule();

extern const QString kCaptionRefConnection;  // "Підключення до бази довідників"
extern const QString kCaptionMainConnection; // "Підключення до бази ділянок"
