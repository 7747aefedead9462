// Korvane's own layer for the services of the outside support library KestrelDebugFunct:
// the log, guarded memory in private heaps, byte helpers, system texts and DirectX error texts;
// also the performance counter every module's clock reads, with its test seam.
#pragma once

#include <windows.h>

#include <cstdint>

#ifdef KESTREL_BUILD
#define KESTREL_API __declspec(dllexport)
#else
#define KESTREL_API __declspec(dllimport)
#endif

class DynamicString;

// ---- Log ------------------------------------------------------------------------------------

// Generic text every catch-all writes.
extern KESTREL_API const char g_add_text_except[];
// Prefix of continuation lines written by dumps.
extern KESTREL_API const char g_add_text_outstand[];
// When set, opening a log file writes a header line first.
extern KESTREL_API bool g_bool_add_header_debfile;

// Appends one line: time, thread id, text, source file and line. The pointer and flag
// arguments are kept for the callers' signature and carry nothing.
KESTREL_API void fMfSG(const char* text, const void* reserved1, const char* sourceFile, int line,
                       const void* reserved2, bool reserved3, bool reserved4);
// Opens (appends to) the log file; until then lines go only to the debugger output and the hook.
KESTREL_API HRESULT fIfNITFILE(const char* path);
KESTREL_API void FlushDebugeBuffers();
// Flushes and closes the log file.
KESTREL_API void StopDebugeThread();

// Test seam: every formatted line is also handed to the hook (null removes it).
using KestrelLogHook = void (*)(const char* line, void* context);
KESTREL_API void SetKestrelLogHook(KestrelLogHook hook, void* context);

// ---- Clock ----------------------------------------------------------------------------------

// The performance counter that every time server (CTimeServer) of the process reads: normally
// QueryPerformanceCounter and QueryPerformanceFrequency. FALSE when the counter cannot be read.
KESTREL_API BOOL ReadPerformanceCounter(int64_t* count, int64_t* countsPerSecond);

// Test seam: a manual clock in place of the counter. Every module (the program, the data path,
// each plug-in, the sink filter) loads this one library, so the manual clock moves all their time
// servers together. Use it from one test thread:
//
//     SetTestClockMilliseconds(1000000);    // every CTimeServer::GetTime now answers 1000000
//     AdvanceTestClockMilliseconds(40);     // ... and now 1000040
//     UseRealClock();                       // back to the real counter
//
// support/testing/ManualTestClock.h does the same for the span of a scope. The manual clock
// counts 10000000 a second, like the counter of current Windows.
KESTREL_API void SetTestClockMilliseconds(uint64_t milliseconds);
KESTREL_API void AdvanceTestClockMilliseconds(int64_t milliseconds);
// Any counter answer, such as a failing counter or a frequency too low to count milliseconds.
KESTREL_API void SetTestPerformanceCounter(bool works, int64_t count, int64_t countsPerSecond);
KESTREL_API void UseRealClock();

// ---- Exceptions -----------------------------------------------------------------------------

// A structured-exception translator. g++ never calls translators, so this only logs and lets the
// fault pass on.
KESTREL_API void TranslatorCExceptionToCPP(unsigned int code, EXCEPTION_POINTERS* pointers);
// Last-chance filter: logs the exception code and address, flushes the log, lets the fault end the process.
KESTREL_API LONG WINAPI MainUnhandledExceptionFilterForProcess(EXCEPTION_POINTERS* pointers);

// ---- Memory ---------------------------------------------------------------------------------

// Blocks live in the given private heap, or in the library's own heap when it is null.
// New memory is zeroed. Results: 0, or a negative code (the slot is then unchanged).
KESTREL_API HRESULT SafeTaskAllocRaw(void** slot, uint64_t size, HANDLE heap);
KESTREL_API HRESULT SafeTaskReallocRaw(void** slot, uint64_t size, HANDLE heap);
KESTREL_API HRESULT SafeTaskFreeRaw(void** slot, HANDLE heap);
// Sum of the busy blocks of a heap (the library's own when null); logs it when asked.
KESTREL_API HRESULT SAFE_GET_INFO_HEAP(bool logTotal, uint64_t* total, HANDLE heap);
KESTREL_API HANDLE GetHeapForDynamicString();

