#include "CorelinkTestSupport.h"

#include "LogCapture.h"

#include <climits>
#include <vector>

using FrameBuffer = FrameHeapChecked;

TEST_F(FrameBuffer, FreshBufferIsEmpty)
{
    InfoDataBufferPath1 frame(false);
    EXPECT_EQ(frame.IsNULLFrame(), 1);
    EXPECT_EQ(frame.IsVirtualFrame(), 1);
    EXPECT_EQ(frame.m_number_frame, -1);
    EXPECT_EQ(frame.m_child_buffers.GetCount(), 0u);
    for (uint32_t k = 0; k < InfoDataBufferPath1::kNumberChildren; ++k)
        EXPECT_EQ(frame.m_index_child.GetElement(k), -1);
    EXPECT_EQ(frame.m_info.m_state, 1u);
    EXPECT_EQ(frame.m_self_size, sizeof(InfoDataBufferPath1));
    EXPECT_EQ(frame.m_info.m_params.GetElement(0).m_type, static_cast<uint32_t>(TypeParamUInt));
    EXPECT_EQ(frame.m_info.m_params.GetElement(2).m_type, static_cast<uint32_t>(TypeParamSystemTime));
    EXPECT_GE(frame.m_info.m_params.GetElement(2).GetSystemTime().wYear, 2000);
    EXPECT_EQ(ThrownInteger([&] { frame.m_info.m_params.GetElement(16); }), 2);
}

TEST_F(FrameBuffer, VirtualAndNullFrameStates)
{
    InfoDataBufferPath1 frame(false);
    MakeVideoFrame(frame, kYUY2, 16, 4, 32, 0, 16);
    EXPECT_EQ(frame.IsNULLFrame(), 0) << "a described frame with data";
    frame.SetVirtualFrame();
    EXPECT_EQ(frame.IsVirtualFrame(), 0);

    frame.m_info.m_params.GetElement(5).SetInt(9);
    BYTE* block = frame.m_data;
    ASSERT_EQ(frame.SetNULLFrame(), S_OK);
    EXPECT_EQ(frame.IsNULLFrame(), 1);
    EXPECT_EQ(frame.IsVirtualFrame(), 1);
    EXPECT_EQ(frame.m_data, block) << "the block is kept for reuse";
    EXPECT_EQ(frame.m_capacity, 128);
    EXPECT_EQ(frame.m_size_data, 0);
    EXPECT_EQ(frame.m_info.m_bih.biWidth, 0);
    EXPECT_EQ(frame.m_info.m_params.GetElement(5).m_type, 0u);
    EXPECT_EQ(frame.m_info.m_params.GetElement(0).m_type, 0u);
}

TEST_F(FrameBuffer, BlockIsReusedUntilTwiceTheNeed)
{
    struct Case
    {
        int size;
        int capacityAfter;
        bool sameBlock;
    };
    // Starting from 1000 bytes each time.
    const Case cases[] = {{1000, 1000, true}, {500, 1000, true}, {499, 499, false}, {1200, 1200, false}, {0, 0, false}};
    for (const Case& c : cases) {
        InfoDataBufferPath1 frame(false);
        ASSERT_EQ(frame.AllocBufferForStandartTypeVideoData(1000, 10, 10, 20, 0, 200, kYUY2, 0, 16), S_OK);
        BYTE* block = frame.m_data;
        EXPECT_EQ(frame.AllocBufferForStandartTypeVideoData(c.size, 10, 10, 20, 0, 200, kYUY2, 0, 16), S_OK);
        EXPECT_EQ(frame.m_capacity, c.capacityAfter) << c.size;
        if (c.sameBlock) {
            EXPECT_EQ(frame.m_data, block) << c.size;
        }
    }
    InfoDataBufferPath1 frame(false);
    EXPECT_EQ(frame.AllocBufferForStandartTypeVideoData(-1, 10, 10, 20, 0, 200, kYUY2, 0, 16), E_UNEXPECTED);
    EXPECT_EQ(frame.m_capacity, 0);
    EXPECT_EQ(frame.m_info.m_major_type, GUID_NULL);
}

