// Device contexts and bitmaps: the bitmap of a context copied out into memory in the platform's
// DIB layout (32 bits: B, G, R, unused; 24 bits: B, G, R; 16 bits: one 5-5-5 word; rows padded to
// 4 bytes, bottom row first unless top-down is asked for), a window's client area grabbed and
// saved as a 24-bit BMP file, and small drawing helpers.
// Every function catches every exception, logs it and answers 0x80004005 (or false).
#pragma once

#include "MemoryBlockClass.h"

#include <windows.h>

// Copies the bitmap selected into the context: bits per pixel 16, 24 or 32. The size output is
// set to 0 first; width and height are written only when both pointers are given.
HRESULT ConvertHDCtoRGB24(HDC context, MemoryBlockClass<BYTE>& pixels, int bitsPerPixel, DWORD* size, int* width,
                          int* height, int* stride, bool topDown);

// Grabs width x height of the window's client area from (sourceX, sourceY), bottom row first; a
// width or height of 0xFFFFFFFF takes the whole client area (both are written back).
HRESULT GetImageFromWindowClientArea(HWND window, MemoryBlockClass<BYTE>& pixels, int sourceX, int sourceY,
                                     DWORD* size, DWORD* width, DWORD* height, int* stride, int bitsPerPixel);

// The whole client area as a 24-bit BMP file: 14-byte file header, 40-byte info header, four zero
// bytes, rows from offset 58. The file is not truncated. Stops at the first failing write.
HRESULT SaveWindowToBMPFile(HWND window, const DynamicString& fileName);

// False for a null context; true otherwise (nothing is drawn when the constant alpha, bits 16 to
// 23 of the blend word, is 0). A label given is logged when the blend would stretch.
bool AlphaBlendWithCheck(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                         int sourceY, int sourceWidth, int sourceHeight, DWORD blendFunction,
                         const char* label = nullptr);

// Without the gradient flag: the rectangle filled light grey. With it: one line per row from the
// start colour towards the end colour, each channel saturated to 0..255. Always 0.
HRESULT DrawVerticalGradientToHDC(HDC context, int penWidth, const RECT* rect, COLORREF start, COLORREF end,
                                  bool gradient);

struct RectPositionSize
{
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};
// Negative values become 0, then a width or height below 10 becomes 10.
void CorrectRectMinSize(RectPositionSize* rect);
// Negative coordinates become 0, then the rectangle is made at least 10 x 10.
void CorrectRectMinExtent(RECT* rect);
