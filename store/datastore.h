// SPDX-License-Identifier: GPL-3.0-or-later
// The DataStore: the one connection to mvtrakp.m and the one shared recordset.
//
// Every data window connects in its load step, which replaces both the
// connection and the recordset. Operations never throw: each reports success
// or failure (and keeps in LastError() a Chinese text for the writer that
// says what failed and why, with the file's path once; the technical detail
// goes to a log line on standard error), so callers that run "errors
// ignored, statement by statement" simply go on.
//
// Another program may hold the file for a moment (a second Versilo, a
// versilo-check run): every connection then waits for it, up to
// kBusyTimeoutMs, before an operation fails.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace versilo {

// Lock types of Recordset::Open. The lock type changes nothing for a reader.
enum class LockType { ReadOnly = 1, Optimistic = 3 };

class Connection;

// A cursor over the result of one SQL text, fully read at Open (a keyset
// cursor: RecordCount is exact at once). Add, change and delete act on the
// current row of the table named after "from" in the SQL text.
//
// SQL texts keep the program's shape ("select *from 作品 where 篇名 ='?'"...)
// but values are never spliced in: a value goes in as a bound parameter, with
// a "?" where the spliced text stood. So "select *from 作品 where 篇名 =?"
// with {title} replaces "select *from 作品 where 篇名 ='" + title + "'", and
// "... like ?" with {"%" + x + "%"} replaces "like'%" + x + "%'".
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    // Runs the SQL text on the store's current connection; stands on the
    // first row. Closes a result that was still open first. The result keeps
    // that connection until it is closed, even if the store reconnects.
    // A store left unconnected (a connect that failed) connects again here.
    // Writes need LockType::Optimistic and a "select * from TABLE" text.
    bool Open(const QString &sql, const QVariantList &params = {},
              LockType lock = LockType::ReadOnly);
    bool IsOpen() const;
    int RecordCount() const;   // exact right after Open, also for 0 rows

    // One row as the database yields it, read by column index like FieldAt.
    class RowValues {
    public:
        QVariant At(int index) const;
        // The same as text, as At(index).toString() reads, without the
        // QVariant: "" for null (*isNull then true) and for a missing column.
        QString TextAt(int index, bool *isNull = nullptr) const;
    private:
        friend class Recordset;
        RowValues(sqlite3_stmt *st, void *texts) : st_(st), texts_(texts) {}
        sqlite3_stmt *st_;
        void *texts_;
    };
    // For readers that copy every row out at once: runs the SQL text
    // read-only as Open does, but hands each row to `row` as it comes and
    // keeps none, so nothing is held twice. `start` gets the column names
    // first and may refuse the result (false, with *why). The recordset is
    // closed afterwards. False when the query fails (LastError says why).
    bool ReadEach(const QString &sql, const QVariantList &params,
                  const std::function<bool(const QStringList &columns, QString *why)> &start,
                  const std::function<void(const RowValues &)> &row);
    bool Eof() const;          // no current row

    // Field read by column name; an invalid QVariant when there is no current
    // row or no such column, a null QVariant for a database null.
    QVariant Field(const QString &column) const;
    // The same as text; null and missing give "".
    QString Text(const QString &column) const;
    // Index-based access for tight loops: ColumnIndex gives -1 for an
    // unknown name; FieldAt reads like Field.
    int ColumnIndex(const QString &column) const;
    QVariant FieldAt(int index) const;
    // Field write on the current row, or on the row started by AddNew.
    // Written fields read back at once; they reach the file only by Update.
    bool SetField(const QString &column, const QVariant &value);

    // To the next row (past the last one: Eof). Drops fields written
    // without Update, and a row started by AddNew.
    bool MoveNext();
    bool AddNew();
    // Stores the written fields of the current or new row in one
    // transaction; afterwards the row reads as stored (with its new `id`).
    // With nothing written there is nothing to store and it succeeds.
    bool Update();
    // Deletes exactly the current row (fails on an empty result or a row
    // already deleted); RecordCount drops by one.
    bool Delete();
    void Close();

    QStringList Columns() const;
    QString LastError() const;

