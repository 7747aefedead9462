// The fetch's own steps: empty fetches and the lost-signal frame on the manual clock, the take-over
// and conversion of each delivered format (checked against the plain reference routines), and the
// self-check's blocks.
#include "Intavo1Fixture.h"

#include "ColourConversionSelfCheck.h"
#include "IntavoReferenceFrames.h"
#include "ManualTestClock.h"

#include "MediaSubtypeGuids.h"
#include "sys_funct1.h"

#include <cstring>
#include <vector>

using media_guids::MediaSubtypeI420;
using media_guids::MediaSubtypeY8;

namespace {

bool TypeWordsCleared(const InfoCallInterfaceDataPath1& info)
{
    return info.m_reserved[0] == 0 && info.m_reserved[1] == 0 && info.m_major_type == GUID_NULL &&
           info.m_subtype == GUID_NULL && info.m_format_type == GUID_NULL && info.m_count == 0;
}

// A sample as the sink filter hands it over: the picture's bytes in a block of its own, offset
// bytes into it.
void MakeDeliveredFrame(InfoDataBufferPath1& frame, const GUID& subtype, int width, int height,
                        const std::vector<uint8_t>& bytes, int32_t stride, int32_t offset = 0)
{
    const int size = static_cast<int>(bytes.size());
    ASSERT_EQ(frame.AllocBufferForStandartTypeVideoData(offset + size, width, height, stride, offset, size, subtype,
                                                        subtype.Data1,
                                                        static_cast<unsigned short>(8 * GetBytesPerPixelFromSubtype(subtype))),
              S_OK);
    frame.m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
    frame.m_info.m_count = 1;
    std::memcpy(frame.m_data + offset, bytes.data(), bytes.size());
}

struct StandaloneSource
{
    explicit StandaloneSource(uint32_t mode)
    {
        state.m_need_interface.m_id_camera = 12;
        SelectConversionRoutines(state.m_routines, mode);
    }
    InfoFilterIntavo1 state;
};

} // namespace

// Without a rate no frame is asked for; after more than four seconds of empty fetches one frame
// comes back as lost signal, and the next run of empty fetches starts with the fetch after it.
TEST_F(Intavo1Test, EmptyFetchesGiveResetFramesAndEveryFourSecondsOneLostSignal)
{
    ManualTestClock clock;
    InfoDataBufferPath1 frame;
    const auto fetchState = [&] {
        EXPECT_EQ(Fetch(frame), S_OK);
        return frame.m_info.m_state;
    };
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(fetchState(), kStateEmptyFrame) << round;
        EXPECT_NE(frame.m_data, nullptr);
        EXPECT_TRUE(TypeWordsCleared(frame.m_info));
        clock.Advance(4000);
        EXPECT_EQ(fetchState(), kStateEmptyFrame) << round;
        clock.Advance(1);
        EXPECT_EQ(fetchState(), Intavo1::kStateLostSignal) << round;
        EXPECT_TRUE(TypeWordsCleared(frame.m_info));
        EXPECT_EQ(State().m_empty_run_start, 0);
    }
}

TEST(Intavo1Conversion, EveryDeliveredFormatBecomesTheReferencePicture)
{
    const struct
    {
        const char* name;
        GUID subtype;
        int width;
        int height;
    } cases[] = {
        {"YUY2", MEDIASUBTYPE_YUY2, 64, 16},   {"YUYV", MEDIASUBTYPE_YUYV, 64, 16},
        {"UYVY", MEDIASUBTYPE_UYVY, 64, 16},   {"YVYU", MEDIASUBTYPE_YVYU, 48, 8},
        {"RGB24", MEDIASUBTYPE_RGB24, 64, 16}, {"Y8", MediaSubtypeY8, 64, 16},
        {"I420", MediaSubtypeI420, 320, 240},  {"IYUV", MEDIASUBTYPE_IYUV, 32, 8},
        {"YV12", MEDIASUBTYPE_YV12, 32, 8},
    };
    for (uint32_t mode : {1u, 2u, 4u}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode));
            StandaloneSource source(mode);
            const std::vector<uint8_t> picture = MakePatternPicture(c.subtype, c.width, c.height, 5);
            InfoDataBufferPath1 frame;
            MakeDeliveredFrame(frame, c.subtype, c.width, c.height, picture, SourceRowStride(c.subtype, c.width));
            ConvertDeliveredFrame(source.state, frame);
            ASSERT_EQ(frame.IsNULLFrame(), S_OK);
            const bool y8 = c.subtype == MediaSubtypeY8;
            EXPECT_EQ(frame.m_info.m_subtype, y8 ? MediaSubtypeY8 : MEDIASUBTYPE_YUY2);
            EXPECT_EQ(frame.m_info.m_bih.biWidth, c.width);
            EXPECT_EQ(frame.m_info.m_bih.biHeight, c.height);
            EXPECT_EQ(frame.m_stride, DataPathStride(c.subtype, c.width));
            EXPECT_EQ(frame.m_number_frame, 12);
            EXPECT_EQ(VisibleBytes(frame), ExpectedDataPathPicture(c.subtype, c.width, c.height, picture));
        }
    }
}

