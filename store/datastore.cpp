// SPDX-License-Identifier: GPL-3.0-or-later
#include "datastore.h"

#include "applocation.h"
#include "gateway.h"
#include "patternbooks.h"
#include "rhymedict.h"
#include "schema.h"
#include "seed.h"
#include "shorttexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace versilo {

// One open database handle. Shared by the DataStore and every recordset
// that still holds a result of it, so a replaced connection stays usable
// until its last user lets go.
class Connection {
public:
    // The keyed database handle, and the file it was opened on. While the
    // handle is open SQLite keeps the file open, so no other file can take
    // its device and inode numbers: equal numbers mean the same file.
    struct Handle {
        explicit Handle(sqlite3 *h) : db(h), serial(NextSerial()) {}
        ~Handle() { sqlite3_close_v2(db); }
        Handle(const Handle &) = delete;
        Handle &operator=(const Handle &) = delete;

        bool Identify(const QString &file)
        {
            struct stat st;
            if (::stat(QFile::encodeName(file).constData(), &st) != 0)
                return false;
            path = file;
            dev = st.st_dev;
            ino = st.st_ino;
            identified = true;
            return true;
        }
        bool StillAt(const QString &file) const
        {
            struct stat st;
            return identified && file == path &&
                   ::stat(QFile::encodeName(file).constData(), &st) == 0 &&
                   st.st_dev == dev && st.st_ino == ino;
        }

        static quint64 NextSerial()
        {
            static std::atomic<quint64> next{0};
            return ++next;
        }

        sqlite3 *db;
        const quint64 serial;   // tells handles apart even at a reused address
        QString path;
        dev_t dev = 0;
        ino_t ino = 0;
        bool identified = false;
        // A StoreTransaction is open: writes must join it, never run alone.
        bool inStoreTransaction = false;
        // Opened read-only because this program may not write the file or
        // its folder: why, in words for the writer. Empty: writable.
        QString readOnlyWhy;
    };

    explicit Connection(std::shared_ptr<Handle> handle) : handle_(std::move(handle)) {}
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    sqlite3 *db() const { return handle_->db; }
    const std::shared_ptr<Handle> &handle() const { return handle_; }

private:
    std::shared_ptr<Handle> handle_;
};

namespace {

using ConnectionPtr = std::shared_ptr<Connection>;

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql)
    {
        const QByteArray utf8 = sql.toUtf8();
        rc_ = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &st_, nullptr);
    }
    ~Statement() { sqlite3_finalize(st_); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    bool ok() const { return rc_ == SQLITE_OK && st_; }
    sqlite3_stmt *get() const { return st_; }

private:
    sqlite3_stmt *st_ = nullptr;
    int rc_;
};

// Runs BEGIN IMMEDIATE and rolls back unless Commit() succeeded. Inside a
// transaction already open on the handle (a StoreTransaction) it is a
// savepoint instead: a failed write is undone, and the outer transaction
// decides about the rest. A failure leaves its reason on the handle for the
// caller to report.
class Transaction {
public:
    explicit Transaction(sqlite3 *db) : db_(db), nested_(sqlite3_get_autocommit(db) == 0)
    {
        active_ = Run(nested_ ? "SAVEPOINT versilo_write" : "BEGIN IMMEDIATE");
    }
    ~Transaction()
    {
        if (!active_)
            return;
        if (nested_) {
            Run("ROLLBACK TO versilo_write");
            Run("RELEASE versilo_write");
        } else {
            Run("ROLLBACK");
        }
    }
    bool active() const { return active_; }
    bool Commit()
    {
        if (!active_ || !Run(nested_ ? "RELEASE versilo_write" : "COMMIT"))
            return false;
        active_ = false;
        return true;
    }

private:
    bool Run(const char *sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

    sqlite3 *db_;
    bool nested_;
    bool active_ = false;
};

// What a write inside a StoreTransaction meets when an earlier failure has
// already ended that transaction.
const QString kAbandoned = QStringLiteral("数据库中途放弃了这组修改。");

// The name under which the row id travels in front of the table's columns.
const QString kRowidColumn = QStringLiteral("\x01rowid");

// "select * from TABLE [rest]", any case and blanks, "select*from" too.
const QRegularExpression &SelectPattern()
{
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*select\s*\*\s*from\s+("[^"]+"|\[[^\]]+\]|[^\s;]+)(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re;
}

// How the table's `id` column is filled on insert.
enum class IdKind { None, RowidAlias, Plain };

IdKind IdKindOf(sqlite3 *db, const QString &table)
{
    Statement st(db, QStringLiteral("PRAGMA table_info(") + schema::Quoted(table) + u')');
    if (!st.ok())
        return IdKind::None;
    bool hasId = false, idIsPk = false, idInteger = false;
    int pkCount = 0;
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 1)));
        const QString type = QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 2)));
        const int pk = sqlite3_column_int(st.get(), 5);
        if (pk > 0)
            ++pkCount;
        if (name.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0) {
            hasId = true;
            idIsPk = pk > 0;
            idInteger = type.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
        }
    }
    if (!hasId)
        return IdKind::None;
    return idIsPk && pkCount == 1 && idInteger ? IdKind::RowidAlias : IdKind::Plain;
}

