// Damaged and hostile cabinets: every one is refused with an error, nothing is
// written outside the destination and no declared size is exceeded.

#include "cab/cab_format.h"
#include "cab/cab_writer.h"
#include "cab/dlkx_cab.h"
#include "cab_test_util.h"
#include "core/disk_space.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cabtest;

namespace {

// Offsets inside the cabinets these tests build (no reserved areas).
constexpr int kFirstFolder = cab::kHeaderSize;

class CabHostile : public ::testing::Test {
protected:
    void SetUp() override { QDir().mkpath(m_dir.filePath("work")); }

    QString cabinet() const { return m_dir.filePath("work/in.cab"); }
    QString destination() const { return m_dir.filePath("work/dest"); }

    // A cabinet whose members carry the given names (stored as given) and contents.
    QByteArray build(const QList<QPair<QString, QByteArray>> &members)
    {
        QList<CabSourceFile> files;
        int i = 0;
        for (const auto &[name, content] : members) {
            const QString path = m_dir.filePath(QString("content/%1").arg(i++));
            WriteFile(path, content);
            files.append({path, name, content.size(), QDateTime::currentDateTime(), cab::kAttribArchive});
        }
        EXPECT_EQ(CCabWriter().Write(files, cabinet()), CAB_OK);
        return ReadFile(cabinet());
    }

    int extract(const QByteArray &bytes)
    {
        QFile::remove(cabinet());
        WriteFile(cabinet(), bytes);
        return DLKxDecompressCab({cabinet(), destination()});
    }

    // The work folder holds nothing but the cabinet and the destination.
    void expectNothingOutsideDestination()
    {
        QStringList entries
            = QDir(m_dir.filePath("work")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        entries.removeAll("dest");
        EXPECT_EQ(entries, QStringList {"in.cab"});
        EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("evil.txt")));
    }

    static quint32 filesOffset(const QByteArray &cab) { return cab::ReadLe32(cab.constData() + cab::kHeaderFilesOffset); }
    static quint32 firstBlock(const QByteArray &cab) { return cab::ReadLe32(cab.constData() + kFirstFolder); }

    QTemporaryDir m_dir;
};

TEST_F(CabHostile, UnsafeMemberNamesRefuseTheWholeCabinet)
{
    // The absolute name points into this test's own folder, where no other
    // run can have put a file of that name.
    const QStringList names {"..\\evil.txt", "../evil.txt", "sub\\..\\..\\evil.txt", "\\evil.txt",
                             m_dir.filePath("evil.txt"), "C:evil.txt", "C:\\evil.txt", "\\\\server\\share\\evil.txt",
                             "sub\\\\evil.txt", ".\\evil.txt", "dir\\"};
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = build({{"safe.txt", "safe"}, {name, "evil"}});
        EXPECT_EQ(extract(bytes), CAB_ERR_UNSAFE_MEMBER);
        // Refused before anything is written, even the safe member.
        EXPECT_FALSE(QFileInfo::exists(destination()));
        expectNothingOutsideDestination();
    }
}

TEST_F(CabHostile, LinksInTheDestinationAreNotFollowed)
{
    const QString outside = m_dir.filePath("outside");
    QDir().mkpath(outside);
    WriteFile(outside + "/target.txt", "untouched");
    QDir().mkpath(destination());
    ASSERT_TRUE(QFile::link(outside, destination() + "/linkdir"));
    ASSERT_TRUE(QFile::link(outside + "/target.txt", destination() + "/linkfile"));

    EXPECT_EQ(extract(build({{"linkdir\\new.txt", "evil"}})), CAB_ERR_UNSAFE_MEMBER);
    EXPECT_EQ(extract(build({{"linkfile", "evil"}})), CAB_ERR_UNSAFE_MEMBER);
    EXPECT_EQ(QDir(outside).entryList(QDir::Files), QStringList {"target.txt"});
    EXPECT_EQ(ReadFile(outside + "/target.txt"), "untouched");
}

