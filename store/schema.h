// SPDX-License-Identifier: GPL-3.0-or-later
// The tables of mvtrakp.m and the low-level helpers shared by the store's
// own sources (not part of the public interface).
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace versilo::schema {

struct Column {
    QString name;
    const char *type;   // "INTEGER", "REAL" or "TEXT"
};

struct Table {
    QString name;
    std::vector<Column> columns;   // without `id`
};

// The eight tables, each with `id INTEGER PRIMARY KEY AUTOINCREMENT` first.
const std::vector<Table> &Tables();
const Table *FindTable(const QString &name);

// "CREATE TABLE "T" (id INTEGER PRIMARY KEY AUTOINCREMENT, ...)".
QString CreateTableSql(const Table &t);
// A name quoted as an SQL identifier.
QString Quoted(const QString &name);

// The version mark written into PRAGMA user_version.
constexpr int kSchemaVersion = 1;

// Binds a QVariant: null/invalid -> NULL, integers and bool -> INTEGER,
// floating point -> REAL, byte arrays -> BLOB, anything else -> TEXT.
int Bind(sqlite3_stmt *st, int index, const QVariant &v);
// Reads one column: INTEGER -> qlonglong, REAL -> double, TEXT -> QString,
// BLOB -> QByteArray, NULL -> a null QString variant.
QVariant ColumnValue(sqlite3_stmt *st, int index);
// The null value of a field (valid, isNull(), toString() == "").
QVariant NullValue();

// Runs statements without results; false and *error on failure.
bool Exec(sqlite3 *db, const QString &sql, QString *error = nullptr);
// Why the last operation on db failed, in words for the writer ("数据库文件是
// 只读的", "数据库正被另一个程序使用", ...). The engine's own text, its error
// code and `context` (what was being done: an SQL text, a file) go to a log
// line on standard error, never into the returned text.
QString LastSqliteError(sqlite3 *db, const QString &context = {});
// A log line on standard error: "versilo: " + text.
void Log(const QString &text);

// Keys a freshly opened handle with the fixed password.
int Key(sqlite3 *db);
// Every connection waits for another program that holds the file, up to
// DataStore::kBusyTimeoutMs, and tells the wait notifier when it starts to.
void WaitWhileBusy(sqlite3 *db);

}  // namespace versilo::schema
