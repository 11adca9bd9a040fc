// Contents registration end to end: a content set of every type registered on
// three emulated players through the transfer manager, as the main window
// sends it; a second send of the unchanged set; a changed movie; an upload
// cut in the middle and resumed by appending; a web package.

#include "regist_harness.h"
#include "transfer_test_util.h"

#include "support/connection_use.h"

#include "core/clock.h"
#include "model/calendar_list.h"
#include "model/contents_list.h"
#include "model/movie_list.h"
#include "model/movie_property.h"
#include "model/web_list.h"
#include "model/web_property.h"
#include "player/clst_command.h"
#include "player/stbl_command.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer_worker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Row = EmulatedPlayer::Row;
using Fault = EmulatedPlayer::Fault;

const SystemTime kLibraryEdited = MakeTime(2026, 3, 10, 10, 0, 0, 500);

QStringList UploadPaths(const EmulatedPlayer &player)
{
    QStringList paths;
    for (const EmulatedPlayer::Request &request : player.requests()) {
        if (request.path == QLatin1String("/upload.php") && request.parameter(QStringLiteral("mkdir")).isEmpty())
            paths.append(request.parameter(QStringLiteral("href")));
    }
    return paths;
}

QString RowField(const QList<Row> &rows, const QString &index, const QString &field)
{
    for (const Row &row : rows) {
        if (EmulatedPlayer::fieldText(row, QStringLiteral("index")) == index)
            return EmulatedPlayer::fieldText(row, field);
    }
    return QStringLiteral("<no row>");
}

class RegistIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_players.start());
        auto request = std::make_unique<CDlkRequestSend>();
        m_library.setFolders(*request);
        ASSERT_TRUE(m_library.addEveryType(*request, kLibraryEdited));
        m_send = std::move(request);
    }

    // Sends the queue to every player; each must end with the pair given.
    void sendAll(quint32 state = DLK_STATE_DONE, quint32 detail = 0)
    {
        CDlkRequestList requests;
        ASSERT_TRUE(requests.Add(m_send.get()));
        ASSERT_TRUE(m_players.send(requests, m_library));
        for (int i = 0; i < m_players.count(); ++i) {
            TransferStatusRecord record;
            ASSERT_TRUE(m_players.status().GetPlayerStatus(m_players.number(i), record));
            EXPECT_EQ(record.SendSts, qint32(state)) << "player " << i << " detail " << record.ErrorCode;
            EXPECT_EQ(record.ErrorCode, qint32(detail)) << "player " << i;
        }
    }

    QByteArray playerFile(int i, const QString &remote) { return m_players.player(i).file(remote); }

    QTemporaryDir m_dir;
    RegistLibrary m_library{m_dir.filePath(QStringLiteral("library"))};
    RegistPlayers m_players{m_dir.filePath(QStringLiteral("base")), 3};
    std::unique_ptr<CDlkRequestSend> m_send;
};

