// Reading and writing the largest collection file.
// LUDORA_BENCH_FILE names the file (bench/run generates it with ldxgen).

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"

namespace {

void BM_ReadCollectionFile(benchmark::State& state) {
    const QString path = ludora::bench::benchFile();
    for (auto _ : state) {
        ludora::Collection collection;
        const ludora::ReadResult read = ludora::ReadCollectionFile(collection, path);
        if (!read.ok) {
            state.SkipWithError(qPrintable(read.error));
            break;
        }
        benchmark::DoNotOptimize(collection.count(0));
    }
}

void BM_WriteCollectionFile(benchmark::State& state) {
    ludora::Collection collection;
    if (!ludora::ReadCollectionFile(collection, ludora::bench::benchFile()).ok) {
        state.SkipWithError("cannot read the benchmark file");
        return;
    }
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("written.LDX"));
    for (auto _ : state) {
        const ludora::WriteResult written = ludora::WriteCollectionFile(collection, out);
        if (!written.ok) {
            state.SkipWithError(qPrintable(written.error));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFile(out).size());
}

}  // namespace

BENCHMARK(BM_ReadCollectionFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteCollectionFile)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return ludora::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
