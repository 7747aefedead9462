// Times the mixer path's filters per frame as the data path's pump runs them. The path is built by
// the recipes as the application builds it (a live client window, a source in slot 0, the processor
// mode); then, on the controller's worker thread, each pre-generated YUY2 sample is converted into a
// pool frame as the source converts a fetched sample and pushed by the controller's own push from
// the source filter through correction, detection and the camera filter into the mixer (which
// writes it into the driver's shared buffer, taken by an in-process driver between frames) and on
// to the shown video output. A filter's own time is the time of its push less that of the pushes
// it makes. The chain figure is correction, detector, camera and mixer; the source (its conversion
// and transform) and the video output are reported apart. Each figure is the fastest run's time per
// frame (run 0 only warms up).
// Configurations:
//   chain     corrections on with temporal noise removal in both passes, the animated gradient
//             effect 3, sharpness and edge smoothing neutral, split view off; detection on; the
//             mixer's background effect with one picture-in-picture channel, fed through input 1 by
//             a frame of the correction filter's layout, as a second source's chain hands it over
//   defaults  every filter as the recipes leave it, the correction settings at their defaults
// Usage (under a display: the output window is shown):
//   chain_bench [runs] [frames per run] [processor mode]
#include "ChainPictures.h"
#include "ControllerTestSupport.h"
#include "CorrectionSettings.h"
#include "MixerBenchCalls.h"
#include "MixerPathLayout.h"

#include "BenchmarkTiming.h"
#include "InfoBackgroundEffectForMixerFilter.h"
#include "IntavoConversions.h"
#include "MessageForObjectsDataPath1.h"
#include "ObjectAllocatorBufferDataPath1.h"
#include "TestVideoFrames.h"
#include "VirtualCameraDriverDouble.h"
#include "need_interface.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kPictures = 8;
constexpr int32_t kChannelInput = 1;
constexpr int32_t kOptionBackgroundEffect = 2;
constexpr uint32_t kSizeHintSourceFrame = 0x20000;
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

struct FrameSize
{
    int width;
    int height;
    double targetMs;
};

constexpr FrameSize kSizes[] = {{640, 480, 1.3}, {1920, 1080, 8.0}};

// The figures of one configuration at one size, ms per frame.
enum Figure
{
    kConversionFigure,
    kSourceFigure,
    kCorrectionFigure,
    kDetectorFigure,
    kCameraFigure,
    kMixerFigure,
    kChainFigure,
    kOutputFigure,
    kFigureCount
};

constexpr const char* kFigureNames[kFigureCount] = {"source conversion (apart)", "Intavo1 transform (apart)",
                                                "Tonalis1",
                                                "Motiscan4",
                                                "Camwell1",
                                                "Blendora1",
                                                "chain",
                                                "RendaraGeneral (apart)"};

using Figures = std::array<double, kFigureCount>;

int64_t Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(int64_t ticks, int frames)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1e3 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart) / frames;
}

void DeleteEvents(ListEventsDataPath1& events)
{
    for (uint32_t k = 0; k < events.GetCount(); ++k)
        delete events.GetElement(k).m_event;
    events.SetSize(0);
}

// The controller whose pushes are timed filter by filter.
class TimedController : public TestControlDataPath1
{
public:
    using TestControlDataPath1::TestControlDataPath1;

    // Runs the work on the worker with the path running, as the pump's ticks run.
    HRESULT WhileRunning(const std::function<HRESULT()>& work)
    {
        return RunOnWorker([&] {
            HRESULT result = RunReal();
            if (SUCCEEDED(result))
                result = work();
            const HRESULT stopped = StopReal();
            return FAILED(result) ? result : stopped;
        });
    }

    // One push of the pump, from the filter on.
    HRESULT Push(ObjectDataPath1* filter, InfoDataBufferPath1* frame, ObjectAllocatorBufferDataPath1* pool,
                 ListEventsDataPath1* events, int32_t inputIndex)
    {
        int32_t step = 0;
        return RouteFrameThroughFilter(&step, 0, filter, frame, pool, events, inputIndex);
    }

    HRESULT RouteFrameThroughFilter(int32_t* step, int64_t fetchTime, ObjectDataPath1* filter, InfoDataBufferPath1* frame,
                                    ObjectAllocatorBufferDataPath1* pool, ListEventsDataPath1* events,
                                    int32_t inputIndex) override
    {
        const int64_t outerPushes = m_inner_ticks;
        m_inner_ticks = 0;
        const int64_t start = Ticks();
        const HRESULT result =
            TestControlDataPath1::RouteFrameThroughFilter(step, fetchTime, filter, frame, pool, events, inputIndex);
        const int64_t spent = Ticks() - start;
        m_own_ticks[filter] += spent - m_inner_ticks;
        m_inner_ticks = outerPushes + spent;
        return result;
    }

