// Shared by the variants of the conversions: the argument checks and the plain row code, which
// is the reference and also finishes the columns that do not fill a whole vector.
// Defined in sword_convert_c.cpp, compiled without instruction-set flags.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

// Checks return S_OK to go on, or the result to answer.
HRESULT CheckYuy2ToPlanes(const SWORD* planeY, const void* planeUV, const void* source, int planeStride,
                          int sourceStride, int width, int height, int* alignmentOut, int alignment);
HRESULT CheckY8ToY16(const SWORD* planeY, const void* source, int planeStride, int sourceStride, int width,
                     int height, int* alignmentOut, int alignment);
// Also computes the plane stride and (re)allocates the planes.
HRESULT PrepareRgb32ToPlanes(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                             int sourceStride, int* planeStride, int width, int height);
// Writes the plane stride back and fills the padding of the three planes.
HRESULT FinishRgb32ToPlanes(SWORD* planeR, SWORD* planeG, SWORD* planeB, int planeStride, int width, int height);
HRESULT CheckSplitJoin(const void* planeUV, const void* planeU, const void* planeV, int stride, int widthInWords,
                       int height);
// Output stride for bytesPerPixel (4, 3 or 2), written back; then the capacity check.
HRESULT PreparePlanesToRgb(const SWORD* first, const SWORD* second, const SWORD* third, const BYTE* output,
                           int capacity, int planeStride, int* outputStride, int width, int height,
                           int bytesPerPixel);
HRESULT CheckRgb24ToYuy2(const BYTE* output, const BYTE* input, int outputStride, int inputStride, int width,
                         int height);
HRESULT CheckPlanesToYuy2(const SWORD* planeY, const SWORD* planeUV, int sourceStride, const BYTE* output,
                          int outputStride, int width, int height);

// Row code: converts the pixels [from, width) of one row.
void Yuy2ToY16UV16Row_c(const BYTE* source, SWORD* planeY, SWORD* planeUV, int from, int width);
void Y8ToY16Row_c(const BYTE* source, SWORD* planeY, int from, int width);
void Rgb32ToPlanesRow_c(const BYTE* source, SWORD* planeR, SWORD* planeG, SWORD* planeB, int from, int width);
// Split and join walk whole (U, V) pairs: from is even, an odd width takes its last pair whole.
void SplitUVRow_c(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int from, int widthInWords);
void JoinUVRow_c(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int from, int widthInWords);
void PlanesToRgb32Row_c(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int from,
                        int width);
void PlanesToRgb16Row_c(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int from,
                        int width, bool layout555);
// from is even; an odd width gives the last pixel its Y and U only.
void Rgb24ToYuy2Row_c(const BYTE* input, BYTE* output, int from, int width);
void Y16UV16ToYuy2Row_c(const SWORD* planeY, const SWORD* planeUV, BYTE* output, int from, int width);
void Y16ToYuy2Row_c(const SWORD* planeY, BYTE* output, int from, int width);

template <class T>
inline T* RowAt(T* plane, int stride, int row)
{
    using Byte = std::conditional_t<std::is_const_v<T>, const BYTE, BYTE>;
    return reinterpret_cast<T*>(reinterpret_cast<Byte*>(plane) + static_cast<ptrdiff_t>(stride) * row);
}

// Whether every row of a plane starts on a vectorBytes boundary (a power of two).
inline bool IsOnVectorBoundary(const void* plane, int stride, int vectorBytes)
{
    return ((reinterpret_cast<uintptr_t>(plane) | static_cast<uintptr_t>(static_cast<unsigned>(stride))) &
            static_cast<uintptr_t>(vectorBytes - 1)) == 0;
}

// RGB32 into three planes: vectorStep(in, r, g, b, width) converts the start of a row and answers
// how many pixels it did; the plain row code does the rest.
template <class VectorStep>
HRESULT Rgb32ToPlanes(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                      int sourceStride, int* planeStride, int width, int height, VectorStep vectorStep)
{
    const HRESULT prepared =
        PrepareRgb32ToPlanes(source, planeR, planeG, planeB, capacity, sourceStride, planeStride, width, height);
    if (prepared != S_OK)
        return prepared;
    const int stride = GetSwordPlaneStride(width);
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(source, sourceStride, row);
        SWORD* r = RowAt(*planeR, stride, row);
        SWORD* g = RowAt(*planeG, stride, row);
        SWORD* b = RowAt(*planeB, stride, row);
        Rgb32ToPlanesRow_c(in, r, g, b, vectorStep(in, r, g, b, width), width);
    }
    *planeStride = stride;
    return FinishRgb32ToPlanes(*planeR, *planeG, *planeB, stride, width, height);
}
