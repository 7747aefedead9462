#include "KestrelDebugFunct.h"

#include <io.h>

#include <cstdio>
#include <cstring>
#include <mutex>

const char g_add_text_except[] = "Exception caught";
const char g_add_text_outstand[] = "    ";
bool g_bool_add_header_debfile = true;

namespace {

struct LogState
{
    std::mutex lock;
    FILE* file = nullptr;
    KestrelLogHook hook = nullptr;
    void* hookContext = nullptr;
};

LogState& Log()
{
    static LogState state;
    return state;
}

// Source paths are long and differ between build machines; the file name is what helps.
const char* BaseName(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p != 0; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;
    return name;
}

void FormatLine(char* line, size_t size, const char* text, const char* sourceFile, int lineNumber)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::snprintf(line, size, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] %s (%s:%d)", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, GetCurrentThreadId(),
                  text != nullptr ? text : "(null)", sourceFile != nullptr ? BaseName(sourceFile) : "?",
                  lineNumber);
}

// Under the log's lock.
void WriteLine(LogState& log, const char* formatted)
{
    if (log.file != nullptr)
        std::fprintf(log.file, "%s\n", formatted);
    else
        OutputDebugStringA(formatted);
    if (log.hook != nullptr)
        log.hook(formatted, log.hookContext);
}

// Without the log's lock: straight to the file's system handle, past the C runtime's own lock of
// the stream, and to the debugger.
void WriteLineUnlocked(const LogState& log, const char* formatted)
{
    OutputDebugStringA(formatted);
    FILE* file = log.file;
    if (file == nullptr)
        return;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    DWORD written = 0;
    WriteFile(handle, formatted, static_cast<DWORD>(std::strlen(formatted)), &written, nullptr);
    WriteFile(handle, "\r\n", 2, &written, nullptr);
}

} // namespace

void fMfSG(const char* text, const void*, const char* sourceFile, int line, const void*, bool, bool)
{
    char formatted[1024];
    FormatLine(formatted, sizeof(formatted), text, sourceFile, line);

    LogState& log = Log();
    std::lock_guard<std::mutex> guard(log.lock);
    WriteLine(log, formatted);
}

HRESULT fIfNITFILE(const char* path)
{
    if (path == nullptr)
        return E_INVALIDARG;
    LogState& log = Log();
    {
        std::lock_guard<std::mutex> guard(log.lock);
        if (log.file != nullptr)
            std::fclose(log.file);
        log.file = std::fopen(path, "a");
        if (log.file == nullptr)
            return E_FAIL;
    }
    if (g_bool_add_header_debfile)
        fMfSG("Log opened", nullptr, __FILE__, __LINE__, nullptr, false, true);
    return S_OK;
}

void FlushDebugeBuffers()
{
    LogState& log = Log();
    std::lock_guard<std::mutex> guard(log.lock);
    if (log.file != nullptr)
        std::fflush(log.file);
}

void StopDebugeThread()
{
    LogState& log = Log();
    std::lock_guard<std::mutex> guard(log.lock);
    if (log.file != nullptr) {
        std::fclose(log.file);
        log.file = nullptr;
    }
}

void SetKestrelLogHook(KestrelLogHook hook, void* context)
{
    LogState& log = Log();
    std::lock_guard<std::mutex> guard(log.lock);
    log.hook = hook;
    log.hookContext = context;
}

void TranslatorCExceptionToCPP(unsigned int code, EXCEPTION_POINTERS* pointers)
{
    char text[128];
    std::snprintf(text, sizeof(text), "Processor exception 0x%08X at %p", code,
                  pointers != nullptr && pointers->ExceptionRecord != nullptr
                      ? pointers->ExceptionRecord->ExceptionAddress
                      : nullptr);
    fMfSG(text, nullptr, __FILE__, __LINE__, nullptr, false, true);
}

LONG WINAPI MainUnhandledExceptionFilterForProcess(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers != nullptr ? pointers->ExceptionRecord : nullptr;
    char text[128];
    std::snprintf(text, sizeof(text), "Unhandled exception 0x%08lX at %p",
                  record != nullptr ? record->ExceptionCode : 0UL,
                  record != nullptr ? record->ExceptionAddress : nullptr);
    char formatted[1024];
    FormatLine(formatted, sizeof(formatted), text, __FILE__, __LINE__);
    // The faulting thread may hold the log's lock: never wait for it here.
    LogState& log = Log();
    std::unique_lock<std::mutex> guard(log.lock, std::try_to_lock);
    if (!guard.owns_lock()) {
        WriteLineUnlocked(log, formatted);
        return EXCEPTION_CONTINUE_SEARCH;
    }
    WriteLine(log, formatted);
    if (log.file != nullptr)
        std::fflush(log.file);
    return EXCEPTION_CONTINUE_SEARCH;
}
