// toolkit_demo run beside a test program: its output read line by line, its widget windows found by
// their place, and the screen read where its children lie.
#pragma once

#include "TestWidget.h"

#include <windows.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

inline constexpr DWORD LineTimeoutMs = 30000;

struct ChildLine
{
    unsigned m_id = 0;
    unsigned m_kind = 0;
    RECT m_rect = {};
};

// toolkit_demo running beside the test program, its output read line by line.
class DemoProcess
{
public:
    // The demo writes into a named pipe read with overlapped calls, so waiting for its output is a
    // wait on an event.
    explicit DemoProcess(const std::string& page)
    {
        static LONG demos = 0;
        const std::string name = "\\\\.\\pipe\\KorvaneToolkitDemo" + std::to_string(GetCurrentProcessId()) + "_" +
                                 std::to_string(InterlockedIncrement(&demos));
        m_output = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED,
                                    PIPE_TYPE_BYTE | PIPE_WAIT, 1, sizeof(m_buffer), sizeof(m_buffer), 0, nullptr);
        if (m_output == INVALID_HANDLE_VALUE) {
            m_output = nullptr;
            return;
        }
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE write = CreateFileA(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
        if (write == INVALID_HANDLE_VALUE)
            return;
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        std::string command = "\"" + ProgramFolder() + "toolkit_demo.exe\" " + page + " 60";
        m_started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                   &m_process) != 0;
        CloseHandle(write);
    }
    ~DemoProcess()
    {
        if (m_started) {
            TerminateProcess(m_process.hProcess, 0);
            WaitForSingleObject(m_process.hProcess, 10000);
            CloseHandle(m_process.hProcess);
            CloseHandle(m_process.hThread);
        }
        if (m_output != nullptr)
            CloseHandle(m_output);
        CloseHandle(m_readDone);
    }
    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    bool Started() const { return m_started; }

    // The demo's own window: other demos may run beside it.
    HWND Host() const
    {
        std::pair<DWORD, HWND> search{m_process.dwProcessId, nullptr};
        EnumWindows(MatchHost, reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    // The next line, or "" when none came in time.
    std::string NextLine()
    {
        const ULONGLONG end = GetTickCount64() + LineTimeoutMs;
        for (;;) {
            const size_t newline = m_pending.find('\n');
            if (newline != std::string::npos) {
                std::string line = m_pending.substr(0, newline);
                m_pending.erase(0, newline + 1);
                return line;
            }
            const ULONGLONG now = GetTickCount64();
            if (now >= end || !ReadMore(static_cast<DWORD>(end - now)))
                return "";
        }
    }

    // The children it prints before "ready".
    std::vector<ChildLine> ReadChildren()
    {
        std::vector<ChildLine> children;
        for (std::string line = NextLine(); !line.empty() && line != "ready"; line = NextLine()) {
            std::istringstream words(line);
            std::string word;
            ChildLine child;
            words >> word >> child.m_id >> word >> child.m_kind >> child.m_rect.left >> child.m_rect.top >>
                child.m_rect.right >> child.m_rect.bottom;
            children.push_back(child);
        }
        return children;
    }

    // Waits for a line that contains the text.
    bool WaitForLine(const std::string& text)
    {
        for (std::string line = NextLine(); !line.empty(); line = NextLine())
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

private:
    // Appends what the demo writes next, waiting up to timeout ms; false when nothing came (the
    // time ran out or the demo closed its output).
    bool ReadMore(DWORD timeout)
    {
        if (m_output == nullptr)
            return false;
        OVERLAPPED overlapped = {};
        overlapped.hEvent = m_readDone;
        if (!ReadFile(m_output, m_buffer, sizeof(m_buffer), nullptr, &overlapped) && GetLastError() != ERROR_IO_PENDING)
            return false;
        if (WaitForSingleObject(m_readDone, timeout) != WAIT_OBJECT_0)
            CancelIo(m_output);
        // A cancelled read still completes: the buffer is not left to it.
        DWORD read = 0;
        if (!GetOverlappedResult(m_output, &overlapped, &read, TRUE))
            return false;
        m_pending.append(m_buffer, read);
        return read > 0;
    }

    static BOOL CALLBACK MatchHost(HWND window, LPARAM context)
    {
        auto& search = *reinterpret_cast<std::pair<DWORD, HWND>*>(context);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[64] = {};
        GetClassNameA(window, name, sizeof(name));
        if (process != search.first || std::string(name) != "KorvaneToolkitDemoWindow")
            return TRUE;
        search.second = window;
        return FALSE;
    }

    static std::string ProgramFolder()
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder(path);
        return folder.substr(0, folder.find_last_of('\\') + 1);
    }

    HANDLE m_output = nullptr;
    HANDLE m_readDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    char m_buffer[512] = {};
    PROCESS_INFORMATION m_process = {};
    bool m_started = false;
    std::string m_pending;
};

// Whether the rectangle of the screen shows more than a few colours: the widget drew.
inline bool ShowsPicture(const RECT& rect)
{
    return WaitFor([&] {
        const std::vector<uint32_t> pixels =
            ScreenPixels(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
        return std::set<uint32_t>(pixels.begin(), pixels.end()).size() > 8;
    });
}

struct WidgetSearch
{
    const char* m_class;
    POINT m_point;
    HWND m_found;
};

inline BOOL CALLBACK MatchWidget(HWND window, LPARAM context)
{
    auto& wanted = *reinterpret_cast<WidgetSearch*>(context);
    char name[128] = {};
    GetClassNameA(window, name, sizeof(name));
    RECT rect = {};
    GetWindowRect(window, &rect);
    if (std::string(name) != wanted.m_class || !PtInRect(&rect, wanted.m_point))
        return TRUE;
    wanted.m_found = window;
    return FALSE;
}

// The demo's widget window of the class whose rectangle holds the screen point. Other test
// programs share the display, so the window is found by its place in the demo, not on the screen.
inline HWND DemoWidgetAt(const DemoProcess& demo, const char* windowClass, POINT screen)
{
    WidgetSearch search = {windowClass, screen, nullptr};
    EnumChildWindows(demo.Host(), MatchWidget, reinterpret_cast<LPARAM>(&search));
    return search.m_found;
}

// Presses and releases the left button at the screen point of the window.
inline void ClickAt(HWND window, POINT screen)
{
    POINT client = screen;
    ScreenToClient(window, &client);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}
