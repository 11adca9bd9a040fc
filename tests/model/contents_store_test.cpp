// The content store: new content numbers, list files of the library, group
// and player-side sets, and the checks on names that become paths.

#include "record_samples.h"

#include "core/content_id.h"
#include "core/last_error.h"
#include "core/system_ini.h"
#include "model/app_data.h"
#include "model/contents_store.h"
#include "model/movie_list.h"
#include "model/playlist_property.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ContentsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        GetSystemIni().Open(dir.filePath(QStringLiteral("Q9S.ini")), dir.path());
        store.SetFolders(dir.path(), dir.filePath(QStringLiteral("program")));
        ASSERT_TRUE(store.CreateFolders());
    }
    void addNumber(int type, qint32 index)
    {
        auto record = CreateProperty(type == CONTENT_SEQUENCE ? CONTENT_SCHEDULE : type);
        record->SetIndex(index);
        ASSERT_TRUE(store.GetList(record->GetContentType())->Add(record.get()));
    }
    QString dataPath(const QString &relative) const
    {
        return dir.filePath(QStringLiteral("TelvData/Q9Data/") + relative);
    }

    QTemporaryDir dir;
    CContentsStore store;
};

} // namespace

TEST_F(ContentsStoreTest, NewCodeSkipsUsedNumbersAndReportsItsCounter)
{
    GetSystemIni().SetContentIndex(CONTENT_MOVIE, 5);
    addNumber(CONTENT_MOVIE, MakeContentId(0, 1, 5));
    addNumber(CONTENT_MOVIE, MakeContentId(0, 1, 6));
    int counter = 0;
    EXPECT_EQ(store.GetNewCode(CONTENT_MOVIE, counter), MakeContentId(0, 1, 7));
    EXPECT_EQ(counter, 7);
    // The stored counter is the caller's to step.
    EXPECT_EQ(GetSystemIni().GetContentIndex(CONTENT_MOVIE), 5);
}

TEST_F(ContentsStoreTest, NewCodeWrapsAtTheTypesLimit)
{
    GetSystemIni().SetContentIndex(CONTENT_MOVIE, 998998);
    addNumber(CONTENT_MOVIE, MakeContentId(0, 1, 998998));
    int counter = 0;
    EXPECT_EQ(store.GetNewCode(CONTENT_MOVIE, counter), MakeContentId(0, 1, 1));
    EXPECT_EQ(counter, 1);

    GetSystemIni().SetContentIndex(CONTENT_PLAYLIST, 98998);
    addNumber(CONTENT_PLAYLIST, MakeContentId(0, 52, 98998));
    EXPECT_EQ(store.GetNewCode(CONTENT_PLAYLIST, counter), MakeContentId(0, 52, 1));

    // Schedules and sequences share one counter that starts again at 900001,
    // and sequences are searched in the schedule list.
    GetSystemIni().SetContentIndex(CONTENT_SEQUENCE, 998998);
    addNumber(CONTENT_SEQUENCE, MakeContentId(0, 54, 998998));
    addNumber(CONTENT_SEQUENCE, MakeContentId(0, 54, 900001));
    EXPECT_EQ(store.GetNewCode(CONTENT_SEQUENCE, counter), MakeContentId(0, 54, 900002));
    EXPECT_EQ(counter, 900002);
}

TEST_F(ContentsStoreTest, NewCodeFailsWhenEveryNumberIsUsedOrTheTypeHasNoList)
{
    for (int serial = 1; serial < 98999; ++serial)
        addNumber(CONTENT_BGMLIST, MakeContentId(0, 53, serial));
    GetSystemIni().SetContentIndex(CONTENT_BGMLIST, 500);
    int counter = -7;
    EXPECT_EQ(store.GetNewCode(CONTENT_BGMLIST, counter), -1);
    EXPECT_EQ(counter, -7);
    EXPECT_EQ(store.GetNewCode(9, counter), -1);
}

