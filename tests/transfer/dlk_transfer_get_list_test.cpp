// List get jobs against an emulated player: every list of the mask fetched
// and saved in the player folder, the control tables sharing one file, empty
// tables, the playlist and schedule lengths from their files, the progress
// counters, and failures that keep the lists saved before them.

#include "job_test_fixture.h"

#include "core/clock.h"
#include "model/calendar_list.h"
#include "model/control_list.h"
#include "model/movie_list.h"
#include "model/pin_p_list.h"
#include "model/playlist_file.h"
#include "model/playlist_list.h"
#include "model/schedule_file.h"
#include "model/schedule_list.h"
#include "model/telop_list.h"
#include "player/dlk_request_remote_list.h"

#include <QFile>
#include <QFileInfo>

namespace {

using Row = EmulatedPlayer::Row;
using Fault = EmulatedPlayer::Fault;

Row contentRow(const QString &index, const QList<QPair<QString, QString>> &more = {})
{
    QList<QPair<QString, QString>> fields = {{QStringLiteral("index"), index},
                                             {QStringLiteral("cdate"), QStringLiteral("2026-03-01 10:00:00.000")},
                                             {QStringLiteral("title"), QStringLiteral("T") + index.right(3)}};
    return EmulatedPlayer::makeRow(fields + more);
}

TimeValue time(int h, int m, int s, int f = 0)
{
    return TimeValue{quint16(h), quint16(m), quint16(s), quint16(f)};
}

// The bytes of a timetable file made by the program's own writer.
template <class File>
QByteArray timetableBytes(const QString &folder, qint32 number, const QList<std::pair<TimeValue, TimeValue>> &spans)
{
    File file;
    EXPECT_TRUE(file.SetIndex(number));
    qint32 sequence = 102000001;
    for (const auto &[start, end] : spans) {
        CTimetableItem item;
        EXPECT_TRUE(item.Set(sequence++, start, end, CONTENT_SEQUENCE, 2));
        EXPECT_TRUE(file.AddItem(item));
    }
    const QString path = folder + QStringLiteral("/made.xml");
    EXPECT_TRUE(file.Save(path));
    QFile saved(path);
    EXPECT_TRUE(saved.open(QIODevice::ReadOnly));
    return saved.readAll();
}

class GetListTest : public JobTest {
protected:
    bool runList(WorkerProbe &worker, quint16 mask, int flag = 0)
    {
        const CDlkRequestRemoteList request(mask, flag);
        m_requests.RemoveAll();
        EXPECT_TRUE(m_requests.Add(&request));
        return runJob(worker);
    }

