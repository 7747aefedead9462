// The histogram (540 x 200, 18 bars) and the graph (540 x 150): a tick with nothing changed, the
// changes a frame or the user brings (one bar, all bars, one appended sample, one drag step) with
// the tick that draws them, and a full rebuild with its tick. The minimum over the runs.
#include "DataWidgetScenes.h"

#include "GistogramObjectUserInterface2.h"
#include "Graph1ObjectUserInterface2.h"

#include "BenchWidgets.h"
#include "BenchmarkTiming.h"

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int IdleTicksPerRun = 10000;
constexpr int ChangesPerRun = 50;
constexpr int RebuildsPerRun = 10;
constexpr int LabelWidth = 23;

// Makes the widget's window, shows it at the top left with colours of its own and stops its timer,
// so only the scene's ticks draw.
bool ShowWidget(BaseUserInterface& widget, int width, int height)
{
    GDIListUserInterface2 colours;
    colours.Init(GDITableSizeUserInterface2, 0);
    for (uint32_t i = 0; i < GDITableSizeUserInterface2; ++i)
        colours.GetElement(i).m_color = RGB(i * 7 % 256, i * 13 % 256, i * 29 % 256);
    widget.UpdateGDIInfoForObjectReal(&colours, nullptr, GDITableSizeUserInterface2);
    if (!ShowBenchWidget(widget, width, height, "bench")) {
        std::fprintf(stderr, "the widget's window could not be made\n");
        return false;
    }
    return true;
}

// Presses the left button at the point; each call of the answer then moves the held pointer between
// there and rise rows higher and ticks.
std::function<void()> PressThenDragSteps(BaseUserInterface& widget, int32_t x, int32_t row, int32_t rise)
{
    HWND window = widget.GetHWNDReal();
    widget.OnMouseMove(window, 0, MAKELPARAM(x, row), 0);
    widget.OnMouseButton(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, row), 0, false);
    return [&widget, window, x, row, rise, dragRow = row]() mutable {
        dragRow = dragRow == row ? row - rise : row;
        widget.OnMouseMove(window, MK_LBUTTON, MAKELPARAM(x, dragRow), 0);
        widget.OnTimerCycle(window, 0, 0, false);
    };
}

// Every picture of the widget rebuilt and drawn by a tick.
void RebuildAndTick(BaseUserInterface& widget)
{
    widget.RebuildObject();
    widget.OnTimerCycle(widget.GetHWNDReal(), 0, 0, false);
}

} // namespace

int RunHistogramScene(int runs)
{
    constexpr int Width = 540, Height = 200;
    GistogramObjectUserInterface2 histogram({}, 0, 0, "toolkit_bench histogram", nullptr, 1);
    if (!ShowWidget(histogram, Width, Height))
        return 1;
    HWND window = histogram.GetHWNDReal();
    const auto tick = [&] { histogram.OnTimerCycle(window, 0, 0, false); };
    // Array 0 alternates between two histograms that differ in one bar or in all of them.
    DynamicBoundsObject<float> values;
    values.Init(256, 0);
    bool flip = false;
    const auto setBars = [&](uint32_t first, uint32_t last) {
        flip = !flip;
        for (uint32_t i = 0; i < 256; ++i)
            values.GetElement(i) = i >= first && i < last && flip ? 0.07f : 0.03f;
        histogram.UpdateDataReal(GistogramObjectUserInterface2::DataSet | GistogramObjectUserInterface2::DataArray0,
                                 &values, 1);
        tick();
    };
    // A press on bar 5's marker (the curve at 0 lies on the bottom margin's edge), then drag steps.
    const auto drag = PressThenDragSteps(histogram, 5 * 30 + 15, Height - 10, 40);
    const auto rebuild = [&] { RebuildAndTick(histogram); };
    rebuild();
    BenchmarkSettings settings;
    settings.runs = runs;
    settings.calls = IdleTicksPerRun;
    const double idle = FastestCall(settings, tick);
    settings.calls = ChangesPerRun;
    const double oneBar = FastestCall(settings, [&] { setBars(0, 14); });
    const double allBars = FastestCall(settings, [&] { setBars(0, 256); });
    const double dragStep = FastestCall(settings, drag);
    settings.calls = RebuildsPerRun;
    const double full = FastestCall(settings, rebuild);
    std::printf("histogram %d x %d, 18 bars, SSE2 operations, minimum of %d runs\n", Width, Height, runs);
    PrintFigure(LabelWidth, "idle tick", idle);
    PrintFigure(LabelWidth, "one bar", oneBar);
    PrintFigure(LabelWidth, "all bars", allBars);
    PrintFigure(LabelWidth, "one drag step", dragStep);
    PrintFigure(LabelWidth, "full rebuild", full);
    return 0;
}

int RunGraphScene(int runs)
{
    constexpr int Width = 540, Height = 150;
    Graph1ObjectUserInterface2 graph({}, 0, 0, "toolkit_bench graph", nullptr, 1);
    if (!ShowWidget(graph, Width, Height))
        return 1;
    HWND window = graph.GetHWNDReal();
    const auto tick = [&] { graph.OnTimerCycle(window, 0, 0, false); };
    // A full chart of samples in all three layers, each a little higher than the one before.
    GraphPointListUserInterface2 samples;
    samples.Init(Width, 0);
    for (uint32_t i = 0; i < Width; ++i)
        for (uint32_t layer = 0; layer < 3; ++layer)
            for (auto& bar : samples.GetElement(i).m_bars[layer]) {
                bar.m_first = static_cast<float>((i * 7 + layer * 50) % 100) / 100.0f;
                bar.m_second = bar.m_first * 0.5f;
            }
    graph.UpdatePointsLayersReal(Graph1ObjectUserInterface2::PointsReplace, &samples, Width);
    uint32_t next = 0;
    const auto append = [&] {
        graph.UpdatePointsLayersReal(Graph1ObjectUserInterface2::PointsAppend, &samples, 1);
        samples.GetElement(0) = samples.GetElement(++next % Width);
        tick();
    };
    // A press on layer 0's lower bound (0.5, at row 75), then drag steps.
    const auto drag = PressThenDragSteps(graph, 30, 8 + (Height - 16) / 2, 20);
    const auto rebuild = [&] { RebuildAndTick(graph); };
    rebuild();
    BenchmarkSettings settings;
    settings.runs = runs;
    settings.calls = IdleTicksPerRun;
    const double idle = FastestCall(settings, tick);
    settings.calls = ChangesPerRun;
    const double sample = FastestCall(settings, append);
    const double dragStep = FastestCall(settings, drag);
    settings.calls = RebuildsPerRun;
    const double full = FastestCall(settings, rebuild);
    std::printf("graph %d x %d, 3 layers of %d samples, SSE2 operations, minimum of %d runs\n", Width, Height, Width,
                runs);
    PrintFigure(LabelWidth, "idle tick", idle);
    PrintFigure(LabelWidth, "one appended sample", sample);
    PrintFigure(LabelWidth, "one drag step", dragStep);
    PrintFigure(LabelWidth, "full rebuild", full);
    return 0;
}
