// The output window of an instance: its messages, painting through the render object (or the
// fallback text without one), the lost-signal timer, mouse input as events and zone painting.
// All of it runs on the thread that created the window.
#include "Rendara1.h"

#include "MessageForObjectsDataPath1.h"
#include "ObjectControlDataPath1.h"

#include "FunctWorkWithHWND.h"

#include <windowsx.h>

namespace {

bool IsMouseMessage(UINT message)
{
    return (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) ||
           (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK);
}

bool IsAllOnes(WPARAM wParam, LPARAM lParam)
{
    return wParam == static_cast<WPARAM>(-1) && lParam == static_cast<LPARAM>(-1);
}

void LogDrawingError(HRESULT result)
{
    DynamicString text;
    GetErrorDirectDrawXCode(text, result);
    text.DumpString();
}

} // namespace

LRESULT Rendara1::HandleWindowMessage(InfoFilterObjectDataPath1* instance, HWND window, UINT message,
                                      WPARAM wParam, LPARAM lParam)
{
    auto* state = static_cast<InfoFilterStateRendara1*>(instance->m_state);
    try {
        switch (message) {
        case WM_CREATE:
            state->m_window = window;
            state->m_timer_id =
                SetTimer(window, kTimerId, static_cast<UINT>(state->m_timer_period_seconds) * 1000, nullptr);
            return 1;
        case WM_DESTROY:
            if (state->m_closing != 0) {
                KillTimer(window, state->m_timer_id);
                state->m_timer_id = 0;
                ShowOutputWindow(state, false);
                SetValue14(state, 0);
                SetParentWindow(state, nullptr);
            }
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            // The handle may be given to another window later: the state forgets it.
            state->m_window = nullptr;
            return 0;
        case WM_SIZE:
            CallRenderObject(this, state, &GeneralVideoRendererObject::RebuildBackSurface);
            state->m_caption_changed = 0;
            PaintOutputWindow(state);
            return 1;
        case WM_PAINT:
            if (GetUpdateRect(window, nullptr, FALSE)) {
                PAINTSTRUCT paint;
                BeginPaint(window, &paint);
                state->m_caption_changed = 0;
                PaintOutputWindow(state);
                EndPaint(window, &paint);
            }
            ValidateRect(window, nullptr);
            return 0;
        case WM_CLOSE:
            state->m_closing = 1;
            // Only the cross-thread destroy of the state closes the window; the user's close is swallowed.
            return IsAllOnes(wParam, lParam) ? DefWindowProcA(window, message, wParam, lParam) : 0;
        case WM_COMMAND:
        case WM_SYSCOMMAND:
            return 0;
        case WM_TIMER:
            OnTimer(state);
            return 0;
        default:
            if (IsMouseMessage(message))
                MouseInput(state, message, wParam, lParam);
            return DefWindowProcA(window, message, wParam, lParam);
        }
    }
    CATCH_ALL_RETURN(0)
}

