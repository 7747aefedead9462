// The group frame: its window region, its frames and captions in the picture and on the screen,
// and its clicks.
#include "GroupObjectUserInterface2.h"
#include "TestWidget.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr int32_t Left = 900;
constexpr int32_t Top = 600;
constexpr COLORREF FrameColour = RGB(200, 10, 10);
constexpr COLORREF CaptionColour = RGB(10, 220, 10);
constexpr COLORREF FillColour = RGB(0x23, 0x82, 0x78);
constexpr COLORREF BehindColour = RGB(255, 0, 255);

struct Frame
{
    float size;
    const char* caption;
};

uint32_t Rgb(COLORREF colour)
{
    return static_cast<uint32_t>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

// A shown group of the frames with its own frame and caption colours, drawn once.
class Group
{
public:
    Group(std::initializer_list<Frame> frames, uint32_t style, int32_t width, int32_t height, int32_t command = 0)
    {
        std::vector<InfoElementUserInterface2> elements;
        for (const Frame& frame : frames) {
            InfoElementUserInterface2 element = MakeElement(0, 0, 0, 0, command);
            element.Field(GroupObjectUserInterface2::FieldSize).SetFloat(frame.size);
            element.Field(GroupObjectUserInterface2::FieldCaption).SetText(frame.caption);
            elements.push_back(element);
        }
        m_group = std::make_unique<GroupObjectUserInterface2>(MakeElementList(elements),
                                                              static_cast<int32_t>(elements.size()), style,
                                                              "group under test", nullptr);
        InfoGDIUserInterface2 frameEntry, captionEntry;
        frameEntry.m_color = FrameColour;
        captionEntry.m_color = CaptionColour;
        captionEntry.m_font.lfHeight = 12;
        const GDIListUserInterface2 entries = MakeList<InfoGDIUserInterface2>({frameEntry, captionEntry});
        const IndexListUserInterface2 indexes = MakeIndexList({78, 130});
        m_group->UpdateGDIInfoForObjectReal(&entries, &indexes, 2);
        m_group->SetOptimCPUReal(4);
        m_group->CreateObject();
        m_group->SetTextVarForObjectReal(1, "group");
        m_group->ControlStatObjectShowReal(1, 1);
        m_group->MoveObjectReal(Left, Top, width, height);
        SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_drawn = WaitFor([&] {
            InfoGeneralBufferForUserInterface2 picture;
            return SUCCEEDED(m_group->GetBufferFromIndex(0, &picture)) && picture.m_width_element == width &&
                   picture.m_height_element == height && Pixel(picture, 0, 0) == Rgb(FillColour);
        });
        m_group->GetBufferFromIndex(0, &m_picture);
    }

    HWND Window() { return m_group->GetHWNDReal(); }
    bool Drawn() const { return m_drawn; }
    uint32_t At(int32_t x, int32_t y) const { return Pixel(m_picture, x, y); }
    bool RegionHolds(int32_t x, int32_t y)
    {
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        const bool holds = GetWindowRgn(Window(), region) != ERROR && PtInRegion(region, x, y);
        DeleteObject(region);
        return holds;
    }
    GroupObjectUserInterface2& Widget() { return *m_group; }
    // Waits until the picture shows the colour at the point.
    bool Shows(int32_t x, int32_t y, COLORREF colour)
    {
        return WaitFor([&] {
            return SUCCEEDED(m_group->GetBufferFromIndex(0, &m_picture)) && At(x, y) == Rgb(colour);
        });
    }

private:
    static uint32_t Pixel(const InfoGeneralBufferForUserInterface2& picture, int32_t x, int32_t y)
    {
        const int32_t at = y * picture.m_byte_stride / 2 + x;
        uint32_t rgb = 0;
        for (uint32_t plane = 0; plane < 3; ++plane)
            rgb = rgb << 8 | static_cast<uint8_t>(picture.m_rgb_buffers.GetElement(plane)[at]);
        return rgb;
    }

    std::unique_ptr<GroupObjectUserInterface2> m_group;
    InfoGeneralBufferForUserInterface2 m_picture;
    bool m_drawn = false;
};

LRESULT CALLBACK BehindProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// A plain window in one colour, shown below the group.
HWND MakeWindowBehind(int32_t width, int32_t height)
{
    static HBRUSH brush = CreateSolidBrush(BehindColour);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = BehindProcedure;
    windowClass.hbrBackground = brush;
    windowClass.lpszClassName = "GroupObjectTestsBehind";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, Left, Top,
                                  width, height, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(window);
    return window;
}

} // namespace

TEST(GroupObject, SideBySideFrameCutsItsInsideAndShowsTheWindowBehind)
{
    HWND behind = MakeWindowBehind(100, 50);
    Group group({{1.0f, "Group"}}, GroupObjectUserInterface2::LayoutSideBySide, 100, 50);
    ASSERT_TRUE(group.Drawn());
    EXPECT_FALSE(group.RegionHolds(50, 30));
    EXPECT_FALSE(group.RegionHolds(4, 14));
    EXPECT_FALSE(group.RegionHolds(96, 45));
    EXPECT_TRUE(group.RegionHolds(2, 30));
    EXPECT_TRUE(group.RegionHolds(97, 30));
    EXPECT_TRUE(group.RegionHolds(50, 46));
    EXPECT_TRUE(group.RegionHolds(50, 13));

    // Rectangle(1, 6, 100, 50) in the frame colour over the fill; the caption only in rows 0 to 12.
    EXPECT_EQ(group.At(0, 30), Rgb(FillColour));
    EXPECT_EQ(group.At(1, 30), Rgb(FrameColour));
    EXPECT_EQ(group.At(99, 30), Rgb(FrameColour));
    EXPECT_EQ(group.At(50, 49), Rgb(FrameColour));
    EXPECT_EQ(group.At(5, 6), Rgb(FrameColour));
    EXPECT_EQ(group.At(1, 5), Rgb(FillColour));
    int captionAbove = 0, captionBelow = 0;
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 100; ++x)
            if (group.At(x, y) == Rgb(CaptionColour))
                ++(y <= 12 ? captionAbove : captionBelow);
    EXPECT_GT(captionAbove, 0);
    EXPECT_EQ(captionBelow, 0);

    const auto colourAt = [&](int32_t x, int32_t y) { return ScreenPixels(Left + x, Top + y, 1, 1)[0]; };
    EXPECT_TRUE(WaitFor([&] {
        return colourAt(50, 30) == Rgb(BehindColour) && colourAt(1, 30) == Rgb(FrameColour) &&
               colourAt(2, 30) == Rgb(FillColour);
    })) << std::hex << colourAt(50, 30) << " " << colourAt(1, 30) << " " << colourAt(2, 30);
    DestroyWindow(behind);
}