TEST_F(ContentsStoreTest, SaveListsWritesEveryLibraryTypeAndKeepsSamplesOfControlsAndPinP)
{
    addNumber(CONTENT_MOVIE, 101999001);   // a sample
    addNumber(CONTENT_CONTROL, 107999001); // a sample
    ASSERT_TRUE(store.SaveLists(0, 1)) << GetLastError();
    // Web and camera records carry passwords: their lists are private.
    const QFile::Permissions others = QFile::ReadGroup | QFile::ReadOther;
    for (int type : CContentsStore::kLibraryListTypes) {
        EXPECT_TRUE(QFile::exists(store.GetListPath(type))) << type;
        const bool holdsPasswords = type == CONTENT_WEB || type == CONTENT_STREAMING;
        EXPECT_EQ((QFile::permissions(store.GetListPath(type)) & others).toInt() == 0, holdsPasswords) << type;
    }

    CContentsList movies(CONTENT_MOVIE);
    ASSERT_TRUE(movies.Load(store.GetListPath(CONTENT_MOVIE)));
    EXPECT_EQ(movies.GetCount(), 0);
    CContentsList controls(CONTENT_CONTROL);
    ASSERT_TRUE(controls.Load(store.GetListPath(CONTENT_CONTROL)));
    EXPECT_EQ(controls.GetCount(), 1);
    EXPECT_FALSE(store.SaveLists(9, 0));
}

TEST_F(ContentsStoreTest, LoadListsMergesSamplesAndKeepsDamagedFilesAside)
{
    QDir().mkpath(dir.filePath(QStringLiteral("program")));
    CContentsList samples(CONTENT_IMAGE);
    samples.Add(MakeFullRecord(CONTENT_IMAGE, 999001).get());
    ASSERT_TRUE(samples.Save(dir.filePath(QStringLiteral("program/SampleStill.xml")), 0));
    addNumber(CONTENT_MOVIE, 101000001);
    ASSERT_TRUE(store.SaveLists(CONTENT_MOVIE, 1));
    QFile damaged(store.GetListPath(CONTENT_AUDIO));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("<contentlist type=\"6\"><content>");
    damaged.close();

    CContentsStore fresh;
    fresh.SetFolders(dir.path(), dir.filePath(QStringLiteral("program")));
    EXPECT_FALSE(fresh.LoadLists());
    EXPECT_EQ(fresh.GetList(CONTENT_MOVIE)->GetCount(), 1);
    EXPECT_EQ(fresh.GetList(CONTENT_IMAGE)->GetCount(), 1);
    EXPECT_EQ(fresh.GetList(CONTENT_AUDIO)->GetCount(), 0);
    EXPECT_TRUE(QFile::exists(store.GetListPath(CONTENT_AUDIO) + QStringLiteral(".damaged")));
}

TEST_F(ContentsStoreTest, GroupListsLiveInTheGroupsScheduleFolder)
{
    QString schedule, sequence;
    ASSERT_TRUE(store.GetGroupScheduleFolders(QStringLiteral("本社"), schedule, sequence));
    EXPECT_EQ(schedule, dataPath(QStringLiteral("Group/本社/Schedule")));
    EXPECT_EQ(sequence, schedule + QStringLiteral("/Sequence"));

    ASSERT_TRUE(store.SetCurrentGroup(QStringLiteral("本社")));
    store.GetList(CONTENT_SCHEDULE)->Add(MakeFullRecord(CONTENT_SCHEDULE, 3).get());
    store.GetList(CONTENT_CALENDAR)->Add(MakeFullRecord(CONTENT_CALENDAR, 3).get());
    ASSERT_TRUE(store.SaveGroupLists(QStringLiteral("本社"), CONTENT_SCHEDULE, 0));
    EXPECT_TRUE(QFile::exists(schedule + QStringLiteral("/ScheduleList.xml")));
    EXPECT_FALSE(QFile::exists(schedule + QStringLiteral("/CalendarList.xml")));
    ASSERT_TRUE(store.SaveGroupLists(QStringLiteral("本社"), 0, 0));

    ASSERT_TRUE(store.LoadGroupSchedules(QStringLiteral("本社"), 1));
    EXPECT_EQ(store.GetWorkGroupList(CONTENT_SCHEDULE)->GetCount(), 1);
    EXPECT_EQ(store.GetWorkGroupList(CONTENT_CALENDAR)->GetCount(), 1);
}

