// Registration send of 1 GiB of contents (7 movies of 128 MiB and 64 stills
// of 2 MiB) to 20 emulated players, 5 at a time, through the transfer
// manager, against bench/regist_send_baseline.sh, which PUTs the same files
// with `curl -H 'Expect:'` at the same concurrency. Wall time and CPU of both
// are measured in the same run as ratios.
//
// The players run in a child process of their own (this executable with
// --player-farm), so the CPU measured is the sender's alone: the manager's
// process for the registration, the script's processes for the baseline.
// All players keep their uploads in one shared folder (on /dev/shm when it
// has room), so the disk holds one copy of the contents, not twenty.

#include "regist_harness.h"

#include "core/remote_path.h"
#include "model/media_property.h"
#include "transfer/dlk_request_list.h"
#include "transfer/dlk_request_send.h"
#include "transfer/dlk_transfer_worker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <iostream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kPlayers = 20;
constexpr int kSessions = 5;
constexpr int kMovies = 7;
constexpr qint64 kMovieBytes = 128LL * 1024 * 1024;
constexpr int kStills = 64;
constexpr qint64 kStillBytes = 2LL * 1024 * 1024;
constexpr int kRounds = 2; // each round runs both, in turns first

const SystemTime kEdited{2026, 3, 0, 10, 10, 0, 0, 0};

// -- the player farm (child process) -----------------------------------------

// Serves count players whose "/import" is the shared folder. Prints their
// ports on one line, then takes "reset" (forget every registration and
// upload) and "quit" from standard input.
int RunPlayerFarm(int count, const QString &shared)
{
    std::vector<std::unique_ptr<EmulatedPlayer>> players;
    std::string ports = "ports";
    for (int i = 0; i < count; ++i) {
        players.push_back(std::make_unique<EmulatedPlayer>(QStringLiteral("127.0.0.%1").arg(i + 2)));
        EmulatedPlayer &player = *players.back();
        const QString import = player.rootFolder() + QStringLiteral("/import");
        if (!player.start() || !QDir(import).removeRecursively()
            || ::symlink(QFile::encodeName(shared).constData(), QFile::encodeName(import).constData()) != 0)
            return 1;
        ports += ' ' + std::to_string(player.port());
    }
    std::cout << ports << std::endl;
    std::string line;
    while (std::getline(std::cin, line) && line != "quit") {
        if (line == "reset") {
            for (auto &player : players) {
                for (int table = 1; table <= 13; ++table)
                    player->clearContentTable(table);
                player->clearRequests();
            }
            QDir(shared).removeRecursively();
            QDir().mkpath(shared);
        }
        std::cout << "done" << std::endl;
    }
    return 0;
}

// -- the sender side ----------------------------------------------------------

