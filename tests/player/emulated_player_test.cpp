// The emulated player as the transfer tests use it: registration through the
// group file, one player per loopback address, and its request log.

#include "connected_client.h"
#include "player/clst_command.h"
#include "player/ltbl_command.h"
#include "player/r40_system_command.h"
#include "player/stbl_command.h"

#include <QFile>

namespace {

using Row = EmulatedPlayer::Row;

class EmulatedPlayerTest : public ConnectedClientTest {
protected:
    void upload(const QString &remote, const QByteArray &data)
    {
        const QString local = m_work.filePath(QStringLiteral("upload.tmp"));
        QFile file(local);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
        file.close();
        ASSERT_TRUE(m_http.SendFile(local, remote, 0)) << m_http.GetLastError();
    }
};

TEST_F(EmulatedPlayerTest, LoadTableRegistersTheFilesOfTheGroup)
{
    m_player.setContentRow(CLST_STILL, EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("201000001")},
        {QStringLiteral("title"), QStringLiteral("old")}, {QStringLiteral("width"), QStringLiteral("640")}}));
    upload(QStringLiteral("/import/db/property.xml"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<content ver=\"1.0\" date=\"2026-04-01\" time=\"12:00:00\">"
        "<delete table=\"MOVIE_TBL\"><index>101000001</index></delete>"
        "<insert table=\"MOVIE_TBL\"><index>101000001</index><title>movie</title>"
        "<link>/import/video/A101000001.mpg</link></insert>"
        "<delete table=\"WEB_TBL\"><index>501000002</index></delete>"
        "<insert table=\"WEB_TBL\"><index>501000002</index><title>flash</title></insert>"
        "<update table=\"STILL_TBL\" index=\"201000001\"><title>new</title></update>"
        "</content>");
    upload(QStringLiteral("/import/db/Calendar.xml"),
        "<calendar ver=\"1.0\"><CALENDAR_TBL><delete><index>4</index></delete>"
        "<insert><index>4</index><sdate>2026-04-01</sdate><flag>1</flag><schedule>SC510900001_TBL</schedule></insert>"
        "</CALENDAR_TBL></calendar>");
    upload(QStringLiteral("/import/db/PL520000001.xml"), "<playlist ver=\"2.2\"><title>朝</title><items><item/></items></playlist>");
    upload(QStringLiteral("/import/group.xml"),
        "<group ver=\"1.0\"><property date=\"2026-04-01\" time=\"12:00:00\">property.xml</property>"
        "<calendar date=\"2026-04-01\" time=\"12:00:00\">Calendar.xml</calendar>"
        "<playlist date=\"2026-04-01\" time=\"12:00:00\">PL520000001.xml</playlist></group>");

    CLtblCommand ltbl;
    ASSERT_TRUE(ltbl.MakeRequest(QStringLiteral("/import/group.xml")));
    ASSERT_TRUE(m_http.SendCommand(&ltbl));
    EXPECT_EQ(ltbl.GetStatus(), R40_REPLY_PASS);

    const QList<Row> movies = m_player.contentRows(CLST_MOVIE);
    ASSERT_EQ(movies.size(), 1);
    EXPECT_EQ(EmulatedPlayer::fieldText(movies[0], QStringLiteral("link")), QStringLiteral("/import/video/A101000001.mpg"));
    EXPECT_EQ(m_player.contentRows(CLST_FLASH).size(), 1);
    EXPECT_TRUE(m_player.contentRows(CLST_WEB).isEmpty());
    const QList<Row> stills = m_player.contentRows(CLST_STILL);
    ASSERT_EQ(stills.size(), 1);
    EXPECT_EQ(EmulatedPlayer::fieldText(stills[0], QStringLiteral("title")), QStringLiteral("new"));
    EXPECT_EQ(EmulatedPlayer::fieldText(stills[0], QStringLiteral("width")), QStringLiteral("640"));

    CStblCommand stbl;
    ASSERT_TRUE(stbl.MakeRequest(STBL_CALENDAR));
    ASSERT_TRUE(m_http.SendCommand(&stbl));
    ASSERT_EQ(stbl.GetRowCount(), 1);
    EXPECT_EQ(stbl.GetRow(0).Value(QStringLiteral("schedule")), QStringLiteral("SC510900001_TBL"));
    ASSERT_TRUE(stbl.MakeRequest(STBL_PLAYLIST, 520000001));
    ASSERT_TRUE(m_http.SendCommand(&stbl));
    ASSERT_EQ(stbl.GetRowCount(), 1);
    EXPECT_EQ(stbl.GetRow(0).Value(QStringLiteral("title")), QStringLiteral("朝"));

    // Sending the same registration again replaces rows instead of adding them.
    ASSERT_TRUE(m_http.SendCommand(&ltbl));
    EXPECT_EQ(m_player.contentRows(CLST_MOVIE).size(), 1);
    EXPECT_EQ(m_player.tableRows(STBL_CALENDAR).size(), 1);
}

TEST_F(EmulatedPlayerTest, EachPlayerHasItsOwnAddressStateAndLog)
{
    EmulatedPlayer second(QStringLiteral("127.0.0.3"));
    ASSERT_TRUE(second.start());
    second.setSystemValue(QStringLiteral("serial"), QStringLiteral("R40-000002"));
    CR40Http other;
    R40HttpParam param;
    param.mask = R40_PARAM_PORT;
    param.port = second.port();
    ASSERT_TRUE(other.SetParameter(param));
    ASSERT_TRUE(other.Init());
    ASSERT_TRUE(other.Connect(second.address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
        QString::fromLatin1(EmulatedPlayer::kDefaultPassword)));

    CClstCommand first;
    ASSERT_TRUE(first.MakeRequest(CLST_AUDIO));
    ASSERT_TRUE(m_http.SendCommand(&first));
    CR40SystemCommand syst;
    ASSERT_TRUE(syst.MakeRequest());
    ASSERT_TRUE(other.SendCommand(&syst));
    EXPECT_EQ(syst.GetSerialNumber(), QStringLiteral("R40-000002"));

    ASSERT_EQ(m_player.requests().size(), 1);
    EXPECT_EQ(m_player.requests()[0].command(), QStringLiteral("CLST"));
    EXPECT_EQ(m_player.requests()[0].parameter(QStringLiteral("table")), QStringLiteral("6"));
    EXPECT_EQ(m_player.requests()[0].code, 115);
    ASSERT_EQ(second.requests().size(), 1);
    EXPECT_EQ(second.requests()[0].status, QStringLiteral("PASS"));
    other.Close();
}

} // namespace
