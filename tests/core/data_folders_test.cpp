#include "core/base_folder.h"
#include "core/data_folders.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(BaseFolder, StoredFolderIsCreatedAndDefaultIsUsedWhenNoneIsStored)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings(QStringLiteral("Kavrin"), QStringLiteral("TELV-Q9")).remove(QStringLiteral("BaseFolder"));
    QString folder;
    GetBaseFolder(folder);
    EXPECT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QDir(folder).exists());

    QTemporaryDir dir;
    const QString stored = dir.path() + QStringLiteral("/ベース/sub");
    SaveBaseFolder(stored);
    GetBaseFolder(folder);
    EXPECT_EQ(folder, stored);
    EXPECT_TRUE(QDir(stored).exists());
    QSettings(QStringLiteral("Kavrin"), QStringLiteral("TELV-Q9")).remove(QStringLiteral("BaseFolder"));
}

TEST(DataFolders, TreeIsCreatedUnderTheBaseFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(CreateDataFolderTree(dir.path()));
    EXPECT_EQ(DataFolderOf(dir.path()), dir.path() + "/TelvData/Q9Data");
    for (const QString &sub : DataSubFolders())
        EXPECT_TRUE(QDir(DataFolderOf(dir.path()) + '/' + sub).exists()) << qPrintable(sub);
    EXPECT_TRUE(QDir(dir.path() + "/TelvData/Content").exists());
}

TEST(DataFolders, UnwritableBaseFails)
{
    QTemporaryDir dir;
    QFile blocker(dir.path() + "/TelvData");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where a folder must go
    blocker.close();
    EXPECT_FALSE(CreateDataFolderTree(dir.path()));
}
