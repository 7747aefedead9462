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
    explicit DemoProcess(const std::string& page)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&m_output, &write, &inherit, 0))
            return;
        SetHandleInformation(m_output, HANDLE_FLAG_INHERIT, 0);
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
        while (GetTickCount64() < end) {
            const size_t newline = m_pending.find('\n');
            if (newline != std::string::npos) {
                std::string line = m_pending.substr(0, newline);
                m_pending.erase(0, newline + 1);
                return line;
            }
            DWORD available = 0;
            if (!PeekNamedPipe(m_output, nullptr, 0, nullptr, &available, nullptr))
                return "";
            if (available == 0) {
                Sleep(10);
                continue;
            }
            char buffer[512];
            DWORD read = 0;
            if (ReadFile(m_output, buffer, std::min<DWORD>(available, sizeof(buffer)), &read, nullptr))
                m_pending.append(buffer, read);
        }
        return "";
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
