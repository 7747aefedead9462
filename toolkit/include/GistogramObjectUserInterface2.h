// The histogram widget: value array 0 as bars standing on the bottom margin and value array 1 as a
// curve of level markers, one bar per slot. The user picks a bar, drags or keys its curve level and
// drags sideways to rotate the curve; each edit is posted to the receiver window as WM_COMMAND with
// the bar under the pointer in lParam. Only bars flagged as changed are drawn again on a tick.
// Belongs to the thread that calls CreateObject, as every widget.
#pragma once

#include "BaseUserInterface.h"

#include <cstdint>

using FloatListUserInterface2 = DynamicBoundsObject<float>;

struct InfoMessageForXXXUpdateData : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateData() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateData") {}
    uint32_t m_operation = 0;
    FloatListUserInterface2* m_values = nullptr;
    uint32_t m_flag = 0;
};

struct InfoMessageForXXXUpdateInternalValue : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateInternalValue() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateInternalValue") {}
    const InfoTypedValueUserInterface2* m_value = nullptr;
    int32_t m_index = -1;
};

// The background bands of the histogram: one band at every multiple of the step of the height
// between the margins, its colours darker towards the top and bottom by the edge factor.
struct InfoGridForDrawToHDC
{
    float m_step = 0.25f;
    int32_t m_margin = 0;
    int32_t m_half_thickness = 1;
    float m_edge_factor = 0.5f;
    StructForDrawToHDC_UserInterface2 m_band;
};

#if !defined(_WIN64)
static_assert(sizeof(InfoGridForDrawToHDC) == 104, "the band record of the 32-bit build");
#endif

// E_INVALIDARG for no context; E_UNEXPECTED for an empty area, an edge factor not above 0 or a step
// outside (0, 1); 1 when no height is left between the margins. A missing record throws 240, one
// of another size 241.
HRESULT FunctDrawGistogramGridToHDC(HDC context, int width, int height, void* record, int recordSize);

class GistogramObjectUserInterface2 : public BaseUserInterface
{
public:
    enum Property : uint32_t
    {
        PropEditable = 0,
        PropMinimumBarWidth = 1,
        PropGap = 2,
        PropValueCount = 7,
        PropShownShare = 8,
        PropMargin = 9,
        PropSegments = 10,
        PropFrame = 11,
        PropCorner = 12,
        PropEdgeFactor = 13,
        PropGridStep = 14,
        PropGridHalfThickness = 15,
        PropKeyStep = 16,
        PropertyCount = 17,
    };
    // UpdateData's operation: the low byte the direction, the next byte the array.
    static constexpr uint32_t DataSet = 1;
    static constexpr uint32_t DataGet = 3;
    static constexpr uint32_t DataArray0 = 0x100;
    static constexpr uint32_t DataArray1 = 0x200;
    static constexpr uint32_t NoBar = 0xFFFFFFFF;

    // The extra parameter is the control id of the widget's WM_COMMAND reports.
    GistogramObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                                  const char* objectName, HINSTANCE module, uint32_t controlId);
    ~GistogramObjectUserInterface2() override;

    // ---- public operations: callable from any thread; the answer is the operation's own ----
    HRESULT UpdateData(uint32_t operation, FloatListUserInterface2* values, uint32_t flag);
    HRESULT UpdateInternalValue(const InfoTypedValueUserInterface2* value, int32_t index);

    // ---- their operations on the window's thread ----
    // 0x8000FFFF for an empty array or a flag of 0. Copies as many values as both arrays hold.
    HRESULT UpdateDataReal(uint32_t operation, FloatListUserInterface2* values, uint32_t flag);
    HRESULT UpdateInternalValueReal(const InfoTypedValueUserInterface2* value, int32_t index);

    // ---- slots ----
    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    HRESULT CycleBeforeFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT CycleAfterFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseHoverLeave(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnSetFocus(HWND window, WPARAM wParam, LPARAM lParam) override;
    HRESULT OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam) override;
    HRESULT OnKeyMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam) override;
    HRESULT OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time,
                          bool synthetic) override;
    HRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT SetupGeneralCycle(uint32_t flags) override;
    HRESULT SetChangedAllBuffers() override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT RebuildObject() override;
    int32_t GetIndexElementFromPoint(int32_t x, int32_t y) override;

    // The drawing callback of the three slots; the context names the slot's part.
    static HRESULT FunctGistogramGeneralCycle(BaseUserInterface* widget, uintptr_t context, int32_t slot, int32_t run,
                                              uint32_t timeLow, uint32_t timeHigh);