double CpuSeconds(int who)
{
    rusage usage {};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Measure {
    double wall = 0;
    double cpu = 0;
};

class SendBench {
public:
    bool setUp(const QString &folder);
    bool startFarm(const QString &shared);
    void stopFarm();
    bool resetPlayers();
    // One registration to every player; a negative wall time on failure.
    Measure runRegistration(int round);
    Measure runBaseline();

private:
    bool writeBaselineLists();

    QString m_folder;
    std::unique_ptr<RegistLibrary> m_library;
    CDlkRequestSend m_send;
    QProcess m_farm;
    QList<RegistEndpoint> m_endpoints;
};

bool SendBench::setUp(const QString &folder)
{
    m_folder = folder;
    m_library = std::make_unique<RegistLibrary>(folder + QStringLiteral("/library"));
    m_library->setFolders(m_send);
    for (int i = 0; i < kMovies + kStills; ++i) {
        const bool movie = i < kMovies;
        const int type = movie ? CONTENT_MOVIE : CONTENT_IMAGE;
        const qint32 number = (movie ? 101000001 : 201000001) + i;
        const QString name = QString::number(number) + (movie ? QStringLiteral(".mpg") : QStringLiteral(".jpg"));
        const auto record = m_library->media(type, number, name,
                                             RegistLibrary::makeData(movie ? kMovieBytes : kStillBytes, quint32(i)),
                                             kEdited);
        if (!record || !m_send.Add(record.get()))
            return false;
    }
    return writeBaselineLists();
}

// The same files to the same player paths as the registration's first send.
bool SendBench::writeBaselineLists()
{
    QFile files(m_folder + QStringLiteral("/files.txt"));
    if (!files.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&files);
    for (int i = 0; i < m_send.GetCount(); ++i) {
        const auto &record = static_cast<const CMediaProperty &>(*m_send.GetAt(i));
        const QString local = m_library->folder(record.GetContentType()) + QLatin1Char('/') + record.GetLink();
        const QString remote = MakeRemoteContentPath(record.GetContentType(), QLatin1Char('A'), record.GetIndex(), local);
        out << local << '\t' << QString::fromLatin1(QUrl::toPercentEncoding(remote)) << '\n';
    }
    return true;
}

bool SendBench::startFarm(const QString &shared)
{
    m_farm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_farm.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--player-farm"), QString::number(kPlayers), shared});
    if (!m_farm.waitForReadyRead(30000))
        return false;
    const QStringList words = QString::fromLatin1(m_farm.readLine()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() != kPlayers + 1)
        return false;
    QFile players(m_folder + QStringLiteral("/players.txt"));
    if (!players.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < kPlayers; ++i) {
        m_endpoints.append(RegistEndpoint{QStringLiteral("127.0.0.%1").arg(i + 2), quint16(words[i + 1].toUInt())});
        players.write(QStringLiteral("%1 %2\n").arg(m_endpoints[i].address).arg(m_endpoints[i].port).toLatin1());
    }
    return true;
}

void SendBench::stopFarm()
{
    m_farm.write("quit\n");
    if (!m_farm.waitForFinished(30000))
        m_farm.kill();
}

bool SendBench::resetPlayers()
{
    m_farm.write("reset\n");
    return m_farm.waitForReadyRead(60000) && m_farm.readLine().startsWith("done");
}

Measure SendBench::runRegistration(int round)
{
    RegistPlayers players(m_folder + QStringLiteral("/base%1").arg(round), m_endpoints);
    CDlkRequestList requests;
    if (!players.start() || !requests.Add(&m_send))
        return {-1, 0};
    const double cpu = CpuSeconds(RUSAGE_SELF);
    QElapsedTimer timer;
    timer.start();
    const bool ended = players.send(requests, *m_library, false, 3600);
    Measure measure {double(timer.nsecsElapsed()) / 1e9, CpuSeconds(RUSAGE_SELF) - cpu};
    for (int i = 0; i < kPlayers; ++i) {
        if (!ended || players.status().GetSendStatus(players.number(i)) != DLK_STATE_DONE)
            return {-1, 0};
    }
    return measure;
}

Measure SendBench::runBaseline()
{
    const double cpu = CpuSeconds(RUSAGE_CHILDREN);
    QElapsedTimer timer;
    timer.start();
    QProcess script;
    script.setProcessChannelMode(QProcess::ForwardedChannels);
    script.start(QStringLiteral(TELV_BASELINE_SCRIPT),
                 {m_folder + QStringLiteral("/players.txt"), m_folder + QStringLiteral("/files.txt"),
                  QString::number(kSessions),
                  QStringLiteral("%1:%2").arg(EmulatedPlayer::kDefaultUser, EmulatedPlayer::kDefaultPassword)});
    const bool ok = script.waitForFinished(3600 * 1000) && script.exitStatus() == QProcess::NormalExit
        && script.exitCode() == 0;
    Measure measure {double(timer.nsecsElapsed()) / 1e9, CpuSeconds(RUSAGE_CHILDREN) - cpu};
    return ok ? measure : Measure {-1, 0};
}

SendBench *g_bench = nullptr;

void BM_RegistSendVsCurl(benchmark::State &state)
{
    Measure sender;
    Measure baseline;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            Measure s;
            Measure b;
            if (round % 2 == 0) {
                s = g_bench->resetPlayers() ? g_bench->runRegistration(round) : Measure {-1, 0};
                b = g_bench->resetPlayers() ? g_bench->runBaseline() : Measure {-1, 0};
            } else {
                b = g_bench->resetPlayers() ? g_bench->runBaseline() : Measure {-1, 0};
                s = g_bench->resetPlayers() ? g_bench->runRegistration(round) : Measure {-1, 0};
            }
            if (s.wall < 0 || b.wall < 0) {
                state.SkipWithError("a send did not complete");
                return;
            }
            sender.wall += s.wall;
            sender.cpu += s.cpu;
            baseline.wall += b.wall;
            baseline.cpu += b.cpu;
        }
        state.SetIterationTime(sender.wall / kRounds);
    }
    state.counters["regist_wall_s"] = sender.wall / kRounds;
    state.counters["curl_wall_s"] = baseline.wall / kRounds;
    state.counters["wall_ratio"] = sender.wall / baseline.wall;
    state.counters["regist_cpu_s"] = sender.cpu / kRounds;
    state.counters["curl_cpu_s"] = baseline.cpu / kRounds;
    state.counters["cpu_ratio"] = sender.cpu / baseline.cpu;
    std::printf("1 GiB to %d players, %d at a time: registration %.2f s wall %.2f s CPU, curl %.2f s wall %.2f s "
                "CPU; ratio wall %.3f CPU %.3f\n",
                kPlayers, kSessions, sender.wall / kRounds, sender.cpu / kRounds, baseline.wall / kRounds,
                baseline.cpu / kRounds, sender.wall / baseline.wall, sender.cpu / baseline.cpu);
}

BENCHMARK(BM_RegistSendVsCurl)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// The shared upload folder: on /dev/shm when it holds the contents twice over.
QString SharedFolder(const QString &fallback)
{
    const QStorageInfo shm(QStringLiteral("/dev/shm"));
    const qint64 needed = 2 * (kMovies * kMovieBytes + kStills * kStillBytes);
    if (shm.isValid() && shm.bytesAvailable() > needed)
        return QStringLiteral("/dev/shm/telv-regist-bench-%1").arg(::getpid());
    return fallback;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::string(argv[1]) == "--player-farm") {
        QCoreApplication farm(argc, argv);
        return RunPlayerFarm(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("curl")).isEmpty()) {
        std::fprintf(stderr, "regist_send_bench: the curl tool is needed as the baseline (apt-get install curl)\n");
        return 1;
    }
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/telv-regist-bench-XXXXXX"));
    SendBench bench;
    g_bench = &bench;
    const QString shared = SharedFolder(dir.filePath(QStringLiteral("shared")));
    if (!dir.isValid() || !QDir().mkpath(shared) || !bench.setUp(dir.path()) || !bench.startFarm(shared)) {
        std::fprintf(stderr, "regist_send_bench: set-up failed under %s\n", qPrintable(dir.path()));
        QDir(shared).removeRecursively();
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench.stopFarm();
    QDir(shared).removeRecursively();
    return 0;
}
