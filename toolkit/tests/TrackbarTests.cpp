// The trackbar: sizes, value mapping, mouse and keys on a real window, value texts.
#include "TrackbarObjectUserInterface2.h"
#include "DefaultSkinFolder.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"
#include "TestWidget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <memory>

namespace {

using Trackbar = TrackbarObjectUserInterface2;

class TestTrackbar : public Trackbar
{
public:
    using Trackbar::Trackbar;
    using Trackbar::m_actions;
    using Trackbar::m_array_general_buffers;
    using Trackbar::m_cell_height;
    using Trackbar::m_cell_width;
    using Trackbar::m_current_slider;
    using Trackbar::m_elements;
    using Trackbar::m_grab_offset;
    using Trackbar::m_property_tables;
    using Trackbar::m_thumb_height;
    using Trackbar::m_thumb_width;
    using Trackbar::m_window;
    using Trackbar::m_related_windows;
    using Trackbar::m_width;
    using Trackbar::m_height;
};

struct Slider
{
    float minimum = 0.0f;
    float maximum = 100.0f;
    float value = 50.0f;
    int32_t command = 0;
    uint32_t state = 0;
    float defaultValue = 0.0f;
};

InfoElementUserInterface2 MakeSlider(const Slider& slider)
{
    InfoElementUserInterface2 element = MakeElement(0, 0, 0, 0, slider.command, slider.state);
    element.Field(Trackbar::FieldThumbPicture).SetText("");
    element.Field(Trackbar::FieldMinimum).SetFloat(slider.minimum);
    element.Field(Trackbar::FieldMaximum).SetFloat(slider.maximum);
    element.Field(Trackbar::FieldValue).SetFloat(slider.value);
    element.Field(Trackbar::FieldDefault).SetFloat(slider.defaultValue);
    return element;
}

// A trackbar window of the size, on the test thread, reporting to a recorder.
class TrackbarTest : public testing::Test
{
protected:
    void Make(const std::vector<Slider>& sliders, uint32_t orientation, int32_t width, int32_t height,
              float thumbLength = 0.2f, float thumbBreadth = 1.0f)
    {
        std::vector<InfoElementUserInterface2> elements;
        for (const Slider& slider : sliders)
            elements.push_back(MakeSlider(slider));
        m_bar = std::make_unique<TestTrackbar>(MakeElementList(elements), static_cast<int32_t>(elements.size()),
                                               orientation, "trackbar under test", nullptr);
        m_bar->m_property_tables.GetElement(0).GetElement(Trackbar::PropertyThumbLength).SetFloat(thumbLength);
        m_bar->m_property_tables.GetElement(0).GetElement(Trackbar::PropertyThumbBreadth).SetFloat(thumbBreadth);
        ASSERT_EQ(m_bar->CreateObject(), S_OK);
        m_bar->SetWindow(1, m_recorder.Handle());
        m_bar->MoveObject(0, 0, width, height);
        m_recorder.Received();
        m_recorder.Clear();
    }

    void Send(UINT message, int32_t x, int32_t y, WPARAM keys = 0)
    {
        SendMessageA(m_bar->m_window, message, keys, MAKELPARAM(x, y));
    }
    void Key(UINT message, WPARAM key) { SendMessageA(m_bar->m_window, message, key, 0); }

    float Value(int32_t index) { return m_bar->m_elements.GetElement(index).Field(Trackbar::FieldValue).m_value.m_float; }
    uint32_t State(int32_t index) { return m_bar->m_elements.GetElement(index).GetStateWord(); }

    // The WM_COMMAND wParams the trackbar posted itself (lParam 0); the core's click reports carry
    // the state word.
    std::vector<WPARAM> Notices(bool withClickReports = false)
    {
        std::vector<WPARAM> notices;
        for (const MessageRecorder::Message& message : m_recorder.Received())
            if (message.m_message == WM_COMMAND && (withClickReports || message.m_lparam == 0))
                notices.push_back(message.m_wparam);
        m_recorder.Clear();
        return notices;
    }

