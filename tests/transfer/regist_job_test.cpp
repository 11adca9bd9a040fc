// The send decisions of a registration job on one emulated player: what is
// re-registered without its file, resumed, skipped or sent whole, the file
// names the job refuses, the disk margins, the numbered registration files
// of multi-send and the calendar send status of the queue.

#include "regist_harness.h"
#include "transfer_test_util.h"
#include "worker_test_support.h"

#include "core/system_ini.h"
#include "model/calendar_property.h"
#include "model/control_property.h"
#include "model/img_list.h"
#include "model/movie_list.h"
#include "model/movie_property.h"
#include "model/web_property.h"
#include "player/clst_command.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer_worker.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Fault = EmulatedPlayer::Fault;
using Request = EmulatedPlayer::Request;

const SystemTime kEdited = MakeTime(2026, 3, 10, 10, 0);
const SystemTime kEditedLater = MakeTime(2026, 3, 12, 9, 0);
const QString kMovieRemote = QStringLiteral("/import/video/A101000001.mpg");

class RegistJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_players.start());
        m_library.setFolders(m_send);
        m_movieData = RegistLibrary::makeData(300000, 7);
    }

    EmulatedPlayer &player() { return m_players.player(0); }

    std::unique_ptr<CPropertyBase> movie(const SystemTime &edited = kEdited)
    {
        return m_library.media(CONTENT_MOVIE, RegistSet::kMovie, QStringLiteral("clip.mpg"), m_movieData, edited);
    }

    // Queues the record (replacing its entry) and sends the queue; the
    // player's requests are those of this send only.
    TransferStatusRecord send(const CPropertyBase *record = nullptr)
    {
        if (record) {
            EXPECT_TRUE(m_send.Add(record));
        }
        player().clearRequests();
        m_requests.RemoveAll();
        EXPECT_TRUE(m_requests.Add(&m_send));
        EXPECT_TRUE(m_players.send(m_requests, m_library, m_append, 60));
        TransferStatusRecord status;
        EXPECT_TRUE(m_players.status().GetPlayerStatus(m_players.number(0), status));
        return status;
    }

    QList<Request> uploadsOf(const QString &remote)
    {
        QList<Request> found;
        for (const Request &request : player().requests()) {
            if (request.path == QLatin1String("/upload.php") && request.parameter(QStringLiteral("href")) == remote)
                found.append(request);
        }
        return found;
    }

    int uploadCount()
    {
        int count = 0;
        for (const Request &request : player().requests())
            count += request.path == QLatin1String("/upload.php") ? 1 : 0;
        return count;
    }

    // The state a cut upload leaves: the error list entry with the local
    // file's write time, and part of the file on the player.
    void leaveCutUpload(const SystemTime &fileTime, qint64 partialSize)
    {
        auto entry = movie();
        ASSERT_TRUE(entry->SetDDate(fileTime));
        CMovieList errors;
        ASSERT_TRUE(errors.Add(entry.get()));
        ASSERT_TRUE(QDir().mkpath(m_players.playerFolder(0)));
        ASSERT_TRUE(errors.Save(m_players.playerFolder(0) + QStringLiteral("/ErrVideoList.xml"), 0));
        player().putFile(kMovieRemote, m_movieData.left(partialSize));
    }

    int errorEntries()
    {
        CMovieList errors;
        EXPECT_TRUE(errors.Load(m_players.playerFolder(0) + QStringLiteral("/ErrVideoList.xml")));
        return errors.GetCount();
    }

    static std::unique_ptr<CWebProperty> webRecord(qint32 number, const QString &url)
    {
        auto page = std::make_unique<CWebProperty>();
        page->SetIndex(number);
        page->SetCreateDate(kEdited);
        page->SetUrl(url);
        return page;
    }

    static std::unique_ptr<CCalendarProperty> calendarRow()
    {
        auto calendar = std::make_unique<CCalendarProperty>();
        calendar->SetIndex(RegistSet::kCalendar);
        calendar->SetStartDate(DateValue{2026, 4, 1});
        calendar->SetEndDate(DateValue{2026, 4, 2});
        return calendar;
    }

    // The write time RegistLibrary::media gives its files.
    static SystemTime libraryFileTime() { return MakeTime(2026, 3, 1, 9, 30, 15, 250); }

    QTemporaryDir m_dir;
    RegistLibrary m_library{m_dir.filePath(QStringLiteral("library"))};
    RegistPlayers m_players{m_dir.filePath(QStringLiteral("base")), 1};
    CDlkRequestSend m_send;
    CDlkRequestList m_requests;
    QByteArray m_movieData;
    bool m_append = true;
};

