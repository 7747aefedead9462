// The trackbar's drawing program: the action slots that compose cells, checked looks, value text,
// shading and glowing thumbs into the final picture, and the callback that places them per slider.
#include "TrackbarObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "DataWidgetDrawing.h"

#include <algorithm>

namespace {

using Action = InfoActionUserInterface2;
using namespace DataWidgetOperations;

constexpr uint32_t ColourKey = Action::FlagSource | Action::FlagDestination | Action::FlagClamp | 9;
constexpr uint32_t Gradient = Action::FlagDestination | 20;
constexpr uint32_t BrightenShift = 6;

enum CallbackCode : uintptr_t
{
    CodeFinal = 0,
    CodeCell = 1,
    CodeChecked = 2,
    CodeText = 3,
    CodeCellLayer = 4,
    CodeGlow = 5,
    CodeShading = 6,
    CodeNone = 99,
};

constexpr uint32_t ValueTextEntry = 134;
constexpr uint32_t BackgroundEntry = 2;
constexpr uint32_t CheckedEntries[] = {76, 77};
constexpr uint32_t ShadingBaseEntry = 64;
constexpr uint32_t ShadingStepEntry = 65;
constexpr uint32_t GlowStates = 0x20000402;
constexpr int32_t ShadingRuns = 3;

struct SlotPlan
{
    uint32_t m_slot;
    uint32_t m_flags;
    bool m_per_slider; // repeats count times (else once)
    int32_t m_source;
    int32_t m_destination;
    uintptr_t m_code;
    bool m_blend;
};

// Sources and destinations of -1 are set by the callback per slider.
constexpr SlotPlan Program[] = {
    {4, Fill, false, -1, 172, CodeNone, false},          {5, Subtract, false, 171, 172, CodeNone, false},
    {9, Fill, false, -1, 173, CodeNone, false},          {10, Subtract, false, 165, 173, CodeNone, false},
    {11, Fill, false, -1, 174, CodeNone, false},         {12, Subtract, false, 169, 174, CodeNone, false},
    {13, Copy, false, 161, 175, CodeNone, false},        {14, Blend, false, 165, 175, CodeNone, true},
    {17, Fill, false, -1, 176, CodeCell, false},         {18, Blend, false, 173, 176, CodeNone, true},
    {19, AddClamped, false, 175, 176, CodeNone, false},  {22, Drawn, true, -1, -1, CodeShading, false},
    {25, Copy, true, 163, -1, CodeCell, false},          {26, Blend, true, 171, -1, CodeCell, true},
    {28, Copy, true, -1, -1, CodeCellLayer, false},      {29, Blend, true, 172, -1, CodeCellLayer, true},
    {30, AddClamped, true, -1, -1, CodeCellLayer, false}, {34, Copy, true, 176, -1, CodeChecked, false},
    {35, Fill, false, -1, 178, CodeChecked, false},      {36, Blend, false, 165, 178, CodeNone, true},
    {37, Add, true, 178, -1, CodeChecked, false},        {38, Blend, true, 167, -1, CodeChecked, true},
    {39, AddClamped, true, -1, -1, CodeChecked, false},  {40, Drawn, true, -1, -1, CodeText, false},
    {41, Copy, true, -1, -1, CodeGlow, false},           {42, ColourKey, true, -1, -1, CodeGlow, false},
    {43, Scale, true, -1, -1, CodeGlow, false},          {44, Blend, true, 169, -1, CodeGlow, true},
    {50, Fill, false, -1, 177, CodeFinal, false},        {54, Copy, true, -1, 177, CodeFinal, false},
    {55, Blend, true, 172, 177, CodeFinal, true},        {56, Add, true, -1, 177, CodeFinal, false},
    {58, Blend, true, 174, 177, CodeFinal, true},        {60, Add, true, -1, 177, CodeFinal, false},
    {61, Add, true, 179, 177, CodeFinal, false},
};

} // namespace

