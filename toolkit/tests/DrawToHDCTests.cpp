// The GDI drawings of widget layers, read back from a 32-bit memory picture.
#include "BaseUserInterface.h"
#include "DrawToHDCUserInterface2.h"
#include "TestCanvas.h"

#include "g_managment_mem.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Black = 0x000000;
constexpr uint32_t Grey = 0x646464;

struct Probe
{
    int x, y;
    uint32_t colour;
};

void ExpectPixels(const Canvas& canvas, std::initializer_list<Probe> probes)
{
    for (const Probe& probe : probes)
        EXPECT_EQ(canvas.Pixel(probe.x, probe.y), probe.colour) << probe.x << "," << probe.y;
}

HRESULT DrawThroughPlanes(DrawToContextFunction draw, void* record, int size)
{
    SWORD* planes[3] = {};
    int stride = 0, capacity = 0;
    const HRESULT result = ConvertRGB32toR16G16B16Format(rgb32_to_r16g16b16_c, &planes[0], &planes[1], &planes[2], 20,
                                                         10, &stride, &capacity, draw, record, size);
    for (SWORD*& plane : planes)
        SAFE_TASK_FREE(&plane);
    return result;
}

} // namespace

TEST(DrawToHDC, DefaultPanelAndInsets)
{
    StructForDrawToHDC_UserInterface2 panel;
    Canvas plain(40, 30, RGB(9, 9, 9));
    ASSERT_EQ(FunctDrawRoundRectToHDC(plain.Context(), 40, 30, &panel, sizeof(panel)), S_OK);
    ExpectPixels(plain, {{0, 0, White}, {39, 29, White}, {3, 15, White}, {4, 15, Grey}, {35, 25, Grey},
                         {36, 15, White}, {20, 26, White}});

    panel.m_vertical_inset = 2;
    panel.m_horizontal_inset = 2;
    Canvas inset(40, 30, RGB(9, 9, 9));
    ASSERT_EQ(FunctDrawRoundRectToHDC(inset.Context(), 40, 30, &panel, sizeof(panel)), S_OK);
    ExpectPixels(inset, {{0, 0, Black}, {1, 15, Black}, {2, 2, White}, {5, 15, White}, {6, 6, Grey},
                         {37, 27, White}, {38, 28, Black}});
}

TEST(DrawToHDC, RecordsOfAnotherSizeAreRefused)
{
    StructForDrawToHDC_UserInterface2 panel;
    EXPECT_EQ(DrawThroughPlanes(FunctDrawRoundRectToHDC, &panel, 88), S_OK);
    EXPECT_EQ(DrawThroughPlanes(FunctDrawRoundRectToHDC, &panel, 87), E_FAIL);
    EXPECT_EQ(DrawThroughPlanes(FunctDrawRoundRectToHDC, &panel, 89), E_FAIL);
    EXPECT_EQ(DrawThroughPlanes(FunctDrawRoundRectToHDC, nullptr, 88), E_FAIL);
    InfoFontForDrawToHDC text;
    EXPECT_EQ(DrawThroughPlanes(FunctDrawTextToHDC, &text, sizeof(text) + 1), E_FAIL);
    StructForDrawGridToHDC_UserInterface2 grid;
    EXPECT_EQ(DrawThroughPlanes(FunctDrawGridToHDC, &grid, sizeof(grid) - 1), E_FAIL);

    Canvas canvas(4, 4);
    EXPECT_EQ(FunctDrawRoundRectToHDC(nullptr, 4, 4, &panel, sizeof(panel)), E_INVALIDARG);
    EXPECT_EQ(FunctDrawRoundRectToHDC(canvas.Context(), 0, 4, &panel, sizeof(panel)), E_UNEXPECTED);
    EXPECT_EQ(FunctFillRandomColorToHDC(canvas.Context(), 4, -1, nullptr, 0), E_UNEXPECTED);
}

TEST(DrawToHDC, ColourArithmeticKeepsTheLowByte)
{
    unifrgb scaled;
    unifrgb(200, 100, 50).GetScaledColor(1.5f, &scaled);
    EXPECT_EQ(scaled.GetColorRef(), RGB(44, 150, 75));
    unifrgb blended;
    unifrgb::BlendColors(unifrgb(200, 0, 100), unifrgb(0, 200, 100), 0.25f, &blended);
    EXPECT_EQ(blended.GetColorRef(), RGB(150, 50, 100));
}

