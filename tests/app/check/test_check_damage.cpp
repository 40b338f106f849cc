// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-check on databases that are not as the program made them: a
// dictionary table or column gone, damaged pages, a program folder that has
// become read-only. The built tool in real processes, on real files.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kKey[] = "PRAGMA key = 't3k9w2hpzq7mvd';";

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result RunProgram(const QString &program, const QStringList &args, const QProcessEnvironment &env = {})
{
    QProcess p;
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, args);
    EXPECT_TRUE(p.waitForStarted()) << program.toStdString();
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(60000));
    Result r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class DamagedDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        seed_ = dir_.filePath("seed");
        app_ = dir_.filePath("app");
        ASSERT_TRUE(QDir().mkpath(seed_));
        ASSERT_TRUE(QDir().mkpath(app_));
        const QByteArray dict = "汉字\t平仄\t韵调\t拼音\n白\t0\t4\tbai\n日\t1\t13\tri\n";
        WriteFile(seed_ + "/中华新韵.tsv", dict);
        WriteFile(seed_ + "/平水韵.tsv", dict);
        WriteFile(seed_ + "/常用词谱.tsv", "篇名\t格律\t正文\n五绝\t○●-\t说明-\n");
        WriteFile(seed_ + "/白香词谱.tsv", "篇名\t格律\t正文\n五绝\t○●-\t说明-\n");
        poem_ = dir_.filePath("poem.txt");
        WriteFile(poem_, "白日\n");
    }

    Result Check(const QStringList &extra = {})
    {
        return RunProgram(QStringLiteral(VERSILO_BIN_DIR "/versilo-check"),
                          QStringList{"--app-dir", app_, "--seed-dir", seed_, "--json"} + extra + QStringList{poem_});
    }

    void Sql(const QString &sql)
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(app_ + "/mvtrakp.m").constData(), &db), SQLITE_OK);
        char *msg = nullptr;
        EXPECT_EQ(sqlite3_exec(db, (kKey + sql).toUtf8().constData(), nullptr, nullptr, &msg), SQLITE_OK)
            << (msg ? msg : "") << sql.toStdString();
        sqlite3_free(msg);
        sqlite3_close(db);
    }

    QStringList Columns(const QString &table)
    {
        QStringList names;
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(app_ + "/mvtrakp.m").constData(), &db);
        sqlite3_exec(db, kKey, nullptr, nullptr, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, ("PRAGMA table_info(" + table + ")").toUtf8().constData(), -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 1)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return names;
    }

    QTemporaryDir dir_;
    QString seed_, app_, poem_;
};

TEST_F(DamagedDatabase, AMissingDictionaryNeverGivesEmptyMarks)
{
    ASSERT_EQ(Check().exitCode, 0);
    for (const char *system : {"中华新韵", "平水韵"}) {
        Sql(QStringLiteral("DROP TABLE %1;").arg(QString::fromUtf8(system)));
        const Result r = Check({"--system", QString::fromUtf8(system)});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject j = QJsonDocument::fromJson(r.out.toUtf8()).object();
        EXPECT_EQ(j["Text6"].toString(), "○●\r\n\r\n\r\n\r\n") << system;
    }
}

TEST_F(DamagedDatabase, ADictionaryWithoutItsToneCodesIsReportedAndLeftAsItIs)
{
    ASSERT_EQ(Check().exitCode, 0);
    // The table without 平仄, its rows kept.
    Sql("ALTER TABLE 中华新韵 RENAME TO damaged;"
        "CREATE TABLE 中华新韵 (id INTEGER PRIMARY KEY AUTOINCREMENT, 汉字 TEXT, 韵调 INTEGER, 拼音 TEXT);"
        "INSERT INTO 中华新韵 SELECT id, 汉字, 韵调, 拼音 FROM damaged; DROP TABLE damaged;");
    for (int run = 0; run < 2; ++run) {
        const Result r = Check();
        EXPECT_EQ(r.exitCode, 2) << r.out.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.contains("versilo-check: 无法读取韵书“中华新韵”：查询结果缺少字段“平仄”。"))
            << r.err.toStdString();
        EXPECT_FALSE(Columns("中华新韵").contains("平仄")) << "an empty column was added";
    }
    // The other rhyme system still works.
    EXPECT_EQ(Check({"--system", "平水韵"}).exitCode, 0);
}

TEST_F(DamagedDatabase, AFileThatFailsTheIntegrityCheckIsReported)
{
    ASSERT_EQ(Check().exitCode, 0);
    // Enough works for pages the check itself never reads.
    QString many = "BEGIN;";
    for (int i = 0; i < 300; ++i)
        many += QStringLiteral("INSERT INTO 作品(篇名, 正文) VALUES ('t%1', '%2');").arg(i).arg(QString(300, QChar(u'诗')));
    Sql(many + "COMMIT;");
    ASSERT_EQ(Check().exitCode, 0);

    QFile f(app_ + "/mvtrakp.m");
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    ASSERT_GT(size, 16 * 4096);
    f.seek(size - 3 * 4096 + 500);
    f.write(QByteArray(200, '\x33'));
    f.close();

    const Result r = Check();
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("versilo-check: 数据库文件 " + app_ + "/mvtrakp.m 没有通过完整性检查"))
        << r.err.toStdString();

    // Cut short: damaged as well.
    ASSERT_TRUE(QFile::resize(app_ + "/mvtrakp.m", size / 2));
    EXPECT_EQ(Check().exitCode, 2);
}

// A portable copy (the tool and its database in one folder) whose folder has
// become read-only, run by its owner. As root, permissions would not hold,
// so the tool runs as `nobody`, owner of the copy.
TEST_F(DamagedDatabase, AReadOnlyProgramFolderKeepsItsDatabase)
{
    if (::geteuid() != 0 || !QFile::exists("/usr/bin/setpriv"))
        GTEST_SKIP() << "needs root and setpriv to act as another user";
    const QString prog = dir_.filePath("prog");
    const QString home = dir_.filePath("home");
    ASSERT_TRUE(QDir().mkpath(prog));
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_TRUE(QFile::copy(QStringLiteral(VERSILO_BIN_DIR "/versilo-check"), prog + "/versilo-check"));
    // The writer's database, whose 日 is level: the compiled-in one would say oblique.
    WriteFile(seed_ + "/中华新韵.tsv", "汉字\t平仄\t韵调\t拼音\n白\t0\t4\tbai\n日\t0\t13\tri\n");
    ASSERT_EQ(RunProgram(prog + "/versilo-check", {"--app-dir", prog, "--seed-dir", seed_, poem_}).exitCode, 0);
    ASSERT_TRUE(QFile::exists(prog + "/mvtrakp.m"));

    for (const QString &path : {dir_.path(), home})
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(poem_).constData(), 0644), 0);
    for (const QString &path : {prog, prog + "/mvtrakp.m", prog + "/versilo-check", home})
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(prog).constData(), 0555), 0);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", home + "/data");
    const Result r = RunProgram("/usr/bin/setpriv",
                                {"--reuid=65534", "--regid=65534", "--clear-groups", prog + "/versilo-check",
                                 "--json", poem_},
                                env);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["Text6"].toString(), "○○\r\n\r\n\r\n\r\n");
    EXPECT_FALSE(QFile::exists(home + "/data/versilo/mvtrakp.m")) << "a second database was started";
    ::chmod(QFile::encodeName(prog).constData(), 0755);
}

}  // namespace
