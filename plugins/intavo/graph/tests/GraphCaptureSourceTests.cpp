#include "GraphObjectTestSupport.h"
#include "GraphTestSupport.h"

#include "FunctWorkWithHWND.h"
#include "LogCapture.h"
#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

#include <dvdmedia.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const CLSID* const kDevices[] = {&CLSID_TestCaptureDeviceFirst, &CLSID_TestCaptureDeviceSecond,
                                 &CLSID_TestCaptureDeviceSolo};

// The test camera "Korvane Test Camera Solo", restored before and after each test.
class GraphCaptureSource : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const CLSID* device : kDevices)
            RestoreTestDevice(*device);
        OpenTestDevice(CLSID_TestCaptureDeviceSolo, m_device);
        ASSERT_TRUE(m_device);
    }
    void TearDown() override
    {
        for (const CLSID* device : kDevices)
            RestoreTestDevice(*device);
    }

    std::string Journal() { return ReadTestDeviceJournal(m_device.Get()); }
    // The journal's lines that begin with the text.
    std::vector<std::string> JournalLines(const std::string& start)
    {
        std::vector<std::string> lines;
        std::istringstream text(Journal());
        for (std::string line; std::getline(text, line);)
            if (line.rfind(start, 0) == 0)
                lines.push_back(line);
        return lines;
    }
    // Builds a graph of the solo device whose pin answers to "0".
    void Build(ClassDirectAcessToDriver& driver, const InfoNeedInterface& source)
    {
        ASSERT_EQ(m_device->SetPinId(L"0"), S_OK);
        ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
    }

    SmartComPointer<ITestCaptureDevice> m_device;
    InfoNeedInterface m_source = MakeDeviceSource(kTestCaptureDeviceSoloName, 0);
};

// The type the device accepted last; freed by the caller's holder.
struct AcceptedFormat
{
    explicit AcceptedFormat(ITestCaptureDevice* device) { EXPECT_EQ(device->GetAcceptedFormat(&type), S_OK); }
    ~AcceptedFormat()
    {
        if (type != nullptr) {
            CoTaskMemFree(type->pbFormat);
            CoTaskMemFree(type);
        }
    }
    const BITMAPINFOHEADER& Header() const
    {
        return IsEqualGUID(type->formattype, FORMAT_VideoInfo2)
                   ? reinterpret_cast<const VIDEOINFOHEADER2*>(type->pbFormat)->bmiHeader
                   : reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat)->bmiHeader;
    }
    AM_MEDIA_TYPE* type = nullptr;
};

} // namespace

TEST_F(GraphCaptureSource, OrdinalPicksTheDeviceAmongThoseOfOneName)
{
    SmartComPointer<ITestCaptureDevice> first;
    SmartComPointer<ITestCaptureDevice> second;
    OpenTestDevice(CLSID_TestCaptureDeviceFirst, first);
    OpenTestDevice(CLSID_TestCaptureDeviceSecond, second);
    first->ClearJournal();
    second->ClearJournal();
    ClassDirectAcessToDriver driver("");
    const InfoNeedInterface source = MakeDeviceSource(kTestCaptureDevicePairName, 1);
    ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
    EXPECT_EQ(ReadTestDeviceJournal(first.Get()), "");
    EXPECT_NE(ReadTestDeviceJournal(second.Get()).find("put_TVFormat 16"), std::string::npos);
}

