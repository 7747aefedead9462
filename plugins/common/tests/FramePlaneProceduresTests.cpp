// The chroma scaling and the reduced copies shared by the filters: what they write, in the plain
// and the SSE2 kernels alike, and what they refuse.
#include "FramePlaneProcedures.h"
#include "TestVideoFrames.h"

#include <gtest/gtest.h>

#include <random>
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

struct Scratch
{
    InfoDataBufferPath1 planes[4];
    ChromaScratchPlanes Planes() { return {&planes[0], &planes[1], &planes[2], &planes[3]}; }
};

} // namespace

TEST(ResizeUVBuffer, HalvesAPlaneKeepingEachPairsColours)
{
    for (SwordColumn column : kColumns)
        for (bool inPlace : {false, true}) {
            InfoDataBufferPath1 source, separate;
            SizePlane(source, 64, 48);
            FillPairs(source, [](int p, int y) { return 10 + p + y; }, [](int p, int y) { return 200 - p - 2 * y; });
            InfoDataBufferPath1 original;
            original = source;
            InfoDataBufferPath1& target = inPlace ? source : separate;
            Scratch scratch;
            ASSERT_EQ(ResizeUVBuffer(Kernels(column), &source, &target, scratch.Planes(), FitWholePlane(32, 24)), S_OK);
            EXPECT_EQ(target.m_info.m_bih.biWidth, 32);
            EXPECT_EQ(target.m_info.m_bih.biHeight, 24);
            EXPECT_EQ(target.m_size_data, 24 * target.m_stride);
            for (int y = 0; y < 24; ++y)
                for (int p = 0; p < 16; ++p) {
                    ASSERT_EQ(PlaneSample(target, 2 * p, y), PlaneSample(original, 4 * p, 2 * y)) << p << "," << y;
                    ASSERT_EQ(PlaneSample(target, 2 * p + 1, y), PlaneSample(original, 4 * p + 1, 2 * y)) << p << "," << y;
                }
        }
}

TEST(ResizeUVBuffer, FittedPictureHasAGreyBorder)
{
    // A picture width that is no multiple of 8: the resize's last group of a row reaches into the
    // right border, which must stay grey all the same.
    const PlaneFit fit{48, 32, 30, 20, 8, 6};
    for (SwordColumn column : kColumns) {
        InfoDataBufferPath1 source, target;
        SizePlane(source, 32, 24);
        FillPairs(source, [](int, int) { return 60; }, [](int, int) { return 210; });
        Scratch scratch;
        ASSERT_EQ(ResizeUVBuffer(Kernels(column), &source, &target, scratch.Planes(), fit), S_OK);
        for (int y = 0; y < fit.targetHeight; ++y)
            for (int x = 0; x < fit.targetWidth; ++x) {
                const bool inside = x >= fit.x && x < fit.x + fit.width && y >= fit.y && y < fit.y + fit.height;
                const int expected = !inside ? 128 : x % 2 == 0 ? 60 : 210;
                ASSERT_EQ(PlaneSample(target, x, y), expected) << x << "," << y;
            }
    }
}

TEST(ResizeUVBuffer, RefusesAPictureOutsideItsPlaneAndMissingPlanes)
{
    InfoDataBufferPath1 source, target;
    SizePlane(source, 32, 24);
    SizePlane(target, 32, 24);
    FillPairs(source, [](int, int) { return 1; }, [](int, int) { return 2; });
    FillPairs(target, [](int, int) { return 3; }, [](int, int) { return 4; });
    const std::vector<BYTE> before = Bytes(target);
    Scratch scratch;

    const PlaneFit outside[] = {
        {32, 24, 32, 24, 2, 0},  // past the right edge
        {32, 24, 32, 24, 0, 2},  // past the last row
        {32, 24, 16, 12, 3, 0},  // an odd corner would swap U and V
        {32, 24, 0, 12, 0, 0},   // no picture
        {32, 24, 16, 12, -2, 0},
    };
    for (const PlaneFit& fit : outside) {
        EXPECT_EQ(ResizeUVBuffer(Kernels(SwordColumn::Sse2), &source, &target, scratch.Planes(), fit), E_FAIL)
            << fit.x << "," << fit.y << "," << fit.width;
        EXPECT_EQ(Bytes(target), before);
    }

    const PlaneFit fit = FitWholePlane(16, 12);
    const ChromaScratchPlanes full = scratch.Planes();
    ChromaScratchPlanes missingScaled = full;
    missingScaled.scaledV = nullptr;
    EXPECT_EQ(ResizeUVBuffer(Kernels(SwordColumn::Sse2), nullptr, &target, full, fit), S_FALSE);
    EXPECT_EQ(ResizeUVBuffer(Kernels(SwordColumn::Sse2), &source, nullptr, full, fit), S_FALSE);
    EXPECT_EQ(ResizeUVBuffer(Kernels(SwordColumn::Sse2), &source, &target, missingScaled, fit), S_FALSE);
    InfoDataBufferPath1 empty;
    EXPECT_EQ(ResizeUVBuffer(Kernels(SwordColumn::Sse2), &empty, &target, full, fit), S_FALSE);
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
