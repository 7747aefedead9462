// The millisecond clock of the system: milliseconds since the system started, as 64 bits.
// One instance may be read from several threads. A reading costs well under a microsecond, so
// it may be taken on every frame. Tests move every module's clock with the manual clock of
// KestrelDebugFunct.h (SetTestClockMilliseconds, support/testing/ManualTestClock.h).
#pragma once

#include <windows.h>

#include <cstdint>

// Enters a critical section when made; leaves it on Unlock or at the end of the scope.
class CriticalSectionLock
{
public:
    explicit CriticalSectionLock(CRITICAL_SECTION& section);
    ~CriticalSectionLock();
    CriticalSectionLock(const CriticalSectionLock&) = delete;
    CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

    void Unlock();

private:
    CRITICAL_SECTION* m_section;
};

class CTimeServer
{
public:
    CTimeServer();
    virtual ~CTimeServer();
    CTimeServer(const CTimeServer&) = delete;
    CTimeServer& operator=(const CTimeServer&) = delete;

    // Chooses the clock: the performance counter on NT platforms, GetTickCount elsewhere.
    HRESULT Initialize();
    uint64_t GetTime();

private:
    int32_t m_mode = 0; // 0 before set-up, 1 tick count, 3 (or 2) performance counter
    CRITICAL_SECTION m_lock;
};
