// GDI drawings of widget layers.
#include "BaseUserInterface.h"
#include "DrawToHDCUserInterface2.h"

#include "CatchAllLog.h"
#include "GdiScopes.h"
#include "g_managment_mem.h"

#include <algorithm>
#include <cstdlib>

namespace {

uint8_t ScaledChannel(uint8_t channel, float factor)
{
    return static_cast<uint8_t>(static_cast<int32_t>(static_cast<float>(channel) * factor));
}

HRESULT CheckContext(HDC context, int width, int height)
{
    if (context == nullptr)
        return E_INVALIDARG;
    return width < 1 || height < 1 ? E_UNEXPECTED : S_OK;
}

template <class Record>
Record& CheckedRecord(void* record, int recordSize)
{
    if (record == nullptr)
        throw 240;
    if (recordSize != static_cast<int>(sizeof(Record)))
        throw 241;
    return *static_cast<Record*>(record);
}

void FillArea(HDC context, const RECT& area, COLORREF colour)
{
    AutoGDIObject brush(CreateSolidBrush(colour));
    FillRect(context, &area, static_cast<HBRUSH>(brush.Get()));
}

// A rectangle filled and outlined in one colour.
void DrawFrame(HDC context, const RECT& frame, COLORREF colour, int corner)
{
    AutoGDIObject brush(CreateSolidBrush(colour));
    AutoGDIObject pen(CreatePen(PS_SOLID, 1, colour));
    ScopedSelection brushSelection(context, brush.Get());
    ScopedSelection penSelection(context, pen.Get());
    RoundRect(context, frame.left, frame.top, frame.right, frame.bottom, corner, corner);
}

RECT Inset(const RECT& area, int horizontal, int vertical)
{
    return {area.left + horizontal, area.top + vertical, area.right - horizontal, area.bottom - vertical};
}

void DrawCaption(HDC context, RECT area, InfoFontForDrawToHDC& text)
{
    if (text.m_fill_background != 0)
        FillRect(context, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, text.m_text_color);
    HGDIOBJ previous = nullptr;
    if (text.m_keep_current_font == 0)
        previous = SelectObject(context, text.m_font != nullptr ? static_cast<HGDIOBJ>(text.m_font)
                                                                : GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(context, text.m_text.GetString(), -1, &area, text.m_format);
    if (previous != nullptr && previous != HGDI_ERROR)
        SelectObject(context, previous);
}

// The panel inside area; its caption goes into textArea.
void DrawPanel(HDC context, const RECT& area, StructForDrawToHDC_UserInterface2& panel, const RECT& textArea)
{
    const int corner = panel.m_round_corners != 0 ? static_cast<int>(panel.m_corner_size) : 0;
    FillArea(context, area, panel.m_background.GetColorRef());
    const RECT outer = Inset(area, panel.m_horizontal_inset, panel.m_vertical_inset);
    DrawFrame(context, outer, panel.m_frame.GetColorRef(), corner);
    if (panel.m_draw_inner_frame != 0)
        DrawFrame(context, Inset(outer, panel.m_inner_inset, panel.m_inner_inset), panel.m_inner_frame.GetColorRef(),
                  corner);
    if (panel.m_text.m_text.GetLenString() > 0) {
        panel.m_text.m_fill_background = 0;
        DrawCaption(context, textArea, panel.m_text);
    }
}

} // namespace

void unifrgb::GetScaledColor(float factor, unifrgb* out) const
{
    if (out != nullptr)
        *out = unifrgb(ScaledChannel(m_red, factor), ScaledChannel(m_green, factor), ScaledChannel(m_blue, factor));
}

unifrgb unifrgb::operator+(const unifrgb& other) const
{
    return unifrgb(static_cast<uint8_t>(m_red + other.m_red), static_cast<uint8_t>(m_green + other.m_green),
                   static_cast<uint8_t>(m_blue + other.m_blue));
}

void unifrgb::BlendColors(const unifrgb& a, const unifrgb& b, float t, unifrgb* out)
{
    if (out == nullptr)
        return;
    unifrgb first, second;
    a.GetScaledColor(1.0f - t, &first);
    b.GetScaledColor(t, &second);
    *out = first + second;
}

InfoFontForDrawToHDC::~InfoFontForDrawToHDC()
{
    DeleteFont();
}

HRESULT InfoFontForDrawToHDC::DeleteFont()
{
    if (m_font != nullptr)
        DeleteObject(m_font);
    m_font = nullptr;
    return S_OK;
}

HRESULT FunctDrawRoundRectToHDC(HDC context, int width, int height, void* record, int recordSize)
{
    auto& panel = CheckedRecord<StructForDrawToHDC_UserInterface2>(record, recordSize);
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        const int32_t x = panel.m_text.m_x, y = panel.m_text.m_y;
        DrawPanel(context, {x, y, x + width, y + height}, panel, {x, y, width - x, height - y});
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT FunctDrawTextToHDC(HDC context, int width, int height, void* record, int recordSize)
{
    auto& text = CheckedRecord<InfoFontForDrawToHDC>(record, recordSize);
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        DrawCaption(context, {text.m_x, text.m_y, width - text.m_x, height - text.m_y}, text);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Each cell's caption stays inside its own cell.
HRESULT FunctDrawGridToHDC(HDC context, int width, int height, void* record, int recordSize)
{
    auto& grid = CheckedRecord<StructForDrawGridToHDC_UserInterface2>(record, recordSize);
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        if (grid.m_columns == 0 || grid.m_rows == 0)
            return E_FAIL;
        const int cellWidth = width / static_cast<int>(grid.m_columns);
        const int cellHeight = height / static_cast<int>(grid.m_rows);
        const int marginX = grid.m_horizontal_margin, marginY = grid.m_vertical_margin;
        FillArea(context, {marginX, marginY, width - marginX, height - marginY}, grid.m_cell.m_background.GetColorRef());
        for (uint32_t row = 0; row < grid.m_rows; ++row)
            for (uint32_t column = 0; column < grid.m_columns; ++column) {
                const int x = cellWidth * static_cast<int>(column) + marginX;
                const int y = cellHeight * static_cast<int>(row) + marginY;
                grid.m_cell.m_text.m_x = x;
                grid.m_cell.m_text.m_y = y;
                const RECT cell = {x, y, x + cellWidth, y + cellHeight};
                DrawPanel(context, cell, grid.m_cell, cell);
            }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The segments share the room between the margins; a remainder stays background at the far edges.
HRESULT FunctDrawSegmentsToHDC(HDC context, int width, int height, void* record, int recordSize)
{
    auto& segments = CheckedRecord<InfoSegmentsForDrawToHDC>(record, recordSize);
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        const int marginX = segments.m_horizontal_margin, marginY = segments.m_vertical_margin;
        const int innerWidth = width - 2 * marginX, innerHeight = height - 2 * marginY;
        if (segments.m_columns < 1 || segments.m_rows < 1 || marginX < 0 || marginY < 0 || innerWidth < 1 ||
            innerHeight < 1)
            return E_UNEXPECTED;
        StructForDrawToHDC_UserInterface2& look = segments.m_segment;
        FillArea(context, {0, 0, width, height}, look.m_background.GetColorRef());
        const int segmentWidth = innerWidth / segments.m_columns;
        const int segmentHeight = innerHeight / segments.m_rows;
        if (segmentWidth < 1 || segmentHeight < 1)
            return E_UNEXPECTED;
        for (int row = 0; row < segments.m_rows; ++row)
            for (int column = 0; column < segments.m_columns; ++column) {
                const int x = marginX + column * segmentWidth, y = marginY + row * segmentHeight;
                const RECT segment = {x, y, x + segmentWidth, y + segmentHeight};
                DrawPanel(context, segment, look, segment);
            }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT FunctDrawVerticalGradientToHDC(HDC context, int width, int height, void* record, int recordSize)
{
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        if (record == nullptr)
            return E_UNEXPECTED;
        const auto& gradient = CheckedRecord<StructForDrawGradientToHDC_UserInterface2>(record, recordSize);
        for (int y = 0; y < height; ++y) {
            // A single row takes the top colour.
            const float t = height > 1 ? static_cast<float>(y) / static_cast<float>(height - 1) : 0.0f;
            unifrgb colour;
            unifrgb::BlendColors(gradient.m_top, gradient.m_bottom, t, &colour);
            AutoGDIObject pen(CreatePen(PS_SOLID, gradient.m_pen_width, colour.GetColorRef()));
            ScopedSelection selection(context, pen.Get());
            MoveToEx(context, 0, y, nullptr);
            LineTo(context, width - 1, y);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT FunctFillRandomColorToHDC(HDC context, int width, int height, void*, int)
{
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        const uint8_t red = static_cast<uint8_t>(std::rand());
        const uint8_t green = static_cast<uint8_t>(std::rand());
        const uint8_t blue = static_cast<uint8_t>(std::rand());
        FillArea(context, {0, 0, width, height}, RGB(red, green, blue));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::FunctRandomeFillToHDC(HDC context, int width, int height, void*, int)
{
    try {
        LOG_TEXT("BaseUserInterface::FunctRandomeFillToHDC::begin");
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint8_t red = static_cast<uint8_t>(std::rand());
                const uint8_t green = static_cast<uint8_t>(std::rand());
                const uint8_t blue = static_cast<uint8_t>(std::rand());
                SetPixel(context, x, y, RGB(red, green, blue));
            }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT FunctDrawMarksToHDC(HDC context, int width, int height, int xStart, int endMargin, int centreRow, int pitch,
                            int markWidth, int markHeight)
{
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        if (xStart < 0 || endMargin < 0 || centreRow < 0 || centreRow > height || markWidth < 1 ||
            markWidth > pitch || pitch > width || markHeight < 1 || markHeight > height)
            return E_UNEXPECTED;
        const int half = markHeight / 2;
        const int last = (width - (xStart + endMargin)) / pitch;
        for (int i = 0; i <= last; ++i) {
            const int x = xStart + i * pitch;
            Rectangle(context, x, centreRow - half, x + markWidth, centreRow + half);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT FunctDrawBarsToHDC(HDC context, int width, int height, int xStart, int endMargin, int top, int bottomMargin,
                           int pitch, int barWidth)
{
    try {
        const HRESULT check = CheckContext(context, width, height);
        if (check != S_OK)
            return check;
        if (xStart < 0 || endMargin < 0 || top < 0 || bottomMargin < 0 || barWidth < 1 || barWidth > pitch)
            return E_UNEXPECTED;
        const int half = std::max(barWidth / 2, 1);
        const int last = (width - (xStart + endMargin)) / pitch;
        for (int i = 0; i <= last; ++i) {
            const int x = xStart + i * pitch;
            Rectangle(context, x - half, top, x + half, height - bottomMargin);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
