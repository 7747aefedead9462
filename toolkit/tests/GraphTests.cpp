// The graph widget: names, samples and scrolling, bounds, visibility and transparency, the zoom
// curve, hit zones and dragging with its reports, and the chart's columns in the picture.
#include "Graph1ObjectUserInterface2.h"
#include "TickedWidgetTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t ControlId = 2041;
constexpr int32_t Left = 40;
constexpr int32_t Top = 300;

class TestGraph : public Graph1ObjectUserInterface2
{
public:
    TestGraph() : Graph1ObjectUserInterface2({}, 0, 0, "graph under test", nullptr, ControlId) {}

    using Graph1ObjectUserInterface2::HitBound;
    using Graph1ObjectUserInterface2::InverseZoom;
    using Graph1ObjectUserInterface2::ScreenToChart;
    using Graph1ObjectUserInterface2::Zoom;
    using Graph1ObjectUserInterface2::m_bounds;
    using Graph1ObjectUserInterface2::m_columnCount;
    using Graph1ObjectUserInterface2::m_columns;
    using Graph1ObjectUserInterface2::m_dragBound;
    using Graph1ObjectUserInterface2::m_firstDirtyColumn;
    using Graph1ObjectUserInterface2::m_graph_messages;
    using Graph1ObjectUserInterface2::m_hoverBound;
    using Graph1ObjectUserInterface2::m_layerTransparency;
    using Graph1ObjectUserInterface2::m_layerVisible;
    using Graph1ObjectUserInterface2::m_pendingScroll;
    using Graph1ObjectUserInterface2::m_zoomFrom;
    using BaseUserInterface::m_array_general_buffers;
    using BaseUserInterface::m_timer_id;
    using BaseUserInterface::m_window;
};

// A sample whose layer 0 spans lo..hi in both bars; the other layers lie at 0.
InfoPointGraphObjectUserInterface2 Sample(float lo, float hi)
{
    InfoPointGraphObjectUserInterface2 sample;
    for (auto& layer : sample.m_bars)
        for (auto& bar : layer)
            bar.m_first = 0.0f;
    for (auto& bar : sample.m_bars[0]) {
        bar.m_first = hi;
        bar.m_second = lo;
        for (uint8_t& intensity : bar.m_intensity)
            intensity = 100;
    }
    return sample;
}

GraphPointListUserInterface2 Samples(int count, float lo, float hi)
{
    return MakeList(std::vector<InfoPointGraphObjectUserInterface2>(static_cast<size_t>(count), Sample(lo, hi)));
}

GraphFloatListUserInterface2 Floats(const std::vector<float>& values)
{
    return MakeList(values);
}

uint32_t Rgb(const InfoGeneralBufferForUserInterface2& buffer, int32_t x, int32_t y)
{
    const int32_t index = y * buffer.m_byte_stride / 2 + x;
    return static_cast<uint32_t>(buffer.m_rgb_buffers.GetElement(0)[index]) << 16 |
           static_cast<uint32_t>(buffer.m_rgb_buffers.GetElement(1)[index]) << 8 |
           static_cast<uint32_t>(buffer.m_rgb_buffers.GetElement(2)[index]);
}

} // namespace

class GraphTest : public TickedWidgetTest<TestGraph>
{
protected:
    void SetUp() override { Make(100, 150); }

    void Make(int32_t width, int32_t height)
    {
        GDIListUserInterface2 colours;
        colours.Init(GDITableSizeUserInterface2, 0);
        colours.GetElement(32).m_color = RGB(0, 0, 70);
        Show(colours, "graph", {Left, Top, Left + width, Top + height});
    }

    HRESULT SetBounds(const std::vector<float>& values, const std::vector<int32_t>& indices)
    {
        GraphFloatListUserInterface2 bounds = Floats(values);
        const IndexListUserInterface2 list = MakeIndexList(indices);
        return m_widget->UpdateKoeffForGraphReal(&bounds, &list, static_cast<int32_t>(values.size()), 0);
    }

