#include "core/atomic_file.h"
#include "core/last_error.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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

TEST(AtomicFile, LeftoversOfInterruptedSavesAreRemovedAndNothingElse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Group/G1")));
    // Temporary files named as the writer names them, left by a kill.
    QStringList leftovers;
    for (const QString &target : {QStringLiteral("store.ini"), QStringLiteral("Group/G1/group.xml"),
                                  QStringLiteral("thumb.jpg")}) {
        QTemporaryFile file(QDir(dir.path()).filePath(target) + QStringLiteral(".XXXXXX"));
        ASSERT_TRUE(file.open());
        file.setAutoRemove(false);
        leftovers << file.fileName();
    }
    const QStringList kept{QStringLiteral("store.ini"), QStringLiteral("notes.txt.backup"),
                           QStringLiteral("clip.ini.bak"), QStringLiteral("Group/G1/group.xml.Ab12Cd"),
                           QStringLiteral("movie.mpeg2")};
    for (const QString &name : kept)
        ASSERT_TRUE(WriteFileAtomically(QDir(dir.path()).filePath(name), "data"));

    EXPECT_EQ(RemoveAtomicWriteLeftovers(dir.path()), 3);
    for (const QString &path : leftovers)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    for (const QString &name : kept)
        EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(name))) << name.toStdString();
    EXPECT_EQ(RemoveAtomicWriteLeftovers(QString()), 0);
}
