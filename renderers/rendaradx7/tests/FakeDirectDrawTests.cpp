// The render object on test doubles of DirectDraw: capabilities, FOURCC surfaces, lost surfaces,
// mode changes and failing blits that Wine never shows.
#include "FakeDirectDraw.h"
#include "RenderTestSupport.h"
#include "VideoRendererObjectDx7.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr GUID kFirstDevice = {0x11111111, 0x1111, 0x1111, {1, 1, 1, 1, 1, 1, 1, 1}};
constexpr GUID kSecondDevice = {0x22222222, 0x2222, 0x2222, {2, 2, 2, 2, 2, 2, 2, 2}};
constexpr uint32_t kEmptyGrey = Rgb(127, 127, 127);
constexpr uint32_t kFirstCaptionColour = Rgb(255, 100, 100);
// The output window: its client area on the fake screen, seven status bands of 20 rows.
constexpr int kWindowX = 20;
constexpr int kWindowY = 30;
constexpr int kWindowWidth = 210;
constexpr int kWindowHeight = 140;
constexpr int kBandRows = kWindowHeight / 7;

FakeSurface* Fake(IDirectDrawSurface7* surface)
{
    return static_cast<FakeSurface*>(surface);
}

class FakeDirectDrawTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<RenderTestWindow>(kWindowX, kWindowY, kWindowWidth, kWindowHeight, nullptr, false);
        m_object = std::make_unique<VideoRendererObjectDx7>();
        m_object->SetDirectDrawEntryPoints({FakeDirectDrawSystem::Enumerate, FakeDirectDrawSystem::Create});
        m_object->SetOutputWindow(m_window->Handle());
        m_object->SetStatusFlags(0);
        m_display.m_info.ClearAllParameters();
    }
    void TearDown() override
    {
        m_object.reset();
        EXPECT_TRUE(m_system.AllReleased());
    }

    HRESULT Draw()
    {
        m_needs_init = 1;
        return m_object->DrawFrame(&m_display, &m_needs_init);
    }
    HRESULT Upload(const Yuy2Frame& frame) { return m_object->UploadFrame(frame.Data(), frame.Size(), frame.Header()); }

    // The output window's client area on the fake screen.
    Picture Screen() const
    {
        const FakeSurface* primary = Fake(m_object->m_primary);
        Picture picture(kWindowWidth, kWindowHeight);
        for (int y = 0; y < kWindowHeight; ++y)
            for (int x = 0; x < kWindowWidth; ++x)
                picture.At(x, y) = primary->Pixel(kWindowX + x, kWindowY + y);
        return picture;
    }

    void InitWithCaps(DWORD caps, DWORD caps2)
    {
        m_system.m_caps = caps;
        m_system.m_caps2 = caps2;
        ASSERT_EQ(m_object->InitDevice(), S_OK);
    }

    FakeDirectDrawSystem m_system;
    std::unique_ptr<RenderTestWindow> m_window;
    std::unique_ptr<VideoRendererObjectDx7> m_object;
    InfoDataBufferPath1 m_display;
    uint8_t m_needs_init = 1;
};

TEST_F(FakeDirectDrawTest, InitDeviceCreatesTheLastEnumeratedDeviceForTheWindow)
{
    m_system.m_devices = {std::nullopt, kFirstDevice, std::nullopt, kSecondDevice, std::nullopt};
    InitWithCaps(DDCAPS_BLT, 0);
    ASSERT_TRUE(m_system.m_created_device.has_value());
    EXPECT_TRUE(IsEqualGUID(*m_system.m_created_device, kSecondDevice));
    const FakeDirectDraw* directDraw = m_system.LastDirectDraw();
    EXPECT_EQ(directDraw->m_cooperative_window, m_window->Handle());
    EXPECT_EQ(directDraw->m_cooperative_flags, 0x408u);
    ASSERT_NE(Fake(m_object->m_primary)->m_clipper, nullptr);
    EXPECT_EQ(Fake(m_object->m_primary)->m_clipper->m_window, m_window->Handle());
    EXPECT_EQ(Fake(m_object->m_back)->m_width, static_cast<DWORD>(kWindowWidth));
    EXPECT_EQ(Fake(m_object->m_back)->m_height, static_cast<DWORD>(kWindowHeight));
    EXPECT_EQ(m_object->m_source, nullptr); // nothing uploaded yet

    // Only the display itself, which has no identifier: the active display is asked for.
    m_system.m_devices = {std::nullopt};
    ASSERT_EQ(m_object->InitDevice(), S_OK);
    EXPECT_EQ(m_system.m_create_calls, 2);
    EXPECT_FALSE(m_system.m_created_device.has_value());
}

