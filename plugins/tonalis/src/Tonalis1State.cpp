#include "Tonalis1State.h"

namespace {

constexpr float kDefaultCorrectionValues[kCorrectionValues] = {1.0f, 30.0f, 1.0f, 1.0f, 5.0f, 10.0f, 5.0f};

struct ParamDefault
{
    uint32_t index;
    int32_t value;
};
// Every other integer parameter starts at 0.
constexpr ParamDefault kParamDefaults[] = {
    {kParamMosaicValue1, 255},     {kParamMosaicValue2, 80},        {kParamMosaicChroma, 1},
    {kParamSplitView, 1},          {kParamEdgeSmoothing, 1},        {kParamKernelSharpness, 1},
    {kParamEdgeSmoothingChroma, 1}, {kParamEdgeMapPerPass, 1},      {kParamTemporalNoise, 1},
    {kParamMotionAdaptiveNoise, 1}, {kParamTextEffects, 1},
};

// The area the first text effect covers from the start.
constexpr float kFirstTextEffectArea[4] = {0.0f, 0.5f, 1.0f, 0.5f};

} // namespace

HRESULT InfoTemplateBlockSetTonalis1::FreeAll()
{
    m_luma.FreeAll();
    m_chroma.FreeAll();
    return m_sizes.FreeAll();
}

HRESULT FillIdentityCurve(TonalisCurve& curve)
{
    for (uint32_t i = 0; i < TonalisCurve::GetCount(); ++i)
        curve.GetElement(i) = static_cast<SWORD>(i);
    return S_OK;
}

Tonalis1State::Tonalis1State()
{
    try {
        m_name = "TONALIS_FILTER1";
        m_hue_sine.Init(kHueTableEntries, 0);
        m_hue_cosine.Init(kHueTableEntries, 0);
        const HRESULT result = Reset();
        if (FAILED(result))
            throw static_cast<int>(result);
    }
    CATCH_ALL_RETHROW()
}

Tonalis1State::~Tonalis1State()
{
    try {
        m_blocks_normal.FreeAll();
        m_blocks_extended.FreeAll();
    }
    CATCH_ALL_LOG()
}

HRESULT Tonalis1State::Reset()
{
    try {
        m_user_value = 0;
        m_event_source_index = kNoSourceIndex;
        m_text_effects.Fill(InfoTextEffect{});
        InfoTextEffect& first = m_text_effects.GetElement(0);
        for (uint32_t k = 0; k < 4; ++k)
            first.m_area[k] = kFirstTextEffectArea[k];
        first.m_in_use = 1;
        for (uint32_t k = 0; k < kCorrectionValues; ++k)
            m_correction_values.GetElement(k) = kDefaultCorrectionValues[k];
        m_enable = 1;
        m_optim.SetMode(1);
        FillOptimFunctionTableSWORD(m_operations, m_optim.GetModeValue());
        m_event_owner = nullptr;
        m_first_average_request = 0;
        m_params_int.Fill(0);
        m_params_float.Fill(1.0f);
        for (const ParamDefault& preset : kParamDefaults)
            m_params_int.GetElement(preset.index) = preset.value;
        m_average_level = 0.5f;
        m_adaptive_offset = 0;
        m_hold_adaptive = 0;
        m_format_graph.Reset(StructFormatGraph1::kKindCapture);
        m_time_gradient = 0;
        m_counters.Fill(InfoCounterPairTonalis1{});
        m_noise_limits[0] = 20;
        m_noise_limits[1] = 50;
        m_noise_weights[0] = 115;
        m_noise_weights[1] = -38;
        m_noise_weights[2] = -38;
        m_noise_chroma = 0;
        m_noise_mask = -1;
        for (TonalisCurve* curve : {&m_gamma_table, &m_user_curves[0], &m_user_curves[1], &m_gradient_table})
            FillIdentityCurve(*curve);
        m_gradient_phase = 0.0f;
        m_curves_changed = 1;
        m_template_folder.ResetString();
        m_blocks_normal.FreeAll();
        m_blocks_extended.FreeAll();
        m_extended_blocks_present = 0;
        EmptyStoredFrames();
        // The hue value in force needs its tables from the first frame on.
        return CreateTablesCorrectHue(m_hue_sine, m_hue_cosine, m_hue_matrix,
                                      m_correction_values.GetElement(kValueHue));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1State::EmptyStoredFrames()
{
    HRESULT result = S_OK;
    for (InfoDataBufferPath1& stored : m_stored_frames)
        result = stored.SetNULLFrame();
    return result;
}
