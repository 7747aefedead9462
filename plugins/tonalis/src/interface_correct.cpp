// The correction interface: every setting is converted, checked and stored in the instance's state
// for the next frame; the tables that follow from a value are rebuilt when it is set.
#include "Tonalis1.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

struct ValueRange
{
    float low;
    float high;
};

// Index 6, the edge smoothing, has no limits.
constexpr ValueRange kValueRanges[kCorrectionValues - 1] = {
    {0.0f, 4.0f}, {-255.0f, 255.0f}, {0.65f, 2.0f}, {1.0f, 101.0f}, {0.0f, 100.0f}, {-180.0f, 180.0f}};
// What a value that is no number stands for.
constexpr float kDefaultValues[kCorrectionValues] = {1.0f, 30.0f, 1.0f, 1.0f, 5.0f, 10.0f, 5.0f};

// The integer parameters whose change makes the temporal references void.
bool ChangesThePicture(int32_t index)
{
    switch (index) {
    case kParamAdaptiveBrightness: case kParamEqualiseHistogram: case kParamEdgeSmoothing:
    case kParamEdgeSmoothingChroma: case kParamEdgeMapPerPass: case kParamTemporalNoise:
    case kParamMotionAdaptiveNoise:
        return true;
    default:
        return false;
    }
}

// The user's scale (a slider's 0 to 102, 51 in the middle) to the value the steps use.
float ConvertUserValue(uint32_t index, float value)
{
    switch (index) {
    case kValueSaturation:
        return value <= 51.0f ? value / 51.0f : (value - 51.0f) / 17.0f + 1.0f;
    case kValueBrightness:
        return (value - 51.0f) / 50.0f * 255.0f;
    case kValueGamma:
        return value <= 51.0f ? value / 51.0f * 0.35f + 0.65f : (value - 51.0f) / 150.0f + 1.0f;
    case kValueHue:
        return value - 181.0f;
    default:
        return value;
    }
}

float ClampValue(uint32_t index, float value)
{
    if (index >= kValueEdgeSmoothing)
        return value;
    return std::clamp(value, kValueRanges[index].low, kValueRanges[index].high);
}

// Normalised so that 0 and 255 stay where they are: entry i = 255 (i / 255)^gamma.
void BuildGammaTable(TonalisCurve& table, float gamma)
{
    for (uint32_t i = 0; i < TonalisCurve::GetCount(); ++i) {
        const double mapped = 255.0 * std::pow(static_cast<double>(i) / 255.0, static_cast<double>(gamma));
        table.GetElement(i) = static_cast<SWORD>(std::clamp(static_cast<int32_t>(mapped), 0, 255));
    }
}

// The second noise pass's limits and weights follow the noise level (0 to 100).
void SetNoiseValues(Tonalis1State& state, float level)
{
    const float b = level / 100.0f;
    state.m_noise_limits[0] = static_cast<SWORD>(b * 60.0f + 5.0f);
    state.m_noise_limits[1] = static_cast<SWORD>(b * 100.0f + 10.0f);
    state.m_noise_weights[0] = static_cast<SWORD>((b * 0.5f + 0.4f) * 128.0f);
    state.m_noise_weights[1] = static_cast<SWORD>((0.1f - b * 0.1f) * -128.0f);
    state.m_noise_weights[2] = static_cast<SWORD>((0.2f - b * 0.1f) * -128.0f);
    state.m_noise_chroma = 1;
}

// The host's table gives some flags as bool; a caller may send them as int.
int32_t IntegerOf(const InfoParamDataPath1& param)
{
    if (param.GetBaseType() == TypeParamBool)
        return param.GetBool() ? 1 : 0;
    return param.GetInt();
}

} // namespace