    // The thumb centre of slider index in window coordinates.
    POINT ThumbCentre(int32_t index)
    {
        RECT thumb = {};
        m_bar->GetPosThumbFromValue(index, Value(index), &thumb);
        return {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    }

    MessageRecorder m_recorder;
    std::unique_ptr<TestTrackbar> m_bar;
};

TEST_F(TrackbarTest, RegistersItsWindowClassByName)
{
    Make({Slider{}}, 1, 100, 200);
    char name[128] = {};
    GetClassNameA(m_bar->m_window, name, sizeof(name));
    EXPECT_STREQ(name, "OJV::UserInterface2::TrackbarObjectUserInterface2::24.10.2006");
}

TEST_F(TrackbarTest, CellAndThumbSizesFollowOrientationAndThumbProperties)
{
    struct Case
    {
        uint32_t orientation;
        float length, breadth;
        int32_t cellWidth, cellHeight, thumbWidth, thumbHeight;
    };
    // Four sliders in 400 x 200.
    const Case cases[] = {
        {1, 0.2f, 1.0f, 100, 200, 100, 40},   {1, 58.0f, 1.0f, 100, 200, 100, 58},
        {1, 0.2f, 0.05f, 100, 200, 10, 40},   {1, 0.2f, 2.0f, 100, 200, 100, 40},
        {2, 0.2f, 1.0f, 400, 50, 80, 50},     {2, 58.0f, 1.0f, 400, 50, 58, 50},
        {2, 0.2f, 0.05f, 400, 50, 80, 5},     {2, 0.2f, 2.0f, 400, 50, 80, 50},
        {1, 500.0f, 0.5f, 100, 200, 50, 200}, {2, 500.0f, 0.5f, 400, 50, 400, 25},
    };
    for (const Case& c : cases) {
        Make(std::vector<Slider>(4), c.orientation, 400, 200, c.length, c.breadth);
        SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " length " << c.length << " breadth "
                                        << c.breadth);
        EXPECT_EQ(m_bar->m_cell_width, c.cellWidth);
        EXPECT_EQ(m_bar->m_cell_height, c.cellHeight);
        EXPECT_EQ(m_bar->m_thumb_width, c.thumbWidth);
        EXPECT_EQ(m_bar->m_thumb_height, c.thumbHeight);
        const InfoRectUserInterface2 last = m_bar->m_elements.GetElement(3).Field(5).m_value.m_rect;
        EXPECT_EQ(last.m_left, c.orientation == 1 ? 3 * c.cellWidth : 0);
        EXPECT_EQ(last.m_top, c.orientation == 1 ? 0 : 3 * c.cellHeight);
    }
}

TEST_F(TrackbarTest, ValueAndThumbPositionRoundTripOverWholeRanges)
{
    struct Case
    {
        uint32_t orientation;
        float minimum, maximum;
    };
    for (const Case& c : {Case{1, 1, 101}, Case{2, 1, 361}, Case{1, -50, 50}}) {
        // A span of more pixels than values: every value has its own thumb position.
        Make({Slider{c.minimum, c.maximum, c.minimum}}, c.orientation, c.orientation == 1 ? 40 : 800,
             c.orientation == 1 ? 400 : 40, 20.0f);
        for (float value = c.minimum; value <= c.maximum; value += 1.0f) {
            const int32_t pos = m_bar->GetPosThumbFromValue(0, value, nullptr);
            const float back = c.orientation == 1 ? m_bar->GetValueFromPoint(0, 20, pos) : m_bar->GetValueFromPoint(0, pos, 20);
            ASSERT_EQ(back, value) << "position " << pos;
        }
    }
}

TEST_F(TrackbarTest, RangeEdgesBadIndexesZeroSpanAndNoSliders)
{
    // A maximum not above the minimum stands for minimum + 1.
    Make({Slider{5, 5, 5}, Slider{5, 2, 6}}, 2, 220, 40, 10.0f);
    EXPECT_EQ(m_bar->GetValueFromPoint(0, 219, 10), 6.0f);
    EXPECT_EQ(m_bar->GetValueFromPoint(1, 0, 30), 5.0f);
    EXPECT_EQ(m_bar->GetPosThumbFromValue(1, 6.0f, nullptr), 210);
    EXPECT_EQ(m_bar->GetValueFromPoint(2, 10, 10), 0.0f);
    EXPECT_EQ(m_bar->GetValueFromPoint(-1, 10, 10), 0.0f);
    EXPECT_EQ(static_cast<HRESULT>(m_bar->GetPosThumbFromValue(2, 1.0f, nullptr)), E_UNEXPECTED);

    // Thumbs of 58 pixels in 100-pixel sliders leave no span: the point maps to an end, finite.
    Make({Slider{0, 10, 3, 2}}, 1, 30, 100, 58.0f);
    for (int32_t y : {0, 50, 99}) {
        const float value = m_bar->GetValueFromPoint(0, 15, y);
        EXPECT_TRUE(std::isfinite(value));
        EXPECT_EQ(value, 10.0f);
    }
    Send(WM_LBUTTONDOWN, 15, 50, MK_LBUTTON);
    Send(WM_MOUSEMOVE, 15, 70, MK_LBUTTON);
    EXPECT_EQ(Value(0), 10.0f);
    EXPECT_EQ(Notices(), std::vector<WPARAM>{2});

    Make({}, 1, 100, 100);
    EXPECT_EQ(m_bar->OnSizeWindow(m_bar->m_window, 0, 0, 0), E_FAIL);
    EXPECT_EQ(m_bar->SetRectElements(), E_FAIL);
}

TEST_F(TrackbarTest, DragPostsWholeValuesKeepsTheGrabOffsetAndSkipsUnchangedValues)
{
    // Horizontal, 0..100 over a span of 200 pixels: two pixels a step.
    Make({Slider{0, 100, 50, 7}}, 2, 240, 40, 20.0f);
    const POINT centre = ThumbCentre(0);
    Send(WM_LBUTTONDOWN, centre.x + 3, centre.y, MK_LBUTTON);
    EXPECT_EQ(m_bar->m_grab_offset, -3);
    Send(WM_MOUSEMOVE, centre.x + 3 + 20, centre.y, MK_LBUTTON);
    EXPECT_EQ(Value(0), 60.0f);
    EXPECT_EQ(ThumbCentre(0).x, centre.x + 20);
    Send(WM_MOUSEMOVE, centre.x + 3 + 20, centre.y + 1, MK_LBUTTON);
    EXPECT_EQ(Value(0), 60.0f);
    Send(WM_MOUSEMOVE, centre.x + 3 - 40, centre.y, MK_LBUTTON);
    EXPECT_EQ(Value(0), 30.0f);
    EXPECT_EQ(m_bar->m_grab_offset, -3);
    Send(WM_LBUTTONUP, centre.x + 3 - 40, centre.y);
    Send(WM_MOUSEMOVE, centre.x + 60, centre.y);
    EXPECT_EQ(Value(0), 30.0f);
    // Two drags, then the core's report of the click on the thumb.
    EXPECT_EQ(Notices(), (std::vector<WPARAM>{7, 7, 7}));
}

TEST_F(TrackbarTest, ClicksToggleCheckableSlidersAndCheckedOnesStay)
{
    constexpr uint32_t checkable = Trackbar::StateCheckable;
    Make({Slider{0, 100, 50, 5, checkable}, Slider{0, 100, 50, 0, checkable},
          Slider{0, 100, 50, 6, checkable | Trackbar::StateDisabled}},
         1, 120, 220, 20.0f);
    for (int32_t index : {0, 1, 2}) {
        const POINT centre = ThumbCentre(index);
        Send(WM_LBUTTONDOWN, centre.x, centre.y, MK_LBUTTON);
        Send(WM_LBUTTONUP, centre.x, centre.y);
    }
    EXPECT_EQ(State(0), checkable | Trackbar::StateChecked);
    EXPECT_EQ(State(1), checkable | Trackbar::StateChecked);
    EXPECT_EQ(State(2), checkable | Trackbar::StateDisabled);
    // Slider 1 has no command, the disabled one toggles nothing: one notice.
    EXPECT_EQ(Notices(), std::vector<WPARAM>{5 | 0x100000});

    // Checked: a drag leaves the value, and a click that moved does not toggle.
    const POINT centre = ThumbCentre(0);
    Send(WM_LBUTTONDOWN, centre.x, centre.y, MK_LBUTTON);
    Send(WM_MOUSEMOVE, centre.x, centre.y + 40, MK_LBUTTON);
    Send(WM_LBUTTONUP, centre.x, centre.y + 40);
    EXPECT_EQ(Value(0), 50.0f);
    EXPECT_EQ(State(0), checkable | Trackbar::StateChecked);
    EXPECT_TRUE(Notices().empty());
}

TEST_F(TrackbarTest, DisabledSlidersAndSlidersWithoutCommandPostNothing)
{
    Make({Slider{0, 100, 50, 0}, Slider{0, 100, 50, 9, Trackbar::StateDisabled}}, 1, 80, 220, 20.0f);
    for (int32_t index : {0, 1}) {
        const POINT centre = ThumbCentre(index);
        Send(WM_LBUTTONDOWN, centre.x, centre.y, MK_LBUTTON);
        Send(WM_MOUSEMOVE, centre.x, centre.y + 30, MK_LBUTTON);
        Send(WM_LBUTTONUP, centre.x, centre.y + 30);
        Key(WM_KEYDOWN, VK_PRIOR);
    }
    EXPECT_EQ(Value(1), 50.0f);
    EXPECT_TRUE(Notices(true).empty());
}

TEST_F(TrackbarTest, KeysStepByOrientationAndMoveTheSelectionOverUsedSliders)
{
    struct Case
    {
        uint32_t orientation;
        UINT message;
        WPARAM key;
        float expected;
        int32_t current;
    };
    // From 50 in 0..100 on slider 1 of sliders 0, 1 and 3 (2 unused).
    const Case cases[] = {
        {1, WM_KEYDOWN, VK_PRIOR, 60, 1}, {1, WM_KEYDOWN, VK_NEXT, 40, 1},  {1, WM_KEYDOWN, VK_END, 100, 1},
        {1, WM_KEYDOWN, VK_HOME, 0, 1},   {1, WM_KEYDOWN, VK_UP, 51, 1},    {1, WM_KEYDOWN, VK_DOWN, 49, 1},
        {1, WM_KEYDOWN, VK_RIGHT, 50, 3}, {1, WM_KEYDOWN, VK_LEFT, 50, 0},  {2, WM_KEYDOWN, VK_RIGHT, 51, 1},
        {2, WM_KEYDOWN, VK_LEFT, 49, 1},  {2, WM_KEYDOWN, VK_DOWN, 50, 3},  {2, WM_KEYDOWN, VK_UP, 50, 0},
        {1, WM_CHAR, 27, 20, 1},          {1, WM_KEYDOWN, 'A', 50, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " key " << c.key);
        std::vector<Slider> sliders(4, Slider{0, 100, 50, 4, 0, 20});
        Make(sliders, c.orientation, 400, 400, 20.0f);
        m_bar->m_elements.GetElement(2).m_header_flag = 0;
        const POINT centre = ThumbCentre(1);
        Send(WM_LBUTTONDOWN, centre.x, centre.y, MK_LBUTTON);
        Send(WM_LBUTTONUP, centre.x, centre.y);
        Notices();
        Key(c.message, c.key);
        EXPECT_EQ(Value(1), c.expected);
        EXPECT_EQ(m_bar->m_current_slider, c.current);
        const bool changed = c.expected != 50.0f;
        EXPECT_EQ(Notices(), changed ? std::vector<WPARAM>{4 | 0x100000} : std::vector<WPARAM>{});
    }
}

TEST_F(TrackbarTest, SelectionWrapsWithinSixteenAndKeysNeedACurrentSlider)
{
    Make(std::vector<Slider>(3, Slider{0, 100, 50, 4}), 1, 300, 200, 20.0f);
    EXPECT_EQ(m_bar->OnKeyMessage(WM_KEYDOWN, m_bar->m_window, VK_UP, 0), S_FALSE);
    const POINT centre = ThumbCentre(0);
    Send(WM_LBUTTONDOWN, centre.x, centre.y, MK_LBUTTON);
    Send(WM_LBUTTONUP, centre.x, centre.y);
    Key(WM_KEYDOWN, VK_LEFT);
    EXPECT_EQ(m_bar->m_current_slider, 2);
    Key(WM_KEYDOWN, VK_RIGHT);
    EXPECT_EQ(m_bar->m_current_slider, 0);
}

TEST_F(TrackbarTest, EnterTogglesEscapeRestoresAndDisabledSlidersOnlyTakeTheDefault)
{
    constexpr uint32_t checkable = Trackbar::StateCheckable;
    Make({Slider{0, 100, 50, 3, checkable, 10}, Slider{0, 100, 50, 3, Trackbar::StateDisabled, 10}}, 1, 200, 200,
         20.0f);
    POINT centre = ThumbCentre(0);
    Send(WM_LBUTTONDOWN, centre.x, centre.y + 30, MK_LBUTTON);
    Send(WM_LBUTTONUP, centre.x, centre.y + 30);
    Key(WM_CHAR, 13);
    EXPECT_EQ(State(0), checkable | Trackbar::StateChecked);
    Key(WM_KEYDOWN, VK_PRIOR);
    EXPECT_EQ(Value(0), 50.0f);
    Key(WM_CHAR, 32);
    EXPECT_EQ(State(0), checkable);
    Key(WM_CHAR, 27);
    EXPECT_EQ(Value(0), 10.0f);
    EXPECT_EQ(Notices(), (std::vector<WPARAM>{0x100003, 0x100003, 0x100003}));

    centre = ThumbCentre(1);
    Send(WM_LBUTTONDOWN, centre.x, centre.y + 30, MK_LBUTTON);
    Send(WM_LBUTTONUP, centre.x, centre.y + 30);
    Key(WM_CHAR, 27);
    EXPECT_EQ(Value(1), 10.0f);
    EXPECT_TRUE(Notices(true).empty());
}

TEST(TrackbarText, ValueTexts)
{
    struct Case
    {
        float value, minimum, defaultValue;
        bool disabled;
        const char* text;
    };
    const Case cases[] = {
        {5, -10, 0, false, "+5 "}, {-5, -10, 0, false, "-5 "}, {0, -10, 0, false, "0 "},
        {10, 0, 0, false, "10 "},  {10.4f, 0, 20, false, "-10 "}, {7, 0, 0, true, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Trackbar::FormatValueText(c.value, c.minimum, c.defaultValue, c.disabled), c.text);
}

TEST(TrackbarState, ToggleFlipsOnlyCheckableSlidersThatAreNotDisabled)
{
    struct Case
    {
        uint32_t in, out;
        bool flipped;
    };
    for (const Case& c : {Case{1, 0x10000001, true}, Case{0x10000001, 1, true}, Case{0, 0, false},
                          Case{0x20000001, 0x20000001, false}}) {
        uint32_t state = c.in;
        EXPECT_EQ(Trackbar::ToggleCheckedState(state), c.flipped);
        EXPECT_EQ(state, c.out);
    }
}

} // namespace

namespace {

// Skins of one colour each, in a folder of their own.
class SkinFolder
{
public:
    void Add(const std::string& name, uint32_t rgb, int32_t side = 8)
    {
        m_folder.WriteFile(name, MakeBmp32(side, side, std::vector<uint32_t>(static_cast<size_t>(side) * side, rgb), true));
    }
    const std::string& Path() const { return m_folder.Path(); }

private:
    TempFolder m_folder;
};

struct Mean
{
    double red = 0, green = 0, blue = 0;
};

// Means of the three planes of the buffer over the rectangle.
Mean MeanOf(const InfoGeneralBufferForUserInterface2& buffer, const RECT& area)
{
    Mean mean;
    int count = 0;
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x) {
            const size_t at = static_cast<size_t>(y) * buffer.m_byte_stride / 2 + static_cast<size_t>(x);
            mean.red += buffer.m_rgb_buffers.GetElement(0)[at];
            mean.green += buffer.m_rgb_buffers.GetElement(1)[at];
            mean.blue += buffer.m_rgb_buffers.GetElement(2)[at];
            ++count;
        }
    mean.red /= count;
    mean.green /= count;
    mean.blue /= count;
    return mean;
}

TEST_F(TrackbarTest, PictureShowsThumbsShadingCheckedAndDisabledLooks)
{
    // The stencils let the cell colours through and halve the cell under a thumb.
    SkinFolder skins;
    const std::pair<const char*, uint32_t> skinColours[] = {{"back.bmp", 0x404040},    {"cell.bmp", 0},
                                                            {"stencil.bmp", 0x404040},       {"checked.bmp", 0x808080},
                                                            {"thumbskin.bmp", 0x404040}, {"face.bmp", 0}};
    for (const auto& [name, colour] : skinColours)
        skins.Add(name, colour);
    skins.Add("thumb.bmp", 0xC80000);
    constexpr uint32_t checkable = Trackbar::StateCheckable;
    std::vector<Slider> sliders = {Slider{0, 100, 20}, Slider{0, 100, 80},
                                   Slider{0, 100, 50, 0, checkable | Trackbar::StateChecked},
                                   Slider{0, 100, 50, 0, Trackbar::StateDisabled}};
    Make(sliders, 1, 400, 200, 0.2f);
    for (int32_t i = 0; i < 4; ++i)
        m_bar->m_elements.GetElement(i).Field(Trackbar::FieldThumbPicture).SetText("thumb.bmp");
    ASSERT_EQ(m_bar->SetOptimCPU(4), S_OK);
    GDIListUserInterface2 colours = MakeList(std::vector<InfoGDIUserInterface2>(2));
    colours.GetElement(0).m_color = RGB(200, 0, 0);
    colours.GetElement(1).m_color = RGB(0, 90, 0);
    const IndexListUserInterface2 entries = MakeIndexList({76, 77});
    m_bar->UpdateGDIInfoForObject(&colours, &entries, 2);
    ASSERT_EQ(m_bar->SetTextVarForObject(1, skins.Path().c_str()), S_OK);
    TypedValueListUserInterface2 names = MakeList(std::vector<InfoTypedValueUserInterface2>(6));
    int k = 0;
    for (const auto& skin : skinColours)
        names.GetElement(k++).SetText(skin.first);
    const IndexListUserInterface2 indexes = MakeIndexList({0, 1, 2, 3, 4, 5});
    ASSERT_EQ(m_bar->UpdateGeneralInfoForObject(0, &names, &indexes, 6), S_OK);

    InfoGeneralBufferForUserInterface2* final = nullptr;
    InfoGeneralBufferForUserInterface2* shown = nullptr;
    ASSERT_EQ(m_bar->FinalizeFinallBufferReal(&final, &shown, 1000), S_OK);
    ASSERT_NE(final, nullptr);
    InfoGeneralBufferForUserInterface2 picture;
    ASSERT_EQ(m_bar->GetBufferFromIndex(Trackbar::FinalBuffer, &picture), S_OK);
    ASSERT_EQ(picture.m_width_element, 400);

    RECT thumb0 = {};
    m_bar->GetPosThumbFromValue(0, 20, &thumb0);
    EXPECT_GT(MeanOf(picture, thumb0).red, MeanOf(picture, {10, 10, 90, 60}).red + 50);
    // Shading: the blue of a cell grows with its value.
    EXPECT_GT(MeanOf(picture, {110, 80, 190, 120}).blue, MeanOf(picture, {10, 80, 90, 120}).blue + 30);
    // The checked look adds its red, the disabled look its green over the cell.
    const Mean plain = MeanOf(picture, {110, 150, 190, 190});
    EXPECT_GT(MeanOf(picture, {210, 150, 290, 190}).red, plain.red + 40);
    EXPECT_GT(MeanOf(picture, {310, 150, 390, 190}).green, plain.green + 40);

    // Nothing changed: the next cycle composes nothing.
    ASSERT_EQ(m_bar->FinalizeFinallBufferReal(&final, &shown, 1020), S_OK);
    EXPECT_EQ(final, nullptr);
}

TEST_F(TrackbarTest, DefaultSkinsLoadWithTheirSizes)
{
    Make({Slider{1, 101, 51}}, 1, 80, 196, 58.0f, 0.8f);
    m_bar->m_elements.GetElement(0).Field(Trackbar::FieldThumbPicture).SetText("CorrectImageTrackbarSliderBright.bmp");
    ASSERT_EQ(m_bar->SetOptimCPU(4), S_OK);
    ASSERT_EQ(m_bar->SetTextVarForObject(1, DefaultSkinFolder().c_str()), S_OK);
    const char* const skins[] = {"CorrectImageTrackbarBackground.bmp",        "CorrectImageTrackbarForground.bmp",
                                 "CorrectImageTrackbarBackgroundStencil.bmp", "CorrectImageTrackbarGenerateStencil.bmp",
                                 "CorrectImageTrackbarSliderStencil.bmp",     "CorrectImageTrackbarForgroundStencil.bmp"};
    TypedValueListUserInterface2 names = MakeList(std::vector<InfoTypedValueUserInterface2>(6));
    for (uint32_t i = 0; i < 6; ++i)
        names.GetElement(i).SetText(skins[i]);
    const IndexListUserInterface2 indexes = MakeIndexList({0, 1, 2, 3, 4, 5});
    ASSERT_EQ(m_bar->UpdateGeneralInfoForObject(0, &names, &indexes, 6), S_OK);
    for (const auto& [buffer, width, height] :
         {std::tuple{160, 40, 196}, {162, 40, 196}, {164, 40, 196}, {166, 40, 196}, {168, 30, 58}, {170, 40, 196},
          {96, 30, 58}}) {
        EXPECT_EQ(m_bar->m_array_general_buffers.GetElement(buffer).m_width_element, width) << buffer;
        EXPECT_EQ(m_bar->m_array_general_buffers.GetElement(buffer).m_height_element, height) << buffer;
    }
}

} // namespace

