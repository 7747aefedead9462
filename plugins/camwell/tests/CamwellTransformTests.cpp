// The camera filter's transform: outputs of frames without data, grey picture, placeholder
// frames, scrambling, the hand-out of the last frame and frame files.
#include "CamwellFixture.h"
#include "FunctCreateBMPFile.h"
#include "TempFolder.h"

#include "MediaSubtypeGuids.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

using namespace media_guids;

namespace {

std::vector<uint8_t> ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A YUY2 frame whose bytes count up, so any moved or changed byte shows.
std::unique_ptr<InfoDataBufferPath1> MakePatternFrame()
{
    auto frame = MakeVideoFrame(MEDIASUBTYPE_YUY2, 16, 4, 2, 0);
    for (int32_t i = 0; i < frame->m_size_data; ++i)
        frame->m_data[i] = static_cast<uint8_t>(i * 7 + 3);
    return frame;
}

} // namespace

TEST_F(CamwellTest, TransformRefusesBadArguments)
{
    auto frame = MakePatternFrame();
    EXPECT_EQ(m_transform(nullptr, sizeof(InfoDataBufferPath1), nullptr, 0, &m_record, &m_events, 0), E_INVALIDARG);
    EXPECT_EQ(m_transform(frame.get(), sizeof(InfoDataBufferPath1), nullptr, 0, nullptr, &m_events, 0), E_INVALIDARG);
    EXPECT_EQ(m_transform(frame.get(), 0, nullptr, 0, &m_record, &m_events, 0), E_UNEXPECTED);
    InfoFilterObjectDataPath1 stateless;
    EXPECT_EQ(m_transform(frame.get(), sizeof(InfoDataBufferPath1), nullptr, 0, &stateless, &m_events, 0), E_INVALIDARG);
}

TEST_F(CamwellTest, FrameWithoutDataGoesToEveryOutput)
{
    InfoDataBufferPath1 empty;
    ASSERT_EQ(Transform(empty), S_OK);
    EXPECT_EQ(Outputs(), (std::array<bool, 3>{true, true, true}));

    auto frame = MakePatternFrame();
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_FALSE(Outputs()[0]) << "no second has passed since the start";
    frame->SetVirtualFrame();
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(Outputs(), (std::array<bool, 3>{true, true, true}));
}

TEST_F(CamwellTest, GreyPictureIsNotGrabbed)
{
    ASSERT_EQ(CallOneBool(IID_IGrabberFrames, 0, true), S_OK);
    ASSERT_EQ(CallOneBool(IID_IGrabberFrames, 1, true), S_OK);
    ASSERT_EQ(CallOneBool(IID_IInfoCamera, 4, true), S_OK);
    auto frame = MakePatternFrame();
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(FrameBytes(*frame), std::vector<uint8_t>(frame->m_size_data, 127));
    EXPECT_TRUE(Outputs()[2]);
    uint32_t needed = 1;
    ASSERT_EQ(Call(IID_IGrabberFrames, 6, 1, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetUIntPointer(&needed, 4, true);
              }),
              S_OK);
    EXPECT_EQ(needed, 0u);
}

TEST_F(CamwellTest, UnshowableSubtypeBecomesBlackPlaceholder)
{
    auto frame = MakeVideoFrame(MEDIASUBTYPE_RGB24, 32, 8, 3, 0x55);
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(frame->m_info.m_state, 514u);
    EXPECT_EQ(frame->m_info.m_subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(frame->m_info.m_bih.biWidth, 80);
    EXPECT_EQ(frame->m_info.m_bih.biHeight, 60);
    EXPECT_EQ(frame->m_info.m_bih.biBitCount, 16);
    EXPECT_EQ(frame->m_stride, 160);
    EXPECT_EQ(frame->m_offset_data, 0);
    EXPECT_EQ(FrameBytes(*frame), std::vector<uint8_t>(9600, 0));

    auto y8 = MakeVideoFrame(MediaSubtypeY8, 16, 4, 1, 0x55);
    ASSERT_EQ(Transform(*y8), S_OK);
    EXPECT_EQ(FrameBytes(*y8), std::vector<uint8_t>(64, 0x55)) << "Y8 passes as it is";
}

TEST_F(CamwellTest, ScramblingTwiceRestoresTheBytes)
{
    auto frame = MakePatternFrame();
    const std::vector<uint8_t> original = FrameBytes(*frame);
    ASSERT_EQ(CallOneBool(IID_IControlCoderVideoData, 1, true), S_OK);
    ASSERT_EQ(Transform(*frame), S_OK);
    const std::vector<uint8_t> scrambled = FrameBytes(*frame);
    EXPECT_NE(scrambled, original);
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(FrameBytes(*frame), original);

    ASSERT_EQ(CallOneBool(IID_IControlCoderVideoData, 0, false), S_OK) << "key flag 0";
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(FrameBytes(*frame), original) << "no key, no scrambling";
}

TEST_F(CamwellTest, LastFrameHandOut)
{
    uint32_t size = 0;
    std::vector<uint8_t> buffer;
    const auto handOut = [&] {
        return Call(IID_IGrabberFrames, 3, 2, [&](ListParamsDataPath1& p) {
            p.m_params.GetElement(0).SetPointer(buffer.empty() ? nullptr : buffer.data(), size, true);
            p.m_params.GetElement(1).SetUIntPointer(&size, 4, true);
        });
    };
    const auto sizeNeeded = [&] {
        uint32_t needed = 0;
        EXPECT_EQ(Call(IID_IGrabberFrames, 6, 1, [&](ListParamsDataPath1& p) {
                      p.m_params.GetElement(0).SetUIntPointer(&needed, 4, true);
                  }),
                  S_OK);
        return needed;
    };
    auto frame = MakePatternFrame();
    const std::vector<uint8_t> data = FrameBytes(*frame);
    const uint32_t description = sizeof(InfoDataBufferPath1);

    size = 4096;
    EXPECT_EQ(handOut(), E_FAIL) << "grabber off";
    EXPECT_EQ(size, 0u);

    ASSERT_EQ(CallOneBool(IID_IGrabberFrames, 0, true), S_OK);
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(sizeNeeded(), 0u) << "without continuous copy the last frame keeps no data";

    ASSERT_EQ(CallOneBool(IID_IGrabberFrames, 1, true), S_OK);
    ASSERT_EQ(Transform(*frame), S_OK);
    const uint32_t needed = sizeNeeded();
    ASSERT_EQ(needed, data.size() + description);

    buffer.assign(needed - 1, 0xEE);
    size = needed - 1;
    EXPECT_EQ(handOut(), S_OK) << "one byte short";
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(buffer, std::vector<uint8_t>(needed - 1, 0xEE)) << "nothing copied";

    buffer.assign(needed, 0xEE);
    size = needed;
    ASSERT_EQ(handOut(), S_OK);
    EXPECT_EQ(size, needed);
    const auto* record = reinterpret_cast<const InfoDataBufferPath1*>(buffer.data());
    EXPECT_EQ(record->m_data, nullptr);
    EXPECT_EQ(record->m_capacity, static_cast<int32_t>(needed));
    EXPECT_EQ(record->m_size_data, static_cast<int32_t>(data.size()));
    EXPECT_EQ(record->m_offset_data, static_cast<int32_t>(description));
    EXPECT_EQ(record->m_info.m_state, 2u);
    EXPECT_EQ(record->m_info.m_major_type, frame->m_info.m_major_type);
    EXPECT_EQ(record->m_info.m_subtype, MEDIASUBTYPE_YUY2);
    EXPECT_EQ(record->m_info.m_bih.biWidth, 16);
    EXPECT_EQ(record->m_info.m_bih.biHeight, 4);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + description, buffer.end()), data);

    size = needed;
    EXPECT_EQ(handOut(), S_OK);
    EXPECT_EQ(size, 0u) << "each frame is handed out once";
    EXPECT_EQ(sizeNeeded(), 0u);
}