    template <class List>
    void loadList(const char *name, List &list)
    {
        ASSERT_TRUE(list.Load(playerFile(QString::fromLatin1(name)))) << name;
    }
};

TEST_F(GetListTest, ContentListsAreFetchedAndSavedInThePlayerFolder)
{
    m_player.setContentRow(1, contentRow(QStringLiteral("101000001"),
                                         {{QStringLiteral("link"), QStringLiteral("/import/video/A101000001.mpg")},
                                          {QStringLiteral("duration"), QStringLiteral("1817")}}));
    m_player.setContentRow(1, contentRow(QStringLiteral("101000002"), {{QStringLiteral("duration"), QStringLiteral("45")}}));
    m_player.setContentRow(3, contentRow(QStringLiteral("103000001")));
    m_player.setContentRow(7, contentRow(QStringLiteral("107000001"), {{QStringLiteral("ctrlparam1"), QStringLiteral("40")}}));
    m_player.setContentRow(8, contentRow(QStringLiteral("107000002"), {{QStringLiteral("ctrlparam1"), QStringLiteral("0A0D")}}));
    m_player.setContentRow(13, contentRow(QStringLiteral("110000001"), {{QStringLiteral("link"), QStringLiteral("HDMI1")}}));
    auto worker = makeWorker();
    EXPECT_TRUE(runList(*worker, 0x0001 | 0x0002 | 0x0004 | 0x0040 | 0x0080 | 0x0100 | 0x2000));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));

    CMovieList movies;
    loadList("VideoList.xml", movies);
    ASSERT_EQ(movies.GetCount(), 2);
    const auto *first = static_cast<const CMediaProperty *>(movies.GetAt(0));
    EXPECT_EQ(first->GetIndex(), 101000001);
    EXPECT_EQ(first->GetLink(), QStringLiteral("/import/video/A101000001.mpg"));
    EXPECT_EQ(first->GetPlayTime(), (PlayLength{0, 1, 0})) << "1817 frames are 1 min 0 s 17 frames, the frames cleared";
    EXPECT_EQ(static_cast<const CMediaProperty *>(movies.GetAt(1))->GetPlayTime(), (PlayLength{0, 0, 1}));

    CTelopList telops;
    loadList("TextList.xml", telops);
    ASSERT_EQ(telops.GetCount(), 1);
    EXPECT_EQ(static_cast<const CTelopProperty *>(telops.GetAt(0))->GetFormat(), 1);

    // The empty still table is saved as an empty list; the GPIO table too adds nothing.
    CImgList stills;
    loadList("StillList.xml", stills);
    EXPECT_EQ(stills.GetCount(), 0);

    CControlList controls;
    loadList("ControlList.xml", controls);
    ASSERT_EQ(controls.GetCount(), 2) << "the control tables share one list";
    EXPECT_EQ(static_cast<const CControlProperty *>(controls.GetAt(0))->GetCtrlType(), CControlProperty::CTRL_VOLUME);
    EXPECT_EQ(static_cast<const CControlProperty *>(controls.GetAt(1))->GetCtrlType(), CControlProperty::CTRL_COM);
    CPinPList pinp;
    loadList("PinPList.xml", pinp);
    ASSERT_EQ(pinp.GetCount(), 1);
    EXPECT_EQ(static_cast<const CPinPProperty *>(pinp.GetAt(0))->GetLink(), QStringLiteral("HDMI1"));

    // Tables in the order of the list table, then one row query per content.
    QStringList tables;
    for (const auto &request : m_player.requests(QStringLiteral("CLST"))) {
        if (request.parameter(QStringLiteral("index")).isEmpty())
            tables << request.parameter(QStringLiteral("table"));
    }
    EXPECT_EQ(tables, QStringList({"1", "2", "3", "7", "8", "9", "13"}));

    // Six contents: six units announced and six done, each named by the player.
    TransferStatusRecord status;
    ASSERT_TRUE(m_status.GetPlayerStatus(kPlayerNumber, status));
    EXPECT_EQ(status.SendFileTotal, 6);
    EXPECT_EQ(status.SendFileCount, 6);
    EXPECT_EQ(noticeCount(DLK_NOTICE_UNIT_DONE), 6);
    EXPECT_EQ(noticeCount(DLK_NOTICE_PLAYER), 6);
}

TEST_F(GetListTest, ARowTheRecordRefusesIsPassedOver)
{
    m_player.setContentRow(1, contentRow(QStringLiteral("101000001"), {{QStringLiteral("width"), QStringLiteral("wide")}}));
    m_player.setContentRow(1, contentRow(QStringLiteral("101000002")));
    auto worker = makeWorker();
    EXPECT_TRUE(runList(*worker, 0x0001));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    CMovieList movies;
    loadList("VideoList.xml", movies);
    ASSERT_EQ(movies.GetCount(), 1);
    EXPECT_EQ(movies.GetAt(0)->GetIndex(), 101000002);
}

