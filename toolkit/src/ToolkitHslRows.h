// Checks and row addresses shared by the one-pixel and four-pixel hue, saturation and lightness
// conversions.
#pragma once

#include <windows.h>

#include <cstdint>

// One picture and its planes: the stride given as a value (the source's) and the one given through
// a pointer (the destination's; 0 asks for the packed row length), in pixels per step of 1 or 4.
struct HslPictureLayout
{
    int valueStride;
    int* pointedStride;
    int width;
    int height;
    int pixelsPerStep;

    int RowPixels() const { return (width + pixelsPerStep - 1) / pixelsPerStep * pixelsPerStep; }
};

struct HslRow
{
    uint16_t* hue;
    uint16_t* saturation;
    uint16_t* lightness;
};

inline HslRow HslRowAt(uint16_t* hue, uint16_t* saturation, uint16_t* lightness, int stride, int y)
{
    const auto at = [&](uint16_t* plane) {
        return reinterpret_cast<uint16_t*>(reinterpret_cast<BYTE*>(plane) + static_cast<ptrdiff_t>(y) * stride);
    };
    return {at(hue), at(saturation), at(lightness)};
}

// 0x80070057 for a missing pointer, 0x8000FFFF for an empty picture or a row that does not fit its
// stride; a pointed stride of 0 becomes the packed row length of the destination.
inline HRESULT CheckHslLayout(const void* picture, const void* hue, const void* saturation, const void* lightness,
                              const HslPictureLayout& layout, int valueBytesPerPixel, int pointedBytesPerPixel)
{
    if (picture == nullptr || hue == nullptr || saturation == nullptr || lightness == nullptr ||
        layout.pointedStride == nullptr)
        return E_INVALIDARG;
    if (layout.width < 1 || layout.height < 1)
        return E_UNEXPECTED;
    const int64_t rowPixels = layout.RowPixels();
    if (*layout.pointedStride == 0)
        *layout.pointedStride = static_cast<int>(pointedBytesPerPixel * rowPixels);
    if (layout.valueStride < valueBytesPerPixel * rowPixels || *layout.pointedStride < pointedBytesPerPixel * rowPixels)
        return E_UNEXPECTED;
    return S_OK;
}

// RGB24 source, planes as destination.
inline HRESULT CheckHslPicture(const BYTE* source, const void* hue, const void* saturation, const void* lightness,
                               const HslPictureLayout& layout)
{
    return CheckHslLayout(source, hue, saturation, lightness, layout, 3, 2);
}

// Planes as source, RGB24 destination.
inline HRESULT CheckRgbPicture(const BYTE* destination, const void* hue, const void* saturation,
                               const void* lightness, const HslPictureLayout& layout)
{
    return CheckHslLayout(destination, hue, saturation, lightness, layout, 2, 3);
}
