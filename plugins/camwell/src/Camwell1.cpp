#include "Camwell1.h"

#include <cstring>

InfoCamwell1State::InfoCamwell1State()
{
    try {
        m_name = "CAMWELL_FILTER1";
        // Row 0, continuous recording in every hour.
        std::memset(m_schedule, 0x02, sizeof(m_schedule));
        const int64_t now = Now();
        m_last_output0 = now;
        m_last_output1 = now;
        m_last_detection = now;
        m_keep_alive = now;
        m_last_frame.SetNULLFrame();
    }
    CATCH_ALL_RETHROW()
}

double InfoCamwell1State::SecondsSinceDetection(double whenNegative)
{
    const double seconds = static_cast<double>(Now() - m_last_detection) / 1000.0;
    return seconds < 0.0 ? whenNegative : seconds;
}

Camwell1::Camwell1()
{
    try {
        m_text_id = "Camwell1";
        m_version = 1.17f;
    }
    CATCH_ALL_RETHROW()
}

HRESULT Camwell1::InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode)
{
    if (instance != nullptr && instance->m_state != nullptr)
        return S_OK;
    return FilterObjectFrameDataPath1::InitInfoFilterImpl(instance, mode);
}

HRESULT Camwell1::FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size)
{
    if (points == nullptr)
        return E_INVALIDARG;
    if (size < static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1)))
        return E_UNEXPECTED;
    static const char* const outputs[kCountOutputs] = {"CompressDataOutput1", "SpecialCompressDataOutput2",
                                                       "ViewDataOutput3"};
    points->m_count_inputs = 1;
    ListConnectionPointsDataPath1::DeclarePoint(points->m_inputs.GetElement(0), "DataInput1",
                                                kTypeInputPointDataPath1);
    points->m_count_outputs = kCountOutputs;
    for (int32_t i = 0; i < kCountOutputs; ++i) {
        InfoConnectionPointDataPath1& point = points->m_outputs.GetElement(i);
        ListConnectionPointsDataPath1::DeclarePoint(point, outputs[i], kTypeOutputPointDataPath1);
        // The transform decides per frame which outputs forward it.
        point.m_valid = false;
    }
    return S_OK;
}

bool Camwell1::IsInterfaceImplemented(const GUID& iid) const
{
    for (const GUID* offered : {&IID_IControlRateData, &IID_IInfoCamera, &IID_IControlCoderVideoData,
                                &IID_IControlOptimProcessor, &IID_IGrabberFrames})
        if (IsEqualGUID(*offered, iid))
            return true;
    return false;
}

HRESULT Camwell1::DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                        InfoFilterObjectDataPath1* instance)
{
    return DispatchToOwnState(instance, params, [&](InfoCamwell1State& state, ListParamsDataPath1& list) {
        if (IsEqualGUID(iid, IID_IControlRateData))
            return DispatchRateControl(state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IInfoCamera))
            return DispatchCamera(state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IControlCoderVideoData))
            return DispatchCoder(state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IControlOptimProcessor))
            return state.m_optim.Dispatch(indexMethod, &list, kSupportedModes);
        if (IsEqualGUID(iid, IID_IGrabberFrames))
            return DispatchGrabber(state, indexMethod, list);
        return E_FAIL;
    });
}
