// One action slot of a widget: which operation the picture cycle runs over which general buffers,
// with the per-channel operands, and the callback that decides each run.
#pragma once

#include <windows.h>

#include <cstdint>

class BaseUserInterface;

// Asked before each run of a slot: a negative result or 1 skips the run.
using ActionCallbackUserInterface2 = HRESULT (*)(BaseUserInterface* widget, uintptr_t context, int32_t slot,
                                                 int32_t run, uint32_t timeLow, uint32_t timeHigh);

// Common check of an action callback's arguments: 0 for a widget, a slot of 0..63 and a run that
// is not negative, else 0x80004005.
HRESULT CheckParamActionFunction(BaseUserInterface* widget, uintptr_t context, int32_t slot, int32_t run,
                                 uint32_t timeLow, uint32_t timeHigh);

struct InfoActionUserInterface2
{
    static constexpr uint32_t Channels = 3;
    static constexpr uint32_t Lanes = 8;
    // Flag bits beside the operation index (bits 0-11).
    static constexpr uint32_t OperationMask = 0xFFF;
    static constexpr uint32_t FlagClamp = 0x1000;
    static constexpr uint32_t FlagPadRows = 0x2000;
    static constexpr uint32_t FlagSource = 0x100000;
    static constexpr uint32_t FlagDestination = 0x200000;
    // A destination and no operation.
    static constexpr uint32_t FlagsEmptyLayer = FlagDestination | 0x100;

    // Every region value -1: the buffers' own offsets, strides and sizes; the buffers unnamed.
    HRESULT ResetRegions();

    uint32_t m_flags = 0;
    uint32_t m_repeat_count = 0;
    ActionCallbackUserInterface2 m_callback = nullptr;
    uintptr_t m_callback_context = 0;
    int32_t m_source_index = -1;
    int32_t m_destination_index = -1;
    int32_t m_source_offset = 0;
    int32_t m_destination_offset = 0;
    int32_t m_source_stride = -1;
    int32_t m_destination_stride = -1;
    int32_t m_width = -1;
    int32_t m_height = -1;
    float m_params_a[Channels][Lanes] = {};
    float m_params_b[Channels][Lanes] = {};
    uint32_t m_operation_argument = 0;
    uint32_t m_reserved[2] = {};
};

// All lanes of one channel of a parameter set take the value.
HRESULT FillActionParams(float (&params)[InfoActionUserInterface2::Channels][InfoActionUserInterface2::Lanes],
                         uint32_t channel, float value);