TEST_F(RegistJobTest, EditedRecordWithTheSameFileIsOnlyReregistered)
{
    ASSERT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    auto edited = movie(kEditedLater);
    edited->SetTitle(QStringLiteral("新しい題"));
    EXPECT_EQ(send(edited.get()).SendSts, DLK_STATE_DONE);

    EXPECT_TRUE(uploadsOf(kMovieRemote).isEmpty()) << "the player holds this very file";
    EXPECT_TRUE(uploadsOf(QStringLiteral("/import/video/B101000001.mpg")).isEmpty());
    EXPECT_EQ(uploadCount(), 2) << "property and group file";
    EXPECT_TRUE(player().file(QStringLiteral("/import/db/property.xml")).contains("<update table=\"MOVIE_TBL\""));
    const auto rows = player().contentRows(CLST_MOVIE);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(EmulatedPlayer::fieldText(rows[0], QStringLiteral("title")), QStringLiteral("新しい題"));
    EXPECT_EQ(EmulatedPlayer::fieldText(rows[0], QStringLiteral("link")), kMovieRemote);
}

TEST_F(RegistJobTest, PlayerListFileThatDoesNotReadIsLeftAsItIs)
{
    const QString listFile = m_players.playerFolder(0) + QStringLiteral("/VideoList.xml");
    ASSERT_TRUE(RegistLibrary::writeFile(listFile, "<contentlist ver=\"1.0\" type=\"1\"><content>",
                                         QDateTime::currentDateTime()));
    EXPECT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    EXPECT_EQ(ReadFileBytes(listFile), QByteArray("<contentlist ver=\"1.0\" type=\"1\"><content>"));

    QFile::remove(listFile);
    ASSERT_TRUE(m_send.Add(m_library.media(CONTENT_MOVIE, RegistSet::kMovie + 1, QStringLiteral("b.mpg"),
                                           m_movieData, kEdited).get()));
    EXPECT_EQ(send().SendSts, DLK_STATE_DONE);
    CMovieList list;
    ASSERT_TRUE(list.Load(listFile));
    EXPECT_EQ(list.GetCount(), 1) << "a missing file is an empty list; the current movie is not sent again";
}

TEST_F(RegistJobTest, EntriesSentBeforeAFailureAreInThePlayerLists)
{
    ASSERT_TRUE(m_send.Add(m_library.media(CONTENT_IMAGE, RegistSet::kStill, QStringLiteral("photo.jpg"),
                                           RegistLibrary::makeData(5000, 3), kEdited).get()));
    // Every upload longer than 64 KiB breaks off: the still goes, the movie does not.
    player().setUploadFault(Fault::reset(64 * 1024));
    EXPECT_EQ(send(movie().get()).SendSts, DLK_STATE_UPLOAD_FAILED);
    CImgList stills;
    ASSERT_TRUE(stills.Load(m_players.playerFolder(0) + QStringLiteral("/StillList.xml")));
    EXPECT_EQ(stills.GetCount(), 1);
    CMovieList movies;
    ASSERT_TRUE(movies.Load(m_players.playerFolder(0) + QStringLiteral("/VideoList.xml")));
    EXPECT_EQ(movies.GetCount(), 0);
    EXPECT_EQ(errorEntries(), 1);
}