TEST_F(FakeDirectDrawTest, CapabilitiesChooseBetweenSoftwareConversionAndFourccCopies)
{
    struct Case
    {
        DWORD caps, caps2;
        uint8_t rgbSurfaces, fourccCopy;
    };
    for (const Case& c : {Case{DDCAPS_BLT, 0, 1, 0}, Case{DDCAPS_BLT | DDCAPS_BLTFOURCC, DDCAPS2_COPYFOURCC, 0, 1},
                          Case{DDCAPS_BLT | DDCAPS_BLTFOURCC, 0, 0, 0}, Case{DDCAPS_BLT, DDCAPS2_COPYFOURCC, 1, 1}}) {
        InitWithCaps(c.caps, c.caps2);
        EXPECT_EQ(m_object->m_rgb_surfaces, c.rgbSurfaces) << c.caps << " " << c.caps2;
        EXPECT_EQ(m_object->m_fourcc_copy, c.fourccCopy) << c.caps << " " << c.caps2;
    }
}

TEST_F(FakeDirectDrawTest, WithoutBlitCapabilityThereIsNoDevice)
{
    m_system.m_caps = DDCAPS_BLTFOURCC;
    EXPECT_EQ(m_object->InitDevice(), E_FAIL);
    EXPECT_EQ(m_object->m_direct_draw, nullptr);
    EXPECT_EQ(m_system.LastDirectDraw()->m_refs, 0);
    EXPECT_EQ(Draw(), E_UNEXPECTED);
    EXPECT_EQ(m_needs_init, 1);
}

TEST_F(FakeDirectDrawTest, ArgumentsOfUploadAndDrawAreChecked)
{
    InitWithCaps(DDCAPS_BLT, 0);
    const Yuy2Frame frame(8, 4, 200);
    VIDEOINFOHEADER noWidth = *frame.Header();
    noWidth.bmiHeader.biWidth = 0;
    VIDEOINFOHEADER negativeHeight = *frame.Header();
    negativeHeight.bmiHeader.biHeight = -4;
    EXPECT_EQ(m_object->UploadFrame(nullptr, frame.Size(), frame.Header()), E_UNEXPECTED);
    EXPECT_EQ(m_object->UploadFrame(frame.Data(), 0, frame.Header()), E_UNEXPECTED);
    EXPECT_EQ(m_object->UploadFrame(frame.Data(), frame.Size(), nullptr), E_UNEXPECTED);
    EXPECT_EQ(m_object->UploadFrame(frame.Data(), frame.Size(), &noWidth), E_UNEXPECTED);
    EXPECT_EQ(m_object->UploadFrame(frame.Data(), frame.Size(), &negativeHeight), E_UNEXPECTED);
    EXPECT_EQ(m_object->m_frame_counter, 0u);
    EXPECT_EQ(m_object->DrawFrame(nullptr, &m_needs_init), E_FAIL);
    EXPECT_EQ(m_object->DrawFrame(&m_display, nullptr), S_OK);
}

TEST_F(FakeDirectDrawTest, BeforeTheFirstUploadTheWindowIsGreyWithoutAFailure)
{
    InitWithCaps(DDCAPS_BLT, 0);
    EXPECT_EQ(Draw(), S_OK);
    EXPECT_EQ(m_needs_init, 0);
    EXPECT_EQ(m_object->m_status_flags & RenderStatusDrawFailed, 0u);
    EXPECT_EQ(Fake(m_object->m_back)->m_copy_blit_count, 0);
    EXPECT_EQ(Screen().CountRows(kEmptyGrey, 0, kWindowHeight), kWindowWidth * kWindowHeight);
}

TEST_F(FakeDirectDrawTest, FourccFramesAreCopiedRowByRowIntoTheSourceSurface)
{
    InitWithCaps(DDCAPS_BLT | DDCAPS_BLTFOURCC, DDCAPS2_COPYFOURCC);
    Yuy2Frame frame(64, 48, 0);
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x)
            frame.SetLuma(x, y, static_cast<BYTE>(4 * y + 1));
    ASSERT_EQ(Upload(frame), S_OK);
    FakeSurface* source = Fake(m_object->m_source);
    ASSERT_TRUE(source->IsFourcc());
    EXPECT_EQ(source->m_format.dwFourCC, static_cast<DWORD>(MAKEFOURCC('Y', 'U', 'Y', '2')));
    EXPECT_EQ(source->m_last_lock_flags, static_cast<DWORD>(DDLOCK_WRITEONLY));
    for (DWORD y = 0; y < 48; ++y)
        ASSERT_EQ(std::memcmp(source->Row(y), frame.Data() + 128 * y, 128), 0) << y;
    EXPECT_EQ(m_object->m_convert, nullptr);

    ASSERT_EQ(Draw(), S_OK);
    const Picture screen = Screen();
    EXPECT_EQ(screen.At(0, 0), Rgb(1, 1, 1));
    EXPECT_EQ(screen.At(0, kWindowHeight - 1), Rgb(189, 189, 189));
}

