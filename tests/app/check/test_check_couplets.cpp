// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-check --explain on the couplets of a 律诗: the JSON key "couplets"
// and the plain-text lines, on the seed the program carries.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CheckCouplets : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        ASSERT_TRUE(dir_->isValid());
        ASSERT_TRUE(QDir().mkpath(dir_->filePath("app")));
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }

    static QString Write(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir_->filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    static QString Run(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral(VERSILO_BIN_DIR "/versilo-check"),
                QStringList{"--app-dir", dir_->filePath("app"), "--seed-dir",
                            QStringLiteral(VERSILO_SOURCE_DIR "/data/seed"), "--system", "平水韵"}
                    + args);
        EXPECT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    static QTemporaryDir *dir_;
};

QTemporaryDir *CheckCouplets::dir_ = nullptr;

const QByteArray kSongYouRen = "青山横北郭，白水绕东城。\n此地一为别，孤蓬万里征。\n"
                               "浮云游子意，落日故人情。\n挥手自兹去，萧萧班马鸣。\n";

TEST_F(CheckCouplets, EachCoupletWordByWordInJson)
{
    const QJsonObject obj =
        QJsonDocument::fromJson(Run({"--json", "--explain", Write("lv.txt", kSongYouRen)}).toUtf8()).object();
    const QJsonArray couplets = obj["couplets"].toArray();
    ASSERT_EQ(couplets.size(), 4);
    const struct {
        const char *name;
        bool mustFace;
        bool parallel;
        int firstLine;
    } want[] = {{"首联", false, true, 1}, {"颔联", true, false, 2}, {"颈联", true, true, 3}, {"尾联", false, false, 4}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(want[i].name);
        const QJsonObject c = couplets.at(i).toObject();
        EXPECT_EQ(c["couplet"].toString(), QString::fromUtf8(want[i].name));
        EXPECT_EQ(c["mustFace"].toBool(), want[i].mustFace);
        EXPECT_EQ(c["parallel"].toBool(), want[i].parallel);
        EXPECT_EQ(c["lines"].toArray().first().toInt(), want[i].firstLine);
        EXPECT_EQ(c["verses"].toArray().first().toInt(), 2 * i + 1);
    }
    // 浮云—落日, 游子—故人, 意—情: both of one fine class each.
    const QJsonArray pairs = couplets.at(2).toObject()["pairs"].toArray();
    ASSERT_EQ(pairs.size(), 3);
    EXPECT_EQ(pairs.at(0).toObject()["out"].toString(), "浮云");
    EXPECT_EQ(pairs.at(0).toObject()["in"].toString(), "落日");
    EXPECT_EQ(pairs.at(0).toObject()["position"].toInt(), 1);
    EXPECT_EQ(pairs.at(1).toObject()["outClass"].toString(), "名·人伦");
    EXPECT_EQ(pairs.at(1).toObject()["facing"].toString(), "工对");
    EXPECT_EQ(pairs.at(2).toObject()["position"].toInt(), 5);
    EXPECT_EQ(couplets.at(2).toObject()["verdict"].toString(), "工对");
    EXPECT_EQ(couplets.at(1).toObject()["verdict"].toString(), "不对仗");

    // The unparallel 颔联 is also a fault among the findings.
    bool fault = false;
    for (const QJsonValue &f : obj["findings"].toArray())
        fault = fault || (f.toObject()["kind"].toString() == "对仗" && f.toObject()["fault"].toBool());
    EXPECT_TRUE(fault);
}

TEST_F(CheckCouplets, PlainTextLinesAndNoneForAQuatrain)
{
    const QString text = Run({"--explain", Write("lv.txt", kSongYouRen)});
    EXPECT_TRUE(text.contains("对仗: 颔联 不对仗  此地—孤蓬")) << text.toStdString();
    EXPECT_TRUE(text.contains("对仗: 颈联 工对  浮云—落日")) << text.toStdString();

    const QByteArray quatrain = "两个黄鹂鸣翠柳，一行白鹭上青天。\n窗含西岭千秋雪，门泊东吴万里船。\n";
    const QJsonObject obj =
        QJsonDocument::fromJson(Run({"--json", "--explain", Write("jue.txt", quatrain)}).toUtf8()).object();
    EXPECT_TRUE(obj.contains("findings"));
    EXPECT_FALSE(obj.contains("couplets"));
    EXPECT_FALSE(Run({"--explain", Write("jue.txt", quatrain)}).contains("对仗:"));
    // Without --explain nothing is said of the couplets.
    EXPECT_FALSE(Run({Write("lv2.txt", kSongYouRen)}).contains("对仗"));
}

}  // namespace
