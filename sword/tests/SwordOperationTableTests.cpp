// The 35-entry operation table: for every processor mode and every set of processor features, each
// entry of the chosen column is the operation and variant that the design names for it.
#include "OptimFunctionUnifProcessSWORD.h"

#include "ForcedProcessorFeatures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

template <class F>
const void* Address(F function)
{
    return reinterpret_cast<const void*>(function);
}

struct Entry
{
    int index;
    const char* operation;
    const void* plain;
    const void* mmx;
    const void* sseInteger;
    const void* sse2;
};

// One row per entry, in table order; the SSE2 column holds the aligned kinds.
const Entry kEntries[] = {
    {0, "add constant", Address(AddConstSWORD_c), Address(AddConstSWORD_mmx),
     Address(AddConstSWORD_mmx), Address(AddConstSWORD_sse2)},
    {1, "sharpen", Address(sharp_const_sword_funct_c), Address(sharp_const_sword_funct_mmx),
     Address(sharp_const_sword_funct_mmx), Address(sharp_const_sword_funct_sse2)},
    {2, "blur", Address(blure_const_sword_funct_c), Address(blure_const_sword_funct_mmx),
     Address(blure_const_sword_funct_mmx), Address(blure_const_sword_funct_sse2)},
    {3, "YUY2 to Y16 + UV16", Address(ConvertYUY2toY16UV16_c), Address(ConvertYUY2toY16UV16_mmx),
     Address(ConvertYUY2toY16UV16_mmx), Address(ConvertYUY2toY16UV16_sse2)},
    {4, "contrast about a pivot", Address(ContrastPivotSWORD_c), Address(ContrastPivotSWORD_mmx),
     Address(ContrastPivotSWORD_mmx), Address(ContrastPivotSWORD_sse2)},
    {5, "clamp to 0..255", Address(ClampTo255SWORD_c), Address(ClampTo255SWORD_mmx),
     Address(ClampTo255SWORD_mmx), Address(ClampTo255SWORD_sse2)},
    {6, "8 x 8 averages", Address(Average8x8SWord_c), Address(Average8x8SWord_mmx),
     Address(Average8x8SWord_mmx), Address(Average8x8SWord_sse2)},
    {7, "2 x 2 averages of Y16", Address(Average2x2Y16SWord_c), Address(Average2x2Y16SWord_mmx),
     Address(Average2x2Y16SWord_sse), Address(Average2x2Y16SWord_sse2)},
    {8, "2 x 2 averages of UV16", Address(Average2x2UV16SWord_c), Address(Average2x2UV16SWord_mmx),
     Address(Average2x2UV16SWord_sse), Address(Average2x2UV16SWord_sse2)},
    {9, "Y8 to Y16", Address(ConvertY8toY16_c), Address(ConvertY8toY16_mmx),
     Address(ConvertY8toY16_mmx), Address(ConvertY8toY16_sse2)},
    {10, "edge image", Address(edge_image_sword_funct_c), Address(edge_image_sword_funct_mmx),
     Address(edge_image_sword_funct_mmx), Address(edge_image_sword_funct_sse2)},
    {11, "add where above threshold", Address(CmpGTAddForSWord_c), Address(CmpGTAddForSWord_mmx),
     Address(CmpGTAddForSWord_mmx), Address(CmpGTAddForSWord_sse2)},
    {12, "histogram", Address(GetGistogramFromImage_c), Address(GetGistogramFromImage_mmx),
     Address(GetGistogramFromImage_mmx), Address(GetGistogramFromImage_sse2)},
    {13, "AND constant", Address(AndConstSWORD_c), Address(AndConstSWORD_mmx),
     Address(AndConstSWORD_mmx), Address(AndConstSWORD_sse2)},
    {14, "gradient correction", Address(GradientCorrectImage_c), Address(GradientCorrectImage_mmx),
     Address(GradientCorrectImage_sse), Address(GradientCorrectImage_sse2)},
    {15, "noise removal 1", Address(RemoveAddNoiseFromImage_c), Address(RemoveAddNoiseFromImage_mmx),
     Address(RemoveAddNoiseFromImage_mmx), Address(RemoveAddNoiseFromImage_sse2)},
    {16, "noise removal 2", Address(RemoveAddNoiseFromImage2_c), Address(RemoveAddNoiseFromImage2_mmx),
     Address(RemoveAddNoiseFromImage2_mmx), Address(RemoveAddNoiseFromImage2_sse2)},
    {17, "split UV16", Address(SpliteUVImageToU_V_c), Address(SpliteUVImageToU_V_mmx),
     Address(SpliteUVImageToU_V_mmx), Address(SpliteUVImageToU_V_sse2)},
    {18, "join U and V", Address(JoinU_VImageToUV_c), Address(JoinU_VImageToUV_mmx),
     Address(JoinU_VImageToUV_mmx), Address(JoinU_VImageToUV_sse2)},
    {19, "absolute difference", Address(AbsDiffSWORD_c), Address(AbsDiffSWORD_mmx),
     Address(AbsDiffSWORD_mmx), Address(AbsDiffSWORD_sse2)},
    // The SSE2 column takes an SSE2 kernel of its own: it loads twice the bytes of the SSE-integer one.
    {20, "RGB32 to R16G16B16", Address(rgb32_to_r16g16b16_c), Address(rgb32_to_r16g16b16_mmx),
     Address(rgb32_to_r16g16b16_sse), Address(rgb32_to_r16g16b16_sse2)},
    {21, "mirror top to bottom", Address(YMirror_function_c), Address(YMirror_function_mmx),
     Address(YMirror_function_mmx), Address(YMirror_function_sse2)},
    {22, "R16G16B16 to RGB24", Address(r16g16b16_to_rgb24), Address(r16g16b16_to_rgb24),
     Address(r16g16b16_to_rgb24), Address(r16g16b16_to_rgb24)},
    {23, "RGB24 to YUY2", Address(ConvertRGB24ToYUY2_c), Address(ConvertRGB24ToYUY2_mmx),
     Address(ConvertRGB24ToYUY2_mmx), Address(ConvertRGB24ToYUY2_sse2)},
    {24, "YUY2 to Y16 + UV16 for bitmaps", Address(ConvertYUY2toY16UV16_c), Address(ConvertYUY2toY16UV16_mmx),
     Address(ConvertYUY2toY16UV16_mmx), Address(ConvertYUY2toY16UV16_sse2)},
    {25, "matrix effect", Address(MatrixEffectImage_c), Address(MatrixEffectImage_mmx),
     Address(MatrixEffectImage_mmx), Address(MatrixEffectImage_sse2)},
    {26, "compare with constant", Address(CmpGTConstSWORD_c), Address(CmpGTConstSWORD_mmx),
     Address(CmpGTConstSWORD_mmx), Address(CmpGTConstSWORD_sse2)},
    {27, "threshold select", Address(ThresholdSelectSWORD_c), Address(ThresholdSelectSWORD_mmx),
     Address(ThresholdSelectSWORD_mmx), Address(ThresholdSelectSWORD_sse2)},
    // Both convolution forms compute the same, so both entries hold the one convolution.
    {28, "convolution 1", Address(Svertka_c), Address(Svertka_mmx), Address(Svertka_mmx), Address(Svertka_sse2)},
    {29, "convolution 2", Address(Svertka_c), Address(Svertka_mmx), Address(Svertka_mmx), Address(Svertka_sse2)},
    {30, "conditional convolution", Address(ConditionSvertka_c), Address(ConditionSvertka_mmx),
     Address(ConditionSvertka_mmx), Address(ConditionSvertka_sse2)},
    {31, "noise removal 3", Address(RemoveAddNoiseFromImage3_c), Address(RemoveAddNoiseFromImage3_mmx),
     Address(RemoveAddNoiseFromImage3_mmx), Address(RemoveAddNoiseFromImage3_sse2)},
    {32, "resize", Address(resize_funct_sword_c), Address(resize_funct_sword_mmx),
     Address(resize_funct_sword_sse), Address(resize_funct_sword_sse2)},
    {33, "set constant", Address(SetConstSWORD_c), Address(SetConstSWORD_mmx),
     Address(SetConstSWORD_mmx), Address(SetConstSWORD_sse2)},
    {34, "hue correction", Address(CorrectHue_c), Address(CorrectHue_mmx),
     Address(CorrectHue_sse), Address(CorrectHue_sse2)},
};
static_assert(std::size(kEntries) == 35, "one row per table entry");