template <class T>
HRESULT SAFE_TASK_ALLOC(T** slot, uint64_t size, HANDLE heap = nullptr)
{
    return SafeTaskAllocRaw(reinterpret_cast<void**>(slot), size, heap);
}
template <class T>
HRESULT SAFE_TASK_REALLOC(T** slot, uint64_t size, HANDLE heap = nullptr)
{
    return SafeTaskReallocRaw(reinterpret_cast<void**>(slot), size, heap);
}
template <class T>
HRESULT SAFE_TASK_FREE(T** slot, HANDLE heap = nullptr)
{
    return SafeTaskFreeRaw(reinterpret_cast<void**>(slot), heap);
}

// Closes a handle that is set (neither null nor INVALID_HANDLE_VALUE) and clears it.
KESTREL_API HRESULT SAFE_CLOSE_HANDLE(HANDLE& handle);

// ---- Bytes and checks -----------------------------------------------------------------------

// Copies length bytes; null pointers are refused and logged with the caller's label.
KESTREL_API HRESULT MemCopy(void* destination, const void* source, size_t length, const char* caller);
// First occurrence of pattern in block, or null.
KESTREL_API void* MemStr(const void* block, size_t size, const void* pattern, size_t patternSize);
// Replaces every occurrence of pattern with a replacement of the same length; returns the count.
KESTREL_API int MemReplaceStr1(void* block, size_t size, const void* pattern, const void* replacement,
                               size_t patternSize);
// 0 when the whole block is committed, readable and writable; 0x80004005 when not; 0x80070057 for null.
KESTREL_API HRESULT CheckRWBufferMemory(const void* block, size_t size);
// Leaves a finite number in *value, the default otherwise. 0 kept, 1 replaced, 0x80070057 null.
KESTREL_API HRESULT CheckFloatValue(float* value, float defaultValue);

// ---- Texts ----------------------------------------------------------------------------------

KESTREL_API HRESULT WideCharToChar(const wchar_t* text, char* buffer, int size);
// Makes the program's own folder the current folder.
KESTREL_API HRESULT SetDefaultPath();

struct InfoAboutCPUFromCPUID
{
    char m_text[256];          // processor brand text
    unsigned char m_flags[64]; // see CpuFlag
};
enum CpuFlag
{
    CpuFlagMMX = 0,
    CpuFlagSSE = 1,
    CpuFlagSSE2 = 2,
    CpuFlagSSE3 = 3,
    CpuFlagSSE4_1 = 4,
    CpuFlagEM64T = 5,
    CpuFlagSSE4_2 = 6,
    CpuFlagSSE4_A = 7,
};
// Fills the record from CPUID; logs the description when asked.
KESTREL_API HRESULT GetCPUInfoFromCPUID(InfoAboutCPUFromCPUID* info, bool logIt);

// ---- Processor kernel sets ------------------------------------------------------------------

// The kernel sets a module may hold for an operation, weakest first: plain code, MMX, MMX with the
// integer instructions of SSE, SSE2.
enum class ProcessorKernelSet
{
    Plain,
    Mmx,
    SseInteger,
    Sse2,
};
// The set the low 16 bits of a processor mode ask for (2: SSE-integer; 4, 8, 32, 64: SSE2; any
// other value: MMX), lowered set by set until the processor has what it needs, so a mode never
// runs instructions the processor lacks. Every module chooses its kernels through this one
// function; the first lowering in a process is logged.
KESTREL_API ProcessorKernelSet SelectProcessorKernelSet(uint32_t processorMode);
// Test seam: the selection sees these features (m_flags by CpuFlag) instead of the detected ones;
// null returns to the detected ones. Also lets the next lowering be logged again.
KESTREL_API void SetProcessorFeaturesForTest(const InfoAboutCPUFromCPUID* features);

// Processor, page and address facts of SYSTEM_INFO as two texts.
KESTREL_API HRESULT GetStringSystemInfo1(const SYSTEM_INFO* info, DynamicString& processorText,
                                         DynamicString& memoryText);
// MEMORYSTATUS as text.
KESTREL_API HRESULT GetStringSystemInfo3(const MEMORYSTATUS* status, DynamicString& text);
// Name of a DirectX (DirectDraw, DirectShow) result code, or its number.
KESTREL_API HRESULT GetTextFromErrorCodeDirectX(HRESULT code, DynamicString& text);
KESTREL_API HRESULT GetErrorDirectDrawXCode(DynamicString& text, HRESULT code);

#include "DynamicString.h"
#include "StaticString.h"
