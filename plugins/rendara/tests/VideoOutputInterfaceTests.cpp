// The video output, processor-optimisation and compression interfaces: what reaches the state,
// the window and the render object.
#include "RendaraTestSupport.h"

#include "KestrelUserServerTypes.h"
#include "ManualTestClock.h"
#include "struct_format_graph1.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using VideoOutputInterfaceTest = RendaraFixture;

TEST_F(VideoOutputInterfaceTest, AnswersItsThreeInterfacesAndIgnoresUnservedIndexes)
{
    for (const GUID& iid : {IID_IVideoOutputRender1, IID_IControlOptimProcessor, IID_IFilter_GeneralCompress})
        EXPECT_EQ(m_exports->query(iid), S_OK);
    EXPECT_EQ(m_exports->query(IID_IControlVideoDetector), S_FALSE);
    EXPECT_EQ(Call(IID_IControlVideoDetector, 0, {Int(1)}), E_FAIL);
    for (int32_t unserved : {20, 24, 30})
        EXPECT_EQ(VideoOutput(unserved, {Bool(true)}), S_OK) << unserved;
}

TEST_F(VideoOutputInterfaceTest, DisplayModesOutsideOneToFiveBecomeOne)
{
    struct Case
    {
        uint32_t mode;
        uint32_t stored;
    };
    for (const Case& test : {Case{0x107, 1}, Case{0x105, 0x105}, Case{0x101, 0x101}, Case{0, 1}, Case{0x200, 1}}) {
        EXPECT_EQ(VideoOutput(27, {Int(static_cast<int32_t>(test.mode)), Int(0)}), S_OK);
        EXPECT_EQ(State().m_display_mode, test.stored) << std::hex << test.mode;
        EXPECT_EQ(Render()->m_display_mode, test.stored) << std::hex << test.mode;
    }
}

TEST_F(VideoOutputInterfaceTest, TheChannelBecomesTheTitleAndReachesTheRenderObject)
{
    ASSERT_EQ(VideoOutput(17, {Int(5), Int(7)}), S_OK);
    char title[32] = {};
    GetWindowTextA(OutputWindow(), title, sizeof(title));
    EXPECT_STREQ(title, "5");
    EXPECT_EQ(Render()->m_channel, 5);
    EXPECT_EQ(Render()->m_title_value2, 7);
    ASSERT_EQ(VideoOutput(18, {Out()}), S_OK);
    EXPECT_EQ(Param(0).m_type, static_cast<uint32_t>(TypeParamInt));
    EXPECT_EQ(Param(0).GetInt(), 5);
    EXPECT_EQ(Param(0).GetPointer(), nullptr);
}

TEST_F(VideoOutputInterfaceTest, TheWindowRectangleIsReadAsPlacementAndNormalised)
{
    struct Case
    {
        RECT given; // x, y, width, height
        RECT placed;
    };
    for (const Case& test : {Case{{-5, -5, 3, 3}, {0, 0, 10, 10}}, Case{{100, 100, 500, 500}, {100, 100, 500, 500}}}) {
        ASSERT_EQ(VideoOutput(5, {Rect(test.given.left, test.given.top, test.given.right, test.given.bottom)}), S_OK);
        RECT window = {};
        GetWindowRect(OutputWindow(), &window);
        EXPECT_EQ(window.left, test.placed.left);
        EXPECT_EQ(window.top, test.placed.top);
        EXPECT_EQ(window.right - window.left, test.placed.right);
        EXPECT_EQ(window.bottom - window.top, test.placed.bottom);
        EXPECT_EQ(Render()->m_output_width, test.placed.right);
        ASSERT_EQ(VideoOutput(6, {Out()}), S_OK);
        EXPECT_EQ(Param(0).m_type, static_cast<uint32_t>(TypeParamRect));
        const RECT answered = Param(0).GetRect();
        EXPECT_EQ(std::memcmp(&answered, &test.placed, sizeof(RECT)), 0);
    }
}

