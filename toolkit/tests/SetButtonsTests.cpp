// The button set: its window class, layout, reference button, the application's state words,
// looks of hovered, pressed and disabled buttons, the glass and an idle set.
#include "SetButtonsObjectUserInterface2.h"

#include "LogCapture.h"
#include "ManualTestClock.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"
#include "TestWidget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>

namespace {

using Buttons = SetButtonsObjectUserInterface2;

class TestButtons : public Buttons
{
public:
    using Buttons::Buttons;
    using Buttons::m_array_general_buffers;
    using Buttons::m_elements;
    using Buttons::m_style_flags;
    using Buttons::m_window;
};

struct Button
{
    float size = 1.0f;
    uint32_t state = 0;
    int32_t command = 0;
};

const char* const SkinNames[] = {"background.bmp", "cursor.bmp",         "pressed.bmp",       "disabled.bmp",
                                 "cursorstencil.bmp", "pressedstencil.bmp", "disabledstencil.bmp"};
const uint32_t SkinColours[] = {0x303030, 0x0000C0, 0xC00000, 0x00C000, 0x808080, 0x808080, 0x808080};

class SetButtonsTest : public testing::Test
{
protected:
    void Make(const std::vector<Button>& buttons, uint32_t style, int32_t width, int32_t height)
    {
        std::vector<InfoElementUserInterface2> elements;
        for (const Button& button : buttons) {
            InfoElementUserInterface2 element = MakeElement(0, 0, 0, 0, button.command, button.state);
            element.Field(Buttons::FieldSize).SetFloat(button.size);
            element.Field(Buttons::FieldFace).SetText("face.bmp");
            element.Field(Buttons::FieldSecond).SetText("second.bmp");
            element.Field(Buttons::FieldThird).SetText("third.bmp");
            element.Field(Buttons::FieldCaption).SetText("");
            elements.push_back(element);
        }
        m_set = std::make_unique<TestButtons>(MakeElementList(elements), static_cast<int32_t>(elements.size()), style,
                                              "buttons under test", nullptr);
        ASSERT_EQ(m_set->CreateObject(), S_OK);
        KillTimer(m_set->m_window, reinterpret_cast<UINT_PTR>(m_set.get()));
        m_set->SetWindow(1, m_recorder.Handle());
        m_set->MoveObject(0, 0, width, height);
    }

    // Skins, the buttons' bitmaps and the processor mode, if one is told: a set that draws.
    void Dress(std::optional<uint32_t> mode = 4)
    {
        for (int i = 0; i < 7; ++i)
            AddSkin(SkinNames[i], SkinColours[i]);
        AddSkin("face.bmp", 0x606060);
        AddSkin("second.bmp", 0x404040);
        AddSkin("third.bmp", 0x808080);
        if (mode.has_value()) {
            ASSERT_EQ(m_set->SetOptimCPU(*mode), S_OK);
        }
        ASSERT_EQ(m_set->SetTextVarForObject(1, m_folder.Path().c_str()), S_OK);
        TypedValueListUserInterface2 names = MakeList(std::vector<InfoTypedValueUserInterface2>(7));
        for (int i = 0; i < 7; ++i)
            names.GetElement(i).SetText(SkinNames[i]);
        const IndexListUserInterface2 indexes = MakeIndexList({0, 1, 2, 3, 4, 5, 6});
        ASSERT_EQ(m_set->UpdateGeneralInfoForObject(0, &names, &indexes, 7), S_OK);
    }

    void AddSkin(const char* name, uint32_t rgb)
    {
        m_folder.WriteFile(name, MakeBmp32(8, 8, std::vector<uint32_t>(64, rgb), true));
    }

    InfoRectUserInterface2 Rect(int32_t index)
    {
        return m_set->m_elements.GetElement(index).Field(InfoElementUserInterface2::FieldRect).m_value.m_rect;
    }

    // Runs the drawing program at the clock's time as a tick does; whether a picture came out.
    bool Draw()
    {
        CTimeServer clock;
        const uint64_t now = clock.GetTime();
        InfoGeneralBufferForUserInterface2* final = nullptr;
        InfoGeneralBufferForUserInterface2* shown = nullptr;
        EXPECT_EQ(m_set->FinalizeFinallBufferReal(&final, &shown, now), S_OK);
        m_set->CycleAfterFinalize(m_set->m_window, 0, 0, now, 0);
        return final != nullptr;
    }

    // Mean of the three planes of the final picture over button index.
    double Brightness(int32_t index, uint32_t plane)
    {
        const InfoGeneralBufferForUserInterface2& final = m_set->m_array_general_buffers.GetElement(Buttons::FinalBuffer);
        const InfoRectUserInterface2 rect = Rect(index);
        double sum = 0;
        for (int32_t y = rect.m_top + 2; y < rect.m_top + rect.m_height - 2; ++y)
            for (int32_t x = rect.m_left + 2; x < rect.m_left + rect.m_width - 2; ++x)
                sum += final.m_rgb_buffers.GetElement(plane)[y * final.m_byte_stride / 2 + x];
        return sum / ((rect.m_width - 4) * (rect.m_height - 4));
    }

