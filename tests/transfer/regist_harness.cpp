#include "regist_harness.h"

#include "core/clock.h"
#include "core/content_id.h"
#include "model/app_data.h"
#include "model/calendar_property.h"
#include "model/control_property.h"
#include "model/pin_p_property.h"
#include "model/playlist_file.h"
#include "model/playlist_property.h"
#include "model/schedule_file.h"
#include "model/schedule_property.h"
#include "model/sequence_file.h"
#include "model/sequence_property.h"
#include "model/streaming_property.h"
#include "model/telop_property.h"
#include "model/web_property.h"
#include "player/r40_http.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer.h"
#include "transfer/dlk_transfer_manager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <unistd.h>

namespace {

// Every player of these tests answers the ping.
class AnsweringPing final : public IDlkPing {
public:
    bool Open() override { return true; }
    bool Ping(const QString &, quint32) override { return true; }
    void Close() override {}
};

// A worker whose HTTP client may wait less than the default for a stalled player.
class TimedTransfer final : public CDlkTransfer {
public:
    TimedTransfer(CSystemIni *settings, CSettingIni *options, quint32 transferTimeout)
        : CDlkTransfer(settings, options)
    {
        SetPingFactory([] { return std::make_unique<AnsweringPing>(); });
        if (transferTimeout == 0)
            return;
        R40HttpParam param;
        param.mask = R40_PARAM_TRANSFER_TIMEOUT;
        param.transferTimeout = transferTimeout;
        httpClient().SetParameter(param);
    }
};

// Waits for the manager's last callback code.
class EndWaiter {
public:
    static void callback(void *context, qint32 code, qint64)
    {
        auto *self = static_cast<EndWaiter *>(context);
        if (code != DLK_CODE_END)
            return;
        std::lock_guard lock(self->m_mutex);
        self->m_ended = true;
        self->m_changed.notify_all();
    }
    bool wait(int seconds)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_ended; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_ended = false;
};

TimeValue Seconds(int seconds)
{
    return TimeValue{quint16(seconds / 3600), quint16(seconds / 60 % 60), quint16(seconds % 60), 0};
}

bool AddItem(CTimetableFile &file, qint32 number, int seconds, int type, int kind)
{
    CTimetableItem item;
    return item.Set(number, Seconds(0), Seconds(seconds), type, kind) && file.AddItem(item);
}

template <class Record>
std::unique_ptr<Record> MakeRecord(qint32 number, const QString &title, const SystemTime &edited)
{
    auto record = std::make_unique<Record>();
    record->SetIndex(number);
    record->SetTitle(title);
    record->SetCreateDate(edited);
    record->SetDeleteDate(DateValue{2030, 12, 31});
    return record;
}

} // namespace

RegistLibrary::RegistLibrary(const QString &root)
    : m_root(root)
{
    for (const QString &folder : {folder(1), folder(2), folder(3), folder(4), folder(5), folder(6), sequenceFolder(),
                                  scheduleSequenceFolder()})
        QDir().mkpath(folder);
}

QString RegistLibrary::folder(int type) const
{
    switch (type) {
    case 1: return m_root + QStringLiteral("/Video");
    case 2: return m_root + QStringLiteral("/Still");
    case 3: return m_root + QStringLiteral("/Text");
    case 4: return m_root + QStringLiteral("/Url");
    case 5: return m_root + QStringLiteral("/Flash");
    case 6: return m_root + QStringLiteral("/Audio");
    default: return QString();
    }
}

bool RegistLibrary::writeFile(const QString &path, const QByteArray &data, const QDateTime &writeTime)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        return false;
    file.close();
    if (!file.open(QIODevice::ReadWrite))
        return false;
    return file.setFileTime(writeTime, QFileDevice::FileModificationTime);
}

QByteArray RegistLibrary::makeData(qint64 size, quint32 seed)
{
    QByteArray data(size, '\0');
    QRandomGenerator generator(seed);
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), size / 4);
    return data;
}

std::unique_ptr<CPropertyBase> RegistLibrary::media(int type, qint32 number, const QString &fileName,
                                                    const QByteArray &data, const SystemTime &edited,
                                                    const QDateTime &written)
{
    std::unique_ptr<CPropertyBase> record = CreateProperty(type);
    record->SetIndex(number);
    record->SetTitle(QStringLiteral("素材 %1").arg(number));
    record->SetCreateDate(edited);
    record->SetSize(quint64(data.size()));
    static_cast<CMediaProperty &>(*record).SetLink(fileName);
    if (!writeFile(folder(type) + QLatin1Char('/') + fileName, data, written))
        return nullptr;
    return record;
}

void RegistLibrary::setFolders(CDlkRequestSend &request) const
{
    request.SetTextFolder(folder(3));
    request.SetPlaylistFolders(playlistFolder(), sequenceFolder());
    request.SetGroupFolders(scheduleFolder(), scheduleSequenceFolder());
}

