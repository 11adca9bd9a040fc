#pragma once
// What the widget benchmarks share: the time of one step, the median of the
// times, and a main that runs the benchmarks under an application object
// with no screen needed.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double MillisecondsOf(const std::function<void()> &step)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    step();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The middle value (the upper one of an even count), 0 for none.
inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The whole of a widget benchmark's main: offscreen unless the environment
// names another platform.
inline int RunWidgetBenchmarks(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
