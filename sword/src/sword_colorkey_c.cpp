// Plain colour key and band generation: the reference for the vector variants. Lane constants
// are 8-word vectors laid over the row (word x uses lane x % 8); the plain forms walk exactly the
// width, the vector variants go on to the end of the row's last vector.
#include "sword_effects.h"

#include "CatchAllLog.h"

namespace {

// P - 2 (y - C)^2 for one lane, as the vector code computes it in words.
SWORD BandValue(int row, SWORD centre, SWORD peak)
{
    const SWORD distance = SaturateToWord(static_cast<SWORD>(row) - centre);
    const uint16_t square = static_cast<uint16_t>(distance * distance);
    const uint16_t doubled = static_cast<uint16_t>(2 * square);
    const uint16_t top = static_cast<uint16_t>(peak);
    return static_cast<SWORD>(top > doubled ? top - doubled : 0);
}

} // namespace

HRESULT key_source_sword_funct_c(SWORD* planeA, void*, const void* planeB, void*, const SWORD* laneMask,
                                 int strideA, int strideB, int width, int height, int, const SWORD*, const SWORD*,
                                 int* alignmentOut)
{
    try {
        const HRESULT check = CheckColourKey(planeA, planeB, laneMask, alignmentOut, kSwordAlignmentPlain);
        if (check != S_OK)
            return check;
        for (int row = 0; row < height; ++row) {
            SWORD* lower = RowAt(planeA, strideA, row);
            const SWORD* upper = RowAt(static_cast<const SWORD*>(planeB), strideB, row);
            for (int x = 0; x < width; ++x)
                lower[x] = static_cast<SWORD>((upper[x] != 0 ? upper[x] : lower[x]) & laneMask[x % 8]);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GenerateImageFunct_c(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int width,
                             int height, int, const SWORD* constant1, const SWORD* constant2, int* alignmentOut)
{
    try {
        const HRESULT check = CheckGenerateImage(planeA, constant1, constant2, alignmentOut, kSwordAlignmentPlain);
        if (check != S_OK)
            return check;
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(planeA, strideA, row);
            for (int x = 0; x < width; ++x)
                words[x] = BandValue(row, constant1[x % 8], constant2[x % 8]);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
