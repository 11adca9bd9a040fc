// Upload throughput of CR40Http::SendFile for a 200 MB file to the emulated
// player, against `curl -T FILE -H 'Expect:'` to the same server in the same
// run, and how soon Abort ends a waiting upload and a waiting command.

#include "player/r40_http.h"
#include "player/r40_system_command.h"
#include "support/emulated_player.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <thread>

namespace {

using Fault = EmulatedPlayer::Fault;

constexpr qint64 kFileBytes = 200LL * 1024 * 1024;

QTemporaryDir *g_dir = nullptr;
EmulatedPlayer *g_player = nullptr;

QString SourceFile() { return g_dir->filePath("upload.bin"); }

bool MakeSourceFile()
{
    QFile file(SourceFile());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator generator(2026);
    QByteArray chunk(4 * 1024 * 1024, '\0');
    for (qint64 written = 0; written < kFileBytes; written += chunk.size()) {
        generator.fillRange(reinterpret_cast<quint32 *>(chunk.data()), chunk.size() / 4);
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

bool Connect(CR40Http &http)
{
    R40HttpParam param;
    param.mask = R40_PARAM_PORT;
    param.port = g_player->port();
    return http.SetParameter(param) && http.Init()
        && http.Connect(g_player->address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
            QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
}

double Seconds(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e9; }

double TimeSendFile(CR40Http &http, const QString &remote)
{
    QElapsedTimer timer;
    timer.start();
    return http.SendFile(SourceFile(), remote, 0) ? Seconds(timer) : -1;
}

double TimeCurl(const QString &remote)
{
    const QString url = QStringLiteral("http://%1:%2/upload.php?href=%3")
                            .arg(g_player->address())
                            .arg(g_player->port())
                            .arg(QString::fromLatin1(QUrl::toPercentEncoding(remote)));
    const QStringList arguments {"-sS", "-o", "/dev/null", "-w", "%{http_code}", "-T", SourceFile(), "-H", "Expect:", "-u",
        QStringLiteral("%1:%2").arg(EmulatedPlayer::kDefaultUser, EmulatedPlayer::kDefaultPassword), url};
    QElapsedTimer timer;
    timer.start();
    QProcess curl;
    curl.start("curl", arguments);
    const bool ok = curl.waitForFinished(600000) && curl.exitStatus() == QProcess::NormalExit && curl.exitCode() == 0
        && curl.readAllStandardOutput() == "200";
    return ok ? Seconds(timer) : -1;
}

double MBps(double seconds) { return double(kFileBytes) / 1e6 / seconds; }

// Each iteration uploads the file with the client and with curl, in turns
// first; the iteration time is the client's.
void BM_SendFileVsCurl(benchmark::State &state)
{
    CR40Http http;
    if (!Connect(http)) {
        state.SkipWithError("client set-up failed");
        return;
    }
    double client = 0;
    double tool = 0;
    int round = 0;
    for (auto _ : state) {
        double c = 0;
        double t = 0;
        if (round++ % 2 == 0) {
            c = TimeSendFile(http, "/import/video/A101000001.mpg");
            t = TimeCurl("/import/video/B101000001.mpg");
        } else {
            t = TimeCurl("/import/video/B101000001.mpg");
            c = TimeSendFile(http, "/import/video/A101000001.mpg");
        }
        if (c <= 0 || t <= 0) {
            state.SkipWithError("an upload failed");
            return;
        }
        state.SetIterationTime(c);
        client += c;
        tool += t;
    }
    const double n = double(state.iterations());
    state.counters["client_MBps"] = MBps(client / n);
    state.counters["curl_MBps"] = MBps(tool / n);
    state.counters["ratio"] = tool / client;
    std::printf("upload of %.0f MB: CR40Http::SendFile %.1f MB/s, curl -T %.1f MB/s, throughput ratio %.3f\n",
        kFileBytes / 1e6, MBps(client / n), MBps(tool / n), tool / client);
}

// Runs call and aborts the client from another thread after delayMs; the
// result is the time from Abort to the call's return, in milliseconds.
template <typename Call>
double AbortLatency(CR40Http &http, int delayMs, Call call)
{
    QElapsedTimer sinceAbort;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        sinceAbort.start();
        http.Abort();
    });
    const bool result = call();
    const double latency = double(sinceAbort.nsecsElapsed()) / 1e6;
    stopper.join();
    return !result && http.GetLastError() == R40_ERROR_STOPPED ? latency : -1;
}

void BM_AbortLatency(benchmark::State &state)
{
    double upload = 0;
    double command = 0;
    for (auto _ : state) {
        CR40Http http;
        if (!Connect(http)) {
            state.SkipWithError("client set-up failed");
            return;
        }
        // An upload that stalls after 10 MB, and a command whose reply stalls.
        g_player->setUploadFault(Fault::delay(20000, 10 * 1024 * 1024));
        const double u = AbortLatency(http, 300, [&] { return http.SendFile(SourceFile(), "/import/video/A101000002.mpg", 0); });
        g_player->clearFaults();
        g_player->setCommandFault("SYST", Fault::delay(20000));
        Connect(http);
        CR40SystemCommand syst;
        syst.MakeRequest();
        const double c = AbortLatency(http, 300, [&] { return http.SendCommand(&syst); });
        g_player->clearFaults();
        if (u < 0 || c < 0) {
            state.SkipWithError("abort did not end the call with the stop code");
            return;
        }
        state.SetIterationTime(qMax(u, c) / 1000);
        upload = qMax(upload, u);
        command = qMax(command, c);
    }
    state.counters["upload_abort_ms"] = upload;
    state.counters["command_abort_ms"] = command;
    std::printf("abort latency (worst of %lld): upload %.2f ms, command %.2f ms\n", static_cast<long long>(state.iterations()),
        upload, command);
}

BENCHMARK(BM_SendFileVsCurl)->Iterations(4)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbortLatency)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (QStandardPaths::findExecutable("curl").isEmpty()) {
        std::fprintf(stderr, "player_upload_bench: the curl tool is needed as the baseline (apt-get install curl)\n");
        return 1;
    }
    QTemporaryDir dir(QDir::tempPath() + "/telv-upload-bench-XXXXXX");
    g_dir = &dir;
    if (!dir.isValid() || !MakeSourceFile()) {
        std::fprintf(stderr, "player_upload_bench: could not write the source file under %s\n", qPrintable(dir.path()));
        return 1;
    }
    EmulatedPlayer player(QStringLiteral("127.0.0.2"));
    g_player = &player;
    if (!player.start()) {
        std::fprintf(stderr, "player_upload_bench: the emulated player could not bind 127.0.0.2\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