// Candidates in order (requested subtype and size first), exactly the accepted pair, format blocks
// that agree with themselves.
TEST_F(GraphCaptureSource, NegotiatesTheFormatOnTheCapturePin)
{
    struct FormatCase
    {
        const char* name;
        GUID formatType;
        TestCaptureFormat accepted;
        const char* acceptedLine;
        size_t refusedBefore;
        WORD bitCount;
        DWORD compression;
        DWORD imageSize;
    };
    const FormatCase cases[] = {
        {"requested pair", FORMAT_VideoInfo, {MEDIASUBTYPE_YUY2, 320, 240}, "SetFormat YUY2 320x240 accepted", 0, 16,
         MAKEFOURCC('Y', 'U', 'Y', '2'), 320 * 240 * 2},
        {"third size", FORMAT_VideoInfo, {MEDIASUBTYPE_YUY2, 768, 576}, "SetFormat YUY2 768x576 accepted", 2, 16,
         MAKEFOURCC('Y', 'U', 'Y', '2'), 768 * 576 * 2},
        {"RGB24", FORMAT_VideoInfo, {MEDIASUBTYPE_RGB24, 800, 600}, "SetFormat RGB24 800x600 accepted", 12 * 3 + 7, 24,
         BI_RGB, 800 * 600 * 3},
        {"I420", FORMAT_VideoInfo, {media_guids::MediaSubtypeI420, 320, 240}, "SetFormat I420 320x240 accepted",
         12 * 7, 12, MAKEFOURCC('I', '4', '2', '0'), 320 * 240 * 3 / 2},
        {"YV12 in a VIDEOINFOHEADER2", FORMAT_VideoInfo2, {MEDIASUBTYPE_YV12, 640, 480},
         "SetFormat YV12 640x480 accepted", 12 * 9 + 3, 12, MAKEFOURCC('Y', 'V', '1', '2'), 640 * 480 * 3 / 2},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        RestoreTestDevice(CLSID_TestCaptureDeviceSolo);
        TestCaptureCapability capability = {};
        capability.formatType = c.formatType;
        capability.subtype = MEDIASUBTYPE_YUY2;
        capability.width = 640;
        capability.height = 480;
        ASSERT_EQ(m_device->SetCapabilities(&capability, 1), S_OK);
        ASSERT_EQ(m_device->SetAcceptedFormats(&c.accepted, 1), S_OK);
        ASSERT_EQ(m_device->SetPinId(L"0"), S_OK);
        ClassDirectAcessToDriver driver("");
        // The sink may refuse the negotiated type; the negotiation is what is looked at.
        driver.SetDriverInfo(&m_source);
        const std::vector<std::string> lines = JournalLines("SetFormat");
        ASSERT_EQ(lines.size(), c.refusedBefore + 1);
        EXPECT_EQ(lines.back(), c.acceptedLine);
        EXPECT_EQ(JournalLines("StartAt").size(), 1u);

        AcceptedFormat format(m_device.Get());
        ASSERT_NE(format.type, nullptr);
        const BITMAPINFOHEADER& header = format.Header();
        EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(header.biBitCount, c.bitCount);
        EXPECT_EQ(header.biCompression, c.compression);
        EXPECT_EQ(header.biSizeImage, c.imageSize);
        EXPECT_EQ(format.type->lSampleSize, c.imageSize);
        const LONG w = c.accepted.width;
        const LONG h = c.accepted.height;
        const DWORD bytesPerPixel = c.bitCount == 24 ? 3 : 2;
        if (IsEqualGUID(c.formatType, FORMAT_VideoInfo)) {
            const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(format.type->pbFormat);
            EXPECT_EQ(info->AvgTimePerFrame, 300000);
            EXPECT_EQ(info->dwBitRate, static_cast<DWORD>(w * h) * 8 * bytesPerPixel * 30);
            EXPECT_EQ(info->rcSource.right, w);
            EXPECT_EQ(info->rcTarget.bottom, h);
        } else {
            const auto* info = reinterpret_cast<const VIDEOINFOHEADER2*>(format.type->pbFormat);
            EXPECT_EQ(info->AvgTimePerFrame, 0);
            EXPECT_EQ(info->dwBitRate, static_cast<DWORD>(w * h) * 8 * bytesPerPixel);
            EXPECT_EQ(info->dwPictAspectRatioX, static_cast<DWORD>(w));
            EXPECT_EQ(info->dwPictAspectRatioY, static_cast<DWORD>(h));
        }
    }
}