    // The row of a value on a chart of 150 rows with margins of 8.
    static int32_t Row(float display) { return 8 + static_cast<int32_t>((1.0f - display) * 134.0f); }

    int Reports()
    {
        int count = 0;
        for (const MessageRecorder::Message& message : m_recorder.Received()) {
            if (message.m_message != WM_COMMAND)
                continue;
            EXPECT_EQ(message.m_wparam, ControlId);
            EXPECT_EQ(message.m_lparam, 0);
            ++count;
        }
        m_recorder.Clear();
        return count;
    }

    void ReadChart(InfoGeneralBufferForUserInterface2& chart) { EXPECT_EQ(m_widget->GetBufferFromIndex(17, &chart), S_OK); }

};

TEST_F(GraphTest, WindowClassAndMessageNames)
{
    char name[128] = {};
    GetClassNameA(Window(), name, sizeof(name));
    EXPECT_STREQ(name, "OJV::UserInterface2::Graph1ObjectUserInterface2::24.10.2006");
    const char* names[] = {
        "GMU_UpdateTransparentKoeffLayers_Graph1ObjectUserInterface2,D.U.R.M.I.X.,11.08.2005::04.33.00",
        "GMU_UpdateVisibleLayers_Graph1ObjectUserInterface2,         D.U.R.M.I.X.,11.08.2005::04.33.01",
        "GMU_UpdatePointsLayers_Graph1ObjectUserInterface2,          D.U.R.M.I.X.,11.08.2005::04.33.02",
        "GMU_UpdateKoeffForGraph_Graph1ObjectUserInterface2,         D.U.R.M.I.X.,16.08.2005::23.07.02",
        "GMU_UpdateKoeffForZoom_Graph1ObjectUserInterface2,          D.U.R.M.I.X.,18.03.2007::05.00.00",
    };
    for (uint32_t i = 0; i < 5; ++i)
        EXPECT_EQ(m_widget->m_graph_messages.GetMessageFromIndex(i), RegisterWindowMessageA(names[i])) << i;
}

TEST_F(GraphTest, AppendedSamplesScrollTheOlderOnesOut)
{
    GraphPointListUserInterface2 old = Samples(95, 0.1f, 0.2f);
    ASSERT_EQ(m_widget->UpdatePointsLayersReal(Graph1ObjectUserInterface2::PointsReplace, &old, 95), S_OK);
    Tick();
    GraphPointListUserInterface2 fresh = Samples(10, 0.6f, 0.7f);
    HRESULT answer = E_FAIL;
    RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdatePointsLayers(2, &fresh, 10); });
    EXPECT_EQ(answer, S_OK);
    EXPECT_EQ(m_widget->m_columnCount, 100);
    EXPECT_EQ(m_widget->m_pendingScroll, 5);
    EXPECT_EQ(m_widget->m_firstDirtyColumn, 90);
    EXPECT_EQ(m_widget->m_columns.GetElement(89).m_bars[0][0].m_first, 0.2f);
    for (uint32_t column = 90; column < 100; ++column)
        EXPECT_EQ(m_widget->m_columns.GetElement(column).m_bars[0][0].m_first, 0.7f) << column;
    // The picture moves left with the columns: column 89 keeps the old band, 90 shows the new one
    // (column 90's traces join it to column 89's values).
    Tick();
    InfoGeneralBufferForUserInterface2 chart;
    ReadChart(chart);
    const uint32_t background = 0x000046;
    EXPECT_NE(Rgb(chart, 89, Row(0.15f)), background);
    EXPECT_EQ(Rgb(chart, 89, Row(0.65f)), background);
    EXPECT_NE(Rgb(chart, 90, Row(0.65f)), background);
    EXPECT_EQ(Rgb(chart, 91, Row(0.15f)), background);
    EXPECT_EQ(m_widget->m_pendingScroll, 0);
}