HRESULT Tonalis1::DispatchCorrection(Tonalis1State* state, int32_t indexMethod, ListParamsDataPath1& params)
{
    InfoParamDataPath1& p0 = params.m_params.GetElement(0);
    InfoParamDataPath1& p1 = params.m_params.GetElement(1);
    InfoParamDataPath1& p2 = params.m_params.GetElement(2);
    switch (indexMethod) {
    case 0:
        return SetCorrectionEnable(state, IntegerOf(p0));
    case 1:
        return SetCorrectionValue(state, IntegerOf(p0), p1.GetFloat());
    case 2:
        return GetCorrectionValue(state, IntegerOf(p0), static_cast<float*>(p1.GetPointer()));
    case 3:
        return SetCorrectionParam(state, IntegerOf(p0), IntegerOf(p1), p2.GetFloat());
    case 4:
        return GetCorrectionParam(state, IntegerOf(p0), static_cast<int32_t*>(p1.GetPointer()),
                                  static_cast<float*>(p2.GetPointer()));
    case 5:
        return SetUserValue(state, IntegerOf(p0));
    case 6:
        return GetAverageVideoLevel(state, static_cast<float*>(p0.GetPointer()));
    case 7:
        return SetHoldAdaptiveBrightness(state, IntegerOf(p0));
    case 8:
        return NeedRecivingEventAboutFirstAverageValue(state);
    case 9:
        return SetEventOwner(state, static_cast<ObjectControlDataPath1*>(p0.GetPointer()));
    case 10:
        return SetEventSourceIndex(state, IntegerOf(p0));
    case 11:
        return SetFormatGraph(state, static_cast<const StructFormatGraph1*>(p0.GetPointer()));
    case 12:
        return SetUserCurve(state, IntegerOf(p0), static_cast<const SWORD*>(p1.GetPointer()), IntegerOf(p2));
    case 13:
        return SetTemplateFolder(state, static_cast<const char*>(p0.GetPointer()));
    case 14:
        return SetTextEffectArea(state, static_cast<float*>(p0.GetPointer()), static_cast<int32_t*>(p1.GetPointer()));
    default:
        return S_OK;
    }
}

HRESULT Tonalis1::SetCorrectionEnable(Tonalis1State* state, int32_t enable)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_enable = enable;
    return S_OK;
}

