// The main window's heaviest commands, on the offscreen platform:
// Open of the largest file (LUDORA_BENCH_FILE), Add Name into a list of 32,766 names (also
// until the window is idle), and Delete Name(s) of 32,767 selected names.

#include <benchmark/benchmark.h>

#include "BenchMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>

#include "BenchDialogs.h"
#include "fixtures/LargestCollection.h"
#include "app/frmMain.h"
#include "collection/Collection.h"

using ludora::Collection;
using ludora::frmMain;

namespace {

// Lets the window show everything that changed.
void settle(frmMain& window) {
    QApplication::processEvents();
    window.tmrNumGames_Timer();
    QApplication::processEvents();
}

void fillList(Collection& collection, int tab, int count) {
    ludora::NameStore batch;
    for (int i = 0; i < count; ++i) {
        batch.append(QStringLiteral("Game number %1 of the list").arg(i));
    }
    collection.addNames(tab, std::move(batch));
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
    }
}

// Add Name into a list of 32,766 names. Until idle, the clock also runs while the window
// handles every event that Add Name left behind (a view that lays out in batches works there).
void addNameIntoFullerList(benchmark::State& state, bool untilIdle) {
    frmMain window;
    window.show();
    Collection& collection = window.collection();
    const int tab = collection.currentTab();
    fillList(collection, tab, Collection::kMaxNames - 1);
    settle(window);
    auto* text = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    for (auto _ : state) {
        text->setText(QStringLiteral("Game number 16000 of the list, again"));
        window.Command1_Click();
        if (untilIdle) {
            QApplication::processEvents(QEventLoop::AllEvents, 1000);
        } else {
            QApplication::processEvents();
        }
        state.PauseTiming();
        collection.removeNameAt(tab, collection.count(tab) / 2);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    if (collection.count(tab) != Collection::kMaxNames - 1) {
        state.SkipWithError("Add Name did not add");
    }
}

void BM_AddNameIntoFullerList(benchmark::State& state) {
    addNameIntoFullerList(state, false);
}

void BM_AddNameIntoFullerListUntilIdle(benchmark::State& state) {
    addNameIntoFullerList(state, true);
}

void BM_DeleteAllSelected(benchmark::State& state) {
    frmMain window;
    window.show();
    Collection& collection = window.collection();
    const int tab = collection.currentTab();
    for (auto _ : state) {
        state.PauseTiming();
        fillList(collection, tab, Collection::kMaxNames);
        settle(window);
        window.list(tab)->selectAll();
        QApplication::processEvents();
        state.ResumeTiming();
        window.Command2_Click();
        settle(window);
        if (collection.count(tab) != 0) {
            state.SkipWithError("Delete left names behind");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_OpenInWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddNameIntoFullerList)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_AddNameIntoFullerListUntilIdle)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_DeleteAllSelected)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    return ludora::bench::runBenchmarks<QApplication>(argc, argv);
}