bool RegistLibrary::addEveryType(CDlkRequestSend &request, const SystemTime &edited)
{
    m_movieData = makeData(3 * 1024 * 1024 + 123, 1);
    std::unique_ptr<CPropertyBase> movie = media(1, RegistSet::kMovie, QStringLiteral("clip.mpg"), m_movieData, edited);
    return movie && request.Add(movie.get())
        && addMedia(request, 2, RegistSet::kStill, QStringLiteral("photo.jpg"), 40000, edited)
        && addTelops(request, edited) && addWebContents(request, edited)
        && addMedia(request, 5, RegistSet::kFlash, QStringLiteral("anim.swf"), 9000, edited)
        && addMedia(request, 6, RegistSet::kAudio, QStringLiteral("bgm.mp3"), 70000, edited)
        && addRecordsWithoutFiles(request, edited) && addTimetables(request, edited);
}

bool RegistLibrary::addMedia(CDlkRequestSend &request, int type, qint32 number, const QString &fileName, qint64 size,
                             const SystemTime &edited)
{
    std::unique_ptr<CPropertyBase> record = media(type, number, fileName, makeData(size, quint32(number)), edited);
    return record && request.Add(record.get());
}

bool RegistLibrary::addTelops(CDlkRequestSend &request, const SystemTime &edited)
{
    const QDateTime written(QDate(2026, 3, 2), QTime(8, 0));
    auto bitmap = MakeRecord<CTelopProperty>(RegistSet::kTelopBitmap, QStringLiteral("お知らせ"), edited);
    bitmap->SetLink(QStringLiteral("301000001.bmp"));
    auto text = MakeRecord<CTelopProperty>(RegistSet::kTelopText, QStringLiteral("文字だけ"), edited);
    text->SetLink(QStringLiteral("301000002.txt"));
    return writeFile(folder(3) + QStringLiteral("/301000001.txt"), "telop text 1", written)
        && writeFile(folder(3) + QStringLiteral("/301000001.bmp"), makeData(5000, 3), written)
        && writeFile(folder(3) + QStringLiteral("/301000002.txt"), "telop text 2", written)
        && request.Add(bitmap.get()) && request.Add(text.get());
}

bool RegistLibrary::addWebContents(CDlkRequestSend &request, const SystemTime &edited)
{
    const QDateTime written(QDate(2026, 3, 3), QTime(7, 0));
    const QString site = folder(4) + QStringLiteral("/site1");
    const bool files = writeFile(site + QStringLiteral("/index.html"), "<html>page</html>", written)
        && writeFile(site + QStringLiteral("/img/a.png"), makeData(2000, 4), written)
        && writeFile(site + QStringLiteral("/css/s.css"), "body{}", written)
        && writeFile(site + QStringLiteral("/bad name.png"), "x", written)
        && writeFile(site + QStringLiteral("/ＷＩＤＥ/w.png"), "y", written)
        && writeFile(outsideFile(), "not for the player", written);
    // A link that would pull a file from outside the page's folder.
    if (!files || ::symlink(QFile::encodeName(QFileInfo(outsideFile()).path()).constData(),
                            QFile::encodeName(site + QStringLiteral("/linked")).constData()) != 0)
        return false;
    auto page = MakeRecord<CWebProperty>(RegistSet::kWebPage, QStringLiteral("館内案内"), edited);
    page->SetUrl(QStringLiteral("site1/index.html"));
    auto address = MakeRecord<CWebProperty>(RegistSet::kWebAddress, QStringLiteral("天気"), edited);
    address->SetUrl(QStringLiteral("http://weather.example.invalid/today"));
    return request.Add(page.get()) && request.Add(address.get());
}

bool RegistLibrary::addRecordsWithoutFiles(CDlkRequestSend &request, const SystemTime &edited)
{
    auto control = MakeRecord<CControlProperty>(RegistSet::kControl, QStringLiteral("電源"), edited);
    auto streaming = MakeRecord<CStreamingProperty>(RegistSet::kStreaming, QStringLiteral("カメラ"), edited);
    auto pinP = MakeRecord<CPinPProperty>(RegistSet::kPinP, QStringLiteral("子画面"), edited);
    return control->SetCtrlType(CControlProperty::CTRL_COM) && control->SetCtrlParams(QStringLiteral("0A0B"), QString())
        && control->SetPort(1) && streaming->SetAddress(QStringLiteral("rtsp://127.0.0.1/cam")) && streaming->SetPort(554)
        && pinP->SetLink(QStringLiteral("HDMI1")) && request.Add(control.get()) && request.Add(streaming.get())
        && request.Add(pinP.get());
}

