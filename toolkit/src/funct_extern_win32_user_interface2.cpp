// The public operations of a widget and the dispatcher that runs them on the window's thread.
#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<int32_t> g_send_timeout_ms{BaseUserInterface::SendTimeoutMs};

enum Operation : uint32_t
{
    OperationSetWindow = 0,
    OperationControlStatObjectShow = 1,
    OperationMoveObject = 2,
    OperationSetOptimCPU = 3,
    OperationUpdateGDIInfoForObject = 4,
    OperationSetTextVarForObject = 5,
    OperationUpdateGeneralInfoForObject = 6,
    OperationSetElementInfoFromIndex = 7,
    OperationGetElementInfoFromIndex = 8,
    OperationUpdateDataBuffer = 9,
    OperationGetHWND = 10,
    OperationDumpDebugListResizedBuffer = 11,
    OperationGetPosObject = 12,
    OperationGetBufferFromIndex = 13,
    OperationApplayOperationToBuffers = 14,
};

constexpr uint32_t MovePositionCount = 4;
constexpr uint32_t MovePositionTypes[MovePositionCount] = {TypeParamUInt, TypeParamUInt, TypeParamUInt,
                                                           TypeParamUInt};

template <class Record>
WPARAM AsWParam(Record& record)
{
    return reinterpret_cast<WPARAM>(&record);
}

// The record an operation message carries; a message without one is refused (240).
template <class Record>
const Record& RecordAt(WPARAM wParam)
{
    if (wParam == 0)
        throw 240;
    return *reinterpret_cast<const Record*>(wParam);
}

} // namespace

void BaseUserInterface::SetSendTimeoutForTest(int32_t timeoutMs)
{
    g_send_timeout_ms = timeoutMs > 0 ? timeoutMs : SendTimeoutMs;
}

HRESULT BaseUserInterface::AddOperationTable(const ObjectWindowMessage1* table)
{
    if (table == nullptr)
        return E_INVALIDARG;
    for (uint32_t i = 0; i < MaxOperationTables; ++i) {
        const ObjectWindowMessage1*& place = m_operation_tables.GetElement(i);
        if (place == nullptr) {
            place = table;
            return S_OK;
        }
    }
    return E_UNEXPECTED;
}

bool BaseUserInterface::IsOperationMessage(UINT message) const
{
    for (uint32_t i = 0; i < MaxOperationTables; ++i) {
        const ObjectWindowMessage1* table = m_operation_tables.GetElement(i);
        if (table != nullptr && table->GetIndexFromMessage(message) >= 0)
            return true;
    }
    return false;
}

