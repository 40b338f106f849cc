// SPDX-License-Identifier: GPL-3.0-or-later
#include "seed.h"

#include "initials.h"
#include "schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace versilo::seed {

namespace {

QVariant NumericValue(const QVariant &text, const char *type)
{
    if (text.isNull())
        return text;
    const QString s = text.toString().trimmed();
    if (s.isEmpty())
        return QVariant();
    bool ok = false;
    if (qstrcmp(type, "INTEGER") == 0) {
        const qlonglong n = s.toLongLong(&ok);
        if (ok)
            return n;
    } else {
        const double x = s.toDouble(&ok);
        if (ok)
            return x;
    }
    return text;   // not a number: stored as it stands
}

QString SeedPath(const QString &seedDir, const QString &table)
{
    if (seedDir.isEmpty())
        return QStringLiteral(":/seed/") + table + QStringLiteral(".tsv");
    return QDir(seedDir).filePath(table + QStringLiteral(".tsv"));
}

void RemoveWithJournal(const QString &file)
{
    const QByteArray f = QFile::encodeName(file);
    ::unlink(f.constData());
    ::unlink((f + "-journal").constData());
}

// Moves `from` to `to` unless `to` exists. *existed tells that it did.
bool MoveNoReplace(const QString &from, const QString &to, bool *existed, QString *error)
{
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    *existed = false;
    if (::link(f.constData(), t.constData()) == 0) {
        ::unlink(f.constData());
        return true;
    }
    int err = errno;
    if (err != EEXIST) {
        // File systems without hard links: an exclusive rename.
        if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
            return true;
        err = errno;
    }
    if (err == EEXIST) {
        *existed = true;
        return true;
    }
    schema::Log(QStringLiteral("moving %1 to %2: %3").arg(from, to, QString::fromLocal8Bit(std::strerror(err))));
    switch (err) {
    case EACCES: case EPERM: *error = QStringLiteral("没有权限"); break;
    case EROFS: *error = QStringLiteral("文件夹是只读的"); break;
    case ENOSPC: case EDQUOT: *error = QStringLiteral("磁盘已满"); break;
    default: *error = QStringLiteral("文件系统出错（错误码 %1）").arg(err); break;
    }
    return false;
}

}  // namespace

bool FillTable(sqlite3 *db, const schema::Table &table, const SeedTable &seed, QString *error)
{
    if (seed.rows.empty())
        return true;
    QString sql = QStringLiteral("INSERT INTO ") + schema::Quoted(table.name) + QStringLiteral(" (");
    QString marks;
    for (int i = 0; i < seed.columns.size(); ++i) {
        if (i) {
            sql += u',';
            marks += u',';
        }
        sql += schema::Quoted(seed.columns[i]);
        marks += u'?';
    }
    sql += QStringLiteral(") VALUES (") + marks + u')';
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        *error = schema::LastSqliteError(db, sql);
        return false;
    }
    bool ok = true;
    for (const auto &row : seed.rows) {
        for (size_t i = 0; i < row.size(); ++i)
            schema::Bind(st, int(i) + 1, row[i]);
        if (sqlite3_step(st) != SQLITE_DONE) {
            *error = schema::LastSqliteError(db, sql);
            ok = false;
            break;
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    return ok;
}

QVariant UnescapeField(QStringView field)
{
    if (field == u"\\N")
        return QVariant();
    if (!field.contains(u'\\'))
        return field.toString();
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != u'\\' || i + 1 == field.size()) {
            out += c;
            continue;
        }
        const QChar e = field[++i];
        switch (e.unicode()) {
        case u'\\': out += u'\\'; break;
        case u't': out += u'\t'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        default: out += c; out += e; break;   // unknown escape: kept as written
        }
    }
    return out;
}