    // Each filter's own ticks since the last reset.
    std::map<ObjectDataPath1*, int64_t> m_own_ticks;

private:
    int64_t m_inner_ticks = 0;
};

HRESULT CallFilter(ObjectDataPath1& filter, const GUID& iid, int32_t method,
                   const std::function<void(ListParamsDataPath1&)>& set)
{
    ListParamsDataPath1 params;
    set(params);
    return filter.CallInterfaceFunction(iid, method, &params);
}

HRESULT SetDetection(ObjectDataPath1& detector, bool on)
{
    return CallFilter(detector, IID_IControlVideoDetector, 0, [on](ListParamsDataPath1& params) {
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetBool(on);
    });
}

// Channel 1 lays input 1's picture into the top-right quarter of the base picture of input 0.
HRESULT LoadPictureInPicture(ObjectDataPath1& mixer, InfoBackgroundEffectForMixerFilter& record)
{
    record.m_base_channel = 0;
    record.m_enabled.GetElement(1) = 1;
    record.m_input.GetElement(1) = kChannelInput;
    record.m_operation.GetElement(1) = 1;
    record.m_left.GetElement(1) = 0.5f;
    record.m_right.GetElement(1) = 1.0f;
    record.m_top.GetElement(1) = 0.0f;
    record.m_bottom.GetElement(1) = 0.5f;
    return CallFilter(mixer, IID_MixerDataTundrel, 3, [&](ListParamsDataPath1& params) {
        params.SetNumberParams(3);
        params.m_params.GetElement(0).SetInt(1);
        params.m_params.GetElement(1).SetPointer(&record, 0, false);
        params.m_params.GetElement(2).SetInt(static_cast<int32_t>(sizeof(record)));
    });
}

struct Configuration
{
    const char* name;
    bool chain;
};

constexpr Configuration kConfigurations[] = {{"chain", true}, {"defaults", false}};

// The path built once; each configuration and size is timed on it in turn.
class ChainBench
{
public:
    ChainBench(const BenchmarkSettings& settings, int32_t mode)
        : m_settings(settings), m_mode(mode), m_controller(ProgramFolderPath())
    {
    }

    ~ChainBench()
    {
        m_controller.Stop();
        m_controller.DeleteAllGraph();
    }
    ChainBench(const ChainBench&) = delete;
    ChainBench& operator=(const ChainBench&) = delete;

    HRESULT Build();
    HRESULT Apply(const Configuration& configuration);
    HRESULT Time(const Configuration& configuration, const FrameSize& size, Figures& best);

private:
    HRESULT PrepareFrames(const Configuration& configuration, const FrameSize& size);
    void ConvertSample(InfoDataBufferPath1& frame, int picture, const FrameSize& size);
    HRESULT TimeOneRun(const Configuration& configuration, const FrameSize& size, Figures& figures);

    BenchmarkSettings m_settings;
    int32_t m_mode;
    TestClientWindow m_window;
    TimedController m_controller;
    VirtualCameraDriverDouble m_driver;
    InfoBackgroundEffectForMixerFilter m_record;
    ObjectAllocatorBufferDataPath1 m_pool;
    ListEventsDataPath1 m_events;
    ConversionRoutinesIntavo1 m_routines{};
    MemoryBlockClass<BYTE> m_scratch;
    std::vector<std::vector<uint8_t>> m_pictures;
    InfoCallInterfaceDataPath1 m_sample_description;
    InfoDataBufferPath1 m_channel;
    ObjectDataPath1* m_filters[kFigureCount] = {};
    bool m_reported_no_driver_frame = false;
};

