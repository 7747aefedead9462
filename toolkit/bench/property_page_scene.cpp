// The representative page: a property page with its three lists of 40 rows and their group frames,
// shown at the top left of the display. Timed: a tick of every widget with nothing changed (per
// widget), the repaint of the whole page from the ready pictures, a selection change in one list
// (its lines rebuilt, finalized and converted, the page told) beside the repaint of that list that
// follows, UpdatePage itself (windows destroyed and made, laid out, lists filled) and the full
// rebuild of every picture after it. The minimum over the runs.
#include "ToolkitBenchScenes.h"

#include "ObjectControlPropertyUserInterface2.h"

#include "BenchWidgets.h"
#include "BenchmarkTiming.h"
#include "DefaultSkinFolder.h"

#include <cstdio>
#include <functional>
#include <utility>
#include <string>
#include <vector>

namespace {

constexpr int RowsPerList = 40;
constexpr int IdleTicksPerRun = 2000;
constexpr int RepaintsPerRun = 20;
constexpr int SelectionsPerRun = 20;
constexpr int RebuildsPerRun = 3;
constexpr int LabelWidth = 24;
constexpr uint32_t ListIds[] = {ObjectForControlPropertyUserInterface2::SkinListId,
                                ObjectForControlPropertyUserInterface2::ElementListId,
                                ObjectForControlPropertyUserInterface2::PropertyListId};

class RepresentativePage
{
public:
    RepresentativePage(int width, int height) : m_page(nullptr)
    {
        m_page.SetOptimCPUReal(4);
        m_page.CreateObject();
        m_page.SetWindowReal(1, nullptr);
        m_page.SetTextVarForObjectReal(1, DefaultSkinFolder().c_str());
        m_page.ControlStatObjectShowReal(BaseUserInterface::StateShown, 1);
        m_page.MoveObjectReal(0, 0, width, height);
        SetWindowPos(m_page.GetHWNDReal(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    // UpdatePage and 40 rows in every list.
    void UpdatePage()
    {
        m_page.UpdatePageReal(nullptr);
        FindWidgets();
        for (ListObjectUserInterface2* list : m_lists)
            FillRows(*list);
    }

    // Every widget's first picture after UpdatePage, on the screen.
    void BuildPictures()
    {
        TickAll();
        PumpMessages();
        RepaintAll();
    }

    void TickAll()
    {
        for (BaseUserInterface* widget : m_widgets)
            widget->OnTimerCycle(widget->GetHWNDReal(), 0, 0, false);
    }

    // As after the page was uncovered: every child paints its ready picture.
    void RepaintAll()
    {
        RedrawWindow(m_page.GetHWNDReal(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }

    // Moves the selection of the property list between two rows; the page hears of it.
    void ChangeSelection()
    {
        ListObjectUserInterface2& list = *m_lists.back();
        m_selected = m_selected == 3 ? 4 : 3;
        int32_t row = m_selected;
        constexpr uint32_t SetSelected = ListObjectUserInterface2::ActionSet | ListObjectUserInterface2::KindSelected;
        list.UpdateIndexFromTypeReal(SetSelected, &row);
        list.OnTimerCycle(list.GetHWNDReal(), 0, 0, false);
        PumpMessages();
        ValidateRect(list.GetHWNDReal(), nullptr);
    }

    void RepaintList()
    {
        HWND window = m_lists.back()->GetHWNDReal();
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
    }

    size_t WidgetCount() const { return m_widgets.size(); }

private:
    void FindWidgets()
    {
        m_widgets = {&m_page};
        m_lists.clear();
        for (uint32_t id : ListIds) {
            BaseUserInterface* list = nullptr;
            BaseUserInterface* frame = nullptr;
            m_page.GetChildObjectUserInterfaceReal(id, &list, ChildKindList);
            m_page.GetChildObjectUserInterfaceReal(id, &frame, ChildKindGroupFrame);
            m_page.FreeChildObjectUserInterfaceReal(list, ChildKindList);
            m_page.FreeChildObjectUserInterfaceReal(frame, ChildKindGroupFrame);
            m_lists.push_back(dynamic_cast<ListObjectUserInterface2*>(list));
            m_widgets.push_back(list);
            m_widgets.push_back(frame);
        }
    }

    static void FillRows(ListObjectUserInterface2& list)
    {
        RowListUserInterface2 rows;
        rows.Init(RowsPerList, 0);
        for (int i = 0; i < RowsPerList; ++i) {
            const std::string text = "row " + std::to_string(i);
            rows.GetElement(static_cast<uint32_t>(i)).m_cells.GetElement(0).m_text = text.c_str();
        }
        list.UpdateElementsListReal(ListObjectUserInterface2::CodeDelete, 0, -1, nullptr);
        list.UpdateElementsListReal(ListObjectUserInterface2::CodeInsert, -1, RowsPerList, &rows);
    }

    ObjectForControlPropertyUserInterface2 m_page;
    std::vector<BaseUserInterface*> m_widgets;
    std::vector<ListObjectUserInterface2*> m_lists;
    int32_t m_selected = 0;
};

// The fastest of each of two steps that run one after the other, in seconds.
std::pair<double, double> FastestOfTwoSteps(const BenchmarkSettings& settings, const std::function<void()>& first,
                                            const std::function<void()>& second)
{
    std::pair<double, double> best{1e30, 1e30};
    for (int call = 0; call < settings.runs * settings.calls; ++call) {
        LARGE_INTEGER start, middle, end;
        QueryPerformanceCounter(&start);
        first();
        QueryPerformanceCounter(&middle);
        second();
        QueryPerformanceCounter(&end);
        best.first = std::min(best.first, SecondsBetween(start, middle));
        best.second = std::min(best.second, SecondsBetween(middle, end));
    }
    return best;
}

} // namespace

int RunPropertyPageScene(int width, int height, int runs)
{
    RepresentativePage page(width, height);
    page.UpdatePage();
    page.BuildPictures();
    BenchmarkSettings settings;
    settings.runs = runs;

    settings.calls = IdleTicksPerRun;
    const double idle = FastestCall(settings, [&] { page.TickAll(); }) / static_cast<double>(page.WidgetCount());
    settings.calls = RepaintsPerRun;
    const double repaint = FastestCall(settings, [&] { page.RepaintAll(); });
    settings.calls = SelectionsPerRun;
    const double selection = FastestCall(settings, [&] { page.ChangeSelection(); });
    const double listRepaint = FastestCall(settings, [&] { page.RepaintList(); });
    settings.calls = RebuildsPerRun;
    const auto [update, rebuild] =
        FastestOfTwoSteps(settings, [&] { page.UpdatePage(); }, [&] { page.BuildPictures(); });

    std::printf("property page %d x %d, 3 framed lists of %d rows, %zu widgets, SSE2 operations, minimum of %d runs\n",
                width, height, RowsPerList, page.WidgetCount(), runs);
    PrintFigure(LabelWidth, "idle tick per widget", idle);
    PrintFigure(LabelWidth, "repaint of the page", repaint);
    PrintFigure(LabelWidth, "selection change", selection);
    PrintFigure(LabelWidth, "repaint of that list", listRepaint);
    PrintFigure(LabelWidth, "UpdatePage", update);
    PrintFigure(LabelWidth, "full rebuild after it", rebuild);
    return 0;
}
