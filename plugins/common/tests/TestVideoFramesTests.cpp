// The test frames stand in for the correction filter: their slots and planes must be laid out as
// the filters after it read them.
#include "TestVideoFrames.h"

#include <gtest/gtest.h>

TEST(TestVideoFrames, Yuy2FrameCarriesLumaAndChromaAtFourLevels)
{
    InfoDataBufferPath1 frame;
    // A block aligned to 8 pixels keeps its value down to the 1/8 copy.
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 320, 240, BlockLuma(16, 200, 160, 120, 240, 200), 7), S_OK);
    EXPECT_EQ(frame.m_info.m_state, uint32_t{InfoCallInterfaceDataPath1::kStateFrame});
    EXPECT_EQ(frame.m_number_frame, 7);
    EXPECT_EQ(frame.m_stride, 640);
    EXPECT_EQ(frame.IsNULLFrame(), 0);

    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        const int divisor = FrameChildSlot::kDivisors[level];
        InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
        InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(level));
        ASSERT_NE(luma, nullptr) << level;
        ASSERT_NE(chroma, nullptr) << level;
        EXPECT_EQ(frame.m_index_child.GetElement(FrameChildSlot::Luma(level)), FrameChildSlot::Luma(level) + 1);
        EXPECT_EQ(luma->m_info.m_bih.biWidth, 320 / divisor);
        EXPECT_EQ(luma->m_info.m_bih.biHeight, 240 / divisor);
        EXPECT_GE(luma->m_stride, 2 * 320 / divisor);
        EXPECT_EQ(PlaneSample(*luma, 0, 0), 16) << level;
        EXPECT_EQ(PlaneSample(*luma, 160 / divisor, 120 / divisor), 200) << level;
        EXPECT_EQ(PlaneSample(*luma, 240 / divisor - 1, 200 / divisor - 1), 200) << level;
        EXPECT_EQ(PlaneSample(*luma, 240 / divisor, 200 / divisor), 16) << level;
        EXPECT_EQ(PlaneSample(*chroma, 0, 0), 128) << level;
        EXPECT_EQ(PlaneSample(*chroma, 1, 0), 128) << level;
    }
    for (int slot = 8; slot < static_cast<int>(InfoDataBufferPath1::kNumberChildren); ++slot) {
        EXPECT_EQ(frame.m_index_child.GetElement(slot), -1) << slot;
        EXPECT_EQ(GetFrameChildPlane(frame, slot), nullptr) << slot;
    }
}

TEST(TestVideoFrames, Y8FrameHasNoChromaSlots)
{
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Y8, 96, 72, UniformLuma(90)), S_OK);
    EXPECT_EQ(frame.m_stride, 96);
    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        EXPECT_EQ(frame.m_index_child.GetElement(FrameChildSlot::Chroma(level)), -1);
        InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
        ASSERT_NE(luma, nullptr);
        EXPECT_EQ(PlaneSample(*luma, luma->m_info.m_bih.biWidth - 1, luma->m_info.m_bih.biHeight - 1), 90);
    }
}

TEST(TestVideoFrames, ChildPlanesFollowTheChangedPixels)
{
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Y8, 64, 64, UniformLuma(10)), S_OK);
    frame.m_data[frame.m_offset_data] = 50;
    ASSERT_EQ(AttachTestChildPlanes(frame), S_OK);
    EXPECT_EQ(PlaneSample(*GetFrameChildPlane(frame, FrameChildSlot::Luma(0)), 0, 0), 50);
    EXPECT_EQ(PlaneSample(*GetFrameChildPlane(frame, FrameChildSlot::Luma(1)), 0, 0), 20);
}

TEST(FrameChildPlanes, EmptyOrForeignSlotsGiveNoPlane)
{
    InfoDataBufferPath1 frame;
    EXPECT_EQ(GetFrameChildPlane(frame, 0), nullptr) << "no child buffers at all";
    frame.EnableChildBuffers();
    frame.m_index_child.GetElement(0) = 21;
    frame.m_index_child.GetElement(1) = 0;
    EXPECT_EQ(GetFrameChildPlane(frame, 0), nullptr) << "a number beyond the children";
    EXPECT_EQ(GetFrameChildPlane(frame, 1), nullptr);
    EXPECT_EQ(GetFrameChildPlane(frame, -1), nullptr);
    EXPECT_EQ(GetFrameChildPlane(frame, 20), nullptr);
    frame.m_index_child.GetElement(2) = 20;
    EXPECT_EQ(GetFrameChildPlane(frame, 2), &frame.m_child_buffers.GetElement(19));
}
