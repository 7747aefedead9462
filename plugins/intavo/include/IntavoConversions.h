// Pixel-format conversions of the DirectShow source: whatever the sink delivers (YUY2, YUYV, UYVY,
// YVYU, I420, IYUV, YV12, RGB24, Y8) becomes the YUY2 (or Y8) frame the data path runs on, in one
// pass. Every row routine comes in a plain (_c), an MMX (_mmx) and an SSE2 (_sse2) variant with the
// same signature and the same bytes; a conversion table filled for the processor mode picks them.
//
// The packed routines walk whole vector steps (rounded up), so they may read and write into the
// padding of a row up to its stride: a stride too small for the steps is refused before any byte
// is written. Plain: one pixel (YVYU: one pixel pair) a step; MMX: 8 pixels (reorders 4); SSE2: 16
// pixels (reorders 8).
#pragma once

#include "MemoryBlockClass.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <windows.h>

#include <cstdint>

// (destination, source, destination stride, source stride, width, height). The reorders of UYVY
// and YVYU may run in place (destination == source).
using PackedConversionFunction = HRESULT (*)(BYTE* destination, const BYTE* source, int destinationStride,
                                             int sourceStride, int width, int height);
// Planar 4:2:0 to YUY2: the Y plane of width x height bytes, then two chroma planes of width / 2
// bytes a row and (height + 1) / 2 rows, all read tightly packed from source; sourceCapacity bytes
// may be read. Output rows advance by the destination stride.
using PlanarConversionFunction = HRESULT (*)(BYTE* destination, const BYTE* source, int destinationStride,
                                             int width, int height, int sourceCapacity);

// Y = (10 x (B + G + R)) >> 5 per pixel: white gives 239.
HRESULT ConvertRGB24ToY8_c(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertRGB24ToY8_mmx(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertRGB24ToY8_sse2(BYTE*, const BYTE*, int, int, int, int);
// The luma bytes of a YUY2 row.
HRESULT ConvertYUY2ToY8_c(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertYUY2ToY8_mmx(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertYUY2ToY8_sse2(BYTE*, const BYTE*, int, int, int, int);
// U, Y0, V, Y1 becomes Y0, U, Y1, V.
HRESULT ConvertUYVYToYUY2_c(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertUYVYToYUY2_mmx(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertUYVYToYUY2_sse2(BYTE*, const BYTE*, int, int, int, int);
// Y0, V, Y1, U becomes Y0, U, Y1, V.
HRESULT ConvertYVYUToYUY2_c(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertYVYUToYUY2_mmx(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertYVYUToYUY2_sse2(BYTE*, const BYTE*, int, int, int, int);

// Each output pixel pair takes Y from its own row and U, V of chroma row (row / 2); no
// interpolation. An even width of at least 2 and a destination stride of at least 2 x width are
// required; a source capacity below what the planes need is refused (E_UNEXPECTED) before any
// byte is read.
HRESULT ConvertI420ToYUY2_c(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertI420ToYUY2_mmx(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertI420ToYUY2_sse2(BYTE*, const BYTE*, int, int, int, int);
// The V plane comes before the U plane.
HRESULT ConvertYV12ToYUY2_c(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertYV12ToYUY2_mmx(BYTE*, const BYTE*, int, int, int, int);
HRESULT ConvertYV12ToYUY2_sse2(BYTE*, const BYTE*, int, int, int, int);
// Bytes the three planes of a width x height 4:2:0 frame take.
int64_t GetPlanar420FrameBytes(int width, int height);

// The conversion table of a source instance; entry order is fixed.
struct ConversionRoutinesIntavo1
{
    ResizeSwordFunction resize;          // 0: held for the plug-in's planes, not called here
    PackedConversionFunction rgb24ToY8;  // 1
    Rgb24ToYuy2Function rgb24ToYuy2;     // 2
    PackedConversionFunction yuy2ToY8;   // 3
    PackedConversionFunction uyvyToYuy2; // 4
    PackedConversionFunction yvyuToYuy2; // 5
    PlanarConversionFunction i420ToYuy2; // 6: I420 and IYUV
    PlanarConversionFunction yv12ToYuy2; // 7
};
static_assert(sizeof(ConversionRoutinesIntavo1) == 8 * sizeof(void*), "eight consecutive routine pointers");

// Fills the table for the whole processor mode: 2 the SSE set (plain routines, SSE resize); 4, 8,
// 32 and 64 the SSE2 set; any other value the MMX set. The set is lowered to what the processor
// has through the shared kernel-set choice. Always 0.
HRESULT SelectConversionRoutines(ConversionRoutinesIntavo1& routines, uint32_t processorMode);

// Converts one frame whose description (subtype, bitmap width and height) the destination already
// holds into the destination's data: YUY2 when yuy2Output is set and the subtype is not Y8, else
// Y8. A source stride that is not a whole number of vectors (16 bytes, 48 for RGB24) is first
// copied into scratch, which only grows, so a steady stream allocates nothing. Packed
// YUY2-family sources are reordered in place (in source or in scratch). 0 or a failure; a failure
// leaves the destination a NULL frame.
HRESULT ConvertDataBufferToYUY2orY8Formats(const ConversionRoutinesIntavo1& routines, MemoryBlockClass<BYTE>& scratch,
                                           BYTE* source, int sourceStride, InfoDataBufferPath1& destination,
                                           bool yuy2Output);

// Whether the YUY2 output of ConvertDataBufferToYUY2orY8Formats (Y8 for a Y8 source) may take
// the frame's own rows as its source: YUY2-family or Y8 rows that start the block, tightly packed
// in whole vectors and inside its capacity already have the output's layout, so the conversion
// moves no byte (UYVY and YVYU are reordered where they are).
bool ConvertsInPlace(const InfoDataBufferPath1& frame);

// Turns a picture upside down in place.
HRESULT FlipImageRows(BYTE* data, int rowLength, int rows);

// RGB24 to hue, saturation and lightness planes (each 0..255 in 16-bit words, width words a row),
// four pixels a step in single-precision floats; *converted gets the pixels written. size is the
// bytes of the picture, planeBytes the bytes of each plane.
HRESULT ConvertRGB24ToHSL(const BYTE* picture, int stride, int width, int height, int size, SWORD* hue,
                          SWORD* saturation, SWORD* lightness, int* converted, int planeBytes);
// The way back into an RGB24 picture of the given stride; *written gets the bytes written.
HRESULT ConvertHSLToRGB24(const SWORD* hue, const SWORD* saturation, const SWORD* lightness, int width, int height,
                          int outputStride, int planeBytes, BYTE* output, int* written, int outputSize);
