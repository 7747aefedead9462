#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>

namespace {

// The widget's operations; the position is the operation code. Registered byte for byte.
const char* const g_operationNames[] = {
    "GMU_SetParentWindow_UserInterface2,           D.U.R.M.I.X., 17.04.2005-02.52.00",
    "GMU_ControlStatObjectShow_UserInterface2,     D.U.R.M.I.X., 17.04.2005-16.00.00",
    "GMU_MoveObject_UserInterface2,                D.U.R.M.I.X., 17.04.2005-17.22.00",
    "GMU_SetOptimCPU_UserInterface2,               D.U.R.M.I.X., 13.05.2005-03.00.00",
    "GMU_UpdateGDIInfoForObject_UserInterface2,    D.U.R.M.I.X., 26.05.2005-03.00.00",
    "GMU_SetTextVarForObject_UserInterface2,       D.U.R.M.I.X., 26.05.2005-08.00.00",
    "GMU_UpdateGeneralInfoForObject_UserInterface2,D.U.R.M.I.X., 26.05.2005-08.01.00",
    "GMU_SetElementInfoFromIndex_UserInterface2,   D.U.R.M.I.X., 08.06.2005-21.01.00",
    "GMU_GetElementInfoFromIndex_UserInterface2,   D.U.R.M.I.X., 08.06.2005-22.01.00",
    "GMU_UpdateDataBuffer_UserInterface2,          D.U.R.M.I.X., 18.06.2005-20.01.00",
    "GMU_GetHWND_UserInterface2,                   D.U.R.M.I.X., 18.06.2005-20.01.00",
    "GMU_DumpDebugListResizedBuffer_UserInterface2,D.U.R.M.I.X., 18.06.2005-20.01.00",
    "GMU_GetPosObject_UserInterface2,              D.U.R.M.I.X., 15.03.2007-2.00.00",
    "GMU_GetBufferFromIndex_UserInterface2,        D.U.R.M.I.X., 15.03.2007-2.00.00",
    "GMU_ApplayOperationToBuffers_UserInterface2,  D.U.R.M.I.X., 16.07.2007-3.00.00",
};

constexpr uint64_t HotTimeLead = 10000;

} // namespace

FinalPictureUserInterface2::~FinalPictureUserInterface2()
{
    Free();
}

HRESULT FinalPictureUserInterface2::Allocate(uint32_t size)
{
    Free();
    HRESULT result = SAFE_TASK_ALLOC(&m_pixels, size);
    if (SUCCEEDED(result))
        m_size = size;
    return result;
}

void FinalPictureUserInterface2::Free()
{
    m_size = 0;
    m_valid_count = 0;
    SAFE_TASK_FREE(&m_pixels);
}

BaseUserInterface::BaseUserInterface(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                                     const char* objectName, HINSTANCE module, uint32_t controlId,
                                     uint32_t timerPeriod)
{
    try {
        m_array_general_buffers.Init(GeneralBufferCount, 0);
        FillDefaultElements();
        m_style_flags = styleFlags;
        m_object_name = objectName != nullptr ? objectName : "";
        m_timer_period = std::clamp(timerPeriod, MinTimerPeriod, MaxTimerPeriod);
        m_module = module != nullptr ? module : GetModuleHandleA(nullptr);
        if (FAILED(m_finall_rgb.Allocate(static_cast<uint32_t>(m_width * m_height * 4))))
            throw 240;
        // A widget that is never told a mode (as the toolbar's sets, made before their windows
        // exist) draws with the set of its default mode 1, not with empty tables.
        BaseUserInterface::SetOptimCPUReal(m_processor_mode);
        m_gdi_changed.Fill(1);
        m_property_counts.GetElement(0) = PropertyTable0Size;
        m_property_counts.GetElement(1) = 0;
        if (FAILED(m_property_tables.GetElement(0).Init(PropertyTable0Size, 0)) ||
            FAILED(m_property_changed.GetElement(0).Init(PropertyTable0Size, 0)))
            throw 240;
        m_property_changed.GetElement(0).Fill(0);
        m_element_count = std::clamp(count, 0, static_cast<int32_t>(MaxElements));
        CopyGivenElements(elements, m_element_count);
        FillDefaultProperties();
        m_hot_times.Fill(m_time_server.GetTime() - HotTimeLead);
        m_messages.InitMessages(g_operationNames, static_cast<int32_t>(std::size(g_operationNames)));
        AddOperationTable(&m_messages);
        m_control_id = controlId;
        if (FAILED(m_gdi_table.Init(GDITableSizeUserInterface2, 0)) ||
            FAILED(FillDefaultGDITableUserInterface2(&m_gdi_table)))
            throw 240;
    }
    CATCH_ALL_RETHROW()
}

BaseUserInterface::~BaseUserInterface()
{
    try {
        SafeDestroyWindow(m_window, "BaseUserInterface::~BaseUserInterface");
        ReleaseResources();
    }
    CATCH_ALL_LOG()
}

HRESULT BaseUserInterface::ReleaseResources()
{
    for (uint32_t table = 0; table < 2; ++table) {
        m_property_tables.GetElement(table).FreeAll();
        m_property_changed.GetElement(table).FreeAll();
        m_property_counts.GetElement(table) = 0;
    }
    m_finall_rgb.Free();
    m_array_general_buffers.FreeAll();
    m_finall_buffer.FreeBuffers();
    return m_gdi_table.FreeAll();
}

void BaseUserInterface::FillDefaultElements()
{
    for (uint32_t i = 0; i < MaxElements; ++i) {
        InfoElementUserInterface2& element = m_elements.GetElement(i);
        element.Field(0).SetText("TestName1");
        element.Field(1).SetText("TestName2");
        element.Field(3).SetText("Default text user interface");
        element.Field(4).SetText("TestNameFile");
        element.Field(InfoElementUserInterface2::FieldRect).SetRect(0, 0, 0, 0);
        element.Field(InfoElementUserInterface2::FieldCommand).SetInt(0);
        element.Field(InfoElementUserInterface2::FieldState).SetInt(0);
        element.Field(8).SetInt(12);
        element.Field(9).SetInt(16);
    }
}

void BaseUserInterface::CopyGivenElements(const ElementListUserInterface2& elements, int32_t count)
{
    if (elements.GetCount() == 0)
        return;
    for (int32_t i = 0; i < count; ++i)
        m_elements.GetElement(i) = elements.GetElement(i);
}

void BaseUserInterface::FillDefaultProperties()
{
    TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
    for (uint32_t i = 0; i < 7; ++i)
        table.GetElement(i).SetText("");
    table.GetElement(7).SetInt(255);
}
