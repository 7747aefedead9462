// Shared by the variants of the row routines: the argument checks, the row walk and the plain row
// code, which is the reference and also finishes the planar columns that do not fill a vector.
// Defined in intavo_convert_c.cpp, compiled without instruction-set flags.
#pragma once

#include "IntavoConversions.h"

#include "CatchAllLog.h"

#include <cstddef>
#include <cstdint>

namespace intavo {

// The stride rules of a packed routine.
enum class PackedKind
{
    Yuy2ToY8,  // source stride > destination stride, source stride >= 2 x width
    Rgb24ToY8, // source stride > destination stride, source stride >= 3 x width
    Reorder,   // source stride >= destination stride, both >= 2 x width
};

// One step of a variant: pixels it converts, source and destination bytes it takes.
struct PackedStep
{
    int pixels;
    int sourceBytes;
    int destinationBytes;
};

// Answers S_OK to go on, or the refusal: null pointers, sizes below 1, the kind's stride rules, or
// steps that do not fit in a stride.
HRESULT CheckPackedRows(const BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                        int width, int height, PackedKind kind, PackedStep step, int steps);

inline int StepsRoundingUp(int width, int pixelsPerStep)
{
    return static_cast<int>((static_cast<int64_t>(width) + pixelsPerStep - 1) / pixelsPerStep);
}

template <class T>
inline T* RowAt(T* plane, int stride, int row)
{
    return plane + static_cast<ptrdiff_t>(stride) * row;
}

// Runs rowSteps(destination row, source row, steps) over every row once the checks pass.
template <class RowSteps>
HRESULT ConvertPackedRows(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride, int width,
                          int height, PackedKind kind, PackedStep step, int steps, RowSteps rowSteps)
{
    try {
        const HRESULT check =
            CheckPackedRows(destination, source, destinationStride, sourceStride, width, height, kind, step, steps);
        if (check != S_OK)
            return check;
        for (int row = 0; row < height; ++row)
            rowSteps(RowAt(destination, destinationStride, row), RowAt(source, sourceStride, row), steps);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The three planes of a 4:2:0 frame and the destination of one pass.
struct PlanarFrame
{
    const BYTE* y;
    const BYTE* u;
    const BYTE* v;
    int chromaStride; // width / 2
};

// Answers S_OK and fills the planes (swapping U and V when vFirst), or the refusal.
HRESULT PreparePlanar(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                      int sourceCapacity, bool vFirst, PlanarFrame& planes);

// Pixel pairs [fromPixel, width) of one output row (row1 may be null: the odd last row).
void PlanarRowPair_c(BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u, const BYTE* v,
                     int fromPixel, int width);

// Runs rowPair(out0, out1, y0, y1, u, v) over every pair of rows (out1 and y1 null for an odd last
// row) once the planes are prepared.
template <class RowPair>
HRESULT ConvertPlanarRows(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                          int sourceCapacity, bool vFirst, RowPair rowPair)
{
    try {
        PlanarFrame planes{};
        const HRESULT check =
            PreparePlanar(destination, source, destinationStride, width, height, sourceCapacity, vFirst, planes);
        if (check != S_OK)
            return check;
        for (int row = 0; row < height; row += 2) {
            const bool pair = row + 1 < height;
            const int chromaRow = row / 2;
            rowPair(RowAt(destination, destinationStride, row),
                    pair ? RowAt(destination, destinationStride, row + 1) : nullptr, RowAt(planes.y, width, row),
                    pair ? RowAt(planes.y, width, row + 1) : nullptr, RowAt(planes.u, planes.chromaStride, chromaRow),
                    RowAt(planes.v, planes.chromaStride, chromaRow));
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

} // namespace intavo
