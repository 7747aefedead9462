#include "Intavo1.h"

#include <new>

InfoFilterIntavo1::InfoFilterIntavo1()
{
    try {
        m_name = "INTAVO_FILTER1";
        m_need_interface.ResetStruct();
        m_time.Initialize();
        m_options.Fill(0);
        m_own_frame.EnableChildBuffers();
        SelectConversionRoutines(m_routines, 1);
    }
    CATCH_ALL_RETHROW()
}

InfoFilterIntavo1::~InfoFilterIntavo1()
{
    try {
        DeleteDriver();
    }
    CATCH_ALL_LOG()
}

HRESULT InfoFilterIntavo1::DeleteDriver()
{
    if (!m_driver)
        return S_FALSE;
    const HRESULT result = m_driver->DeleteGraphObject();
    m_driver.reset();
    return result;
}

Intavo1::Intavo1()
{
    try {
        m_text_id = "Intavo1";
        m_version = kVersion;
        m_zero_interface_rule = ZeroInterfaceRule::FailsFirst;
    }
    CATCH_ALL_RETHROW()
}

HRESULT Intavo1::InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode)
{
    if (instance == nullptr)
        return E_INVALIDARG;
    if (instance->m_in_use)
        return S_OK;
    try {
        HRESULT result = FilterObjectFrameDataPath1::InitInfoFilterImpl(instance, mode);
        auto* state = static_cast<InfoFilterIntavo1*>(instance->m_state);
        if (FAILED(result) || state == nullptr)
            return result;
        state->m_driver.reset(new (std::nothrow) ClassDirectAcessToDriver(kModuleName));
        if (!state->m_driver)
            return result;
        // The facade starts its graph thread itself; this answers 1 when it did.
        return state->m_driver->CreateGraphObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Intavo1::FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance)
{
    if (instance == nullptr)
        return E_INVALIDARG;
    try {
        const HRESULT check = CheckInfoFilter(instance);
        if (FAILED(check))
            return check;
        auto* state = static_cast<InfoFilterIntavo1*>(instance->m_state);
        if (state != nullptr) {
            state->DeleteDriver();
            delete state;
        }
        instance->m_state = nullptr;
        instance->m_in_use = false;
        return check;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Intavo1::FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size)
{
    if (points == nullptr)
        return E_INVALIDARG;
    if (size < static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1)))
        return E_UNEXPECTED;
    points->m_count_inputs = 0;
    points->m_count_outputs = 1;
    ListConnectionPointsDataPath1::DeclarePoint(points->m_outputs.GetElement(0), "DataOutput1",
                                                kTypeOutputPointDataPath1);
    return S_OK;
}

bool Intavo1::IsInterfaceImplemented(const GUID& iid) const
{
    for (const GUID* offered : {&IID_ISourceFilterDataPath1, &IID_IControlDriverDirectShow, &IID_IControlOptimProcessor})
        if (IsEqualGUID(*offered, iid))
            return true;
    return false;
}

HRESULT Intavo1::DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                       InfoFilterObjectDataPath1* instance)
{
    if (!IsInterfaceImplemented(iid))
        return E_FAIL;
    // Methods 0 and 1 of the source interface are kept for the host's table and do nothing.
    if (IsEqualGUID(iid, IID_ISourceFilterDataPath1) && (indexMethod == 0 || indexMethod == 1))
        return S_OK;
    return DispatchToOwnState(instance, params, [&](InfoFilterIntavo1& state, ListParamsDataPath1& list) {
        if (IsEqualGUID(iid, IID_ISourceFilterDataPath1))
            return DispatchSource(state, indexMethod, list);
        if (IsEqualGUID(iid, IID_IControlDriverDirectShow))
            return DispatchDriver(state, indexMethod, list);
        return DispatchOptim(state, indexMethod, list);
    });
}
