// Worked cases of the row routines in every variant, their refusals, the routine table of each
// processor mode, the row flip and the HSL pair.
#include "ConversionRoutineTable.h"
#include "ForcedProcessorFeatures.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

// One row of input, generously padded so every variant's steps fit.
constexpr int kStride = 256;

Bytes PaddedRow(const Bytes& pixels)
{
    Bytes row(kStride, 0);
    std::copy(pixels.begin(), pixels.end(), row.begin());
    return row;
}

struct PackedCase
{
    const char* name;
    size_t routine; // index into kPackedRoutines
    Bytes input;
    int width;
    Bytes expected;
};

TEST(ConversionRoutines, WorkedCasesInEveryVariant)
{
    const PackedCase cases[] = {
        {"white to Y8", 0, {255, 255, 255}, 1, {239}},
        {"black to Y8", 0, {0, 0, 0}, 1, {0}},
        {"grey pair to Y8", 0, {100, 100, 100, 10, 20, 30}, 2, {93, 18}},
        {"YUY2 luma", 2, {1, 2, 3, 4, 5, 6, 7, 8}, 4, {1, 3, 5, 7}},
        {"UYVY", 3, {1, 2, 3, 4}, 2, {2, 1, 4, 3}},
        {"YVYU", 4, {1, 2, 3, 4}, 2, {1, 4, 3, 2}},
    };
    for (const PackedCase& testCase : cases) {
        const PackedRoutine& routine = kPackedRoutines[testCase.routine];
        for (size_t variant = 0; variant < routine.variants.size(); ++variant) {
            const Bytes input = PaddedRow(testCase.input);
            Bytes output(kStride, 0xEE);
            // One row: the destination stride only has to be below the source's where a rule says so.
            ASSERT_EQ(S_OK, routine.variants[variant](output.data(), input.data(), kStride / 2, kStride,
                                                      testCase.width, 1))
                << testCase.name << " " << kVariantNames[variant];
            EXPECT_EQ(testCase.expected, Bytes(output.begin(), output.begin() + testCase.expected.size()))
                << testCase.name << " " << kVariantNames[variant];
        }
    }
}

struct RefusalCase
{
    const char* name;
    size_t routine;
    size_t variant;
    int destinationStride;
    int sourceStride;
    int width;
    bool nullSource;
    HRESULT expected;
};

TEST(ConversionRoutines, BadArgumentsAreRefusedBeforeAnyByteIsWritten)
{
    const RefusalCase cases[] = {
        {"null source", 2, 0, 64, 128, 8, true, E_INVALIDARG},
        {"zero width", 2, 2, 64, 128, 0, false, E_UNEXPECTED},
        {"Y8 strides equal", 2, 0, 64, 64, 8, false, E_UNEXPECTED},
        {"YUY2 source stride below the row", 2, 0, 8, 14, 8, false, E_UNEXPECTED},
        {"RGB24 source stride below the row", 0, 0, 8, 23, 8, false, E_UNEXPECTED},
        {"reorder destination wider than the source", 3, 0, 64, 32, 8, false, E_UNEXPECTED},
        {"MMX reorder of 15 pixels in 32 bytes", 3, 1, 32, 32, 15, false, E_UNEXPECTED},
        {"SSE2 luma of 17 pixels in 40 bytes", 2, 2, 16, 40, 17, false, E_UNEXPECTED},
        {"SSE2 RGB24 luma of 17 pixels in 60 bytes", 0, 2, 32, 60, 17, false, E_UNEXPECTED},
        {"MMX YVYU of 9 pixels in 18 bytes", 4, 1, 18, 18, 9, false, E_UNEXPECTED},
    };
    for (const RefusalCase& testCase : cases) {
        const Bytes input(512, 7);
        Bytes output(512, 0xEE);
        const HRESULT result = kPackedRoutines[testCase.routine].variants[testCase.variant](
            output.data(), testCase.nullSource ? nullptr : input.data(), testCase.destinationStride,
            testCase.sourceStride, testCase.width, 2);
        EXPECT_EQ(testCase.expected, result) << testCase.name;
        EXPECT_EQ(Bytes(512, 0xEE), output) << testCase.name;
    }
}

