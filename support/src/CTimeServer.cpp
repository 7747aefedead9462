#include "CTimeServer.h"

#include "CatchAllLog.h"

#include "KestrelDebugFunct.h"

namespace {

constexpr int32_t ModeTickCount = 1;
constexpr int32_t ModePerformanceCounter = 3;

uint64_t TickCount()
{
    return static_cast<uint64_t>(GetTickCount());
}

// Milliseconds of the performance counter (read through the support library, where tests can
// replace it for every module at once); the tick count when the counter fails or counts fewer
// than 1000 a second.
uint64_t PerformanceCounterTime()
{
    int64_t count = 0;
    int64_t countsPerSecond = 0;
    if (!ReadPerformanceCounter(&count, &countsPerSecond))
        return TickCount();
    const int64_t countsPerMs = countsPerSecond / 1000;
    if (countsPerMs <= 0)
        return TickCount();
    return static_cast<uint64_t>(count / countsPerMs);
}

} // namespace

CriticalSectionLock::CriticalSectionLock(CRITICAL_SECTION& section) : m_section(&section)
{
    EnterCriticalSection(m_section);
}

CriticalSectionLock::~CriticalSectionLock()
{
    Unlock();
}

void CriticalSectionLock::Unlock()
{
    if (m_section != nullptr)
        LeaveCriticalSection(m_section);
    m_section = nullptr;
}

CTimeServer::CTimeServer()
{
    try {
        InitializeCriticalSection(&m_lock);
        Initialize();
    }
    CATCH_ALL_RETHROW()
}

CTimeServer::~CTimeServer()
{
    try {
        DeleteCriticalSection(&m_lock);
    }
    CATCH_ALL_LOG()
}

HRESULT CTimeServer::Initialize()
{
    try {
        CriticalSectionLock lock(m_lock);
        m_mode = ModeTickCount;
        OSVERSIONINFOEXA extended = {};
        extended.dwOSVersionInfoSize = sizeof(extended);
        if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
            m_mode = extended.dwPlatformId == VER_PLATFORM_WIN32_NT ? ModePerformanceCounter : ModeTickCount;
            return S_OK;
        }
        OSVERSIONINFOA plain = {};
        plain.dwOSVersionInfoSize = sizeof(plain);
        if (GetVersionExA(&plain))
            m_mode = plain.dwPlatformId == VER_PLATFORM_WIN32_NT ? ModePerformanceCounter : ModeTickCount;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

uint64_t CTimeServer::GetTime()
{
    try {
        CriticalSectionLock lock(m_lock);
        switch (m_mode) {
        case 0:
        case ModeTickCount:
            return TickCount();
        case 2:
        case ModePerformanceCounter:
            return PerformanceCounterTime();
        default:
            return 0;
        }
    }
    CATCH_ALL_RETURN(0)
}
