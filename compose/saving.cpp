#include "saving.h"

#include "datastore.h"
#include "dialogs.h"
#include "prosody.h"

namespace versilo {

namespace {

QString ReasonOf(const Recordset &rs)
{
    QString reason = rs.LastError();
    if (reason.isEmpty())
        reason = QStringLiteral("数据库未能写入。");
    return reason;
}

SaveResult Fail(Recordset &rs, Dialogs &dialogs)
{
    const QString reason = ReasonOf(rs);
    rs.Close();
    dialogs.Tell(kSaveFailed + reason);
    return SaveResult::Failed;
}

bool WriteColumns(Recordset &rs, const QString &title, const WorkOnScreen &work)
{
    return rs.SetField(QStringLiteral("篇名"), title)
        && rs.SetField(QStringLiteral("正文"), StoredPoem(work.poem))
        && rs.SetField(QStringLiteral("格律"), StoredPattern(work.pattern))
        && rs.SetField(QStringLiteral("词牌名"), work.tuneName)
        && rs.SetField(QStringLiteral("词谱名"), work.patternBook);
}

}  // namespace

SaveResult SaveWork(const WorkOnScreen &work, DataStore &store, Dialogs &dialogs)
{
    if (!dialogs.Ask(kAskSave))
        return SaveResult::Cancelled;

    Recordset &rs = store.Rs();

    // A work of the same title, looked up by the title as typed.
    if (!rs.Open(QStringLiteral("select *from 作品 where 篇名 =?"), {work.title}, LockType::Optimistic))
        return Fail(rs, dialogs);   // without the answer we cannot tell add from overwrite
    const int sameTitle = rs.RecordCount();
    const QVariant id = sameTitle > 0 ? rs.Field(QStringLiteral("id")) : QVariant();
    rs.Close();

    if (sameTitle > 0) {
        if (!dialogs.Ask(kAskOverwrite))
            return SaveResult::Cancelled;
        if (!rs.Open(QStringLiteral("select*from 作品 where id=?"), {id}, LockType::Optimistic))
            return Fail(rs, dialogs);
        if (rs.RecordCount() == 0) {
            rs.Close();
            dialogs.Tell(kSaveFailed + QStringLiteral("同名作品已不在数据库中。"));
            return SaveResult::Failed;
        }
        if (!WriteColumns(rs, work.title, work) || !rs.Update())
            return Fail(rs, dialogs);
        rs.Close();
        return SaveResult::Overwritten;
    }

    if (!rs.Open(QStringLiteral("select *from 作品"), {}, LockType::Optimistic) || !rs.AddNew()
        || !WriteColumns(rs, TrimBlanks(work.title), work) || !rs.Update())
        return Fail(rs, dialogs);
    rs.Close();
    dialogs.Tell(kSaved);

    // One work without a title goes with every add; finding none is fine.
    if (rs.Open(QStringLiteral("select *from 作品 where 篇名 is  null"), {}, LockType::Optimistic)
        && rs.RecordCount() > 0)
        rs.Delete();
    rs.Close();
    return SaveResult::Added;
}

}  // namespace versilo