TEST_F(VideoOutputInterfaceTest, AParentMakesTheWindowAChildAndNoParentTopLevelAgain)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(VideoOutput(7, {Window(parent)}), S_OK);
    EXPECT_NE(GetWindowLongA(OutputWindow(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetParent(OutputWindow()), parent);
    ASSERT_EQ(VideoOutput(8, {Out()}), S_OK);
    EXPECT_EQ(Param(0).m_type, static_cast<uint32_t>(TypeParamWindow));
    EXPECT_EQ(Param(0).GetWindow(), parent);

    ASSERT_EQ(VideoOutput(7, {Window(nullptr)}), S_OK);
    EXPECT_EQ(GetWindowLongA(OutputWindow(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetAncestor(OutputWindow(), GA_PARENT), GetDesktopWindow());
    ASSERT_EQ(VideoOutput(10, {Out()}), S_OK);
    EXPECT_EQ(static_cast<DWORD>(Param(0).GetInt()), 0x06000000u);
    DestroyWindow(parent);
}

TEST_F(VideoOutputInterfaceTest, TheWeeklyTableIsKeptAndAShortOneRefusedByTheRenderObject)
{
    std::vector<uint8_t> table(500);
    for (size_t k = 0; k < table.size(); ++k)
        table[k] = static_cast<uint8_t>(k + 1);
    EXPECT_EQ(VideoOutput(4, {Pointer(table.data()), UInt(100)}), E_UNEXPECTED);
    EXPECT_EQ(std::memcmp(State().m_weekly_table, table.data(), 100), 0);
    EXPECT_EQ(State().m_weekly_table[100], 0);
    EXPECT_EQ(VideoOutput(4, {Pointer(table.data()), UInt(500)}), S_OK);
    EXPECT_EQ(std::memcmp(State().m_weekly_table, table.data(), 168), 0);
    EXPECT_EQ(std::memcmp(Render()->m_path_record.schedule, table.data(), 168), 0);
    EXPECT_EQ(VideoOutput(4, {Pointer(nullptr), UInt(168)}), E_INVALIDARG);
    EXPECT_EQ(VideoOutput(4, {Pointer(table.data()), UInt(0)}), E_UNEXPECTED);
}

TEST_F(VideoOutputInterfaceTest, CaptionTextsTooLongForTheStateStillReachTheRenderObject)
{
    const std::string longText(300, 'x');
    ASSERT_EQ(VideoOutput(11, {UInt(3), Text(longText.c_str())}), S_OK);
    EXPECT_STREQ(State().m_caption_texts[3].GetString(), "");
    EXPECT_EQ(std::string(Render()->m_caption_texts[3].GetString()), std::string(255, 'x'));
    EXPECT_EQ(VideoOutput(11, {UInt(16), Text("a")}), E_UNEXPECTED);
    ASSERT_EQ(VideoOutput(11, {UInt(3), Text("abcdef")}), S_OK);
    EXPECT_STREQ(State().m_caption_texts[3].GetString(), "abcdef");
}

// The read-back wrote size characters and no terminator before.
TEST_F(VideoOutputInterfaceTest, ReadingACaptionCopiesAtMostSizeLessOneCharactersAndTerminates)
{
    ASSERT_EQ(VideoOutput(11, {UInt(2), Text("abcdef")}), S_OK);
    struct Case
    {
        int32_t size;
        const char* read;
    };
    for (const Case& test : {Case{4, "abc"}, Case{1, ""}, Case{7, "abcdef"}, Case{20, "abcdef"}}) {
        char buffer[32];
        std::memset(buffer, '#', sizeof(buffer));
        ASSERT_EQ(VideoOutput(12, {UInt(2), Pointer(buffer), Int(test.size)}), S_OK);
        EXPECT_STREQ(buffer, test.read) << test.size;
        EXPECT_EQ(buffer[test.size], '#') << test.size;
    }
    char untouched = '#';
    EXPECT_EQ(VideoOutput(12, {UInt(2), Pointer(&untouched), Int(0)}), S_OK);
    EXPECT_EQ(untouched, '#');
    EXPECT_EQ(VideoOutput(12, {UInt(16), Pointer(&untouched), Int(1)}), E_UNEXPECTED);
}

// Three bytes are read: a shorter colour was read past its end before.
TEST_F(VideoOutputInterfaceTest, ACaptionColourShorterThanThreeBytesIsRefused)
{
    const uint8_t colour[3] = {10, 20, 30};
    EXPECT_EQ(VideoOutput(19, {Pointer(colour), UInt(2)}), E_UNEXPECTED);
    EXPECT_EQ(VideoOutput(19, {Pointer(colour), UInt(0)}), E_UNEXPECTED);
    EXPECT_EQ(VideoOutput(19, {Pointer(nullptr), UInt(3)}), E_INVALIDARG);
    EXPECT_EQ(State().m_caption_colour[0], 1);
    ASSERT_EQ(VideoOutput(19, {Pointer(colour), UInt(3)}), S_OK);
    EXPECT_EQ(std::memcmp(State().m_caption_colour, colour, 3), 0);
    EXPECT_EQ(std::memcmp(Render()->m_caption_colour, colour, 3), 0);
}

TEST_F(VideoOutputInterfaceTest, StartKeepsTheFirstStartTime)
{
    ManualTestClock clock(5000);
    ASSERT_EQ(VideoOutput(21), S_OK);
    clock.Advance(100);
    ASSERT_EQ(VideoOutput(21), S_OK);
    EXPECT_EQ(State().m_started, 1);
    EXPECT_EQ(State().m_start_time, 5000u);
}

TEST_F(VideoOutputInterfaceTest, CaptionFlagsOptionBytesAndAlternateColoursReachTheRenderObject)
{
    ASSERT_EQ(VideoOutput(15, {UInt(4), Bool(true), Bool(false)}), S_OK);
    EXPECT_EQ(State().m_caption_flags[4], 1);
    EXPECT_EQ(State().m_caption_changed, 1);
    EXPECT_EQ(Render()->m_caption_flags[4], 1);
    EXPECT_EQ(VideoOutput(15, {UInt(16), Bool(true), Bool(false)}), E_UNEXPECTED);
    ASSERT_EQ(VideoOutput(26, {UInt(7), Int(9)}), S_OK);
    EXPECT_EQ(Render()->m_option_bytes[7], 1);
    EXPECT_EQ(VideoOutput(26, {UInt(8), Int(1)}), E_UNEXPECTED);
    ASSERT_EQ(VideoOutput(25, {Bool(true)}), S_OK);
    EXPECT_EQ(Render()->m_alternate_colours, 1);
}

// The mixer recipe sends no record on every build: refused without touching anything.
TEST_F(VideoOutputInterfaceTest, ZoneMasksAreExchangedOnlyWithACaptureRecord)
{
    EXPECT_EQ(VideoOutput(28, {Pointer(nullptr), Bool(false)}), E_INVALIDARG);
    StructFormatGraph1 mixer(StructFormatGraph1::kKindMixer);
    EXPECT_EQ(VideoOutput(28, {Pointer(&mixer), Bool(true)}), E_UNEXPECTED);

    auto record = std::make_unique<StructFormatGraph1>(StructFormatGraph1::kKindCapture);
    std::memset(record->m_capture.m_zones, 0x5A, sizeof(record->m_capture.m_zones));
    ASSERT_EQ(VideoOutput(28, {Pointer(record.get()), Bool(false)}), S_OK);
    EXPECT_EQ(State().m_zone_masks[2][2047], 0x5A);
    State().m_zone_masks[0][0] = 0x11;
    ASSERT_EQ(VideoOutput(28, {Pointer(record.get()), Bool(true)}), S_OK);
    EXPECT_EQ(record->m_capture.m_zones[0][0], 0x11);
    EXPECT_EQ(record->m_capture.m_zones[1][5], 0x5A);
}

TEST_F(VideoOutputInterfaceTest, AccessFollowsTheUserRecordsLevelModeAndChannelList)
{
    ASSERT_EQ(VideoOutput(17, {Int(5), Int(0)}), S_OK);
    EXPECT_EQ(State().m_status_flags & RenderStatusNoAccess, RenderStatusNoAccess);
    struct Case
    {
        int32_t level;
        int32_t mode;
        bool listed;
        bool granted;
    };
    const Case cases[] = {
        {0, 1, true, false}, {0, 2, false, true}, {0, 3, true, true},  {0, 3, false, false},
        {0, 4, true, false}, {0, 4, false, true}, {1, 1, false, true}, {0, 7, true, false},
    };
    for (const Case& test : cases) {
        InfoUserKestrelUserServer user;
        user.m_level = test.level;
        user.m_mode = test.mode;
        user.m_rights[5] = test.listed ? 1 : 0;
        ASSERT_EQ(VideoOutput(29, {Pointer(&user)}), S_OK);
        EXPECT_EQ(State().m_access, test.granted ? 1 : 0) << test.level << " " << test.mode << " " << test.listed;
        EXPECT_EQ((State().m_status_flags & RenderStatusNoAccess) == 0, test.granted);
        ASSERT_EQ(VideoOutput(29, {Pointer(nullptr)}), S_OK);
        EXPECT_EQ(State().m_access, 0);
    }
}

TEST_F(VideoOutputInterfaceTest, ProcessorModesChooseTheConversionsAndUnknownModesKeepThem)
{
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 0, {Out()}), S_OK);
    EXPECT_EQ(Param(0).GetInt(), 15);
    const PackYuy2Kernels mmx = State().m_kernels;
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 1, {Int(4)}), S_OK);
    const PackYuy2Kernels sse2 = State().m_kernels;
    EXPECT_NE(sse2.packY16UV16ToYuy2, mmx.packY16UV16ToYuy2);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 1, {Int(128)}), S_OK);
    EXPECT_EQ(State().m_kernels.packY16UV16ToYuy2, sse2.packY16UV16ToYuy2);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 2, {Out()}), S_OK);
    EXPECT_EQ(Param(0).GetInt(), 128);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 1, {Int(1)}), S_OK);
    EXPECT_EQ(State().m_kernels.packY16ToYuy2, mmx.packY16ToYuy2);
}
