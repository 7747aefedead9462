// The frame-level conversion: strides, scratch copies, upright RGB24 frames, Y8 and the NULL
// frame a refused conversion leaves.
#include "ConversionRoutineTable.h"
#include "ForcedProcessorFeatures.h"
#include "LogCapture.h"
#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using namespace media_guids;
using Bytes = std::vector<BYTE>;

constexpr uint32_t kModePlain = 1;
constexpr uint32_t kModeSse2 = 4;

Bytes RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (BYTE& byte : bytes)
        byte = static_cast<BYTE>(random());
    return bytes;
}

// A frame that describes the source as the fetch leaves it before the conversion.
void Describe(InfoDataBufferPath1& frame, const GUID& subtype, int width, int height)
{
    frame.m_info.m_subtype = subtype;
    frame.m_info.m_bih.biWidth = width;
    frame.m_info.m_bih.biHeight = height;
}

class FrameConversion : public ::testing::Test
{
protected:
    HRESULT Convert(uint32_t mode, Bytes& source, int sourceStride, bool yuy2Output = true)
    {
        ConversionRoutinesIntavo1 routines{};
        SelectConversionRoutines(routines, mode);
        return ConvertDataBufferToYUY2orY8Formats(routines, m_scratch, source.data(), sourceStride, m_frame,
                                                  yuy2Output);
    }
    const BYTE* Row(int row) const { return m_frame.m_data + static_cast<size_t>(m_frame.m_stride) * row; }

    InfoDataBufferPath1 m_frame{false};
    MemoryBlockClass<BYTE> m_scratch;
};

TEST_F(FrameConversion, Rgb24BecomesUprightYuy2WithAStrideOfWholeTriples)
{
    constexpr int kWidth = 640, kHeight = 480, kStride = 1920;
    Bytes source = RandomBytes(static_cast<size_t>(kStride) * kHeight, 1);
    for (uint32_t mode : {kModePlain, kModeSse2}) {
        Bytes copy = source;
        Describe(m_frame, MEDIASUBTYPE_RGB24, kWidth, -kHeight);
        ASSERT_EQ(S_OK, Convert(mode, copy, kStride));
        EXPECT_EQ(1296, m_frame.m_stride);
        EXPECT_EQ(1296 * kHeight, m_frame.m_size_data);
        EXPECT_EQ(kHeight, m_frame.m_info.m_bih.biHeight);
        EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, m_frame.m_info.m_subtype));
        EXPECT_EQ(MAKEFOURCC('Y', 'U', 'Y', '2'), m_frame.m_info.m_bih.biCompression);
        EXPECT_EQ(16, m_frame.m_info.m_bih.biBitCount);
        // The bottom row in memory is the top row of the picture.
        for (int row : {0, 1, kHeight - 1}) {
            Bytes expected(2 * kWidth);
            ASSERT_EQ(S_OK, ConvertRGB24ToYUY2_c(expected.data(), source.data() + kStride * (kHeight - 1 - row),
                                                 2 * kWidth, kStride, kWidth, 1));
            EXPECT_EQ(expected, Bytes(Row(row), Row(row) + 2 * kWidth)) << "mode " << mode << " row " << row;
        }
    }
}

TEST_F(FrameConversion, Yuy2OfAnOddStrideGoesThroughAScratchBlock)
{
    constexpr int kWidth = 100, kHeight = 10, kStride = 200;
    Bytes source = RandomBytes(static_cast<size_t>(kStride) * kHeight, 2);
    LogCapture log;
    Describe(m_frame, MEDIASUBTYPE_YUY2, kWidth, kHeight);
    ASSERT_EQ(S_OK, Convert(kModeSse2, source, kStride));
    EXPECT_TRUE(log.Contains("Intavo1::ConvertDataBufferToYUY2orY8Formats::begin alloc align source buffer"));
    EXPECT_EQ(208u * kHeight, m_scratch.GetSize());
    EXPECT_EQ(208, m_frame.m_stride);
    for (int row = 0; row < kHeight; ++row)
        EXPECT_EQ(Bytes(source.begin() + kStride * row, source.begin() + kStride * (row + 1)),
                  Bytes(Row(row), Row(row) + 2 * kWidth));

    // The scratch block stays for the next frame: no allocation, no log line.
    log.Clear();
    ASSERT_EQ(S_OK, Convert(kModeSse2, source, kStride));
    EXPECT_FALSE(log.Contains("begin alloc align source buffer"));
}

