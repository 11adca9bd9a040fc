// The application object's start: the base-folder setting, the start-up
// password, the resource file beside the program, the single instance.
#include "app/app_globals.h"
#include "app/single_instance.h"
#include "app/telv_q9_app.h"
#include "core/app_ini.h"
#include "core/atomic_file.h"
#include "core/log_cleaner.h"
#include "core/message_box.h"
#include "core/string_table.h"
#include "core/syslog.h"
#include "model/app_data.h"
#include "shell_fixture.h"
#include "support/file_contents.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QSignalSpy>

#include <memory>

namespace {

QString StoredBaseFolder()
{
    return QSettings(QStringLiteral("Kavrin"), QStringLiteral("TELV-Q9")).value(QStringLiteral("BaseFolder")).toString();
}

} // namespace

using AppStartUp = ShellTest;

TEST_F(AppStartUp, FirstStartStoresTheBaseFolderAndLaysOutTheDataTree)
{
    ASSERT_TRUE(StoredBaseFolder().isEmpty());
    ASSERT_TRUE(startUp());
    EXPECT_EQ(StoredBaseFolder(), baseFolder());
    EXPECT_TRUE(QDir(dataFolder()).exists(QStringLiteral("ContentData")));
    EXPECT_TRUE(GetLogCleaner().IsRunning());
    EXPECT_TRUE(LogText(dataFolder()).contains(QStringLiteral("TELV-Q9 Ver.1.23 Start")));
    // The Template folder had no layouts: the program's own, one for every
    // screen in each orientation, were written there.
    CLayoutTemplateStore written;
    ASSERT_TRUE(written.LoadFrom(dataFolder() + QStringLiteral("/Template")));
    EXPECT_EQ(written.GetCount(), 2 * CAppData::kResolutionCount);
    LayoutTemplate::Areas areas{};
    ASSERT_TRUE(written.Lookup(9, 1, areas));
    EXPECT_EQ(areas[0].rect, (WinRect{0, 0, 2160, 3840}));
}