bool ReadSeedTable(const QString &seedDir, const QString &tableName, SeedTable *out,
                   QString *error)
{
    *out = SeedTable{};
    const schema::Table *table = schema::FindTable(tableName);
    if (!table) {
        *error = QStringLiteral("没有数据表“%1”。").arg(tableName);
        return false;
    }
    const QString path = SeedPath(seedDir, tableName);
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        schema::Log(QStringLiteral("reading %1: %2").arg(path, file.errorString()));
        *error = QStringLiteral("无法读取种子文件 %1。").arg(path);
        return false;
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QList<QStringView> lines = QStringView(text).split(u'\n');
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    if (lines.isEmpty())
        return true;
    const auto stripCr = [](QStringView l) { return l.endsWith(u'\r') ? l.chopped(1) : l; };

    // Header: known column names only.
    std::vector<const char *> types;
    const QList<QStringView> header = stripCr(lines[0]).split(u'\t');
    const qsizetype fieldCount = header.size();
    for (QStringView name : header) {
        const QString n = name.toString();
        const char *type = nullptr;
        if (n == QLatin1String("id"))
            type = "INTEGER";
        for (const schema::Column &c : table->columns)
            if (c.name == n)
                type = c.type;
        if (!type || out->columns.contains(n)) {
            *error = QStringLiteral("种子文件 %1 第1行：字段“%2”不对。").arg(path, n);
            return false;
        }
        out->columns << n;
        types.push_back(type);
    }

    // The pinyin initials of the two searchable tables.
    QString initialsOf;
    if (tableName == QStringLiteral("诗词库"))
        initialsOf = QStringLiteral("标题");
    else if (tableName == QStringLiteral("作者"))
        initialsOf = QStringLiteral("姓名");
    int sourceCol = -1, pinyinCol = -1;
    if (!initialsOf.isEmpty()) {
        sourceCol = int(out->columns.indexOf(initialsOf));
        pinyinCol = int(out->columns.indexOf(QStringLiteral("拼音")));
        if (sourceCol >= 0 && pinyinCol < 0) {
            out->columns << QStringLiteral("拼音");
            types.push_back("TEXT");
            pinyinCol = int(out->columns.size()) - 1;
        }
    }

    out->rows.reserve(lines.size() - 1);
    for (qsizetype li = 1; li < lines.size(); ++li) {
        const QList<QStringView> fields = stripCr(lines[li]).split(u'\t');
        if (fields.size() != fieldCount) {
            *error = QStringLiteral("种子文件 %1 第%2行：应有%3个字段，实有%4个。")
                         .arg(path).arg(li + 1).arg(fieldCount).arg(fields.size());
            return false;
        }
        std::vector<QVariant> row;
        row.reserve(types.size());
        for (qsizetype i = 0; i < fields.size(); ++i) {
            QVariant v = UnescapeField(fields[i]);
            if (qstrcmp(types[i], "TEXT") != 0)
                v = NumericValue(v, types[i]);
            row.push_back(std::move(v));
        }
        if (pinyinCol >= 0 && sourceCol >= 0) {
            if (qsizetype(row.size()) <= pinyinCol)
                row.emplace_back();
            if (row[pinyinCol].isNull() || row[pinyinCol].toString().isEmpty())
                row[pinyinCol] = PinyinInitials(row[sourceCol].toString());
        }
        out->rows.push_back(std::move(row));
    }
    return true;
}

void RemoveStaleTemporaries(const QString &dir, const QString &fileName)
{
    // The names CreateDatabase gives: ".<file>.<pid>.<8 hex digits>.tmp".
    const QString prefix = u'.' + fileName + u'.';
    const QStringList names = QDir(dir).entryList({prefix + QStringLiteral("*.tmp")},
                                                  QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        const QStringList parts = name.mid(prefix.size()).split(u'.');
        bool pidOk = false, randOk = false;
        const qint64 pid = parts.size() == 3 ? parts[0].toLongLong(&pidOk) : 0;
        if (parts.size() == 3)
            parts[1].toUInt(&randOk, 16);
        if (!pidOk || !randOk || parts[1].size() != 8 || pid <= 0)
            continue;
        // Still running (or not ours to know): its creation may be under way.
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        const QString file = QDir(dir).filePath(name);
        schema::Log(QStringLiteral("removing %1, left by an interrupted start").arg(file));
        RemoveWithJournal(file);
    }
}

