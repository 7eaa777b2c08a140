#include "data/DataQuery.h"

#include "data/DataConnection.h"

TDataQuery::TDataQuery(TDataConnection& connection, int commandTimeout)
    : connection_(&connection), commandTimeout_(commandTimeout) {}

TDataQuery::~TDataQuery() {
    Close();
}

void TDataQuery::Close() {
    active_ = false;
    query_.reset();
}

QSqlQuery& TDataQuery::StartStatement(const QString& statement) {
    Close();
    statement_ = statement;
    query_ = std::make_unique<QSqlQuery>(connection_->Database());
    return *query_;
}

bool TDataQuery::Eof() const {
    return !active_ || !query_ || !query_->isValid();
}

bool TDataQuery::First() {
    return active_ && query_ && query_->first();
}

bool TDataQuery::Next() {
    return active_ && query_ && query_->next();
}

QSqlRecord TDataQuery::Record() const {
    return active_ && query_ ? query_->record() : QSqlRecord();
}

int TDataQuery::FieldCount() const {
    return Record().count();
}

QString TDataQuery::FieldName(int i) const {
    return Record().fieldName(i);
}

bool TDataQuery::HasField(const QString& name) const {
    return Record().indexOf(name) >= 0;
}

QString TDataQuery::FieldText(int i) const {
    if (Eof() || i < 0 || i >= query_->record().count()) return {};
    const QVariant v = query_->value(i);
    return v.isNull() ? QString() : v.toString();
}

QString TDataQuery::FieldText(const QString& name) const {
    if (Eof()) return {};
    return FieldText(query_->record().indexOf(name));
}

QVariant TDataQuery::FieldValue(const QString& name) const {
    if (Eof()) return {};
    const int i = query_->record().indexOf(name);
    return i < 0 ? QVariant() : query_->value(i);
}
