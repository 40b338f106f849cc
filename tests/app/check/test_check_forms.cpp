// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-check against the forms of the 钦定词谱 (--book 钦定词谱 --form N),
// and the kind --detect gives a ci of seven-syllable lines.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

class CheckForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(QDir().mkpath(dir_.filePath("seed")));
        ASSERT_TRUE(QDir().mkpath(dir_.filePath("app")));
        const QByteArray dict = "汉字\t平仄\t韵调\t拼音\n平\t0\t1\tping\n东\t0\t1\tdong\n仄\t1\t32\tze\n";
        Write("seed/中华新韵.tsv", dict);
        Write("seed/平水韵.tsv", dict);
        Write("seed/常用词谱.tsv", "篇名\t格律\t正文\n"
                                   "浣溪沙\t⊙●⊙○⊙●△-⊙○⊙●●○△-⊙○⊙●●○△-⊙●⊙○○●●-⊙○⊙●●○△-⊙○⊙●●○△-\t\n");
        Write("seed/白香词谱.tsv", "篇名\t格律\t正文\n");
    }

    QString Write(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    Result Run(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral(VERSILO_BIN_DIR "/versilo-check"),
                QStringList{"--app-dir", dir_.filePath("app"), "--seed-dir", dir_.filePath("seed")} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        Result r;
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    QTemporaryDir dir_;
};

TEST_F(CheckForms, AnyFormOfATuneIsLoaded)
{
    const QString poem = Write("poem.txt", "平平\n");
    const struct {
        QStringList args;
        QString firstLine;   // of Text5
    } cases[] = {
        // 十六字令 is another name of 归字谣; its one form rhymes on its first syllable.
        {{"--tune", "十六字令"}, "△"},
        {{"--tune", "江城子"}, "⊙⊙○⊙⊙⊙△"},
        {{"--tune", "江城子", "--form", "1"}, "⊙⊙○⊙⊙⊙△"},
        {{"--tune", "江城子", "--form", "2"}, "●●○○●●△"},
        {{"--tune", "江城子", "--form", "4"}, "○○●"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Result r = Run(QStringList{"--json", "--book", "钦定词谱", "--title", "t"} + c.args + QStringList{poem});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject j = QJsonDocument::fromJson(r.out.toUtf8()).object();
        EXPECT_EQ(j["Text5"].toString().section("\r\n", 0, 0), c.firstLine);
        EXPECT_EQ(j["Label1"].toString(), c.args.at(1));
    }
}

TEST_F(CheckForms, AFormThatIsNotThereIsRefused)
{
    const QString poem = Write("poem.txt", "平平\n");
    const QList<QStringList> bad = {
        {"--book", "钦定词谱", "--tune", "无此调", poem},
        {"--book", "钦定词谱", "--tune", "江城子", "--form", "6", poem},
        {"--book", "钦定词谱", "--tune", "江城子", "--form", "0", poem},
        {"--book", "钦定词谱", "--tune", "江城子", "--form", "二", poem},
        {"--book", "常用词谱", "--tune", "浣溪沙", "--form", "2", poem},
        {"--tune", "江城子", "--form", "2", poem},
        {"--book", "钦定词谱", "--tune", "江城子", "--form"},
    };
    for (const QStringList &args : bad) {
        const Result r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(CheckForms, SevenSyllableLinesThatFitATuneAreACi)
{
    const struct {
        const char *what;
        QByteArray poem;
        QString kind;
    } cases[] = {
        {"浣溪沙 in its tones",
         "仄仄平平仄仄东，\n平平仄仄仄平东。\n平平仄仄仄平东。\n仄仄平平平仄仄，\n平平仄仄仄平东。\n平平仄仄仄平东。\n",
         "词"},
        {"the same lines in the opposite tones",
         "平平仄仄平平仄，\n仄仄平平平仄仄。\n仄仄平平平仄仄。\n平平仄仄仄平平，\n仄仄平平平仄仄。\n仄仄平平平仄仄。\n",
         "古体"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Result r = Run({"--json", "--detect", "--system", "平水韵", Write("poem.txt", c.poem)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject form = QJsonDocument::fromJson(r.out.toUtf8()).object()["form"].toObject();
        EXPECT_EQ(form["kind"].toString(), c.kind);
        ASSERT_FALSE(form["tunes"].toArray().isEmpty());
        EXPECT_EQ(form["tunes"].toArray().first().toObject()["name"].toString(), "浣溪沙");
    }
}

}  // namespace
