// Skin pictures loaded into general buffers, buffers copied and scaled into others, and the size
// sum of a widget's buffers.
#include "TestWidget.h"

#include "LogCapture.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

int16_t Sample(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t x, int32_t y)
{
    return buffer.m_rgb_buffers.GetElement(plane)[y * buffer.m_byte_stride / 2 + x];
}

void SetSample(InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t x, int32_t y, int16_t value)
{
    buffer.m_rgb_buffers.GetElement(plane)[y * buffer.m_byte_stride / 2 + x] = value;
}

} // namespace

class SkinAndCopyTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(m_widget.SetOptimCPUReal(4))); }

    HookRecord m_record;
    TestWidget m_widget{m_record};
    TempFolder m_folder;
};

TEST_F(SkinAndCopyTest, SkinLoadsExactlyWithSpareBytesBehindTheRows)
{
    constexpr int Width = 5, Height = 3;
    std::vector<uint32_t> pixels;
    for (int i = 0; i < Width * Height; ++i)
        pixels.push_back(static_cast<uint32_t>((i * 10) << 16 | (i * 10 + 1) << 8 | (i * 10 + 2)));
    m_folder.WriteFile("skin.bmp", MakeBmp32(Width, Height, pixels, true));
    for (uint32_t mode : {1u, 4u, 0x200u}) { // 0x200: no set, the loader's own conversion and mirror
        SCOPED_TRACE(mode);
        m_widget.SetOptimCPUReal(mode);
        InfoGeneralBufferForUserInterface2 buffer;
        buffer.ResizeBuffer(200, 100); // a larger block is reused
        buffer.ClearChanged();
        ASSERT_EQ(m_widget.LoadBMPFileToGeneralBuffer("skin.bmp", m_folder.Path().c_str(), &buffer), S_OK);
        EXPECT_EQ(buffer.m_width_element, Width);
        EXPECT_EQ(buffer.m_height_element, Height);
        EXPECT_EQ(buffer.m_byte_stride, 16);
        EXPECT_EQ(buffer.IsChanged(), 1u);
        EXPECT_EQ(buffer.CheckBuffer(), S_OK);
        // The rows and the 16 spare bytes behind them lie inside every plane.
        EXPECT_GE(buffer.m_max_size_byte_buffer, buffer.m_byte_stride * Height + 16);
        EXPECT_EQ(buffer.CheckMemoryBuffers(), S_OK);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                const int i = y * Width + x;
                EXPECT_EQ(Sample(buffer, 0, x, y), i * 10);
                EXPECT_EQ(Sample(buffer, 1, x, y), i * 10 + 1);
                EXPECT_EQ(Sample(buffer, 2, x, y), i * 10 + 2);
            }
    }
    // A fresh buffer gets planes of exactly the rows and the spare bytes.
    InfoGeneralBufferForUserInterface2 fresh;
    ASSERT_EQ(m_widget.LoadBMPFileToGeneralBuffer("skin.bmp", m_folder.Path().c_str(), &fresh), S_OK);
    EXPECT_EQ(fresh.m_max_size_byte_buffer, 16 * Height + 16);
    EXPECT_EQ(fresh.CheckMemoryBuffers(), S_OK);
}

TEST_F(SkinAndCopyTest, MissingSkinGivesThirtyTwoSquareZeros)
{
    InfoGeneralBufferForUserInterface2 buffer;
    buffer.ResizeBuffer(32, 32);
    buffer.FillBuffers(7, 0x55);
    m_folder.WriteFile("broken.bmp", "BM not a picture");
    for (const char* name : {"absent.bmp", "broken.bmp"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(m_widget.LoadBMPFileToGeneralBuffer(name, m_folder.Path().c_str(), &buffer), S_OK);
        EXPECT_EQ(buffer.m_width_element, 32);
        EXPECT_EQ(buffer.m_height_element, 32);
        EXPECT_EQ(buffer.CheckBuffer(), S_OK);
        EXPECT_EQ(buffer.CheckBufferForLargeRelativeValue(0), S_OK);
        EXPECT_EQ(buffer.CheckBufferForNegativeValue(), S_OK);
    }
    EXPECT_EQ(m_widget.LoadBMPFileToGeneralBuffer("skin.bmp", "", &buffer), E_UNEXPECTED);
    EXPECT_EQ(m_widget.LoadBMPFileToGeneralBuffer("skin.bmp", nullptr, &buffer), E_UNEXPECTED);
    EXPECT_EQ(m_widget.LoadBMPFileToGeneralBuffer("", m_folder.Path().c_str(), &buffer), S_FALSE);
    EXPECT_EQ(m_widget.LoadBMPFileToGeneralBuffer("skin.bmp", m_folder.Path().c_str(), nullptr), E_INVALIDARG);
}

TEST_F(SkinAndCopyTest, EqualSizesCopyEverySampleExactly)
{
    for (uint32_t mode : {1u, 2u, 4u}) {
        SCOPED_TRACE(mode);
        m_widget.SetOptimCPUReal(mode);
        InfoGeneralBufferForUserInterface2 source, destination;
        source.ResizeBuffer(13, 4);
        destination.ResizeBuffer(13, 4);
        destination.FillBuffers(7, 0xEE);
        for (uint32_t plane = 0; plane < 3; ++plane)
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 13; ++x)
                    SetSample(source, plane, x, y, static_cast<int16_t>(plane * 1000 + y * 100 + x - 150));
        destination.ClearChanged();
        ASSERT_EQ(m_widget.CopyGeneralBuffer(&destination, &source), S_OK);
        EXPECT_EQ(destination.IsChanged(), 1u);
        EXPECT_NE(destination.m_last_time_update_buffer, 0u);
        for (uint32_t plane = 0; plane < 3; ++plane)
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 13; ++x)
                    ASSERT_EQ(Sample(destination, plane, x, y), Sample(source, plane, x, y));
    }
}