HRESULT Rendara1::PaintOutputWindow(InfoFilterStateRendara1* state)
{
    if (state == nullptr)
        return E_INVALIDARG;
    if (state->m_owner != this)
        return E_UNEXPECTED;
    try {
        uint8_t needsInit = 1;
        HRESULT result = S_OK;
        if (GeneralVideoRendererObject* object = state->m_render.m_object) {
            object->SetContour(state->m_contours, state->m_contour_count);
            result = object->DrawFrame(&state->m_display, &needsInit);
        }
        else {
            result = PaintFallbackText(state);
        }
        if (needsInit != 0)
            result = CallRenderObject(this, state, &GeneralVideoRendererObject::InitDevice);
        if (FAILED(result))
            LogDrawingError(result);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Rendara1::PaintFallbackText(InfoFilterStateRendara1* state)
{
    HWND window = state->m_window;
    if (FAILED(CheckIsWindow(window)))
        return S_OK;
    HDC context = GetDC(window);
    if (context == nullptr)
        return E_FAIL;
    RECT client = {};
    GetClientRect(window, &client);
    FillRect(context, &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    SetBkMode(context, TRANSPARENT);
    const char* text = client.right - client.left <= 100 ? "..." : "Error searching video render";
    DrawTextA(context, text, -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    ReleaseDC(window, context);
    return S_OK;
}

HRESULT Rendara1::OnTimer(InfoFilterStateRendara1* state)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        const int64_t silent = static_cast<int64_t>(state->m_time.GetTime() - state->m_last_frame_time);
        if (state->m_timeout_enabled != 0 && silent >= int64_t{state->m_signal_timeout_seconds} * 1000) {
            if ((state->m_status_flags & RenderStatusLostSignal) == 0) {
                state->m_status_flags |= RenderStatusLostSignal;
                RedrawOutputWindow(state);
            }
        }
        else {
            state->m_signal_returned = 0;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Rendara1::MouseInput(InfoFilterStateRendara1* state, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (state == nullptr)
        return E_INVALIDARG;
    if (state->m_owner != this)
        return E_UNEXPECTED;
    try {
        if (state->m_event_target != nullptr && message != WM_MOUSEMOVE) {
            auto* event = new InfoEventDataFrame_ted1UserWindowInputEvent();
            event->InitStruct(this, state->m_event_target, state->m_channel);
            event->m_window = state->m_window;
            event->m_message = message;
            event->m_wparam = wParam;
            event->m_lparam = lParam;
            RaiseWindowEvent(state, event);
        }
        const bool editing = state->m_zone_editing != 0 && state->m_zone_editing2 != 0;
        if (editing && message == WM_MOUSEMOVE && (wParam & (MK_LBUTTON | MK_RBUTTON)) != 0)
            return PaintZoneCell(state, wParam, lParam);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Rendara1::PaintZoneCell(InfoFilterStateRendara1* state, WPARAM wParam, LPARAM lParam)
{
    constexpr int32_t side = InfoFilterStateRendara1::kMaskSide;
    const uint16_t value = (wParam & MK_LBUTTON) != 0 ? 1 : 0;
    RECT client = {};
    GetClientRect(state->m_window, &client);
    const int32_t width = client.right - client.left;
    const int32_t height = client.bottom - client.top;
    // Only the three zones have masks.
    if (width <= 0 || height <= 0 || state->m_zone_sub_index < 0 || state->m_zone_index < 0 ||
        state->m_zone_index >= static_cast<int32_t>(InfoFilterStateRendara1::kZones))
        return E_UNEXPECTED;
    const int32_t x = GET_X_LPARAM(lParam);
    const int32_t y = GET_Y_LPARAM(lParam);
    // A drag that leaves the window names no cell of the grid.
    if (x < 0 || y < 0 || x >= width || y >= height)
        return S_FALSE;
    const auto column = static_cast<int32_t>(static_cast<double>(x) / width * side);
    const auto row = static_cast<int32_t>(static_cast<double>(y) / height * side);
    state->m_mask_grid[row * side + column] = value;
    const HRESULT packed = PackZoneMask(state->m_mask_grid, sizeof(state->m_mask_grid), side * sizeof(uint16_t),
                                        side, state->m_zone_masks[state->m_zone_index]);
    state->m_mask_changed = 1;
    if (state->m_event_target != nullptr) {
        auto* event = new InfoEventDataFrame_ted1EditVideoContour();
        event->InitStruct(this, state->m_event_target, state->m_channel);
        RaiseWindowEvent(state, event);
    }
    return packed;
}

HRESULT Rendara1::RaiseWindowEvent(InfoFilterStateRendara1* state, InfoEventDataFrame1* event)
{
    ListEventsDataPath1 events;
    HRESULT result = AppendEventDataPath1(&events, event);
    if (FAILED(result)) {
        delete event;
        return result;
    }
    result = state->m_event_target->AddAsincEvents(&events, 1);
    // The controller empties the places of the events it took; what is left is still ours.
    for (uint32_t i = 0; i < events.GetCount(); ++i)
        delete events.GetElement(i).m_event;
    events.SetSize(0);
    return result;
}
