// versilo-check end to end: the built tool on fixture files, against a
// database created from a fixture seed.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ui_support.h"


namespace {

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

class CheckTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        seed_ = dir_.filePath("seed");
        app_ = dir_.filePath("app");
        ASSERT_TRUE(QDir().mkpath(seed_));
        ASSERT_TRUE(QDir().mkpath(app_));
        const QByteArray dict =
            "汉字\t平仄\t韵调\t拼音\n"
            "白\t0\t4\tbai\n日\t1\t13\tri\n依\t0\t12\tyi\n山\t0\t8\tshan\n尽\t1\t9\tjin\n"
            "黄\t0\t10\thuang\n河\t0\t2\the\n入\t1\t14\tru\n海\t1\t4\thai\n流\t0\t7\tliu\n"
            "看\t1\t24\tkan\n看\t2\t24\tkan\n"
            "读\t1\t92\tdu\n罢\t1\t22\tba\n泪\t1\t64\tlei\n沾\t0\t30\tzhan\n襟\t0\t28\tjin\n"
            "𠀀\t0\t1\tqiu\n龘\t1\t2\tda\n";
        WriteFile(seed_ + "/中华新韵.tsv", dict);
        WriteFile(seed_ + "/平水韵.tsv", dict);
        WriteFile(seed_ + "/常用词谱.tsv",
                  "篇名\t格律\t正文\n"
                  "五绝\t◎●○○●-○○●●○-\t说明-\n"
                  "它's\t○○-\t\n");
        WriteFile(seed_ + "/白香词谱.tsv", "篇名\t格律\t正文\n");
    }

    Result Run(const QStringList &args, const QByteArray &input = {})
    {
        QProcess p;
        p.setProgram(QStringLiteral(VERSILO_BIN_DIR "/versilo-check"));
        p.setArguments(args);
        p.start();
        EXPECT_TRUE(p.waitForStarted());
        if (!input.isEmpty())
            p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        Result r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QStringList Base() const { return {"--app-dir", app_, "--seed-dir", seed_}; }

    // Starts the tool on every argument list at once; the results in order.
    std::vector<Result> RunTogether(const QList<QStringList> &runs)
    {
        std::vector<std::unique_ptr<QProcess>> ps;
        for (const QStringList &args : runs) {
            ps.push_back(std::make_unique<QProcess>());
            ps.back()->start(QStringLiteral(VERSILO_BIN_DIR "/versilo-check"), args);
        }
        std::vector<Result> results;
        for (auto &p : ps) {
            EXPECT_TRUE(p->waitForFinished(60000));
            Result r;
            r.exitCode = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
            r.out = QString::fromUtf8(p->readAllStandardOutput());
            r.err = QString::fromUtf8(p->readAllStandardError());
            results.push_back(r);
        }
        return results;
    }

    QJsonObject Json(const QStringList &args, const QByteArray &input = {})
    {
        const Result r = Run(Base() + QStringList{"--json"} + args, input);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }

    QString Poem(const QByteArray &bytes)
    {
        const QString path = dir_.filePath(QString("poem%1.txt").arg(++files_));
        WriteFile(path, bytes);
        return path;
    }

    QTemporaryDir dir_;
    QString seed_;
    QString app_;
    int files_ = 0;
};

}  // namespace

TEST_F(CheckTool, ConformanceAgainstATuneFromTheBook)
{
    const QJsonObject j = Json({"--title", "登鹳雀楼", "--tune", "五绝", "--book", "常用词谱",
                                Poem("  白日依山尽，\n黄河入海流。")});
    EXPECT_EQ(j["Text2"].toString(), "白日依山尽，\r\n黄河入海流。");
    EXPECT_EQ(j["Text5"].toString(), "◎●○○●\r\n○○●●○\r\n\r\n");
    EXPECT_EQ(j["Label1"].toString(), "五绝");
    EXPECT_EQ(j["Label2"].toString(), "○：平韵  ●：仄韵    ※：平仄两读");
    EXPECT_EQ(j["Label3"].toString(), "★：正确  ¤：错误  ※：平仄两读具体分析");
    EXPECT_EQ(j["Text6"].toString(), "○●○○●\r\n○○●●○\r\n\r\n\r\n");
    EXPECT_EQ(j["Text8"].toString(), "★★★★★\r\n★★★★★\r\n\r\n\r\n\r\n");
}

