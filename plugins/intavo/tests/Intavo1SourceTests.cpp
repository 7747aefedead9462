// Real sources through the plug-in's exports: generated AVI files through Wine's splitter into
// the sink filter, a picture folder, the desktop and the test camera. Every frame is checked
// against the source's own pixels converted by the plain reference routines.
#include "Intavo1Fixture.h"

#include "GraphObjectTestSupport.h"
#include "GraphTestSupport.h"
#include "IntavoReferenceFrames.h"
#include "TempFolder.h"
#include "TestAviWriter.h"

#include "MediaSubtypeGuids.h"

#include <string>
#include <vector>

using media_guids::MediaSubtypeI420;

namespace {

constexpr int32_t kCameraId = 77;
constexpr uint32_t kMode = 4;
// A graph may take seconds to build and run on a loaded machine; a frame in time passes at once.
constexpr DWORD kFirstFrameMs = 30000;

// Whether the frame carries the picture the data path must receive for one of the sources.
bool CarriesOneOf(const InfoDataBufferPath1& frame, const std::vector<std::vector<uint8_t>>& expected)
{
    const std::vector<uint8_t> visible = VisibleBytes(frame);
    for (const std::vector<uint8_t>& picture : expected)
        if (visible == picture)
            return true;
    return false;
}

class Intavo1SourceTest : public Intavo1Test
{
protected:
    void SetUp() override
    {
        Intavo1Test::SetUp();
        ASSERT_GE(SetMode(kMode), 0);
        ASSERT_GE(SetRate(200.0f), 0);
    }

    // Frames until one carries the expected picture, with the camera id as frame number.
    void ExpectPicture(const std::vector<std::vector<uint8_t>>& expected, int32_t stride)
    {
        InfoDataBufferPath1 frame;
        ASSERT_TRUE(FetchUntil(frame, kFirstFrameMs, [&](const InfoDataBufferPath1& f) { return CarriesOneOf(f, expected); }));
        EXPECT_EQ(frame.m_info.m_subtype, MEDIASUBTYPE_YUY2);
        EXPECT_EQ(frame.m_stride, stride);
        EXPECT_EQ(frame.m_number_frame, kCameraId);
    }
};

} // namespace

TEST_F(Intavo1SourceTest, AviFilesArriveAsTheirYuy2Pictures)
{
    for (const AviSourceCase& c : AviSourceCases()) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder / (std::string(c.name) + ".avi");
        std::vector<std::vector<uint8_t>> pictures;
        std::vector<std::vector<uint8_t>> expected;
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            pictures.push_back(MakePatternPicture(c.subtype, c.format.width, c.format.height, seed));
            expected.push_back(ExpectedDataPathPicture(c.subtype, c.format.width, c.format.height, pictures.back()));
        }
        ASSERT_EQ(pictures[0].size(), TestAviFrameSize(c.format));
        ASSERT_TRUE(WriteTestAvi(std::wstring(path.begin(), path.end()), c.format, 25, pictures));
        InfoNeedInterface source = MakeFileSource(path);
        source.m_id_camera = kCameraId;
        ASSERT_GE(SetSource(source), 0);
        ExpectPicture(expected, DataPathStride(c.subtype, c.format.width));
    }
}

TEST_F(Intavo1SourceTest, APictureFolderArrivesPictureByPicture)
{
    TempFolder folder;
    std::vector<std::vector<uint8_t>> expected;
    for (uint32_t k = 0; k < 2; ++k) {
        const std::vector<uint8_t> rows = MakePatternPicture(MEDIASUBTYPE_RGB24, 64, 48, 20 + k);
        folder.WriteFile("picture" + std::to_string(k) + ".bmp", MakeBmp24File(64, 48, rows));
        expected.push_back(ExpectedDataPathPicture(MEDIASUBTYPE_RGB24, 64, 48, rows));
    }
    InfoNeedInterface source = MakeOwnSource(TypeSourcePictureFile);
    source.m_name_file = folder.Path().c_str();
    source.m_id_camera = kCameraId;
    ASSERT_GE(SetSource(source), 0);
    // Both pictures come, one after the other.
    for (const std::vector<uint8_t>& picture : expected)
        ExpectPicture({picture}, DataPathStride(MEDIASUBTYPE_RGB24, 64));
}

