// The histogram's picture cycle: a clear of the picture, the background layers of one bar slot and
// the bars, each composed in slot-sized buffers and copied into the picture. Only bars flagged as
// changed and layers marked changed are drawn again.
#include "GistogramObjectUserInterface2.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cmath>

namespace {

using Action = InfoActionUserInterface2;

enum CycleSlot : uint32_t
{
    SlotClear = 10,
    SlotLayers = 20,
    SlotBars = 40,
};

enum CycleContext : uintptr_t
{
    ContextBars = 10,
    ContextLayers = 11,
    ContextClear = 12,
};

constexpr int32_t PictureBuffer = 40;
constexpr uint32_t StepsPerBar = 128;
constexpr uint32_t StepsPerLayer = 5;
constexpr uint32_t LayerSteps = 45;
constexpr int32_t Layers[] = {0, 1, 2, 3, 10, 11, 20, 21, 12};
// Layers that get a soft edge (the glow mode) after they are drawn.
constexpr uint8_t LayerGlowFlags[] = {0, 0, 1, 1, 0, 1, 0, 0, 0};
constexpr float SoftEdgeGlow = 20.0f;
constexpr int32_t BarBuffers[] = {4, 5, 6, 7, 8, 9, 22, 23, 24, 25, 26};

constexpr uint32_t BackgroundEntry = 32;
constexpr uint32_t SegmentFrameEntry = 68, SegmentFillEntry = 69;
constexpr uint32_t GradientBottomEntry = 70, GradientTopEntry = 71;
constexpr uint32_t MarkerFrameEntry = 72, MarkerFillEntry = 73;
constexpr uint32_t BandFrameEntry = 74, BandFillEntry = 75;

// The buffers of one three-layer stage: the three layers' pictures, the result, the buffers the
// first two layers are tinted in (-1: never tinted), and the working buffer. The core sums the first
// two layers weighted by the third layer's constants; products of samples and weights stay within
// 16 bits only for weights up to 128, so each stage takes the mean of its two layers.
struct ComposeStage
{
    int32_t m_layers[3];
    int32_t m_result;
    int32_t m_tinted[2];
    int32_t m_working;
};

enum StageIndex : uint32_t
{
    StageColumn = 0,
    StageBar = 1,
    StageSlot = 2,
    StageBands = 3,
    StageMarker = 4,
};

// The hovered bar's slot background and the selected bar's bands are tinted, so both looks cover
// the whole slot whatever the bar's height.
constexpr ComposeStage Stages[] = {
    {{0, 0, 3}, 4, {-1, -1}, 5},  {{10, 9, 11}, 4, {-1, -1}, 7}, {{1, 4, 5}, 6, {9, -1}, 7},
    {{6, 12, 12}, 6, {-1, 8}, 7}, {{22, 20, 21}, 23, {-1, 26}, 25},
};
constexpr float MeanWeight = 128.0f;

// Stage steps of the bar program (step within a bar's 128).
constexpr uint32_t StepClearBody = 24, StepPlaceBody = 25, StepClearColumn = 26, StepPlaceColumn = 27;
constexpr uint32_t FirstBarStep = 29, FirstSlotStep = 53, FirstBandStep = 77, StepCutStrip = 101;
constexpr uint32_t FirstMarkerStep = 102, StepPasteStrip = 126, StepShowBar = 127;
constexpr uint32_t ComposeSteps = 24;

constexpr uint32_t Copy = Action::FlagSource | Action::FlagDestination | 2;
constexpr uint32_t Fill = Action::FlagDestination | 1;

unifrgb FromColorRef(COLORREF colour)
{
    return unifrgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

void Describe(StructForDrawToHDC_UserInterface2& look, int32_t vertical, int32_t horizontal, int32_t inner,
              unifrgb background, unifrgb frame, unifrgb innerFrame, uint8_t drawInner, uint8_t round, float corner)
{
    look.m_vertical_inset = vertical;
    look.m_horizontal_inset = horizontal;
    look.m_inner_inset = inner;
    look.m_background = background;
    look.m_frame = frame;
    look.m_inner_frame = innerFrame;
    look.m_draw_inner_frame = drawInner;
    look.m_round_corners = round;
    look.m_corner_size = corner;
}

// A tint of the glow value's brightness; the selection's is bluish so the two looks differ.
COLORREF Tint(float glow, bool selection)
{
    const auto level = static_cast<uint8_t>(std::clamp(glow * 2.55f, 0.0f, 255.0f));
    return selection ? RGB(level / 2, level, level) : RGB(level, level, level);
}

HRESULT Answer(HRESULT built)
{
    if (FAILED(built))
        return built;
    return built == S_OK ? S_OK : S_FALSE;
}

void SetRegion(Action& action, int32_t sourceOffset, int32_t destinationOffset, int32_t width, int32_t height)
{
    action.m_source_offset = sourceOffset;
    action.m_destination_offset = destinationOffset;
    action.m_width = width;
    action.m_height = height;
}

} // namespace

HRESULT GistogramObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        const struct
        {
            uint32_t m_slot;
            uint32_t m_flags;
            uintptr_t m_context;
            int32_t m_destination;
        } slots[] = {
            {SlotClear, Fill, ContextClear, PictureBuffer},
            {SlotLayers, Action::FlagsEmptyLayer, ContextLayers, -1},
            {SlotBars, Action::FlagsEmptyLayer, ContextBars, -1},
        };
        for (const auto& entry : slots) {
            Action& action = m_actions.GetElement(entry.m_slot);
            action = Action();
            action.ResetRegions();
            action.m_flags = entry.m_flags;
            action.m_repeat_count = 1;
            action.m_callback = FunctGistogramGeneralCycle;
            action.m_callback_context = entry.m_context;
            action.m_source_index = -1;
            action.m_destination_index = entry.m_destination;
        }
        m_finall_buffer_choice = PictureBuffer;
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        for (uint32_t i = 0; i < 6 && i < table.GetCount(); ++i)
            table.GetElement(i).SetText("");
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::CycleBeforeFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    try {
        uint32_t changedBars = 0;
        for (uint32_t i = 0; i < m_barChanged.GetCount(); ++i)
            changedBars += m_barChanged.GetElement(i) != 0 ? 1 : 0;
        m_actions.GetElement(SlotBars).m_repeat_count = std::max(StepsPerBar * changedBars, 1u);
        bool layerChanged = false;
        for (int32_t layer : Layers)
            layerChanged = layerChanged || m_array_general_buffers.GetElement(layer).IsChanged() != 0;
        m_actions.GetElement(SlotLayers).m_repeat_count = layerChanged ? LayerSteps : 0;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::CycleAfterFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    return S_OK;
}

HRESULT GistogramObjectUserInterface2::FunctGistogramGeneralCycle(BaseUserInterface* widget, uintptr_t context,
                                                                  int32_t slot, int32_t run, uint32_t timeLow,
                                                                  uint32_t timeHigh)
{
    try {
        if (FAILED(CheckParamActionFunction(widget, context, slot, run, timeLow, timeHigh)))
            return E_FAIL;
        auto* gistogram = dynamic_cast<GistogramObjectUserInterface2*>(widget);
        if (gistogram == nullptr)
            return E_INVALIDARG;
        const uint32_t index = static_cast<uint32_t>(slot);
        Action& action = gistogram->m_actions.GetElement(index);
        switch (context) {
        case ContextClear:
            return gistogram->ClearPicture(action);
        case ContextLayers:
            return gistogram->DrawBackgroundLayer(index, run);
        case ContextBars:
            action.m_flags = Action::FlagsEmptyLayer;
            return gistogram->DrawBarStep(index, run, action.m_repeat_count);
        default:
            return E_FAIL;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::ClearPicture(Action& action)
{
    if (m_fullRedraw == 0)
        return S_FALSE;
    const COLORREF background = Colour(BackgroundEntry);
    FillActionParams(action.m_params_a, 0, GetRValue(background));
    FillActionParams(action.m_params_a, 1, GetGValue(background));
    FillActionParams(action.m_params_a, 2, GetBValue(background));
    m_fullRedraw = 0;
    return S_OK;
}

// Step s draws layer s / 5: its drawing at sub-step 0, its soft edge at sub-step 4 when it has one.
HRESULT GistogramObjectUserInterface2::DrawBackgroundLayer(uint32_t slot, int32_t step)
{
    const uint32_t position = static_cast<uint32_t>(step) / StepsPerLayer;
    const uint32_t mode = static_cast<uint32_t>(step) % StepsPerLayer;
    if (position >= std::size(Layers))
        return S_FALSE;
    const int32_t layer = Layers[position];
    if (m_array_general_buffers.GetElement(layer).IsChanged() == 0)
        return S_FALSE;
    InfoLayerLookUserInterface2 look;
    if (mode == LayerGlow && LayerGlowFlags[position] != 0) {
        look.m_has_glow = 1;
        look.m_glow = SoftEdgeGlow;
        return Answer(FillActionForLayer(slot, LayerGlow, layer, layer, look));
    }
    if (mode != LayerDrawn)
        return S_FALSE;
    const int32_t margin = PropInt(PropMargin), gap = PropInt(PropGap);
    const float corner = PropFloat(PropCorner);
    const unifrgb black(0, 0, 0), white(255, 255, 255);
    StructForDrawToHDC_UserInterface2 panel;
    InfoSegmentsForDrawToHDC segments;
    InfoColorPairForDrawToHDC gradient;
    InfoGridForDrawToHDC bands;
    look.m_draw = FunctDrawRoundRectToHDC;
    look.m_record = &panel;
    look.m_record_size = sizeof(panel);
    switch (layer) {
    case 0:
        segments.m_columns = 1;
        segments.m_rows = PropInt(PropSegments);
        segments.m_horizontal_margin = 0;
        segments.m_vertical_margin = margin;
        Describe(segments.m_segment, 0, 0, 1, FromColorRef(Colour(BackgroundEntry)),
                                         FromColorRef(Colour(SegmentFrameEntry)),
                                         FromColorRef(Colour(SegmentFillEntry)), 1, 1, 1.0f);
        look.m_draw = FunctDrawSegmentsToHDC;
        look.m_record = &segments;
        look.m_record_size = sizeof(segments);
        break;
    case 1: {
        const unifrgb background = FromColorRef(Colour(BackgroundEntry));
        Describe(panel, margin, gap, 1, background, background, background, 1, 1, 1.0f);
        break;
    }
    case 2:
        Describe(panel, margin, gap, 1, black, white, white, 0, 0, 1.0f);
        break;
    case 3:
        Describe(panel, margin, gap, 2, black, unifrgb(200, 200, 200), unifrgb(100, 100, 100), 1, 1, 1.0f);
        break;
    case 10:
        gradient.m_bottom = FromColorRef(Colour(GradientBottomEntry));
        gradient.m_top = FromColorRef(Colour(GradientTopEntry));
        gradient.m_pen_width = 1;
        look.m_draw = FunctDrawVerticalGradientToHDC;
        look.m_record = &gradient;
        look.m_record_size = sizeof(gradient);
        break;
    case 11:
        Describe(panel, 0, 0, PropInt(PropFrame), black, unifrgb(50, 50, 50), unifrgb(180, 180, 180), 1, 0,
                            panel.m_corner_size);
        break;
    case 12:
        bands.m_step = PropFloat(PropGridStep);
        bands.m_margin = margin;
        bands.m_half_thickness = PropInt(PropGridHalfThickness);
        bands.m_edge_factor = PropFloat(PropEdgeFactor);
        Describe(bands.m_band, 0, 8, 1, black, FromColorRef(Colour(BandFrameEntry)),
                                   FromColorRef(Colour(BandFillEntry)), 1, 1, corner);
        look.m_draw = FunctDrawGistogramGridToHDC;
        look.m_record = &bands;
        look.m_record_size = sizeof(bands);
        break;
    case 20:
        Describe(panel, 0, 0, 4, black, FromColorRef(Colour(MarkerFrameEntry)),
                            FromColorRef(Colour(MarkerFillEntry)), 1, 1, corner);
        break;
    default: // 21
        Describe(panel, 2, 2, panel.m_inner_inset, black, white, panel.m_inner_frame, 0, 1, corner);
        break;
    }
    return Answer(FillActionForLayer(slot, LayerDrawn, layer, layer, look));
}

// One step of the bar being drawn: 128 steps a bar, the bars flagged as changed one after another.
HRESULT GistogramObjectUserInterface2::DrawBarStep(uint32_t slot, int32_t step, uint32_t repeats)
{
    if (repeats < 2)
        return S_FALSE;
    const uint32_t k = static_cast<uint32_t>(step) % StepsPerBar;
    if (k == 0) {
        m_drawIndex = NoBar;
        for (uint32_t i = 0; i < m_barChanged.GetCount() && m_drawIndex == NoBar; ++i)
            if (m_barChanged.GetElement(i) != 0)
                m_drawIndex = i;
        for (int32_t buffer : BarBuffers)
            m_array_general_buffers.GetElement(buffer).SetChanged();
    }
    if (!IsBar(m_drawIndex))
        return S_FALSE;
    const uint32_t level1 = m_barLevel1.GetElement(m_drawIndex);
    Action& action = m_actions.GetElement(slot);
    if (k < ComposeSteps)
        return ComposeBarStep(slot, StageColumn, k);
    switch (k) {
    case StepClearBody:
    case StepClearColumn:
        action.ResetRegions();
        action.m_flags = Fill;
        action.m_source_index = -1;
        action.m_destination_index = k == StepClearBody ? 5 : 9;
        for (uint32_t channel = 0; channel < Action::Channels; ++channel)
            FillActionParams(action.m_params_a, channel, 0.0f);
        return S_OK;
    case StepPlaceBody:
        return PlaceBarRows(slot, 2, 5, m_barLevel0.GetElement(m_drawIndex));
    case StepPlaceColumn:
        return PlaceBarRows(slot, 4, 9, m_barLevel0.GetElement(m_drawIndex));
    default:
        break;
    }
    if (k >= FirstBarStep && k < FirstBarStep + ComposeSteps)
        return ComposeBarStep(slot, StageBar, k - FirstBarStep);
    if (k >= FirstSlotStep && k < FirstSlotStep + ComposeSteps)
        return ComposeBarStep(slot, StageSlot, k - FirstSlotStep);
    if (k >= FirstBandStep && k < FirstBandStep + ComposeSteps)
        return ComposeBarStep(slot, StageBands, k - FirstBandStep);
    if (k == StepShowBar) {
        m_barChanged.GetElement(m_drawIndex) = 0;
        const InfoGeneralBufferForUserInterface2& bar = m_array_general_buffers.GetElement(6);
        action.ResetRegions();
        action.m_flags = Copy;
        action.m_source_index = 6;
        action.m_destination_index = PictureBuffer;
        SetRegion(action, 0, static_cast<int32_t>((m_drawIndex * m_slotWidth + m_leftOffset) * 2),
                  bar.m_width_element, bar.m_height_element);
        return S_OK;
    }
    // The marker strip: the rows round the curve level, composed with the marker and put back.
    if (!Editable() || k < StepCutStrip)
        return S_FALSE;
    const InfoGeneralBufferForUserInterface2& strip = m_array_general_buffers.GetElement(22);
    const int32_t stripOffset = static_cast<int32_t>(level1) * m_array_general_buffers.GetElement(6).m_byte_stride;
    if (k == StepCutStrip || k == StepPasteStrip) {
        action.ResetRegions();
        action.m_flags = Copy;
        const bool cut = k == StepCutStrip;
        action.m_source_index = cut ? 6 : 23;
        action.m_destination_index = cut ? 22 : 6;
        SetRegion(action, cut ? stripOffset : 0, cut ? 0 : stripOffset, strip.m_width_element,
                  strip.m_height_element);
        if (strip.m_height_element < 1)
            return S_FALSE;
        return S_OK;
    }
    if (k >= FirstMarkerStep && k < FirstMarkerStep + ComposeSteps)
        return ComposeBarStep(slot, StageMarker, k - FirstMarkerStep);
    return S_FALSE;
}

// The rows of the source from its top, put where the bar of that level stands on the bottom margin.
HRESULT GistogramObjectUserInterface2::PlaceBarRows(uint32_t slot, int32_t source, int32_t destination,
                                                    uint32_t level)
{
    if (level == 0)
        return S_FALSE;
    Action& action = m_actions.GetElement(slot);
    const InfoGeneralBufferForUserInterface2& to = m_array_general_buffers.GetElement(destination);
    action.ResetRegions();
    action.m_flags = Copy;
    action.m_source_index = source;
    action.m_destination_index = destination;
    SetRegion(action, 0, static_cast<int32_t>(m_usableHeight - level) * to.m_byte_stride, to.m_width_element,
              static_cast<int32_t>(level) + PropInt(PropMargin));
    return S_OK;
}

// A step of a three-layer composition. The third picture and the steps that only feed an overwritten
// working buffer are left out, and layers are only tinted (their colour mode), never redrawn here.
HRESULT GistogramObjectUserInterface2::ComposeBarStep(uint32_t slot, uint32_t stage, uint32_t number)
{
    const ComposeStage& buffers = Stages[stage];
    InfoLayerUserInterface2 layers[3];
    for (uint32_t i = 0; i < 3; ++i)
        layers[i].m_skin_buffer = buffers.m_layers[i];
    const bool hovered = m_drawIndex == m_hoverIndex;
    const float focusGlow = m_has_focus != 0 ? 90.0f : 80.0f;
    bool tint[2] = {false, false};
    COLORREF tints[2] = {Tint(focusGlow, false), Tint(focusGlow, true)};
    if (stage == StageSlot) {
        tint[0] = hovered;
    } else if (stage == StageBands) {
        tint[1] = m_drawIndex == m_selectedIndex;
    } else if (stage == StageMarker && hovered) {
        const bool pressed = m_left_button_down != 0;
        tint[1] = (pressed ? m_buttonDown : m_onMarker) != 0;
        tints[1] = Tint(pressed ? 1.0f : 90.0f, false);
    }
    for (uint32_t i = 0; i < 2; ++i)
        if (tint[i] && buffers.m_tinted[i] >= 0) {
            layers[i].m_drawn_buffer = buffers.m_tinted[i];
            layers[i].m_look.m_has_colour = 1;
            layers[i].m_look.m_colour = tints[i];
        }
    for (float& weight : layers[2].m_look.m_constants)
        weight = MeanWeight;
    if (number < 15) {
        const uint32_t layer = number / StepsPerLayer;
        if (number % StepsPerLayer != LayerColour || layer > 1 || layers[layer].m_drawn_buffer < 0)
            return S_FALSE;
    }
    if (number == 16 || number == 17 || number == 20)
        return S_FALSE;
    return Answer(FillActionForThreeLayers(slot, number, buffers.m_result, layers, buffers.m_working));
}

HRESULT FunctDrawGistogramGridToHDC(HDC context, int width, int height, void* record, int recordSize)
{
    if (context == nullptr)
        return E_INVALIDARG;
    if (width < 1 || height < 1)
        return E_UNEXPECTED;
    if (record == nullptr)
        throw 240;
    if (recordSize != static_cast<int>(sizeof(InfoGridForDrawToHDC)))
        throw 241;
    auto& grid = *static_cast<InfoGridForDrawToHDC*>(record);
    try {
        if (!(grid.m_edge_factor > 0.0f) || !(grid.m_step > 0.0f) || !(grid.m_step < 1.0f))
            return E_UNEXPECTED;
        StructForDrawToHDC_UserInterface2& band = grid.m_band;
        const RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(band.m_background.GetColorRef());
        FillRect(context, &all, brush);
        DeleteObject(brush);
        const int32_t usable = std::max(height - 2 * grid.m_margin, 0);
        if (usable == 0)
            return S_FALSE;
        const unifrgb frame = band.m_frame, inner = band.m_inner_frame;
        HRESULT result = S_OK;
        // Each band from its own multiple of the step, so rounding never adds a band.
        for (int32_t k = 1;; ++k) {
            const float t = static_cast<float>(k) * grid.m_step;
            if (!(t < 1.0f))
                break;
            const int32_t y = static_cast<int32_t>(std::trunc(static_cast<float>(usable) * t +
                                                              static_cast<float>(grid.m_margin)));
            const float w = 1.0f - 2.0f * std::fabs(0.5f - t);
            const float f = (1.0f - w) * grid.m_edge_factor + w;
            frame.GetScaledColor(f, &band.m_frame);
            inner.GetScaledColor(f, &band.m_inner_frame);
            band.m_text.m_x = 0;
            band.m_text.m_y = y - grid.m_half_thickness;
            result = FunctDrawRoundRectToHDC(context, width, 2 * grid.m_half_thickness, &band, sizeof(band));
        }
        band.m_frame = frame;
        band.m_inner_frame = inner;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
