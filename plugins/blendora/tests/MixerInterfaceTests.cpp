// The mixer's identity and its interfaces, through the exports as the data path calls them.
#include "MixerTestSupport.h"

#include "ForcedProcessorFeatures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

class MixerInterface : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_mixer.IsLoaded()); }

    template <class Function>
    Function Export(const char* name)
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_mixer.Proxy().GetModule(), name)));
    }

    InfoBackgroundEffectForMixerFilter& Effect() { return m_mixer.State().m_effect; }

    MixerFilter m_mixer;
};

uint32_t BitsOf(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

} // namespace

TEST_F(MixerInterface, IdentityAndConnectionPoints)
{
    DynamicString name;
    float version = 0.0f;
    ASSERT_EQ(Export<GetNameFilterFunction>("GetNameFilter")(&name, &version), S_OK);
    EXPECT_STREQ(name.GetString(), "Blendora1");
    EXPECT_EQ(BitsOf(version), 0x3FDD70A4u);

    const InfoFilterObjectDataPath1& record = m_mixer.Proxy().GetInstanceRecord();
    EXPECT_STREQ(record.m_text_id.GetString(), "Blendora1");
    EXPECT_STREQ(m_mixer.State().m_name.GetString(), "BLENDORA_FILTER1");
    ListConnectionPointsDataPath1 points;
    ASSERT_EQ(Export<GetConnectionPointsFunction>("GetConnectionPoints")(&points, sizeof(points)), S_OK);
    ASSERT_EQ(points.m_count_inputs, 16u);
    for (uint32_t k = 0; k < 16; ++k) {
        EXPECT_EQ(std::string(points.m_inputs.GetElement(k).m_name.GetString()), "DataInput::" + std::to_string(k));
        EXPECT_EQ(points.m_inputs.GetElement(k).m_type, 256);
    }
    ASSERT_EQ(points.m_count_outputs, 1u);
    EXPECT_STREQ(points.m_outputs.GetElement(0).m_name.GetString(), "DataOutput1");
    EXPECT_EQ(points.m_outputs.GetElement(0).m_type, 257);

    EXPECT_EQ(m_mixer.Proxy().QueryInterfaceFunction(IID_MixerDataTundrel), S_OK);
    EXPECT_EQ(m_mixer.Proxy().QueryInterfaceFunction(IID_IControlOptimProcessor), S_OK);
    EXPECT_EQ(m_mixer.Proxy().QueryInterfaceFunction(IID_IControlCorrectVideoData), S_FALSE);
}

TEST_F(MixerInterface, RecordLoadsOnlyWithItsKindAndSize)
{
    InfoBackgroundEffectForMixerFilter record;
    record.m_base_channel = 3;
    record.m_driver_names.GetElement(5) = "camera five";
    const int32_t size = sizeof(InfoBackgroundEffectForMixerFilter);

    EXPECT_EQ(m_mixer.LoadRecord(1, &record, size - 1), S_OK);
    EXPECT_EQ(m_mixer.LoadRecord(1, &record, size + 1), S_OK);
    EXPECT_EQ(m_mixer.LoadRecord(2, &record, size), S_OK);
    EXPECT_EQ(Effect().m_base_channel, -1) << "nothing loaded";

    EXPECT_EQ(m_mixer.LoadRecord(1, nullptr, size), E_INVALIDARG);
    EXPECT_EQ(m_mixer.LoadRecord(1, &record, size), S_OK);
    EXPECT_EQ(Effect().m_base_channel, 3);
    EXPECT_STREQ(Effect().m_driver_names.GetElement(5).GetString(), "camera five");
}

TEST_F(MixerInterface, RecordRectanglesAreBroughtIntoRange)
{
    struct Case
    {
        float left, right, expectedLeft, expectedRight;
    };
    // Left and top against right and bottom: the same rule.
    const Case cases[] = {
        {0.7f, 0.4f, 0.4f, 0.4f}, {-0.2f, 0.6f, 0.0f, 0.6f}, {0.3f, 1.5f, 0.3f, 1.0f}, {0.5f, -1.0f, 0.0f, 0.0f}};
    InfoBackgroundEffectForMixerFilter record;
    for (uint32_t c = 0; c < 4; ++c) {
        record.m_left.GetElement(c) = cases[c].left;
        record.m_right.GetElement(c) = cases[c].right;
        record.m_top.GetElement(c + 4) = cases[c].left;
        record.m_bottom.GetElement(c + 4) = cases[c].right;
    }
    ASSERT_EQ(m_mixer.LoadRecord(1, &record, sizeof(record)), S_OK);
    for (uint32_t c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(Effect().m_left.GetElement(c), cases[c].expectedLeft);
        EXPECT_EQ(Effect().m_right.GetElement(c), cases[c].expectedRight);
        EXPECT_EQ(Effect().m_top.GetElement(c + 4), cases[c].expectedLeft);
        EXPECT_EQ(Effect().m_bottom.GetElement(c + 4), cases[c].expectedRight);
    }
}

