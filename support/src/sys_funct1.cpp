#include "sys_funct1.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "MediaSubtypeGuids.h"

using namespace media_guids;

namespace {

template <size_t N>
bool IsOneOf(const GUID& subtype, const GUID* const (&group)[N])
{
    for (const GUID* member : group)
        if (IsEqualGUID(subtype, *member))
            return true;
    return false;
}

const GUID* const g_planarYUV[] = {&MediaSubtypeI420, &MEDIASUBTYPE_IYUV, &MEDIASUBTYPE_YV12,
                                   &MEDIASUBTYPE_YVU9};

} // namespace

HRESULT IsNotPlanarYUVFormat(GUID subtype)
{
    try {
        return IsOneOf(subtype, g_planarYUV) ? S_OK : S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

uint32_t GetBytesPerPixelFromSubtype(GUID subtype)
{
    static const GUID* const twoBytes[] = {&MEDIASUBTYPE_YUY2,   &MEDIASUBTYPE_YVYU,  &MEDIASUBTYPE_YUYV,
                                           &MEDIASUBTYPE_UYVY,   &MEDIASUBTYPE_RGB555, &MEDIASUBTYPE_RGB565};
    static const GUID* const oneByte[] = {&MEDIASUBTYPE_RGB8, &MediaSubtypeY8};
    static const GUID* const planar420[] = {&MediaSubtypeI420, &MEDIASUBTYPE_IYUV, &MEDIASUBTYPE_YV12};
    try {
        if (IsOneOf(subtype, twoBytes))
            return 2;
        if (IsOneOf(subtype, oneByte))
            return 1;
        if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24))
            return 3;
        if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB32))
            return 4;
        // Sized as 2 bytes per pixel: width x height x 2 covers the three planes.
        if (IsOneOf(subtype, planar420))
            return 2;
        LOG_TEXT("GetBytesPerPixelFromSubtype::unknown subtype, counted as 4 bytes a pixel");
        return 4;
    }
    CATCH_ALL_RETURN(4)
}

HRESULT ClientPointToUnitScale(uint16_t x, uint16_t y, HWND window, uint16_t* unitX, uint16_t* unitY)
{
    try {
        if (FAILED(CheckIsWindow(window)) || unitX == nullptr || unitY == nullptr)
            return E_FAIL;
        *unitX = 0;
        *unitY = 0;
        RECT client = {};
        GetClientRect(window, &client);
        const int width = client.right - client.left;
        const int height = client.bottom - client.top;
        if (width != 0 && height != 0) {
            *unitX = static_cast<uint16_t>(static_cast<int64_t>(static_cast<double>(x) / width * 65535.0));
            *unitY = static_cast<uint16_t>(static_cast<int64_t>(static_cast<double>(y) / height * 65535.0));
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int GetCountDigits(int32_t value)
{
    int digits = 0;
    do {
        value /= 10;
        ++digits;
    } while (value != 0);
    return digits;
}
