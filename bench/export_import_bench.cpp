// Export and import of a playlist whose videos make about 1 GiB (set
// TELV_BENCH_EXPORT_MB for another size): the export into a package file
// against `gcab -c -z` over the same package tree, and the import of that
// package against `cabextract` of it, timed in the same run. The ratios are
// the figures to watch: export at most 0.5 of gcab, import at most 1.0 of
// cabextract.

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

#include <cstdio>

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr int kVideoCount = 8;

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

    const QString package = work.filePath(QStringLiteral("Q9Content.plst"));
    QElapsedTimer timer;
    timer.start();
    const int exported = CExImport(source.store(), source.root(), nullptr).ExportMain({{quint32(playlist)}, package, true, false});
    const double exportSeconds = timer.nsecsElapsed() / 1e9;

    // The same tree as the package holds, packed by gcab.
    const QString tree = work.filePath(QStringLiteral("tree"));
    CExImport(source.store(), source.root(), nullptr).ExportMain({{quint32(playlist)}, tree, false, false});
    const double gcabSeconds = RunTool(QStringLiteral("gcab"),
                                       QStringList{QStringLiteral("-c"), QStringLiteral("-z"), work.filePath(QStringLiteral("gcab.cab"))}
                                           + FilesBelow(tree),
                                       tree);

    // The cabinet engine alone over the same tree, for where the time goes.
    timer.restart();
    DLKxCompressCab({tree, {QStringLiteral("TelvData")}, 1, work.filePath(QStringLiteral("engine.cab"))});
    const double engineSeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    DLKxDecompressCab({package, work.filePath(QStringLiteral("engine-out"))});
    const double engineExtractSeconds = timer.nsecsElapsed() / 1e9;

    TestLibrary target;
    target.save();
    timer.restart();
    const int imported = CExImport(target.store(), target.root(), nullptr).ImportMain(package);
    const double importSeconds = timer.nsecsElapsed() / 1e9;
    const QString extracted = work.filePath(QStringLiteral("extracted"));
    QDir().mkpath(extracted);
    const double cabextractSeconds =
        RunTool(QStringLiteral("cabextract"), {QStringLiteral("-q"), QStringLiteral("-d"), extracted, package}, work.path());

    std::printf("playlist of %lld MiB in %d videos\n", totalMb, kVideoCount);
    std::printf("export to package   %7.2f s (result %d)   gcab -c -z   %7.2f s   ratio %.2f (want <= 0.50)\n",
                exportSeconds, exported, gcabSeconds, exportSeconds / gcabSeconds);
    std::printf("import of package   %7.2f s (result %d)   cabextract   %7.2f s   ratio %.2f (want <= 1.00)\n",
                importSeconds, imported, cabextractSeconds, importSeconds / cabextractSeconds);
    std::printf("cabinet engine alone: compress %.2f s, extract %.2f s\n", engineSeconds, engineExtractSeconds);
    return exported == 0 && imported == 0 && gcabSeconds > 0 && cabextractSeconds > 0 ? 0 : 1;
}