TEST_F(GraphCaptureSource, PinSearchByPinIdAndTemplateType)
{
    struct PinCase
    {
        const char* name;
        const wchar_t* pinId;
        GUID formatType;
        bool acceptNone;
        size_t setFormats;
        size_t startAts;
    };
    const PinCase cases[] = {
        // "0" is not there: "1" is the next id tried.
        {"pin 1", L"1", FORMAT_VideoInfo, false, 1, 1},
        // Refused everywhere: the pin is not started and the ids after it are tried.
        {"nothing accepted", L"0", FORMAT_VideoInfo, true, 10 * 12, 0},
        // Neither header: nothing is set, yet the pin counts as done.
        {"other template", L"0", FORMAT_WaveFormatEx, false, 0, 1},
        {"no pin of those ids", L"Capture", FORMAT_VideoInfo, false, 0, 0},
    };
    for (const PinCase& c : cases) {
        SCOPED_TRACE(c.name);
        RestoreTestDevice(CLSID_TestCaptureDeviceSolo);
        TestCaptureCapability capability = {};
        capability.formatType = c.formatType;
        capability.subtype = MEDIASUBTYPE_YUY2;
        capability.width = 320;
        capability.height = 240;
        ASSERT_EQ(m_device->SetCapabilities(&capability, 1), S_OK);
        if (c.acceptNone) {
            ASSERT_EQ(m_device->SetAcceptedFormats(nullptr, 0), S_OK);
        }
        ASSERT_EQ(m_device->SetPinId(c.pinId), S_OK);
        ClassDirectAcessToDriver driver("");
        driver.SetDriverInfo(&m_source);
        EXPECT_EQ(JournalLines("SetFormat").size(), c.setFormats);
        EXPECT_EQ(JournalLines("StartAt").size(), c.startAts);
    }
}

TEST_F(GraphCaptureSource, TvStandardAndAmplifierDefaultsWithTheHueSetting)
{
    ClassDirectAcessToDriver driver("");
    InfoNeedInterface source = m_source;
    source.m_type_analog_video_standard = AnalogVideo_NTSC_M;
    Build(driver, source);
    EXPECT_EQ(JournalLines("put_TVFormat"), std::vector<std::string>{"put_TVFormat 1"});
    // Every property but ColorEnable, in this order, at its default, manual.
    const std::vector<std::string> defaults = {"VideoProcAmp.Set 0 0 2", "VideoProcAmp.Set 1 0 2",
                                               "VideoProcAmp.Set 2 0 2", "VideoProcAmp.Set 3 0 2",
                                               "VideoProcAmp.Set 5 0 2", "VideoProcAmp.Set 7 0 2",
                                               "VideoProcAmp.Set 8 0 2", "VideoProcAmp.Set 9 0 2",
                                               "VideoProcAmp.Set 4 0 2"};
    EXPECT_EQ(JournalLines("VideoProcAmp"), defaults);

    const struct
    {
        double setting;
        const char* hueLine;
    } hues[] = {{0.5, "VideoProcAmp.Set 2 50 2"}, {-0.5, "VideoProcAmp.Set 2 -50 2"}, {2.0, "VideoProcAmp.Set 2 100 2"}};
    for (const auto& hue : hues) {
        m_device->ClearJournal();
        ExtStateVideoDriver state;
        state.m_array_double.GetElement(InternalVarHue) = hue.setting;
        ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarWrite | InternalVarHue, &state), S_OK);
        const std::vector<std::string> lines = JournalLines("VideoProcAmp.Set 2 ");
        EXPECT_EQ(lines, std::vector<std::string>{hue.hueLine}) << hue.setting;
        state.ResetStruct();
        ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | InternalVarHue, &state), S_OK);
        EXPECT_EQ(state.m_array_double.GetElement(InternalVarHue), hue.setting);
    }
}

TEST(GraphHueSetting, ValueWithinTheAmplifierRange)
{
    const struct
    {
        double setting;
        long minimum, maximum, byDefault, value;
    } cases[] = {
        {0.5, -100, 100, 0, 50}, {-0.5, -100, 100, 0, -50}, {2.0, -100, 100, 0, 100}, {-3.0, -100, 100, 0, -100},
        {0.25, 0, 255, 128, 159}, {-0.25, 0, 255, 128, 96}, {0.0, 0, 255, 128, 128},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ComputeHueFromSetting(c.setting, c.minimum, c.maximum, c.byDefault), c.value) << c.setting;
}