// A 2 x 2 frame: both rows of the pair take the one U and V; an odd third row takes its own luma
// and the last chroma row.
TEST(ConversionRoutines, PlanarRowsShareTheirChromaRow)
{
    const Bytes i420 = {10, 11, 12, 13, 14, 15, /* U */ 20, 21, /* V */ 30, 31};
    const Bytes yv12 = {10, 11, 12, 13, 14, 15, /* V */ 30, 31, /* U */ 20, 21};
    const Bytes expected = {10, 20, 11, 30, 12, 20, 13, 30, 14, 21, 15, 31};
    for (const PlanarRoutine& routine : kPlanarRoutines) {
        const Bytes& source = routine.variants[0] == ConvertI420ToYUY2_c ? i420 : yv12;
        for (size_t variant = 0; variant < routine.variants.size(); ++variant) {
            Bytes output(12, 0);
            ASSERT_EQ(S_OK, routine.variants[variant](output.data(), source.data(), 4, 2, 3,
                                                      static_cast<int>(source.size())));
            EXPECT_EQ(expected, output) << routine.name << " " << kVariantNames[variant];
        }
    }
}

// The planes must fit in the capacity given: one byte short is refused before any byte is read
// (the source ends at a guard page) or written.
TEST(ConversionRoutines, PlanarRoutinesHonourTheSourceCapacity)
{
    constexpr int kWidth = 64, kHeight = 48;
    const int need = static_cast<int>(GetPlanar420FrameBytes(kWidth, kHeight));
    ASSERT_EQ(kWidth * kHeight * 3 / 2, need);
    GuardedBuffer source(static_cast<size_t>(need) - 1);
    for (const PlanarRoutine& routine : kPlanarRoutines) {
        for (size_t variant = 0; variant < routine.variants.size(); ++variant) {
            Bytes output(2 * kWidth * kHeight, 0xEE);
            EXPECT_EQ(E_UNEXPECTED, routine.variants[variant](output.data(), source.Bytes(), 2 * kWidth, kWidth,
                                                              kHeight, need - 1));
            EXPECT_EQ(Bytes(output.size(), 0xEE), output);
            EXPECT_EQ(E_INVALIDARG, routine.variants[variant](output.data(), nullptr, 2 * kWidth, kWidth, kHeight, need));
            EXPECT_EQ(E_UNEXPECTED, routine.variants[variant](output.data(), source.Bytes(), 2 * kWidth - 1, kWidth,
                                                              kHeight, need));
            EXPECT_EQ(E_UNEXPECTED, routine.variants[variant](output.data(), source.Bytes(), 2 * kWidth, 7, kHeight,
                                                              need));
        }
    }
}

struct ModeCase
{
    uint32_t mode;
    bool mmx, sse, sse2;
    ConversionRoutinesIntavo1 expected;
};

bool SameRoutines(const ConversionRoutinesIntavo1& a, const ConversionRoutinesIntavo1& b)
{
    return a.resize == b.resize && a.rgb24ToY8 == b.rgb24ToY8 && a.rgb24ToYuy2 == b.rgb24ToYuy2 &&
           a.yuy2ToY8 == b.yuy2ToY8 && a.uyvyToYuy2 == b.uyvyToYuy2 && a.yvyuToYuy2 == b.yvyuToYuy2 &&
           a.i420ToYuy2 == b.i420ToYuy2 && a.yv12ToYuy2 == b.yv12ToYuy2;
}

TEST(ConversionRoutines, TheWholeModeChoosesTheSet)
{
    const ConversionRoutinesIntavo1 sse2 = {resize_funct_sword_sse2, ConvertRGB24ToY8_sse2, ConvertRGB24ToYUY2_sse2,
                                            ConvertYUY2ToY8_sse2,    ConvertUYVYToYUY2_sse2, ConvertYVYUToYUY2_sse2,
                                            ConvertI420ToYUY2_sse2,  ConvertYV12ToYUY2_sse2};
    const ConversionRoutinesIntavo1 sse = {resize_funct_sword_sse, ConvertRGB24ToY8_c,  ConvertRGB24ToYUY2_c,
                                           ConvertYUY2ToY8_c,      ConvertUYVYToYUY2_c, ConvertYVYUToYUY2_c,
                                           ConvertI420ToYUY2_c,    ConvertYV12ToYUY2_c};
    const ConversionRoutinesIntavo1 mmx = {resize_funct_sword_mmx, ConvertRGB24ToY8_mmx,  ConvertRGB24ToYUY2_mmx,
                                           ConvertYUY2ToY8_mmx,    ConvertUYVYToYUY2_mmx, ConvertYVYUToYUY2_mmx,
                                           ConvertI420ToYUY2_mmx,  ConvertYV12ToYUY2_mmx};
    ConversionRoutinesIntavo1 plain = sse;
    plain.resize = resize_funct_sword_c;
    const ModeCase cases[] = {
        {16, true, true, true, mmx},       {1, true, true, true, mmx},       {2, true, true, true, sse},
        {4, true, true, true, sse2},       {8, true, true, true, sse2},      {32, true, true, true, sse2},
        {64, true, true, true, sse2},      {128, true, true, true, mmx},     {0x10004, true, true, true, mmx},
        {0x10002, true, true, true, mmx},  {4, true, true, false, sse},      {4, true, false, false, mmx},
        {4, false, false, false, plain},   {16, false, false, false, plain},
    };
    for (const ModeCase& testCase : cases) {
        ForcedProcessorFeatures features(testCase.mmx, testCase.sse, testCase.sse2);
        ConversionRoutinesIntavo1 routines{};
        ASSERT_EQ(S_OK, SelectConversionRoutines(routines, testCase.mode));
        EXPECT_TRUE(SameRoutines(testCase.expected, routines))
            << "mode " << testCase.mode << " features " << testCase.mmx << testCase.sse << testCase.sse2;
    }
}