TEST_F(FrameBuffer, WorkingPlaneLayout)
{
    struct Case
    {
        unsigned width, height;
        int stride, offset, capacity, dataSize;
    };
    const Case cases[] = {{8, 1, 48, 64, 160, 48}, {9, 1, 64, 80, 208, 64}, {320, 240, 672, 688, 162640, 161280}};
    for (const Case& c : cases) {
        InfoDataBufferPath1 frame(false);
        ASSERT_EQ(frame.UpdateSizeBuffer(c.width, c.height), S_OK);
        EXPECT_EQ(frame.m_stride, c.stride) << c.width;
        EXPECT_EQ(frame.m_offset_data, c.offset) << c.width;
        EXPECT_EQ(frame.m_capacity, c.capacity) << c.width;
        EXPECT_EQ(frame.m_size_data, c.dataSize) << c.width;
        EXPECT_EQ(frame.m_info.m_bih.biWidth, static_cast<LONG>(c.width));
    }
}

// A layout whose block cannot be had must leave the old layout and block in place, or later
// writes through the new sizes would run past the old block.
TEST_F(FrameBuffer, FailedAllocationRecordsNoNewSize)
{
    InfoDataBufferPath1 frame(false);
    ASSERT_EQ(frame.UpdateSizeBuffer(16, 1), S_OK);
    const int capacity = frame.m_capacity;
    const int stride = frame.m_stride;
    BYTE* block = frame.m_data;

    EXPECT_LT(frame.UpdateSizeBuffer(0x10000, 0x10000), 0);
    EXPECT_EQ(frame.m_capacity, capacity);
    EXPECT_EQ(frame.m_stride, stride);
    EXPECT_EQ(frame.m_size_data, stride);
    EXPECT_EQ(frame.m_offset_data, stride + 16);
    EXPECT_EQ(frame.m_info.m_bih.biWidth, 16);
    EXPECT_EQ(frame.m_data, block);

    // Sizes whose block size would overflow even 64 bits are refused, nothing changed.
    const unsigned sizes[][2] = {{UINT_MAX, 1}, {0x7FFFFFFF, 0x7FFFFFFF}, {0x7FFFFFFF, 1}, {1, 0x7FFFFFFF},
                                 {0xFFFFFFF0u, 0xFFFFFFF0u}};
    for (const auto& size : sizes) {
        EXPECT_LT(frame.UpdateSizeBuffer(size[0], size[1]), 0) << size[0] << " x " << size[1];
        EXPECT_EQ(frame.m_capacity, capacity);
        EXPECT_EQ(frame.m_stride, stride);
        EXPECT_EQ(frame.m_size_data, stride);
        EXPECT_EQ(frame.m_data, block);
    }
}

TEST_F(FrameBuffer, ChildBuffersHoldTheirOwnHeapReferences)
{
    InfoDataBufferPath1 frame(false);
    ASSERT_EQ(frame.EnableChildBuffers(), S_OK);
    EXPECT_EQ(frame.m_child_buffers.GetCount(), 20u);
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 21);
    ASSERT_EQ(frame.EnableChildBuffers(), S_OK);
    EXPECT_EQ(frame.m_child_buffers.GetCount(), 20u);
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 21);

    InfoDataBufferPath1 withChildren(false);
    ASSERT_EQ(withChildren.InternalDestructor(), S_OK);
    EXPECT_EQ(withChildren.InternalConstructor(true), S_OK);
    EXPECT_EQ(withChildren.m_child_buffers.GetCount(), 20u);
}

