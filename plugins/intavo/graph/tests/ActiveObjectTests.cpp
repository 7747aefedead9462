#include "TestActiveObject.h"

#include "FunctWorkWithHWND.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Short waits for the failure cases: a busy machine may make a normal start slower than this,
// so only cases that must fail use them.
constexpr int32_t kShortSendMs = 300;
constexpr DWORD kShortWaitMs = 300;

bool HasThreadEnded(DWORD threadId)
{
    const HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (thread == nullptr)
        return true;
    const bool ended = WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

} // namespace

TEST(ActiveObject, ThreadAndWindowLiveFromCreationUntilDestroyDependThreadObject)
{
    TestActiveObject object;
    EXPECT_EQ(object.GetObjectName(), "TestActiveObject");
    ASSERT_EQ(object.CreateThreadObject(), S_OK);
    const DWORD threadId = object.GetThreadIdObject();
    ASSERT_NE(threadId, 0u);
    EXPECT_FALSE(HasThreadEnded(threadId));

    const HWND window = object.GetHWND();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), threadId);
    // Operations run on the object's thread.
    EXPECT_EQ(object.Run(), S_OK);
    EXPECT_EQ(object.RunCount(), 1);
    EXPECT_EQ(object.CreateThreadObject(), E_UNEXPECTED) << "a second thread is refused";

    EXPECT_EQ(object.DestroyDependThreadObject(), S_OK);
    EXPECT_EQ(object.GetThreadIdObject(), 0u);
    EXPECT_TRUE(HasThreadEnded(threadId));
    EXPECT_FALSE(IsWindow(window));
    // Nothing answers any more.
    EXPECT_EQ(object.Run(), E_FAIL);
    EXPECT_EQ(object.GetHWND(), nullptr);
}

TEST(ActiveObject, RegistersTheThirteenOperationNamesByteForByte)
{
    const char* const names[] = {
        "GWM_Run_aObjectBaseForGlobalObject,                       D.U.R.M.I.X., 02.12.2003-20.26.00",
        "GWM_Stop_aObjectBaseForGlobalObject,                      D.U.R.M.I.X., 02.12.2003-20.26.01",
        "GWM_Pause_aObjectBaseForGlobalObject,                     D.U.R.M.I.X., 02.12.2003-20.26.02",
        "GWM_DestroyDependThreadObject_aObjectBaseForGlobalObject, D.U.R.M.I.X., 02.12.2003-20.26.03",
        "GWM_SetParent_aObjectBaseForGlobalObject,                 D.U.R.M.I.X., 02.12.2003-20.26.04",
        "GWM_GetParent_aObjectBaseForGlobalObject,                 D.U.R.M.I.X., 02.12.2003-20.27.05",
        "GWM_GetHWND_aObjectBaseForGlobalObject,                   D.U.R.M.I.X., 02.12.2003-20.27.06",
        "GWM_GetLocInfo_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.00",
        "GWM_SetLocInfo_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.01",
        "GWM_GetNameObject_aObjectBaseForGlobalObject,             D.U.R.M.I.X., 08.05.2004-19.04.02",
        "GWM_LoadObject_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.03",
        "GWM_SaveObject_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.04",
        "GWM_CorrectInfo_aObjectBaseForGlobalObject,               D.U.R.M.I.X., 08.05.2004-19.04.05",
    };
    static_assert(sizeof(names) / sizeof(names[0]) == aObjectBaseForGlobalObject::kNumberOperations);
    TestActiveObject object;
    for (uint32_t code = 0; code < aObjectBaseForGlobalObject::kNumberOperations; ++code)
        EXPECT_EQ(object.GetOperationMessage(code), RegisterWindowMessageA(names[code])) << "code " << code;
    EXPECT_EQ(object.GetOperationMessage(aObjectBaseForGlobalObject::kNumberOperations), 0u);
}

TEST(ActiveObject, ARegisteredMessageOfAnotherObjectAnswersOneUnhandled)
{
    TestActiveObject object;
    ASSERT_EQ(object.CreateThreadObject(), S_OK);
    const UINT foreign = RegisterWindowMessageA("GWM_Run_SomeOtherObject, Korvane test");
    SendMessageA(object.GetHWND(), foreign, 0, 0);
    EXPECT_EQ(object.LastUnknownAnswer(), S_FALSE);
    EXPECT_FALSE(object.LastUnknownHandled());
    EXPECT_EQ(object.RunCount(), 0);
}

