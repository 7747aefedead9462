#include "GraphObjectTestSupport.h"
#include "GraphTestSupport.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A graph object whose test reaches the operations' messages itself.
class ProbeGraphObject : public ObjectControlGraph1
{
public:
    ProbeGraphObject() : ObjectControlGraph1(GetModuleHandleA(nullptr))
    {
        m_table.InitMessages(kOperationNames, kNumberOperations);
    }
    HRESULT SendOperation(uint32_t code, WPARAM wParam, LPARAM lParam)
    {
        return SendGuardedOperation(m_table, code, wParam, lParam, "ProbeGraphObject::SendOperation");
    }

private:
    ObjectWindowMessage1 m_table;
};

struct AnswerRow
{
    const char* state;
    HRESULT getBuffer;
    HRESULT setCpu;
    HRESULT extInfo;
    HRESULT frameRate;
    HRESULT internalVar;
};

void ExpectAnswers(ClassDirectAcessToDriver& driver, const AnswerRow& row)
{
    SCOPED_TRACE(row.state);
    InfoDataBufferPath1 frame(false);
    ExtStateVideoDriver state;
    EXPECT_EQ(driver.SafeGetBuffer(&frame), row.getBuffer);
    EXPECT_EQ(driver.SafeSetCPUUsing(4), row.setCpu);
    EXPECT_EQ(driver.SafeUpdateExtInfoForReciver(0, 1), row.extInfo);
    EXPECT_EQ(driver.SetFrameRate(25.0f), row.frameRate);
    EXPECT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | InternalVarPictureInterval, &state), row.internalVar);
}

} // namespace

TEST(DriverFacade, GraphThreadWindowClassAndOperationNames)
{
    ClassDirectAcessToDriver driver("");
    ObjectControlGraph1* graph = driver.GetGraphObject();
    ASSERT_NE(graph, nullptr);
    const HWND window = graph->GetHWND();
    ASSERT_NE(window, nullptr);
    char className[128] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(className, "WindowObjectControlGraph1::D.U.R.M.I.X.2005::01::01::2005");
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), graph->GetThreadIdObject());
    const char* const names[] = {
        "GWM_SafeRemoveAndDeleteAllFiltersFromGraph_ControlGraph1,            D.U.R.M.I.X., 07.12.2003-18.50.00",
        "GWM_SafeCreateGraphFromFormat1_ControlGraph1,                        D.U.R.M.I.X., 07.12.2003-18.50.01",
        "GWM_SafeGetBuffer_ControlGraph1,                                     D.U.R.M.I.X., 07.12.2003-18.50.02",
        "GWM_SafeSetCPUUsing_ControlGraph1,                                   D.U.R.M.I.X., 31.08.2004-22.22.00",
        "GWM_SafeUpdateExtInfoForReciver_ControlGraph1,                       D.U.R.M.I.X., 27.01.2005-02.22.00",
        "GWM_ApplayPropertyToVideoDriver_ControlGraph1,                       D.U.R.M.I.X., 26.11.2006-03.00.00",
        "GWM_SetFrameRateToVideoDriver_ControlGraph1,                         D.U.R.M.I.X., 02.02.2007-04.00.00",
        "GWM_SafeUpdateInternalVar_ControlGraph1,                             D.U.R.M.I.X., 22.10.2007-09.20.00",
    };
    for (uint32_t k = 0; k < 8; ++k)
        EXPECT_EQ(graph->GetGraphOperationMessage(k), RegisterWindowMessageA(names[k])) << names[k];
    EXPECT_EQ(graph->GetGraphOperationMessage(8), 0u);
}

