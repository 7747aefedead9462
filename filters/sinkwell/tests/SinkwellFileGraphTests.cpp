#include "SinkwellGraphFixture.h"
#include "TestAviWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct FileCase
{
    const char* name;
    TestAviFormat format;
    GUID subtype;
    int32_t stride;
};

// Bytes of a row and how many of them carry pixels: RGB rows end in padding, which the splitter
// does not carry over.
struct RowLayout
{
    uint32_t rowBytes;
    uint32_t usedBytes;
};

RowLayout LayoutOf(const TestAviFormat& format)
{
    const uint32_t rowBytes = TestAviFrameSize(format) / static_cast<uint32_t>(format.height);
    if (format.compression != BI_RGB)
        return {rowBytes, rowBytes};
    return {rowBytes, static_cast<uint32_t>(format.width) * format.bitCount / 8};
}

// A different pattern in every frame; padding is 0.
std::vector<std::vector<uint8_t>> PatternFrames(const TestAviFormat& format, int count)
{
    const RowLayout layout = LayoutOf(format);
    std::vector<std::vector<uint8_t>> frames(count, std::vector<uint8_t>(TestAviFrameSize(format)));
    for (int k = 0; k < count; ++k) {
        for (uint32_t i = 0; i < frames[k].size(); ++i)
            frames[k][i] = i % layout.rowBytes < layout.usedBytes ? static_cast<uint8_t>(i * 7 + k * 31) : 0;
    }
    return frames;
}

// Whether the frame's pixels equal those of one of the frames.
bool HoldsOneOf(const InfoDataBufferPath1& frame, const TestAviFormat& format,
                const std::vector<std::vector<uint8_t>>& frames)
{
    const RowLayout layout = LayoutOf(format);
    for (const auto& candidate : frames) {
        bool equal = true;
        for (size_t row = 0; row + layout.rowBytes <= candidate.size() && equal; row += layout.rowBytes)
            equal = std::memcmp(frame.m_data + frame.m_offset_data + row, candidate.data() + row, layout.usedBytes) == 0;
        if (equal)
            return true;
    }
    return false;
}

std::wstring TempAviPath(const char* name)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"sinkwell_" + std::wstring(name, name + std::strlen(name)) + L".avi";
}

} // namespace

// Each uncompressed format plays from a file through Wine's splitter into the sink; after the end
// of the stream the newest sample is one of its frames, byte for byte, and is handed out once.
TEST(SinkwellFileGraph, PlaysEachFormatToTheEndAndHandsOutAFrameOnce)
{
    const FileCase cases[] = {
        {"yuy2", {TestFourcc('Y', 'U', 'Y', '2'), 16, 32, 8}, MEDIASUBTYPE_YUY2, 64},
        {"uyvy", {TestFourcc('U', 'Y', 'V', 'Y'), 16, 32, 8}, MEDIASUBTYPE_UYVY, 64},
        // 30 pixels of 3 bytes: rows padded from 90 to 92 bytes.
        {"rgb24", {BI_RGB, 24, 30, 8}, MEDIASUBTYPE_RGB24, 92},
        {"i420", {TestFourcc('I', '4', '2', '0'), 12, 32, 8}, MEDIASUBTYPE_I420, 64},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t frameSize = TestAviFrameSize(c.format);
        const auto frames = PatternFrames(c.format, 4);
        const std::wstring path = TempAviPath(c.name);
        ASSERT_TRUE(WriteTestAvi(path, c.format, 20, frames));
        {
            SinkGraph graph;
            ASSERT_EQ(graph.Status(), S_OK);
            ASSERT_EQ(graph.ConnectFile(path.c_str()), S_OK);
            AM_MEDIA_TYPE connected = {};
            ASSERT_EQ(graph.SinkPin()->ConnectionMediaType(&connected), S_OK);
            EXPECT_TRUE(IsEqualGUID(connected.subtype, c.subtype));
            CoTaskMemFree(connected.pbFormat);

            ASSERT_EQ(graph.Exchange()->SetFrameRate(200.0f), S_OK);
            ASSERT_TRUE(SUCCEEDED(graph.Run()));
            EXPECT_EQ(graph.WaitForCompletion(10000), EC_COMPLETE);

            InfoDataBufferPath1 frame(false);
            ASSERT_EQ(graph.GetData(frame), S_OK);
            EXPECT_EQ(frame.m_info.m_state, kFrameStateFrame);
            EXPECT_TRUE(IsEqualGUID(frame.m_info.m_subtype, c.subtype));
            EXPECT_TRUE(IsEqualGUID(frame.m_info.m_format_type, FORMAT_VideoInfo));
            EXPECT_EQ(frame.m_info.m_bih.biWidth, c.format.width);
            EXPECT_EQ(frame.m_info.m_bih.biHeight, c.format.height);
            EXPECT_EQ(frame.m_stride, c.stride);
            ASSERT_EQ(frame.m_size_data, static_cast<int32_t>(frameSize));
            ASSERT_NE(frame.m_data, nullptr);
            // Byte for byte one of the file's frames (the gate may skip a sample that follows the
            // previous one too closely, so not necessarily the last).
            EXPECT_TRUE(HoldsOneOf(frame, c.format, frames));

            ASSERT_EQ(graph.GetData(frame), S_OK);
            EXPECT_EQ(frame.m_info.m_state, kFrameStateEmpty);
            EXPECT_EQ(frame.m_size_data, 0);
        }
        DeleteFileW(path.c_str());
    }
}

// The sink passes seeking to the splitter: the graph knows the file's length and can loop it.
TEST(SinkwellFileGraph, SeekingReachesTheSplitter)
{
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, 32, 8};
    const std::wstring path = TempAviPath("seek");
    ASSERT_TRUE(WriteTestAvi(path, format, 20, PatternFrames(format, 10)));
    {
        SinkGraph graph;
        ASSERT_EQ(graph.ConnectFile(path.c_str()), S_OK);
        SmartComPointer<IMediaSeeking> seeking;
        ASSERT_EQ(graph.Sink()->QueryInterface(IID_IMediaSeeking, seeking.ReceiveVoidSlot()), S_OK);
        LONGLONG duration = 0;
        ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
        EXPECT_EQ(duration, 5000000); // 10 frames at 20 per second, in 100 ns units
        DWORD capabilities = AM_SEEKING_CanSeekAbsolute;
        EXPECT_TRUE(SUCCEEDED(seeking->CheckCapabilities(&capabilities)));
        EXPECT_NE(capabilities & AM_SEEKING_CanSeekAbsolute, 0u);
    }
    DeleteFileW(path.c_str());
}

TEST(SinkwellFileGraph, AviWriterRefusesAZeroFrameRate)
{
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, 32, 8};
    const std::wstring path = TempAviPath("zero_rate");
    EXPECT_FALSE(WriteTestAvi(path, format, 0, PatternFrames(format, 1)));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}