TEST_F(CamwellTest, GrabRequestWritesOneFrameFile)
{
    TempFolder folder;
    const std::string requested = folder / "requested.bmp";
    const std::string now = folder / "now.bmp";
    ASSERT_EQ(SetCameraId(12), S_OK);
    ASSERT_EQ(Call(IID_IGrabberFrames, 4, 1, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetTextPointer(const_cast<char*>(requested.c_str()), 0, false);
              }),
              S_OK);
    auto frame = MakeVideoFrame(MEDIASUBTYPE_YUY2, 320, 240, 2, 0x80);
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(ReadFileBytes(requested).size(), 1327162u);

    // The last frame kept by the request, written now with the frame's time as caption.
    ASSERT_EQ(Call(IID_IGrabberFrames, 5, 2, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetTextPointer(const_cast<char*>(now.c_str()), 0, false);
              }),
              S_OK);
    EXPECT_EQ(ReadFileBytes(now).size(), 1327162u);

    ASSERT_TRUE(DeleteFileA(requested.c_str()));
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_EQ(GetFileAttributesA(requested.c_str()), INVALID_FILE_ATTRIBUTES) << "the request was for one frame";
}

TEST_F(CamwellTest, FrameFileOverALongerFileKeepsItsTail)
{
    TempFolder folder;
    const std::string path = folder / "long.bmp";
    folder.WriteFile("long.bmp", std::string(1400000, '\xAB'));
    ASSERT_EQ(CallOneBool(IID_IGrabberFrames, 1, true), S_OK);
    auto frame = MakeVideoFrame(MEDIASUBTYPE_YUY2, 320, 240, 2, 0x80);
    ASSERT_EQ(Transform(*frame), S_OK);
    ASSERT_EQ(Call(IID_IGrabberFrames, 5, 2, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetTextPointer(const_cast<char*>(path.c_str()), 0, false);
              }),
              S_OK);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 1400000u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 1327162, bytes.end()), std::vector<uint8_t>(1400000 - 1327162, 0xAB));
}

TEST_F(CamwellTest, WritingWithoutALastFrameFails)
{
    TempFolder folder;
    const std::string path = folder / "none.bmp";
    EXPECT_LT(Call(IID_IGrabberFrames, 5, 2, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetTextPointer(const_cast<char*>(path.c_str()), 0, false);
              }),
              0);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CamwellTest, UnusableRatesNeitherCrashNorDivide)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    ASSERT_EQ(SetSchedule(0x14), S_OK) << "motion-triggered recording";
    ASSERT_EQ(SetRateRow(0, {0, 0, 0, nan, nan}, true), S_OK);
    ASSERT_EQ(SetRateRow(1, {nan, infinity, -infinity, -5, 1e9f}, true), S_OK);
    auto frame = MakePatternFrame();
    AddDetectionEvent(0);
    ASSERT_EQ(Transform(*frame), S_OK);
    EXPECT_FALSE(Outputs()[0]);
    EXPECT_FALSE(Outputs()[1]);
    EXPECT_TRUE(Outputs()[2]) << "a view rate that is not a number counts as 0: every frame";
    EXPECT_EQ(Call(IID_IControlRateData, 2), S_OK);
}