bool Readable(sqlite3 *db)
{
    Statement st(db, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    return st.ok() && sqlite3_step(st.get()) == SQLITE_ROW;
}

// The columns without which a table's rows mean nothing: a dictionary
// without its tone codes would mark every character 空, a pattern book
// without its patterns would hold no tune. Such a column is never added
// empty to a table that has rows; reading the table then fails and says so.
bool Essential(const QString &table, const QString &columnName)
{
    using namespace column;
    if (table == kNewRhyme || table == kPingshui)
        return columnName == kHanzi || columnName == kTone || columnName == kGroup;
    if (table == kCommonBook || table == kBaixiangBook)
        return columnName == kTitle || columnName == kPattern;
    return false;
}

// The dictionaries and the pattern books: made only with their seed rows.
bool NeedsSeedRows(const QString &table)
{
    return table == kNewRhyme || table == kPingshui || table == kCommonBook || table == kBaixiangBook;
}

bool HasRows(sqlite3 *db, const QString &table)
{
    Statement st(db, QStringLiteral("SELECT EXISTS (SELECT 1 FROM ") + schema::Quoted(table) + u')');
    return !st.ok() || sqlite3_step(st.get()) != SQLITE_ROW || sqlite3_column_int(st.get(), 0) != 0;
}

// What a file made elsewhere, or damaged, lacks of this program's tables.
struct SchemaWork {
    QStringList statements;                 // ALTER TABLE ... ADD COLUMN
    std::vector<const schema::Table *> made;   // tables to make afresh from the seed
    QStringList drop;                       // empty tables too damaged to complete
    bool Empty() const { return statements.isEmpty() && made.empty(); }
};

// Empty when nothing is missing, or when the file cannot be read.
SchemaWork MissingSchema(sqlite3 *db)
{
    SchemaWork work;
    for (const schema::Table &t : schema::Tables()) {
        Statement info(db, QStringLiteral("PRAGMA table_info(") + schema::Quoted(t.name) + u')');
        if (!info.ok())
            return {};
        QStringList have;
        int rc;
        while ((rc = sqlite3_step(info.get())) == SQLITE_ROW)
            have << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1)));
        if (rc != SQLITE_DONE)
            return {};
        if (have.isEmpty()) {
            work.made.push_back(&t);
            continue;
        }
        QStringList add;
        bool essentialMissing = false;
        for (const schema::Column &c : t.columns) {
            if (have.contains(c.name))
                continue;
            if (Essential(t.name, c.name))
                essentialMissing = true;
            else
                add << QStringLiteral("ALTER TABLE ") + schema::Quoted(t.name) +
                           QStringLiteral(" ADD COLUMN ") + schema::Quoted(c.name) + u' ' +
                           QLatin1String(c.type);
        }
        if (essentialMissing) {
            if (HasRows(db, t.name)) {
                schema::Log(QStringLiteral("table %1 lacks a column its rows need; left as it is").arg(t.name));
                continue;   // neither completed nor replaced: its reader reports it
            }
            work.drop << t.name;   // nothing in it to lose: made afresh from the seed
            work.made.push_back(&t);
            continue;
        }
        work.statements << add;
    }
    return work;
}

