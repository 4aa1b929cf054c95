#pragma once

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
inline constexpr double kBudgetMs = 10.0 * kSlowdown;

// Runs `work` and aborts when it takes more than the budget. It counts the process's CPU time,
// which the other programs of a busy machine do not stretch, and gives a slow run two more
// tries before the input is blamed.
template <class Work>
void RequireFast(const char* what, Work&& work)
{
    double ms = 0;
    for (int run = 0; run < 3; ++run) {
        const std::clock_t start = std::clock();
        work();
        ms = 1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
        if (ms < kBudgetMs)
            return;
    }
    std::fprintf(stderr, "%s took %.2f ms, more than 10 ms x %d for instrumentation\n", what, ms, kSlowdown);
    std::abort();
}

} // namespace fuzz