TEST(ConversionRoutines, FlipImageRowsRefusesAndFlips)
{
    Bytes rows = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(E_INVALIDARG, FlipImageRows(nullptr, 2, 3));
    EXPECT_EQ(E_UNEXPECTED, FlipImageRows(rows.data(), 0, 3));
    EXPECT_EQ(E_UNEXPECTED, FlipImageRows(rows.data(), 2, 0));
    EXPECT_EQ((Bytes{1, 2, 3, 4, 5, 6}), rows);
    ASSERT_EQ(S_OK, FlipImageRows(rows.data(), 2, 3));
    EXPECT_EQ((Bytes{5, 6, 3, 4, 1, 2}), rows);

    // Rows longer than the flip's stack block trade places in pieces.
    constexpr int kLongRow = 1300;
    Bytes picture(2 * kLongRow);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = static_cast<BYTE>(i * 7 / 3);
    Bytes flipped(picture.begin() + kLongRow, picture.end());
    flipped.insert(flipped.end(), picture.begin(), picture.begin() + kLongRow);
    ASSERT_EQ(S_OK, FlipImageRows(picture.data(), kLongRow, 2));
    EXPECT_EQ(flipped, picture);
}

TEST(ConversionRoutines, HslPairRoundTripsAPicture)
{
    constexpr int kWidth = 67, kHeight = 9, kStride = 3 * kWidth + 3;
    constexpr int kSize = kStride * kHeight;
    constexpr int kPlaneBytes = 2 * kWidth * kHeight;
    Bytes picture(kSize);
    std::mt19937 random(5);
    for (BYTE& byte : picture)
        byte = static_cast<BYTE>(random());
    // Greys and pure colours too: the hue rule's edges.
    const Bytes specials = {0, 0, 0, 255, 255, 255, 128, 128, 128, 0, 0, 255, 0, 255, 0, 255, 0, 0};
    std::copy(specials.begin(), specials.end(), picture.begin());
    std::vector<SWORD> hue(kWidth * kHeight), saturation(kWidth * kHeight), lightness(kWidth * kHeight);
    int converted = 0;
    ASSERT_EQ(S_OK, ConvertRGB24ToHSL(picture.data(), kStride, kWidth, kHeight, kSize, hue.data(), saturation.data(),
                                      lightness.data(), &converted, kPlaneBytes));
    EXPECT_EQ(kWidth * kHeight, converted);
    EXPECT_EQ(0, hue[0]);
    EXPECT_EQ(0, saturation[1]);
    EXPECT_EQ(255, lightness[1]);

    Bytes back(kSize, 0);
    int written = 0;
    ASSERT_EQ(S_OK, ConvertHSLToRGB24(hue.data(), saturation.data(), lightness.data(), kWidth, kHeight, kStride,
                                      kPlaneBytes, back.data(), &written, kSize));
    EXPECT_EQ(kStride * (kHeight - 1) + 3 * kWidth, written);
    for (int row = 0; row < kHeight; ++row)
        for (int i = 0; i < 3 * kWidth; ++i) {
            const int at = row * kStride + i;
            ASSERT_LE(std::abs(picture[at] - back[at]), 4) << "row " << row << " byte " << i;
        }

    const int lastRowShort = kStride * (kHeight - 1) + 3 * kWidth - 1;
    EXPECT_EQ(E_UNEXPECTED, ConvertRGB24ToHSL(picture.data(), kStride, kWidth, kHeight, lastRowShort, hue.data(),
                                              saturation.data(), lightness.data(), &converted, kPlaneBytes));
    EXPECT_EQ(E_UNEXPECTED, ConvertHSLToRGB24(hue.data(), saturation.data(), lightness.data(), kWidth, kHeight,
                                              kStride, kPlaneBytes - 1, back.data(), &written, kSize));
}

} // namespace