TEST_F(GraphTest, SamplesAreClampedAndCountedAgainstTheWidthAndTheList)
{
    GraphPointListUserInterface2 many = Samples(150, 0.0f, 0.5f);
    many.GetElement(0).m_bars[1][0].m_first = 1.7f;
    many.GetElement(0).m_bars[1][0].m_second = -0.2f;
    many.GetElement(99).m_bars[2][1].m_first = 0.33f;
    ASSERT_EQ(m_widget->UpdatePointsLayersReal(1, &many, 150), S_OK);
    EXPECT_EQ(m_widget->m_columnCount, 100);
    EXPECT_EQ(m_widget->m_columns.GetElement(0).m_bars[1][0].m_first, 1.0f);
    EXPECT_EQ(m_widget->m_columns.GetElement(0).m_bars[1][0].m_second, 0.0f);
    EXPECT_EQ(m_widget->m_columns.GetElement(99).m_bars[2][1].m_first, 0.33f);
    EXPECT_EQ(m_widget->UpdatePointsLayersReal(1, nullptr, 3), E_INVALIDARG);
    EXPECT_EQ(m_widget->UpdatePointsLayersReal(1, &many, -1), E_UNEXPECTED);
    // A number above the list's count takes the list's samples only.
    GraphPointListUserInterface2 few = Samples(10, 0.2f, 0.3f);
    ASSERT_EQ(m_widget->UpdatePointsLayersReal(1, &few, 50), S_OK);
    EXPECT_EQ(m_widget->m_columnCount, 10);
    ASSERT_EQ(m_widget->UpdatePointsLayersReal(2, &few, 1000), S_OK);
    EXPECT_EQ(m_widget->m_columnCount, 20);
}

TEST_F(GraphTest, BoundsAreSetAndReadByIndex)
{
    GraphFloatListUserInterface2 read = Floats({0.0f, 0.0f});
    const IndexListUserInterface2 indices = MakeIndexList({1, 4});
    EXPECT_EQ(m_widget->UpdateKoeffForGraphReal(&read, &indices, 0, 0), E_UNEXPECTED);
    EXPECT_EQ(SetBounds({0.1f, 0.9f}, {1, 4}), S_OK);
    HRESULT answer = E_FAIL;
    RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdateKoeffForGraph(&read, &indices, 2, 1); });
    EXPECT_EQ(answer, S_OK);
    EXPECT_EQ(read.GetElement(0), 0.1f);
    EXPECT_EQ(read.GetElement(1), 0.9f);
    // Index 6 is past the six bounds: the entries before it stay set.
    EXPECT_EQ(SetBounds({0.3f, 0.7f}, {0, 6}), E_FAIL);
    EXPECT_EQ(m_widget->m_bounds.GetElement(0), 0.3f);
}

TEST_F(GraphTest, VisibilityAndTransparencyGoToTheIndexedLayers)
{
    const GraphByteListUserInterface2 visible = MakeList<uint8_t>({0, 1});
    const IndexListUserInterface2 indices = MakeIndexList({2, 0});
    HRESULT answer = E_FAIL;
    RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdateVisibleLayers(&visible, &indices, 2); });
    EXPECT_EQ(answer, S_OK);
    EXPECT_EQ(m_widget->m_layerVisible.GetElement(2), 0);
    EXPECT_EQ(m_widget->m_layerVisible.GetElement(0), 1);
    EXPECT_EQ(m_widget->m_layerVisible.GetElement(1), 1);
    GraphFloatListUserInterface2 factors = Floats({0.9f});
    const IndexListUserInterface2 layer1 = MakeIndexList({1});
    EXPECT_EQ(m_widget->UpdateTransparentKoeffLayersReal(&factors, &layer1, 1), S_OK);
    EXPECT_EQ(m_widget->m_layerTransparency.GetElement(1), 0.9f);
    EXPECT_EQ(m_widget->UpdateVisibleLayersReal(&visible, &indices, 0), E_UNEXPECTED);
    EXPECT_EQ(m_widget->UpdateTransparentKoeffLayersReal(&factors, &layer1, 0), E_UNEXPECTED);
}