// Upgrades a file that lacks tables or columns, and stamps the version mark
// in the same transaction. A missing table is made as a new file has it,
// with its seed rows; a dictionary or pattern book whose seed holds no rows
// is not made at all (never an empty one that would pass for the real
// thing). A complete file is not written at all, so that reading (a check)
// never takes the file from another program. Existing data is left alone.
void CompleteSchema(sqlite3 *db, const QString &seedDir)
{
    SchemaWork planned = MissingSchema(db);
    if (planned.Empty())
        return;
    // The seed is read before the file is locked.
    std::map<QString, seed::SeedTable> seeds;
    for (const schema::Table *t : planned.made) {
        QString why;
        seed::SeedTable &table = seeds[t->name];
        if (!seed::ReadSeedTable(seedDir, t->name, &table, &why)) {
            schema::Log(QStringLiteral("seed of %1: %2").arg(t->name, why));
            table = {};
        }
    }
    Transaction tx(db);
    if (!tx.active())
        return;   // a read-only file, or held too long by another program: used as it is
    // Another program may have upgraded the file meanwhile.
    const SchemaWork work = MissingSchema(db);
    if (work.Empty())
        return;
    bool changed = false;
    for (const QString &name : work.drop) {
        const auto s = seeds.find(name);
        if (s == seeds.end() || s->second.rows.empty())
            continue;
        if (!schema::Exec(db, QStringLiteral("DROP TABLE ") + schema::Quoted(name)))
            return;
    }
    for (const schema::Table *t : work.made) {
        const auto s = seeds.find(t->name);
        const bool haveRows = s != seeds.end() && !s->second.rows.empty();
        if (NeedsSeedRows(t->name) && !haveRows) {
            schema::Log(QStringLiteral("table %1 is missing and the seed has no rows for it; not made").arg(t->name));
            continue;
        }
        QString why;
        if (!schema::Exec(db, schema::CreateTableSql(*t))
            || (haveRows && !seed::FillTable(db, *t, s->second, &why)))
            return;
        changed = true;
    }
    for (const QString &sql : work.statements) {
        if (!schema::Exec(db, sql))
            return;
        changed = true;
    }
    if (!changed)
        return;
    int version = 0;
    {
        Statement st(db, QStringLiteral("PRAGMA user_version"));
        if (st.ok() && sqlite3_step(st.get()) == SQLITE_ROW)
            version = sqlite3_column_int(st.get(), 0);
    }
    if (version < schema::kSchemaVersion
        && !schema::Exec(db, QStringLiteral("PRAGMA user_version = %1").arg(schema::kSchemaVersion)))
        return;
    tx.Commit();
}

// Why this program may not change the database file at `path` in `dir`,
// in words for the writer; empty when it may. Changing the file needs
// its folder as well: the journal of every change is written beside it.
QString WhyReadOnly(const QString &path, const QString &dir)
{
    const QString file = QDir::toNativeSeparators(path);
    if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
        return QStringLiteral("数据库文件 %1 是只读的，这里的作品只能读，无法保存修改。").arg(file);
    if (::access(QFile::encodeName(dir).constData(), W_OK) != 0)
        return QStringLiteral("数据库文件 %1 所在的文件夹不允许写入（保存时要在那里写日志文件），"
                              "这里的作品只能读，无法保存修改。").arg(file);
    return {};
}

}  // namespace

// ---------------------------------------------------------------- Recordset

struct Recordset::Impl {
    const ConnectionPtr *source = nullptr;   // the DataStore's current connection
    std::function<QString()> reconnect;      // connects the store; "" or why it failed
    ConnectionPtr conn;                      // held while a result is open

    bool open = false;
    LockType lock = LockType::ReadOnly;
    QString table;        // empty: the result cannot be changed
    QStringList columns;
    QHash<QString, int> columnIndex;
    int width = 0;        // columns per row
    QList<QVariant> cells;   // row-major, width per row (QList moves by relocation)
    std::vector<qint64> rowids;
    std::vector<char> deleted;
    int rows = 0;
    int deletedCount = 0;
    int current = 0;

    bool adding = false;
    std::vector<std::pair<int, QVariant>> edits;   // column index, value

    QString error;

    mutable QString lastName;
    mutable int lastIndex = -1;

    bool Fail(const QString &message)
    {
        error = message;
        return false;
    }
    // A failure of the database: why, in words for the writer, and the file
    // ("数据库文件是只读的（/…/mvtrakp.m）。"); the caller's message says what
    // failed. The engine's own text goes to the log with `context`.
    bool FailDb(sqlite3 *db, const QString &context)
    {
        if (conn && !conn->handle()->readOnlyWhy.isEmpty()
            && (sqlite3_extended_errcode(db) & 0xff) == SQLITE_READONLY) {
            schema::LastSqliteError(db, context);   // the log line
            return Fail(conn->handle()->readOnlyWhy);
        }
        const QString why = schema::LastSqliteError(db, context);
        const QString file = conn ? QDir::toNativeSeparators(conn->handle()->path) : QString();
        return Fail(why + (file.isEmpty() ? QString() : QStringLiteral("（") + file + u'）') + u'。');
    }
    int IndexOf(const QString &name) const
    {
        if (lastIndex >= 0 && name == lastName)
            return lastIndex;
        const int i = columnIndex.value(name, -1);
        if (i >= 0) {
            lastName = name;
            lastIndex = i;
        }
        return i;
    }
    bool OnRow() const { return open && current < rows && !deleted[current]; }
    const QVariant *PendingValue(int col) const
    {
        for (const auto &e : edits)
            if (e.first == col)
                return &e.second;
        return nullptr;
    }
    void Reset()
    {
        open = false;
        conn.reset();
        table.clear();
        columns.clear();
        columnIndex.clear();
        width = 0;
        cells.clear();
        rowids.clear();
        deleted.clear();
        rows = deletedCount = current = 0;
        adding = false;
        edits.clear();
        lastName.clear();
        lastIndex = -1;
    }
    // A new result begins: the state of the last one is dropped, and the
    // connection is held (it names the file in a failure message). A store
    // left unconnected (a window's connect failed while the file was
    // locked) is connected again by whoever uses it next. Null, with the
    // error, without a connection.
    sqlite3 *Begin()
    {
        Reset();
        error.clear();
        if (source && !*source && reconnect) {
            const QString why = reconnect();
            if (!why.isEmpty()) {
                Fail(why);
                return nullptr;
            }
        }
        conn = source ? *source : nullptr;
        if (!conn) {
            Fail(QStringLiteral("没有连接数据库。"));
            return nullptr;
        }
        return conn->db();
    }
    // Reads the row `rowid` of the table into row `r` of the result.
    bool ReadBack(qint64 rowid, int r);
    bool WriteCheck();
};

