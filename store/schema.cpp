#include "schema.h"

#include "datastore.h"

#include <sqlite3.h>

#include <cstring>

namespace versilo::schema {

const std::vector<Table> &Tables()
{
    static const std::vector<Table> tables = [] {
        const auto dictionary = [](const char16_t *name) {
            return Table{QString::fromUtf16(name),
                         {{QStringLiteral("汉字"), "TEXT"},
                          {QStringLiteral("平仄"), "TEXT"},
                          {QStringLiteral("韵调"), "INTEGER"},
                          {QStringLiteral("拼音"), "TEXT"}}};
        };
        const auto patternBook = [](const char16_t *name) {
            return Table{QString::fromUtf16(name),
                         {{QStringLiteral("篇名"), "TEXT"},
                          {QStringLiteral("格律"), "TEXT"},
                          {QStringLiteral("正文"), "TEXT"}}};
        };
        return std::vector<Table>{
            dictionary(u"中华新韵"),
            dictionary(u"平水韵"),
            Table{QStringLiteral("作品"),
                  {{QStringLiteral("篇名"), "TEXT"},
                   {QStringLiteral("正文"), "TEXT"},
                   {QStringLiteral("格律"), "TEXT"},
                   {QStringLiteral("词牌名"), "TEXT"},
                   {QStringLiteral("词谱名"), "TEXT"},
                   {QStringLiteral("作者"), "TEXT"},
                   {QStringLiteral("时间"), "TEXT"}}},
            patternBook(u"常用词谱"),
            patternBook(u"白香词谱"),
            Table{QStringLiteral("常识"),
                  {{QStringLiteral("标题"), "TEXT"},
                   {QStringLiteral("内容"), "TEXT"}}},
            Table{QStringLiteral("诗词库"),
                  {{QStringLiteral("标题"), "TEXT"},
                   {QStringLiteral("作者"), "TEXT"},
                   {QStringLiteral("正文"), "TEXT"},
                   {QStringLiteral("拼音"), "TEXT"}}},
            Table{QStringLiteral("作者"),
                  {{QStringLiteral("姓名"), "TEXT"},
                   {QStringLiteral("朝代"), "TEXT"},
                   {QStringLiteral("年代"), "REAL"},
                   {QStringLiteral("拼音"), "TEXT"}}},
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

QString LastSqliteError(sqlite3 *db)
{
    if (!db)
        return QStringLiteral("内存不足");
    const QString detail = QString::fromUtf8(sqlite3_errmsg(db));
    QString what;
    switch (sqlite3_errcode(db) & 0xff) {
    case SQLITE_READONLY: what = QStringLiteral("数据库文件是只读的"); break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: what = QStringLiteral("数据库正被别的程序占用"); break;
    case SQLITE_FULL: what = QStringLiteral("磁盘已满"); break;
    case SQLITE_IOERR: what = QStringLiteral("读写文件出错"); break;
    case SQLITE_CANTOPEN: what = QStringLiteral("文件打不开"); break;
    case SQLITE_PERM: what = QStringLiteral("没有权限"); break;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: what = QStringLiteral("密码不对或文件已损坏"); break;
    case SQLITE_CONSTRAINT: what = QStringLiteral("数据不符合表的约束"); break;
    case SQLITE_NOMEM: what = QStringLiteral("内存不足"); break;
    default: return detail;
    }
    return what + QStringLiteral("（") + detail + QStringLiteral("）");
}

bool Exec(sqlite3 *db, const QString &sql, QString *error)
{
    char *msg = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        if (error)
            *error = msg ? QString::fromUtf8(msg) : LastSqliteError(db);
        sqlite3_free(msg);
        return false;
    }
    return true;
}

int Key(sqlite3 *db)
{
    return sqlite3_key(db, DataStore::kPassword, int(std::strlen(DataStore::kPassword)));
}

}  // namespace versilo::schema
