#include "Motiscan4.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cstring>

// ---- Work buffers ---------------------------------------------------------------------------

MotiscanWorkBuffers::~MotiscanWorkBuffers()
{
    Release();
}

bool MotiscanWorkBuffers::Reserve(uint32_t size)
{
    if (m_previous != nullptr && m_capacity >= size)
        return false;
    // The primitives walk whole 16-byte vectors: room for the last one.
    const uint64_t capacity = (static_cast<uint64_t>(size) + 31) & ~uint64_t{15};
    for (int16_t** block : {&m_previous, &m_difference, &m_threshold})
        if (FAILED(SAFE_TASK_REALLOC(block, capacity))) {
            Release();
            throw 240;
        }
    m_capacity = static_cast<uint32_t>(capacity);
    return true;
}

void MotiscanWorkBuffers::Release()
{
    for (int16_t** block : {&m_previous, &m_difference, &m_threshold})
        SAFE_TASK_FREE(block);
    m_capacity = 0;
}

// ---- Per-instance state ---------------------------------------------------------------------

Motiscan4State::Motiscan4State()
{
    try {
        m_name = "MOTISCAN_FILTER4";
        m_time_stamps[0] = m_time_server.GetTime();
        GetLocalTime(&m_marked_time);
        m_zone_plane.SetNULLFrame();
        m_contours.Init(0, 32);
        FillOptimFunctionTableSWORD(m_operations, m_optim.GetModeValue());
    }
    CATCH_ALL_RETHROW()
}

Motiscan4State::~Motiscan4State()
{
    try {
        m_work.Release();
    }
    CATCH_ALL_LOG()
}

void Motiscan4State::ReleaseAnalysisMemory()
{
    m_work.Release();
    m_picture_size = {};
    m_zone_plane.UpdateSizeBuffer(1, 1);
}

// ---- The plug-in ----------------------------------------------------------------------------

Motiscan4::Motiscan4()
{
    try {
        m_text_id = "TextIDFilter::Motiscan4";
        m_version = 1.21f;
    }
    CATCH_ALL_RETHROW()
}

HRESULT Motiscan4::FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size)
{
    if (points == nullptr)
        return E_INVALIDARG;
    if (size < static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1)))
        return E_UNEXPECTED;
    points->m_count_inputs = 1;
    ListConnectionPointsDataPath1::DeclarePoint(points->m_inputs.GetElement(0), "DataInput1",
                                                kTypeInputPointDataPath1);
    points->m_count_outputs = 1;
    ListConnectionPointsDataPath1::DeclarePoint(points->m_outputs.GetElement(0), "DataOutput1",
                                                kTypeOutputPointDataPath1);
    return S_OK;
}

bool Motiscan4::IsInterfaceImplemented(const GUID& iid) const
{
    return IsEqualGUID(iid, IID_IControlVideoDetector) || IsEqualGUID(iid, IID_IControlOptimProcessor) ||
           IsEqualGUID(iid, IID_IControlStaticResultProcess);
}

