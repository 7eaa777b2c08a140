#pragma once
// The plot table dilanky: one row per land plot. Every column but id holds text ("." in numbers).
#include "data/SqlDialect.h"

#include <QList>
#include <QString>

struct TColumnSpec {
    QString Name;
    TFieldKind Kind;
    int Size; // characters for text columns, 0 otherwise
};

extern const QString kPlotTable; // "dilanky"

// The 81 columns in creation order.
const QList<TColumnSpec>& PlotColumns();
// The column of that name (exact), or null.
const TColumnSpec* PlotColumn(const QString& name);

// "CREATE TABLE dilanky (" + the column clauses joined by " , " + ")".
QString CreateTableStatement(TSqlDialect dialect, const QString& table, const QList<TColumnSpec>& columns);
QString CreatePlotTableStatement(TSqlDialect dialect);
