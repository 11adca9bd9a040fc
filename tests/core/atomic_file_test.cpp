#include "core/atomic_file.h"
#include "core/data_folders.h"
#include "core/last_error.h"
#include "core/message_box.h"
#include "core/owner_thread.h"
#include "core/staged_files.h"
#include "core/syslog.h"
#include "support/file_contents.h"
#include "support/file_size_limit.h"
#include "support/kill_at_every_step.h"
#include "support/scripted_prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <thread>

namespace {

class AtomicFile : public ::testing::TestWithParam<FileDurability> {};

} // namespace

TEST_P(AtomicFile, ReplacesTheFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    ASSERT_TRUE(WriteFileAtomically(path, "old", GetParam()));
    ASSERT_TRUE(WriteFileAtomically(path, "new contents", GetParam()));
    EXPECT_EQ(ReadAll(path), QByteArray("new contents"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.xml"});
}

TEST_P(AtomicFile, AShortWriteKeepsTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    ASSERT_TRUE(WriteFileAtomically(path, "old", GetParam()));
    {
        FileSizeLimit limit(64);
        EXPECT_FALSE(WriteFileAtomically(path, QByteArray(4096, 'x'), GetParam()));
    }
    EXPECT_EQ(GetLastError(), quint32(ERROR_DISK_FULL));
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.xml"});
}

TEST_P(AtomicFile, AMissingFolderIsReported)
{
    QTemporaryDir dir;
    EXPECT_FALSE(WriteFileAtomically(dir.filePath("none/a.xml"), "x", GetParam()));
    EXPECT_EQ(GetLastError(), quint32(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(WriteFileAtomically(QString(), "x", GetParam()));
    EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_PARAMETER));
}

INSTANTIATE_TEST_SUITE_P(BothDurabilities, AtomicFile,
                         ::testing::Values(FileDurability::Synced, FileDurability::Unsynced));

TEST(AtomicFile, OnlyTheProgramsOwnLeftoversAreRemovedEachLogged)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Group/G1")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Setup/1/File")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Log")));
    ASSERT_TRUE(OpenSyslog(dir.filePath(QStringLiteral("Log")), QStringLiteral("Q9_"), LOG_NOTICE));
    // Temporary files named as the writer names them, left by a kill.
    QStringList leftovers;
    for (const QString &target : {QStringLiteral("store.ini"), QStringLiteral("Group/G1/group.xml"),
                                  QStringLiteral("Setup/1/File/logo.jpg")}) {
        QFile file(TemporaryPathFor(QDir(dir.path()).filePath(target)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        leftovers << file.fileName();
    }
    // The operator's own files, whatever they look like.
    const QStringList kept{QStringLiteral("store.ini"), QStringLiteral("notes.txt.backup"),
                           QStringLiteral("operator-notes.telvq9-tmp"), QStringLiteral("logo.jpg.ZZZZZZZZ.telvq9-tmp"),
                           QStringLiteral("a.ini.1234567.telvq9-tmp"), QStringLiteral(".0123abcd.telvq9-tmp"),
                           QStringLiteral("Setup/1/File/logo.jpg.backup"), QStringLiteral("clip.ini.bak"),
                           QStringLiteral("Group/G1/group.xml.Ab12Cd"), QStringLiteral("movie.mpeg2"),
                           QStringLiteral("a.xml.part"), QStringLiteral("b.jpg.tmp")};
    for (const QString &name : kept)
        ASSERT_TRUE(WriteFileAtomically(QDir(dir.path()).filePath(name), "data"));

    EXPECT_EQ(RemoveAtomicWriteLeftovers(dir.path()), 3);
    CloseSyslog();
    for (const QString &path : leftovers)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    for (const QString &name : kept)
        EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(name))) << name.toStdString();
    QString log;
    for (const QFileInfo &info : QDir(dir.filePath(QStringLiteral("Log"))).entryInfoList(QDir::Files))
        log += QString::fromUtf8(ReadAll(info.filePath()));
    for (const QString &path : leftovers)
        EXPECT_TRUE(log.contains(QStringLiteral("Leftover temporary file removed : ") + path)) << log.toStdString();
    EXPECT_EQ(RemoveAtomicWriteLeftovers(QString()), 0);
}

