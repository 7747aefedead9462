// The output window: its class, creation and destruction from either thread, the fallback paint
// without a render library, the lost-signal timer, mouse input as events and zone painting.
#include "RendaraTestSupport.h"

#include "ManualTestClock.h"
#include "ObjectControlDataPath1.h"
#include "StructForInterfaceDataPath1Table.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

using OutputWindowTest = RendaraFixture;

TEST_F(OutputWindowTest, InitCreatesAHiddenTopmostToolWindowOfTheClassWithItsTimerAndMessages)
{
    HWND window = OutputWindow();
    ASSERT_TRUE(IsWindow(window));
    char className[128] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(className, "Quillmark2005::Class for output video::Rendara1::23.07.2005");
    EXPECT_EQ(GetClassLongA(window, GCL_STYLE), 0x3008u);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & 0x88, 0x88);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), 0x06000000u);
    EXPECT_FALSE(IsWindowVisible(window));
    RECT placed = {};
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);
    EXPECT_EQ(placed.right - placed.left, 10);
    EXPECT_EQ(placed.bottom - placed.top, 10);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&m_record));
    EXPECT_EQ(State().m_timer_id, Rendara1::kTimerId);
    EXPECT_EQ(State().m_message_failed, RegisterWindowMessageA("Quillmark::UserFailedEvent::28.08.2005"));
    EXPECT_EQ(State().m_message_succeeded, RegisterWindowMessageA("Quillmark::UserSucceesEvent::28.08.2005"));
    EXPECT_NE(Render(), nullptr);
    EXPECT_EQ(Render()->m_window, window);
}

