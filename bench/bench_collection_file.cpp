// Reading and writing the largest collection file, and merging another machine's largest
// collection into it (two ways, and three ways with the file as the base).
// LUDORA_BENCH_FILE names the file (bench/run generates it with ldxgen), and
// LUDORA_BENCH_NAMES_PER_LIST how many names each of its lists holds.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "collection/Collection.h"
#include "collection/CollectionFile.h"
#include "collection/Merge.h"
#include "fixtures/LargestCollection.h"

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

// Their collection: as large as the file's, other names (another seed).
void mergeLargest(benchmark::State& state, bool threeWays) {
    ludora::Collection base;
    if (!ludora::ReadCollectionFile(base, ludora::bench::benchFile()).ok) {
        state.SkipWithError("cannot read the benchmark file");
        return;
    }
    const int perList = qEnvironmentVariableIntValue("LUDORA_BENCH_NAMES_PER_LIST");
    ludora::Collection theirs;
    ludora::bench::LargestCollection::fill(
        theirs, 2, perList > 0 ? perList : ludora::bench::LargestCollection::kNamesPerList);
    for (auto _ : state) {
        state.PauseTiming();
        ludora::Collection mine;
        mine.takeContent(*base.snapshot());
        state.ResumeTiming();
        const ludora::MergeResult merged =
            ludora::mergeCollections(mine, theirs, threeWays ? &base : nullptr);
        benchmark::DoNotOptimize(merged.added[0]);
    }
}

void BM_MergeTwoWays(benchmark::State& state) {
    mergeLargest(state, false);
}

void BM_MergeThreeWays(benchmark::State& state) {
    mergeLargest(state, true);
}

}  // namespace

BENCHMARK(BM_ReadCollectionFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteCollectionFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MergeTwoWays)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MergeThreeWays)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return ludora::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
