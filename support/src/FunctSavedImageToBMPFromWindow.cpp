// A window's client area saved as a 24-bit BMP file.
#include "FunctWorkWithHDC.h"

#include "FunctWorkWithFiles.h"

#include <cstdint>

static_assert(sizeof(BITMAPFILEHEADER) == 14, "the file header is 14 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "the info header is 40 bytes");

HRESULT SaveWindowToBMPFile(HWND window, const DynamicString& fileName)
{
    try {
        MemoryBlockClass<BYTE> pixels;
        DWORD size = 0, width = 0xFFFFFFFF, height = 0xFFFFFFFF;
        int stride = 0;
        if (FAILED(GetImageFromWindowClientArea(window, pixels, 0, 0, &size, &width, &height, &stride, 24)) ||
            pixels.GetSize() == 0)
            return E_FAIL;

        constexpr DWORD kPixelOffset = 58;
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42; // "BM"
        file.bfSize = size + kPixelOffset;
        file.bfOffBits = kPixelOffset;
        BITMAPINFOHEADER info{};
        info.biSize = sizeof(BITMAPINFOHEADER);
        info.biWidth = static_cast<LONG>(width);
        info.biHeight = static_cast<LONG>(height);
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        info.biSizeImage = size;
        const uint32_t zero = 0;

        // A failed write ends the save: a later one must not report it as done.
        HRESULT result = SaveDataToFile(fileName, &file, sizeof(file), 0);
        if (SUCCEEDED(result))
            result = SaveDataToFile(fileName, &info, sizeof(info), sizeof(file));
        if (SUCCEEDED(result))
            result = SaveDataToFile(fileName, &zero, sizeof(zero), sizeof(file) + sizeof(info));
        if (SUCCEEDED(result))
            result = SaveDataToFile(fileName, pixels.GetData(), size, kPixelOffset);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
