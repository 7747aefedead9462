#include "ObjectAllocatorBufferDataPath1.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <string>

TEST(BufferPool, HandsOutTheLowestFreeOfSixteenFrames)
{
    ObjectAllocatorBufferDataPath1 pool;
    InfoDataBufferPath1* frames[16] = {};
    for (int i = 0; i < 16; ++i) {
        frames[i] = pool.GetFreeBuffer(0x20000, false);
        ASSERT_NE(frames[i], nullptr) << i;
        EXPECT_EQ(frames[i]->IsNULLFrame(), 1) << "handed out as a null frame";
    }
    EXPECT_EQ(pool.GetCountUsedBuffers(), 16u);
    EXPECT_EQ(pool.GetFreeBuffer(16, false), nullptr) << "the seventeenth";

    EXPECT_EQ(pool.ReleaseBuffer(frames[9]), S_OK);
    EXPECT_EQ(pool.ReleaseBuffer(frames[4]), S_OK);
    EXPECT_EQ(pool.GetFreeBuffer(16, false), frames[4]);
    EXPECT_EQ(pool.GetFreeBuffer(16, false), frames[9]);

    EXPECT_EQ(pool.ReleaseAllBuffers(), S_OK);
    EXPECT_EQ(pool.GetCountUsedBuffers(), 0u);
    EXPECT_EQ(pool.GetFreeBuffer(16, false), frames[0]);
    pool.ReleaseAllBuffers();
}

TEST(BufferPool, ReleaseChecksThePointer)
{
    ObjectAllocatorBufferDataPath1 pool;
    InfoDataBufferPath1 foreign;
    InfoDataBufferPath1* frame = pool.GetFreeBuffer(16, false);
    EXPECT_EQ(pool.ReleaseBuffer(nullptr), E_UNEXPECTED);
    EXPECT_EQ(pool.ReleaseBuffer(&foreign), E_FAIL);
    EXPECT_EQ(pool.GetCountUsedBuffers(), 1u);
    EXPECT_EQ(pool.ReleaseBuffer(frame), S_OK);
    EXPECT_EQ(pool.ReleaseBuffer(frame), S_OK) << "a frame that is already free";
}

TEST(BufferPool, ChildBuffersAreEnabledOnceAndKept)
{
    ObjectAllocatorBufferDataPath1 pool;
    InfoDataBufferPath1* frame = pool.GetFreeBuffer(16, true);
    ASSERT_EQ(frame->m_child_buffers.GetCount(), 20u);
    InfoDataBufferPath1* firstChild = &frame->m_child_buffers.GetElement(0);
    pool.ReleaseBuffer(frame);
    EXPECT_EQ(pool.GetFreeBuffer(16, true), frame);
    EXPECT_EQ(&frame->m_child_buffers.GetElement(0), firstChild) << "not enabled again";
    pool.ReleaseBuffer(frame);
    EXPECT_EQ(pool.GetFreeBuffer(16, false), frame);
    EXPECT_EQ(frame->m_child_buffers.GetCount(), 20u) << "kept when not asked for";
    pool.ReleaseBuffer(frame);
}

TEST(BufferPool, ReleasedFrameKeepsItsBlock)
{
    ObjectAllocatorBufferDataPath1 pool;
    InfoDataBufferPath1* frame = pool.GetFreeBuffer(16, false);
    ASSERT_EQ(frame->UpdateSizeBuffer(64, 32), S_OK);
    BYTE* block = frame->m_data;
    pool.ReleaseBuffer(frame);
    EXPECT_EQ(pool.GetFreeBuffer(16, false), frame);
    EXPECT_EQ(frame->m_data, block);
    pool.ReleaseBuffer(frame);
}

TEST(BufferPool, DestructionLogsFramesStillInUse)
{
    LogCapture log;
    {
        ObjectAllocatorBufferDataPath1 pool;
        InfoDataBufferPath1* frames[4];
        for (InfoDataBufferPath1*& frame : frames)
            frame = pool.GetFreeBuffer(16, false);
        pool.ReleaseBuffer(frames[0]);
        pool.ReleaseBuffer(frames[2]);
    }
    std::vector<std::string> lines;
    for (const std::string& line : log.Lines())
        if (line.find("delete using buffers in index ") != std::string::npos)
            lines.push_back(line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("delete using buffers in index 1, system instable"), std::string::npos);
    EXPECT_NE(lines[1].find("delete using buffers in index 3, system instable"), std::string::npos);
}