TEST_F(RegistJobTest, EditedRecordWithAnotherFileOfTheSameSizeGoesToTheOtherLetter)
{
    ASSERT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    m_movieData = RegistLibrary::makeData(m_movieData.size(), 8);
    auto changed = m_library.media(CONTENT_MOVIE, RegistSet::kMovie, QStringLiteral("clip.mpg"), m_movieData,
                                   kEditedLater, QDateTime(QDate(2026, 3, 1), QTime(9, 30, 15, 251)));
    EXPECT_EQ(send(changed.get()).SendSts, DLK_STATE_DONE);
    EXPECT_EQ(player().file(QStringLiteral("/import/video/B101000001.mpg")), m_movieData)
        << "a write time one millisecond apart is another file";
}

TEST_F(RegistJobTest, StillNumberZeroAlwaysGoesToTheOtherLetter)
{
    const QByteArray data = RegistLibrary::makeData(4000, 9);
    auto still = m_library.media(CONTENT_IMAGE, 0, QStringLiteral("standby.jpg"), data, kEdited);
    ASSERT_EQ(send(still.get()).SendSts, DLK_STATE_DONE);
    EXPECT_EQ(player().file(QStringLiteral("/import/still/A000000000.jpg")), data);
    ASSERT_EQ(send().SendSts, DLK_STATE_DONE);
    EXPECT_EQ(player().file(QStringLiteral("/import/still/B000000000.jpg")), data) << "sent again though unchanged";
    ASSERT_EQ(send().SendSts, DLK_STATE_DONE);
    EXPECT_EQ(uploadsOf(QStringLiteral("/import/still/A000000000.jpg")).size(), 1);
}

TEST_F(RegistJobTest, CutUploadOfAnUnchangedFileIsAppended)
{
    leaveCutUpload(libraryFileTime(), 1000);
    ASSERT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    const QList<Request> uploads = uploadsOf(kMovieRemote);
    ASSERT_EQ(uploads.size(), 1);
    EXPECT_EQ(uploads[0].parameter(QStringLiteral("append")), QStringLiteral("1000"));
    EXPECT_EQ(player().file(kMovieRemote), m_movieData);
    EXPECT_EQ(errorEntries(), 0);
}

TEST_F(RegistJobTest, CompletePartialCopyIsNotSentAgain)
{
    leaveCutUpload(libraryFileTime(), m_movieData.size());
    ASSERT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    EXPECT_TRUE(uploadsOf(kMovieRemote).isEmpty());
    EXPECT_EQ(player().contentRows(CLST_MOVIE).size(), 1) << "registered all the same";
    EXPECT_EQ(errorEntries(), 0);
}

TEST_F(RegistJobTest, FileEditedAfterACutUploadIsSentWhole)
{
    leaveCutUpload(MakeTime(2026, 2, 1, 12, 0), 1000);
    ASSERT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    const QList<Request> uploads = uploadsOf(kMovieRemote);
    ASSERT_EQ(uploads.size(), 1);
    EXPECT_TRUE(uploads[0].parameter(QStringLiteral("append")).isEmpty());
    EXPECT_EQ(uploads[0].bodyBytes, m_movieData.size());
    EXPECT_EQ(errorEntries(), 0);
}

TEST_F(RegistJobTest, WithoutAppendOrWithALargerPartialTheFileIsSentWhole)
{
    leaveCutUpload(libraryFileTime(), 1000);
    m_append = false;
    ASSERT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    ASSERT_EQ(uploadsOf(kMovieRemote).size(), 1);
    EXPECT_TRUE(uploadsOf(kMovieRemote)[0].parameter(QStringLiteral("append")).isEmpty());

    player().clearContentTable(CLST_MOVIE);
    m_append = true;
    leaveCutUpload(libraryFileTime(), 1000);
    player().putFile(kMovieRemote, m_movieData + QByteArray("tail"));
    ASSERT_EQ(send().SendSts, DLK_STATE_DONE);
    ASSERT_EQ(uploadsOf(kMovieRemote).size(), 1);
    EXPECT_TRUE(uploadsOf(kMovieRemote)[0].parameter(QStringLiteral("append")).isEmpty());
    EXPECT_EQ(player().file(kMovieRemote), m_movieData);
}

