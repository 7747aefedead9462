// The template folder's bitmaps into planes: a 32-bit BMP file into R, G and B planes, and into
// the Y16 and UV16 planes the mosaic cuts its blocks from. The file checks are those of the
// support library's loader, shared by every picture file of the system.
#pragma once

#include "FunctLoadBMP32FileToR16G16B16Format.h"
#include "OptimFunctionUnifProcessSWORD.h"

// The support library's loader with the argument order of the correction filter: R, G and B
// planes (re)allocated when missing or below the capacity, top row first. 0; E_INVALIDARG for a
// missing output, E_UNEXPECTED for a negative mode, E_FAIL (the file logged) when the file does
// not open or is refused.
HRESULT FunctLoadBMP32FileToR16G16B16Format(Rgb32ToPlanesFunction convert, UnifSwordFunction mirror,
                                            const DynamicString& fileName, SWORD** planeR, SWORD** planeG,
                                            SWORD** planeB, int* width, int* height, int* planeStride,
                                            int* capacity, int mode);

// Loads the file into a Y16 plane and a UV16 plane of one stride, through the bitmap entries of the
// operation table (RGB32 to planes, mirror, planes to RGB24, YUY2 to planes) and the plain
// RGB24-to-YUY2 conversion of the picture loaders. The
// caller's two buffers are reallocated, both to stride x height bytes, when either is missing or
// the capacity is below that; the capacity (bytes) is written back. 0; E_INVALIDARG for a missing
// pointer; E_UNEXPECTED for a negative mode; E_FAIL when the file cannot be loaded or converted.
HRESULT FunctLoadBMP32ToY16UV16Format(const OptimFunctionTableSWORD& operations, const DynamicString& fileName,
                                      SWORD** planeY, SWORD** planeUV, int* width, int* height, int* stride,
                                      int mode, int* capacity);
