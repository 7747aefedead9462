#include "TestWidget.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t Side = 64;
// A corner of the display no other test program shows a window in.
constexpr int32_t ScreenLeft = 1100;
constexpr int32_t ScreenTop = 860;

constexpr uint32_t Red = 0xFF0000;
constexpr uint32_t Green = 0x00FF00;
constexpr uint32_t Blue = 0x0000FF;
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Yellow = 0xFFFF00;
constexpr uint32_t Cyan = 0x00FFFF;
constexpr uint32_t Black = 0x000000;

// Four horizontal bands of Side / 4 rows, top first.
std::vector<uint32_t> Bands(const uint32_t (&colours)[4])
{
    std::vector<uint32_t> pixels(Side * Side);
    for (int32_t y = 0; y < Side; ++y)
        for (int32_t x = 0; x < Side; ++x)
            pixels[y * Side + x] = colours[y / (Side / 4)];
    return pixels;
}

// Paints what is invalid and waits until the screen shows the expected pixels (at most 5 s).
std::vector<uint32_t> PaintAndCapture(HWND window, const std::vector<uint32_t>& expected)
{
    std::vector<uint32_t> shown;
    for (int attempt = 0; attempt < 100; ++attempt) {
        UpdateWindow(window);
        PumpPending();
        shown = ScreenPixels(ScreenLeft, ScreenTop, Side, Side);
        if (shown == expected)
            break;
        Sleep(50);
    }
    return shown;
}

} // namespace

TEST(WidgetPaint, PictureShowsWholeAndAnUncoveredLowerPartIsRedrawn)
{
    HookRecord record;
    TestWidget widget(record);
    ASSERT_EQ(widget.CreateObject(), S_OK);
    ASSERT_EQ(widget.MoveObject(ScreenLeft, ScreenTop, Side, Side), S_OK);
    SetWindowPos(widget.m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const std::vector<uint32_t> first = Bands({Red, Green, Blue, White});
    widget.SetFinalPicture(first);
    ASSERT_EQ(widget.ControlStatObjectShow(1, 1), S_OK);
    InvalidateRect(widget.m_window, nullptr, FALSE);
    EXPECT_EQ(PaintAndCapture(widget.m_window, first), first);

    // The whole picture changes, only its lower half is invalidated: only that half is drawn anew.
    widget.SetFinalPicture(Bands({Black, Black, Yellow, Cyan}));
    const RECT lowerHalf = {0, Side / 2, Side, Side};
    InvalidateRect(widget.m_window, &lowerHalf, FALSE);
    EXPECT_EQ(PaintAndCapture(widget.m_window, Bands({Red, Green, Yellow, Cyan})), Bands({Red, Green, Yellow, Cyan}));
}
