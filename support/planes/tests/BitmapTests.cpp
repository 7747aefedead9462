// Device contexts and bitmaps under Wine: context copies in each depth, a window's client area
// saved as a BMP file and loaded back into planes, malformed BMP files refused without touching
// the planes, drawings converted into planes, and the drawing helpers.
#include "FunctLoadBMP32FileToR16G16B16Format.h"
#include "FunctWorkWithHDC.h"
#include "LogCapture.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A 32-bit top-down DIB section selected into a memory context, for drawing and reading pixels.
class DibContext
{
public:
    DibContext(int width, int height) : m_width(width), m_context(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap = CreateDIBSection(m_context, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pixels), nullptr, 0);
        m_previous = SelectObject(m_context, m_bitmap);
    }
    ~DibContext()
    {
        SelectObject(m_context, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_context);
    }
    HDC Get() const { return m_context; }
    // Pixel as 0x00RRGGBB.
    uint32_t At(int x, int y) const
    {
        GdiFlush();
        return m_pixels[static_cast<size_t>(y) * m_width + x] & 0xFFFFFF;
    }
    void Fill(int left, int top, int right, int bottom, COLORREF colour) const
    {
        RECT rect{left, top, right, bottom};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(m_context, &rect, brush);
        DeleteObject(brush);
    }

private:
    int m_width;
    HDC m_context;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    uint32_t* m_pixels = nullptr;
};

// ---- Context copies -------------------------------------------------------------------------

TEST(ConvertHDCtoRGB24, DepthsStridesAndRowOrder)
{
    DibContext dib(3, 2);
    dib.Fill(0, 0, 3, 1, RGB(10, 20, 30));  // top row
    dib.Fill(0, 1, 3, 2, RGB(200, 100, 50)); // bottom row
    struct Case
    {
        int bits;
        bool topDown;
        int stride;
    };
    for (const Case& c : {Case{24, false, 12}, Case{24, true, 12}, Case{32, false, 12}, Case{16, true, 8}}) {
        SCOPED_TRACE(std::to_string(c.bits) + (c.topDown ? " top-down" : " bottom-up"));
        MemoryBlockClass<BYTE> pixels;
        DWORD size = 99;
        int width = 0, height = 0, stride = 0;
        ASSERT_EQ(S_OK, ConvertHDCtoRGB24(dib.Get(), pixels, c.bits, &size, &width, &height, &stride, c.topDown));
        EXPECT_EQ(c.stride, stride);
        EXPECT_EQ(static_cast<DWORD>(c.stride * 2), size);
        EXPECT_EQ(3, width);
        EXPECT_EQ(2, height);
        const BYTE* first = pixels.GetData() + (c.topDown ? 0 : c.stride);
        if (c.bits == 16) {
            const uint16_t word = static_cast<uint16_t>(first[0] | first[1] << 8);
            EXPECT_EQ((10 >> 3) << 10 | (20 >> 3) << 5 | (30 >> 3), word);
        } else {
            EXPECT_EQ(30, first[0]);
            EXPECT_EQ(20, first[1]);
            EXPECT_EQ(10, first[2]);
        }
    }
}

TEST(ConvertHDCtoRGB24, RefusesBadArguments)
{
    DibContext dib(4, 4);
    MemoryBlockClass<BYTE> pixels;
    DWORD size = 7;
    int stride = 0;
    EXPECT_EQ(E_FAIL, ConvertHDCtoRGB24(nullptr, pixels, 24, &size, nullptr, nullptr, &stride, false));
    EXPECT_EQ(E_FAIL, ConvertHDCtoRGB24(dib.Get(), pixels, 8, &size, nullptr, nullptr, &stride, false));
    EXPECT_EQ(E_FAIL, ConvertHDCtoRGB24(dib.Get(), pixels, 24, nullptr, nullptr, nullptr, &stride, false));
    EXPECT_EQ(0u, pixels.GetSize());
}

// ---- BMP files ------------------------------------------------------------------------------

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

