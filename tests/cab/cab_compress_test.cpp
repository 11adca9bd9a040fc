// What DLKxCompressCab packs for its entry lists, and how it fails.

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

class CabCompress : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(root() + "/TelvData/Q9Data/Q9S.ini", "[System]");
        WriteFile(root() + "/TelvData/Q9Data/Y5.INI", "[Option]");
        WriteFile(root() + "/TelvData/Q9Data/Player.xml", "<players/>");
        WriteFile(root() + "/TelvData/Q9Data/notes.txt", "not packed by patterns");
        WriteFile(root() + "/TelvData/Q9Data/Group/Q9Group.xml", "<groups/>");
        WriteFile(root() + "/TelvData/Q9Data/LogTemp/R40-01/log.cab", "player log");
        WriteFile(root() + "/TelvData/Q9Data/LogTemp/R40-02/sub/log.cab", "another log");
    }

    QString root() const { return m_dir.filePath("root"); }
    QString cabinet() const { return m_dir.filePath("out.cab"); }

    int compress(const QStringList &entries) { return Compress(root(), entries, cabinet()); }

    int compressFirst(const QStringList &entries, int count)
    {
        DlkxCompressCabParam param;
        param.sourceFolder = root();
        param.files = entries;
        param.count = count;
        param.cabinetPath = cabinet();
        return DLKxCompressCab(param);
    }

    QStringList memberNames()
    {
        QFile file(cabinet());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        CCabReader reader(file);
        EXPECT_EQ(reader.Open(), CAB_OK);
        QStringList names;
        for (const CabMember &member : reader.members())
            names.append(member.name);
        return names;
    }

    QTemporaryDir m_dir;
};

TEST_F(CabCompress, FoldersAndPatternsExpandInEntryOrder)
{
    ASSERT_EQ(compress({"TelvData\\Q9Data\\LogTemp", "TelvData\\Q9Data\\*.ini", "TelvData\\Q9Data\\*.xml",
                        "TelvData\\Q9Data\\Template\\*.xml"}),
              CAB_OK);
    EXPECT_EQ(memberNames(), (QStringList {"TelvData\\Q9Data\\LogTemp\\R40-01\\log.cab",
                                           "TelvData\\Q9Data\\LogTemp\\R40-02\\sub\\log.cab",
                                           "TelvData\\Q9Data\\Q9S.ini", "TelvData\\Q9Data\\Y5.INI",
                                           "TelvData\\Q9Data\\Player.xml"}));
}

TEST_F(CabCompress, CountLimitsTheEntriesAndZeroTakesTheWholeFolder)
{
    ASSERT_EQ(compressFirst({"TelvData/Q9Data/Q9S.ini", "TelvData/Q9Data/Player.xml"}, 1), CAB_OK);
    EXPECT_EQ(memberNames(), QStringList {"TelvData\\Q9Data\\Q9S.ini"});

    ASSERT_EQ(compressFirst({"TelvData/Q9Data/Q9S.ini"}, 0), CAB_OK);
    EXPECT_EQ(memberNames().size(), 7);
}

TEST_F(CabCompress, BadArgumentsAndEntriesAreRefused)
{
    EXPECT_EQ(compress({"TelvData\\Q9Data\\Missing.xml"}), CAB_ERR_SOURCE_MISSING);
    EXPECT_EQ(compress({"TelvData\\..\\..\\etc\\passwd"}), CAB_ERR_UNSAFE_PATH);
    EXPECT_EQ(compress({"/etc/passwd"}), CAB_ERR_UNSAFE_PATH);
    EXPECT_EQ(compress({"C:\\TelvData\\Q9Data\\Q9S.ini"}), CAB_ERR_UNSAFE_PATH);
    EXPECT_EQ(compressFirst({"TelvData\\Q9Data\\Q9S.ini"}, 2), CAB_ERR_PARAMETER);

    DlkxCompressCabParam param;
    param.sourceFolder = root();
    EXPECT_EQ(DLKxCompressCab(param), CAB_ERR_PARAMETER); // no cabinet path
    param.cabinetPath = cabinet();
    param.option2 = 1;
    EXPECT_EQ(DLKxCompressCab(param), CAB_ERR_PARAMETER);
    param.option2 = 0;
    param.sourceFolder = m_dir.filePath("no-such-folder");
    EXPECT_EQ(DLKxCompressCab(param), CAB_ERR_SOURCE_MISSING);
}

TEST_F(CabCompress, NamesOverTheFormatLimitAreRefused)
{
    const QString longName = QString(60, QChar(0x3042)) + "/" + QString(30, QChar(0x3044)); // 271 bytes
    WriteFile(root() + "/" + longName, "x");
    EXPECT_EQ(compress({longName}), CAB_ERR_NAME_TOO_LONG);
}

TEST_F(CabCompress, FailureLeavesTheTargetAsItWas)
{
    WriteFile(cabinet(), "previous cabinet");
    EXPECT_EQ(compress({"TelvData\\Q9Data\\Q9S.ini", "TelvData\\Q9Data\\Missing.xml"}), CAB_ERR_SOURCE_MISSING);
    EXPECT_EQ(ReadFile(cabinet()), "previous cabinet");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList {"out.cab"}); // no temporary left behind

    DlkxCompressCabParam param;
    param.sourceFolder = root();
    param.cabinetPath = m_dir.filePath("missing-folder/out.cab");
    EXPECT_EQ(DLKxCompressCab(param), CAB_ERR_CABINET_WRITE);
}

TEST_F(CabCompress, SourceShorterThanListedFailsTheRead)
{
    const QString path = root() + "/TelvData/Q9Data/Q9S.ini";
    const QList<CabSourceFile> files {{path, "Q9S.ini", QFileInfo(path).size() + 1, QDateTime(), 0}};
    EXPECT_EQ(CCabWriter().Write(files, cabinet()), CAB_ERR_SOURCE_READ);
    EXPECT_FALSE(QFileInfo::exists(cabinet()));
}

} // namespace
