// The mixer data interface: input switches, the level gate's ranges, options and the
// background-effect record. Values are stored for the next frame.
#include "Blendora1.h"

namespace {

// The host's table gives some flags as bool, the program may send them as int.
int32_t IntegerOf(const InfoParamDataPath1& param)
{
    if (param.GetBaseType() == TypeParamBool)
        return param.GetBool() ? 1 : 0;
    return param.GetInt();
}

} // namespace

HRESULT Blendora1::DispatchMixerData(InfoFilterStateBlendora1* state, int32_t indexMethod,
                                     ListParamsDataPath1& params)
{
    const InfoParamDataPath1& first = params.m_params.GetElement(0);
    const InfoParamDataPath1& second = params.m_params.GetElement(1);
    switch (indexMethod) {
    case 0:
        return SetInputEnabled(state, IntegerOf(first), IntegerOf(second));
    case 1:
        return SetLevelRange(state, IntegerOf(first), second.GetFloat());
    case 2:
        return SetOption(state, IntegerOf(first), IntegerOf(second));
    case 3:
        return LoadBackgroundEffect(state, IntegerOf(first),
                                    static_cast<const InfoBackgroundEffectForMixerFilter*>(second.GetPointer()),
                                    IntegerOf(params.m_params.GetElement(2)));
    default:
        return S_OK;
    }
}

HRESULT Blendora1::SetInputEnabled(InfoFilterStateBlendora1* state, int32_t input, int32_t flag)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        state->m_input_enabled.GetElement(static_cast<uint32_t>(input)) = flag;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Blendora1::SetLevelRange(InfoFilterStateBlendora1* state, int32_t which, float value)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        if (which < 1 || which > 4)
            return S_OK;
        BlendoraLevelRange& range = state->m_level_ranges.GetElement(static_cast<uint32_t>(which - 1) / 2);
        (which % 2 == 1 ? range.low : range.high) = value;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Blendora1::SetOption(InfoFilterStateBlendora1* state, int32_t option, int32_t value)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        int32_t& stored = state->m_options.GetElement(static_cast<uint32_t>(option));
        const bool changed = stored != value;
        stored = value;
        if (option == InfoFilterStateBlendora1::kOptionDriverKind)
            return changed ? state->OpenDriverSharedBuffer() : S_OK;
        if (option == InfoFilterStateBlendora1::kOptionBackgroundEffect) {
            state->m_background_effect = value != 0 ? 1 : 0;
            if (value == 0)
                return state->ResetWorkingFrames();
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Blendora1::LoadBackgroundEffect(InfoFilterStateBlendora1* state, int32_t kind,
                                        const InfoBackgroundEffectForMixerFilter* record, int32_t size)
{
    if (state == nullptr)
        return E_INVALIDARG;
    if (kind != kRecordKind || size != static_cast<int32_t>(sizeof(InfoBackgroundEffectForMixerFilter)))
        return S_OK;
    if (record == nullptr)
        return E_INVALIDARG;
    try {
        state->m_effect = *record;
        return state->m_effect.Validate();
    }
    CATCH_ALL_RETURN(E_FAIL)
}
