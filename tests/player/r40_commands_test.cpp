// Player commands: the query text each sends, argument checks, and their
// replies as the emulated player gives them.

#include "core/last_error.h"
#include "model/movie_property.h"
#include "model/playlist_list.h"
#include "player/calendar_table_command.h"
#include "player/clst_command.h"
#include "player/content_play_command.h"
#include "player/date_time_command.h"
#include "player/delete_command.h"
#include "player/drst_command.h"
#include "player/finf_command.h"
#include "player/lcnf_command.h"
#include "player/ltbl_command.h"
#include "player/mode_command.h"
#include "player/nlog_command.h"
#include "player/plain_command.h"
#include "player/playlist_play_command.h"
#include "player/r40_com_command.h"
#include "player/r40_system_command.h"
#include "player/sequence_table_command.h"
#include "player/stbl_command.h"
#include "player/system_command.h"
#include "connected_client.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using Fault = EmulatedPlayer::Fault;

TEST(R40CommandTest, QueriesFollowTheProtocol)
{
    SystemTime utc;
    utc.year = 2026;
    utc.month = 4;
    utc.day = 1;
    utc.hour = 3;
    utc.minute = 4;
    utc.second = 5;
    utc.milliseconds = 6;

    CR40SystemCommand syst;
    CDateTimeCommand date;
    CSystemCommand reboot, update;
    CLcnfCommand lcnf, lcnfPlain;
    CLtblCommand ltbl, ltblPlain;
    CFinfCommand finf;
    CDrstCommand drst;
    CClstCommand clstRow, clstList;
    CStblCommand stblAll, stblRow, stblFile;
    CContentPlayCommand plcl;
    CPlaylistPlayCommand plpl;
    CPlainCommand sppl;
    CModeCommand spcl, spclPinP;
    CDeleteCommand rmcl;
    CSequenceTableCommand rmpl;
    CCalendarTableCommand dtbl;
    CR40ComCommand comc;
    ASSERT_TRUE(syst.MakeRequest());
    ASSERT_TRUE(date.MakeRequest(utc));
    ASSERT_TRUE(reboot.MakeRequest(SYSTEM_ACTION_SHUTDOWN));
    ASSERT_TRUE(update.MakeRequest());
    ASSERT_TRUE(lcnf.MakeRequest(QStringLiteral("/import/kdp-r40_setup_send.xml"), LOAD_CONFIG_REBOOT));
    ASSERT_TRUE(lcnfPlain.MakeRequest(QStringLiteral("/import/kdp-r40_setup_send.xml"), LOAD_CONFIG_NO_MODE));
    ASSERT_TRUE(ltbl.MakeRequest(QStringLiteral("/import/group.xml")));
    ASSERT_TRUE(ltblPlain.MakeRequest(QString()));
    ASSERT_TRUE(finf.MakeRequest(QStringLiteral("/import/video/A101000001.mpg")));
    ASSERT_TRUE(drst.MakeRequest());
    ASSERT_TRUE(clstRow.MakeRequest(CLST_MOVIE, 101000001));
    ASSERT_TRUE(clstList.MakeRequest(CLST_PINP));
    ASSERT_TRUE(stblAll.MakeRequest(STBL_PLAYLIST, -1, 1));
    ASSERT_TRUE(stblRow.MakeRequest(STBL_SCHEDULE, 510900001));
    ASSERT_TRUE(stblFile.MakeFileRequest(STBL_PLAYLIST, 520000003));
    ASSERT_TRUE(plcl.MakeRequest(2, 101000001, 1, -1, -1, -1, -1, -1, 0, 90));
    ASSERT_TRUE(plpl.MakeRequest(1, 520000003, 1, -1));
    ASSERT_TRUE(sppl.MakeRequest());
    ASSERT_TRUE(spcl.MakeRequest(3));
    ASSERT_TRUE(spclPinP.MakeRequest(22, 1));
    ASSERT_TRUE(rmcl.MakeRequest(DELETE_TABLE_FLASH, 501000002));
    ASSERT_TRUE(rmpl.MakeRequest(SEQUENCE_TABLE_SEQUENCE, 512900001));
    ASSERT_TRUE(dtbl.MakeRequest(12));
    ASSERT_TRUE(comc.MakeRequest(QStringLiteral("0A1b"), QString(), 101));

    const QList<QPair<const CR40Request *, const char *>> expected = {
        {&syst, "cmd=SYST"},
        {&date, "cmd=DATE&datetime=2026-04-01%2003%3A04%3A05.006&reboot=0"},
        {&reboot, "cmd=RSET&delay=0&action=shutdown"},
        {&update, "cmd=RSET"},
        {&lcnf, "cmd=LCNF&file=%2Fimport%2Fkdp-r40_setup_send.xml&mode=reboot"},
        {&lcnfPlain, "cmd=LCNF&file=%2Fimport%2Fkdp-r40_setup_send.xml"},
        {&ltbl, "cmd=LTBL&file=%2Fimport%2Fgroup.xml&mode=2"},
        {&ltblPlain, "cmd=LTBL&mode=2"},
        {&finf, "cmd=FINF&file=%2Fimport%2Fvideo%2FA101000001.mpg"},
        {&drst, "cmd=DRST"},
        {&clstRow, "cmd=CLST&table=1&index=101000001"},
        {&clstList, "cmd=CLST&table=13"},
        {&stblAll, "cmd=STBL&table=1&flag=1"},
        {&stblRow, "cmd=STBL&table=2&index=510900001"},
        {&stblFile, "cmd=STBL&table=1&index=520000003&file=1"},
        {&plcl, "cmd=PLCL&id=2&index=101000001&mode=1&xpos=-1&ypos=-1&opt=-1&width=-1&height=-1&repeat=0&playtime=90"},
        {&plpl, "cmd=PLPL&mode=1&index=520000003&repeat=1&playtime=-1"},
        {&sppl, "cmd=SPPL"},
        {&spcl, "cmd=SPCL&id=3"},
        {&spclPinP, "cmd=SPCL&id=22&mode=1"},
        {&rmcl, "cmd=RMCL&table=web&index=501000002"},
        {&rmpl, "cmd=RMPL&table=sequence&name=SQ512900001_TBL"},
        {&dtbl, "cmd=DTBL&table=CALENDAR_TBL&where=index%3D12"},
        {&comc, "cmd=COMC&txd=0A1b&rxd=&port=101"},
    };
    for (const auto &entry : expected)
        EXPECT_EQ(entry.first->GetQueryString(), QString::fromLatin1(entry.second));

    EXPECT_EQ(rmcl.GetTableKind(), int(DELETE_TABLE_FLASH));
    EXPECT_EQ(rmcl.GetSerialText(), QStringLiteral("RMCL table=web index=501000002"));
    EXPECT_TRUE(stblFile.IsDownload());
    EXPECT_EQ(stblFile.GetLocalPath(), QStringLiteral("PL520000003.xml"));
}

