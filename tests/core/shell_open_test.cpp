#include "core/shell_open.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

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

// Where the desktop's opener looks up the program for a file type.
constexpr std::array<const char *, 4> kDesktopVariables = {"XDG_DATA_DIRS", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                                           "XDG_CONFIG_DIRS"};

// The variables as they are now; the function returned puts them back.
std::function<void()> SaveEnvironment(const std::array<const char *, 4> &names)
{
    std::vector<std::pair<const char *, std::optional<QByteArray>>> saved;
    for (const char *name : names)
        saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    return [saved] {
        for (const auto &[name, value] : saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    };
}

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
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed";
    const QString pdf = dir.path() + "/Print.pdf";
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::WriteOnly));
    pdfFile.write("%PDF-1.4\n");
    pdfFile.close();
    const QString empty = dir.path() + "/desktop";
    QDir().mkpath(empty);
    const auto restoreDesktop = qScopeGuard(SaveEnvironment(kDesktopVariables));
    for (const char *name : kDesktopVariables)
        qputenv(name, empty.toLocal8Bit());
    EXPECT_FALSE(XdgShellOpener().open(pdf));
}
