// Export and import of a playlist whose videos make about 1 GiB (set
// TELV_BENCH_EXPORT_MB for another size): the export into a package file
// against `gcab -c -z` over the same package tree, and the import of that
// package against `cabextract` of it, timed in the same run. Each side runs
// after a `sync`, so that neither pays for what the other left to be written,
// for several rounds in which the two take turns going first; the figures are
// the medians. The ratios are the figures to watch: export at most 0.5 of
// gcab, import at most 1.0 of cabextract.

#include "cab/dlkx_cab.h"
#include "core/content_id.h"
#include "ops/export_import.h"
#include "ops_test_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <unistd.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr int kVideoCount = 8;
constexpr int kRounds = 4;

QByteArray RandomBytes(qint64 size, QRandomGenerator &generator)
{
    QByteArray data(size & ~qint64(3), '\0');
    generator.fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
    return data;
}

double RunTool(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess tool;
    tool.setWorkingDirectory(folder);
    tool.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    tool.start(program, arguments);
    if (!tool.waitForFinished(-1) || tool.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return -1;
    }
    return timer.nsecsElapsed() / 1e9;
}

double SecondsOf(const std::function<void()> &step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

// The medians of ours and of the tool over the rounds; a tool that failed
// once counts as failed (-1).
struct Timing {
    double ours = 0;
    double tool = 0;
};

// Runs ours and the tool kRounds times, each after a sync, the first to go
// alternating; clean removes what a round left before the next.
Timing Interleave(const std::function<double()> &ours, const std::function<double()> &tool,
                  const std::function<void()> &clean)
{
    std::vector<double> oursSeconds;
    std::vector<double> toolSeconds;
    bool toolFailed = false;
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            ::sync();
            if ((round + turn) % 2 == 0) {
                oursSeconds.push_back(ours());
            } else {
                toolSeconds.push_back(tool());
                toolFailed = toolFailed || toolSeconds.back() < 0;
            }
        }
        clean();
    }
    return {Median(oursSeconds), toolFailed ? -1 : Median(toolSeconds)};
}

QStringList FilesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable(QStringLiteral("gcab")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("cabextract")).isEmpty()) {
        std::fprintf(stderr, "gcab and cabextract are needed (packages gcab, cabextract)\n");
        return 1;
    }
    const qint64 totalMb = qEnvironmentVariableIntValue("TELV_BENCH_EXPORT_MB") > 0
                               ? qEnvironmentVariableIntValue("TELV_BENCH_EXPORT_MB")
                               : 1024;
    QTemporaryDir work;
    QRandomGenerator generator(2026);
    TestLibrary source;
    QList<QPair<qint32, int>> contents;
    for (int i = 0; i < kVideoCount; ++i) {
        const qint32 number = MakeContentId(1, 1, i + 1);
        source.addContent(1, number, QStringLiteral("clip%1.mp4").arg(i), RandomBytes(totalMb * MiB / kVideoCount, generator));
        contents.append({number, 1});
    }
    const qint32 playlist = MakeContentId(1, 52, 1);
    source.addPlaylist(playlist, contents);
    source.save();

    // The same tree as the package holds, for gcab.
    const QString tree = work.filePath(QStringLiteral("tree"));
    CExImport(source.store(), source.root(), nullptr).ExportMain({{quint32(playlist)}, tree, false, false});
    const QStringList treeFiles = FilesBelow(tree);

    const QString package = work.filePath(QStringLiteral("Q9Content.plst"));
    const QString gcabPackage = work.filePath(QStringLiteral("gcab.cab"));
    int exported = 0;
    const Timing exporting = Interleave(
        [&] {
            QFile::remove(package);
            return SecondsOf([&] {
                const int result =
                    CExImport(source.store(), source.root(), nullptr).ExportMain({{quint32(playlist)}, package, true, false});
                exported = exported != 0 ? exported : result;
            });
        },
        [&] {
            return RunTool(QStringLiteral("gcab"), QStringList{QStringLiteral("-c"), QStringLiteral("-z"), gcabPackage} + treeFiles,
                           tree);
        },
        [&] { QFile::remove(gcabPackage); });

    // The cabinet engine alone over the same tree, for where the time goes.
    ::sync();
    const double engineSeconds =
        SecondsOf([&] { DLKxCompressCab({tree, {QStringLiteral("TelvData")}, 1, work.filePath(QStringLiteral("engine.cab"))}); });
    QFile::remove(work.filePath(QStringLiteral("engine.cab")));
    ::sync();
    const QString engineOut = work.filePath(QStringLiteral("engine-out"));
    const double engineExtractSeconds = SecondsOf([&] { DLKxDecompressCab({package, engineOut}); });
    QDir(engineOut).removeRecursively();

    const QString extracted = work.filePath(QStringLiteral("extracted"));
    int imported = 0;
    const Timing importing = Interleave(
        [&] {
            TestLibrary target;
            target.save();
            return SecondsOf([&] {
                const int result = CExImport(target.store(), target.root(), nullptr).ImportMain(package);
                imported = imported != 0 ? imported : result;
            });
        },
        [&] {
            QDir(extracted).removeRecursively();
            QDir().mkpath(extracted);
            return RunTool(QStringLiteral("cabextract"), {QStringLiteral("-q"), QStringLiteral("-d"), extracted, package},
                           work.path());
        },
        [&] { QDir(extracted).removeRecursively(); });
    const double exportSeconds = exporting.ours;
    const double gcabSeconds = exporting.tool;
    const double importSeconds = importing.ours;
    const double cabextractSeconds = importing.tool;

    std::printf("playlist of %lld MiB in %d videos; medians of %d rounds, each side after a sync\n", totalMb,
                kVideoCount, kRounds);
    std::printf("export to package   %7.2f s (result %d)   gcab -c -z   %7.2f s   ratio %.2f (want <= 0.50)\n",
                exportSeconds, exported, gcabSeconds, exportSeconds / gcabSeconds);
    std::printf("import of package   %7.2f s (result %d)   cabextract   %7.2f s   ratio %.2f (want <= 1.00)\n",
                importSeconds, imported, cabextractSeconds, importSeconds / cabextractSeconds);
    std::printf("cabinet engine alone: compress %.2f s, extract %.2f s\n", engineSeconds, engineExtractSeconds);
    return exported == 0 && imported == 0 && gcabSeconds > 0 && cabextractSeconds > 0 ? 0 : 1;
}
