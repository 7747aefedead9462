// The graph widget's model: samples, layers, bounds, the zoom curve and the dragging of bounds.
#include "Graph1ObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

const char* const g_graphOperationNames[] = {
    "GMU_UpdateTransparentKoeffLayers_Graph1ObjectUserInterface2,D.U.R.M.I.X.,11.08.2005::04.33.00",
    "GMU_UpdateVisibleLayers_Graph1ObjectUserInterface2,         D.U.R.M.I.X.,11.08.2005::04.33.01",
    "GMU_UpdatePointsLayers_Graph1ObjectUserInterface2,          D.U.R.M.I.X.,11.08.2005::04.33.02",
    "GMU_UpdateKoeffForGraph_Graph1ObjectUserInterface2,         D.U.R.M.I.X.,16.08.2005::23.07.02",
    "GMU_UpdateKoeffForZoom_Graph1ObjectUserInterface2,          D.U.R.M.I.X.,18.03.2007::05.00.00",
};

const char g_graphWindowClass[] = "OJV::UserInterface2::Graph1ObjectUserInterface2::24.10.2006";

enum GraphOperation : uint32_t
{
    OperationTransparency = 0,
    OperationVisibility = 1,
    OperationPoints = 2,
    OperationBounds = 3,
    OperationZoom = 4,
};

constexpr uint32_t GraphTimerPeriod = 50;
constexpr int32_t ChartBuffer = 17;
constexpr int32_t BackgroundBuffer = 18;
constexpr int32_t BoundBuffer = 19;
constexpr int32_t SkinBuffer = 20;
// Where the bounds of each layer can be grabbed: from this many pixels on, within this many rows.
constexpr float HitZoneStart[] = {20.0f, 40.0f, 60.0f};
constexpr float HitRows = 6.0f;
// Abscissas closer than this count as one point of the curve.
constexpr float SameAbscissa = 1e-6f;

float Clamp01(float value)
{
    return value >= 0.0f ? std::min(value, 1.0f) : 0.0f;
}

InfoPointGraphObjectUserInterface2 ClampedSample(const InfoPointGraphObjectUserInterface2& sample)
{
    InfoPointGraphObjectUserInterface2 clamped = sample;
    for (auto& layer : clamped.m_bars)
        for (InfoDrawGraphObjectUserInterface2& bar : layer) {
            bar.m_first = Clamp01(bar.m_first);
            bar.m_second = Clamp01(bar.m_second);
        }
    return clamped;
}

// The piecewise-linear curve through the points, from (0, 0) to (1, 1).
float MapThroughCurve(const GraphFloatListUserInterface2& from, const GraphFloatListUserInterface2& to, float value)
{
    const uint32_t count = std::min(from.GetCount(), to.GetCount());
    float lowerFrom = 0.0f, lowerTo = 0.0f, upperFrom = 1.0f, upperTo = 1.0f;
    uint32_t i = 0;
    while (i < count && from.GetElement(i) < value)
        ++i;
    if (i < count) {
        upperFrom = from.GetElement(i);
        upperTo = to.GetElement(i);
        if (i > 0) {
            lowerFrom = from.GetElement(i - 1);
            lowerTo = to.GetElement(i - 1);
        }
    } else if (count > 0) {
        lowerFrom = from.GetElement(count - 1);
        lowerTo = to.GetElement(count - 1);
    }
    const float span = upperFrom - lowerFrom;
    // Equal abscissas would give 0 / 0.
    if (std::fabs(span) <= SameAbscissa)
        return Clamp01(upperTo);
    return Clamp01(lowerTo + (value - lowerFrom) / span * (upperTo - lowerTo));
}

bool SameList(const GraphFloatListUserInterface2& a, const GraphFloatListUserInterface2& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (uint32_t i = 0; i < a.GetCount(); ++i)
        if (a.GetElement(i) != b.GetElement(i))
            return false;
    return true;
}

} // namespace

