#include "GraphObjectTestSupport.h"

#include "TestAviWriter.h"

#include <gtest/gtest.h>

#include <dshow.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Every byte of frame k is k * 16 + (i % 16), so a frame's number is its first byte / 16.
std::vector<std::vector<uint8_t>> NumberedFrames(const TestAviFormat& format, int count)
{
    std::vector<std::vector<uint8_t>> frames(count, std::vector<uint8_t>(TestAviFrameSize(format)));
    for (int k = 0; k < count; ++k)
        for (size_t i = 0; i < frames[k].size(); ++i)
            frames[k][i] = static_cast<uint8_t>(k * 16 + i % 16);
    return frames;
}

// A file of numbered frames under the temporary folder, removed with the holder.
class NumberedAvi
{
public:
    NumberedAvi(const char* name, const TestAviFormat& format, int count, uint32_t framesPerSecond)
        : m_frames(NumberedFrames(format, count))
    {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        m_path = std::string(folder) + "korvane_graph_object_" + std::to_string(GetCurrentProcessId()) + "_" + name +
                 ".avi";
        EXPECT_TRUE(WriteTestAvi(std::wstring(m_path.begin(), m_path.end()), format, framesPerSecond, m_frames));
    }
    ~NumberedAvi() { DeleteFileA(m_path.c_str()); }
    const std::string& Path() const { return m_path; }
    const std::vector<std::vector<uint8_t>>& Frames() const { return m_frames; }

private:
    std::vector<std::vector<uint8_t>> m_frames;
    std::string m_path;
};

int FrameNumber(const InfoDataBufferPath1& frame)
{
    return frame.m_data[frame.m_offset_data] / 16;
}

LONGLONG ReadSlot(ClassDirectAcessToDriver& driver, uint32_t variable)
{
    ExtStateVideoDriver state;
    EXPECT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | variable, &state), S_OK);
    return state.m_array_longlong.GetElement(variable);
}

void WriteSlot(ClassDirectAcessToDriver& driver, uint32_t variable, LONGLONG value)
{
    ExtStateVideoDriver state;
    state.m_array_longlong.GetElement(variable) = value;
    EXPECT_EQ(driver.SafeUpdateInternalVar(InternalVarWrite | variable, &state), S_OK);
}

} // namespace

TEST(GraphFileSource, PlaysTheFileIntoTheSinkAndHandsOutItsFrames)
{
    const struct
    {
        const char* name;
        TestAviFormat format;
        GUID subtype;
    } cases[] = {
        {"yuy2", {TestFourcc('Y', 'U', 'Y', '2'), 16, 64, 16}, MEDIASUBTYPE_YUY2},
        // 60 pixels of 3 bytes: rows of 180 bytes, no padding.
        {"rgb24", {BI_RGB, 24, 60, 16}, MEDIASUBTYPE_RGB24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        NumberedAvi file(c.name, c.format, 8, 20);
        ClassDirectAcessToDriver driver("");
        const InfoNeedInterface source = MakeFileSource(file.Path());
        ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
        ASSERT_EQ(driver.Run(), S_OK);
        InfoDataBufferPath1 frame(false);
        ASSERT_TRUE(FetchFrame(driver, frame, 5000));
        EXPECT_TRUE(IsEqualGUID(frame.m_info.m_subtype, c.subtype));
        EXPECT_EQ(frame.m_info.m_bih.biWidth, c.format.width);
        EXPECT_EQ(frame.m_info.m_bih.biHeight, c.format.height);
        ASSERT_EQ(frame.m_size_data, static_cast<int32_t>(TestAviFrameSize(c.format)));
        const int number = FrameNumber(frame);
        ASSERT_LT(number, 8);
        EXPECT_EQ(std::memcmp(frame.m_data + frame.m_offset_data, file.Frames()[number].data(), frame.m_size_data), 0);
    }
}

// The end of the file raises the completion event: the watchdog rewinds it at once and it plays
// again from its first frame, up to its full length. The last frame is on show only until the
// rewind's first frame replaces it, a few milliseconds, so the end is seen as the numbers going
// back after a frame near the end.
TEST(GraphFileSource, RewindsAtItsEndAndPlaysAgainFromTheFirstFrame)
{
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, 32, 8};
    NumberedAvi file("rewind", format, 10, 20);
    ClassDirectAcessToDriver driver("");
    const InfoNeedInterface source = MakeFileSource(file.Path());
    ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
    ASSERT_EQ(driver.Run(), S_OK);
    int previous = -1;
    int beforeRewind = -1;
    int afterRewind = -1;
    InfoDataBufferPath1 frame(false);
    const bool rewound = WaitUntil(
        [&] {
            if (driver.SafeGetBuffer(&frame) != S_OK || frame.IsNULLFrame() != S_OK)
                return false;
            const int number = FrameNumber(frame);
            if (number < previous) {
                beforeRewind = previous;
                afterRewind = number;
            }
            previous = number;
            return beforeRewind >= 8 && afterRewind <= 2;
        },
        8000);
    EXPECT_TRUE(rewound) << "last rewind from frame " << beforeRewind << " to frame " << afterRewind;
    EXPECT_EQ(ReadSlot(driver, InternalVarDuration), 5000000);
    EXPECT_EQ(ReadSlot(driver, InternalVarStopPosition), 5000000);
}