TEST(R40CommandTest, BadArgumentsAreRefusedWithInvalidParameter)
{
    const auto refused = [](bool made, const CR40Request &request) {
        EXPECT_FALSE(made) << request.GetSerialText().toStdString();
        EXPECT_EQ(request.GetError(), quint32(ERROR_INVALID_PARAMETER));
        EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_PARAMETER));
    };
    CClstCommand clst;
    refused(clst.MakeRequest(0), clst);
    refused(clst.MakeRequest(14), clst);
    refused(clst.MakeRequest(CLST_MOVIE, 1000000000), clst);
    CStblCommand stbl;
    refused(stbl.MakeRequest(4), stbl);
    refused(stbl.MakeRequest(STBL_SCHEDULE, -1, 1), stbl);
    refused(stbl.MakeFileRequest(STBL_CALENDAR, 1), stbl);
    CDeleteCommand rmcl;
    refused(rmcl.MakeRequest(11, 101000001), rmcl);
    EXPECT_EQ(rmcl.GetTableKind(), 0);
    CSequenceTableCommand rmpl;
    refused(rmpl.MakeRequest(4, 520000001), rmpl);
    refused(rmpl.MakeRequest(SEQUENCE_TABLE_PLAYLIST, -5), rmpl);
    CSystemCommand rset;
    refused(rset.MakeRequest(3), rset);
    CLcnfCommand lcnf;
    refused(lcnf.MakeRequest(QString(), LOAD_CONFIG_REBOOT), lcnf);
    refused(lcnf.MakeRequest(QStringLiteral("/import/x.xml"), 3), lcnf);
    CDateTimeCommand date;
    refused(date.MakeRequest(SystemTime {2026, 2, 0, 30, 0, 0, 0, 0}), date);
    CR40ComCommand comc;
    refused(comc.MakeRequest(QString(), QString(), 1), comc);
    refused(comc.MakeRequest(QStringLiteral("0A1"), QString(), 1), comc);
    refused(comc.MakeRequest(QStringLiteral("0G"), QString(), 1), comc);
    refused(comc.MakeRequest(QStringLiteral("0A"), QStringLiteral("1"), 1), comc);
    refused(comc.MakeRequest(QString(130, QLatin1Char('A')), QString(), 1), comc);
    refused(comc.MakeRequest(QStringLiteral("0A"), QString(), 3), comc);
    EXPECT_TRUE(comc.MakeRequest(QString(128, QLatin1Char('A')), QString(128, QLatin1Char('b')), 2));
    EXPECT_EQ(comc.GetError(), 0u);
}