TEST(DriverFacade, AnswersWithoutGraphObjectWithoutSinkStoppedAndRunning)
{
    const std::string path = WriteSmallAvi("facade_answers");
    {
        ClassDirectAcessToDriver driver("");
        ExpectAnswers(driver, {"no sink, stopped", S_FALSE, S_FALSE, E_UNEXPECTED, S_FALSE, S_OK});
        ASSERT_EQ(driver.Run(), S_OK);
        EXPECT_TRUE(driver.IsRunning());
        ExpectAnswers(driver, {"no sink, running", S_FALSE, S_FALSE, S_FALSE, S_FALSE, S_OK});
        ASSERT_EQ(driver.Stop(), S_OK);

        const InfoNeedInterface file = MakeFileSource(path);
        ASSERT_EQ(driver.SetDriverInfo(&file), S_OK);
        ExpectAnswers(driver, {"sink, stopped", S_FALSE, S_OK, E_UNEXPECTED, S_OK, S_OK});
        ASSERT_EQ(driver.Run(), S_OK);
        ExpectAnswers(driver, {"sink, running", S_OK, S_OK, S_OK, S_OK, S_OK});

        EXPECT_EQ(driver.DeleteGraphObject(), S_OK);
        EXPECT_FALSE(driver.IsRunning());
        EXPECT_EQ(driver.GetGraphObject(), nullptr);
        ExpectAnswers(driver, {"no graph object", E_FAIL, S_FALSE, E_FAIL, E_FAIL, E_FAIL});
        EXPECT_EQ(driver.Run(), E_FAIL);
        EXPECT_EQ(driver.Stop(), S_FALSE);
        EXPECT_EQ(driver.SetDriverInfo(&file), E_FAIL);
        EXPECT_EQ(driver.DeleteGraphObject(), S_FALSE);
        EXPECT_EQ(driver.SafeGetBuffer(nullptr), E_INVALIDARG);
        // Values are remembered all the same.
        EXPECT_EQ(driver.GetCPUUsing(), 4);
        EXPECT_EQ(driver.GetExtInfoForReciver(0), 1);
    }
    DeleteFileA(path.c_str());
}

TEST(DriverFacade, FrameRatesAreClampedAndARecordOfAnotherNameIsRefused)
{
    ClassDirectAcessToDriver driver("");
    const struct
    {
        float given;
        float kept;
    } rates[] = {{0.5f, 1.0f}, {0.0f, 1.0f}, {500.0f, 200.0f}, {1000.0f, 200.0f}, {30.0f, 30.0f}};
    for (const auto& rate : rates) {
        driver.SetFrameRate(rate.given);
        EXPECT_EQ(driver.GetDriverInfo().m_frame_rate, rate.kept) << rate.given;
    }

    ProbeGraphObject graph;
    ASSERT_EQ(graph.CreateThreadObject(), S_OK);
    InfoMessageSetFrameRateToVideoDriver good;
    good.m_frame_rate = 25.0f;
    InfoMessageSetFrameRateToVideoDriver other;
    other.m_name = "InfoMessageSomethingElse";
    EXPECT_EQ(graph.SendOperation(6, reinterpret_cast<WPARAM>(&good), 0), S_FALSE) << "no sink in the graph";
    EXPECT_EQ(graph.SendOperation(6, reinterpret_cast<WPARAM>(&other), 0), E_UNEXPECTED);
    EXPECT_EQ(graph.SendOperation(6, 0, 0), E_UNEXPECTED);
    EXPECT_EQ(graph.SendOperation(7, 0, InternalVarRead | InternalVarRate), E_UNEXPECTED);
    EXPECT_EQ(graph.SendOperation(1, 0, 0), S_FALSE) << "no record";
    EXPECT_EQ(graph.DestroyDependThreadObject(), S_OK);
}

TEST(DriverFacade, ExtInfoIsRememberedForIndexesBelow256AndAlwaysSent)
{
    ClassDirectAcessToDriver driver("");
    // Stopped: the graph object answers E_UNEXPECTED, so the value reached it.
    EXPECT_EQ(driver.SafeUpdateExtInfoForReciver(300, 7), E_UNEXPECTED);
    EXPECT_EQ(driver.GetExtInfoForReciver(300), 0);
    EXPECT_EQ(driver.SafeUpdateExtInfoForReciver(255, 9), E_UNEXPECTED);
    EXPECT_EQ(driver.GetExtInfoForReciver(255), 9);
    EXPECT_EQ(driver.SafeUpdateExtInfoForReciver(-1, 3), E_UNEXPECTED);
}

TEST(DriverFacade, NoThreadOrWindowOutlivesTheFacade)
{
    DWORD threadId = 0;
    HWND window = nullptr;
    {
        ClassDirectAcessToDriver driver("");
        threadId = driver.GetGraphObject()->GetThreadIdObject();
        window = driver.GetGraphObject()->GetHWND();
        ASSERT_EQ(driver.Recreate(0), S_OK);
        EXPECT_EQ(IsWindow(window), FALSE) << "recreating ends the former thread's window";
        threadId = driver.GetGraphObject()->GetThreadIdObject();
        window = driver.GetGraphObject()->GetHWND();
        ASSERT_EQ(driver.Run(), S_OK);
    }
    EXPECT_EQ(IsWindow(window), FALSE);
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (thread != nullptr) {
        EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
}