// A packed sample whose rows already lie as the data path's frame has them reaches the frame in the
// block the sink filled; one that starts further into its block is copied out through the own
// buffer. Either way the frame holds the reference picture.
TEST(Intavo1Conversion, SamplesInTheFramesLayoutKeepTheirBlock)
{
    const struct
    {
        const char* name;
        GUID subtype;
        int32_t offset;
        bool keepsBlock;
    } cases[] = {
        {"YUY2", MEDIASUBTYPE_YUY2, 0, true},           {"UYVY", MEDIASUBTYPE_UYVY, 0, true},
        {"YVYU", MEDIASUBTYPE_YVYU, 0, true},           {"Y8", MediaSubtypeY8, 0, true},
        {"YUY2 offset 16", MEDIASUBTYPE_YUY2, 16, false}, {"UYVY offset 16", MEDIASUBTYPE_UYVY, 16, false},
        {"Y8 offset 32", MediaSubtypeY8, 32, false},     {"RGB24", MEDIASUBTYPE_RGB24, 0, false},
    };
    const int width = 48;
    const int height = 6;
    for (uint32_t mode : {1u, 4u}) {
        StandaloneSource source(mode);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " mode " + std::to_string(mode));
            const std::vector<uint8_t> picture = MakePatternPicture(c.subtype, width, height, 3);
            InfoDataBufferPath1 frame;
            MakeDeliveredFrame(frame, c.subtype, width, height, picture, SourceRowStride(c.subtype, width), c.offset);
            const BYTE* delivered = frame.m_data;
            ConvertDeliveredFrame(source.state, frame);
            ASSERT_EQ(frame.IsNULLFrame(), S_OK);
            EXPECT_EQ(frame.m_data == delivered, c.keepsBlock);
            EXPECT_EQ(frame.m_offset_data, 0);
            EXPECT_EQ(frame.m_stride, DataPathStride(c.subtype, width));
            EXPECT_EQ(VisibleBytes(frame), ExpectedDataPathPicture(c.subtype, width, height, picture));
        }
    }
}

// The alignment check narrows a picture to whole 16 pixels and closes up its rows before the
// conversion reads bytes per pixel x width as the row length.
TEST(Intavo1Conversion, NarrowPicturesAreCutToWholeVectorsBeforeTheirRowsAreRead)
{
    StandaloneSource source(4);
    const int width = 40;
    const int height = 6;
    const std::vector<uint8_t> picture = MakePatternPicture(MEDIASUBTYPE_YUY2, width, height, 9);
    InfoDataBufferPath1 frame;
    MakeDeliveredFrame(frame, MEDIASUBTYPE_YUY2, width, height, picture, 2 * width);
    ConvertDeliveredFrame(source.state, frame);
    ASSERT_EQ(frame.IsNULLFrame(), S_OK);
    EXPECT_EQ(frame.m_info.m_bih.biWidth, 32);
    std::vector<uint8_t> expected;
    for (int r = 0; r < height; ++r)
        expected.insert(expected.end(), picture.begin() + r * 2 * width, picture.begin() + r * 2 * width + 64);
    EXPECT_EQ(VisibleBytes(frame), expected);
}

// Mend: a planar sample shorter than its planes is not passed on, and neither is the picture the
// own buffer held from the frame before.
TEST(Intavo1Conversion, AShortPlanarSampleLeavesANullFrame)
{
    StandaloneSource source(4);
    const std::vector<uint8_t> whole = MakePatternPicture(MediaSubtypeI420, 32, 8, 1);
    InfoDataBufferPath1 frame;
    MakeDeliveredFrame(frame, MediaSubtypeI420, 32, 8, whole, 32);
    ConvertDeliveredFrame(source.state, frame);
    ASSERT_EQ(frame.IsNULLFrame(), S_OK);

    const std::vector<uint8_t> shortSample(whole.begin(), whole.begin() + whole.size() / 2);
    InfoDataBufferPath1 next;
    MakeDeliveredFrame(next, MediaSubtypeI420, 32, 8, shortSample, 32);
    ConvertDeliveredFrame(source.state, next);
    EXPECT_EQ(next.IsNULLFrame(), S_FALSE);
    EXPECT_EQ(next.m_size_data, 0);
}

namespace {

// Hands out blocks until the failing call, and counts what is still out.
struct CountingAllocator
{
    static inline int calls = 0;
    static inline int failing = 0;
    static inline int outstanding = 0;

    static HRESULT Allocate(BYTE** slot, uint64_t size)
    {
        if (++calls == failing)
            return E_OUTOFMEMORY;
        const HRESULT result = SAFE_TASK_ALLOC(slot, size);
        if (SUCCEEDED(result))
            ++outstanding;
        return result;
    }
    static HRESULT Release(BYTE** slot)
    {
        --outstanding;
        return SAFE_TASK_FREE(slot);
    }
};

} // namespace

// Mend: the self-check gives back every block it took when one of its seventeen cannot be had,
// and runs nothing.
TEST(Intavo1SelfCheck, AFailedAllocationSkipsTheCheckAndFreesWhatItTook)
{
    const SelfCheckAllocator allocator = {CountingAllocator::Allocate, CountingAllocator::Release};
    std::vector<BYTE> picture(1920 * 480, 0x40);
    for (int failing = 0; failing <= 17; ++failing) {
        CountingAllocator::calls = 0;
        CountingAllocator::failing = failing;
        CountingAllocator::outstanding = 0;
        EXPECT_EQ(RunColourConversionSelfCheck(picture.data(), static_cast<int32_t>(picture.size()), allocator),
                  failing == 0)
            << failing;
        EXPECT_EQ(CountingAllocator::outstanding, 0) << failing;
        EXPECT_EQ(CountingAllocator::calls, failing == 0 ? 17 : failing) << failing;
    }
}
