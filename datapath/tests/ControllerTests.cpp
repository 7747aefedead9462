// The controller's life, its operation messages and the guarded sends to its worker.
#include "ControllerTestSupport.h"

#include "LogCapture.h"
#include "MessageForObjectsDataPath1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

const char kWindowClass[] = "Class ObjectControlDataPath1 Window::D.U.R.M.I.X.::Harbury2005::12.10.2005";

class ControllerTest : public ::testing::Test
{
protected:
    TestFilterFolder m_folder;
};

TEST_F(ControllerTest, LivesOnItsOwnThreadAndLeavesNoThreadOrWindow)
{
    auto controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
    HWND window = controller->GetWorkerWindow();
    ASSERT_TRUE(IsWindow(window));
    char className[128] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(kWindowClass, className);
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr));
    EXPECT_EQ(controller->GetWorkerThreadId(), GetWindowThreadProcessId(window, nullptr));

    int32_t state = -1;
    EXPECT_EQ(S_OK, controller->GetStateObject(&state));
    EXPECT_EQ(0, state);
    EXPECT_GE(controller->Run(), 0);
    EXPECT_EQ(S_OK, controller->GetStateObject(&state));
    EXPECT_EQ(1, state);
    EXPECT_GE(controller->Stop(), 0);
    EXPECT_EQ(S_OK, controller->GetStateObject(&state));
    EXPECT_EQ(0, state);

    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, controller->GetWorkerThreadId());
    ASSERT_NE(nullptr, thread);
    controller.reset();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));
    CloseHandle(thread);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControllerTest, TwoControllersShareTheClassAndAnswerSeparately)
{
    TestControlDataPath1 first(m_folder.Path());
    TestControlDataPath1 second(m_folder.Path());
    EXPECT_NE(first.GetWorkerThreadId(), second.GetWorkerThreadId());
    EXPECT_GE(first.Run(), 0);
    int32_t state = -1;
    EXPECT_EQ(S_OK, second.GetStateObject(&state));
    EXPECT_EQ(0, state);
}

// Row 0 in full, and the two layouts of the padding: 70 characters before the second part,
// except in rows 28 to 30, which keep one blank.
TEST_F(ControllerTest, RegistersTheThirtyFourOperationNames)
{
    TestControlDataPath1 controller(m_folder.Path());
    EXPECT_STREQ("GWM_Run_ObjectControlDataPath1,                                       ObjectControlDataPath1, 12.10.2003,13.00",
                 ObjectControlDataPath1::GetOperationName(0));
    EXPECT_STREQ("GWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1, ObjectControlDataPath1, 21.11.2006,05.00",
                 ObjectControlDataPath1::GetOperationName(28));
    EXPECT_STREQ("GWM_CallInterfaceFunctionForIDObject_ObjectControlDataPath1,          ObjectControlDataPath1, 24.11.2006,23.00",
                 ObjectControlDataPath1::GetOperationName(33));
    EXPECT_EQ(nullptr, ObjectControlDataPath1::GetOperationName(34));
    for (uint32_t code = 0; code < ObjectControlDataPath1::kNumberOperations; ++code) {
        const char* name = ObjectControlDataPath1::GetOperationName(code);
        ASSERT_NE(nullptr, name);
        // The second part, "ObjectControlDataPath1, " and the 16-character stamp, closes the name.
        const char* second = name + std::strlen(name) - 40;
        ASSERT_EQ(0, std::strncmp(second, "ObjectControlDataPath1, ", 24)) << code;
        const bool singleBlank = code >= 28 && code <= 30;
        if (!singleBlank)
            EXPECT_EQ(70, second - name) << code;
        else
            EXPECT_EQ(' ', second[-1]) << code;
        EXPECT_EQ(RegisterWindowMessageA(name), controller.GetOperationMessage(code)) << code;
    }
}

TEST_F(ControllerTest, EventMessagesHaveTheirFixedNames)
{
    EXPECT_EQ(RegisterWindowMessageA("SincEventInWorking::ThreadObjectControlDataPath1,D.U.R.M.I.X.::13.12.2003-03.26"),
              ObjectControlDataPath1::GetEventMessageId(0));
    EXPECT_EQ(RegisterWindowMessageA("ASincEventInWorking::ThreadObjectControlDataPath1,D.U.R.M.I.X.::14.12.2003-04.06"),
              ObjectControlDataPath1::GetEventMessageId(1));
    EXPECT_EQ(0u, ObjectControlDataPath1::GetEventMessageId(2));
}

