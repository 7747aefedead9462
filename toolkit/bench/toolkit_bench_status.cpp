// The status strip's and the schedule grid's scenes of toolkit_bench: a 165 x 100 strip of the
// whole-height pipeline with trails (a tick, a text change) and a 720 x 250 grid (a tick with every
// glow faded, a pointer move onto another cell, a full rebuild). Each timed on the manual clock,
// moved by one timer period per tick; the default skins when they lie beside the program. The
// minimum over the runs.
#include "StatusBenchScenes.h"

#include "StatusCameraObjectUserInterface2.h"
#include "StatusObjectUserInterface2.h"

#include "BenchWidgets.h"
#include "BenchmarkTiming.h"
#include "DefaultSkinFolder.h"
#include "StatusSkinNames.h"
#include "KestrelDebugFunct.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int TicksPerRun = 200;
constexpr int ChangesPerRun = 50;
constexpr int RebuildsPerRun = 10;
constexpr int LabelWidth = 14;

// The widget shown with the default skins, or null when its window cannot be made.
HWND Show(BaseUserInterface& widget, int32_t width, int32_t height, const std::vector<const char*>& skins)
{
    return ShowBenchWidget(widget, width, height, DefaultSkinFolder().c_str(), skins) ? widget.GetHWNDReal() : nullptr;
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
    PrintFigure(LabelWidth, "tick", idle);
    PrintFigure(LabelWidth, "text change", text);
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
    PrintFigure(LabelWidth, "faded tick", faded);
    PrintFigure(LabelWidth, "pointer move", moved);
    PrintFigure(LabelWidth, "full rebuild", full);
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
