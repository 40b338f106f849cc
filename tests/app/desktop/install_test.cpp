// SPDX-License-Identifier: GPL-3.0-or-later
// The installed program: `cmake --install` into a temporary prefix, the files
// a desktop needs, and where the installed program keeps its database.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
};

Result RunProcess(const QString &program, const QStringList &args,
           const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
           const QByteArray &input = {})
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted())
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAll())};
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        prefix_ = tmp_->filePath("prefix");
        const Result r = RunProcess(VERSILO_CMAKE, {"--install", VERSILO_BUILD_DIR, "--prefix", prefix_});
        installOk_ = r.exitCode == 0;
        installLog_ = r.out;
    }
    static void TearDownTestSuite()
    {
        QFile::setPermissions(prefix_ + "/bin", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        tmp_.reset();
    }
    void SetUp() override { ASSERT_TRUE(installOk_) << installLog_.toStdString(); }

    static QString At(const QString &path) { return prefix_ + '/' + path; }

    static inline std::unique_ptr<QTemporaryDir> tmp_;
    static inline QString prefix_;
    static inline bool installOk_ = false;
    static inline QString installLog_;
};

TEST_F(Installed, ProgramsEntryMetainfoAndIconsInTheirPlaces)
{
    for (const char *exe : {"bin/versilo", "bin/versilo-check"})
        EXPECT_TRUE(QFileInfo(At(exe)).isExecutable()) << exe;
    QFile entry(At("share/applications/org.versilo.Versilo.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    for (const char *line : {"Exec=versilo\n", "Icon=org.versilo.Versilo\n", "Name[zh_CN]=韵律\n",
                             "Categories=Education;Literature;\n"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(QFile::exists(At("share/metainfo/org.versilo.Versilo.metainfo.xml")));
    // The licence and attributions, the changelog, the guide, the manuals.
    for (const char *doc : {"share/doc/versilo/copyright", "share/doc/versilo/changelog.gz",
                            "share/doc/versilo/guide.md", "share/man/man1/versilo.1.gz",
                            "share/man/man1/versilo-check.1.gz"})
        EXPECT_GT(QFileInfo(At(doc)).size(), 0) << doc;
    QFile copyright(At("share/doc/versilo/copyright"));
    ASSERT_TRUE(copyright.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copyright.readLine().startsWith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"));
    for (int side : {48, 128, 256}) {
        const QImage icon(At(QStringLiteral("share/icons/hicolor/%1x%1/apps/org.versilo.Versilo.png").arg(side)));
        EXPECT_EQ(icon.size(), QSize(side, side));
    }
}

TEST_F(Installed, EntryAndMetainfoPassTheDebianValidators)
{
    const struct {
        const char *tool;
        QStringList args;
    } checks[] = {
        {"desktop-file-validate", {At("share/applications/org.versilo.Versilo.desktop")}},
        {"appstreamcli", {"validate", "--no-net", At("share/metainfo/org.versilo.Versilo.metainfo.xml")}},
    };
    QStringList missing;
    for (const auto &c : checks) {
        const QString tool = QStandardPaths::findExecutable(c.tool);
        if (tool.isEmpty()) {
            missing << c.tool;
            continue;
        }
        const Result r = RunProcess(tool, c.args);
        EXPECT_EQ(r.exitCode, 0) << c.tool << ": " << r.out.toStdString();
        // Not even a hint (two main categories were one).
        if (QString(c.tool) == "desktop-file-validate") {
            EXPECT_EQ(r.out, "") << r.out.toStdString();
        }
    }
    if (!missing.isEmpty())
        GTEST_SKIP() << "not installed: " << missing.join(", ").toStdString();
}

TEST_F(Installed, ReadOnlyProgramFolderKeepsTheDatabaseUnderXdgDataHome)
{
    ASSERT_TRUE(QFile::setPermissions(At("bin"), QFile::ReadOwner | QFile::ExeOwner |
                                                     QFile::ReadGroup | QFile::ExeGroup |
                                                     QFile::ReadOther | QFile::ExeOther));
    const QString data = tmp_->filePath("data");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data);
    env.insert("HOME", tmp_->filePath("home"));

    const Result r = RunProcess(At("bin/versilo-check"), {"-"}, env, "春眠不觉晓\n");
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("春眠不觉晓")) << r.out.toStdString();
    EXPECT_TRUE(QFileInfo(data + "/versilo/mvtrakp.m").size() > 0);
    EXPECT_FALSE(QFile::exists(At("bin/mvtrakp.m")));
    EXPECT_FALSE(QFile::exists(tmp_->filePath("home")));
}

}  // namespace