protected:
    // Resamples source into destination: summed (or averaged with the flag) when it has fewer
    // entries, repeated when more. 1 when either is empty or both have the same count (a copy).
    static constexpr uint32_t ResampleAverage = 0x10000;
    static HRESULT Resample(const FloatListUserInterface2& source, FloatListUserInterface2& destination,
                            uint32_t flags);

    const InfoTypedValueUserInterface2& Prop(uint32_t index) const { return m_properties.GetElement(index); }
    int32_t PropInt(uint32_t index) const { return Prop(index).m_value.m_int; }
    float PropFloat(uint32_t index) const { return Prop(index).m_value.m_float; }
    bool Editable() const { return Prop(PropEditable).m_value.m_bool; }

    void FillDefaultProperties();
    HRESULT CheckSize();
    HRESULT Layout();
    int32_t SlotPitch() const { return PropInt(PropMinimumBarWidth) + 2 * PropInt(PropGap); }
    uint32_t BarFromX(int32_t x) const;
    bool IsBar(uint32_t index) const { return index < m_barCount && index < m_barChanged.GetCount(); }
    void MarkBar(uint32_t index);
    void MarkAllBars();
    // Array 1 rewritten through the bars' copy brings the other copy along.
    HRESULT SynchroniseCurve();
    void NotifyEdit();
    HRESULT DragLevel(uint32_t bar, int32_t y);
    HRESULT RotateCurve(int32_t delta);
    HRESULT KeyLevel(uint32_t key);
    HRESULT SizeBuffers();

    // The parts of the drawing callback.
    HRESULT ClearPicture(InfoActionUserInterface2& action);
    HRESULT DrawBackgroundLayer(uint32_t slot, int32_t step);
    HRESULT DrawBarStep(uint32_t slot, int32_t step, uint32_t repeats);
    HRESULT ComposeBarStep(uint32_t slot, uint32_t stage, uint32_t number);
    HRESULT PlaceBarRows(uint32_t slot, int32_t source, int32_t destination, uint32_t level);
    COLORREF Colour(uint32_t entry) const { return m_gdi_table.GetElement(entry).m_color; }

    ObjectWindowMessage1 m_gistogram_messages;
    StaticBoundsObject<FloatListUserInterface2, 2> m_values;
    StaticBoundsObject<FloatListUserInterface2, 2> m_shownValues;
    StaticBoundsObject<FloatListUserInterface2*, 2> m_barSource;
    uint32_t m_barCount = 0;
    uint32_t m_barWidth = 10;
    uint32_t m_slotWidth = 10;
    uint32_t m_usableHeight = 0;
    uint32_t m_leftOffset = 0;
    DynamicBoundsObject<InfoTypedValueUserInterface2> m_properties;
    DynamicBoundsObject<uint8_t> m_barChanged;
    DynamicBoundsObject<uint32_t> m_barLevel0;
    DynamicBoundsObject<uint32_t> m_barLevel1;
    uint32_t m_drawIndex = NoBar;
    uint32_t m_hoverIndex = NoBar;
    uint32_t m_selectedIndex = NoBar;
    uint8_t m_onMarker = 0;
    uint8_t m_buttonDown = 0;
    uint8_t m_fullRedraw = 1;
};