bool CreateDatabase(const QString &path, const QString &seedDir, QString *error)
{
    // Every seed table is read before anything is written.
    std::vector<SeedTable> seeds(schema::Tables().size());
    for (size_t i = 0; i < seeds.size(); ++i)
        if (!ReadSeedTable(seedDir, schema::Tables()[i].name, &seeds[i], error)) {
            *error = QStringLiteral("无法创建数据库文件 %1：%2")
                         .arg(QDir::toNativeSeparators(path), *error);
            return false;
        }

    const QFileInfo target(path);
    QString tmp;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tmp = target.absolutePath() + QStringLiteral("/.%1.%2.%3.tmp")
                  .arg(target.fileName())
                  .arg(QCoreApplication::applicationPid())
                  .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        if (!QFileInfo::exists(tmp))
            break;
    }

    RemoveStaleTemporaries(target.absolutePath(), target.fileName());

    // The file is the writer's alone, whatever the umask: made 0600 before
    // the engine opens it (its journal takes the same mode).
    const QByteArray tmpName = QFile::encodeName(tmp);
    const int fd = ::open(tmpName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        const int err = errno;
        schema::Log(QStringLiteral("creating %1: %2").arg(tmp, QString::fromLocal8Bit(std::strerror(err))));
        *error = QStringLiteral("无法创建数据库文件 %1：不能在文件夹里写入新文件（%2）。")
                     .arg(QDir::toNativeSeparators(path),
                          err == EACCES || err == EPERM ? QStringLiteral("没有权限")
                          : err == EROFS               ? QStringLiteral("文件夹是只读的")
                          : err == ENOSPC || err == EDQUOT ? QStringLiteral("磁盘已满")
                                                           : QStringLiteral("错误码 %1").arg(err));
        return false;
    }
    const bool modeSet = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    ::close(fd);
    if (!modeSet)
        schema::Log(QStringLiteral("setting the mode of %1 to 0600 failed").arg(tmp));

    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(tmpName.constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (db)
        schema::WaitWhileBusy(db);
    bool ok = rc == SQLITE_OK && schema::Key(db) == SQLITE_OK;
    QString why;
    if (!ok)
        why = QStringLiteral("不能在文件夹里写入新文件（%1）").arg(schema::LastSqliteError(db, tmp));
    // The version mark goes in with the tables, in the one transaction.
    if (ok)
        ok = schema::Exec(db, QStringLiteral("BEGIN"), &why)
             && schema::Exec(db, QStringLiteral("PRAGMA user_version = %1").arg(schema::kSchemaVersion), &why);
    for (size_t i = 0; ok && i < seeds.size(); ++i) {
        const schema::Table &t = schema::Tables()[i];
        ok = schema::Exec(db, schema::CreateTableSql(t), &why);
        if (ok && !FillTable(db, t, seeds[i], &why)) {
            why = QStringLiteral("数据表“%1”：%2").arg(t.name, why);
            ok = false;
        }
    }
    if (ok)
        ok = schema::Exec(db, QStringLiteral("COMMIT"), &why);
    if (sqlite3_close(db) != SQLITE_OK && ok) {
        why = schema::LastSqliteError(db, tmp);
        ok = false;
    }
    if (!ok) {
        RemoveWithJournal(tmp);
        *error = QStringLiteral("无法创建数据库文件 %1：%2。").arg(QDir::toNativeSeparators(path), why);
        return false;
    }
    bool existed = false;
    if (!MoveNoReplace(tmp, path, &existed, &why)) {
        RemoveWithJournal(tmp);
        *error = QStringLiteral("无法创建数据库文件 %1：不能把新文件放到位（%2）。")
                     .arg(QDir::toNativeSeparators(path), why);
        return false;
    }
    if (existed)
        RemoveWithJournal(tmp);
    return true;
}

}  // namespace versilo::seed
