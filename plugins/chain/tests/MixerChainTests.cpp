// The mixer path end to end with the delivered plug-ins: a generated file played by the source
// plug-in goes through correction, detection and the camera filter into the mixer, which writes
// it into the driver's shared buffer and hands it to the video output.
#include "MixerChainTestSupport.h"

#include "GraphObjectTestSupport.h"
#include "InfoBackgroundEffectForMixerFilter.h"
#include "InfoFilterStateBlendora1.h"
#include "InfoFilterStateRendara1.h"
#include "CTimeServer.h"
#include "ManualTestClock.h"
#include "MessageForObjectsDataPath1.h"
#include "RenderTestSupport.h"
#include "SharedInfoBetweenPlexamoDriverAndApplication.h"

#include <tlhelp32.h>

#include <cstdlib>

namespace {

void ExpectNear(const Yuv& seen, const Yuv& expected, int tolerance)
{
    EXPECT_LE(std::abs(seen.y - expected.y), tolerance) << seen.y << " for " << expected.y;
    EXPECT_LE(std::abs(seen.u - expected.u), tolerance) << seen.u << " for " << expected.u;
    EXPECT_LE(std::abs(seen.v - expected.v), tolerance) << seen.v << " for " << expected.v;
}

struct ReaderSizeCase
{
    int width, height;
    // What the driver receives: the frame itself, or the half-size copy where it does not fit.
    int readWidth, readHeight;
};

int Grey(uint32_t rgb)
{
    return static_cast<int>(rgb & 0xFF);
}

// Where the output window is shown: apart from the other test programs' windows.
constexpr int kShownX = 600;
constexpr int kShownY = 20;

} // namespace

TEST_F(MixerChainTest, FramesReachEveryFilterAndTheReaderWithTheirStripes)
{
    const ReaderSizeCase cases[] = {{640, 480, 640, 480}, {1920, 1080, 960, 540}};
    for (const ReaderSizeCase& c : cases) {
        SCOPED_TRACE(c.width);
        AddSource(0, 0, c.width, c.height);
        const SourceFilters filters = FiltersOfSource(0);
        for (int32_t index : {filters.source, filters.correction, filters.detector, filters.camera, kMixer, kOutput})
            EXPECT_TRUE(WaitForFrameAt(index)) << index;
        VirtualCameraFrameReport report;
        ASSERT_TRUE(WaitForReaderFrame(c.readWidth, c.readHeight, &report));
        EXPECT_EQ(report.stride, PlexamoDataStride(c.readWidth));
        for (int stripe = 0; stripe < 4; ++stripe) {
            SCOPED_TRACE(stripe);
            for (int row : {StripeRow(c.readHeight), c.readHeight - 1 - StripeRow(c.readHeight)})
                ExpectNear(ReaderPixel(StripeColumn(c.readWidth, stripe), row), kStripes[stripe], 1);
        }
        m_controller->Stop();
        ASSERT_EQ(S_OK, m_controller->DeleteDriverFromMixerDataPathForTundrel(0));
        ASSERT_EQ(S_OK, m_controller->DeleteAllGraph());
        ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(m_window->Handle(), 0, 4));
        ASSERT_EQ(S_OK, Call(kMixer, IID_MixerDataTundrel, 2, {Int(1), Int(kPlexamoDriverStandard)}));
        ForgetRoutedFrames();
    }
}

