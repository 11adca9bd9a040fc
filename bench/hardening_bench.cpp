// Costs of hostile or large inputs and of an idle transfer manager, each in a
// process of its own so that peak memory belongs to one case:
//  - xml: a content list with one element of many attributes; the bare
//    stream reader over the same bytes (what reading it used to cost) against
//    the list's own load;
//  - ini: reading an INI file of a million sections (time, peak memory) and a
//    batch write adding 8,000 keys to one section;
//  - idle: the CPU the transfer manager thread uses during a retry wait;
//  - dtd: a content list whose DTD declares many default attributes;
//  - reply: a player reply of 100,000 attributes (15 MB): how long the
//    request takes and how long an abort made a second in waits for it;
//  - jpeg: the peak memory of probing an 8000 x 8000 JPEG (baseline and
//    progressive) and writing its thumbnails.
// hardening_bench [xml|ini|idle|dtd|reply|jpeg]... (all of them without arguments)

#include "fake_transfer_worker.h"

#include "core/profile_ini.h"
#include "player/r40_http.h"
#include "player/r40_request.h"
#include "support/emulated_player.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/harl_player_xml.h"
#include "model/media_info.h"
#include "model/media_probe.h"
#include "transfer/dlk_request_list.h"
#include "player/dlk_request_status.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/transfer_status_xml.h"
#include "core/setting_ini.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// " a0<form> a1<form> ..." for count attributes.
QByteArray numberedAttributes(int count, const QByteArray &form)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += " a" + QByteArray::number(i) + form;
    return bytes;
}

QByteArray hostileList(int attributes)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<contentlist ver=\"1.0\" type=\"1\">\n<content"
        + numberedAttributes(attributes, "=\"x\"") + "><index>001000001</index></content>\n</contentlist>\n";
}

void benchXml()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VideoList.xml"));
    // The bare reader's cost grows with the square of the count; 20,000
    // attributes keep the baseline to seconds.
    const int baselineAttributes = 20000;
    const QByteArray baselineBytes = hostileList(baselineAttributes);
    auto start = Clock::now();
    QXmlStreamReader reader(baselineBytes);
    while (!reader.atEnd())
        reader.readNext();
    const double bare = secondsSince(start);

    for (int attributes : {baselineAttributes, 100000}) {
        const QByteArray bytes = hostileList(attributes);
        writeFile(path, bytes);
        CContentsList list(1);
        start = Clock::now();
        const bool loaded = list.Load(path);
        const double own = secondsSince(start);
        std::printf("xml: %d attributes (%.2f MB): list load %.4f s (%s)", attributes, bytes.size() / 1e6, own,
                    loaded ? "accepted" : "refused");
        if (attributes == baselineAttributes)
            std::printf(", bare stream reader %.3f s, ratio %.5f", bare, own / bare);
        std::printf("\n");
    }
}

void benchIniRead()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.ini"));
    QByteArray bytes;
    const int sections = 1000000;
    bytes.reserve(sections * 20);
    for (int i = 0; i < sections; ++i)
        bytes += "[S" + QByteArray::number(i) + "]\nKey=" + QByteArray::number(i % 1000) + "\n";
    writeFile(path, bytes);
    bytes = QByteArray();
    const double before = peakMegabytes();
    const auto start = Clock::now();
    CProfileIni ini(path);
    const double seconds = secondsSince(start);
    const bool found = ini.GetInt(QStringLiteral("S999999"), QStringLiteral("key"), -1) == 999;
    std::printf("ini: read %d sections (%.1f MB): %.2f s, peak memory +%.0f MB%s\n", sections,
                QFile(path).size() / 1e6, seconds, peakMegabytes() - before, found ? "" : " (value not found)");
}

void benchIniWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("store.ini"));
    writeFile(path, "[Main]\nFirst=1\n");
    CProfileIni ini(path);
    for (int keys : {2000, 8000}) {
        QList<ProfileChange> changes;
        for (int i = 0; i < keys; ++i)
            changes.append({QStringLiteral("Main"), QStringLiteral("K%1_%2").arg(keys).arg(i), QStringLiteral("v")});
        const auto start = Clock::now();
        const bool written = ini.WriteChanges(changes);
        std::printf("ini: batch adding %d keys: %.3f s%s\n", keys, secondsSince(start), written ? "" : " (failed)");
    }
}

void benchIdle()
{
    QTemporaryDir dir;
    CAppData appData;
    appData.SetDataRoot(dir.path());
    CHarlPlayerXml players;
    PlayerRecord record;
    record.Number = 1;
    record.Name = QStringLiteral("Player1");
    record.IPAddress = QStringLiteral("127.0.0.2");
    players.AddPlayer(record);
    CTransferStatusXml status;
    status.SetPlayers({1});
    CSettingIni options;
    CDlkRequestList requests;
    const CDlkRequestStatus request(123);
    requests.Add(&request);
    FakeWorkerHub hub;
    hub.setPlans(1, {FakeWorkerPlan::ending(DLK_STATE_COMMAND_FAILED, DLK_DETAIL_SEND_ERROR)});
    CDlkTransferManager manager;
    manager.SetPcDlkFolder(appData);
    manager.SetPlayerList(&players, QString());
    manager.SetStatusDocument(&status);
    manager.SetSystemOptions(&options);
    manager.SetWorkerFactory(hub.factory());
    manager.SetPowerOn(true, 3600);
    manager.StartTransfer({1}, &requests);
    while (status.GetTransferState() != TRANSFER_STATE_RETRY_WAIT)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const double cpuBefore = cpuSeconds();
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double cpu = cpuSeconds() - cpuBefore;
    const double wall = secondsSince(start);
    manager.Stop();
    manager.FinishTransfer();
    std::printf("idle: manager in a retry wait: %.1f ms CPU per second (%.2f %% of a core)\n", cpu * 1000 / wall,
                cpu * 100 / wall);
}