TEST_F(RegistJobTest, MissingOrUnsafeLocalFilesEndTheJobBeforeAnyUpload)
{
    auto missing = movie();
    static_cast<CMovieProperty &>(*missing).SetLink(QStringLiteral("gone.mpg"));
    TransferStatusRecord status = send(missing.get());
    EXPECT_EQ(status.SendSts, DLK_STATE_INTERNAL);
    EXPECT_EQ(status.ErrorCode, DLK_DETAIL_FILE_NOT_FOUND);
    EXPECT_EQ(status.ErrorIndex, RegistSet::kMovie);
    EXPECT_EQ(uploadCount(), 0);

    // A stored name may not lead out of the content folder.
    static_cast<CMovieProperty &>(*missing).SetLink(QStringLiteral("../Still/clip.mpg"));
    ASSERT_TRUE(RegistLibrary::writeFile(m_library.folder(CONTENT_IMAGE) + QStringLiteral("/clip.mpg"), "x",
                                         QDateTime::currentDateTime()));
    status = send(missing.get());
    EXPECT_EQ(status.SendSts, DLK_STATE_INTERNAL);
    EXPECT_EQ(status.ErrorCode, DLK_DETAIL_INTERNAL);
    EXPECT_EQ(uploadCount(), 0);
}

TEST_F(RegistJobTest, WebPageOutsideItsFolderIsNotFound)
{
    const auto page = webRecord(RegistSet::kWebPage, QStringLiteral("../outside/secret.txt"));
    ASSERT_TRUE(RegistLibrary::writeFile(m_library.outsideFile(), "secret", QDateTime::currentDateTime()));
    const TransferStatusRecord status = send(page.get());
    EXPECT_EQ(status.SendSts, DLK_STATE_INTERNAL);
    EXPECT_EQ(status.ErrorCode, DLK_DETAIL_FILE_NOT_FOUND);
    EXPECT_EQ(uploadCount(), 0);
}

TEST_F(RegistJobTest, PackageOnlyReplacesThePagesOfAWebPageThePlayerHolds)
{
    const QString package = m_dir.filePath(QStringLiteral("package/index.html"));
    ASSERT_TRUE(RegistLibrary::writeFile(package, "<html/>", QDateTime::currentDateTime()));
    const auto page = webRecord(RegistSet::kWebPage, QStringLiteral("site/index.html"));
    ASSERT_TRUE(m_send.Add(page.get()));
    m_send.SetPackagePath(package);
    TransferStatusRecord status = send();
    EXPECT_EQ(status.SendSts, DLK_STATE_COMMAND_FAILED) << "the player does not hold the page";
    EXPECT_EQ(status.ErrorCode, 115);

    CDlkRequestSend address;
    m_library.setFolders(address);
    ASSERT_TRUE(address.Add(webRecord(RegistSet::kWebAddress, QStringLiteral("http://example.invalid/")).get()));
    address.SetPackagePath(package);
    player().setContentRow(CLST_WEB,
                           EmulatedPlayer::makeRow({{QStringLiteral("index"), QStringLiteral("401000002")},
                                                    {QStringLiteral("link"), QStringLiteral("http://example.invalid/")}}));
    m_requests.RemoveAll();
    ASSERT_TRUE(m_requests.Add(&address));
    ASSERT_TRUE(m_players.send(m_requests, m_library));
    ASSERT_TRUE(m_players.status().GetPlayerStatus(m_players.number(0), status));
    EXPECT_EQ(status.SendSts, DLK_STATE_INTERNAL) << "a web address has no pages to replace";
    EXPECT_EQ(status.ErrorCode, DLK_DETAIL_INTERNAL);
    EXPECT_EQ(uploadCount(), 0);
}

