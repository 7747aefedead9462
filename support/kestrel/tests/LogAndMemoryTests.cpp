#include "CatchAllLogTestHelpers.h"

#include "KestrelDebugFunct.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <stdexcept>
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

// The catch-all tells what was thrown, beside the file and line of the catch.
TEST(Log, CatchAllWritesWhatWasThrownWithFileAndLine)
{
    struct Unknown
    {
    };
    const std::string where = " (CatchAllLogTestHelpers.h:" + std::to_string(ThrowingOperationLine()) + ")";
    const std::string generic = g_add_text_except;
    LogCapture capture;
    EXPECT_EQ(ThrowingOperation(2), E_FAIL);
    EXPECT_EQ(ThrowingOperation(E_INVALIDARG), E_FAIL);
    EXPECT_EQ(ThrowingOperation(std::runtime_error("frame too large")), E_FAIL);
    EXPECT_EQ(ThrowingOperation(Unknown{}), E_FAIL);
    for (const std::string& expected :
         {generic + ": integer 2" + where, generic + ": integer -2147024809 (0x80070057)" + where,
          generic + ": frame too large" + where, generic + ": unknown" + where})
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

// The faulting thread may be the one holding the log's lock: the last-chance filter writes its
// line without waiting for it.
TEST(Log, UnhandledExceptionFilterDoesNotWaitForTheLogsLock)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "kestrel_fault_test_" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(path.c_str());
    ASSERT_EQ(fIfNITFILE(path.c_str()), S_OK);

    static HANDLE inside = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    static HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // The hook runs under the log's lock: it keeps the lock until released.
    SetKestrelLogHook(
        [](const char*, void*) {
            SetEvent(inside);
            WaitForSingleObject(release, INFINITE);
        },
        nullptr);
    std::thread holder([] { fMfSG("holding the log", nullptr, __FILE__, __LINE__, nullptr, false, true); });
    ASSERT_EQ(WaitForSingleObject(inside, INFINITE), WAIT_OBJECT_0);

    EXCEPTION_RECORD record{};
    record.ExceptionCode = EXCEPTION_INT_DIVIDE_BY_ZERO;
    EXCEPTION_POINTERS pointers{&record, nullptr};
    std::atomic<bool> returned{false};
    std::thread faulting([&] {
        MainUnhandledExceptionFilterForProcess(&pointers);
        returned = true;
    });
    // Minutes, not a time limit: without the mend the filter waits until the lock is released.
    for (int waited = 0; !returned && waited < 600000; waited += 10)
        Sleep(10);
    EXPECT_TRUE(returned);
    SetEvent(release);
    faulting.join();
    holder.join();
    SetKestrelLogHook(nullptr, nullptr);
    StopDebugeThread();

    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof(line), file))
            text += line;
        std::fclose(file);
    }
    DeleteFileA(path.c_str());
    EXPECT_NE(text.find("Unhandled exception 0xC0000094"), std::string::npos) << text;
}
