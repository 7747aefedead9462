// The list's scenes of toolkit_bench (command "list"): a 720 x 416 list of 100 rows under a header
// with 16 lines, the generated skins; an idle tick, a new selection (two lines drawn, the final
// buffer converted), a one-row scroll, a full rebuild, and the repaint that follows apart.
#include "ListBenchScenes.h"

#include "ListDefaultSettings.h"

#include "BenchWidgets.h"
#include "BenchmarkTiming.h"

#include <cstdio>

namespace {

constexpr int IdleTicksPerRun = 10000;
constexpr int StepsPerRun = 20;
constexpr int RepaintsPerRun = 50;
constexpr int LabelWidth = 18;

// A list of 100 rows under a header, with the generated skins: a check-box column and two text
// columns, a header of 32 and rows of 24, so that 16 lines fill 416 pixels.
void SetUpList(ListObjectUserInterface2& list)
{
    list.SetOptimCPUReal(4);
    list.CreateObject();
    list.SetTextVarForObjectReal(1, DefaultSkinFolder().c_str());
    ApplyDefaultListProperties(list);
    TypedValueListUserInterface2 values;
    values.Init(2, 0);
    values.GetElement(0).SetFloat(32.0f);
    values.GetElement(1).SetFloat(24.0f);
    IndexListUserInterface2 indexes;
    indexes.Init(2, 0);
    indexes.GetElement(0) = 11;
    indexes.GetElement(1) = 22;
    list.UpdateGeneralInfoForObjectReal(0, &values, &indexes, 2);
    HeaderListUserInterface2 header;
    header.Init(3, 0);
    const float widths[3] = {30.0f, 0.6f, 0.4f};
    const char* titles[3] = {"", "Name", "State"};
    for (uint32_t c = 0; c < 3; ++c) {
        header.GetElement(c).m_enabled = 1;
        header.GetElement(c).m_width = widths[c];
        header.GetElement(c).m_title = titles[c];
    }
    list.UpdateHeaderInfoReal(&header);
    constexpr int32_t Rows = 100;
    RowListUserInterface2 rows;
    rows.Init(Rows, 0);
    for (uint32_t i = 0; i < Rows; ++i) {
        InfoRowListUserInterface2& row = rows.GetElement(i);
        row.m_cells.GetElement(0).m_cell_word = i % 3 == 0 ? CellCheckBox | CellChecked : uint32_t{CellCheckBox};
        row.m_cells.GetElement(1).m_text = "Camera source";
        row.m_cells.GetElement(1).m_text += static_cast<int32_t>(i);
        row.m_cells.GetElement(2).m_text = i % 2 == 0 ? "running" : "stopped";
    }
    list.UpdateElementsListReal(ListObjectUserInterface2::CodeInsert, -1, Rows, &rows);
    list.ControlStatObjectShowReal(1, 1);
    list.MoveObjectReal(0, 0, 720, 416);
    PumpMessages();
}

} // namespace

int RunListScenes(int runs)
{
    BenchmarkSettings settings;
    settings.runs = runs;
    ListObjectUserInterface2 list({}, 0, 0, "toolkit_bench list", nullptr, 1);
    SetUpList(list);
    HWND window = list.GetHWNDReal();
    if (window == nullptr) {
        std::fprintf(stderr, "the list's window could not be made\n");
        return 1;
    }
    const auto tick = [&] { list.OnTimerCycle(window, 0, 0, false); };
    const auto set = [&](uint32_t kind, int32_t value) {
        list.UpdateIndexFromTypeReal(ListObjectUserInterface2::ActionSet | kind, &value);
    };
    // Each call moves between two neighbouring values, so every call changes something.
    int32_t flip = 0;
    const auto select = [&] {
        flip ^= 1;
        set(ListObjectUserInterface2::KindSelected, 20 + flip);
        tick();
    };
    const auto scroll = [&] {
        flip ^= 1;
        set(ListObjectUserInterface2::KindFirstVisible, 10 + flip);
        tick();
    };
    const auto rebuild = [&] {
        list.SetChangedAllBuffers();
        tick();
    };
    const auto repaint = [&] {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    };
    tick();
    settings.calls = IdleTicksPerRun;
    const double idle = FastestCall(settings, tick);
    settings.calls = StepsPerRun;
    const double selection = FastestCall(settings, select);
    set(ListObjectUserInterface2::KindSelected, 18);
    const double oneRow = FastestCall(settings, scroll);
    const double full = FastestCall(settings, rebuild);
    settings.calls = RepaintsPerRun;
    const double paint = FastestCall(settings, repaint);

    std::printf("list 720 x 416, 100 rows, header and 16 lines, SSE2 operations, minimum of %d runs\n",
                settings.runs);
    PrintFigure(LabelWidth, "idle tick", idle, " (target 10 us)");
    PrintFigure(LabelWidth, "selection change", selection, " (target 4000 us)");
    PrintFigure(LabelWidth, "one-row scroll", oneRow, " (target 4000 us)");
    PrintFigure(LabelWidth, "full rebuild", full, " (target 50000 us)");
    PrintFigure(LabelWidth, "repaint", paint);
    return 0;
}

