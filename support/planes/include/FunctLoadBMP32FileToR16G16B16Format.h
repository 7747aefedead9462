// Pictures into the three signed 16-bit planes of the image primitives: a 32-bit BMP file, or a
// drawing made with GDI. Planes hold the top row first; their stride is a multiple of 16 bytes.
// Lives in the support_planes library, which joins the support library and the primitives.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"
#include "StaticAndDynamicBoundsObject.h"

// Draws into a context of width x height; a negative result is handed back.
using DrawToContextFunction = HRESULT (*)(HDC context, int width, int height, void* record, int recordSize);

// Loads a 32-bit BMP file ("BM", an information header of at least 40 bytes, BI_RGB or
// BI_BITFIELDS, at most 16384 pixels each way, pixels at the file header's offset, rows of
// width x 4 bytes; a negative height means top row first) into the R, G and B planes, which the
// conversion (re)allocates when they are missing or smaller than the capacity needs. Null
// conversion or mirror: the plain ones, with a warning in the log. A file whose pixels do not fit
// in it, or would not fit in memory, is refused before anything is allocated or read.
// 0; 0x80070057 for a missing output; 0x8000FFFF for a negative reserved value; 0x80004005 for a
// file that does not open or is refused (its name is logged).
HRESULT LoadBMP32FileToR16G16B16Format(Rgb32ToPlanesFunction convert, UnifSwordFunction mirror,
                                       const DynamicString& fileName, SWORD** planeR, SWORD** planeG, SWORD** planeB,
                                       int* width, int* height, int* planeStride, int reserved, int* capacity);

// Draws width x height with the drawing function (null: the test drawing) and converts the result
// into the planes, reallocating them to the plane size when missing or too small.
HRESULT ConvertRGB32toR16G16B16Format(Rgb32ToPlanesFunction convert, SWORD** planeR, SWORD** planeG, SWORD** planeB,
                                      int width, int height, int* planeStride, int* capacity,
                                      DrawToContextFunction draw, void* record, int recordSize);