TEST_F(GraphTest, ZoomCurve)
{
    EXPECT_FLOAT_EQ(m_widget->Zoom(0.25f), 0.25f);
    const auto setCurve = [&](const std::vector<float>& from, const std::vector<float>& to) {
        const GraphFloatListUserInterface2 a = Floats(from), b = Floats(to);
        HRESULT answer = E_FAIL;
        RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdateKoeffForZoom(&a, &b); });
        return answer;
    };
    ASSERT_EQ(setCurve({0.5f}, {0.8f}), S_OK);
    EXPECT_FLOAT_EQ(m_widget->Zoom(0.25f), 0.4f);
    EXPECT_FLOAT_EQ(m_widget->Zoom(0.75f), 0.9f);
    EXPECT_FLOAT_EQ(m_widget->InverseZoom(0.4f), 0.25f);
    // Points of equal abscissas, or a first point at 0, give the upper point's height, not NaN.
    ASSERT_EQ(setCurve({0.0f, 0.3f, 0.3f}, {0.2f, 0.5f, 0.6f}), S_OK);
    EXPECT_FLOAT_EQ(m_widget->Zoom(0.0f), 0.2f);
    EXPECT_FLOAT_EQ(m_widget->Zoom(0.3f), 0.5f);
    EXPECT_FALSE(std::isnan(m_widget->Zoom(0.3f)));
    ASSERT_EQ(setCurve({0.5f, 0.5f}, {0.6f, 0.6f}), S_OK);
    EXPECT_FLOAT_EQ(m_widget->InverseZoom(0.6f), 0.5f);
    // Lists of different counts are refused and the curve kept.
    EXPECT_EQ(setCurve({0.1f, 0.2f}, {0.5f}), E_INVALIDARG);
    EXPECT_EQ(m_widget->m_zoomFrom.GetCount(), 2u);
    ASSERT_EQ(setCurve({}, {}), S_OK);
    EXPECT_FLOAT_EQ(m_widget->Zoom(0.25f), 0.25f);
}

