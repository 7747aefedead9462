// The button set's drawing program: each button's face, caption, light spot and glow, the glass
// background, the state looks, and their placing into the final picture.
#include "SetButtonsObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "DataWidgetDrawing.h"
#include "ScrollBufferEffectsUserInterface2.h"

#include <algorithm>

namespace {

using Action = InfoActionUserInterface2;
using namespace DataWidgetOperations;

constexpr uint32_t Spot = Action::FlagDestination | Action::FlagClamp | 26;
constexpr uint32_t Glow = Action::FlagDestination | Action::FlagPadRows | 21;
constexpr float GlassBlendShift = 8.0f;
constexpr float Grey = 127.0f;
constexpr float HoverBrightening = 100.0f;
constexpr uint32_t HoverShift = 6;
constexpr uint32_t NoGlowStates = 0x202;
constexpr uint32_t NoBrighteningStates = 0x402;
constexpr float GlassSpeed = 30.0f;
constexpr int32_t GlassTrails = 40;
constexpr int32_t GlassDecay = 3;
constexpr uint8_t GlassChannels[3] = {0, 0, 1};
constexpr int32_t OverlaySteps = 4;

enum CallbackCode : uintptr_t
{
    CodeCaption = 0,
    CodeFace = 1,
    CodeGdi = 2,
    CodeSecond = 4,
    CodeGlass = 5,
    CodeStateLayer = 6,
    CodeOverlay = 7,
    CodeNone = 99,
};

enum Repeats
{
    Once,
    PerButton,
    PerState,
    PerButtonStep,
};

struct SlotPlan
{
    uint32_t m_slot;
    uint32_t m_flags;
    Repeats m_repeats;
    int32_t m_source;
    int32_t m_destination;
    uintptr_t m_code;
    float m_shift; // 0: no shift
};

// Buffers of -1 are set by the callback per button.
constexpr SlotPlan Program[] = {
    {0, Drawn, PerButton, -1, -1, CodeCaption, 0},       {1, Fill, PerButton, -1, -1, CodeSecond, 0},
    {2, Subtract, PerButton, -1, -1, CodeSecond, 0},     {3, Copy, PerButton, -1, -1, CodeFace, 0},
    {4, AddClamped, PerButton, -1, -1, CodeFace, 0},     {5, Spot, PerButton, -1, -1, CodeFace, 0},
    {7, Copy, PerButton, -1, -1, CodeFace, 0},           {8, Glow, PerButton, -1, -1, CodeFace, 0},
    {9, Scale, PerButton, -1, -1, CodeFace, 0},          {10, Copy, PerButton, -1, -1, CodeFace, 0},
    {11, Blend, PerButton, -1, -1, CodeFace, GlassBlendShift}, {12, Fill, PerButton, -1, -1, CodeFace, 0},
    {13, Subtract, PerButton, -1, -1, CodeFace, 0},      {14, Drawn, PerButton, -1, -1, CodeGdi, 0},
    {15, Copy, PerButton, -1, -1, CodeFace, 0},          {16, Blend, PerButton, -1, -1, CodeFace, BlendShift},
    {17, Add, PerButton, -1, -1, CodeFace, 0},           {19, Drawn, Once, -1, 246, CodeGlass, 0},
    {22, Copy, Once, 243, 244, CodeNone, 0},             {23, Add, Once, 242, 244, CodeNone, 0},
    {25, Add, Once, 246, 244, CodeGlass, 0},             {26, Copy, PerButton, 244, 245, CodeFace, 0},
    {27, Blend, PerButton, -1, 245, CodeFace, BlendShift}, {28, AddClamped, PerButton, -1, 245, CodeFace, 0},
    {29, Blend, PerButton, -1, 245, CodeFace, BlendShift}, {31, Add, PerButton, -1, 245, CodeFace, 0},
    {34, Fill, PerState, -1, -1, CodeStateLayer, 0},     {35, Subtract, PerState, -1, -1, CodeStateLayer, 0},
    {45, Drawn, PerButtonStep, -1, -1, CodeOverlay, 0},
};

// Per state (cursor, pressed, disabled): its skin, stencil and layer.
constexpr int32_t StateSkins[] = {248, 250, 252};
constexpr int32_t StateStencils[] = {254, 258, 261};
constexpr int32_t StateLayerBuffers[] = {255, 259, 262};
constexpr int32_t OverlayLayer = 256;

// How often the length must be halved to reach 127 or below.
uint32_t HalvingsTo127(int32_t length)
{
    uint32_t count = 0;
    for (; length > 127; length /= 2)
        ++count;
    return count;
}

} // namespace

