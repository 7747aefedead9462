#include "InfoBackgroundEffectForMixerFilter.h"

#include "CatchAllLog.h"

#include <algorithm>

InfoBackgroundEffectForMixerFilter::InfoBackgroundEffectForMixerFilter()
{
    try {
        m_left.Fill(kDefaultLeft);
        m_right.Fill(kDefaultRight);
        m_top.Fill(kDefaultTop);
        m_bottom.Fill(kDefaultBottom);
        m_enabled.Fill(0);
        m_operation.Fill(1);
        m_parameters.Fill(kDefaultParameter);
        m_input.Fill(-1);
        m_chroma.Fill(1);
    }
    CATCH_ALL_RETHROW()
}

namespace {

// The record comes from the program's state file: a damaged number takes its default before the
// range rules compare it (a NaN would pass every comparison).
void ClampEdges(float& low, float& high, float defaultLow, float defaultHigh)
{
    CheckFloatValue(&low, defaultLow);
    CheckFloatValue(&high, defaultHigh);
    high = std::clamp(high, 0.0f, 1.0f);
    low = low < 0.0f ? 0.0f : std::min(low, high);
}

} // namespace

HRESULT InfoBackgroundEffectForMixerFilter::Validate()
{
    try {
        HRESULT result = S_OK;
        for (uint32_t c = 0; c < kChannels; ++c) {
            ClampEdges(m_left.GetElement(c), m_right.GetElement(c), kDefaultLeft, kDefaultRight);
            ClampEdges(m_top.GetElement(c), m_bottom.GetElement(c), kDefaultTop, kDefaultBottom);
            for (uint32_t p = 0; p < kParametersPerChannel; ++p)
                CheckFloatValue(&m_parameters.GetElement(c * kParametersPerChannel + p), kDefaultParameter);
            const HRESULT name = m_driver_names.GetElement(c).CheckString();
            if (FAILED(name) && SUCCEEDED(result))
                result = name;
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
