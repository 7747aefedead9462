// The time control: its fields and layout, its own operation, the drawing of one scale and the
// composed picture.
#include "TimeControl1ObjectUserInterface2.h"
#include "TestCanvas.h"
#include "TestWidget.h"

#include "ManualTestClock.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using TimeControl = TimeControl1ObjectUserInterface2;

constexpr uint32_t MarkGrey = 0x808080;
constexpr int32_t PictureWidth = 300;
constexpr int32_t PictureHeight = 140;
const char g_operationName[] =
    "GMU_UpdatePropertyListTimes_TimeControl1ObjectUserInterface2,D.U.R.M.I.X.,06.03.2006::18.34.00";

class TimeControlUnderTest : public TimeControl
{
public:
    TimeControlUnderTest() : TimeControl({}, 0, 0, "time control under test", nullptr) {}

    using TimeControl::m_array_general_buffers;
    using TimeControl::m_time_fields;
};

int16_t Sample(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t x, int32_t y)
{
    return buffer.m_rgb_buffers.GetElement(plane)[y * buffer.m_byte_stride / 2 + x];
}

bool IsGrey128(const InfoGeneralBufferForUserInterface2& buffer, int32_t x, int32_t y)
{
    for (uint32_t plane = 0; plane < 3; ++plane)
        if (Sample(buffer, plane, x, y) != 128)
            return false;
    return true;
}

// A shown 300 x 140 time control with the SSE2 operations.
std::unique_ptr<TimeControlUnderTest> MakeShownControl()
{
    auto control = std::make_unique<TimeControlUnderTest>();
    control->SetOptimCPUReal(4);
    EXPECT_EQ(S_OK, control->CreateObject());
    control->SetTextVarForObjectReal(1, "time");
    control->MoveObjectReal(0, 0, PictureWidth, PictureHeight);
    return control;
}

// A copy of the widget's general buffer.
std::unique_ptr<InfoGeneralBufferForUserInterface2> BufferOf(TimeControl& control, int32_t index)
{
    auto buffer = std::make_unique<InfoGeneralBufferForUserInterface2>();
    EXPECT_EQ(S_OK, control.GetBufferFromIndex(index, buffer.get()));
    return buffer;
}

// Rows of field f in the picture hold exactly the samples of its scale.
void ExpectPictureComposedOfScales(TimeControl& control)
{
    const auto picture = BufferOf(control, TimeControl::PictureBuffer);
    for (int32_t f = 0; f < TimeControl::FieldCount; ++f) {
        const auto scale = BufferOf(control, TimeControl::FirstFieldBuffer + f);
        ASSERT_EQ(PictureWidth, scale->m_width_element);
        int32_t differences = 0;
        for (uint32_t plane = 0; plane < 3; ++plane)
            for (int32_t y = 0; y < scale->m_height_element; ++y)
                for (int32_t x = 0; x < scale->m_width_element; ++x)
                    differences += Sample(*scale, plane, x, y) != Sample(*picture, plane, x, f * 16 + y) ? 1 : 0;
        EXPECT_EQ(0, differences) << "field " << f;
    }
}

TEST(TimeControl, NewControlShowsSevenEnabledFieldsFrom2005To2007WithTheYearMarked)
{
    struct Expected
    {
        int32_t minimum, maximum, value;
    };
    const Expected expected[] = {{2005, 2007, 2006}, {1, 12, 1}, {1, 31, 1}, {0, 23, 0},
                                 {0, 59, 0},         {0, 59, 0}, {0, 99, 0}};
    TimeControl control({}, 0, 0, "time control", nullptr);
    for (int32_t f = 0; f < TimeControl::FieldCount; ++f) {
        const InfoTimeControlElement& field = control.GetField(f);
        EXPECT_EQ(1, field.m_enabled) << f;
        EXPECT_EQ(f == TimeControl::FieldYear ? 1 : 0, field.m_mark) << f;
        EXPECT_EQ(257u, field.m_style) << f;
        EXPECT_EQ(expected[f].minimum, field.m_minimum) << f;
        EXPECT_EQ(expected[f].maximum, field.m_maximum) << f;
        EXPECT_EQ(expected[f].value, field.m_value) << f;
    }
}

