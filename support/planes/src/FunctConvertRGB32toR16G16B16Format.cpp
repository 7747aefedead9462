// A GDI drawing into R, G and B planes.
#include "FunctLoadBMP32FileToR16G16B16Format.h"

#include "AlignedPixelRows.h"
#include "FunctWorkWithHDC.h"
#include "GdiScopes.h"
#include "MemoryBlockClass.h"
#include "g_managment_mem.h"

#include <cstdint>

namespace {

HRESULT TestDrawing(HDC context, int width, int height, void*, int)
{
    return FunctConvertRGB32toR16G16B16Format(context, width, height);
}

HRESULT DrawIntoBlock(DrawToContextFunction draw, void* record, int recordSize, int width, int height,
                      MemoryBlockClass<BYTE>& pixels, int& stride)
{
    ScopedMemoryContext memory(nullptr);
    HDC desktop = GetDC(GetDesktopWindow());
    AutoGDIObject bitmap(desktop != nullptr ? CreateCompatibleBitmap(desktop, width, height) : nullptr);
    if (desktop != nullptr)
        ReleaseDC(GetDesktopWindow(), desktop);
    if (memory.Get() == nullptr || bitmap.Get() == nullptr)
        return E_FAIL;
    ScopedSelection selection(memory.Get(), bitmap.Get());
    const HRESULT drawn = draw(memory.Get(), width, height, record, recordSize);
    if (FAILED(drawn))
        return drawn;
    DWORD size = 0;
    int copiedWidth = 0, copiedHeight = 0;
    if (FAILED(ConvertHDCtoRGB24(memory.Get(), pixels, 32, &size, &copiedWidth, &copiedHeight, &stride, true)) ||
        copiedWidth != width || copiedHeight != height || size == 0)
        return E_FAIL;
    return S_OK;
}

// Every plane reallocated to the plane size; one failure frees all three.
HRESULT ReserveThreePlanes(SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity, int planeSize)
{
    if (*planeR != nullptr && *planeG != nullptr && *planeB != nullptr && *capacity >= planeSize)
        return S_OK;
    for (SWORD** plane : {planeR, planeG, planeB})
        if (FAILED(SAFE_TASK_REALLOC(plane, static_cast<uint64_t>(planeSize)))) {
            for (SWORD** owned : {planeR, planeG, planeB})
                SAFE_TASK_FREE(owned);
            *capacity = 0;
            return E_FAIL;
        }
    *capacity = planeSize;
    return S_OK;
}

} // namespace

HRESULT ConvertRGB32toR16G16B16Format(Rgb32ToPlanesFunction convert, SWORD** planeR, SWORD** planeG, SWORD** planeB,
                                      int width, int height, int* planeStride, int* capacity,
                                      DrawToContextFunction draw, void* record, int recordSize)
{
    try {
        if (draw == nullptr)
            draw = TestDrawing;
        if (convert == nullptr || planeR == nullptr || planeG == nullptr || planeB == nullptr ||
            planeStride == nullptr || capacity == nullptr)
            return E_INVALIDARG;
        if (width < 1 || height < 1 || width > 0x7FFF || height > 0x7FFF)
            return E_UNEXPECTED;

        MemoryBlockClass<BYTE> pixels;
        int stride = 0;
        const HRESULT drawn = DrawIntoBlock(draw, record, recordSize, width, height, pixels, stride);
        if (FAILED(drawn))
            return drawn;
        if (FAILED(AlignRows(pixels, width, height, stride)))
            return E_FAIL;
        const int planeSize = GetSwordPlaneStride(width) * height;
        if (FAILED(ReserveThreePlanes(planeR, planeG, planeB, capacity, planeSize)))
            return E_FAIL;
        return convert(pixels.GetData(), planeR, planeG, planeB, capacity, stride, planeStride, width, height);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