TEST_F(CheckTool, LineEndsBecomeCrLfAndStdinWorks)
{
    // A final line break is a final CR LF, so the poem has an empty third
    // line; a lone CR stays and vanishes from its line when split.
    const QJsonObject j = Json({"--system", "平水韵", "--title", "t", "--tune", "五绝",
                                "--book", "常用词谱", "-"},
                               "白日依山尽看\r\n黄河\r入海流\n");
    EXPECT_EQ(j["Text2"].toString(), "白日依山尽看\r\n黄河\r入海流\r\n");
    EXPECT_EQ(j["Label2"].toString(), "★：正确   ¤：错误    ※：平仄两读");
    EXPECT_EQ(j["Text6"].toString(), "○●○○●※\r\n○○●●○\r\n\r\n\r\n\r\n");
    EXPECT_EQ(j["Text8"].toString(), "★★★★★¤\r\n★★★★★\r\n\r\n\r\n\r\n\r\n");
}

TEST_F(CheckTool, GateWithoutTitleOrTune)
{
    QJsonObject j = Json({"--tune", "五绝", "--book", "常用词谱", Poem("白日\n")});
    EXPECT_EQ(j["Text8"].toString(), "");
    EXPECT_EQ(j["Label3"].toString(), "判断韵调");
    j = Json({"--title", "t", Poem("白日")});
    EXPECT_EQ(j["Text5"].toString(), "");
    EXPECT_EQ(j["Text6"].toString(), "○●\r\n\r\n\r\n");
    EXPECT_EQ(j["Label3"].toString(), "");
}

TEST_F(CheckTool, AnnotationWithPatternFile)
{
    const QString pattern = Poem("○○\n●●\n");
    const QJsonObject j = Json({"--annotate", "--system", "平水韵", "--tune", "x",
                                "--pattern-file", pattern, Poem("  白日?\n看海\n流")});
    // The last line counts without a final line break.
    EXPECT_EQ(j["Text2"].toString(), "  白日?\r\n看海\r\n流");
    EXPECT_EQ(j["Text5"].toString(), "○○\r\n●●\r\n");
    EXPECT_EQ(j["Label1"].toString(), "x");
    EXPECT_EQ(j["Label2"].toString(), "○：平韵  ●：仄韵    ※：平仄两读");
    EXPECT_EQ(j["Label3"].toString(), "判断韵调");
    EXPECT_EQ(j["Text6"].toString(), "○●\r\n※●\r\n○\r\n\r\n\r\n");
    EXPECT_EQ(j["Text8"].toString(), "空空支文空\r\n筐支\r\n鱼\r\n\r\n\r\n");
}

TEST_F(CheckTool, PoemIsReadAsWritten)
{
    // A bare 读 is a character, a character outside the BMP one position,
    // and a last line without a line break is marked, in both checks.
    const struct {
        QStringList args;
        QByteArray poem;
        QString line;
    } cases[] = {
        {{"--system", "平水韵"}, "读罢泪沾襟", "1  读罢泪沾襟  |  ●●●○○\n"},
        {{"--system", "平水韵", "--annotate"}, "读罢泪沾襟(韵)", "1  读罢泪沾襟(韵)  |  ●●●○○  |  屋麻置盐侵\n"},
        {{}, "𠀀龘山", "1  𠀀龘山  |  ○●○\n"},
        {{"--annotate"}, "白日\n𠀀龘山", "2  𠀀龘山  |  ○●○  |  麻波寒\n"},
    };
    for (const auto &c : cases) {
        const Result r = Run(Base() + c.args + QStringList{Poem(c.poem)});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(c.line)) << r.out.toStdString();
    }
}