TEST(R40CommandTest, CloneIsIndependent)
{
    CDeleteCommand original;
    ASSERT_TRUE(original.MakeRequest(DELETE_TABLE_MOVIE, 101000001));
    std::unique_ptr<CR40Request> clone = original.Clone();
    auto *typed = dynamic_cast<CDeleteCommand *>(clone.get());
    ASSERT_NE(typed, nullptr);
    ASSERT_TRUE(typed->MakeRequest(DELETE_TABLE_STILL, 201000002));
    typed->AnalyzeReply("<response><status>SERR</status><code>110</code></response>");

    EXPECT_EQ(original.GetQueryString(), QStringLiteral("cmd=RMCL&table=movie&index=101000001"));
    EXPECT_EQ(original.GetTableKind(), int(DELETE_TABLE_MOVIE));
    EXPECT_EQ(original.GetStatus(), R40_REPLY_NONE);
    EXPECT_EQ(typed->GetStatus(), R40_REPLY_SERR);
}

TEST(R40CommandTest, StatusDocumentsThatCannotBeAnalysed)
{
    const QList<QByteArray> broken = {
        "",
        "not xml at all",
        "<other><status>PASS</status></other>",
        "<response><code>0</code></response>",
        "<response><status>MAYBE</status></response>",
        "<response><status>SERR</status><code>x</code></response>",
        "<response><status>PASS</status>",
    };
    for (const QByteArray &document : broken) {
        CR40SystemCommand request;
        EXPECT_FALSE(request.AnalyzeReply(document)) << document.constData();
        EXPECT_EQ(request.GetStatus(), R40_REPLY_NONE);
        EXPECT_EQ(request.GetError(), R40_ERROR_ANALYZE);
    }
    CClstCommand list;
    EXPECT_FALSE(list.AnalyzeReply("<response><status>PASS</status><indexes><index>abc</index></indexes></response>"));
}

class R40CommandExchangeTest : public ConnectedClientTest {
protected:
    void send(CR40Request &request)
    {
        ASSERT_TRUE(m_http.SendCommand(&request)) << m_http.GetLastError();
    }
};

TEST_F(R40CommandExchangeTest, SystemQueryGivesThePlayersState)
{
    m_player.setSystemValue(QStringLiteral("datetime"), QStringLiteral("2026-05-06 07:08:09.010"));
    m_player.setSystemValue(QStringLiteral("fan2"), QStringLiteral("2"));
    m_player.setSystemValue(QStringLiteral("temp1"), QStringLiteral("hot"));
    CR40SystemCommand syst;
    ASSERT_TRUE(syst.MakeRequest());
    send(syst);
    ASSERT_EQ(syst.GetStatus(), R40_REPLY_PASS);
    SystemTime clock;
    ASSERT_TRUE(syst.GetDateTime(clock));
    EXPECT_EQ(clock, (SystemTime {2026, 5, 0, 6, 7, 8, 9, 10}));
    EXPECT_EQ(syst.GetVersion(), QStringLiteral("1.23"));
    EXPECT_EQ(syst.GetTimeZone(), QStringLiteral("GMT +09:00"));
    EXPECT_EQ(syst.GetSerialNumber(), QStringLiteral("R40-000001"));
    EXPECT_EQ(syst.GetMacAddress(), QStringLiteral("00-11-22-33-44-55"));
    EXPECT_EQ(syst.GetResolution(), QStringLiteral("1920x1080"));
    EXPECT_EQ(syst.GetSummerTime(), 0);
    EXPECT_EQ(syst.GetNtpStatus(), 1);
    EXPECT_EQ(syst.GetFan1(), 0);
    EXPECT_EQ(syst.GetFan2(), 2);
    EXPECT_EQ(syst.GetTemp1(), -1);
    SystemTime config;
    EXPECT_TRUE(syst.GetConfigDate(config));

    // A later SERR reply forgets the fields of the earlier one.
    m_player.setCommandFault(QStringLiteral("SYST"), Fault::serr(100));
    send(syst);
    EXPECT_EQ(syst.GetStatus(), R40_REPLY_SERR);
    EXPECT_FALSE(syst.GetDateTime(clock));
    EXPECT_TRUE(syst.GetSerialNumber().isEmpty());
}

