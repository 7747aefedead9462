#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <array>

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

// ---- image operations of the processor mode ----

namespace {

constexpr uint32_t ListedOperations = 36;
using OperationList = std::array<UnifSwordFunction, ListedOperations>;

// One list per kernel set. `s` names the variants of every entry; `t` those of the entries that have
// an any-alignment twin (the same as `s` except in the SSE2 list for unaligned parts). Indexes the
// widgets' slots use keep their fixed roles; the others are further bit, constant and plane members.
#define WIDGET_OPERATION_LIST(s, t)                                                                        \
    OperationList                                                                                          \
    {                                                                                                      \
        nullptr,                        /*  0 */                                                           \
            SetConstSWORD##t,           /*  1 constant under the mask */                                   \
            CopyPlaneMaskedSWORD##t,    /*  2 copy */                                                      \
            XorConstSWORD##t,           /*  3 */                                                           \
            AndConstSWORD##t,           /*  4 AND with a constant */                                       \
            OrConstSWORD##t,            /*  5 */                                                           \
            AndNotConstSWORD##t,        /*  6 */                                                           \
            XorPlaneSWORD##t,           /*  7 */                                                           \
            OrPlaneSWORD##t,            /*  8 */                                                           \
            key_source_sword_funct##t,  /*  9 colour key */                                                \
            AndNotPlaneSWORD##t,        /* 10 */                                                           \
            AddPlaneSWORD##t,           /* 11 saturated add */                                             \
            SubPlaneSWORD##t,           /* 12 saturated subtract */                                        \
            SetConstSWORD##t,           /* 13 colour fill from vector A */                                 \
            AddConstSWORD##t,           /* 14 */                                                           \
            MulPlaneSWORD##t,           /* 15 multiply */                                                  \
            SubConstSWORD##t,           /* 16 */                                                           \
            SetConstSWORD##t,           /* 17 constant fill */                                             \
            nullptr,                    /* 18 */                                                           \
            nullptr,                    /* 19 */                                                           \
            gradient_fill_sword_funct##t, /* 20 gradient fill */                                           \
            blure_const_sword_funct##s, /* 21 blur */                                                      \
            sharp_const_sword_funct##s, /* 22 sharpen */                                                   \
            AndPlaneSWORD##t,           /* 23 AND of planes */                                             \
            MulShiftPlaneSWORD##t,      /* 24 multiply and shift */                                        \
            nullptr,                    /* 25 */                                                           \
            DistancePatternSWORD##s,    /* 26 distance pattern */                                          \
            AbsDiffSWORD##t,            /* 27 absolute difference */                                       \
            MulConstSWORD##t,           /* 28 */                                                           \
            MulShiftConstSWORD##t,      /* 29 */                                                           \
            ContrastPivotSWORD##t,      /* 30 */                                                           \
            CmpGTConstSWORD##t,         /* 31 */                                                           \
            CmpGTAddForSWord##t,        /* 32 */                                                           \
            GenerateImageFunct##t,      /* 33 band generation */                                           \
            ThresholdSelectSWORD##s,    /* 34 */                                                           \
            MulComplementShiftSWORD##t, /* 35 multiply by (constant - source) and shift */                 \
    }

constexpr OperationList PlainList = WIDGET_OPERATION_LIST(_c, _c);
constexpr OperationList MmxList = WIDGET_OPERATION_LIST(_mmx, _mmx);
constexpr OperationList Sse2List = WIDGET_OPERATION_LIST(_sse2, _sse2);
constexpr OperationList Sse2AnyAlignmentList = WIDGET_OPERATION_LIST(_sse2, _sse2u);

const OperationList& ListOf(ProcessorKernelSet set, bool anyAlignment)
{
    switch (set) {
    case ProcessorKernelSet::Sse2:
        return anyAlignment ? Sse2AnyAlignmentList : Sse2List;
    // The SSE-integer set of these operations is the MMX code.
    case ProcessorKernelSet::SseInteger:
    case ProcessorKernelSet::Mmx:
        return MmxList;
    default:
        return PlainList;
    }
}

// The widget's modes: one feature bit of the processor word that has a set.
bool ModeHasSet(uint32_t mode)
{
    switch (mode & 0xFFFF) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 32:
    case 64:
        return true;
    default:
        return false;
    }
}

} // namespace

void FillOperationTableUserInterface2(OperationTableUserInterface2& table, ProcessorKernelSet set, bool anyAlignment)
{
    table.Fill(nullptr);
    const OperationList& list = ListOf(set, anyAlignment);
    for (uint32_t i = 0; i < ListedOperations; ++i)
        table.GetElement(i) = list[i];
}

HRESULT BaseUserInterface::SelectOperationSets()
{
    try {
        m_operations_aligned.Fill(nullptr);
        m_operations_unaligned.Fill(nullptr);
        m_operation_granularity.Fill(0);
        if (!ModeHasSet(m_processor_mode))
            return E_FAIL;
        const ProcessorKernelSet set = SelectProcessorKernelSet(m_processor_mode);
        FillOperationTableUserInterface2(m_operations_aligned, set, false);
        FillOperationTableUserInterface2(m_operations_unaligned, set, true);
        HRESULT result = S_OK;
        for (uint32_t i = 0; i < OperationCountUserInterface2; ++i) {
            const UnifSwordFunction operation = m_operations_aligned.GetElement(i);
            if (operation != nullptr)
                result = operation(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                   &m_operation_granularity.GetElement(i));
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void BaseUserInterface::SetSingleOperations(ProcessorKernelSet set)
{
    const OptimFunctionTableSWORD& column = GetOptimFunctionTableSWORD(set);
    m_rgb32_to_planes = column.rgb32ToR16G16B16;
    m_mirror = column.mirrorTopToBottom;
    m_resize = column.resize;
    m_clamp = column.clampTo255;
    switch (set) {
    case ProcessorKernelSet::Sse2:
        m_planes_to_rgb32 = r16g16b16_to_rgb32_sse2;
        break;
    case ProcessorKernelSet::SseInteger:
    case ProcessorKernelSet::Mmx:
        m_planes_to_rgb32 = r16g16b16_to_rgb32_mmx;
        break;
    default:
        m_planes_to_rgb32 = r16g16b16_to_rgb32_c;
        break;
    }
}

HRESULT BaseUserInterface::SetOptimCPUReal(uint32_t mode)
{
    m_processor_mode = mode;
    const HRESULT selected = SelectOperationSets();
    try {
        if (ModeHasSet(mode))
            SetSingleOperations(SelectProcessorKernelSet(mode));
        return selected;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

uint64_t BaseUserInterface::GetSummSizeBuffers() const
{
    try {
        uint64_t total = 0;
        for (uint32_t i = 0; i < m_array_general_buffers.GetCount(); ++i)
            total += static_cast<uint64_t>(std::max(m_array_general_buffers.GetElement(i).m_max_size_byte_buffer, 0));
        return total + static_cast<uint64_t>(std::max(m_finall_buffer.m_max_size_byte_buffer, 0));
    }
    CATCH_ALL_RETURN(0)
}