TEST_F(CheckTool, TwoRunsStartedTogetherBothSucceed)
{
    // A database made elsewhere, complete but without the version mark.
    const QString made = dir_.filePath("made");
    QDir().mkpath(made);
    ASSERT_EQ(Run({"--app-dir", made, "--seed-dir", seed_, Poem("白")}).exitCode, 0);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(made + "/mvtrakp.m").constData(), &db);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA key = 't3k9w2hpzq7mvd'; PRAGMA user_version = 0", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    const QString poem = Poem("白日依山尽，\n黄河入海流。");
    for (int trial = 0; trial < 4; ++trial) {
        // Even trials on a folder without a database, odd ones on that file.
        const QString app = dir_.filePath(QString("trial%1").arg(trial));
        QDir().mkpath(app);
        if (trial % 2) {
            ASSERT_TRUE(QFile::copy(made + "/mvtrakp.m", app + "/mvtrakp.m"));
        }
        const QStringList args{"--app-dir", app, "--seed-dir", seed_, poem};
        const std::vector<Result> rs = RunTogether({args, args + QStringList{"--annotate"}});
        for (const Result &r : rs) {
            EXPECT_EQ(r.exitCode, 0) << "trial " << trial << ": " << r.err.toStdString();
            EXPECT_TRUE(r.out.contains("2  黄河入海流。  |  ○○●●○")) << r.out.toStdString();
        }
    }
}

