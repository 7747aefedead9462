// Grey pictures from the luma bytes of YUY2 rows, for RGB surfaces that cannot show YUY2.
// Every row function reads 2 x width bytes and writes width pixels, nothing past either row.
#pragma once

#include <windows.h>

#include <cstdint>

using GreyRowFunction = void (*)(const BYTE* yuy2, BYTE* target, int32_t width);

// 32 bits per pixel: all four bytes of a pixel equal its luma.
void GreyRowRGB32_c(const BYTE* yuy2, BYTE* target, int32_t width);
void GreyRowRGB32_sse2(const BYTE* yuy2, BYTE* target, int32_t width);
// 24 bits per pixel: three equal bytes.
void GreyRowRGB24_c(const BYTE* yuy2, BYTE* target, int32_t width);
// RGB565: red and blue Y x 31 >> 8, green Y x 63 >> 8.
void GreyRowRGB565_c(const BYTE* yuy2, BYTE* target, int32_t width);

// The fastest row function of this processor for a surface bit count; null for other counts.
GreyRowFunction SelectGreyRow(uint32_t bitCount);

// Converts rows of width pixels; S_FALSE (nothing written) for a bit count other than 32, 24, 16.
HRESULT ConvertYUY2ToGrey(const BYTE* source, int32_t sourceStride, BYTE* target, int32_t targetPitch,
                          int32_t width, int32_t rows, uint32_t bitCount);
