// Shared by the variants of the gradient, matrix-effect, colour-key, band and hue operations: the
// argument checks and the scalar parts every variant computes alike. Defined in the *_c.cpp files,
// compiled without instruction-set flags; the templates take the variant's own vector code.
#pragma once

#include "sword_convert_rows.h"

#include <cstdint>

// Checks return S_OK to go on, or the result to answer.
HRESULT CheckGradientCorrect(const SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                             int curveEntries);
HRESULT CheckCorrectHue(const SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords,
                        int height);
HRESULT CheckColourKey(const SWORD* planeA, const void* planeB, const SWORD* laneMask, int* alignmentOut,
                       int alignment);
HRESULT CheckGenerateImage(const SWORD* planeA, const SWORD* centres, const SWORD* peaks, int* alignmentOut,
                           int alignment);

// Vectors per row of the rounding-up row walk.
int VectorsPerRow(int widthInWords, int vectorWords);

// Signed saturation of an exact value to a word.
SWORD SaturateToWord(int64_t value);

// ---- Gradient fill --------------------------------------------------------------------------

// Steps of 7 fraction bits per column and per row; each is a word, as the vector lanes hold it.
struct GradientRamp
{
    SWORD base;
    SWORD columnStep;
    SWORD rowStep;
};
// Answers the alignment query (-1), refuses a missing ramp or a size below 1 (the steps divide by
// it), else fills ramp.
HRESULT PrepareGradientFill(const SWORD* plane, int width, int height, const SWORD* constant1, int* alignmentOut,
                            GradientRamp* ramp);
// S(index x step) >> 7: the column or row term after index saturating steps.
SWORD GradientTerm(SWORD step, int index);

// ---- Matrix effect --------------------------------------------------------------------------

struct MatrixEffectCall
{
    SWORD* plane1;
    SWORD* plane2;
    int stride;
    int width;
    int height;
    const SWORD* const* templates1;
    const SWORD* const* templates2;
    const SWORD* const* tiles1;
    const SWORD* const* tiles2;
    int count;
    SWORD intensity;
    SWORD threshold;
};

HRESULT CheckMatrixEffect(const MatrixEffectCall& call);

// Weight h (0..255) of the tile for the best difference, or -1 when the threshold keeps the block.
int MatrixTileWeight(uint16_t difference, SWORD intensity, SWORD threshold);

// Walks the whole 8 x 8 blocks. difference(block, template, stride) answers the saturating
// unsigned sum of |block - template| over 64 words; blend(block, tile, stride, h) mixes the block
// towards the tile with weight h (out of 255).
template <class Difference, class Blend>
void ApplyMatrixEffect(const MatrixEffectCall& call, Difference difference, Blend blend)
{
    const bool second = call.plane2 != nullptr && call.templates2 != nullptr;
    for (int top = 0; top + 8 <= call.height; top += 8)
        for (int left = 0; left + 8 <= call.width; left += 8) {
            SWORD* block1 = RowAt(call.plane1, call.stride, top) + left;
            SWORD* block2 = second ? RowAt(call.plane2, call.stride, top) + left : nullptr;
            // Compared as signed words from 32767 down; going from the last template to the first
            // lets the smaller index win a tie.
            int best = -1;
            SWORD bestDifference = 32767;
            for (int k = call.count - 1; k >= 0; --k) {
                const SWORD* template1 = call.templates1[k];
                const SWORD* template2 = second ? call.templates2[k] : nullptr;
                if (template1 == nullptr || (second && template2 == nullptr))
                    continue;
                int sum = difference(block1, template1, call.stride);
                if (second)
                    sum += difference(block2, template2, call.stride);
                const SWORD d = static_cast<SWORD>(sum > 0xFFFF ? 0xFFFF : sum);
                if (d <= bestDifference) {
                    best = k;
                    bestDifference = d;
                }
            }
            if (best < 0)
                continue;
            const int h = MatrixTileWeight(static_cast<uint16_t>(bestDifference), call.intensity, call.threshold);
            if (h < 0)
                continue;
            if (call.tiles1 != nullptr && call.tiles1[best] != nullptr)
                blend(block1, call.tiles1[best], call.stride, h);
            if (second && call.tiles2 != nullptr && call.tiles2[best] != nullptr)
                blend(block2, call.tiles2[best], call.stride, h);
        }
}
