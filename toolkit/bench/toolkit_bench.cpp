// The cost of a group frame's picture: a tick with nothing changed, a full rebuild (GDI drawing into
// the planes, the final buffer, the 32-bit conversion) and the repaint of the ready picture.
// The minimum over the runs. Needs a display.
// Usage: toolkit_bench [width x height, 720x416] [runs]
#include "GroupObjectUserInterface2.h"

#include "BenchmarkTiming.h"

#include <cstdio>
#include <vector>

namespace {

constexpr int IdleTicksPerRun = 10000;
constexpr int RebuildsPerRun = 20;
constexpr int RepaintsPerRun = 50;

ElementListUserInterface2 ThreeFrames()
{
    ElementListUserInterface2 elements;
    elements.Init(3, 0);
    const char* captions[3] = {"Source", "Effects", "Output"};
    for (uint32_t i = 0; i < 3; ++i) {
        InfoElementUserInterface2& element = elements.GetElement(i);
        element.m_header_flag = 1;
        element.Field(GroupObjectUserInterface2::FieldSize).SetFloat(i == 2 ? 200.0f : 0.5f);
        element.Field(GroupObjectUserInterface2::FieldCaption).SetText(captions[i]);
    }
    return elements;
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int main(int argc, char** argv)
{
    int width = 720, height = 416;
    if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "usage: toolkit_bench [WIDTHxHEIGHT] [runs]\n");
        return 2;
    }
    BenchmarkSettings settings;
    if (argc > 2)
        settings.runs = std::max(1, std::atoi(argv[2]));

    GroupObjectUserInterface2 group(ThreeFrames(), 3, GroupObjectUserInterface2::LayoutSideBySide, "toolkit_bench",
                                    nullptr);
    group.SetOptimCPUReal(4);
    if (FAILED(group.CreateObject())) {
        std::fprintf(stderr, "the group's window could not be made\n");
        return 1;
    }
    group.SetTextVarForObjectReal(1, "bench");
    group.ControlStatObjectShowReal(1, 1);
    group.MoveObjectReal(0, 0, width, height);
    Pump();
    HWND window = group.GetHWNDReal();

    const auto tick = [&] { group.OnTimerCycle(window, 0, 0, false); };
    const auto rebuild = [&] {
        group.UpdateDataBufferReal(0, nullptr, true);
        tick();
    };
    const auto repaint = [&] {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    };
    rebuild();
    settings.calls = IdleTicksPerRun;
    const double idle = FastestCall(settings, tick);
    settings.calls = RebuildsPerRun;
    const double full = FastestCall(settings, rebuild);
    settings.calls = RepaintsPerRun;
    const double paint = FastestCall(settings, repaint);

    std::printf("group frame %d x %d, 3 frames, SSE2 operations, minimum of %d runs\n", width, height, settings.runs);
    std::printf("  idle tick     %10.3f us\n", idle * 1e6);
    std::printf("  full rebuild  %10.3f us\n", full * 1e6);
    std::printf("  repaint       %10.3f us\n", paint * 1e6);
    return 0;
}
