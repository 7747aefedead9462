#include "KestrelDebugFunct.h"

#include <atomic>

namespace {

// Counts per second of the manual clock: that of the counter on current Windows.
constexpr int64_t kManualCountsPerSecond = 10000000;
constexpr int64_t kManualCountsPerMillisecond = kManualCountsPerSecond / 1000;

// The manual clock lives here, in the one library every module loads, so that a test moves the
// time servers of all modules at once. The real counter is read when it is off.
struct ManualClock
{
    std::atomic<bool> on{false};
    std::atomic<bool> works{true};
    std::atomic<int64_t> count{0};
    std::atomic<int64_t> countsPerSecond{kManualCountsPerSecond};
};

ManualClock g_manual;

} // namespace

BOOL ReadPerformanceCounter(int64_t* count, int64_t* countsPerSecond)
{
    if (count == nullptr || countsPerSecond == nullptr)
        return FALSE;
    if (g_manual.on.load(std::memory_order_acquire)) {
        *count = g_manual.count.load();
        *countsPerSecond = g_manual.countsPerSecond.load();
        return g_manual.works.load() ? TRUE : FALSE;
    }
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    if (!QueryPerformanceCounter(&now) || !QueryPerformanceFrequency(&frequency))
        return FALSE;
    *count = now.QuadPart;
    *countsPerSecond = frequency.QuadPart;
    return TRUE;
}

void SetTestPerformanceCounter(bool works, int64_t count, int64_t countsPerSecond)
{
    g_manual.works = works;
    g_manual.count = count;
    g_manual.countsPerSecond = countsPerSecond;
    g_manual.on.store(true, std::memory_order_release);
}

void SetTestClockMilliseconds(uint64_t milliseconds)
{
    SetTestPerformanceCounter(true, static_cast<int64_t>(milliseconds) * kManualCountsPerMillisecond,
                              kManualCountsPerSecond);
}

void AdvanceTestClockMilliseconds(int64_t milliseconds)
{
    g_manual.count.fetch_add(milliseconds * kManualCountsPerMillisecond);
}

void UseRealClock()
{
    g_manual.on.store(false, std::memory_order_release);
    g_manual.works = true;
    g_manual.countsPerSecond = kManualCountsPerSecond;
}
