#include "core/atomic_file.h"
#include "core/last_error.h"
#include "core/syslog.h"
#include "support/file_contents.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

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

TEST(AtomicFile, AnUncommittedFileLeavesNothingAndACommitKeepsTheTargetsMode)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("secret.ini"));
    KeepFilePrivate(path);
    {
        CAtomicFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_TRUE(IsTemporaryName(QFileInfo(file.fileName()).fileName()));
        file.write("dropped");
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"secret.ini"});
    CAtomicFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("kept");
    ASSERT_TRUE(file.Commit(FileDurability::Unsynced));
    EXPECT_EQ(ReadAll(path), QByteArray("kept"));
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"secret.ini"});
}
