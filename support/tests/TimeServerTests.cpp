#include "CTimeServer.h"

#include <winperf.h>

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

namespace {

// What the fake performance query answers.
struct FakePerformanceData
{
    LONG result;
    LONGLONG frequency;
    LONGLONG time;
};
FakePerformanceData g_fake;

LONG WINAPI FakePerformanceQuery(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE data, LPDWORD size)
{
    if (g_fake.result != ERROR_SUCCESS)
        return g_fake.result;
    PERF_DATA_BLOCK block = {};
    block.PerfFreq.QuadPart = g_fake.frequency;
    block.PerfTime.QuadPart = g_fake.time;
    std::memcpy(data, &block, sizeof(block));
    *size = sizeof(block);
    return ERROR_SUCCESS;
}

class FakePerformanceQueryScope
{
public:
    explicit FakePerformanceQueryScope(const FakePerformanceData& data)
    {
        g_fake = data;
        SetPerformanceDataQueryForTest(&FakePerformanceQuery);
    }
    ~FakePerformanceQueryScope() { SetPerformanceDataQueryForTest(nullptr); }
};

} // namespace

TEST(CTimeServer, AdvancesWithRealTime)
{
    CTimeServer clock;
    const uint64_t before = clock.GetTime();
    EXPECT_GT(before, 0u);
    Sleep(200);
    const uint64_t elapsed = clock.GetTime() - before;
    EXPECT_GE(elapsed, 180u);
    EXPECT_LT(elapsed, 2000u);
}

TEST(CTimeServer, OneInstanceIsReadFromSeveralThreads)
{
    CTimeServer clock;
    std::vector<std::thread> readers;
    std::vector<int> backwards(4, 0);
    for (int t = 0; t < 4; ++t) {
        readers.emplace_back([&clock, &backwards, t] {
            uint64_t last = clock.GetTime();
            // Each reading queries the registry's performance data, which is slow under Wine.
            for (int i = 0; i < 25; ++i) {
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

TEST(CTimeServer, PerformanceDataReading)
{
    struct Case
    {
        FakePerformanceData data;
        bool tickCount;   // falls back to GetTickCount
        uint64_t expected; // otherwise
    };
    const Case cases[] = {
        {{ERROR_SUCCESS, 10000000, 1234567890LL * 10000}, false, 1234567890},
        {{ERROR_SUCCESS, 1000, 777}, false, 777},
        {{ERROR_SUCCESS, 999, 123456789}, true, 0},
        {{ERROR_SUCCESS, 0, 123456789}, true, 0},
        {{ERROR_MORE_DATA, 10000000, 0}, true, 0},
        {{ERROR_FILE_NOT_FOUND, 10000000, 0}, true, 0},
    };
    CTimeServer clock;
    for (const Case& c : cases) {
        FakePerformanceQueryScope fake(c.data);
        const uint64_t ticksBefore = GetTickCount();
        const uint64_t reading = clock.GetTime();
        const uint64_t ticksAfter = GetTickCount();
        if (c.tickCount) {
            EXPECT_GE(reading, ticksBefore) << c.data.frequency << " " << c.data.result;
            EXPECT_LE(reading, ticksAfter) << c.data.frequency << " " << c.data.result;
        } else {
            EXPECT_EQ(reading, c.expected);
        }
    }
}