HRESULT ChainBench::Build()
{
    // A source record the source takes without delivering anything: the benchmark's samples
    // stand in for its fetches.
    InfoNeedInterface source;
    source.m_type_driver = TypeSourceVideoFile;
    source.m_name_file = (ProgramFolderPath() + "\\chain_bench_no_such_file.avi").c_str();
    HWND client = m_window.Handle();
    SetWindowLongPtrA(client, GWL_STYLE, WS_POPUP);
    SetWindowPos(client, HWND_TOP, 600, 20, kClientWidth, kClientHeight, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    HRESULT result = m_controller.CreateMixerDataPathForTundrel(client, 0, m_mode);
    if (SUCCEEDED(result))
        result = m_controller.SetExternWindow(client);
    if (SUCCEEDED(result))
        result = m_controller.AddDriverToMixerDataPathForTundrel(&source, 0, 0, m_mode);
    if (FAILED(result))
        return result;
    const SourceFilters chain = FiltersOfSource(0);
    m_filters[kSourceFigure] = m_controller.FilterAt(chain.source);
    m_filters[kCorrectionFigure] = m_controller.FilterAt(chain.correction);
    m_filters[kDetectorFigure] = m_controller.FilterAt(chain.detector);
    m_filters[kCameraFigure] = m_controller.FilterAt(chain.camera);
    m_filters[kMixerFigure] = m_controller.FilterAt(kMixer);
    m_filters[kOutputFigure] = m_controller.FilterAt(kOutput);
    for (int figure : {kSourceFigure, kCorrectionFigure, kDetectorFigure, kCameraFigure, kMixerFigure, kOutputFigure})
        if (m_filters[figure] == nullptr)
            return E_FAIL;
    SelectConversionRoutines(m_routines, static_cast<uint32_t>(m_mode));
    result = m_driver.Open(kPlexamoDriverStandard);
    if (SUCCEEDED(result))
        result = m_driver.SetLargestSize(1920, 1080);
    // The application's calls and the driver's: the input enabled, the driver kind, the output
    // window shown over the client window.
    return m_controller.RunOnWorker([&] {
        ObjectDataPath1& mixer = *m_filters[kMixerFigure];
        ObjectDataPath1& output = *m_filters[kOutputFigure];
        HRESULT done = result;
        for (int32_t input : {0, kChannelInput})
            if (SUCCEEDED(done))
                done = CallMixerData(mixer, 0, input, true);
        if (SUCCEEDED(done))
            done = CallMixerData(mixer, 2, 1, kPlexamoDriverStandard);
        if (SUCCEEDED(done))
            done = CallFilter(output, IID_IVideoOutputRender1, 5, [](ListParamsDataPath1& params) {
                params.SetNumberParams(1);
                params.m_params.GetElement(0).SetRect(RECT{0, 0, kClientWidth, kClientHeight});
            });
        if (SUCCEEDED(done))
            done = CallFilter(output, IID_IVideoOutputRender1, 3, [](ListParamsDataPath1& params) {
                params.SetNumberParams(1);
                params.m_params.GetElement(0).SetBool(true);
            });
        return done;
    });
}

HRESULT ChainBench::Apply(const Configuration& configuration)
{
    return m_controller.RunOnWorker([&] {
        HRESULT result = ApplyCorrectionSettings(*m_filters[kCorrectionFigure], configuration.chain
                                                                              ? CorrectionChainSettings(true, true, true)
                                                                              : CorrectionDefaultSettings());
        if (SUCCEEDED(result))
            result = SetDetection(*m_filters[kDetectorFigure], configuration.chain);
        if (SUCCEEDED(result))
            result = CallMixerData(*m_filters[kMixerFigure], 2, kOptionBackgroundEffect, configuration.chain ? 1 : 0);
        if (SUCCEEDED(result) && configuration.chain)
            result = LoadPictureInPicture(*m_filters[kMixerFigure], m_record);
        return result;
    });
}

HRESULT ChainBench::PrepareFrames(const Configuration& configuration, const FrameSize& size)
{
    m_pictures.clear();
    for (int picture = 0; picture < kPictures; ++picture)
        m_pictures.push_back(MakeChainPicture(size.width, size.height, picture));
    InfoDataBufferPath1 sample;
    HRESULT result = MakeTestFrame(sample, TestFrameFormat::Yuy2, size.width, size.height, UniformLuma(0));
    if (SUCCEEDED(result))
        m_sample_description = sample.m_info;
    if (SUCCEEDED(result) && configuration.chain)
        result = MakeTestFrame(m_channel, TestFrameFormat::Yuy2, size.width, size.height,
                               BlockLuma(60, 200, size.width / 4, size.height / 4, size.width / 2, size.height / 2));
    return result;
}

// What the source does with a fetched sample: the description taken over, the picture converted.
void ChainBench::ConvertSample(InfoDataBufferPath1& frame, int picture, const FrameSize& size)
{
    frame.SetNULLFrame();
    frame.m_info = m_sample_description;
    ConvertDataBufferToYUY2orY8Formats(m_routines, m_scratch, m_pictures[static_cast<size_t>(picture)].data(),
                                       2 * size.width, frame, true);
    frame.CheckAlignedFrame();
}

HRESULT ChainBench::TimeOneRun(const Configuration& configuration, const FrameSize& size, Figures& figures)
{
    ObjectDataPath1* source = m_filters[kSourceFigure];
    const int32_t sourceInput = source->GetInstanceRecord().m_points.m_outputs.GetElement(0).m_peer_index;
    // The entries stay from run 0 on: no push allocates while the others are timed.
    for (auto& entry : m_controller.m_own_ticks)
        entry.second = 0;
    int64_t conversionTicks = 0;
    HRESULT result = S_OK;
    for (int k = 0; k < m_settings.calls && SUCCEEDED(result); ++k) {
        // The driver takes the previous frame, as it would between two frames.
        VirtualCameraFrameReport report;
        m_driver.ReadFrame(report, true);
        if (k > 0 && report.flag == 0 && !m_reported_no_driver_frame) {
            std::printf("  the mixer wrote no frame for the driver\n");
            m_reported_no_driver_frame = true;
        }
        InfoDataBufferPath1* frame = m_pool.GetFreeBuffer(kSizeHintSourceFrame, true);
        if (frame == nullptr)
            return E_FAIL;
        const int64_t start = Ticks();
        ConvertSample(*frame, k % kPictures, size);
        conversionTicks += Ticks() - start;
        if (configuration.chain) {
            // The channel's frame leaves the mixer virtual: it carries its picture again.
            m_channel.m_info.m_state &= ~InfoCallInterfaceDataPath1::kStateVirtual;
            result = m_controller.Push(m_filters[kMixerFigure], &m_channel, &m_pool, &m_events, kChannelInput);
        }
        if (SUCCEEDED(result))
            result = m_controller.Push(source, frame, &m_pool, &m_events, sourceInput);
        DeleteEvents(m_events);
        m_pool.ReleaseAllBuffers();
    }
    figures[kConversionFigure] = Milliseconds(conversionTicks, m_settings.calls);
    for (int figure : {kSourceFigure, kCorrectionFigure, kDetectorFigure, kCameraFigure, kMixerFigure, kOutputFigure})
        figures[figure] = Milliseconds(m_controller.m_own_ticks[m_filters[figure]], m_settings.calls);
    figures[kChainFigure] = figures[kCorrectionFigure] + figures[kDetectorFigure] + figures[kCameraFigure] + figures[kMixerFigure];
    return result;
}

HRESULT ChainBench::Time(const Configuration& configuration, const FrameSize& size, Figures& best)
{
    HRESULT result = PrepareFrames(configuration, size);
    if (FAILED(result))
        return result;
    HWND outputWindow = FindWindowExA(m_window.Handle(), nullptr, nullptr, nullptr);
    best.fill(1e30);
    return m_controller.WhileRunning([&] {
        // The first paint builds the render library's device.
        if (outputWindow != nullptr)
            UpdateWindow(outputWindow);
        for (int run = 0; run <= m_settings.runs; ++run) {
            Figures figures{};
            const HRESULT timed = TimeOneRun(configuration, size, figures);
            if (FAILED(timed))
                return timed;
            // Run 0 only warms the caches and the filters' buffers; the chain is the fastest
            // run's sum, not the sum of each filter's fastest.
            for (int figure = 0; figure < kFigureCount && run > 0; ++figure)
                best[static_cast<size_t>(figure)] = std::min(best[static_cast<size_t>(figure)], figures[static_cast<size_t>(figure)]);
        }
        return S_OK;
    });
}

void Print(const Configuration& configuration, const std::array<Figures, std::size(kSizes)>& figures)
{
    std::printf("\nconfiguration %s, ms per frame       640x480   1920x1080\n", configuration.name);
    for (int figure = 0; figure < kFigureCount; ++figure) {
        std::printf("  %-30s", kFigureNames[figure]);
        for (const Figures& atSize : figures)
            std::printf("  %9.3f", atSize[static_cast<size_t>(figure)]);
        std::printf("\n");
    }
    std::printf("  %-30s", "chain target");
    for (const FrameSize& size : kSizes)
        std::printf("  %9.3f", size.targetMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    const BenchmarkSettings settings = ReadBenchmarkSettings(argc, argv, BenchmarkSettings{7, 20});
    const int32_t mode = argc > 3 ? std::atoi(argv[3]) : 4;
    std::printf("chain_bench: processor mode %d, fastest of %d runs of %d frames\n", mode, settings.runs,
                settings.calls);
    ChainBench bench(settings, mode);
    HRESULT result = bench.Build();
    if (FAILED(result)) {
        std::printf("the mixer path cannot be built: 0x%08lX\n", static_cast<unsigned long>(result));
        return 1;
    }
    for (const Configuration& configuration : kConfigurations) {
        std::array<Figures, std::size(kSizes)> figures{};
        result = bench.Apply(configuration);
        for (size_t k = 0; k < std::size(kSizes) && SUCCEEDED(result); ++k)
            result = bench.Time(configuration, kSizes[k], figures[k]);
        if (FAILED(result)) {
            std::printf("configuration %s failed: 0x%08lX\n", configuration.name, static_cast<unsigned long>(result));
            return 1;
        }
        Print(configuration, figures);
    }
    return 0;
}
