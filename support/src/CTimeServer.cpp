#include "CTimeServer.h"

#include "CatchAllLog.h"

#include <winperf.h>

#include <atomic>

namespace {

constexpr int32_t ModeTickCount = 1;
constexpr int32_t ModePerformanceData = 3;
constexpr DWORD PerformanceBufferSize = 176;

std::atomic<PerformanceDataQuery> g_performanceDataQuery{&RegQueryValueExA};

uint64_t TickCount()
{
    return static_cast<uint64_t>(GetTickCount());
}

// Milliseconds from the registry's performance data header; the tick count when the query
// fails or the frequency is below 1000 counts per second.
uint64_t PerformanceDataTime()
{
    alignas(PERF_DATA_BLOCK) BYTE buffer[PerformanceBufferSize] = {};
    DWORD size = sizeof(buffer);
    if (g_performanceDataQuery.load()(HKEY_PERFORMANCE_DATA, "System Up Time counter", nullptr, nullptr, buffer,
                                      &size) != ERROR_SUCCESS)
        return TickCount();
    const auto* block = reinterpret_cast<const PERF_DATA_BLOCK*>(buffer);
    const int64_t countsPerMs = block->PerfFreq.QuadPart / 1000;
    if (countsPerMs <= 0)
        return TickCount();
    return static_cast<uint64_t>(block->PerfTime.QuadPart / countsPerMs);
}

} // namespace

static_assert(sizeof(PERF_DATA_BLOCK) <= PerformanceBufferSize, "the header fits the query buffer");

void SetPerformanceDataQueryForTest(PerformanceDataQuery query)
{
    g_performanceDataQuery = query != nullptr ? query : &RegQueryValueExA;
}

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
            m_mode = extended.dwPlatformId == VER_PLATFORM_WIN32_NT ? ModePerformanceData : ModeTickCount;
            return S_OK;
        }
        OSVERSIONINFOA plain = {};
        plain.dwOSVersionInfoSize = sizeof(plain);
        if (GetVersionExA(&plain))
            m_mode = plain.dwPlatformId == VER_PLATFORM_WIN32_NT ? ModePerformanceData : ModeTickCount;
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
        case ModePerformanceData:
            return PerformanceDataTime();
        default:
            return 0;
        }
    }
    CATCH_ALL_RETURN(0)
}
