// The toolbar: its window, its registered operations driven from another thread, its language
// table and its destruction.
#include "DefaultSkinFolder.h"
#include "LogCapture.h"
#include "ObjectToolbar1.h"
#include "PageTestSupport.h"
#include "SetButtonsObjectUserInterface2.h"
#include "TestWidget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

const char* const g_expectedNames[] = {
    "GWM_RefreshUserInterfaceForButton1Objects_ToolbarObject1,       D.U.R.M.I.X., 27.01.2004-16.38.00",
    "GWM_RefreshStateUsingMultyMonitors_ToobarObject1,               D.U.R.M.I.X., 22.08.2004-13.44.00",
    "GWM_RefreshTextForID_ToobarObject1,                             D.U.R.M.I.X., 23.09.2004-18.08.00",
    "GWM_SetOptimizationCPU_ToobarObject1,                           D.U.R.M.I.X., 26.06.2005-08.00.00",
    "GWM_UpdateSizeWindow_ToobarObject1,                             D.U.R.M.I.X., 21.06.2006-08.00.00",
    "GWM_ShowExtPanel_ToobarObject1,                                 D.U.R.M.I.X., 21.06.2006-09.00.00",
    "GWM_SetMessageHWND_ToobarObject1,                               D.U.R.M.I.X., 24.06.2006-12.00.00",
    "GWM_GetHWND_ToobarObject1,                                      D.U.R.M.I.X., 24.06.2006-13.00.00",
    "GWM_UpdateTextVarForToolbarObject_ToobarObject1,                D.U.R.M.I.X., 24.06.2006-14.00.00",
    "GWM_UpdateStatusButtonForToolbarObject_ToobarObject1,           D.U.R.M.I.X., 28.06.2006-16.00.00",
};
constexpr uint32_t RowUpdateSizeWindow = 4;