HRESULT Motiscan4::DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                         InfoFilterObjectDataPath1* instance)
{
    if (params == nullptr)
        return E_INVALIDARG;
    try {
        Motiscan4State* state = nullptr;
        const HRESULT own = TakeOwnState(instance, &state);
        if (FAILED(own))
            return own;
        if (IsEqualGUID(iid, IID_IControlVideoDetector))
            return DispatchVideoDetector(state, indexMethod, *params);
        if (IsEqualGUID(iid, IID_IControlOptimProcessor))
            return DispatchOptimProcessor(state, indexMethod, *params);
        if (IsEqualGUID(iid, IID_IControlStaticResultProcess))
            return indexMethod == ObjectStaticResultProcessDataPath1::kMethodGetStatistics
                       ? GetStatistics(state, static_cast<InfoStaticResultProcessDataPath1*>(
                                                  params->m_params.GetElement(0).GetPointer()))
                       : S_OK;
        return E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Motiscan4::DispatchVideoDetector(Motiscan4State* state, int32_t indexMethod, ListParamsDataPath1& params)
{
    InfoParamDataPath1& p0 = params.m_params.GetElement(0);
    switch (indexMethod) {
    case 0:
        return SetDetectionEnabled(state, p0.GetBool());
    case 1:
        return SetCallerValue(state, p0.GetInt());
    case 2:
        return GetCallerValue(state, &p0);
    case 3:
        return GetDetectionEnabled(state, &p0);
    case 5:
        return CheckCallerBuffer(state, p0.GetPointer(), params.m_params.GetElement(1).GetUInt());
    case 6:
        return LoadSettings(state, p0.GetPointer(), params.m_params.GetElement(1).GetUInt());
    case 7:
        return SetCallerFlag(state, p0.GetBool());
    case 10:
        return MarkTime(state);
    case 12:
        return SetForcedLevel(state, p0.GetInt());
    case 13:
        return SetOption(state, p0.GetInt(), params.m_params.GetElement(1).GetInt());
    case 14:
        return SetFullFrame(state, p0.GetBool());
    default:
        return S_OK;
    }
}

HRESULT Motiscan4::DispatchOptimProcessor(Motiscan4State* state, int32_t indexMethod, ListParamsDataPath1& params)
{
    InfoParamDataPath1& p0 = params.m_params.GetElement(0);
    switch (indexMethod) {
    case ObjectOptimProcessorDataPath1::kMethodGetSupportedModes:
        return GetSupportedModes(state, &p0);
    case ObjectOptimProcessorDataPath1::kMethodSetMode:
        return SetMode(state, p0.GetUInt());
    case ObjectOptimProcessorDataPath1::kMethodGetMode:
        return GetMode(state, &p0);
    default:
        return S_OK;
    }
}

// ---- Statistics -----------------------------------------------------------------------------

HRESULT Motiscan4::GetStatistics(Motiscan4State* state, InfoStaticResultProcessDataPath1* record)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        return state->m_statistics.GetStatistics(record);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Detector interface ---------------------------------------------------------------------

HRESULT Motiscan4::SetDetectionEnabled(Motiscan4State* state, bool enabled)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_detection_enabled = enabled;
    return S_OK;
}

HRESULT Motiscan4::GetDetectionEnabled(Motiscan4State* state, InfoParamDataPath1* out)
{
    if (state == nullptr || out == nullptr)
        return E_INVALIDARG;
    out->SetBool(state->m_detection_enabled);
    return S_OK;
}

HRESULT Motiscan4::CheckCallerBuffer(Motiscan4State* state, const void* buffer, uint32_t size)
{
    if (state == nullptr || buffer == nullptr)
        return E_INVALIDARG;
    return size < 32 ? E_UNEXPECTED : S_OK;
}

HRESULT Motiscan4::LoadSettings(Motiscan4State* state, const void* settings, uint32_t size)
{
    if (state == nullptr || settings == nullptr)
        return E_INVALIDARG;
    if (size < sizeof(StructFormatGraph1))
        return E_UNEXPECTED;
    try {
        std::memcpy(static_cast<void*>(&state->m_settings), settings, sizeof(StructFormatGraph1));
        // Every holder of the record normalises it, so no value out of range reaches the analysis.
        state->m_settings.Validate();
        state->m_rebuild_zone = 1;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Motiscan4::SetCallerFlag(Motiscan4State* state, bool flag)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_caller_flag = flag ? 1 : 0;
    return S_OK;
}

HRESULT Motiscan4::MarkTime(Motiscan4State* state)
{
    if (state == nullptr)
        return E_INVALIDARG;
    GetLocalTime(&state->m_marked_time);
    state->m_time_marked = 1;
    return S_OK;
}

HRESULT Motiscan4::SetOption(Motiscan4State* state, int32_t index, int32_t value)
{
    if (state == nullptr)
        return E_INVALIDARG;
    if (index < 0 || index >= static_cast<int32_t>(Motiscan4State::kOptionCount))
        return E_UNEXPECTED;
    try {
        state->m_options[index] = value != 0 ? 1 : 0;
        if (index == 2)
            state->ReleaseAnalysisMemory();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Motiscan4::SetFullFrame(Motiscan4State* state, bool fullFrame)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_full_frame = fullFrame;
    return S_OK;
}

HRESULT Motiscan4::SetCallerValue(Motiscan4State* state, int32_t value)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_caller_value = value;
    return S_OK;
}

HRESULT Motiscan4::GetCallerValue(Motiscan4State* state, InfoParamDataPath1* out)
{
    if (state == nullptr || out == nullptr)
        return E_INVALIDARG;
    out->SetInt(state->m_caller_value);
    return S_OK;
}

HRESULT Motiscan4::SetForcedLevel(Motiscan4State* state, int32_t level)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_forced_level = level == Motiscan4State::kAutomaticLevel ? level : std::clamp(level, 0, 2);
    return S_OK;
}

// ---- Processor-optimisation interface -------------------------------------------------------

HRESULT Motiscan4::GetSupportedModes(Motiscan4State* state, InfoParamDataPath1* out)
{
    if (state == nullptr)
        return E_INVALIDARG;
    return ObjectOptimProcessorDataPath1::GetSupportedModes(out, kSupportedModes);
}

HRESULT Motiscan4::SetMode(Motiscan4State* state, uint32_t mode)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        const HRESULT result = state->m_optim.SetMode(mode);
        FillOptimFunctionTableSWORD(state->m_operations, mode);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Motiscan4::GetMode(Motiscan4State* state, InfoParamDataPath1* out)
{
    if (state == nullptr)
        return E_INVALIDARG;
    return state->m_optim.GetMode(out);
}

// ---- Schedule -------------------------------------------------------------------------------

uint32_t HourOfWeek(const SYSTEMTIME& time)
{
    // SYSTEMTIME counts Sunday as day 0; the week of the schedule starts on Monday.
    const uint32_t day = (time.wDayOfWeek + 6u) % 7u;
    return day * 24u + (time.wHour % 24u);
}

int32_t ScheduledLevel(const StructFormatGraph1& settings, const SYSTEMTIME& localTime)
{
    const int32_t levelPlusOne = settings.schedule[HourOfWeek(localTime)] >> 4;
    return std::clamp(levelPlusOne - 1, 0, 2);
}
