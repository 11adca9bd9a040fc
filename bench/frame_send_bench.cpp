// The main frame's own share of a contents send: R40SendContents of movies
// to emulated players (5 at a time) through the whole frame (offscreen: send
// information, list saves, the status pane's refresh, the posted progress and
// end messages), against the same registration request sent through the
// transfer manager alone, measured in the same run, the two taking turns at
// going first. The frame's overhead is
// (frame wall - manager wall) / frame wall.
//
// Defaults: 20 players, 4 movies of 32 MiB (128 MiB per player, 2.5 GiB in
// all per run). TELV_BENCH_MOVIE_MIB and TELV_BENCH_MOVIES scale it (1 GiB:
// 8 movies of 128 MiB); the players keep their uploads under /dev/shm when
// it has room.

#include "app/main_frame.h"
#include "app/telv_q9_app.h"
#include "core/clock.h"
#include "core/profile_ini.h"
#include "core/data_folders.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "model/movie_property.h"
#include "ops/frame_helpers.h"
#include "ops/send_info.h"
#include "ops/send_operations.h"
#include "support/emulated_player.h"
#include "transfer/dlk_ping.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer.h"
#include "transfer/dlk_transfer_manager.h"
#include "ui/contents/contents_panes.h"
#include "ui/players/players_panes.h"
#include "ui/timetable/timetable_panes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kPlayers = 20;
constexpr qint32 kFirstMovie = 101000001;

class AnsweringPing final : public IDlkPing {
public:
    bool Open() override { return true; }
    bool Ping(const QString &, quint32) override { return true; }
    void Close() override {}
};