TEST_F(GraphCaptureSource, DeliversTheDeviceFramesAndLeavesALiveDurationUnread)
{
    ClassDirectAcessToDriver driver("");
    Build(driver, m_source);
    ASSERT_EQ(driver.Run(), S_OK);
    InfoDataBufferPath1 frame(false);
    ASSERT_TRUE(FetchFrame(driver, frame, 5000));
    EXPECT_TRUE(IsEqualGUID(frame.m_info.m_subtype, MEDIASUBTYPE_YUY2));
    EXPECT_EQ(frame.m_info.m_bih.biWidth, 320);
    EXPECT_EQ(frame.m_info.m_bih.biHeight, 240);
    ASSERT_EQ(frame.m_size_data, 320 * 240 * 2);
    const BYTE* data = frame.m_data + frame.m_offset_data;
    bool counter = true;
    for (int32_t i = 0; i < frame.m_size_data && counter; ++i)
        counter = data[i] == static_cast<BYTE>(data[0] + i);
    EXPECT_TRUE(counter) << "the device's counter pattern";

    ExtStateVideoDriver state;
    state.m_array_longlong.GetElement(InternalVarDuration) = 77;
    state.m_array_longlong.GetElement(InternalVarCurrentPosition) = 5;
    EXPECT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | InternalVarDuration, &state), S_OK);
    EXPECT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | InternalVarCurrentPosition, &state), S_OK);
    EXPECT_EQ(state.m_array_longlong.GetElement(InternalVarDuration), 77);
    EXPECT_EQ(state.m_array_longlong.GetElement(InternalVarCurrentPosition), 5);
}

TEST_F(GraphCaptureSource, GraphClockWriteStopsAndRunsOnlyOnAChange)
{
    ClassDirectAcessToDriver driver("");
    Build(driver, m_source);
    ASSERT_EQ(driver.Run(), S_OK);
    m_device->ClearJournal();
    ExtStateVideoDriver state;
    state.m_array_uint.GetElement(InternalVarGraphClock) = 1;
    ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarWrite | InternalVarGraphClock, &state), S_OK);
    EXPECT_TRUE(JournalLines("Stop").empty()) << Journal();
    state.m_array_uint.GetElement(InternalVarGraphClock) = 0;
    ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarWrite | InternalVarGraphClock, &state), S_OK);
    EXPECT_EQ(JournalLines("Stop").size(), 1u) << Journal();
    EXPECT_EQ(JournalLines("Run").size(), 1u) << Journal();
    InfoDataBufferPath1 frame(false);
    EXPECT_TRUE(FetchFrame(driver, frame, 5000)) << "runs on without a clock";
}

TEST_F(GraphCaptureSource, SetDriverInfoKeepsTheRunStateAndPropertiesOnlyReTunes)
{
    ClassDirectAcessToDriver driver("");
    Build(driver, m_source);
    ASSERT_EQ(driver.Run(), S_OK);
    const DWORD firstThread = driver.GetGraphObject()->GetThreadIdObject();

    InfoNeedInterface tune = m_source;
    tune.m_properties_only = 1;
    tune.m_type_analog_video_standard = AnalogVideo_SECAM_L;
    m_device->ClearJournal();
    ASSERT_EQ(driver.SetDriverInfo(&tune), S_OK);
    EXPECT_EQ(driver.GetGraphObject()->GetThreadIdObject(), firstThread) << "re-tuned, not rebuilt";
    EXPECT_EQ(JournalLines("put_TVFormat"), std::vector<std::string>{"put_TVFormat 262144"});
    EXPECT_EQ(driver.GetDriverInfo().m_properties_only, 0);
    EXPECT_TRUE(driver.IsRunning());
    InfoDataBufferPath1 frame(false);
    EXPECT_TRUE(FetchFrame(driver, frame, 5000));

    ASSERT_EQ(driver.SetDriverInfo(&m_source), S_OK);
    EXPECT_NE(driver.GetGraphObject()->GetThreadIdObject(), firstThread) << "rebuilt on a new thread";
    EXPECT_TRUE(driver.IsRunning());
    EXPECT_TRUE(FetchFrame(driver, frame, 5000));

    ASSERT_EQ(driver.Stop(), S_OK);
    ASSERT_EQ(driver.SetDriverInfo(&m_source), S_OK);
    EXPECT_FALSE(driver.IsRunning());
    EXPECT_EQ(driver.SafeGetBuffer(&frame), S_FALSE);
    EXPECT_EQ(frame.IsNULLFrame(), S_FALSE);
}

