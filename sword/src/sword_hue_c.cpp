// Hue tables and the plain hue rotation, the reference for the vector variants. The plain form
// walks whole (U, V) pairs up to the width; the vector variants go on to the end of the last vector.
#include "sword_effects.h"

#include "CatchAllLog.h"

#include <cmath>

namespace {

// One output of the pairwise multiply-add: two 32-bit products summed with 32-bit wrap, shifted
// arithmetically, offset by 128, saturated to a word.
SWORD RotatedComponent(SWORD m0, SWORD m1, SWORD u, SWORD v)
{
    const uint32_t sum = static_cast<uint32_t>(m0 * u) + static_cast<uint32_t>(m1 * v);
    return SaturateToWord((static_cast<int32_t>(sum) >> 12) + 128);
}

} // namespace

HRESULT CreateTablesCorrectHue(DynamicBoundsObject<int32_t>& sineTable, DynamicBoundsObject<int32_t>& cosineTable,
                               StaticBoundsObject<SWORD, 8>& matrix, float degrees)
{
    try {
        if (cosineTable.GetCount() < sineTable.GetCount())
            throw 2;
        const double radians = degrees * 3.141592653589793 / 180.0;
        const double sine = std::sin(radians);
        const double cosine = std::cos(radians);
        for (uint32_t i = 0; i < sineTable.GetCount(); ++i) {
            const double centred = static_cast<double>(i) - 128.0;
            cosineTable.GetElement(i) = static_cast<int32_t>((cosine * centred + 128.0) * 256.0 + 128.5);
            sineTable.GetElement(i) = static_cast<int32_t>(sine * centred * 256.0 + 0.5);
        }
        // Truncated toward zero, so a negative cosine or sine loses up to one unit.
        const SWORD c4 = static_cast<SWORD>(static_cast<int>(cosine * 4096.0 + 0.5));
        const SWORD s4 = static_cast<SWORD>(static_cast<int>(sine * 4096.0 + 0.5));
        const SWORD rotation[4] = {c4, static_cast<SWORD>(-s4), s4, c4};
        for (uint32_t i = 0; i < 8; ++i)
            matrix.GetElement(i) = rotation[i % 4];
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CorrectHue_c(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    try {
        const HRESULT check = CheckCorrectHue(planeUV, matrix, stride, widthInWords, height);
        if (check != S_OK)
            return check;
        const SWORD* m = *matrix;
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(planeUV, stride, row);
            for (int x = 0; x < widthInWords; x += 2) {
                const SWORD u = SaturateToWord(words[x] - 128);
                const SWORD v = SaturateToWord(words[x + 1] - 128);
                words[x] = RotatedComponent(m[0], m[1], u, v);
                words[x + 1] = RotatedComponent(m[2], m[3], u, v);
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
