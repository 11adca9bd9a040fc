// Costs of hostile or large inputs and of an idle transfer manager, each in a
// process of its own so that peak memory belongs to one case:
//  - xml: a content list with one element of many attributes; the bare
//    stream reader over the same bytes (what reading it used to cost) against
//    the list's own load;
//  - ini: reading an INI file of a million sections (time, peak memory) and a
//    batch write adding 8,000 keys to one section;
//  - idle: the CPU the transfer manager thread uses during a retry wait.
// hardening_bench [xml|ini|idle]... (all of them without arguments)

#include "fake_transfer_worker.h"

#include "core/profile_ini.h"
#include "model/app_data.h"
#include "model/contents_list.h"
#include "model/harl_player_xml.h"
#include "transfer/dlk_request_list.h"
#include "player/dlk_request_status.h"
#include "transfer/dlk_transfer_manager.h"
#include "transfer/transfer_status_xml.h"
#include "core/setting_ini.h"

#include <QFile>
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

QByteArray hostileList(int attributes)
{
    QByteArray bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<contentlist ver=\"1.0\" type=\"1\">\n<content";
    for (int i = 0; i < attributes; ++i)
        bytes += " a" + QByteArray::number(i) + "=\"x\"";
    return bytes + "><index>001000001</index></content>\n</contentlist>\n";
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
        cases = {"xml", "ini", "idle"};
    for (const std::string &name : cases) {
        if (name == "xml")
            runApart(benchXml);
        if (name == "ini") {
            runApart(benchIniRead);
            runApart(benchIniWrite);
        }
        if (name == "idle")
            runApart(benchIdle);
    }
    return 0;
}
