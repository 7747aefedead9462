// MMX resize (4 gathered words assembled with shifts) and mirror (8 bytes a step).
#include "sword_resize.h"

#include <mmintrin.h>

#include <cstring>

namespace {

void GatherRow(const BYTE* sourceRow, const uint32_t* columns, int w8, SWORD* destinationRow)
{
    for (int i = 0; i < w8; i += 4) {
        const __m64 low =
            _mm_cvtsi32_si64(SourceWord(sourceRow, columns[i]) | (SourceWord(sourceRow, columns[i + 1]) << 16));
        const __m64 high =
            _mm_cvtsi32_si64(SourceWord(sourceRow, columns[i + 2]) | (SourceWord(sourceRow, columns[i + 3]) << 16));
        const __m64 words = _mm_or_si64(low, _mm_slli_si64(high, 32));
        std::memcpy(destinationRow + i, &words, sizeof(words));
    }
}

void SwapRows(BYTE* first, BYTE* second, int bytes)
{
    int done = 0;
    for (; done + 8 <= bytes; done += 8) {
        __m64 a, b;
        std::memcpy(&a, first + done, sizeof(a));
        std::memcpy(&b, second + done, sizeof(b));
        std::memcpy(first + done, &b, sizeof(b));
        std::memcpy(second + done, &a, sizeof(a));
    }
    MirrorSwapBytes_c(first + done, second + done, bytes - done);
}

} // namespace

HRESULT resize_funct_sword_mmx(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight,
                               int sourceStride, int destinationWidth, int destinationHeight, int* destinationStride,
                               int destinationCapacity, BYTE paddingFlag)
{
    const HRESULT result = RunResize(source, destination, sourceWidth, sourceHeight, sourceStride, destinationWidth,
                                     destinationHeight, destinationStride, destinationCapacity, paddingFlag, GatherRow);
    _mm_empty();
    return result;
}

HRESULT YMirror_function_mmx(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int width,
                             int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    const HRESULT result = RunMirror(planeA, strideA, width, height, alignmentOut, SwapRows);
    _mm_empty();
    return result;
}
