// The render library on Wine's real DirectDraw under Xvfb: what it draws is read back from the screen.
#include "RenderTestSupport.h"
#include "RendaraDx7LibraryFixture.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kPictureGrey = Rgb(200, 200, 200);

class DirectDrawWindowTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_library.IsLoaded());
        ASSERT_EQ(m_library.m_create(&m_object), S_OK);
        ASSERT_NE(m_object, nullptr);
        // Without the frame time a record carries by default: no time line unless a test asks.
        m_display.m_info.ClearAllParameters();
    }
    void TearDown() override
    {
        m_window.reset();
        if (m_object != nullptr) {
            EXPECT_EQ(m_library.m_delete(m_object), S_OK);
        }
    }

    void OpenWindow(int width, int height)
    {
        m_window = std::make_unique<RenderTestWindow>(100, 100, width, height, [this] { Paint(); });
        ASSERT_NE(m_window->Handle(), nullptr);
        m_object->SetOutputWindow(m_window->Handle());
    }

    // What the output window does on WM_PAINT.
    void Paint()
    {
        m_needs_init = 1;
        m_draw_result = m_object->DrawFrame(&m_display, &m_needs_init);
    }

    // Uploads the frame, paints, and returns the screen once it shows this paint: Wine presents
    // on its own thread, so a frame of another grey goes first and the bottom-right pixel tells
    // when each has arrived.
    Picture ShowFrame(const Yuy2Frame& frame, uint32_t corner)
    {
        const Yuy2Frame marker(frame.Header()->bmiHeader.biWidth, frame.Header()->bmiHeader.biHeight, kMarkerLuma);
        UploadAndPaint(marker);
        WaitForCorner(Grey(kMarkerLuma));
        UploadAndPaint(frame);
        return WaitForCorner(corner);
    }
    Picture ShowFrame(int32_t width, int32_t height, BYTE luma)
    {
        return ShowFrame(Yuy2Frame(width, height, luma), Grey(luma));
    }

    void UploadAndPaint(const Yuy2Frame& frame)
    {
        EXPECT_EQ(m_object->UploadFrame(frame.Data(), frame.Size(), frame.Header()), S_OK);
        m_window->Repaint();
        EXPECT_EQ(m_draw_result, S_OK);
    }

    Picture WaitForCorner(uint32_t colour) const
    {
        return WaitForScreen(m_window->Handle(), [colour](const Picture& screen) {
            return screen.At(screen.Width() - 1, screen.Height() - 1) == colour;
        });
    }

    static constexpr uint32_t Grey(BYTE luma) { return Rgb(luma, luma, luma); }
    static constexpr BYTE kMarkerLuma = 10;
    static constexpr uint32_t kEmptyGrey = Rgb(127, 127, 127);

    RendaraDx7Library m_library;
    GeneralVideoRendererObject* m_object = nullptr;
    std::unique_ptr<RenderTestWindow> m_window;
    InfoDataBufferPath1 m_display;
    uint8_t m_needs_init = 1;
    HRESULT m_draw_result = E_PENDING;
};

constexpr uint32_t kCaptionBackground = Rgb(150, 150, 200);
constexpr uint32_t kFirstCaptionColour = Rgb(255, 100, 100);
constexpr uint32_t kFourthCaptionColour = Rgb(50, 50, 200);
// Seven status bands of 40 rows each.
constexpr int kBandWindowWidth = 320;
constexpr int kBandWindowHeight = 280;
constexpr int kBandRows = kBandWindowHeight / 7;

TEST_F(DirectDrawWindowTest, FirstDrawAsksForInitialisationThenShowsTheFrame)
{
    OpenWindow(kBandWindowWidth, kBandWindowHeight);
    m_window->Repaint();
    EXPECT_EQ(m_draw_result, E_UNEXPECTED);
    EXPECT_EQ(m_needs_init, 1);

    ASSERT_EQ(m_object->InitDevice(), S_OK);
    const Picture screen = ShowFrame(64, 48, 200);
    EXPECT_EQ(m_needs_init, 0);
    // The default status shows "lost signal" in band 4; the rest is the picture.
    ASSERT_EQ(screen.Width(), kBandWindowWidth);
    EXPECT_EQ(screen.CountRows(kPictureGrey, 0, 4 * kBandRows), kBandWindowWidth * 4 * kBandRows);
    EXPECT_EQ(screen.CountRows(kPictureGrey, 5 * kBandRows, kBandWindowHeight), kBandWindowWidth * 2 * kBandRows);
    EXPECT_GT(screen.CountRows(kFirstCaptionColour, 4 * kBandRows, 5 * kBandRows), 0);
}