// The record comes from the program's state file: damaged numbers take their defaults instead
// of passing every range check as NaN does.
TEST_F(MixerInterface, RecordNonFiniteFloatsBecomeDefaults)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    InfoBackgroundEffectForMixerFilter record;
    record.m_left.GetElement(0) = nan;
    record.m_right.GetElement(0) = nan;
    record.m_top.GetElement(1) = -infinity;
    record.m_bottom.GetElement(1) = infinity;
    record.m_left.GetElement(2) = 0.25f;
    record.m_right.GetElement(2) = -infinity;
    const uint32_t parameter = InfoBackgroundEffectForMixerFilter::ParameterIndex(15, 31, 3);
    record.m_parameters.GetElement(parameter) = nan;
    record.m_parameters.GetElement(parameter - 1) = 7.5f;
    ASSERT_EQ(m_mixer.LoadRecord(1, &record, sizeof(record)), S_OK);

    EXPECT_EQ(Effect().m_left.GetElement(0), 0.0f);
    EXPECT_EQ(Effect().m_right.GetElement(0), 0.5f);
    EXPECT_EQ(Effect().m_top.GetElement(1), 0.0f);
    EXPECT_EQ(Effect().m_bottom.GetElement(1), 0.5f);
    EXPECT_EQ(Effect().m_right.GetElement(2), 0.5f);
    EXPECT_EQ(Effect().m_left.GetElement(2), 0.25f);
    EXPECT_EQ(Effect().m_parameters.GetElement(parameter), 0.0f);
    EXPECT_EQ(Effect().m_parameters.GetElement(parameter - 1), 7.5f);
}

TEST_F(MixerInterface, SwitchingTheEffectOffResetsEveryWorkingFrame)
{
    InfoFilterStateBlendora1& state = m_mixer.State();
    ASSERT_EQ(m_mixer.SetOption(2, 5), S_OK);
    EXPECT_EQ(state.m_background_effect, 1);
    ASSERT_EQ(state.m_work_luma.GetElement(3).UpdateSizeBuffer(64, 8), S_OK);
    ASSERT_EQ(state.m_work_mask.GetElement(15).UpdateSizeBuffer(32, 4), S_OK);

    ASSERT_EQ(m_mixer.SetOption(2, 0), S_OK);
    EXPECT_EQ(state.m_background_effect, 0);
    EXPECT_EQ(state.m_options.GetElement(2), 0);
    for (auto* frames : {&state.m_work_luma, &state.m_work_chroma, &state.m_work_mask})
        for (uint32_t k = 0; k < 16; ++k) {
            const InfoDataBufferPath1& frame = frames->GetElement(k);
            EXPECT_EQ(frame.IsNULLFrame(), 1);
            EXPECT_EQ(frame.m_info.m_bih.biWidth, 16);
            EXPECT_EQ(frame.m_info.m_bih.biHeight, 1);
        }
}

TEST_F(MixerInterface, SettingsAreStoredAndBadIndexesRefused)
{
    InfoFilterStateBlendora1& state = m_mixer.State();
    EXPECT_EQ(m_mixer.EnableInput(7), S_OK);
    EXPECT_EQ(state.m_input_enabled.GetElement(7), 1);
    EXPECT_EQ(m_mixer.EnableInput(7, false), S_OK);
    EXPECT_EQ(state.m_input_enabled.GetElement(7), 0);
    EXPECT_EQ(m_mixer.EnableInput(16), E_FAIL);
    EXPECT_EQ(m_mixer.EnableInput(-1), E_FAIL);

    const float levels[] = {0.1f, 0.9f, 0.2f, 0.8f};
    for (int which = 1; which <= 4; ++which)
        EXPECT_EQ(m_mixer.SetLevel(which, levels[which - 1]), S_OK);
    EXPECT_EQ(m_mixer.SetLevel(5, 3.0f), S_OK) << "ignored";
    EXPECT_EQ(m_mixer.SetLevel(0, 3.0f), S_OK) << "ignored";
    EXPECT_EQ(state.m_level_ranges.GetElement(0).low, 0.1f);
    EXPECT_EQ(state.m_level_ranges.GetElement(0).high, 0.9f);
    EXPECT_EQ(state.m_level_ranges.GetElement(1).low, 0.2f);
    EXPECT_EQ(state.m_level_ranges.GetElement(1).high, 0.8f);

    EXPECT_EQ(m_mixer.SetOption(9, 44), S_OK);
    EXPECT_EQ(state.m_options.GetElement(9), 44);
    EXPECT_EQ(m_mixer.SetOption(16, 1), E_FAIL);
    EXPECT_EQ(m_mixer.SetOption(-1, 1), E_FAIL);
}

TEST_F(MixerInterface, ProcessorModeChoosesThePackingKernels)
{
    // The plug-in has its own copy of the kernels: tell them apart by the modes that choose them.
    const Y16UV16ToYuy2Function mmx = m_mixer.State().m_kernels.packY16UV16ToYuy2;
    ASSERT_EQ(m_mixer.SetMode(4), S_OK);
    const Y16UV16ToYuy2Function sse2 = m_mixer.State().m_kernels.packY16UV16ToYuy2;
    ASSERT_NE(mmx, sse2);
    struct Case
    {
        uint32_t mode;
        Y16UV16ToYuy2Function expected;
    };
    // A mode that names no instruction set keeps the previous kernels; SSE packs with MMX.
    const Case cases[] = {{128, sse2}, {2, mmx}, {0x10008, sse2}, {0, sse2}, {64, sse2}, {1, mmx}, {512, mmx}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_EQ(m_mixer.SetMode(c.mode), S_OK);
        int32_t mode = 0;
        ASSERT_EQ(m_mixer.GetMode(&mode), S_OK);
        EXPECT_EQ(static_cast<uint32_t>(mode), c.mode);
        EXPECT_EQ(m_mixer.State().m_kernels.packY16UV16ToYuy2, c.expected);
    }
    // A processor without MMX packs with the plain kernels whatever the mode asks for.
    ForcedProcessorFeatures none(false, false, false);
    ASSERT_EQ(m_mixer.SetMode(4), S_OK);
    EXPECT_NE(m_mixer.State().m_kernels.packY16UV16ToYuy2, mmx);
    EXPECT_NE(m_mixer.State().m_kernels.packY16UV16ToYuy2, sse2);
}
