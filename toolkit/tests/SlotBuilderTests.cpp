// The builders of action slots: one layer by mode, the steps of a three-layer composition and the
// glow animation.
#include "TestWidget.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Action = InfoActionUserInterface2;

void ExpectVectorA(const Action& action, float red, float green, float blue)
{
    const float expected[3] = {red, green, blue};
    for (uint32_t channel = 0; channel < 3; ++channel)
        for (float lane : action.m_params_a[channel])
            EXPECT_EQ(lane, expected[channel]) << channel;
}

HRESULT FillWithColour(HDC context, int width, int height, void*, int)
{
    RECT area{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(RGB(11, 22, 33));
    FillRect(context, &area, brush);
    DeleteObject(brush);
    return S_OK;
}

} // namespace

class SlotBuilderTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(m_widget.SetOptimCPUReal(4))); }
    const Action& Slot(uint32_t slot) { return m_widget.m_actions.GetElement(slot); }

    HookRecord m_record;
    TestWidget m_widget{m_record};
};

TEST_F(SlotBuilderTest, LayerModes)
{
    InfoLayerLookUserInterface2 look;
    look.m_colour = RGB(10, 20, 30);
    look.m_constants[0] = 1.0f, look.m_constants[1] = 2.0f, look.m_constants[2] = 3.0f;
    struct Case
    {
        uint32_t mode;
        float glow;
        uint32_t flags;
        int32_t source;
        float a[3];
    };
    const Case cases[] = {
        {1, 0.0f, 0x300002, 4, {0, 0, 0}},    {2, 0.0f, 0x20000d, -1, {10, 20, 30}},
        {3, 0.0f, 0x201011, -1, {1, 2, 3}},   {4, 20.0f, 0x202015, -1, {4, 4, 4}},
        {4, 13.0f, 0x202016, -1, {13, 13, 13}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " glow " + std::to_string(c.glow));
        look.m_glow = c.glow;
        m_widget.m_actions.GetElement(9).m_width = 77;
        EXPECT_EQ(m_widget.FillActionForLayer(9, c.mode, 4, 5, look), S_OK);
        EXPECT_EQ(Slot(9).m_flags, c.flags);
        EXPECT_EQ(Slot(9).m_source_index, c.source);
        EXPECT_EQ(Slot(9).m_destination_index, 5);
        EXPECT_EQ(Slot(9).m_width, -1); // regions reset
        ExpectVectorA(Slot(9), c.a[0], c.a[1], c.a[2]);
        EXPECT_EQ(m_widget.FillActionForLayer(9, c.mode, 4, -1, look), S_FALSE);
        EXPECT_EQ(Slot(9).m_flags, 0x200100u);
    }
    LogCapture log;
    EXPECT_EQ(m_widget.FillActionForLayer(9, 1, -1, 5, look), E_FAIL); // a copy without its source
    EXPECT_TRUE(log.Contains("integer 241"));
}

TEST_F(SlotBuilderTest, DrawnLayerIsDrawnWhenChanged)
{
    InfoGeneralBufferForUserInterface2& layer = m_widget.m_array_general_buffers.GetElement(6);
    layer.ResizeBuffer(9, 3);
    InfoLayerLookUserInterface2 look;
    look.m_draw = &FillWithColour;
    ASSERT_EQ(m_widget.FillActionForLayer(2, 0, -1, 6, look), S_OK);
    EXPECT_EQ(Slot(2).m_flags, 0x200100u);
    EXPECT_EQ(layer.m_byte_stride, 32);
    EXPECT_GE(layer.m_max_size_byte_buffer, 32 * 3 + 16);
    EXPECT_EQ(layer.CheckMemoryBuffers(), S_OK);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 9; ++x) {
            EXPECT_EQ(layer.m_rgb_buffers.GetElement(0)[y * 16 + x], 11);
            EXPECT_EQ(layer.m_rgb_buffers.GetElement(2)[y * 16 + x], 33);
        }
    layer.ClearChanged();
    EXPECT_EQ(m_widget.FillActionForLayer(2, 0, -1, 6, look), S_FALSE);
}

