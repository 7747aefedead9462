// SSE-integer conversions: MMX registers with the word shuffle of SSE. Ends with _mm_empty.
#include "sword_convert_rows.h"

#include <xmmintrin.h>

#include <cstring>

namespace {

__m64 Load(const void* address)
{
    __m64 value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

void Store(void* address, __m64 value)
{
    std::memcpy(address, &value, sizeof(value));
}

} // namespace

HRESULT rgb32_to_r16g16b16_sse(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                               int sourceStride, int* planeStride, int width, int height)
{
    const HRESULT prepared =
        PrepareRgb32ToPlanes(source, planeR, planeG, planeB, capacity, sourceStride, planeStride, width, height);
    if (prepared != S_OK)
        return prepared;
    const int stride = GetSwordPlaneStride(width);
    const __m64 lowBytes = _mm_set1_pi16(0x00FF);
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(source, sourceStride, row);
        SWORD* r = RowAt(*planeR, stride, row);
        SWORD* g = RowAt(*planeG, stride, row);
        SWORD* b = RowAt(*planeB, stride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            // Byte pairs BG0 RA0 BG1 RA1 shuffled to BG0 BG1 RA0 RA1, then the halves joined.
            const __m64 pixels01 = _mm_shuffle_pi16(Load(in + 4 * x), _MM_SHUFFLE(3, 1, 2, 0));
            const __m64 pixels23 = _mm_shuffle_pi16(Load(in + 4 * x + 8), _MM_SHUFFLE(3, 1, 2, 0));
            const __m64 blueGreen = _mm_unpacklo_pi32(pixels01, pixels23);
            const __m64 redAlpha = _mm_unpackhi_pi32(pixels01, pixels23);
            Store(b + x, _mm_and_si64(blueGreen, lowBytes));
            Store(g + x, _mm_srli_pi16(blueGreen, 8));
            Store(r + x, _mm_and_si64(redAlpha, lowBytes));
        }
        Rgb32ToPlanesRow_c(in, r, g, b, x, width);
    }
    _mm_empty();
    *planeStride = stride;
    return FinishRgb32ToPlanes(*planeR, *planeG, *planeB, stride, width, height);
}
