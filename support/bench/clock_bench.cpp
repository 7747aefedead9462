// Cost of one reading of the clock: the time server, the performance counter it reads, and the
// registry's performance data it read before, for comparison. Minimum over the runs.
// Usage: clock_bench [runs] [readings per run]
#include "CTimeServer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Nanoseconds per call of the reading, the fastest of the runs.
template <class Reading>
double FastestNanoseconds(int runs, int calls, Reading reading)
{
    double best = std::numeric_limits<double>::max();
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < calls; ++i)
            reading();
        QueryPerformanceCounter(&end);
        best = std::min(best, Seconds(start, end) * 1e9 / calls);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const int calls = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1000000;

    CTimeServer clock;
    volatile uint64_t sink = 0;
    const double timeServer = FastestNanoseconds(runs, calls, [&] { sink = sink + clock.GetTime(); });
    const double counter = FastestNanoseconds(runs, calls, [&] {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        sink = sink + static_cast<uint64_t>(now.QuadPart);
    });
    std::vector<BYTE> buffer(176);
    const double registry = FastestNanoseconds(runs, 3, [&] {
        DWORD size = static_cast<DWORD>(buffer.size());
        RegQueryValueExA(HKEY_PERFORMANCE_DATA, "System Up Time counter", nullptr, nullptr, buffer.data(), &size);
    });
    RegCloseKey(HKEY_PERFORMANCE_DATA);

    std::printf("CTimeServer::GetTime           %10.1f ns per reading\n", timeServer);
    std::printf("QueryPerformanceCounter        %10.1f ns per reading\n", counter);
    std::printf("registry performance data      %10.3f ms per query\n", registry / 1e6);
    return 0;
}
