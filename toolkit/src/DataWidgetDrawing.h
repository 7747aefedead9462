// What the drawing programs of the trackbar and the button set share: operands of their action
// slots, and layers sized and filled from their pictures.
#pragma once

#include "BaseUserInterface.h"

// The operations their programs place in action slots.
namespace DataWidgetOperations {
constexpr uint32_t Fill = InfoActionUserInterface2::FlagDestination | 1;
constexpr uint32_t Copy = InfoActionUserInterface2::FlagSource | InfoActionUserInterface2::FlagDestination | 2;
constexpr uint32_t Add = InfoActionUserInterface2::FlagSource | InfoActionUserInterface2::FlagDestination | 11;
constexpr uint32_t AddClamped = Add | InfoActionUserInterface2::FlagClamp;
constexpr uint32_t Subtract = InfoActionUserInterface2::FlagSource | InfoActionUserInterface2::FlagDestination | 12;
constexpr uint32_t Blend = InfoActionUserInterface2::FlagSource | InfoActionUserInterface2::FlagDestination | 24;
constexpr uint32_t Scale = InfoActionUserInterface2::FlagDestination | InfoActionUserInterface2::FlagClamp | 29;
constexpr uint32_t Drawn = InfoActionUserInterface2::FlagsEmptyLayer;
// Blends multiply by a stencil whose 128 is neutral.
constexpr float BlendShift = 7.0f;
} // namespace DataWidgetOperations

// Before a program is laid out: the skin names 0..skinCount-1 emptied and every action slot reset.
template <uint32_t SlotCount>
void ClearSkinsAndActions(TypedValueListUserInterface2& properties, int32_t skinCount,
                          StaticBoundsObject<InfoActionUserInterface2, SlotCount>& actions)
{
    for (int32_t skin = 0; skin < skinCount; ++skin)
        properties.GetElement(skin).SetText("");
    for (uint32_t slot = 0; slot < SlotCount; ++slot)
        actions.GetElement(slot) = InfoActionUserInterface2();
}

// One slot of a program: its regions reset, the operation, the buffers and the callback with its code.
inline void SetPlannedAction(InfoActionUserInterface2& action, uint32_t flags, int32_t source, int32_t destination,
                             ActionCallbackUserInterface2 callback, uintptr_t code)
{
    action.ResetRegions();
    action.m_flags = flags;
    action.m_source_index = source;
    action.m_destination_index = destination;
    action.m_callback = callback;
    action.m_callback_context = code;
}

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
