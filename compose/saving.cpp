// SPDX-License-Identifier: GPL-3.0-or-later
#include "saving.h"

#include "datastore.h"
#include "dialogs.h"
#include "gateway.h"
#include "patternbooks.h"
#include "prosody.h"

namespace versilo {

namespace {

SaveResult Fail(const QString &why, Dialogs &dialogs)
{
    dialogs.Tell(kSaveFailed + (why.isEmpty() ? QStringLiteral("数据库未能写入。") : why));
    return SaveResult::Failed;
}

const QStringList kSavedColumns{column::kTitle, column::kText, column::kPattern, column::kTuneName,
                                column::kBookName};

WorkRow StoredWork(qint64 id, const QString &title, const WorkOnScreen &work)
{
    WorkRow row;
    row.id = id;
    row.title = title;
    row.poem = StoredPoem(work.poem);
    row.pattern = StoredPattern(work.pattern);
    row.tuneName = work.tuneName;
    row.patternBook = work.patternBook;
    return row;
}

}  // namespace

SaveResult SaveWork(const WorkOnScreen &work, DataStore &store, Dialogs &dialogs)
{
    if (IsMissingTitle(work.title)) {
        dialogs.Tell(kTitleMissing);
        return SaveResult::Refused;
    }
    if (!dialogs.Ask(kAskSave, Preselect::Yes))
        return SaveResult::Cancelled;

    Recordset &rs = store.Rs();
    QString why;

    // A work of the same title, looked up by the title as typed.
    WorkRow same;
    const bool exists = ReadFirst(rs, QStringLiteral("select *from 作品 where 篇名 =?"), {work.title}, same, &why);
    if (!exists && !why.isEmpty())
        return Fail(why, dialogs);   // without the answer we cannot tell add from overwrite

    if (exists) {
        if (!dialogs.Ask(kAskOverwrite))
            return SaveResult::Cancelled;
        if (!UpdateRow(rs, kWorksTable, StoredWork(same.id, work.title, work), kSavedColumns, &why))
            return Fail(why, dialogs);
        return SaveResult::Overwritten;
    }

    WorkRow added = StoredWork(0, TrimBlanks(work.title), work);
    if (!InsertRow(rs, kWorksTable, added, kSavedColumns, &why))
        return Fail(why, dialogs);
    dialogs.Tell(kSaved);

    // One work without a title goes with every add; finding none is fine.
    DeleteFirst(rs, QStringLiteral("select *from 作品 where 篇名 is  null"));
    return SaveResult::Added;
}

}  // namespace versilo

namespace versilo {

TuneRow TuneOfWork(Recordset &rs, const QString &title, const QString &tuneName)
{
    WorkRow first;
    ReadFirst(rs, QStringLiteral("select *from 作品 where 篇名=?"), {title}, first);
    TuneRow tune;
    FindTune(rs, first.patternBook, tuneName, tune);
    return tune;
}

}  // namespace versilo
