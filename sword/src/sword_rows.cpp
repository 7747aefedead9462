// Row-level helpers on planes and 8-bit pictures: padding, copies between strides, row moves.
#include "OptimFunctionUnifProcessSWORD.h"

#include "KestrelDebugFunct.h"

#include <cstdlib>

namespace {

BYTE* RowStart(void* plane, int stride, int row)
{
    return static_cast<BYTE*>(plane) + static_cast<ptrdiff_t>(stride) * row;
}

} // namespace

HRESULT FillRowPaddingSWORD(void* plane, int bytesUsed, int rows, int stride)
{
    if (plane == nullptr)
        return E_INVALIDARG;
    if (rows <= 0 || bytesUsed <= 0 || stride < bytesUsed)
        return E_UNEXPECTED;
    if (stride == bytesUsed)
        return S_FALSE;
    const int padding = stride - bytesUsed;
    for (int row = 0; row < rows; ++row) {
        BYTE* start = RowStart(plane, stride, row);
        // The padding may be longer than the row: MemCopy moves overlapping blocks correctly.
        MemCopy(start + bytesUsed, start, static_cast<size_t>(padding), "FillRowPaddingSWORD");
    }
    return S_OK;
}

HRESULT CopyPlaneSWORD(const void* source, void* destination, int bytesPerRow, int rows, int sourceStride,
                       int destinationStride)
{
    if (source == nullptr || destination == nullptr)
        return E_INVALIDARG;
    if (rows <= 0 || bytesPerRow <= 0 || sourceStride < bytesPerRow || destinationStride < bytesPerRow)
        return E_UNEXPECTED;
    if (sourceStride == destinationStride) {
        if (source == destination)
            return S_OK;
        // One block from the first row to the end of the last row's used bytes.
        const size_t block = static_cast<size_t>(sourceStride) * (rows - 1) + bytesPerRow;
        return MemCopy(destination, source, block, "CopyPlaneSWORD");
    }
    for (int row = 0; row < rows; ++row)
        MemCopy(RowStart(destination, destinationStride, row),
                RowStart(const_cast<void*>(source), sourceStride, row), static_cast<size_t>(bytesPerRow),
                "CopyPlaneSWORD");
    if (destinationStride > bytesPerRow)
        FillRowPaddingSWORD(destination, bytesPerRow, rows, destinationStride);
    return S_OK;
}

HRESULT ChangeRowStride(BYTE* destination, const BYTE* source, int bytesPerRow, int rows, int sourceStride,
                        int destinationStride)
{
    if (destination == nullptr || source == nullptr)
        return E_INVALIDARG;
    if (bytesPerRow <= 0 || rows <= 0 || sourceStride <= 0 || destinationStride <= 0 ||
        bytesPerRow > sourceStride || bytesPerRow > destinationStride)
        return E_UNEXPECTED;
    // Within one picture, rows that move forward go last row first, so none is overwritten unread.
    const bool lastRowFirst = destinationStride > sourceStride ||
                              (destinationStride == sourceStride && destination > source);
    for (int i = 0; i < rows; ++i) {
        const int row = lastRowFirst ? rows - 1 - i : i;
        MemCopy(destination + static_cast<ptrdiff_t>(destinationStride) * row,
                source + static_cast<ptrdiff_t>(sourceStride) * row, static_cast<size_t>(bytesPerRow),
                "ChangeRowStride");
    }
    return S_OK;
}

HRESULT ShiftPlaneRows(void* plane, int rows, int stride, int n)
{
    if (plane == nullptr)
        return E_INVALIDARG;
    const int distance = std::abs(n);
    if (rows <= 0 || stride <= 0 || n == 0 || distance >= rows)
        return E_UNEXPECTED;
    const size_t block = static_cast<size_t>(stride) * (rows - distance);
    if (n < 0)
        return MemCopy(RowStart(plane, stride, distance), plane, block, "ShiftPlaneRows");
    return MemCopy(plane, RowStart(plane, stride, distance), block, "ShiftPlaneRows");
}