const void* EntryOf(const OptimFunctionTableSWORD& table, int index)
{
    return reinterpret_cast<const void* const*>(&table)[index];
}

const void* Entry::*ColumnOf(SwordColumn column)
{
    switch (column) {
    case SwordColumn::Sse2:
        return &Entry::sse2;
    case SwordColumn::SseInteger:
        return &Entry::sseInteger;
    case SwordColumn::Mmx:
        return &Entry::mmx;
    default:
        return &Entry::plain;
    }
}

// Every mode word on processors of four feature sets: the column the mode asks for where the
// processor has its instructions, else the strongest column below it that it has.
TEST(SwordOperationTable, EveryEntryIsTheOperationOfTheColumnModeAndProcessorAllow)
{
    struct Processor
    {
        const char* features;
        bool mmx, sse, sse2;
        SwordColumn forMmxModes, forSseIntegerModes, forSse2Modes;
    };
    const Processor processors[] = {
        {"none", false, false, false, SwordColumn::Plain, SwordColumn::Plain, SwordColumn::Plain},
        {"MMX", true, false, false, SwordColumn::Mmx, SwordColumn::Mmx, SwordColumn::Mmx},
        {"MMX+SSE", true, true, false, SwordColumn::Mmx, SwordColumn::SseInteger, SwordColumn::SseInteger},
        {"SSE2", true, true, true, SwordColumn::Mmx, SwordColumn::SseInteger, SwordColumn::Sse2},
    };
    struct Mode
    {
        uint32_t word;
        SwordColumn Processor::*column;
    };
    const Mode modes[] = {{0, &Processor::forMmxModes},         {1, &Processor::forMmxModes},
                          {128, &Processor::forMmxModes},       {256, &Processor::forMmxModes},
                          {512, &Processor::forMmxModes},       {2, &Processor::forSseIntegerModes},
                          {0x20002, &Processor::forSseIntegerModes}, {4, &Processor::forSse2Modes},
                          {8, &Processor::forSse2Modes},        {32, &Processor::forSse2Modes},
                          {64, &Processor::forSse2Modes}};
    for (const Processor& p : processors) {
        ForcedProcessorFeatures forced(p.mmx, p.sse, p.sse2);
        for (const Mode& m : modes) {
            OptimFunctionTableSWORD table{};
            FillOptimFunctionTableSWORD(table, m.word);
            const void* Entry::*column = ColumnOf(p.*m.column);
            for (int i = 0; i < 35; ++i) {
                const Entry& entry = kEntries[i];
                ASSERT_EQ(i, entry.index);
                EXPECT_EQ(entry.*column, EntryOf(table, i))
                    << p.features << ", mode " << m.word << ", entry " << i << " (" << entry.operation << ")";
            }
        }
    }
}

// A refill after a mode change leaves nothing of the previous column behind.
TEST(SwordOperationTable, RefillReplacesEveryEntry)
{
    OptimFunctionTableSWORD table{};
    FillOptimFunctionTableSWORD(table, 64);
    FillOptimFunctionTableSWORD(table, 2);
    for (int i = 0; i < 35; ++i)
        EXPECT_EQ(kEntries[i].sseInteger, EntryOf(table, i)) << i;
    FillOptimFunctionTableSWORD(table, 1);
    for (int i = 0; i < 35; ++i)
        EXPECT_EQ(kEntries[i].mmx, EntryOf(table, i)) << i;
}

} // namespace