TEST_F(CabHostile, MemberLargerThanItsFolderIsRefusedBeforeWriting)
{
    QByteArray bytes = build({{"a.txt", TextBytes(1000)}});
    cab::WriteLe32(bytes.data() + filesOffset(bytes), 40000); // cbFile beyond the one block
    EXPECT_EQ(extract(bytes), CAB_ERR_CORRUPT);
    EXPECT_FALSE(QFileInfo::exists(destination()));
}

TEST_F(CabHostile, BlockThatInflatesBeyondItsDeclaredSizeIsRefused)
{
    const QByteArray original = build({{"a.txt", TextBytes(20000)}});
    for (int declared : {19999, 20001, 100}) {
        SCOPED_TRACE(declared);
        QByteArray bytes = original;
        char *block = bytes.data() + firstBlock(bytes);
        cab::WriteLe32(block, 0);         // no checksum, so the size lie reaches the decoder
        cab::WriteLe16(block + 6, quint16(declared));
        cab::WriteLe32(bytes.data() + filesOffset(bytes), quint32(std::min(declared, 20000)));
        EXPECT_EQ(extract(bytes), CAB_ERR_DATA);
        EXPECT_FALSE(QFileInfo::exists(destination() + "/a.txt"));
    }
}

TEST_F(CabHostile, DamagedDataFailsItsChecksum)
{
    QByteArray bytes = build({{"a.txt", TextBytes(5000)}});
    bytes[firstBlock(bytes) + cab::kDataHeaderSize + 10] ^= 0x55;
    EXPECT_EQ(extract(bytes), CAB_ERR_DATA);
    // Neither the file nor its partly written temporary stays behind.
    EXPECT_EQ(QDir(destination()).entryList(QDir::Files | QDir::Hidden), QStringList {});
}

TEST_F(CabHostile, CountsAndSizesBeyondTheCabinetAreRefused)
{
    const QByteArray original = build({{"a.txt", RandomBytes(70000, 5)}});

    QByteArray moreBlocks = original;
    cab::WriteLe16(moreBlocks.data() + kFirstFolder + 4, 4); // cCFData: three blocks exist
    EXPECT_EQ(extract(moreBlocks), CAB_ERR_CORRUPT);

    QByteArray longer = original;
    cab::WriteLe32(longer.data() + cab::kHeaderCabinetSize, quint32(original.size() + 1));
    EXPECT_EQ(extract(longer), CAB_ERR_TRUNCATED);

    QByteArray moreFiles = original;
    cab::WriteLe16(moreFiles.data() + cab::kHeaderFileCount, 2);
    EXPECT_EQ(extract(moreFiles), CAB_ERR_CORRUPT);

    QByteArray badFolder = original;
    cab::WriteLe16(badFolder.data() + filesOffset(badFolder) + 8, 1); // iFolder 1 of 1 folder
    EXPECT_EQ(extract(badFolder), CAB_ERR_CORRUPT);
    EXPECT_FALSE(QFileInfo::exists(destination()));
}

TEST_F(CabHostile, EveryTruncationIsRefused)
{
    const QByteArray original = build({{"a.txt", TextBytes(40000)}, {"b.txt", "b"}});
    for (qsizetype length = 0; length < original.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_NE(extract(original.left(length)), CAB_OK);
        // The same cut with the header's size made to agree.
        QByteArray cut = original.left(length);
        if (length >= cab::kHeaderSize) {
            cab::WriteLe32(cut.data() + cab::kHeaderCabinetSize, quint32(length));
            EXPECT_NE(extract(cut), CAB_OK);
        }
    }
    QDir(destination()).removeRecursively();
    EXPECT_EQ(extract(original), CAB_OK);
}

TEST_F(CabHostile, OverlappingMembersAreRefused)
{
    QByteArray bytes = build({{"a.txt", TextBytes(3000)}, {"b.txt", TextBytes(3000)}});
    const qsizetype second = filesOffset(bytes) + cab::kFileEntrySize + qsizetype(sizeof "a.txt");
    cab::WriteLe32(bytes.data() + second + 4, 1000); // b starts inside a
    EXPECT_EQ(extract(bytes), CAB_ERR_CORRUPT);
}

