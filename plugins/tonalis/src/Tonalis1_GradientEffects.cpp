// Gradient effects: the luminance mapped through an effect table, rotated with time when animated.
#include "Tonalis1_GradientTables.h"
#include "Tonalis1_Steps.h"

namespace {

// The table this frame maps through; false when the effect maps nothing.
bool BuildWorkingTable(Tonalis1State& state, int32_t effect, int32_t shift, GradientTable& working)
{
    if (effect == kGradientRandomEffect) {
        FillRandomGradientTable(working);
        return true;
    }
    if (!IsTableGradientEffect(effect))
        return false;
    if (state.m_curves_changed != 0) {
        state.m_curves_changed = 0;
        BuildGradientEffectTable(effect, state.m_user_curves[0], state.m_gradient_table);
    }
    RotateGradientTable(state.m_gradient_table, shift, working);
    return true;
}

} // namespace

HRESULT GraduentEffectsFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                                const SWORD* mask)
{
    if (state.m_enable == 0 || state.m_params_int.GetElement(kParamEffectsOff) != 0)
        return S_OK;
    const int32_t effectWord = state.m_params_int.GetElement(kParamGradientEffect);
    // The phase moves on every call, whatever the effect; the first call counts from time 0.
    const uint64_t now = state.m_time.GetTime();
    const int64_t elapsed = static_cast<int64_t>(now - state.m_time_gradient);
    state.m_time_gradient = now;
    state.m_gradient_phase = AdvanceGradientPhase(state.m_gradient_phase, elapsed, GradientPhaseSpeed(effectWord));

    // Zeroed on every call, so no effect maps through values nothing has written.
    GradientTable working;
    if (!BuildWorkingTable(state, GradientEffectNumber(effectWord), GradientShift(state.m_gradient_phase), working))
        return S_OK;
    if ((effectWord & kGradientSharpenFirst) != 0)
        SharpnessFunction(state, frame, luma, mask, 101);
    return state.m_operations.gradientCorrection(PlaneWords(luma), luma.m_stride, PlaneWidth(luma),
                                                 PlaneHeight(luma), &working.GetElement(0), working.GetCount());
}