template <class T>
T ReadAt(const std::string& bytes, size_t offset)
{
    T value{};
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

struct Planes
{
    ~Planes()
    {
        for (SWORD** plane : {&r, &g, &b})
            SAFE_TASK_FREE(plane);
    }
    HRESULT Load(const std::string& path, Rgb32ToPlanesFunction convert = rgb32_to_r16g16b16_sse,
                 UnifSwordFunction mirror = YMirror_function_sse2)
    {
        return LoadBMP32FileToR16G16B16Format(convert, mirror, DynamicString(path.c_str()), &r, &g, &b, &width,
                                              &height, &stride, 16, &capacity);
    }
    // 0x00RRGGBB of the planes' pixel.
    uint32_t At(int x, int y) const
    {
        const size_t i = static_cast<size_t>(y) * stride / 2 + x;
        return static_cast<uint32_t>(r[i]) << 16 | static_cast<uint32_t>(g[i]) << 8 | static_cast<uint32_t>(b[i]);
    }
    SWORD *r = nullptr, *g = nullptr, *b = nullptr;
    int width = 0, height = 0, stride = 0, capacity = 0;
};

// A popup window whose client area shows four coloured quadrants.
constexpr COLORREF kQuadrants[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};

LRESULT CALLBACK QuadrantProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right / 2, h = client.bottom / 2;
    for (int i = 0; i < 4; ++i) {
        RECT quadrant{(i % 2) * w, (i / 2) * h, (i % 2) * w + w, (i / 2) * h + h};
        HBRUSH brush = CreateSolidBrush(kQuadrants[i]);
        FillRect(context, &quadrant, brush);
        DeleteObject(brush);
    }
    EndPaint(window, &paint);
    return 0;
}

uint32_t ToRgbWord(COLORREF colour)
{
    return static_cast<uint32_t>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

TEST(BmpFiles, WindowSavedAsBmpLoadsBackIntoPlanes)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = QuadrantProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KorvaneBitmapTestWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, 40, 40, 62, 46, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    UpdateWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);

    TempFolder folder;
    const std::string saved = folder / "window.bmp";
    ASSERT_EQ(S_OK, SaveWindowToBMPFile(window, DynamicString(saved.c_str())));
    DestroyWindow(window);
    UnregisterClassA(windowClass.lpszClassName, windowClass.hInstance);

    // The layout of the file.
    const std::string bytes = ReadAll(saved);
    const int width = 62, height = 46, stride = (3 * width + 3) & ~3;
    ASSERT_EQ(static_cast<size_t>(58 + stride * height), bytes.size());
    EXPECT_EQ("BM", bytes.substr(0, 2));
    EXPECT_EQ(bytes.size(), ReadAt<uint32_t>(bytes, 2));
    EXPECT_EQ(58u, ReadAt<uint32_t>(bytes, 10));
    EXPECT_EQ(40u, ReadAt<uint32_t>(bytes, 14));
    EXPECT_EQ(width, ReadAt<int32_t>(bytes, 18));
    EXPECT_EQ(height, ReadAt<int32_t>(bytes, 22));
    EXPECT_EQ(24, ReadAt<uint16_t>(bytes, 28));
    EXPECT_EQ(static_cast<uint32_t>(stride * height), ReadAt<uint32_t>(bytes, 34));
    EXPECT_EQ(0u, ReadAt<uint32_t>(bytes, 54));

    // Its pixels, top row first, as a 32-bit BMP stored both ways, back through the loader.
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t at = 58 + static_cast<size_t>(height - 1 - y) * stride + 3 * x;
            pixels[static_cast<size_t>(y) * width + x] =
                static_cast<BYTE>(bytes[at]) | static_cast<BYTE>(bytes[at + 1]) << 8 |
                static_cast<BYTE>(bytes[at + 2]) << 16;
        }
    for (int i = 0; i < 4; ++i) {
        const int x = (i % 2) * (width / 2) + 5, y = (i / 2) * (height / 2) + 5;
        EXPECT_EQ(ToRgbWord(kQuadrants[i]), pixels[static_cast<size_t>(y) * width + x]) << "quadrant " << i;
    }
    for (bool bottomUp : {true, false}) {
        SCOPED_TRACE(bottomUp ? "bottom row first" : "top row first");
        const std::string path = folder / (bottomUp ? "up.bmp" : "down.bmp");
        std::ofstream(path, std::ios::binary) << MakeBmp32(width, height, pixels, bottomUp);
        Planes planes;
        ASSERT_EQ(S_OK, planes.Load(path));
        EXPECT_EQ(width, planes.width);
        EXPECT_EQ(height, planes.height);
        EXPECT_EQ(GetSwordPlaneStride(width), planes.stride);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(pixels[static_cast<size_t>(y) * width + x], planes.At(x, y)) << x << "," << y;
    }
}

int g_seenSourceStride = 0;
HRESULT RecordingConversion(const BYTE* source, SWORD** r, SWORD** g, SWORD** b, int* capacity, int sourceStride,
                            int* planeStride, int width, int height)
{
    g_seenSourceStride = sourceStride;
    return rgb32_to_r16g16b16_c(source, r, g, b, capacity, sourceStride, planeStride, width, height);
}

