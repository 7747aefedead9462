// The chroma scaling and the reduced copies shared by the filters: what they write, in the plain
// and the SSE2 kernels alike, and what they refuse.
#include "ChromaPairPick.h"
#include "FramePlaneProcedures.h"
#include "SwordBuffers.h"
#include "TestVideoFrames.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const FramePlaneKernels& Kernels(SwordColumn column)
{
    static const FramePlaneKernels plain = GetFramePlaneKernels(GetOptimFunctionTableSWORD(SwordColumn::Plain));
    static const FramePlaneKernels sse2 = GetFramePlaneKernels(GetOptimFunctionTableSWORD(SwordColumn::Sse2));
    return column == SwordColumn::Sse2 ? sse2 : plain;
}

const SwordColumn kColumns[] = {SwordColumn::Plain, SwordColumn::Sse2};

void SizePlane(InfoDataBufferPath1& plane, int width, int height)
{
    ASSERT_EQ(plane.UpdateSizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height)), S_OK);
}

// A UV16 plane whose pair p of row y holds U = u(p, y), V = v(p, y).
template <class U, class V>
void FillPairs(InfoDataBufferPath1& plane, U u, V v)
{
    for (int y = 0; y < plane.m_info.m_bih.biHeight; ++y)
        for (int p = 0; 2 * p < plane.m_info.m_bih.biWidth; ++p) {
            PlaneSample(plane, 2 * p, y) = static_cast<int16_t>(u(p, y));
            PlaneSample(plane, 2 * p + 1, y) = static_cast<int16_t>(v(p, y));
        }
}

std::vector<BYTE> Bytes(const InfoDataBufferPath1& plane)
{
    return {plane.m_data, plane.m_data + plane.m_capacity};
}

SWORD* Words(InfoDataBufferPath1& plane)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data);
}

// The chroma scaling as SWORD's steps give it: split into U and V, each resized into its place in
// a plane of grey (the resize's last group of 8 words a row made grey again), joined.
void ScaleBySplitResizeJoin(const OptimFunctionTableSWORD& kernels, InfoDataBufferPath1& source,
                            InfoDataBufferPath1& target, const PlaneFit& fit)
{
    const SWORD all[8] = {-1, -1, -1, -1, -1, -1, -1, -1}, grey[8] = {128, 128, 128, 128, 128, 128, 128, 128};
    const auto fillGrey = [&](SWORD* start, int stride, int width, int height) {
        ASSERT_EQ(kernels.setConstant(start, nullptr, nullptr, nullptr, all, stride, 0, width, height, 0, grey, nullptr,
                                      nullptr),
                  S_OK);
    };
    const int width = source.m_info.m_bih.biWidth, height = source.m_info.m_bih.biHeight;
    InfoDataBufferPath1 split[2], scaled[2];
    for (InfoDataBufferPath1& plane : split)
        ASSERT_EQ(plane.AllocBufferEqualCurrent(source), S_OK);
    ASSERT_EQ(kernels.splitUV(Words(source), Words(split[0]), Words(split[1]), source.m_stride, width, height), S_OK);
    const bool bordered = fit.width != fit.targetWidth || fit.height != fit.targetHeight;
    for (int k = 0; k < 2; ++k) {
        scaled[k].m_info = source.m_info;
        SizePlane(scaled[k], fit.targetWidth, fit.targetHeight);
        if (bordered)
            fillGrey(Words(scaled[k]), scaled[k].m_stride, fit.targetWidth, fit.targetHeight);
        const int offset = scaled[k].m_offset_data + fit.y * scaled[k].m_stride + 2 * fit.x;
        auto* picture = reinterpret_cast<SWORD*>(scaled[k].m_data + offset);
        int stride = scaled[k].m_stride;
        ASSERT_EQ(kernels.resize(Words(split[k]), picture, width, height, split[k].m_stride, fit.width, fit.height,
                                 &stride, scaled[k].m_capacity - offset, 0),
                  S_OK);
        if (bordered && fit.width % 8 != 0)
            fillGrey(picture + fit.width, scaled[k].m_stride, 8 - fit.width % 8, fit.height);
    }
    SizePlane(target, fit.targetWidth, fit.targetHeight);
    ASSERT_EQ(kernels.joinUV(Words(target), Words(scaled[0]), Words(scaled[1]), target.m_stride, fit.targetWidth,
                             fit.targetHeight),
              S_OK);
}

