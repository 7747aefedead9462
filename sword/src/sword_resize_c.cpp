// Nearest-neighbour resize and top-to-bottom mirror of a plane: checks, tables and row loops
// shared by every variant, and the plain row kernels.
#include "sword_resize.h"

#include "CatchAllLog.h"
#include "SwordNearestSample.h"

#include <algorithm>
#include <cstring>

namespace {

// Destination columns whose source columns are looked up at once, in a table on the stack (a
// multiple of 8, as the row kernels take whole groups of 8): a frame allocates nothing.
constexpr int kColumnsAtOnce = 1024;

// Source column of destination columns first to first + count as byte offsets; the ones past
// the destination width stay 0 (source column 0).
void FillColumnTable(uint32_t* table, int first, int count, int sourceWidth, int destinationWidth)
{
    const NearestSample column(sourceWidth, destinationWidth);
    for (int i = 0; i < count; ++i)
        table[i] = first + i < destinationWidth ? static_cast<uint32_t>(2 * column(first + i)) : 0;
}

// The leading columns of a strip that take every second source word, in whole groups of 8; the
// word after each one's source word lies in the source row too, as the halving kernel reads it.
int HalvedColumns(const uint32_t* table, int first, int count, int sourceWidth)
{
    int i = 0;
    while (i < count && table[i] == 4 * static_cast<uint32_t>(first + i) && 2 * (first + i) + 1 < sourceWidth)
        ++i;
    return i & ~7;
}

// Gathers every row of the W8 destination columns, strip by strip of kColumnsAtOnce columns; the
// strip's leading columns that halve the source go through the halving kernel when there is one.
void GatherRows(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight, int sourceStride,
                int destinationWidth, int destinationHeight, int stride, int w8, ResizeGatherRow gather,
                ResizeHalveRow halve)
{
    const NearestSample row(sourceHeight, destinationHeight);
    for (int first = 0; first < w8; first += kColumnsAtOnce) {
        const int count = std::min(kColumnsAtOnce, w8 - first);
        uint32_t columns[kColumnsAtOnce];
        FillColumnTable(columns, first, count, sourceWidth, destinationWidth);
        const int halved = halve != nullptr ? HalvedColumns(columns, first, count, sourceWidth) : 0;
        BYTE* out = reinterpret_cast<BYTE*>(destination + first);
        for (int j = 0; j < destinationHeight; ++j, out += stride) {
            const BYTE* in = reinterpret_cast<const BYTE*>(source) + static_cast<ptrdiff_t>(row(j)) * sourceStride;
            SWORD* outRow = reinterpret_cast<SWORD*>(out);
            if (halved > 0)
                halve(in + 4 * static_cast<ptrdiff_t>(first), halved, outRow);
            gather(in, columns + halved, count - halved, outRow + halved);
        }
    }
}

} // namespace

HRESULT RunResize(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight, int sourceStride,
                  int destinationWidth, int destinationHeight, int* destinationStride, int destinationCapacity,
                  BYTE paddingFlag, ResizeGatherRow gather, ResizeHalveRow halve)
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

        GatherRows(source, destination, sourceWidth, sourceHeight, sourceStride, destinationWidth, destinationHeight,
                   stride, w8, gather, halve);
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
