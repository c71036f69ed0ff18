// What the benchmarks of the real window share: the application prepared as the program prepares
// it (offscreen unless a platform is chosen), and the data folder they run on
// (ORTELIA_BENCH_STARTUP_DIR, else the search benchmark's 10,000,000-listing sample).
#pragma once

#include "ui/Localization.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

inline std::string windowBenchData()
{
    const char* dir = std::getenv("ORTELIA_BENCH_STARTUP_DIR");
    return dir != nullptr ? dir : "/tmp/ortelia-bench-10M/data";
}

inline int runWindowBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    localization::prepare(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
