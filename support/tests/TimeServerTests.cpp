#include "CTimeServer.h"
#include "ManualTestClock.h"

#include <winperf.h>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Milliseconds of the registry's performance data, the clock's former source; 0 when the query fails.
uint64_t RegistryPerformanceDataMilliseconds()
{
    std::vector<BYTE> buffer(64 * 1024);
    DWORD size = static_cast<DWORD>(buffer.size());
    const LONG result =
        RegQueryValueExA(HKEY_PERFORMANCE_DATA, "System Up Time counter", nullptr, nullptr, buffer.data(), &size);
    RegCloseKey(HKEY_PERFORMANCE_DATA);
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)
        return 0;
    const auto* block = reinterpret_cast<const PERF_DATA_BLOCK*>(buffer.data());
    const int64_t countsPerMs = block->PerfFreq.QuadPart / 1000;
    return countsPerMs > 0 ? static_cast<uint64_t>(block->PerfTime.QuadPart / countsPerMs) : 0;
}

} // namespace

TEST(CTimeServer, AdvancesWithRealTime)
{
    CTimeServer clock;
    const uint64_t before = clock.GetTime();
    EXPECT_GT(before, 0u);
    Sleep(200);
    // No upper bound: a loaded machine may sleep for seconds.
    EXPECT_GE(clock.GetTime() - before, 180u);
}

TEST(CTimeServer, AgreesWithTheRegistrysPerformanceData)
{
    CTimeServer clock;
    const uint64_t before = clock.GetTime();
    const uint64_t registry = RegistryPerformanceDataMilliseconds();
    const uint64_t after = clock.GetTime();
    ASSERT_NE(registry, 0u);
    EXPECT_GE(registry, before);
    EXPECT_LE(registry, after);
}

TEST(CTimeServer, OneInstanceIsReadFromSeveralThreads)
{
    CTimeServer clock;
    std::vector<std::thread> readers;
    std::vector<int> backwards(4, 0);
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&clock, &backwards, t] {
            uint64_t last = clock.GetTime();
            for (int i = 0; i < 100000; ++i) {
                const uint64_t now = clock.GetTime();
                if (now < last)
                    ++backwards[t];
                last = now;
            }
        });
    }
    for (std::thread& reader : readers)
        reader.join();
    for (int count : backwards)
        EXPECT_EQ(count, 0);
}

TEST(CTimeServer, ManualClockMovesEveryInstance)
{
    ManualTestClock manual(5000);
    CTimeServer first;
    CTimeServer second;
    EXPECT_EQ(first.GetTime(), 5000u);
    manual.Advance(40);
    EXPECT_EQ(first.GetTime(), 5040u);
    EXPECT_EQ(second.GetTime(), 5040u);
}

TEST(CTimeServer, PerformanceCounterReading)
{
    struct Case
    {
        bool works;
        int64_t count;
        int64_t countsPerSecond;
        bool tickCount;    // falls back to GetTickCount
        uint64_t expected; // otherwise
    };
    const Case cases[] = {
        {true, 1234567890LL * 10000, 10000000, false, 1234567890},
        {true, 777, 1000, false, 777},
        {true, 123456789, 999, true, 0},
        {true, 123456789, 0, true, 0},
        {true, 123456789, -10000000, true, 0},
        {false, 10000000, 10000000, true, 0},
    };
    CTimeServer clock;
    for (const Case& c : cases) {
        SetTestPerformanceCounter(c.works, c.count, c.countsPerSecond);
        const uint64_t ticksBefore = GetTickCount();
        const uint64_t reading = clock.GetTime();
        const uint64_t ticksAfter = GetTickCount();
        UseRealClock();
        if (c.tickCount) {
            EXPECT_GE(reading, ticksBefore) << c.countsPerSecond << " " << c.works;
            EXPECT_LE(reading, ticksAfter) << c.countsPerSecond << " " << c.works;
        } else {
            EXPECT_EQ(reading, c.expected);
        }
    }
}
