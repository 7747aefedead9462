// The desktop source on the virtual display: a topmost window covering the screen is painted
// with colours that tell each pixel's place, and the frames must show exactly those pixels.
#include "ObjectControlGraphStillSources.h"

#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kFrameHeld = InfoCallInterfaceDataPath1::kStateFrame;

constexpr int kDesktopModeWhole = 2;
constexpr int kDesktopModeAroundCursor = 4;

// Red the column / 8, green the row / 8, blue the column and row modulo 8.
COLORREF ColourAt(int x, int y)
{
    return RGB((x / 8) % 256, (y / 8) % 256, (x % 8) * 16 + (y % 8));
}

class PaintedScreen
{
public:
    PaintedScreen()
    {
        m_width = GetSystemMetrics(SM_CXSCREEN);
        m_height = GetSystemMetrics(SM_CYSCREEN);
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KorvaneDesktopSourceTestWindow";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, m_width,
                                   m_height, nullptr, nullptr, windowClass.hInstance, nullptr);
        UpdateWindow(m_window);
        Pump();
    }
    ~PaintedScreen()
    {
        DestroyWindow(m_window);
        UnregisterClassA("KorvaneDesktopSourceTestWindow", GetModuleHandleA(nullptr));
    }
    PaintedScreen(const PaintedScreen&) = delete;
    PaintedScreen& operator=(const PaintedScreen&) = delete;

    static void Pump()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Exists() const { return m_window != nullptr; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message != WM_PAINT)
            return DefWindowProcA(window, message, wParam, lParam);
        PAINTSTRUCT paint;
        HDC context = BeginPaint(window, &paint);
        RECT client;
        GetClientRect(window, &client);
        // One top-down 32-bit picture of the whole window, drawn at once.
        const int width = client.right, height = client.bottom;
        std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const COLORREF colour = ColourAt(x, y);
                pixels[static_cast<size_t>(y) * width + x] = GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
            }
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        SetDIBitsToDevice(context, 0, 0, width, height, 0, 0, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
        EndPaint(window, &paint);
        return 0;
    }

    int m_width = 0;
    int m_height = 0;
    HWND m_window = nullptr;
};

class DesktopSourceTest : public ::testing::Test
{
protected:
    HRESULT Capture(int mode, int width = 0, int height = 0)
    {
        m_description.m_type_driver = TypeSourceDesktop;
        m_description.m_type_desktop_capture_region = static_cast<uint32_t>(mode);
        m_description.m_media_type.m_bih.biWidth = width;
        m_description.m_media_type.m_bih.biHeight = height;
        m_frame.SetNULLFrame();
        return m_source.FillBufferForDesktopDriver(m_description, m_frame);
    }
    // Pixel (x, y) of the frame, y counted from the top.
    COLORREF FramePixel(int x, int y) const
    {
        const BYTE* at =
            m_frame.m_data + static_cast<size_t>(m_frame.m_stride) * (m_frame.m_info.m_bih.biHeight - 1 - y) + 3 * x;
        return RGB(at[2], at[1], at[0]);
    }
    // Whether the frame shows the screen from (left, top) at a few spread points.
    ::testing::AssertionResult ShowsScreenFrom(int left, int top) const
    {
        const int width = m_frame.m_info.m_bih.biWidth, height = m_frame.m_info.m_bih.biHeight;
        for (int y : {0, 1, height / 2, height - 1})
            for (int x : {0, 7, width / 3, width - 1})
                if (FramePixel(x, y) != ColourAt(left + x, top + y))
                    return ::testing::AssertionFailure() << "frame pixel " << x << "," << y << " is " << std::hex
                                                         << FramePixel(x, y) << ", screen "
                                                         << ColourAt(left + x, top + y);
        return ::testing::AssertionSuccess();
    }

    PaintedScreen m_screen;
    InfoNeedInterface m_description;
    DesktopSource m_source;
    InfoDataBufferPath1 m_frame{false};
};

TEST_F(DesktopSourceTest, TheWholeDesktopIsOneFrame)
{
    ASSERT_TRUE(m_screen.Exists());
    ASSERT_EQ(S_OK, Capture(kDesktopModeWhole));
    EXPECT_EQ(m_screen.Width(), m_frame.m_info.m_bih.biWidth);
    EXPECT_EQ(m_screen.Height(), m_frame.m_info.m_bih.biHeight);
    EXPECT_EQ((3 * m_screen.Width() + 3) & ~3, m_frame.m_stride);
    EXPECT_EQ(m_frame.m_stride * m_screen.Height(), m_frame.m_size_data);
    EXPECT_EQ(kFrameHeld, m_frame.m_info.m_state);
    EXPECT_TRUE(IsEqualGUID(media_guids::MEDIASUBTYPE_RGB24, m_frame.m_info.m_subtype));
    EXPECT_EQ(24, m_frame.m_info.m_bih.biBitCount);
    EXPECT_TRUE(ShowsScreenFrom(0, 0));
}

TEST_F(DesktopSourceTest, ARegionFollowsTheCursorInsideTheDesktop)
{
    ASSERT_TRUE(m_screen.Exists());
    constexpr int kWidth = 320, kHeight = 240;
    const int right = m_screen.Width() - 1, bottom = m_screen.Height() - 1;
    const struct
    {
        POINT cursor;
        POINT origin;
    } cases[] = {
        {{0, 0}, {0, 0}},
        {{right, bottom}, {right + 1 - kWidth, bottom + 1 - kHeight}},
        {{500, 400}, {500 - kWidth / 2, 400 - kHeight / 2}},
        {{10, bottom}, {0, bottom + 1 - kHeight}},
    };
    for (const auto& testCase : cases) {
        ASSERT_TRUE(SetCursorPos(testCase.cursor.x, testCase.cursor.y));
        ASSERT_EQ(S_OK, Capture(kDesktopModeAroundCursor, kWidth, kHeight));
        EXPECT_EQ(kWidth, m_frame.m_info.m_bih.biWidth);
        EXPECT_EQ(kHeight, m_frame.m_info.m_bih.biHeight);
        EXPECT_TRUE(ShowsScreenFrom(testCase.origin.x, testCase.origin.y))
            << "cursor " << testCase.cursor.x << "," << testCase.cursor.y;
    }
    EXPECT_EQ(E_UNEXPECTED, Capture(kDesktopModeAroundCursor, 0, kHeight));
}

} // namespace
