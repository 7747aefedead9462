// Argument checks and scalar parts shared by every variant of the gradient, matrix-effect,
// colour-key, band and hue operations.
#include "sword_effects.h"

namespace {

bool PlaneGeometryFits(int stride, int widthInWords, int height)
{
    return widthInWords > 0 && height > 0 && stride > 0 && static_cast<int64_t>(stride) >= 2 * static_cast<int64_t>(widthInWords);
}

} // namespace

HRESULT CheckGradientCorrect(const SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                             int curveEntries)
{
    if (plane == nullptr || curve == nullptr || curveEntries < 256 || !PlaneGeometryFits(stride, widthInWords, height))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT CheckCorrectHue(const SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    if (planeUV == nullptr || matrix == nullptr || *matrix == nullptr)
        return E_INVALIDARG;
    if (!PlaneGeometryFits(stride, widthInWords, height))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT CheckColourKey(const SWORD* planeA, const void* planeB, const SWORD* laneMask, int* alignmentOut,
                       int alignment)
{
    if (planeA == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, alignment);
    if (planeB == nullptr || laneMask == nullptr)
        return E_INVALIDARG;
    return S_OK;
}

HRESULT CheckGenerateImage(const SWORD* planeA, const SWORD* centres, const SWORD* peaks, int* alignmentOut,
                           int alignment)
{
    if (planeA == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, alignment);
    if (centres == nullptr || peaks == nullptr)
        return E_INVALIDARG;
    return S_OK;
}

int VectorsPerRow(int widthInWords, int vectorWords)
{
    return GetSwordRowWalkRoundingUp(widthInWords, vectorWords, 0, 0).bytesPerRow / (2 * vectorWords);
}

SWORD SaturateToWord(int64_t value)
{
    return static_cast<SWORD>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}

HRESULT PrepareGradientFill(const SWORD* plane, int width, int height, const SWORD* constant1, int* alignmentOut,
                            GradientRamp* ramp)
{
    if (plane == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, kSwordAlignmentNone);
    if (constant1 == nullptr)
        return E_INVALIDARG;
    if (width < 1 || height < 1)
        return E_UNEXPECTED;
    // The steps are words: a change too steep for 16 bits wraps as the vector lanes would.
    ramp->base = constant1[0];
    ramp->columnStep = static_cast<SWORD>(constant1[1] * 128 / width);
    ramp->rowStep = static_cast<SWORD>(constant1[2] * 128 / height);
    return S_OK;
}

SWORD GradientTerm(SWORD step, int index)
{
    // Saturating steps of one sign end where the saturated product does.
    return static_cast<SWORD>(SaturateToWord(static_cast<int64_t>(step) * index) >> 7);
}

HRESULT CheckMatrixEffect(const MatrixEffectCall& call)
{
    if (call.plane1 == nullptr || call.templates1 == nullptr || call.count <= 0 ||
        !PlaneGeometryFits(call.stride, call.width, call.height))
        return E_UNEXPECTED;
    return S_OK;
}

int MatrixTileWeight(uint16_t difference, SWORD intensity, SWORD threshold)
{
    const int level = difference >> 7;
    if (threshold < level)
        return -1;
    const int strength = intensity < 0 ? 0 : (intensity > 255 ? 255 : intensity);
    const int h = ((255 - (level > 255 ? 255 : level)) * strength) >> 5;
    return h > 255 ? 255 : h;
}
