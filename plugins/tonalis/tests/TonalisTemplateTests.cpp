// The template folder: which bitmaps give blocks and how many, the extended patterns and the dark
// tiles they drop, reloading only on a new folder, the mosaic step over the blocks; and every step
// together on frames of awkward sizes.
#include "TonalisStepTestSupport.h"

#include "LogCapture.h"
#include "Tonalis1_GradientTables.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include "MessageForObjectsDataPath1.h"

#include <string>

namespace {

// Grey 2 gives the luminance 17 and grey 3 the luminance 18 in the loaders' conversion.
constexpr uint32_t kGreyOf17 = 0x020202;
constexpr uint32_t kGreyOf18 = 0x030303;

std::string GreyBmp(int width, int height, uint32_t grey = 0x808080)
{
    return MakeBmp32(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, grey), true);
}

// Two 8 x 8 blocks side by side, the left one grey 2, the right one grey 3.
std::string DarkAndLessDarkBmp()
{
    std::vector<uint32_t> pixels(16 * 8);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = i % 16 < 8 ? kGreyOf17 : kGreyOf18;
    return MakeBmp32(16, 8, pixels, false);
}

struct TemplateFolder
{
    void Write(const std::string& name, const std::string& bytes) { folder.WriteFile(name, bytes); }
    HRESULT Load(StepState& step) { return step.filter.SetTemplateFolder(&step.state, folder.Path().c_str()); }
    TempFolder folder;
};

uint32_t Filled(const InfoTemplateBlockSetTonalis1& set)
{
    uint32_t filled = 0;
    for (uint32_t i = 0; i < set.m_luma.GetCount(); ++i)
        filled += set.m_luma.GetElement(i).m_filled ? 1 : 0;
    return filled;
}

TEST(TonalisTemplateBlocks, PicturesGiveTheirWholeBlocks)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        uint32_t blocks;
        bool logged;
    };
    std::string depth24 = GreyBmp(16, 8);
    PatchBmp<uint16_t>(depth24, 28, 24);
    const Case cases[] = {
        {"two.bmp", GreyBmp(16, 8), 2, false},
        {"six.bmp", GreyBmp(31, 17), 6, false},
        {"narrow.bmp", GreyBmp(7, 100), 0, true},
        {"depth24.bmp", depth24, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemplateFolder folder;
        folder.Write(c.name, c.bytes);
        StepState step;
        LogCapture log;
        EXPECT_EQ(S_OK, folder.Load(step));
        EXPECT_EQ(c.blocks, step.state.m_blocks_normal.m_luma.GetCount());
        EXPECT_EQ(c.blocks, step.state.m_blocks_normal.m_chroma.GetCount());
        EXPECT_EQ(0u, step.state.m_blocks_extended.m_luma.GetCount());
        EXPECT_EQ(c.logged, log.Contains(c.name));
    }
}

TEST(TonalisTemplateBlocks, BlocksHoldTheLoadedPlanesRowByRow)
{
    std::vector<uint32_t> pixels(16 * 8, 0x000000);
    for (int y = 0; y < 8; ++y)
        pixels[static_cast<size_t>(y) * 16 + 8 + y] = 0xFFFFFF; // a white diagonal in the second block
    TemplateFolder folder;
    folder.Write("diagonal.bmp", MakeBmp32(16, 8, pixels, true));
    StepState step;
    ASSERT_EQ(S_OK, folder.Load(step));
    const InfoTemplateBlockTonalis1& block = step.state.m_blocks_normal.m_luma.GetElement(1);
    EXPECT_EQ(234, block.m_words[0]); // white
    EXPECT_EQ(234, block.m_words[9]);
    EXPECT_EQ(16, block.m_words[1]);
    EXPECT_EQ(16, step.state.m_blocks_normal.m_luma.GetElement(0).m_words[63]);
    EXPECT_EQ(128, step.state.m_blocks_normal.m_chroma.GetElement(1).m_words[10]);
    EXPECT_EQ(16, step.state.m_blocks_normal.m_sizes.GetElement(1));
}