TEST_F(RegistIntegrationTest, EveryTypeLandsOnEveryPlayer)
{
    sendAll();
    for (int i = 0; i < m_players.count(); ++i) {
        EmulatedPlayer &player = m_players.player(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(playerFile(i, QStringLiteral("/import/video/A101000001.mpg")), m_library.movieData());
        for (const char *remote : {"/import/still/A201000001.jpg", "/import/text/A301000001.txt",
                                   "/import/text/A301000001.bmp", "/import/text/A301000002.txt",
                                   "/import/web/A401000001/index.html", "/import/web/A401000001/img/a.png",
                                   "/import/web/A401000001/css/s.css", "/import/swf/A501000001.swf",
                                   "/import/aud/A601000001.mp3", "/import/db/PL520000042.xml",
                                   "/import/db/SQ501000042.xml", "/import/db/SC510900001.xml",
                                   "/import/db/SQ512900001.xml", "/import/db/Calendar.xml", "/import/group.xml",
                                   "/import/db/property.xml"})
            EXPECT_TRUE(player.hasFile(QString::fromLatin1(remote))) << remote;
        EXPECT_FALSE(player.hasFile(QStringLiteral("/import/text/A301000002.bmp"))) << "a text telop has no bitmap";
        EXPECT_FALSE(player.hasFile(QStringLiteral("/import/web/A401000001/bad name.png")));
        EXPECT_FALSE(player.hasFile(QStringLiteral("/import/web/A401000001/linked/secret.txt")))
            << "links are not followed";
        for (const QString &path : UploadPaths(player))
            EXPECT_FALSE(path.contains(QStringLiteral("secret")) || path.contains(QStringLiteral("w.png")))
                << qPrintable(path);

        // The player registered each content with its file.
        EXPECT_EQ(RowField(player.contentRows(CLST_MOVIE), QStringLiteral("101000001"), QStringLiteral("link")),
                  QStringLiteral("/import/video/A101000001.mpg"));
        EXPECT_EQ(RowField(player.contentRows(CLST_MOVIE), QStringLiteral("101000001"), QStringLiteral("ddate")),
                  QStringLiteral("2026-03-01 09:30:15.250"));
        EXPECT_EQ(RowField(player.contentRows(CLST_WEB), QStringLiteral("401000001"), QStringLiteral("link")),
                  QStringLiteral("/import/web/A401000001/index.html"));
        EXPECT_EQ(RowField(player.contentRows(CLST_WEB), QStringLiteral("401000002"), QStringLiteral("link")),
                  QStringLiteral("http://weather.example.invalid/today"));
        EXPECT_EQ(RowField(player.contentRows(CLST_TELOP), QStringLiteral("301000001"), QStringLiteral("filename")),
                  QStringLiteral("301000001"));
        EXPECT_EQ(player.contentRows(CLST_COM_CONTROL).size(), 1);
        EXPECT_EQ(player.contentRows(CLST_STREAMING).size(), 1);
        EXPECT_EQ(player.contentRows(CLST_PINP).size(), 1);
        EXPECT_EQ(player.tableRows(STBL_PLAYLIST).size(), 1);
        EXPECT_EQ(player.tableRows(STBL_SCHEDULE).size(), 1);
        ASSERT_EQ(player.tableRows(STBL_CALENDAR).size(), 1);
        EXPECT_EQ(EmulatedPlayer::fieldText(player.tableRows(STBL_CALENDAR)[0], QStringLiteral("schedule")),
                  QStringLiteral("SC510900001_TBL"));

        // The last entry was the calendar: its file holds the row, deleted and
        // inserted, and the group file names it alone.
        const QByteArray calendarFile = playerFile(i, QStringLiteral("/import/db/Calendar.xml"));
        EXPECT_TRUE(calendarFile.contains("<delete>\r\n\t\t\t<index>7</index>")) << calendarFile.constData();
        EXPECT_TRUE(calendarFile.contains("<schedule>SC510900001_TBL</schedule>"));
        const QByteArray groupFile = playerFile(i, QStringLiteral("/import/group.xml"));
        EXPECT_EQ(groupFile.count("<calendar "), 1) << groupFile.constData();
        EXPECT_FALSE(groupFile.contains("<property")) << "a calendar has no property file";

        // One load per queued entry, each after the entry's files, each on a
        // connection of its own beside the one kept alive for the rest.
        const QList<EmulatedPlayer::Request> loads = player.requests(QStringLiteral("LTBL"));
        EXPECT_EQ(loads.size(), m_send->GetCount());
        for (const EmulatedPlayer::Request &load : loads)
            EXPECT_EQ(load.parameter(QStringLiteral("file")), QStringLiteral("/import/group.xml"));
        ExpectConnectionsAsDocumented(player.requests());

        // The list files of the player folder hold what was registered.
        CMovieList movies;
        ASSERT_TRUE(movies.Load(m_players.playerFolder(i) + QStringLiteral("/VideoList.xml")));
        ASSERT_EQ(movies.GetCount(), 1);
        EXPECT_EQ(movies.GetAt(0)->GetIndex(), RegistSet::kMovie);
        CCalendarList calendars;
        ASSERT_TRUE(calendars.Load(m_players.playerFolder(i) + QStringLiteral("/CalendarList.xml")));
        EXPECT_EQ(calendars.GetCount(), 1) << "fetched again after the calendar was sent";
        for (const char *file : {"StillList.xml", "TextList.xml", "UrlList.xml", "FlashList.xml", "AudioList.xml",
                                 "ControlList.xml", "StreamingList.xml", "PinPList.xml", "PlaylistList.xml",
                                 "ScheduleList.xml"})
            EXPECT_TRUE(QFileInfo::exists(m_players.playerFolder(i) + QLatin1Char('/') + QLatin1String(file))) << file;

        // The registration files (the property file holds the web and camera
        // passwords) do not outlive the send.
        EXPECT_EQ(QDir(m_players.playerFolder(i))
                      .entryList({QStringLiteral("property.xml"), QStringLiteral("group.xml"),
                                  QStringLiteral("Calendar.xml")}, QDir::Files),
                  QStringList());

        TransferStatusRecord status;
        ASSERT_TRUE(m_players.status().GetPlayerStatus(m_players.number(i), status));
        EXPECT_EQ(status.CheckFileTotal, m_send->GetCount());
        EXPECT_EQ(status.CheckFileCount, m_send->GetCount());
        EXPECT_EQ(status.SendFileTotal, m_send->GetCount());
        EXPECT_EQ(status.SendFileCount, m_send->GetCount());
    }
}

TEST_F(RegistIntegrationTest, SecondSendOfUnchangedContentsUploadsNoContentFile)
{
    sendAll();
    for (int i = 0; i < m_players.count(); ++i)
        m_players.player(i).clearRequests();
    sendAll();
    for (int i = 0; i < m_players.count(); ++i) {
        // The calendar row is always sent; nothing else travels.
        EXPECT_EQ(UploadPaths(m_players.player(i)),
                  QStringList({QStringLiteral("/import/db/Calendar.xml"), QStringLiteral("/import/group.xml")}))
            << i;
        EXPECT_EQ(m_players.player(i).requests(QStringLiteral("LTBL")).size(), 1);
    }
}

TEST_F(RegistIntegrationTest, ChangedMovieGoesToTheOtherLetterAndBack)
{
    sendAll();
    const QByteArray second = RegistLibrary::makeData(m_library.movieData().size(), 99);
    auto movie = m_library.media(1, RegistSet::kMovie, QStringLiteral("clip.mpg"), second,
                                 MakeTime(2026, 3, 20, 8, 0), QDateTime(QDate(2026, 3, 20), QTime(7, 59)));
    ASSERT_TRUE(movie && m_send->Add(movie.get()));
    for (int i = 0; i < m_players.count(); ++i)
        m_players.player(i).clearRequests();
    sendAll();
    for (int i = 0; i < m_players.count(); ++i) {
        EmulatedPlayer &player = m_players.player(i);
        EXPECT_EQ(playerFile(i, QStringLiteral("/import/video/B101000001.mpg")), second);
        EXPECT_EQ(playerFile(i, QStringLiteral("/import/video/A101000001.mpg")), m_library.movieData())
            << "the file the player showed is not overwritten";
        EXPECT_EQ(RowField(player.contentRows(CLST_MOVIE), QStringLiteral("101000001"), QStringLiteral("link")),
                  QStringLiteral("/import/video/B101000001.mpg"));
        EXPECT_EQ(UploadPaths(player).filter(QStringLiteral("/import/video/")),
                  QStringList({QStringLiteral("/import/video/B101000001.mpg")}));
    }

    const QByteArray third = RegistLibrary::makeData(1000, 100);
    movie = m_library.media(1, RegistSet::kMovie, QStringLiteral("clip.mpg"), third, MakeTime(2026, 3, 21, 8, 0),
                            QDateTime(QDate(2026, 3, 21), QTime(7, 59)));
    ASSERT_TRUE(movie && m_send->Add(movie.get()));
    sendAll();
    for (int i = 0; i < m_players.count(); ++i)
        EXPECT_EQ(playerFile(i, QStringLiteral("/import/video/A101000001.mpg")), third);
}

TEST_F(RegistIntegrationTest, CutUploadResumesByAppendingOnTheNextSend)
{
    const qint64 cut = 1000000;
    // Cut twice: an upload lost without an answer on a reused connection is
    // sent once more on a fresh one, and that one is cut too.
    Fault cutTwice = Fault::reset(cut);
    cutTwice.times = 2;
    m_players.player(1).setUploadFault(cutTwice);
    CDlkRequestList requests;
    ASSERT_TRUE(requests.Add(m_send.get()));
    ASSERT_TRUE(m_players.send(requests, m_library));
    EXPECT_EQ(m_players.status().GetSendStatus(m_players.number(0)), DLK_STATE_DONE);
    EXPECT_EQ(m_players.status().GetSendStatus(m_players.number(2)), DLK_STATE_DONE);
    TransferStatusRecord failed;
    ASSERT_TRUE(m_players.status().GetPlayerStatus(m_players.number(1), failed));
    EXPECT_EQ(failed.SendSts, DLK_STATE_UPLOAD_FAILED);
    EXPECT_EQ(failed.ErrorCode, DLK_DETAIL_DISCONNECT);
    EXPECT_EQ(failed.ErrorIndex, RegistSet::kMovie);
    const QByteArray partial = playerFile(1, QStringLiteral("/import/video/A101000001.mpg"));
    ASSERT_EQ(partial.size(), cut);
    CMovieList errors;
    ASSERT_TRUE(errors.Load(m_players.playerFolder(1) + QStringLiteral("/ErrVideoList.xml")));
    ASSERT_EQ(errors.GetCount(), 1);

    m_players.player(1).clearRequests();
    CDlkRequestList again;
    ASSERT_TRUE(again.Add(m_send.get()));
    ASSERT_TRUE(m_players.send(again, m_library));
    EXPECT_EQ(m_players.status().GetSendStatus(m_players.number(1)), DLK_STATE_DONE);
    EXPECT_EQ(playerFile(1, QStringLiteral("/import/video/A101000001.mpg")), m_library.movieData());
    QStringList appends;
    qint64 bodyBytes = 0;
    for (const EmulatedPlayer::Request &request : m_players.player(1).requests()) {
        if (request.parameter(QStringLiteral("href")) == QLatin1String("/import/video/A101000001.mpg")) {
            appends.append(request.parameter(QStringLiteral("append")));
            bodyBytes += request.bodyBytes;
        }
    }
    EXPECT_EQ(appends, QStringList({QString::number(cut)})) << "one upload, from where the cut one ended";
    EXPECT_EQ(bodyBytes, m_library.movieData().size() - cut);
    ASSERT_TRUE(errors.Load(m_players.playerFolder(1) + QStringLiteral("/ErrVideoList.xml")));
    EXPECT_EQ(errors.GetCount(), 0) << "a sent content leaves the error list";
}

TEST_F(RegistIntegrationTest, WebPackageReplacesThePagesUnderTheOtherLetter)
{
    sendAll();
    const QString package = m_dir.filePath(QStringLiteral("package/index.html"));
    const QDateTime written(QDate(2026, 3, 5), QTime(10, 0));
    ASSERT_TRUE(RegistLibrary::writeFile(package, "<html>new</html>", written));
    ASSERT_TRUE(RegistLibrary::writeFile(m_dir.filePath(QStringLiteral("package/js/app.js")), "run()", written));
    CDlkRequestSend packaged;
    m_library.setFolders(packaged);
    ASSERT_TRUE(packaged.Add(m_send->GetAt(m_send->Find(RegistSet::kWebPage, 4))));
    packaged.SetPackagePath(package);
    m_send = std::make_unique<CDlkRequestSend>();
    ASSERT_TRUE(m_send->CopyFrom(&packaged));
    sendAll();
    for (int i = 0; i < m_players.count(); ++i) {
        EXPECT_EQ(playerFile(i, QStringLiteral("/import/web/B401000001/index.html")), QByteArray("<html>new</html>"));
        EXPECT_EQ(playerFile(i, QStringLiteral("/import/web/B401000001/js/app.js")), QByteArray("run()"));
        EXPECT_EQ(playerFile(i, QStringLiteral("/import/web/A401000001/index.html")), QByteArray("<html>page</html>"));
        EXPECT_EQ(RowField(m_players.player(i).contentRows(CLST_WEB), QStringLiteral("401000001"),
                           QStringLiteral("link")),
                  QStringLiteral("/import/web/B401000001/index.html"));
        CWebList pages;
        ASSERT_TRUE(pages.Load(m_players.playerFolder(i) + QStringLiteral("/UrlList.xml")));
        const int position = pages.FindCode(RegistSet::kWebPage);
        ASSERT_GE(position, 0);
        EXPECT_EQ(static_cast<const CWebProperty *>(pages.GetAt(position))->GetUrl(), package)
            << "the player's list keeps where the pages came from";
    }
}

} // namespace
