// How reading grows with the size of odd files: one endless line, very many short lines,
// very long captions, one very long name. Each is read from memory at several sizes, and
// Google Benchmark fits the times to N: a small RMS next to the O(N) line shows that the
// time grows linearly.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>

#include "collection/CaptionKeys.h"
#include "collection/Collection.h"
#include "collection/CollectionFile.h"

namespace {

using ludora::CaptionKeys;
using ludora::Collection;

QByteArray defaultCaptionLines() {
    QByteArray bytes;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        bytes += Collection::defaultCaption(tab).toLatin1() + "\r\n";
    }
    return bytes;
}

void read(benchmark::State& state, const QByteArray& bytes) {
    for (auto _ : state) {
        QByteArray data = bytes;
        QBuffer device(&data);
        device.open(QIODevice::ReadOnly);
        Collection collection;
        const ludora::ReadResult result =
            ludora::ReadCollectionFile(collection, device, QStringLiteral("bench"));
        benchmark::DoNotOptimize(result.ok);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// N bytes without a line end: refused after reading it all.
void BM_OneLongLine(benchmark::State& state) {
    read(state, QByteArray(state.range(0), 'x'));
}

// N name lines of a few characters, spread over the tabs (the lists fill up past 819,175).
void BM_ManyShortLines(benchmark::State& state) {
    QByteArray bytes = defaultCaptionLines();
    for (int64_t i = 0; i < state.range(0); ++i) {
        const int tab = int(i % Collection::kTabCount);
        bytes += CaptionKeys::keyOf(Collection::defaultCaption(tab)).toLatin1() +
                 QByteArray::number(i) + "\r\n";
    }
    read(state, bytes);
}

// 25 caption lines of N characters each.
void BM_LongCaptions(benchmark::State& state) {
    QByteArray bytes;
    for (int tab = 0; tab < Collection::kTabCount; ++tab) {
        bytes += QByteArray(state.range(0), char('a' + tab)) + "\r\n";
    }
    read(state, bytes);
}

// One name of N characters.
void BM_OneLongName(benchmark::State& state) {
    read(state, defaultCaptionLines() + "N64      " + QByteArray(state.range(0), 'n') + "\r\n");
}

}  // namespace

BENCHMARK(BM_OneLongLine)
    ->RangeMultiplier(2)
    ->Range(1 << 20, 64 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ManyShortLines)
    ->RangeMultiplier(2)
    ->Range(1 << 16, 1 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongCaptions)
    ->RangeMultiplier(2)
    ->Range(1 << 14, 1 << 18)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneLongName)
    ->RangeMultiplier(2)
    ->Range(1 << 20, 64 << 20)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return ludora::bench::runBenchmarks<QCoreApplication>(argc, argv);
}