TEST(TonalisTemplateBlocks, EachSetKeepsAtMost513Blocks)
{
    TemplateFolder folder;
    folder.Write("a.bmp", GreyBmp(8 * 20, 8 * 20));
    folder.Write("b.bmp", GreyBmp(8 * 20, 8 * 8));
    folder.Write("ExtendedTemplateBlockBlack_8x8.bmp", GreyBmp(8 * 30, 8 * 20));
    StepState step;
    ASSERT_EQ(S_OK, folder.Load(step));
    EXPECT_EQ(1, step.state.m_extended_blocks_present);
    EXPECT_EQ(513u, step.state.m_blocks_extended.m_luma.GetCount());
    EXPECT_EQ(513u, step.state.m_blocks_normal.m_luma.GetCount());
    EXPECT_EQ(513u, Filled(step.state.m_blocks_normal));
}

TEST(TonalisTemplateBlocks, ExtendedPatternsDropTheDarkTilesAndSetTheCount)
{
    TemplateFolder folder;
    folder.Write("tiles.bmp", DarkAndLessDarkBmp());
    folder.Write("ExtendedTemplateBlockColor_8x8.bmp", GreyBmp(24, 8));
    StepState step;
    ASSERT_EQ(S_OK, folder.Load(step));
    const InfoTemplateBlockSetTonalis1& normal = step.state.m_blocks_normal;
    ASSERT_EQ(3u, normal.m_luma.GetCount());
    EXPECT_FALSE(normal.m_luma.GetElement(0).m_filled);
    EXPECT_FALSE(normal.m_chroma.GetElement(0).m_filled);
    EXPECT_TRUE(normal.m_luma.GetElement(1).m_filled);
    EXPECT_EQ(18, normal.m_luma.GetElement(1).m_words[20]);
    EXPECT_FALSE(normal.m_luma.GetElement(2).m_filled);

    // Without extended patterns the dark tile stays.
    TemplateFolder plain;
    plain.Write("tiles.bmp", DarkAndLessDarkBmp());
    StepState alone;
    ASSERT_EQ(S_OK, plain.Load(alone));
    EXPECT_EQ(0, alone.state.m_extended_blocks_present);
    EXPECT_EQ(2u, Filled(alone.state.m_blocks_normal));
}

TEST(TonalisTemplateBlocks, OnlyAChangedFolderLoads)
{
    TemplateFolder folder;
    folder.Write("two.bmp", GreyBmp(16, 8));
    StepState step;
    LogCapture log;
    ASSERT_EQ(S_OK, folder.Load(step));
    EXPECT_EQ(S_OK, folder.Load(step));
    size_t loads = 0;
    for (const std::string& line : log.Lines())
        loads += line.find("Tonalis1::LoadTemplateBlocks::begin") != std::string::npos ? 1 : 0;
    EXPECT_EQ(1u, loads);
    EXPECT_EQ(2u, step.state.m_blocks_normal.m_luma.GetCount());

    // Emptying the folder empties the tables; a folder without bitmaps answers 1.
    EXPECT_EQ(S_OK, step.filter.SetTemplateFolder(&step.state, nullptr));
    EXPECT_EQ(0u, step.state.m_blocks_normal.m_luma.GetCount());
    TemplateFolder empty;
    empty.folder.MakeFolder("inner.bmp");
    EXPECT_EQ(S_FALSE, empty.Load(step));
}

TEST(TonalisTemplateBlocks, MalformedFilesAreSkippedAndTheRestLoads)
{
    TemplateFolder folder;
    for (const NamedBmpFile& file : MalformedBmp32Files())
        folder.Write(file.name, file.bytes);
    folder.Write("good.bmp", GreyBmp(16, 8));
    StepState step;
    LogCapture log;
    EXPECT_EQ(S_OK, folder.Load(step));
    EXPECT_EQ(2u, step.state.m_blocks_normal.m_luma.GetCount());
    for (const NamedBmpFile& file : MalformedBmp32Files())
        EXPECT_TRUE(log.Contains(file.name)) << file.name;
}