// Children hold reduced copies of the frame: key 2k the luminance plane at 1/2^k size.
TEST_F(FrameBuffer, ScaledChildrenAreCopiedWithTheFrame)
{
    InfoDataBufferPath1 frame(false);
    ASSERT_EQ(frame.UpdateSizeBuffer(64, 32), S_OK);
    frame.EnableChildBuffers();
    for (uint32_t k = 0; k < 3; ++k) {
        InfoDataBufferPath1& child = frame.m_child_buffers.GetElement(k);
        ASSERT_EQ(child.UpdateSizeBuffer(64 >> k, 32 >> k), S_OK);
        ASSERT_EQ(child.SlowFillRect(0, 0, 0, 1, 1), S_FALSE) << "no video type yet";
        child.m_info.m_major_type = kVideo;
        ASSERT_EQ(child.SlowFillRect(static_cast<short>(100 + k), 0, 0, 64 >> k, 32 >> k), S_OK);
        frame.m_index_child.GetElement(2 * k) = static_cast<int32_t>(k + 1);
    }

    InfoDataBufferPath1 copy(false);
    copy = frame;
    ASSERT_EQ(copy.m_child_buffers.GetCount(), 20u);
    for (uint32_t k = 0; k < 3; ++k) {
        const int32_t position = copy.m_index_child.GetElement(2 * k) - 1;
        ASSERT_EQ(position, static_cast<int32_t>(k));
        const InfoDataBufferPath1& child = copy.m_child_buffers.GetElement(static_cast<uint32_t>(position));
        EXPECT_EQ(child.m_info.m_bih.biWidth, 64 >> k);
        EXPECT_EQ(child.m_info.m_bih.biHeight, 32 >> k);
        EXPECT_NE(child.m_data, frame.m_child_buffers.GetElement(k).m_data) << "a child owns its block";
        const int16_t* lastRow = reinterpret_cast<const int16_t*>(child.m_data + child.m_offset_data +
                                                                  ((32 >> k) - 1) * child.m_stride);
        EXPECT_EQ(lastRow[(64 >> k) - 1], 100 + static_cast<int>(k));
    }
    EXPECT_EQ(copy.m_index_child.GetElement(1), -1);
}

TEST_F(FrameBuffer, ExchangeSwapsBlocksWithoutCopying)
{
    InfoDataBufferPath1 first(false);
    InfoDataBufferPath1 second(false);
    MakeVideoFrame(first, kYUY2, 16, 4, 32, 0, 16);
    ASSERT_EQ(second.UpdateSizeBuffer(8, 1), S_OK);
    first.m_number_frame = 11;
    first.m_info.m_extra[3] = 7;
    first.m_info.m_extra_short = 5;
    first.m_info.m_params.GetElement(3).SetInt(33);
    first.EnableChildBuffers();
    first.m_index_child.GetElement(0) = 1;
    BYTE* firstBlock = first.m_data;
    BYTE* secondBlock = second.m_data;

    ASSERT_EQ(first.ExchangeBuffersAndDataFromCurrent(second), S_OK);
    EXPECT_EQ(first.m_data, secondBlock);
    EXPECT_EQ(second.m_data, firstBlock);
    EXPECT_EQ(second.m_capacity, 128);
    EXPECT_EQ(second.m_stride, 32);
    EXPECT_EQ(second.m_number_frame, 11);
    EXPECT_EQ(first.m_number_frame, -1);
    EXPECT_EQ(second.m_info.m_subtype, kYUY2);
    EXPECT_EQ(first.m_info.m_subtype, GUID_NULL);
    EXPECT_EQ(second.m_info.m_state, 2u);
    EXPECT_EQ(first.m_info.m_state, 1u);
    EXPECT_EQ(second.m_info.m_bih.biWidth, 16);
    EXPECT_EQ(first.m_info.m_bih.biWidth, 8);
    EXPECT_EQ(second.m_info.m_extra[3], 7u);
    EXPECT_EQ(first.m_info.m_extra[3], 0u);
    EXPECT_EQ(second.m_info.m_extra_short, 5);
    EXPECT_EQ(first.m_info.m_extra_short, 0);
    EXPECT_EQ(first.m_info.m_params.GetElement(3).GetInt(), 33) << "parameters stay with their buffer";
    EXPECT_EQ(second.m_child_buffers.GetCount(), 20u);
    EXPECT_EQ(first.m_child_buffers.GetCount(), 20u);
    EXPECT_EQ(second.m_index_child.GetElement(0), 1);
    EXPECT_EQ(first.m_index_child.GetElement(0), -1);

    EXPECT_EQ(first.ExchangeBuffersAndDataFromCurrent(first), E_FAIL);
}

