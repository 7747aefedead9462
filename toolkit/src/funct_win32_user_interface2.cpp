#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

LRESULT CALLBACK BaseUserInterface::BaseUserInterfaceWindowProc(HWND window, UINT message, WPARAM wParam,
                                                                LPARAM lParam)
{
    try {
        auto* widget = reinterpret_cast<BaseUserInterface*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        switch (message) {
        case WM_CREATE: {
            const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (creation == nullptr || creation->lpCreateParams == nullptr)
                return -1;
            return static_cast<BaseUserInterface*>(creation->lpCreateParams)->OnCreateMessage(window, wParam, lParam);
        }
        case WM_DESTROY:
            if (widget == nullptr)
                break;
            return widget->OnDestroyMessage(window, wParam, lParam);
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        default:
            break;
        }
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT BaseUserInterface::OnCreateMessage(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (!SetWindowUserData(window, reinterpret_cast<LONG_PTR>(this), "BaseUserInterface::WM_CREATE"))
        return -1;
    m_window = window;
    m_timer_id = SetTimer(window, reinterpret_cast<UINT_PTR>(this), m_timer_period, nullptr);
    OnCreateWindow(window, wParam, lParam, m_time_server.GetTime());
    return 0;
}

// The window is going: the handle is forgotten, so a later handle of the same value is never taken
// for this widget's.
LRESULT BaseUserInterface::OnDestroyMessage(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (m_timer_id != 0) {
        KillTimer(window, m_timer_id);
        m_timer_id = 0;
    }
    OnDestroyWindow(window, wParam, lParam, m_time_server.GetTime());
    ClearWindowUserData(window, "BaseUserInterface::WM_DESTROY");
    m_window = nullptr;
    return 0;
}