TEST(AtomicFile, AFileHasNoNameUntilCommittedAndTakesItsModeBeforeItsFirstByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("secret.ini"));
    const auto modeOf = [](const QString &file) {
        struct stat info {};
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_mode & 07777 : ~0u;
    };
    // A kill while the file is written leaves nothing: it has no name yet.
    {
        CAtomicFile file(path, FileAccess::OwnerOnly);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        struct stat info {};
        ASSERT_EQ(::fstat(file.handle(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0600u);
        file.write("dropped");
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    // A private file stays private, and narrows one that others could read.
    ASSERT_TRUE(WriteFileAtomically(path, "shared"));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    CAtomicFile file(path, FileAccess::OwnerOnly);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kept");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"secret.ini"});
    ASSERT_TRUE(file.Commit(FileDurability::Unsynced));
    EXPECT_EQ(ReadAll(path), QByteArray("kept"));
    EXPECT_EQ(modeOf(path), 0600u);
    // Other files keep the mode of the file they replace.
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "again"));
    EXPECT_EQ(modeOf(path), 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"secret.ini"});
}

TEST(AtomicFile, PasswordFilesReadableByOthersAreNarrowed)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Setup/1")));
    const QStringList names{QStringLiteral("Player.xml"), QStringLiteral("kdp-r40_setup.xml"),
                            QStringLiteral("property*.xml")};
    const QStringList narrowedFiles{QStringLiteral("Player.xml"), QStringLiteral("Setup/1/kdp-r40_setup.xml"),
                                    QStringLiteral("Player.xml.damaged"), QStringLiteral("Setup/property12.xml")};
    for (const QString &name : narrowedFiles + QStringList{QStringLiteral("Group.xml"), QStringLiteral("Setup/properties.xml")}) {
        ASSERT_TRUE(WriteFileAtomically(dir.filePath(name), "x"));
        ASSERT_TRUE(QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    }
    ASSERT_TRUE(QFile::link(dir.filePath("Group.xml"), dir.filePath("Setup/kdp-r40_setup.xml")));
    // Damaged copies of the named files hold the same passwords.
    EXPECT_EQ(NarrowFilesToOwner(dir.path(), names), narrowedFiles.size());
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    for (const QString &name : narrowedFiles)
        EXPECT_EQ(QFile::permissions(dir.filePath(name)), owner) << name.toStdString();
    // Other files, and files reached through links, are left alone.
    EXPECT_TRUE(QFile::permissions(dir.filePath("Group.xml")).testFlag(QFile::ReadOther));
    EXPECT_TRUE(QFile::permissions(dir.filePath("Setup/properties.xml")).testFlag(QFile::ReadOther));
    EXPECT_EQ(NarrowFilesToOwner(dir.path(), names), 0);
}

