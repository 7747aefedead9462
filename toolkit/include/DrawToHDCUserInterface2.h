// Drawings of widget layers made with GDI: panels with captions, grids of panels, gradients, marks,
// bars and noise. Each callback draws into a device context of the given size from its record,
// whose size word must be the record's own size.
#pragma once

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <cstdint>

// A colour of three bytes; arithmetic keeps the low 8 bits of each channel.
struct unifrgb
{
    unifrgb() = default;
    unifrgb(uint8_t red, uint8_t green, uint8_t blue) : m_red(red), m_green(green), m_blue(blue) {}

    COLORREF GetColorRef() const { return RGB(m_red, m_green, m_blue); }
    // Each channel times the factor, truncated.
    void GetScaledColor(float factor, unifrgb* out) const;
    unifrgb operator+(const unifrgb& other) const;
    // a weighted by 1 - t plus b weighted by t.
    static void BlendColors(const unifrgb& a, const unifrgb& b, float t, unifrgb* out);

    uint8_t m_red = 0;
    uint8_t m_green = 0;
    uint8_t m_blue = 0;
};

// A caption: where it starts, its text, format, colour and font (owned).
struct InfoFontForDrawToHDC
{
    InfoFontForDrawToHDC() = default;
    ~InfoFontForDrawToHDC();
    InfoFontForDrawToHDC(const InfoFontForDrawToHDC&) = delete;
    InfoFontForDrawToHDC& operator=(const InfoFontForDrawToHDC&) = delete;

    HRESULT DeleteFont();

    int32_t m_x = 0;
    int32_t m_y = 0;
    DynamicString m_text;
    uint32_t m_format = DT_VCENTER | DT_SINGLELINE;
    COLORREF m_text_color = 0xC8C8C8;
    uint8_t m_keep_current_font = 0;
    HFONT m_font = nullptr;
    uint8_t m_fill_background = 1;
};

// A panel: background, an outer and an optional inner frame, optionally rounded, and a caption.
struct StructForDrawToHDC_UserInterface2
{
    int32_t m_vertical_inset = 0;
    int32_t m_horizontal_inset = 0;
    int32_t m_inner_inset = 4;
    unifrgb m_background{0, 0, 0};
    unifrgb m_frame{255, 255, 255};
    unifrgb m_inner_frame{100, 100, 100};
    uint8_t m_draw_inner_frame = 1;
    uint8_t m_round_corners = 0;
    float m_corner_size = 2.0f;
    InfoFontForDrawToHDC m_text;
};

// Columns x rows panels of one look inside the margins.
struct StructForDrawGridToHDC_UserInterface2
{
    uint32_t m_columns = 0;
    uint32_t m_rows = 0;
    int32_t m_horizontal_margin = 0;
    int32_t m_vertical_margin = 0;
    StructForDrawToHDC_UserInterface2 m_cell;
};

// Rows blended from the top colour (row 0) to the bottom colour (last row).
struct StructForDrawGradientToHDC_UserInterface2
{
    unifrgb m_bottom;
    unifrgb m_top;
    int32_t m_pen_width = 1;
};

// Columns x rows rounded panels of one look between the margins, over a background of the
// look's background colour.
struct InfoSegmentsForDrawToHDC
{
    int32_t m_columns = 1;
    int32_t m_rows = 1;
    int32_t m_horizontal_margin = 0;
    int32_t m_vertical_margin = 0;
    StructForDrawToHDC_UserInterface2 m_segment;
};

// The two colours of a gradient and its pen width, as the gradient drawing takes them.
using InfoColorPairForDrawToHDC = StructForDrawGradientToHDC_UserInterface2;

#if !defined(_WIN64)
static_assert(sizeof(InfoSegmentsForDrawToHDC) == 104, "the segments record of the 32-bit build");
static_assert(sizeof(InfoColorPairForDrawToHDC) == 12, "the colour pair of the 32-bit build");
static_assert(sizeof(InfoFontForDrawToHDC) == 60, "the caption record of the 32-bit build");
static_assert(sizeof(StructForDrawToHDC_UserInterface2) == 88, "the panel record of the 32-bit build");
static_assert(sizeof(StructForDrawGridToHDC_UserInterface2) == 104, "the grid record of the 32-bit build");
#endif

// Common answers: E_INVALIDARG for no context, E_UNEXPECTED for a width or height below 1. A
// missing record throws 240 and one of another size 241, for the caller to refuse.
HRESULT FunctDrawRoundRectToHDC(HDC context, int width, int height, void* record, int recordSize);
HRESULT FunctDrawTextToHDC(HDC context, int width, int height, void* record, int recordSize);
// E_FAIL for no columns or rows.
HRESULT FunctDrawGridToHDC(HDC context, int width, int height, void* record, int recordSize);
// E_UNEXPECTED for no columns or rows, or margins that leave no room.
HRESULT FunctDrawSegmentsToHDC(HDC context, int width, int height, void* record, int recordSize);
// E_UNEXPECTED for no record.
HRESULT FunctDrawVerticalGradientToHDC(HDC context, int width, int height, void* record, int recordSize);
// The whole area in one random colour.
HRESULT FunctFillRandomColorToHDC(HDC context, int width, int height, void* record, int recordSize);
// Marks of the current pen and brush every pitch pixels from x start, centred on a row;
// E_UNEXPECTED for a layout that does not fit.
HRESULT FunctDrawMarksToHDC(HDC context, int width, int height, int xStart, int endMargin, int centreRow, int pitch,
                            int markWidth, int markHeight);
// Vertical bars from top to the bottom margin every pitch pixels; E_UNEXPECTED for a bad layout.
HRESULT FunctDrawBarsToHDC(HDC context, int width, int height, int xStart, int endMargin, int top, int bottomMargin,
                           int pitch, int barWidth);
