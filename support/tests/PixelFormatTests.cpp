#include "FunctWorkWithHWND.h"
#include "LogCapture.h"
#include "sys_funct1.h"

#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

using namespace media_guids;

TEST(PixelFormat, BytesPerPixelAndPlanarClassOfEverySubtype)
{
    struct Case
    {
        const char* name;
        GUID subtype;
        uint32_t bytesPerPixel;
        HRESULT notPlanar;
    };
    const Case cases[] = {
        {"YUY2", MEDIASUBTYPE_YUY2, 2, S_FALSE},     {"YVYU", MEDIASUBTYPE_YVYU, 2, S_FALSE},
        {"YUYV", MEDIASUBTYPE_YUYV, 2, S_FALSE},     {"UYVY", MEDIASUBTYPE_UYVY, 2, S_FALSE},
        {"RGB555", MEDIASUBTYPE_RGB555, 2, S_FALSE}, {"RGB565", MEDIASUBTYPE_RGB565, 2, S_FALSE},
        {"RGB8", MEDIASUBTYPE_RGB8, 1, S_FALSE},     {"Y8", FourccSubtype('Y', '8', ' ', ' '), 1, S_FALSE},
        {"RGB24", MEDIASUBTYPE_RGB24, 3, S_FALSE},   {"RGB32", MEDIASUBTYPE_RGB32, 4, S_FALSE},
        {"I420", FourccSubtype('I', '4', '2', '0'), 2, S_OK},
        {"IYUV", MEDIASUBTYPE_IYUV, 2, S_OK},        {"YV12", MEDIASUBTYPE_YV12, 2, S_OK},
    };
    LogCapture log;
    for (const Case& c : cases) {
        EXPECT_EQ(GetBytesPerPixelFromSubtype(c.subtype), c.bytesPerPixel) << c.name;
        EXPECT_EQ(IsNotPlanarYUVFormat(c.subtype), c.notPlanar) << c.name;
    }
    EXPECT_TRUE(log.Lines().empty());

    // YVU9 is planar but has no size class of its own.
    EXPECT_EQ(IsNotPlanarYUVFormat(MEDIASUBTYPE_YVU9), S_OK);
    for (const GUID& unknown : {MEDIASUBTYPE_MJPG, MEDIASUBTYPE_YVU9, GUID{}}) {
        log.Clear();
        EXPECT_EQ(GetBytesPerPixelFromSubtype(unknown), 4u);
        EXPECT_EQ(log.Lines().size(), 1u);
        EXPECT_EQ(IsNotPlanarYUVFormat(MEDIASUBTYPE_MJPG), S_FALSE);
    }
}

TEST(PixelFormat, GetCountDigits)
{
    struct Case
    {
        int32_t value;
        int digits;
    };
    for (const Case& c : {Case{0, 1}, Case{9, 1}, Case{10, 2}, Case{-120, 3}, Case{99999, 5}, Case{100000, 6},
                          Case{INT32_MAX, 10}, Case{INT32_MIN, 10}})
        EXPECT_EQ(GetCountDigits(c.value), c.digits) << c.value;
}

TEST(PixelFormat, ClientPointToUnitScale)
{
    WNDCLASSEXA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "UnitScaleForTests_Korvane";
    RegisterWindowClass(&windowClass);
    HWND window = SafeCreateWindow(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                   windowClass.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    struct Case
    {
        uint16_t x, y, unitX, unitY;
    };
    for (const Case& c : {Case{200, 100, 65535, 65535}, Case{0, 0, 0, 0}, Case{100, 50, 32767, 32767},
                          Case{1, 99, 327, 64879}}) {
        uint16_t unitX = 1;
        uint16_t unitY = 1;
        EXPECT_EQ(ClientPointToUnitScale(c.x, c.y, window, &unitX, &unitY), S_OK);
        EXPECT_EQ(unitX, c.unitX) << c.x;
        EXPECT_EQ(unitY, c.unitY) << c.y;
    }
    uint16_t unit = 0;
    EXPECT_EQ(ClientPointToUnitScale(1, 1, window, nullptr, &unit), E_FAIL);

    // An empty client area leaves both at 0.
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER);
    uint16_t unitX = 1;
    uint16_t unitY = 1;
    EXPECT_EQ(ClientPointToUnitScale(5, 5, window, &unitX, &unitY), S_OK);
    EXPECT_EQ(unitX, 0);
    EXPECT_EQ(unitY, 0);

    DestroyWindow(window);
    EXPECT_EQ(ClientPointToUnitScale(1, 1, window, &unitX, &unitY), E_FAIL);
}
