// Nearest-neighbour resize and top-to-bottom mirror of a plane: checks, tables and row loops
// shared by every variant, and the plain row kernels.
#include "sword_resize.h"

#include "CatchAllLog.h"
#include "StaticAndDynamicBoundsObject.h"

#include <algorithm>
#include <cstring>

namespace {

// Source column of every destination column as a byte offset, for W8 columns; the ones past the
// destination width stay 0 (source column 0).
HRESULT FillColumnTable(DynamicBoundsObject<uint32_t>& columns, int sourceWidth, int destinationWidth, int w8)
{
    if (FAILED(columns.Init(static_cast<uint32_t>(w8), 0)))
        return E_FAIL;
    const float ratio = static_cast<float>(sourceWidth) / static_cast<float>(destinationWidth);
    uint32_t* table = &columns.GetElement(0);
    for (int i = 0; i < w8; ++i) {
        const int column = std::min(static_cast<int>(static_cast<float>(i) * ratio), sourceWidth - 1);
        table[i] = i < destinationWidth ? static_cast<uint32_t>(2 * column) : 0;
    }
    return S_OK;
}

// Address of the source row of every destination row (pointer-sized).
HRESULT FillRowTable(DynamicBoundsObject<const BYTE*>& rows, const SWORD* source, int sourceHeight,
                     int sourceStride, int destinationHeight)
{
    if (FAILED(rows.Init(static_cast<uint32_t>(destinationHeight), 0)))
        return E_FAIL;
    const float ratio = static_cast<float>(sourceHeight) / static_cast<float>(destinationHeight);
    const BYTE** table = &rows.GetElement(0);
    for (int j = 0; j < destinationHeight; ++j) {
        const int row = std::min(static_cast<int>(static_cast<float>(j) * ratio), sourceHeight - 1);
        table[j] = reinterpret_cast<const BYTE*>(source) + static_cast<ptrdiff_t>(row) * sourceStride;
    }
    return S_OK;
}

} // namespace

HRESULT RunResize(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight, int sourceStride,
                  int destinationWidth, int destinationHeight, int* destinationStride, int destinationCapacity,
                  BYTE paddingFlag, ResizeGatherRow gather)
{
    try {
        if (source == nullptr || destination == nullptr || destinationStride == nullptr)
            return E_INVALIDARG;
        if (sourceWidth <= 0 || sourceHeight <= 0 || destinationWidth <= 0 || destinationHeight <= 0 ||
            sourceStride < 2 * sourceWidth)
            return E_UNEXPECTED;
        // In 64 bits: a width near the int limit must not wrap to a small row. A destination that
        // cannot hold the rows is refused before anything is written.
        const int64_t rowWords = (static_cast<int64_t>(destinationWidth) + 7) & ~int64_t{7};
        if (rowWords * 2 * destinationHeight > destinationCapacity)
            return E_UNEXPECTED;
        const int w8 = static_cast<int>(rowWords);
        const int stride = *destinationStride != 0 ? *destinationStride : GetSwordPlaneStride(w8);
        if (stride < 2 * w8 || static_cast<int64_t>(stride) * destinationHeight > destinationCapacity)
            return E_UNEXPECTED;
        *destinationStride = stride;

        DynamicBoundsObject<uint32_t> columns;
        DynamicBoundsObject<const BYTE*> rows;
        if (FAILED(FillColumnTable(columns, sourceWidth, destinationWidth, w8)) ||
            FAILED(FillRowTable(rows, source, sourceHeight, sourceStride, destinationHeight)))
            return E_FAIL;
        const uint32_t* columnTable = &columns.GetElement(0);
        const BYTE* const* rowTable = &rows.GetElement(0);
        BYTE* out = reinterpret_cast<BYTE*>(destination);
        for (int j = 0; j < destinationHeight; ++j, out += stride)
            gather(rowTable[j], columnTable, w8, reinterpret_cast<SWORD*>(out));
        if (paddingFlag != 0)
            return FillRowPaddingSWORD(destination, 2 * destinationWidth, destinationHeight, stride);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RunMirror(SWORD* plane, int stride, int width, int height, int* alignmentOut, MirrorSwapRows swap)
{
    if (plane == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, kSwordAlignmentNone);
    if (stride <= 0 || stride < 2 * width)
        return E_UNEXPECTED;
    try {
        BYTE* rows = reinterpret_cast<BYTE*>(plane);
        // No rows, nothing to exchange (row -1 is not part of the plane).
        for (int i = 0; i < height / 2; ++i)
            swap(rows + static_cast<ptrdiff_t>(i) * stride, rows + static_cast<ptrdiff_t>(height - 1 - i) * stride,
                 stride);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ResizeGatherRow_c(const BYTE* sourceRow, const uint32_t* columns, int w8, SWORD* destinationRow)
{
    for (int i = 0; i < w8; ++i)
        std::memcpy(destinationRow + i, sourceRow + columns[i], sizeof(SWORD));
}

void MirrorSwapBytes_c(BYTE* first, BYTE* second, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        std::swap(first[i], second[i]);
}

HRESULT resize_funct_sword_c(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight,
                             int sourceStride, int destinationWidth, int destinationHeight, int* destinationStride,
                             int destinationCapacity, BYTE paddingFlag)
{
    return RunResize(source, destination, sourceWidth, sourceHeight, sourceStride, destinationWidth,
                     destinationHeight, destinationStride, destinationCapacity, paddingFlag, ResizeGatherRow_c);
}

HRESULT YMirror_function_c(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int width,
                           int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    return RunMirror(planeA, strideA, width, height, alignmentOut, MirrorSwapBytes_c);
}
