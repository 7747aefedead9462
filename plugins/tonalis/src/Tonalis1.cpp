#include "Tonalis1.h"

Tonalis1::Tonalis1()
{
    try {
        m_text_id = "TextIDFilter::Tonalis1";
        m_version = 2.25f;
    }
    CATCH_ALL_RETHROW()
}

HRESULT Tonalis1::FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size)
{
    if (points == nullptr)
        return E_INVALIDARG;
    if (size < static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1)))
        return E_UNEXPECTED;
    try {
        points->m_count_inputs = 1;
        ListConnectionPointsDataPath1::DeclarePoint(points->m_inputs.GetElement(0), "DataInput1",
                                                    kTypeInputPointDataPath1);
        points->m_count_outputs = 1;
        ListConnectionPointsDataPath1::DeclarePoint(points->m_outputs.GetElement(0), "DataOutput1",
                                                    kTypeOutputPointDataPath1);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool Tonalis1::IsInterfaceImplemented(const GUID& iid) const
{
    return IsEqualGUID(iid, IID_IControlCorrectVideoData) || IsEqualGUID(iid, IID_IControlOptimProcessor) ||
           IsEqualGUID(iid, IID_IControlStaticResultProcess);
}

HRESULT Tonalis1::InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode)
{
    // A record that still holds a state would lose it.
    if (instance != nullptr && instance->m_state != nullptr)
        return E_UNEXPECTED;
    return FilterObjectFrameDataPath1::InitInfoFilterImpl(instance, mode);
}

HRESULT Tonalis1::FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance)
{
    if (instance != nullptr && instance->m_state == nullptr) {
        instance->m_in_use = false;
        return E_UNEXPECTED;
    }
    return FilterObjectFrameDataPath1::FreeInfoFilterImpl(instance);
}

HRESULT Tonalis1::CheckInfoFilter(InfoFilterObjectDataPath1* instance)
{
    if (instance == nullptr)
        return E_INVALIDARG;
    if (instance->m_state == nullptr)
        return E_UNEXPECTED;
    return FilterObjectFrameDataPath1::CheckInfoFilter(instance);
}

HRESULT Tonalis1::DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                        InfoFilterObjectDataPath1* instance)
{
    if (instance == nullptr)
        return E_INVALIDARG;
    if (instance->m_state == nullptr)
        return E_UNEXPECTED;
    return DispatchToOwnState(instance, params, [&](Tonalis1State& state, ListParamsDataPath1& list) {
        if (IsEqualGUID(iid, IID_IControlCorrectVideoData))
            return DispatchCorrection(&state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IControlOptimProcessor))
            return DispatchOptimProcessor(&state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IControlStaticResultProcess) &&
            indexMethod == ObjectStaticResultProcessDataPath1::kMethodGetStatistics)
            return GetStatistics(&state, static_cast<InfoStaticResultProcessDataPath1*>(
                                             list.m_params.GetElement(0).GetPointer()));
        return S_OK;
    });
}

HRESULT Tonalis1::GetStatistics(Tonalis1State* state, InfoStaticResultProcessDataPath1* record)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        return state->m_statistics.GetStatistics(record);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
