// SPDX-License-Identifier: GPL-3.0-or-later
// A copy of the database the writer can take at any moment, and the way
// back from one. No widgets.
#pragma once

#include <QList>
#include <QString>

namespace versilo {

// Writes a copy of the database `dbFile` to `target` with SQLite's online
// backup: the copy is the file as it stood at one moment, also while another
// program (a running Versilo) uses it. The copy carries the same password.
// Never overwrites: an existing `target` is refused, and `target` appears
// only once the copy is complete and passes the integrity check. False with
// *error in words for the writer.
bool BackupDatabase(const QString &dbFile, const QString &target, QString *error);

// Puts the copy `source` back as `dbFile`, only when `source` opens with the
// password and PRAGMA integrity_check says ok, and no other program has
// `dbFile` open. The database as it was is kept first, under
// *keptPrevious (dbFile + ".before-restore-" + date and time), so nothing is
// lost; *keptPrevious stays empty when there was none. False with *error
// when refused or failed; `dbFile` is then as it was.
bool RestoreDatabase(const QString &source, const QString &dbFile, QString *keptPrevious,
                     QString *error);

// The ids of the other processes that have `file` open (from /proc): empty
// when none, or when it cannot be told.
QList<qint64> ProcessesUsing(const QString &file);

}  // namespace versilo