bool Recordset::Impl::WriteCheck()
{
    if (!open)
        return Fail(QStringLiteral("记录集没有打开。"));
    if (lock == LockType::ReadOnly)
        return Fail(QStringLiteral("记录集是只读打开的，不能修改。"));
    if (table.isEmpty())
        return Fail(QStringLiteral("这个查询的结果不能修改。"));
    return true;
}

bool Recordset::Impl::ReadBack(qint64 rowid, int r)
{
    Statement st(conn->db(), QStringLiteral("SELECT * FROM ") + schema::Quoted(table) +
                                 QStringLiteral(" WHERE rowid = ?"));
    if (!st.ok())
        return false;
    sqlite3_bind_int64(st.get(), 1, rowid);
    if (sqlite3_step(st.get()) != SQLITE_ROW || sqlite3_column_count(st.get()) != width)
        return false;
    for (int c = 0; c < width; ++c)
        cells[qsizetype(r) * width + c] = schema::ColumnValue(st.get(), c);
    return true;
}

Recordset::Recordset() : d(std::make_unique<Impl>()) {}
Recordset::~Recordset() = default;

bool Recordset::Open(const QString &sql, const QVariantList &params, LockType lock)
{
    sqlite3 *db = d->Begin();
    if (!db)
        return false;

    // The table named after "from" is the one rows are changed in; its row
    // id is fetched in front of the columns.
    QString table;
    QString run = sql;
    const QRegularExpressionMatch m = SelectPattern().match(sql);
    if (m.hasMatch()) {
        table = m.captured(1);
        if (table.startsWith(u'"') || table.startsWith(u'['))
            table = table.mid(1, table.size() - 2);
        run = QStringLiteral("SELECT rowid AS ") + schema::Quoted(kRowidColumn) +
              QStringLiteral(", * FROM ") + schema::Quoted(table) + m.captured(2);
    }
    auto st = std::make_unique<Statement>(db, run);
    if (!st->ok() && !table.isEmpty()) {
        // A table without row ids can still be read.
        table.clear();
        st = std::make_unique<Statement>(db, sql);
    }
    if (!st->ok()) {
        d->FailDb(db, sql);
        d->conn.reset();
        return false;
    }
    sqlite3_stmt *s = st->get();
    const int paramCount = sqlite3_bind_parameter_count(s);
    if (paramCount != params.size()) {
        schema::Log(QStringLiteral("%1: %2 parameters needed, %3 given").arg(sql).arg(paramCount).arg(params.size()));
        d->conn.reset();
        return d->Fail(QStringLiteral("程序内部出错（查询的参数不符）。"));
    }
    for (int i = 0; i < paramCount; ++i)
        if (schema::Bind(s, i + 1, params[i]) != SQLITE_OK) {
            d->FailDb(db, sql);
            d->conn.reset();
            return false;
        }

    const int first = table.isEmpty() ? 0 : 1;
    const int width = sqlite3_column_count(s) - first;
    QStringList columns;
    QHash<QString, int> index;
    for (int c = 0; c < width; ++c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(s, c + first));
        columns << name;
        if (!index.contains(name))
            index.insert(name, c);
    }
    QList<QVariant> cells;
    std::vector<qint64> rowids;
    ShortTexts shortTexts;
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        rowids.push_back(first ? sqlite3_column_int64(s, 0) : 0);
        for (int c = 0; c < width; ++c) {
            const int col = c + first;
            switch (sqlite3_column_type(s, col)) {
            case SQLITE_INTEGER:
                cells.emplace_back(qlonglong(sqlite3_column_int64(s, col)));
                break;
            case SQLITE_TEXT: {
                const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(s, col));
                cells.emplace_back(shortTexts.Get(p, sqlite3_column_bytes(s, col)));
                break;
            }
            case SQLITE_NULL:
                cells.emplace_back(schema::NullValue());
                break;
            default:
                cells.push_back(schema::ColumnValue(s, col));
                break;
            }
        }
    }
    if (rc != SQLITE_DONE) {
        d->FailDb(db, sql);
        d->conn.reset();
        return false;
    }

    d->open = true;
    d->lock = lock;
    d->table = table;
    d->columns = columns;
    d->columnIndex = std::move(index);
    d->width = width;
    d->cells = std::move(cells);
    d->rowids = std::move(rowids);
    d->rows = int(d->rowids.size());
    d->deleted.assign(size_t(d->rows), 0);
    return true;
}