TEST_F(GraphTest, HitZonesAndScreenFractions)
{
    float x = 0.0f, y = 0.0f;
    ASSERT_EQ(m_widget->ScreenToChart(50, Row(0.75f), &x, &y), S_OK);
    EXPECT_FLOAT_EQ(x, 0.5f);
    EXPECT_NEAR(y, 0.75f, 0.01f);
    ASSERT_EQ(SetBounds({0.2f, 0.3f, 0.5f, 0.6f, 0.7f, 0.8f}, {0, 1, 2, 3, 4, 5}), S_OK);
    const float tolerance = 6.0f / 150.0f;
    const struct
    {
        float x;
        float y;
        int32_t bound;
    } cases[] = {
        {0.19f, 0.2f, -1}, {0.2f, 0.2f, 0},           {0.5f, 0.2f + tolerance * 0.9f, 0}, {0.5f, 0.25f, -1},
        {0.3f, 0.5f, -1},  {0.4f, 0.5f, 2},           {0.59f, 0.8f, -1},                  {0.6f, 0.8f, 5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_widget->HitBound(c.x, c.y), c.bound) << c.x << ", " << c.y;
    // A hidden layer and dragging switched off hit nothing.
    const GraphByteListUserInterface2 hidden = MakeList<uint8_t>({0});
    const IndexListUserInterface2 layer2 = MakeIndexList({2});
    ASSERT_EQ(m_widget->UpdateVisibleLayersReal(&hidden, &layer2, 1), S_OK);
    EXPECT_EQ(m_widget->HitBound(0.6f, 0.8f), -1);
    HRESULT answer = E_FAIL;
    RunOnOtherThreadWhilePumping([&] { answer = m_widget->ControlStatObjectShow(3, 0); });
    EXPECT_EQ(answer, S_OK);
    EXPECT_EQ(m_widget->HitBound(0.2f, 0.2f), -1);
    EXPECT_NE(m_widget->m_array_general_buffers.GetElement(19).IsChanged(), 0u);
    m_widget->ControlStatObjectShowReal(3, 1);
    EXPECT_EQ(m_widget->HitBound(0.2f, 0.2f), 0);
    // No chart height between the margins: nothing to map, nothing hit.
    m_widget->MoveObjectReal(Left, Top, 100, 16);
    PumpPending();
    EXPECT_EQ(m_widget->ScreenToChart(50, 8, &x, &y), E_UNEXPECTED);
    Post(WM_MOUSEMOVE, 30, 8);
    Post(WM_LBUTTONDOWN, 30, 8, MK_LBUTTON);
    EXPECT_EQ(m_widget->m_dragBound, -1);
}

TEST_F(GraphTest, DraggingABoundReportsEachStepAndKeepsTheOrder)
{
    ASSERT_EQ(SetBounds({0.25f, 0.5f}, {0, 1}), S_OK);
    Post(WM_MOUSEMOVE, 30, Row(0.25f));
    EXPECT_EQ(m_widget->m_hoverBound, 0);
    Post(WM_LBUTTONDOWN, 30, Row(0.25f), MK_LBUTTON);
    EXPECT_EQ(m_widget->m_dragBound, 0);
    Post(WM_MOUSEMOVE, 30, Row(0.4f), MK_LBUTTON);
    EXPECT_NEAR(m_widget->m_bounds.GetElement(0), 0.4f, 0.01f);
    EXPECT_EQ(m_widget->m_bounds.GetElement(1), 0.5f);
    // The lower bound pushed above the upper takes it along.
    Post(WM_MOUSEMOVE, 30, Row(0.8f), MK_LBUTTON);
    EXPECT_NEAR(m_widget->m_bounds.GetElement(0), 0.8f, 0.01f);
    EXPECT_EQ(m_widget->m_bounds.GetElement(1), m_widget->m_bounds.GetElement(0));
    EXPECT_EQ(Reports(), 2);
    Post(WM_LBUTTONUP, 30, Row(0.8f));
    EXPECT_EQ(m_widget->m_dragBound, -1);
    Post(WM_MOUSEMOVE, 31, Row(0.5f));
    EXPECT_EQ(Reports(), 0);
    // The upper bound dragged below the lower one stays equal to it.
    ASSERT_EQ(SetBounds({0.3f, 0.6f}, {0, 1}), S_OK);
    Post(WM_MOUSEMOVE, 30, Row(0.6f));
    Post(WM_LBUTTONDOWN, 30, Row(0.6f), MK_LBUTTON);
    ASSERT_EQ(m_widget->m_dragBound, 1);
    Post(WM_MOUSEMOVE, 30, Row(0.1f), MK_LBUTTON);
    EXPECT_EQ(m_widget->m_bounds.GetElement(1), m_widget->m_bounds.GetElement(0));
    EXPECT_EQ(m_widget->m_bounds.GetElement(0), 0.3f);
    EXPECT_EQ(Reports(), 1);
}

// A bound of 0.25 is drawn at three quarters of the chart's height, and a new colour table refills
// the background with every column drawn again.
TEST_F(GraphTest, BoundsAndColumnsInThePicture)
{
    GraphPointListUserInterface2 samples = Samples(100, 0.45f, 0.55f);
    ASSERT_EQ(m_widget->UpdatePointsLayersReal(1, &samples, 100), S_OK);
    ASSERT_EQ(SetBounds({0.25f}, {0}), S_OK);
    Tick();
    InfoGeneralBufferForUserInterface2 chart;
    ReadChart(chart);
    const uint32_t background = 0x000046;
    const int32_t row = 8 + static_cast<int32_t>(0.75f * 134.0f);
    // The marker's left point, where the grab zone of layer 0 starts.
    EXPECT_NE(Rgb(chart, 20, row), background);
    EXPECT_EQ(Rgb(chart, 20, row - 8), background);
    EXPECT_NE(Rgb(chart, 70, Row(0.5f)), background);
    GDIListUserInterface2 colours;
    colours.Init(GDITableSizeUserInterface2, 0);
    colours.GetElement(32).m_color = RGB(0, 70, 0);
    ASSERT_EQ(m_widget->UpdateGDIInfoForObjectReal(&colours, nullptr, GDITableSizeUserInterface2), S_OK);
    Tick();
    ReadChart(chart);
    EXPECT_EQ(Rgb(chart, 70, 4), 0x004600u);
    EXPECT_NE(Rgb(chart, 70, Row(0.5f)), 0x004600u);
    EXPECT_NE(Rgb(chart, 0, Row(0.5f)), 0x004600u);
}

// On the screen, with the widget's own timer: appended samples move the columns left.
TEST_F(GraphTest, ColumnsMoveLeftOnTheScreen)
{
    m_widget.reset();
    Make(200, 150);
    m_widget->m_timer_id = SetTimer(Window(), m_widget->m_timer_id, 50, nullptr);
    m_widget->ControlStatObjectShowReal(1, 1);
    SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    GraphPointListUserInterface2 samples = Samples(200, 0.0f, 0.0f);
    samples.GetElement(150) = Sample(0.2f, 0.8f);
    ASSERT_EQ(m_widget->UpdatePointsLayersReal(1, &samples, 200), S_OK);
    const uint32_t background = 0x000046;
    const int32_t middle = Row(0.5f);
    std::vector<uint32_t> screen;
    const auto at = [&](int32_t x) { return screen[static_cast<size_t>(middle) * 200 + static_cast<size_t>(x)]; };
    EXPECT_TRUE(WaitFor([&] {
        screen = ScreenPixels(Left, Top, 200, 150);
        return at(150) != background && at(149) == background;
    }));
    GraphPointListUserInterface2 flat = Samples(20, 0.0f, 0.0f);
    ASSERT_EQ(m_widget->UpdatePointsLayersReal(2, &flat, 20), S_OK);
    EXPECT_TRUE(WaitFor([&] {
        screen = ScreenPixels(Left, Top, 200, 150);
        return at(130) != background && at(150) == background && at(199) == background;
    }));
}

// Property 0 names a skin of the widget's folder, kept in buffer 20 (a missing file gives the
// loader's 32 x 32 of zeros; the default skin is 64 x 48).
TEST_F(GraphTest, PropertyZeroLoadsItsSkinIntoBuffer20)
{
    const TypedValueListUserInterface2 values = MakeList<InfoTypedValueUserInterface2>({[] {
        InfoTypedValueUserInterface2 text;
        text.SetText("DetectorGraphBackgroundStencil.bmp");
        return text;
    }()});
    const IndexListUserInterface2 indexes = MakeIndexList({0});
    ASSERT_TRUE(SUCCEEDED(m_widget->UpdateGeneralInfoForObjectReal(0, &values, &indexes, 1)));
    const InfoGeneralBufferForUserInterface2& skin = m_widget->m_array_general_buffers.GetElement(20);
    EXPECT_EQ(skin.m_width_element, 32);
    EXPECT_EQ(skin.m_height_element, 32);
    char path[MAX_PATH] = {};
    std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    folder.resize(folder.find_last_of('\\'));
    ASSERT_TRUE(SUCCEEDED(m_widget->SetTextVarForObjectReal(1, (folder + "\\ResourceBMP\\DefaultSchemeKorvane").c_str())));
    EXPECT_EQ(skin.m_width_element, 64);
    EXPECT_EQ(skin.m_height_element, 48);
}
