// The graph's picture cycle: the background with the layers' columns (buffer 18), its copy into the
// chart (17) and the bound markers (19) added over it. Only columns waiting to be drawn are drawn.
#include "Graph1ObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "ToolkitImageOperations.h"

#include <algorithm>
#include <cmath>

namespace {

using Action = InfoActionUserInterface2;

enum GraphSlot : uint32_t
{
    SlotBackground = 10,
    SlotLayers = 40,
    SlotCopy = 56,
    SlotBounds = 58,
    SlotAddBounds = 60,
};

enum GraphContext : uintptr_t
{
    ContextBackground = 0,
    ContextCopy = 2,
    ContextLayers = 3,
    ContextBounds = 4,
};

constexpr int32_t ChartBuffer = 17;
constexpr int32_t BackgroundBuffer = 18;
constexpr int32_t BoundBuffer = 19;
constexpr uint32_t BackgroundEntry = 32;
constexpr uint32_t Pieces = 4;

constexpr uint32_t Fill = Action::FlagDestination | 1;
constexpr uint32_t Copy = Action::FlagSource | Action::FlagDestination | 2;
constexpr uint32_t Add = Action::FlagSource | Action::FlagDestination | 11;
constexpr uint32_t Band = Action::FlagDestination | 33;

// The marker of a bound: a diamond whose left point lies where the layer's grab zone starts.
constexpr float MarkerStart[] = {20.0f, 40.0f, 60.0f};
constexpr float MarkerMiddle = 15.0f;
constexpr float MarkerLength = 40.0f;
constexpr float MarkerHalfHeight = 4.0f;
constexpr float HoveredHalfHeight = 6.0f;
constexpr float PlainMarkerShade = 0.95f;

COLORREF Scaled(const unifrgb& colour, float factor)
{
    unifrgb scaled;
    colour.GetScaledColor(factor, &scaled);
    return scaled.GetColorRef();
}

float Clamp01(float value)
{
    return value >= 0.0f ? std::min(value, 1.0f) : 0.0f;
}

} // namespace

HRESULT Graph1ObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        if (table.GetCount() > 0)
            table.GetElement(0).SetText("");
        const struct
        {
            uint32_t m_slot;
            uint32_t m_flags;
            uint32_t m_repeats;
            uintptr_t m_context;
            int32_t m_source;
            int32_t m_destination;
        } slots[] = {
            {SlotBackground, Fill, 1, ContextBackground, -1, BackgroundBuffer},
            {SlotLayers, Action::FlagsEmptyLayer, Layers, ContextLayers, -1, -1},
            {SlotCopy, Action::FlagsEmptyLayer, 1, ContextCopy, -1, -1},
            {SlotBounds, Action::FlagsEmptyLayer, 2, ContextBounds, -1, BoundBuffer},
            {SlotAddBounds, Add, 1, 0, BoundBuffer, ChartBuffer},
        };
        for (const auto& entry : slots) {
            Action& action = m_actions.GetElement(entry.m_slot);
            action = Action();
            action.ResetRegions();
            action.m_flags = entry.m_flags;
            action.m_repeat_count = entry.m_repeats;
            action.m_callback = entry.m_slot == SlotAddBounds ? nullptr : FunctGraphGeneralCycle;
            action.m_callback_context = entry.m_context;
            action.m_source_index = entry.m_source;
            action.m_destination_index = entry.m_destination;
        }
        m_finall_buffer_choice = ChartBuffer;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Graph1ObjectUserInterface2::CycleBeforeFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    return S_OK;
}

HRESULT Graph1ObjectUserInterface2::CycleAfterFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    m_redrawAll = 0;
    m_firstDirtyColumn = -1;
    return S_OK;
}

