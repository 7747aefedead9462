// Up to 16 skinned sliders in one widget window, set by dragging a thumb or by keys. Each slider is
// one element description: field 0 its own thumb bitmap, 5 its cell, 6 the command id, 7 the state
// word (bit 0 checkable, 0x10000000 checked, 0x20000000 disabled), 10 minimum, 11 maximum, 12 value,
// 13 the default that Esc restores. Changes are posted to the receiver window as WM_COMMAND: code 0
// for a drag, 0x10 for a toggle or a key. Lives on the thread that created its window.
#pragma once

#include "BaseUserInterface.h"

#include <string>

class TrackbarObjectUserInterface2 : public BaseUserInterface
{
public:
    // Low byte of the style: vertical sliders side by side (maximum at the top), or horizontal
    // sliders stacked in rows (maximum at the right). Any other value lays sliders out vertically.
    static constexpr uint32_t OrientationVertical = 1;
    static constexpr uint32_t OrientationHorizontal = 2;
    static constexpr uint32_t TimerPeriod = 20;
    static constexpr uint32_t FieldThumbPicture = 0;
    static constexpr uint32_t FieldMinimum = 10;
    static constexpr uint32_t FieldMaximum = 11;
    static constexpr uint32_t FieldValue = 12;
    static constexpr uint32_t FieldDefault = 13;
    static constexpr uint32_t StateCheckable = 0x1;
    static constexpr uint32_t StateChecked = 0x10000000;
    static constexpr uint32_t StateDisabled = 0x20000000;
    // Widget properties: six skin names, the thumb's length (up to 1.0 a share of the cell, else
    // pixels) and its breadth (a share of the cell, 0.1..1.0).
    static constexpr int32_t PropertyThumbLength = 8;
    static constexpr int32_t PropertyThumbBreadth = 9;
    static constexpr WORD NotifyDrag = 0;
    static constexpr WORD NotifyChange = 0x10;
    static constexpr int32_t FinalBuffer = 177;

    TrackbarObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                                 const char* objectName, HINSTANCE module);
    ~TrackbarObjectUserInterface2() override;

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
    HRESULT OnGeneralInfoChanged() override;
    HRESULT OnElementInfoChanged() override;
    HRESULT RebuildObject() override;
    // The slider whose thumb holds the point, so that the base reports clicks on thumbs only.
    int32_t GetIndexElementFromPoint(int32_t x, int32_t y) override;

    // Places every slider's cell; E_FAIL without sliders.
    HRESULT SetRectElements();
    // The whole value the point stands for on slider index (its grab offset applied); 0 for a bad
    // index; a checked checkable slider keeps its value.
    float GetValueFromPoint(int32_t index, int32_t x, int32_t y);
    // The thumb centre along the slider's axis for the value, with the thumb's rectangle when asked;
    // 0x8000FFFF for a bad index.
    int32_t GetPosThumbFromValue(int32_t index, float value, RECT* thumb);
    int32_t GetIndexThumbFromPoint(int32_t x, int32_t y);
    // Flips the checked bit of a checkable slider that is not disabled; whether it flipped.
    static bool ToggleCheckedState(uint32_t& state);
    // The text a thumb shows: the value, or its signed distance from the default when the minimum
    // lies below the default; empty for a disabled slider.
    static std::string FormatValueText(float value, float minimum, float defaultValue, bool disabled);

protected:
    struct Range
    {
        float m_minimum;
        float m_maximum;
    };
    // The slider's range, a maximum not above the minimum counting as minimum + 1.
    Range SliderRange(int32_t index) const;
    // The maximum as stored, for the keys.
    float StoredMaximum(int32_t index) const;
    float SliderValue(int32_t index) const;
    uint32_t SliderState(int32_t index) const;
    bool IsVertical() const;
    int32_t SliderCount() const;
    bool IsSlider(int32_t index) const;
    // Length of the slider's axis and of the thumb along it.
    int32_t AxisLength() const;
    int32_t ThumbLength() const;
    void MarkBuffers(std::initializer_list<int32_t> buffers, int32_t index);
    void MarkSliderLayers(int32_t index);
    void PostNotification(int32_t index, WORD code);
    HRESULT ComputeSizes();
    void MoveCurrentSlider(int32_t direction);

    // The drawing program's callback and its parts by callback code.
    static HRESULT GeneralCycleCallback(BaseUserInterface* widget, uintptr_t code, int32_t slot, int32_t run,
                                        uint32_t timeLow, uint32_t timeHigh);
    HRESULT DrawFinalPicture(int32_t slot, int32_t index);
    HRESULT DrawCellLayers(int32_t slot, int32_t index);
    HRESULT DrawCheckedLook(int32_t slot, int32_t index);
    HRESULT DrawValueText(int32_t index);
    HRESULT DrawThumbGlow(int32_t slot, int32_t index, uint64_t now);
    HRESULT DrawValueShading(int32_t run);
    // Whether an input every slider's part of the final picture reads changed.
    bool SharedFinalInputsChanged();
    // Bit i: slider i's part of the final picture is composed on this tick.
    uint32_t SlidersToCompose();
    void PlaceOnFinal(InfoActionUserInterface2& action, const RECT& area, int32_t sourceStride);
    void SetColourFill(InfoActionUserInterface2& action, uint32_t entry);
    bool IsBufferChanged(int32_t index);

    int32_t m_layout_width = -1;
    int32_t m_layout_height = -1;
    int32_t m_cell_height = 1;
    int32_t m_cell_width = 1;
    int32_t m_thumb_height = 1;
    int32_t m_thumb_width = 1;
    int32_t m_grab_offset = 0;
    uint8_t m_moved = 0;
    int32_t m_current_slider = -1;
    StaticBoundsObject<uint8_t, MaxElements> m_pressed;
    uint32_t m_sliders_to_compose = 0;
};