HRESULT Tonalis1::SetCorrectionValue(Tonalis1State* state, int32_t index, float value)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        const uint32_t slot = static_cast<uint32_t>(index);
        float& stored = state->m_correction_values.GetElement(slot);
        float converted = kDefaultValues[slot];
        if (CheckFloatValue(&value, 0.0f) == S_OK)
            converted = ConvertUserValue(slot, value);
        const float clamped = ClampValue(slot, converted);
        // The tables follow the value that is stored, never one beyond its limits.
        HRESULT result = S_OK;
        if (slot == kValueGamma)
            BuildGammaTable(state->m_gamma_table, clamped);
        else if (slot == kValueNoiseLevel)
            SetNoiseValues(*state, clamped);
        else if (slot == kValueHue)
            result = CreateTablesCorrectHue(state->m_hue_sine, state->m_hue_cosine, state->m_hue_matrix, clamped);
        if (slot != kValueNoiseLevel && clamped != stored)
            state->EmptyStoredFrames();
        stored = clamped;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::GetCorrectionValue(Tonalis1State* state, int32_t index, float* value)
{
    if (state == nullptr || value == nullptr)
        return E_INVALIDARG;
    try {
        *value = state->m_correction_values.GetElement(static_cast<uint32_t>(index));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::SetCorrectionParam(Tonalis1State* state, int32_t index, int32_t value, float valueFloat)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        const uint32_t slot = static_cast<uint32_t>(index);
        int32_t& storedInt = state->m_params_int.GetElement(slot);
        float& storedFloat = state->m_params_float.GetElement(slot);
        CheckFloatValue(&valueFloat, 1.0f);
        if (slot == kParamGradientEffect && value != storedInt) {
            state->m_curves_changed = 1;
            state->m_gradient_phase = 0.0f;
        }
        HRESULT result = S_OK;
        if (ChangesThePicture(index) && (value != storedInt || valueFloat != storedFloat))
            result = state->EmptyStoredFrames();
        if (slot == kParamShrinkStoredFrames)
            for (InfoDataBufferPath1& stored : state->m_stored_frames)
                result = stored.UpdateSizeBuffer(16, 1);
        storedInt = value;
        storedFloat = valueFloat;
        return SUCCEEDED(result) ? S_OK : result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::GetCorrectionParam(Tonalis1State* state, int32_t index, int32_t* value, float* valueFloat)
{
    if (state == nullptr || value == nullptr || valueFloat == nullptr)
        return E_INVALIDARG;
    try {
        *value = state->m_params_int.GetElement(static_cast<uint32_t>(index));
        *valueFloat = state->m_params_float.GetElement(static_cast<uint32_t>(index));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::SetUserValue(Tonalis1State* state, int32_t value)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_user_value = value;
    return S_OK;
}

HRESULT Tonalis1::GetAverageVideoLevel(Tonalis1State* state, float* level)
{
    if (state == nullptr || level == nullptr)
        return E_INVALIDARG;
    *level = state->m_average_level;
    return S_OK;
}

HRESULT Tonalis1::SetHoldAdaptiveBrightness(Tonalis1State* state, int32_t hold)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_hold_adaptive = hold;
    return S_OK;
}

HRESULT Tonalis1::NeedRecivingEventAboutFirstAverageValue(Tonalis1State* state)
{
    if (state == nullptr)
        return E_INVALIDARG;
    LOG_TEXT("Tonalis1::NeedRecivingEventAboutFirstAverageValue::begin");
    state->m_first_average_request = 1;
    state->m_hold_adaptive = 1;
    return S_OK;
}

HRESULT Tonalis1::SetEventOwner(Tonalis1State* state, ObjectControlDataPath1* owner)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_event_owner = owner;
    return S_OK;
}

HRESULT Tonalis1::SetEventSourceIndex(Tonalis1State* state, int32_t index)
{
    if (state == nullptr)
        return E_INVALIDARG;
    state->m_event_source_index = index;
    return S_OK;
}

HRESULT Tonalis1::SetFormatGraph(Tonalis1State* state, const StructFormatGraph1* record)
{
    if (state == nullptr || record == nullptr)
        return E_INVALIDARG;
    if (record == &state->m_format_graph)
        return E_FAIL;
    try {
        std::memcpy(static_cast<void*>(&state->m_format_graph), record, sizeof(StructFormatGraph1));
        // Every holder of the record normalises it, so no value out of range is kept.
        return state->m_format_graph.Validate();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::SetUserCurve(Tonalis1State* state, int32_t curve, const SWORD* values, int32_t count)
{
    if (state == nullptr || values == nullptr)
        return E_INVALIDARG;
    if (curve != 0 && curve != 1)
        return S_OK;
    if (count < 0)
        return E_INVALIDARG;
    try {
        state->m_curves_changed = 1;
        TonalisCurve& target = state->m_user_curves[curve];
        for (int32_t i = 0; i < count; ++i)
            target.GetElement(static_cast<uint32_t>(i)) = values[i];
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::SetTemplateFolder(Tonalis1State* state, const char* folder)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        DynamicString& stored = state->m_template_folder;
        if (folder == nullptr) {
            if (stored.GetLenString() == 0)
                return S_OK;
            stored.ResetString();
        }
        else {
            if (stored == folder)
                return S_OK;
            stored = folder;
        }
        return LoadTemplateBlocks(state);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::SetTextEffectArea(Tonalis1State* state, float* area, int32_t* position)
{
    if (state == nullptr || area == nullptr || position == nullptr)
        return E_INVALIDARG;
    try {
        if (*position == -1) {
            for (uint32_t slot = 0; slot < Tonalis1State::kTextEffects; ++slot) {
                InfoTextEffect& effect = state->m_text_effects.GetElement(slot);
                if (effect.m_in_use != 0)
                    continue;
                effect.m_in_use = 1;
                effect.m_changed = 1;
                std::memcpy(effect.m_area, area, sizeof(effect.m_area));
                *position = static_cast<int32_t>(slot);
                return S_OK;
            }
            return S_OK;
        }
        if (*position >= 0 && *position < static_cast<int32_t>(Tonalis1State::kTextEffects)) {
            const InfoTextEffect& effect = state->m_text_effects.GetElement(static_cast<uint32_t>(*position));
            if (effect.m_in_use != 0) {
                std::memcpy(area, effect.m_area, sizeof(effect.m_area));
                return S_OK;
            }
        }
        *position = -1;
        return E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
