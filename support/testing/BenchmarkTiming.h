// Timing of the benchmark programs: every measurement is the fastest of several runs, because the
// machines are shared and single timings vary.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

struct BenchmarkSettings
{
    int runs = 7;
    int calls = 10;
};

// Runs and calls per run from the program's first two arguments, each at least 1.
inline BenchmarkSettings ReadBenchmarkSettings(int argc, char** argv, BenchmarkSettings settings)
{
    if (argc > 1)
        settings.runs = std::max(1, std::atoi(argv[1]));
    if (argc > 2)
        settings.calls = std::max(1, std::atoi(argv[2]));
    return settings;
}

inline double SecondsBetween(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Fastest average call over the runs, in seconds; one call before them warms caches and pages.
inline double FastestCall(const BenchmarkSettings& settings, const std::function<void()>& call)
{
    call();
    double best = 1e30;
    for (int run = 0; run < settings.runs; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < settings.calls; ++i)
            call();
        QueryPerformanceCounter(&end);
        best = std::min(best, SecondsBetween(start, end) / settings.calls);
    }
    return best;
}