TEST_F(GraphCaptureSource, TeardownWhileRunningLogsAndStopsFirst)
{
    ClassDirectAcessToDriver driver("");
    Build(driver, m_source);
    ASSERT_EQ(driver.Run(), S_OK);
    m_device->ClearJournal();
    LogCapture log;
    const HWND window = driver.GetGraphObject()->GetHWND();
    ASSERT_EQ(SafeDestroyWindow(window, "test"), S_OK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindow(window) == FALSE; }, 5000));
    EXPECT_TRUE(log.Contains("ObjectControlGraph1::WindowProcObject_WM_DESTROY::error::delete thread for control one "
                             "graph< without stop object"));
    EXPECT_FALSE(JournalLines("Stop").empty()) << Journal();
}

// While the pages are open the frame answers sent messages: nothing may replace the filter it shows.
TEST_F(GraphCaptureSource, RebuildsAreRefusedWhileThePropertyPagesAreOpen)
{
    ClassDirectAcessToDriver driver("");
    Build(driver, m_source);
    ObjectControlGraph1* graph = driver.GetGraphObject();
    const DWORD thread = graph->GetThreadIdObject();
    graph->MarkPropertyPagesOpenForTest(true);
    m_device->ClearJournal();
    EXPECT_EQ(driver.Recreate(0), S_FALSE);
    EXPECT_EQ(graph->SafeRemoveAndDeleteAllFiltersFromGraph(), S_FALSE);
    EXPECT_EQ(graph->SafeCreateGraphFromFormat1(0.0f, 0, &m_source), S_FALSE);
    EXPECT_EQ(graph->ApplayPropertyToVideoDriver(&m_source), S_FALSE);
    EXPECT_EQ(driver.SetDriverInfo(&m_source), S_FALSE);
    EXPECT_EQ(driver.GetGraphObject()->GetThreadIdObject(), thread);
    EXPECT_EQ(Journal(), "") << "the device was not touched";
    graph->MarkPropertyPagesOpenForTest(false);
    EXPECT_EQ(driver.SetDriverInfo(&m_source), S_OK);
}

// A graph that never reaches its state holds the graph thread for seconds, and a frame fetch
// meanwhile gives up within a few ticks.
TEST_F(GraphCaptureSource, AStuckStateChangeIsBoundedAndFrameFetchesDoNotWaitForIt)
{
    ClassDirectAcessToDriver driver("");
    Build(driver, m_source);
    ASSERT_EQ(m_device->SetHoldIntermediate(TRUE), S_OK);
    m_device->ClearJournal();
    LogCapture log;
    HRESULT runResult = S_OK;
    ULONGLONG runMs = 0;
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread runner([&] {
        SetEvent(started);
        const ULONGLONG begin = GetTickCount64();
        runResult = driver.GetGraphObject()->Run();
        runMs = GetTickCount64() - begin;
    });
    WaitForSingleObject(started, INFINITE);
    // The device runs: the graph object now waits for the state change that never ends.
    EXPECT_TRUE(WaitUntil([&] { return Journal().find("Run\n") != std::string::npos; }, 5000));
    InfoDataBufferPath1 frame(false);
    const ULONGLONG begin = GetTickCount64();
    EXPECT_EQ(driver.SafeGetBuffer(&frame), S_FALSE);
    EXPECT_LT(GetTickCount64() - begin, 1000u);
    EXPECT_EQ(frame.IsNULLFrame(), S_FALSE);
    runner.join();
    CloseHandle(started);
    EXPECT_EQ(runResult, E_FAIL);
    EXPECT_LT(runMs, 10000u);
    EXPECT_TRUE(log.Contains("ObjectControlGraph1::RealRun::failed end wait cycle::2"));
    ASSERT_EQ(m_device->SetHoldIntermediate(FALSE), S_OK);
}