HRESULT BaseUserInterface::SendOperation(const ObjectWindowMessage1& table, uint32_t index, WPARAM wParam,
                                         LPARAM lParam, const char* label)
{
    try {
        const UINT message = table.GetMessageFromIndex(index);
        if (message == 0)
            return E_FAIL;
        HWND window = m_window;
        // The window's own thread must not wait on itself; it needs no guard either, since its
        // records outlive the call.
        if (SUCCEEDED(CheckIsWindow(window)) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
            return static_cast<HRESULT>(RunOperationMessage(window, message, wParam, lParam));
        HRESULT answer = E_FAIL;
        if (FAILED(m_send_guard.Send(window, message, wParam, lParam, g_send_timeout_ms.load(), label,
                                     m_blocking_send != 0, &answer)))
            return E_FAIL;
        return answer;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

LRESULT BaseUserInterface::RunOperationMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        bool handled = false;
        const HRESULT result = CompliteStandartMessage(window, message, wParam, lParam, &handled);
        return handled ? result : S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

LRESULT BaseUserInterface::RunGuardedOperation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TimedSendRequest* request = m_send_guard.BeginOperation(wParam, lParam);
    if (request == nullptr)
        return E_FAIL;
    const LRESULT result = RunOperationMessage(window, message, request->m_wparam, request->m_lparam);
    m_send_guard.EndOperation(request, static_cast<HRESULT>(result));
    return result;
}

HRESULT BaseUserInterface::CompliteStandartMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    if (handled == nullptr)
        return E_INVALIDARG;
    *handled = false;
    try {
        switch (m_messages.GetIndexFromMessage(message)) {
        case OperationSetWindow:
            return SetWindowReal(static_cast<int32_t>(wParam), reinterpret_cast<HWND>(lParam));
        case OperationControlStatObjectShow:
            return ControlStatObjectShowReal(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
        case OperationMoveObject:
            return MoveObjectFromList(reinterpret_cast<const ListParamsDataPath1*>(wParam));
        case OperationSetOptimCPU:
            return SetOptimCPUReal(static_cast<uint32_t>(wParam));
        case OperationUpdateGDIInfoForObject: {
            const auto& record = RecordAt<InfoMessageForUpdateGDIInfoForObject>(wParam);
            return UpdateGDIInfoForObjectReal(record.m_entries, record.m_indexes, record.m_count);
        }
        case OperationSetTextVarForObject:
            return SetTextVarForObjectReal(static_cast<int32_t>(wParam), reinterpret_cast<const char*>(lParam));
        case OperationUpdateGeneralInfoForObject: {
            const auto& record = RecordAt<InfoMessageForUpdateGeneralInfoForObject>(wParam);
            return UpdateGeneralInfoForObjectReal(record.m_table, record.m_values, record.m_indexes, record.m_count);
        }
        case OperationSetElementInfoFromIndex: {
            const auto& record = RecordAt<InfoMessageForXXXElementInfoFromIndex>(wParam);
            return SetElementInfoFromIndexReal(record.m_elements, record.m_indexes, record.m_count);
        }
        case OperationGetElementInfoFromIndex: {
            const auto& record = RecordAt<InfoMessageForXXXElementInfoFromIndex>(wParam);
            return GetElementInfoFromIndexReal(record.m_elements, record.m_indexes, record.m_count);
        }
        case OperationUpdateDataBuffer: {
            const auto& record = RecordAt<InfoMessageForXXXUpdateDataBuffer>(wParam);
            return UpdateDataBufferReal(record.m_index, record.m_buffer, record.m_mark != 0);
        }
        case OperationGetHWND:
            return WriteHWND(reinterpret_cast<HWND*>(wParam));
        case OperationDumpDebugListResizedBuffer:
            return DumpDebugListResizedBufferReal();
        case OperationGetPosObject: {
            const auto& record = RecordAt<InfoMessageForGetPosObject>(wParam);
            return GetPosObjectReal(record.m_left, record.m_top, record.m_width, record.m_height);
        }
        case OperationGetBufferFromIndex: {
            const auto& record = RecordAt<InfoMessageForXXXUpdateDataBuffer>(wParam);
            return CopyBufferFromIndex(record.m_index, record.m_buffer);
        }
        case OperationApplayOperationToBuffers: {
            const auto& record = RecordAt<InfoMessageForApplayOperationToBuffers>(wParam);
            return ExecuteAction(record.m_destination_planes, record.m_source_planes, record.m_width, record.m_height,
                                 record.m_destination_stride, record.m_source_stride, record.m_destination_offset,
                                 record.m_source_offset, record.m_action);
        }
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A list that is not exactly four integers is ignored.
HRESULT BaseUserInterface::MoveObjectFromList(const ListParamsDataPath1* list)
{
    if (CheckListParamsUserInterface2(list, MovePositionCount, MovePositionTypes) != S_OK)
        return S_OK;
    const auto value = [list](uint32_t i) { return list->m_params.GetElement(i).GetInt(); };
    return MoveObjectReal(value(0), value(1), value(2), value(3));
}

HRESULT BaseUserInterface::WriteHWND(HWND* result)
{
    if (result == nullptr)
        return E_UNEXPECTED;
    *result = GetHWNDReal();
    return S_OK;
}

HRESULT CheckListParamsUserInterface2(const ListParamsDataPath1* list, int32_t expectedCount,
                                      const uint32_t* expectedTypes)
{
    try {
        if (list == nullptr)
            return E_INVALIDARG;
        const uint32_t maxCount = ListParamsDataPath1::kMaxParams;
        const uint32_t expected = static_cast<uint32_t>(std::clamp<int32_t>(expectedCount, 0, maxCount));
        if (list->m_size != sizeof(ListParamsDataPath1) || list->m_count > maxCount)
            return E_UNEXPECTED;
        for (uint32_t i = 0; i < maxCount; ++i) {
            const bool typed = list->m_params.GetElement(i).m_type != TypeParamNone;
            if (typed != (i < list->m_count))
                return E_FAIL;
        }
        if (expected != 0 && expected != list->m_count)
            return E_FAIL;
        if (expectedTypes != nullptr)
            for (uint32_t i = 0; i < list->m_count; ++i)
                if (list->m_params.GetElement(i).m_type != expectedTypes[i])
                    return E_FAIL;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- public operations ----

HRESULT BaseUserInterface::SetWindow(int32_t index, HWND window)
{
    return SendOperation(m_messages, OperationSetWindow, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(window),
                         "BaseUserInterface::SetWindow");
}

HRESULT BaseUserInterface::ControlStatObjectShow(int32_t index, int32_t value)
{
    return SendOperation(m_messages, OperationControlStatObjectShow, static_cast<WPARAM>(index),
                         static_cast<LPARAM>(value), "BaseUserInterface::ControlStatObjectShow");
}

HRESULT BaseUserInterface::MoveObject(int32_t left, int32_t top, int32_t width, int32_t height)
{
    try {
        ListParamsDataPath1 list;
        list.SetNumberParams(MovePositionCount);
        const int32_t values[MovePositionCount] = {left, top, width, height};
        for (uint32_t i = 0; i < MovePositionCount; ++i)
            list.m_params.GetElement(i).SetUInt(static_cast<uint32_t>(values[i]));
        return SendOperation(m_messages, OperationMoveObject, AsWParam(list), 0, "BaseUserInterface::MoveObject");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::SetOptimCPU(uint32_t mode)
{
    return SendOperation(m_messages, OperationSetOptimCPU, mode, 0, "BaseUserInterface::SetOptimCPU");
}

HRESULT BaseUserInterface::UpdateGDIInfoForObject(const GDIListUserInterface2* entries,
                                                  const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        InfoMessageForUpdateGDIInfoForObject record;
        record.m_entries = entries;
        record.m_indexes = indexes;
        record.m_count = count;
        return SendOperation(m_messages, OperationUpdateGDIInfoForObject, AsWParam(record), 0,
                             "BaseUserInterface::UpdateGDIInfoForObject");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::SetTextVarForObject(int32_t index, const char* text)
{
    return SendOperation(m_messages, OperationSetTextVarForObject, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(text), "BaseUserInterface::SetTextVarForObject");
}

HRESULT BaseUserInterface::UpdateGeneralInfoForObject(int32_t table, const TypedValueListUserInterface2* values,
                                                      const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        InfoMessageForUpdateGeneralInfoForObject record;
        record.m_table = table;
        record.m_values = values;
        record.m_indexes = indexes;
        record.m_count = count;
        return SendOperation(m_messages, OperationUpdateGeneralInfoForObject, AsWParam(record), 0,
                             "BaseUserInterface::UpdateGeneralInfoForObject");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::SetElementInfoFromIndex(const ElementListUserInterface2* elements,
                                                   const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        InfoMessageForXXXElementInfoFromIndex record;
        // The set operation only reads the list.
        record.m_elements = const_cast<ElementListUserInterface2*>(elements);
        record.m_indexes = indexes;
        record.m_count = count;
        return SendOperation(m_messages, OperationSetElementInfoFromIndex, AsWParam(record), 0,
                             "BaseUserInterface::SetElementInfoFromIndex");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::GetElementInfoFromIndex(ElementListUserInterface2* elements,
                                                   const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        InfoMessageForXXXElementInfoFromIndex record;
        record.m_elements = elements;
        record.m_indexes = indexes;
        record.m_count = count;
        return SendOperation(m_messages, OperationGetElementInfoFromIndex, AsWParam(record), 0,
                             "BaseUserInterface::GetElementInfoFromIndex");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HWND BaseUserInterface::GetHWND()
{
    HWND window = nullptr;
    if (FAILED(SendOperation(m_messages, OperationGetHWND, AsWParam(window), 0, "BaseUserInterface::GetHWND")))
        return nullptr;
    return window;
}

HRESULT BaseUserInterface::DumpDebugListResizedBuffer()
{
    return SendOperation(m_messages, OperationDumpDebugListResizedBuffer, 0, 0,
                         "BaseUserInterface::DumpDebugListResizedBuffer");
}

HRESULT BaseUserInterface::GetPosObject(int32_t* left, int32_t* top, int32_t* width, int32_t* height)
{
    try {
        for (int32_t* result : {left, top, width, height})
            if (result != nullptr)
                *result = 0;
        InfoMessageForGetPosObject record;
        record.m_left = left;
        record.m_top = top;
        record.m_width = width;
        record.m_height = height;
        return SendOperation(m_messages, OperationGetPosObject, AsWParam(record), 0,
                             "BaseUserInterface::GetPosObject");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::UpdateDataBuffer(int32_t index, const InfoGeneralBufferForUserInterface2* buffer, bool mark)
{
    try {
        InfoMessageForXXXUpdateDataBuffer record;
        record.m_index = index;
        // The update only reads the buffer.
        record.m_buffer = const_cast<InfoGeneralBufferForUserInterface2*>(buffer);
        record.m_mark = mark ? 1 : 0;
        return SendOperation(m_messages, OperationUpdateDataBuffer, AsWParam(record), 0,
                             "BaseUserInterface::UpdateDataBuffer");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::GetBufferFromIndex(int32_t index, InfoGeneralBufferForUserInterface2* buffer)
{
    try {
        InfoMessageForXXXUpdateDataBuffer record;
        record.m_index = index;
        record.m_buffer = buffer;
        return SendOperation(m_messages, OperationGetBufferFromIndex, AsWParam(record), 0,
                             "BaseUserInterface::GetBufferFromIndex");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::ApplayOperationToBuffers(int16_t* const* destinationPlanes, int16_t* const* sourcePlanes,
                                                    int32_t width, int32_t height, int32_t destinationStride,
                                                    int32_t sourceStride, int32_t destinationOffset,
                                                    int32_t sourceOffset, const InfoActionUserInterface2& action)
{
    try {
        InfoMessageForApplayOperationToBuffers record;
        record.m_destination_planes = destinationPlanes;
        record.m_source_planes = sourcePlanes;
        record.m_width = width;
        record.m_height = height;
        record.m_destination_stride = destinationStride;
        record.m_source_stride = sourceStride;
        record.m_destination_offset = destinationOffset;
        record.m_source_offset = sourceOffset;
        record.m_action = action;
        return SendOperation(m_messages, OperationApplayOperationToBuffers, AsWParam(record), 0,
                             "BaseUserInterface::ApplayOperationToBuffers");
    }
    CATCH_ALL_RETURN(E_FAIL)
}