TEST(GroupObject, FramesOneAboveTheOtherShareTheFreeLength)
{
    Group group({{0.5f, ""}, {40.0f, ""}}, GroupObjectUserInterface2::LayoutOneAboveTheOther, 100, 200);
    ASSERT_TRUE(group.Drawn());
    // Insides of rows 4..76 and 84..116.
    EXPECT_FALSE(group.RegionHolds(50, 4));
    EXPECT_FALSE(group.RegionHolds(50, 76));
    EXPECT_TRUE(group.RegionHolds(50, 77));
    EXPECT_TRUE(group.RegionHolds(50, 83));
    EXPECT_FALSE(group.RegionHolds(50, 84));
    EXPECT_FALSE(group.RegionHolds(50, 116));
    EXPECT_TRUE(group.RegionHolds(50, 117));
    // The first band takes 80 of the 160 free rows: frames from rows 8 to 77 and 88 to 117.
    EXPECT_EQ(group.At(50, 8), Rgb(FrameColour));
    EXPECT_EQ(group.At(50, 77), Rgb(FrameColour));
    EXPECT_EQ(group.At(50, 78), Rgb(FillColour));
    EXPECT_EQ(group.At(50, 88), Rgb(FrameColour));
    EXPECT_EQ(group.At(50, 117), Rgb(FrameColour));
    EXPECT_EQ(group.At(50, 118), Rgb(FillColour));
}

TEST(GroupObject, OtherLayoutsCutTheWholeInsideOncePerFrame)
{
    Group two({{1.0f, ""}, {1.0f, ""}}, 0, 100, 50);
    EXPECT_TRUE(two.RegionHolds(50, 30));
    Group one({{1.0f, ""}}, 3, 100, 50);
    EXPECT_FALSE(one.RegionHolds(50, 30));
    EXPECT_FALSE(one.RegionHolds(0, 14));
    EXPECT_TRUE(one.RegionHolds(0, 46));
}

TEST(GroupObject, RoundedCornersAndFramesOfNoSize)
{
    Group rounded({{1.0f, ""}}, GroupObjectUserInterface2::LayoutSideBySide | GroupObjectUserInterface2::StyleRoundCorners,
                  100, 50);
    ASSERT_TRUE(rounded.Drawn());
    EXPECT_EQ(rounded.At(1, 6), Rgb(FillColour));
    EXPECT_EQ(rounded.At(1, 30), Rgb(FrameColour));

    Group empty({{0.0f, "Nothing"}}, GroupObjectUserInterface2::LayoutSideBySide, 100, 50);
    ASSERT_TRUE(empty.Drawn());
    for (int32_t y = 0; y < 50; ++y)
        for (int32_t x = 0; x < 100; ++x)
            ASSERT_EQ(empty.At(x, y), Rgb(FillColour)) << x << "," << y;
    EXPECT_TRUE(empty.RegionHolds(50, 30));
}

TEST(GroupObject, AnyClickReportsElementZero)
{
    MessageRecorder owner;
    Group group({{0.5f, ""}, {0.5f, ""}}, GroupObjectUserInterface2::LayoutSideBySide, 100, 50, 7);
    group.Widget().SetWindowReal(1, owner.Handle());
    SendMessageA(group.Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 2));
    SendMessageA(group.Window(), WM_LBUTTONUP, 0, MAKELPARAM(80, 2));
    ASSERT_EQ(owner.Received().size(), 1u);
    EXPECT_EQ(owner.Received()[0].m_message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(LOWORD(owner.Received()[0].m_wparam), 7);
}

TEST(GroupObject, NewSizesShapeAndDrawTheFramesAgain)
{
    Group group({{1.0f, ""}}, GroupObjectUserInterface2::LayoutSideBySide, 100, 50);
    ASSERT_TRUE(group.Drawn());
    InfoElementUserInterface2 half = MakeElement(0, 0, 0, 0);
    half.Field(GroupObjectUserInterface2::FieldSize).SetFloat(0.5f);
    const ElementListUserInterface2 elements = MakeElementList({half});
    const IndexListUserInterface2 indexes = MakeIndexList({0});
    ASSERT_EQ(group.Widget().SetElementInfoFromIndexReal(&elements, &indexes, 1), S_OK);
    ASSERT_EQ(group.Widget().OnGeneralInfoChanged(), S_OK);
    EXPECT_FALSE(group.RegionHolds(30, 30));
    EXPECT_TRUE(group.RegionHolds(60, 30));
    EXPECT_TRUE(group.Shows(49, 30, FrameColour));
    EXPECT_EQ(group.At(99, 30), Rgb(FillColour));
}
