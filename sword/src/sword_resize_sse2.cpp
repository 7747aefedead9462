// SSE2 resize (8 gathered words put in place with the word insert, or packed from two vectors
// where the width is halved) and mirror (16 bytes a step).
// Loads and stores take any alignment.
#include "sword_resize.h"

#include <emmintrin.h>

#include <cstring>

namespace {

void GatherRow(const BYTE* sourceRow, const uint32_t* columns, int w8, SWORD* destinationRow)
{
    for (int i = 0; i < w8; i += 8) {
        __m128i words = _mm_setzero_si128();
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i]), 0);
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i + 1]), 1);
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i + 2]), 2);
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i + 3]), 3);
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i + 4]), 4);
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i + 5]), 5);
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i + 6]), 6);
        words = _mm_insert_epi16(words, SourceWord(sourceRow, columns[i + 7]), 7);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destinationRow + i), words);
    }
}

// Two vectors of source words to one of their even words: each even word is sign-extended over its
// 32-bit lane, so the saturating pack keeps it exactly.
void HalveRow(const BYTE* sourceRow, int w8, SWORD* destinationRow)
{
    for (int i = 0; i < w8; i += 8) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sourceRow + 4 * i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sourceRow + 4 * i + 16));
        const __m128i evenLow = _mm_srai_epi32(_mm_slli_epi32(low, 16), 16);
        const __m128i evenHigh = _mm_srai_epi32(_mm_slli_epi32(high, 16), 16);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destinationRow + i), _mm_packs_epi32(evenLow, evenHigh));
    }
}

void SwapRows(BYTE* first, BYTE* second, int bytes)
{
    int done = 0;
    for (; done + 16 <= bytes; done += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + done));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + done));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first + done), b);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(second + done), a);
    }
    MirrorSwapBytes_c(first + done, second + done, bytes - done);
}

} // namespace

HRESULT resize_funct_sword_sse2(const SWORD* source, SWORD* destination, int sourceWidth, int sourceHeight,
                                int sourceStride, int destinationWidth, int destinationHeight, int* destinationStride,
                                int destinationCapacity, BYTE paddingFlag)
{
    return RunResize(source, destination, sourceWidth, sourceHeight, sourceStride, destinationWidth,
                     destinationHeight, destinationStride, destinationCapacity, paddingFlag, GatherRow, HalveRow);
}

HRESULT YMirror_function_sse2(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int width,
                              int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    return RunMirror(planeA, strideA, width, height, alignmentOut, SwapRows);
}

// Its rows are exchanged with loads and stores at any address already.
HRESULT YMirror_function_sse2u(SWORD* planeA, void* extraOut, const void* planeB, void* unused, const SWORD* mask,
                               int strideA, int strideB, int width, int height, int count, const SWORD* constant1,
                               const SWORD* constant2, int* alignmentOut)
{
    return YMirror_function_sse2(planeA, extraOut, planeB, unused, mask, strideA, strideB, width, height, count,
                                 constant1, constant2, alignmentOut);
}