// The words a UV16 plane's rows hold, its pairs whole.
std::vector<SWORD> PairRows(InfoDataBufferPath1& plane)
{
    std::vector<SWORD> words;
    const int pairWords = (plane.m_info.m_bih.biWidth + 1) & ~1;
    for (int y = 0; y < plane.m_info.m_bih.biHeight; ++y) {
        const SWORD* row = Words(plane) + static_cast<ptrdiff_t>(y) * plane.m_stride / 2;
        words.insert(words.end(), row, row + pairWords);
    }
    return words;
}

} // namespace

TEST(ResizeUVBuffer, GivesThePlaneOfSplitResizeAndJoin)
{
    struct Case
    {
        int width, height;
        PlaneFit fit;
    };
    const Case cases[] = {
        {64, 48, FitWholePlane(32, 24)},    {37, 21, FitWholePlane(31, 17)},    {37, 21, FitWholePlane(100, 90)},
        {720, 576, FitWholePlane(360, 288)}, {2, 1, FitWholePlane(7, 3)},       {32, 24, {48, 32, 30, 20, 8, 6}},
        {33, 40, {50, 40, 13, 40, 0, 0}},   {64, 10, {64, 10, 64, 3, 0, 7}},   {19, 5, {41, 9, 17, 7, 22, 1}},
        // Widths kept or halved exactly, odd and beside a border.
        {19, 5, {41, 9, 19, 3, 20, 2}},     {34, 9, {40, 12, 17, 5, 6, 3}},    {46, 3, {23, 2, 23, 2, 0, 0}},
        // Targets of more than one strip of pairs.
        {1500, 20, FitWholePlane(2101, 9)}, {700, 6, {2200, 12, 1201, 10, 998, 1}},
    };
    std::mt19937 random(102);
    std::uniform_int_distribution<int> word(-32768, 32767);
    for (SwordColumn column : kColumns)
        for (const Case& c : cases)
            for (bool inPlace : {false, true}) {
                SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " to " +
                             std::to_string(c.fit.width) + "x" + std::to_string(c.fit.height) + " in " +
                             std::to_string(c.fit.targetWidth) + "x" + std::to_string(c.fit.targetHeight) +
                             (inPlace ? " in place" : "") + (column == SwordColumn::Sse2 ? " sse2" : " plain"));
                InfoDataBufferPath1 source, reference, separate, copy;
                SizePlane(source, c.width, c.height);
                FillPairs(source, [&](int, int) { return word(random); }, [&](int, int) { return word(random); });
                InfoDataBufferPath1 original;
                original = source;
                ScaleBySplitResizeJoin(GetOptimFunctionTableSWORD(column), original, reference, c.fit);
                InfoDataBufferPath1& target = inPlace ? source : separate;
                ASSERT_EQ(ResizeUVBuffer(&source, &target, &copy, c.fit), S_OK);
                EXPECT_EQ(target.m_info.m_bih.biWidth, c.fit.targetWidth);
                EXPECT_EQ(target.m_info.m_bih.biHeight, c.fit.targetHeight);
                EXPECT_EQ(target.m_stride, reference.m_stride);
                EXPECT_EQ(target.m_size_data, reference.m_size_data);
                EXPECT_EQ(PairRows(target), PairRows(reference));
            }
}

#ifdef __SSE2__
// Every count of pairs up to a few vector steps, from shifted starts, the last picked pair and the
// last written pair ending right before an inaccessible page.
TEST(PickEverySecondPair, Sse2MatchesThePlainOne)
{
    std::mt19937 random(2);
    for (int count = 0; count <= 21; ++count)
        for (int shift = 0; shift < 4; ++shift) {
            SCOPED_TRACE(std::to_string(count) + " pairs from word " + std::to_string(shift));
            const int sourceWords = count == 0 ? 0 : shift + 4 * count - 2;
            GuardedBuffer source(2 * static_cast<size_t>(sourceWords));
            source.FillRandom(random);
            const size_t targetShift = shift % 2;
            GuardedBuffer plain(2 * targetShift + 4 * static_cast<size_t>(count)), sse2(plain.Size());
            PickEverySecondPair_c(source.Words() + shift, plain.Words() + targetShift, count);
            PickEverySecondPair_sse2(source.Words() + shift, sse2.Words() + targetShift, count);
            EXPECT_EQ(0, std::memcmp(plain.Bytes() + 2 * targetShift, sse2.Bytes() + 2 * targetShift, 4 * count));
        }
}
#endif