namespace {

// The brightening of a thumb follows how far its glow is below the upper bound; bounds that leave
// no span brighten nothing instead of dividing by zero.
TEST_F(TrackbarTest, ThumbBrighteningFollowsTheGlowAndIsNeutralWithoutABoundSpan)
{
    struct Case
    {
        int32_t lower, upper;
        float factor;
    };
    for (const Case& c : {Case{4, 14, 79.0f}, Case{14, 14, 64.0f}, Case{16, 12, 64.0f}}) {
        Make({Slider{0, 100, 50}}, 1, 60, 200, 20.0f);
        m_bar->m_elements.GetElement(0).Field(8).SetInt(c.lower);
        m_bar->m_elements.GetElement(0).Field(9).SetInt(c.upper);
        ASSERT_EQ(m_bar->SetOptimCPU(4), S_OK);
        ASSERT_EQ(m_bar->SetTextVarForObject(1, "folder"), S_OK);
        InfoGeneralBufferForUserInterface2* final = nullptr;
        InfoGeneralBufferForUserInterface2* shown = nullptr;
        CTimeServer clock;
        ASSERT_EQ(m_bar->FinalizeFinallBufferReal(&final, &shown, clock.GetTime()), S_OK);
        const float factor = m_bar->m_actions.GetElement(43).m_params_a[0][0];
        EXPECT_TRUE(std::isfinite(factor));
        EXPECT_EQ(factor, c.factor) << c.lower << " " << c.upper;
    }
}

} // namespace

