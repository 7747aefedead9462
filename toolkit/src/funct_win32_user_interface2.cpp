// The window procedure of every widget: operation messages, window life, painting, keys and the
// mouse over the widget's elements.
#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>

namespace {

// Messages that a window of a widget class answers with 1 while it has no widget.
bool IsWidgetMessage(UINT message)
{
    switch (message) {
    case WM_SIZE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_PAINT:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_TIMER:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
        return true;
    default:
        return false;
    }
}

// Mouse positions are the unsigned low and high words of lParam.
int32_t MouseX(LPARAM lParam)
{
    return LOWORD(lParam);
}

int32_t MouseY(LPARAM lParam)
{
    return HIWORD(lParam);
}

bool IsElementIndex(int32_t index)
{
    return index >= 0 && index < static_cast<int32_t>(BaseUserInterface::MaxElements);
}

bool HasAny(uint32_t state, uint32_t bits)
{
    return (state & bits) != 0;
}

} // namespace

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
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_MOUSEACTIVATE:
            SetFocus(window);
            return MA_ACTIVATE;
        default:
            break;
        }
        if (widget == nullptr)
            return IsWidgetMessage(message) ? 1 : DefWindowProcA(window, message, wParam, lParam);
        return widget->HandleWindowMessage(window, message, wParam, lParam);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        return 0;
    }
}

