// Page "graph": the detection graph of the source page as the application sets it up (its skin,
// layers 0 and 1 shown, the zoom curve), with a generated history and the four detection bounds.
#include "DemoPages.h"

#include "Graph1ObjectUserInterface2.h"

#include <cmath>
#include <initializer_list>

namespace {

template <class T>
DynamicBoundsObject<T> MakeGraphList(std::initializer_list<T> entries)
{
    DynamicBoundsObject<T> list;
    list.Init(static_cast<uint32_t>(entries.size()), 0);
    uint32_t i = 0;
    for (const T& entry : entries)
        list.GetElement(i++) = entry;
    return list;
}

constexpr uint32_t GraphId = 2041;
constexpr int32_t HistoryLength = 680;

// An average level drifting slowly and a detection value with bursts.
GraphPointListUserInterface2 GeneratedHistory()
{
    GraphPointListUserInterface2 history;
    history.Init(HistoryLength, 0);
    for (int32_t i = 0; i < HistoryLength; ++i) {
        InfoPointGraphObjectUserInterface2& point = history.GetElement(static_cast<uint32_t>(i));
        const float t = static_cast<float>(i);
        const float level = 0.45f + 0.2f * std::sin(t / 60.0f);
        const float detection = (i / 90) % 2 == 1 ? 0.5f + 0.3f * std::fabs(std::sin(t / 7.0f)) : 0.08f;
        for (auto& bar : point.m_bars[0]) {
            bar.m_first = level;
            bar.m_second = level;
        }
        for (auto& bar : point.m_bars[1]) {
            bar.m_first = detection;
            bar.m_second = 0.0f;
        }
    }
    return history;
}

} // namespace

void DescribeGraphPage(InfoPageUserInterface2& description)
{
    description.SetSizeTable(1, 1);
    description.m_columns.GetElement(0).m_size = 1.0f;
    description.m_rows.GetElement(0).m_size = 1.0f;
    DescribeCell(description, 0, 0, ChildKindGraph, GraphId, "Detection").m_extra_parameter = GraphId;
}

void ConfigureGraphPage(PageObjectUserInterface2& page)
{
    SendProperties(page, GraphId, ChildKindGraph, {"DetectorGraphBackgroundStencil.bmp"});
    BaseUserInterface* widget = nullptr;
    page.GetChildObjectUserInterfaceReal(GraphId, &widget, ChildKindGraph);
    auto* graph = dynamic_cast<Graph1ObjectUserInterface2*>(widget);
    if (graph != nullptr) {
        const GraphByteListUserInterface2 visible = MakeGraphList<uint8_t>({1, 1, 0});
        const IndexListUserInterface2 layers = MakeGraphList<int32_t>({0, 1, 2});
        graph->UpdateVisibleLayersReal(&visible, &layers, 3);
        const GraphFloatListUserInterface2 from = MakeGraphList<float>({0.04f, 0.15f, 0.3f});
        const GraphFloatListUserInterface2 to = MakeGraphList<float>({0.3f, 0.5f, 0.8f});
        graph->UpdateKoeffForZoomReal(&from, &to);
        const GraphPointListUserInterface2 history = GeneratedHistory();
        graph->UpdatePointsLayersReal(Graph1ObjectUserInterface2::PointsReplace, &history, HistoryLength);
        GraphFloatListUserInterface2 bounds = MakeGraphList<float>({0.3f, 0.65f, 0.1f, 0.4f});
        const IndexListUserInterface2 indices = MakeGraphList<int32_t>({0, 1, 2, 3});
        graph->UpdateKoeffForGraphReal(&bounds, &indices, 4, 0);
    }
    if (widget != nullptr)
        page.FreeChildObjectUserInterfaceReal(widget, ChildKindGraph);
}