TEST_F(R40CommandExchangeTest, DiskStateAndItsValidityTests)
{
    m_player.setDisk(1000, 400, 5000000000ULL, 6000000000ULL);
    CDrstCommand drst;
    ASSERT_TRUE(drst.MakeRequest());
    send(drst);
    quint64 total = 0;
    quint64 remain = 0;
    ASSERT_TRUE(drst.GetCapacity(total, remain));
    EXPECT_EQ(total, 1000u);
    EXPECT_EQ(remain, 400u);
    EXPECT_TRUE(drst.IsCapacityValid());
    EXPECT_FALSE(drst.IsCapacityAVValid()); // more free than in all
    EXPECT_FALSE(drst.GetCapacityAV(total, remain));

    m_player.setDiskUnknown();
    send(drst);
    EXPECT_EQ(drst.GetStatus(), R40_REPLY_PASS);
    EXPECT_FALSE(drst.IsCapacityValid());
    EXPECT_FALSE(drst.IsCapacityAVValid());
}

TEST_F(R40CommandExchangeTest, ContentTableQueries)
{
    CClstCommand clst;
    ASSERT_TRUE(clst.MakeRequest(CLST_MOVIE));
    send(clst);
    int code = 0;
    ASSERT_TRUE(clst.GetErrorCode(code));
    EXPECT_EQ(code, 115);

    m_player.setContentRow(CLST_MOVIE, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("101000002")},
        {QStringLiteral("title"), QStringLiteral("夜景")}, {QStringLiteral("size"), QStringLiteral("5000000000")},
        {QStringLiteral("link"), QStringLiteral("/import/video/B101000002.mpg")}, {QStringLiteral("width"), QStringLiteral("1920")}}));
    m_player.setContentRow(CLST_MOVIE, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("101000001")}}));
    send(clst);
    EXPECT_EQ(clst.GetIndexList(), (QList<qint32> {101000002, 101000001}));

    ASSERT_TRUE(clst.MakeRequest(CLST_MOVIE, 101000002));
    send(clst);
    ASSERT_EQ(clst.GetRowCount(), 1);
    EXPECT_EQ(clst.GetRow(0).Value(QStringLiteral("link")), QStringLiteral("/import/video/B101000002.mpg"));
    CMovieProperty movie;
    ASSERT_TRUE(clst.GetRecord(movie));
    EXPECT_EQ(movie.GetIndex(), 101000002);
    EXPECT_EQ(movie.GetTitle(), QStringLiteral("夜景"));
    EXPECT_EQ(movie.GetSize(), 5000000000ULL);

    // A row value the record refuses is invalid data.
    m_player.setContentRow(CLST_MOVIE, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("101000003")},
        {QStringLiteral("title"), QString(41, QLatin1Char('x'))}}));
    ASSERT_TRUE(clst.MakeRequest(CLST_MOVIE, 101000003));
    send(clst);
    EXPECT_FALSE(clst.GetRecord(movie));
    EXPECT_EQ(GetLastError(), quint32(ERROR_INVALID_DATA));
}

TEST_F(R40CommandExchangeTest, TableRowsAndFileReplies)
{
    m_player.setTableRow(STBL_CALENDAR, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("1")},
        {QStringLiteral("schedule"), QStringLiteral("SC510900001_TBL")}}));
    m_player.setTableRow(STBL_CALENDAR, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("2")}}));
    CStblCommand stbl;
    ASSERT_TRUE(stbl.MakeRequest(STBL_CALENDAR));
    send(stbl);
    ASSERT_EQ(stbl.GetRowCount(), 2);
    EXPECT_EQ(stbl.GetRow(0).Value(QStringLiteral("schedule")), QStringLiteral("SC510900001_TBL"));
    EXPECT_TRUE(stbl.GetRow(5).fields.isEmpty());

    m_player.setTableRow(STBL_PLAYLIST, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("520000003")},
        {QStringLiteral("title"), QStringLiteral("朝の案内")}}));
    m_player.setTableRow(STBL_PLAYLIST, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("520000004")}}));
    ASSERT_TRUE(stbl.MakeRequest(STBL_PLAYLIST, -1, 0));
    send(stbl);
    CPlaylistList playlists;
    ASSERT_TRUE(stbl.GetList(playlists));
    ASSERT_EQ(playlists.GetCount(), 2);
    EXPECT_EQ(playlists.GetAt(0)->GetTitle(), QStringLiteral("朝の案内"));
    EXPECT_EQ(playlists.GetAt(1)->GetIndex(), 520000004);

    ASSERT_TRUE(stbl.MakeFileRequest(STBL_PLAYLIST, 520000003));
    send(stbl);
    int code = 0;
    ASSERT_TRUE(stbl.GetErrorCode(code));
    EXPECT_EQ(code, 112);
    m_player.putFile(QStringLiteral("/import/db/PL520000003.xml"), "<playlist/>");
    send(stbl);
    EXPECT_EQ(stbl.GetStatus(), R40_REPLY_PASS);
    EXPECT_EQ(stbl.GetDownloadedFile(), m_work.filePath(QStringLiteral("PL520000003.xml")));
    QFile file(stbl.GetDownloadedFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("<playlist/>"));
}