std::unique_ptr<ObjectToolbar1> MakeToolbar(HWND parent = nullptr)
{
    return std::make_unique<ObjectToolbar1>(parent, nullptr, nullptr, nullptr, 0, 0, 0);
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

ObjectLanguage1 MakeEntry(int32_t identifier, std::initializer_list<std::pair<uint32_t, const char*>> texts)
{
    ObjectLanguage1 entry;
    entry.m_identifier = identifier;
    for (const auto& [language, text] : texts)
        entry.SetText(language, text);
    return entry;
}

TEST(Toolbar, WindowOfItsClassIsAChildOfALiveParentElseAPopup)
{
    MessageRecorder parent;
    const struct
    {
        HWND parent;
        DWORD kind;
    } cases[] = {{parent.Handle(), WS_CHILD}, {nullptr, WS_POPUP}, {reinterpret_cast<HWND>(0x1234), WS_POPUP}};
    for (const auto& each : cases) {
        auto toolbar = MakeToolbar(each.parent);
        HWND window = toolbar->GetHWNDReal();
        ASSERT_TRUE(IsWindow(window));
        char className[128] = {};
        GetClassNameA(window, className, sizeof(className));
        EXPECT_STREQ("D.U.R.M.I.X.::ToolbarWindowClass::DURMIX::Harbury 2006", className);
        const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
        EXPECT_EQ(each.kind | WS_VISIBLE, style & (WS_CHILD | WS_POPUP | WS_VISIBLE));
        if (each.kind == WS_CHILD) {
            EXPECT_EQ(each.parent, GetParent(window));
        }
    }
}

TEST(Toolbar, TakesItsTenOperationsByTheirRegisteredNames)
{
    auto toolbar = MakeToolbar();
    for (uint32_t row = 0; row < std::size(g_expectedNames); ++row) {
        bool handled = false;
        toolbar->CompliteStandartMessage(nullptr, RegisterWindowMessageA(g_expectedNames[row]), 0, 0, &handled);
        EXPECT_TRUE(handled) << g_expectedNames[row];
    }
}

TEST(Toolbar, DispatchRefusesMissingFlagsRecordsAndRecordsOfAnotherName)
{
    auto toolbar = MakeToolbar();
    HWND window = toolbar->GetHWNDReal();
    ASSERT_EQ(S_OK, toolbar->UpdateSizeWindowReal(10, 20, 10, 100, 10, 100, 100));
    const RECT before = WindowRect(window);
    const UINT sizeMessage = RegisterWindowMessageA(g_expectedNames[RowUpdateSizeWindow]);
    MessageInfoGeneralForToolbarObject sizes;
    sizes.m_x = 300;
    MessageInfoUpdateTextVarForToolbarObject other;
    const struct
    {
        WPARAM record;
        HRESULT answer;
    } cases[] = {{0, E_UNEXPECTED}, {reinterpret_cast<WPARAM>(&other), E_UNEXPECTED}};
    for (const auto& each : cases) {
        bool handled = false;
        EXPECT_EQ(each.answer, toolbar->CompliteStandartMessage(window, sizeMessage, each.record, 0, &handled));
        EXPECT_TRUE(handled);
    }
    const RECT after = WindowRect(window);
    EXPECT_TRUE(EqualRect(&before, &after));

    EXPECT_EQ(E_UNEXPECTED, toolbar->CompliteStandartMessage(window, sizeMessage, 0, 0, nullptr));
    bool alreadyHandled = true;
    EXPECT_EQ(S_FALSE, toolbar->CompliteStandartMessage(window, sizeMessage, reinterpret_cast<WPARAM>(&sizes), 0,
                                                        &alreadyHandled));
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(Toolbar, PassesOnARegisteredMessageOfAnotherObject)
{
    auto toolbar = MakeToolbar();
    const UINT foreign = RegisterWindowMessageA("GWM_SomeOtherOperation_OtherObject1, Korvane tests");
    bool handled = false;
    EXPECT_EQ(S_FALSE, toolbar->CompliteStandartMessage(toolbar->GetHWNDReal(), foreign, 0, 0, &handled));
    EXPECT_FALSE(handled);
    EXPECT_EQ(0, SendMessageA(toolbar->GetHWNDReal(), foreign, 1, 2));
    EXPECT_TRUE(IsWindow(toolbar->GetHWNDReal()));
}

TEST(Toolbar, OperationsFromAnotherThreadRunOnTheToolbarsThread)
{
    auto toolbar = MakeToolbar();
    HWND window = toolbar->GetHWNDReal();
    HWND reported = nullptr;
    HRESULT sized = E_FAIL, kept = E_FAIL, textSet = E_FAIL, badText = E_FAIL;
    RunOnOtherThreadWhilePumping([&] {
        reported = toolbar->GetHWND();
        sized = toolbar->UpdateSizeWindow(40, 30, 12, 150, 20, 90, 60);
        kept = toolbar->UpdateSizeWindow(-1, 5, -1, 200, -1, -1, -1);
        textSet = toolbar->UpdateTextVarForToolbarObject(3, "toolbar text");
        badText = toolbar->UpdateTextVarForToolbarObject(16, "lost");
    });
    EXPECT_EQ(window, reported);
    EXPECT_EQ(S_OK, sized);
    EXPECT_EQ(S_OK, kept);
    const RECT rect = WindowRect(window);
    EXPECT_EQ(40, rect.left);
    EXPECT_EQ(30, rect.top);
    EXPECT_EQ(150, rect.right - rect.left);
    EXPECT_EQ(32, rect.bottom - rect.top);
    EXPECT_NE(0, GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(S_OK, textSet);
    EXPECT_STREQ("toolbar text", toolbar->GetText(3));
    EXPECT_EQ(E_UNEXPECTED, badText);
}

TEST(Toolbar, LargerOfTheTwoWidthsAndTheSumOfTheHeightsSizeTheWindow)
{
    auto toolbar = MakeToolbar();
    ASSERT_EQ(S_OK, toolbar->UpdateSizeWindowReal(0, 0, 25, 80, 15, 130, 40));
    const RECT rect = WindowRect(toolbar->GetHWNDReal());
    EXPECT_EQ(130, rect.right - rect.left);
    EXPECT_EQ(40, rect.bottom - rect.top);
}

// The element of a set, read through the toolbar.
InfoElementUserInterface2 ButtonOf(ObjectToolbar1& toolbar, int32_t set, int32_t element)
{
    ElementListUserInterface2 elements = MakeElementList({InfoElementUserInterface2()});
    EXPECT_EQ(S_OK, toolbar.UpdateStatusButtonForToolbarObjectReal(0, set, element, &elements));
    return elements.GetElement(0);
}

std::string Caption(const InfoElementUserInterface2& element)
{
    return element.Field(SetButtonsObjectUserInterface2::FieldCaption).m_value.m_text.GetString();
}

TEST(Toolbar, ButtonOperationsReachTheElementsOfEitherSetAndRefuseOtherPlaces)
{
    auto toolbar = MakeToolbar();
    EXPECT_EQ(3000, ButtonOf(*toolbar, 0, 0).Field(InfoElementUserInterface2::FieldCommand).m_value.m_int);
    EXPECT_EQ(3103, ButtonOf(*toolbar, 1, 3).Field(InfoElementUserInterface2::FieldCommand).m_value.m_int);

    InfoElementUserInterface2 renamed = ButtonOf(*toolbar, 0, 2);
    renamed.Field(SetButtonsObjectUserInterface2::FieldCaption).SetText("renamed");
    ElementListUserInterface2 written = MakeElementList({renamed});
    HRESULT answer = E_FAIL;
    RunOnOtherThreadWhilePumping([&] { answer = toolbar->UpdateStatusButtonForToolbarObject(1, 0, 2, &written); });
    EXPECT_EQ(S_OK, answer);
    EXPECT_EQ("renamed", Caption(ButtonOf(*toolbar, 0, 2)));

    ElementListUserInterface2 elements = MakeElementList({MakeElement(0, 0, 10, 10)});
    for (auto [set, element] : {std::pair{-1, 0}, std::pair{0, -1}, std::pair{2, 0}})
        EXPECT_EQ(E_UNEXPECTED, toolbar->UpdateStatusButtonForToolbarObject(1, set, element, &elements))
            << set << "," << element;
}

TEST(Toolbar, FontEntriesReachBothSetsAndThePanelAndTheTextBecomesTextOne)
{
    auto toolbar = MakeToolbar();
    InfoGDIUserInterface2 entry;
    entry.m_color = RGB(1, 2, 3);
    const GDIListUserInterface2 fonts = MakeList<InfoGDIUserInterface2>({entry});
    EXPECT_EQ(E_UNEXPECTED, toolbar->RefreshUserInterfaceForButton1Objects(nullptr, 1, "text"));
    EXPECT_EQ(E_UNEXPECTED, toolbar->RefreshUserInterfaceForButton1Objects(&fonts, 0, "text"));
    HRESULT answer = E_FAIL;
    RunOnOtherThreadWhilePumping([&] { answer = toolbar->RefreshUserInterfaceForButton1Objects(&fonts, 1, "text one"); });
    EXPECT_EQ(S_OK, answer);
    EXPECT_STREQ("text one", toolbar->GetText(1));
    for (BaseUserInterface* child : {toolbar->GetButtonSet(0), toolbar->GetButtonSet(1), toolbar->GetPanel()}) {
        ASSERT_NE(nullptr, child);
        EXPECT_EQ(RGB(1, 2, 3), WidgetState::Colour(*child, 0));
    }
}

TEST(Toolbar, RowsOfButtonsLieInTheToolbarAndThePanelOfSixFramedCellsOpensBesideIt)
{
    auto toolbar = MakeToolbar();
    HWND window = toolbar->GetHWNDReal();
    ASSERT_EQ(S_OK, toolbar->UpdateSizeWindowReal(100, 50, 40, 160, 30, 440, 200));
    const std::vector<HWND> children = ChildWindowsOf(window);
    ASSERT_EQ(2u, children.size());
    ASSERT_NE(nullptr, toolbar->GetButtonSet(0));
    ASSERT_NE(nullptr, toolbar->GetButtonSet(1));
    EXPECT_EQ((Position{0, 0, 440, 40}), PositionOf(*toolbar->GetButtonSet(0)));
    EXPECT_EQ((Position{0, 40, 160, 30}), PositionOf(*toolbar->GetButtonSet(1)));

    BaseUserInterface* panel = toolbar->GetPanel();
    ASSERT_NE(nullptr, panel);
    HWND panelWindow = panel->GetHWNDReal();
    EXPECT_EQ(6u, ChildWindowsOf(panelWindow).size());
    EXPECT_FALSE(IsWindowVisible(panelWindow));
    ASSERT_EQ(S_OK, toolbar->ShowExtPanelReal(1));
    EXPECT_TRUE(IsWindowVisible(panelWindow));
    EXPECT_EQ((Position{540, 50, 200, 70}), PositionOf(*panel));
    ASSERT_EQ(S_OK, toolbar->UpdateSizeWindowReal(20, 30, -1, -1, -1, -1, -1));
    EXPECT_EQ((Position{460, 30, 200, 70}), PositionOf(*panel));
    ASSERT_EQ(S_OK, toolbar->ShowExtPanelReal(0));
    EXPECT_FALSE(IsWindowVisible(panelWindow));
}

TEST(Toolbar, ProcessorModeAndMessageWindowReachBothSetsAndThePanel)
{
    auto toolbar = MakeToolbar();
    MessageRecorder receiver;
    HRESULT mode = E_FAIL, messages = E_FAIL;
    RunOnOtherThreadWhilePumping([&] {
        mode = toolbar->SetOptimizationCPU(2);
        messages = toolbar->SetMessageHWND(receiver.Handle());
    });
    EXPECT_EQ(S_OK, mode);
    EXPECT_EQ(S_OK, messages);
    for (BaseUserInterface* child : {toolbar->GetButtonSet(0), toolbar->GetButtonSet(1), toolbar->GetPanel()}) {
        ASSERT_NE(nullptr, child);
        EXPECT_EQ(2u, WidgetState::ProcessorMode(*child));
        EXPECT_EQ(receiver.Handle(), WidgetState::Related(*child, 1));
    }
}

// The sets and the panel are told the toolbar's mode once their windows exist (a mode told before
// fails), so they run its operation set from their creation and after each change.
TEST(Toolbar, SetsAndPanelRunTheOperationSetOfTheToolbarsMode)
{
    LogCapture log;
    auto toolbar = MakeToolbar();
    EXPECT_FALSE(log.Contains("SetOptimCPU"));
    struct Case
    {
        uint32_t mode;
        UnifSwordFunction copy;
    };
    const Case cases[] = {{1, CopyPlaneMaskedSWORD_mmx}, {4, CopyPlaneMaskedSWORD_sse2}, {1, CopyPlaneMaskedSWORD_mmx}};
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        if (!std::exchange(first, false)) {
            ASSERT_EQ(S_OK, toolbar->SetOptimizationCPU(c.mode));
        }
        for (BaseUserInterface* child : {toolbar->GetButtonSet(0), toolbar->GetButtonSet(1), toolbar->GetPanel()}) {
            ASSERT_NE(nullptr, child);
            EXPECT_EQ(c.mode, WidgetState::ProcessorMode(*child));
            EXPECT_EQ(c.copy, WidgetState::AlignedOperation(*child, 2));
        }
    }
}

TEST(Toolbar, HidingTheToolbarFreezesItsSetsAndShowingItShowsThem)
{
    auto toolbar = MakeToolbar();
    const struct
    {
        int command;
        int32_t shown, frozen;
    } steps[] = {{SW_HIDE, 0, 1}, {SW_SHOW, 1, 0}};
    for (const auto& step : steps) {
        ShowWindow(toolbar->GetHWNDReal(), step.command);
        for (int32_t set : {0, 1}) {
            EXPECT_EQ(step.shown, WidgetState::State(*toolbar->GetButtonSet(set), BaseUserInterface::StateShown));
            EXPECT_EQ(step.frozen, WidgetState::State(*toolbar->GetButtonSet(set), BaseUserInterface::StateFrozen));
        }
    }
}

TEST(Toolbar, TopRowShowsTheClockAsHoursMinutesSeconds)
{
    auto toolbar = MakeToolbar();
    const auto isClock = [](const std::string& text) {
        return text.size() == 8 && text[2] == ':' && text[5] == ':' &&
               std::all_of(text.begin(), text.end(), [](char c) { return c == ':' || std::isdigit(c); });
    };
    // The clock's tick is sent here rather than awaited from the one-second timer.
    SendMessageA(toolbar->GetHWNDReal(), WM_TIMER, reinterpret_cast<WPARAM>(toolbar.get()), 0);
    std::string caption;
    EXPECT_TRUE(WaitFor([&] {
        caption = Caption(ButtonOf(*toolbar, 0, 8));
        return isClock(caption);
    })) << caption;
}

// The sets are children of the toolbar's window, but the panel is a window of its own.
TEST(Toolbar, DestroyingTheWindowTakesTheSetsAndThePanelWithIt)
{
    auto toolbar = MakeToolbar();
    const HWND windows[] = {toolbar->GetButtonSet(0)->GetHWNDReal(), toolbar->GetButtonSet(1)->GetHWNDReal(),
                            toolbar->GetPanel()->GetHWNDReal()};
    ASSERT_TRUE(DestroyWindow(toolbar->GetHWNDReal()));
    for (HWND window : windows)
        EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, toolbar->GetPanel());
    EXPECT_EQ(nullptr, toolbar->GetButtonSet(0));
    EXPECT_EQ(nullptr, toolbar->GetButtonSet(1));
}

TEST(Toolbar, LanguageEntryCopiesOwnTheirStringsAndClearingFreesThem)
{
    ObjectLanguage1 source = MakeEntry(7, {{0, "first"}, {5, "sixth"}});
    ObjectLanguage1 target = MakeEntry(3, {{2, "old"}});
    target = source;
    EXPECT_EQ(7, target.m_identifier);
    for (uint32_t language : {0u, 5u}) {
        ASSERT_NE(nullptr, target.GetText(language));
        EXPECT_NE(source.GetText(language), target.GetText(language));
        EXPECT_STREQ(source.GetText(language)->GetString(), target.GetText(language)->GetString());
    }
    EXPECT_EQ(nullptr, target.GetText(2));
    source.Clear();
    EXPECT_STREQ("sixth", target.GetText(5)->GetString());
    target.Clear();
    EXPECT_EQ(-1, target.m_identifier);
    for (uint32_t language = 0; language < ObjectLanguage1::LanguageCount; ++language)
        EXPECT_EQ(nullptr, target.GetText(language)) << language;
}

TEST(Toolbar, RefreshTextForIDCopiesAtMost256EntriesIntoTheLanguageTable)
{
    auto toolbar = MakeToolbar();
    std::vector<ObjectLanguage1> entries(300);
    for (int32_t i = 0; i < 300; ++i) {
        entries[i].m_identifier = 1000 + i;
        entries[i].SetText(1, ("text " + std::to_string(i)).c_str());
    }
    HRESULT refused = S_OK, empty = S_OK, copied = E_FAIL;
    RunOnOtherThreadWhilePumping([&] {
        refused = toolbar->RefreshTextForID(nullptr, 3);
        empty = toolbar->RefreshTextForID(entries.data(), 0);
        copied = toolbar->RefreshTextForID(entries.data(), 300);
    });
    EXPECT_EQ(E_UNEXPECTED, refused);
    EXPECT_EQ(E_UNEXPECTED, empty);
    EXPECT_EQ(S_OK, copied);
    entries.clear();
    const ObjectLanguage1& last = toolbar->GetLanguageEntry(255);
    EXPECT_EQ(1255, last.m_identifier);
    ASSERT_NE(nullptr, last.GetText(1));
    EXPECT_STREQ("text 255", last.GetText(1)->GetString());
}

TEST(Toolbar, DestructionFromAnotherThreadLeavesNoWindow)
{
    auto toolbar = MakeToolbar();
    HWND window = toolbar->GetHWNDReal();
    RunOnOtherThreadWhilePumping([&] { toolbar.reset(); });
    EXPECT_FALSE(IsWindow(window));
}

// A toolbar whose thread answers no messages: the send gives up after the shortened time-out.
TEST(Toolbar, SendGivesUpWhenTheToolbarsThreadDoesNotAnswer)
{
    auto toolbar = MakeToolbar();
    ObjectToolbar1::SetSendTimeoutForTest(200);
    HWND reported = reinterpret_cast<HWND>(1);
    std::thread caller([&] { reported = toolbar->GetHWND(); });
    caller.join();
    ObjectToolbar1::SetSendTimeoutForTest(0);
    EXPECT_EQ(nullptr, reported);
    PumpPending();
}

TEST(Toolbar, ClockTextIsHoursMinutesSeconds)
{
    SYSTEMTIME time = {};
    time.wHour = 9;
    time.wMinute = 5;
    time.wSecond = 7;
    StaticString<16> text;
    ObjectToolbar1::FormatClockText(time, text);
    EXPECT_STREQ("09:05:07", text.GetString());
}

TEST(Toolbar, SkinsOfBothRowsLieInTheSkinFolderWithTheirSizes)
{
    const struct
    {
        const char* name;
        int width;
    } wide[] = {{"Toolbar_Background.bmp", 440}, {"BottomToolbar_Backgound.bmp", 160}};
    const char* const buttons[] = {
        "Toolbar_CursorForeground.bmp", "Toolbar_PressedState.bmp", "Toolbar_DisabledState.bmp",
        "Toolbar_StencilCursorForeground.bmp", "Toolbar_StencilPressedForeground.bmp",
        "Toolbar_StencilDisabledForeground.bmp", "Toolbar_StencilForground.bmp",
        "Toolbar_StencilForgroundForStatic.bmp", "SimpleStencil.bmp", "Toolbar_Glass_Quillmark.bmp",
        "Toolbar_Autorezation_Quillmark.bmp", "Toolbar_CaptureSelect_Quillmark.bmp", "Toolbar_ViewSelect_Quillmark.bmp",
        "Toolbar_EventSelect_Quillmark.bmp", "Toolbar_PlaneSelect_Quillmark.bmp",
        "Toolbar_StaticElements_Quillmark.bmp", "Toolbar_Minimaze_Quillmark.bmp", "Toolbar_Close_Quillmark.bmp",
        "BottomToolbar_Stencil.bmp", "GeneralDialogSBCursorForeground.bmp", "GeneralDialogSBPressedState.bmp",
        "GeneralDialogSBDisabledState.bmp", "GeneralDialogSBStencilCursorForeground.bmp",
        "GeneralDialogSBStencilPressedForeground.bmp", "GeneralDialogSBStencilDisabledForeground.bmp",
        "BottomToolbar_ControlPanelButton_ForgroundImage.bmp", "BottomToolbar_StaticText_ForgroundImage.bmp",
        "BottomToolbar_PrintButton_ForgroundImage.bmp", "BottomToolbar_ExtendedPanelButton_ForgroundImage.bmp",
        "BottomToolbar_ControlPanelButton_Glass.bmp", "BottomToolbar_PrintButton_Glass.bmp",
        "BottomToolbar_ExtendedPanelButton_Glass.bmp"};
    std::vector<std::pair<const char*, int>> skins;
    for (const auto& each : wide)
        skins.emplace_back(each.name, each.width);
    for (const char* name : buttons)
        skins.emplace_back(name, 40);
    ASSERT_EQ(34u, skins.size());
    for (const auto& [name, expectedWidth] : skins) {
        int width = 0, height = 0;
        ASSERT_EQ(S_OK, ReadDefaultSkinSize(name, &width, &height)) << name;
        EXPECT_EQ(expectedWidth, width) << name;
        EXPECT_EQ(40, height) << name;
    }
}

} // namespace
