// The public operations: each packs its arguments, sends its operation message to the worker
// window and waits for the worker's answer. They may be called from any thread.
#include "ObjectControlDataPath1.h"

#include "CatchAllLog.h"
#include "TimedSendGuard.h"

#include <atomic>

namespace {

std::atomic<int32_t> g_send_timeout_ms{ObjectControlDataPath1::kSendTimeoutMs};

template <class Record>
WPARAM AsWParam(Record& record)
{
    return reinterpret_cast<WPARAM>(&record);
}

} // namespace

void ObjectControlDataPath1::SetSendTimeoutForTest(int32_t timeoutMs)
{
    g_send_timeout_ms = timeoutMs > 0 ? timeoutMs : kSendTimeoutMs;
}

HRESULT ObjectControlDataPath1::SendOperation(uint32_t code, WPARAM wParam, LPARAM lParam, const char* operationName)
{
    try {
        DynamicString label("ObjectControlDataPath1::");
        label += operationName;
        const UINT message = m_messages.GetMessageFromIndex(code);
        if (message == 0)
            return E_FAIL;
        // On the worker (a plug-in's call during a frame, a recipe) the operation runs at once:
        // the worker never sends to itself.
        if (GetCurrentThreadId() == m_worker_thread_id) {
            bool handled = false;
            const HRESULT result = RunOperationOnWorker(code, wParam, lParam, &handled);
            return handled ? result : S_OK;
        }
        HRESULT answer = E_FAIL;
        if (FAILED(m_requests->Send(m_worker_window, message, wParam, lParam, g_send_timeout_ms.load(),
                                    label.GetString(), m_send_block != 0, &answer)))
            return E_FAIL;
        return answer;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::Run()
{
    return SendOperation(0, 0, 0, "Run");
}

HRESULT ObjectControlDataPath1::Stop()
{
    return SendOperation(1, 0, 0, "Stop");
}

HRESULT ObjectControlDataPath1::GetStateObject(int32_t* state)
{
    return SendOperation(2, reinterpret_cast<WPARAM>(state), 0, "GetStateObject");
}

HRESULT ObjectControlDataPath1::CreateLocalVideoCamera(InfoDriverForMixerDataPath1* settings, LPARAM l)
{
    return SendOperation(6, reinterpret_cast<WPARAM>(settings), l, "CreateLocalVideoCamera");
}

namespace {

// The two capture operations check their pointers and count before anything is sent.
HRESULT CheckCaptureArguments(const void* a1, int32_t a2, const void* a4)
{
    if (a1 == nullptr || a4 == nullptr)
        return E_INVALIDARG;
    return a2 > 0 ? S_OK : E_UNEXPECTED;
}

void FillCaptureRecord(InfoCreateCapturePathFromFormat1& record, void* a1, int32_t a2, HWND a3, InfoNeedInterface* a4,
                       uint8_t a5, uint8_t a6, uint8_t a7, uint8_t a8, int32_t a9, int32_t a10, uint8_t a11,
                       uint8_t a12, void* a13, int32_t a14, void* a15)
{
    record.m_w1 = a1;
    record.m_w2 = a2;
    record.m_w3 = a3;
    record.m_w4 = a4;
    record.m_b1 = a5;
    record.m_b2 = a6;
    record.m_b3 = a7;
    record.m_b4 = a8;
    record.m_w5 = a13;
    record.m_w6 = a9;
    record.m_w7 = a10;
    record.m_b5 = a11;
    record.m_b6 = a12;
    record.m_w8 = a14;
    record.m_w9 = a15;
}

} // namespace

HRESULT ObjectControlDataPath1::CreateCapturePathFromFormat1(void* a1, int32_t a2, HWND a3, InfoNeedInterface* a4,
                                                             uint8_t a5, uint8_t a6, uint8_t a7, uint8_t a8,
                                                             int32_t a9, int32_t a10, uint8_t a11, uint8_t a12,
                                                             void* a13, int32_t a14, void* a15)
{
    const HRESULT check = CheckCaptureArguments(a1, a2, a4);
    if (check != S_OK)
        return check;
    InfoCreateCapturePathFromFormat1 record;
    FillCaptureRecord(record, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15);
    return SendOperation(8, AsWParam(record), 0, "CreateCapturePathFromFormat1");
}

HRESULT ObjectControlDataPath1::CreateNetworkCapturePathFromFormat1(void* a1, int32_t a2, HWND a3,
                                                                    InfoNeedInterface* a4, uint8_t a5, uint8_t a6,
                                                                    uint8_t a7, uint8_t a8, int32_t a9, int32_t a10,
                                                                    uint8_t a11, uint8_t a12, void* a13, int32_t a14,
                                                                    void* a15)
{
    const HRESULT check = CheckCaptureArguments(a1, a2, a4);
    if (check != S_OK)
        return check;
    InfoCreateCapturePathFromFormat1 record;
    FillCaptureRecord(record, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15);
    return SendOperation(18, AsWParam(record), 0, "CreateNetworkCapturePathFromFormat1");
}

HRESULT ObjectControlDataPath1::DeleteGraphFromIDCamera(int32_t idCamera)
{
    return SendOperation(9, static_cast<WPARAM>(idCamera), 0, "DeleteGraphFromIDCamera");
}

HRESULT ObjectControlDataPath1::DeleteAllGraph()
{
    return SendOperation(10, 0, 0, "DeleteAllGraph");
}

HRESULT ObjectControlDataPath1::CallInterfaceFunctionForIDCamera(int32_t idCamera, int32_t subId, GUID iid,
                                                                 int32_t indexMethod, ListParamsDataPath1* params)
{
    return SendInterfaceCall(11, "CallInterfaceFunctionForIDCamera", idCamera, subId, iid, indexMethod, params);
}

HRESULT ObjectControlDataPath1::GetAllIDCameraFromFilters(MemoryBlockClass<int32_t>* list)
{
    InfoMessageGetAllIDFromFilters record;
    record.m_list = list;
    return SendOperation(13, AsWParam(record), 0, "GetAllIDCameraFromFilters");
}

HRESULT ObjectControlDataPath1::AddAsincEvents(ListEventsDataPath1* events, int32_t count)
{
    return SendOperation(15, reinterpret_cast<WPARAM>(events), static_cast<LPARAM>(count), "AddAsincEvents");
}

int32_t ObjectControlDataPath1::GetAsincEvents(ListEventsDataPath1* events)
{
    int32_t count = 0;
    InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1 record;
    record.m_result = &count;
    record.m_events = events;
    return FAILED(SendOperation(16, AsWParam(record), 0, "GetAsincEvents")) ? 0 : count;
}

int32_t ObjectControlDataPath1::GetSincEvents(ListEventsDataPath1* events)
{
    int32_t count = 0;
    InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1 record;
    record.m_result = &count;
    record.m_events = events;
    return FAILED(SendOperation(17, AsWParam(record), 0, "GetSincEvents")) ? 0 : count;
}

HRESULT ObjectControlDataPath1::SetHandleClientForComServer(int32_t place, int32_t handle)
{
    return SendOperation(19, static_cast<WPARAM>(place), static_cast<LPARAM>(handle), "SetHandleClientForComServer");
}

HRESULT ObjectControlDataPath1::SetHandleConnectForReciveFromNetwork(int32_t handle)
{
    return SendOperation(20, static_cast<WPARAM>(handle), 0, "SetHandleConnectForReciveFromNetwork");
}

HRESULT ObjectControlDataPath1::CreateNetworkDataPathForReciveArhive(WPARAM w, LPARAM l)
{
    return SendOperation(21, w, l, "CreateNetworkDataPathForReciveArhive");
}

HRESULT ObjectControlDataPath1::RefreshPathForNetworkArhive(void* archiveList)
{
    return SendOperation(22, reinterpret_cast<WPARAM>(archiveList), 0, "RefreshPathForNetworkArhive");
}

HRESULT ObjectControlDataPath1::CallInterfaceFunctionForAllObjects(GUID iid, int32_t indexMethod,
                                                                   ListParamsDataPath1* params)
{
    InfoMessageCallInterfaceFunction record;
    record.m_id = -1;
    record.m_sub_id = 0;
    record.m_iid = iid;
    record.m_index_method = indexMethod;
    record.m_list = params;
    return SendOperation(23, AsWParam(record), 0, "CallInterfaceFunctionForAllObjects");
}

HRESULT ObjectControlDataPath1::SetExternWindow(HWND client)
{
    return SendOperation(24, reinterpret_cast<WPARAM>(client), 0, "SetExternWindow");
}

HRESULT ObjectControlDataPath1::GetStaticInfoFromDataPath1(InfoStaticWorkFilterDataPath1* entries, int32_t capacity,
                                                           int32_t* count)
{
    try {
        InfoMessageGWM_GetStaticInfoFromDataPath1_ObjectControlDataPath1 record;
        record.m_entries = entries;
        record.m_capacity = capacity;
        record.m_count = count;
        return SendOperation(25, AsWParam(record), 0, "GetStaticInfoFromDataPath1");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::CreateReciveDataPathForReciverServer(int32_t w1, int32_t w2, int32_t w3, int32_t w4,
                                                                     int32_t w5, int32_t w6)
{
    try {
        InfoMessageGWM_CreateReciveDataPathForReciverServer_ObjectControlDataPath1 record;
        const int32_t words[6] = {w1, w2, w3, w4, w5, w6};
        for (int k = 0; k < 6; ++k)
            record.m_words[k] = words[k];
        return SendOperation(26, AsWParam(record), 0, "CreateReciveDataPathForReciverServer");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::RefreshForUserChange(InfoUserKestrelUserServer* user, LPARAM l)
{
    try {
        return SendOperation(27, reinterpret_cast<WPARAM>(user), l, "RefreshForUserChange");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::CreateMixerDataPathForTundrel(HWND outputWindow, int32_t reserved,
                                                              int32_t processorMode)
{
    try {
        InfoMessageGWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1 record;
        record.m_output_window = outputWindow;
        record.m_reserved = reserved;
        record.m_processor_mode = processorMode;
        return SendOperation(28, AsWParam(record), 0, "CreateMixerDataPathForTundrel");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::AddDriverToMixerDataPathForTundrel(InfoNeedInterface* source, int32_t reserved,
                                                                   int32_t slot, int32_t processorMode)
{
    try {
        InfoMessageGWM_AddDriverToMixerDataPathForTundrel_ObjectControlDataPath1 record;
        record.m_source = source;
        record.m_reserved = reserved;
        record.m_processor_mode = processorMode;
        record.m_slot = slot;
        return SendOperation(29, AsWParam(record), 0, "AddDriverToMixerDataPathForTundrel");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::DeleteDriverFromMixerDataPathForTundrel(int32_t slot)
{
    try {
        InfoMessageGWM_AddDriverToMixerDataPathForTundrel_ObjectControlDataPath1 record;
        record.m_slot = slot;
        return SendOperation(30, AsWParam(record), 0, "DeleteDriverFromMixerDataPathForTundrel");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::QueryInterfaceForIDObject(int32_t idObject, int32_t subId, GUID iid)
{
    return SendInterfaceCall(31, "QueryInterfaceForIDObject", idObject, subId, iid, -1, nullptr);
}

HRESULT ObjectControlDataPath1::GetAllIDObjectsFromFilters(DynamicBoundsObject<int32_t>* list)
{
    InfoMessageGetAllIDObjectsFromFilters record;
    record.m_list = list;
    return SendOperation(32, AsWParam(record), 0, "GetAllIDObjectsFromFilters");
}

HRESULT ObjectControlDataPath1::CallInterfaceFunctionForIDObject(int32_t idObject, int32_t subId, GUID iid,
                                                                 int32_t indexMethod, ListParamsDataPath1* params)
{
    return SendInterfaceCall(33, "CallInterfaceFunctionForIDObject", idObject, subId, iid, indexMethod, params);
}

// One interface call or query to the filter the worker finds by id; the filter's own answer comes
// back in the record.
HRESULT ObjectControlDataPath1::SendInterfaceCall(uint32_t code, const char* operationName, int32_t id,
                                                  int32_t subId, GUID iid, int32_t indexMethod,
                                                  ListParamsDataPath1* params)
{
    InfoMessageCallInterfaceFunction record;
    record.m_id = id;
    record.m_iid = iid;
    record.m_list = params;
    record.m_index_method = indexMethod;
    record.m_sub_id = subId;
    const HRESULT answer = SendOperation(code, AsWParam(record), 0, operationName);
    return FAILED(answer) ? answer : record.m_result;
}