TEST(TimeControl, HeightOf140GivesRowsOf16AndScaleBuffersOfThatHeight)
{
    auto control = MakeShownControl();
    EXPECT_EQ(16, control->GetRowHeight());
    for (int32_t f = 0; f < TimeControl::FieldCount; ++f) {
        const auto scale = BufferOf(*control, TimeControl::FirstFieldBuffer + f);
        EXPECT_EQ(PictureWidth, scale->m_width_element);
        EXPECT_EQ(16, scale->m_height_element);
    }
    const auto picture = BufferOf(*control, TimeControl::PictureBuffer);
    EXPECT_EQ(PictureWidth, picture->m_width_element);
    EXPECT_EQ(PictureHeight, picture->m_height_element);
}

TEST(TimeControl, UpdatePropertyListTimesRefusesAnEmptyRequestWithoutSendingAndChangesNothing)
{
    TimeFieldListUserInterface2 list;
    list.Init(1, 0);
    list.GetElement(0).m_value = 2007;
    // Without a window a send would fail: these answers come before any send.
    TimeControl windowless({}, 0, 0, "windowless time control", nullptr);
    EXPECT_EQ(E_UNEXPECTED, windowless.UpdatePropertyListTimes(&list, 0));
    EXPECT_EQ(E_UNEXPECTED, windowless.UpdatePropertyListTimes(nullptr, 1));
    EXPECT_EQ(E_FAIL, windowless.UpdatePropertyListTimes(&list, 1));

    auto control = MakeShownControl();
    HRESULT answer = E_FAIL;
    RunOnOtherThreadWhilePumping([&] { answer = control->UpdatePropertyListTimes(&list, 1); });
    EXPECT_EQ(S_OK, answer);
    EXPECT_EQ(2006, control->GetField(TimeControl::FieldYear).m_value);
}

TEST(TimeControl, OwnMessageRefusesAMissingOrForeignRecord)
{
    TimeControl control({}, 0, 0, "time control", nullptr);
    const UINT message = RegisterWindowMessageA(g_operationName);
    TimeFieldListUserInterface2 list;
    list.Init(1, 0);
    InfoMessageForXXXUpdateTimeControlObject valid;
    valid.m_list = &list;
    valid.m_count = 1;
    InfoMessageForXXXUpdateTimeControlObject foreign;
    foreign.m_name = "InfoMessageForSomethingElse";
    foreign.m_list = &list;
    foreign.m_count = 1;
    InfoMessageForXXXUpdateTimeControlObject empty;
    const struct
    {
        const InfoMessageForXXXUpdateTimeControlObject* record;
        HRESULT answer;
    } cases[] = {{nullptr, E_FAIL}, {&foreign, E_FAIL}, {&empty, E_UNEXPECTED}, {&valid, S_OK}};
    for (const auto& each : cases) {
        bool handled = true;
        EXPECT_EQ(each.answer, control.CompliteStandartMessage(nullptr, message, reinterpret_cast<WPARAM>(each.record),
                                                                0, &handled));
        EXPECT_FALSE(handled);
    }
}

TEST(TimeControl, YearScaleHasGreyMarksSpreadOverTheWholeWidth)
{
    TimeControlUnderTest control;
    TimeControl::FieldDrawing drawing;
    drawing.m_widget = &control;
    drawing.m_field = TimeControl::FieldYear;
    Canvas canvas(100, 16, RGB(255, 255, 255));
    ASSERT_EQ(S_OK, TimeControl::FunctDrawTimeFieldToHDC(canvas.Context(), 100, 16, &drawing, TimeControl::DrawingTag));
    for (int x : {0, 1, 48, 49, 50, 51})
        for (int y : {0, 8, 15})
            EXPECT_EQ(MarkGrey, canvas.Pixel(x, y)) << x << "," << y;
    for (int x : {2, 47, 52, 75, 99})
        EXPECT_NE(MarkGrey, canvas.Pixel(x, 15)) << x;
}

