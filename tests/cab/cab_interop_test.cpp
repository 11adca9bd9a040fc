// The engine against Debian's cabinet tools: cabextract must accept and
// extract what the engine writes, and the engine must extract what gcab writes.

#include "cab/cab_format.h"
#include "cab/cab_sources.h"
#include "cab/cab_writer.h"
#include "cab/dlkx_cab.h"
#include "cab_test_util.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace cabtest;

namespace {

class CabInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteFile(source() + "/empty.txt", {});
        WriteFile(source() + "/random.bin", RandomBytes(200 * 1024, 7));
        WriteFile(source() + "/log.txt", TextBytes(150 * 1024));
        WriteFile(source() + "/日本語/テスト.txt", "日本語の内容\r\n");
        WriteFile(source() + "/Group/Schedule/a.xml", "<schedule/>");
        for (int i = 0; i < 50; ++i)
            WriteFile(source() + QString("/many/file%1.ini").arg(i), TextBytes(i * 997));
    }

    QString source() const { return m_dir.filePath("source"); }
    QString cabinet() const { return m_dir.filePath("out.cab"); }
    QString destination() const { return m_dir.filePath("dest"); }

    int compress(const QStringList &entries = {}) { return Compress(source(), entries, cabinet()); }

    void expectCabextractAcceptsAndExtracts()
    {
        QString output;
        EXPECT_EQ(RunTool("cabextract", {"-t", cabinet()}, m_dir.path(), &output), 0) << output.toStdString();
        ASSERT_TRUE(QDir().mkpath(destination()));
        EXPECT_EQ(RunTool("cabextract", {"-q", "-d", destination(), cabinet()}, m_dir.path(), &output), 0)
            << output.toStdString();
        EXPECT_EQ(FolderContents(destination()), FolderContents(source()));
    }

    QTemporaryDir m_dir;
};

TEST_F(CabInterop, CabextractAcceptsAndExtractsEngineCabinets)
{
    if (!HasTool("cabextract"))
        GTEST_SKIP() << "cabextract is not installed (apt-get install cabextract)";
    ASSERT_EQ(compress(), CAB_OK);
    expectCabextractAcceptsAndExtracts();
}

TEST_F(CabInterop, CabextractAcceptsCabinetsOfSeveralFolders)
{
    if (!HasTool("cabextract"))
        GTEST_SKIP() << "cabextract is not installed (apt-get install cabextract)";
    QList<CabSourceFile> files;
    ASSERT_EQ(CollectCabSources(source(), {}, files), CAB_OK);
    ASSERT_EQ(CCabWriter(100 * 1024, 2).Write(files, cabinet()), CAB_OK);
    expectCabextractAcceptsAndExtracts();
}

TEST_F(CabInterop, CabextractAcceptsACabinetOfOneEmptyFile)
{
    if (!HasTool("cabextract"))
        GTEST_SKIP() << "cabextract is not installed (apt-get install cabextract)";
    ASSERT_EQ(compress({"empty.txt"}), CAB_OK);
    QString output;
    EXPECT_EQ(RunTool("cabextract", {"-t", cabinet()}, m_dir.path(), &output), 0) << output.toStdString();
}

TEST_F(CabInterop, GcabExtractsEngineCabinets)
{
    if (!HasTool("gcab"))
        GTEST_SKIP() << "gcab is not installed (apt-get install gcab)";
    ASSERT_EQ(compress(), CAB_OK);
    ASSERT_TRUE(QDir().mkpath(destination()));
    QString output;
    ASSERT_EQ(RunTool("gcab", {"-x", "-C", destination(), cabinet()}, m_dir.path(), &output), 0)
        << output.toStdString();
    EXPECT_EQ(FolderContents(destination()), FolderContents(source()));
}

// gcab stores the names given on its command line; -z selects MSZIP.
void ExpectEngineExtractsGcabCabinet(const QString &source, const QString &cabinet, const QString &destination,
                                     const QStringList &options)
{
    QStringList names = FolderContents(source).keys();
    QString output;
    ASSERT_EQ(RunTool("gcab", options + QStringList {cabinet} + names, source, &output), 0) << output.toStdString();
    ASSERT_EQ(DLKxDecompressCab({cabinet, destination}), CAB_OK);
    EXPECT_EQ(FolderContents(destination), FolderContents(source));
}

TEST_F(CabInterop, EngineExtractsMsZipCabinetsOfGcab)
{
    if (!HasTool("gcab"))
        GTEST_SKIP() << "gcab is not installed (apt-get install gcab)";
    ExpectEngineExtractsGcabCabinet(source(), cabinet(), destination(), {"-c", "-z"});
}

TEST_F(CabInterop, EngineExtractsStoredCabinetsOfGcab)
{
    if (!HasTool("gcab"))
        GTEST_SKIP() << "gcab is not installed (apt-get install gcab)";
    ExpectEngineExtractsGcabCabinet(source(), cabinet(), destination(), {"-c"});
}

} // namespace
