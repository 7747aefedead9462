#include "CorelinkTestSupport.h"
#include "CrossModuleHelper.h"

#include "LogCapture.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using FrameHeap = FrameHeapChecked;

namespace {

HANDLE g_abandoned_mutex = nullptr;

// The size the heap dump reports, or -1 when it logged none.
long long LoggedHeapSize(const LogCapture& log)
{
    const std::string marker = "Heap video&audio data buffers :: Size all alloc memory block = ";
    for (const std::string& line : log.Lines()) {
        const size_t at = line.find(marker);
        if (at != std::string::npos)
            return std::stoll(line.substr(at + marker.size()));
    }
    return -1;
}

} // namespace

TEST_F(FrameHeap, LastBufferDestroysTheHeapAndTheNextCreatesOne)
{
    {
        InfoDataBufferPath1 first(false);
        ASSERT_NE(InfoDataBufferPath1::m_heap, nullptr);
        EXPECT_EQ(first.m_heap_buffer, InfoDataBufferPath1::m_heap);
        {
            InfoDataBufferPath1 second(false);
            EXPECT_EQ(second.m_heap_buffer, first.m_heap_buffer);
            EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 2);
        }
        EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 1);
    }
    EXPECT_EQ(InfoDataBufferPath1::m_heap, nullptr);
    InfoDataBufferPath1 again(false);
    EXPECT_NE(InfoDataBufferPath1::m_heap, nullptr);
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 1);
}

TEST_F(FrameHeap, FramesCrossModuleBoundaries)
{
    InfoDataBufferPath1* fromModule = CrossModuleCreateFrame(32, 8);
    ASSERT_NE(fromModule, nullptr);
    EXPECT_EQ(CrossModuleFrameHeap(), InfoDataBufferPath1::m_heap) << "one heap for the whole process";
    EXPECT_EQ(fromModule->m_heap_buffer, InfoDataBufferPath1::m_heap);

    // A frame of this module takes the module's frame by assignment (same heap) and by exchange.
    auto local = std::make_unique<InfoDataBufferPath1>(false);
    *local = *fromModule;
    EXPECT_EQ(local->m_data[local->m_offset_data], static_cast<BYTE>(local->m_offset_data));
    BYTE* moduleBlock = fromModule->m_data;
    ASSERT_EQ(local->ExchangeBuffersAndDataFromCurrent(*fromModule), S_OK);
    EXPECT_EQ(local->m_data, moduleBlock);
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 2);

    delete fromModule; // made there, freed here
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 1);
    CrossModuleDeleteFrame(local.release()); // made here, freed there
}

TEST_F(FrameHeap, DumpReportsZeroOnceEveryBlockIsFreed)
{
    InfoDataBufferPath1 keeper(false);
    {
        std::vector<std::unique_ptr<InfoDataBufferPath1>> frames;
        for (unsigned i = 1; i <= 4; ++i) {
            frames.push_back(std::make_unique<InfoDataBufferPath1>(false));
            frames.back()->UpdateSizeBuffer(64 * i, 48);
            frames.back()->EnableChildBuffers();
            frames.back()->m_child_buffers.GetElement(0).UpdateSizeBuffer(32 * i, 24);
        }
        LogCapture log;
        ASSERT_EQ(InfoDataBufferPath1::DumpHeapInfo(), S_OK);
        EXPECT_TRUE(log.Contains("Dump info for heap video&audio data buffers :: "));
        EXPECT_GT(LoggedHeapSize(log), 4 * 64 * 48 * 2);
    }
    LogCapture log;
    ASSERT_EQ(InfoDataBufferPath1::DumpHeapInfo(), S_OK);
    EXPECT_EQ(LoggedHeapSize(log), 0);
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 1);
}

TEST_F(FrameHeap, NoHeapNoDump)
{
    LogCapture log;
    EXPECT_EQ(InfoDataBufferPath1::DumpHeapInfo(), S_OK);
    EXPECT_EQ(LoggedHeapSize(log), -1);
}

// Buffers made and destroyed on several threads at once never lose or double a reference.
TEST_F(FrameHeap, ReferenceCountHoldsUnderThreads)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 200; ++i) {
                InfoDataBufferPath1 frame(false);
                frame.UpdateSizeBuffer(16, 4);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
}

TEST_F(FrameHeap, HeapMutexIsNamed)
{
    InfoDataBufferPath1 frame(false);
    // Other test programs may use the same machine-wide mutex at this moment: take it by waiting,
    // since an initial-owner request on an existing mutex does not own it.
    HANDLE held = CreateMutexA(nullptr, FALSE,
                               "Brennick LLC::Plexamo::class InfoDataBufferPath1::mutex for control acess heap");
    ASSERT_NE(held, nullptr);
    ASSERT_EQ(WaitForSingleObject(held, 10000), WAIT_OBJECT_0);
    std::thread other([] { InfoDataBufferPath1 waiting(false); });
    Sleep(100);
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 1) << "a second buffer waits for the named mutex";
    ReleaseMutex(held);
    other.join();
    CloseHandle(held);
    EXPECT_EQ(InfoDataBufferPath1::m_count_ref_heap, 1);
}

// A thread that ends holding the heap mutex abandons it; the next waiter owns it and must release
// it, or every later frame of every other thread waits for ever.
TEST_F(FrameHeap, AnAbandonedHeapMutexIsTakenOverAndReleased)
{
    InfoDataBufferPath1 keeper(false);
    std::thread abandoning([] {
        // The handle stays open (closed below) so that the mutex outlives the thread that holds it.
        HANDLE mutex = CreateMutexA(nullptr, FALSE,
                                    "Brennick LLC::Plexamo::class InfoDataBufferPath1::mutex for control acess heap");
        WaitForSingleObject(mutex, INFINITE);
        g_abandoned_mutex = mutex;
    });
    abandoning.join();
    // Each thread makes a frame and stays alive until both have made theirs.
    HANDLE made[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE finish = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> framesInTheHeap{0};
    std::vector<std::thread> framers;
    for (HANDLE done : made)
        framers.emplace_back([done, finish, &framesInTheHeap] {
            {
                InfoDataBufferPath1 frame(false);
                if (SUCCEEDED(frame.UpdateSizeBuffer(16, 4)) && frame.m_heap_buffer == InfoDataBufferPath1::m_heap)
                    ++framesInTheHeap;
            }
            SetEvent(done);
            WaitForSingleObject(finish, INFINITE);
        });
    // Minutes, not a time limit: without the mend the second frame never finishes. (A thread of
    // another test program may be the one that takes the mutex over.)
    EXPECT_EQ(WaitForMultipleObjects(2, made, TRUE, 600000), WAIT_OBJECT_0);
    EXPECT_EQ(framesInTheHeap, 2);
    SetEvent(finish);
    for (std::thread& framer : framers)
        framer.join();
    for (HANDLE handle : {made[0], made[1], finish, g_abandoned_mutex})
        CloseHandle(handle);
}
