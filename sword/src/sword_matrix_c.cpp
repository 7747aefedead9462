// Plain matrix effect: the reference for the vector variants.
#include "sword_effects.h"

#include "CatchAllLog.h"

HRESULT MatrixEffectImage_c(SWORD* plane1, SWORD* plane2, int stride, int widthInWords, int height,
                            const SWORD* const* templates1, const SWORD* const* templates2,
                            const SWORD* const* tiles1, const SWORD* const* tiles2, int count, SWORD intensity,
                            SWORD threshold)
{
    try {
        const MatrixEffectCall call{plane1, plane2, stride, widthInWords, height, templates1, templates2,
                                    tiles1, tiles2, count, intensity, threshold};
        const HRESULT check = CheckMatrixEffect(call);
        if (check != S_OK)
            return check;
        const auto difference = [](const SWORD* block, const SWORD* pattern, int rowStride) {
            int sum = 0;
            for (int row = 0; row < 8; ++row, pattern += 8) {
                const SWORD* words = RowAt(block, rowStride, row);
                for (int x = 0; x < 8; ++x) {
                    const uint16_t a = static_cast<uint16_t>(words[x]);
                    const uint16_t b = static_cast<uint16_t>(pattern[x]);
                    sum += a > b ? a - b : b - a;
                }
            }
            return sum > 0xFFFF ? 0xFFFF : sum;
        };
        const auto blend = [](SWORD* block, const SWORD* tile, int rowStride, int h) {
            const int l = 255 - h;
            for (int row = 0; row < 8; ++row, tile += 8) {
                SWORD* words = RowAt(block, rowStride, row);
                // Products keep their low 16 bits, as the vector multiply does.
                for (int x = 0; x < 8; ++x) {
                    const uint16_t kept = static_cast<uint16_t>(static_cast<uint16_t>(words[x]) * l);
                    const uint16_t drawn = static_cast<uint16_t>(static_cast<uint16_t>(tile[x]) * h);
                    words[x] = static_cast<SWORD>((kept >> 8) + (drawn >> 8));
                }
            }
        };
        ApplyMatrixEffect(call, difference, blend);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
