// SSE-integer resize: the 4 gathered words go into place with the word insert.
#include "sword_resize.h"

#include <xmmintrin.h>

#include <cstring>

namespace {

void GatherRow(const BYTE* sourceRow, const uint32_t* columns, int w8, SWORD* destinationRow)
{
    for (int i = 0; i < w8; i += 4) {
        __m64 words = _mm_setzero_si64();
        words = _mm_insert_pi16(words, SourceWord(sourceRow, columns[i]), 0);
        words = _mm_insert_pi16(words, SourceWord(sourceRow, columns[i + 1]), 1);
        words = _mm_insert_pi16(words, SourceWord(sourceRow, columns[i + 2]), 2);
        words = _mm_insert_pi16(words, SourceWord(sourceRow, columns[i + 3]), 3);
        std::memcpy(destinationRow + i, &words, sizeof(words));
    }
}

} // namespace

HRESULT resize_funct_sword_sse(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight,
                               int sourceStride, int destinationWidth, int destinationHeight, int* destinationStride,
                               int destinationCapacity, BYTE paddingFlag)
{
    const HRESULT result = RunResize(source, destination, sourceWidth, sourceHeight, sourceStride, destinationWidth,
                                     destinationHeight, destinationStride, destinationCapacity, paddingFlag, GatherRow);
    _mm_empty();
    return result;
}
