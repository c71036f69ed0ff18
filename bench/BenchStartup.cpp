// Start-up of the main window on a large data set: from the window's construction to its home page,
// with the splash's deliberate wait set to zero (the splash itself is shown and closed as usual).
// The data folder comes from ORTELIA_BENCH_STARTUP_DIR (default: the search benchmark's
// 10,000,000-listing sample, /tmp/ortelia-bench-10M/data; run BenchSearch once to make it).
#include "bench/WindowBench.h"
#include "ui/TFormMain.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace {

void BM_StartupToHomePage(benchmark::State& state)
{
    const std::string data = windowBenchData();
    if (!std::filesystem::exists(data + "/QD.dat")) {
        state.SkipWithError("no data set: set ORTELIA_BENCH_STARTUP_DIR or run BenchSearch once");
        return;
    }
    QTemporaryDir lock;
    const StartupEnvironment env = StartupEnvironment::forFolder(data, lock.path().toStdString());
    for (auto _ : state) {
        // Timed by hand: the window's destruction is not part of start-up.
        const auto start = std::chrono::steady_clock::now();
        TFormMain form(env);
        const TFormMain::Started started = form.FormCreate();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (started != TFormMain::Started::Ready)
            state.SkipWithError("start-up did not reach the home page");
    }
}
BENCHMARK(BM_StartupToHomePage)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();

} // namespace

int main(int argc, char** argv)
{
    return runWindowBenchmarks(argc, argv);
}
