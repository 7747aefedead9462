// The background-effect parameters of the mixer Blendora1. The program fills one record (and keeps
// it in its state file) and loads it into the mixer through the mixer data interface; both build
// it from this declaration, and the mixer takes a record only when its size matches.
#pragma once

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

class InfoBackgroundEffectForMixerFilter
{
public:
    static constexpr uint32_t kChannels = 16;
    static constexpr uint32_t kOperationsPerChannel = 32;
    static constexpr uint32_t kParametersPerOperation = 4;
    static constexpr uint32_t kParametersPerChannel = kOperationsPerChannel * kParametersPerOperation;

    static constexpr float kDefaultLeft = 0.0f;
    static constexpr float kDefaultRight = 0.5f;
    static constexpr float kDefaultTop = 0.0f;
    static constexpr float kDefaultBottom = 0.5f;
    static constexpr float kDefaultParameter = 0.0f;

    InfoBackgroundEffectForMixerFilter();

    // Brings a loaded record into range: every rectangle edge and parameter that is not a finite
    // number takes its default, right and bottom are clamped to [0, 1], left and top to
    // [0, right] and [0, bottom]; each driver name is checked.
    HRESULT Validate();

    // Element of m_parameters for parameter p of operation n of the channel.
    static uint32_t ParameterIndex(uint32_t channel, uint32_t operation, uint32_t parameter)
    {
        return channel * kParametersPerChannel + operation * kParametersPerOperation + parameter;
    }

    // The input number whose frames go downstream; -1 none.
    int32_t m_base_channel = -1;
    // Per channel: its picture-in-picture rectangle, fractions of the base picture.
    StaticBoundsObject<float, kChannels> m_left;
    StaticBoundsObject<float, kChannels> m_right;
    StaticBoundsObject<float, kChannels> m_top;
    StaticBoundsObject<float, kChannels> m_bottom;
    // Per channel: the name of the driver shown in it; the program's, the mixing does not use it.
    StaticBoundsObject<DynamicString, kChannels> m_driver_names;
    // Per channel: 1 when it takes part.
    StaticBoundsObject<int32_t, kChannels> m_enabled;
    // Per channel: the blend operation, 1 to 14.
    StaticBoundsObject<int32_t, kChannels> m_operation;
    StaticBoundsObject<float, kChannels * kParametersPerChannel> m_parameters;
    // Per channel: the mixer input that feeds it; -1 none.
    StaticBoundsObject<int32_t, kChannels> m_input;
    // Per channel: 1 when the operation also applies to the chroma plane.
    StaticBoundsObject<int32_t, kChannels> m_chroma;
};

#if !defined(_WIN64)
static_assert(sizeof(InfoBackgroundEffectForMixerFilter) == 9220, "the record with its 16 strings is 9220 bytes");
#endif
