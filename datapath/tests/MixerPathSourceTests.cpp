// The mixer recipe with the real source plug-in "Intavo1.vdd" beside the kit's other roles: real
// sources run through the path, and what the correction filter's stand-in receives is compared
// with the source's pixels converted by the plain reference routines.
#include "ControllerTestSupport.h"

#include "GraphObjectTestSupport.h"
#include "GraphTestSupport.h"
#include "Intavo1.h"
#include "IntavoReferenceFrames.h"
#include "TempFolder.h"
#include "TestAviWriter.h"

#include "FrameDigest.h"
#include "MediaSubtypeGuids.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <vector>

using media_guids::MediaSubtypeI420;

namespace {

constexpr int32_t kMode = 4;
constexpr int32_t kSlot = 3;
constexpr int32_t kCameraId = 42;
// The mixer and the output come first, so the source is the third filter of the table.
constexpr int32_t kSourceIndex = 2;
// A graph may take seconds to build and run on a loaded machine; a frame in time passes at once.
constexpr DWORD kFirstFrameMs = 30000;

uint64_t DigestOf(const std::vector<uint8_t>& picture, int rowBytes)
{
    return DigestRows(picture.data(), rowBytes, static_cast<int64_t>(picture.size()) / rowBytes, rowBytes);
}

std::string FrameLine(int width, int height, int stride, uint64_t digest)
{
    char text[160];
    std::snprintf(text, sizeof(text), "Frame subtype=YUY2 width=%d height=%d stride=%d number=%d digest=%016llX", width,
                  height, stride, kCameraId, static_cast<unsigned long long>(digest));
    return text;
}

class MixerPathSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"Blendora1.vdd", "RendaraGeneral.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd"})
            m_folder.Install(name);
        m_folder.InstallDelivered("Intavo1.vdd");
        m_correction = std::make_unique<TestFilterJournal>(m_folder.Path() + "\\Tonalis1.vdd");
        m_controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
        ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(nullptr, 0, kMode));
    }
    void TearDown() override
    {
        m_controller->Stop();
        m_controller->DeleteAllGraph();
        m_controller.reset();
    }

    // Adds the source in its slot, gives it a rate and runs the path.
    void AddSource(InfoNeedInterface source)
    {
        source.m_id_camera = kCameraId;
        ASSERT_EQ(S_OK, m_controller->AddDriverToMixerDataPathForTundrel(&source, 0, kSlot, kMode));
        ASSERT_EQ(m_controller->FilterAt(kSourceIndex), m_controller->MixerInput(kSlot));
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetFloat(100.0f);
        ASSERT_GE(m_controller->CallInterfaceFunctionForIDObject(kSourceIndex, 0, IID_IControlDriverDirectShow, 3,
                                                                 &params),
                  0);
        ASSERT_GE(m_controller->Run(), 0);
    }

    // Waits until the correction filter received one of the frames; whether it did.
    bool WaitForFrame(const std::function<std::set<std::string>()>& expected)
    {
        return WaitUntil(
            [&] {
                const std::set<std::string> lines = expected();
                for (const std::string& line : m_correction->LinesStartingWith("Frame "))
                    if (lines.count(line) != 0)
                        return true;
                return false;
            },
            kFirstFrameMs);
    }

    // Removes the slot and checks that the source's graph thread is gone.
    void RemoveSourceAndItsGraphThread()
    {
        DWORD graphThread = 0;
        m_controller->RunOnWorker([&] {
            const auto* state = static_cast<const InfoFilterIntavo1*>(
                m_controller->FilterAt(kSourceIndex)->GetInstanceRecord().m_state);
            if (state != nullptr && state->m_driver && state->m_driver->GetGraphObject() != nullptr)
                graphThread = state->m_driver->GetGraphObject()->GetThreadIdObject();
            return S_OK;
        });
        ASSERT_NE(graphThread, 0u);
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, graphThread);
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(S_OK, m_controller->DeleteDriverFromMixerDataPathForTundrel(kSlot));
        EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
        CloseHandle(thread);
        m_correction->Clear();
    }

    TestFilterFolder m_folder;
    std::unique_ptr<TestFilterJournal> m_correction;
    std::unique_ptr<TestControlDataPath1> m_controller;
};

} // namespace