// Shown, the output window's stripes appear in their grey levels and the block moves between two
// shots. The recipe makes the output a child of the client window, on the worker's thread; under
// Wine such a child's DirectDraw picture never reaches the screen (its OpenGL drawing goes to an
// offscreen drawable), and reading the screen meanwhile deadlocks inside the X library. The test
// takes the output out of the client window as the application can (no parent) and reads that.
TEST_F(MixerChainTest, TheOutputWindowShowsTheStripesInGreyAndTheBlockMoving)
{
    constexpr int kWidth = 640;
    constexpr int kHeight = 480;
    ASSERT_EQ(S_OK, Call(kOutput, IID_IVideoOutputRender1, 7, {Window(nullptr)}));
    // The output takes the rectangle as left, top, width and height.
    ASSERT_EQ(S_OK, Call(kOutput, IID_IVideoOutputRender1, 5, {Rect(kShownX, kShownY, kWidth, kHeight)}));
    ASSERT_EQ(S_OK, Call(kOutput, IID_IVideoOutputRender1, 3, {Bool(true)}));
    AddSource(0, 0, kWidth, kHeight);
    HWND output = static_cast<InfoFilterStateRendara1*>(m_controller->FilterAt(kOutput)->GetInstanceRecord().m_state)->m_window;
    ASSERT_TRUE(IsWindowVisible(output));

    const int blockRow = kHeight / 2;
    const auto blockLeft = [&](const Picture& shot) {
        for (int x = 0; x < shot.Width(); ++x)
            if (Grey(shot.At(x, blockRow)) >= kBlock.y - 4)
                return x;
        return -1;
    };
    const auto stripesShown = [&](const Picture& shot) {
        if (shot.Width() != kWidth || shot.Height() != kHeight)
            return false;
        for (int stripe = 0; stripe < 4; ++stripe)
            if (std::abs(Grey(shot.At(StripeColumn(kWidth, stripe), StripeRow(kHeight))) - kStripes[stripe].y) > 2)
                return false;
        return blockLeft(shot) >= 0;
    };
    const Picture first = WaitForScreen(output, stripesShown);
    ASSERT_TRUE(stripesShown(first));
    const int firstLeft = blockLeft(first);
    const Picture second =
        WaitForScreen(output, [&](const Picture& shot) { return stripesShown(shot) && blockLeft(shot) != firstLeft; });
    EXPECT_TRUE(stripesShown(second));
    EXPECT_NE(blockLeft(second), firstLeft);
}

// Detection on: the moving block raises detection and contour events that reach the client
// window; a detection range no frame meets closes the mixer's gate to the reader.
TEST_F(MixerChainTest, DetectionEventsReachTheClientAndTheLevelGateStopsFrames)
{
    constexpr int kWidth = 640;
    constexpr int kHeight = 480;
    AddSource(0, 0, kWidth, kHeight);
    const SourceFilters filters = FiltersOfSource(0);
    ASSERT_EQ(S_OK, Call(filters.detector, IID_IControlVideoDetector, 0, {Bool(true)}));

    // The block moves by its own width a frame: the difference of two frames is two blocks side
    // by side, in the middle band. The recipe gives the detector no capture record, so its events
    // carry camera 0.
    const float blockArea = (kWidth / 10) * (kHeight / 8) / static_cast<float>(kWidth * kHeight);
    bool detected = false;
    bool contour = false;
    const auto look = [&](const InfoEventDataFrame1& event) {
        if (event.m_type == ted1VideoDetectEvent) {
            const auto& detection = static_cast<const InfoEventDataFrame_ted1VideoDetectEvent&>(event);
            detected = detected || (detection.m_area_max >= 0.5f * blockArea && detection.m_area_max <= 2.5f * blockArea);
        }
        if (event.m_type == ted1InternalVideoConture) {
            const auto& contours = static_cast<const InfoEventDataFrame_ted1InternalVideoConture&>(event);
            for (uint32_t k = 0; k < contours.m_contours.GetCount(); ++k) {
                const Class_InfoCountore& found = contours.m_contours.GetElement(k);
                contour = contour || (found.m_area >= 0.5f * blockArea && found.m_area <= 2.5f * blockArea &&
                                      found.m_center_y > 0.375f && found.m_center_y < 0.625f);
            }
        }
    };
    EXPECT_TRUE(CollectClientEvents(look, [&] { return detected && contour; }, 30000));
    EXPECT_TRUE(detected);
    EXPECT_TRUE(contour);

    // Every frame carries a detection event; no sum of areas reaches 2.
    ASSERT_EQ(S_OK, Call(kMixer, IID_MixerDataTundrel, 1, {Int(3), Float(2.0f)}));
    m_reader->Read(true);
    ForgetRoutedFrames();
    ASSERT_TRUE(WaitForFrameAt(kMixer, 10));
    EXPECT_EQ(m_reader->Read(false).flag, 0);
    ASSERT_EQ(S_OK, Call(kMixer, IID_MixerDataTundrel, 1, {Int(3), Float(0.0f)}));
    EXPECT_TRUE(WaitForReaderFrame(kWidth, kHeight));
}

