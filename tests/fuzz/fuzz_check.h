#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

// Fuzz targets stop at the first broken promise, so the fuzzer keeps the input that shows it.
#define FUZZ_REQUIRE(condition)                                                                    \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);           \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

#ifndef SUMATKO_FUZZ_SLOWDOWN
#define SUMATKO_FUZZ_SLOWDOWN 1
#endif

namespace fuzz {

// 10 ms is the budget of the plain build. Coverage, ASan and UBSan make this code about twenty
// times slower, so an instrumented run is allowed SUMATKO_FUZZ_SLOWDOWN times as long.
inline constexpr int kSlowdown = SUMATKO_FUZZ_SLOWDOWN;
inline constexpr std::chrono::milliseconds kBudget{10 * kSlowdown};

// Runs `work` and aborts when it takes longer than the budget. A slow run only counts when the
// process had a core for most of it: on a busy machine the wall clock also measures the other
// programs. A slow run is repeated twice before the input is blamed.
template <class Work>
void RequireFast(const char* what, Work&& work)
{
    using Ms = std::chrono::duration<double, std::milli>;
    for (int run = 0; run < 3; ++run) {
        const std::clock_t cpuStart = std::clock();
        const auto start = std::chrono::steady_clock::now();
        work();
        const Ms took = std::chrono::steady_clock::now() - start;
        const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        if (took < kBudget || cpuMs < 0.9 * took.count())
            return;
        if (run == 2) {
            std::fprintf(stderr, "%s took %.2f ms, more than 10 ms x %d for instrumentation\n", what,
                         took.count(), kSlowdown);
            std::abort();
        }
    }
}

} // namespace fuzz
