// Plane model helpers shared by every operation family, and the operation table per processor mode.
#include "OptimFunctionUnifProcessSWORD.h"

int GetSwordPlaneStride(int width)
{
    const int bytes = 2 * width;
    return width % 8 == 0 ? bytes : ((bytes + 16) & ~15);
}

HRESULT AnswerSwordAlignmentQuery(int* alignmentOut, int alignment)
{
    if (alignmentOut == nullptr)
        return E_UNEXPECTED;
    *alignmentOut = alignment;
    return S_FALSE;
}

SwordRowWalk GetSwordRowWalkRoundingUp(int widthInWords, int vectorWords, int strideA, int strideB)
{
    int vectors = (widthInWords + vectorWords - 1) / vectorWords;
    if (vectors < 1)
        vectors = 1;
    const int bytes = vectors * vectorWords * 2;
    return {bytes, strideA - bytes, strideB - bytes};
}

SwordRowWalk GetSwordRowWalkRoundingDown(int widthInWords, int vectorWords, int strideA, int strideB)
{
    int vectors = widthInWords / vectorWords;
    if (vectors < 1)
        vectors = 1;
    const int bytes = vectors * vectorWords * 2;
    return {bytes, strideA - bytes, strideB - bytes};
}

SWORD GetNormalizeKoeffSvertka3x3(const SWORD* kernel)
{
    if (kernel == nullptr)
        return 0x4000;
    SWORD sum = 0;
    for (int i = 0; i < 9; ++i)
        sum = static_cast<SWORD>(sum + kernel[i]);
    if (sum <= 0)
        return 0x4000;
    // Nearest integer; a tie goes to the smaller quotient.
    return static_cast<SWORD>((2 * 16384 + sum - 1) / (2 * sum));
}

SwordColumn SelectSwordColumn(uint32_t processorMode)
{
    switch (processorMode & 0xFFFF) {
    case 2:
        return SwordColumn::SseInteger;
    case 4:
    case 8:
    case 32:
    case 64:
        return SwordColumn::Sse2;
    default:
        return SwordColumn::Mmx;
    }
}