namespace {

std::vector<int16_t> Planes(const InfoGeneralBufferForUserInterface2& buffer)
{
    std::vector<int16_t> samples;
    for (uint32_t plane = 0; plane < 3; ++plane)
        for (int32_t y = 0; y < buffer.m_height_element; ++y) {
            const int16_t* row = buffer.m_rgb_buffers.GetElement(plane) + y * buffer.m_byte_stride / 2;
            samples.insert(samples.end(), row, row + buffer.m_width_element);
        }
    return samples;
}

// A drag recomposes only its slider's cell; the picture is the same as one composed whole.
TEST_F(TrackbarTest, MovedSliderRecomposedAloneGivesTheWholePicture)
{
    Make({Slider{1, 101, 51, 3}, Slider{1, 101, 20}, Slider{1, 101, 80, 0, Trackbar::StateDisabled}}, 1, 240, 196,
         58.0f, 0.8f);
    for (int32_t i = 0; i < 3; ++i)
        m_bar->m_elements.GetElement(i).Field(Trackbar::FieldThumbPicture).SetText("CorrectImageTrackbarSliderHue.bmp");
    ASSERT_EQ(m_bar->SetOptimCPU(4), S_OK);
    ASSERT_EQ(m_bar->SetTextVarForObject(1, DefaultSkinFolder().c_str()), S_OK);
    const char* const skins[] = {"CorrectImageTrackbarBackground.bmp",        "CorrectImageTrackbarForground.bmp",
                                 "CorrectImageTrackbarBackgroundStencil.bmp", "CorrectImageTrackbarGenerateStencil.bmp",
                                 "CorrectImageTrackbarSliderStencil.bmp",     "CorrectImageTrackbarForgroundStencil.bmp"};
    TypedValueListUserInterface2 names = MakeList(std::vector<InfoTypedValueUserInterface2>(6));
    for (uint32_t i = 0; i < 6; ++i)
        names.GetElement(i).SetText(skins[i]);
    const IndexListUserInterface2 indexes = MakeIndexList({0, 1, 2, 3, 4, 5});
    ASSERT_EQ(m_bar->UpdateGeneralInfoForObject(0, &names, &indexes, 6), S_OK);
    InfoGeneralBufferForUserInterface2* final = nullptr;
    InfoGeneralBufferForUserInterface2* shown = nullptr;
    ASSERT_EQ(m_bar->FinalizeFinallBufferReal(&final, &shown, 1000), S_OK);
    ASSERT_NE(final, nullptr);

    const POINT centre = ThumbCentre(0);
    Send(WM_LBUTTONDOWN, centre.x, centre.y, MK_LBUTTON);
    Send(WM_MOUSEMOVE, centre.x, centre.y + 30, MK_LBUTTON);
    Send(WM_LBUTTONUP, centre.x, centre.y + 30);
    ASSERT_NE(Value(0), 51.0f);
    ASSERT_EQ(m_bar->FinalizeFinallBufferReal(&final, &shown, 1000), S_OK);
    ASSERT_NE(final, nullptr);
    const std::vector<int16_t> moved = Planes(*final);

    ASSERT_EQ(m_bar->RebuildObject(), S_OK);
    ASSERT_EQ(m_bar->FinalizeFinallBufferReal(&final, &shown, 1000), S_OK);
    ASSERT_NE(final, nullptr);
    EXPECT_TRUE(Planes(*final) == moved);
}

} // namespace