HRESULT Graph1ObjectUserInterface2::FunctGraphGeneralCycle(BaseUserInterface* widget, uintptr_t context, int32_t slot,
                                                           int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        if (FAILED(CheckParamActionFunction(widget, context, slot, run, timeLow, timeHigh)))
            return E_FAIL;
        auto* graph = dynamic_cast<Graph1ObjectUserInterface2*>(widget);
        if (graph == nullptr)
            return E_INVALIDARG;
        Action& action = graph->m_actions.GetElement(static_cast<uint32_t>(slot));
        switch (context) {
        case ContextBackground:
            return graph->FillBackground(action);
        case ContextCopy:
            if (graph->m_redrawAll == 0 && graph->m_array_general_buffers.GetElement(ChartBuffer).IsChanged() == 0)
                return S_FALSE;
            action.ResetRegions();
            action.m_flags = Copy;
            action.m_source_index = BackgroundBuffer;
            action.m_destination_index = ChartBuffer;
            return S_OK;
        case ContextLayers:
            return graph->DrawLayerColumns(static_cast<uint32_t>(run));
        case ContextBounds:
            return graph->DrawBoundLines(action, run);
        default:
            return E_FAIL;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A refilled background has lost its columns: all of them are drawn again.
HRESULT Graph1ObjectUserInterface2::FillBackground(Action& action)
{
    InfoGeneralBufferForUserInterface2& background = m_array_general_buffers.GetElement(BackgroundBuffer);
    if (m_fullRedraw != 0) {
        background.SetChanged();
        m_fullRedraw = 0;
    }
    if (background.IsChanged() == 0)
        return S_FALSE;
    const COLORREF colour = m_gdi_table.GetElement(BackgroundEntry).m_color;
    FillActionParams(action.m_params_a, 0, GetRValue(colour));
    FillActionParams(action.m_params_a, 1, GetGValue(colour));
    FillActionParams(action.m_params_a, 2, GetBValue(colour));
    m_firstDirtyColumn = 0;
    m_pendingScroll = 0;
    return S_OK;
}

// Repetition k draws layer k straight into the background buffer; nothing is left for the slot.
HRESULT Graph1ObjectUserInterface2::DrawLayerColumns(uint32_t layer)
{
    InfoGeneralBufferForUserInterface2& chart = m_array_general_buffers.GetElement(BackgroundBuffer);
    if (layer >= Layers || chart.m_width_element < 1 || UsableHeight() < 1)
        return S_FALSE;
    const int32_t last = std::min(m_columnCount, chart.m_width_element) - 1;
    if (layer == 0) {
        if (m_pendingScroll > 0) {
            // A scroll of the whole width or more leaves nothing to keep.
            if (m_pendingScroll >= chart.m_width_element || FAILED(chart.ShiftHorizontal(-m_pendingScroll)))
                m_firstDirtyColumn = 0;
            m_pendingScroll = 0;
            m_array_general_buffers.GetElement(ChartBuffer).SetChanged();
        }
        // Cleared whether layer 0 is shown or not, so the other layers never add up over old ones.
        const COLORREF background = m_gdi_table.GetElement(BackgroundEntry).m_color;
        for (int32_t column = std::max(m_firstDirtyColumn, 0); m_firstDirtyColumn >= 0 && column <= last; ++column)
            chart.DrawVerticalLine(column, 0, chart.m_height_element - 1, background, false);
    }
    if (m_layerVisible.GetElement(layer) == 0 || m_columnCount < 1 || m_firstDirtyColumn < 0)
        return S_FALSE;
    m_array_general_buffers.GetElement(ChartBuffer).SetChanged();
    for (int32_t column = m_firstDirtyColumn; column <= last; ++column)
        for (uint32_t bar = 0; bar < InfoPointGraphObjectUserInterface2::Bars; ++bar)
            DrawColumnBar(chart, column, layer, bar);
    return S_FALSE;
}

// The bar in four pieces of its intensities, and its two ends joined to the previous column's.
void Graph1ObjectUserInterface2::DrawColumnBar(InfoGeneralBufferForUserInterface2& chart, int32_t column,
                                               uint32_t layer, uint32_t bar)
{
    const InfoDrawGraphObjectUserInterface2& item =
        m_columns.GetElement(static_cast<uint32_t>(column)).m_bars[layer][bar];
    const InfoDrawGraphObjectUserInterface2& previous =
        m_columns.GetElement(static_cast<uint32_t>(std::max(column - 1, 0))).m_bars[layer][bar];
    const unifrgb& colour = m_layerItemColour.GetElement(layer * 2 + bar);
    const float transparency = m_layerTransparency.GetElement(layer);
    const float span = std::min(std::fabs(item.m_first - item.m_second), 1.0f);
    const float start = std::min(item.m_first, item.m_second);
    for (uint32_t piece = 0; piece < Pieces; ++piece) {
        const float from = Clamp01(start + static_cast<float>(piece) * span / Pieces);
        const float to = Clamp01(start + static_cast<float>(piece + 1) * span / Pieces);
        const float intensity = static_cast<float>(item.m_intensity[piece]) / 100.0f;
        chart.DrawVerticalLine(column, RowOf(from), RowOf(to), Scaled(colour, intensity * transparency), true);
    }
    const COLORREF trace = Scaled(colour, transparency);
    chart.DrawVerticalLine(column, RowOf(previous.m_first), RowOf(item.m_first), trace, true);
    chart.DrawVerticalLine(column, RowOf(previous.m_second), RowOf(item.m_second), trace, true);
}

// Repetition 0 lays a glowing band along the hovered bound (or clears the buffer); repetition 1
// draws the markers.
HRESULT Graph1ObjectUserInterface2::DrawBoundLines(Action& action, int32_t run)
{
    if (m_array_general_buffers.GetElement(BoundBuffer).IsChanged() == 0)
        return S_FALSE;
    if (run != 0)
        return DrawBoundMarkers();
    action.ResetRegions();
    action.m_flags = Band;
    action.m_source_index = -1;
    action.m_destination_index = BoundBuffer;
    const bool hovered = m_hoverBound >= 0 && m_hoverBound < static_cast<int32_t>(BoundCount);
    const float row = hovered ? static_cast<float>(RowOf(m_bounds.GetElement(static_cast<uint32_t>(m_hoverBound)))) : 0.0f;
    const unifrgb colour = hovered ? m_layerLineColour.GetElement(static_cast<uint32_t>(m_hoverBound) / 2) : unifrgb();
    const uint8_t channels[3] = {colour.m_red, colour.m_green, colour.m_blue};
    for (uint32_t channel = 0; channel < Action::Channels; ++channel) {
        FillActionParams(action.m_params_a, channel, row);
        FillActionParams(action.m_params_b, channel, channels[channel]);
    }
    return S_OK;
}

HRESULT Graph1ObjectUserInterface2::DrawBoundMarkers()
{
    InfoGeneralBufferForUserInterface2& bounds = m_array_general_buffers.GetElement(BoundBuffer);
    const int32_t width = bounds.m_width_element, height = bounds.m_height_element;
    if (width < 2 || height < 2 || UsableHeight() < 1)
        return S_FALSE;
    SwordPointList points;
    points.Init(5, 0);
    const float right = static_cast<float>(width - 1), bottom = static_cast<float>(height - 1);
    for (uint32_t bound = 0; bound < BoundCount; ++bound) {
        const uint32_t layer = bound / 2;
        if (m_layerVisible.GetElement(layer) == 0)
            continue;
        const bool hovered = static_cast<int32_t>(bound) == m_hoverBound;
        const float x = MarkerStart[layer], y = static_cast<float>(RowOf(m_bounds.GetElement(bound)));
        const float half = hovered ? HoveredHalfHeight : MarkerHalfHeight;
        const SwordPointF outline[4] = {
            {x, y}, {x + MarkerMiddle, y - half}, {x + MarkerLength, y}, {x + MarkerMiddle, y + half}};
        for (uint32_t i = 0; i < 4; ++i)
            points.GetElement(i) = {Clamp01(outline[i].m_x / right), Clamp01(outline[i].m_y / bottom)};
        points.GetElement(4) = points.GetElement(0);
        unifrgb colour = m_layerLineColour.GetElement(layer);
        if (!hovered)
            colour.GetScaledColor(PlainMarkerShade, &colour);
        const uint8_t channels[3] = {colour.m_red, colour.m_green, colour.m_blue};
        for (uint32_t plane = 0; plane < 3; ++plane)
            drawlines_sword_funct(bounds.m_rgb_buffers.GetElement(plane), bounds.m_byte_stride, width, height, points,
                                  5, static_cast<SWORD>(channels[plane]), 0);
    }
    return S_FALSE;
}
