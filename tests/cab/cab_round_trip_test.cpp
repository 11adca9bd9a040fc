// Cabinets the engine writes and reads back: contents, names, folders, stamps.

#include "cab/cab_format.h"
#include "cab/cab_reader.h"
#include "cab/cab_writer.h"
#include "cab/dlkx_cab.h"
#include "cab_test_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cabtest;

namespace {

class CabRoundTrip : public ::testing::Test {
protected:
    QString source() const { return m_dir.filePath("source"); }
    QString cabinet() const { return m_dir.filePath("out.cab"); }
    QString destination() const { return m_dir.filePath("dest"); }

    int compress(const QStringList &entries = {}) { return Compress(source(), entries, cabinet()); }

    int extract()
    {
        return DLKxDecompressCab({cabinet(), destination()});
    }

    QList<CabMember> storedMembers()
    {
        QFile file(cabinet());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        CCabReader reader(file);
        EXPECT_EQ(reader.Open(), CAB_OK);
        return reader.members();
    }

    QTemporaryDir m_dir;
};

TEST_F(CabRoundTrip, WholeFolderKeepsEveryFileByteForByte)
{
    WriteFile(source() + "/empty.txt", {});
    WriteFile(source() + "/random.bin", RandomBytes(200 * 1024, 1));
    WriteFile(source() + "/log.txt", TextBytes(300 * 1024)); // many blocks
    WriteFile(source() + "/block.bin", RandomBytes(cab::kBlockSize, 2));
    WriteFile(source() + "/block1.bin", RandomBytes(cab::kBlockSize + 1, 3));
    WriteFile(source() + "/日本語フォルダ/テスト素材.txt", "日本語の内容");
    WriteFile(source() + "/a/b/c/deep.xml", "<deep/>");
    for (int i = 0; i < 300; ++i)
        WriteFile(source() + QString("/many/%1.ini").arg(i, 4, 10, QChar('0')), QByteArray::number(i * i));

    ASSERT_EQ(compress(), CAB_OK);
    ASSERT_EQ(extract(), CAB_OK);
    EXPECT_EQ(FolderContents(destination()), FolderContents(source()));
}

TEST_F(CabRoundTrip, EmptySourceGivesCabinetWithoutMembers)
{
    QDir().mkpath(source());
    ASSERT_EQ(compress(), CAB_OK);
    EXPECT_EQ(QFileInfo(cabinet()).size(), cab::kHeaderSize);
    EXPECT_TRUE(storedMembers().isEmpty());
    ASSERT_EQ(extract(), CAB_OK);
    EXPECT_TRUE(FolderContents(destination()).isEmpty());
}

TEST_F(CabRoundTrip, NamesAreStoredWithBackslashesAndUtf8OnlyWhenNeeded)
{
    WriteFile(source() + "/TelvData/Q9Data/Q9S.ini", "[System]\r\n");
    WriteFile(source() + "/TelvData/Q9Data/素材.xml", "<x/>");
    ASSERT_EQ(compress({"TelvData\\Q9Data\\Q9S.ini", "TelvData/Q9Data/素材.xml"}), CAB_OK);

    const QList<CabMember> members = storedMembers();
    ASSERT_EQ(members.size(), 2);
    EXPECT_EQ(members[0].name, "TelvData\\Q9Data\\Q9S.ini");
    EXPECT_FALSE(members[0].attributes & cab::kAttribNameIsUtf8);
    EXPECT_EQ(members[1].name, "TelvData\\Q9Data\\素材.xml");
    EXPECT_TRUE(members[1].attributes & cab::kAttribNameIsUtf8);
    // The stored bytes themselves carry the backslash.
    EXPECT_TRUE(ReadFile(cabinet()).contains("TelvData\\Q9Data\\Q9S.ini"));
}

TEST_F(CabRoundTrip, StampAndReadOnlyAttributeComeBack)
{
    const QString path = source() + "/fixed.txt";
    WriteFile(path, "fixed");
    const QDateTime stamp(QDate(2020, 5, 6), QTime(7, 8, 10));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    ASSERT_EQ(compress(), CAB_OK);
    const QList<CabMember> members = storedMembers();
    ASSERT_EQ(members.size(), 1);
    EXPECT_EQ(members[0].modified, stamp);
    EXPECT_EQ(members[0].attributes, cab::kAttribArchive | cab::kAttribReadOnly);

    ASSERT_EQ(extract(), CAB_OK);
    const QFileInfo extracted(destination() + "/fixed.txt");
    EXPECT_EQ(extracted.lastModified(), stamp);
    EXPECT_FALSE(extracted.permissions() & QFileDevice::WriteOwner);
}

TEST_F(CabRoundTrip, FilesBeyondTheFolderLimitOpenNewFolders)
{
    QList<CabSourceFile> files;
    for (int i = 0; i < 5; ++i) {
        const QString path = source() + QString("/part%1.bin").arg(i);
        WriteFile(path, i % 2 ? RandomBytes(70000, i) : TextBytes(70000 + i));
        files.append({path, QString("part%1.bin").arg(i), QFileInfo(path).size(), QDateTime::currentDateTime(),
                      cab::kAttribArchive});
    }
    ASSERT_EQ(CCabWriter(150000, 3).Write(files, cabinet()), CAB_OK);

    QList<int> folders;
    for (const CabMember &member : storedMembers())
        folders.append(member.folder);
    EXPECT_EQ(folders, (QList<int> {0, 0, 1, 1, 2}));
    ASSERT_EQ(extract(), CAB_OK);
    EXPECT_EQ(FolderContents(destination()), FolderContents(source()));
}

TEST_F(CabRoundTrip, ThreadCountDoesNotChangeTheCabinet)
{
    WriteFile(source() + "/a.txt", TextBytes(700 * 1024));
    WriteFile(source() + "/b.bin", RandomBytes(100 * 1024, 9));
    QList<CabSourceFile> files;
    ASSERT_EQ(CollectCabSources(source(), {}, files), CAB_OK);
    const QString single = m_dir.filePath("single.cab");
    ASSERT_EQ(CCabWriter(cab::kMaxFolderBytes, 1).Write(files, single), CAB_OK);
    ASSERT_EQ(CCabWriter(cab::kMaxFolderBytes, 8).Write(files, cabinet()), CAB_OK);
    EXPECT_EQ(ReadFile(single), ReadFile(cabinet()));
}

TEST_F(CabRoundTrip, NamesWithoutTheUtf8AttributeAreReadAsWindowsJapanese)
{
    WriteFile(source() + "/xxxxxx.txt", "sjis");
    ASSERT_EQ(compress(), CAB_OK);
    QByteArray bytes = ReadFile(cabinet());
    bytes.replace("xxxxxx.txt", "\x83\x65\x83\x58\x83\x67.txt"); // "テスト" in Shift_JIS, same length
    QFile::remove(cabinet());
    WriteFile(cabinet(), bytes);
    ASSERT_EQ(extract(), CAB_OK);
    EXPECT_EQ(ReadFile(destination() + "/テスト.txt"), "sjis");
}

TEST_F(CabRoundTrip, CabinetInsideItsSourceFolderLeavesOutItsEarlierSelf)
{
    WriteFile(source() + "/TelvData/Q9Data/Q9S.ini", "[System]");
    DlkxCompressCabParam param;
    param.sourceFolder = source();
    param.cabinetPath = source() + "/Q9Content.plst";
    ASSERT_EQ(DLKxCompressCab(param), CAB_OK);
    const QByteArray first = ReadFile(param.cabinetPath);
    ASSERT_EQ(DLKxCompressCab(param), CAB_OK);
    EXPECT_EQ(ReadFile(param.cabinetPath).size(), first.size());
    ASSERT_EQ(DLKxDecompressCab({param.cabinetPath, destination()}), CAB_OK);
    EXPECT_EQ(FolderContents(destination()).keys(), QStringList {"TelvData/Q9Data/Q9S.ini"});
}

TEST_F(CabRoundTrip, ExtractionReplacesExistingFiles)
{
    WriteFile(source() + "/same.txt", "new content");
    WriteFile(destination() + "/same.txt", "old content that is longer");
    ASSERT_EQ(compress(), CAB_OK);
    ASSERT_EQ(extract(), CAB_OK);
    EXPECT_EQ(ReadFile(destination() + "/same.txt"), "new content");
}

} // namespace
