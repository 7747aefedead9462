#include "InfoGeneralBufferForUserInterface2.h"

#include "TestWidget.h"

#include <gtest/gtest.h>

namespace {

bool HasPlanes(const InfoGeneralBufferForUserInterface2& buffer)
{
    for (uint32_t plane = 0; plane < 3; ++plane)
        if (buffer.m_rgb_buffers.GetElement(plane) == nullptr)
            return false;
    return true;
}

bool PlanesAreNull(const InfoGeneralBufferForUserInterface2& buffer)
{
    for (uint32_t plane = 0; plane < 3; ++plane)
        if (buffer.m_rgb_buffers.GetElement(plane) != nullptr)
            return false;
    return true;
}

struct ResizeCase
{
    int32_t m_width, m_height;
    int32_t m_stored_width, m_stored_height, m_stride, m_size;
};

} // namespace

TEST(GeneralBuffer, NewBufferIsEmpty)
{
    InfoGeneralBufferForUserInterface2 buffer;
    EXPECT_TRUE(PlanesAreNull(buffer));
    EXPECT_EQ(buffer.m_status_buffer, 0u);
    EXPECT_EQ(buffer.m_width_element | buffer.m_height_element | buffer.m_byte_stride | buffer.m_max_size_byte_buffer, 0);
    EXPECT_EQ(buffer.m_last_time_update_buffer, 0u);
}

TEST(GeneralBuffer, ResizeClampsAndRoundsTheStride)
{
    const ResizeCase cases[] = {
        {7, 1, 7, 1, 16, 32},     {8, 1, 8, 1, 16, 32},          {9, 1, 9, 1, 32, 48},
        {0, 0, 0, 0, 0, 16},      {-5, -5, 0, 0, 0, 16},         {16, 1, 16, 1, 32, 48},
        {9000, 10, 8192, 10, 16384, 16384 * 10 + 16}, {8192, 4095, 8192, 4095, 16384, 16384 * 4095 + 16},
    };
    for (const ResizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m_width << " x " << c.m_height);
        InfoGeneralBufferForUserInterface2 buffer;
        EXPECT_EQ(buffer.ResizeBuffer(c.m_width, c.m_height), S_OK);
        EXPECT_EQ(buffer.m_width_element, c.m_stored_width);
        EXPECT_EQ(buffer.m_height_element, c.m_stored_height);
        EXPECT_EQ(buffer.m_byte_stride, c.m_stride);
        EXPECT_EQ(buffer.m_max_size_byte_buffer, c.m_size);
        EXPECT_TRUE(HasPlanes(buffer));
        EXPECT_EQ(buffer.IsChanged(), 1u);
    }
}

TEST(GeneralBuffer, SizeAtTheLimitIsRefusedAndLeavesTheBufferButMarksIt)
{
    InfoGeneralBufferForUserInterface2 buffer;
    ASSERT_EQ(buffer.ResizeBuffer(4, 4), S_OK);
    const int16_t* plane = buffer.m_rgb_buffers.GetElement(0);
    buffer.ClearChanged();

    EXPECT_EQ(buffer.ResizeBuffer(8192, 4096), E_FAIL); // 16384 x 4096 + 16 = 0x4000010
    EXPECT_EQ(buffer.m_width_element, 4);
    EXPECT_EQ(buffer.m_height_element, 4);
    EXPECT_EQ(buffer.m_max_size_byte_buffer, 16 * 4 + 16);
    EXPECT_EQ(buffer.m_rgb_buffers.GetElement(0), plane);
    EXPECT_EQ(buffer.IsChanged(), 1u);
}

TEST(GeneralBuffer, NewPlanesAreZeroAndAnUnchangedByteSizeKeepsPlanesAndSamples)
{
    InfoGeneralBufferForUserInterface2 buffer;
    ASSERT_EQ(buffer.ResizeBuffer(8, 2), S_OK); // stride 16, size 48
    for (uint32_t plane = 0; plane < 3; ++plane)
        for (int32_t i = 0; i < buffer.m_max_size_byte_buffer / 2; ++i)
            EXPECT_EQ(buffer.m_rgb_buffers.GetElement(plane)[i], 0);

    buffer.m_rgb_buffers.GetElement(1)[3] = 99;
    const int16_t* kept = buffer.m_rgb_buffers.GetElement(1);
    ASSERT_EQ(buffer.ResizeBuffer(16, 1), S_OK); // stride 32, size 48
    EXPECT_EQ(buffer.m_rgb_buffers.GetElement(1), kept);
    EXPECT_EQ(buffer.m_rgb_buffers.GetElement(1)[3], 99);
    EXPECT_EQ(buffer.m_width_element, 16);
    EXPECT_EQ(buffer.m_byte_stride, 32);
}