QVariant Recordset::RowValues::At(int c) const
{
    if (c < 0 || c >= sqlite3_column_count(st_))
        return {};
    switch (sqlite3_column_type(st_, c)) {
    case SQLITE_INTEGER:
        return qlonglong(sqlite3_column_int64(st_, c));
    case SQLITE_TEXT:
        return static_cast<ShortTexts *>(texts_)->Get(
            reinterpret_cast<const char *>(sqlite3_column_text(st_, c)), sqlite3_column_bytes(st_, c));
    case SQLITE_NULL:
        return schema::NullValue();
    default:
        return schema::ColumnValue(st_, c);
    }
}

QString Recordset::RowValues::TextAt(int c, bool *isNull) const
{
    const int type = c >= 0 && c < sqlite3_column_count(st_) ? sqlite3_column_type(st_, c) : SQLITE_NULL;
    if (isNull)
        *isNull = type == SQLITE_NULL;
    switch (type) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return static_cast<ShortTexts *>(texts_)->Number(sqlite3_column_int64(st_, c));
    case SQLITE_TEXT:
        return static_cast<ShortTexts *>(texts_)->Get(
            reinterpret_cast<const char *>(sqlite3_column_text(st_, c)), sqlite3_column_bytes(st_, c));
    default:
        return At(c).toString();
    }
}

bool Recordset::ReadEach(const QString &sql, const QVariantList &params,
                         const std::function<bool(const QStringList &, QString *)> &start,
                         const std::function<void(const RowValues &)> &row)
{
    sqlite3 *db = d->Begin();
    if (!db)
        return false;
    const auto done = [&](bool ok) {
        d->conn.reset();
        return ok;
    };
    Statement st(db, sql);
    if (!st.ok())
        return done(d->FailDb(db, sql));
    sqlite3_stmt *s = st.get();
    const int paramCount = sqlite3_bind_parameter_count(s);
    if (paramCount != params.size()) {
        schema::Log(QStringLiteral("%1: %2 parameters needed, %3 given").arg(sql).arg(paramCount).arg(params.size()));
        return done(d->Fail(QStringLiteral("程序内部出错（查询的参数不符）。")));
    }
    for (int i = 0; i < paramCount; ++i)
        if (schema::Bind(s, i + 1, params[i]) != SQLITE_OK)
            return done(d->FailDb(db, sql));
    QStringList columns;
    for (int c = 0; c < sqlite3_column_count(s); ++c)
        columns << QString::fromUtf8(sqlite3_column_name(s, c));
    QString why;
    if (!start(columns, &why))
        return done(d->Fail(why));
    ShortTexts texts;
    const RowValues values(s, &texts);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
        row(values);
    if (rc != SQLITE_DONE)
        return done(d->FailDb(db, sql));
    return done(true);
}

bool Recordset::IsOpen() const { return d->open; }

int Recordset::RecordCount() const { return d->open ? d->rows - d->deletedCount : 0; }

bool Recordset::Eof() const { return !d->open || (!d->adding && d->current >= d->rows); }

int Recordset::ColumnIndex(const QString &column) const
{
    return d->open ? d->IndexOf(column) : -1;
}

QVariant Recordset::Field(const QString &column) const
{
    return FieldAt(ColumnIndex(column));
}

QVariant Recordset::FieldAt(int c) const
{
    if (!d->open || c < 0 || c >= d->width)
        return {};
    if (const QVariant *v = d->PendingValue(c))
        return *v;
    if (d->adding)
        return schema::NullValue();
    if (!d->OnRow())
        return {};
    return d->cells[qsizetype(d->current) * d->width + c];
}

QString Recordset::Text(const QString &column) const
{
    const QVariant v = Field(column);
    return v.isNull() ? QString() : v.toString();
}

bool Recordset::SetField(const QString &column, const QVariant &value)
{
    if (!d->WriteCheck())
        return false;
    if (!d->adding && !d->OnRow())
        return d->Fail(QStringLiteral("没有当前记录，不能写字段“%1”。").arg(column));
    const int c = d->IndexOf(column);
    if (c < 0)
        return d->Fail(QStringLiteral("数据表“%1”没有字段“%2”。").arg(d->table, column));
    for (auto &e : d->edits)
        if (e.first == c) {
            e.second = value;
            return true;
        }
    d->edits.emplace_back(c, value);
    return true;
}