TEST(ResizeUVBuffer, FittedPictureHasAGreyBorder)
{
    const PlaneFit fit{48, 32, 30, 20, 8, 6};
    InfoDataBufferPath1 source, target;
    SizePlane(source, 32, 24);
    FillPairs(source, [](int, int) { return 60; }, [](int, int) { return 210; });
    ASSERT_EQ(ResizeUVBuffer(&source, &target, nullptr, fit), S_OK);
    for (int y = 0; y < fit.targetHeight; ++y)
        for (int x = 0; x < fit.targetWidth; ++x) {
            const bool inside = x >= fit.x && x < fit.x + fit.width && y >= fit.y && y < fit.y + fit.height;
            const int expected = !inside ? 128 : x % 2 == 0 ? 60 : 210;
            ASSERT_EQ(PlaneSample(target, x, y), expected) << x << "," << y;
        }
}

TEST(ResizeUVBuffer, RefusesAPictureOutsideItsPlaneAndMissingPlanes)
{
    InfoDataBufferPath1 source, target, copy;
    SizePlane(source, 32, 24);
    SizePlane(target, 32, 24);
    FillPairs(source, [](int, int) { return 1; }, [](int, int) { return 2; });
    FillPairs(target, [](int, int) { return 3; }, [](int, int) { return 4; });
    const std::vector<BYTE> before = Bytes(target);

    const PlaneFit outside[] = {
        {32, 24, 32, 24, 2, 0},  // past the right edge
        {32, 24, 32, 24, 0, 2},  // past the last row
        {32, 24, 16, 12, 3, 0},  // an odd corner would swap U and V
        {32, 24, 0, 12, 0, 0},   // no picture
        {32, 24, 16, 12, -2, 0},
    };
    for (const PlaneFit& fit : outside) {
        EXPECT_EQ(ResizeUVBuffer(&source, &target, &copy, fit), E_FAIL) << fit.x << "," << fit.y << "," << fit.width;
        EXPECT_EQ(Bytes(target), before);
    }

    const PlaneFit fit = FitWholePlane(16, 12);
    EXPECT_EQ(ResizeUVBuffer(nullptr, &target, &copy, fit), S_FALSE);
    EXPECT_EQ(ResizeUVBuffer(&source, nullptr, &copy, fit), S_FALSE);
    EXPECT_EQ(ResizeUVBuffer(&target, &target, nullptr, fit), S_FALSE) << "in place needs the copy";
    InfoDataBufferPath1 empty;
    EXPECT_EQ(ResizeUVBuffer(&empty, &target, &copy, fit), S_FALSE);
    // Rows that would run past the source's block are not read.
    const int32_t capacity = source.m_capacity;
    source.m_capacity = source.m_offset_data + 23 * source.m_stride + 2 * 32 - 2;
    EXPECT_EQ(ResizeUVBuffer(&source, &target, &copy, fit), E_UNEXPECTED);
    source.m_capacity = capacity;
    EXPECT_EQ(Bytes(target), before);
}

namespace {

// A frame with the child slots of the correction filter for levels 0 to 3 (chroma optional) and
// the output planes, the full-size planes sized and filled with random words.
void MakePlanesFrame(InfoDataBufferPath1& frame, int width, int height, bool chroma, uint32_t seed)
{
    ASSERT_EQ(frame.EnableChildBuffers(), S_OK);
    frame.m_index_child.Fill(-1);
    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        frame.m_index_child.GetElement(FrameChildSlot::Luma(level)) = FrameChildSlot::Luma(level) + 1;
        if (chroma)
            frame.m_index_child.GetElement(FrameChildSlot::Chroma(level)) = FrameChildSlot::Chroma(level) + 1;
        frame.m_index_child.GetElement(FrameChildSlot::Output(level)) = FrameChildSlot::Output(level) + 1;
    }
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> value(-300, 600);
    for (int slot : {FrameChildSlot::Luma(0), FrameChildSlot::Chroma(0)}) {
        InfoDataBufferPath1* plane = GetFrameChildPlane(frame, slot);
        if (plane == nullptr)
            continue;
        SizePlane(*plane, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                PlaneSample(*plane, x, y) = static_cast<int16_t>(value(random));
    }
}

} // namespace