TEST_F(SkinAndCopyTest, OtherSizesAreScaled)
{
    InfoGeneralBufferForUserInterface2 source, destination;
    source.ResizeBuffer(2, 2);
    destination.ResizeBuffer(4, 4);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            for (uint32_t plane = 0; plane < 3; ++plane)
                SetSample(source, plane, x, y, static_cast<int16_t>(plane * 100 + y * 10 + x));
    ASSERT_EQ(m_widget.CopyGeneralBuffer(&destination, &source), S_OK);
    EXPECT_EQ(destination.m_width_element, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            for (uint32_t plane = 0; plane < 3; ++plane)
                EXPECT_EQ(Sample(destination, plane, x, y), plane * 100 + (y / 2) * 10 + x / 2);
}

TEST_F(SkinAndCopyTest, RefusedCopies)
{
    InfoGeneralBufferForUserInterface2 buffer;
    buffer.ResizeBuffer(8, 8);
    buffer.FillBuffers(7, 3);
    buffer.ClearChanged();
    EXPECT_EQ(m_widget.CopyGeneralBuffer(&buffer, &buffer), E_UNEXPECTED);
    EXPECT_EQ(buffer.IsChanged(), 0u);
    EXPECT_EQ(m_widget.CopyGeneralBuffer(nullptr, &buffer), E_INVALIDARG);
    m_widget.SetOptimCPUReal(0x100);
    InfoGeneralBufferForUserInterface2 other;
    EXPECT_EQ(m_widget.CopyGeneralBuffer(&other, &buffer), S_OK); // the resize operation stays
}

TEST_F(SkinAndCopyTest, UpdateKeepsOrClearsTheMark)
{
    InfoGeneralBufferForUserInterface2 picture;
    picture.ResizeBuffer(32, 32);
    InfoGeneralBufferForUserInterface2& target = m_widget.m_array_general_buffers.GetElement(5);
    target.ResizeBuffer(32, 32);
    struct Case
    {
        bool markedBefore;
        bool mark;
        uint32_t markedAfter;
    };
    for (const Case& c : {Case{false, false, 0}, Case{true, false, 1}, Case{false, true, 1}}) {
        c.markedBefore ? target.SetChanged() : target.ClearChanged();
        EXPECT_EQ(m_widget.UpdateDataBufferReal(5, &picture, c.mark), S_OK);
        EXPECT_EQ(target.IsChanged(), c.markedAfter);
    }
    EXPECT_EQ(m_widget.UpdateDataBufferReal(-1, &picture, true), E_UNEXPECTED);
    EXPECT_EQ(m_widget.UpdateDataBufferReal(544, &picture, true), E_UNEXPECTED);
}

TEST_F(SkinAndCopyTest, BufferFromIndexAndSizeSum)
{
    m_widget.m_array_general_buffers.GetElement(2).ResizeBuffer(3, 2);
    m_widget.m_array_general_buffers.GetElement(2).FillBuffers(7, 4);
    m_widget.m_finall_buffer.ResizeBuffer(8, 1);
    EXPECT_EQ(m_widget.GetSummSizeBuffers(), uint64_t{16 * 2 + 16} + (16 + 16));
    InfoGeneralBufferForUserInterface2 copy;
    ASSERT_EQ(m_widget.CopyBufferFromIndex(2, &copy), S_OK);
    EXPECT_EQ(copy.m_width_element, 3);
    EXPECT_EQ(Sample(copy, 1, 2, 1), 0x0404);
    ASSERT_EQ(m_widget.CopyBufferFromIndex(-1, &copy), S_OK);
    EXPECT_EQ(copy.m_width_element, 8);
    EXPECT_EQ(m_widget.CopyBufferFromIndex(-2, &copy), E_UNEXPECTED);
    EXPECT_EQ(m_widget.CopyBufferFromIndex(544, &copy), E_UNEXPECTED);
}
