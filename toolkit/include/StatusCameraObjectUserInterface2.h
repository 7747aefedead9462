// The weekly schedule grid: 7 days (Monday first) by 24 hours of cells, each a byte with a state
// in the high nibble and a mark in the low nibble, painted with the mouse; hour numbers along the
// top, day names along the left and two brush buttons in the corner. Cells, hours and days under
// the pointer light up and fade. Belongs to the thread that calls CreateObject; UpdateStateSheduler
// may be called from any thread.
#pragma once

#include "BaseUserInterface.h"

#include <cstdint>

struct InfoMessageForXXXUpdateStateSheduler : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateStateSheduler()
        : GeneralParentForMessageStruct("InfoMessageForXXXUpdateStateSheduler")
    {
    }

    uint8_t* m_buffer = nullptr;
    uint32_t m_size = 0;
    uint8_t m_direction = 0;
};

class StatusCameraObjectUserInterface2 : public BaseUserInterface
{
public:
    static constexpr int32_t Days = 7;
    static constexpr int32_t Hours = 24;
    static constexpr int32_t CellCount = Days * Hours;
    static constexpr uint32_t TimerPeriod = 50;
    static constexpr uint8_t NewCell = 0x10;
    // UpdateStateSheduler's directions.
    static constexpr uint8_t DirectionSet = 0;
    static constexpr uint8_t DirectionGet = 1;
    // Elements: the grid with its headers, the state and the mark button of the corner.
    static constexpr int32_t ElementGrid = 0;
    static constexpr int32_t ElementStateButton = 1;
    static constexpr int32_t ElementMarkButton = 2;
    // Properties of table 0.
    static constexpr uint32_t PropertyFirstDayName = 22;
    static constexpr uint32_t PropertyMarkBrush = 29;
    static constexpr int32_t FinalBuffer = 134;

    // A command of 0 in the first three descriptions becomes the control id.
    StatusCameraObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                                     const char* objectName, HINSTANCE module, uint32_t controlId = 0);
    ~StatusCameraObjectUserInterface2() override;

    // Direction 0 takes the first 168 bytes of the buffer as the week, any other writes the week
    // into it. 0x80070057 for no buffer, 0x8000FFFF for fewer than 168 bytes, 0x80004005 when the
    // widget's thread does not answer.
    HRESULT UpdateStateSheduler(uint8_t* buffer, uint32_t size, uint8_t direction);
    HRESULT UpdateStateShedulerReal(uint8_t* buffer, uint32_t size, uint8_t direction);

    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    HRESULT CycleBeforeFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT CycleAfterFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseHoverLeave(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time,
                          bool synthetic) override;
    HRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT SetupGeneralCycle(uint32_t flags) override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT RebuildObject() override;
    int32_t GetIndexElementFromPoint(int32_t x, int32_t y) override;

    // The drawing callback of every slot of the grid's program.
    static HRESULT FunctGridCycle(BaseUserInterface* widget, uintptr_t code, int32_t slot, int32_t run,
                                  uint32_t timeLow, uint32_t timeHigh);

protected:
    // What lies under a point; -1 for none.
    struct GridPoint
    {
        int32_t m_hour = -1;
        int32_t m_day = -1;
        int32_t m_cell_hour = -1;
        int32_t m_cell_day = -1;
    };

    GridPoint PartsAt(int32_t x, int32_t y) const;
    bool IsHit(const GridPoint& point, int32_t cell) const;
    bool PointerInside() const { return m_mouse_tracking != 0; }
    bool InCorner(int32_t x, int32_t y) const { return x < m_header_width && y < m_header_height; }
    int32_t CornerPart(int32_t x) const { return x / (m_header_width / 2 + 1); }
    HRESULT Paint(HWND window, WPARAM keys, LPARAM lParam);
    void PressCornerButton(int32_t x);
    void SetAllFlags();
    void UseThreeElements(uint32_t controlId);
    void SizeBuffers();

    // One repetition of a slot's drawing, by callback code.
    HRESULT DrawStencils(int32_t run);
    HRESULT DrawCaption(int32_t slot, int32_t buffer, const char* text);
    HRESULT ChooseCornerPicture(int32_t slot);
    HRESULT SetCornerRegion(int32_t slot);
    HRESULT DrawHeaderStep(bool days, int32_t run);
    HRESULT DrawCellStep(int32_t run);

    ObjectWindowMessage1 m_grid_messages;
    StaticBoundsObject<uint8_t, CellCount> m_cells;
    StaticBoundsObject<unifrgb, Hours> m_hour_colour;
    StaticBoundsObject<uint8_t, Hours> m_hour_changed;
    StaticBoundsObject<unifrgb, Days> m_day_colour;
    StaticBoundsObject<uint8_t, Days> m_day_changed;
    StaticBoundsObject<unifrgb, CellCount> m_cell_colour;
    StaticBoundsObject<uint8_t, CellCount> m_cell_changed;
    int32_t m_cell_width = 1;
    int32_t m_cell_height = 1;
    int32_t m_header_width_default = 90;
    int32_t m_header_height_default = 25;
    int32_t m_header_width = 90;
    int32_t m_header_height = 25;
    int32_t m_state_brush = 1;
    int32_t m_mark_brush = 0;
    uint8_t m_edit_state = 1;
    unifrgb m_hover_colour{32, 128, 16};
    unifrgb m_header_hover_colour{128, 32, 16};
    unifrgb m_fade_step{1, 10, 20};
};
