#include "GreyConversion.h"

#include <cstring>

namespace {

inline void StoreGreyPixel32(BYTE* target, BYTE luma)
{
    const uint32_t pixel = luma * 0x01010101u;
    std::memcpy(target, &pixel, sizeof(pixel));
}

bool HasSse2()
{
    static const bool present = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
    return present;
}

} // namespace

void GreyRowRGB32_c(const BYTE* yuy2, BYTE* target, int32_t width)
{
    int32_t x = 0;
    for (; x + 4 <= width; x += 4) {
        StoreGreyPixel32(target + 4 * x, yuy2[2 * x]);
        StoreGreyPixel32(target + 4 * x + 4, yuy2[2 * x + 2]);
        StoreGreyPixel32(target + 4 * x + 8, yuy2[2 * x + 4]);
        StoreGreyPixel32(target + 4 * x + 12, yuy2[2 * x + 6]);
    }
    // The last width mod 4 pixels one by one: nothing is written past the row.
    for (; x < width; ++x)
        StoreGreyPixel32(target + 4 * x, yuy2[2 * x]);
}

void GreyRowRGB24_c(const BYTE* yuy2, BYTE* target, int32_t width)
{
    for (int32_t x = 0; x < width; ++x) {
        const BYTE luma = yuy2[2 * x];
        target[3 * x] = luma;
        target[3 * x + 1] = luma;
        target[3 * x + 2] = luma;
    }
}

void GreyRowRGB565_c(const BYTE* yuy2, BYTE* target, int32_t width)
{
    for (int32_t x = 0; x < width; ++x) {
        const uint32_t luma = yuy2[2 * x];
        const uint32_t redBlue = (luma * 31) >> 8;
        const uint32_t green = (luma * 63) >> 8;
        const uint16_t pixel = static_cast<uint16_t>(redBlue << 11 | green << 5 | redBlue);
        std::memcpy(target + 2 * x, &pixel, sizeof(pixel));
    }
}

GreyRowFunction SelectGreyRow(uint32_t bitCount)
{
    switch (bitCount) {
    case 32:
        return HasSse2() ? GreyRowRGB32_sse2 : GreyRowRGB32_c;
    case 24:
        return GreyRowRGB24_c;
    case 16:
        return GreyRowRGB565_c;
    default:
        return nullptr;
    }
}

HRESULT ConvertYUY2ToGrey(const BYTE* source, int32_t sourceStride, BYTE* target, int32_t targetPitch,
                          int32_t width, int32_t rows, uint32_t bitCount)
{
    const GreyRowFunction convertRow = SelectGreyRow(bitCount);
    if (convertRow == nullptr)
        return S_FALSE;
    for (int32_t row = 0; row < rows; ++row)
        convertRow(source + static_cast<ptrdiff_t>(row) * sourceStride, target + static_cast<ptrdiff_t>(row) * targetPitch,
                   width);
    return S_OK;
}
