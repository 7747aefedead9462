// A GDI drawing into R, G and B planes.
#include "FunctLoadBMP32FileToR16G16B16Format.h"

#include "GdiScopes.h"
#include "g_managment_mem.h"

#include <algorithm>
#include <cstdint>

namespace {

HRESULT TestDrawing(HDC context, int width, int height, void*, int)
{
    return FunctConvertRGB32toR16G16B16Format(context, width, height);
}

// The 32-bit drawing surface of the calling thread, kept from one drawing to the next and grown
// when a drawing needs more room: under Wine a new DIB section costs far more than any drawing
// (its pages are set up on their first touch), and drawings run on every changed widget piece.
class ThreadDrawingSurface
{
public:
    ThreadDrawingSurface() = default;
    ThreadDrawingSurface(const ThreadDrawingSurface&) = delete;
    ThreadDrawingSurface& operator=(const ThreadDrawingSurface&) = delete;

    // Room for width x height pixels; rows of a multiple of 16 bytes, top row first.
    HRESULT Reserve(int width, int height)
    {
        if (m_bitmap.Get() != nullptr && width <= m_width && height <= m_height)
            return S_OK;
        const int grownWidth = (std::max(width, m_width) + 3) & ~3;
        const int grownHeight = std::max(height, m_height);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = grownWidth;
        info.bmiHeader.biHeight = -grownHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* pixels = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
        if (bitmap == nullptr || pixels == nullptr)
            return E_FAIL;
        m_bitmap.Attach(bitmap);
        m_pixels = static_cast<BYTE*>(pixels);
        m_width = grownWidth;
        m_height = grownHeight;
        return S_OK;
    }
    HBITMAP Bitmap() const { return static_cast<HBITMAP>(m_bitmap.Get()); }
    const BYTE* Pixels() const { return m_pixels; }
    int Stride() const { return m_width * 4; }

private:
    AutoGDIObject m_bitmap;
    BYTE* m_pixels = nullptr;
    int m_width = 0;
    int m_height = 0;
};

// Draws width x height into the thread's surface, cleared to black first, each time in a fresh
// context so that no drawing sees the state another one left.
HRESULT DrawIntoSurface(ThreadDrawingSurface& surface, DrawToContextFunction draw, void* record, int recordSize,
                        int width, int height)
{
    if (FAILED(surface.Reserve(width, height)))
        return E_FAIL;
    ScopedMemoryContext memory(nullptr);
    if (memory.Get() == nullptr)
        return E_FAIL;
    ScopedSelection selection(memory.Get(), surface.Bitmap());
    if (!selection.Selected())
        return E_FAIL;
    PatBlt(memory.Get(), 0, 0, width, height, BLACKNESS);
    const HRESULT drawn = draw(memory.Get(), width, height, record, recordSize);
    GdiFlush();
    return drawn;
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

        thread_local ThreadDrawingSurface surface;
        const HRESULT drawn = DrawIntoSurface(surface, draw, record, recordSize, width, height);
        if (FAILED(drawn))
            return drawn;
        const int planeSize = GetSwordPlaneStride(width) * height;
        if (FAILED(ReserveThreePlanes(planeR, planeG, planeB, capacity, planeSize)))
            return E_FAIL;
        return convert(surface.Pixels(), planeR, planeG, planeB, capacity, surface.Stride(), planeStride, width,
                       height);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