// A second source in slot 1 is laid into the top-right quarter of the base picture; removed, its
// frames stop while the base runs on.
TEST_F(MixerChainTest, ASecondSourceShowsAsPictureInPictureUntilItsSlotIsDeleted)
{
    constexpr int kWidth = 640;
    constexpr int kHeight = 480;
    InfoBackgroundEffectForMixerFilter record;
    record.m_base_channel = 0;
    record.m_enabled.GetElement(1) = 1;
    record.m_input.GetElement(1) = 1;
    record.m_operation.GetElement(1) = 1;
    record.m_left.GetElement(1) = 0.5f;
    record.m_right.GetElement(1) = 1.0f;
    record.m_top.GetElement(1) = 0.0f;
    record.m_bottom.GetElement(1) = 0.5f;
    ASSERT_EQ(S_OK, Call(kMixer, IID_MixerDataTundrel, 3,
                         {Int(1), Pointer(&record), Int(static_cast<int32_t>(sizeof(record)))}));
    ASSERT_EQ(S_OK, Call(kMixer, IID_MixerDataTundrel, 2, {Int(InfoFilterStateBlendora1::kOptionBackgroundEffect), Int(1)}));
    AddSource(0, 0, kWidth, kHeight);
    AddSource(1, 1, kWidth, kHeight, true);
    ASSERT_TRUE(WaitForFrameAt(FiltersOfSource(1).camera));

    // Stripe k of the second picture, scaled by half, lies in the quarter's stripe k.
    const auto pictureInPictureShown = [&] {
        for (int stripe = 0; stripe < 4; ++stripe) {
            const Yuv seen = ReaderPixel(kWidth / 2 + StripeColumn(kWidth / 2, stripe), StripeRow(kHeight / 2));
            const Yuv& expected = StripeColour(stripe, true);
            if (std::abs(seen.y - expected.y) > 2 || std::abs(seen.u - expected.u) > 2 || std::abs(seen.v - expected.v) > 2)
                return false;
        }
        return true;
    };
    EXPECT_TRUE(WaitUntil(
        [&] {
            if (!WaitForReaderFrame(kWidth, kHeight) || pictureInPictureShown())
                return true;
            m_reader->Read(true);
            return false;
        },
        30000));
    EXPECT_TRUE(pictureInPictureShown());
    // The base picture keeps its own stripes outside the quarter.
    for (int stripe : {0, 1})
        ExpectNear(ReaderPixel(StripeColumn(kWidth, stripe), StripeRow(kHeight)), kStripes[stripe], 1);

    ObjectDataPath1* secondCamera = m_controller->FilterAt(FiltersOfSource(1).camera);
    ASSERT_EQ(S_OK, m_controller->DeleteDriverFromMixerDataPathForTundrel(1));
    ForgetRoutedFrames();
    ASSERT_TRUE(WaitForFrameAt(kMixer, 10));
    EXPECT_EQ(RoutedFrames(secondCamera), 0);
    m_reader->Read(true);
    EXPECT_TRUE(WaitForReaderFrame(kWidth, kHeight));
}

// A reader that stops taking frames: after the blocked frames and the time of a stall, the client
// window is told once that the driver stopped. The path's clocks run on the manual clock, moved
// on by 10 ms a look so that frames keep coming.
TEST_F(MixerChainTest, AReaderThatStopsTakingFramesIsReportedOnce)
{
    AddSource(0, 0, 640, 480);
    ASSERT_TRUE(WaitForReaderFrame(640, 480));
    // From the present reading on: time never runs back for the path's clocks.
    CTimeServer now;
    ASSERT_EQ(S_OK, now.Initialize());
    ManualTestClock clock(now.GetTime());
    int stopped = 0;
    int other = 0;
    const auto look = [&](const InfoEventDataFrame1& event) {
        if (event.m_type != ted1ChangeStateExternalVideoDriverPlexemo)
            return;
        const auto& state = static_cast<const InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo&>(event);
        ++(state.m_state == 0 ? stopped : other);
    };
    ObjectDataPath1* mixer = m_controller->FilterAt(kMixer);
    const auto mixerFramesOnClock = [&](int count) {
        ForgetRoutedFrames();
        return CollectClientEvents(look,
                                   [&] {
                                       clock.Advance(10);
                                       return RoutedFrames(mixer) >= count;
                                   },
                                   30000);
    };
    // More than the blocked frames of a stall pass before the clock moves past its time.
    ASSERT_TRUE(mixerFramesOnClock(40));
    clock.Advance(20000);
    EXPECT_TRUE(CollectClientEvents(look,
                                    [&] {
                                        clock.Advance(10);
                                        return stopped > 0;
                                    },
                                    30000));
    // The counting starts again: within a second of the clock, no second report.
    ASSERT_TRUE(mixerFramesOnClock(40));
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(other, 0);
}