bool Recordset::MoveNext()
{
    if (!d->open)
        return d->Fail(QStringLiteral("记录集没有打开。"));
    // Fields written without Update are dropped.
    d->edits.clear();
    if (d->adding) {
        d->adding = false;
        return true;
    }
    if (d->current >= d->rows)
        return d->Fail(QStringLiteral("已经到了最后一条记录之后。"));
    do
        ++d->current;
    while (d->current < d->rows && d->deleted[d->current]);
    return true;
}

bool Recordset::AddNew()
{
    if (!d->WriteCheck())
        return false;
    d->edits.clear();
    d->adding = true;
    return true;
}

bool Recordset::Update()
{
    if (!d->open)
        return d->Fail(QStringLiteral("记录集没有打开。"));
    if (!d->adding && d->edits.empty())
        return true;   // nothing written: nothing to store
    if (!d->WriteCheck())
        return false;
    if (!d->adding && !d->OnRow())
        return d->Fail(QStringLiteral("没有当前记录，无法保存。"));
    sqlite3 *db = d->conn->db();
    const auto fail = [&](const QString &why) { return d->Fail(why); };
    const auto failDb = [&](const QString &context) { return d->FailDb(db, context); };

    if (d->conn->handle()->inStoreTransaction && sqlite3_get_autocommit(db) != 0)
        return fail(kAbandoned);
    Transaction tx(db);
    if (!tx.active())
        return failDb(QStringLiteral("BEGIN IMMEDIATE"));

    std::vector<std::pair<QString, QVariant>> values;
    for (const auto &e : d->edits)
        values.emplace_back(d->columns[e.first], e.second);
    qint64 rowid = 0;
    if (d->adding) {
        // A table whose `id` is an ordinary column: the next number is
        // taken inside this transaction.
        const bool idWritten = std::any_of(values.begin(), values.end(), [](const auto &v) {
            return v.first.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0;
        });
        if (!idWritten && IdKindOf(db, d->table) == IdKind::Plain) {
            Statement next(db, QStringLiteral("SELECT coalesce(max(id), 0) + 1 FROM ") +
                                   schema::Quoted(d->table));
            if (!next.ok() || sqlite3_step(next.get()) != SQLITE_ROW)
                return failDb(QStringLiteral("next id of ") + d->table);
            values.emplace_back(QStringLiteral("id"), qlonglong(sqlite3_column_int64(next.get(), 0)));
        }
        QString sql = QStringLiteral("INSERT INTO ") + schema::Quoted(d->table);
        if (values.empty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            QString names, marks;
            for (const auto &v : values) {
                if (!names.isEmpty()) {
                    names += u',';
                    marks += u',';
                }
                names += schema::Quoted(v.first);
                marks += u'?';
            }
            sql += QStringLiteral(" (") + names + QStringLiteral(") VALUES (") + marks + u')';
        }
        Statement st(db, sql);
        if (!st.ok())
            return failDb(sql);
        for (size_t i = 0; i < values.size(); ++i)
            schema::Bind(st.get(), int(i) + 1, values[i].second);
        if (sqlite3_step(st.get()) != SQLITE_DONE)
            return failDb(sql);
        rowid = sqlite3_last_insert_rowid(db);
    } else {
        rowid = d->rowids[d->current];
        QString sql = QStringLiteral("UPDATE ") + schema::Quoted(d->table) + QStringLiteral(" SET ");
        for (size_t i = 0; i < values.size(); ++i) {
            if (i)
                sql += u',';
            sql += schema::Quoted(values[i].first) + QStringLiteral("=?");
        }
        sql += QStringLiteral(" WHERE rowid=?");
        Statement st(db, sql);
        if (!st.ok())
            return failDb(sql);
        for (size_t i = 0; i < values.size(); ++i)
            schema::Bind(st.get(), int(i) + 1, values[i].second);
        sqlite3_bind_int64(st.get(), int(values.size()) + 1, rowid);
        if (sqlite3_step(st.get()) != SQLITE_DONE)
            return failDb(sql);
        if (sqlite3_changes(db) != 1)
            return fail(QStringLiteral("这条记录已经不在了。"));
    }
    if (!tx.Commit())
        return failDb(QStringLiteral("COMMIT"));

    // The stored row becomes the current row, as the database holds it.
    int r = d->current;
    if (d->adding) {
        r = d->rows++;
        d->rowids.push_back(rowid);
        d->deleted.push_back(0);
        d->cells.resize(qsizetype(d->rows) * d->width, schema::NullValue());
        d->current = r;
    }
    if (!d->ReadBack(rowid, r))
        for (const auto &e : d->edits)
            d->cells[qsizetype(r) * d->width + e.first] = e.second;
    d->adding = false;
    d->edits.clear();
    return true;
}

