// Send information: deletion dates that only move later, members of lists
// that lose a date before the keep limit, a sample playlist sent as a copy
// that leaves the sample files alone, and a failure midway that changes
// nothing.
#include "ops/send_info.h"

#include "core/clock.h"
#include "core/path_utils.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/movie_property.h"
#include "model/playlist_file.h"
#include "model/playlist_property.h"
#include "model/sequence_file.h"
#include "support/scripted_prompter.h"
#include "support/timetable_samples.h"
#include "transfer/dlk_request_send.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const SystemTime kNow{2026, 6, 0, 1, 12, 0, 0, 0};
constexpr qint32 kMovie = 101000001;
constexpr qint32 kSamplePlaylist = 152999001;
constexpr qint32 kSampleSequence = 101999001;

class SendInfoFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_store.SetFolders(m_root.filePath(QStringLiteral("base")), m_root.filePath(QStringLiteral("program")));
        ASSERT_TRUE(m_store.CreateFolders());
        for (const QString &folder : {m_store.m_secondSequenceFolder, m_store.m_sequenceFolder})
            QDir().mkpath(folder);
        ASSERT_TRUE(m_request.SetPlaylistFolders(m_store.m_playlistFolder, m_store.m_sequenceFolder));
    }

    // A movie of the library with its file, as registered.
    void addMovie(qint32 index, const DateValue &deleteDate)
    {
        const QString name = QStringLiteral("m%1.mpg").arg(index);
        QFile file(JoinPath(m_store.GetContentFolder(1), name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("movie");
        file.close();
        CMovieProperty record;
        record.SetIndex(index);
        record.SetLink(name);
        record.SetDeleteDate(deleteDate);
        record.SetFileDate(ToSystemTime(QFileInfo(file).lastModified().toLocalTime()));
        ASSERT_TRUE(m_store.GetList(1)->Add(&record));
    }

    // A sample playlist beside the program: one sequence playing the movie.
    void writeSamplePlaylist()
    {
        ASSERT_TRUE(SaveOneItemFile<CSequenceFile>(m_store.m_secondSequenceFolder, kSampleSequence, kMovie, 1, 0));
        ASSERT_TRUE(SaveOneItemFile<CPlaylistFile>(m_store.m_secondPlaylistFolder, kSamplePlaylist, kSampleSequence, 54, 1));
    }

    const CPropertyBase *movie(qint32 index)
    {
        CContentsList *list = m_store.GetList(1);
        return list->GetAt(list->FindCode(index));
    }

    QTemporaryDir m_root;
    CContentsStore m_store;
    CDlkRequestSend m_request;
    ScriptedPrompter m_prompter;
};

} // namespace

TEST_F(SendInfoFixture, DirectSendsOnlyMoveTheDateLater)
{
    addMovie(kMovie, DateValue{2026, 7, 1});
    addMovie(kMovie + 1, DateValue{2027, 1, 1});
    CSendInfoBuilder builder(m_store, m_request, kNow, 30, m_root.filePath(QStringLiteral("base")), nullptr);
    const DateValue keep = builder.GetKeepLimit();
    EXPECT_EQ(keep, (DateValue{2026, 7, 1}));
    const DateValue later{2026, 9, 1};
    CContentsList *list = m_store.GetList(1);
    for (qint32 index : {kMovie, kMovie + 1}) {
        CMovieProperty record;
        ASSERT_TRUE(list->Get(list->FindCode(index), &record));
        ASSERT_TRUE(builder.AddR40SendInfo(list, list->FindCode(index), record, &later, false));
    }
    // Nothing changes in the lists before the commit.
    EXPECT_EQ(movie(kMovie)->GetDeleteDate(), (DateValue{2026, 7, 1}));
    ASSERT_TRUE(builder.Commit());
    EXPECT_EQ(movie(kMovie)->GetDeleteDate(), later);
    EXPECT_EQ(movie(kMovie)->GetCreateDate(), kNow);
    EXPECT_EQ(movie(kMovie + 1)->GetDeleteDate(), (DateValue{2027, 1, 1}));
    EXPECT_EQ(m_request.GetCount(), 2);
}

