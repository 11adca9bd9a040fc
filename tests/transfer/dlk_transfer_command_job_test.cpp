// Command, firmware update and play command steps against an emulated
// player: delete commands and the list files of the player folder that
// follow them, SERR 110 accepted only for the content and table deletes, a
// broken list file left alone, shared commands sent through clones, the
// update upload and reset, and the play command tables.

#include "job_test_fixture.h"

#include "model/calendar_property.h"
#include "model/contents_list.h"
#include "player/calendar_table_command.h"
#include "player/delete_command.h"
#include "player/dlk_request_command.h"
#include "player/dlk_request_update.h"
#include "player/plain_command.h"
#include "player/sequence_table_command.h"
#include "transfer/dlk_request_send.h"

#include <QFile>

namespace {

using Fault = EmulatedPlayer::Fault;

class CommandJobTest : public JobTest {
protected:
    // Writes a list file of the player folder holding records with these numbers.
    void writeList(int type, const char *name, const QList<qint32> &numbers)
    {
        const std::unique_ptr<CContentsList> list = CreateContentsList(type);
        ASSERT_TRUE(list);
        for (qint32 number : numbers) {
            const std::unique_ptr<CPropertyBase> record = CreateProperty(type);
            ASSERT_TRUE(record->SetIndex(number));
            ASSERT_TRUE(list->Add(record.get()));
        }
        ASSERT_TRUE(list->Save(playerFile(QString::fromLatin1(name)), 0));
    }

    QList<qint32> listNumbers(int type, const char *name)
    {
        const std::unique_ptr<CContentsList> list = CreateContentsList(type);
        EXPECT_TRUE(list->Load(playerFile(QString::fromLatin1(name)))) << name;
        QList<qint32> numbers;
        for (int i = 0; i < list->GetCount(); ++i)
            numbers << list->GetAt(i)->GetIndex();
        return numbers;
    }

    void addCommand(CDlkRequestCommand &commands, const CR40Request &command, int entryIndex)
    {
        ASSERT_TRUE(commands.Add(&command, entryIndex));
    }

    static CDeleteCommand deleteContent(int tableKind, qint32 index)
    {
        CDeleteCommand command;
        EXPECT_TRUE(command.MakeRequest(tableKind, index));
        return command;
    }
};

TEST_F(CommandJobTest, DeletesFollowTheListFilesOfTheirKind)
{
    writeList(CONTENT_MOVIE, "VideoList.xml", {101000001, 101000002});
    writeList(CONTENT_WEB, "UrlList.xml", {104000001});
    writeList(CONTENT_FLASH, "FlashList.xml", {105000001});
    writeList(CONTENT_CONTROL, "ControlList.xml", {107000003, 107000004});
    writeList(CONTENT_PINP, "PinPList.xml", {110000001});
    writeList(CONTENT_PLAYLIST, "PlaylistList.xml", {152000001});
    writeList(CONTENT_SCHEDULE, "ScheduleList.xml", {151900001});
    writeList(CONTENT_CALENDAR, "CalendarList.xml", {150000001, 150000002});
    m_player.setContentRow(1, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("101000001")}}));
    m_player.setTableRow(3, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("150000001")}}));
    m_player.setTableRow(1, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("152000001")}}));

    CDlkRequestCommand commands;
    addCommand(commands, deleteContent(DELETE_TABLE_MOVIE, 101000001), 0);
    // The player does not hold these: "nothing to delete" is done all the same.
    addCommand(commands, deleteContent(DELETE_TABLE_WEB, 104000001), 1);
    addCommand(commands, deleteContent(DELETE_TABLE_FLASH, 105000001), 2);
    addCommand(commands, deleteContent(DELETE_TABLE_EXTSIO, 107000003), 3);
    addCommand(commands, deleteContent(DELETE_TABLE_EXTSIO, 110000001), 4);
    CSequenceTableCommand playlist;
    ASSERT_TRUE(playlist.MakeRequest(SEQUENCE_TABLE_PLAYLIST, 152000001));
    addCommand(commands, playlist, 5);
    CSequenceTableCommand schedule;
    ASSERT_TRUE(schedule.MakeRequest(SEQUENCE_TABLE_SCHEDULE, 151900001));
    addCommand(commands, schedule, 6);
    CCalendarTableCommand calendar;
    ASSERT_TRUE(calendar.MakeRequest(150000001));
    addCommand(commands, calendar, 7);
    CPlainCommand stop;
    ASSERT_TRUE(stop.MakeRequest());
    addCommand(commands, stop, 8);
    ASSERT_TRUE(m_requests.Add(&commands));

    auto worker = makeWorker();
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    EXPECT_EQ(worker->GetErrorIndex(), -1);
    EXPECT_EQ(listNumbers(CONTENT_MOVIE, "VideoList.xml"), QList<qint32>({101000002}));
    EXPECT_TRUE(listNumbers(CONTENT_WEB, "UrlList.xml").isEmpty()) << "table kind 5 is the web page list";
    EXPECT_TRUE(listNumbers(CONTENT_FLASH, "FlashList.xml").isEmpty()) << "table kind 4 is the Flash list";
    EXPECT_EQ(listNumbers(CONTENT_CONTROL, "ControlList.xml"), QList<qint32>({107000004}));
    EXPECT_TRUE(listNumbers(CONTENT_PINP, "PinPList.xml").isEmpty()) << "extsio of type part 10 is picture-in-picture";
    EXPECT_TRUE(listNumbers(CONTENT_PLAYLIST, "PlaylistList.xml").isEmpty());
    EXPECT_TRUE(listNumbers(CONTENT_SCHEDULE, "ScheduleList.xml").isEmpty());
    EXPECT_EQ(listNumbers(CONTENT_CALENDAR, "CalendarList.xml"), QList<qint32>({150000002}));

    TransferStatusRecord status;
    ASSERT_TRUE(m_status.GetPlayerStatus(kPlayerNumber, status));
    EXPECT_EQ(status.SendFileCount, 8) << "each delete counts, the stop command does not";
    EXPECT_EQ(noticeCount(DLK_NOTICE_UNIT_DONE), 8);

    // Every worker of a job shares the list: the commands there stay unsent.
    for (int i = 0; i < commands.GetCount(); ++i)
        EXPECT_EQ(commands.GetCommand(i)->GetStatus(), R40_REPLY_NONE) << i;
}

