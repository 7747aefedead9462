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

namespace {

// Every entry of one column: the operations' variants of one suffix, in table order.
#define SWORD_TABLE_COLUMN(suffix)                                        \
    OptimFunctionTableSWORD                                               \
    {                                                                     \
        .addConstant = AddConstSWORD##suffix,                             \
        .sharpen = sharp_const_sword_funct##suffix,                       \
        .blur = blure_const_sword_funct##suffix,                          \
        .yuy2ToY16UV16 = ConvertYUY2toY16UV16##suffix,                    \
        .contrastAboutPivot = ContrastPivotSWORD##suffix,                 \
        .clampTo255 = ClampTo255SWORD##suffix,                            \
        .average8x8 = Average8x8SWord##suffix,                            \
        .average2x2Y16 = Average2x2Y16SWord##suffix,                      \
        .average2x2UV16 = Average2x2UV16SWord##suffix,                    \
        .y8ToY16 = ConvertY8toY16##suffix,                                \
        .edgeImage = edge_image_sword_funct##suffix,                      \
        .addWhereAboveThreshold = CmpGTAddForSWord##suffix,               \
        .histogram = GetGistogramFromImage##suffix,                       \
        .andConstant = AndConstSWORD##suffix,                             \
        .gradientCorrection = GradientCorrectImage##suffix,               \
        .removeNoise1 = RemoveAddNoiseFromImage##suffix,                  \
        .removeNoise2 = RemoveAddNoiseFromImage2##suffix,                 \
        .splitUV = SpliteUVImageToU_V##suffix,                            \
        .joinUV = JoinU_VImageToUV##suffix,                               \
        .absoluteDifference = AbsDiffSWORD##suffix,                       \
        .rgb32ToR16G16B16 = rgb32_to_r16g16b16##suffix,                   \
        .mirrorTopToBottom = YMirror_function##suffix,                    \
        .r16g16b16ToRgb24 = r16g16b16_to_rgb24,                           \
        .rgb24ToYuy2 = ConvertRGB24ToYUY2##suffix,                        \
        .yuy2ToY16UV16ForBitmaps = ConvertYUY2toY16UV16##suffix,          \
        .matrixEffect = MatrixEffectImage##suffix,                        \
        .compareGreater = CmpGTConstSWORD##suffix,                        \
        .thresholdSelect = ThresholdSelectSWORD##suffix,                  \
        .convolution1 = Svertka##suffix,                                  \
        .convolution2 = Svertka##suffix,                                  \
        .conditionalConvolution = ConditionSvertka##suffix,               \
        .removeNoise3 = RemoveAddNoiseFromImage3##suffix,                 \
        .resize = resize_funct_sword##suffix,                             \
        .setConstant = SetConstSWORD##suffix,                             \
        .correctHue = CorrectHue##suffix,                                 \
    }

constexpr OptimFunctionTableSWORD kPlainColumn = SWORD_TABLE_COLUMN(_c);
constexpr OptimFunctionTableSWORD kMmxColumn = SWORD_TABLE_COLUMN(_mmx);
constexpr OptimFunctionTableSWORD kSse2Column = SWORD_TABLE_COLUMN(_sse2);

// The MMX column except where the word shuffle, word insert or rounded average of SSE pays.
constexpr OptimFunctionTableSWORD SseIntegerColumn()
{
    OptimFunctionTableSWORD table = kMmxColumn;
    table.rgb32ToR16G16B16 = rgb32_to_r16g16b16_sse;
    table.resize = resize_funct_sword_sse;
    table.average2x2Y16 = Average2x2Y16SWord_sse;
    table.average2x2UV16 = Average2x2UV16SWord_sse;
    table.gradientCorrection = GradientCorrectImage_sse;
    table.correctHue = CorrectHue_sse;
    return table;
}

constexpr OptimFunctionTableSWORD kSseIntegerColumn = SseIntegerColumn();

} // namespace

const OptimFunctionTableSWORD& GetOptimFunctionTableSWORD(SwordColumn column)
{
    switch (column) {
    case SwordColumn::Sse2:
        return kSse2Column;
    case SwordColumn::SseInteger:
        return kSseIntegerColumn;
    case SwordColumn::Mmx:
        return kMmxColumn;
    default:
        return kPlainColumn;
    }
}

void FillOptimFunctionTableSWORD(OptimFunctionTableSWORD& table, uint32_t processorMode)
{
    table = GetOptimFunctionTableSWORD(SelectProcessorKernelSet(processorMode));
}
