// Thumbnail making of a 1080p video and a 4000 x 3000 JPEG, against the ffmpeg
// tool making the same 640-pixel thumbnail from the same file in the same run,
// and against decoding the JPEG whole before scaling it.
#include "bench_media.h"
#include "model/media_probe.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

QTemporaryDir *g_dir = nullptr;

QString DirPath(const char *name)
{
    return g_dir->path() + "/" + name;
}

bool RunTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start("ffmpeg", QStringList{"-v", "error", "-y"} + arguments);
    return tool.waitForFinished(120000) && tool.exitCode() == 0;
}

void ProbeFile(benchmark::State &state, int type, const char *name)
{
    const QString path = DirPath(name);
    const QString root = DirPath("root");
    for (auto _ : state) {
        MediaInfo info;
        if (ProbeMediaFile(type, 100000001, path, root, info) != MEDIA_PROBE_OK)
            state.SkipWithError("probe failed");
    }
}

void ToolThumbnail(benchmark::State &state, const char *name, const char *scale)
{
    const QString path = DirPath(name);
    const QString out = DirPath("tool.jpg");
    for (auto _ : state) {
        if (!RunTool({"-i", path, "-frames:v", "1", "-vf", QString("scale=") + scale, out}))
            state.SkipWithError("ffmpeg failed");
    }
}

void BM_Probe_Video1080p(benchmark::State &state) { ProbeFile(state, 1, "video1080p.mp4"); }
void BM_Tool_Video1080p(benchmark::State &state) { ToolThumbnail(state, "video1080p.mp4", "640:360"); }
void BM_Probe_Jpeg4000x3000(benchmark::State &state) { ProbeFile(state, 2, "photo4000x3000.jpg"); }
void BM_Tool_Jpeg4000x3000(benchmark::State &state) { ToolThumbnail(state, "photo4000x3000.jpg", "640:480"); }

// Decoding every pixel and then scaling: what the probe avoids for JPEG.
void BM_WholeDecode_Jpeg4000x3000(benchmark::State &state)
{
    const QString path = DirPath("photo4000x3000.jpg");
    for (auto _ : state) {
        const QImage scaled = QImage(path).scaled(640, 480, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(scaled.constBits());
    }
}

BENCHMARK(BM_Probe_Video1080p)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tool_Video1080p)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Probe_Jpeg4000x3000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tool_Jpeg4000x3000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WholeDecode_Jpeg4000x3000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps each benchmark's time per iteration for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (!run.error_occurred && run.iterations > 0)
                m_msPerIteration[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void printRatio(const char *label, const std::string &measured, const std::string &baseline) const
    {
        const auto m = m_msPerIteration.find(measured);
        const auto b = m_msPerIteration.find(baseline);
        if (m != m_msPerIteration.end() && b != m_msPerIteration.end() && b->second > 0)
            std::printf("%-44s %.3f (%.1f ms / %.1f ms)\n", label, m->second / b->second, m->second, b->second);
    }

private:
    std::map<std::string, double> m_msPerIteration;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (QStandardPaths::findExecutable("ffmpeg").isEmpty()) {
        std::fprintf(stderr, "the ffmpeg tool is needed to make the test media\n");
        return 1;
    }
    QTemporaryDir dir;
    g_dir = &dir;
    if (!RunTool({"-f", "lavfi", "-i", "testsrc2=size=1920x1080:rate=30", "-t", "5", "-c:v", "libx264",
                  "-pix_fmt", "yuv420p", DirPath("video1080p.mp4")})
        || !MakePhotoJpeg(DirPath("photo4000x3000.jpg"), 90)) {
        std::fprintf(stderr, "could not make the test media\n");
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios (lower is faster):\n");
    reporter.printRatio("probe / ffmpeg tool, 1080p video", "BM_Probe_Video1080p/real_time",
                        "BM_Tool_Video1080p/real_time");
    reporter.printRatio("probe / ffmpeg tool, 4000x3000 JPEG", "BM_Probe_Jpeg4000x3000/real_time",
                        "BM_Tool_Jpeg4000x3000/real_time");
    reporter.printRatio("probe / whole decode and scale, JPEG", "BM_Probe_Jpeg4000x3000/real_time",
                        "BM_WholeDecode_Jpeg4000x3000/real_time");
    benchmark::Shutdown();
    return 0;
}