int EnvInt(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// Fresh players for a run: their records in the player list take the new ports.
std::vector<std::unique_ptr<EmulatedPlayer>> StartPlayers()
{
    std::vector<std::unique_ptr<EmulatedPlayer>> players;
    CHarlPlayerXml &list = GetAppData().GetPlayerXml();
    for (int i = 0; i < kPlayers; ++i) {
        players.push_back(std::make_unique<EmulatedPlayer>(QStringLiteral("127.0.0.%1").arg(i + 2)));
        if (!players.back()->start())
            return {};
        PlayerRecord record;
        record.Number = 21 + i;
        record.Name = QStringLiteral("Shop%1").arg(i + 1);
        record.IPAddress = players.back()->address();
        record.Port = players.back()->port();
        record.Pass = QString::fromLatin1(EmulatedPlayer::kDefaultPassword);
        const bool replaced = list.UpdatePlayer(record.Number, [&record](PlayerRecord &stored) {
            stored = record;
            return true;
        });
        if (!replaced)
            list.AddPlayer(record);
    }
    return players;
}

bool WaitUntil(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return true;
}

std::atomic<bool> g_managerEnded{false};

void OnManagerNotice(void *, qint32 code, qint64)
{
    if (code == DLK_CODE_END)
        g_managerEnded = true;
}

qint64 SendThroughFrame(CMainFrame &frame, const QList<qint32> &movies)
{
    const auto players = StartPlayers();
    QElapsedTimer timer;
    timer.start();
    frame.R40SendContents(1, movies);
    WaitUntil([&] { return !frame.IsBusy(); });
    return timer.elapsed();
}

qint64 SendThroughManager(const QList<qint32> &movies)
{
    const auto players = StartPlayers();
    CContentsStore &store = GetContentFolders();
    CDlkRequestSend request;
    SetGroupFolders(request, store, GetAppData().GetDataRoot());
    CSendInfoBuilder builder(store, request, GetLocalTime(), 30, GetAppData().GetDataRoot(), nullptr);
    const DateValue keep = builder.GetKeepLimit();
    QList<qint32> targets;
    for (int i = 0; i < kPlayers; ++i)
        targets.append(21 + i);
    QElapsedTimer timer;
    timer.start();
    if (!QueueContents(builder, store, 1, movies, keep) || !builder.Commit())
        return -1;
    CDlkRequestList requests;
    requests.Add(&request);
    CDlkTransferManager &manager = GetTransferManager();
    g_managerEnded = false;
    manager.EnableCallback(true, &OnManagerNotice, nullptr);
    if (!manager.StartTransfer(targets, &requests))
        return -1;
    while (!g_managerEnded)
        QThread::msleep(1);
    manager.FinishTransfer();
    return timer.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/frame-bench-XXXXXX")
                                                                 : QString());
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("TMPDIR", home.path().toLocal8Bit());
    CTelvQ9App app(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path() + QStringLiteral("/.config"));
    RegisterContentsPanes();
    RegisterTimetablePanes();
    RegisterPlayersPanes();
    app.SetInstanceName(QStringLiteral("Q9Mutex-frame-bench-%1").arg(QCoreApplication::applicationPid()));
    const QString base = QDir(home.path()).filePath(QStringLiteral("Documents"));
    QDir().mkpath(DataFolderOf(base));
    CProfileIni(QDir(DataFolderOf(base)).filePath(QStringLiteral("Q9S.ini")))
        .WriteString(QStringLiteral("ExOption"), QStringLiteral("R40RetryEnable"), QStringLiteral("0"));
    if (!app.InitInstance() || !app.GetMainWnd()) {
        std::fprintf(stderr, "the frame did not start\n");
        return 1;
    }
    CMainFrame &frame = *app.GetMainWnd();
    GetTransferManager().SetWorkerFactory([](CSystemIni *settings, CSettingIni *options) {
        auto worker = std::make_unique<CDlkTransfer>(settings, options);
        worker->SetPingFactory([] { return std::make_unique<AnsweringPing>(); });
        return worker;
    });

    const int movieCount = EnvInt("TELV_BENCH_MOVIES", 4);
    const qint64 movieBytes = qint64(EnvInt("TELV_BENCH_MOVIE_MIB", 32)) * 1024 * 1024;
    CContentsStore &store = GetContentFolders();
    QList<qint32> movies;
    for (int i = 0; i < movieCount; ++i) {
        const QString name = QStringLiteral("clip%1.mpg").arg(i);
        QFile file(store.GetContentFolder(1) + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray block(1024 * 1024, char('a' + i));
        for (qint64 done = 0; done < movieBytes; done += block.size())
            file.write(block);
        file.close();
        CMovieProperty record;
        record.SetIndex(kFirstMovie + i);
        record.SetLink(name);
        record.SetSize(quint64(movieBytes));
        record.SetFileDate(ToSystemTime(QFileInfo(file).lastModified().toLocalTime()));
        store.GetList(1)->Add(&record);
        movies.append(kFirstMovie + i);
    }
    CGroupRecord group;
    group.Number = 1;
    group.Name = QStringLiteral("Bench");
    for (int i = 0; i < kPlayers; ++i)
        group.Players.append(21 + i);
    GetAppData().GetGroupXml().AddGroup(group);
    StartPlayers();
    frame.SelectGroup(group.Name, 0);

    std::printf("frame_send_bench: %d players, %d movies of %lld MiB\n", kPlayers, movieCount,
                movieBytes / (1024 * 1024));
    qint64 frameTotal = 0;
    qint64 managerTotal = 0;
    constexpr int kRounds = 2;
    for (int round = 0; round < kRounds; ++round) {
        // The two take turns going first, so neither always pays for the
        // first send's start-up.
        const bool managerFirst = round % 2 == 0;
        const qint64 first = managerFirst ? SendThroughManager(movies) : SendThroughFrame(frame, movies);
        const qint64 second = managerFirst ? SendThroughFrame(frame, movies) : SendThroughManager(movies);
        const qint64 manager = managerFirst ? first : second;
        const qint64 viaFrame = managerFirst ? second : first;
        if (manager < 0 || viaFrame < 0)
            return 1;
        std::printf("round %d (%s first): manager %lld ms, frame %lld ms\n", round + 1,
                    managerFirst ? "manager" : "frame", manager, viaFrame);
        managerTotal += manager;
        frameTotal += viaFrame;
    }
    const double overhead = frameTotal > 0 ? double(frameTotal - managerTotal) / double(frameTotal) : 0.0;
    std::printf("frame overhead: %.1f %% of wall time (frame %lld ms, manager %lld ms)\n", overhead * 100.0,
                frameTotal, managerTotal);
    app.ExitInstance();
    return 0;
}