// The desktop is compared with a copy taken through GDI: another test's window may change it
// meanwhile, so a few captures are tried.
TEST_F(Intavo1SourceTest, TheDesktopArrivesAsItsPicture)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(width % 16, 0);
    InfoNeedInterface source = MakeOwnSource(TypeSourceDesktop);
    source.m_id_camera = kCameraId;
    ASSERT_GE(SetSource(source), 0);
    const auto capture = [&] {
        return ExpectedDataPathPicture(MEDIASUBTYPE_RGB24, width, height, CaptureDesktopRgb24(width, height));
    };
    // Other test programs share the display and may change it at any moment: a frame matches the
    // desktop as it was just before or just after the fetch, in one of many tries.
    bool matched = false;
    for (int attempt = 0; attempt < 20 && !matched; ++attempt) {
        const std::vector<uint8_t> before = capture();
        InfoDataBufferPath1 frame;
        ASSERT_TRUE(FetchUntil(frame, kFirstFrameMs));
        EXPECT_EQ(frame.m_info.m_bih.biWidth, width);
        EXPECT_EQ(frame.m_info.m_bih.biHeight, height);
        EXPECT_EQ(frame.m_stride, DataPathStride(MEDIASUBTYPE_RGB24, width));
        EXPECT_EQ(frame.m_number_frame, kCameraId);
        const std::vector<uint8_t> visible = VisibleBytes(frame);
        matched = visible == before || visible == capture();
    }
    EXPECT_TRUE(matched);
}

// The test camera's byte i of frame n is (n + i) & 0xFF, so the first luma byte names the frame.
TEST_F(Intavo1SourceTest, TheTestCameraArrivesInYuy2AndI420)
{
    const struct
    {
        const char* name;
        GUID subtype;
        int width;
        int height;
    } cases[] = {{"YUY2", MEDIASUBTYPE_YUY2, 320, 240}, {"I420", MediaSubtypeI420, 320, 240}};
    SmartComPointer<ITestCaptureDevice> device;
    OpenTestDevice(CLSID_TestCaptureDeviceSolo, device);
    ASSERT_TRUE(device);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TestCaptureCapability capability = MakeTestCameraCapability(c.subtype, c.width, c.height);
        ASSERT_EQ(device->SetCapabilities(&capability, 1), S_OK);
        InfoNeedInterface source = MakeDeviceSource(kTestCaptureDeviceSoloName, 0);
        source.m_media_type.m_subtype = c.subtype;
        source.m_media_type.m_bih.biWidth = c.width;
        source.m_media_type.m_bih.biHeight = c.height;
        source.m_id_camera = kCameraId;
        ASSERT_GE(SetSource(source), 0);
        InfoDataBufferPath1 frame;
        ASSERT_TRUE(FetchUntil(frame, kFirstFrameMs));
        const ULONG number = frame.m_data[frame.m_offset_data];
        const std::vector<uint8_t> picture = MakeTestCameraPicture(c.subtype, c.width, c.height, number);
        EXPECT_EQ(VisibleBytes(frame), ExpectedDataPathPicture(c.subtype, c.width, c.height, picture));
        EXPECT_EQ(frame.m_stride, 2 * c.width);
        EXPECT_EQ(frame.m_number_frame, kCameraId);
    }
    device->RestoreDefaults();
}

// Suspended, the source delivers nothing and its graph stands still; resumed, it delivers again.
TEST_F(Intavo1SourceTest, SuspendStopsTheGraphAndResumeRunsItAgain)
{
    TempFolder folder;
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, 64, 32};
    const std::string path = folder / "suspend.avi";
    const std::vector<std::vector<uint8_t>> pictures(2, MakePatternPicture(MEDIASUBTYPE_YUY2, 64, 32, 4));
    ASSERT_TRUE(WriteTestAvi(std::wstring(path.begin(), path.end()), format, 25, pictures));
    ASSERT_GE(SetSource(MakeFileSource(path)), 0);
    InfoDataBufferPath1 frame;
    ASSERT_TRUE(FetchUntil(frame, kFirstFrameMs));

    EXPECT_EQ(SetOption(0, 1), S_OK);
    EXPECT_FALSE(State().m_driver->IsRunning());
    EXPECT_EQ(State().m_own_frame.m_info.m_bih.biWidth, 16);
    for (int k = 0; k < 20; ++k) {
        ASSERT_EQ(Fetch(frame), S_OK);
        EXPECT_EQ(frame.m_info.m_state, kStateEmptyFrame) << k;
        Sleep(10);
    }
    EXPECT_EQ(SetOption(0, 0), S_OK);
    EXPECT_TRUE(State().m_driver->IsRunning());
    EXPECT_TRUE(FetchUntil(frame, kFirstFrameMs));
}

// With the self-check on, frames come as before.
TEST_F(Intavo1SourceTest, TheSelfCheckChangesNoFrame)
{
    TempFolder folder;
    const std::vector<uint8_t> rows = MakePatternPicture(MEDIASUBTYPE_RGB24, 64, 48, 3);
    folder.WriteFile("still.bmp", MakeBmp24File(64, 48, rows));
    InfoNeedInterface source = MakeOwnSource(TypeSourcePictureFile);
    source.m_name_file = (folder / "still.bmp").c_str();
    source.m_id_camera = kCameraId;
    ASSERT_GE(SetSource(source), 0);
    ASSERT_EQ(SetOption(1, 1), S_OK);
    ExpectPicture({ExpectedDataPathPicture(MEDIASUBTYPE_RGB24, 64, 48, rows)}, DataPathStride(MEDIASUBTYPE_RGB24, 64));
}