TEST(GraphFileSource, PositionStopDurationAndRateVariables)
{
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, 32, 8};
    NumberedAvi file("variables", format, 10, 20);
    ClassDirectAcessToDriver driver("");
    const InfoNeedInterface source = MakeFileSource(file.Path());
    ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
    EXPECT_EQ(ReadSlot(driver, InternalVarDuration), 5000000);
    WriteSlot(driver, InternalVarCurrentPosition, 2500000);
    EXPECT_EQ(ReadSlot(driver, InternalVarCurrentPosition), 2500000);
    WriteSlot(driver, InternalVarStopPosition, 4000000);
    EXPECT_EQ(ReadSlot(driver, InternalVarStopPosition), 4000000);
    // A duration is read, never written.
    WriteSlot(driver, InternalVarDuration, 7);
    EXPECT_EQ(ReadSlot(driver, InternalVarDuration), 5000000);

    // Wine's graph takes a rate without using it and always answers 1.
    ExtStateVideoDriver rate;
    rate.m_array_double.GetElement(InternalVarRate) = 2.0;
    ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarWrite | InternalVarRate, &rate), S_OK);
    rate.m_array_double.GetElement(InternalVarRate) = 7.0;
    ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | InternalVarRate, &rate), S_OK);
    EXPECT_EQ(rate.m_array_double.GetElement(InternalVarRate), 1.0);

    ExtStateVideoDriver interval;
    interval.m_array_uint.GetElement(InternalVarPictureInterval) = 250;
    ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarWrite | InternalVarPictureInterval, &interval), S_OK);
    interval.ResetStruct();
    ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarRead | InternalVarPictureInterval, &interval), S_OK);
    EXPECT_EQ(interval.m_array_uint.GetElement(InternalVarPictureInterval), 250u);
}

// Frames a second apart: with the clock the tenth would come after ten seconds.
TEST(GraphFileSource, WithoutAClockPlaysAsFastAsItCan)
{
    const TestAviFormat format = {TestFourcc('Y', 'U', 'Y', '2'), 16, 32, 8};
    NumberedAvi file("no_clock", format, 15, 1);
    ClassDirectAcessToDriver driver("");
    const InfoNeedInterface source = MakeFileSource(file.Path());
    ASSERT_EQ(driver.SetDriverInfo(&source), S_OK);
    ExtStateVideoDriver clock;
    clock.m_array_uint.GetElement(InternalVarGraphClock) = 0;
    ASSERT_EQ(driver.SafeUpdateInternalVar(InternalVarWrite | InternalVarGraphClock, &clock), S_OK);
    ASSERT_EQ(driver.Run(), S_OK);
    InfoDataBufferPath1 frame(false);
    EXPECT_TRUE(WaitUntil(
        [&] { return driver.SafeGetBuffer(&frame) == S_OK && frame.IsNULLFrame() == S_OK && FrameNumber(frame) >= 10; },
        5000));
}
