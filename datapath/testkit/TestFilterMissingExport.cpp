// A broken plug-in file: it exports four of the five entry points the host binds
// (QueryInterfaceFunction is missing) and journals what reaches it.
#include "TestFilterJournal.h"

#include "StructForInterfaceDataPath1.h"

extern "C" __declspec(dllexport) HRESULT WINAPI InitInfoFilter(InfoFilterObjectDataPath1* /*instance*/, int32_t mode)
{
    AddJournalLine("InitInfoFilter mode=" + std::to_string(mode));
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI FreeInfoFilter(InfoFilterObjectDataPath1* instance)
{
    AddJournalLine(std::string("FreeInfoFilter in_use=") + (instance != nullptr && instance->m_in_use ? "1" : "0"));
    return E_UNEXPECTED;
}

extern "C" __declspec(dllexport) HRESULT WINAPI TransformFilter(InfoDataBufferPath1*, uint32_t, InfoDataBufferPath1*,
                                                               uint32_t, InfoFilterObjectDataPath1*,
                                                               ListEventsDataPath1*, int32_t)
{
    AddJournalLine("TransformFilter");
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI CallInterfaceFunction(CallInterfaceFunctionRecord /*call*/)
{
    AddJournalLine("CallInterfaceFunction");
    return S_OK;
}