TEST(BmpFiles, OddWidthIsRealignedAndNullFunctionsWarn)
{
    TempFolder folder;
    const std::vector<uint32_t> pixels = {0x010203, 0x040506, 0x070809, 0x0A0B0C, 0x0D0E0F,
                                          0x101112, 0x131415, 0x161718, 0x191A1B, 0x1C1D1E};
    const std::string path = folder / "five.bmp";
    std::ofstream(path, std::ios::binary) << MakeBmp32(5, 2, pixels, true, 138);
    Planes realigned;
    ASSERT_EQ(S_OK, realigned.Load(path, RecordingConversion));
    EXPECT_EQ(32, g_seenSourceStride);
    EXPECT_EQ(0x0D0E0Fu, realigned.At(4, 0));
    EXPECT_EQ(0x101112u, realigned.At(0, 1));

    LogCapture log;
    Planes plain;
    ASSERT_EQ(S_OK, plain.Load(path, nullptr, nullptr));
    EXPECT_TRUE(log.Contains("Warning - try using slow convertion function"));
    EXPECT_TRUE(log.Contains("Warning - try using default mirror function"));
    EXPECT_EQ(0x1C1D1Eu, plain.At(4, 1));
}

TEST(BmpFiles, MalformedFilesAreRefusedAndThePlanesUntouched)
{
    TempFolder folder;
    for (const NamedBmpFile& c : MalformedBmp32Files()) {
        SCOPED_TRACE(c.name);
        const std::string path = folder / c.name;
        std::ofstream(path, std::ios::binary) << c.bytes;
        LogCapture log;
        Planes planes;
        EXPECT_EQ(E_FAIL, planes.Load(path));
        EXPECT_TRUE(log.Contains(c.name));
        EXPECT_EQ(nullptr, planes.r);
        EXPECT_EQ(0, planes.capacity);
        EXPECT_EQ(0, planes.width);
    }
    Planes missing;
    EXPECT_EQ(E_FAIL, missing.Load(folder / "missing.bmp"));
    SWORD* plane = nullptr;
    int value = 0;
    EXPECT_EQ(E_INVALIDARG, LoadBMP32FileToR16G16B16Format(nullptr, nullptr, DynamicString("x"), &plane, &plane,
                                                           nullptr, &value, &value, &value, 16, &value));
    EXPECT_EQ(E_UNEXPECTED, LoadBMP32FileToR16G16B16Format(nullptr, nullptr, DynamicString("x"), &plane, &plane,
                                                           &plane, &value, &value, &value, -1, &value));
}

TEST(BmpFiles, LargerInformationHeadersLoadFromThePixelOffset)
{
    TempFolder folder;
    const std::string path = folder / "v5.bmp";
    std::ofstream(path, std::ios::binary) << MakeBmp32WithV5Header(2, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0}, true);
    Planes planes;
    ASSERT_EQ(S_OK, planes.Load(path));
    EXPECT_EQ(0x102030u, planes.At(0, 0));
    EXPECT_EQ(0xA0B0C0u, planes.At(1, 1));
}

// A narrow picture whose rows, widened to the 16-byte stride of the conversions, no longer fit in
// 32 bits although the file's own rows do: refused before the gigabyte of pixels is read.
TEST(BmpFiles, PictureWhoseAlignedRowsExceedTheLimitIsRefusedBeforeReading)
{
    TempFolder folder;
    const int height = (1 << 28) + 1;
    std::string header = MakeBmp32(1, 1, {0}, true).substr(0, 54);
    std::memcpy(&header[22], &height, sizeof(height));
    const std::string path = folder / "narrow-and-tall.bmp";
    std::ofstream(path, std::ios::binary) << header;
    // The pixel rows exist as a sparse tail, so the file-size check passes.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    LARGE_INTEGER end;
    end.QuadPart = 54 + 4ll * height;
    EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);

    LogCapture log;
    Planes planes;
    EXPECT_EQ(E_FAIL, planes.Load(path));
    EXPECT_TRUE(log.Contains("picture too large"));
    EXPECT_EQ(nullptr, planes.r);
}

// ---- Drawing into planes --------------------------------------------------------------------

TEST(DrawingToPlanes, TestDrawingFillsPlanesOfTheRuleSize)
{
    Planes planes;
    ASSERT_EQ(S_OK, ConvertRGB32toR16G16B16Format(rgb32_to_r16g16b16_sse, &planes.r, &planes.g, &planes.b, 100, 90,
                                                  &planes.stride, &planes.capacity, nullptr, nullptr, 0));
    EXPECT_EQ(GetSwordPlaneStride(100), planes.stride);
    EXPECT_EQ(GetSwordPlaneStride(100) * 90, planes.capacity);
    EXPECT_EQ(0x000000u, planes.At(0, 0));
    EXPECT_EQ(0x00FF00u, planes.At(21, 21));

    Planes small;
    ASSERT_EQ(S_OK, ConvertRGB32toR16G16B16Format(rgb32_to_r16g16b16_c, &small.r, &small.g, &small.b, 10, 40,
                                                  &small.stride, &small.capacity, nullptr, nullptr, 0));
    EXPECT_EQ(32, small.stride);
    EXPECT_EQ(32 * 40, small.capacity);
    EXPECT_EQ(E_UNEXPECTED, ConvertRGB32toR16G16B16Format(rgb32_to_r16g16b16_c, &small.r, &small.g, &small.b, 0, 40,
                                                          &small.stride, &small.capacity, nullptr, nullptr, 0));
}