TEST_F(CabHostile, AMemberNamedTwiceRefusesTheWholeCabinet)
{
    for (const char *again : {"Video\\a.mpg", "Video/a.mpg", "VIDEO\\A.MPG"}) {
        SCOPED_TRACE(again);
        QDir(destination()).removeRecursively();
        EXPECT_EQ(extract(build({{"Video\\a.mpg", TextBytes(3000)}, {again, "short"}})), CAB_ERR_CORRUPT);
        EXPECT_FALSE(QFileInfo::exists(destination()));
    }
    EXPECT_EQ(extract(build({{"Video\\a.mpg", "a"}, {"Video\\b.mpg", "b"}})), CAB_OK);
}

TEST_F(CabHostile, ForeignAndUnsupportedInputIsNamed)
{
    EXPECT_EQ(DLKxDecompressCab({m_dir.filePath("missing.cab"), destination()}), CAB_ERR_CABINET_OPEN);
    EXPECT_EQ(extract({}), CAB_ERR_NOT_CABINET);
    EXPECT_EQ(extract(RandomBytes(5000, 3)), CAB_ERR_NOT_CABINET);

    const QByteArray original = build({{"a.txt", "a"}});
    QByteArray lzx = original;
    cab::WriteLe16(lzx.data() + kFirstFolder + 6, 0x1503); // LZX, 21-bit window
    EXPECT_EQ(extract(lzx), CAB_ERR_UNSUPPORTED);
    QByteArray spanned = original;
    cab::WriteLe16(spanned.data() + cab::kHeaderFlags, cab::kFlagNextCabinet);
    EXPECT_EQ(extract(spanned), CAB_ERR_UNSUPPORTED);
    QByteArray version = original;
    version[cab::kHeaderVersionMajor] = 2;
    EXPECT_EQ(extract(version), CAB_ERR_NOT_CABINET);
}

TEST_F(CabHostile, RandomDamageNeverEscapesOrCrashes)
{
    const QByteArray original
        = build({{"a.txt", TextBytes(50000)}, {"sub\\b.bin", RandomBytes(3000, 8)}, {"c.txt", {}}});
    QRandomGenerator generator(42);
    for (int round = 0; round < 400; ++round) {
        QByteArray bytes = original;
        const int changes = 1 + generator.bounded(4);
        for (int i = 0; i < changes; ++i)
            bytes[generator.bounded(int(bytes.size()))] = char(generator.bounded(256));
        extract(bytes);
        expectNothingOutsideDestination();
        QDir(destination()).removeRecursively();
    }
}

// A disk with a fixed number of free bytes.
class FixedDiskSpace : public IDiskSpace {
public:
    explicit FixedDiskSpace(qint64 bytes) : m_bytes(bytes) { SetDiskSpace(this); }
    ~FixedDiskSpace() override { SetDiskSpace(nullptr); }
    qint64 availableBytes(const QString &) const override { return m_bytes; }

private:
    qint64 m_bytes;
};

TEST_F(CabHostile, MembersThatDoNotFitTheFreeSpaceAreRefusedBeforeAnythingIsWritten)
{
    // 300,000 bytes of members in a cabinet of a few kilobytes.
    const QByteArray bytes = build({{"a.txt", QByteArray(200000, 'a')}, {"sub\\b.txt", QByteArray(100000, 'b')}});
    ASSERT_LT(bytes.size(), 10000);
    {
        FixedDiskSpace nearlyFull(299999);
        EXPECT_EQ(extract(bytes), CAB_ERR_DISK_FULL);
        EXPECT_FALSE(QFileInfo::exists(destination()));
        expectNothingOutsideDestination();
    }
    {
        FixedDiskSpace justEnough(300000);
        EXPECT_EQ(extract(bytes), CAB_OK);
        EXPECT_EQ(QFileInfo(destination() + "/sub/b.txt").size(), 100000);
    }
    // The system's own answer for a folder that does not exist yet.
    EXPECT_GT(DiskSpace().availableBytes(m_dir.filePath("work/not/yet")), 0);
}

} // namespace