HRESULT TrackbarObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        ClearSkinsAndActions(m_property_tables.GetElement(0), 6, m_actions);
        const uint32_t count = static_cast<uint32_t>(std::max(SliderCount(), 1));
        for (const SlotPlan& plan : Program) {
            Action& action = m_actions.GetElement(plan.m_slot);
            SetPlannedAction(action, plan.m_flags, plan.m_source, plan.m_destination,
                             plan.m_code == CodeNone ? nullptr : GeneralCycleCallback, plan.m_code);
            action.m_repeat_count = plan.m_per_slider ? count : 1;
            if (plan.m_slot == 22)
                action.m_repeat_count = count * ShadingRuns;
            if (plan.m_slot == 35)
                action.m_repeat_count = 2;
            if (plan.m_blend)
                SetActionShift(action, BlendShift);
            if (plan.m_flags == Fill && plan.m_code == CodeNone)
                FillActionChannels(action, 127.0f);
        }
        m_finall_buffer_choice = FinalBuffer;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT TrackbarObjectUserInterface2::GeneralCycleCallback(BaseUserInterface* widget, uintptr_t code, int32_t slot,
                                                           int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (widget == nullptr)
            return E_INVALIDARG;
        const HRESULT check = CheckParamActionFunction(widget, code, slot, run, timeLow, timeHigh);
        if (FAILED(check))
            return check;
        auto* self = static_cast<TrackbarObjectUserInterface2*>(widget);
        switch (code) {
        case CodeFinal:
            return self->DrawFinalPicture(slot, run);
        case CodeCell:
        case CodeCellLayer:
            return self->DrawCellLayers(slot, run);
        case CodeChecked:
            return self->DrawCheckedLook(slot, run);
        case CodeText:
            return self->DrawValueText(run);
        case CodeGlow:
            return self->DrawThumbGlow(slot, run, (static_cast<uint64_t>(timeHigh) << 32) | timeLow);
        case CodeShading:
            return self->DrawValueShading(run);
        default:
            return E_FAIL;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool TrackbarObjectUserInterface2::IsBufferChanged(int32_t index)
{
    return m_array_general_buffers.GetElement(index).IsChanged() != 0;
}

void TrackbarObjectUserInterface2::SetColourFill(Action& action, uint32_t entry)
{
    FillActionColour(action, m_gdi_table.GetElement(entry).m_color);
}

// Slots of one slider write into a region of the final picture; the part outside it is left out,
// so a thumb reaching past the widget never writes beyond the picture.
void TrackbarObjectUserInterface2::PlaceOnFinal(Action& action, const RECT& area, int32_t sourceStride)
{
    const InfoGeneralBufferForUserInterface2& final = m_array_general_buffers.GetElement(FinalBuffer);
    const LONG left = std::max<LONG>(area.left, 0), top = std::max<LONG>(area.top, 0);
    const LONG right = std::min<LONG>(area.right, final.m_width_element);
    const LONG bottom = std::min<LONG>(area.bottom, final.m_height_element);
    action.m_width = std::max<LONG>(right - left, 0);
    action.m_height = std::max<LONG>(bottom - top, 0);
    action.m_destination_offset = top * final.m_byte_stride + left * 2;
    action.m_source_offset = (top - area.top) * sourceStride + (left - area.left) * 2;
}

bool TrackbarObjectUserInterface2::SharedFinalInputsChanged()
{
    return IsBufferChanged(FinalBuffer) || IsBufferChanged(172) || IsBufferChanged(174) || IsBufferChanged(179);
}

uint32_t TrackbarObjectUserInterface2::SlidersToCompose()
{
    const bool all = SharedFinalInputsChanged();
    uint32_t sliders = 0;
    for (int32_t i = 0; i < SliderCount(); ++i)
        if (all || IsBufferChanged(48 + i) || IsBufferChanged(16 + i) || IsBufferChanged(80 + i))
            sliders |= 1u << i;
    return sliders;
}

// Each slider's slots write only inside its cell, starting with a copy over the whole cell, so a
// slider whose layers did not change is left as it is; the background is filled only when every
// slider is composed anew.
HRESULT TrackbarObjectUserInterface2::DrawFinalPicture(int32_t slot, int32_t index)
{
    Action& action = m_actions.GetElement(slot);
    if (slot == 50) {
        const bool all = SharedFinalInputsChanged();
        m_sliders_to_compose = SlidersToCompose();
        if (m_sliders_to_compose == 0)
            return S_FALSE;
        m_array_general_buffers.GetElement(FinalBuffer).SetChanged();
        SetColourFill(action, BackgroundEntry);
        return all ? S_OK : S_FALSE;
    }
    if (!IsSlider(index) || (m_sliders_to_compose & (1u << index)) == 0)
        return S_FALSE;
    if (slot == 61 && (SliderState(index) & StateDisabled) == 0)
        return S_FALSE;
    const bool thumbSlot = slot == 58 || slot == 60;
    if (slot == 54)
        action.m_source_index = 48 + index;
    else if (slot == 56)
        action.m_source_index = 16 + index;
    else if (slot == 60)
        action.m_source_index = 80 + index;
    const int32_t sourceStride = m_array_general_buffers.GetElement(action.m_source_index).m_byte_stride;
    RECT area = {};
    if (thumbSlot) {
        GetPosThumbFromValue(index, SliderValue(index), &area);
    } else {
        const InfoRectUserInterface2& cell = m_elements.GetElement(index).Field(InfoElementUserInterface2::FieldRect).m_value.m_rect;
        area = {cell.m_left, cell.m_top, cell.m_left + m_cell_width, cell.m_top + m_cell_height};
    }
    PlaceOnFinal(action, area, sourceStride);
    return action.m_width > 0 && action.m_height > 0 ? S_OK : S_FALSE;
}

HRESULT TrackbarObjectUserInterface2::DrawCellLayers(int32_t slot, int32_t index)
{
    Action& action = m_actions.GetElement(slot);
    if (slot == 17) {
        SetColourFill(action, BackgroundEntry);
        return S_OK;
    }
    if (!IsSlider(index))
        return S_FALSE;
    switch (slot) {
    case 25:
    case 26:
        action.m_destination_index = 16 + index;
        break;
    case 28:
        action.m_source_index = index;
        action.m_destination_index = 32 + index;
        break;
    case 29:
        action.m_destination_index = 32 + index;
        break;
    default: // 30
        action.m_source_index = 16 + index;
        action.m_destination_index = 32 + index;
        break;
    }
    return S_OK;
}

// The checked look is added for checked checkable sliders; the value shading of 32+i reaches every
// slider's cell, so that the cell shows its value.
HRESULT TrackbarObjectUserInterface2::DrawCheckedLook(int32_t slot, int32_t index)
{
    Action& action = m_actions.GetElement(slot);
    if (slot == 35) {
        action.m_destination_index = index == 0 ? 178 : 179;
        SetColourFill(action, CheckedEntries[index == 0 ? 0 : 1]);
        return S_OK;
    }
    if (!IsSlider(index))
        return S_FALSE;
    const uint32_t state = SliderState(index);
    const bool checked = (state & StateCheckable) != 0 && (state & StateChecked) != 0;
    action.m_destination_index = 48 + index;
    switch (slot) {
    case 34:
        return S_OK;
    case 37:
        return checked ? S_OK : S_FALSE;
    case 38:
        action.m_destination_index = 32 + index;
        return checked ? S_OK : S_FALSE;
    default: // 39
        action.m_source_index = 32 + index;
        return S_OK;
    }
}

HRESULT TrackbarObjectUserInterface2::DrawValueText(int32_t index)
{
    if (!IsSlider(index))
        return S_FALSE;
    InfoElementUserInterface2& element = m_elements.GetElement(index);
    const int32_t layer = 64 + index;
    if (element.m_changed.GetElement(3) == 0 && !IsBufferChanged(layer))
        return S_FALSE;
    m_array_general_buffers.GetElement(layer).SetChanged();
    m_array_general_buffers.GetElement(80 + index).SetChanged();
    const InfoGDIUserInterface2& entry = m_gdi_table.GetElement(ValueTextEntry);
    InfoFontForDrawToHDC text;
    const Range range = SliderRange(index);
    text.m_text = FormatValueText(SliderValue(index), range.m_minimum, element.Field(FieldDefault).m_value.m_float,
                                  (element.GetStateWord() & StateDisabled) != 0)
                      .c_str();
    text.m_format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    text.m_text_color = entry.m_color;
    text.m_font = CreateFontIndirectA(&entry.m_font);
    InfoLayerLookUserInterface2 look;
    look.m_draw = FunctDrawTextToHDC;
    look.m_record = &text;
    look.m_record_size = sizeof(text);
    const HRESULT drawn = DrawLayer(layer, look);
    element.m_changed.GetElement(3) = 0;
    // The slot itself only names the layer it drew.
    return FAILED(drawn) ? drawn : S_OK;
}

HRESULT TrackbarObjectUserInterface2::DrawThumbGlow(int32_t slot, int32_t index, uint64_t now)
{
    if (!IsSlider(index))
        return S_FALSE;
    Action& action = m_actions.GetElement(slot);
    const int32_t thumb = 80 + index;
    action.m_destination_index = thumb;
    InfoElementUserInterface2& element = m_elements.GetElement(index);
    const int32_t lower = element.Field(8).m_value.m_int, upper = element.Field(9).m_value.m_int;
    int32_t& glow = m_element_values.GetElement(index);
    switch (slot) {
    case 41: {
        action.m_source_index = 112 + index;
        // The step stores the value; the operation it picks goes to slot 43, which sets its own.
        const bool hovered = m_hot_flags.GetElement(index) != 0;
        if (StepAnimationValueByTime(false, 43, !hovered, now, m_hot_times.GetElement(index), &glow, lower, upper))
            m_array_general_buffers.GetElement(thumb).SetChanged();
        return S_OK;
    }
    case 42:
        action.m_source_index = 64 + index;
        return S_OK;
    case 43: {
        // No span between the bounds gives no brightening instead of a division by zero.
        float t = upper > lower ? static_cast<float>(upper - glow) / static_cast<float>(upper - lower) : 0.0f;
        if ((element.GetStateWord() & GlowStates) != 0)
            t = 0.0f;
        if (m_has_focus != 0 && index == m_current_slider)
            t = std::max(t, 0.5f);
        t = std::clamp(t, 0.0f, 1.0f);
        action.m_flags = Scale;
        action.m_operation_argument = BrightenShift;
        const float factor = 15.0f * t + 64.0f;
        FillActionChannels(action, factor);
        return S_OK;
    }
    default: // 44
        return S_OK;
    }
}

// The first of a slider's three runs fills its first cell layer with a ramp that grows with the
// value; the other two draw nothing.
HRESULT TrackbarObjectUserInterface2::DrawValueShading(int32_t run)
{
    const int32_t index = run / ShadingRuns;
    if (!IsSlider(index) || run % ShadingRuns != 0)
        return S_FALSE;
    Action& action = m_actions.GetElement(22);
    action.ResetRegions();
    action.m_flags = Gradient;
    action.m_source_index = -1;
    action.m_destination_index = index;
    const Range range = SliderRange(index);
    const float share = std::clamp((SliderValue(index) - range.m_minimum) / (range.m_maximum - range.m_minimum), 0.0f, 1.0f);
    float base[3], step[3];
    ColourChannels(m_gdi_table.GetElement(ShadingBaseEntry).m_color, base);
    ColourChannels(m_gdi_table.GetElement(ShadingStepEntry).m_color, step);
    FillActionChannels(action, 0.0f);
    for (uint32_t channel = 0; channel < Action::Channels; ++channel) {
        action.m_params_a[channel][0] = (1.0f - share) * base[channel];
        action.m_params_a[channel][IsVertical() ? 2 : 1] = share * step[channel];
    }
    return S_OK;
}