TEST_F(FakeDirectDrawTest, FourccDataLongerThanTheSurfaceCopiesNothing)
{
    InitWithCaps(DDCAPS_BLT | DDCAPS_BLTFOURCC, DDCAPS2_COPYFOURCC);
    ASSERT_EQ(Upload(Yuy2Frame(64, 48, 30)), S_OK);
    // One row more data than the 48 rows the header and the surface have.
    const Yuy2Frame longer(64, 49, 90);
    VIDEOINFOHEADER header = *longer.Header();
    header.bmiHeader.biHeight = 48;
    EXPECT_EQ(m_object->UploadFrame(longer.Data(), longer.Size(), &header), E_FAIL);
    FakeSurface* source = Fake(m_object->m_source);
    for (DWORD y = 0; y < 48; ++y)
        ASSERT_EQ(source->Row(y)[0], 30) << y;
}

TEST_F(FakeDirectDrawTest, OddWidthsConvertEveryPixelAndNothingPastTheSurface)
{
    InitWithCaps(DDCAPS_BLT, 0);
    // The conversion surface's rows are exactly as wide as the frame and its last row ends at
    // an inaccessible page: a write past the picture faults.
    for (const int32_t width : {1, 2, 3, 5, 7, 9, 90, 721}) {
        SCOPED_TRACE(width);
        Yuy2Frame frame(width, 3, 200);
        for (int32_t y = 0; y < 3; ++y)
            frame.SetLuma(width - 1, y, 50);
        ASSERT_EQ(Upload(frame), S_OK);
        const FakeSurface* convert = Fake(m_object->m_convert);
        ASSERT_EQ(convert->m_width, static_cast<DWORD>(width));
        for (DWORD y = 0; y < 3; ++y) {
            for (DWORD x = 0; x + 1 < static_cast<DWORD>(width); ++x)
                ASSERT_EQ(convert->Pixel(x, y), Rgb(200, 200, 200)) << x << "," << y;
            ASSERT_EQ(convert->Pixel(width - 1, y), Rgb(50, 50, 50)) << y;
        }
    }
}

TEST_F(FakeDirectDrawTest, FrameShorterThanItsHeaderConvertsOnlyItsRows)
{
    InitWithCaps(DDCAPS_BLT, 0);
    // Ten rows of data in guarded memory for a header that says 48: reading on faults.
    const Yuy2Frame tenRows(64, 10, 200);
    VIDEOINFOHEADER header = *tenRows.Header();
    header.bmiHeader.biHeight = 48;
    ASSERT_EQ(m_object->UploadFrame(tenRows.Data(), tenRows.Size(), &header), S_OK);
    const FakeSurface* convert = Fake(m_object->m_convert);
    EXPECT_EQ(convert->Pixel(63, 9), Rgb(200, 200, 200));
    EXPECT_EQ(convert->Pixel(0, 10), kEmptyGrey);
}

TEST_F(FakeDirectDrawTest, LostSurfacesAreRestoredAndRefilled)
{
    InitWithCaps(DDCAPS_BLT, 0);
    ASSERT_EQ(Upload(Yuy2Frame(64, 48, 200)), S_OK);
    ASSERT_EQ(Draw(), S_OK);
    FakeSurface* surfaces[] = {Fake(m_object->m_primary), Fake(m_object->m_back), Fake(m_object->m_source),
                               Fake(m_object->m_convert)};
    for (FakeSurface* surface : surfaces)
        surface->m_lost = true;
    const int backLocks = Fake(m_object->m_back)->m_lock_count;

    EXPECT_EQ(Draw(), S_OK);
    EXPECT_EQ(m_needs_init, 0);
    for (FakeSurface* surface : surfaces) {
        EXPECT_FALSE(surface->m_lost);
        EXPECT_EQ(surface->m_restore_count, 1);
    }
    EXPECT_EQ(Fake(m_object->m_back)->m_lock_count, backLocks + 1);
    EXPECT_EQ(Screen().CountRows(Rgb(200, 200, 200), 0, kWindowHeight), kWindowWidth * kWindowHeight);

    Fake(m_object->m_source)->m_lost = true;
    EXPECT_EQ(Upload(Yuy2Frame(64, 48, 100)), S_OK);
    EXPECT_EQ(Fake(m_object->m_source)->m_restore_count, 2);
    EXPECT_EQ(Fake(m_object->m_convert)->Pixel(5, 5), Rgb(100, 100, 100));
}

