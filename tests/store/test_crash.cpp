// SPDX-License-Identifier: GPL-3.0-or-later
// The file survives a writer killed at any moment: store_crash_writer
// repeats a multi-row write and is killed (SIGKILL) after a random time;
// afterwards the file passes PRAGMA integrity_check and holds every write
// whole or not at all. VERSILO_CRASH_TRIALS sets the trials per kind of
// write (default 6).
#include "store_fixture.h"

#include "gateway.h"
#include "knowledge.h"
#include "rhymedict.h"

#include <QRandomGenerator>
#include <QThread>

#include <sqlite3.h>

namespace versilo::test {
namespace {

constexpr int kPages = 300;
constexpr int kDictionaryRows = 500;

QString PageTitle(int i) { return QStringLiteral("页%1").arg(i); }
QString PageText(int i) { return QStringLiteral("第%1页的内容").arg(i).repeated(30); }

int Trials()
{
    const int n = qEnvironmentVariableIntValue("VERSILO_CRASH_TRIALS");
    return n > 0 ? n : 6;
}

QString IntegrityVerdict(sqlite3 *db)
{
    sqlite3_stmt *st = nullptr;
    QString verdict;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        verdict = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return verdict;
}

// Why the table is not whole after a crash; "" when it is.
using Check = std::function<QString(Recordset &)>;

QString PagesWhole(Recordset &rs)
{
    std::vector<PageRow> rows;
    if (!ReadAll(rs, QStringLiteral("select *from 常识"), {}, rows))
        return QStringLiteral("unreadable");
    int next = 0;
    int blanks = 0;
    for (const PageRow &r : rows) {
        if (r.title == kBlankPageTitle && r.content == kBlankPageText) {
            ++blanks;
        } else if (r.title == PageTitle(next) && r.content == PageText(next)) {
            ++next;
        } else {
            return QStringLiteral("page %1 out of place: %2").arg(next).arg(r.title);
        }
    }
    if (next != kPages || int(rows.size()) != kPages + blanks)
        return QStringLiteral("%1 pages, %2 blank").arg(rows.size()).arg(blanks);
    return {};
}

QString SaveWhole(Recordset &rs)
{
    std::vector<WorkRow> rows;
    if (!ReadAll(rs, QStringLiteral("select *from 作品 where 篇名=?"), {QStringLiteral("长卷")}, rows))
        return QStringLiteral("unreadable");
    if (rows.size() != 1)
        return QStringLiteral("%1 works").arg(rows.size());
    const QStringList lines = rows[0].poem.split(u'|');
    if (lines.size() != 400 || lines.count(lines.first()) != 400)
        return QStringLiteral("a poem of mixed rounds");
    return {};
}

QString DictionaryWhole(Recordset &rs)
{
    std::vector<DictionaryRow> rows;
    if (!ReadAll(rs, QStringLiteral("select *from 中华新韵"), {}, rows))
        return QStringLiteral("unreadable");
    if (int(rows.size()) != kDictionaryRows)
        return QStringLiteral("%1 rows").arg(rows.size());
    for (const DictionaryRow &r : rows)
        if (r.tone != rows.front().tone)
            return QStringLiteral("tones of two rounds");
    return {};
}

class CrashTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        QString pages = QStringLiteral("标题\t内容\n");
        for (int i = 0; i < kPages; ++i)
            pages += PageTitle(i) + u'\t' + PageText(i) + u'\n';
        Seed(kPagesTable, pages);
        QString dict = QStringLiteral("汉字\t平仄\t韵调\t拼音\n");
        for (int i = 0; i < kDictionaryRows; ++i)
            dict += QChar(char16_t(0x4e00 + i)) + QStringLiteral("\t0\t%1\tpin\n").arg(i % 14 + 1);
        Seed(kNewRhyme, dict);
        const QString poem = QStringList(400, QStringLiteral("第0遍")).join(u'|');
        Seed(kWorksTable, QStringLiteral("篇名\t正文\t词谱名\n长卷\t") + poem + QStringLiteral("\t常用词谱\n"));
        Open().reset();
        pristine = ReadFile(DbPath());
        ASSERT_FALSE(pristine.isEmpty());
    }

    // Kills the writer at random moments; every file afterwards must be intact.
    void Run(const char *mode, const Check &whole)
    {
        const QString writer = QStringLiteral(VERSILO_BIN_DIR "/store_crash_writer");
        ASSERT_TRUE(QFile::exists(writer)) << writer.toStdString();
        QRandomGenerator rng(quint32(QDateTime::currentMSecsSinceEpoch()));
        int midWrite = 0;
        int damaged = 0;
        qsizetype writes = 0;
        for (int trial = 0; trial < Trials(); ++trial) {
            QFile::remove(DbPath() + QStringLiteral("-journal"));
            WriteFile(DbPath(), pristine);
            QProcess p;
            p.start(writer, {QString::fromLatin1(mode), appDir});
            ASSERT_TRUE(p.waitForStarted());
            ASSERT_TRUE(p.waitForReadyRead(30000)) << p.readAllStandardError().toStdString();
            QThread::msleep(rng.bounded(20, 900));
            p.kill();   // SIGKILL
            p.waitForFinished();
            const QByteArray out = p.readAllStandardOutput();
            ASSERT_TRUE(out.startsWith("ready")) << out.toStdString() << p.readAllStandardError().toStdString();
            if (QFileInfo(DbPath() + QStringLiteral("-journal")).size() > 0)
                ++midWrite;

            DataStore store(StoreLocation{appDir, seedDir});
            ASSERT_TRUE(store.Connect()) << mode << " trial " << trial << ": " << store.LastError().toStdString();
            const QString verdict = IntegrityVerdict(store.Handle());
            const QString why = whole(store.NewRecordset());
            EXPECT_EQ(verdict, QStringLiteral("ok")) << mode << " trial " << trial;
            EXPECT_EQ(why, QString()) << mode << " trial " << trial << " after " << out.count('\n') - 1
                                      << " writes";
            damaged += verdict != QLatin1String("ok") || !why.isEmpty();
            writes += out.count('\n') - 1;
        }
        std::printf("[ crash ] %s: %d kills, %d in the middle of a write, %lld writes finished before, "
                    "%d damaged\n", mode, Trials(), midWrite, (long long)writes, damaged);
    }

    QByteArray pristine;
};

TEST_F(CrashTest, KnowledgePageInsertIsWholeOrAbsent) { Run("pages", PagesWhole); }

TEST_F(CrashTest, SaveOfALongWorkIsWholeOrAbsent) { Run("save", SaveWhole); }

TEST_F(CrashTest, DictionaryChangeIsWholeOrAbsent) { Run("dictionary", DictionaryWhole); }

}  // namespace
}  // namespace versilo::test
