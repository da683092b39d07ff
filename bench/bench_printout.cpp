// The list printout of three full lists: onto a recording surface, and into a PDF file.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QPageSize>
#include <QTemporaryDir>

#include "collection/Collection.h"
#include "fixtures/LargestCollection.h"
#include "fixtures/RecordingSurface.h"
#include "printing/printout/ListPrintout.h"
#include "printing/printout/PaintedSurface.h"

namespace {

int namesPerList() {
    const QByteArray value = qgetenv("LUDORA_BENCH_NAMES_PER_LIST");
    return value.isEmpty() ? ludora::bench::LargestCollection::kNamesPerList : value.toInt();
}

const ludora::Collection& threeFullLists() {
    static ludora::Collection collection;
    static bool filled = false;
    if (!filled) {
        ludora::bench::LargestCollection::fill(collection, 1, namesPerList());
        filled = true;
    }
    return collection;
}

void BM_PrintoutRecording(benchmark::State& state) {
    const ludora::Collection& collection = threeFullLists();
    for (auto _ : state) {
        ludora::test::RecordingSurface surface;
        ludora::printLists(collection, surface);
        benchmark::DoNotOptimize(surface.pageCount());
    }
}

void BM_PrintoutPdf(benchmark::State& state) {
    const ludora::Collection& collection = threeFullLists();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("printout.pdf"));
    for (auto _ : state) {
        QString error;
        auto surface = ludora::makePdfSurface(path, QPageSize(QPageSize::A4), &error);
        if (!surface) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        ludora::printLists(collection, *surface);
    }
}

}  // namespace

BENCHMARK(BM_PrintoutRecording)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PrintoutPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return ludora::bench::runBenchmarks<QApplication>(argc, argv);
}