TEST(DrawToHDC, GridCellsAndRemainder)
{
    StructForDrawGridToHDC_UserInterface2 grid;
    Canvas canvas(40, 20);
    EXPECT_EQ(FunctDrawGridToHDC(canvas.Context(), 40, 20, &grid, sizeof(grid)), E_FAIL);
    grid.m_columns = 3;
    grid.m_rows = 2;
    grid.m_cell.m_background = unifrgb(10, 20, 30);
    grid.m_cell.m_draw_inner_frame = 0;
    grid.m_cell.m_horizontal_inset = 1;
    ASSERT_EQ(FunctDrawGridToHDC(canvas.Context(), 40, 20, &grid, sizeof(grid)), S_OK);
    // Cells of 13 x 10 with a background column at each side; column 39 is left over.
    ExpectPixels(canvas, {{0, 0, 0x0A141E}, {1, 0, White}, {11, 9, White}, {12, 5, 0x0A141E}, {13, 5, 0x0A141E},
                          {14, 15, White}, {39, 5, 0x0A141E}, {39, 15, 0x0A141E}});

    // Every cell's caption lands inside that cell: red text on black cells.
    StructForDrawGridToHDC_UserInterface2 captions;
    captions.m_columns = 2;
    captions.m_rows = 1;
    captions.m_cell.m_frame = unifrgb(0, 0, 0);
    captions.m_cell.m_draw_inner_frame = 0;
    captions.m_cell.m_text.m_text = "Wide";
    captions.m_cell.m_text.m_text_color = RGB(255, 0, 0);
    Canvas cells(120, 20);
    ASSERT_EQ(FunctDrawGridToHDC(cells.Context(), 120, 20, &captions, sizeof(captions)), S_OK);
    int redInSecond = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 60; x < 120; ++x)
            redInSecond += cells.Pixel(x, y) == 0xFF0000 ? 1 : 0;
    EXPECT_GT(redInSecond, 0);
}

TEST(DrawToHDC, GradientRowsRunFromTopToBottomColour)
{
    StructForDrawGradientToHDC_UserInterface2 gradient;
    gradient.m_top = unifrgb(255, 0, 0);
    gradient.m_bottom = unifrgb(0, 0, 255);
    Canvas canvas(8, 10);
    EXPECT_EQ(FunctDrawVerticalGradientToHDC(canvas.Context(), 8, 10, nullptr, 0), E_UNEXPECTED);
    ASSERT_EQ(FunctDrawVerticalGradientToHDC(canvas.Context(), 8, 10, &gradient, sizeof(gradient)), S_OK);
    ExpectPixels(canvas, {{0, 0, 0xFF0000}, {6, 0, 0xFF0000}, {0, 9, 0x0000FF}, {6, 9, 0x0000FF}});
    Canvas row(8, 1);
    ASSERT_EQ(FunctDrawVerticalGradientToHDC(row.Context(), 8, 1, &gradient, sizeof(gradient)), S_OK);
    ExpectPixels(row, {{3, 0, 0xFF0000}});
}

TEST(DrawToHDC, MarksAndBarsIncludeTheLastPosition)
{
    Canvas canvas(40, 20);
    SelectObject(canvas.Context(), GetStockObject(BLACK_BRUSH));
    SelectObject(canvas.Context(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(FunctDrawMarksToHDC(canvas.Context(), 40, 20, 0, 0, 10, 41, 2, 4), E_UNEXPECTED);
    EXPECT_EQ(FunctDrawMarksToHDC(canvas.Context(), 40, 20, 0, 0, 21, 10, 2, 4), E_UNEXPECTED);
    // Marks at 2, 12, 22 and 32, rows 8 to 11.
    ASSERT_EQ(FunctDrawMarksToHDC(canvas.Context(), 40, 20, 2, 0, 10, 10, 3, 4), S_OK);
    ExpectPixels(canvas, {{2, 8, Black}, {4, 9, Black}, {5, 9, White}, {32, 8, Black}, {34, 9, Black},
                          {35, 8, White}, {2, 11, Black}, {2, 12, White}, {2, 7, White}});

    Canvas bars(40, 20);
    SelectObject(bars.Context(), GetStockObject(BLACK_BRUSH));
    SelectObject(bars.Context(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(FunctDrawBarsToHDC(bars.Context(), 40, 20, 0, 0, 0, 0, 4, 5), E_UNEXPECTED);
    // Bars of 4 pixels centred on 5, 15, 25 and 35, rows 2 to 16.
    ASSERT_EQ(FunctDrawBarsToHDC(bars.Context(), 40, 20, 5, 0, 2, 3, 10, 4), S_OK);
    ExpectPixels(bars, {{3, 2, Black}, {6, 16, Black}, {7, 10, White}, {33, 10, Black}, {36, 10, Black},
                        {37, 10, White}, {35, 1, White}, {35, 17, White}});
}

TEST(DrawToHDC, CaptionBackgroundAndNoise)
{
    InfoFontForDrawToHDC text;
    text.m_x = 5;
    text.m_y = 5;
    Canvas canvas(40, 30);
    ASSERT_EQ(FunctDrawTextToHDC(canvas.Context(), 40, 30, &text, sizeof(text)), S_OK);
    ExpectPixels(canvas, {{4, 5, White}, {5, 5, Black}, {34, 24, Black}, {35, 24, White}});

    Canvas noise(16, 16);
    ASSERT_EQ(BaseUserInterface::FunctRandomeFillToHDC(noise.Context(), 16, 16, nullptr, 0), S_OK);
    int differing = 0;
    for (int x = 1; x < 16; ++x)
        differing += noise.Pixel(x, 3) != noise.Pixel(0, 3) ? 1 : 0;
    EXPECT_GT(differing, 10);
}