TEST(TonalisTemplateMosaic, RunsOverTheBlocksWithItsSettings)
{
    TemplateFolder folder;
    folder.Write("tiles.bmp", GreyBmp(16, 8, 0x404040));
    StepState step;
    step.state.m_operations.matrixEffect = RecordingMatrixEffect;
    StepFrame frame(TestFrameFormat::Yuy2, 16, 16, UniformLuma(60));
    RecordedCalls().clear();
    EXPECT_EQ(S_FALSE, HelperFunction_TemplateMosaic(step.state, frame.frame, frame.Luma(), frame.Chroma(),
                                                     kTonalisAllSamples));
    EXPECT_TRUE(RecordedCalls().empty());

    ASSERT_EQ(S_OK, folder.Load(step));
    step.Param(kParamMosaicValue1, 200);
    step.Param(kParamMosaicValue2, 30);
    EXPECT_EQ(S_OK, HelperFunction_TemplateMosaic(step.state, frame.frame, frame.Luma(), frame.Chroma(),
                                                  kTonalisAllSamples));
    EXPECT_EQ(S_OK, HelperFunction_TemplateMosaic(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples));
    ASSERT_EQ(2u, RecordedCalls().size());
    // chroma given, count, the two settings, the patterns being the tiles themselves
    EXPECT_EQ((std::vector<int>{1, 2, 200, 30, 1}), RecordedCalls()[0].words);
    EXPECT_EQ((std::vector<int>{0, 2, 200, 30, 1}), RecordedCalls()[1].words);
}

} // namespace

namespace {

// Every step at work on frames of awkward sizes, three frames each: the planes stay 8-bit
// pictures, whatever each step answers for a plane too small for it.
TEST(TonalisAllSteps, RunOnFramesOfAnySize)
{
    TemplateFolder folder;
    folder.Write("tiles.bmp", GreyBmp(24, 16, 0x406080));
    struct Size
    {
        int width;
        int height;
    };
    for (const TestFrameFormat format : {TestFrameFormat::Yuy2, TestFrameFormat::Y8})
        for (const Size size : {Size{1, 1}, Size{7, 3}, Size{9, 5}, Size{17, 9}, Size{33, 17}, Size{330, 10}}) {
            SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
            StepState step;
            ASSERT_EQ(S_OK, folder.Load(step));
            step.Param(kParamSplitView, 0);
            step.Param(kParamHalfSize, 1);
            step.Param(kParamEqualiseHistogram, 1);
            step.Param(kParamGradientEffect, kGradientAnimate | kGradientSharpenFirst | 3);
            step.Value(kValueSharpness, 20.0f);
            step.Value(kValueEdgeSmoothing, 90.0f);
            step.Value(kValueNoiseLevel, 50.0f);
            for (int n = 0; n < 3; ++n) {
                InfoDataBufferPath1 frame;
                ASSERT_EQ(S_OK, MakeTestFrame(frame, format, size.width, size.height,
                                              BlockLuma(20, 230, 0, 0, size.width / 2 + n, size.height)));
                ListEventsDataPath1 events;
                step.filter.CorrectImageFunction(&step.state, frame.m_data + frame.m_offset_data, frame.m_size_data,
                                                 &events, &frame);
                for (uint32_t i = 0; i < events.GetCount(); ++i)
                    delete events.GetElement(i).m_event;
                for (const int16_t sample : PlaneSamples(*GetFrameChildPlane(frame, FrameChildSlot::Luma(0)))) {
                    ASSERT_GE(sample, 0);
                    ASSERT_LE(sample, 255);
                }
            }
        }
}

} // namespace
