#include "TestActiveObject.h"

#include "FunctWorkWithHWND.h"

namespace {

const char kWindowClass[] = "Korvane test active object window";

} // namespace

TestActiveObject::TestActiveObject(Start start) : aObjectBaseForGlobalObject(nullptr), m_start(start)
{
    m_name_object = "TestActiveObject";
    m_unblock = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_run_holds = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_release_run = CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

TestActiveObject::~TestActiveObject()
{
    // The thread ends before the members it uses go.
    if (GetThreadIdObject() != 0)
        DestroyDependThreadObject();
    CloseHandle(m_release_run);
    CloseHandle(m_run_holds);
    CloseHandle(m_unblock);
}

bool TestActiveObject::WaitUntilRunHolds(DWORD timeoutMs) const
{
    return WaitForSingleObject(m_run_holds, timeoutMs) == WAIT_OBJECT_0;
}

HRESULT TestActiveObject::PreInitThreadProc()
{
    m_hook_thread_id = GetCurrentThreadId();
    if (m_start == Start::EndThread)
        ExitThread(7);
    if (m_start == Start::Hang)
        WaitForSingleObject(m_unblock, INFINITE);
    return S_OK;
}

HRESULT TestActiveObject::InitThreadProc()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &TestActiveObject::WindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterWindowClass(&windowClass);
    const char* className = m_start == Start::NoWindow ? "Korvane test class never registered" : kWindowClass;
    m_hwnd = SafeCreateWindow(WS_EX_TOOLWINDOW, className, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, 10, 10, nullptr,
                              nullptr, GetModuleHandleA(nullptr), this, "TestActiveObject window");
    m_window_made = m_hwnd;
    if (m_hwnd == nullptr)
        return E_UNEXPECTED;
    if (m_start == Start::ThrowAfterWindow)
        throw 2;
    return S_OK;
}

HRESULT TestActiveObject::RealRun()
{
    ++m_run_count;
    if (m_hold_run) {
        SetEvent(m_run_holds);
        WaitForSingleObject(m_release_run, INFINITE);
    }
    return S_OK;
}

HRESULT TestActiveObject::RealDestroyDependThreadObject()
{
    return SafeDestroyWindow(m_hwnd, "TestActiveObject::RealDestroyDependThreadObject");
}

LRESULT CALLBACK TestActiveObject::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowUserData(window, reinterpret_cast<LONG_PTR>(create->lpCreateParams), "TestActiveObject::WM_CREATE");
        return 0;
    }
    auto* object = reinterpret_cast<TestActiveObject*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (object == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    return object->Handle(window, message, wParam, lParam);
}

LRESULT TestActiveObject::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    const HRESULT answer = CatchRegisteredMessage(window, message, wParam, lParam, &handled);
    if (handled)
        return answer;
    // Registered messages of other objects.
    if (message >= 0xC000) {
        m_unknown_answer = answer;
        m_unknown_handled = handled;
    }
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ClearWindowUserData(window, "TestActiveObject::WM_DESTROY");
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