TEST(TimeControl, ScaleDrawingRefusesBadArgumentsAndMarksNothingForAnEmptyRange)
{
    TimeControlUnderTest control;
    TimeControl::FieldDrawing drawing;
    drawing.m_widget = &control;
    TimeControl::FieldDrawing orphan;
    TimeControl::FieldDrawing outside;
    outside.m_widget = &control;
    outside.m_field = 7;
    Canvas canvas(100, 16);
    const struct
    {
        HDC context;
        int width;
        void* record;
        int tag;
        HRESULT answer;
    } cases[] = {
        {nullptr, 100, &drawing, 8, E_INVALIDARG},   {canvas.Context(), 100, nullptr, 8, E_INVALIDARG},
        {canvas.Context(), 0, &drawing, 8, E_UNEXPECTED}, {canvas.Context(), 100, &drawing, 9, E_UNEXPECTED},
        {canvas.Context(), 100, &orphan, 8, E_UNEXPECTED}, {canvas.Context(), 100, &outside, 8, E_UNEXPECTED},
        // Year cells are 20 pixels wide: 19 pixels hold none.
        {canvas.Context(), 19, &drawing, 8, E_UNEXPECTED},
    };
    for (const auto& each : cases)
        EXPECT_EQ(each.answer, TimeControl::FunctDrawTimeFieldToHDC(each.context, each.width, 16, each.record, each.tag));

    for (auto [minimum, maximum] : {std::pair{2006, 2006}, std::pair{2007, 2005}}) {
        control.m_time_fields.GetElement(0).m_minimum = minimum;
        control.m_time_fields.GetElement(0).m_maximum = maximum;
        Canvas empty(100, 16);
        EXPECT_EQ(S_OK, TimeControl::FunctDrawTimeFieldToHDC(empty.Context(), 100, 16, &drawing, 8));
        for (int x = 0; x < 100; ++x)
            EXPECT_NE(MarkGrey, empty.Pixel(x, 15)) << minimum << ".." << maximum << " at " << x;
    }
}

TEST(TimeControl, PictureIsTheScalesStackedWithYearMarksAt0And150)
{
    auto control = MakeShownControl();
    ASSERT_EQ(S_OK, control->OnTimerCycle(control->GetHWNDReal(), 0, 0, true));
    const auto year = BufferOf(*control, TimeControl::FirstFieldBuffer);
    const auto picture = BufferOf(*control, TimeControl::PictureBuffer);
    for (int32_t x : {0, 1, 148, 149, 150, 151}) {
        EXPECT_TRUE(IsGrey128(*year, x, 15)) << x;
        EXPECT_TRUE(IsGrey128(*picture, x, 15)) << x;
    }
    EXPECT_FALSE(IsGrey128(*year, 100, 15));
    ExpectPictureComposedOfScales(*control);
}

// The scales are added into the picture: a rebuild keeps the picture's samples, which must not be
// added to again.
TEST(TimeControl, PictureKeepsItsBrightnessAfterARebuild)
{
    auto control = MakeShownControl();
    ASSERT_EQ(S_OK, control->OnTimerCycle(control->GetHWNDReal(), 0, 0, true));
    for (int rebuild = 0; rebuild < 2; ++rebuild) {
        ASSERT_EQ(S_OK, control->RebuildObject());
        ASSERT_EQ(S_OK, control->OnTimerCycle(control->GetHWNDReal(), 0, 0, true));
        const auto picture = BufferOf(*control, TimeControl::PictureBuffer);
        EXPECT_TRUE(IsGrey128(*picture, 150, 15)) << rebuild;
        ExpectPictureComposedOfScales(*control);
    }
}

// An idle tick composes nothing; a rebuild composes again.
TEST(TimeControl, OnlyATickAfterARebuildComposesThePicture)
{
    ManualTestClock clock;
    auto control = MakeShownControl();
    const auto composedAt = [&] {
        return control->m_array_general_buffers.GetElement(TimeControl::PictureBuffer).m_last_time_update_buffer;
    };
    ASSERT_EQ(S_OK, control->OnTimerCycle(control->GetHWNDReal(), 0, 0, true));
    const uint64_t first = composedAt();
    clock.Advance(50);
    ASSERT_EQ(S_OK, control->OnTimerCycle(control->GetHWNDReal(), 0, 0, true));
    EXPECT_EQ(first, composedAt());
    ASSERT_EQ(S_OK, control->RebuildObject());
    clock.Advance(50);
    ASSERT_EQ(S_OK, control->OnTimerCycle(control->GetHWNDReal(), 0, 0, true));
    EXPECT_GT(composedAt(), first);
}

} // namespace