TEST_F(GetListTest, PlaylistScheduleAndCalendarTables)
{
    m_player.setTableRow(1, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("152000001")},
                                                     {QStringLiteral("title"), QStringLiteral("Morning")}}));
    m_player.setTableRow(2, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("151900001")},
                                                     {QStringLiteral("title"), QStringLiteral("Week")}}));
    m_player.setTableRow(3, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("150000001")},
                                                     {QStringLiteral("sdate"), QStringLiteral("2026-04-01")},
                                                     {QStringLiteral("edate"), QStringLiteral("2026-04-30")},
                                                     {QStringLiteral("schedule"), QStringLiteral("151900001")}}));
    m_player.putFile(QStringLiteral("/import/db/PL152000001.xml"),
                     timetableBytes<CPlaylistFile>(m_dir.path(), 152000001,
                                                   {{time(0, 0, 0), time(0, 5, 0)}, {time(0, 0, 0), time(0, 7, 30, 12)},
                                                    {time(0, 1, 0), time(0, 2, 0)}}));
    m_player.putFile(QStringLiteral("/import/db/SC151900001.xml"),
                     timetableBytes<CScheduleFile>(m_dir.path(), 151900001,
                                                   {{time(9, 0, 0), time(12, 0, 0)}, {time(8, 30, 0), time(10, 0, 0)},
                                                    {time(13, 0, 0), time(17, 45, 0)}}));
    auto worker = makeWorker();
    EXPECT_TRUE(runList(*worker, 0x0200 | 0x0400 | 0x0800, 1));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));

    CPlaylistList playlists;
    loadList("PlaylistList.xml", playlists);
    ASSERT_EQ(playlists.GetCount(), 1);
    EXPECT_EQ(static_cast<const CPlaylistProperty *>(playlists.GetAt(0))->GetDuration(), time(0, 7, 30, 12))
        << "the latest end of the playlist's sequences";
    CScheduleList schedules;
    loadList("ScheduleList.xml", schedules);
    ASSERT_EQ(schedules.GetCount(), 1);
    const auto *schedule = static_cast<const CScheduleProperty *>(schedules.GetAt(0));
    EXPECT_EQ(schedule->GetStartTime(), time(8, 30, 0));
    EXPECT_EQ(schedule->GetEndTime(), time(17, 45, 0));
    CCalendarList calendars;
    loadList("CalendarList.xml", calendars);
    ASSERT_EQ(calendars.GetCount(), 1);
    EXPECT_EQ(static_cast<const CCalendarProperty *>(calendars.GetAt(0))->GetSchedule(), 151900001);

    const auto stbl = m_player.requests(QStringLiteral("STBL"));
    ASSERT_FALSE(stbl.isEmpty());
    EXPECT_EQ(stbl.first().parameter(QStringLiteral("flag")), QStringLiteral("1")) << "the request's flag goes along";
    TransferStatusRecord status;
    ASSERT_TRUE(m_status.GetPlayerStatus(kPlayerNumber, status));
    EXPECT_EQ(status.SendFileTotal, 3) << "one playlist, one schedule, one calendar list";
    EXPECT_EQ(status.SendFileCount, 3);
}

TEST_F(GetListTest, EmptyTablesSaveEmptyLists)
{
    auto worker = makeWorker();
    EXPECT_TRUE(runList(*worker, 0x0001 | 0x0200 | 0x0400 | 0x0800));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    for (const char *name : {"VideoList.xml", "PlaylistList.xml", "ScheduleList.xml", "CalendarList.xml"})
        EXPECT_TRUE(QFileInfo::exists(playerFile(QString::fromLatin1(name)))) << name;
    CPlaylistList playlists;
    loadList("PlaylistList.xml", playlists);
    EXPECT_EQ(playlists.GetCount(), 0);
}

TEST_F(GetListTest, AFailedFetchEndsTheJobAndKeepsTheListsSavedBefore)
{
    m_player.setContentRow(2, contentRow(QStringLiteral("102000001")));
    m_player.setContentRow(3, contentRow(QStringLiteral("103000001")));
    m_player.setCommandFault(QStringLiteral("STBL"), Fault::serr(100));
    auto worker = makeWorker();
    EXPECT_TRUE(runList(*worker, 0x0002 | 0x0004 | 0x0200 | 0x1000));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_COMMAND_FAILED, 100u));
    EXPECT_TRUE(QFileInfo::exists(playerFile(QStringLiteral("StillList.xml"))));
    EXPECT_TRUE(QFileInfo::exists(playerFile(QStringLiteral("TextList.xml"))));
    EXPECT_FALSE(QFileInfo::exists(playerFile(QStringLiteral("PlaylistList.xml"))));
    EXPECT_FALSE(QFileInfo::exists(playerFile(QStringLiteral("StreamingList.xml")))) << "nothing after the failure";
}

TEST_F(GetListTest, AMissingPlaylistFileOrAnEmptyMaskFails)
{
    m_player.setTableRow(1, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("152000002")}}));
    auto worker = makeWorker();
    EXPECT_TRUE(runList(*worker, 0x0200));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_COMMAND_FAILED, 112u)) << "the playlist's file is not on the player";
    EXPECT_FALSE(QFileInfo::exists(playerFile(QStringLiteral("PlaylistList.xml"))));

    auto empty = makeWorker();
    EXPECT_TRUE(runList(*empty, 0));
    EXPECT_EQ(outcome(*empty), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
}

TEST_F(GetListTest, CalendarListOfARegistrationIsNotCounted)
{
    m_player.setTableRow(3, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("150000001")}}));
    auto worker = makeWorker();
    connect(*worker);
    CCalendarList list;
    EXPECT_TRUE(worker->sendGetCalendarList(list, false));
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(noticeCount(DLK_NOTICE_UNITS_ADDED), 0);
    EXPECT_EQ(noticeCount(DLK_NOTICE_UNIT_DONE), 0);
}

} // namespace
