// Worker side of the interface calls: addressed to one camera, one object or every filter with
// an interface; the typed calls for fixed methods; the handles and the user record handed on.
#include "ObjectControlDataPath1.h"

#include "ObjectDataPath1.h"
#include "struct_format_graph1.h"

#include "CatchAllLog.h"

namespace {

InfoParamDataPath1& Param(ListParamsDataPath1& params, uint32_t index)
{
    return params.m_params.GetElement(index);
}

} // namespace

// ---- Addressed calls ---------------------------------------------------------------------------

HRESULT ObjectControlDataPath1::CallInterfaceFunctionForIDCameraReal(int32_t idCamera, int32_t subId, GUID iid,
                                                                     int32_t indexMethod, ListParamsDataPath1* params)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CallInterfaceFunctionForIDCameraReal"))
        return E_UNEXPECTED;
    if (params == nullptr)
        return E_INVALIDARG;
    try {
        MemoryBlockClass<int32_t> cameras;
        HRESULT result = GetAllIDCameraFromFilters(&cameras);
        if (FAILED(result))
            return result;
        // The sub id counts occurrences along the chain: 0 the first, -1 the second, and so on.
        int32_t counter = subId;
        for (uint32_t k = 0; k < cameras.GetSize(); ++k) {
            const int32_t reported = *cameras.GetPointerFromOffset(k);
            if (idCamera != -1 && idCamera != reported)
                continue;
            ObjectDataPath1* head = GetHeadFilterFromIDCamera(reported);
            if (head == nullptr)
                continue;
            ObjectDataPath1* target = FindFilterWithInterface(head, &counter, iid);
            if (target != nullptr)
                result = target->CallInterfaceFunction(iid, indexMethod, params);
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::CallInterfaceFunctionForIDObjectReal(int32_t idObject, int32_t /*subId*/, GUID iid,
                                                                     int32_t indexMethod, ListParamsDataPath1* params)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CallInterfaceFunctionForIDObjectReal"))
        return E_UNEXPECTED;
    try {
        if (idObject < 0) {
            LOG_TEXT("ObjectControlDataPath1::CallInterfaceFunctionForIDObjectReal::negative object id");
            return E_FAIL;
        }
        ObjectDataPath1* filter = m_filters.GetElement(static_cast<uint32_t>(idObject));
        return filter == nullptr ? S_FALSE : filter->CallInterfaceFunction(iid, indexMethod, params);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::QueryInterfaceForIDObjectReal(int32_t idObject, int32_t /*subId*/, GUID iid)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::QueryInterfaceForIDObjectReal"))
        return E_UNEXPECTED;
    try {
        if (idObject < 0) {
            LOG_TEXT("ObjectControlDataPath1::QueryInterfaceForIDObjectReal::negative object id");
            return E_FAIL;
        }
        ObjectDataPath1* filter = m_filters.GetElement(static_cast<uint32_t>(idObject));
        return filter == nullptr ? S_FALSE : filter->QueryInterfaceFunction(iid);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::CallInterfaceFunctionForAllObjectsReal(GUID iid, int32_t indexMethod,
                                                                       ListParamsDataPath1* params)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CallInterfaceFunctionForAllObjectsReal"))
        return E_UNEXPECTED;
    if (params == nullptr)
        return E_INVALIDARG;
    try {
        MemoryBlockClass<ObjectDataPath1*> filters;
        HRESULT result = GetAllFiltersWithInterfaceReal(iid, &filters);
        if (FAILED(result))
            return result;
        for (uint32_t k = 0; k < filters.GetSize(); ++k)
            result = (*filters.GetPointerFromOffset(k))->CallInterfaceFunction(iid, indexMethod, params);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Handles and the client window ----------------------------------------------------------

HRESULT ObjectControlDataPath1::SetHandleClientForComServerReal(int32_t place, int32_t handle)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::SetHandleClientForComServerReal"))
        return E_UNEXPECTED;
    try {
        if (place < 0 || place >= static_cast<int32_t>(kNumberClientHandles))
            return S_OK;
        m_client_handles.GetElement(static_cast<uint32_t>(place)) = handle;
        ListParamsDataPath1 params;
        if (place == 0) {
            params.SetNumberParams(1);
            Param(params, 0).SetInt(handle);
            CallInterfaceFunctionForIDCamera(-1, 0, IID_IReadFromFileForWriteServer2, 12, &params);
            params.SetNumberParams(1);
            Param(params, 0).SetInt(handle);
            return CallInterfaceFunctionForIDCamera(-1, 0, IID_IWriteInFileForWriteServer2, 2, &params);
        }
        if (place == 1) {
            params.SetNumberParams(1);
            Param(params, 0).SetInt(handle);
            return CallInterfaceFunctionForIDCamera(-1, 0, IID_IControlNetworkSend1, 7, &params);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::SetHandleConnectForReciveFromNetworkReal(int32_t handle)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::SetHandleConnectForReciveFromNetworkReal"))
        return E_UNEXPECTED;
    try {
        m_network_connect_handle = handle;
        ListParamsDataPath1 params;
        params.SetNumberParams(2);
        Param(params, 0).SetInt(m_client_handles.GetElement(1));
        Param(params, 1).SetInt(handle);
        return CallInterfaceFunctionForIDCamera(-1, 0, IID_IControlNetworkSend1, 9, &params);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::SetExternWindowReal(HWND client)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::SetExternWindowReal"))
        return E_UNEXPECTED;
    m_client_window = client;
    return S_OK;
}

HRESULT ObjectControlDataPath1::RefreshForUserChangeReal(InfoUserKestrelUserServer* user, LPARAM /*l*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::RefreshForUserChangeReal"))
        return E_UNEXPECTED;
    HRESULT result = E_FAIL;
    try {
        LOG_TEXT("ObjectControlDataPath1::RefreshForUserChangeReal::begin");
        m_user.Reset();
        if (user != nullptr) {
            m_user = *user;
            m_user.Validate();
        }
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        Param(params, 0).SetPointer(&m_user, sizeof(m_user), false);
        result = CallInterfaceFunctionForAllObjectsReal(IID_IVideoOutputRender1, 29, &params);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    LOG_TEXT("ObjectControlDataPath1::RefreshForUserChangeReal::end");
    return result;
}

// ---- Typed calls --------------------------------------------------------------------------------

HRESULT ObjectControlDataPath1::CallSetRateDataForIDCamera(int32_t idCamera, StructFormatGraph1* format)
{
    if (format == nullptr)
        return E_INVALIDARG;
    try {
        HRESULT result = S_OK;
        InfoCaptureFormatGraph1& capture = format->m_capture;
        for (uint32_t channel = 0; channel < InfoCaptureFormatGraph1::kRows; ++channel) {
            ListParamsDataPath1 params;
            params.SetNumberParams(6);
            Param(params, 0).SetUInt(channel);
            Param(params, 1).SetPointer(capture.m_formats[channel], sizeof(capture.m_formats[channel]), false);
            Param(params, 2).SetFloatPointer(capture.m_rates[channel], sizeof(capture.m_rates[channel]), false);
            Param(params, 3).SetBool(false);
            Param(params, 4).SetBool(capture.m_flags2[channel] != 0);
            Param(params, 5).SetBool(false);
            result = CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IControlRateData, 0, &params);
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::CallSetVideoCompressForIDCamera(int32_t idCamera, StructFormatGraph1* format,
                                                                bool shifted)
{
    if (format == nullptr)
        return E_INVALIDARG;
    try {
        ListParamsDataPath1 params;
        if (format->kind == StructFormatGraph1::kKindCapture) {
            const int32_t firstSubId = shifted ? -1 : 0;
            for (int32_t subId : {firstSubId, firstSubId - 1}) {
                params.SetNumberParams(2);
                Param(params, 0).SetPointer(format, sizeof(*format), false);
                Param(params, 1).SetUInt(sizeof(*format));
                CallInterfaceFunctionForIDCamera(idCamera, subId, IID_IFilter_VideoCompress, 0, &params);
            }
        }
        params.SetNumberParams(2);
        Param(params, 0).SetPointer(format->schedule, sizeof(format->schedule), false);
        Param(params, 1).SetUInt(sizeof(format->schedule));
        return CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IFilter_VideoCompress, 2, &params);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::CallSetReaderFloatForIDCamera(int32_t idCamera, float value)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    Param(params, 0).SetFloat(value);
    return CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IReadFromFileForWriteServer2, 9, &params);
}

HRESULT ObjectControlDataPath1::CallSetOutputRectForIDCamera(int32_t idCamera, int32_t left, int32_t top,
                                                             int32_t right, int32_t bottom)
{
    RECT rect;
    SetRect(&rect, left, top, right, bottom);
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    Param(params, 0).SetRect(rect);
    return CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IVideoOutputRender1, 5, &params);
}

HRESULT ObjectControlDataPath1::CallSetOutputFlagForIDCamera(int32_t idCamera, uint8_t value)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    Param(params, 0).SetBool(value != 0);
    return CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IVideoOutputRender1, 3, &params);
}

HRESULT ObjectControlDataPath1::CallGrabFrameForIDCamera(int32_t idCamera, void* a, void* b)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(2);
    Param(params, 0).SetPointer(a, 0, false);
    Param(params, 1).SetUIntPointer(static_cast<uint32_t*>(b), 0, false);
    return CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IGrabberFrames, 3, &params);
}

HRESULT ObjectControlDataPath1::CallSetOutputItemForIDCamera(int32_t idCamera, int32_t item, uint8_t value)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(3);
    Param(params, 0).SetUInt(static_cast<uint32_t>(item));
    Param(params, 1).SetBool(value != 0);
    Param(params, 2).SetBool(true);
    return CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IVideoOutputRender1, 15, &params);
}

HRESULT ObjectControlDataPath1::CallSetOutputTextForIDCamera(int32_t idCamera, int32_t item, const DynamicString& text)
{
    ListParamsDataPath1 params;
    params.SetNumberParams(2);
    Param(params, 0).SetUInt(static_cast<uint32_t>(item));
    Param(params, 1).SetTextPointer(const_cast<char*>(text.GetString()), text.GetLenString() + 1, false);
    return CallInterfaceFunctionForIDCamera(idCamera, 0, IID_IVideoOutputRender1, 11, &params);
}