TEST_F(AppStartUp, StartRemovesOnlyTheProgramsOwnTemporaryFilesAndNarrowsPasswordFilesEachLogged)
{
    ASSERT_TRUE(QDir().mkpath(dataFolder() + QStringLiteral("/Group")));
    ASSERT_TRUE(QDir().mkpath(dataFolder() + QStringLiteral("/Setup/1/File")));
    const QString leftover = TemporaryPathFor(dataFolder() + QStringLiteral("/Group/Q9Group.xml"));
    // The operator's files, however much they look like temporaries.
    const QStringList userFiles{dataFolder() + QStringLiteral("/Group/notes.txt.backup"),
                                dataFolder() + QStringLiteral("/Setup/1/File/logo.jpg.backup"),
                                dataFolder() + QStringLiteral("/Group/Q9Group.xml.qWeRtY"),
                                dataFolder() + QStringLiteral("/Group/operator-notes.telvq9-tmp"),
                                dataFolder() + QStringLiteral("/Setup/1/File/logo.jpg.ZZZZZZZZ.telvq9-tmp")};
    // Files that hold passwords, written readable by others by an older
    // version (a send's registration file, a damaged copy set aside), and one
    // that holds none.
    ASSERT_TRUE(QDir().mkpath(dataFolder() + QStringLiteral("/KDP-R40/lobby")));
    const QStringList passwordFiles{dataFolder() + QStringLiteral("/Y5.ini"),
                                    dataFolder() + QStringLiteral("/Setup/1/kdp-r40_setup.xml"),
                                    dataFolder() + QStringLiteral("/KDP-R40/lobby/property2.xml"),
                                    dataFolder() + QStringLiteral("/Player.xml.damaged")};
    const QString plain = dataFolder() + QStringLiteral("/Setup/1/detail_setup.xml");
    for (const QString &path : passwordFiles + QStringList{plain}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("[Option]\n") > 0);
        ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    }
    const QStringList created = QStringList(userFiles) << leftover;
    for (const QString &path : created) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    // A save of two files killed once both were in place, before its journal
    // went: put back from the journal, before the old contents' second name
    // would go as a leftover.
    const QString journals = QDir(baseFolder()).filePath(QStringLiteral("TelvData/Journal"));
    ASSERT_TRUE(QDir().mkpath(journals));
    const QString changed = dataFolder() + QStringLiteral("/Group/list.xml");
    const QString old = TemporaryPathFor(changed);
    const QString added = dataFolder() + QStringLiteral("/Group/added.xml");
    const QString journal = journals + QStringLiteral("/0123abcd.telvq9-journal");
    const auto entries = [](const QString &file, const QString &old, const QString &more = QString()) {
        return QStringLiteral(R"({"targets":[{"file":"%1","old":"%2"}%3]})").arg(file, old, more).toUtf8();
    };
    const QDir tree(QDir(baseFolder()).filePath(QStringLiteral("TelvData")));
    const auto inTree = [&tree](const QString &path) { return tree.relativeFilePath(path); };
    for (const auto &[path, data] :
         {std::pair{changed, QByteArray("new")}, {old, QByteArray("old")}, {added, QByteArray("new")},
          {journal, entries(inTree(changed), inTree(old), QStringLiteral(R"(,{"file":"%1","old":""})").arg(inTree(added)))}})
        ASSERT_TRUE(WriteFileAtomically(path, data));
    // Journals the program did not write, or cannot use: each changes nothing
    // and is set aside under a name of its own, told once. One anywhere else
    // (a package's, unpacked) is never read.
    const QString players = dataFolder() + QStringLiteral("/Setup/kept.xml");
    const QString outside = m_home.filePath(QStringLiteral("outside.txt"));
    ASSERT_TRUE(WriteFileAtomically(players, "players"));
    ASSERT_TRUE(WriteFileAtomically(outside, "outside"));
    ASSERT_TRUE(QFile::link(m_home.path(), dataFolder() + QStringLiteral("/up")));
    const QString huge = journals + QStringLiteral("/00000001.telvq9-journal");
    const QString damaged = journals + QStringLiteral("/00000002.telvq9-journal");
    const QString linked = journals + QStringLiteral("/00000003.telvq9-journal");
    const QString throughLink = journals + QStringLiteral("/00000004.telvq9-journal");
    const QString notSecondName = journals + QStringLiteral("/00000005.telvq9-journal");
    const QByteArray removesPlayers = entries(QStringLiteral("Q9Data/Setup/kept.xml"), QString());
    ASSERT_TRUE(WriteFileAtomically(huge, removesPlayers + QByteArray(8 * 1024 * 1024, ' ')));
    ASSERT_TRUE(WriteFileAtomically(damaged, removesPlayers.left(20)));
    ASSERT_TRUE(WriteFileAtomically(m_home.filePath(QStringLiteral("linked")), removesPlayers));
    ASSERT_TRUE(QFile::link(m_home.filePath(QStringLiteral("linked")), linked));
    // A whole set is refused for one entry: the stored file stays too.
    ASSERT_TRUE(WriteFileAtomically(
        throughLink, entries(QStringLiteral("Q9Data/Setup/kept.xml"), QString(), QStringLiteral(R"(,{"file":"Q9Data/up/outside.txt","old":""})"))));
    ASSERT_TRUE(WriteFileAtomically(notSecondName, entries(QStringLiteral("Q9Data/Setup/kept.xml"), QStringLiteral("Q9Data/Group/list.xml"))));
    ASSERT_TRUE(WriteFileAtomically(huge + QStringLiteral(".damaged"), "an earlier one"));
    ASSERT_TRUE(QDir().mkpath(dataFolder() + QStringLiteral("/Import/TelvData/Journal")));
    ASSERT_TRUE(WriteFileAtomically(dataFolder() + QStringLiteral("/Import/TelvData/Journal/00000006.telvq9-journal"), removesPlayers));
    ASSERT_TRUE(WriteFileAtomically(dataFolder() + QStringLiteral("/00000007.telvq9-journal"), removesPlayers));
    const QStringList setAside{huge + QStringLiteral(".2.damaged"), damaged + QStringLiteral(".damaged"),
                               linked + QStringLiteral(".damaged"), throughLink + QStringLiteral(".damaged"),
                               notSecondName + QStringLiteral(".damaged")};
    for (int i = 0; i < setAside.size(); ++i)
        m_prompter.expect(9753, IDOK);
    ASSERT_TRUE(startUp());
    QStringList told;
    for (const MessagePrompt &prompt : m_prompter.prompts())
        told << prompt.arguments;
    EXPECT_EQ(told, setAside);
    EXPECT_EQ(ReadAll(players), QByteArray("players"));
    EXPECT_EQ(ReadAll(outside), QByteArray("outside"));
    EXPECT_EQ(ReadAll(huge + QStringLiteral(".damaged")), QByteArray("an earlier one"));
    EXPECT_TRUE(QFileInfo(linked + QStringLiteral(".damaged")).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(dataFolder() + QStringLiteral("/Import/TelvData"))) << "an interrupted import's work";
    EXPECT_EQ(ReadAll(changed), QByteArray("old"));
    for (const QString &path : {old, added, journal})
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    EXPECT_TRUE(LogText(dataFolder()).contains(QStringLiteral("Interrupted save put back as it was : ") + journal));
    EXPECT_FALSE(QFile::exists(leftover));
    for (const QString &path : userFiles)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    EXPECT_TRUE(LogText(dataFolder()).contains(QStringLiteral("Leftover temporary file removed : ") + leftover));
    for (const QString &path : passwordFiles) {
        EXPECT_EQ((QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther)).toInt(), 0) << path.toStdString();
        EXPECT_TRUE(LogText(dataFolder()).contains(QStringLiteral("File made private : ") + path));
    }
    EXPECT_TRUE(QFile::permissions(plain).testFlag(QFile::ReadOther));
    // Told once: the next start finds nothing more to tell or to do.
    GetApp()->ExitInstance();
    ASSERT_TRUE(startUp());
    EXPECT_EQ(m_prompter.prompts().size(), setAside.size());
    EXPECT_EQ(ReadAll(players), QByteArray("players"));
}

