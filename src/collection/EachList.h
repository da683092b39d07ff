#pragma once

#include <QtGlobal>
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace ludora {

// Runs work(tab) for each of the tabs, several at once on several cores when the lists hold
// enough names between them (below that, starting a thread costs more than it saves). The
// lists must be independent of each other; the calling thread waits for them all.
template <typename Work>
void forEachList(const std::vector<int>& tabs, qsizetype names, const Work& work) {
    constexpr qsizetype kParallelMinimum = 20000;
    std::atomic<size_t> next{0};
    const auto some = [&] {
        for (size_t i = next++; i < tabs.size(); i = next++) {
            work(tabs[i]);
        }
    };
    const unsigned helpers =
        names < kParallelMinimum
            ? 1u
            : std::min({std::thread::hardware_concurrency(), 4u, unsigned(tabs.size())});
    std::vector<std::thread> workers;
    for (unsigned i = 1; i < helpers; ++i) {
        workers.emplace_back(some);
    }
    some();
    for (std::thread& worker : workers) {
        worker.join();
    }
}

}  // namespace ludora