// The playlist plays one sequence of the movie; the schedule plays the
// playlist and a sequence of the still; the calendar row plays the schedule.
bool RegistLibrary::addTimetables(CDlkRequestSend &request, const SystemTime &edited)
{
    CSequenceFile playlistSequence;
    CSequenceFile scheduleSequence;
    CPlaylistFile playlist;
    CScheduleFile schedule;
    const bool files = playlistSequence.SetIndex(RegistSet::kPlaylistSequence)
        && AddItem(playlistSequence, RegistSet::kMovie, 60, 1, 0) && playlistSequence.SaveTo(sequenceFolder())
        && scheduleSequence.SetIndex(RegistSet::kScheduleSequence)
        && AddItem(scheduleSequence, RegistSet::kStill, 600, 2, 0) && scheduleSequence.SaveTo(scheduleSequenceFolder())
        && playlist.SetIndex(RegistSet::kPlaylist) && playlist.SetTitle(QStringLiteral("ロビー"))
        && AddItem(playlist, RegistSet::kPlaylistSequence, 60, 54, 1) && playlist.SaveTo(playlistFolder())
        && schedule.SetIndex(RegistSet::kSchedule) && AddItem(schedule, RegistSet::kPlaylist, 3600, 52, 1)
        && AddItem(schedule, RegistSet::kScheduleSequence, 600, 54, 12) && schedule.SaveTo(scheduleFolder());
    if (!files)
        return false;
    auto sequence1 = MakeRecord<CSequenceProperty>(RegistSet::kPlaylistSequence, QString(), edited);
    auto sequence2 = MakeRecord<CSequenceProperty>(RegistSet::kScheduleSequence, QString(), edited);
    auto playlistRecord = MakeRecord<CPlaylistProperty>(RegistSet::kPlaylist, QStringLiteral("ロビー"), edited);
    auto scheduleRecord = MakeRecord<CScheduleProperty>(RegistSet::kSchedule, QStringLiteral("平日"), edited);
    auto calendar = MakeRecord<CCalendarProperty>(RegistSet::kCalendar, QString(), edited);
    return calendar->SetStartDate(DateValue{2026, 4, 1}) && calendar->SetEndDate(DateValue{2026, 4, 30})
        && calendar->SetFlag(CCalendarProperty::FLAG_PLAY) && calendar->SetSchedule(RegistSet::kSchedule)
        && request.Add(sequence1.get()) && request.Add(playlistRecord.get()) && request.Add(sequence2.get())
        && request.Add(scheduleRecord.get()) && request.Add(calendar.get());
}

RegistPlayers::RegistPlayers(const QString &root, int count)
    : m_root(root)
{
    for (int i = 0; i < count; ++i) {
        m_players.push_back(std::make_unique<EmulatedPlayer>(QStringLiteral("127.0.0.%1").arg(i + 2)));
        m_endpoints.append(RegistEndpoint{m_players.back()->address(), 0});
    }
}

RegistPlayers::RegistPlayers(const QString &root, const QList<RegistEndpoint> &endpoints)
    : m_root(root)
    , m_endpoints(endpoints)
{
}

RegistPlayers::~RegistPlayers() = default;

bool RegistPlayers::start()
{
    CAppData appData;
    if (!appData.SetDataRoot(m_root))
        return false;
    m_dataFolder = appData.GetDataFolder();
    QList<qint32> numbers;
    for (int i = 0; i < count(); ++i) {
        if (i < int(m_players.size())) {
            if (!player(i).start())
                return false;
            m_endpoints[i].port = player(i).port();
        }
        numbers.append(number(i));
        PlayerRecord record;
        record.Number = number(i);
        record.Name = QStringLiteral("Shop%1").arg(i + 1);
        record.IPAddress = m_endpoints[i].address;
        record.Port = m_endpoints[i].port;
        record.Pass = QString::fromLatin1(EmulatedPlayer::kDefaultPassword);
        m_playerList.AddPlayer(record);
    }
    m_status.SetPlayers(numbers);
    return true;
}

QString RegistPlayers::playerFolder(int i) const
{
    return m_dataFolder + QStringLiteral("/KDP-R40/Shop%1").arg(i + 1);
}

bool RegistPlayers::send(CDlkRequestList &requests, const RegistLibrary &library, bool append, int waitSeconds,
                         const std::function<void(CDlkTransferManager &)> &whileRunning)
{
    CAppData appData;
    if (!appData.SetDataRoot(m_root))
        return false;
    EndWaiter waiter;
    CDlkTransferManager manager;
    manager.SetPcDlkFolder(m_root);
    manager.SetPcDlkFolder(appData);
    for (int type : {1, 2, 4, 5, 6})
        manager.SetContentFolder(type, library.folder(type));
    manager.SetPlayerList(&m_playerList, m_dataFolder + QStringLiteral("/Player.xml"));
    manager.SetStatusDocument(&m_status);
    manager.SetSystemSettings(m_settings);
    manager.SetAppendSend(append);
    manager.SetMultiSend(m_sendNumber != 0, m_sendNumber);
    manager.EnableCallback(true, &EndWaiter::callback, &waiter);
    const quint32 timeout = m_transferTimeout;
    manager.SetWorkerFactory([timeout](CSystemIni *settings, CSettingIni *options) {
        return std::make_unique<TimedTransfer>(settings, options, timeout);
    });
    QList<qint32> numbers;
    for (int i = 0; i < count(); ++i)
        numbers.append(number(i));
    if (!manager.StartTransfer(numbers, &requests))
        return false;
    if (whileRunning)
        whileRunning(manager);
    const bool ended = waiter.wait(waitSeconds);
    if (!ended)
        manager.Stop();
    manager.FinishTransfer();
    return ended;
}
