#include "FunctWorkWithHWND.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"

#if !defined(_WIN64)
static_assert(sizeof(WNDCLASSEXA) == 48, "the window class record of the 32-bit platform");
#endif

namespace {

const HWND g_allOnesWindow = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));
// The 32-bit all-ones value as some callers store it, widened without its sign.
const HWND g_allOnes32Window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0xFFFFFFFFu));

void LogLabel(const char* label)
{
    if (label != nullptr)
        LOG_TEXT(label);
}

void LogLastErrorText()
{
    DynamicString text;
    GetTextFromErrorCode(GetLastError(), text);
    text.DumpString();
}

bool IsOwnedByCallingThread(HWND window)
{
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

} // namespace

HRESULT CheckIsWindow(HWND window)
{
    try {
        if (window == nullptr || window == g_allOnesWindow || window == g_allOnes32Window)
            return E_FAIL;
        return IsWindow(window) ? S_OK : E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

LRESULT SafeSendMessageTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t timeoutMs,
                               const DynamicString& label, bool block, bool* delivered)
{
    return SafeSendMessageTimeout(window, message, wParam, lParam, timeoutMs, label.GetString(), block, delivered);
}

LRESULT SafeSendMessageTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t timeoutMs,
                               const char* label, bool block, bool* delivered)
{
    if (delivered != nullptr)
        *delivered = false;
    try {
        StaticString<128> text("error::[ ");
        if (FAILED(CheckIsWindow(window))) {
            LogLabel(label);
            text += static_cast<int>(message);
            text += " ] failed";
            LOG_TEXT(text.GetString());
            return E_FAIL;
        }
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(window, message, wParam, lParam, block ? SMTO_BLOCK : SMTO_NORMAL,
                                static_cast<UINT>(timeoutMs), &answer) != 0) {
            if (delivered != nullptr)
                *delivered = true;
            return static_cast<LRESULT>(answer);
        }

        const DWORD ownerThread = GetWindowThreadProcessId(window, nullptr);
        text += static_cast<int>(timeoutMs / 1000);
        text += " ] sec wait, idc [ ";
        text += static_cast<int>(message);
        text += " ], idth [ ";
        text += static_cast<unsigned long>(ownerThread);
        text += " ]";
        LOG_TEXT(text.GetString());
        LogLabel(label);
        return E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SafeDestroyWindow(HWND window, const char* label)
{
    try {
        if (FAILED(CheckIsWindow(window)))
            return S_OK;
        if (!IsOwnedByCallingThread(window)) {
            LOG_TEXT("attention::begin destroy window in another thread");
            // Only the owner may destroy its window; its procedure does so on this WM_CLOSE.
            SafeSendMessageTimeout(window, WM_CLOSE, static_cast<WPARAM>(-1), static_cast<LPARAM>(-1), 60000,
                                   DynamicString("rDestroyWindow"), false);
            return S_OK;
        }
        if (DestroyWindow(window))
            return S_OK;
        LogLastErrorText();
        LogLabel(label);
        return E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RegisterWindowClass(const WNDCLASSEXA* windowClass)
{
    try {
        if (windowClass == nullptr || windowClass->lpszClassName == nullptr)
            return E_UNEXPECTED;
        WNDCLASSEXA known = *windowClass;
        known.cbSize = sizeof(WNDCLASSEXA);
        if (GetClassInfoExA(windowClass->hInstance, windowClass->lpszClassName, &known))
            return S_OK;

        WNDCLASSEXA registration = *windowClass;
        registration.cbSize = sizeof(WNDCLASSEXA);
        SetLastError(0);
        // A failure is only logged: the window creation that follows fails and its caller reports.
        if (RegisterClassExA(&registration) == 0 && GetLastError() != 0)
            LOG_TEXT(windowClass->lpszClassName);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HWND SafeCreateWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* createParam,
                      const char* label)
{
    try {
        if (className == nullptr || instance == nullptr)
            return nullptr;
        return CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance,
                               createParam);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        LogLastErrorText();
        LogLabel(label);
        return nullptr;
    }
}

bool SafeInvalidateRect(HWND window, const RECT* rect, bool erase)
{
    try {
        return SUCCEEDED(CheckIsWindow(window)) && InvalidateRect(window, rect, erase ? TRUE : FALSE);
    }
    CATCH_ALL_RETURN(false)
}

HRESULT ClearWindowUserData(HWND window, const char* label)
{
    try {
        if (FAILED(CheckIsWindow(window))) {
            LogLabel(label);
            return E_FAIL;
        }
        SetLastError(0);
        if (SetWindowLongPtrA(window, GWLP_USERDATA, 0) == 0 && GetLastError() != 0) {
            LogLabel(label);
            return E_FAIL;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool SetWindowUserData(HWND window, LONG_PTR value, const char* label)
{
    try {
        if (value == 0 || FAILED(CheckIsWindow(window))) {
            LogLabel(label);
            return false;
        }
        SetLastError(0);
        // A previous value of 0 is only a failure when the last error says so.
        if (SetWindowLongPtrA(window, GWLP_USERDATA, value) != 0 || GetLastError() == 0)
            return true;
        LogLabel(label);
        return false;
    }
    CATCH_ALL_RETURN(false)
}

bool SetWindowUserDataFromPointer(HWND window, const LONG_PTR* value, const char* label)
{
    try {
        if (value == nullptr) {
            LogLabel(label);
            return false;
        }
        return SetWindowUserData(window, *value, label);
    }
    CATCH_ALL_RETURN(false)
}

BOOL CenterWindowOnDesktop(HWND window)
{
    try {
        RECT desktop = {};
        GetWindowRect(GetDesktopWindow(), &desktop);
        return CenterWindowInArea(window, desktop.left, desktop.top, desktop.right, desktop.bottom);
    }
    CATCH_ALL_RETURN(FALSE)
}

BOOL CenterWindowInArea(HWND window, int /*left*/, int /*top*/, int right, int bottom)
{
    try {
        RECT own = {};
        GetWindowRect(window, &own);
        int width = own.right - own.left;
        int height = own.bottom - own.top;
        if (width <= 0)
            width = 50;
        if (height <= 0)
            height = 50;
        int x = right / 2 - width / 2;
        int y = bottom / 2 - height / 2;
        if (x < 0)
            x = 0;
        if (y < 0)
            y = 0;
        return MoveWindow(window, x, y, width, height, FALSE);
    }
    CATCH_ALL_RETURN(FALSE)
}

HRESULT GetCenteredRectOnDesktop(int width, int height, RECT* rect)
{
    try {
        if (rect != nullptr)
            *rect = RECT{};
        RECT desktop = {};
        if (rect == nullptr || width < 1 || height < 1 || !GetWindowRect(GetDesktopWindow(), &desktop))
            return E_FAIL;
        int x = desktop.right / 2 - width / 2;
        int y = desktop.bottom / 2 - height / 2;
        if (x <= 0)
            x = 10;
        if (y <= 0)
            y = 10;
        *rect = RECT{x, y, width, height};
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

RECT GetClientRectOnScreen(HWND window)
{
    RECT rect = {};
    if (SUCCEEDED(CheckIsWindow(window)) && GetClientRect(window, &rect))
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ScreenToClientRect(HWND window, RECT* rect)
{
    try {
        if (rect == nullptr)
            return;
        POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
        ScreenToClient(window, &corners[0]);
        ScreenToClient(window, &corners[1]);
        *rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }
    CATCH_ALL_LOG()
}

void NormalizeWindowRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height)
{
    constexpr int32_t kSmallest = 10;
    x = x < 0 ? 0 : x;
    y = y < 0 ? 0 : y;
    width = width < kSmallest ? kSmallest : width;
    height = height < kSmallest ? kSmallest : height;
}

int IsPointOutsideRect(const RECT* rect, int x, int y)
{
    if (rect == nullptr)
        return 1;
    return rect->left <= x && x <= rect->right && rect->top <= y && y <= rect->bottom ? 0 : 1;
}

HRESULT EnableDialogItems(HWND window, bool enable, const int* itemIds, int count)
{
    try {
        if (FAILED(CheckIsWindow(window)) || itemIds == nullptr || count < 1)
            return E_FAIL;
        for (int i = 0; i < count; ++i)
            EnableWindow(GetDlgItem(window, itemIds[i]), enable ? TRUE : FALSE);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetListChildWindows(HWND window, WindowListNode** list)
{
    try {
        if (list == nullptr || !IsWindow(window))
            return E_FAIL;
        if (*list == nullptr && FAILED(SAFE_TASK_ALLOC(list, sizeof(WindowListNode))))
            return E_FAIL;
        EnumChildWindows(window, AddChildWindowToList, reinterpret_cast<LPARAM>(*list));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

BOOL CALLBACK AddChildWindowToList(HWND child, LPARAM node)
{
    try {
        auto* last = reinterpret_cast<WindowListNode*>(node);
        if (last == nullptr)
            return TRUE;
        while (last->m_next != nullptr)
            last = last->m_next;
        WindowListNode* added = nullptr;
        if (FAILED(SAFE_TASK_ALLOC(&added, sizeof(WindowListNode)))) {
            LOG_TEXT("AddChildWindowToList::no memory for a node");
            return TRUE;
        }
        added->m_window = child;
        last->m_next = added;
        return TRUE;
    }
    CATCH_ALL_RETURN(TRUE)
}

HRESULT FreeListChildWindows(WindowListNode* first)
{
    try {
        while (first != nullptr) {
            WindowListNode* next = first->m_next;
            SAFE_TASK_FREE(&first);
            first = next;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
