// What the drawing programs of the trackbar and the button set share: operands of their action
// slots, and layers sized and filled from their pictures.
#pragma once

#include "BaseUserInterface.h"

// Every lane of each channel takes the channel's value.
inline void FillActionChannels(InfoActionUserInterface2& action, const float (&values)[3])
{
    for (uint32_t channel = 0; channel < InfoActionUserInterface2::Channels; ++channel)
        FillActionParams(action.m_params_a, channel, values[channel]);
}

inline void FillActionChannels(InfoActionUserInterface2& action, float value)
{
    FillActionChannels(action, {value, value, value});
}

inline void ColourChannels(COLORREF colour, float (&channels)[3])
{
    channels[0] = GetRValue(colour);
    channels[1] = GetGValue(colour);
    channels[2] = GetBValue(colour);
}

inline void FillActionColour(InfoActionUserInterface2& action, COLORREF colour)
{
    float channels[3];
    ColourChannels(colour, channels);
    FillActionChannels(action, channels);
}

// A between-plane shift is the 64-bit value at vector A: its first word, the rest 0.
inline void SetActionShift(InfoActionUserInterface2& action, float shift)
{
    FillActionChannels(action, 0.0f);
    for (uint32_t channel = 0; channel < InfoActionUserInterface2::Channels; ++channel)
        action.m_params_a[channel][0] = shift;
}

// Sizes the layer; fills it from the picture when either is marked changed and the picture holds
// one (a skin or bitmap that was never loaded has none).
inline HRESULT ResizeAndFillLayer(BaseUserInterface& widget, InfoGeneralBufferForUserInterface2& layer,
                                  InfoGeneralBufferForUserInterface2* picture, int32_t width, int32_t height)
{
    HRESULT result = layer.ResizeBuffer(width, height);
    if (FAILED(result) || picture == nullptr || picture->m_rgb_buffers.GetElement(0) == nullptr)
        return result;
    if (picture->IsChanged() != 0 || layer.IsChanged() != 0)
        result = widget.CopyGeneralBuffer(&layer, picture);
    return result;
}
