// The toolkit's own image operations beside the image primitives: polylines drawn into a plane,
// a convolution with a kernel of any size, and hue, saturation and lightness of RGB24 pictures
// (bytes blue, green, red) one pixel or four pixels at a time. Planes of hue, saturation and
// lightness hold each value x 255 in unsigned 16-bit samples.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

#include <cstdint>

// A point in picture units: 0 the first column or row, 1 the last.
struct SwordPointF
{
    float m_x = 0.0f;
    float m_y = 0.0f;
};
using SwordPointList = DynamicBoundsObject<SwordPointF>;

// The first count points joined by straight segments in the plane: each sample on them set to the
// value, or raised by it (16-bit wrap-around) with add. A segment reaching the last column or row
// stops there. 0x80070057 for no plane; 0x8000FFFF for bad sizes, fewer than 2 or more points than
// the list holds, or a segment longer than the picture (the segments before it stay drawn).
HRESULT drawlines_sword_funct(SWORD* plane, int stride, int width, int height, const SwordPointList& points,
                              int count, SWORD value, uint8_t add);

// destination = |sum of the kernel's taps inside the picture| / sum of |coefficients|, the kernel
// of kernelWidth x kernelHeight coefficients row by row centred on each sample; both planes share
// the stride. 0x80070057 for no plane; 0x8000FFFF for bad sizes; 0x80004005 for a kernel of zeros
// or one shorter than its size.
HRESULT SvertkaGeneral(const SWORD* source, SWORD* destination, int stride, int width, int height,
                       const SwordWords& kernel, uint32_t kernelWidth, uint32_t kernelHeight);

// One pixel: channel bytes to hue, saturation and lightness in 0..1, and back (truncated bytes).
HRESULT RGBToHSL(const BYTE* red, const BYTE* green, const BYTE* blue, float* hue, float* saturation,
                 float* lightness);
HRESULT HSLToRGB(BYTE* red, BYTE* green, BYTE* blue, const float* hue, const float* saturation,
                 const float* lightness);
// One channel of the way back for the hue *h (brought into 0..1 in place).
float HueToRGB(const float* m1, const float* m2, float* h);

// Whole pictures. A stride pointer to 0 gets the packed row length and hands it back. The plain
// forms truncate; the four-pixel forms (_sse) work on the width rounded up to 4 in every row and
// round to the nearest, and refuse (0x8000FFFF) strides shorter than that row. 0x80070057 for a
// missing pointer, 0x8000FFFF for bad sizes or strides.
HRESULT ConvertRGB24ToHSLPlanes(const BYTE* source, int sourceStride, int width, int height, int unused,
                                uint16_t* hue, uint16_t* saturation, uint16_t* lightness, int* planeStride,
                                int unused2);
HRESULT ConvertHSLPlanesToRGB24(const uint16_t* hue, const uint16_t* saturation, const uint16_t* lightness,
                                int width, int height, int planeStride, int unused, BYTE* destination,
                                int* destinationStride, int unused2);
HRESULT ConvertRGB24ToHSLPlanes_sse(const BYTE* source, int sourceStride, int width, int height, int unused,
                                    uint16_t* hue, uint16_t* saturation, uint16_t* lightness, int* planeStride,
                                    int unused2);
HRESULT ConvertHSLPlanesToRGB24_sse(const uint16_t* hue, const uint16_t* saturation, const uint16_t* lightness,
                                    int width, int height, int planeStride, int unused, BYTE* destination,
                                    int* destinationStride, int unused2);
// Every pixel's hue replaced by the nearest of twelve fixed hues, saturation and lightness kept.
HRESULT QuantizeHueRGB24(BYTE* picture, int stride, int width, int height, int unused);
