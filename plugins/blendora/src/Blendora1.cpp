#include "Blendora1.h"

#include <string>

Blendora1::Blendora1()
{
    try {
        m_text_id = "Blendora1";
        m_version = 1.73f;
    }
    CATCH_ALL_RETHROW()
}

HRESULT Blendora1::FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size)
{
    if (points == nullptr)
        return E_INVALIDARG;
    if (size < static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1)))
        return E_UNEXPECTED;
    try {
        for (uint32_t k = 0; k < InfoFilterStateBlendora1::kInputs; ++k)
            ListConnectionPointsDataPath1::DeclarePoint(points->m_inputs.GetElement(k),
                                                        ("DataInput::" + std::to_string(k)).c_str(),
                                                        kTypeInputPointDataPath1);
        ListConnectionPointsDataPath1::DeclarePoint(points->m_outputs.GetElement(0), "DataOutput1",
                                                    kTypeOutputPointDataPath1);
        points->m_count_inputs = InfoFilterStateBlendora1::kInputs;
        points->m_count_outputs = 1;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool Blendora1::IsInterfaceImplemented(const GUID& iid) const
{
    return IsEqualGUID(iid, IID_MixerDataTundrel) || IsEqualGUID(iid, IID_IControlOptimProcessor);
}

HRESULT Blendora1::DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                         InfoFilterObjectDataPath1* instance)
{
    return DispatchToOwnState(instance, params, [&](InfoFilterStateBlendora1& state, ListParamsDataPath1& list) {
        if (IsEqualGUID(iid, IID_MixerDataTundrel))
            return DispatchMixerData(&state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IControlOptimProcessor))
            return state.m_optim.DispatchSelecting(indexMethod, &list, kSupportedModes, state.m_kernels,
                                                   SelectBlendoraKernels);
        return E_FAIL;
    });
}