    std::vector<SWORD> FinalPicture()
    {
        const InfoGeneralBufferForUserInterface2& final = m_set->m_array_general_buffers.GetElement(Buttons::FinalBuffer);
        std::vector<SWORD> words;
        for (uint32_t plane = 0; plane < 3; ++plane)
            for (int32_t y = 0; y < final.m_height_element; ++y) {
                const SWORD* row = final.m_rgb_buffers.GetElement(plane) + y * final.m_byte_stride / 2;
                words.insert(words.end(), row, row + final.m_width_element);
            }
        return words;
    }

    TempFolder m_folder;
    MessageRecorder m_recorder;
    std::unique_ptr<TestButtons> m_set;
};

TEST_F(SetButtonsTest, RegistersItsWindowClassWithDoubleClicks)
{
    Make({Button{}}, 2, 100, 40);
    char name[128] = {};
    GetClassNameA(m_set->m_window, name, sizeof(name));
    EXPECT_STREQ(name, "OJV::UserInterface2::SetButtonsObjectUserInterface2::24.10.2006");
    EXPECT_NE(GetClassLongPtrA(m_set->m_window, GCL_STYLE) & CS_DBLCLKS, 0u);
}

TEST_F(SetButtonsTest, LayoutSharesFixedSizesAndOrientations)
{
    struct Case
    {
        const char* name;
        std::vector<Button> buttons;
        uint32_t style;
        std::vector<int32_t> lengths;
        uint32_t orientation;
    };
    const Case cases[] = {
        {"three halves are thirds", {Button{0.5f}, Button{0.5f}, Button{0.5f}}, 2, {100, 100, 100}, 2},
        {"40 pixels and the rest", {Button{40.0f}, Button{0.5f}, Button{0.5f}}, 2, {40, 130, 130}, 2},
        {"all shares zero", {Button{0.0f}, Button{0.0f}}, 2, {1, 1}, 2},
        {"orientation 7 is side by side", {Button{0.5f}, Button{0.5f}}, 7, {150, 150}, 2},
        {"stacked", {Button{20.0f}, Button{1.0f}}, 1, {20, 40}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(c.buttons, c.style, 300, 60);
        EXPECT_EQ(m_set->m_style_flags & 0xFF, c.orientation);
        int32_t pos = 0;
        for (size_t i = 0; i < c.lengths.size(); ++i) {
            const InfoRectUserInterface2 rect = Rect(static_cast<int32_t>(i));
            const bool stacked = c.orientation == 1;
            EXPECT_EQ(stacked ? rect.m_top : rect.m_left, pos);
            EXPECT_EQ(stacked ? rect.m_height : rect.m_width, c.lengths[i]);
            EXPECT_EQ(stacked ? rect.m_width : rect.m_height, stacked ? 300 : 60);
            pos += c.lengths[i] == 1 ? 0 : c.lengths[i];
        }
    }
    // Shares are written back normalised.
    Make({Button{0.5f}, Button{0.5f}, Button{0.5f}}, 2, 300, 60);
    EXPECT_FLOAT_EQ(m_set->m_elements.GetElement(1).Field(Buttons::FieldSize).m_value.m_float, 1.0f / 3.0f);
}

TEST_F(SetButtonsTest, ReferenceButtonIsTheFirstWithoutExcludingBitsElseTheLast)
{
    struct Case
    {
        std::vector<uint32_t> states;
        int32_t reference;
    };
    const Case cases[] = {
        {{0x2, 0x100, 0, 0}, 2}, {{0x200, 0x10000000}, 1}, {{0x2, 0x100, 0x200}, 2}, {{0x20000000, 0}, 0},
    };
    for (const Case& c : cases) {
        std::vector<Button> buttons;
        for (uint32_t state : c.states)
            buttons.push_back(Button{0.25f, state});
        Make(buttons, 2, 200, 40);
        EXPECT_EQ(m_set->ReferenceButton(), c.reference);
    }
}

TEST_F(SetButtonsTest, ApplicationStateWordsDecideReportsAndChecks)
{
    struct Case
    {
        uint32_t state;
        bool reported;
        uint32_t after;
    };
    constexpr uint32_t checked = Buttons::StateChecked, disabled = Buttons::StateDisabled;
    const Case cases[] = {
        {0x200, true, 0x200},
        {0x205, true, 0x205 | checked},
        {0x600, true, 0x600},
        {0x601, true, 0x601 | checked},
        {0x605, true, 0x605 | checked},
        {0x200 | checked, true, 0x200 | checked},
        {0x601 | checked, true, 0x601},
        {0x605 | checked, true, 0x605 | checked},
        {0x200 | disabled, false, 0x200 | disabled},
        {0x601 | disabled, false, 0x601 | disabled},
        {0x605 | disabled, false, 0x605 | disabled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.state);
        Make({Button{0.5f, c.state, 31}, Button{0.5f, 0, 32}}, 2, 200, 40);
        m_recorder.Received();
        m_recorder.Clear();
        SendMessageA(m_set->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
        SendMessageA(m_set->m_window, WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
        const std::vector<MessageRecorder::Message>& received = m_recorder.Received();
        ASSERT_EQ(received.size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(LOWORD(received[0].m_wparam), 31);
        }
        EXPECT_EQ(m_set->m_elements.GetElement(0).GetStateWord(), c.after);
    }
}

TEST_F(SetButtonsTest, FixedSizesPastTheWidgetWriteNothingOutsideThePicture)
{
    LogCapture log;
    Make({Button{200.0f}, Button{200.0f}, Button{200.0f}}, 2, 300, 40);
    Dress();
    ASSERT_TRUE(Draw());
    EXPECT_FALSE(log.Contains("loc_offset_in_dest"));
    const InfoGeneralBufferForUserInterface2& final = m_set->m_array_general_buffers.GetElement(Buttons::FinalBuffer);
    EXPECT_EQ(final.m_width_element, 300);
    // The second button is cut at the widget's edge, the third lies wholly outside.
    EXPECT_EQ(m_set->m_array_general_buffers.GetElement(176 + 1).m_width_element, 100);
    EXPECT_EQ(m_set->m_array_general_buffers.GetElement(176 + 2).m_width_element, 1);
}

TEST_F(SetButtonsTest, HoveredPressedAndDisabledButtonsLookUnlikePlainOnes)
{
    ManualTestClock clock;
    Make({Button{0.25f}, Button{0.25f}, Button{0.25f}, Button{0.25f, Buttons::StateDisabled}}, 2, 400, 60);
    Dress();
    ASSERT_TRUE(Draw());
    // Button 2 pressed, then the mouse over button 1 with the button still down.
    SendMessageA(m_set->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 30));
    SendMessageA(m_set->m_window, WM_MOUSEMOVE, 0, MAKELPARAM(150, 30));
    for (int step = 0; step < 10; ++step) {
        clock.Advance(50);
        Draw();
    }

    const double plain[] = {Brightness(0, 0), Brightness(0, 1), Brightness(0, 2)};
    // Cursor look blue, pressed red, disabled green.
    EXPECT_GT(Brightness(1, 2), plain[2] + 40);
    EXPECT_GT(Brightness(2, 0), plain[0] + 40);
    EXPECT_GT(Brightness(3, 1), plain[1] + 40);
}

TEST_F(SetButtonsTest, GlassMovesOnlyWithItsStyleBit)
{
    for (const uint32_t style : {2u, 2u | Buttons::StyleGlass}) {
        ManualTestClock clock;
        Make({Button{0.5f}, Button{0.5f}}, style, 200, 60);
        Dress();
        ASSERT_TRUE(Draw());
        clock.Advance(500);
        const bool drew = Draw();
        EXPECT_EQ(drew, (style & Buttons::StyleGlass) != 0) << style;
    }
}

TEST_F(SetButtonsTest, IdleSetMarksNoBuffer)
{
    ManualTestClock clock;
    Make({Button{0.5f}, Button{0.5f}}, 2, 200, 60);
    Dress();
    ASSERT_TRUE(Draw());
    for (int tick = 0; tick < 3; ++tick) {
        clock.Advance(50);
        EXPECT_FALSE(Draw());
    }
    for (uint32_t i = 0; i < m_set->m_array_general_buffers.GetCount(); ++i)
        ASSERT_EQ(m_set->m_array_general_buffers.GetElement(i).IsChanged(), 0u) << i;
}

// The toolbar makes its sets before their windows exist, so they never hear of a mode: such a set
// draws its skins as one told its default mode 1.
TEST_F(SetButtonsTest, SetNeverToldItsModeDrawsAsModeOne)
{
    std::vector<SWORD> pictures[2];
    for (const bool told : {false, true}) {
        Make({Button{0.5f}, Button{0.5f}}, 2, 200, 60);
        Dress(told ? std::optional<uint32_t>(1) : std::nullopt);
        ASSERT_TRUE(Draw());
        EXPECT_GT(Brightness(0, 0), 40) << told;
        pictures[told ? 1 : 0] = FinalPicture();
    }
    EXPECT_EQ(pictures[0], pictures[1]);
}

} // namespace
