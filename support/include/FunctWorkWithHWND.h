// Window helpers of every window-owning module: the guarded time-out send that drives objects on
// their own threads, cross-thread destruction, class registration and creation with logging,
// placement, rectangles, user data, dialog items and child-window lists.
// Only SafeSendMessageTimeout and SafeDestroyWindow may be called from any thread; the other
// helpers run on the thread that owns the window.
#pragma once

#include "KestrelDebugFunct.h"

#include <cstdint>

// 0 for a live window; 0x80004005 for 0, the all-ones handle, or a handle IsWindow refuses.
HRESULT CheckIsWindow(HWND window);

// The receiver's answer, or 0x80004005 when the window is not live or the send failed or timed
// out (both logged with the label). *delivered, when given, tells a delivered message apart from
// one that was not, since a receiver may answer 0x80004005 itself. A message that timed out may
// still be queued: records it points at need TimedSendGuard.h.
LRESULT SafeSendMessageTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t timeoutMs,
                               const DynamicString& label, bool block, bool* delivered = nullptr);
// The same with a plain label, for senders on a per-frame path: nothing is allocated unless a
// failure is logged.
LRESULT SafeSendMessageTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t timeoutMs,
                               const char* label, bool block, bool* delivered = nullptr);

// Destroys the window on its own thread; from another thread asks the owner with WM_CLOSE
// (wParam and lParam all ones). A window that is already gone gives 0.
HRESULT SafeDestroyWindow(HWND window, const char* label = nullptr);

// Registers a class once per process; 0x8000FFFF for no record or no class name.
HRESULT RegisterWindowClass(const WNDCLASSEXA* windowClass);

// CreateWindowExA; 0 without a class name or an instance.
HWND SafeCreateWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* createParam,
                      const char* label = nullptr);

bool SafeInvalidateRect(HWND window, const RECT* rect, bool erase);

// The window's user data slot (GWLP_USERDATA, pointer-sized).
HRESULT ClearWindowUserData(HWND window, const char* label = nullptr);
bool SetWindowUserData(HWND window, LONG_PTR value, const char* label = nullptr);
bool SetWindowUserDataFromPointer(HWND window, const LONG_PTR* value, const char* label = nullptr);

BOOL CenterWindowOnDesktop(HWND window);
// Centres the window on the area's right / 2, bottom / 2; the area's left and top are not used.
BOOL CenterWindowInArea(HWND window, int left, int top, int right, int bottom);
// Writes x, y, width, height (not left, top, right, bottom) of a box centred on the desktop.
HRESULT GetCenteredRectOnDesktop(int width, int height, RECT* rect);
void ScreenToClientRect(HWND window, RECT* rect);
// The client area in screen coordinates; empty for a window that is not live.
RECT GetClientRectOnScreen(HWND window);
// The rule for window rectangles given as x, y, width, height: negative values become 0, width
// and height below 10 become 10.
void NormalizeWindowRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height);
// 0 inside (edges included), 1 outside or for no rectangle.
int IsPointOutsideRect(const RECT* rect, int x, int y);

HRESULT EnableDialogItems(HWND window, bool enable, const int* itemIds, int count);

// A list of child windows begins with a sentinel node whose handle is 0.
struct WindowListNode
{
    HWND m_window;
    WindowListNode* m_next;
};

// Appends the children of the window to the list (*list null: the sentinel is made first).
HRESULT GetListChildWindows(HWND window, WindowListNode** list);
// EnumChildWindows callback; lParam is a node of the list.
BOOL CALLBACK AddChildWindowToList(HWND child, LPARAM node);
// Frees the nodes from this one to the end.
HRESULT FreeListChildWindows(WindowListNode* first);
