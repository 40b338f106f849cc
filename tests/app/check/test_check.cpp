// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-check end to end: the built tool on fixture files, against a
// database created from a fixture seed.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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
                  "五绝\t◎●○○●-○○●●○-\t填写时请一句一行：每逢逗号换行。-说明-\n"
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
    EXPECT_EQ(j["Label2"].toString(), "○：平韵  ●：仄韵    ※：平仄两读");
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
    // Blanks and "?" take no position in the rhyme column either.
    EXPECT_EQ(j["Text8"].toString(), "支文\r\n筐支\r\n鱼\r\n\r\n\r\n");
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
        {"-", "-"},
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
    EXPECT_TRUE(lines.contains("versilo-check: 无法打开数据库文件 " + file + "：文件已损坏，或者不是 Versilo 的数据库。"))
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

// The lists come out the same on every run: words used equally often keep
// one order (the program's own dictionaries, where 灰 has many such ties).
TEST_F(CheckTool, RhymeWordsComeOutTheSameOnEveryRun)
{
    const QString app = dir_.filePath("builtin");
    ASSERT_TRUE(QDir().mkpath(app));
    const QStringList args{"--app-dir", app, "--rhymes", "灰", "--system", "平水韵", "--json"};
    const Result first = Run(args);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_FALSE(first.out.isEmpty());
    for (int run = 0; run < 4; ++run)
        EXPECT_EQ(Run(args).out, first.out) << "run " << run + 2;
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

// ---- many poems in one run ------------------------------------------------------

namespace {

std::vector<QJsonObject> JsonLines(const QString &out)
{
    std::vector<QJsonObject> objects;
    for (const QString &line : out.split('\n', Qt::SkipEmptyParts)) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        objects.push_back(doc.object());
    }
    return objects;
}

}  // namespace

