// Pixels out of device contexts: a context's bitmap through a DIB section into memory, and a
// window's client area through a compatible bitmap.
#include "FunctWorkWithHDC.h"

#include "GdiScopes.h"
#include "g_managment_mem.h"

#include <cstdint>

namespace {

constexpr DWORD kWholeClientArea = 0xFFFFFFFF;

bool IsSupportedDepth(int bitsPerPixel)
{
    return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

} // namespace

HRESULT ConvertHDCtoRGB24(HDC context, MemoryBlockClass<BYTE>& pixels, int bitsPerPixel, DWORD* size, int* width,
                          int* height, int* stride, bool topDown)
{
    try {
        if (context == nullptr || size == nullptr || stride == nullptr || !IsSupportedDepth(bitsPerPixel))
            return E_FAIL;
        *size = 0;
        HGDIOBJ bitmap = GetCurrentObject(context, OBJ_BITMAP);
        BITMAP description{};
        if (bitmap == nullptr || GetObjectA(bitmap, sizeof(description), &description) == 0 ||
            description.bmWidth < 1 || description.bmHeight < 1)
            return E_FAIL;
        if ((GetDeviceCaps(context, RASTERCAPS) & (RC_BITBLT | RC_DI_BITMAP)) == 0)
            return E_FAIL;
        ScopedMemoryContext memory(context);
        if (memory.Get() == nullptr)
            return E_FAIL;

        const int bitmapWidth = description.bmWidth, bitmapHeight = description.bmHeight;
        const uint64_t rowBytes = (static_cast<uint64_t>(bitmapWidth) * bitsPerPixel + 31) / 32 * 4;
        const uint64_t total = rowBytes * static_cast<uint64_t>(bitmapHeight);
        if (total > 0x7FFFFFFF)
            return E_FAIL;
        if (pixels.GetSize() < total) {
            const HRESULT grown = pixels.GetSize() == 0 ? pixels.CreateBlock(static_cast<uint32_t>(total))
                                                        : pixels.ReallocBlock(static_cast<uint32_t>(total));
            if (FAILED(grown))
                return E_FAIL;
        }

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = bitmapWidth;
        info.bmiHeader.biHeight = topDown ? -bitmapHeight : bitmapHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
        info.bmiHeader.biCompression = BI_RGB;
        void* dibPixels = nullptr;
        AutoGDIObject dib(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &dibPixels, nullptr, 0));
        if (dib.Get() == nullptr || dibPixels == nullptr)
            return E_FAIL;
        ScopedSelection selection(memory.Get(), dib.Get());
        BitBlt(memory.Get(), 0, 0, bitmapWidth, bitmapHeight, context, 0, 0, SRCCOPY);
        GdiFlush();

        if (width != nullptr && height != nullptr) {
            *width = bitmapWidth;
            *height = bitmapHeight;
        }
        const HRESULT copied = pixels.CopyBlock(dibPixels, static_cast<uint32_t>(total));
        if (SUCCEEDED(copied)) {
            *size = static_cast<DWORD>(total);
            *stride = static_cast<int>(rowBytes);
        }
        return copied;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetImageFromWindowClientArea(HWND window, MemoryBlockClass<BYTE>& pixels, int sourceX, int sourceY,
                                     DWORD* size, DWORD* width, DWORD* height, int* stride, int bitsPerPixel)
{
    try {
        if (size == nullptr || width == nullptr || height == nullptr || stride == nullptr)
            return E_FAIL;
        if (*width == kWholeClientArea || *height == kWholeClientArea) {
            RECT client{};
            if (!GetClientRect(window, &client))
                return E_FAIL;
            *width = static_cast<DWORD>(client.right - client.left);
            *height = static_cast<DWORD>(client.bottom - client.top);
        }
        if (*width < 1 || *height < 1 || *width > 0x7FFF || *height > 0x7FFF)
            return E_FAIL;
        HDC windowContext = GetDC(window);
        if (windowContext == nullptr)
            return E_FAIL;
        ScopedMemoryContext memory(windowContext);
        AutoGDIObject bitmap(CreateCompatibleBitmap(windowContext, static_cast<int>(*width), static_cast<int>(*height)));
        if (memory.Get() == nullptr || bitmap.Get() == nullptr) {
            ReleaseDC(window, windowContext);
            return E_FAIL;
        }
        ScopedSelection selection(memory.Get(), bitmap.Get());
        BitBlt(memory.Get(), 0, 0, static_cast<int>(*width), static_cast<int>(*height), windowContext, sourceX,
               sourceY, SRCCOPY);
        ReleaseDC(window, windowContext);

        const HRESULT copied = ConvertHDCtoRGB24(memory.Get(), pixels, bitsPerPixel, size, nullptr, nullptr, stride,
                                                 false);
        if (FAILED(copied) || pixels.GetSize() == 0)
            return E_FAIL;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
