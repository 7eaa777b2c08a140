#include "data/PlotSchema.h"

#include <QStringList>

const QString kPlotTable = QStringLiteral("dilanky");

const QList<TColumnSpec>& PlotColumns() {
    static const QList<TColumnSpec> columns = {
        {QStringLiteral("id"), TFieldKind::AutoIncrement, 0},
        {QStringLiteral("назва"), TFieldKind::Memo, 0},
        {QStringLiteral("файл"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_каднум"), TFieldKind::Text, 50},
        {QStringLiteral("діл_площа"), TFieldKind::Text, 50},
        {QStringLiteral("діл_код_тер"), TFieldKind::Text, 50},
        {QStringLiteral("діл_id_тер"), TFieldKind::Text, 50},
        {QStringLiteral("діл_коатуу"), TFieldKind::Text, 50},
        {QStringLiteral("діл_адреса_обл"), TFieldKind::Text, 100},
        {QStringLiteral("діл_адреса_район"), TFieldKind::Text, 200},
        {QStringLiteral("діл_адреса_рада"), TFieldKind::Text, 250},
        {QStringLiteral("діл_адреса_нп_вул"), TFieldKind::Text, 250},
        {QStringLiteral("діл_адреса_вмежах"), TFieldKind::Text, 50},
        {QStringLiteral("діл_адреса_розташована"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_категорія"), TFieldKind::Text, 50},
        {QStringLiteral("діл_цільове_код"), TFieldKind::Text, 50},
        {QStringLiteral("діл_функціональне"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_тип_угіддя"), TFieldKind::Text, 50},
        {QStringLiteral("діл_тип_водного"), TFieldKind::Text, 50},
        {QStringLiteral("діл_тип_лісного"), TFieldKind::Text, 50},
        {QStringLiteral("діл_власність"), TFieldKind::Text, 50},
        {QStringLiteral("діл_право"), TFieldKind::Text, 50},
        {QStringLiteral("діл_право_згідно"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_має_нерухомість"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_має_нерухомість_кілк"), TFieldKind::Text, 50},
        {QStringLiteral("діл_має_памятники"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_має_заповідники"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_має_забруднення"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_має_обмеження"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_власник"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_у_власника"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_землекористувач"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_у_землекористувача"), TFieldKind::Memo, 0},
        {QStringLiteral("діл_каднум_згідно"), TFieldKind::Memo, 0},
        {QStringLiteral("оцінка_центр_тг"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_населення"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_рік"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_дата"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_нрд"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_км1"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_км2"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_км3"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_кцп"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_кмц"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_кмц1"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_кмц_пром"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_кмц_озд"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_кмц_іст"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_клс"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_оцра_номер"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_км4"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_клк"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_псг_номер"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_псг_назва"), TFieldKind::Text, 150},
        {QStringLiteral("оцінка_псг_кпсгп"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_псг_агрогрупа"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_кні"), TFieldKind::Text, 50},
        {QStringLiteral("оцінка_значення"), TFieldKind::Text, 50},
        {QStringLiteral("замовник_тип"), TFieldKind::Text, 50},
        {QStringLiteral("замовник_назва"), TFieldKind::Text, 200},
        {QStringLiteral("замовник_в_особі"), TFieldKind::Memo, 0},
        {QStringLiteral("замовник_представник"), TFieldKind::Text, 150},
        {QStringLiteral("замовник_посада"), TFieldKind::Text, 150},
        {QStringLiteral("замовник_підпис"), TFieldKind::Text, 150},
        {QStringLiteral("замовник_код"), TFieldKind::Text, 50},
        {QStringLiteral("замовник_адреса"), TFieldKind::Text, 50},
        {QStringLiteral("договір_номер"), TFieldKind::Text, 50},
        {QStringLiteral("договір_дата"), TFieldKind::Text, 50},
        {QStringLiteral("організ_назва"), TFieldKind::Text, 200},
        {QStringLiteral("організ_назва_коротко"), TFieldKind::Text, 200},
        {QStringLiteral("організ_назва_ким"), TFieldKind::Text, 200},
        {QStringLiteral("організ_реквізити"), TFieldKind::Text, 250},
        {QStringLiteral("організ_посада"), TFieldKind::Text, 100},
        {QStringLiteral("організ_підпис"), TFieldKind::Text, 50},
        {QStringLiteral("організ_інженер_піб"), TFieldKind::Text, 150},
        {QStringLiteral("організ_виконано_ким"), TFieldKind::Text, 150},
        {QStringLiteral("тд_місто"), TFieldKind::Text, 50},
        {QStringLiteral("тд_рік"), TFieldKind::Text, 50},
        {QStringLiteral("тд_на_замовлення"), TFieldKind::Text, 200},
        {QStringLiteral("тд_на_затвердження"), TFieldKind::Text, 200},
        {QStringLiteral("uid"), TFieldKind::Text, 50},
    };
    return columns;
}

const TColumnSpec* PlotColumn(const QString& name) {
    for (const TColumnSpec& c : PlotColumns())
        if (c.Name == name) return &c;
    return nullptr;
}

QString CreateTableStatement(TSqlDialect dialect, const QString& table, const QList<TColumnSpec>& columns) {
    QStringList clauses;
    for (const TColumnSpec& c : columns)
        clauses << ColumnDef(dialect, c.Name, c.Kind, c.Size, false);
    return QStringLiteral("CREATE TABLE ") + table + QStringLiteral(" (") +
           clauses.join(QStringLiteral(" , ")) + QStringLiteral(")");
}

QString CreatePlotTableStatement(TSqlDialect dialect) {
    return CreateTableStatement(dialect, kPlotTable, PlotColumns());
}