// Files written while a staged set is open change together when it commits,
// and not at all when a write fails, a file cannot be put in place or the set
// goes uncommitted; nothing is written back, and no temporary stays.
TEST(AtomicFile, StagedFilesChangeTogetherOrNotAtAll)
{
    QTemporaryDir dir;
    SetStagedFilesDataTree(dir.path());
    const QString a = dir.filePath(QStringLiteral("a.xml"));
    const QString b = dir.filePath(QStringLiteral("b.xml"));
    const QString gone = dir.filePath(QStringLiteral("gone.xml"));
    const QString added = dir.filePath(QStringLiteral("added.xml"));
    for (const QString &path : {a, b, gone})
        ASSERT_TRUE(WriteFileAtomically(path, QByteArray(8192, 'o')));
    const QMap<QString, QByteArray> before = FilesUnder(dir.path());
    // The stored files, without the temporaries a set holds while open.
    const auto stored = [&dir] {
        QMap<QString, QByteArray> files = FilesUnder(dir.path());
        files.removeIf([](const auto &file) { return IsTemporaryName(QFileInfo(file.key()).fileName()); });
        return files;
    };
    const auto change = [&](const QByteArray &bData) {
        return WriteFileAtomically(a, "new a") && WriteFileAtomically(added, "added")
            && RemoveStoredFiles({gone}) && WriteFileAtomically(b, bData);
    };
    {
        // The disk fills up at the last file: the first ones stay unseen.
        CStagedFiles staged;
        FileSizeLimit fullDisk(4096);
        EXPECT_FALSE(change(QByteArray(8192, 'n')));
        EXPECT_EQ(stored(), before);
    }
    EXPECT_EQ(FilesUnder(dir.path()), before);
    {
        // A folder where the last file goes: no file is put in place.
        CStagedFiles staged;
        ASSERT_TRUE(change("new b"));
        ASSERT_TRUE(QFile::remove(b));
        ASSERT_TRUE(QDir().mkpath(b + QStringLiteral("/held")));
        EXPECT_FALSE(staged.Commit());
        ASSERT_TRUE(QDir(b).removeRecursively());
        ASSERT_TRUE(WriteFileAtomically(b, before[b]));
        EXPECT_EQ(FilesUnder(dir.path()), before);
    }
    {
        CStagedFiles staged;
        ASSERT_TRUE(change("new b"));
        EXPECT_EQ(stored(), before);
        ASSERT_TRUE(staged.Commit());
    }
    EXPECT_EQ(FilesUnder(dir.path()), (QMap<QString, QByteArray>{{a, "new a"}, {added, "added"}, {b, "new b"}}));
    // A file the start could not put back, outside the data tree, through a
    // link or in a folder the set renames, and the set changes nothing.
    QTemporaryDir elsewhere;
    ASSERT_TRUE(QFile::link(elsewhere.path(), dir.filePath(QStringLiteral("linked"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QMap<QString, QByteArray> changed = FilesUnder(dir.path());
    for (const QString &refused : {elsewhere.filePath(QStringLiteral("x.xml")), dir.filePath(QStringLiteral("linked/x.xml")),
                                   dir.filePath(QStringLiteral("folder/x.xml"))}) {
        CStagedFiles staged;
        staged.HoldFolderMove(dir.filePath(QStringLiteral("folder")), dir.filePath(QStringLiteral("moved")));
        ASSERT_TRUE(WriteFileAtomically(a, "refused a") && WriteFileAtomically(refused, "refused"));
        EXPECT_FALSE(staged.Commit()) << refused.toStdString();
        EXPECT_EQ(FilesUnder(dir.path()), changed);
        EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
        EXPECT_TRUE(FilesUnder(elsewhere.path()).isEmpty());
    }
    // Closed, the set holds nothing more: writes go straight to their files.
    ASSERT_TRUE(WriteFileAtomically(a, "direct"));
    EXPECT_EQ(ReadAll(a), QByteArray("direct"));
}

// A file taken in place of a written one is moved beside its target, not
// copied: the commit puts that very file in place with the replaced file's
// mode, and a set dropped before it takes the file away with it, the stored
// file as it was.
TEST(AtomicFile, AnAdoptedFileIsMovedInWholeOrGoesWithItsSet)
{
    QTemporaryDir dir;
    SetStagedFilesDataTree(dir.path());
    const QString target = dir.filePath(QStringLiteral("a.mp4"));
    const QString unpacked = dir.filePath(QStringLiteral("unpacked.mp4"));
    ASSERT_TRUE(WriteFileAtomically(target, "old"));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner));
    for (const bool commit : {false, true}) {
        ASSERT_TRUE(WriteFileAtomically(unpacked, "new"));
        struct stat moved {};
        ASSERT_EQ(::stat(QFile::encodeName(unpacked).constData(), &moved), 0);
        {
            CStagedFiles staged;
            auto file = std::make_unique<CAtomicFile>(target);
            ASSERT_TRUE(file->Adopt(unpacked, FileDurability::Unsynced));
            EXPECT_FALSE(QFile::exists(unpacked));
            ASSERT_TRUE(staged.Hold(std::move(file)));
            EXPECT_EQ(ReadAll(target), QByteArray("old"));
            if (commit) {
                ASSERT_TRUE(staged.Commit());
            }
        }
        EXPECT_EQ(FilesUnder(dir.path()), (QMap<QString, QByteArray>{{target, commit ? "new" : "old"}}));
        struct stat placed {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &placed), 0);
        EXPECT_EQ(placed.st_ino == moved.st_ino, commit);
        EXPECT_EQ(placed.st_mode & 0777, 0600u);
    }
}

// A set opened inside another joins it: its files wait for the outer commit,
// and one closed without a commit fails the whole change; the outer set
// still holds what is written after the inner one closed. No prompt is shown
// while a set is open.
TEST(AtomicFile, InnerSetsJoinTheOuterAndPromptsWaitForTheCommit)
{
    QTemporaryDir dir;
    SetStagedFilesDataTree(dir.path());
    const QString a = dir.filePath(QStringLiteral("a.xml"));
    const QString b = dir.filePath(QStringLiteral("b.xml"));
    ASSERT_TRUE(WriteFileAtomically(a, "old a"));
    {
        CStagedFiles outer;
        {
            CStagedFiles inner;
            ASSERT_TRUE(WriteFileAtomically(a, "new a"));
            EXPECT_TRUE(inner.Commit());
        }
        EXPECT_EQ(CStagedFiles::Open(), &outer);
        ASSERT_TRUE(WriteFileAtomically(b, "new b"));
        EXPECT_EQ(ReadAll(a), QByteArray("old a"));
        EXPECT_FALSE(QFile::exists(b));
        static QStringList refused;
        refused.clear();
        SetRefusedPromptObserver([](const QString &what) { refused.append(what); });
        EXPECT_EQ(MessageBoxWithCaptionId(nullptr, QStringLiteral("asked"), kTitleCaption, MB_YESNO), IDNO);
        FailOnPromptsInsideStagedSets();
        EXPECT_EQ(refused, QStringList{QStringLiteral("asked")});
        ASSERT_TRUE(outer.Commit());
    }
    EXPECT_EQ(ReadAll(a), QByteArray("new a"));
    EXPECT_EQ(ReadAll(b), QByteArray("new b"));
    {
        CStagedFiles outer;
        ASSERT_TRUE(WriteFileAtomically(a, "dropped a"));
        {
            CStagedFiles inner;
            ASSERT_TRUE(WriteFileAtomically(b, "dropped b"));
        }
        EXPECT_FALSE(outer.Commit());
    }
    EXPECT_EQ(FilesUnder(dir.path()), (QMap<QString, QByteArray>{{a, "new a"}, {b, "new b"}}));
    EXPECT_EQ(CStagedFiles::Open(), nullptr);

    // A worker's step run on the window's thread writes into the worker's
    // set: nothing lands before the worker commits, nothing when it does not.
    for (const bool commit : {false, true}) {
        std::atomic<bool> done{false};
        std::thread worker([&] {
            CStagedFiles staged;
            RunOnOwnerThread([&] { WriteFileAtomically(a, "handed a"); });
            EXPECT_EQ(ReadAll(a), QByteArray("new a"));
            if (commit)
                EXPECT_TRUE(staged.Commit());
            done = true;
        });
        while (!done)
            RunOwnerSteps(std::chrono::milliseconds(10));
        worker.join();
        EXPECT_EQ(CStagedFiles::Open(), nullptr);
        EXPECT_EQ(ReadAll(a), QByteArray(commit ? "handed a" : "new a"));
    }
}

// A kill at any step of a set, and the start after it (journals undone,
// then leftovers removed), leaves the set entirely old or entirely new: its
// files and the folder it renames.
TEST(AtomicFile, AStagedSetKilledAtAnyStepIsWholeAfterTheStart)
{
    QTemporaryDir base;
    const QDir dir(DataTreeOf(base.path()));
    SetStagedFilesDataTree(dir.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("Group/old name")));
    const QStringList kept{dir.filePath(QStringLiteral("list.xml")), dir.filePath(QStringLiteral("Group/one.xml")),
                           dir.filePath(QStringLiteral("Group/gone.xml")), dir.filePath(QStringLiteral("two.xml")),
                           dir.filePath(QStringLiteral("Group/old name/schedule.xml"))};
    for (const QString &path : kept)
        ASSERT_TRUE(WriteFileAtomically(path, "old " + path.toUtf8()));
    const QMap<QString, QByteArray> before = FilesUnder(dir.path());
    const QString added = dir.filePath(QStringLiteral("Group/added.xml"));
    const QString renamed = dir.filePath(QStringLiteral("Group/new name"));
    const auto change = [&] {
        CStagedFiles staged;
        staged.HoldFolderMove(dir.filePath(QStringLiteral("Group/old name")), renamed);
        return WriteFileAtomically(kept[0], "new list") && WriteFileAtomically(added, "added")
            && WriteFileAtomically(kept[1], "new one") && RemoveStoredFiles({kept[2]})
            && WriteFileAtomically(kept[3], "new two") && staged.Commit();
    };
    const QMap<QString, QByteArray> after{{kept[0], "new list"},
                                          {kept[1], "new one"},
                                          {added, "added"},
                                          {kept[3], "new two"},
                                          {renamed + QStringLiteral("/schedule.xml"), before.value(kept[4])}};
    const KillOutcomes outcomes = ExpectOldOrNewAfterEveryKill(
        dir.path(), change, [&base] { EXPECT_TRUE(RecoverDataTree(base.path()).isEmpty()); });
    EXPECT_EQ(FilesUnder(dir.path()), after);
    // Killed before its journal went, the set is old; after, new.
    EXPECT_GE(outcomes.old, 10);
    EXPECT_GE(outcomes.whole, 4);
}

