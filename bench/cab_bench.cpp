// Cabinet compress throughput of DLKxCompressCab against `gcab -c -z` on the
// same generated folder of about 200 MB (media-like random files, log-like
// text and many small settings files), timed in the same run. The engine is
// also timed on one thread, as gcab runs.

#include "cab/cab_sources.h"
#include "cab/cab_writer.h"
#include "cab/dlkx_cab.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

QTemporaryDir *g_dir = nullptr;
qint64 g_sourceBytes = 0;

QString SourceFolder() { return g_dir->filePath("source"); }

bool WriteFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray RandomData(qsizetype size, QRandomGenerator &generator)
{
    QByteArray data(size & ~qsizetype(3), '\0');
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
    return data;
}

// Log-like lines of words drawn from a small vocabulary: compresses a few times over.
QByteArray TextData(qsizetype size, QRandomGenerator &generator)
{
    static const char *const words[] = {"player", "content", "send", "schedule", "NTC", "ERR", "INF", "upload.php",
                                        "command.php", "000000042", "TelvData", "Q9Data", "retry", "timeout", "ok",
                                        "playlist", "sequence", "telop", "status", "200", "401", "group", "display"};
    QByteArray data;
    data.reserve(size + 64);
    while (data.size() < size) {
        data += QByteArray::number(20261207 + generator.bounded(30)) + ' ';
        for (int i = 0, n = 4 + generator.bounded(8); i < n; ++i) {
            data += words[generator.bounded(int(std::size(words)))];
            data += ' ';
        }
        data += QByteArray::number(generator.bounded(100000)) + "\r\n";
    }
    data.truncate(size);
    return data;
}

bool MakeSourceFolder()
{
    QRandomGenerator generator(2026);
    constexpr qsizetype MiB = 1024 * 1024;
    bool ok = true;
    for (int i = 0; i < 4; ++i)
        ok = ok && WriteFile(SourceFolder() + QString("/Content/Video/%1.mp4").arg(i, 9, 10, QChar('0')),
                             RandomData(20 * MiB, generator));
    for (int i = 0; i < 10; ++i)
        ok = ok && WriteFile(SourceFolder() + QString("/Log/Q9_202612%1.log").arg(i + 10),
                             TextData(10 * MiB, generator));
    for (int i = 0; i < 1000; ++i) {
        const QString path = SourceFolder() + QString("/Group/%1/Schedule/%2.xml").arg(i % 20).arg(i);
        ok = ok && WriteFile(path, i % 4 ? TextData(20 * 1024, generator) : RandomData(20 * 1024, generator));
    }
    g_sourceBytes = (4 * 20 + 10 * 10) * MiB + 1000 * 20 * 1024;
    return ok;
}

double Seconds(const QElapsedTimer &timer) { return double(timer.nsecsElapsed()) / 1e9; }

double TimeEngine(const QString &cabinet)
{
    QElapsedTimer timer;
    timer.start();
    DlkxCompressCabParam param;
    param.sourceFolder = SourceFolder();
    param.cabinetPath = cabinet;
    return DLKxCompressCab(param) == CAB_OK ? Seconds(timer) : -1;
}

double TimeEngineOneThread(const QString &cabinet)
{
    QElapsedTimer timer;
    timer.start();
    QList<CabSourceFile> files;
    if (CollectCabSources(SourceFolder(), {}, files) != CAB_OK)
        return -1;
    return CCabWriter(cab::kMaxFolderBytes, 1).Write(files, cabinet) == CAB_OK ? Seconds(timer) : -1;
}

double TimeGcab(const QString &cabinet)
{
    QList<CabSourceFile> files;
    CollectCabSources(SourceFolder(), {}, files);
    QStringList arguments {"-c", "-z", cabinet};
    for (const CabSourceFile &file : files)
        arguments.append(QString(file.memberName).replace('\\', '/'));
    QElapsedTimer timer;
    timer.start();
    QProcess gcab;
    gcab.setWorkingDirectory(SourceFolder());
    gcab.start("gcab", arguments);
    const bool ok = gcab.waitForFinished(600000) && gcab.exitStatus() == QProcess::NormalExit && gcab.exitCode() == 0;
    return ok ? Seconds(timer) : -1;
}

double MBps(double seconds) { return double(g_sourceBytes) / 1e6 / seconds; }

// Each iteration compresses the folder three ways; the iteration time is the
// engine's, the counters hold all three throughputs and the ratios.
void BM_CabCompressVsGcab(benchmark::State &state)
{
    const QString engineCab = g_dir->filePath("engine.cab");
    const QString oneThreadCab = g_dir->filePath("engine1.cab");
    const QString gcabCab = g_dir->filePath("gcab.cab");
    double engine = 0, oneThread = 0, gcab = 0;
    for (auto _ : state) {
        const double e = TimeEngine(engineCab);
        const double e1 = TimeEngineOneThread(oneThreadCab);
        const double g = TimeGcab(gcabCab);
        if (e <= 0 || e1 <= 0 || g <= 0) {
            state.SkipWithError("a compressor failed");
            return;
        }
        state.SetIterationTime(e);
        engine += e;
        oneThread += e1;
        gcab += g;
    }
    const double n = double(state.iterations());
    state.counters["engine_MBps"] = MBps(engine / n);
    state.counters["engine1_MBps"] = MBps(oneThread / n);
    state.counters["gcab_MBps"] = MBps(gcab / n);
    state.counters["ratio"] = gcab / engine;
    state.counters["ratio1"] = gcab / oneThread;
    const double engineSize = double(QFileInfo(engineCab).size());
    const double gcabSize = double(QFileInfo(gcabCab).size());
    std::printf("source %.1f MB; cabinet engine %.1f MB, gcab %.1f MB (size ratio %.3f)\n", g_sourceBytes / 1e6,
                engineSize / 1e6, gcabSize / 1e6, engineSize / gcabSize);
    std::printf("throughput engine %.1f MB/s, engine on one thread %.1f MB/s, gcab -c -z %.1f MB/s\n",
                MBps(engine / n), MBps(oneThread / n), MBps(gcab / n));
    std::printf("ratio engine / gcab: %.2f (one thread: %.2f)\n", gcab / engine, gcab / oneThread);
}

BENCHMARK(BM_CabCompressVsGcab)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (QStandardPaths::findExecutable("gcab").isEmpty()) {
        std::fprintf(stderr, "cab_bench: the gcab tool is needed as the baseline (apt-get install gcab)\n");
        return 1;
    }
    QTemporaryDir dir(QDir::tempPath() + "/telv-cab-bench-XXXXXX");
    g_dir = &dir;
    if (!dir.isValid() || !MakeSourceFolder()) {
        std::fprintf(stderr, "cab_bench: could not generate the source folder under %s\n", qPrintable(dir.path()));
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
