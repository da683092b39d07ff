// Open of the largest file (LUDORA_BENCH_FILE) in the main window, on the offscreen platform.
// The interactions with one full list are timed by bench_interactions.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QApplication>
#include <QLabel>

#include "BenchDialogs.h"
#include "app/frmMain.h"
#include "collection/Collection.h"
#include "collection/FileRecord.h"
#include "fixtures/LargestCollection.h"

using ludora::Collection;
using ludora::frmMain;

namespace {

// Lets the window show everything that changed.
void settle(frmMain& window) {
    QApplication::processEvents();
    window.tmrNumGames_Timer();
    QApplication::processEvents();
}

void BM_OpenInWindow(benchmark::State& state) {
    ludora::bench::BenchDialogs dialogs(ludora::bench::benchFile());
    frmMain window;
    window.show();
    settle(window);
    for (auto _ : state) {
        window.mnuFileOpen_Click();
        settle(window);
        const QString shown = window.findChild<QLabel*>(QStringLiteral("lblNumGames"))->text();
        if (shown != QString::number(window.collection().count(window.collection().currentTab()))) {
            state.SkipWithError("the count label does not show the list's count");
            break;
        }
        // The fingerprint of what the file held is taken on a worker once the window shows
        // the file; a person does not open the next file before it ends, so the next
        // iteration does not share the cores with it.
        state.PauseTiming();
        benchmark::DoNotOptimize(window.collection().fileRecord()->fingerprint.result());
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_OpenInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return ludora::bench::runBenchmarks<QApplication>(argc, argv);
}
