// Registering a batch of movies and stills (200 files, about 1 GB unless
// TELV_REGIST_BENCH_MB says otherwise) against the work a shell script would
// do for the same files in the same run: `cp` of each file into a folder and
// one ffmpeg tool run per file making a 640-pixel thumbnail. The registration
// also probes each file, writes both thumbnails, the record, the list file and
// the counter. The pauses the progress window shows between files are left
// out (fake clock): they are there for the eye, not for the work.
#include "bench_media.h"
#include "core/app_ini.h"
#include "core/data_folders.h"
#include "core/system_ini.h"
#include "model/contents_list.h"
#include "model/contents_store.h"
#include "ops/content_registration.h"
#include "support/fake_clock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kFiles = 200;

bool RunTool(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    return tool.waitForFinished(600000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

bool MakeMovie(const QString &path, int megabytes)
{
    // Ten seconds of full HD at the bit rate that gives the wanted size.
    const int kbits = megabytes * 8 * 1024 / 10;
    return RunTool("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=30", "-t", "10",
                              "-c:v", "libx264", "-preset", "ultrafast", "-b:v", QString("%1k").arg(kbits), "-pix_fmt",
                              "yuv420p", path});
}

// Half movies, half stills, each made once and copied under its own names.
QStringList MakeDataSet(const QString &folder, int totalMegabytes, qint64 &bytes)
{
    QDir().mkpath(folder);
    const QString still = folder + "/still.jpg";
    if (!MakePhotoJpeg(still, 95))
        return {};
    const qint64 stillBytes = QFileInfo(still).size();
    const int movieMegabytes = qMax(1, int((qint64(totalMegabytes) * 1048576 - stillBytes * kFiles / 2)
                                           / (kFiles / 2) / 1048576));
    const QString movie = folder + "/movie.mp4";
    if (!MakeMovie(movie, movieMegabytes))
        return {};
    QStringList files;
    bytes = 0;
    for (int i = 0; i < kFiles; ++i) {
        const QString source = i % 2 ? still : movie;
        const QString path = QString("%1/file%2%3").arg(folder).arg(i, 3, 10, QChar('0')).arg(i % 2 ? ".jpg" : ".mp4");
        if (!QFile::copy(source, path))
            return {};
        bytes += QFileInfo(path).size();
        files << path;
    }
    return files;
}

double Baseline(const QStringList &files, const QString &folder)
{
    QDir().mkpath(folder + "/copies");
    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files) {
        if (!RunTool("cp", {file, folder + "/copies/"})
            || !RunTool("ffmpeg", {"-v", "error", "-y", "-i", file, "-frames:v", "1", "-vf", "scale=640:-2",
                                   folder + "/thumb.jpg"}))
            return -1;
    }
    return timer.elapsed() / 1000.0;
}

double Registration(const QStringList &files, const QString &base)
{
    CreateDataFolderTree(base);
    GetSystemIni().Open(DataFolderOf(base) + "/Q9S.ini", base);
    GetAppIni().Open(DataFolderOf(base) + "/Q9A.ini", base);
    CContentsStore store;
    store.SetFolders(base, base + "/program");
    store.CreateFolders();
    ScopedFakeClock clock;
    RegistEnvironment env;
    env.store = &store;
    env.dataRoot = base;
    CContentRegistration registration(env);
    QElapsedTimer timer;
    timer.start();
    const RegistResult result = registration.AddContentsFilesWorker(files, 0);
    const double seconds = timer.elapsed() / 1000.0;
    if (result.kind != REGIST_OK || store.GetList(1)->GetCount() + store.GetList(2)->GetCount() != files.size())
        return -1;
    return seconds;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        std::fprintf(stderr, "the ffmpeg tool is needed to make the data set\n");
        return 1;
    }
    const int megabytes = qEnvironmentVariableIsSet("TELV_REGIST_BENCH_MB")
        ? qEnvironmentVariableIntValue("TELV_REGIST_BENCH_MB")
        : 1024;
    QTemporaryDir dir;
    qint64 bytes = 0;
    const QStringList files = MakeDataSet(dir.filePath("source"), qMax(megabytes, 10), bytes);
    if (files.isEmpty()) {
        std::fprintf(stderr, "could not make the data set\n");
        return 1;
    }
    const double baseline = Baseline(files, dir.filePath("baseline"));
    const double registration = Registration(files, dir.filePath("base"));
    if (baseline <= 0 || registration < 0) {
        std::fprintf(stderr, "a run failed (baseline %.1f s, registration %.1f s)\n", baseline, registration);
        return 1;
    }
    std::printf("%d files, %.1f MB\n", int(files.size()), bytes / 1048576.0);
    std::printf("cp + ffmpeg thumbnail per file   %8.2f s\n", baseline);
    std::printf("registration                     %8.2f s\n", registration);
    std::printf("ratio registration / baseline    %8.3f (target <= 1.0)\n", registration / baseline);
    return 0;
}