TEST_F(FrameBuffer, AssignmentCopiesFrameWithTheRowAbove)
{
    InfoDataBufferPath1 source(false);
    ASSERT_EQ(source.UpdateSizeBuffer(16, 4), S_OK);
    for (int i = 0; i < source.m_capacity; ++i)
        source.m_data[i] = static_cast<BYTE>(i * 3);
    source.m_info.m_major_type = kVideo;
    source.m_number_frame = 9;

    InfoDataBufferPath1 copy(false);
    copy = source;
    EXPECT_EQ(copy.m_stride, source.m_stride);
    EXPECT_EQ(copy.m_size_data, source.m_size_data);
    EXPECT_EQ(copy.m_info.m_major_type, kVideo);
    EXPECT_EQ(copy.m_number_frame, -1) << "the frame number is not copied";
    const int start = source.m_offset_data - source.m_stride - 16;
    const int end = source.m_offset_data + source.m_size_data + source.m_stride;
    EXPECT_EQ(std::memcmp(copy.m_data + start, source.m_data + start, end - start), 0);

    EXPECT_EQ(ThrownInteger([&] { copy = copy; }), 241);
    HANDLE own = source.m_heap_buffer;
    source.m_heap_buffer = reinterpret_cast<HANDLE>(0x1234);
    EXPECT_EQ(ThrownInteger([&] { copy = source; }), 241) << "another heap";
    EXPECT_EQ(copy.ExchangeBuffersAndDataFromCurrent(source), E_FAIL);
    source.m_heap_buffer = own;
}

// A source whose sizes add up to more than any block refuses the copy instead of writing past
// the destination.
TEST_F(FrameBuffer, CopyLongerThanTheDestinationIsRefused)
{
    InfoDataBufferPath1 source(false);
    ASSERT_EQ(source.UpdateSizeBuffer(256, 2), S_OK);
    InfoDataBufferPath1 destination(false);
    ASSERT_EQ(destination.UpdateSizeBuffer(16, 1), S_OK);
    const int capacity = destination.m_capacity;

    source.m_size_data = INT_MAX - 100;
    EXPECT_EQ(ThrownInteger([&] { destination = source; }), 241);
    EXPECT_EQ(destination.m_capacity, capacity);
    EXPECT_EQ(destination.m_size_data, destination.m_stride);

    source.m_size_data = -5000;
    EXPECT_EQ(ThrownInteger([&] { destination = source; }), 241);
    EXPECT_EQ(destination.m_size_data, destination.m_stride);
}

TEST_F(FrameBuffer, AllocEqualCopiesTheDescriptionOnly)
{
    InfoDataBufferPath1 source(false);
    MakeVideoFrame(source, kYUY2, 16, 4, 32, 0, 16);
    InfoDataBufferPath1 other(false);
    ASSERT_EQ(other.AllocBufferEqualCurrent(source), S_OK);
    EXPECT_EQ(other.m_capacity, source.m_capacity + 16);
    EXPECT_EQ(other.m_size_data, 0);
    EXPECT_EQ(other.m_stride, 32);
    EXPECT_EQ(other.m_info.m_subtype, kYUY2);
    EXPECT_EQ(ThrownInteger([&] { other.AllocBufferEqualCurrent(other); }), 241);

    InfoDataBufferPath1 empty(false);
    ASSERT_EQ(other.AllocBufferEqualCurrent(empty), S_OK);
    EXPECT_EQ(other.m_capacity, 16) << "an empty source still leaves the 16 spare bytes";
}

TEST_F(FrameBuffer, CopyHalfTakesTheLeftHalfOfEveryRow)
{
    InfoDataBufferPath1 source(false);
    InfoDataBufferPath1 target(false);
    MakeVideoFrame(source, kYUY2, 16, 4, 32, 0, 16);
    MakeVideoFrame(target, kYUY2, 16, 4, 32, 0, 16);
    std::memset(target.m_data, 0, static_cast<size_t>(target.m_capacity));

    ASSERT_EQ(target.CopyHalfBufferFromCurrent(source), S_OK);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(std::memcmp(target.m_data + r * 32, source.m_data + r * 32, 16), 0);
        EXPECT_EQ(target.m_data[r * 32 + 16], 0);
    }

    InfoDataBufferPath1 narrow(false);
    MakeVideoFrame(narrow, kYUY2, 8, 4, 16, 0, 16);
    EXPECT_EQ(target.CopyHalfBufferFromCurrent(narrow), E_FAIL);
    EXPECT_EQ(target.CopyHalfBufferFromCurrent(target), E_FAIL);

    // Rows beyond the source's block are refused, not read.
    source.m_offset_data = 100;
    target.m_offset_data = 100;
    EXPECT_EQ(target.CopyHalfBufferFromCurrent(source), E_FAIL);
}