namespace {

struct ProcessResources
{
    int threads = 0;
    int windows = 0;
    DWORD handles = 0;
    int32_t frameHeapUsers = 0;

    bool AtMost(const ProcessResources& other) const
    {
        return threads <= other.threads && windows <= other.windows && handles <= other.handles &&
               frameHeapUsers <= other.frameHeapUsers;
    }
};

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId())
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

ProcessResources MeasureResources()
{
    ProcessResources measured;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        measured.threads += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&measured.windows));
    GetProcessHandleCount(GetCurrentProcess(), &measured.handles);
    measured.frameHeapUsers = InfoDataBufferPath1::m_count_ref_heap;
    return measured;
}

} // namespace

// Once a path has run (so that the system's own libraries are loaded), a second run leaves no
// thread, window, kernel object or frame buffer behind.
TEST_F(MixerChainTest, TeardownLeavesNothingBehind)
{
    AddSource(0, 0, 640, 480);
    ASSERT_TRUE(WaitForReaderFrame(640, 480));
    TearDownPath();
    const ProcessResources before = MeasureResources();

    BuildPath();
    AddSource(0, 0, 640, 480);
    ASSERT_TRUE(WaitForReaderFrame(640, 480));
    EXPECT_GT(InfoDataBufferPath1::m_count_ref_heap, before.frameHeapUsers);
    TearDownPath();
    ProcessResources after;
    EXPECT_TRUE(WaitUntil(
        [&] {
            after = MeasureResources();
            return after.AtMost(before);
        },
        20000));
    EXPECT_LE(after.threads, before.threads);
    EXPECT_LE(after.windows, before.windows);
    EXPECT_LE(after.handles, before.handles);
    EXPECT_LE(after.frameHeapUsers, before.frameHeapUsers);
}

// Corrections on and left neutral but for the brightness, split view off: the stripes' luma rises
// by the set amount.
TEST_F(MixerChainTest, ARaisedBrightnessShowsInTheReadersFrames)
{
    constexpr int kRaise = 20;
    // The correction filter's value indexes, its split view and temporal noise removal parameters.
    constexpr uint32_t kBrightness = 1;
    constexpr uint32_t kSharpness = 3;
    constexpr uint32_t kEdgeSmoothing = 6;
    constexpr int32_t kSplitView = 7;
    constexpr int32_t kTemporalNoise = 14;
    AddSource(0, 0, 640, 480);
    const int32_t correction = FiltersOfSource(0).correction;
    const auto setValue = [&](uint32_t index, float value) {
        return Call(correction, IID_IControlCorrectVideoData, 1,
                    {[index](InfoParamDataPath1& param) { param.SetUInt(index); }, Float(value)});
    };
    for (uint32_t index : {kSharpness, kEdgeSmoothing})
        ASSERT_EQ(S_OK, setValue(index, 51.0f));
    for (int32_t param : {kSplitView, kTemporalNoise})
        ASSERT_EQ(S_OK, Call(correction, IID_IControlCorrectVideoData, 3, {Int(param), Int(0), Float(1.0f)}));
    // The user's scale: 51 neutral, 50 steps for 255 levels.
    ASSERT_EQ(S_OK, setValue(kBrightness, 51.0f + kRaise * 50.0f / 255.0f));
    ASSERT_EQ(S_OK, Call(correction, IID_IControlCorrectVideoData, 0, {Bool(true)}));
    const auto raised = [&] {
        for (int stripe = 0; stripe < 4; ++stripe)
            if (std::abs(ReaderPixel(StripeColumn(640, stripe), StripeRow(480)).y - (kStripes[stripe].y + kRaise)) > 1)
                return false;
        return true;
    };
    EXPECT_TRUE(WaitUntil(
        [&] {
            if (WaitForReaderFrame(640, 480) && raised())
                return true;
            m_reader->Read(true);
            return false;
        },
        30000));
    for (int stripe = 0; stripe < 4; ++stripe)
        EXPECT_NEAR(ReaderPixel(StripeColumn(640, stripe), StripeRow(480)).y, kStripes[stripe].y + kRaise, 1) << stripe;
}