TEST(ActiveObject, ParentAndBaseOperationsRunOnTheObjectsThread)
{
    TestActiveObject object;
    ASSERT_EQ(object.CreateThreadObject(), S_OK);
    EXPECT_EQ(object.GetParent(), 0);
    // Pointer-sized: a value above 32 bits survives on 64-bit builds.
    const LONG_PTR parent = static_cast<LONG_PTR>(sizeof(LONG_PTR) == 8 ? 0x123456789LL : 0x12345678L);
    EXPECT_EQ(object.SetParent(parent), S_OK);
    EXPECT_EQ(object.GetParent(), parent);
    char buffer[8] = {};
    EXPECT_EQ(object.GetLocInfo(buffer, sizeof(buffer)), S_OK);
    EXPECT_EQ(object.SetLocInfo(buffer, sizeof(buffer)), S_OK);
    EXPECT_EQ(object.GetNameObject(buffer), S_OK);
    EXPECT_EQ(object.LoadObject(buffer), S_OK);
    EXPECT_EQ(object.SaveObject(buffer), S_OK);
    EXPECT_EQ(object.CorrectInfo(), S_OK);
    EXPECT_EQ(object.Stop(), S_OK);
    EXPECT_EQ(object.Pause(), S_OK);
}

TEST(ActiveObject, GetParentAnswersZeroWhenTheThreadDoesNotAnswerInTime)
{
    TestActiveObject object;
    ASSERT_EQ(object.CreateThreadObject(), S_OK);
    ASSERT_EQ(object.SetParent(0x4321), S_OK);
    object.SetWaitTimesForTest(kShortSendMs, aObjectBaseForGlobalObject::kReadyWaitMs,
                               aObjectBaseForGlobalObject::kThreadEndWaitMs);
    object.HoldRun();
    std::thread holder([&object] { object.Run(); });
    ASSERT_TRUE(object.WaitUntilRunHolds(60000));
    EXPECT_EQ(object.GetParent(), 0);
    EXPECT_EQ(object.GetHWND(), nullptr);
    object.ReleaseRun();
    holder.join();
    object.SetWaitTimesForTest(aObjectBaseForGlobalObject::kSendTimeoutMs, aObjectBaseForGlobalObject::kReadyWaitMs,
                               aObjectBaseForGlobalObject::kThreadEndWaitMs);
    EXPECT_EQ(object.GetParent(), 0x4321);

    // Windows keeps a timed-out message queued (Wine drops it): when it arrives, it names no
    // waiting request and the record it points at is never written.
    LONG_PTR gone = 0;
    const UINT getParent = object.GetOperationMessage(5);
    EXPECT_EQ(static_cast<HRESULT>(SendMessageA(object.GetHWND(), getParent, reinterpret_cast<WPARAM>(&gone), 1)),
              E_FAIL);
    EXPECT_EQ(gone, 0);
}

TEST(ActiveObject, EveryFailedStartAnswersFailureAndLeavesNothingRunning)
{
    struct Case
    {
        TestActiveObject::Start start;
        const char* what;
    };
    const Case cases[] = {
        {TestActiveObject::Start::NoWindow, "window cannot be made"},
        {TestActiveObject::Start::ThrowAfterWindow, "InitThreadProc throws"},
        {TestActiveObject::Start::EndThread, "thread ends before it is ready"},
        {TestActiveObject::Start::Hang, "thread not ready in time"},
    };
    for (const Case& c : cases) {
        TestActiveObject object(c.start);
        object.SetWaitTimesForTest(kShortSendMs, kShortWaitMs, kShortWaitMs);
        EXPECT_EQ(object.CreateThreadObject(), E_FAIL) << c.what;
        EXPECT_EQ(object.GetThreadIdObject(), 0u) << c.what;
        ASSERT_NE(object.HookThreadId(), 0u) << c.what;
        EXPECT_TRUE(HasThreadEnded(object.HookThreadId())) << c.what;
        EXPECT_FALSE(IsWindow(object.WindowMade())) << c.what;
        EXPECT_EQ(object.Run(), E_FAIL) << c.what;
        object.Unblock();
    }
}
