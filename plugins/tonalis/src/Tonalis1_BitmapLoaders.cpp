// The template folder's bitmaps into planes.
#include "Tonalis1_BitmapLoaders.h"

#include "MemoryBlockClass.h"

#include <cstdint>

namespace {

// Rows of whole blocks of pixels stay packed; any other row is padded to a multiple of 16 bytes
// with room to spare, which the vector conversions may fill.
int64_t PaddedRowBytes(int width, int bytesPerPixel, int pixelsPerBlock)
{
    const int64_t bytes = static_cast<int64_t>(width) * bytesPerPixel;
    return width % pixelsPerBlock == 0 ? bytes : (bytes + 16) / 16 * 16;
}

// The loaded R, G and B planes, given back when the conversion is done.
struct RgbPlanes
{
    RgbPlanes() = default;
    RgbPlanes(const RgbPlanes&) = delete;
    RgbPlanes& operator=(const RgbPlanes&) = delete;
    ~RgbPlanes()
    {
        for (SWORD** plane : {&r, &g, &b})
            SAFE_TASK_FREE(plane);
    }
    SWORD* r = nullptr;
    SWORD* g = nullptr;
    SWORD* b = nullptr;
    int capacity = 0;
};

HRESULT LogConversionFailure(const DynamicString& fileName)
{
    DynamicString text("FunctLoadBMP32ToY16UV16Format - conversion failed: ");
    text += fileName;
    LOG_TEXT(text.GetString());
    return E_FAIL;
}

// Both buffers at least size bytes; the capacity follows what was really made.
HRESULT EnsurePlaneCapacity(SWORD** planeY, SWORD** planeUV, int* capacity, int64_t size)
{
    if (*capacity >= size && *planeY != nullptr && *planeUV != nullptr)
        return S_OK;
    if (FAILED(SAFE_TASK_REALLOC(planeY, static_cast<uint64_t>(size))) ||
        FAILED(SAFE_TASK_REALLOC(planeUV, static_cast<uint64_t>(size))))
        return E_FAIL;
    *capacity = static_cast<int>(size);
    return S_OK;
}

} // namespace

HRESULT FunctLoadBMP32FileToR16G16B16Format(Rgb32ToPlanesFunction convert, UnifSwordFunction mirror,
                                            const DynamicString& fileName, SWORD** planeR, SWORD** planeG,
                                            SWORD** planeB, int* width, int* height, int* planeStride,
                                            int* capacity, int mode)
{
    return LoadBMP32FileToR16G16B16Format(convert, mirror, fileName, planeR, planeG, planeB, width, height,
                                          planeStride, mode, capacity);
}

HRESULT FunctLoadBMP32ToY16UV16Format(const OptimFunctionTableSWORD& operations, const DynamicString& fileName,
                                      SWORD** planeY, SWORD** planeUV, int* width, int* height, int* stride,
                                      int mode, int* capacity)
{
    try {
        if (planeY == nullptr || planeUV == nullptr || width == nullptr || height == nullptr || stride == nullptr ||
            capacity == nullptr)
            return E_INVALIDARG;
        if (mode < 0)
            return E_UNEXPECTED;
        RgbPlanes rgb;
        int w = 0, h = 0, rgbStride = 0;
        if (FAILED(FunctLoadBMP32FileToR16G16B16Format(operations.rgb32ToR16G16B16, operations.mirrorTopToBottom,
                                                       fileName, &rgb.r, &rgb.g, &rgb.b, &w, &h, &rgbStride,
                                                       &rgb.capacity, mode)))
            return E_FAIL;

        // The loader limits both sides to 16384 pixels, so every size here fits in 32 bits.
        const int64_t rgb24Size = PaddedRowBytes(w, 3, 16) * h;
        MemoryBlockClass<BYTE> rgb24;
        int rgb24Stride = 0;
        if (FAILED(rgb24.CreateBlock(static_cast<uint32_t>(rgb24Size))) ||
            FAILED(operations.r16g16b16ToRgb24(rgb.b, rgb.g, rgb.r, rgb24.GetData(), static_cast<int>(rgb24Size),
                                               rgbStride, &rgb24Stride, w, h)))
            return LogConversionFailure(fileName);

        // The plain converter leaves packed YUY2 rows at the start of the same block.
        const int yuy2Stride = 2 * w;
        if (FAILED(ConvertRGB24ToYUY2InPlace(rgb24.GetData(), w, h, rgb24Stride)))
            return LogConversionFailure(fileName);

        const int planeStride = static_cast<int>(PaddedRowBytes(w, 2, 8));
        if (FAILED(EnsurePlaneCapacity(planeY, planeUV, capacity, static_cast<int64_t>(planeStride) * h)) ||
            FAILED(operations.yuy2ToY16UV16ForBitmaps(*planeY, *planeUV, rgb24.GetData(), nullptr, nullptr,
                                                      planeStride, yuy2Stride, w, h, 0, nullptr, nullptr, nullptr)))
            return LogConversionFailure(fileName);
        *stride = planeStride;
        *width = w;
        *height = h;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