TEST_F(DirectDrawWindowTest, BeforeTheFirstUploadTheWindowIsGrey)
{
    OpenWindow(200, 100);
    ASSERT_EQ(m_object->InitDevice(), S_OK);
    m_object->SetStatusFlags(0);
    m_window->Repaint();
    EXPECT_EQ(m_draw_result, S_OK);
    EXPECT_EQ(m_object->m_status_flags, 0u);
    const Picture screen = WaitForCorner(kEmptyGrey);
    EXPECT_EQ(screen.CountRows(Rgb(127, 127, 127), 0, screen.Height()), screen.Width() * screen.Height());
}

TEST_F(DirectDrawWindowTest, FrameOfAnotherSizeAndResizedWindowAreShownWhole)
{
    OpenWindow(160, 120);
    ASSERT_EQ(m_object->InitDevice(), S_OK);
    m_object->SetStatusFlags(0);
    ShowFrame(64, 48, 200);

    // Left half dark, right half the picture grey: only a rebuilt source surface shows it.
    Yuy2Frame frame(80, 60, 200);
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 40; ++x)
            frame.SetLuma(x, y, 50);
    m_window->Resize(240, 90);
    ASSERT_EQ(m_object->RebuildBackSurface(), S_OK);
    EXPECT_EQ(m_object->m_output_width, 240);
    EXPECT_EQ(m_object->m_output_height, 90);
    const Picture screen = ShowFrame(frame, kPictureGrey);
    EXPECT_EQ(m_object->m_image_size, 80u * 60u * 2u);
    // The stretch may blend the one column where the halves meet.
    EXPECT_EQ(screen.Count(Rgb(50, 50, 50), 0, 0, 119, 90), 119 * 90);
    EXPECT_EQ(screen.Count(kPictureGrey, 121, 0, 240, 90), 119 * 90);
}

// Widths that are no multiple of the conversion's step: the last columns are converted too.
TEST_F(DirectDrawWindowTest, OddWidthsShowTheirLastColumns)
{
    for (const int32_t width : {90, 721}) {
        SCOPED_TRACE(width);
        OpenWindow(width, 20);
        ASSERT_EQ(m_object->InitDevice(), S_OK);
        m_object->SetStatusFlags(0);
        Yuy2Frame frame(width, 20, 200);
        for (int32_t y = 0; y < 20; ++y)
            frame.SetLuma(width - 1, y, 50);
        const Picture screen = ShowFrame(frame, Grey(50));
        EXPECT_EQ(screen.Count(Rgb(50, 50, 50), width - 1, 0, width, 20), 20);
        EXPECT_EQ(screen.Count(kPictureGrey, 0, 0, width - 1, 20), (width - 1) * 20);
    }
}

struct StatusCase
{
    uint32_t status;
    uint32_t displayMode;
    int32_t alternateColours;
    int band; // -1: no caption
    uint32_t colour;
};