TEST_F(AppStartUp, BaseFolderIsStoredEvenWhenTheDataTreeCannotBeMade)
{
    // A file where the data tree should go: nothing can be laid out, but the
    // base folder was stored before anything was tried.
    QDir().mkpath(baseFolder());
    QFile blocker(QDir(baseFolder()).filePath(QStringLiteral("TelvData")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    // Nothing can be saved there: the operator ends the start.
    m_prompter.expect(9751, IDNO);
    EXPECT_FALSE(startUp());
    EXPECT_EQ(StoredBaseFolder(), baseFolder());
    EXPECT_FALSE(QDir(dataFolder()).exists());
}

TEST_F(AppStartUp, DataFolderThatCannotBeWrittenIsShownAndTheOperatorChoosesToEndOrGoOn)
{
    ASSERT_TRUE(QDir().mkpath(dataFolder()));
    {
        // No byte can be written, as in a read-only folder.
        FileSizeLimit readOnly(0);
        m_prompter.expect(9751, IDNO);
        EXPECT_FALSE(startUp());
    }
    EXPECT_TRUE(m_prompter.last().arguments.contains(dataFolder()));
    EXPECT_FALSE(GetLogCleaner().IsRunning());
    EXPECT_EQ(GetApp()->GetSingleInstance(), nullptr);
    {
        FileSizeLimit readOnly(0);
        m_prompter.expect(9751, IDYES);
        EXPECT_TRUE(startUp()) << "the operator starts without saving";
    }
}

TEST_F(AppStartUp, DamagedOrUnreadableSettingsAndPlayerFilesAreNamedOnceAndNeverWrittenInto)
{
    ASSERT_TRUE(QDir().mkpath(dataFolder()));
    static const char kGarbage[] = "\x7f\x45\x4c\x46\0\x01 not settings \xff\xfe";
    const QByteArray garbage(kGarbage, sizeof kGarbage - 1);
    // A damaged file is not used, not even the start-up password it seems to ask for.
    const QByteArray damagedOptions("[Option]\nRunPassUse=1\n\0\x01", 24);
    const QByteArray cutGroups = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Q9Group>\n\t<Group index=\"1\">";
    const QString system = QDir(dataFolder()).filePath("Q9S.ini");
    const QString options = QDir(dataFolder()).filePath("Y5.ini");
    const QString state = QDir(dataFolder()).filePath("Q9A.ini");
    const QString players = QDir(dataFolder()).filePath("Player.xml");
    const QString groups = QDir(dataFolder()).filePath("Q9Group.xml");
    const QString layouts = QDir(dataFolder()).filePath("Template/LayoutTemplate.xml");
    ASSERT_TRUE(QDir().mkpath(QFileInfo(layouts).path()));
    for (const auto &[path, bytes] : {std::pair{system, garbage}, std::pair{options, damagedOptions},
                                     std::pair{state, garbage}, std::pair{groups, cutGroups},
                                     std::pair{layouts, cutGroups}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // A player list that cannot be read at all.
    ASSERT_TRUE(QDir().mkpath(players));
    for (int i = 0; i < 5; ++i)
        m_prompter.expect(9752, IDOK);
    ASSERT_TRUE(startUp());
    QStringList named;
    for (const MessagePrompt &prompt : m_prompter.prompts())
        named << prompt.arguments;
    EXPECT_EQ(named, QStringList({system, options, state, players, groups}));
    EXPECT_TRUE(m_passwords.modes.isEmpty());
    const QString log = LogText(dataFolder());
    EXPECT_TRUE(log.contains(QStringLiteral("Settings File Damaged : ") + system));
    EXPECT_TRUE(log.contains(QStringLiteral("Settings File Damaged : ") + options));
    EXPECT_TRUE(log.contains(QStringLiteral("Player Load Error")));
    QFile file(system);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage) << "defaults are not written over the file";
    // The player and group files were set aside: a save starts them afresh.
    EXPECT_TRUE(QFileInfo(players + QStringLiteral(".damaged")).isDir());
    EXPECT_EQ(ReadAll(groups + QStringLiteral(".damaged")), cutGroups);
    EXPECT_FALSE(QFileInfo::exists(players));
    EXPECT_EQ(ReadAll(layouts), cutGroups) << "the operator's templates are not replaced by the defaults";
    // What the program writes at exit goes to a fresh state file; the damaged
    // one is set aside whole, and the log says so once.
    ASSERT_TRUE(GetAppIni().SetLastGuideSelect(3));
    ASSERT_TRUE(GetAppIni().SetSettingsOpen(false));
    EXPECT_EQ(ReadAll(state + QStringLiteral(".damaged")), garbage);
    EXPECT_EQ(GetAppIni().GetLastGuideSelect(), 3);
    EXPECT_FALSE(ReadAll(state).contains("not settings"));
    EXPECT_EQ(LogText(dataFolder()).count(QStringLiteral("set aside as ") + state), 1);
}

TEST_F(AppStartUp, CancelledStartUpPasswordEndsTheStartWithoutThreadsOrLog)
{
    writeIni("Y5.ini", QStringLiteral("Option"), QStringLiteral("RunPassUse"), QStringLiteral("1"));
    const QString name = QStringLiteral("Q9Mutex-uitest-cancel-%1").arg(QCoreApplication::applicationPid());
    GetApp()->SetInstanceName(name);
    m_passwords.answer = IDCANCEL;
    EXPECT_FALSE(startUp());
    EXPECT_EQ(m_passwords.modes, QList<int>{4});
    EXPECT_FALSE(GetLogCleaner().IsRunning());
    EXPECT_FALSE(IsSyslogOpen());
    EXPECT_FALSE(GetApp()->IsSocketsStarted());
    EXPECT_FALSE(LogText(dataFolder()).contains(QStringLiteral("Start")));
    // The guard was given up: the next start is a first copy.
    EXPECT_EQ(GetApp()->GetSingleInstance(), nullptr);
    CSingleInstance next(name);
    EXPECT_TRUE(next.Acquire());
}

TEST_F(AppStartUp, GivenStartUpPasswordStartsTheProgram)
{
    writeIni("Y5.ini", QStringLiteral("Option"), QStringLiteral("RunPassUse"), QStringLiteral("1"));
    m_passwords.answer = IDOK;
    EXPECT_TRUE(startUp());
    EXPECT_EQ(m_passwords.modes, QList<int>{4});
    EXPECT_TRUE(LogText(dataFolder()).contains(QStringLiteral("TELV-Q9 Ver.1.23 Start")));
}

TEST_F(AppStartUp, SecondStartEndsAndAsksTheFirstToComeForward)
{
    CSingleInstance holder(QStringLiteral("Q9Mutex-uitest-held-%1").arg(QCoreApplication::applicationPid()));
    ASSERT_TRUE(holder.Acquire());
    GetApp()->SetInstanceName(holder.GetName());
    QSignalSpy activated(&holder, &CSingleInstance::activateRequested);
    EXPECT_FALSE(startUp());
    EXPECT_TRUE(activated.wait(30000));
    // The second start loaded nothing.
    EXPECT_FALSE(GetLogCleaner().IsRunning());
}

// ctest runs the tests of one executable side by side: the two resource tests
// share the program's folder, so each holds this lock while it looks there.
static std::unique_ptr<QLockFile> LockProgramFolder()
{
    auto lock = std::make_unique<QLockFile>(
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("resource-test.lock")));
    lock->lock();
    return lock;
}

TEST_F(AppStartUp, ResourceFileBesideTheProgramGivesTitleAndTexts)
{
    const auto lock = LockProgramFolder();
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath(QString::fromLatin1(CTelvQ9App::kResourceFileName));
    QFile::remove(beside);
    ASSERT_TRUE(QFile::copy(programDir.filePath(QStringLiteral("resource/TelvQ9Res.rcc")), beside));
    const bool loaded = GetApp()->LoadResourceDll();
    const QString title = QGuiApplication::applicationDisplayName();
    const QString overridden = LoadString(5501);
    const QString kept = LoadString(5502);
    QFile::remove(beside);
    QGuiApplication::setApplicationDisplayName(QString());
    EXPECT_TRUE(loaded);
    EXPECT_EQ(title, QStringLiteral("TELV-Q9 リソース"));
    EXPECT_EQ(overridden, QStringLiteral("コンテンツ (リソース)"));
    EXPECT_EQ(kept, QStringLiteral("プレイリスト編集"));
}

TEST_F(AppStartUp, NoResourceFileKeepsTheProgramsTexts)
{
    const auto lock = LockProgramFolder();
    EXPECT_FALSE(GetApp()->LoadResourceDll());
    EXPECT_EQ(LoadString(57344), QStringLiteral("TELV-Q9"));
}
