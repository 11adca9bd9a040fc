#include "core/shell_open.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecordingOpener final : public IShellOpener {
public:
    bool open(const QString &target) override
    {
        opened << target;
        return succeed;
    }
    QStringList opened;
    bool succeed = true;
};

class ShellOpenTest : public ::testing::Test {
protected:
    void SetUp() override { SetShellOpener(&m_opener); }
    void TearDown() override { SetShellOpener(nullptr); }
    RecordingOpener m_opener;
};

} // namespace

TEST_F(ShellOpenTest, PathsAreHandedOverAbsoluteAndAddressesAsTheyAre)
{
    EXPECT_TRUE(ShellOpenFile("/data/a.mp4"));
    EXPECT_TRUE(ShellOpenFile("https://example.invalid/x"));
    EXPECT_TRUE(ShellOpenFile("-n.txt"));
    EXPECT_EQ(m_opener.opened,
              QStringList({"/data/a.mp4", "https://example.invalid/x", QDir::currentPath() + "/-n.txt"}));
}

TEST_F(ShellOpenTest, FailsOnlyForAnExistingFileThatNoProgramOpens)
{
    QTemporaryDir dir;
    const QString existing = dir.path() + "/doc.xyz";
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    m_opener.succeed = false;
    EXPECT_FALSE(ShellOpenFile(existing));
    EXPECT_TRUE(ShellOpenFile(dir.path() + "/missing.xyz"));
    m_opener.opened.clear();
    EXPECT_TRUE(ShellOpenFile(QString()));
    EXPECT_TRUE(m_opener.opened.isEmpty());

    // The desktop's opener says so when the desktop names no program for
    // the file, rather than failing unseen after it was started.
    const QString pdf = dir.path() + "/Print.pdf";
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::WriteOnly));
    pdfFile.write("%PDF-1.4\n");
    pdfFile.close();
    const QString empty = dir.path() + "/desktop";
    QDir().mkpath(empty);
    for (const char *name : {"XDG_DATA_DIRS", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
        qputenv(name, empty.toLocal8Bit());
    EXPECT_FALSE(XdgShellOpener().open(pdf));
}
