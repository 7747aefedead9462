// For the span of a scope, every time server of the process (in every module) reads a clock the
// test moves by hand, starting at the given millisecond.
#pragma once

#include "KestrelDebugFunct.h"

#include <cstdint>

class ManualTestClock
{
public:
    explicit ManualTestClock(uint64_t startMilliseconds = 1000000) { SetTestClockMilliseconds(startMilliseconds); }
    ~ManualTestClock() { UseRealClock(); }
    ManualTestClock(const ManualTestClock&) = delete;
    ManualTestClock& operator=(const ManualTestClock&) = delete;

    void Advance(int64_t milliseconds) { AdvanceTestClockMilliseconds(milliseconds); }
};