TEST_F(FrameBuffer, AlignedFrameOfWholeWidthIsUnchanged)
{
    InfoDataBufferPath1 frame(false);
    MakeVideoFrame(frame, kYUY2, 640, 2, 1280, 0, 16);
    BYTE* block = frame.m_data;
    ASSERT_EQ(frame.CheckAlignedFrame(), S_OK);
    EXPECT_EQ(frame.m_data, block);
    EXPECT_EQ(frame.m_capacity, 2560);
    EXPECT_EQ(frame.m_stride, 1280);
}

TEST_F(FrameBuffer, AlignmentCropsPackedRowsToMultipleOf16)
{
    InfoDataBufferPath1 frame(false);
    MakeVideoFrame(frame, kYUY2, 650, 3, 1300, 0, 16);
    std::vector<BYTE> rows(frame.m_data, frame.m_data + 3 * 1300);
    ASSERT_EQ(frame.CheckAlignedFrame(), S_OK);
    EXPECT_EQ(frame.m_info.m_bih.biWidth, 640);
    EXPECT_EQ(frame.m_info.m_bih.biHeight, 3);
    EXPECT_EQ(frame.m_stride, 1280);
    EXPECT_EQ(frame.m_size_data, 1280 * 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(std::memcmp(frame.m_data + r * 1280, rows.data() + r * 1300, 1280), 0) << r;
}

TEST_F(FrameBuffer, AlignmentCropsPlanarFrameIntoOneRun)
{
    InfoDataBufferPath1 frame(false);
    const int width = 20, height = 4;
    const int size = width * height + 2 * (width / 2) * (height / 2);
    ASSERT_EQ(frame.AllocBufferForStandartTypeVideoData(size, width, height, width, 0, size, kI420, 0, 12), S_OK);
    for (int i = 0; i < size; ++i)
        frame.m_data[i] = static_cast<BYTE>(i);
    ASSERT_EQ(frame.CheckAlignedFrame(), S_OK);
    EXPECT_EQ(frame.m_info.m_bih.biWidth, 16);
    EXPECT_EQ(frame.m_stride, 32);
    EXPECT_EQ(frame.m_size_data, 16 * 4 + 16 * 2);
    EXPECT_EQ(frame.m_data[16], 20) << "second luma row follows the first";
    EXPECT_EQ(frame.m_data[64], 80) << "first U row after the luma plane";
    EXPECT_EQ(frame.m_data[72], 90) << "second U row";
    EXPECT_EQ(frame.m_data[80], 100) << "first V row";
}

TEST_F(FrameBuffer, AlignmentMovesDataToAnAlignedOffset)
{
    InfoDataBufferPath1 frame(false);
    MakeVideoFrame(frame, kYUY2, 16, 2, 32, 8, 16);
    std::vector<BYTE> data(frame.m_data + 8, frame.m_data + 8 + 64);
    LogCapture log;
    ASSERT_EQ(frame.CheckAlignedFrame(), S_OK);
    EXPECT_TRUE(log.Contains("InfoDataBufferPath1::CheckAlignedFrame::aliging begin and offset buffer"));
    EXPECT_EQ(frame.m_offset_data, 16);
    EXPECT_EQ(frame.m_capacity, 72 + 32);
    EXPECT_EQ(std::memcmp(frame.m_data + 16, data.data(), data.size()), 0);
}

// Sizes that claim more than the block holds make the alignment and the fills refuse, before
// any byte is moved or written.
TEST_F(FrameBuffer, FillsAndAlignmentCheckTheCapacityFirst)
{
    InfoDataBufferPath1 frame(false);
    MakeVideoFrame(frame, kYUY2, 16, 2, 32, 8, 16);
    frame.m_size_data = 4096;
    const int capacity = frame.m_capacity;
    EXPECT_EQ(frame.CheckAlignedFrame(), E_FAIL);
    EXPECT_EQ(frame.m_offset_data, 8);
    EXPECT_EQ(frame.m_capacity, capacity);

    InfoDataBufferPath1 tall(false);
    MakeVideoFrame(tall, kYUY2, 20, 2, 40, 0, 16);
    tall.m_info.m_bih.biHeight = 200;
    EXPECT_EQ(tall.CheckAlignedFrame(), E_FAIL);
    EXPECT_EQ(tall.m_info.m_bih.biWidth, 20);
    EXPECT_EQ(tall.SlowFillRect(5, 0, 0, 20, 200), E_FAIL);
    EXPECT_NE(tall.m_data[0], 5);

    InfoDataBufferPath1 plane(false);
    ASSERT_EQ(plane.UpdateSizeBuffer(16, 2), S_OK);
    plane.m_info.m_bih.biHeight = 50;
    EXPECT_EQ(plane.FillBoardBufferForSvertka(true), E_UNEXPECTED);
}

TEST_F(FrameBuffer, SlowFillRectChecksTheRectangle)
{
    InfoDataBufferPath1 frame(false);
    ASSERT_EQ(frame.UpdateSizeBuffer(16, 8), S_OK);
    frame.m_info.m_major_type = kAudio;
    EXPECT_EQ(frame.SlowFillRect(1, 0, 0, 1, 1), S_FALSE);
    frame.m_info.m_major_type = kVideo;
    EXPECT_EQ(frame.SlowFillRect(1, 0, 0, 0, 1), E_FAIL);
    EXPECT_EQ(frame.SlowFillRect(1, 10, 0, 7, 1), E_FAIL);
    EXPECT_EQ(frame.SlowFillRect(1, 0, 8, 1, 1), E_FAIL);

    ASSERT_EQ(frame.SlowFillRect(-3, 2, 1, 4, 2), S_OK);
    for (int r = 0; r < 8; ++r) {
        const int16_t* row = reinterpret_cast<const int16_t*>(frame.m_data + frame.m_offset_data + r * frame.m_stride);
        for (int c = 0; c < 16; ++c)
            EXPECT_EQ(row[c], (r >= 1 && r < 3 && c >= 2 && c < 6) ? -3 : 0) << r << "," << c;
    }
}

TEST_F(FrameBuffer, BordersMirrorTheEdges)
{
    for (const bool singleSamples : {true, false}) {
        InfoDataBufferPath1 frame(false);
        const int width = 16, height = 3;
        ASSERT_EQ(frame.UpdateSizeBuffer(width, height), S_OK);
        auto row = [&](int r) { return reinterpret_cast<int16_t*>(frame.m_data + frame.m_offset_data + r * frame.m_stride); };
        for (int r = 0; r < height; ++r)
            for (int c = 0; c < width; ++c)
                row(r)[c] = static_cast<int16_t>(r * 100 + c);

        ASSERT_EQ(frame.FillBoardBufferForSvertka(singleSamples), S_OK);
        for (int r = 0; r < height; ++r) {
            for (int i = 0; i < 8; ++i) {
                const int left = singleSamples ? i : (i / 2) * 2 + 1 - i % 2;
                const int right = singleSamples ? width - 1 - i : width - 2 - (i / 2) * 2 + i % 2;
                EXPECT_EQ(row(r)[-1 - i], r * 100 + left) << singleSamples << " left " << i;
                EXPECT_EQ(row(r)[width + i], r * 100 + right) << singleSamples << " right " << i;
            }
        }
        EXPECT_EQ(std::memcmp(row(-1) - 8, row(0) - 8, frame.m_stride), 0) << "row above";
        EXPECT_EQ(std::memcmp(row(height) - 8, row(height - 1) - 8, frame.m_stride), 0) << "row below";
    }
    InfoDataBufferPath1 empty(false);
    EXPECT_EQ(empty.FillBoardBufferForSvertka(true), E_UNEXPECTED);
}
