// List files: round trips of every list type, refusal of damaged files, and
// the atomic replacement of the old file.

#include "record_samples.h"

#include "core/last_error.h"
#include "model/contents_list.h"
#include "model/movie_list.h"
#include "model/movie_property.h"
#include "model/playlist_list.h"
#include "model/playlist_property.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &path, const QByteArray &data)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(data), data.size());
}

void fillList(CContentsList &list, int count)
{
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(list.Add(MakeFullRecord(list.GetContentType(), i + 1).get()));
}

QByteArray movieFile(const QByteArray &records)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<contentlist ver=\"1.0\" type=\"1\">" + records
        + "</contentlist>\n";
}

class ListFileTest : public ::testing::Test {
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ListFileTest, EveryListTypeReadsBackEveryField)
{
    for (int type : kListTypes) {
        CContentsList list(type);
        fillList(list, 5);
        const QString file = path("list.xml");
        ASSERT_TRUE(list.Save(file, 0)) << type;

        CContentsList loaded(type);
        ASSERT_TRUE(loaded.Load(file)) << type << " error " << loaded.GetLastError();
        ASSERT_EQ(loaded.GetCount(), 5) << type;
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(FieldDump(*loaded.GetAt(i)), FieldDump(*list.GetAt(i))) << type;
    }
}

TEST_F(ListFileTest, FileIsUtf8WithVersionAndFieldElements)
{
    CMovieList list;
    fillList(list, 1);
    ASSERT_TRUE(list.Save(path("VideoList.xml"), 0));
    const QString text = QString::fromUtf8(readAll(path("VideoList.xml")));
    EXPECT_TRUE(text.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<contentlist ver=\"1.0\" type=\"1\">")));
    EXPECT_TRUE(text.contains(QStringLiteral("<index>001000001</index>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<size>4294967297</size>")));
    EXPECT_TRUE(text.contains(QStringLiteral("<title>タイトル 1 &lt;&amp;")));
}

TEST_F(ListFileTest, MissingFileLoadsAsAnEmptyList)
{
    CMovieList list;
    fillList(list, 2);
    EXPECT_TRUE(list.Load(path("absent.xml")));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(ListFileTest, DamagedFilesFailWith13AndChangeNeitherListNorFile)
{
    const QByteArray goodRecord = "<content><index>001000001</index><title>ok</title></content>";
    QByteArray manyAttributes;
    for (int i = 0; i < 9; ++i)
        manyAttributes += " a" + QByteArray::number(i) + "=\"1\"";
    const QByteArray damaged[] = {
        movieFile(goodRecord).left(60),                                          // truncated
        movieFile(goodRecord).replace("type=\"1\"", "type=\"2\""),              // another list type
        movieFile("<content><index>1000001</index></content>"),                 // index not nine digits
        movieFile("<content><title>" + QByteArray(41, 'x') + "</title></content>"), // title too long
        movieFile("<content><deldate>2023-02-29</deldate></content>"),          // no such day
        movieFile("<content><width>-5</width></content>"),
        movieFile("<content><size>+12</size></content>"),
        movieFile("<content><title><b>x</b></title></content>"),                // nested element
        movieFile(goodRecord) + "<contentlist/>",                                // second root
        "<other/>",
        "",
        movieFile("<content" + manyAttributes + "><index>001000001</index></content>"), // hostile element
    };
    const QString file = path("VideoList.xml");
    for (const QByteArray &bytes : damaged) {
        CMovieList list;
        fillList(list, 2);
        writeAll(file, bytes);
        SetLastError(0);
        EXPECT_FALSE(list.Load(file)) << bytes.constData();
        EXPECT_EQ(list.GetLastError(), 13u) << bytes.constData();
        EXPECT_EQ(GetLastError(), 13u);
        EXPECT_EQ(list.GetCount(), 2);
        EXPECT_EQ(readAll(file), bytes);
    }
}

TEST_F(ListFileTest, UnknownElementsAreSkippedForLaterFormats)
{
    const QString file = path("VideoList.xml");
    writeAll(file, movieFile("<note>x</note><content><index>001000001</index><future>1</future></content>"));
    CMovieList list;
    ASSERT_TRUE(list.Load(file));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetAt(0)->GetIndex(), 1000001);
}

TEST_F(ListFileTest, SaveWithFlagLeavesSampleRecordsToTheSampleList)
{
    CPlaylistList list;
    CPlaylistProperty own;
    own.SetIndex(152000005);
    CPlaylistProperty sample;
    sample.SetIndex(152999001);
    ASSERT_TRUE(list.Add(&own));
    ASSERT_TRUE(list.Add(&sample));

    ASSERT_TRUE(list.Save(path("PlaylistList.xml"), 1));
    ASSERT_TRUE(list.Save(path("SamplePlaylist.xml"), 0));
    CPlaylistList loaded;
    ASSERT_TRUE(loaded.Load(path("PlaylistList.xml")));
    EXPECT_EQ(loaded.GetCount(), 1);

    // Merging the sample list adds only the numbers the list lacks.
    ASSERT_TRUE(loaded.Merge(path("SamplePlaylist.xml")));
    EXPECT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.FindCode(152999001), 1);
    ASSERT_TRUE(loaded.Merge(path("SamplePlaylist.xml")));
    EXPECT_EQ(loaded.GetCount(), 2);
}

TEST_F(ListFileTest, FailedWriteKeepsTheOldFile)
{
    const QString file = path("VideoList.xml");
    writeAll(file, "old");
    CMovieList list;
    fillList(list, 200);

    // A file size limit makes the write fail as a full disk does, also for root.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = list.Save(file, 0);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_NE(list.GetLastError(), 0u);
    EXPECT_EQ(readAll(file), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("VideoList.xml")});
}
