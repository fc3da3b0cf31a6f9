#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

// Seconds one call of work takes, averaged over rounds after one warm-up call: the figure
// the benchmarks print their ratios from.
template<typename Work>
double secondsPer(Work work, int rounds = 30)
{
    work();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        benchmark::DoNotOptimize(work());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}