TEST_F(CheckTool, FilesFoldersAndSplitFilesGiveOneObjectAPoem)
{
    const QString folder = dir_.filePath("poems");
    QDir().mkpath(folder + "/inner");
    WriteFile(folder + "/b.txt", "黄河入海流\n");
    WriteFile(folder + "/inner/a.txt", "白日依山尽\n");
    const QString single = Poem("读罢泪沾襟");
    // Titles: 《》, "#", a line without punctuation before one with it; a
    // poem without a title line; blank lines (with blanks in them) between.
    const QString collection = Poem("《登楼》\n白日依山尽，黄河入海流。\n\n"
                                    "# 其二\n黄河入海流\n \u3000\n"
                                    "山河\n白日依山尽，黄河入海流。\n\n\n"
                                    "白日依山尽\n黄河入海流\n");
    const struct {
        QStringList args;
        QStringList sources;
        QStringList titles;
        QStringList poems;
    } cases[] = {
        {{single, folder},
         {single, folder + "/b.txt", folder + "/inner/a.txt"},
         {"", "", ""},
         {"读罢泪沾襟", "黄河入海流\r\n", "白日依山尽\r\n"}},
        {{"--split", collection},
         {collection + "#1", collection + "#2", collection + "#3", collection + "#4"},
         {"登楼", "其二", "山河", ""},
         {"白日依山尽，黄河入海流。", "黄河入海流", "白日依山尽，黄河入海流。", "白日依山尽\r\n黄河入海流"}},
        // --split prints a file of one poem as one of many.
        {{"--split", single}, {single + "#1"}, {""}, {"读罢泪沾襟"}},
        // Without --split a file is one poem, blank lines and all.
        {{"--title", "t", collection, single},
         {collection, single},
         {"t", "t"},
         {QString(), "读罢泪沾襟"}},
    };
    for (const auto &c : cases) {
        const Result r = Run(Base() + QStringList{"--json", "--system", "平水韵"} + c.args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const std::vector<QJsonObject> objects = JsonLines(r.out);
        ASSERT_EQ(objects.size(), size_t(c.sources.size())) << r.out.toStdString();
        for (qsizetype i = 0; i < c.sources.size(); ++i) {
            const QJsonObject &o = objects.at(size_t(i));
            EXPECT_EQ(o["source"].toString(), c.sources.at(i));
            EXPECT_EQ(o["title"].toString(), c.titles.at(i));
            EXPECT_EQ(o["system"].toString(), "平水韵");
            if (!c.poems.at(i).isNull()) {
                EXPECT_EQ(o["Text2"].toString(), c.poems.at(i)) << c.sources.at(i).toStdString();
            }
        }
    }
}

TEST_F(CheckTool, ManyPoemsReadableWithTheirNamesAndTheFindingsOfEach)
{
    const QString poems = Poem("# 一\n白日依山尽，黄河入海流。\n黄河依海尽，日尽入山流。\n\n"
                               "# 二\n白日依山尽，黄河入海流。\n");
    const Result r = Run(Base() + QStringList{"--split", "--explain", "--detect", poems});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const qsizetype first = r.out.indexOf("==> " + poems + "#1 《一》 <==\n判断正误  中华新韵  标题: 一\n");
    const qsizetype second = r.out.indexOf("==> " + poems + "#2 《二》 <==\n");
    ASSERT_GE(first, 0) << r.out.toStdString();
    ASSERT_GT(second, first) << r.out.toStdString();
    // The 重韵 belongs to the first poem only.
    EXPECT_EQ(r.out.count("  重韵  "), 1);
    EXPECT_LT(r.out.indexOf("  重韵  "), second);
    EXPECT_EQ(r.out.count("体裁: "), 2);
}

TEST_F(CheckTool, EmptyAndMissingInputsAreNamedAndSetTheExitStatus)
{
    const QString good = Poem("白日\n");
    const QString empty = Poem("");
    const QString blank = Poem(" \n\u3000\r\n");
    const QString missing = dir_.filePath("missing.txt");
    const QString emptyFolder = dir_.filePath("nothing");
    QDir().mkpath(emptyFolder);
    const struct {
        QStringList args;
        int exitCode;
        QString err;       // part of standard error
        bool printed;      // a poem was printed
    } cases[] = {
        {{empty}, 2, empty + " is empty", false},
        {{blank}, 2, blank + " is empty", false},
        {{"-"}, 2, "standard input is empty", false},
        {{emptyFolder}, 2, "no poem files in " + emptyFolder, false},
        {{"--split", blank}, 2, "is empty", false},
        {{empty, good}, 1, empty + " is empty", true},
        {{missing, good}, 1, "cannot read " + missing, true},
        {{good}, 0, "", true},
    };
    for (const auto &c : cases) {
        const Result r = Run(Base() + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
        EXPECT_EQ(r.out.contains("白日"), c.printed) << r.out.toStdString();
    }
}

TEST_F(CheckTool, TheTuneIsFoundOrRefusedAndAMissingTitleIsTold)
{
    const QString poem = Poem("白日依山尽，\n黄河入海流。\n");
    const struct {
        QStringList args;
        int exitCode;
        QString text5;
        QString err;
    } cases[] = {
        // --tune alone looks the tune up in the books.
        {{"--title", "t", "--tune", "五绝"}, 0, "◎●○○●\r\n○○●●○\r\n\r\n", ""},
        {{"--title", "t", "--tune", "无此调"}, 2, "", "no tune \"无此调\" in 常用词谱 or 白香词谱"},
        {{"--title", "t", "--tune", "五绝", "--book", "白香词谱"}, 2, "", "no tune \"五绝\" in 白香词谱"},
        {{"--tune", "五绝", "--book", "常用词谱"}, 0, "◎●○○●\r\n○○●●○\r\n\r\n", "no title (--title)"},
    };
    for (const auto &c : cases) {
        const Result r = Run(Base() + QStringList{"--json"} + c.args + QStringList{poem});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.err)) << r.err.toStdString();
        if (c.exitCode == 0)
            EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["Text5"].toString(), c.text5);
        else
            EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(CheckTool, LinesThatDoNotStandForTheTunesAreToldWithItsAdvice)
{
    const QString advice = "填写时请一句一行：每逢逗号换行。";
    const struct {
        QByteArray poem;
        bool oneToOne;
        int poemLines;
        int line;   // the line of the finding, from 1
    } cases[] = {
        {"白日依山尽，\n黄河入海流。\n", true, 2, 0},
        {"白日依山尽，黄河入海流。\n", false, 1, 1},
        {"白日依山尽，\n黄河入海流。\n白日依山尽，\n", false, 3, 3},
        // Blank lines and punctuation-only lines stand for nothing.
        {"\n白日依山尽，\n。\n黄河入海流。\n\n", true, 2, 0},
    };
    for (const auto &c : cases) {
        const QString poem = Poem(c.poem);
        const QStringList args = Base() + QStringList{"--title", "t", "--tune", "五绝", "--explain", poem};
        const Result json = Run(args + QStringList{"--json"});
        ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
        const QJsonObject j = QJsonDocument::fromJson(json.out.toUtf8()).object();
        EXPECT_EQ(j["layout"].toObject(), (QJsonObject{{"poemLines", c.poemLines}, {"tuneLines", 2},
                                                       {"oneToOne", c.oneToOne}, {"instruction", advice}}))
            << c.poem.toStdString();
        const QJsonArray findings = j["findings"].toArray();
        const bool told = !findings.isEmpty() && findings[0].toObject()["kind"].toString() == "分行";
        EXPECT_EQ(told, !c.oneToOne) << c.poem.toStdString();
        const QString message = QString("诗有%1行，词谱有2句，不能逐行对照。").arg(c.poemLines) + advice;
        if (!c.oneToOne) {
            EXPECT_EQ(findings[0].toObject(),
                      (QJsonObject{{"line", c.line}, {"position", 0}, {"verse", 0}, {"kind", "分行"},
                                   {"fault", true}, {"message", message}}));
            EXPECT_TRUE(json.err.contains(message)) << json.err.toStdString();
        }
        const Result text = Run(args);
        EXPECT_EQ(text.out.contains("分行: " + message + "\n"), !c.oneToOne) << text.out.toStdString();
        EXPECT_EQ(text.out.contains(QString("误 %1  分行  ").arg(c.line) + message + "\n"), !c.oneToOne)
            << text.out.toStdString();
    }
    // No tune, or the annotation: nothing to stand for.
    for (const QStringList &args : {QStringList{}, QStringList{"--annotate", "--tune", "五绝"}}) {
        const QJsonObject j = Json(args + QStringList{Poem("白日依山尽，黄河入海流。")});
        EXPECT_FALSE(j.contains("layout"));
    }
}

TEST_F(CheckTool, ReadableRowsEndWithThePoemAndVersionAndHelpSayWhatTheyShould)
{
    for (const QByteArray &poem : {QByteArray("白日\n黄河\n"), QByteArray("白日\n黄河"), QByteArray("白日\n黄河\n\n\n")}) {
        for (const QStringList &mode : {QStringList{}, QStringList{"--annotate"}}) {
            const Result r = Run(Base() + mode + QStringList{Poem(poem)});
            EXPECT_TRUE(r.out.contains("\n2  黄河  |  ")) << r.out.toStdString();
            EXPECT_FALSE(r.out.contains("\n3  ")) << poem.toStdString() << r.out.toStdString();
        }
    }
    Result r = Run({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(QRegularExpression("^versilo-check \\d+\\.\\d+\n$").match(r.out).hasMatch()) << r.out.toStdString();
    r = Run({"--help"});
    for (const char *part : {"Exit status: 0 every poem was checked", "1 some poems were checked",
                             "2 wrong usage", "--split", "--version"})
        EXPECT_TRUE(r.out.contains(part)) << part;
}

TEST_F(CheckTool, DiagnosticsBenchRefusesAFolderThatIsNotThere)
{
    QProcess p;
    p.start(QStringLiteral(VERSILO_BIN_DIR "/versilo-bench-diagnostics"), {dir_.filePath("nowhere")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(p.readAllStandardOutput().contains("no such folder"));
}
