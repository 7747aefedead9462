// The builders that widgets fill their action slots with when they set up their pictures.
#include "BaseUserInterface.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cmath>

namespace {

using Action = InfoActionUserInterface2;

constexpr uint32_t Copy = Action::FlagSource | Action::FlagDestination | 2;
constexpr uint32_t ColourFill = Action::FlagDestination | 13;
constexpr uint32_t ConstantFill = Action::FlagDestination | 17;
constexpr uint32_t ConstantUnderMask = Action::FlagDestination | 1;
constexpr uint32_t Subtract = Action::FlagSource | Action::FlagDestination | 12;
constexpr uint32_t MultiplyShift = Action::FlagSource | Action::FlagDestination | 24;
constexpr uint32_t Add = Action::FlagSource | Action::FlagDestination | 11;
constexpr uint32_t GlowFalling = Action::FlagDestination | Action::FlagPadRows | 21;
constexpr uint32_t GlowRising = Action::FlagDestination | Action::FlagPadRows | 22;
// Glow values above this blur (falling); the others sharpen.
constexpr float GlowTurn = 13.0f;
constexpr float GlowSpan = 24.0f;
// Brings a product of a 0..255 sample and a weight back into 0..255. The multiply keeps the low 16
// bits as a signed word, so this holds only for weights up to 128 (128 halves the sample); larger
// weights on samples above about 128 wrap negative.
constexpr float ProductShift = 8.0f;
constexpr int32_t RisingPerSecond = 30;
constexpr int32_t FallingPerSecond = 50;

void ThrowWithoutBuffer(int32_t index)
{
    if (index < 0)
        throw 241;
}

void FillVectorA(Action& action, const float (&values)[3])
{
    for (uint32_t channel = 0; channel < Action::Channels; ++channel)
        FillActionParams(action.m_params_a, channel, values[channel]);
}

void SetGlow(Action& action, float glow)
{
    action.m_flags = glow > GlowTurn ? GlowFalling : GlowRising;
    const float operand = glow > GlowTurn ? GlowSpan - glow : glow;
    FillVectorA(action, {operand, operand, operand});
}

// A between-plane shift is the 64-bit value at vector A: its first word, the rest 0.
void SetShift(Action& action, float shift)
{
    for (uint32_t channel = 0; channel < Action::Channels; ++channel)
        action.m_params_a[channel][0] = shift;
}

// A slot that names no buffers and no operands yet; its callback and repeat count stay.
void ResetStep(Action& action)
{
    action.ResetRegions();
    action.m_flags = Action::FlagsEmptyLayer;
    for (uint32_t channel = 0; channel < Action::Channels; ++channel) {
        FillActionParams(action.m_params_a, channel, 0.0f);
        FillActionParams(action.m_params_b, channel, 0.0f);
    }
}

void SetStep(Action& action, uint32_t flags, int32_t source, int32_t destination)
{
    action.m_flags = flags;
    action.m_source_index = source;
    action.m_destination_index = destination;
}

} // namespace

HRESULT BaseUserInterface::FillActionForLayer(uint32_t slot, uint32_t mode, int32_t source, int32_t destination,
                                              const InfoLayerLookUserInterface2& look)
{
    try {
        Action& action = m_actions.GetElement(slot);
        ResetStep(action);
        if (destination < 0)
            return S_FALSE;
        action.m_destination_index = destination;
        switch (mode) {
        case LayerDrawn:
            return DrawLayer(destination, look);
        case LayerCopy:
            ThrowWithoutBuffer(source);
            SetStep(action, Copy, source, destination);
            break;
        case LayerColour: {
            action.m_flags = ColourFill;
            const float colour[3] = {static_cast<float>(GetRValue(look.m_colour)),
                                     static_cast<float>(GetGValue(look.m_colour)),
                                     static_cast<float>(GetBValue(look.m_colour))};
            FillVectorA(action, colour);
            break;
        }
        case LayerConstant:
            action.m_flags = ConstantFill | Action::FlagClamp;
            FillVectorA(action, look.m_constants);
            break;
        case LayerGlow:
            SetGlow(action, look.m_glow);
            break;
        default:
            break;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::FillActionForThreeLayers(uint32_t slot, uint32_t number, int32_t result,
                                                    const InfoLayerUserInterface2 (&layers)[3], int32_t working)
{
    try {
        Action& action = m_actions.GetElement(slot);
        ResetStep(action);
        for (const InfoLayerUserInterface2& layer : layers)
            if (layer.m_look.HasValues() && layer.m_skin_buffer < 0 && layer.m_drawn_buffer < 0)
                throw 241;
        if (number < 15) {
            const InfoLayerUserInterface2& layer = layers[number / 5];
            if (layer.m_skin_buffer < 0 && layer.m_drawn_buffer < 0)
                return S_FALSE;
            return FillActionForLayer(slot, number % 5, layer.m_skin_buffer, layer.m_drawn_buffer, layer.m_look);
        }
        if (number > 23)
            return S_OK;
        const int32_t first = layers[0].Picture(), second = layers[1].Picture(), third = layers[2].Picture();
        if (number == 15) {
            if (first < 0 || result < 0)
                return S_FALSE;
            SetStep(action, Copy, first, result);
            return S_OK;
        }
        ThrowWithoutBuffer(working);
        // The working buffer's constant comes from the third layer's look.
        const float(&constants)[3] = layers[2].m_look.m_constants;
        switch (number) {
        case 16:
            SetStep(action, ConstantUnderMask, -1, working);
            FillVectorA(action, constants);
            break;
        case 17:
            if (third < 0)
                return S_FALSE;
            SetStep(action, Subtract, third, working);
            break;
        case 18:
        case 21:
            SetStep(action, ConstantFill, -1, working);
            FillVectorA(action, constants);
            break;
        case 19:
            if (result < 0)
                return S_FALSE;
            SetStep(action, MultiplyShift, working, result);
            SetShift(action, ProductShift);
            break;
        case 20:
            if (third < 0)
                return S_FALSE;
            SetStep(action, Copy, third, working);
            break;
        case 22:
            if (second < 0)
                return S_FALSE;
            SetStep(action, MultiplyShift, second, working);
            SetShift(action, ProductShift);
            break;
        default: // 23
            if (result < 0 || (third < 0 && second < 0))
                return S_FALSE;
            SetStep(action, Add | Action::FlagClamp, third >= 0 ? working : second, result);
            break;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool BaseUserInterface::StepAnimationValueByTime(bool onlyAsk, uint32_t slot, bool falling, uint64_t now,
                                                 uint64_t start, int32_t* value, int32_t minimum, int32_t maximum)
{
    try {
        if (value == nullptr)
            return false;
        const double seconds = static_cast<double>(static_cast<int64_t>(now - start)) / 1000.0;
        const int32_t stepped = falling ? maximum - static_cast<int32_t>(std::trunc(FallingPerSecond * seconds))
                                        : minimum + static_cast<int32_t>(std::trunc(RisingPerSecond * seconds));
        const int32_t next = std::clamp(stepped, std::min(minimum, maximum), std::max(minimum, maximum));
        const bool changed = next != *value;
        if (onlyAsk)
            return changed;
        *value = next;
        Action& action = m_actions.GetElement(slot);
        action.m_flags = next < 14 ? GlowRising : GlowFalling;
        const float operand = next < 14 ? static_cast<float>(next) : GlowSpan - static_cast<float>(next);
        for (uint32_t channel = 0; channel < Action::Channels; ++channel)
            action.m_params_a[channel][0] = operand;
        return changed || next == 13;
    }
    CATCH_ALL_RETURN(false)
}
