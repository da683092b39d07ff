#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>
#include <cstdlib>

namespace ludora::bench {

// The collection file the benchmarks work on (bench/run generates it): LUDORA_BENCH_FILE.
inline QString benchFile() {
    const char* path = std::getenv("LUDORA_BENCH_FILE");
    return path ? QString::fromLocal8Bit(path) : QString();
}

// Runs the registered benchmarks inside a Qt application of the given kind; widgets draw
// on the offscreen platform unless another is asked for.
template <typename Application>
int runBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace ludora::bench