TEST_F(R40CommandExchangeTest, LogFileIsWrittenUnderThePlayersName)
{
    m_player.setLogFile(QStringLiteral("R40_syslog.cab"), "MSCF....");
    CNlogCommand nlog;
    ASSERT_TRUE(nlog.MakeRequest(m_work.filePath(QStringLiteral("LogTemp/player1"))));
    send(nlog);
    EXPECT_EQ(nlog.GetStatus(), R40_REPLY_PASS);
    EXPECT_EQ(nlog.GetDownloadedFile(), m_work.filePath(QStringLiteral("LogTemp/player1/R40_syslog.cab")));
    QFile file(nlog.GetDownloadedFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("MSCF....").left(8));

    // A name that would leave the folder is not taken.
    m_player.setLogFile(QStringLiteral("../escape.cab"), "x");
    send(nlog);
    EXPECT_EQ(nlog.GetStatus(), R40_REPLY_NONE);
    EXPECT_EQ(nlog.GetError(), R40_ERROR_ANALYZE);
    EXPECT_FALSE(QFile::exists(m_work.filePath(QStringLiteral("LogTemp/escape.cab"))));
}

TEST_F(R40CommandExchangeTest, FileSizeDeletesAndComData)
{
    m_player.putFile(QStringLiteral("/import/video/A101000001.mpg"), QByteArray(12345, 'v'));
    CFinfCommand finf;
    ASSERT_TRUE(finf.MakeRequest(QStringLiteral("/import/video/A101000001.mpg")));
    send(finf);
    quint64 size = 0;
    ASSERT_TRUE(finf.GetFileSize(size));
    EXPECT_EQ(size, 12345u);
    ASSERT_TRUE(finf.MakeRequest(QStringLiteral("/import/video/B101000001.mpg")));
    send(finf);
    int code = 0;
    ASSERT_TRUE(finf.GetErrorCode(code));
    EXPECT_EQ(code, 112);
    EXPECT_FALSE(finf.GetFileSize(size));

    CDeleteCommand rmcl;
    ASSERT_TRUE(rmcl.MakeRequest(DELETE_TABLE_MOVIE, 101000001));
    send(rmcl);
    ASSERT_TRUE(rmcl.GetErrorCode(code));
    EXPECT_EQ(code, 110);
    m_player.setContentRow(CLST_MOVIE, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("101000001")}}));
    send(rmcl);
    EXPECT_EQ(rmcl.GetStatus(), R40_REPLY_PASS);
    EXPECT_TRUE(m_player.contentRows(CLST_MOVIE).isEmpty());

    m_player.setTableRow(STBL_CALENDAR, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("0")}}));
    CCalendarTableCommand dtbl;
    ASSERT_TRUE(dtbl.MakeRequest(0));
    send(dtbl);
    EXPECT_EQ(dtbl.GetStatus(), R40_REPLY_PASS);
    EXPECT_TRUE(m_player.tableRows(STBL_CALENDAR).isEmpty());

    m_player.putFile(QStringLiteral("/import/db/SC000000000.xml"), "<schedule/>");
    CSequenceTableCommand rmpl;
    ASSERT_TRUE(rmpl.MakeRequest(SEQUENCE_TABLE_SCHEDULE, 0));
    send(rmpl);
    EXPECT_EQ(rmpl.GetStatus(), R40_REPLY_PASS);
    EXPECT_FALSE(m_player.hasFile(QStringLiteral("/import/db/SC000000000.xml")));

    m_player.setComReply(QStringLiteral("06"));
    CR40ComCommand comc;
    ASSERT_TRUE(comc.MakeRequest(QStringLiteral("0201"), QStringLiteral("06"), 1));
    send(comc);
    EXPECT_EQ(comc.GetReceivedData(), QStringLiteral("06"));
}

} // namespace
