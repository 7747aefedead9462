#include "CatchAllLogTestHelpers.h"

#include "KestrelDebugFunct.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

TEST(Log, LineCarriesTextThreadFileAndLine)
{
    LogCapture capture;
    fMfSG("Widget::Paint::begin", nullptr, "C:\\src\\toolkit\\Widget.cpp", 42, nullptr, false, true);

    auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Widget::Paint::begin"), std::string::npos);
    EXPECT_NE(lines[0].find("(Widget.cpp:42)"), std::string::npos);
    EXPECT_NE(lines[0].find("[" + std::to_string(GetCurrentThreadId()) + "]"), std::string::npos);
}

TEST(Log, CatchAllWritesTheGenericTextWithFileAndLine)
{
    LogCapture capture;
    const int throwLine = ThrowingOperationLine();
    EXPECT_EQ(ThrowingOperation(), E_FAIL);

    const std::string expected =
        std::string(g_add_text_except) + " (CatchAllLogTestHelpers.h:" + std::to_string(throwLine) + ")";
    EXPECT_TRUE(capture.Contains(expected)) << expected;
}

TEST(Log, LinesFromManyThreadsAreWholeAndGoToTheFile)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    // Named after the process, so two runs sharing a prefix never write one file.
    std::string path = std::string(folder) + "kestrel_log_test_" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(path.c_str());
    ASSERT_EQ(fIfNITFILE(path.c_str()), S_OK);

    LogCapture capture;
    std::thread workers[4];
    for (auto& worker : workers)
        worker = std::thread([] {
            for (int i = 0; i < 50; ++i)
                fMfSG("worker line", nullptr, __FILE__, __LINE__, nullptr, false, true);
        });
    for (auto& worker : workers)
        worker.join();
    StopDebugeThread();

    EXPECT_EQ(capture.Lines().size(), 200u);
    FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    int workerLines = 0;
    char line[1024];
    while (std::fgets(line, sizeof(line), file))
        workerLines += std::strstr(line, "worker line") != nullptr;
    std::fclose(file);
    DeleteFileA(path.c_str());
    EXPECT_EQ(workerLines, 200);
}

TEST(Log, UnhandledExceptionFilterLogsCodeAndAddress)
{
    LogCapture capture;
    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    record.ExceptionAddress = reinterpret_cast<void*>(0x1234);
    EXCEPTION_POINTERS pointers{&record, nullptr};

    EXPECT_EQ(MainUnhandledExceptionFilterForProcess(&pointers), EXCEPTION_CONTINUE_SEARCH);
    EXPECT_TRUE(capture.Contains("0xC0000005"));
    EXPECT_TRUE(capture.Contains("1234"));
}

class PrivateHeap : public testing::Test
{
protected:
    void SetUp() override { m_heap = HeapCreate(0, 0, 0); }
    void TearDown() override { HeapDestroy(m_heap); }
    uint64_t Total()
    {
        uint64_t total = 0;
        EXPECT_EQ(SAFE_GET_INFO_HEAP(false, &total, m_heap), S_OK);
        return total;
    }
    HANDLE m_heap = nullptr;
};

TEST_F(PrivateHeap, AllocReallocFreeAndTotals)
{
    EXPECT_EQ(Total(), 0u);
    unsigned char* block = nullptr;
    ASSERT_EQ(SAFE_TASK_ALLOC(&block, 100, m_heap), S_OK);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block[99], 0) << "new memory is zeroed";
    EXPECT_EQ(Total(), 100u);

    for (int i = 0; i < 100; ++i)
        block[i] = static_cast<unsigned char>(i);
    ASSERT_EQ(SAFE_TASK_REALLOC(&block, 5000, m_heap), S_OK);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(block[i], i) << "realloc keeps the contents";
    EXPECT_EQ(Total(), 5000u);

    EXPECT_EQ(SAFE_TASK_FREE(&block, m_heap), S_OK);
    EXPECT_EQ(block, nullptr) << "free clears the slot";
    EXPECT_EQ(Total(), 0u);
    EXPECT_EQ(SAFE_TASK_FREE(&block, m_heap), S_OK) << "freeing null is harmless";
}

TEST_F(PrivateHeap, ImpossibleRequestsFailAndLeaveTheSlot)
{
    unsigned char* block = nullptr;
    EXPECT_LT(SAFE_TASK_ALLOC(&block, 0, m_heap), 0);
    EXPECT_LT(SAFE_TASK_ALLOC(&block, ~0ull, m_heap), 0);
    EXPECT_EQ(block, nullptr);
    EXPECT_LT(SAFE_TASK_ALLOC<unsigned char>(nullptr, 16, m_heap), 0);

    ASSERT_EQ(SAFE_TASK_ALLOC(&block, 16, m_heap), S_OK);
    unsigned char* kept = block;
    EXPECT_LT(SAFE_TASK_REALLOC(&block, ~0ull, m_heap), 0);
    EXPECT_EQ(block, kept);
    SAFE_TASK_FREE(&block, m_heap);
}

TEST(Memory, NullHeapMeansTheLibrarysOwnHeap)
{
    uint64_t before = 0, during = 0, after = 0;
    SAFE_GET_INFO_HEAP(false, &before, nullptr);
    void* block = nullptr;
    ASSERT_EQ(SAFE_TASK_ALLOC(&block, 4096, nullptr), S_OK);
    SAFE_GET_INFO_HEAP(false, &during, nullptr);
    SAFE_TASK_FREE(&block);
    SAFE_GET_INFO_HEAP(false, &after, nullptr);
    EXPECT_EQ(during - before, 4096u);
    EXPECT_EQ(after, before);
}

TEST(Memory, SafeCloseHandleClosesOnceAndClears)
{
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE copy = event;
    EXPECT_EQ(SAFE_CLOSE_HANDLE(event), S_OK);
    EXPECT_EQ(event, nullptr);
    EXPECT_FALSE(SetEvent(copy)) << "the handle is really closed";
    EXPECT_EQ(SAFE_CLOSE_HANDLE(event), S_FALSE);
    HANDLE invalid = INVALID_HANDLE_VALUE;
    EXPECT_EQ(SAFE_CLOSE_HANDLE(invalid), S_FALSE);
}
