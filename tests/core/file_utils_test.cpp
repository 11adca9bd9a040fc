#include "core/clock.h"
#include "core/file_utils.h"
#include "core/last_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

void WriteFile(const QString &path, const QByteArray &data = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(data);
}

QStringList EntriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

TEST(FileUtils, WritableFolderIsProbedWithoutLeavingAnythingBehind)
{
    QTemporaryDir dir;
    EXPECT_EQ(CheckFolderWritable(dir.path()), 0u);
    EXPECT_TRUE(EntriesOf(dir.path()).isEmpty());

    EXPECT_EQ(CheckFolderWritable(dir.path() + "/missing"), quint32(ERROR_PATH_NOT_FOUND));
    WriteFile(dir.path() + "/file");
    EXPECT_NE(CheckFolderWritable(dir.path() + "/file"), 0u);
    EXPECT_NE(CheckFolderWritable(QString()), 0u);
    if (::geteuid() != 0) { // permissions do not stop root
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_NE(CheckFolderWritable(dir.path()), 0u);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST(FileUtils, CreateFolderPathCountsCreatedFoldersAndReportsExisting)
{
    QTemporaryDir dir;
    const QString deep = dir.path() + "/a/b/c/";
    EXPECT_EQ(CreateFolderPath(deep), 3);
    EXPECT_TRUE(QDir(deep).exists());
    SetLastError(0);
    EXPECT_EQ(CreateFolderPath(dir.path() + "/a/b/c"), 0);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(CreateFolderPath(dir.path() + "/a//b/d"), 1);

    WriteFile(dir.path() + "/file");
    EXPECT_EQ(CreateFolderPath(dir.path() + "/file"), -1);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(CreateFolderPath(dir.path() + "/file/sub"), -1);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateFolderPath(QString()), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(FileUtils, DeleteFolderTreeRemovesEverythingButNeverFollowsLinks)
{
    QTemporaryDir dir, outside;
    const QString root = dir.path() + "/tree";
    ASSERT_TRUE(QDir().mkpath(root + "/sub/deeper"));
    WriteFile(root + "/a.txt");
    WriteFile(root + "/sub/.hidden");
    WriteFile(root + "/sub/deeper/b.bin");
    WriteFile(outside.path() + "/keep.txt");
    ASSERT_TRUE(QFile::link(outside.path(), root + "/sub/link"));

    EXPECT_TRUE(DeleteFolderTree(root, true));
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_TRUE(QFile::exists(outside.path() + "/keep.txt"));
}

TEST(FileUtils, DeleteFolderTreeFailsOnMissingFoldersAndKeepsSubFoldersWithoutRecursion)
{
    QTemporaryDir dir;
    SetLastError(0);
    EXPECT_FALSE(DeleteFolderTree(dir.path() + "/missing", true));
    EXPECT_TRUE(GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(DeleteFolderTree(dir.path() + "/missing/deeper", true));
    EXPECT_TRUE(GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND);

    WriteFile(dir.path() + "/file");
    EXPECT_FALSE(DeleteFolderTree(dir.path() + "/file", true));
    EXPECT_TRUE(QFile::exists(dir.path() + "/file"));

    const QString root = dir.path() + "/flat";
    ASSERT_TRUE(QDir().mkpath(root + "/sub"));
    WriteFile(root + "/a.txt");
    WriteFile(root + "/sub/b.txt");
    EXPECT_FALSE(DeleteFolderTree(root, false));
    EXPECT_FALSE(QFile::exists(root + "/a.txt"));
    EXPECT_TRUE(QFile::exists(root + "/sub/b.txt"));

    ASSERT_TRUE(QDir().mkpath(dir.path() + "/empty"));
    EXPECT_TRUE(DeleteFolderTree(dir.path() + "/empty", false));
}

TEST(FileUtils, FileWriteTimeIsTheLocalTimeOfTheLastWrite)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/f.txt";
    WriteFile(path);
    const QDateTime written(QDate(2025, 12, 31), QTime(23, 59, 58, 250));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(written, QFileDevice::FileModificationTime));
    file.close();

    FileTime time = 0;
    ASSERT_TRUE(GetFileWriteTime(path, time));
    EXPECT_EQ(time, ToFileTime(written));
    EXPECT_EQ(FromFileTime(time), written);

    time = 7;
    SetLastError(0);
    EXPECT_FALSE(GetFileWriteTime(dir.path() + "/missing.txt", time));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(time, 7u);
}

TEST(FileUtils, ProcessFolders)
{
    QString folder;
    ASSERT_TRUE(GetCurrentFolder(folder));
    EXPECT_EQ(folder, QDir::currentPath());
    GetModuleFolder(folder);
    EXPECT_EQ(folder, QCoreApplication::applicationDirPath());
    EXPECT_FALSE(folder.endsWith('/'));
    ASSERT_TRUE(GetDesktopFolder(folder));
    EXPECT_FALSE(folder.isEmpty());
}
