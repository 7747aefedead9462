// Shared by the variants of resize and mirror: the checks, the sampling tables and the row loops
// live in sword_resize_c.cpp (no instruction-set flags); a variant brings only its row kernel.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

#include <cstdint>
#include <cstring>

// Fills w8 words (a multiple of 8) of one destination row from the source row at the byte offsets
// of columns.
using ResizeGatherRow = void (*)(const BYTE* sourceRow, const uint32_t* columns, int w8, SWORD* destinationRow);
// Fills w8 words (a multiple of 8) of one destination row with every second source word from the
// row's start: word i is source word 2 i. It may read source word 2 i + 1.
using ResizeHalveRow = void (*)(const BYTE* sourceRow, int w8, SWORD* destinationRow);
// Exchanges the bytes of two rows.
using MirrorSwapRows = void (*)(BYTE* first, BYTE* second, int bytes);

HRESULT RunResize(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight, int sourceStride,
                  int destinationWidth, int destinationHeight, int* destinationStride, int destinationCapacity,
                  BYTE paddingFlag, ResizeGatherRow gather, ResizeHalveRow halve = nullptr);
HRESULT RunMirror(SWORD* plane, int stride, int width, int height, int* alignmentOut, MirrorSwapRows swap);

// The source word at a byte offset of a row (rows of odd-width sources need not be word-aligned).
inline int SourceWord(const BYTE* sourceRow, uint32_t offset)
{
    uint16_t word;
    std::memcpy(&word, sourceRow + offset, sizeof(word));
    return word;
}

// Plain gathers and swaps, also the tails of the vector ones.
void ResizeGatherRow_c(const BYTE* sourceRow, const uint32_t* columns, int w8, SWORD* destinationRow);
void MirrorSwapBytes_c(BYTE* first, BYTE* second, int bytes);
