#include "shell_fixture.h"

#include "app/main_frame.h"
#include "app/telv_q9_app.h"
#include "core/data_folders.h"
#include "core/profile_ini.h"
#include "core/string_table.h"
#include "model/app_data.h"
#include "ui/contents/contents_panes.h"
#include "ui/players/players_panes.h"
#include "ui/timetable/timetable_panes.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSettings>

#include <utility>

namespace {
int g_instanceCount = 0;
} // namespace

QString LogText(const QString &folder)
{
    QString text;
    QDirIterator it(folder, {QStringLiteral("Q9_*.log")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            text += QString::fromLocal8Bit(file.readAll());
    }
    return text;
}

void ShellTest::SetUp()
{
    ASSERT_TRUE(m_home.isValid());
    m_oldHome = qgetenv("HOME");
    m_oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", m_home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home.path() + QStringLiteral("/.config"));
    RegisterContentsPanes();
    RegisterTimetablePanes();
    RegisterPlayersPanes();
    GetApp()->SetInstanceName(
        QStringLiteral("Q9Mutex-uitest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++g_instanceCount));
}

void ShellTest::TearDown()
{
    GetApp()->ExitInstance();
    ClearStringOverrides();
    qputenv("HOME", m_oldHome);
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
}

QString ShellTest::baseFolder() const
{
    return QDir(m_home.path()).filePath(QStringLiteral("Documents"));
}

QString ShellTest::dataFolder() const
{
    return DataFolderOf(baseFolder());
}

void ShellTest::writeIni(const char *fileName, const QString &section, const QString &key, const QString &value)
{
    QDir().mkpath(dataFolder());
    CProfileIni ini(QDir(dataFolder()).filePath(QString::fromLatin1(fileName)));
    ASSERT_TRUE(ini.WriteString(section, key, value));
}

void ShellTest::addGroup(const QString &name)
{
    CGroupRecord group;
    group.Number = GetAppData().GetGroupXml().GetCount() + 1;
    group.Name = name;
    GetAppData().GetGroupXml().AddGroup(group);
}

bool ShellTest::startUp()
{
    return GetApp()->StartUp();
}

CMainFrame *ShellTest::startFrame()
{
    if (!GetApp()->InitInstance())
        return nullptr;
    return GetApp()->GetMainWnd();
}

CMainFrame *ShellTest::startSetUpFrame()
{
    // Stored as the program stores it, so the frame opens at that size and
    // its first view is arranged in it.
    for (const auto &[key, value] : {std::pair{"WindowLeft", "0"}, std::pair{"WindowTop", "0"},
                                     std::pair{"WindowWidth", "1200"}, std::pair{"WindowHeight", "800"}})
        writeIni("Q9A.ini", QStringLiteral("Window_1"), QString::fromLatin1(key), QString::fromLatin1(value));
    CMainFrame *frame = startSetUpFrameWithGroups({});
    if (frame)
        frame->resize(1200, 800);
    return frame;
}

CMainFrame *ShellTest::startSetUpFrameWithGroups(const QStringList &groups)
{
    writeIni("Y5.ini", QStringLiteral("Sysytem"), QStringLiteral("InitSeq"), QStringLiteral("7"));
    CMainFrame *frame = startFrame();
    if (!frame || groups.isEmpty())
        return frame;
    for (const QString &name : groups)
        addGroup(name);
    if (!frame->SelectGroup(groups.first(), 0)) {
        ADD_FAILURE() << "the group " << groups.first().toStdString() << " was not chosen";
        return nullptr;
    }
    return frame;
}
