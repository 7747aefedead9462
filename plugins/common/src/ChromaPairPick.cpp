#include "ChromaPairPick.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

void PickEverySecondPair_c(const SWORD* in, SWORD* out, int count)
{
    for (int p = 0; p < count; ++p)
        std::memcpy(out + 2 * p, in + 4 * p, 2 * sizeof(SWORD));
}

#ifdef __SSE2__
// Four target pairs from eight source pairs a step. The loads of the last step would read past
// the last picked pair, so the final pairs go the plain way.
void PickEverySecondPair_sse2(const SWORD* in, SWORD* out, int count)
{
    int p = 0;
    for (; p + 4 < count; p += 4) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * p));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * p + 8));
        // Pairs 0 and 2 of each load to the low half, then both low halves together.
        const __m128i picked = _mm_unpacklo_epi64(_mm_shuffle_epi32(low, _MM_SHUFFLE(3, 1, 2, 0)),
                                                  _mm_shuffle_epi32(high, _MM_SHUFFLE(3, 1, 2, 0)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * p), picked);
    }
    PickEverySecondPair_c(in + 4 * p, out + 2 * p, count - p);
}
#endif
