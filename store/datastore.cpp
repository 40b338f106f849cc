#include "datastore.h"

#include <sqlite3.h>

namespace versilo {

class Connection {};

struct Recordset::Impl {};
Recordset::Recordset() : d(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;
bool Recordset::Open(const QString &, const QVariantList &, LockType) { return false; }
bool Recordset::IsOpen() const { return false; }
int Recordset::RecordCount() const { return 0; }
bool Recordset::Eof() const { return true; }
QVariant Recordset::Field(const QString &) const { return {}; }
QString Recordset::Text(const QString &) const { return {}; }
bool Recordset::SetField(const QString &, const QVariant &) { return false; }
bool Recordset::MoveNext() { return false; }
bool Recordset::AddNew() { return false; }
bool Recordset::Update() { return false; }
bool Recordset::Delete() { return false; }
void Recordset::Close() {}
QStringList Recordset::Columns() const { return {}; }
QString Recordset::LastError() const { return QStringLiteral("数据库尚不可用。"); }

struct DataStore::Impl {
    StoreLocation where;
    Recordset rs;
};
DataStore::DataStore(StoreLocation where) : d(std::make_unique<Impl>()) { d->where = where; }
DataStore::~DataStore() = default;
void DataStore::SetLocation(const StoreLocation &where) { d->where = where; }
const StoreLocation &DataStore::Location() const { return d->where; }
QString DataStore::FilePath() const { return d->where.appDir + QStringLiteral("/") + QLatin1String(kFileName); }
bool DataStore::Connect() { return false; }
bool DataStore::IsConnected() const { return false; }
Recordset &DataStore::NewRecordset() { return d->rs; }
Recordset &DataStore::Rs() { return d->rs; }
sqlite3 *DataStore::Handle() const { return nullptr; }
QString DataStore::LastError() const { return QStringLiteral("数据库尚不可用。"); }

}  // namespace versilo