bool Recordset::Delete()
{
    if (!d->WriteCheck())
        return false;
    if (d->adding || !d->OnRow())
        return d->Fail(QStringLiteral("没有当前记录，无法删除。"));
    sqlite3 *db = d->conn->db();
    const QString sql = QStringLiteral("DELETE FROM ") + schema::Quoted(d->table) + QStringLiteral(" WHERE rowid=?");
    if (d->conn->handle()->inStoreTransaction && sqlite3_get_autocommit(db) != 0)
        return d->Fail(kAbandoned);
    Transaction tx(db);
    if (!tx.active())
        return d->FailDb(db, QStringLiteral("BEGIN IMMEDIATE"));
    Statement st(db, sql);
    if (!st.ok())
        return d->FailDb(db, sql);
    sqlite3_bind_int64(st.get(), 1, d->rowids[d->current]);
    if (sqlite3_step(st.get()) != SQLITE_DONE)
        return d->FailDb(db, sql);
    if (sqlite3_changes(db) != 1)
        return d->Fail(QStringLiteral("这条记录已经不在了。"));
    if (!tx.Commit())
        return d->FailDb(db, QStringLiteral("COMMIT"));
    d->deleted[d->current] = 1;
    ++d->deletedCount;
    d->edits.clear();
    return true;
}

void Recordset::Close() { d->Reset(); }

QStringList Recordset::Columns() const { return d->columns; }

QString Recordset::LastError() const { return d->error; }

// ---------------------------------------------------------------- DataStore

struct DataStore::Impl {
    StoreLocation where;
    ConnectionPtr conn;
    std::unique_ptr<Recordset> rs;
    QString error;

    std::unique_ptr<Recordset> MakeRecordset(DataStore *store)
    {
        auto r = std::make_unique<Recordset>();
        r->d->source = &conn;
        r->d->reconnect = [store] { return store->Connect() ? QString() : store->LastError(); };
        return r;
    }
};

DataStore::DataStore(StoreLocation where) : d(std::make_unique<Impl>())
{
    SetLocation(where);
    d->rs = d->MakeRecordset(this);
}

DataStore::~DataStore()
{
    // The recordset lets go of its connection before the store's own.
    d->rs.reset();
}

void DataStore::SetLocation(const StoreLocation &where)
{
    d->where = where;
    if (d->where.appDir.isEmpty())
        d->where.appDir = AppWriteDir();
}

const StoreLocation &DataStore::Location() const { return d->where; }

QString DataStore::FilePath() const
{
    return QDir(d->where.appDir).filePath(QLatin1String(kFileName));
}

bool DataStore::Connect()
{
    const ConnectionPtr previous = std::move(d->conn);
    d->conn.reset();
    d->error.clear();
    const QString path = FilePath();
    const QString shown = QDir::toNativeSeparators(path);
    const auto fail = [&](const QString &why) {
        d->error = QStringLiteral("无法打开数据库文件 %1：%2").arg(shown, why);
        return false;
    };

    const QFileInfo dir(d->where.appDir);
    if (!dir.isDir())
        return fail(QStringLiteral("文件夹不存在。"));
    QFileInfo file(path);
    if (!file.exists() && !file.isSymLink()) {
        QString why;
        if (!seed::CreateDatabase(path, d->where.seedDir, &why)) {
            d->error = why;
            return false;
        }
        file.refresh();
    }
    if (file.isDir())
        return fail(QStringLiteral("这是一个文件夹。"));
    if (file.exists() && file.size() == 0)
        return fail(QStringLiteral("文件是空的。"));

    // Opening means deriving the key from the password, which is slow on
    // purpose. When the file is still the one the previous connection has
    // open, the new connection shares that handle.
    if (previous && previous->handle()->StillAt(path) && Readable(previous->db())) {
        d->conn = std::make_shared<Connection>(previous->handle());
        return true;
    }

    // Hidden files left by a start that was cut short while creating.
    seed::RemoveStaleTemporaries(d->where.appDir, QLatin1String(kFileName));

    // A file this program may read but not change (a folder made read-only,
    // a file of another user) is still the writer's database: it is opened
    // read-only and every write says why it cannot be saved, instead of
    // another file taking its place.
    const QString readOnlyWhy = WhyReadOnly(path, d->where.appDir);
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                   (readOnlyWhy.isEmpty() ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY)
                                       | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    auto conn = std::make_shared<Connection>(std::make_shared<Connection::Handle>(raw));
    conn->handle()->readOnlyWhy = readOnlyWhy;
    if (!readOnlyWhy.isEmpty())
        schema::Log(QStringLiteral("%1 opened read-only").arg(shown));
    const QString context = QStringLiteral("opening ") + shown;
    if (rc != SQLITE_OK)
        return fail(schema::LastSqliteError(raw, context) + u'。');
    // Another program may hold the file for a moment: wait for it, from the
    // first read on.
    schema::WaitWhileBusy(raw);
    if (schema::Key(raw) != SQLITE_OK)
        return fail(schema::LastSqliteError(raw, context) + u'。');
    // A wrong password or a damaged file shows only at the first read.
    {
        Statement st(raw, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        const int step = st.ok() ? sqlite3_step(st.get()) : sqlite3_errcode(raw);
        if (step != SQLITE_ROW)
            return fail(schema::LastSqliteError(raw, context) + u'。');
    }
    CompleteSchema(raw, d->where.seedDir);
    conn->handle()->Identify(path);
    d->conn = std::move(conn);
    return true;
}

bool DataStore::IsConnected() const { return d->conn != nullptr; }

QString DataStore::ReadOnlyReason() const
{
    return d->conn ? d->conn->handle()->readOnlyWhy : QString();
}

bool DataStore::CheckIntegrity(QString *problem)
{
    problem->clear();
    if (!d->conn && !Connect()) {
        *problem = d->error;
        return false;
    }
    sqlite3 *db = d->conn->db();
    const QString shown = QDir::toNativeSeparators(d->conn->handle()->path);
    // quick_check: every page read and its structure checked, without the
    // slow comparison of each index with its table.
    Statement st(db, QStringLiteral("PRAGMA quick_check"));
    QStringList found;
    int rc = st.ok() ? SQLITE_ROW : sqlite3_errcode(db);
    while (st.ok() && (rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        const QString line = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st.get(), 0)));
        if (line != QLatin1String("ok"))
            found << line;
    }
    if (rc != SQLITE_DONE) {
        *problem = QStringLiteral("数据库文件 %1 没有通过完整性检查：%2。")
                       .arg(shown, schema::LastSqliteError(db, QStringLiteral("PRAGMA quick_check on ") + shown));
        return false;
    }
    if (found.isEmpty())
        return true;
    schema::Log(QStringLiteral("PRAGMA quick_check on %1: %2").arg(shown, found.join(QStringLiteral("; "))));
    *problem = QStringLiteral("数据库文件 %1 没有通过完整性检查，已损坏（发现%2处问题）。").arg(shown).arg(found.size());
    return false;
}

