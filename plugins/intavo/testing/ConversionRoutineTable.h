// The row routines of the source's conversions with their variants, laid out once for the tests
// and the benchmark: what a routine reads and writes per pixel and the strides that fit every
// variant's vector steps.
#pragma once

#include "IntavoConversions.h"

#include <array>
#include <cstdint>

inline constexpr std::array<const char*, 3> kVariantNames = {"plain", "MMX", "SSE2"};

struct PackedRoutine
{
    const char* name;
    int sourceBytesPerPixel;
    int destinationBytesPerPixel;
    std::array<PackedConversionFunction, 3> variants; // plain, MMX, SSE2
};

struct PlanarRoutine
{
    const char* name;
    std::array<PlanarConversionFunction, 3> variants;
};

// SWORD's RGB24 to YUY2 is entry 2 of the table; it is timed beside the routines of this module.
inline const std::array<PackedRoutine, 5> kPackedRoutines = {{
    {"RGB24 to Y8", 3, 1, {ConvertRGB24ToY8_c, ConvertRGB24ToY8_mmx, ConvertRGB24ToY8_sse2}},
    {"RGB24 to YUY2", 3, 2, {ConvertRGB24ToYUY2_c, ConvertRGB24ToYUY2_mmx, ConvertRGB24ToYUY2_sse2}},
    {"YUY2 to Y8", 2, 1, {ConvertYUY2ToY8_c, ConvertYUY2ToY8_mmx, ConvertYUY2ToY8_sse2}},
    {"UYVY to YUY2", 2, 2, {ConvertUYVYToYUY2_c, ConvertUYVYToYUY2_mmx, ConvertUYVYToYUY2_sse2}},
    {"YVYU to YUY2", 2, 2, {ConvertYVYUToYUY2_c, ConvertYVYUToYUY2_mmx, ConvertYVYUToYUY2_sse2}},
}};

inline const std::array<PlanarRoutine, 2> kPlanarRoutines = {{
    {"I420 to YUY2", {ConvertI420ToYUY2_c, ConvertI420ToYUY2_mmx, ConvertI420ToYUY2_sse2}},
    {"YV12 to YUY2", {ConvertYV12ToYUY2_c, ConvertYV12ToYUY2_mmx, ConvertYV12ToYUY2_sse2}},
}};

// Row bytes rounded up to whole 64-byte blocks, then one more: room for every variant's steps,
// and the source stride stays above the destination's.
inline int StrideForEveryVariant(int width, int bytesPerPixel)
{
    const int64_t rowBytes = static_cast<int64_t>(width) * bytesPerPixel;
    return static_cast<int>((rowBytes + 63) / 64 * 64 + 64 * bytesPerPixel);
}
