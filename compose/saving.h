// SPDX-License-Identifier: GPL-3.0-or-later
// Saving the work on screen as a row of 作品: a new row, or over the work of
// the same title when the writer agrees. No widgets: the composition window
// copies its controls into a WorkOnScreen and calls SaveWork.
#pragma once

#include <QString>

#include "gateway.h"

namespace versilo {

class DataStore;
class Dialogs;
class Recordset;

inline const QString kAskSave = QStringLiteral("真的要保存当前数据吗？");
inline const QString kAskOverwrite = QStringLiteral("有同名文件，要覆盖原有的文件吗？");
inline const QString kSaved = QStringLiteral("存储完毕！");
inline const QString kSaveFailed = QStringLiteral("保存失败：");
// A work is found, listed and overwritten by its title: it needs one.
inline const QString kTitleMissing = QStringLiteral("请填写作品标题！");

// What the composition window holds; boxes with CR LF line breaks.
struct WorkOnScreen {
    QString title;         // Text4
    QString poem;          // Text2
    QString pattern;       // Text5
    QString tuneName;      // Label1
    QString patternBook;   // caption of Command3
};

enum class SaveResult {
    Cancelled,     // the writer answered No; nothing changed
    Refused,       // no title; "请填写作品标题！" shown, nothing asked or changed
    Added,         // a new row, "存储完毕！" shown
    Overwritten,   // the row of the same title changed, no message
    Failed,        // nothing (or not all) written; "保存失败：…" shown
};

// Asked before the composition window lets unsaved writing go.
inline const QString kAskDiscard = QStringLiteral("作品尚未保存，确定放弃吗？");

// The title and the poem, as the window shows them or as last saved or opened.
struct Draft {
    QString title;
    QString poem;
    bool operator==(const Draft &) const = default;
};

// Writing would be lost: the title or the poem differs from what was last
// saved or opened, and the window is not left blank.
inline bool HasUnsavedWriting(const Draft &now, const Draft &kept)
{
    const bool blank = now.title.trimmed().isEmpty() && now.poem.trimmed().isEmpty();
    return now != kept && !blank;
}

// Writing would be lost if the window showed `next` instead of `now`: the
// title or the poem changes while it holds text (not blanks only) that
// differs from what was last saved or opened.
inline bool WouldLoseWriting(const Draft &now, const Draft &kept, const Draft &next)
{
    const auto loses = [](const QString &shown, const QString &saved, const QString &coming) {
        return shown != coming && shown != saved && !shown.trimmed().isEmpty();
    };
    return loses(now.title, kept.title, next.title) || loses(now.poem, kept.poem, next.poem);
}

// A title that cannot be a work's title: empty or blanks only.
inline bool IsMissingTitle(const QString &title) { return title.trimmed().isEmpty(); }

// Refuses a work without a title; else asks, looks for a work of the same
// title, overwrites or adds, and after an add removes one work without a
// title. Every message goes through dialogs.
SaveResult SaveWork(const WorkOnScreen &work, DataStore &store, Dialogs &dialogs);

// The tune a stored work was written to, to put it back: the pattern book
// named by the first work of this title, and there the tune of this name.
// Nothing found (or a book name that is not one of the two books) gives an
// empty tune.
TuneRow TuneOfWork(Recordset &rs, const QString &title, const QString &tuneName);

}  // namespace versilo