// Codes without a worker action, and records of another type, go to default processing.
TEST_F(ControllerTest, UnhandledCodesAndForeignRecordsAreAnsweredByDefaultProcessing)
{
    TestControlDataPath1 controller(m_folder.Path());
    for (uint32_t code : {3u, 4u, 7u, 12u})
        EXPECT_EQ(0, controller.SendCode(code, 0, 0)) << code;
    EXPECT_EQ(1, controller.SendCode(5, 0, 0));

    InfoMessageGetAllIDFromFilters foreign;
    int32_t count = 7;
    InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1 wrongRecord;
    wrongRecord.m_name = "SomethingElse";
    wrongRecord.m_result = &count;
    EXPECT_EQ(0, controller.SendCode(17, reinterpret_cast<WPARAM>(&wrongRecord), 0));
    EXPECT_EQ(7, count);
    EXPECT_EQ(0, controller.SendCode(11, reinterpret_cast<WPARAM>(&foreign), 0));
}

// A message that did not come through the controller's guard may point at anything: it is
// answered with 0x80004005 and nothing it points at is read.
TEST_F(ControllerTest, OperationMessagesSentPastTheGuardAreRefusedUnread)
{
    TestControlDataPath1 controller(m_folder.Path());
    int32_t state = 5;
    for (uint32_t code = 0; code < ObjectControlDataPath1::kNumberOperations; ++code)
        EXPECT_EQ(E_FAIL, static_cast<HRESULT>(SendMessageA(controller.GetWorkerWindow(),
                                                            controller.GetOperationMessage(code),
                                                            reinterpret_cast<WPARAM>(&state), 0)))
            << code;
    EXPECT_EQ(5, state);
    EXPECT_EQ(S_OK, controller.GetStateObject(&state));
    EXPECT_EQ(0, state);
}

