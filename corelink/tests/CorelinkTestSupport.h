// Helpers shared by the frame library's tests.
#pragma once

#include "ObjectDataPath1_InfoDataBufferPath1.h"
#include "ThrownInteger.h"

#include <gtest/gtest.h>

#include <cstring>


// Every test ends with the frame heap released: no buffer leaked a reference.
class FrameHeapChecked : public testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 0);
        EXPECT_EQ(InfoDataBufferPath1::m_heap, nullptr);
    }
};

inline const GUID kVideo = {0x73646976, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline const GUID kVideoInfo = {0x05589F80, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};
inline const GUID kAudio = {0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline const GUID kYUY2 = {0x32595559, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline const GUID kI420 = {0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// A packed video frame whose data bytes count up from the first data byte.
inline void MakeVideoFrame(InfoDataBufferPath1& frame, const GUID& subtype, int width, int height, int stride,
                           int offset, int bitCount)
{
    const int dataSize = stride * height;
    ASSERT_EQ(frame.AllocBufferForStandartTypeVideoData(offset + dataSize, width, height, stride, offset, dataSize,
                                                        subtype, subtype.Data1, static_cast<unsigned short>(bitCount)),
              S_OK);
    for (int i = 0; i < dataSize; ++i)
        frame.m_data[offset + i] = static_cast<BYTE>(i * 7 + 1);
    frame.m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
}
