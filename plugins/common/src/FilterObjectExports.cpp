// The seven exports and the library entry point that every plug-in file shares. Each export
// checks its own arguments, then forwards to the library's one filter object.
#include "BaseClassObjectDataPath1.h"

#include <cstring>

namespace {

BaseClassObjectDataPath1* g_filter_object = nullptr;

void CreateFilterObject(HINSTANCE module)
{
    if (g_filter_object != nullptr)
        return;
    try {
        g_filter_object = CreateFilterObjectDataPath1(module);
    }
    CATCH_ALL_LOG()
}

void DeleteFilterObject()
{
    BaseClassObjectDataPath1* object = g_filter_object;
    g_filter_object = nullptr;
    try {
        delete object;
    }
    CATCH_ALL_LOG()
}

bool IsZeroGuid(const GUID& iid)
{
    static const GUID zero = {};
    return std::memcmp(&iid, &zero, sizeof(GUID)) == 0;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        CreateFilterObject(module);
    else if (reason == DLL_PROCESS_DETACH)
        DeleteFilterObject();
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI InitInfoFilter(InfoFilterObjectDataPath1* instance, int32_t mode)
{
    if (instance == nullptr || g_filter_object == nullptr)
        return E_INVALIDARG;
    try {
        return g_filter_object->InitInfoFilterImpl(instance, mode);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI FreeInfoFilter(InfoFilterObjectDataPath1* instance)
{
    if (instance == nullptr || g_filter_object == nullptr)
        return E_INVALIDARG;
    try {
        return g_filter_object->FreeInfoFilterImpl(instance);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI TransformFilter(InfoDataBufferPath1* frame, uint32_t frameSize,
                                                               InfoDataBufferPath1* output, uint32_t outputSize,
                                                               InfoFilterObjectDataPath1* instance,
                                                               ListEventsDataPath1* events, int32_t inputIndex)
{
    if (g_filter_object == nullptr)
        return E_INVALIDARG;
    try {
        return g_filter_object->TransformFilterImpl(frame, frameSize, output, outputSize, instance, events,
                                                    inputIndex);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI CallInterfaceFunction(CallInterfaceFunctionRecord call)
{
    const bool zeroInterface = IsZeroGuid(call.m_iid);
    if (zeroInterface && g_filter_object != nullptr &&
        g_filter_object->GetZeroInterfaceRule() == ZeroInterfaceRule::FailsFirst)
        return E_FAIL;
    if (call.m_list_params == nullptr || call.m_info_filter == nullptr || g_filter_object == nullptr)
        return E_INVALIDARG;
    if (zeroInterface)
        return E_UNEXPECTED;
    try {
        const HRESULT check = g_filter_object->CheckInfoFilter(call.m_info_filter);
        if (FAILED(check))
            return check;
        return g_filter_object->DispatchInterfaceCall(call.m_iid, call.m_index_method, call.m_list_params,
                                                      call.m_info_filter);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI QueryInterfaceFunction(GUID iid)
{
    if (g_filter_object == nullptr)
        return E_INVALIDARG;
    try {
        return g_filter_object->QueryInterfaceImpl(iid);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI GetNameFilter(DynamicString* name, float* version)
{
    if (name == nullptr || version == nullptr || g_filter_object == nullptr)
        return E_INVALIDARG;
    try {
        return g_filter_object->GetNameFilterImpl(name, version);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI GetConnectionPoints(ListConnectionPointsDataPath1* points,
                                                                   int32_t size)
{
    if (points == nullptr || g_filter_object == nullptr)
        return E_INVALIDARG;
    if (size <= 0)
        return E_UNEXPECTED;
    try {
        return FillConnectionPointsDataPath1(g_filter_object, points, size);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
