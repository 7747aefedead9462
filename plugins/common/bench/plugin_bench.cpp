// Times a plug-in filter's TransformFilter on generated frames, as the data path calls it: the
// ".vdd" is loaded through the filter proxy, told the processor mode, and handed the frames of each
// scene at 640x480 and 1920x1080. The figure is the fastest run's time per frame.
// Usage: plugin_bench <plug-in file> [processor mode] [scene] [runs] [cycles per run]
//   processor mode: 1 MMX (the default), 2 SSE, 4 SSE2, 0 the plain kernels (the filter is told 1
//   on a processor made to look as if it had no MMX); scene: a name or "all" (the default).
#include "PluginBenchScene.h"

#include "KestrelDebugFunct.h"
#include "MessageForObjectsDataPath1.h"
#include "StructForInterfaceDataPath1Table.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Settings
{
    const char* plugin = nullptr;
    uint32_t mode = 1;
    std::string scene = "all";
    int runs = 7;
    int cycles = 20;
};

struct FrameSize
{
    int width;
    int height;
};

constexpr FrameSize kSizes[] = {{640, 480}, {1920, 1080}};

bool ParseArguments(int argc, char** argv, Settings& settings)
{
    if (argc < 2)
        return false;
    settings.plugin = argv[1];
    if (argc > 2)
        settings.mode = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 0));
    if (argc > 3)
        settings.scene = argv[3];
    if (argc > 4)
        settings.runs = std::atoi(argv[4]);
    if (argc > 5)
        settings.cycles = std::atoi(argv[5]);
    return settings.runs > 0 && settings.cycles > 0;
}

double Seconds(int64_t ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

// The host deletes the events a transform raised; so does the benchmark, outside the timing.
void DeleteEvents(ListEventsDataPath1& events)
{
    for (uint32_t i = 0; i < events.GetCount(); ++i)
        delete events.GetElement(i).m_event;
    events.SetSize(0);
}

// Sets the mode through the processor-optimisation interface and reads back what the filter took.
void SetProcessorMode(ObjectDataPath1& filter, uint32_t mode)
{
    if (mode == 0) {
        // No processor features: every kernel choice falls back to the plain code.
        const InfoAboutCPUFromCPUID none{};
        SetProcessorFeaturesForTest(&none);
        std::printf("plain kernels: the processor is taken to have no MMX\n");
        mode = 1;
    }
    if (filter.QueryInterfaceFunction(IID_IControlOptimProcessor) != S_OK) {
        std::printf("the filter has no processor-optimisation interface; mode not set\n");
        return;
    }
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetInt(static_cast<int32_t>(mode));
    const HRESULT set = filter.CallInterfaceFunction(IID_IControlOptimProcessor, 1, &params);
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetPointer(nullptr, 0, false);
    const HRESULT get = filter.CallInterfaceFunction(IID_IControlOptimProcessor, 2, &params);
    std::printf("processor mode %u: set 0x%08lX, the filter answers %d (0x%08lX)\n", mode,
                static_cast<unsigned long>(set), params.m_params.GetElement(0).GetInt(),
                static_cast<unsigned long>(get));
}

// Seconds per frame of the fastest run; negative when a transform failed.
double TimeScene(ObjectDataPath1& filter, PluginBenchScene& scene, const Settings& settings)
{
    ListEventsDataPath1 events;
    double best = 1e30;
    for (int run = 0; run <= settings.runs; ++run) {
        int64_t ticks = 0;
        for (int cycle = 0; cycle < settings.cycles; ++cycle)
            for (int k = 0; k < scene.StepCount(); ++k) {
                const PluginBenchInput input = scene.Step(k);
                LARGE_INTEGER start, end;
                QueryPerformanceCounter(&start);
                const HRESULT result = filter.TransformFilter(input.frame, sizeof(InfoDataBufferPath1), nullptr, 0,
                                                              &events, input.inputIndex);
                QueryPerformanceCounter(&end);
                DeleteEvents(events);
                if (FAILED(result)) {
                    std::printf("  transform failed: 0x%08lX\n", static_cast<unsigned long>(result));
                    return -1.0;
                }
                ticks += end.QuadPart - start.QuadPart;
            }
        const int frames = settings.cycles * scene.FramesPerCycle();
        // Run 0 only warms the caches and the filter's buffers.
        const double perFrame = Seconds(ticks) / frames;
        if (run > 0 && perFrame < best)
            best = perFrame;
    }
    return best;
}

int RunScenes(ObjectDataPath1& filter, const Settings& settings)
{
    int failures = 0;
    bool found = false;
    for (const std::unique_ptr<PluginBenchScene>& scene : MakePluginBenchScenes()) {
        if (settings.scene != "all" && settings.scene != scene->Name())
            continue;
        found = true;
        for (const FrameSize& size : kSizes) {
            if (FAILED(scene->Prepare(filter, size.width, size.height))) {
                std::printf("  %-16s %4dx%-4d  cannot prepare the scene\n", scene->Name(), size.width, size.height);
                ++failures;
                continue;
            }
            const double seconds = TimeScene(filter, *scene, settings);
            if (seconds < 0.0)
                ++failures;
            else
                std::printf("  %-16s %4dx%-4d  %9.4f ms per frame\n", scene->Name(), size.width, size.height,
                            seconds * 1e3);
        }
    }
    if (!found) {
        std::printf("no scene named %s\n", settings.scene.c_str());
        return 1;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    Settings settings;
    if (!ParseArguments(argc, argv, settings)) {
        std::printf("usage: plugin_bench <plug-in file> [processor mode] [scene|all] [runs] [cycles per run]\n");
        return 2;
    }
    FillStructForInterfaceDataPath1();
    ObjectDataPath1 filter(GetModuleHandleA(nullptr), settings.plugin);
    if (!filter.IsLoaded()) {
        std::printf("cannot load %s\n", settings.plugin);
        return 1;
    }
    std::printf("%s, fastest of %d runs of %d cycles\n", settings.plugin, settings.runs, settings.cycles);
    SetProcessorMode(filter, settings.mode);
    return RunScenes(filter, settings);
}