TEST_F(ContentsStoreTest, NamesThatWouldLeaveTheirFolderAreRefused)
{
    QString schedule, sequence, path;
    for (const QString &name : {QStringLiteral(".."), QStringLiteral("a/b"), QStringLiteral("a\\b"), QString(),
                                QStringLiteral("."), QStringLiteral("c:x")}) {
        EXPECT_FALSE(store.GetGroupScheduleFolders(name, schedule, sequence)) << qPrintable(name);
        EXPECT_FALSE(store.SetCurrentGroup(name));
        PlayerRecord player;
        player.Name = name;
        EXPECT_FALSE(store.LoadRemoteLists(player, 1));
        EXPECT_EQ(GetLastError(), 87u);
    }
    EXPECT_FALSE(store.MakeContentFilePath(CONTENT_MOVIE, QStringLiteral("../../etc/passwd"), path));
    EXPECT_FALSE(store.MakeContentFilePath(CONTENT_MOVIE, QStringLiteral("/etc/passwd"), path));
    EXPECT_FALSE(store.MakeContentFilePath(CONTENT_TELOP, QStringLiteral("a.txt"), path));
    ASSERT_TRUE(store.MakeContentFilePath(CONTENT_WEB, QStringLiteral("000000001\\sub/../index.html"), path));
    EXPECT_EQ(path, dir.filePath(QStringLiteral("TelvData/Content/Url/000000001/index.html")));
}

TEST_F(ContentsStoreTest, RemoteListsComeFromThePlayersFolderAndKeepTheirSortKey)
{
    const QString folder = dataPath(QStringLiteral("KDP-R40/受付"));
    QDir().mkpath(folder);
    CContentsList videos(CONTENT_MOVIE);
    videos.Add(MakeFullRecord(CONTENT_MOVIE, 2).get());
    videos.Add(MakeFullRecord(CONTENT_MOVIE, 1).get());
    ASSERT_TRUE(videos.Save(folder + QStringLiteral("/VideoList.xml"), 0));

    ASSERT_TRUE(store.SortRemoteList(CONTENT_MOVIE, 2 * SORT_INDEX + 1));
    PlayerRecord player;
    player.Name = QStringLiteral("受付");
    ASSERT_TRUE(store.LoadRemoteLists(player, 1));
    CContentsList *remote = store.GetRemoteList(CONTENT_MOVIE);
    ASSERT_EQ(remote->GetCount(), 2);
    EXPECT_EQ(remote->GetDisplayAt(0)->GetIndex(), 1000002);
    EXPECT_EQ(store.GetSortKey(CONTENT_MOVIE, true), 2 * SORT_INDEX + 1);
    EXPECT_EQ(store.GetRemoteList(CONTENT_BGMLIST), nullptr);
    EXPECT_NE(dynamic_cast<CMovieList *>(remote), nullptr);
    EXPECT_EQ(store.GetList(CONTENT_BGMLIST)->GetContentType(), CONTENT_BGMLIST);
}

TEST_F(ContentsStoreTest, DisplayFilterComesFromTheApplicationData)
{
    addNumber(CONTENT_MOVIE, 101000001);
    store.GetList(CONTENT_MOVIE)->GetAt(0)->SetInfo(QStringLiteral("春"));
    CDispFilterXml *filter = GetAppData().GetDispFilter(CONTENT_MOVIE);
    filter->SetUseType(true);
    filter->AddType(QStringLiteral("春"));
    ASSERT_TRUE(store.ApplyDispFilter(CONTENT_MOVIE));
    EXPECT_EQ(store.GetList(CONTENT_MOVIE)->GetDisplayCount(), 0);
    filter->RemoveAllTypes();
    filter->SetUseType(false);
    ASSERT_TRUE(store.ApplyDispFilter(CONTENT_MOVIE));
    EXPECT_EQ(store.GetList(CONTENT_MOVIE)->GetDisplayCount(), 1);
    EXPECT_FALSE(store.ApplyDispFilter(CONTENT_SCHEDULE));
}