TEST_F(RegistJobTest, WebAddressAndControlAreReregisteredWithoutFileChecks)
{
    const auto address = webRecord(RegistSet::kWebAddress, QStringLiteral("https://signage.example.invalid/"));
    CControlProperty control;
    control.SetIndex(RegistSet::kControl);
    control.SetCreateDate(kEdited);
    control.SetCtrlType(CControlProperty::CTRL_VOLUME);
    control.SetCtrlParams(QStringLiteral("40"), QString());
    ASSERT_TRUE(m_send.Add(address.get()));
    ASSERT_EQ(send(&control).SendSts, DLK_STATE_DONE);

    address->SetCreateDate(kEditedLater);
    address->SetTitle(QStringLiteral("天気"));
    control.SetCreateDate(kEditedLater);
    ASSERT_TRUE(m_send.Add(address.get()));
    const TransferStatusRecord status = send(&control);
    EXPECT_EQ(status.SendSts, DLK_STATE_DONE) << status.ErrorCode;
    EXPECT_EQ(EmulatedPlayer::fieldText(player().contentRows(CLST_WEB).first(), QStringLiteral("title")),
              QStringLiteral("天気"));
    EXPECT_EQ(player().requests(QStringLiteral("LTBL")).size(), 2);
}

TEST_F(RegistJobTest, MultiSendNumbersTheRegistrationFiles)
{
    m_players.setMultiSend(3);
    ASSERT_TRUE(m_send.Add(movie().get()));
    ASSERT_EQ(send(calendarRow().get()).SendSts, DLK_STATE_DONE);
    EXPECT_EQ(uploadsOf(QStringLiteral("/import/db/property3.xml")).size(), 1);
    EXPECT_EQ(uploadsOf(QStringLiteral("/import/db/Calendar3.xml")).size(), 1);
    EXPECT_EQ(uploadsOf(QStringLiteral("/import/group3.xml")).size(), 2) << "one for each entry";
    for (const Request &load : player().requests(QStringLiteral("LTBL")))
        EXPECT_EQ(load.parameter(QStringLiteral("file")), QStringLiteral("/import/group3.xml"));
    // The numbered registration files do not outlive the send either.
    for (const char *name : {"/property3.xml", "/Calendar3.xml", "/group3.xml"})
        EXPECT_FALSE(QFile::exists(m_players.playerFolder(0) + QLatin1String(name))) << name;
}

TEST_F(RegistJobTest, DiskMarginsHoldAtTheirLargestValue)
{
    const auto settings = OpenSystemIni(m_dir.path(), "[ExOption]\r\nR40CheckFreeThreshold=18446744073709551615\r\n");
    m_players.setSettings(settings.get());
    const TransferStatusRecord status = send(movie().get());
    EXPECT_EQ(status.SendSts, DLK_STATE_DISK_FULL) << "the margin does not wrap round to a small number";
    EXPECT_EQ(status.ErrorCode, DLK_DETAIL_DISK_FULL);
    EXPECT_EQ(uploadCount(), 0);
}

TEST_F(RegistJobTest, NothingToSendNeedsNoFreeSpace)
{
    ASSERT_EQ(send(movie().get()).SendSts, DLK_STATE_DONE);
    player().setDisk(64ULL << 30, 0, 128ULL << 30, 0);
    const TransferStatusRecord status = send();
    EXPECT_EQ(status.SendSts, DLK_STATE_DONE);
    EXPECT_EQ(uploadCount(), 0);
    EXPECT_EQ(status.SendFileCount, 1) << "a current content counts as done";
}

TEST_F(RegistJobTest, CalendarEntryTakesItsSendStatus)
{
    ASSERT_EQ(send(calendarRow().get()).SendSts, DLK_STATE_DONE);
    auto queued = [this] {
        const auto *request = static_cast<const CDlkRequestSend *>(m_requests.GetAt(0));
        return static_cast<const CCalendarProperty *>(request->GetAt(0))->GetStatus();
    };
    EXPECT_EQ(queued(), 3);

    player().setCommandFault(QStringLiteral("LTBL"), Fault::serr(101));
    const TransferStatusRecord status = send();
    EXPECT_EQ(status.SendSts, DLK_STATE_COMMAND_FAILED);
    EXPECT_EQ(status.ErrorCode, 101);
    EXPECT_EQ(status.ErrorIndex, RegistSet::kCalendar);
    EXPECT_EQ(queued(), 4);
}

} // namespace
