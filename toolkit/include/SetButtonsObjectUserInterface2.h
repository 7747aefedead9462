// A row or column of up to 16 skinned push buttons in one widget window: background, each button's
// own bitmaps and caption, a light spot that follows the mouse, a glow while hovered, looks for
// hovered, pressed, checked and disabled buttons, and with style bit 16 a moving glass background.
// Clicks are reported by the base as WM_COMMAND with the button's command id. Each button is one
// element description: fields 0, 1 and 4 its bitmaps, 2 its size (up to 1.0 a share of the free
// length, else pixels), 3 its caption, 5 its rectangle, 6 the command id, 7 the state word, 8 and 9
// the bounds of its glow. Lives on the thread that created its window.
#pragma once

#include "BaseUserInterface.h"

class SetButtonsObjectUserInterface2 : public BaseUserInterface
{
public:
    // Low byte of the style: buttons stacked top to bottom, or side by side (any other value).
    static constexpr uint32_t OrientationStacked = 1;
    static constexpr uint32_t OrientationSideBySide = 2;
    static constexpr uint32_t StyleGlass = 0x10000;
    static constexpr uint32_t TimerPeriod = 50;
    static constexpr uint32_t FieldFace = 0;
    static constexpr uint32_t FieldSecond = 1;
    static constexpr uint32_t FieldSize = 2;
    static constexpr uint32_t FieldCaption = 3;
    static constexpr uint32_t FieldThird = 4;
    // State bits: no press, hover, glow or spot; no glow or spot; left out of the reference choice.
    static constexpr uint32_t StatePassive = 0x2;
    static constexpr uint32_t StateNoLight = 0x200;
    static constexpr uint32_t StateNoReference = 0x100;
    static constexpr uint32_t StateChecked = 0x10000000;
    static constexpr uint32_t StateDisabled = 0x20000000;
    static constexpr int32_t SkinCount = 7;
    static constexpr int32_t FinalBuffer = 245;
    static constexpr uint32_t CaptionEntry = 128;

    SetButtonsObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                                   const char* objectName, HINSTANCE module);
    ~SetButtonsObjectUserInterface2() override;

    HRESULT OnCreateWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnDestroyWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
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

    // Places the used buttons along the row; 0 or E_FAIL.
    HRESULT SetRectElements();
    // The first used button without any of the state bits 0x2, 0x100 and 0x200, else the last used
    // one; -1 without used buttons.
    int32_t ReferenceButton() const;

protected:
    uint32_t Orientation() const { return m_style_flags & 0xFF; }
    int32_t ButtonCount() const;
    bool IsButton(int32_t index) const;
    uint32_t ButtonState(int32_t index) const;
    // The button's rectangle inside the widget (empty for a button wholly outside it).
    RECT VisibleRect(int32_t index) const;
    bool IsBufferChanged(int32_t index);
    void Mark(int32_t index);

    static HRESULT GeneralCycleCallback(BaseUserInterface* widget, uintptr_t code, int32_t slot, int32_t run,
                                        uint32_t timeLow, uint32_t timeHigh);
    HRESULT DrawCaption(int32_t index);
    HRESULT DrawFace(int32_t slot, int32_t index, uint64_t now);
    HRESULT DrawLightSpot(InfoActionUserInterface2& action, int32_t index);
    HRESULT DrawGlow(int32_t slot, int32_t index, uint64_t now);
    HRESULT PlaceButton(int32_t slot, int32_t index);
    HRESULT DrawSecondBitmap(int32_t slot, int32_t index);
    HRESULT DrawGlass(int32_t slot, uint64_t now);
    HRESULT DrawStateLayer(int32_t slot, int32_t run);
    HRESULT DrawStateOverlay(int32_t run);
    // Where a layer of the given size lands in the final picture over button index, clipped to it.
    bool PlaceOnFinal(InfoActionUserInterface2& action, int32_t index, int32_t width, int32_t height);

    uint64_t m_glass_time = 0;
    int32_t m_layout_width = -1;
    int32_t m_layout_height = -1;
    int32_t m_cursor_x = -1;
    int32_t m_cursor_y = -1;
    StaticBoundsObject<int16_t*, 3> m_glass_rows;
    int32_t m_glass_row_length = 0;
};