TEST_F(MixerPathSourceTest, AviFilesReachTheChainAsTheirPictures)
{
    for (const AviSourceCase& c : AviSourceCases()) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder / (std::string(c.name) + ".avi");
        const int width = c.format.width;
        const int height = c.format.height;
        std::vector<std::vector<uint8_t>> pictures;
        std::set<std::string> expected;
        for (uint32_t seed = 1; seed <= 3; ++seed) {
            pictures.push_back(MakePatternPicture(c.subtype, width, height, seed));
            const std::vector<uint8_t> picture = ExpectedDataPathPicture(c.subtype, width, height, pictures.back());
            expected.insert(FrameLine(width, height, DataPathStride(c.subtype, width), DigestOf(picture, 2 * width)));
        }
        ASSERT_TRUE(WriteTestAvi(std::wstring(path.begin(), path.end()), c.format, 25, pictures));
        AddSource(MakeFileSource(path));
        EXPECT_TRUE(WaitForFrame([&] { return expected; })) << *expected.begin();
        RemoveSourceAndItsGraphThread();
    }
}

TEST_F(MixerPathSourceTest, APictureFolderReachesTheChain)
{
    TempFolder folder;
    std::set<std::string> expected;
    for (uint32_t k = 0; k < 2; ++k) {
        const std::vector<uint8_t> rows = MakePatternPicture(MEDIASUBTYPE_RGB24, 64, 48, 30 + k);
        folder.WriteFile("picture" + std::to_string(k) + ".bmp", MakeBmp24File(64, 48, rows));
        const std::vector<uint8_t> picture = ExpectedDataPathPicture(MEDIASUBTYPE_RGB24, 64, 48, rows);
        expected.insert(FrameLine(64, 48, DataPathStride(MEDIASUBTYPE_RGB24, 64), DigestOf(picture, 128)));
    }
    InfoNeedInterface source = MakeOwnSource(TypeSourcePictureFile);
    source.m_name_file = folder.Path().c_str();
    AddSource(source);
    for (const std::string& line : expected)
        EXPECT_TRUE(WaitForFrame([&] { return std::set<std::string>{line}; })) << line;
    RemoveSourceAndItsGraphThread();
}

// Compared with a copy of the desktop taken through GDI, again on every look: another test's
// window may change the desktop meanwhile.
TEST_F(MixerPathSourceTest, TheDesktopReachesTheChain)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const auto desktop = [&] {
        const std::vector<uint8_t> picture =
            ExpectedDataPathPicture(MEDIASUBTYPE_RGB24, width, height, CaptureDesktopRgb24(width, height));
        return std::set<std::string>{
            FrameLine(width, height, DataPathStride(MEDIASUBTYPE_RGB24, width), DigestOf(picture, 2 * width))};
    };
    AddSource(MakeOwnSource(TypeSourceDesktop));
    EXPECT_TRUE(WaitForFrame(desktop));
    RemoveSourceAndItsGraphThread();
}

// The test camera's byte i of frame n is (n + i) & 0xFF: any of 256 frames may arrive.
TEST_F(MixerPathSourceTest, TheTestCameraReachesTheChainInYuy2AndI420)
{
    SmartComPointer<ITestCaptureDevice> device;
    OpenTestDevice(CLSID_TestCaptureDeviceSolo, device);
    ASSERT_TRUE(device);
    const int width = 320;
    const int height = 240;
    for (const GUID& subtype : {MEDIASUBTYPE_YUY2, MediaSubtypeI420}) {
        SCOPED_TRACE(subtype.Data1);
        const TestCaptureCapability capability = MakeTestCameraCapability(subtype, width, height);
        ASSERT_EQ(device->SetCapabilities(&capability, 1), S_OK);
        std::set<std::string> expected;
        for (ULONG number = 0; number < 256; ++number) {
            const std::vector<uint8_t> picture = MakeTestCameraPicture(subtype, width, height, number);
            expected.insert(FrameLine(width, height, 2 * width,
                                      DigestOf(ExpectedDataPathPicture(subtype, width, height, picture), 2 * width)));
        }
        InfoNeedInterface source = MakeDeviceSource(kTestCaptureDeviceSoloName, 0);
        source.m_media_type.m_subtype = subtype;
        AddSource(source);
        EXPECT_TRUE(WaitForFrame([&] { return expected; }));
        RemoveSourceAndItsGraphThread();
    }
    device->RestoreDefaults();
}
