// Rate control: the rows of rates, pause and the motion window.
#include "Camwell1.h"

#include <cstring>

namespace {

constexpr float kMaxRate = 200.0f;

// A stored rate is a number in [0, 200]; anything else takes the default.
float CheckedRate(float rate, float defaultRate)
{
    CheckFloatValue(&rate, defaultRate);
    return rate < 0.0f ? 0.0f : (rate > kMaxRate ? kMaxRate : rate);
}

} // namespace

HRESULT Camwell1::DispatchRateControl(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case 0: {
        const uint8_t bytes[3] = {Param(params, 3).GetBool(), Param(params, 4).GetBool(), Param(params, 5).GetBool()};
        return SetRateRow(state, Param(params, 0).GetUInt(), ParamPointer<BYTE>(params, 1),
                          ParamPointer<float>(params, 2), bytes);
    }
    case 1:
        return SetPaused(state, Param(params, 0).GetBool());
    case 2:
        return NoticeMotion(state);
    case 3:
        return GetMotionWindowOpen(state, ParamPointer<bool>(params, 0));
    default:
        return S_OK;
    }
}

HRESULT Camwell1::SetRateRow(InfoCamwell1State& state, uint32_t row, const BYTE* blocks, const float* rates,
                             const uint8_t bytes[3])
{
    if (row >= InfoCamwell1State::kCountRows)
        return E_UNEXPECTED;
    if (blocks == nullptr || rates == nullptr)
        return E_INVALIDARG;
    InfoRateRowCamwell1& target = state.m_rows.GetElement(row);
    std::memcpy(target.m_blocks, blocks, sizeof(target.m_blocks));
    for (int32_t k = 0; k < InfoRateRowCamwell1::kCountRates; ++k)
        target.m_rates[k] = CheckedRate(rates[k], k == InfoRateRowCamwell1::kRateView ? 0.0f : 1.0f);
    std::memcpy(target.m_bytes, bytes, sizeof(target.m_bytes));
    if (row == 0)
        return state.m_view_limiter.SetFrameRate(target.m_rates[InfoRateRowCamwell1::kRateView]);
    return S_OK;
}

HRESULT Camwell1::SetPaused(InfoCamwell1State& state, bool paused)
{
    const int64_t now = state.Now();
    state.m_paused = paused;
    state.m_last_detection = now;
    state.m_last_output0 = now;
    state.m_carry_output0 = 0.0;
    return S_OK;
}

HRESULT Camwell1::NoticeMotion(InfoCamwell1State& state)
{
    const int64_t now = state.Now();
    const InfoRateRowCamwell1& row = state.Row();
    const float rate = row.m_rates[InfoRateRowCamwell1::kRateOutput0Motion];
    // Motion after a quiet spell starts the recording with the next frame.
    if (state.Mode() == InfoScheduleHourCamwell1::kModeMotionTriggered &&
        row.m_motion_timeout <= state.SecondsSinceDetection(1000.0) && rate > 0.0f)
        state.m_last_output0 = now - static_cast<int64_t>(1000.0 / rate);
    state.m_last_detection = now;
    return S_OK;
}

HRESULT Camwell1::GetMotionWindowOpen(InfoCamwell1State& state, bool* open)
{
    if (open == nullptr)
        return E_INVALIDARG;
    *open = state.Row().m_motion_timeout >= state.SecondsSinceDetection(1000.0);
    return S_OK;
}
