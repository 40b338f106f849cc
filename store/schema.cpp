// SPDX-License-Identifier: GPL-3.0-or-later
#include "schema.h"

#include "datastore.h"
#include "gateway.h"
#include "patternbooks.h"
#include "rhymedict.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <functional>

namespace versilo::schema {

const std::vector<Table> &Tables()
{
    using namespace column;
    static const std::vector<Table> tables = [] {
        const auto dictionary = [](const QString &name) {
            return Table{name, {{kHanzi, "TEXT"}, {kTone, "TEXT"}, {kGroup, "INTEGER"}, {kInitials, "TEXT"}}};
        };
        const auto patternBook = [](const QString &name) {
            return Table{name, {{kTitle, "TEXT"}, {kPattern, "TEXT"}, {kText, "TEXT"}}};
        };
        return std::vector<Table>{
            dictionary(kNewRhyme),
            dictionary(kPingshui),
            Table{kWorksTable,
                  {{kTitle, "TEXT"}, {kText, "TEXT"}, {kPattern, "TEXT"}, {kTuneName, "TEXT"},
                   {kBookName, "TEXT"}, {kAuthor, "TEXT"}, {kTime, "TEXT"}}},
            patternBook(kCommonBook),
            patternBook(kBaixiangBook),
            Table{kPagesTable, {{kHeading, "TEXT"}, {kContent, "TEXT"}}},
            Table{kLibraryTable, {{kHeading, "TEXT"}, {kAuthor, "TEXT"}, {kText, "TEXT"}, {kInitials, "TEXT"}}},
            Table{kAuthorsTable, {{kName, "TEXT"}, {kDynasty, "TEXT"}, {kYear, "REAL"}, {kInitials, "TEXT"}}},
        };
    }();
    return tables;
}

const Table *FindTable(const QString &name)
{
    for (const Table &t : Tables())
        if (t.name == name)
            return &t;
    return nullptr;
}

QString Quoted(const QString &name)
{
    QString q = name;
    q.replace(u'"', QStringLiteral("\"\""));
    return u'"' + q + u'"';
}

QString CreateTableSql(const Table &t)
{
    QString sql = QStringLiteral("CREATE TABLE ") + Quoted(t.name) +
                  QStringLiteral(" (id INTEGER PRIMARY KEY AUTOINCREMENT");
    for (const Column &c : t.columns)
        sql += QStringLiteral(", ") + Quoted(c.name) + u' ' + QLatin1String(c.type);
    sql += u')';
    return sql;
}

int Bind(sqlite3_stmt *st, int index, const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(st, index);
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return sqlite3_bind_int64(st, index, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(st, index, v.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        return sqlite3_bind_blob(st, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    default: {
        const QString s = v.toString();
        return sqlite3_bind_text16(st, index, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
    }
    }
}

QVariant NullValue()
{
    return QVariant(QMetaType::fromType<QString>());
}

QVariant ColumnValue(sqlite3_stmt *st, int index)
{
    switch (sqlite3_column_type(st, index)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(st, index)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, index));
    case SQLITE_TEXT: {
        const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(st, index));
        return QVariant(QString::fromUtf8(p, sqlite3_column_bytes(st, index)));
    }
    case SQLITE_BLOB: {
        const auto *p = static_cast<const char *>(sqlite3_column_blob(st, index));
        return QVariant(QByteArray(p, sqlite3_column_bytes(st, index)));
    }
    default:
        return NullValue();
    }
}

void Log(const QString &text)
{
    const QByteArray line = "versilo: " + text.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

QString LastSqliteError(sqlite3 *db, const QString &context)
{
    if (!db) {
        Log(context + QStringLiteral(": out of memory"));
        return QStringLiteral("内存不足");
    }
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
    const int code = sqlite3_extended_errcode(db);
    Log((context.isEmpty() ? QString() : context + QStringLiteral(": ")) + detail +
        QStringLiteral(" (SQLite error %1)").arg(code));
    switch (code & 0xff) {
    case SQLITE_READONLY: return QStringLiteral("数据库文件是只读的");
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return QStringLiteral("数据库正被另一个程序使用");
    case SQLITE_FULL: return QStringLiteral("磁盘已满");
    case SQLITE_IOERR: return QStringLiteral("读写文件出错");
    case SQLITE_CANTOPEN: return QStringLiteral("文件打不开");
    case SQLITE_PERM:
    case SQLITE_AUTH: return QStringLiteral("没有权限");
    // The key is the program's own, never the writer's: a file it cannot
    // read is damaged or not this program's.
    case SQLITE_NOTADB: return QStringLiteral("文件已损坏，或者不是 Versilo 的数据库");
    case SQLITE_CORRUPT: return QStringLiteral("数据库文件已损坏");
    case SQLITE_CONSTRAINT: return QStringLiteral("数据库拒绝了这项修改");
    case SQLITE_NOMEM: return QStringLiteral("内存不足");
    case SQLITE_TOOBIG: return QStringLiteral("数据太大");
    case SQLITE_SCHEMA: return QStringLiteral("数据库的结构刚被另一个程序改动了");
    case SQLITE_ERROR:
        if (detail.startsWith(QLatin1String("no such table")) || detail.startsWith(QLatin1String("no such column"))
            || detail.contains(QLatin1String("has no column")))
            return QStringLiteral("数据库里缺少所需的数据表或字段");
        return QStringLiteral("数据库无法完成这项操作");
    default: return QStringLiteral("数据库出错（错误码 %1）").arg(code);
    }
}

bool Exec(sqlite3 *db, const QString &sql, QString *error)
{
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = LastSqliteError(db, sql);
        if (error)
            *error = why;
        return false;
    }
    return true;
}

int Key(sqlite3 *db)
{
    return sqlite3_key(db, DataStore::kPassword, int(std::strlen(DataStore::kPassword)));
}

namespace {

std::function<void()> &WaitNotifier()
{
    static std::function<void()> notify;
    return notify;
}

// The busy handler of every connection: sleeps in short steps while another
// program holds the file, up to the timeout.
int WaitForOtherProgram(void *, int count)
{
    constexpr int kStepMs = 20;
    if (count == 0 && WaitNotifier())
        WaitNotifier()();
    if (count * kStepMs >= DataStore::kBusyTimeoutMs)
        return 0;
    sqlite3_sleep(kStepMs);
    return 1;
}

}  // namespace

void WaitWhileBusy(sqlite3 *db)
{
    sqlite3_busy_handler(db, WaitForOtherProgram, nullptr);
}

}  // namespace versilo::schema

namespace versilo {

void DataStore::SetWaitNotifier(std::function<void()> notify)
{
    schema::WaitNotifier() = std::move(notify);
}

}  // namespace versilo