TEST_F(OutputWindowTest, TheUsersCloseIsSwallowedTheCrossThreadCloseDestroysAndDetaches)
{
    HWND window = OutputWindow();
    EXPECT_EQ(SendMessageA(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(State().m_closing, 1);

    ASSERT_EQ(VideoOutput(3, {Bool(true)}), S_OK);
    SendMessageA(window, WM_CLOSE, static_cast<WPARAM>(-1), static_cast<LPARAM>(-1));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(State().m_timer_id, 0u);
    EXPECT_EQ(State().m_visible, 0);
    EXPECT_EQ(State().m_window, nullptr);
}

TEST_F(OutputWindowTest, FreeFromAnotherThreadDestroysTheWindowOnItsOwnThread)
{
    HWND window = OutputWindow();
    HRESULT freed = E_FAIL;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread other([&] {
        freed = m_exports->free(&m_record);
        SetEvent(done);
    });
    // The other thread asks this one to close the window: handle its messages meanwhile.
    while (MsgWaitForMultipleObjects(1, &done, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        PumpMessages();
    other.join();
    CloseHandle(done);
    EXPECT_EQ(freed, S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(m_record.m_in_use);
    EXPECT_EQ(m_record.m_state, nullptr);
}

TEST_F(OutputWindowTest, GetConnectionPointsOffersOneInputAndForwardsNothing)
{
    ListConnectionPointsDataPath1 points;
    EXPECT_EQ(m_exports->points(&points, sizeof(points) - 1), E_UNEXPECTED);
    ASSERT_EQ(m_exports->points(&points, sizeof(points)), S_OK);
    EXPECT_EQ(points.m_count_inputs, 1u);
    EXPECT_STREQ(points.m_inputs.GetElement(0).m_name.GetString(), "DataInput1");
    EXPECT_EQ(points.m_inputs.GetElement(0).m_type, 256);
    EXPECT_TRUE(points.m_inputs.GetElement(0).m_valid);
    EXPECT_EQ(points.m_count_outputs, 0u);
    EXPECT_STREQ(points.m_outputs.GetElement(0).m_name.GetString(), "DataOutput1");
    EXPECT_EQ(points.m_outputs.GetElement(0).m_type, 257);
}

// Without a render library the window paints light grey with a centred text; a narrow one "...".
TEST_F(OutputWindowTest, WithoutARenderLibraryTheShownWindowPaintsTheFallbackText)
{
    ASSERT_EQ(Call(IID_IFilter_GeneralCompress, 1, {Text("Missing.vdr")}), S_OK);
    EXPECT_EQ(Render(), nullptr);
    EXPECT_EQ(State().m_render.m_module, nullptr);
    constexpr uint32_t kLightGrey = Rgb(192, 192, 192);
    struct Case
    {
        int width;
        int widestText; // the text's columns are at most this many
        int narrowestText;
    };
    for (const Case& test : {Case{100, 30, 1}, Case{101, 101, 60}, Case{300, 220, 120}}) {
        SCOPED_TRACE(test.width);
        ShowAt(kShownX, kShownY, test.width, 40);
        const Picture picture = WaitForScreen(OutputWindow(), [&](const Picture& shown) {
            return shown.Count(kLightGrey, 0, 0, shown.Width(), shown.Height()) > shown.Width() * shown.Height() / 2;
        });
        int left = picture.Width();
        int right = -1;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                if (picture.At(x, y) != kLightGrey) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(right, left) << "no text";
        EXPECT_LE(right - left + 1, test.widestText);
        EXPECT_GE(right - left + 1, test.narrowestText);
    }
    ASSERT_EQ(Call(IID_IFilter_GeneralCompress, 1, {Text("RendaraDx7.vdr")}), S_OK);
    ASSERT_NE(Render(), nullptr);
    EXPECT_EQ(Render()->m_window, OutputWindow());
}

TEST_F(OutputWindowTest, TheTimerMarksTheSignalLostOnlyAfterTheTimeOut)
{
    ManualTestClock clock;
    InfoDataBufferPath1 frame;
    ASSERT_EQ(Transform(frame), S_OK);
    EXPECT_EQ(State().m_status_flags & RenderStatusLostSignal, 0u);
    EXPECT_EQ(State().m_signal_returned, 1);

    clock.Advance(29999);
    SendMessageA(OutputWindow(), WM_TIMER, Rendara1::kTimerId, 0);
    EXPECT_EQ(State().m_status_flags & RenderStatusLostSignal, 0u);
    EXPECT_EQ(State().m_signal_returned, 0);

    ASSERT_EQ(VideoOutput(16, {Bool(false)}), S_OK);
    clock.Advance(1);
    SendMessageA(OutputWindow(), WM_TIMER, Rendara1::kTimerId, 0);
    EXPECT_EQ(State().m_status_flags & RenderStatusLostSignal, 0u);

    ASSERT_EQ(VideoOutput(16, {Bool(true)}), S_OK);
    SendMessageA(OutputWindow(), WM_TIMER, Rendara1::kTimerId, 0);
    EXPECT_NE(State().m_status_flags & RenderStatusLostSignal, 0u);
}

namespace {

// The grid cell a client point falls into, as the plug-in computes it.
bool MaskBit(const uint8_t* mask, int row, int column)
{
    return (mask[row * 16 + column / 8] >> (column % 8) & 1) != 0;
}

LPARAM Point(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

} // namespace

class ZonePaintingTest : public RendaraFixture
{
protected:
    void SetUp() override
    {
        RendaraFixture::SetUp();
        ASSERT_EQ(VideoOutput(5, {Rect(0, 0, 256, 128)}), S_OK);
        // No setter exists for the editing switches: the test sets them as the program's tools would.
        State().m_zone_editing = 1;
        State().m_zone_editing2 = 1;
        State().m_zone_index = 1;
    }

    void Move(WPARAM buttons, int x, int y) { SendMessageA(OutputWindow(), WM_MOUSEMOVE, buttons, Point(x, y)); }

    bool Bit(int zone, int row, int column) { return MaskBit(State().m_zone_masks[zone], row, column); }

    bool ZonesAreEmpty()
    {
        for (const auto& mask : State().m_zone_masks)
            for (uint8_t byte : mask)
                if (byte != 0)
                    return false;
        return true;
    }
};

TEST_F(ZonePaintingTest, TheLeftButtonSetsTheCellTheRightButtonClearsItAMoveAloneChangesNothing)
{
    State().m_mask_changed = 0;
    Move(0, 21, 5);
    EXPECT_TRUE(ZonesAreEmpty());
    EXPECT_EQ(State().m_mask_changed, 0);

    Move(MK_LBUTTON, 21, 5); // 256 x 128 client: column 10, row 5
    EXPECT_TRUE(Bit(1, 5, 10));
    EXPECT_EQ(State().m_zone_masks[1][5 * 16 + 1], 0x04);
    EXPECT_EQ(State().m_mask_changed, 1);
    Move(MK_LBUTTON, 255, 127);
    EXPECT_TRUE(Bit(1, 127, 127));
    EXPECT_FALSE(Bit(0, 5, 10));

    Move(MK_RBUTTON, 20, 5);
    EXPECT_FALSE(Bit(1, 5, 10));
    EXPECT_TRUE(Bit(1, 127, 127));
}

// A drag leaving the window and a zone index without a mask write nothing (they wrote past the
// grid and past the masks before).
TEST_F(ZonePaintingTest, PointsOutsideTheClientAreaAndZonesOutsideTheThreeAreRefused)
{
    for (const POINT outside : {POINT{-1, 5}, POINT{5, -1}, POINT{256, 5}, POINT{5, 128}, POINT{4000, 4000}}) {
        Move(MK_LBUTTON, outside.x, outside.y);
    }
    EXPECT_TRUE(ZonesAreEmpty());
    for (int zone : {-1, 3, 1000}) {
        State().m_zone_index = zone;
        Move(MK_LBUTTON, 21, 5);
    }
    EXPECT_TRUE(ZonesAreEmpty());
    EXPECT_EQ(State().m_zone_editing, 1);
    EXPECT_EQ(State().m_zone_sub_index, 0);
}

TEST(ZoneMaskPacking, EightCellsAByteFirstCellInBitZeroAndBadGridsRefused)
{
    std::vector<uint16_t> grid(128 * 128, 0);
    grid[0] = 1;
    grid[7] = 1;
    grid[8] = 1;
    grid[130] = 1;
    grid[128 * 128 - 1] = 1;
    std::vector<uint8_t> mask(2048, 0xEE);
    const uint32_t bytes = static_cast<uint32_t>(grid.size() * sizeof(uint16_t));
    ASSERT_EQ(PackZoneMask(grid.data(), bytes, 256, 128, mask.data()), S_OK);
    EXPECT_EQ(mask[0], 0x81);
    EXPECT_EQ(mask[1], 0x01);
    EXPECT_EQ(mask[16], 0x04);
    EXPECT_EQ(mask[2047], 0x80);
    EXPECT_EQ(std::count(mask.begin(), mask.end(), 0), 2048 - 4);

    EXPECT_EQ(PackZoneMask(nullptr, bytes, 256, 128, mask.data()), E_INVALIDARG);
    EXPECT_EQ(PackZoneMask(grid.data(), bytes, 256, 128, nullptr), E_INVALIDARG);
    EXPECT_EQ(PackZoneMask(grid.data(), bytes - 1, 256, 128, mask.data()), E_UNEXPECTED);
    EXPECT_EQ(PackZoneMask(grid.data(), bytes, 255, 128, mask.data()), E_UNEXPECTED);
    EXPECT_EQ(PackZoneMask(grid.data(), bytes, 256, 127, mask.data()), E_UNEXPECTED);
}

// Mouse input reaches the program as events through the controller: a click raises one, a move
// none; a painted cell raises the edit-contour event.
TEST_F(OutputWindowTest, MouseInputAndPaintedCellsRaiseEventsThroughTheController)
{
    FillStructForInterfaceDataPath1();
    ObjectControlDataPath1 controller(GetModuleHandleA(nullptr), ".");
    ASSERT_EQ(VideoOutput(23, {Pointer(&controller)}), S_OK);
    ASSERT_EQ(VideoOutput(17, {Int(5), Int(0)}), S_OK);
    ASSERT_EQ(VideoOutput(5, {Rect(0, 0, 128, 128)}), S_OK);
    HWND window = OutputWindow();

    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 4));
    SendMessageA(window, WM_MOUSEMOVE, 0, Point(6, 7));
    ListEventsDataPath1 events;
    EXPECT_EQ(controller.GetAsincEvents(&events), 1);
    const auto clicks = EventsOfType(events, ted1UserWindowInputEvent);
    ASSERT_EQ(clicks.size(), 1u);
    const auto* click = static_cast<const InfoEventDataFrame_ted1UserWindowInputEvent*>(clicks[0]);
    EXPECT_EQ(click->m_message, static_cast<UINT>(WM_LBUTTONDOWN));
    EXPECT_EQ(click->m_wparam, static_cast<WPARAM>(MK_LBUTTON));
    EXPECT_EQ(click->m_lparam, Point(3, 4));
    EXPECT_EQ(click->m_window, window);
    EXPECT_EQ(click->m_id_camera, 5);
    EXPECT_EQ(click->m_controller, &controller);
    DeleteEvents(events);

    State().m_zone_editing = 1;
    State().m_zone_editing2 = 1;
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, Point(6, 7));
    EXPECT_EQ(controller.GetAsincEvents(&events), 1);
    EXPECT_EQ(EventsOfType(events, ted1EditVideoContour).size(), 1u);
    DeleteEvents(events);
    ASSERT_EQ(VideoOutput(23, {Pointer(nullptr)}), S_OK);
}
