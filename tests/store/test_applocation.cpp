// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program writes: beside the executable in a build or portable
// copy, under $XDG_DATA_HOME/versilo when installed.
#include "applocation.h"
#include "store_fixture.h"

#include <QFileInfo>

namespace versilo::test {
namespace {

TEST(WriteDirChoice, ProgramFolderOnlyWhenWritableAndNotInstalled)
{
    struct Case {
        bool writable, installed;
        const char *xdg, *expected;
        bool databaseHere;
    } cases[] = {
        {true, false, "/x/data", "/opt/v/bin", false},
        {false, false, "/x/data", "/x/data/versilo", false},
        {true, true, "/x/data", "/x/data/versilo", false},
        {false, false, "/x/data/", "/x/data/versilo", false},
        // Unset or relative: the default under the home folder.
        {false, false, "", "/home/w/.local/share/versilo", false},
        {false, false, "data", "/home/w/.local/share/versilo", false},
        // A read-only portable copy holding the writer's database keeps it.
        {false, false, "/x/data", "/opt/v/bin", true},
        {true, false, "/x/data", "/opt/v/bin", true},
        {false, true, "/x/data", "/x/data/versilo", true},
    };
    for (const Case &c : cases) {
        const WriteDirFacts facts{QStringLiteral("/opt/v/bin"), c.writable, c.installed,
                                  QString::fromUtf8(c.xdg), QStringLiteral("/home/w"), c.databaseHere};
        EXPECT_EQ(ChooseWriteDir(facts), QString::fromUtf8(c.expected))
            << c.writable << c.installed << c.xdg << c.databaseHere;
    }
}

class WriteDirTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        savedXdg = qgetenv("XDG_DATA_HOME");
        hadXdg = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        dataHome = tmp.filePath(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", dataHome.toUtf8());
    }
    void TearDown() override
    {
        if (hadXdg)
            qputenv("XDG_DATA_HOME", savedXdg);
        else
            qunsetenv("XDG_DATA_HOME");
    }

    QByteArray savedXdg;
    bool hadXdg = false;
    QString dataHome;
};

TEST_F(WriteDirTest, BuildFolderIsUsedAsItIs)
{
    EXPECT_EQ(WriteDirFor(appDir), QFileInfo(appDir).absoluteFilePath());
    EXPECT_FALSE(QFileInfo::exists(dataHome));
}

TEST_F(WriteDirTest, InstalledProgramGetsAPrivateFolderAndItsOwnDatabase)
{
    const QString prefix = tmp.filePath(QStringLiteral("prefix"));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/bin")));
    ASSERT_TRUE(QDir().mkpath(prefix + QStringLiteral("/share/applications")));
    WriteFile(prefix + QStringLiteral("/share/applications/org.versilo.Versilo.desktop"), "[Desktop Entry]\n");

    const QString dir = WriteDirFor(prefix + QStringLiteral("/bin"));
    EXPECT_EQ(dir, dataHome + QStringLiteral("/versilo"));
    EXPECT_TRUE(QFileInfo(dir).isDir());
    EXPECT_EQ(QFileInfo(dir).permissions() & 0x0077, 0) << "readable by others";

    DataStore store(StoreLocation{dir, seedDir});
    ASSERT_TRUE(store.Connect()) << store.LastError().toStdString();
    EXPECT_TRUE(QFile::exists(dir + QStringLiteral("/mvtrakp.m")));
    EXPECT_FALSE(QFile::exists(prefix + QStringLiteral("/bin/mvtrakp.m")));

    // Asked again, the same folder, with the file left as it is.
    const QByteArray before = ReadFile(dir + QStringLiteral("/mvtrakp.m"));
    EXPECT_EQ(WriteDirFor(prefix + QStringLiteral("/bin")), dir);
    EXPECT_EQ(ReadFile(dir + QStringLiteral("/mvtrakp.m")), before);
}

}  // namespace
}  // namespace versilo::test