TEST_F(SendInfoFixture, SamplePlaylistIsSentAsACopyAndItsMemberLosesAnEarlyDate)
{
    addMovie(kMovie, DateValue{2026, 6, 10});
    writeSamplePlaylist();
    const QByteArray sampleBefore = [&] {
        QFile file(m_store.m_secondPlaylistFolder + QStringLiteral("/PL152999001.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    ASSERT_FALSE(sampleBefore.isEmpty());

    CSendInfoBuilder builder(m_store, m_request, kNow, 30, m_root.filePath(QStringLiteral("base")), nullptr);
    CPlaylistProperty playlist;
    playlist.SetIndex(kSamplePlaylist);
    const DateValue keep = builder.GetKeepLimit();
    ASSERT_TRUE(builder.AddR40SendInfo(nullptr, -1, playlist, &keep, true));
    ASSERT_TRUE(builder.Commit());

    QFile sample(m_store.m_secondPlaylistFolder + QStringLiteral("/PL152999001.xml"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    EXPECT_EQ(sample.readAll(), sampleBefore);
    CPlaylistFile sent;
    ASSERT_TRUE(sent.LoadFrom(m_store.m_playlistFolder, kSamplePlaylist));
    EXPECT_EQ(sent.GetDeleteDate(), keep);
    CSequenceFile sequence;
    ASSERT_TRUE(sequence.LoadFrom(m_store.m_sequenceFolder, kSampleSequence));
    EXPECT_EQ(sequence.GetDeleteDate(), keep);
    EXPECT_EQ(movie(kMovie)->GetDeleteDate().year, 0);
    // The movie, the sequence and the playlist are queued.
    EXPECT_EQ(m_request.GetCount(), 3);
}

TEST_F(SendInfoFixture, AMissingMemberChangesNothing)
{
    addMovie(kMovie, DateValue{2026, 6, 10});
    writeSamplePlaylist();
    m_store.GetList(1)->Delete(m_store.GetList(1)->FindCode(kMovie));
    addMovie(kMovie + 5, DateValue{2026, 6, 10});
    m_prompter.expect(5366, 1);

    CSendInfoBuilder builder(m_store, m_request, kNow, 30, m_root.filePath(QStringLiteral("base")), nullptr);
    CMovieProperty first;
    CContentsList *list = m_store.GetList(1);
    ASSERT_TRUE(list->Get(list->FindCode(kMovie + 5), &first));
    ASSERT_TRUE(builder.AddR40SendInfo(list, list->FindCode(kMovie + 5), first, nullptr, false));
    CPlaylistProperty playlist;
    playlist.SetIndex(kSamplePlaylist);
    EXPECT_FALSE(builder.AddR40SendInfo(nullptr, -1, playlist, nullptr, true));
    EXPECT_TRUE(builder.IsReported());
    // The kind is named without the blanks that pad its tab caption.
    EXPECT_EQ(m_prompter.last().arguments.first(), QStringLiteral("101000001(動画)"));
    // The preparation failed: the caller does not commit and the first
    // movie keeps its date; no sent copy of the playlist was written.
    EXPECT_EQ(movie(kMovie + 5)->GetDeleteDate(), (DateValue{2026, 6, 10}));
    EXPECT_FALSE(QFile::exists(m_store.m_playlistFolder + QStringLiteral("/PL152999001.xml")));
}

TEST_F(SendInfoFixture, BackgroundMusicListIsQueuedAsAPlaylist)
{
    addMovie(kMovie, DateValue{});
    constexpr qint32 kBgm = 153000007;
    constexpr qint32 kBgmSequence = 121000007;
    ASSERT_TRUE(SaveOneItemFile<CSequenceFile>(m_store.m_sequenceFolder, kBgmSequence, kMovie, 1, 0));
    ASSERT_TRUE(SaveOneItemFile<CPlaylistFile>(m_store.m_playlistFolder, kBgm, kBgmSequence, 54, 21));

    CSendInfoBuilder builder(m_store, m_request, kNow, 30, m_root.filePath(QStringLiteral("base")), nullptr);
    CPlaylistProperty bgm(53);
    bgm.SetIndex(kBgm);
    const DateValue keep = builder.GetKeepLimit();
    ASSERT_TRUE(builder.AddR40SendInfo(nullptr, -1, bgm, &keep, true));
    EXPECT_GE(m_request.Find(kBgm, 52), 0);
    EXPECT_LT(m_request.Find(kBgm, 53), 0);
}