TEST(GeneralBuffer, ChangedMark)
{
    InfoGeneralBufferForUserInterface2 buffer;
    EXPECT_EQ(buffer.IsChanged(), 0u);
    EXPECT_EQ(buffer.SetChanged(), S_OK);
    EXPECT_EQ(buffer.IsChanged(), 1u);
    EXPECT_EQ(buffer.ClearChanged(), S_OK);
    EXPECT_EQ(buffer.IsChanged(), 0u);
}

TEST(GeneralBuffer, FreeBuffersEmptiesItAndGivesTheMemoryBack)
{
    const uint64_t before = LibraryHeapInUse();
    {
        InfoGeneralBufferForUserInterface2 buffer;
        ASSERT_EQ(buffer.ResizeBuffer(100, 100), S_OK);
        EXPECT_GT(LibraryHeapInUse(), before);
        EXPECT_EQ(buffer.FreeBuffers(), S_OK);
        EXPECT_TRUE(PlanesAreNull(buffer));
        EXPECT_EQ(buffer.m_width_element | buffer.m_height_element | buffer.m_byte_stride |
                      buffer.m_max_size_byte_buffer, 0);
        EXPECT_EQ(LibraryHeapInUse(), before);
        ASSERT_EQ(buffer.ResizeBuffer(10, 10), S_OK);
    }
    EXPECT_EQ(LibraryHeapInUse(), before); // the destructor frees
}

namespace {

int g_allocations_left = 0;

HRESULT FailingAfterSomePlanes(int16_t** plane, uint64_t size)
{
    if (g_allocations_left-- <= 0)
        return E_OUTOFMEMORY;
    return SAFE_TASK_ALLOC(plane, size);
}

} // namespace

// A plane that cannot be allocated must not leave sizes over missing planes.
TEST(GeneralBuffer, FailedAllocationLeavesAnEmptyBufferAndEFail)
{
    const uint64_t before = LibraryHeapInUse();
    InfoGeneralBufferForUserInterface2 buffer;
    ASSERT_EQ(buffer.ResizeBuffer(4, 4), S_OK);
    g_allocations_left = 1;
    SetPlaneAllocationForTest(&FailingAfterSomePlanes);
    const HRESULT result = buffer.ResizeBuffer(64, 64);
    SetPlaneAllocationForTest(nullptr);

    EXPECT_EQ(result, E_FAIL);
    EXPECT_TRUE(PlanesAreNull(buffer));
    EXPECT_EQ(buffer.m_width_element | buffer.m_height_element | buffer.m_byte_stride | buffer.m_max_size_byte_buffer,
              0);
    EXPECT_EQ(LibraryHeapInUse(), before);

    EXPECT_EQ(buffer.ResizeBuffer(64, 64), S_OK);
    EXPECT_TRUE(HasPlanes(buffer));
}

TEST(GeneralBuffer, AssignmentCopiesSizeStatusAndSamples)
{
    InfoGeneralBufferForUserInterface2 source;
    ASSERT_EQ(source.ResizeBuffer(5, 3), S_OK);
    source.m_rgb_buffers.GetElement(2)[8 * 2 + 4] = -7; // row 2, column 4
    InfoGeneralBufferForUserInterface2 target;
    target = source;
    EXPECT_EQ(target.m_width_element, 5);
    EXPECT_EQ(target.m_height_element, 3);
    EXPECT_EQ(target.m_rgb_buffers.GetElement(2)[8 * 2 + 4], -7);
    EXPECT_NE(target.m_rgb_buffers.GetElement(2), source.m_rgb_buffers.GetElement(2));
    EXPECT_EQ(target.IsChanged(), 1u);
}
