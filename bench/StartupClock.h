#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace ludora::bench {

// Prints "shown <ms>": the time since the launcher's clock reading in LUDORA_BENCH_T0.
inline void reportShown() {
    const char* t0 = std::getenv("LUDORA_BENCH_T0");
    if (!t0) {
        return;
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const double nowNs = double(now.tv_sec) * 1e9 + double(now.tv_nsec);
    std::printf("shown %.3f\n", (nowNs - std::strtod(t0, nullptr)) / 1e6);
    std::fflush(stdout);
}

}  // namespace ludora::bench