TEST_F(DirectDrawWindowTest, StatusCaptionsAreCentredInTheirBands)
{
    const StatusCase cases[] = {
        {0x10, 0x101, 0, 4, kFirstCaptionColour},  {0x10, 0x101, 1, 4, kFourthCaptionColour},
        {0x40, 0x101, 1, 6, kFirstCaptionColour},  {0x04, 0x001, 0, 3, kFirstCaptionColour},
        {0x04, 0x001, 1, 3, kFourthCaptionColour}, {0x04, 0x101, 0, -1, kFirstCaptionColour},
    };
    OpenWindow(kBandWindowWidth, kBandWindowHeight);
    ASSERT_EQ(m_object->InitDevice(), S_OK);
    for (const StatusCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "status " << c.status << " mode " << c.displayMode);
        m_object->SetStatusFlags(c.status);
        m_object->SetDisplayMode(c.displayMode, 0);
        m_object->SetAlternateColours(c.alternateColours);
        const Picture screen = ShowFrame(64, 48, 200);
        const int inBand = c.band < 0 ? 0 : screen.CountRows(c.colour, c.band * kBandRows, (c.band + 1) * kBandRows);
        EXPECT_EQ(screen.CountRows(c.colour, 0, kBandWindowHeight), inBand);
        EXPECT_EQ(screen.CountRows(kCaptionBackground, 0, kBandWindowHeight) > 0, c.band >= 0);
        if (c.band < 0)
            continue;
        EXPECT_GT(inBand, 0);
        // Centred: the caption's background is as far from the left edge as from the right.
        const auto [first, last] = screen.ColumnSpan(kCaptionBackground, c.band * kBandRows, (c.band + 1) * kBandRows);
        EXPECT_NEAR(first, kBandWindowWidth - 1 - last, 2);
    }
}

TEST_F(DirectDrawWindowTest, FailedBlitShowsDirectDrawFailedInBandFive)
{
    OpenWindow(kBandWindowWidth, kBandWindowHeight);
    ASSERT_EQ(m_object->InitDevice(), S_OK);
    m_object->SetStatusFlags(0);
    ShowFrame(64, 48, 200);
    // A source rectangle outside the frame: the blit onto the composition surface fails.
    m_object->SetSourceRect(0, 0, 640, 480);
    m_window->Repaint();
    EXPECT_NE(m_object->m_status_flags & RenderStatusDrawFailed, 0u);
    const Picture screen = WaitForCorner(kEmptyGrey);
    EXPECT_GT(screen.CountRows(kFirstCaptionColour, 5 * kBandRows, 6 * kBandRows), 0);
    EXPECT_EQ(screen.CountRows(kFirstCaptionColour, 0, kBandWindowHeight),
              screen.CountRows(kFirstCaptionColour, 5 * kBandRows, 6 * kBandRows));
    EXPECT_EQ(screen.CountRows(Rgb(127, 127, 127), 0, kBandRows), kBandWindowWidth * kBandRows);
}

TEST_F(DirectDrawWindowTest, NarrowWindowShowsDotsInPlaceOfTheStatusText)
{
    int32_t spans[2] = {};
    for (const int width : {100, 101}) {
        OpenWindow(width, kBandWindowHeight);
        ASSERT_EQ(m_object->InitDevice(), S_OK);
        m_object->SetStatusFlags(RenderStatusLostSignal);
        const auto [first, last] = ShowFrame(64, 48, 200).ColumnSpan(kCaptionBackground, 4 * kBandRows, 5 * kBandRows);
        ASSERT_GE(first, 0);
        spans[width - 100] = last - first + 1;
    }
    // "..." is a few pixels wide; "lost signal" several times that.
    EXPECT_LT(spans[0], 20);
    EXPECT_GT(spans[1], 2 * spans[0]);
}

class CaptionLineTest : public DirectDrawWindowTest
{
protected:
    static constexpr uint32_t kTextColour = Rgb(0, 200, 50);

    void SetUp() override
    {
        DirectDrawWindowTest::SetUp();
        OpenWindow(kBandWindowWidth, kBandWindowHeight);
        ASSERT_EQ(m_object->InitDevice(), S_OK);
        m_object->SetStatusFlags(0);
        const uint8_t colour[3] = {0, 200, 50};
        ASSERT_EQ(m_object->SetCaptionColour(colour, 3), S_OK);
        for (int32_t index = 3; index <= 8; ++index)
            m_object->SetCaptionText(index, "Caption WWW");
    }

    // Rows that hold caption text, as first and last row.
    std::pair<int32_t, int32_t> TextRows(const Picture& screen) const
    {
        int32_t first = -1, last = -1;
        for (int32_t y = 0; y < screen.Height(); ++y)
            if (screen.CountRows(kTextColour, y, y + 1) > 0) {
                first = first < 0 ? y : first;
                last = y;
            }
        return {first, last};
    }

