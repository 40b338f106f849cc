// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a work without the window: questions, messages, the stored forms,
// overwriting by title, the cleanup of untitled works, and write failures.
#include <sqlite3.h>

#include "saving.h"
#include "window_fixture.h"

namespace versilo::testing {
namespace {

class SavingTest : public WindowTest {
protected:
    static DataStore &Store() { return AppContext::Instance().Store(); }
    SaveResult Save(const WorkOnScreen &w) { return SaveWork(w, Store(), dialogs_); }
    static void Exec(const char *sql)
    {
        char *error = nullptr;
        ASSERT_EQ(sqlite3_exec(Store().Handle(), sql, nullptr, nullptr, &error), SQLITE_OK) << error;
    }
    static WorkOnScreen Spring()
    {
        return {QStringLiteral("春晓"), QStringLiteral("春眠不觉晓\r\n处处闻啼鸟\r\n"),
                QStringLiteral("○○●●●\r\n●●○○○\r\n\r\n"), QStringLiteral("忆江南"), QStringLiteral("常用词谱")};
    }
};

TEST_F(SavingTest, NewWorkIsStoredInItsStoredForm)
{
    WorkOnScreen w = Spring();
    w.title = QStringLiteral("  春晓 ");
    w.poem = QStringLiteral(" A\r\nB ");
    w.pattern = QStringLiteral("P\r\nQ\r\n");
    EXPECT_EQ(Save(w), SaveResult::Added);
    EXPECT_EQ(dialogs_.asked, QStringList{kAskSave});
    EXPECT_EQ(dialogs_.told, QStringList{kSaved});
    EXPECT_EQ(Works(), QStringList{QStringLiteral("春晓#A|B#P-Q-#忆江南#常用词谱")});
}

TEST_F(SavingTest, NoToTheFirstQuestionChangesNothing)
{
    dialogs_.answers = {false};
    EXPECT_EQ(Save(Spring()), SaveResult::Cancelled);
    EXPECT_TRUE(dialogs_.told.isEmpty());
    EXPECT_TRUE(Works().isEmpty());
}

TEST_F(SavingTest, SameTitleIsOverwrittenOnlyWithConsent)
{
    ASSERT_EQ(Save(Spring()), SaveResult::Added);
    WorkOnScreen changed = Spring();
    changed.poem = QStringLiteral("新句");
    changed.pattern = QStringLiteral("○●\r\n");
    changed.tuneName = QStringLiteral("长相思");
    changed.patternBook = QStringLiteral("白香词谱");

    dialogs_ = ScriptedDialogs();
    dialogs_.answers = {true, false};
    EXPECT_EQ(Save(changed), SaveResult::Cancelled);
    EXPECT_EQ(dialogs_.asked, (QStringList{kAskSave, kAskOverwrite}));
    EXPECT_EQ(Works(), QStringList{QStringLiteral("春晓#春眠不觉晓|处处闻啼鸟|#○○●●●-●●○○○--#忆江南#常用词谱")});

    dialogs_ = ScriptedDialogs();
    EXPECT_EQ(Save(changed), SaveResult::Overwritten);
    EXPECT_EQ(dialogs_.asked, (QStringList{kAskSave, kAskOverwrite}));
    EXPECT_TRUE(dialogs_.told.isEmpty());
    EXPECT_EQ(Works(), QStringList{QStringLiteral("春晓#新句#○●-#长相思#白香词谱")});
}

TEST_F(SavingTest, TitleWithAQuoteSavesAndOverwrites)
{
    WorkOnScreen w = Spring();
    w.title = QStringLiteral("春'晓");
    EXPECT_EQ(Save(w), SaveResult::Added);
    w.poem = QStringLiteral("改");
    EXPECT_EQ(Save(w), SaveResult::Overwritten);
    EXPECT_EQ(Works(), QStringList{QStringLiteral("春'晓#改#○○●●●-●●○○○--#忆江南#常用词谱")});
}

TEST_F(SavingTest, EveryAddRemovesOneUntitledWork)
{
    AddWork(QString(), QStringLiteral("无题一"));
    AddWork(QString(), QStringLiteral("无题二"));
    ASSERT_EQ(Save(Spring()), SaveResult::Added);
    QStringList rows = Works();
    EXPECT_EQ(rows.size(), 2);
    EXPECT_EQ(rows.filter(QStringLiteral("<null>")).size(), 1);

    // An overwrite removes nothing.
    ASSERT_EQ(Save(Spring()), SaveResult::Overwritten);
    EXPECT_EQ(Works().filter(QStringLiteral("<null>")).size(), 1);

    WorkOnScreen other = Spring();
    other.title = QStringLiteral("秋思");
    ASSERT_EQ(Save(other), SaveResult::Added);
    rows = Works();
    EXPECT_EQ(rows.filter(QStringLiteral("<null>")).size(), 0);
    EXPECT_EQ(rows.size(), 2);

    // With none left the cleanup finds nothing, and the save still succeeds.
    other.title = QStringLiteral("冬夜");
    EXPECT_EQ(Save(other), SaveResult::Added);
    EXPECT_EQ(Works().size(), 3);
}

TEST_F(SavingTest, FailedWritesAreReportedNotConfirmed)
{
    Exec("create trigger no_insert before insert on 作品 begin select raise(abort, 'locked'); end");
    EXPECT_EQ(Save(Spring()), SaveResult::Failed);
    ASSERT_EQ(dialogs_.told.size(), 1);
    EXPECT_TRUE(dialogs_.told[0].startsWith(kSaveFailed)) << dialogs_.told[0].toStdString();
    EXPECT_TRUE(Works().isEmpty());

    Exec("drop trigger no_insert");
    ASSERT_EQ(Save(Spring()), SaveResult::Added);
    Exec("create trigger no_update before update on 作品 begin select raise(abort, 'locked'); end");
    dialogs_ = ScriptedDialogs();
    WorkOnScreen changed = Spring();
    changed.poem = QStringLiteral("新句");
    EXPECT_EQ(Save(changed), SaveResult::Failed);
    ASSERT_EQ(dialogs_.told.size(), 1);
    EXPECT_TRUE(dialogs_.told[0].startsWith(kSaveFailed));
    EXPECT_EQ(Works(), QStringList{QStringLiteral("春晓#春眠不觉晓|处处闻啼鸟|#○○●●●-●●○○○--#忆江南#常用词谱")});

    // No table at all: the lookup fails and nothing is claimed.
    Exec("drop table 作品");
    dialogs_ = ScriptedDialogs();
    EXPECT_EQ(Save(Spring()), SaveResult::Failed);
    EXPECT_EQ(dialogs_.told.size(), 1);
    EXPECT_FALSE(dialogs_.told.contains(kSaved));
}

// Which replacements of the title and poem lose writing: only a field that
// changes and holds text of its own that was not kept.
TEST(Draft, WhatAReplacementWouldLose)
{
    const Draft kept{QStringLiteral("春晓"), QStringLiteral("春眠")};
    struct Case {
        Draft now;
        Draft next;
        bool loses;
    } cases[] = {
        {kept, {QStringLiteral("秋思"), QStringLiteral("A")}, false},                                  // all kept
        {{QStringLiteral("春晓"), QStringLiteral("春眠不觉晓")}, {QStringLiteral("秋思"), QStringLiteral("A")}, true},
        {{QStringLiteral("春晓!"), QStringLiteral("春眠")}, {QStringLiteral("秋思"), QStringLiteral("春眠")}, true},
        {{QStringLiteral("春晓"), QStringLiteral("春眠不觉晓")}, {QStringLiteral("忆江南."), QStringLiteral("春眠不觉晓")}, false},
        {{QStringLiteral("秋思"), QStringLiteral("A")}, {QStringLiteral("秋思"), QStringLiteral("A")}, false},  // unchanged
        {{QString(), QStringLiteral(" \r\n")}, {QStringLiteral("秋思"), QStringLiteral("A")}, false},       // blank
    };
    for (const Case &c : cases)
        EXPECT_EQ(WouldLoseWriting(c.now, kept, c.next), c.loses) << c.now.title.toStdString() << '/'
                                                                  << c.now.poem.toStdString();
}

TEST_F(SavingTest, AWorkWithoutATitleIsRefusedBeforeAnyQuestion)
{
    for (const QString &title : {QString(), QStringLiteral("  "), QStringLiteral("\t")}) {
        WorkOnScreen w = Spring();
        w.title = title;
        dialogs_ = ScriptedDialogs();
        EXPECT_EQ(Save(w), SaveResult::Refused);
        EXPECT_TRUE(dialogs_.asked.isEmpty());
        EXPECT_EQ(dialogs_.told, QStringList{QStringLiteral("请填写作品标题！")});
    }
    EXPECT_TRUE(Works().isEmpty());
}

}  // namespace
}  // namespace versilo::testing