TEST_F(CommandJobTest, ARefusedCommandEndsTheListWithItsEntry)
{
    writeList(CONTENT_MOVIE, "VideoList.xml", {101000001});
    CDlkRequestCommand commands;
    addCommand(commands, deleteContent(DELETE_TABLE_MOVIE, 101000001), 40);
    CCalendarTableCommand calendar;
    ASSERT_TRUE(calendar.MakeRequest(150000009));
    addCommand(commands, calendar, 41);
    CPlainCommand stop;
    ASSERT_TRUE(stop.MakeRequest());
    addCommand(commands, stop, 42);
    ASSERT_TRUE(m_requests.Add(&commands));

    auto worker = makeWorker();
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_COMMAND_FAILED, 110u)) << "a calendar row delete takes no SERR 110";
    EXPECT_EQ(worker->GetErrorIndex(), 41);
    EXPECT_TRUE(listNumbers(CONTENT_MOVIE, "VideoList.xml").isEmpty()) << "the delete before it was followed";
    EXPECT_TRUE(m_player.requests(QStringLiteral("SPPL")).isEmpty());
}

TEST_F(CommandJobTest, ABrokenListFileIsNotReplacedByAPartialOne)
{
    const QByteArray broken = "<?xml version=\"1.0\"?><contentlist type=\"1\"><content><index>1010";
    QFile file(playerFile(QStringLiteral("VideoList.xml")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(broken);
    file.close();
    CDlkRequestCommand commands;
    addCommand(commands, deleteContent(DELETE_TABLE_MOVIE, 101000001), 0);
    ASSERT_TRUE(m_requests.Add(&commands));

    auto worker = makeWorker();
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), broken);
    EXPECT_EQ(noticeCount(DLK_NOTICE_UNIT_DONE), 1) << "the deletion on the player still counts";
}

