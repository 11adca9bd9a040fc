// The settings package command: the set-up guard, the file dialog and the
// folder it remembers, and the package as a cabinet reader sees it.
#include "app/main_frame.h"
#include "cab/dlkx_cab.h"
#include "core/app_ini.h"
#include "fake_file_dialogs.h"
#include "shell_fixture.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray ReadAllOrMissing(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(ShellTest, SettingsPackageNeedsTheCompletedSetUp)
{
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    FakeFileDialogs dialogs;
    m_prompter.expect(5454, IDOK);
    frame->OnCommand(CMainFrame::ID_EXPORT_SETTINGS);
    EXPECT_TRUE(dialogs.requests.isEmpty());
}

TEST_F(ShellTest, SettingsPackageHoldsTheFiveFilesAndRemembersItsFolder)
{
    writeIni("Y5.ini", QStringLiteral("Sysytem"), QStringLiteral("InitSeq"), QStringLiteral("7"));
    CMainFrame *frame = startFrame();
    ASSERT_NE(frame, nullptr);
    const QString data = dataFolder();
    for (const char *name : {"Player.xml", "Q9Group.xml", "Q9Display.xml", "Q9S.ini"}) {
        QFile file(QDir(data).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
        file.write(QByteArray("<!-- ") + name + " -->\n");
    }
    const QString before = GetAppIni().GetLastExportFolder();
    FakeFileDialogs dialogs;

    // Cancelled: nothing written, the folder unchanged.
    frame->OnExportSettings();
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].fileName, QStringLiteral("Q9Setup.cab"));
    EXPECT_EQ(dialogs.requests[0].folder, before);
    EXPECT_EQ(GetAppIni().GetLastExportFolder(), before);

    // An older package readable by everyone is replaced by one for its owner only.
    const QString target = QDir(m_home.path()).filePath(QStringLiteral("carry/Q9Setup.cab"));
    QDir().mkpath(QFileInfo(target).path());
    QFile older(target);
    ASSERT_TRUE(older.open(QIODevice::WriteOnly));
    older.close();
    ASSERT_TRUE(older.setPermissions(older.permissions() | QFileDevice::ReadOther | QFileDevice::ReadGroup));
    dialogs.answers << target;
    m_prompter.expect(5369, IDOK);
    frame->OnExportSettings();
    EXPECT_EQ(GetAppIni().GetLastExportFolder(), QFileInfo(target).path());
    EXPECT_TRUE(m_prompter.last().text.contains(target));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ((QFileInfo(target).permissions() & others).toInt(), 0);
    EXPECT_TRUE(QFileInfo(target).permissions().testFlag(QFileDevice::ReadOwner));

    const QString out = QDir(m_home.path()).filePath(QStringLiteral("out"));
    ASSERT_EQ(DLKxDecompressCab({target, out}), 0);
    for (const char *name : {"Y5.ini", "Q9S.ini", "Player.xml", "Q9Group.xml", "Q9Display.xml"}) {
        const QString relative = QStringLiteral("TelvData/Q9Data/") + QLatin1String(name);
        EXPECT_EQ(ReadAllOrMissing(QDir(out).filePath(relative)),
                  ReadAllOrMissing(QDir(baseFolder()).filePath(relative)))
            << name;
    }

    // A missing member fails the package, and the earlier one stays whole.
    const QByteArray kept = ReadAllOrMissing(target);
    QFile::remove(QDir(data).filePath(QStringLiteral("Q9Group.xml")));
    dialogs.answers << target;
    m_prompter.expect(5368, IDOK);
    frame->OnExportSettings();
    EXPECT_EQ(ReadAllOrMissing(target), kept);
}