Graph1ObjectUserInterface2::Graph1ObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count,
                                                       uint32_t styleFlags, const char* objectName, HINSTANCE module,
                                                       uint32_t controlId)
    : BaseUserInterface(elements, count, styleFlags, objectName, module, controlId, GraphTimerPeriod)
{
    try {
        m_window_class_name = g_graphWindowClass;
        m_bounds.Fill(0.5f);
        m_columns.Init(static_cast<uint32_t>(std::max(m_width, 0)), 0);
        m_layerTransparency.Fill(1.0f / 3.0f);
        m_layerVisible.Fill(1);
        const unifrgb items[] = {{30, 128, 30}, {0, 0, 0}, {30, 30, 128}, {10, 20, 128}, {128, 128, 128}, {10, 20, 128}};
        for (uint32_t i = 0; i < std::size(items); ++i)
            m_layerItemColour.GetElement(i) = items[i];
        const unifrgb lines[] = {{30, 128, 30}, {30, 30, 255}, {128, 128, 128}};
        for (uint32_t i = 0; i < std::size(lines); ++i)
            m_layerLineColour.GetElement(i) = lines[i];
        // Dragging of bounds is on until state 3 switches it.
        m_state_values.GetElement(StateRefresh) = 1;
        if (FAILED(m_graph_messages.InitMessages(g_graphOperationNames,
                                                 static_cast<int32_t>(std::size(g_graphOperationNames)))))
            throw 241;
        AddOperationTable(&m_graph_messages);
    }
    CATCH_ALL_RETHROW()
}

// The window goes first, so that no handler runs on the members while they go.
Graph1ObjectUserInterface2::~Graph1ObjectUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

// ---- public operations ----

HRESULT Graph1ObjectUserInterface2::UpdateTransparentKoeffLayers(GraphFloatListUserInterface2* factors,
                                                                 const IndexListUserInterface2* indices, int32_t count)
{
    InfoMessageForXXXUpdateGraphObject record;
    record.m_floats = factors;
    record.m_indices = indices;
    record.m_count = count;
    return SendOperation(m_graph_messages, OperationTransparency, reinterpret_cast<WPARAM>(&record), 0,
                         "Graph1ObjectUserInterface2::UpdateTransparentKoeffLayers");
}

HRESULT Graph1ObjectUserInterface2::UpdateVisibleLayers(const GraphByteListUserInterface2* visible,
                                                        const IndexListUserInterface2* indices, int32_t count)
{
    InfoMessageForXXXUpdateGraphObject record;
    record.m_bytes = visible;
    record.m_indices = indices;
    record.m_count = count;
    return SendOperation(m_graph_messages, OperationVisibility, reinterpret_cast<WPARAM>(&record), 0,
                         "Graph1ObjectUserInterface2::UpdateVisibleLayers");
}

HRESULT Graph1ObjectUserInterface2::UpdatePointsLayers(int32_t mode, const GraphPointListUserInterface2* samples,
                                                       int32_t number)
{
    InfoMessageForXXXUpdateGraphObject record;
    record.m_mode = mode;
    record.m_points = samples;
    record.m_number = number;
    return SendOperation(m_graph_messages, OperationPoints, reinterpret_cast<WPARAM>(&record), 0,
                         "Graph1ObjectUserInterface2::UpdatePointsLayers");
}

HRESULT Graph1ObjectUserInterface2::UpdateKoeffForGraph(GraphFloatListUserInterface2* bounds,
                                                        const IndexListUserInterface2* indices, int32_t count,
                                                        uint8_t direction)
{
    InfoMessageForXXXUpdateGraphObject record;
    record.m_floats = bounds;
    record.m_indices = indices;
    record.m_count = count;
    record.m_direction = direction;
    return SendOperation(m_graph_messages, OperationBounds, reinterpret_cast<WPARAM>(&record), 0,
                         "Graph1ObjectUserInterface2::UpdateKoeffForGraph");
}

HRESULT Graph1ObjectUserInterface2::UpdateKoeffForZoom(const GraphFloatListUserInterface2* from,
                                                       const GraphFloatListUserInterface2* to)
{
    InfoMessageForXXXUpdateKoeffForZoom record;
    record.m_from = from;
    record.m_to = to;
    return SendOperation(m_graph_messages, OperationZoom, reinterpret_cast<WPARAM>(&record), 0,
                         "Graph1ObjectUserInterface2::UpdateKoeffForGraph");
}