TEST_F(FakeDirectDrawTest, ModeChangeWhileDrawingAsksForInitialisation)
{
    for (const bool primary : {true, false}) {
        SCOPED_TRACE(primary ? "primary surface" : "composition surface");
        InitWithCaps(DDCAPS_BLT, 0);
        FakeSurface* surface = Fake(primary ? m_object->m_primary : m_object->m_back);
        surface->m_lost = true;
        surface->m_restore_result = DDERR_WRONGMODE;
        EXPECT_EQ(Draw(), DDERR_WRONGMODE);
        EXPECT_EQ(m_needs_init, 1);
        surface->m_lost = false;
        EXPECT_EQ(Draw(), S_OK);
        EXPECT_EQ(m_needs_init, 0);
    }
}

TEST_F(FakeDirectDrawTest, ModeChangeRebuildsTheSourceAndConversionSurfaces)
{
    InitWithCaps(DDCAPS_BLT, 0);
    ASSERT_EQ(Upload(Yuy2Frame(64, 48, 200)), S_OK);
    FakeSurface* oldSource = Fake(m_object->m_source);
    FakeSurface* oldConvert = Fake(m_object->m_convert);
    oldSource->m_lost = true;
    oldSource->m_restore_result = DDERR_WRONGMODE;
    oldConvert->m_lost = true;
    oldConvert->m_restore_result = DDERR_WRONGMODE;

    EXPECT_EQ(Upload(Yuy2Frame(64, 48, 60)), S_OK);
    EXPECT_NE(Fake(m_object->m_source), oldSource);
    EXPECT_NE(Fake(m_object->m_convert), oldConvert);
    EXPECT_EQ(oldSource->m_refs, 0);
    EXPECT_EQ(oldConvert->m_refs, 0);
    EXPECT_EQ(Fake(m_object->m_convert)->Pixel(0, 0), Rgb(60, 60, 60));
}

TEST_F(FakeDirectDrawTest, FailedBlitShowsGreyWithDirectDrawFailed)
{
    InitWithCaps(DDCAPS_BLT, 0);
    ASSERT_EQ(Upload(Yuy2Frame(64, 48, 200)), S_OK);
    Fake(m_object->m_back)->m_copy_blit_result = DDERR_GENERIC;
    EXPECT_EQ(Draw(), S_OK);
    EXPECT_NE(m_object->m_status_flags & RenderStatusDrawFailed, 0u);
    Picture screen = Screen();
    EXPECT_EQ(screen.CountRows(kEmptyGrey, 0, 5 * kBandRows), kWindowWidth * 5 * kBandRows);
    EXPECT_GT(screen.CountRows(kFirstCaptionColour, 5 * kBandRows, 6 * kBandRows), 0);

    Fake(m_object->m_back)->m_copy_blit_result = DD_OK;
    EXPECT_EQ(Draw(), S_OK);
    EXPECT_EQ(m_object->m_status_flags & RenderStatusDrawFailed, 0u);
    screen = Screen();
    EXPECT_EQ(screen.CountRows(Rgb(200, 200, 200), 0, kWindowHeight), kWindowWidth * kWindowHeight);
}

TEST_F(FakeDirectDrawTest, StatusBandsStayInTheWindowWhereverItIs)
{
    InitWithCaps(DDCAPS_BLT, 0);
    ASSERT_EQ(Upload(Yuy2Frame(64, 48, 200)), S_OK);
    // The plug-in stores the window's place on the screen as the output rectangle.
    m_object->SetOutputRect(300, 200, kWindowWidth, kWindowHeight);
    m_object->SetStatusFlags(RenderStatusLostSignal);
    ASSERT_EQ(Draw(), S_OK);
    const Picture screen = Screen();
    EXPECT_GT(screen.CountRows(kFirstCaptionColour, 4 * kBandRows, 5 * kBandRows), 0);
    EXPECT_EQ(screen.CountRows(kFirstCaptionColour, 0, kWindowHeight),
              screen.CountRows(kFirstCaptionColour, 4 * kBandRows, 5 * kBandRows));
}

} // namespace
