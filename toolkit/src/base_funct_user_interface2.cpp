#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>

namespace {

const char g_defaultWindowClass[] = "BaseWindowUserInterface2Quillmark";
constexpr int32_t MinSide = 10;
constexpr int32_t CreatedSide = 10;

} // namespace

const char* BaseUserInterface::WindowClassName() const
{
    return m_window_class_name.GetLenString() > 0 ? m_window_class_name.GetString() : g_defaultWindowClass;
}

HRESULT BaseUserInterface::CreateObject()
{
    try {
        // A second window would leave the first one and its timer behind.
        if (SUCCEEDED(CheckIsWindow(m_window)))
            return E_UNEXPECTED;
        SetupGeneralCycle(0);
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = (m_style_flags & StyleDoubleClicks) ? CS_DBLCLKS : 0;
        windowClass.lpfnWndProc = &BaseUserInterfaceWindowProc;
        windowClass.hInstance = m_module;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = WindowClassName();
        const HRESULT registered = RegisterWindowClass(&windowClass);
        DWORD style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        if (m_state_values.GetElement(StateShown) != 0)
            style |= WS_VISIBLE;
        m_window = SafeCreateWindow(m_ex_style, WindowClassName(), m_object_name.GetString(), style, 0, 0,
                                    CreatedSide, CreatedSide, nullptr, nullptr, m_module, this,
                                    "BaseUserInterface::CreateObject");
        if (m_window == nullptr)
            return E_FAIL;
        return registered;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::FreeObject()
{
    try {
        return SafeDestroyWindow(m_window, "BaseUserInterface::FreeObject");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t BaseUserInterface::GetIndexElementFromPoint(int32_t x, int32_t y)
{
    try {
        for (uint32_t i = 0; i < MaxElements; ++i) {
            if (!IsElementUsed(i))
                continue;
            const InfoTypedValueUserInterface2& area = m_elements.GetElement(i).Field(InfoElementUserInterface2::FieldRect);
            if (area.m_value.m_rect.HoldsStrictly(x, y))
                return static_cast<int32_t>(i);
        }
        return -1;
    }
    CATCH_ALL_RETURN(-1)
}

HRESULT BaseUserInterface::SetupGeneralCycle(uint32_t)
{
    try {
        HRESULT result = S_OK;
        for (uint32_t i = 0; i < 3; ++i)
            result = m_array_general_buffers.GetElement(i).ResizeBuffer(32, 32);
        if (SUCCEEDED(result))
            result = m_array_general_buffers.GetElement(3).ResizeBuffer(16, 16);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::MoveObjectReal(int32_t left, int32_t top, int32_t width, int32_t height)
{
    try {
        m_left = std::max(left, 0);
        m_top = std::max(top, 0);
        m_width = std::max(width, MinSide);
        m_height = std::max(height, MinSide);
        if (FAILED(CheckIsWindow(m_window)))
            return E_UNEXPECTED;
        MoveWindow(m_window, m_left, m_top, m_width, m_height, FALSE);
        InvalidateRect(m_window, nullptr, FALSE);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::SetWindowReal(int32_t index, HWND window)
{
    try {
        if (index < 0 || index > 2)
            return E_UNEXPECTED;
        m_related_windows.GetElement(index) = window;
        if (index != 0)
            return S_OK;
        if (FAILED(CheckIsWindow(m_window)))
            return E_UNEXPECTED;
        const LONG_PTR style = GetWindowLongPtrA(m_window, GWL_STYLE);
        if (FAILED(CheckIsWindow(window))) {
            SetWindowLongPtrA(m_window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_CHILD)) | WS_POPUP);
            SetParent(m_window, window);
        } else {
            SetParent(m_window, window);
            SetWindowLongPtrA(m_window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CHILD);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::SetOptimCPUReal(uint32_t mode)
{
    m_processor_mode = mode;
    return S_OK;
}

HRESULT BaseUserInterface::UpdateDataBufferReal(int32_t index, const InfoGeneralBufferForUserInterface2*, bool)
{
    if (index < 0 || index >= static_cast<int32_t>(m_array_general_buffers.GetCount()))
        return E_UNEXPECTED;
    return E_NOTIMPL;
}

HRESULT BaseUserInterface::DumpDebugListResizedBufferReal()
{
    try {
        LOG_TEXT("BaseUserInterface::DumpDebugListResizedBufferReal::begin------------------------------------------"
                 "--------------------");
        m_object_name.DumpString();
        int64_t total = 0;
        for (uint32_t i = 0; i < m_array_general_buffers.GetCount(); ++i) {
            const int32_t size = m_array_general_buffers.GetElement(i).m_max_size_byte_buffer;
            if (size <= 0)
                continue;
            total += size;
            DynamicString line("m_array_general_buffers[ indx_buffer ].m_max_size_byte_buffer = ");
            line += size;
            line += ":: ";
            line += i;
            line.DumpString();
        }
        DynamicString summary("loc_summ_size_buffers = ");
        summary += static_cast<long long>(total);
        summary += "   m_finall_buffer.m_max_size_byte_buffer = ";
        summary += m_finall_buffer.m_max_size_byte_buffer;
        summary += "   m_max_size_finall_rgb_buffer = ";
        summary += m_finall_rgb.m_size;
        summary.DumpString();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::OnCreateWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return S_OK;
}

HRESULT BaseUserInterface::OnDestroyWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return S_OK;
}

HRESULT BaseUserInterface::CycleBeforeFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    return S_OK;
}

HRESULT BaseUserInterface::CycleAfterFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    return S_OK;
}

HRESULT BaseUserInterface::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return S_OK;
}

HRESULT BaseUserInterface::OnMouseHoverLeave(HWND, UINT, WPARAM, LPARAM, uint64_t)
{
    return S_OK;
}

HRESULT BaseUserInterface::OnSetFocus(HWND, WPARAM, LPARAM)
{
    return S_OK;
}

HRESULT BaseUserInterface::OnKillFocus(HWND, WPARAM, LPARAM)
{
    return S_OK;
}

HRESULT BaseUserInterface::OnKeyMessage(UINT, HWND, WPARAM, LPARAM)
{
    return S_OK;
}

HRESULT BaseUserInterface::OnMouseButton(HWND, UINT, WPARAM, LPARAM, uint64_t, bool)
{
    return S_OK;
}