HRESULT Graph1ObjectUserInterface2::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                            bool* handled)
{
    if (handled == nullptr)
        return E_INVALIDARG;
    *handled = false;
    try {
        const int32_t index = m_graph_messages.GetIndexFromMessage(message);
        if (index < 0)
            return BaseUserInterface::CompliteStandartMessage(window, message, wParam, lParam, handled);
        *handled = true;
        if (wParam == 0)
            return E_INVALIDARG;
        if (index == OperationZoom) {
            const auto& zoom = *reinterpret_cast<const InfoMessageForXXXUpdateKoeffForZoom*>(wParam);
            return UpdateKoeffForZoomReal(zoom.m_from, zoom.m_to);
        }
        const auto& record = *reinterpret_cast<const InfoMessageForXXXUpdateGraphObject*>(wParam);
        switch (index) {
        case OperationTransparency:
            return UpdateTransparentKoeffLayersReal(record.m_floats, record.m_indices, record.m_count);
        case OperationVisibility:
            return UpdateVisibleLayersReal(record.m_bytes, record.m_indices, record.m_count);
        case OperationPoints:
            return UpdatePointsLayersReal(record.m_mode, record.m_points, record.m_number);
        case OperationBounds:
            return UpdateKoeffForGraphReal(record.m_floats, record.m_indices, record.m_count, record.m_direction);
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- operations ----

HRESULT Graph1ObjectUserInterface2::UpdateTransparentKoeffLayersReal(const GraphFloatListUserInterface2* factors,
                                                                     const IndexListUserInterface2* indices,
                                                                     int32_t count)
{
    try {
        if (count < 1)
            return E_UNEXPECTED;
        if (factors == nullptr || indices == nullptr)
            return E_INVALIDARG;
        m_firstDirtyColumn = 0;
        for (int32_t i = 0; i < count; ++i)
            m_layerTransparency.GetElement(static_cast<uint32_t>(indices->GetElement(i))) = factors->GetElement(i);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Layer indices[i] takes byte i, as the transparencies do; shown or hidden, the chart is drawn again.
HRESULT Graph1ObjectUserInterface2::UpdateVisibleLayersReal(const GraphByteListUserInterface2* visible,
                                                            const IndexListUserInterface2* indices, int32_t count)
{
    try {
        if (count < 1)
            return E_UNEXPECTED;
        if (visible == nullptr || indices == nullptr)
            return E_INVALIDARG;
        m_firstDirtyColumn = 0;
        MarkBounds();
        for (int32_t i = 0; i < count; ++i)
            m_layerVisible.GetElement(static_cast<uint32_t>(indices->GetElement(i))) = visible->GetElement(i);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Graph1ObjectUserInterface2::UpdatePointsLayersReal(int32_t mode, const GraphPointListUserInterface2* samples,
                                                           int32_t number)
{
    try {
        if (samples == nullptr)
            return E_INVALIDARG;
        if (number < 0)
            return E_UNEXPECTED;
        m_redrawAll = 1;
        const int32_t width = static_cast<int32_t>(m_columns.GetCount());
        // No more samples than the list holds are read.
        const int32_t n = std::min({number, width, static_cast<int32_t>(samples->GetCount())});
        const int32_t free = width - (m_columnCount + n);
        int32_t start = 0;
        if (mode == PointsReplace) {
            m_fullRedraw = 1;
            m_firstDirtyColumn = 0;
        } else if (mode == PointsAppend) {
            start = m_columnCount;
            if (free < 0) {
                start += free;
                m_pendingScroll += -free;
                m_columns.ShiftDown(static_cast<uint32_t>(-free));
            }
        }
        for (int32_t i = 0; i < n; ++i)
            m_columns.GetElement(static_cast<uint32_t>(start + i)) = ClampedSample(samples->GetElement(static_cast<uint32_t>(i)));
        // A column already waiting has moved with the others.
        if (m_firstDirtyColumn < 0)
            m_firstDirtyColumn = start;
        else if (free < 0 && mode == PointsAppend)
            m_firstDirtyColumn = std::max(m_firstDirtyColumn + free, 0);
        m_columnCount = start + n;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Graph1ObjectUserInterface2::UpdateKoeffForGraphReal(GraphFloatListUserInterface2* bounds,
                                                            const IndexListUserInterface2* indices, int32_t count,
                                                            uint8_t direction)
{
    try {
        if (count < 1)
            return E_UNEXPECTED;
        if (bounds == nullptr || indices == nullptr)
            return E_INVALIDARG;
        for (int32_t i = 0; i < count; ++i) {
            float& bound = m_bounds.GetElement(static_cast<uint32_t>(indices->GetElement(i)));
            if (direction != 0)
                bounds->GetElement(i) = bound;
            else
                bound = bounds->GetElement(i);
        }
        if (direction == 0)
            MarkBounds();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Graph1ObjectUserInterface2::UpdateKoeffForZoomReal(const GraphFloatListUserInterface2* from,
                                                           const GraphFloatListUserInterface2* to)
{
    try {
        LOG_TEXT("Graph1ObjectUserInterface2::UpdateKoeffForZoomReal::begin");
        if (from == nullptr || to == nullptr)
            return E_INVALIDARG;
        // Points without a partner would be read past the shorter list.
        if (from->GetCount() != to->GetCount())
            return E_INVALIDARG;
        if (SameList(*from, m_zoomFrom) && SameList(*to, m_zoomTo))
            return S_OK;
        if (from->GetCount() > 0) {
            m_zoomFrom = *from;
            m_zoomTo = *to;
        } else {
            m_zoomFrom.FreeAll();
            m_zoomTo.FreeAll();
        }
        MarkBounds();
        m_array_general_buffers.GetElement(BackgroundBuffer).SetChanged();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- geometry ----

float Graph1ObjectUserInterface2::Zoom(float value) const
{
    return MapThroughCurve(m_zoomFrom, m_zoomTo, value);
}

float Graph1ObjectUserInterface2::InverseZoom(float height) const
{
    return MapThroughCurve(m_zoomTo, m_zoomFrom, height);
}

int32_t Graph1ObjectUserInterface2::RowOf(float value) const
{
    return m_margin + static_cast<int32_t>((1.0f - Zoom(value)) * static_cast<float>(UsableHeight()));
}

HRESULT Graph1ObjectUserInterface2::ScreenToChart(int32_t x, int32_t y, float* xFraction, float* yFraction) const
{
    if (xFraction == nullptr || yFraction == nullptr)
        return E_INVALIDARG;
    // A chart no taller than its margins has no heights to map.
    if (m_width <= 0 || m_height <= 0 || UsableHeight() <= 0)
        return E_UNEXPECTED;
    *xFraction = static_cast<float>(x) / static_cast<float>(m_width);
    *yFraction = Clamp01(1.0f - static_cast<float>(y - m_margin) / static_cast<float>(UsableHeight()));
    return S_OK;
}

int32_t Graph1ObjectUserInterface2::HitBound(float xFraction, float yFraction) const
{
    if (m_state_values.GetElement(StateRefresh) == 0 || m_width <= 0 || m_height <= 0)
        return -1;
    const float tolerance = HitRows / static_cast<float>(m_height);
    for (uint32_t bound = 0; bound < BoundCount; ++bound) {
        const uint32_t layer = bound / 2;
        if (m_layerVisible.GetElement(layer) == 0 || xFraction < HitZoneStart[layer] / static_cast<float>(m_width))
            continue;
        if (std::fabs(Zoom(m_bounds.GetElement(bound)) - yFraction) <= tolerance)
            return static_cast<int32_t>(bound);
    }
    return -1;
}

int32_t Graph1ObjectUserInterface2::HitBoundAt(LPARAM lParam) const
{
    float x = 0.0f, y = 0.0f;
    if (FAILED(ScreenToChart(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &x, &y)))
        return -1;
    return HitBound(x, y);
}

void Graph1ObjectUserInterface2::MarkBounds()
{
    m_array_general_buffers.GetElement(BoundBuffer).SetChanged();
    m_array_general_buffers.GetElement(ChartBuffer).SetChanged();
}

// ---- mouse ----

HRESULT Graph1ObjectUserInterface2::OnMouseButton(HWND, UINT message, WPARAM, LPARAM lParam, uint64_t, bool synthetic)
{
    try {
        if (synthetic)
            return S_OK;
        m_hoverBound = HitBoundAt(lParam);
        m_dragBound = message == WM_LBUTTONDOWN ? m_hoverBound : -1;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Graph1ObjectUserInterface2::OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t)
{
    try {
        if (m_dragBound < 0) {
            const int32_t hit = HitBoundAt(lParam);
            if (hit != m_hoverBound)
                MarkBounds();
            m_hoverBound = hit;
        } else {
            float x = 0.0f, y = 0.0f;
            if (SUCCEEDED(ScreenToChart(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), &x, &y)))
                m_bounds.GetElement(static_cast<uint32_t>(m_dragBound)) = InverseZoom(y);
            // A lower bound pushed above its upper bound takes the upper one along.
            for (uint32_t layer = 0; layer < Layers; ++layer) {
                float& lower = m_bounds.GetElement(2 * layer);
                float& upper = m_bounds.GetElement(2 * layer + 1);
                upper = lower <= upper ? std::min(upper, 1.0f) : lower;
            }
            m_hoverBound = m_dragBound;
            MarkBounds();
        }
        const HRESULT released = CatchMouseButtonsMessage(window, WM_LBUTTONUP, wParam, lParam, true);
        if (m_dragBound >= 0)
            PostDrag();
        return released;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void Graph1ObjectUserInterface2::PostDrag()
{
    HWND receiver = m_related_windows.GetElement(1);
    if (m_control_id == 0 || FAILED(CheckIsWindow(receiver)))
        return;
    PostMessageA(receiver, WM_COMMAND, MAKEWPARAM(m_control_id & 0xFFFF, 0), 0);
}

HRESULT Graph1ObjectUserInterface2::OnMouseHoverLeave(HWND, UINT, WPARAM, LPARAM, uint64_t)
{
    if (m_hoverBound >= 0)
        MarkBounds();
    m_dragBound = -1;
    m_hoverBound = -1;
    return S_OK;
}

// ---- sizes and settings ----

HRESULT Graph1ObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    try {
        m_redrawAll = 1;
        const uint32_t width = static_cast<uint32_t>(std::max(m_width, 0));
        if (FAILED(m_columns.SetSize(width)))
            return E_FAIL;
        m_columnCount = std::min(m_columnCount, static_cast<int32_t>(width));
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The picture is not drawn while the layout is being made; a widget of no area stays undrawn.
HRESULT Graph1ObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        m_rebuild_in_progress = 1;
        HRESULT result = S_OK;
        for (int32_t buffer : {ChartBuffer, BackgroundBuffer, BoundBuffer})
            if (FAILED(m_array_general_buffers.GetElement(buffer).ResizeBuffer(m_width, m_height)))
                result = E_FAIL;
        m_firstDirtyColumn = 0;
        m_pendingScroll = 0;
        if (m_width > 0 && m_height > 0)
            m_rebuild_in_progress = 0;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Graph1ObjectUserInterface2::SetChangedAllBuffers()
{
    m_fullRedraw = 1;
    return BaseUserInterface::SetChangedAllBuffers();
}

// The skin named by property 0 is kept in its own buffer; no slot draws it.
HRESULT Graph1ObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        const TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        if (table.GetCount() == 0 || table.GetElement(0).m_type != InfoTypedValueUserInterface2::TypeText)
            return S_FALSE;
        return LoadBMPFileToGeneralBuffer(table.GetElement(0).m_value.m_text.GetString(), m_text.GetString(),
                                          &m_array_general_buffers.GetElement(SkinBuffer));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Graph1ObjectUserInterface2::OnElementInfoChanged()
{
    return S_OK;
}

int32_t Graph1ObjectUserInterface2::GetIndexElementFromPoint(int32_t, int32_t)
{
    return -1;
}

// Dragging was switched: the markers are drawn again over the chart as it is.
HRESULT Graph1ObjectUserInterface2::RefreshObject()
{
    MarkBounds();
    return S_OK;
}