namespace {

QString g_blockedFolder;
int g_stepsToBlock = 0;

// At its step, puts a folder with a file where b.xml goes and takes a.xml's
// second name away: the commit fails and cannot undo itself.
void BlockTheCommit()
{
    if (g_stepsToBlock-- != 0)
        return;
    const QDir dir(g_blockedFolder);
    QFile::remove(dir.filePath(QStringLiteral("b.xml")));
    dir.mkpath(QStringLiteral("b.xml/held"));
    for (const QString &name : dir.entryList({QStringLiteral("a.xml.*.telvq9-tmp")}, QDir::Files))
        QFile::remove(dir.filePath(name));
}

} // namespace

// A commit that cannot undo itself leaves its journal for the next start;
// until then no set changes anything, for the start would put back the files
// a later set changed. (In a child: the state lasts as long as the process.)
TEST(AtomicFile, AChangeThatCannotUndoItselfStopsLaterSetsUntilTheStart)
{
    QTemporaryDir dir;
    g_blockedFolder = dir.path();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetStagedFilesDataTree(dir.path());
        const QString a = dir.filePath(QStringLiteral("a.xml"));
        const QString b = dir.filePath(QStringLiteral("b.xml"));
        const QString c = dir.filePath(QStringLiteral("c.xml"));
        bool failed = WriteFileAtomically(a, "old a") && WriteFileAtomically(b, "old b");
        {
            CStagedFiles staged;
            g_stepsToBlock = 6; // two holds, two second names, the journal, a
            CStagedFiles::SetCommitStepHook(BlockTheCommit);
            failed = failed && WriteFileAtomically(a, "new a") && WriteFileAtomically(b, "new b") && !staged.Commit();
            CStagedFiles::SetCommitStepHook(nullptr);
        }
        CStagedFiles later;
        const bool refused = WriteFileAtomically(c, "c") && !later.Commit() && !QFile::exists(c);
        _exit(failed && refused && QDir(dir.filePath(QStringLiteral("Journal"))).count() == 3 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