// The drawing surface is kept between drawings: each one still starts from black, and a larger
// one after a smaller one is drawn whole.
TEST(DrawingToPlanes, EachDrawingStartsFromBlackWhateverCameBefore)
{
    const auto white = [](HDC context, int width, int height, void*, int) -> HRESULT {
        const RECT all = {0, 0, width, height};
        FillRect(context, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return S_OK;
    };
    const auto nothing = [](HDC, int, int, void*, int) -> HRESULT { return S_OK; };
    struct Case
    {
        DrawToContextFunction draw;
        int width;
        int height;
        uint32_t expected;
    };
    const Case cases[] = {{white, 40, 10, 0xFFFFFF}, {nothing, 20, 30, 0x000000}, {white, 300, 200, 0xFFFFFF},
                          {nothing, 300, 200, 0x000000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        Planes planes;
        ASSERT_EQ(S_OK, ConvertRGB32toR16G16B16Format(rgb32_to_r16g16b16_c, &planes.r, &planes.g, &planes.b, c.width,
                                                      c.height, &planes.stride, &planes.capacity, c.draw, nullptr, 0));
        EXPECT_EQ(c.expected, planes.At(0, 0));
        EXPECT_EQ(c.expected, planes.At(c.width - 1, c.height - 1));
    }
}

// ---- Drawing helpers ------------------------------------------------------------------------

TEST(DrawingHelpers, AlphaBlendWithCheck)
{
    DibContext destination(4, 4), source(4, 4);
    destination.Fill(0, 0, 4, 4, RGB(0, 0, 0));
    source.Fill(0, 0, 4, 4, RGB(255, 255, 255));
    const DWORD opaque = 255u << 16, transparent = 0;
    EXPECT_FALSE(AlphaBlendWithCheck(nullptr, 0, 0, 4, 4, source.Get(), 0, 0, 4, 4, opaque));
    EXPECT_TRUE(AlphaBlendWithCheck(destination.Get(), 0, 0, 4, 4, source.Get(), 0, 0, 4, 4, transparent));
    EXPECT_EQ(0u, destination.At(1, 1));
    LogCapture log;
    EXPECT_TRUE(AlphaBlendWithCheck(destination.Get(), 0, 0, 4, 4, source.Get(), 0, 0, 2, 2, opaque, "blend label"));
    EXPECT_TRUE(log.Contains("blend label"));
    EXPECT_EQ(0xFFFFFFu, destination.At(1, 1));
}

TEST(DrawingHelpers, VerticalGradientSaturatesAtTheEndColour)
{
    DibContext dib(8, 12);
    dib.Fill(0, 0, 8, 12, RGB(1, 2, 3));
    RECT rect{0, 0, 8, 10};
    EXPECT_EQ(S_OK, DrawVerticalGradientToHDC(dib.Get(), 1, &rect, RGB(0, 0, 0), RGB(250, 0, 100), true));
    EXPECT_EQ(0x19000Au, dib.At(3, 0)); // the step is added before the first row: 25, 0, 10
    EXPECT_EQ(0xFA0064u, dib.At(3, 9));
    EXPECT_EQ(0xFF006Eu, dib.At(3, 10)); // one step past the end: red saturates at 255 instead of wrapping
    EXPECT_EQ(0x010203u, dib.At(3, 11));

    RECT empty{0, 11, 8, 11};
    EXPECT_EQ(S_OK, DrawVerticalGradientToHDC(dib.Get(), 1, &empty, RGB(9, 9, 9), RGB(9, 9, 9), true));
    EXPECT_EQ(0x010203u, dib.At(3, 11));
    EXPECT_EQ(S_OK, DrawVerticalGradientToHDC(dib.Get(), 1, &rect, 0, 0, false));
    EXPECT_EQ(0xC0C0C0u, dib.At(3, 3));
}

TEST(DrawingHelpers, RectangleClamps)
{
    RectPositionSize size{-5, 3, 4, 20};
    CorrectRectMinSize(&size);
    EXPECT_EQ(0, size.x);
    EXPECT_EQ(3, size.y);
    EXPECT_EQ(10, size.width);
    EXPECT_EQ(20, size.height);
    RECT extent{-1, 5, 30, 9};
    CorrectRectMinExtent(&extent);
    EXPECT_EQ(0, extent.left);
    EXPECT_EQ(5, extent.top);
    EXPECT_EQ(30, extent.right);
    EXPECT_EQ(15, extent.bottom);
}

} // namespace
