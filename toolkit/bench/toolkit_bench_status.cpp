// The status strip's and the schedule grid's scenes of toolkit_bench: a 165 x 100 strip of the
// whole-height pipeline with trails (a tick, a text change) and a 720 x 250 grid (a tick with every
// glow faded, a pointer move onto another cell, a full rebuild). Each timed on the manual clock,
// moved by one timer period per tick; the default skins when they lie beside the program. The
// minimum over the runs.
#include "StatusBenchScenes.h"

#include "StatusCameraObjectUserInterface2.h"
#include "StatusObjectUserInterface2.h"

#include "BenchmarkTiming.h"
#include "StatusSkinNames.h"
#include "KestrelDebugFunct.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int TicksPerRun = 200;
constexpr int ChangesPerRun = 50;
constexpr int RebuildsPerRun = 10;

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string SkinFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + "ResourceBMP\\DefaultSchemeKorvane";
}

// A shown widget at the display's top left with the skins as properties 0.., whose ticks only the
// bench runs.
HWND Show(BaseUserInterface& widget, int32_t width, int32_t height, const std::vector<const char*>& skins)
{
    widget.SetOptimCPUReal(4);
    if (FAILED(widget.CreateObject()))
        return nullptr;
    HWND window = widget.GetHWNDReal();
    KillTimer(window, reinterpret_cast<UINT_PTR>(&widget));
    widget.SetTextVarForObjectReal(1, SkinFolder().c_str());
    widget.ControlStatObjectShowReal(1, 1);
    widget.MoveObjectReal(0, 0, width, height);
    TypedValueListUserInterface2 values;
    IndexListUserInterface2 indexes;
    values.Init(static_cast<uint32_t>(skins.size()), 0);
    indexes.Init(static_cast<uint32_t>(skins.size()), 0);
    for (uint32_t i = 0; i < skins.size(); ++i) {
        values.GetElement(i).SetText(skins[i]);
        indexes.GetElement(i) = static_cast<int32_t>(i);
    }
    widget.UpdateGeneralInfoForObjectReal(0, &values, &indexes, static_cast<int32_t>(skins.size()));
    Pump();
    return window;
}

uint64_t g_now = 1000000;

void Advance(uint32_t milliseconds)
{
    g_now += milliseconds;
    SetTestClockMilliseconds(g_now);
}

bool RunStatusScenes(BenchmarkSettings settings)
{
    StatusObjectUserInterface2 status("toolkit_bench status", nullptr,
                                      StatusObjectUserInterface2::PipelineWhole | StatusObjectUserInterface2::ScrollWithTrails, 0);
    HWND window = Show(status, 165, 100, StatusStripSkins());
    if (window == nullptr)
        return false;
    const auto tick = [&] {
        Advance(StatusObjectUserInterface2::TimerPeriod);
        status.OnTimerCycle(window, 0, 0, false);
    };
    TypedValueListUserInterface2 values;
    IndexListUserInterface2 indexes;
    values.Init(1, 0);
    indexes.Init(1, 0);
    indexes.GetElement(0) = StatusObjectUserInterface2::FieldText;
    int textNumber = 0;
    const auto changeText = [&] {
        char line[64];
        std::snprintf(line, sizeof(line), "Frames sent %d\nServer answered OK", ++textNumber);
        values.GetElement(0).SetText(line);
        status.UpdateGeneralInfoForObjectReal(0, &values, &indexes, 1);
        tick();
    };
    tick();
    settings.calls = TicksPerRun;
    const double idle = FastestCall(settings, tick);
    settings.calls = ChangesPerRun;
    const double text = FastestCall(settings, changeText);
    std::printf("status strip 165 x 100, whole height with trails, SSE2 operations, minimum of %d runs\n", settings.runs);
    std::printf("  tick          %10.3f us\n", idle * 1e6);
    std::printf("  text change   %10.3f us\n", text * 1e6);
    return true;
}

bool RunScheduleScenes(BenchmarkSettings settings)
{
    StatusCameraObjectUserInterface2 grid({}, 0, 0, "toolkit_bench schedule", nullptr, 1);
    HWND window = Show(grid, 720, 250, ScheduleGridSkins());
    if (window == nullptr)
        return false;
    const auto tick = [&] {
        Advance(StatusCameraObjectUserInterface2::TimerPeriod);
        grid.OnTimerCycle(window, 0, 0, false);
    };
    // Two cells of one row in turn.
    int move = 0;
    const auto pointerMove = [&] {
        const int32_t x = 96 + (++move % 2 == 0 ? 5 : 6) * 26 + 13;
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, 25 + 3 * 32 + 16));
        tick();
    };
    const auto rebuild = [&] {
        grid.OnSizeWindow(window, 0, 0, 0);
        tick();
    };
    for (int i = 0; i < 10; ++i)
        tick();
    settings.calls = TicksPerRun;
    const double faded = FastestCall(settings, tick);
    settings.calls = ChangesPerRun;
    const double moved = FastestCall(settings, pointerMove);
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    settings.calls = RebuildsPerRun;
    const double full = FastestCall(settings, rebuild);
    std::printf("schedule grid 720 x 250, SSE2 operations, minimum of %d runs\n", settings.runs);
    std::printf("  faded tick    %10.3f us\n", faded * 1e6);
    std::printf("  pointer move  %10.3f us\n", moved * 1e6);
    std::printf("  full rebuild  %10.3f us\n", full * 1e6);
    return true;
}

} // namespace

int RunStatusAndScheduleScenes(int runs)
{
    BenchmarkSettings settings;
    settings.runs = runs;
    SetTestClockMilliseconds(g_now);
    const bool ran = RunStatusScenes(settings) && RunScheduleScenes(settings);
    UseRealClock();
    return ran ? 0 : 1;
}