TEST(CreateSmallCopyFrames, LevelsAreAveragesOfTheLevelAboveInTheFullSizeLayout)
{
    InfoDataBufferPath1 reference;
    uint32_t referenceAverage = 0;
    for (SwordColumn column : kColumns) {
        InfoDataBufferPath1 frame;
        MakePlanesFrame(frame, 200, 120, true, 7);
        uint32_t average = 999;
        ASSERT_EQ(CreateSmallCopyFrames(Kernels(column), frame, &average), S_OK);
        InfoDataBufferPath1& luma = *GetFrameChildPlane(frame, FrameChildSlot::Luma(0));
        InfoDataBufferPath1& chroma = *GetFrameChildPlane(frame, FrameChildSlot::Chroma(0));
        for (int level = 1; level < FrameChildSlot::kLevels; ++level) {
            InfoDataBufferPath1& above = *GetFrameChildPlane(frame, FrameChildSlot::Luma(level - 1));
            InfoDataBufferPath1& plane = *GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
            InfoDataBufferPath1& chromaAbove = *GetFrameChildPlane(frame, FrameChildSlot::Chroma(level - 1));
            InfoDataBufferPath1& chromaPlane = *GetFrameChildPlane(frame, FrameChildSlot::Chroma(level));
            const int divisor = FrameChildSlot::kDivisors[level];
            EXPECT_EQ(plane.m_info.m_bih.biWidth, 200 / divisor);
            EXPECT_EQ(plane.m_info.m_bih.biHeight, 120 / divisor);
            EXPECT_EQ(plane.m_stride, luma.m_stride);
            EXPECT_EQ(chromaPlane.m_stride, chroma.m_stride);
            EXPECT_EQ(plane.m_size_data, plane.m_stride * (120 / divisor));
            // Luma: the mean of each 2 x 2 block; chroma: of the same component of two pairs.
            const int sum = PlaneSample(above, 0, 0) + PlaneSample(above, 1, 0) + PlaneSample(above, 0, 1) + PlaneSample(above, 1, 1);
            EXPECT_EQ(PlaneSample(plane, 0, 0), sum >> 2) << level;
            const int u = PlaneSample(chromaAbove, 0, 0) + PlaneSample(chromaAbove, 2, 0) + PlaneSample(chromaAbove, 0, 1) +
                          PlaneSample(chromaAbove, 2, 1);
            EXPECT_EQ(PlaneSample(chromaPlane, 0, 0), u >> 2) << level;
        }
        for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
            InfoDataBufferPath1& output = *GetFrameChildPlane(frame, FrameChildSlot::Output(level));
            EXPECT_EQ(output.m_info.m_bih.biWidth, 200 / FrameChildSlot::kDivisors[level]);
            EXPECT_EQ(output.m_stride, luma.m_stride);
        }
        if (column == SwordColumn::Plain) {
            reference = frame;
            referenceAverage = average;
            continue;
        }
        EXPECT_EQ(average, referenceAverage);
        for (int slot = FrameChildSlot::Luma(1); slot <= FrameChildSlot::Chroma(3); ++slot)
            EXPECT_EQ(PlaneSamples(*GetFrameChildPlane(frame, slot)), PlaneSamples(*GetFrameChildPlane(reference, slot))) << slot;
    }
}

TEST(CreateSmallCopyFrames, UniformPictureKeepsItsLevelAndAverage)
{
    InfoDataBufferPath1 frame;
    MakePlanesFrame(frame, 96, 64, false, 1);
    InfoDataBufferPath1& luma = *GetFrameChildPlane(frame, FrameChildSlot::Luma(0));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x)
            PlaneSample(luma, x, y) = 90;
    uint32_t average = 0;
    ASSERT_EQ(CreateSmallCopyFrames(Kernels(SwordColumn::Sse2), frame, &average), S_OK);
    EXPECT_EQ(average, 90u);
    InfoDataBufferPath1& smallest = *GetFrameChildPlane(frame, FrameChildSlot::Luma(3));
    EXPECT_EQ(PlaneSamples(smallest), std::vector<int16_t>(12 * 8, 90));
    EXPECT_EQ(frame.m_index_child.GetElement(FrameChildSlot::Chroma(1)), -1) << "a grey frame gets no chroma";
}

TEST(CreateSmallCopyFrames, MissingLumaPlanesAnswerOneAndChangeNothing)
{
    InfoDataBufferPath1 bare;
    EXPECT_EQ(CreateSmallCopyFrames(Kernels(SwordColumn::Sse2), bare), S_FALSE);

    for (int missing : {FrameChildSlot::Luma(0), FrameChildSlot::Luma(2)}) {
        InfoDataBufferPath1 frame;
        MakePlanesFrame(frame, 64, 64, true, 3);
        frame.m_index_child.GetElement(static_cast<uint32_t>(missing)) = -1;
        InfoDataBufferPath1& level1 = frame.m_child_buffers.GetElement(FrameChildSlot::Luma(1));
        const std::vector<BYTE> before = Bytes(level1);
        const int32_t widthBefore = level1.m_info.m_bih.biWidth;
        EXPECT_EQ(CreateSmallCopyFrames(Kernels(SwordColumn::Sse2), frame), S_FALSE) << missing;
        EXPECT_EQ(Bytes(level1), before);
        EXPECT_EQ(level1.m_info.m_bih.biWidth, widthBefore);
    }
}