TEST_F(ControllerTest, CaptureOperationsCheckTheirArgumentsBeforeSending)
{
    TestControlDataPath1 controller(m_folder.Path());
    int anything = 0;
    EXPECT_EQ(E_INVALIDARG, controller.CreateCapturePathFromFormat1(nullptr, 0, 0, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(E_INVALIDARG, controller.CreateCapturePathFromFormat1(&anything, 1, 0, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(E_UNEXPECTED, controller.CreateNetworkCapturePathFromFormat1(
                                &anything, 0, 0, reinterpret_cast<InfoNeedInterface*>(&anything), 0, 0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0));
}

// Mend: before WM_CREATE and after WM_DESTROY the window has no controller and must not use one.
TEST_F(ControllerTest, WindowWithoutControllerLeavesEverythingToDefaultProcessing)
{
    TestControlDataPath1 controller(m_folder.Path());
    HWND bare = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(IsWindow(bare));
    EXPECT_EQ(0, GetWindowLongPtrA(bare, GWLP_USERDATA));
    EXPECT_EQ(0, SendMessageA(bare, controller.GetOperationMessage(0), 0, 0));
    EXPECT_EQ(0, SendMessageA(bare, WM_TIMER, ObjectControlDataPath1::kTimerId, 0));
    int32_t state = -1;
    EXPECT_EQ(S_OK, controller.GetStateObject(&state));
    EXPECT_EQ(0, state);
    EXPECT_TRUE(DestroyWindow(bare));
}

// Mend: a worker thread that ends before it signals does not hold the constructor for ever.
TEST_F(ControllerTest, ConstructorReturnsWhenTheWorkerDiesBeforeItsWindowExists)
{
    ObjectControlDataPath1::SetWorkerStartHookForTest([] { ExitThread(7); });
    auto controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
    ObjectControlDataPath1::SetWorkerStartHookForTest(nullptr);
    EXPECT_EQ(nullptr, controller->GetWorkerWindow());
    EXPECT_EQ(E_FAIL, controller->Run());
    EXPECT_EQ(0, controller->GetSincEvents(nullptr));
    controller.reset();
}

// Mend: the worker calls virtual operations until it has ended; a derived controller that calls
// Shutdown first in its destructor still has its overrides called on the way down.
TEST_F(ControllerTest, ShutdownEndsTheWorkerWhileTheDerivedObjectIsWhole)
{
    static std::atomic<int> derivedStops{0};
    struct RecordingController : TestControlDataPath1
    {
        using TestControlDataPath1::TestControlDataPath1;
        ~RecordingController() override { Shutdown(); }
        HRESULT StopReal() override
        {
            ++derivedStops;
            return TestControlDataPath1::StopReal();
        }
    };
    derivedStops = 0;
    auto controller = std::make_unique<RecordingController>(m_folder.Path());
    HWND window = controller->GetWorkerWindow();
    EXPECT_EQ(S_OK, controller->Shutdown());
    EXPECT_EQ(1, derivedStops.load()); // the window's destruction stops the path on the worker
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, controller->GetWorkerWindow());
    EXPECT_EQ(S_OK, controller->Shutdown());
    EXPECT_EQ(E_FAIL, controller->Run());
    controller.reset();
    EXPECT_EQ(1, derivedStops.load());
}

// Mend: worker-only operations refuse other threads; on the worker a public operation runs at
// once instead of sending to the worker's own window.
TEST_F(ControllerTest, WorkerOnlyOperationsRefuseOtherThreadsAndTheWorkerNeverSendsToItself)
{
    TestControlDataPath1 controller(m_folder.Path());
    LogCapture log;
    EXPECT_EQ(E_UNEXPECTED, controller.RunReal());
    EXPECT_EQ(E_UNEXPECTED, controller.DeleteAllGraphReal());
    EXPECT_EQ(nullptr, controller.GetFilterFromIndex(0));
    EXPECT_TRUE(log.Contains("ObjectControlDataPath1::RunReal::not on the worker thread, refused"));
    EXPECT_TRUE(log.Contains("ObjectControlDataPath1::GetFilterFromIndex::not on the worker thread, refused"));

    static std::atomic<uint32_t> waitingDuringInnerCall{0};
    static TestControlDataPath1* current = nullptr;
    current = &controller;
    ObjectControlDataPath1::SetOperationHookForTest([](uint32_t code) {
        if (code == 2)
            waitingDuringInnerCall = current->GetCountWaitingSenders();
    });
    int32_t state = -1;
    EXPECT_EQ(S_OK, controller.RunOnWorker([&] { return controller.GetStateObject(&state); }));
    ObjectControlDataPath1::SetOperationHookForTest(nullptr);
    EXPECT_EQ(0, state);
    EXPECT_EQ(1u, waitingDuringInnerCall.load()); // only the test's own request to the worker
}

// Short enough to keep the tests quick, long enough for a loaded machine to start the operation
// before the send gives up.
constexpr int32_t kHeldSendTimeoutMs = 1000;

// The worker is held inside one operation while other senders wait or give up.
class HeldWorkerTest : public ControllerTest
{
protected:
    static void HoldOnCode(uint32_t code)
    {
        {
            std::lock_guard<std::mutex> lock(g_executed_lock);
            g_executed.push_back(code);
        }
        if (code != g_held_code)
            return;
        SetEvent(g_entered);
        WaitForSingleObject(g_release, INFINITE);
    }
    void SetUp() override
    {
        g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_executed.clear();
        g_held_code = 10;
        ObjectControlDataPath1::SetSendTimeoutForTest(kHeldSendTimeoutMs);
        ObjectControlDataPath1::SetOperationHookForTest(&HoldOnCode);
    }
    void TearDown() override
    {
        ObjectControlDataPath1::SetOperationHookForTest(nullptr);
        ObjectControlDataPath1::SetSendTimeoutForTest(0);
        CloseHandle(g_release);
        CloseHandle(g_entered);
    }
    static size_t CountExecuted(uint32_t code)
    {
        std::lock_guard<std::mutex> lock(g_executed_lock);
        return static_cast<size_t>(std::count(g_executed.begin(), g_executed.end(), code));
    }
    // Releases the held operation once the sender's time-out has been logged with its label.
    static std::thread ReleaseWhenLogged(const LogCapture& log, const std::string& label)
    {
        return std::thread([&log, label] {
            while (!log.Contains(label))
                Sleep(1);
            SetEvent(g_release);
        });
    }

    static inline HANDLE g_release = nullptr;
    static inline HANDLE g_entered = nullptr;
    static inline uint32_t g_held_code = 10;
    static inline std::mutex g_executed_lock;
    static inline std::vector<uint32_t> g_executed;
};

// The call's record is gone when the worker is free again: the worker must never run it, and the
// caller must see E_FAIL, not the record's initial result 1.
TEST_F(HeldWorkerTest, TimedOutCallFailsAndItsRecordIsNeverRead)
{
    TestControlDataPath1 controller(m_folder.Path());
    std::thread holder([&] { controller.DeleteAllGraph(); });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_entered, INFINITE));
    ListParamsDataPath1 params;
    params.SetNumberParams(0);
    EXPECT_EQ(E_FAIL, controller.CallInterfaceFunctionForIDObject(0, 0, IID_IInfoCamera, 5, &params));
    EXPECT_EQ(1u, controller.GetCountWaitingSenders()); // the holder
    SetEvent(g_release);
    holder.join();
    int32_t state = -1;
    EXPECT_EQ(S_OK, controller.GetStateObject(&state));
    EXPECT_EQ(0u, controller.GetCountWaitingSenders());
    EXPECT_EQ(0u, CountExecuted(33));
}

// The send times out while the worker is inside the operation on the sender's record: the sender
// stays until the operation has ended and gets its answer.
TEST_F(HeldWorkerTest, SenderWhoseOperationRunsWaitsForItsEnd)
{
    TestControlDataPath1 controller(m_folder.Path());
    g_held_code = 2;
    LogCapture log;
    std::thread releaser = ReleaseWhenLogged(log, "ObjectControlDataPath1::GetStateObject");
    int32_t state = -1;
    EXPECT_EQ(S_OK, controller.GetStateObject(&state));
    releaser.join();
    EXPECT_EQ(0, state);
    EXPECT_EQ(0u, controller.GetCountWaitingSenders());
}

// After its send timed out the sender waits for the operation on its record; meanwhile the
// operation may send to a window of the sender's thread, which must still answer.
TEST_F(HeldWorkerTest, SenderWaitingForItsOperationAnswersTheWorkersMessages)
{
    static std::atomic<HWND> client{nullptr};
    static std::atomic<bool> answered{false};
    static LogCapture* log = nullptr;
    LogCapture capture;
    log = &capture;
    TestControlDataPath1 controller(m_folder.Path());
    TestClientWindow window;
    client = window.Handle();
    answered = false;
    ObjectControlDataPath1::SetOperationHookForTest([](uint32_t code) {
        if (code != 2)
            return;
        while (!log->Contains("ObjectControlDataPath1::GetStateObject"))
            Sleep(1);
        DWORD_PTR answer = 0;
        answered = SendMessageTimeoutA(client, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer) != 0;
    });
    int32_t state = -1;
    EXPECT_EQ(S_OK, controller.GetStateObject(&state));
    EXPECT_TRUE(answered);
    EXPECT_EQ(0, state);
}

// Two threads send the same value-only operation, which fails: each request is its own, so both
// run and both get the operation's answer (neither is taken for the other's lost message).
TEST_F(HeldWorkerTest, TwoIdenticalValueOnlyRequestsBothRun)
{
    ObjectControlDataPath1::SetSendTimeoutForTest(0);
    TestControlDataPath1 controller(m_folder.Path());
    std::thread holder([&] { controller.DeleteAllGraph(); });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_entered, INFINITE));
    HRESULT answers[2] = {S_OK, S_OK};
    std::thread first([&] { answers[0] = controller.RefreshPathForNetworkArhive(nullptr); });
    std::thread second([&] { answers[1] = controller.RefreshPathForNetworkArhive(nullptr); });
    while (controller.GetCountWaitingSenders() < 3)
        Sleep(1);
    SetEvent(g_release);
    holder.join();
    first.join();
    second.join();
    EXPECT_EQ(E_INVALIDARG, answers[0]);
    EXPECT_EQ(E_INVALIDARG, answers[1]);
    EXPECT_EQ(2u, CountExecuted(22));
}

} // namespace