    // Lines start 15 pixels from the top, one 25-pixel rectangle every 15 pixels.
    static void ExpectLines(std::pair<int32_t, int32_t> rows, int lines)
    {
        EXPECT_GE(rows.first, 15);
        EXPECT_LT(rows.first, 15 + 25);
        EXPECT_GE(rows.second, 15 + 15 * (lines - 1));
        EXPECT_LT(rows.second, 15 + 15 * (lines - 1) + 25);
    }
};

TEST_F(CaptionLineTest, LinesAppearOnlyWithTheMainFlag)
{
    m_object->SetCaptionFlag(5, 1, 0);
    EXPECT_EQ(ShowFrame(64, 48, 200).CountRows(kTextColour, 0, kBandWindowHeight), 0);

    m_object->SetCaptionFlag(0, 1, 0);
    const Picture screen = ShowFrame(64, 48, 200);
    ExpectLines(TextRows(screen), 1);
    EXPECT_GE(screen.ColumnSpan(kTextColour, 0, kBandWindowHeight).first, 10);
    EXPECT_GT(screen.CountRows(kCaptionBackground, 15, 40), 0);
}

TEST_F(CaptionLineTest, EachSetFlagTakesTheNextSlot)
{
    m_object->SetCaptionFlag(0, 1, 0);
    int lines = 0;
    for (const int32_t flag : {3, 4, 5, 6, 7, 8}) {
        SCOPED_TRACE(flag);
        m_object->SetCaptionFlag(flag, 1, 0);
        ++lines;
        ExpectLines(TextRows(ShowFrame(64, 48, 200)), lines);
    }
    SYSTEMTIME time = {2024, 3, 0, 9, 8, 7, 6, 0};
    m_display.m_info.m_params.GetElement(2).SetSystemTime(time);
    ExpectLines(TextRows(ShowFrame(64, 48, 200)), lines + 1);
}

TEST_F(CaptionLineTest, TransparentBackgroundLeavesThePictureAroundTheText)
{
    m_object->SetCaptionFlag(0, 1, 0);
    m_object->SetCaptionFlag(2, 1, 0);
    m_object->SetCaptionFlag(4, 1, 0);
    m_display.m_info.m_params.GetElement(0).SetInt(12);
    const Picture screen = ShowFrame(64, 48, 200);
    ExpectLines(TextRows(screen), 1);
    EXPECT_EQ(screen.CountRows(kCaptionBackground, 0, kBandWindowHeight), 0);
    EXPECT_EQ(m_object->m_statistics[0], 12);
}

TEST_F(DirectDrawWindowTest, OutlineIsDrawnUnlessHidden)
{
    constexpr uint32_t kOutlineColour = Rgb(255, 220, 220);
    OpenWindow(kBandWindowWidth, kBandWindowHeight);
    ASSERT_EQ(m_object->InitDevice(), S_OK);
    m_object->SetStatusFlags(0);
    // A rectangle from a tenth to nine tenths of the picture (fractions of 65535, rounded up).
    const uint16_t low = 6554, high = 58982;
    const RenderOutlinePoint points[kRenderOutlinePoints] = {{low, low}, {high, low}, {high, high}, {low, high}, {low, low}};
    std::copy(std::begin(points), std::end(points), m_object->m_outline_points);
    m_object->m_outline = 1;
    Picture screen = ShowFrame(64, 48, 200);
    EXPECT_EQ(screen.At(kBandWindowWidth / 2, kBandWindowHeight / 10), kOutlineColour);
    EXPECT_EQ(screen.At(kBandWindowWidth / 10, kBandWindowHeight / 2), kOutlineColour);
    EXPECT_EQ(screen.At(kBandWindowWidth / 2, kBandWindowHeight / 2), kPictureGrey);

    m_object->m_outline_hidden = 1;
    screen = ShowFrame(64, 48, 200);
    EXPECT_EQ(screen.CountRows(kOutlineColour, 0, kBandWindowHeight), 0);
}

} // namespace