TEST_F(SlotBuilderTest, ThreeLayerSteps)
{
    InfoLayerUserInterface2 layers[3];
    layers[0].m_skin_buffer = 1;
    layers[1].m_skin_buffer = 2;
    layers[1].m_drawn_buffer = 3;
    layers[2].m_skin_buffer = 4;
    layers[2].m_look.m_constants[0] = 255.0f;
    constexpr int32_t Result = 10, Working = 11;
    struct Case
    {
        uint32_t number;
        uint32_t flags;
        int32_t source;
        int32_t destination;
    };
    const Case cases[] = {
        {6, 0x300002, 2, 3},        {15, 0x300002, 1, Result},       {16, 0x200001, -1, Working},
        {17, 0x30000c, 4, Working}, {18, 0x200011, -1, Working},     {19, 0x300018, Working, Result},
        {20, 0x300002, 4, Working}, {21, 0x200011, -1, Working},     {22, 0x300018, 3, Working},
        {23, 0x30100b, Working, Result}, {24, 0x200100, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(m_widget.FillActionForThreeLayers(3, c.number, Result, layers, Working), S_OK);
        EXPECT_EQ(Slot(3).m_flags, c.flags);
        EXPECT_EQ(Slot(3).m_source_index, c.source);
        EXPECT_EQ(Slot(3).m_destination_index, c.destination);
    }
    // Shifts of the products lie in the first lane only: the 64-bit value at vector A is 8.
    m_widget.FillActionForThreeLayers(3, 19, Result, layers, Working);
    EXPECT_EQ(Slot(3).m_params_a[0][0], 8.0f);
    EXPECT_EQ(Slot(3).m_params_a[0][1], 0.0f);
    m_widget.FillActionForThreeLayers(3, 18, Result, layers, Working);
    EXPECT_EQ(Slot(3).m_params_a[0][5], 255.0f);
    // Without the third layer the sum takes the second one.
    layers[2].m_skin_buffer = -1;
    layers[2].m_look = {};
    EXPECT_EQ(m_widget.FillActionForThreeLayers(3, 23, Result, layers, Working), S_OK);
    EXPECT_EQ(Slot(3).m_source_index, 3);
    for (uint32_t number : {12u, 17u, 20u}) // the third layer is needed
        EXPECT_EQ(m_widget.FillActionForThreeLayers(3, number, Result, layers, Working), S_FALSE) << number;
}

TEST_F(SlotBuilderTest, MissingBuffersThrow241)
{
    InfoLayerUserInterface2 layers[3];
    layers[0].m_skin_buffer = 1;
    layers[2].m_look.m_has_glow = 1;
    LogCapture log;
    EXPECT_EQ(m_widget.FillActionForThreeLayers(0, 0, 10, layers, 11), E_FAIL); // a glow without a buffer
    layers[2].m_look.m_has_glow = 0;
    EXPECT_EQ(m_widget.FillActionForThreeLayers(0, 16, 10, layers, -1), E_FAIL); // no working buffer
    EXPECT_TRUE(log.Contains("integer 241"));
    EXPECT_EQ(m_widget.FillActionForThreeLayers(0, 15, 10, layers, -1), S_OK);
}

TEST_F(SlotBuilderTest, AnimationValues)
{
    struct Case
    {
        bool falling;
        uint64_t elapsed;
        int32_t stored;
        int32_t value;
        bool reported;
        uint32_t flags;
        float operand;
    };
    const Case cases[] = {
        {false, 200, 0, 10, true, 0x202016, 10.0f},   {false, 2000, 0, 24, true, 0x202015, 0.0f},
        {true, 100, 24, 19, true, 0x202015, 5.0f},    {true, 5000, 24, 4, true, 0x202016, 4.0f},
        {false, 300, 13, 13, true, 0x202016, 13.0f},  {false, 380, 15, 15, false, 0x202015, 9.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.falling) + " " + std::to_string(c.elapsed));
        int32_t value = c.stored;
        EXPECT_EQ(m_widget.StepAnimationValueByTime(true, 7, c.falling, 1000 + c.elapsed, 1000, &value, 4, 24),
                  c.value != c.stored);
        EXPECT_EQ(value, c.stored);
        EXPECT_EQ(m_widget.StepAnimationValueByTime(false, 7, c.falling, 1000 + c.elapsed, 1000, &value, 4, 24),
                  c.reported);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(Slot(7).m_flags, c.flags);
        EXPECT_EQ(Slot(7).m_params_a[2][0], c.operand);
    }
}