private:
    friend class DataStore;
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Where the database lives and what fills it when it has to be created.
struct StoreLocation {
    QString appDir;       // folder holding mvtrakp.m; empty: AppWriteDir()
    QString seedDir;      // folder of the seed .tsv files; empty: the seed compiled into the program
};

class DataStore {
public:
    static constexpr const char *kFileName = "mvtrakp.m";
    static constexpr const char *kPassword = "t3k9w2hpzq7mvd";
    // How long an operation waits for another program holding the file.
    static constexpr int kBusyTimeoutMs = 5000;

    // Called when an operation starts to wait for another program holding
    // the file (on the operation's thread; the windows show the wait
    // cursor). Empty: nobody is told.
    static void SetWaitNotifier(std::function<void()> notify);

    explicit DataStore(StoreLocation where = {});
    ~DataStore();

    void SetLocation(const StoreLocation &where);
    const StoreLocation &Location() const;
    QString FilePath() const;   // appDir + "/mvtrakp.m"

    // connect: a new connection object replaces the shared one. Creates the
    // file from the seed data when it is missing; never overwrites a file.
    // A file that lacks tables or columns of this program gets them, and the
    // version mark with them, in one transaction; a complete file is only
    // read (a check never writes). False with a Chinese LastError() naming
    // the file when it cannot be opened (missing folder, wrong password, not
    // a database); the shared connection is then empty, and the next use of
    // the shared recordset connects again. A reconnect to the same, unchanged
    // file shares the open handle (the password-derived key is slow to make).
    bool Connect();
    bool IsConnected() const;
    // Why the connected file is open for reading only (this program may not
    // write it or its folder), in words for the writer; empty when it can be
    // written. Every write to such a file fails with this text.
    QString ReadOnlyReason() const;
    // Reads every page of the file and checks its structure (connecting
    // first if need be). False, with *problem in words for the writer
    // naming the file, when the file is damaged or cannot be read.
    bool CheckIntegrity(QString *problem);
    // new recordset: the shared recordset starts afresh (closed, no error);
    // the object itself stays, so references to Rs() remain valid.
    Recordset &NewRecordset();
    // The shared recordset.
    Recordset &Rs();

    // What tells whether the file's content may have changed between two
    // moments: the open handle, SQLite's data_version (another program
    // committed) and the rows changed through this program's own handle.
    // Equal valid stamps mean nothing was written in between. Invalid when
    // not connected or the file cannot be read.
    struct ContentStamp {
        quint64 handle = 0;       // 0: no stamp
        qint64 dataVersion = 0;
        qint64 ownChanges = 0;
        bool Valid() const { return handle != 0; }
        bool operator==(const ContentStamp &) const = default;
    };
    ContentStamp Stamp() const;

    // The raw handle of the current connection (tools and tests only).
    sqlite3 *Handle() const;
    QString LastError() const;

private:
    friend class StoreTransaction;
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Several writes made as one. While it is open, every Update and Delete on
// the store's connection joins it; Commit() stores them together. Ended
// without Commit (a write failed, an early return), it undoes everything
// written since it began, so the tables are as they were.
//
//   StoreTransaction tx(store);
//   if (!tx.Active() || !WriteA() || !WriteB() || !tx.Commit())
//       report(tx.LastError() or the write's error);   // nothing changed
class StoreTransaction {
public:
    explicit StoreTransaction(DataStore &store);   // connects the store if need be
    ~StoreTransaction();                           // rolls back unless committed
    StoreTransaction(const StoreTransaction &) = delete;
    StoreTransaction &operator=(const StoreTransaction &) = delete;

    // Begun, and not yet committed or rolled back. False at once when the
    // transaction could not begin (LastError says why).
    bool Active() const { return active_; }
    // Stores every write made since it began. False (and everything undone)
    // when that fails, or when a failed write already ended the transaction.
    bool Commit();
    void Rollback();
    QString LastError() const { return error_; }

private:
    std::shared_ptr<Connection> conn_;
    bool active_ = false;
    QString error_;
};

}  // namespace versilo