QByteArray declaredDefaultsList(int attributes)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE contentlist [<!ATTLIST content"
        + numberedAttributes(attributes, " CDATA \"x\"")
        + ">]>\n<contentlist ver=\"1.0\" type=\"1\">\n<content><index>001000001</index></content>\n</contentlist>\n";
}

void benchDtd()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VideoList.xml"));
    for (int attributes : {20000, 50000}) {
        const QByteArray bytes = declaredDefaultsList(attributes);
        writeFile(path, bytes);
        CContentsList list(1);
        const auto start = Clock::now();
        const bool loaded = list.Load(path);
        std::printf("dtd: %d default attributes (%.2f MB): list load %.4f s (%s)\n", attributes, bytes.size() / 1e6,
                    secondsSince(start), loaded ? "accepted" : "refused");
    }
}

QByteArray hostileReply(int attributes)
{
    return "<?xml version=\"1.0\"?><response" + numberedAttributes(attributes, "=\"" + QByteArray(140, 'x') + "\"")
        + "><status>PASS</status><code>0</code><description>OK</description></response>";
}

void benchReply()
{
    EmulatedPlayer player(QStringLiteral("127.0.0.2"));
    QTemporaryDir work;
    CR40Http http;
    R40HttpParam param;
    param.mask = R40_PARAM_PORT | R40_PARAM_WORK_FOLDER;
    if (!player.start()) {
        std::printf("reply: skipped, the emulated player did not start\n");
        return;
    }
    param.port = player.port();
    param.workFolder = work.path();
    const QByteArray reply = hostileReply(100000);
    player.setCommandFault(QStringLiteral("SYST"), EmulatedPlayer::Fault::reply(reply));
    if (!http.SetParameter(param) || !http.Init()
        || !http.Connect(player.address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
                         QString::fromLatin1(EmulatedPlayer::kDefaultPassword))) {
        std::printf("reply: skipped, no connection to the emulated player\n");
        return;
    }
    CR40Request request(QStringLiteral("SYST"));
    auto start = Clock::now();
    http.SendCommand(&request);
    const double whole = secondsSince(start);
    // The same again with an abort a second in, as a stop of the transfer makes.
    Clock::time_point aborted {};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        aborted = Clock::now();
        http.Abort();
    });
    start = Clock::now();
    http.SendCommand(&request);
    const Clock::time_point ended = Clock::now();
    stopper.join();
    const double wait = ended > aborted ? std::chrono::duration<double>(ended - aborted).count() : 0.0;
    std::printf("reply: 100000 attributes (%.1f MB): request %.3f s (%s), wait after an abort a second in %.3f s\n",
                reply.size() / 1e6, whole, request.GetError() == R40_ERROR_ANALYZE ? "refused" : "accepted", wait);
    player.stop();
}

void writeLargeJpeg(const QString &path, bool progressive)
{
    QImage image(8000, 8000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb(x * 255 / 8000, y * 255 / 8000, (x ^ y) & 0xFF);
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(85);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
}

void benchJpeg(const QString &folder, bool progressive)
{
    const QString path = folder + (progressive ? QStringLiteral("/progressive.jpg") : QStringLiteral("/baseline.jpg"));
    QTemporaryDir root;
    MediaInfo info;
    const double before = peakMegabytes();
    const auto start = Clock::now();
    const int rc = ProbeMediaFile(2, 200000001, path, root.path(), info);
    std::printf("jpeg: 8000 x 8000 %s (%.1f MB): probe and thumbnails %.2f s, peak memory +%.0f MB (result %d)\n",
                progressive ? "progressive" : "baseline", QFile(path).size() / 1e6, secondsSince(start),
                peakMegabytes() - before, rc);
}

// Runs a case in a child process, so peak memory and threads stay its own.
void runApart(const std::function<void()> &bench)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        bench();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::string> cases(argv + 1, argv + argc);
    if (cases.empty())
        cases = {"xml", "ini", "idle", "dtd", "reply", "jpeg"};
    for (const std::string &name : cases) {
        if (name == "xml")
            runApart(benchXml);
        if (name == "ini") {
            runApart(benchIniRead);
            runApart(benchIniWrite);
        }
        if (name == "idle")
            runApart(benchIdle);
        if (name == "dtd")
            runApart(benchDtd);
        if (name == "reply")
            runApart(benchReply);
        if (name == "jpeg") {
            QTemporaryDir folder;
            for (bool progressive : {false, true})
                runApart([&] { writeLargeJpeg(folder.path() + (progressive ? "/progressive.jpg" : "/baseline.jpg"), progressive); });
            for (bool progressive : {false, true})
                runApart([&] { benchJpeg(folder.path(), progressive); });
        }
    }
    return 0;
}
