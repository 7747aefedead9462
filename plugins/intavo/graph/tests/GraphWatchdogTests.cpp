#include "GraphObjectTestSupport.h"
#include "GraphTestSupport.h"

#include "LogCapture.h"
#include "ManualTestClock.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char kRestartLine[] = "ObjectControlGraph1::RestartGraph";

// The solo test camera running into the sink, on the manual clock.
class GraphWatchdog : public testing::Test
{
protected:
    void SetUp() override
    {
        RestoreTestDevice(CLSID_TestCaptureDeviceSolo);
        OpenTestDevice(CLSID_TestCaptureDeviceSolo, m_device);
        ASSERT_TRUE(m_device);
        ASSERT_EQ(m_device->SetPinId(L"0"), S_OK);
    }
    void TearDown() override { RestoreTestDevice(CLSID_TestCaptureDeviceSolo); }

    // The sink's rate gate lets samples through only as the clock moves: a second's worth.
    void StartSource(const InfoNeedInterface& source)
    {
        ASSERT_EQ(m_driver.SetDriverInfo(&source), S_OK);
        ASSERT_EQ(m_driver.Run(), S_OK);
        m_clock.Advance(1000);
    }
    // What the 10-second timer does; returns once the graph thread has handled it.
    void Tick()
    {
        SendMessageA(m_driver.GetGraphObject()->GetHWND(), WM_TIMER, ObjectControlGraph1::kWatchdogTimerId, 0);
    }
    bool Restarted(DWORD timeoutMs)
    {
        return WaitUntil(
            [&] {
                const std::string journal = ReadTestDeviceJournal(m_device.Get());
                const size_t stop = journal.find("Stop\n");
                return stop != std::string::npos && journal.find("Run\n", stop) != std::string::npos;
            },
            timeoutMs);
    }
    // A tick; a restart is waited for to its end, one that does not come for half a second.
    bool TickRestarts(DWORD timeoutMs)
    {
        m_device->ClearJournal();
        Tick();
        const bool restarted = Restarted(timeoutMs);
        SyncWithGraphThread(m_driver);
        return restarted;
    }

    ManualTestClock m_clock;
    SmartComPointer<ITestCaptureDevice> m_device;
    ClassDirectAcessToDriver m_driver{""};
};

} // namespace

TEST_F(GraphWatchdog, RestartsASourceWithoutFramesOnceAMinute)
{
    StartSource(MakeDeviceSource(kTestCaptureDeviceSoloName, 0));
    InfoDataBufferPath1 frame(false);
    ASSERT_TRUE(FetchFrame(m_driver, frame, 5000));
    ASSERT_EQ(m_device->SetDelivering(FALSE), S_OK);
    LogCapture log;

    m_clock.Advance(10001);
    EXPECT_FALSE(TickRestarts(500)) << "not within a minute of the object's start";
    m_clock.Advance(50000);
    EXPECT_TRUE(TickRestarts(5000)) << "10 s without a frame, a minute since the start";
    EXPECT_TRUE(log.Contains(kRestartLine));
    m_clock.Advance(30000);
    EXPECT_FALSE(TickRestarts(500)) << "not within a minute of the restart";
    m_clock.Advance(30000);
    EXPECT_TRUE(TickRestarts(5000)) << "a minute after the restart";
    EXPECT_TRUE(m_driver.IsRunning());
}

TEST_F(GraphWatchdog, FramesKeepTheSourceRunning)
{
    StartSource(MakeDeviceSource(kTestCaptureDeviceSoloName, 0));
    InfoDataBufferPath1 frame(false);
    ASSERT_TRUE(FetchFrame(m_driver, frame, 5000));
    m_clock.Advance(70000);
    // A frame let through after the clock moved sets the sink's last-frame time. The sink holds
    // one frame: the first fetch may take one from before the move, the second cannot.
    ASSERT_TRUE(FetchFrame(m_driver, frame, 5000));
    ASSERT_TRUE(FetchFrame(m_driver, frame, 5000));
    EXPECT_FALSE(TickRestarts(500));
}

TEST_F(GraphWatchdog, DesktopIsNeverRestartedForWantOfFrames)
{
    StartSource(MakeOwnSource(TypeSourceDesktop));
    LogCapture log;
    m_clock.Advance(70000);
    Tick();
    EXPECT_FALSE(log.Contains(kRestartLine));
}

TEST_F(GraphWatchdog, AnErrorEventRestartsAtOnce)
{
    StartSource(MakeDeviceSource(kTestCaptureDeviceSoloName, 0));
    InfoDataBufferPath1 frame(false);
    ASSERT_TRUE(FetchFrame(m_driver, frame, 5000));
    m_device->ClearJournal();
    ASSERT_EQ(m_device->RaiseGraphEvent(EC_ERRORABORT, E_FAIL, 0), S_OK);
    EXPECT_TRUE(Restarted(5000));
    m_clock.Advance(1000);
    EXPECT_TRUE(FetchFrame(m_driver, frame, 5000));
}
