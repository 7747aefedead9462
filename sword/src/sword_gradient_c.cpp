// Plain gradient correction and gradient fill: the reference for the vector variants. They walk
// exactly the width; the vector variants go on to the end of the row's last vector.
#include "sword_effects.h"

#include "CatchAllLog.h"

HRESULT GradientCorrectImage_c(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                               int curveEntries)
{
    try {
        const HRESULT check = CheckGradientCorrect(plane, stride, widthInWords, height, curve, curveEntries);
        if (check != S_OK)
            return check;
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(plane, stride, row);
            for (int x = 0; x < widthInWords; ++x)
                words[x] = curve[words[x] < 0 ? 0 : (words[x] > 255 ? 255 : words[x])];
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT gradient_fill_sword_funct_c(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                    int width, int height, int, const SWORD* constant1, const SWORD*,
                                    int* alignmentOut)
{
    try {
        GradientRamp ramp{};
        const HRESULT prepared = PrepareGradientFill(planeA, width, height, constant1, alignmentOut, &ramp);
        if (prepared != S_OK)
            return prepared;
        for (int row = 0; row < height; ++row) {
            const int rowTerm = GradientTerm(ramp.rowStep, row);
            SWORD* words = RowAt(planeA, strideA, row);
            for (int x = 0; x < width; ++x)
                words[x] = SaturateToWord(GradientTerm(ramp.columnStep, x) + rowTerm + ramp.base);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