Recordset &DataStore::NewRecordset()
{
    // The shared recordset object stays the same, so a reference kept by a
    // window never dangles; what it held is released.
    d->rs->Close();
    d->rs->d->error.clear();
    return *d->rs;
}

Recordset &DataStore::Rs() { return *d->rs; }

sqlite3 *DataStore::Handle() const { return d->conn ? d->conn->db() : nullptr; }

DataStore::ContentStamp DataStore::Stamp() const
{
    if (!d->conn)
        return {};
    sqlite3 *db = d->conn->db();
    Statement st(db, QStringLiteral("PRAGMA data_version"));
    if (!st.ok() || sqlite3_step(st.get()) != SQLITE_ROW)
        return {};
    return {d->conn->handle()->serial, sqlite3_column_int64(st.get(), 0),
            qint64(sqlite3_total_changes(db))};
}

QString DataStore::LastError() const { return d->error; }


// ------------------------------------------------------------ StoreTransaction

StoreTransaction::StoreTransaction(DataStore &store)
{
    if (!store.IsConnected() && !store.Connect()) {
        error_ = store.LastError();
        return;
    }
    conn_ = store.d->conn;
    sqlite3 *db = conn_->db();
    if (sqlite3_get_autocommit(db) == 0) {
        error_ = QStringLiteral("程序内部出错（事务已经开始）。");
        conn_.reset();
        return;
    }
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error_ = schema::LastSqliteError(db, QStringLiteral("BEGIN IMMEDIATE")) + u'。';
        if (!conn_->handle()->readOnlyWhy.isEmpty() && (sqlite3_extended_errcode(db) & 0xff) == SQLITE_READONLY)
            error_ = conn_->handle()->readOnlyWhy;
        conn_.reset();
        return;
    }
    conn_->handle()->inStoreTransaction = true;
    active_ = true;
}

StoreTransaction::~StoreTransaction() { Rollback(); }

bool StoreTransaction::Commit()
{
    if (!active_)
        return false;
    sqlite3 *db = conn_->db();
    // A write that failed badly may have ended the transaction already.
    if (sqlite3_get_autocommit(db) != 0) {
        error_ = kAbandoned;
        Rollback();
        return false;
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error_ = schema::LastSqliteError(db, QStringLiteral("COMMIT")) + u'。';
        Rollback();
        return false;
    }
    conn_->handle()->inStoreTransaction = false;
    active_ = false;
    conn_.reset();
    return true;
}

void StoreTransaction::Rollback()
{
    if (!active_)
        return;
    sqlite3 *db = conn_->db();
    if (sqlite3_get_autocommit(db) == 0)
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    conn_->handle()->inStoreTransaction = false;
    active_ = false;
    conn_.reset();
}

}  // namespace versilo