namespace {

// The entries every column shares.
constexpr OptimFunctionTableSWORD SharedEntries()
{
    OptimFunctionTableSWORD table{};
    table.r16g16b16ToRgb24 = r16g16b16_to_rgb24;
    return table;
}

constexpr OptimFunctionTableSWORD MmxColumn()
{
    OptimFunctionTableSWORD table = SharedEntries();
    table.yuy2ToY16UV16 = ConvertYUY2toY16UV16_mmx;
    table.y8ToY16 = ConvertY8toY16_mmx;
    table.splitUV = SpliteUVImageToU_V_mmx;
    table.joinUV = JoinU_VImageToUV_mmx;
    table.rgb32ToR16G16B16 = rgb32_to_r16g16b16_mmx;
    table.rgb24ToYuy2 = ConvertRGB24ToYUY2_mmx;
    table.yuy2ToY16UV16ForBitmaps = ConvertYUY2toY16UV16_mmx;
    table.addConstant = AddConstSWORD_mmx;
    table.contrastAboutPivot = ContrastPivotSWORD_mmx;
    table.clampTo255 = ClampTo255SWORD_mmx;
    table.addWhereAboveThreshold = CmpGTAddForSWord_mmx;
    table.andConstant = AndConstSWORD_mmx;
    table.absoluteDifference = AbsDiffSWORD_mmx;
    table.mirrorTopToBottom = YMirror_function_mmx;
    table.compareGreater = CmpGTConstSWORD_mmx;
    table.thresholdSelect = ThresholdSelectSWORD_mmx;
    table.resize = resize_funct_sword_mmx;
    table.setConstant = SetConstSWORD_mmx;
    table.sharpen = sharp_const_sword_funct_mmx;
    table.blur = blure_const_sword_funct_mmx;
    table.average8x8 = Average8x8SWord_mmx;
    table.average2x2Y16 = Average2x2Y16SWord_mmx;
    table.average2x2UV16 = Average2x2UV16SWord_mmx;
    table.edgeImage = edge_image_sword_funct_mmx;
    table.histogram = GetGistogramFromImage_mmx;
    table.removeNoise1 = RemoveAddNoiseFromImage_mmx;
    table.removeNoise2 = RemoveAddNoiseFromImage2_mmx;
    table.convolution1 = Svertka_mmx;
    table.convolution2 = Svertka_mmx;
    table.conditionalConvolution = ConditionSvertka_mmx;
    table.removeNoise3 = RemoveAddNoiseFromImage3_mmx;
    table.gradientCorrection = GradientCorrectImage_mmx;
    table.matrixEffect = MatrixEffectImage_mmx;
    table.correctHue = CorrectHue_mmx;
    return table;
}

// The MMX column except where the word shuffle, word insert or rounded average of SSE pays.
constexpr OptimFunctionTableSWORD SseIntegerColumn()
{
    OptimFunctionTableSWORD table = MmxColumn();
    table.rgb32ToR16G16B16 = rgb32_to_r16g16b16_sse;
    table.resize = resize_funct_sword_sse;
    table.average2x2Y16 = Average2x2Y16SWord_sse;
    table.average2x2UV16 = Average2x2UV16SWord_sse;
    table.gradientCorrection = GradientCorrectImage_sse;
    table.correctHue = CorrectHue_sse;
    return table;
}

constexpr OptimFunctionTableSWORD Sse2Column()
{
    OptimFunctionTableSWORD table = SharedEntries();
    table.yuy2ToY16UV16 = ConvertYUY2toY16UV16_sse2;
    table.y8ToY16 = ConvertY8toY16_sse2;
    table.splitUV = SpliteUVImageToU_V_sse2;
    table.joinUV = JoinU_VImageToUV_sse2;
    table.rgb32ToR16G16B16 = rgb32_to_r16g16b16_sse;
    table.rgb24ToYuy2 = ConvertRGB24ToYUY2_sse2;
    table.yuy2ToY16UV16ForBitmaps = ConvertYUY2toY16UV16_sse2;
    table.addConstant = AddConstSWORD_sse2;
    table.contrastAboutPivot = ContrastPivotSWORD_sse2;
    table.clampTo255 = ClampTo255SWORD_sse2;
    table.addWhereAboveThreshold = CmpGTAddForSWord_sse2;
    table.andConstant = AndConstSWORD_sse2;
    table.absoluteDifference = AbsDiffSWORD_sse2;
    table.mirrorTopToBottom = YMirror_function_sse2;
    table.compareGreater = CmpGTConstSWORD_sse2;
    table.thresholdSelect = ThresholdSelectSWORD_sse2;
    table.resize = resize_funct_sword_sse2;
    table.setConstant = SetConstSWORD_sse2;
    table.sharpen = sharp_const_sword_funct_sse2;
    table.blur = blure_const_sword_funct_sse2;
    table.average8x8 = Average8x8SWord_sse2;
    table.average2x2Y16 = Average2x2Y16SWord_sse2;
    table.average2x2UV16 = Average2x2UV16SWord_sse2;
    table.edgeImage = edge_image_sword_funct_sse2;
    table.histogram = GetGistogramFromImage_sse2;
    table.removeNoise1 = RemoveAddNoiseFromImage_sse2;
    table.removeNoise2 = RemoveAddNoiseFromImage2_sse2;
    table.convolution1 = Svertka_sse2;
    table.convolution2 = Svertka_sse2;
    table.conditionalConvolution = ConditionSvertka_sse2;
    table.removeNoise3 = RemoveAddNoiseFromImage3_sse2;
    table.gradientCorrection = GradientCorrectImage_sse2;
    table.matrixEffect = MatrixEffectImage_sse2;
    table.correctHue = CorrectHue_sse2;
    return table;
}

} // namespace

void FillOptimFunctionTableSWORD(OptimFunctionTableSWORD& table, uint32_t processorMode)
{
    switch (SelectSwordColumn(processorMode)) {
    case SwordColumn::SseInteger:
        table = SseIntegerColumn();
        break;
    case SwordColumn::Sse2:
        table = Sse2Column();
        break;
    default:
        table = MmxColumn();
        break;
    }
}