TEST_F(FrameConversion, PackedFormatsArriveAsYuy2InEverySet)
{
    struct Case
    {
        GUID subtype;
        Bytes pixels;
    };
    // Each source spells the YUY2 pixel pair (10, 20, 11, 30) in its own order.
    const Case cases[] = {
        {MEDIASUBTYPE_UYVY, {20, 10, 30, 11}},
        {MEDIASUBTYPE_YVYU, {10, 30, 11, 20}},
        {MEDIASUBTYPE_YUYV, {10, 20, 11, 30}},
        {MEDIASUBTYPE_YUY2, {10, 20, 11, 30}},
    };
    for (uint32_t mode : {kModePlain, 2u, kModeSse2})
        for (const Case& testCase : cases) {
            Bytes source;
            for (int pair = 0; pair < 16; ++pair)
                source.insert(source.end(), testCase.pixels.begin(), testCase.pixels.end());
            Describe(m_frame, testCase.subtype, 16, 2);
            ASSERT_EQ(S_OK, Convert(mode, source, 32)) << "mode " << mode;
            EXPECT_TRUE(IsEqualGUID(MEDIASUBTYPE_YUY2, m_frame.m_info.m_subtype));
            const BYTE* row = Row(1);
            EXPECT_EQ((Bytes{10, 20, 11, 30}), Bytes(row + 28, row + 32)) << "mode " << mode;
        }
}

// 15 pixels: the scratch stride is 32 bytes, in which five MMX steps of 8 bytes do not fit.
TEST_F(FrameConversion, UyvyOfWidth15IsRefusedByTheMmxSetAsANullFrame)
{
    Bytes source = RandomBytes(30 * 4, 3);
    Describe(m_frame, MEDIASUBTYPE_UYVY, 15, 4);
    EXPECT_EQ(E_UNEXPECTED, Convert(kModePlain, source, 30));
    EXPECT_EQ(1, m_frame.IsNULLFrame());
    EXPECT_EQ(0, m_frame.m_size_data);

    Describe(m_frame, MEDIASUBTYPE_UYVY, 15, 4);
    EXPECT_EQ(S_OK, Convert(kModeSse2, source, 30));
    EXPECT_EQ(32, m_frame.m_stride);
}

TEST_F(FrameConversion, Y8StaysY8AndYuy2CanGiveY8)
{
    Bytes y8 = RandomBytes(64 * 3, 4);
    Describe(m_frame, MediaSubtypeY8, 64, 3);
    ASSERT_EQ(S_OK, Convert(kModeSse2, y8, 64));
    EXPECT_TRUE(IsEqualGUID(MediaSubtypeY8, m_frame.m_info.m_subtype));
    EXPECT_EQ(0x20203859u, m_frame.m_info.m_bih.biCompression);
    EXPECT_EQ(8, m_frame.m_info.m_bih.biBitCount);
    EXPECT_EQ(64, m_frame.m_stride);
    EXPECT_EQ(Bytes(y8.begin() + 128, y8.end()), Bytes(Row(2), Row(2) + 64));

    Bytes yuy2 = {9, 1, 8, 2, 7, 3, 6, 4};
    yuy2.resize(32 * 2, 5);
    Describe(m_frame, MEDIASUBTYPE_YUY2, 16, 2);
    ASSERT_EQ(S_OK, Convert(kModeSse2, yuy2, 32, false));
    EXPECT_TRUE(IsEqualGUID(MediaSubtypeY8, m_frame.m_info.m_subtype));
    EXPECT_EQ((Bytes{9, 8, 7, 6}), Bytes(Row(0), Row(0) + 4));
}

TEST_F(FrameConversion, BadSourcesLeaveANullFrame)
{
    Bytes source(64, 1);
    ConversionRoutinesIntavo1 routines{};
    SelectConversionRoutines(routines, kModeSse2);
    Describe(m_frame, MEDIASUBTYPE_YUY2, 16, 2);
    EXPECT_EQ(E_INVALIDARG, ConvertDataBufferToYUY2orY8Formats(routines, m_scratch, nullptr, 32, m_frame, true));
    EXPECT_EQ(E_UNEXPECTED, ConvertDataBufferToYUY2orY8Formats(routines, m_scratch, source.data(), 0, m_frame, true));
    // A stride below the row, an empty picture and a subtype without a conversion.
    EXPECT_EQ(E_UNEXPECTED, Convert(kModeSse2, source, 30));
    EXPECT_EQ(1, m_frame.IsNULLFrame());
    Describe(m_frame, MEDIASUBTYPE_YUY2, 0, 2);
    EXPECT_EQ(E_UNEXPECTED, Convert(kModeSse2, source, 32));
    Describe(m_frame, MEDIASUBTYPE_RGB32, 8, 2);
    EXPECT_EQ(E_UNEXPECTED, Convert(kModeSse2, source, 32));
    EXPECT_EQ(1, m_frame.IsNULLFrame());
}

} // namespace
