// The graph widget: a strip chart of up to three layers, one pixel column per sample, new samples
// appended on the right while the older ones scroll out to the left. Each layer has a lower and an
// upper bound, drawn as markers the user can drag (each drag step is posted to the receiver window
// as WM_COMMAND with lParam 0); a piecewise-linear zoom curve may bend the vertical scale.
// Belongs to the thread that calls CreateObject, as every widget.
#pragma once

#include "BaseUserInterface.h"

#include <cstdint>

// One bar of a column: it spans between its two values, drawn in four pieces of the intensities.
struct InfoDrawGraphObjectUserInterface2
{
    float m_first = 1.0f;
    float m_second = 0.0f;
    uint8_t m_intensity[4] = {25, 25, 25, 25};
};

// One column: two bars of each of the three layers.
struct InfoPointGraphObjectUserInterface2
{
    static constexpr uint32_t Layers = 3;
    static constexpr uint32_t Bars = 2;
    InfoDrawGraphObjectUserInterface2 m_bars[Layers][Bars];
};

using GraphPointListUserInterface2 = DynamicBoundsObject<InfoPointGraphObjectUserInterface2>;
using GraphFloatListUserInterface2 = DynamicBoundsObject<float>;
using GraphByteListUserInterface2 = DynamicBoundsObject<uint8_t>;

struct InfoMessageForXXXUpdateGraphObject : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateGraphObject() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateGraphObject") {}
    int32_t m_mode = 0;
    const GraphPointListUserInterface2* m_points = nullptr;
    GraphFloatListUserInterface2* m_floats = nullptr;
    const IndexListUserInterface2* m_indices = nullptr;
    const GraphByteListUserInterface2* m_bytes = nullptr;
    int32_t m_count = 0;
    int32_t m_number = 0;
    uint8_t m_direction = 0;
};

struct InfoMessageForXXXUpdateKoeffForZoom : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateKoeffForZoom() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateKoeffForZoom") {}
    const GraphFloatListUserInterface2* m_from = nullptr;
    const GraphFloatListUserInterface2* m_to = nullptr;
};

class Graph1ObjectUserInterface2 : public BaseUserInterface
{
public:
    static constexpr uint32_t Layers = InfoPointGraphObjectUserInterface2::Layers;
    static constexpr uint32_t BoundCount = 2 * Layers;
    enum PointsMode : int32_t
    {
        PointsReplace = 1,
        PointsAppend = 2,
    };

    // The extra parameter is the control id of the widget's WM_COMMAND reports.
    Graph1ObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                               const char* objectName, HINSTANCE module, uint32_t controlId);
    ~Graph1ObjectUserInterface2() override;

    // ---- public operations: callable from any thread; the answer is the operation's own ----
    HRESULT UpdateTransparentKoeffLayers(GraphFloatListUserInterface2* factors, const IndexListUserInterface2* indices,
                                         int32_t count);
    HRESULT UpdateVisibleLayers(const GraphByteListUserInterface2* visible, const IndexListUserInterface2* indices,
                                int32_t count);
    HRESULT UpdatePointsLayers(int32_t mode, const GraphPointListUserInterface2* samples, int32_t number);
    // A non-zero direction reads the bounds into the floats.
    HRESULT UpdateKoeffForGraph(GraphFloatListUserInterface2* bounds, const IndexListUserInterface2* indices,
                                int32_t count, uint8_t direction);
    HRESULT UpdateKoeffForZoom(const GraphFloatListUserInterface2* from, const GraphFloatListUserInterface2* to);

    // ---- their operations on the window's thread: 0x8000FFFF for a count below 1; an index
    // outside its table ends the operation with E_FAIL, the entries before it applied ----
    HRESULT UpdateTransparentKoeffLayersReal(const GraphFloatListUserInterface2* factors,
                                             const IndexListUserInterface2* indices, int32_t count);
    // Layer indices[i] takes visible[i].
    HRESULT UpdateVisibleLayersReal(const GraphByteListUserInterface2* visible, const IndexListUserInterface2* indices,
                                    int32_t count);
    // 0x80070057 for no samples, 0x8000FFFF for a negative number. Takes at most the widget's width
    // and the list's count of samples.
    HRESULT UpdatePointsLayersReal(int32_t mode, const GraphPointListUserInterface2* samples, int32_t number);
    HRESULT UpdateKoeffForGraphReal(GraphFloatListUserInterface2* bounds, const IndexListUserInterface2* indices,
                                    int32_t count, uint8_t direction);
    // An empty abscissa list removes the curve; lists of different counts are refused (0x80070057).
    virtual HRESULT UpdateKoeffForZoomReal(const GraphFloatListUserInterface2* from,
                                           const GraphFloatListUserInterface2* to);

    // ---- slots ----
    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    HRESULT CycleBeforeFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT CycleAfterFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseHoverLeave(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time,
                          bool synthetic) override;
    HRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT SetupGeneralCycle(uint32_t flags) override;
    HRESULT SetChangedAllBuffers() override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT OnElementInfoChanged() override;
    HRESULT RebuildObject() override;
    int32_t GetIndexElementFromPoint(int32_t x, int32_t y) override;
    HRESULT RefreshObject() override;

    // The drawing callback of the chart's slots; the context names the slot's part.
    static HRESULT FunctGraphGeneralCycle(BaseUserInterface* widget, uintptr_t context, int32_t slot, int32_t run,
                                          uint32_t timeLow, uint32_t timeHigh);

protected:
    // A value's display height through the zoom curve, and back; both held to 0..1.
    float Zoom(float value) const;
    float InverseZoom(float height) const;
    // Fractions of the width and of the chart's height (upwards); 0x8000FFFF for no width or no
    // chart height between the margins.
    HRESULT ScreenToChart(int32_t x, int32_t y, float* xFraction, float* yFraction) const;
    // The bound whose marker is within reach of the point, or -1.
    int32_t HitBound(float xFraction, float yFraction) const;
    int32_t HitBoundAt(LPARAM lParam) const;
    int32_t UsableHeight() const { return m_height - 2 * m_margin; }
    int32_t RowOf(float value) const;
    void MarkBounds();
    void PostDrag();

    // The parts of the drawing callback.
    HRESULT FillBackground(InfoActionUserInterface2& action);
    HRESULT DrawLayerColumns(uint32_t layer);
    void DrawColumnBar(InfoGeneralBufferForUserInterface2& chart, int32_t column, uint32_t layer, uint32_t bar);
    HRESULT DrawBoundLines(InfoActionUserInterface2& action, int32_t run);
    HRESULT DrawBoundMarkers();

    GraphFloatListUserInterface2 m_zoomFrom;
    GraphFloatListUserInterface2 m_zoomTo;
    GraphPointListUserInterface2 m_columns;
    int32_t m_columnCount = 0;
    int32_t m_firstDirtyColumn = 0;
    int32_t m_pendingScroll = 0;
    StaticBoundsObject<float, Layers> m_layerTransparency;
    StaticBoundsObject<uint8_t, Layers> m_layerVisible;
    StaticBoundsObject<unifrgb, Layers * 2> m_layerItemColour;
    StaticBoundsObject<unifrgb, Layers> m_layerLineColour;
    StaticBoundsObject<float, BoundCount> m_bounds;
    uint8_t m_redrawAll = 1;
    uint8_t m_fullRedraw = 1;
    ObjectWindowMessage1 m_graph_messages;
    int32_t m_dragBound = -1;
    int32_t m_hoverBound = -1;
    int32_t m_margin = 8;
};