TEST_F(CheckTool, ReadableViewAndInitials)
{
    Result r = Run(Base() + QStringList{"--title", "t", "--tune", "五绝", "--book", "常用词谱",
                                        Poem("白日依山尽，\n黄河入海流。\n")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1  白日依山尽，  |  ○●○○●  |  ★★★★★\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Label3: ★：正确  ¤：错误  ※：平仄两读具体分析\n"));

    r = Run({"--initials", "静夜思 a1"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "JYSa\n");
}

TEST_F(CheckTool, ErrorsExitWithTwo)
{
    const QString poem = Poem("白日\n");
    const QList<QStringList> bad = {
        {"--system", "新韵", poem},
        {"--book", "唐诗", "--tune", "五绝", poem},
        {"--book", "常用词谱", "--tune", "无此调", poem},
        {"--book", "常用词谱", poem},
        {"--book", "常用词谱", "--tune", "五绝", "--pattern-file", poem, poem},
        {dir_.filePath("missing.txt")},
        {"--pattern-file", dir_.filePath("missing.txt"), poem},
        {"--bogus", poem},
        {poem, poem},
        {},
    };
    for (const QStringList &args : bad) {
        const Result r = Run(Base() + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
    // A tune name with a quote is looked up, not spliced into the query.
    const QJsonObject j = Json({"--tune", "它's", "--book", "常用词谱", poem});
    EXPECT_EQ(j["Text5"].toString(), "○○\r\n\r\n");

    // A database file that cannot be opened.
    const QString broken = dir_.filePath("broken");
    QDir().mkpath(broken);
    WriteFile(broken + "/mvtrakp.m", QByteArray(4096, 'x'));
    Result r = Run({"--app-dir", broken, "--seed-dir", seed_, poem});
    EXPECT_EQ(r.exitCode, 2);
    // In words for the writer with the path once; the detail in a log line.
    const QString file = broken + "/mvtrakp.m";
    const QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains("versilo-check: 无法打开数据库文件 " + file + "：密码不对或文件已损坏。"))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count(file), 2) << r.err.toStdString();   // the message and the log line
    EXPECT_TRUE(r.err.contains("versilo: opening " + file + ": file is encrypted or is not a database")) << r.err.toStdString();
    r = Run({"--app-dir", dir_.filePath("nowhere"), poem});
    EXPECT_EQ(r.exitCode, 2);
}

TEST_F(CheckTool, HelpPrintsUsageAndSucceeds)
{
    for (const char *flag : {"--help", "-h"}) {
        const Result r = Run({flag});
        EXPECT_EQ(r.exitCode, 0) << flag;
        EXPECT_TRUE(r.out.startsWith("usage: versilo-check")) << r.out.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
    }
}

TEST_F(CheckTool, ExplainAndDetectOnlyAddTheirKeys)
{
    // A 五绝 of the fixture characters whose rhyme 流 comes twice.
    const QString poem = Poem("白日依山尽，黄河入海流。\n黄河依海尽，日尽入山流。\n");
    const QJsonObject plain = Json({poem});
    const QJsonObject j = Json({"--explain", "--detect", poem});
    for (const QString &key : plain.keys())
        EXPECT_EQ(j.value(key), plain.value(key)) << key.toStdString();
    EXPECT_EQ(j.keys().size(), plain.keys().size() + 3);

    const QJsonArray findings = j["findings"].toArray();
    ASSERT_EQ(findings.size(), 1);
    EXPECT_EQ(findings[0].toObject(),
              (QJsonObject{{"line", 2}, {"position", 10}, {"verse", 4}, {"kind", "重韵"}, {"fault", true},
                           {"message", "韵脚「流」已在第2句用过，重韵"}}));
    EXPECT_EQ(j["form"].toObject(),
              (QJsonObject{{"kind", "近体诗"}, {"name", "五绝"}, {"start", "仄起"},
                           {"firstLineRhymes", false}, {"levelRhyme", true}, {"rhyme", "尤"},
                           {"text", "五绝 仄起 首句不入韵 尤韵"}}));

    const Result r = Run(Base() + QStringList{"--explain", "--detect", poem});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.endsWith("体裁: 五绝 仄起 首句不入韵 尤韵\n误 2:10  重韵  韵脚「流」已在第2句用过，重韵\n"))
        << r.out.toStdString();
}

TEST_F(CheckTool, RhymeWordsOfAGroupAndOfAPoem)
{
    // --explain names the words of the group the poem rhymes in (流: 尤).
    const QJsonObject explained = Json({"--explain", Poem("白日依山尽，黄河入海流。\n")});
    const QJsonObject poemWords = explained["rhymeWords"].toObject();
    EXPECT_EQ(poemWords["group"].toString(), "尤");
    EXPECT_EQ(poemWords["tone"].toString(), "平");
    ASSERT_EQ(poemWords["words"].toArray().size(), 1);
    EXPECT_EQ(poemWords["words"].toArray()[0].toObject()["char"].toString(), "流");
    EXPECT_GT(poemWords["words"].toArray()[0].toObject()["count"].toInt(), 100);

    const struct {
        QStringList args;
        int exitCode;
        QString out;   // the start of standard output, or of standard error on a failure
    } cases[] = {
        {{"--rhymes", "尤"}, 0, "中华新韵 尤韵 平声（常用在前）：流\n音近而出韵：无\n"},
        {{"--rhymes", "7", "--system", "平水韵"}, 0, "平水韵 鱼韵 平声（常用在前）：流\n邻韵（首句可借）：无\n"},
        {{"--rhymes", "尤", "--tone", "仄"}, 0, "中华新韵 尤韵 仄声（常用在前）：无\n"},
        {{"--rhymes", "无此"}, 2, "versilo-check: no rhyme group \"无此\" in 中华新韵\n"},
        {{"--rhymes", "尤", "--tone", "上"}, 2, "versilo-check: --tone must be 平 or 仄, not \"上\"\n"},
    };
    for (const auto &c : cases) {
        const Result r = Run(Base() + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? r.out : r.err).startsWith(c.out))
            << c.args.join(' ').toStdString() << ": " << r.out.toStdString() << r.err.toStdString();
    }
    const QJsonObject listed = QJsonDocument::fromJson(
        Run(Base() + QStringList{"--rhymes", "尤", "--json"}).out.toUtf8()).object();
    EXPECT_EQ(listed.keys(), QStringList{"rhymeWords"});
    EXPECT_EQ(listed["rhymeWords"].toObject()["system"].toString(), "中华新韵");
}

TEST_F(CheckTool, DetectNamesTheBestTunesOfOtherPoems)
{
    const QJsonObject j = Json({"--detect", Poem("白日依山尽，\n黄河入海流。\n")});
    const QJsonObject form = j["form"].toObject();
    EXPECT_EQ(form["kind"].toString(), "古体");
    const QJsonArray tunes = form["tunes"].toArray();
    ASSERT_EQ(tunes.size(), 2);
    EXPECT_EQ(tunes[0].toObject(), (QJsonObject{{"name", "五绝"}, {"book", "常用词谱"}, {"fit", 1}}));
    EXPECT_EQ(tunes[1].toObject()["name"].toString(), "它's");
    EXPECT_FALSE(j.contains("findings"));
}