HRESULT SetButtonsObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        ClearSkinsAndActions(m_property_tables.GetElement(0), SkinCount, m_actions);
        const uint32_t count = static_cast<uint32_t>(std::max(ButtonCount(), 1));
        for (const SlotPlan& plan : Program) {
            Action& action = m_actions.GetElement(plan.m_slot);
            SetPlannedAction(action, plan.m_flags, plan.m_source, plan.m_destination,
                             plan.m_code == CodeNone ? nullptr : GeneralCycleCallback, plan.m_code);
            const uint32_t repeats[] = {1, count, 3, OverlaySteps * count};
            action.m_repeat_count = repeats[plan.m_repeats];
            if (plan.m_shift != 0.0f)
                SetActionShift(action, plan.m_shift);
        }
        m_finall_buffer_choice = FinalBuffer;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SetButtonsObjectUserInterface2::GeneralCycleCallback(BaseUserInterface* widget, uintptr_t code, int32_t slot,
                                                             int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (widget == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckParamActionFunction(widget, code, slot, run, timeLow, timeHigh);
        if (FAILED(check))
            return check;
        auto* self = static_cast<SetButtonsObjectUserInterface2*>(widget);
        const uint64_t now = (static_cast<uint64_t>(timeHigh) << 32) | timeLow;
        const bool buttonCode = code == CodeCaption || code == CodeFace || code == CodeGdi || code == CodeSecond;
        if (buttonCode && !self->IsButton(run))
            return S_FALSE;
        switch (code) {
        case CodeCaption:
            return self->DrawCaption(run);
        case CodeFace:
            return self->DrawFace(slot, run, now);
        case CodeGdi:
            // The set draws nothing of its own into 160+i: it stays zero, which the add of slot 17
            // leaves without effect.
            return S_FALSE;
        case CodeSecond:
            return self->DrawSecondBitmap(slot, run);
        case CodeGlass:
            return self->DrawGlass(slot, now);
        case CodeStateLayer:
            return self->DrawStateLayer(slot, run);
        case CodeOverlay:
            return self->DrawStateOverlay(run);
        default:
            return E_FAIL;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SetButtonsObjectUserInterface2::DrawCaption(int32_t index)
{
    InfoElementUserInterface2& element = m_elements.GetElement(index);
    const int32_t layer = 112 + index;
    m_actions.GetElement(0).m_destination_index = layer;
    if (element.m_changed.GetElement(FieldCaption) == 0 && !IsBufferChanged(layer))
        return S_FALSE;
    Mark(layer);
    const InfoTypedValueUserInterface2& caption = element.Field(FieldCaption);
    const InfoGDIUserInterface2& entry = m_gdi_table.GetElement(CaptionEntry);
    InfoFontForDrawToHDC text;
    if (caption.m_type == InfoTypedValueUserInterface2::TypeText)
        text.m_text = caption.m_value.m_text.GetString();
    text.m_format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    text.m_text_color = entry.m_color;
    text.m_font = CreateFontIndirectA(&entry.m_font);
    InfoLayerLookUserInterface2 look;
    look.m_draw = FunctDrawTextToHDC;
    look.m_record = &text;
    look.m_record_size = sizeof(text);
    const HRESULT drawn = DrawLayer(layer, look);
    element.m_changed.GetElement(FieldCaption) = 0;
    return FAILED(drawn) ? drawn : S_OK;
}

// Slots 1 and 2: the second bitmap's layer, grey minus the third bitmap, drawn when that changed.
HRESULT SetButtonsObjectUserInterface2::DrawSecondBitmap(int32_t slot, int32_t index)
{
    if (!IsBufferChanged(64 + index))
        return S_FALSE;
    Action& action = m_actions.GetElement(slot);
    action.m_destination_index = 96 + index;
    if (slot == 1) {
        Mark(96 + index);
        FillActionChannels(action, Grey);
    } else {
        action.m_source_index = 64 + index;
    }
    return S_OK;
}

HRESULT SetButtonsObjectUserInterface2::DrawFace(int32_t slot, int32_t index, uint64_t now)
{
    Action& action = m_actions.GetElement(slot);
    const uint32_t state = ButtonState(index);
    const bool hovered = m_hot_flags.GetElement(index) != 0;
    switch (slot) {
    case 3:
        action.m_source_index = 48 + index;
        action.m_destination_index = 128 + index;
        return S_OK;
    case 4:
        action.m_source_index = 112 + index;
        action.m_destination_index = 128 + index;
        return S_OK;
    case 5:
        return DrawLightSpot(action, index);
    case 7:
    case 8:
        return DrawGlow(slot, index, now);
    case 9:
        if (!hovered || (state & NoBrighteningStates) != 0)
            return S_FALSE;
        action.m_destination_index = 144 + index;
        action.m_operation_argument = HoverShift;
        FillActionChannels(action, HoverBrightening);
        return S_OK;
    case 10:
        action.m_source_index = 192 + index;
        action.m_destination_index = 208 + index;
        return S_OK;
    case 11:
        action.m_source_index = 80 + index;
        action.m_destination_index = 208 + index;
        return S_OK;
    case 12:
        action.m_destination_index = 224 + index;
        FillActionChannels(action, Grey);
        // The fill starts the layer that slot 13 takes the spot from.
        return IsBufferChanged(208 + index) ? S_OK : S_FALSE;
    case 13:
        action.m_source_index = 208 + index;
        action.m_destination_index = 224 + index;
        return S_OK;
    case 15:
        action.m_source_index = 144 + index;
        action.m_destination_index = 176 + index;
        return S_OK;
    case 16:
        action.m_source_index = 64 + index;
        action.m_destination_index = 176 + index;
        return S_OK;
    case 17:
        action.m_source_index = 160 + index;
        action.m_destination_index = 176 + index;
        return S_OK;
    default:
        return PlaceButton(slot, index);
    }
}

HRESULT SetButtonsObjectUserInterface2::DrawLightSpot(Action& action, int32_t index)
{
    const int32_t layer = 192 + index;
    action.m_destination_index = layer;
    if ((ButtonState(index) & (StatePassive | StateNoLight)) != 0)
        return S_FALSE;
    const bool cursorStill = m_cursor_x == m_last_mouse_x && m_cursor_y == m_last_mouse_y;
    if (cursorStill && !IsBufferChanged(layer))
        return S_FALSE;
    const InfoRectUserInterface2& rect = m_elements.GetElement(index).Field(InfoElementUserInterface2::FieldRect).m_value.m_rect;
    const bool inside = rect.HoldsStrictly(m_last_mouse_x, m_last_mouse_y);
    const float x = inside ? static_cast<float>(m_last_mouse_x - rect.m_left) : static_cast<float>(rect.m_width / 2);
    const float y = inside ? static_cast<float>(m_last_mouse_y - rect.m_top) : static_cast<float>(rect.m_width / 2);
    FillActionChannels(action, 0.0f);
    for (uint32_t channel = 0; channel < Action::Channels; ++channel) {
        action.m_params_a[channel][0] = x;
        action.m_params_a[channel][1] = y;
    }
    action.m_operation_argument = HalvingsTo127(rect.m_width + rect.m_height);
    for (int32_t marked : {128 + index, 96 + index, layer, static_cast<int32_t>(FinalBuffer)})
        Mark(marked);
    return S_OK;
}

// Slot 7 steps the glow value (rising while hovered, else falling) and copies the face afresh when
// it changed; slot 8 then glows that copy with the button's own value.
HRESULT SetButtonsObjectUserInterface2::DrawGlow(int32_t slot, int32_t index, uint64_t now)
{
    Action& action = m_actions.GetElement(slot);
    const uint32_t state = ButtonState(index);
    const bool passive = (state & NoGlowStates) != 0;
    const bool hovered = m_hot_flags.GetElement(index) != 0 && !passive;
    InfoElementUserInterface2& element = m_elements.GetElement(index);
    const int32_t lower = element.Field(8).m_value.m_int, upper = element.Field(9).m_value.m_int;
    int32_t& glow = m_element_values.GetElement(index);
    const int32_t layer = 144 + index;
    action.m_destination_index = layer;
    const bool changed = StepAnimationValueByTime(false, 8, !hovered, now, m_hot_times.GetElement(index), &glow,
                                                  lower, upper);
    if (slot == 7) {
        action.m_source_index = 128 + index;
        if (changed) {
            Mark(layer);
            if (hovered)
                Mark(128 + index);
        }
        return S_OK;
    }
    return IsBufferChanged(layer) ? S_OK : S_FALSE;
}

bool SetButtonsObjectUserInterface2::PlaceOnFinal(Action& action, int32_t index, int32_t width, int32_t height)
{
    const RECT visible = VisibleRect(index);
    const InfoGeneralBufferForUserInterface2& final = m_array_general_buffers.GetElement(FinalBuffer);
    action.m_width = std::min<int32_t>(width, visible.right - visible.left);
    action.m_height = std::min<int32_t>(height, visible.bottom - visible.top);
    action.m_destination_offset = visible.top * final.m_byte_stride + visible.left * 2;
    action.m_source_offset = -1;
    return action.m_width > 0 && action.m_height > 0;
}

// Slots 26 to 31 place button index into the final picture, only when its face or its second
// bitmap changed, so that the other buttons' parts are not added twice.
HRESULT SetButtonsObjectUserInterface2::PlaceButton(int32_t slot, int32_t index)
{
    if (!IsBufferChanged(176 + index) && !IsBufferChanged(96 + index))
        return S_FALSE;
    Action& action = m_actions.GetElement(slot);
    const int32_t sources[] = {-1, 96, 176, 224, -1, 208};
    if (slot != 26)
        action.m_source_index = sources[slot - 26] + index;
    const InfoGeneralBufferForUserInterface2& layer = m_array_general_buffers.GetElement(176 + index);
    if (!PlaceOnFinal(action, index, layer.m_width_element, layer.m_height_element))
        return S_FALSE;
    if (slot == 26) {
        // The background is read from the same place.
        action.m_source_offset = action.m_destination_offset;
        Mark(FinalBuffer);
    }
    return S_OK;
}

HRESULT SetButtonsObjectUserInterface2::DrawGlass(int32_t slot, uint64_t now)
{
    if ((m_style_flags & StyleGlass) == 0)
        return S_FALSE;
    if (slot == 19) {
        auto lastTime = static_cast<int64_t>(m_glass_time);
        const HRESULT scrolled = FunctScrollBufferWithTrailsByTime(
            &m_array_general_buffers.GetElement(246), &m_glass_rows.GetElement(0), &m_glass_row_length, GlassChannels,
            1, static_cast<int64_t>(now), &lastTime, GlassSpeed, GlassTrails, GlassDecay);
        m_glass_time = static_cast<uint64_t>(lastTime);
        if (scrolled != S_OK)
            return S_FALSE;
        Mark(244);
        for (int32_t layer = 176; layer < 192; ++layer)
            Mark(layer);
        return S_OK;
    }
    if (!IsBufferChanged(246) && !IsBufferChanged(244))
        return S_FALSE;
    for (int32_t i = 0; i < ButtonCount(); ++i)
        if (IsButton(i) && (ButtonState(i) & StatePassive) == 0)
            Mark(128 + i);
    return S_OK;
}

// Run s of slots 34 and 35: the state layer of s (cursor, pressed, disabled) made from its stencil.
HRESULT SetButtonsObjectUserInterface2::DrawStateLayer(int32_t slot, int32_t run)
{
    if (run > 2 || !IsBufferChanged(StateStencils[run]))
        return S_FALSE;
    Action& action = m_actions.GetElement(slot);
    action.m_destination_index = StateLayerBuffers[run];
    if (slot == 34) {
        FillActionChannels(action, Grey);
        for (int32_t i = 0; i < ButtonCount(); ++i)
            Mark(128 + i);
    } else {
        action.m_source_index = StateStencils[run];
    }
    return S_OK;
}

// Four steps per button whose face changed, with the look of its state: the stencil into the
// overlay, the state's skin blended in, the state layer blended into the picture and the overlay
// added to it.
HRESULT SetButtonsObjectUserInterface2::DrawStateOverlay(int32_t run)
{
    const int32_t index = run / OverlaySteps, step = run % OverlaySteps;
    if (!IsButton(index) || !IsBufferChanged(128 + index))
        return S_FALSE;
    const uint32_t buttonState = ButtonState(index);
    int32_t look = -1;
    if ((buttonState & StateDisabled) != 0)
        look = 2;
    else if ((buttonState & StateChecked) != 0 || (m_left_button_down != 0 && index == m_pressed_element))
        look = 1;
    else if (m_hot_flags.GetElement(index) != 0)
        look = 0;
    if (look < 0)
        return S_FALSE;
    Action& action = m_actions.GetElement(45);
    action.ResetRegions();
    FillActionChannels(action, 0.0f);
    switch (step) {
    case 0:
        // The overlay is made afresh for every button: buttons differ in their looks.
        Mark(OverlayLayer);
        action.m_flags = Copy;
        action.m_source_index = StateStencils[look];
        action.m_destination_index = OverlayLayer;
        return S_OK;
    case 1:
        action.m_flags = Blend;
        SetActionShift(action, BlendShift);
        action.m_source_index = StateSkins[look];
        action.m_destination_index = OverlayLayer;
        return S_OK;
    default: {
        action.m_flags = step == 2 ? Blend : AddClamped;
        if (step == 2)
            SetActionShift(action, BlendShift);
        action.m_source_index = step == 2 ? StateLayerBuffers[look] : OverlayLayer;
        action.m_destination_index = FinalBuffer;
        const InfoGeneralBufferForUserInterface2& source = m_array_general_buffers.GetElement(action.m_source_index);
        return PlaceOnFinal(action, index, source.m_width_element, source.m_height_element) ? S_OK : S_FALSE;
    }
    }
}