TEST_F(CommandJobTest, UpdateUploadsTheFileThenResets)
{
    const QString local = m_dir.filePath(QStringLiteral("kdp-r40_v2.bin"));
    QFile file(local);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(300000, 'u'));
    file.close();
    const CDlkRequestUpdate request(local);
    ASSERT_TRUE(m_requests.Add(&request));

    auto worker = makeWorker();
    EXPECT_TRUE(runJob(*worker));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_DONE, 0));
    EXPECT_EQ(m_player.file(QStringLiteral("/import/update/kdp-r40_v2.bin")), QByteArray(300000, 'u'));
    const auto requests = m_player.requests();
    ASSERT_GE(requests.size(), 2);
    EXPECT_EQ(requests.last().command(), QStringLiteral("RSET"));
    EXPECT_TRUE(requests.last().parameter(QStringLiteral("action")).isEmpty());

    // A player that breaks off the upload is not reset.
    m_player.clearRequests();
    m_player.setUploadFault(Fault::reset(100000));
    auto cut = makeWorker();
    EXPECT_TRUE(runJob(*cut));
    EXPECT_EQ(outcome(*cut), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_DISCONNECT));
    EXPECT_TRUE(m_player.requests(QStringLiteral("RSET")).isEmpty());

    const CDlkRequestUpdate missing(m_dir.filePath(QStringLiteral("gone.bin")));
    m_requests.RemoveAll();
    ASSERT_TRUE(m_requests.Add(&missing));
    m_player.clearFaults();
    auto none = makeWorker();
    EXPECT_TRUE(runJob(*none));
    EXPECT_EQ(outcome(*none), pair(DLK_STATE_UPLOAD_FAILED, DLK_DETAIL_FILE_NOT_FOUND));
}

TEST_F(CommandJobTest, PlayCommandTables)
{
    auto worker = makeWorker();
    connect(*worker);
    CDlkRequestSend request;
    EXPECT_TRUE(worker->sendPlayCommand(&request)) << "play type 0 plays nothing";
    EXPECT_TRUE(m_player.requests().isEmpty());

    const std::pair<int, int> ids[] = {{1, 2},  {2, 3},   {3, 7},   {4, 6},   {5, 5},   {6, 21},  {7, 12},
                                       {8, 14}, {9, 15}, {13, 11}, {14, 8}, {15, 20}, {16, 22}, {17, 22}};
    for (const auto &[type, id] : ids) {
        m_player.clearRequests();
        ASSERT_TRUE(request.SetPlayParameter(type, 101000001, 8, 1, 2, 3, 4, 5, 6, 7));
        EXPECT_TRUE(worker->sendPlayCommand(&request)) << type;
        const auto sent = m_player.requests(QStringLiteral("PLCL"));
        ASSERT_EQ(sent.size(), 1) << type;
        EXPECT_EQ(sent[0].parameter(QStringLiteral("id")), QString::number(id)) << type;
    }
    const auto last = m_player.requests(QStringLiteral("PLCL")).first();
    const QStringList values = {"101000001", "8", "1", "2", "3", "4", "5", "6", "7"};
    const QStringList names = {"index", "mode", "xpos", "ypos", "opt", "width", "height", "repeat", "playtime"};
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(last.parameter(names[i]), values[i]) << qPrintable(names[i]);

    for (int type : {10, 11}) {
        m_player.clearRequests();
        ASSERT_TRUE(request.SetPlayParameter(type, 152000001, -1, -1, -1, -1, -1, -1, 1, 600));
        EXPECT_TRUE(worker->sendPlayCommand(&request));
        const auto sent = m_player.requests(QStringLiteral("PLPL"));
        ASSERT_EQ(sent.size(), 1);
        EXPECT_EQ(sent[0].parameter(QStringLiteral("mode")), QStringLiteral("1"));
        EXPECT_EQ(sent[0].parameter(QStringLiteral("index")), QStringLiteral("152000001"));
        EXPECT_EQ(sent[0].parameter(QStringLiteral("repeat")), QStringLiteral("1"));
        EXPECT_EQ(sent[0].parameter(QStringLiteral("playtime")), QStringLiteral("600"));
    }

    for (int type : {12, 18}) {
        m_player.clearRequests();
        ASSERT_TRUE(request.SetPlayParameter(type, 101000001, -1, -1, -1, -1, -1, -1, -1, -1));
        EXPECT_FALSE(worker->sendPlayCommand(&request));
        EXPECT_EQ(outcome(*worker), pair(DLK_STATE_INTERNAL, DLK_DETAIL_INTERNAL));
        EXPECT_TRUE(m_player.requests().isEmpty());
    }

    m_player.setCommandFault(QStringLiteral("PLCL"), Fault::serr(100));
    ASSERT_TRUE(request.SetPlayParameter(1, 101000001, -1, -1, -1, -1, -1, -1, -1, -1));
    EXPECT_FALSE(worker->sendPlayCommand(&request));
    EXPECT_EQ(outcome(*worker), pair(DLK_STATE_COMMAND_FAILED, 100u));
}

} // namespace
