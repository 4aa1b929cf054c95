#include "drill/generator.h"
#include "drill/settings.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace drill;

namespace {

constexpr std::int16_t kMin = -32768;
constexpr std::int16_t kMax = 32767;

void Generate999(benchmark::State& state, const ProblemRules& rules)
{
    RandomSource random(1);
    for (auto _ : state) {
        ProblemGenerator generator(rules);
        for (int i = 0; i < 999; ++i)
            benchmark::DoNotOptimize(generator.Next(random));
    }
}

void generate_999_defaults(benchmark::State& state)
{
    Generate999(state, {0, 10, 0, 10, 0, 100, {true, true, true, true}});
}

// Only -32768 : 1 out of every pair over the full ranges: one accepted pair in 2^34 attempts.
void generate_999_sparse(benchmark::State& state)
{
    Generate999(state, {kMin, kMax, kMin, kMax, kMin, kMin, {false, false, false, true}});
}

// Settings with the widest ranges that still admit nothing.
const std::vector<ProblemRules>& ImpossibleSettings()
{
    static const std::vector<ProblemRules> settings{
        {0, kMax, 0, kMax, kMin, -1, {true, false, false, false}},              // sums of naturals below 0
        {kMin, -1, 0, kMax, 0, kMax, {false, true, false, false}},              // negative minus natural
        {20000, kMax, 20000, kMax, kMin, kMin, {true, true, true, true}},       // every operation
        {16384, kMax, 16385, kMax, 2, kMax, {false, false, false, true}},       // quotients of 1 only
        {12345, 12345, 12345, 12345, kMin, kMax, {true, true, true, true}},     // always the same number
    };
    return settings;
}

void impossible_verdict_max(benchmark::State& state)
{
    const ProblemRules& rules = ImpossibleSettings()[static_cast<std::size_t>(state.range(0))];
    for (auto _ : state) {
        const ProblemCount count = CountProblems(rules);
        if (count.Any())
            state.SkipWithError("these settings were meant to be impossible");
        benchmark::DoNotOptimize(count);
    }
}

void count_pairs_full_range(benchmark::State& state)
{
    const ProblemRules rules{kMin, kMax, kMin, kMax, kMin, kMax, {true, true, true, true}};
    for (auto _ : state)
        benchmark::DoNotOptimize(CountProblems(rules));
}

} // namespace

BENCHMARK(generate_999_defaults)->Unit(benchmark::kMillisecond);
BENCHMARK(generate_999_sparse)->Unit(benchmark::kMillisecond);
BENCHMARK(impossible_verdict_max)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(count_pairs_full_range)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