LRESULT BaseUserInterface::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsOperationMessage(message))
        return RunGuardedOperation(window, message, wParam, lParam);
    if (message != WM_TIMER) {
        bool handled = false;
        if (SUCCEEDED(CompliteStandartMessage(window, message, wParam, lParam, &handled)) && handled)
            return 0;
    }
    switch (message) {
    case WM_DESTROY:
        return OnDestroyMessage(window, wParam, lParam);
    case WM_SIZE:
        m_force_finalize = 1;
        OnSizeWindow(window, wParam, lParam, m_time_server.GetTime());
        return 0;
    case WM_SETFOCUS:
        m_has_focus = 1;
        OnSetFocus(window, wParam, lParam);
        return 0;
    case WM_KILLFOCUS:
        m_has_focus = 0;
        OnKillFocus(window, wParam, lParam);
        return 0;
    case WM_PAINT:
        return OnPaintMessage(window, wParam, lParam);
    case WM_TIMER:
        OnTimerCycle(window, wParam, lParam, false);
        return 0;
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
        OnKeyMessage(message, window, wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        m_object_name.DumpString();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMoveMessage(window, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        CatchMouseButtonsMessage(window, message, wParam, lParam, false);
        return 0;
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
        OnMouseHoverLeaveMessage(window, message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
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

// ---- painting ----

LRESULT BaseUserInterface::OnPaintMessage(HWND window, WPARAM wParam, LPARAM lParam)
{
    RECT update = {};
    if (!GetUpdateRect(window, &update, FALSE) || IsRectEmpty(&update))
        return 0;
    PAINTSTRUCT paint = {};
    HDC context = BeginPaint(window, &paint);
    try {
        DrawFinallBufferToHDC(window, wParam, lParam, &update, context, &paint);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    EndPaint(window, &paint);
    return 0;
}

// The whole picture is handed over and the paint's clipping keeps it to the update rectangle: a
// band of rows taken from a top-down picture starting below row 0 is drawn from the wrong rows
// (or not at all), which left stale pixels where a lower part was uncovered.
HRESULT BaseUserInterface::DrawFinallBufferToHDC(HWND, WPARAM, LPARAM, const RECT* update, HDC context,
                                                 const PAINTSTRUCT* paint)
{
    try {
        if (update == nullptr || context == nullptr || paint == nullptr)
            return E_INVALIDARG;
        if (m_width < 1 || m_height < 1)
            return S_OK;
        const int32_t x = std::clamp<int32_t>(update->left, 0, m_width - 1);
        const int32_t y = std::clamp<int32_t>(update->top, 0, m_height - 1);
        const int32_t w = std::min(std::clamp<int32_t>(update->right - update->left, 0, m_width), m_width - x);
        const int32_t h = std::min(std::clamp<int32_t>(update->bottom - update->top, 0, m_height), m_height - y);
        const uint64_t pictureSize = static_cast<uint64_t>(m_width) * m_height * 4;
        if (m_finall_rgb.m_pixels == nullptr || m_finall_rgb.m_valid_count <= 0 || m_finall_rgb.m_size < pictureSize ||
            w < 1 || h < 1)
            return S_OK;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = m_width;
        info.bmiHeader.biHeight = -m_height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        info.bmiHeader.biSizeImage = static_cast<DWORD>(pictureSize);
        const int drawn = SetDIBitsToDevice(context, 0, 0, m_width, m_height, 0, 0, 0, m_height,
                                            m_finall_rgb.m_pixels, &info, DIB_RGB_COLORS);
        if (drawn == 0 || drawn == -1) {
            DynamicString error;
            GetTextFromErrorCode(GetLastError(), error);
            error.DumpString();
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- keys and mouse ----

void BaseUserInterface::OnMouseMoveMessage(HWND window, WPARAM wParam, LPARAM lParam)
{
    const uint64_t now = m_time_server.GetTime();
    if (m_mouse_tracking == 0) {
        m_mouse_tracking = 1;
        m_mouse_enter_time = now;
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window, HOVER_DEFAULT};
        TrackMouseEvent(&track);
    }
    const int32_t x = MouseX(lParam);
    const int32_t y = MouseY(lParam);
    if (x == m_last_mouse_x && y == m_last_mouse_y)
        return;
    m_last_mouse_x = x;
    m_last_mouse_y = y;
    const int32_t hit = GetIndexElementFromPoint(x, y);
    UpdateHotFlags(hit, now);
    // Dragging onto an element presses it.
    if ((wParam & MK_LBUTTON) && IsElementIndex(hit))
        CatchMouseButtonsMessage(window, WM_LBUTTONDOWN, wParam, lParam, true);
    OnMouseMove(window, wParam, lParam, m_time_server.GetTime());
    ForwardMouseMessage(WM_MOUSEMOVE, wParam, lParam);
}

void BaseUserInterface::UpdateHotFlags(int32_t hit, uint64_t time)
{
    for (uint32_t i = 0; i < MaxElements; ++i) {
        if (!IsElementUsed(i))
            continue;
        const uint8_t hot = static_cast<int32_t>(i) == hit ? 1 : 0;
        if (hot == m_hot_flags.GetElement(i) || HasAny(m_elements.GetElement(i).GetStateWord(), ElementStateDisabled))
            continue;
        m_hot_flags.GetElement(i) = hot;
        m_hot_times.GetElement(i) = time;
    }
}

// The position in the coordinates of general buffer 0. An empty client area keeps the position as
// it is instead of dividing by zero.
HRESULT BaseUserInterface::OnMouseMove(HWND window, WPARAM, LPARAM, uint64_t)
{
    try {
        RECT client = {};
        if (!GetClientRect(window, &client))
            return E_FAIL;
        const InfoGeneralBufferForUserInterface2& buffer = m_array_general_buffers.GetElement(0);
        const auto rescale = [](int32_t position, int32_t bufferSide, LONG clientSide) {
            return static_cast<int32_t>(static_cast<double>(bufferSide - 1) * position / clientSide);
        };
        if (client.right - client.left >= 1)
            m_last_mouse_x = rescale(m_last_mouse_x, buffer.m_width_element, client.right - client.left);
        if (client.bottom - client.top >= 1)
            m_last_mouse_y = rescale(m_last_mouse_y, buffer.m_height_element, client.bottom - client.top);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::CatchMouseButtonsMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                    bool synthetic)
{
    try {
        const HRESULT result = OnMouseButton(window, message, wParam, lParam, m_time_server.GetTime(), synthetic);
        const int32_t hit = GetIndexElementFromPoint(MouseX(lParam), MouseY(lParam));
        switch (message) {
        case WM_LBUTTONDOWN:
            PressElement(hit, synthetic);
            break;
        case WM_LBUTTONUP:
            ReleaseElement(hit, synthetic);
            break;
        case WM_LBUTTONDBLCLK:
            NotifyDoubleClick(hit);
            break;
        default:
            break;
        }
        if (!synthetic)
            ForwardMouseMessage(message, wParam, lParam);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void BaseUserInterface::PressElement(int32_t hit, bool synthetic)
{
    if (!synthetic)
        m_left_button_down = 1;
    m_previous_pressed_element = m_pressed_element;
    m_pressed_element = hit;
    if (IsElementIndex(hit) && HasAny(m_elements.GetElement(hit).GetStateWord(), ElementStateDisabled))
        m_pressed_element = -1;
}

// A click counts only when the release hits the element the press hit.
void BaseUserInterface::ReleaseElement(int32_t hit, bool synthetic)
{
    if (!synthetic)
        m_left_button_down = 0;
    if (!IsElementIndex(m_pressed_element))
        return;
    const int32_t pressed = m_pressed_element;
    m_pressed_element = -1;
    if (hit != pressed)
        return;
    const uint32_t index = static_cast<uint32_t>(pressed);
    if (HasAny(m_elements.GetElement(index).GetStateWord(), ElementStateSilent | ElementStateDisabled))
        return;
    ToggleElement(index);
    PostCommand(index);
}

void BaseUserInterface::ToggleElement(uint32_t index)
{
    InfoElementUserInterface2& element = m_elements.GetElement(index);
    uint32_t state = element.GetStateWord();
    if (!HasAny(state, ElementStateToggle) || m_toggle_enabled == 0)
        return;
    // A member of an exclusive group is checked by every click; it is unchecked only by another member.
    if (!HasAny(state, ElementStateChecked) || HasAny(state, ElementStateExclusive))
        state |= ElementStateChecked;
    else
        state &= ~static_cast<uint32_t>(ElementStateChecked);
    element.Field(InfoElementUserInterface2::FieldState).SetInt(static_cast<int32_t>(state));
    if (HasAny(state, ElementStateExclusive))
        UncheckOtherGroupMembers(index);
}

void BaseUserInterface::UncheckOtherGroupMembers(uint32_t clicked)
{
    constexpr uint32_t member = ElementStateToggle | ElementStateExclusive;
    for (uint32_t i = 0; i < MaxElements; ++i) {
        if (i == clicked || !IsElementUsed(i))
            continue;
        InfoElementUserInterface2& other = m_elements.GetElement(i);
        const uint32_t state = other.GetStateWord();
        if ((state & member) != member || HasAny(state, ElementStateDisabled | ElementStateSilent))
            continue;
        other.Field(InfoElementUserInterface2::FieldState)
            .SetInt(static_cast<int32_t>(state & ~static_cast<uint32_t>(ElementStateChecked)));
    }
}

void BaseUserInterface::NotifyDoubleClick(int32_t hit)
{
    if (!IsElementIndex(hit))
        return;
    const uint32_t state = m_elements.GetElement(hit).GetStateWord();
    if (HasAny(state, ElementStateSilent))
        return;
    if (HasAny(state, ElementStateDisabled) && !HasAny(state, ElementStateNotifyDisabled))
        return;
    PostCommand(static_cast<uint32_t>(hit));
}

// Posted, never sent: a widget never waits on its owner.
void BaseUserInterface::PostCommand(uint32_t index)
{
    const InfoElementUserInterface2& element = m_elements.GetElement(index);
    const int32_t command = element.Field(InfoElementUserInterface2::FieldCommand).m_value.m_int;
    HWND receiver = m_related_windows.GetElement(1);
    if (command == 0 || FAILED(CheckIsWindow(receiver)))
        return;
    PostMessageA(receiver, WM_COMMAND, MAKEWPARAM(command, element.m_notification_code),
                 static_cast<LPARAM>(element.GetStateWord()));
}

void BaseUserInterface::ForwardMouseMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND receiver = m_related_windows.GetElement(2);
    if (SUCCEEDED(CheckIsWindow(receiver)))
        PostMessageA(receiver, message, wParam, lParam);
}

LRESULT BaseUserInterface::OnMouseHoverLeaveMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const uint64_t now = m_time_server.GetTime();
    if (message == WM_MOUSELEAVE) {
        m_pressed_element = -1;
        m_mouse_tracking = 0;
        m_mouse_enter_time = now;
        for (uint32_t i = 0; i < MaxElements; ++i) {
            const uint32_t state = m_elements.GetElement(i).GetStateWord();
            // A disabled element keeps its hover look unless it still notifies.
            if (m_hot_flags.GetElement(i) == 0 ||
                (HasAny(state, ElementStateDisabled) && !HasAny(state, ElementStateNotifyDisabled)))
                continue;
            m_hot_flags.GetElement(i) = 0;
            m_hot_times.GetElement(i) = now;
        }
        m_last_mouse_x = m_width / 2;
        m_last_mouse_y = m_height / 2;
    }
    return OnMouseHoverLeave(window, message, wParam, lParam, now);
}
