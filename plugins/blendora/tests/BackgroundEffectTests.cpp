// The mixer's background effect through its exports: a channel's frame scaled into its working
// frames, then mixed into the base frame by each operation, in the plain kernels (the reference)
// and the SSE2 ones alike.
#include "MixerTestSupport.h"

#include "ForcedProcessorFeatures.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <vector>

namespace {

constexpr int32_t kBaseInput = 0;
constexpr int32_t kChannelInput = 1;

enum class Kernels
{
    Plain,
    Sse2,
};
const Kernels kBothKernels[] = {Kernels::Plain, Kernels::Sse2};

const char* NameOf(Kernels kernels)
{
    return kernels == Kernels::Plain ? "plain" : "SSE2";
}

InfoDataBufferPath1& Luma(InfoDataBufferPath1& frame)
{
    return *GetFrameChildPlane(frame, FrameChildSlot::Luma(0));
}

InfoDataBufferPath1& Chroma(InfoDataBufferPath1& frame)
{
    return *GetFrameChildPlane(frame, FrameChildSlot::Chroma(0));
}

using SampleRule = std::function<int(int x, int y)>;

void Paint(InfoDataBufferPath1& plane, const SampleRule& rule)
{
    for (int y = 0; y < plane.m_info.m_bih.biHeight; ++y)
        for (int x = 0; x < plane.m_info.m_bih.biWidth; ++x)
            PlaneSample(plane, x, y) = static_cast<int16_t>(rule(x, y));
}

SampleRule Uniform(int value)
{
    return [value](int, int) { return value; };
}

SampleRule RandomBytes(uint32_t seed)
{
    auto random = std::make_shared<std::mt19937>(seed);
    return [random](int, int) { return static_cast<int>((*random)() % 256); };
}

// A YUY2 frame whose full-size planes follow the rules.
void MakeFrame(InfoDataBufferPath1& frame, int width, int height, const SampleRule& luma, const SampleRule& chroma)
{
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, width, height, UniformLuma(0)), S_OK);
    Paint(Luma(frame), luma);
    Paint(Chroma(frame), chroma);
}

int Saturate(int value)
{
    return std::clamp(value, -32768, 32767);
}

int Low16(int value)
{
    return static_cast<int16_t>(static_cast<uint16_t>(value));
}

// The mixer with its effect on, inputs 0 to 2 enabled, the base on input 0 and channel 0 fed by
// input 1 with the default rectangle and operation.
class EffectMixer
{
public:
    explicit EffectMixer(Kernels kernels)
    {
        EXPECT_TRUE(m_mixer.IsLoaded());
        for (int32_t input : {0, 1, 2})
            EXPECT_EQ(m_mixer.EnableInput(input), S_OK);
        EXPECT_EQ(m_mixer.SetOption(InfoFilterStateBlendora1::kOptionBackgroundEffect, 1), S_OK);
        if (kernels == Kernels::Plain) {
            ForcedProcessorFeatures none(false, false, false);
            EXPECT_EQ(m_mixer.SetMode(1), S_OK);
        } else {
            EXPECT_EQ(m_mixer.SetMode(4), S_OK);
        }
        m_record.m_base_channel = kBaseInput;
        m_record.m_input.GetElement(0) = kChannelInput;
        m_record.m_enabled.GetElement(0) = 1;
    }

    InfoBackgroundEffectForMixerFilter& Record() { return m_record; }
    MixerFilter& Mixer() { return m_mixer; }

    void SetRectangle(float left, float right, float top, float bottom)
    {
        m_record.m_left.GetElement(0) = left;
        m_record.m_right.GetElement(0) = right;
        m_record.m_top.GetElement(0) = top;
        m_record.m_bottom.GetElement(0) = bottom;
    }

    void SetOperation(int32_t operation, float parameter0 = 0.0f, float parameter1 = 0.0f)
    {
        m_record.m_operation.GetElement(0) = operation;
        const auto op = static_cast<uint32_t>(operation);
        m_record.m_parameters.GetElement(InfoBackgroundEffectForMixerFilter::ParameterIndex(0, op, 0)) = parameter0;
        m_record.m_parameters.GetElement(InfoBackgroundEffectForMixerFilter::ParameterIndex(0, op, 1)) = parameter1;
    }

    // Loads the record, hands over the base frame (the mixer learns the base size; no channel has
    // a picture yet, so nothing is mixed), the channel's frame, then the base frame again; the
    // last result.
    HRESULT Mix(InfoDataBufferPath1& channel, InfoDataBufferPath1& base)
    {
        EXPECT_EQ(m_mixer.LoadRecord(1, &m_record, sizeof(m_record)), S_OK);
        EXPECT_GE(m_mixer.Transform(base, kBaseInput), 0);
        EXPECT_GE(m_mixer.Transform(channel, kChannelInput), 0);
        EXPECT_EQ(channel.IsVirtualFrame(), 0) << "a channel's frame stops at the mixer";
        const HRESULT result = m_mixer.Transform(base, kBaseInput);
        EXPECT_EQ(base.IsVirtualFrame(), 1) << "the base frame goes on";
        return result;
    }

private:
    MixerFilter m_mixer;
    InfoBackgroundEffectForMixerFilter m_record;
};

// The mixer with a uniform channel picture (200, chroma 60) and a uniform 640 x 480 base (10,
// chroma 100).
struct UniformScene
{
    explicit UniformScene(Kernels kernels) : effect(kernels)
    {
        MakeFrame(channel, 640, 480, Uniform(200), Uniform(60));
        MakeFrame(base, 640, 480, Uniform(10), Uniform(100));
    }

    EffectMixer effect;
    InfoDataBufferPath1 channel, base;
};

} // namespace

TEST(BackgroundEffect, DefaultChannelShowsInTheTopLeftQuarterAndTheSmallCopiesFollow)
{
    for (Kernels kernels : kBothKernels) {
        SCOPED_TRACE(NameOf(kernels));
        EffectMixer effect(kernels);
        InfoDataBufferPath1 channel, base;
        MakeFrame(channel, 640, 480, [](int x, int y) { return (3 * x + 5 * y) % 256; },
                  [](int x, int y) { return (x % 2 == 0 ? 40 + x : 200 - y) % 256; });
        MakeFrame(base, 640, 480, Uniform(10), Uniform(100));
        ASSERT_GE(effect.Mix(channel, base), 0);

        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const bool inside = x < 320 && y < 240;
                ASSERT_EQ(PlaneSample(Luma(base), x, y), inside ? PlaneSample(Luma(channel), 2 * x, 2 * y) : 10) << x << "," << y;
                // A chroma pair comes whole from one pair of the channel's picture.
                const int pair = 2 * (x / 2);
                ASSERT_EQ(PlaneSample(Chroma(base), x, y), inside ? PlaneSample(Chroma(channel), 2 * pair + x % 2, 2 * y) : 100)
                    << x << "," << y;
            }
        // The reduced copies are made again from the mixed planes.
        InfoDataBufferPath1& half = *GetFrameChildPlane(base, FrameChildSlot::Luma(1));
        const int topLeft = PlaneSample(Luma(base), 0, 0) + PlaneSample(Luma(base), 1, 0) + PlaneSample(Luma(base), 0, 1) +
                            PlaneSample(Luma(base), 1, 1);
        EXPECT_EQ(PlaneSample(half, 0, 0), topLeft >> 2);
        EXPECT_EQ(PlaneSample(half, 300, 200), 10);
    }
}

TEST(BackgroundEffect, BitAndArithmeticOperationsFollowTheirPerSampleFormula)
{
    struct Case
    {
        int32_t operation;
        std::function<int(int d, int s)> formula;
    };
    const Case cases[] = {
        {1, [](int, int s) { return s; }},
        {2, [](int d, int s) { return d | s; }},
        {3, [](int d, int s) { return d & s; }},
        {4, [](int d, int s) { return d ^ s; }},
        {5, [](int d, int s) { return d & ~s; }},
        {6, [](int d, int s) { return Saturate(d + s); }},
        {7, [](int d, int s) { return Saturate(d - s); }},
        {8, [](int d, int s) { return Low16(d * s); }},
        // The kernel takes the words as unsigned.
        {9, [](int d, int s) { return Low16(std::abs(static_cast<uint16_t>(d) - static_cast<uint16_t>(s))); }},
    };
    for (Kernels kernels : kBothKernels)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << NameOf(kernels) << " op " << c.operation);
            EffectMixer effect(kernels);
            effect.SetRectangle(0.0f, 1.0f, 0.0f, 1.0f);
            effect.SetOperation(c.operation);
            InfoDataBufferPath1 channel, base;
            MakeFrame(channel, 64, 48, RandomBytes(1), RandomBytes(2));
            MakeFrame(base, 64, 48, RandomBytes(3), RandomBytes(4));
            const std::vector<int16_t> baseLuma = PlaneSamples(Luma(base)), baseChroma = PlaneSamples(Chroma(base));
            ASSERT_GE(effect.Mix(channel, base), 0);
            for (int y = 0, i = 0; y < 48; ++y)
                for (int x = 0; x < 64; ++x, ++i) {
                    ASSERT_EQ(PlaneSample(Luma(base), x, y), c.formula(baseLuma[i], PlaneSample(Luma(channel), x, y))) << x << "," << y;
                    // Chroma is combined about grey.
                    const int d = baseChroma[i] - 128, s = PlaneSample(Chroma(channel), x, y) - 128;
                    const int expected = c.operation == 1 ? s + 128 : Saturate(static_cast<int16_t>(c.formula(d, s)) + 128);
                    ASSERT_EQ(PlaneSample(Chroma(base), x, y), expected) << x << "," << y;
                }
        }
}

TEST(BackgroundEffect, AlphaMixKeepsThePercentageOfTheBase)
{
    struct Case
    {
        float percent;
        int luma;
        int chroma;
    };
    // Base 100 and 100, channel 200 and 160: 50 % is the equal mix (1/128 steps of 64).
    const Case cases[] = {{50.0f, 150, 130}, {100.0f, 100, 100}, {0.0f, 200, 160}};
    for (Kernels kernels : kBothKernels)
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << NameOf(kernels) << " " << c.percent);
            EffectMixer effect(kernels);
            effect.SetOperation(10, c.percent);
            InfoDataBufferPath1 channel, base;
            MakeFrame(channel, 320, 240, Uniform(200), Uniform(160));
            MakeFrame(base, 640, 480, Uniform(100), Uniform(100));
            ASSERT_GE(effect.Mix(channel, base), 0);
            EXPECT_EQ(PlaneSample(Luma(base), 0, 0), c.luma);
            EXPECT_EQ(PlaneSample(Luma(base), 319, 239), c.luma);
            EXPECT_EQ(PlaneSample(Chroma(base), 100, 100), c.chroma);
            EXPECT_EQ(PlaneSample(Luma(base), 320, 0), 100) << "outside the rectangle";
        }
}

namespace {

// The mask blend of one sample: mask m (0..127) of the base d against the channel s.
int MaskBlendSample(int d, int s, int m)
{
    return Saturate((Low16(d * m) >> 7) + (Low16(s * Saturate(128 - m)) >> 7));
}

// The mask before softening: 255 above the threshold or the level's share, from a luma sample.
int RawMask(int operation, float parameter, int from)
{
    if (operation == 11 || operation == 12)
        return from > static_cast<int>(parameter) ? 255 : 0;
    return Low16(from * static_cast<int>(parameter / 100.0f * 128.0f)) >> 7;
}

} // namespace

TEST(BackgroundEffect, MaskAndLevelBlendsReplaceTheBackgroundWhereTheirMaskSays)
{
    struct Case
    {
        int32_t operation;
        float parameter;
        bool fromBase;
    };
    const Case cases[] = {{11, 0.0f, true}, {12, 100.0f, false}, {13, 60.0f, true}, {14, 40.0f, false}};
    for (Kernels kernels : kBothKernels)
        for (const Case& c : cases)
            for (bool withChroma : {true, false}) {
                SCOPED_TRACE(testing::Message() << NameOf(kernels) << " op " << c.operation << " chroma " << withChroma);
                EffectMixer effect(kernels);
                effect.SetRectangle(0.0f, 1.0f, 0.0f, 1.0f);
                effect.SetOperation(c.operation, c.parameter);
                effect.Record().m_chroma.GetElement(0) = withChroma ? 1 : 0;
                InfoDataBufferPath1 channel, base;
                MakeFrame(channel, 64, 48, RandomBytes(5), RandomBytes(6));
                // Black samples in the base: op 11 with threshold 0 lets the channel through there.
                auto bytes = RandomBytes(7);
                MakeFrame(base, 64, 48, [&](int x, int y) { return (x + y) % 5 == 0 ? 0 : bytes(x, y); }, RandomBytes(8));
                const std::vector<int16_t> baseLuma = PlaneSamples(Luma(base)), baseChroma = PlaneSamples(Chroma(base));
                ASSERT_GE(effect.Mix(channel, base), 0);
                for (int y = 0, i = 0; y < 48; ++y)
                    for (int x = 0; x < 64; ++x, ++i) {
                        const int from = c.fromBase ? baseLuma[i] : PlaneSample(Luma(channel), x, y);
                        const int m = RawMask(c.operation, c.parameter, from) >> 1;
                        ASSERT_EQ(PlaneSample(Luma(base), x, y), MaskBlendSample(baseLuma[i], PlaneSample(Luma(channel), x, y), m))
                            << x << "," << y;
                        const int chroma = withChroma ? MaskBlendSample(baseChroma[i] - 128, PlaneSample(Chroma(channel), x, y) - 128, m) + 128
                                                      : baseChroma[i];
                        ASSERT_EQ(PlaneSample(Chroma(base), x, y), chroma) << x << "," << y;
                    }
                if (c.operation == 11) {
                    EXPECT_EQ(PlaneSample(Luma(base), 0, 0), PlaneSample(Luma(channel), 0, 0)) << "a black base sample shows the channel";
                }
            }
}

namespace {

// The softened mask of op 11 made with the plain kernels step by step, in a plane of the mixer's
// working-frame layout: threshold, the blur passes, halving.
std::vector<int16_t> SoftenedMask(InfoDataBufferPath1& baseLuma, int threshold, const std::vector<SWORD>& passes)
{
    const int width = baseLuma.m_info.m_bih.biWidth, height = baseLuma.m_info.m_bih.biHeight;
    InfoDataBufferPath1 mask;
    EXPECT_EQ(mask.UpdateSizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height)), S_OK);
    Paint(mask, [&](int x, int y) { return PlaneSample(baseLuma, x, y); });
    SWORD* data = reinterpret_cast<SWORD*>(mask.m_data + mask.m_offset_data);
    const SWORD all[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    const auto splat = [](int value) { return std::vector<SWORD>(8, static_cast<SWORD>(value)); };
    EXPECT_EQ(CmpGTConstSWORD_c(data, nullptr, nullptr, nullptr, all, mask.m_stride, 0, width, height, 0,
                                splat(threshold).data(), nullptr, nullptr), S_OK);
    EXPECT_EQ(AndConstSWORD_c(data, nullptr, nullptr, nullptr, all, mask.m_stride, 0, width, height, 0,
                              splat(255).data(), nullptr, nullptr), S_OK);
    for (SWORD strength : passes)
        EXPECT_EQ(blure_const_sword_funct_c(data, nullptr, nullptr, nullptr, nullptr, mask.m_stride, 0, width, height,
                                            0, splat(strength).data(), nullptr, nullptr), S_OK);
    EXPECT_EQ(MulShiftConstSWORD_c(data, nullptr, nullptr, nullptr, all, mask.m_stride, 0, width, height, 1,
                                   splat(1).data(), nullptr, nullptr), S_OK);
    return PlaneSamples(mask);
}

// Op 11 over the whole base with the softening; the mixed luma.
std::vector<int16_t> MixWithSoftening(Kernels kernels, float softening, std::vector<int16_t>* baseBefore = nullptr)
{
    EffectMixer effect(kernels);
    effect.SetRectangle(0.0f, 1.0f, 0.0f, 1.0f);
    effect.SetOperation(11, 100.0f, softening);
    InfoDataBufferPath1 channel, base;
    MakeFrame(channel, 64, 48, RandomBytes(9), RandomBytes(10));
    MakeFrame(base, 64, 48, RandomBytes(11), RandomBytes(12));
    if (baseBefore != nullptr)
        *baseBefore = PlaneSamples(Luma(base));
    EXPECT_GE(effect.Mix(channel, base), 0);
    return PlaneSamples(Luma(base));
}

} // namespace

TEST(BackgroundEffect, SofteningBlursTheMaskInBoundedPasses)
{
    // 120 is two full passes and one of 20: constants 0, 0 and 12 - 20 / 50 x 12 = 7.
    InfoDataBufferPath1 channel, base;
    MakeFrame(channel, 64, 48, RandomBytes(9), RandomBytes(10));
    MakeFrame(base, 64, 48, RandomBytes(11), RandomBytes(12));
    const std::vector<int16_t> mask = SoftenedMask(Luma(base), 100, {0, 0, 7});
    std::vector<int16_t> baseLuma;
    const std::vector<int16_t> plain = MixWithSoftening(Kernels::Plain, 120.0f, &baseLuma);
    for (size_t i = 0; i < plain.size(); ++i) {
        const int x = static_cast<int>(i % 64), y = static_cast<int>(i / 64);
        ASSERT_EQ(plain[i], MaskBlendSample(baseLuma[i], PlaneSample(Luma(channel), x, y), mask[i])) << x << "," << y;
    }
    EXPECT_EQ(MixWithSoftening(Kernels::Sse2, 120.0f), plain);

    // A softening beyond any slider's (from a damaged state file) is held to 1000 and ends; a
    // value that is no number counts as none.
    EXPECT_EQ(MixWithSoftening(Kernels::Sse2, 1e30f), MixWithSoftening(Kernels::Sse2, 1000.0f));
    EXPECT_EQ(MixWithSoftening(Kernels::Sse2, std::numeric_limits<float>::quiet_NaN()),
              MixWithSoftening(Kernels::Sse2, 0.0f));
    EXPECT_EQ(MixWithSoftening(Kernels::Sse2, std::numeric_limits<float>::infinity()),
              MixWithSoftening(Kernels::Sse2, 0.0f));
}

namespace {

// Gives a frame's full-size plane a block that ends at an inaccessible page, rows packed without
// padding, for the span of a scope; the frame's own block comes back at the end.
class GuardedPlane
{
public:
    GuardedPlane(InfoDataBufferPath1& plane, const SampleRule& rule)
        : m_plane(plane), m_buffer(static_cast<size_t>(2 * plane.m_info.m_bih.biWidth * plane.m_info.m_bih.biHeight)),
          m_data(plane.m_data), m_capacity(plane.m_capacity), m_offset(plane.m_offset_data), m_stride(plane.m_stride)
    {
        plane.m_data = m_buffer.Bytes();
        plane.m_capacity = static_cast<int32_t>(m_buffer.Size());
        plane.m_offset_data = 0;
        plane.m_stride = 2 * plane.m_info.m_bih.biWidth;
        Paint(plane, rule);
    }
    ~GuardedPlane()
    {
        m_plane.m_data = m_data;
        m_plane.m_capacity = m_capacity;
        m_plane.m_offset_data = m_offset;
        m_plane.m_stride = m_stride;
    }
    GuardedPlane(const GuardedPlane&) = delete;
    GuardedPlane& operator=(const GuardedPlane&) = delete;

private:
    InfoDataBufferPath1& m_plane;
    GuardedBuffer m_buffer;
    BYTE* m_data;
    int32_t m_capacity, m_offset, m_stride;
};

// Source column of a destination column when a width is scaled, as the nearest-neighbour resize
// takes it.
int SourceColumn(int column, int sourceWidth, int destinationWidth)
{
    const float ratio = static_cast<float>(sourceWidth) / static_cast<float>(destinationWidth);
    return std::min(static_cast<int>(static_cast<float>(column) * ratio), sourceWidth - 1);
}

} // namespace

TEST(BackgroundEffect, UnalignedRectangleChangesExactlyItsSamples)
{
    // x0 = 10 and w = 310: worked on a copy, the last 6 samples of each row go back through the
    // partial mask. The base planes end at a guard page and the rectangle reaches their last row.
    for (Kernels kernels : kBothKernels) {
        SCOPED_TRACE(NameOf(kernels));
        EffectMixer effect(kernels);
        effect.SetRectangle(10.0f / 640.0f, 0.5f, 0.5f, 1.0f);
        InfoDataBufferPath1 channel, base;
        MakeFrame(channel, 640, 480, [](int x, int y) { return (x + 2 * y) % 251; },
                  [](int x, int y) { return (x % 2 == 0 ? 3 * x : 7 * y) % 253; });
        MakeFrame(base, 640, 480, Uniform(0), Uniform(0));
        GuardedPlane luma(Luma(base), [](int x, int y) { return (5 * x + y) % 200; });
        GuardedPlane chroma(Chroma(base), [](int x, int y) { return (x + 3 * y) % 190; });
        const std::vector<int16_t> lumaBefore = PlaneSamples(Luma(base)), chromaBefore = PlaneSamples(Chroma(base));
        ASSERT_GE(effect.Mix(channel, base), 0);
        for (int y = 0, i = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x, ++i) {
                const bool inside = x >= 10 && x < 320 && y >= 240;
                const int column = SourceColumn(x - 10, 640, 310);
                const int row = SourceColumn(y - 240, 480, 240);
                ASSERT_EQ(PlaneSample(Luma(base), x, y), inside ? PlaneSample(Luma(channel), column, row) : lumaBefore[i])
                    << x << "," << y;
                const int pair = 2 * (SourceColumn(x - 10 - x % 2, 640, 310) / 2);
                ASSERT_EQ(PlaneSample(Chroma(base), x, y), inside ? PlaneSample(Chroma(channel), pair + x % 2, row) : chromaBefore[i])
                    << x << "," << y;
            }
    }
}

TEST(BackgroundEffect, ChannelsWithoutPicturePlanesOrAreaAreSkipped)
{
    struct Case
    {
        const char* name;
        std::function<void(EffectMixer&, InfoDataBufferPath1& channel, InfoDataBufferPath1& base)> prepare;
    };
    const Case cases[] = {
        {"left = right", [](EffectMixer& e, InfoDataBufferPath1&, InfoDataBufferPath1&) { e.SetRectangle(0.3f, 0.3f, 0.0f, 0.5f); }},
        {"top = bottom", [](EffectMixer& e, InfoDataBufferPath1&, InfoDataBufferPath1&) { e.SetRectangle(0.0f, 0.5f, 0.7f, 0.7f); }},
        {"input -1", [](EffectMixer& e, InfoDataBufferPath1&, InfoDataBufferPath1&) { e.Record().m_input.GetElement(0) = -1; }},
        {"channel disabled", [](EffectMixer& e, InfoDataBufferPath1&, InfoDataBufferPath1&) { e.Record().m_enabled.GetElement(0) = 0; }},
        {"grey channel frame", [](EffectMixer&, InfoDataBufferPath1& channel, InfoDataBufferPath1&) {
             ASSERT_EQ(MakeTestFrame(channel, TestFrameFormat::Y8, 640, 480, UniformLuma(200)), S_OK);
         }},
        {"base without chroma plane", [](EffectMixer&, InfoDataBufferPath1&, InfoDataBufferPath1& base) {
             base.m_index_child.GetElement(FrameChildSlot::Chroma(0)) = -1;
         }},
        {"channel frame without luma plane", [](EffectMixer&, InfoDataBufferPath1& channel, InfoDataBufferPath1&) {
             channel.m_index_child.GetElement(FrameChildSlot::Luma(0)) = -1;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UniformScene scene(Kernels::Sse2);
        auto& [effect, channel, base] = scene;
        c.prepare(effect, channel, base);
        InfoDataBufferPath1& half = *GetFrameChildPlane(base, FrameChildSlot::Luma(1));
        Paint(half, Uniform(77));
        // The channel's luma child, whether or not a slot still names it.
        InfoDataBufferPath1& channelLumaChild = channel.m_child_buffers.GetElement(0);
        const std::vector<int16_t> channelLuma = PlaneSamples(channelLumaChild);
        ASSERT_GE(effect.Mix(channel, base), 0);
        EXPECT_EQ(PlaneSamples(Luma(base)), std::vector<int16_t>(640 * 480, 10));
        EXPECT_EQ(PlaneSamples(half), std::vector<int16_t>(320 * 240, 77)) << "no small copies without a mixed channel";
        if (InfoDataBufferPath1* chroma = GetFrameChildPlane(base, FrameChildSlot::Chroma(0))) {
            EXPECT_EQ(PlaneSamples(*chroma), std::vector<int16_t>(640 * 480, 100));
        }
        EXPECT_EQ(PlaneSamples(channelLumaChild), channelLuma);
    }
}

TEST(BackgroundEffect, BasePlanesSmallerThanTheRectangleAreMixedOnlyWithinThemselves)
{
    for (Kernels kernels : kBothKernels) {
        SCOPED_TRACE(NameOf(kernels));
        UniformScene scene(kernels);
        auto& [effect, channel, base] = scene;
        // Stale planes of 100 x 60 under a 640 x 480 frame, ending at a guard page.
        for (InfoDataBufferPath1* plane : {&Luma(base), &Chroma(base)}) {
            plane->m_info.m_bih.biWidth = 100;
            plane->m_info.m_bih.biHeight = 60;
        }
        GuardedPlane luma(Luma(base), Uniform(10));
        GuardedPlane chroma(Chroma(base), Uniform(100));
        ASSERT_GE(effect.Mix(channel, base), 0);
        EXPECT_EQ(PlaneSample(Luma(base), 0, 0), 200);
        EXPECT_EQ(PlaneSample(Luma(base), 99, 58), 200);
        EXPECT_EQ(PlaneSample(Chroma(base), 98, 58), 60);
    }
}

TEST(BackgroundEffect, WorkingPicturesPersistUntilTheEffectIsSwitchedOff)
{
    UniformScene scene(Kernels::Sse2);
    auto& [effect, channel, base] = scene;
    ASSERT_GE(effect.Mix(channel, base), 0);
    // The next base frame shows the last picture of the channel without a new channel frame.
    MakeFrame(base, 640, 480, Uniform(20), Uniform(100));
    ASSERT_GE(effect.Mixer().Transform(base, kBaseInput), 0);
    EXPECT_EQ(PlaneSample(Luma(base), 5, 5), 200);
    EXPECT_EQ(PlaneSample(Luma(base), 400, 5), 20);

    // Off and on again: the picture is gone until the channel sends one.
    ASSERT_EQ(effect.Mixer().SetOption(InfoFilterStateBlendora1::kOptionBackgroundEffect, 0), S_OK);
    ASSERT_EQ(effect.Mixer().SetOption(InfoFilterStateBlendora1::kOptionBackgroundEffect, 1), S_OK);
    MakeFrame(base, 640, 480, Uniform(20), Uniform(100));
    ASSERT_GE(effect.Mixer().Transform(base, kBaseInput), 0);
    EXPECT_EQ(PlaneSample(Luma(base), 5, 5), 20);
}

TEST(BackgroundEffect, ScratchSlotsNamingThePicturePlanesGetChildrenOfTheirOwn)
{
    UniformScene scene(Kernels::Sse2);
    auto& [effect, channel, base] = scene;
    for (int slot : {13, 14, 15, 16}) {
        channel.m_index_child.GetElement(static_cast<uint32_t>(slot)) = 1 + slot % 2;
        base.m_index_child.GetElement(static_cast<uint32_t>(slot)) = 1 + slot % 2;
    }
    // An unaligned rectangle and a mix: both scratch slots of the base frame are used.
    effect.SetRectangle(0.1f, 0.47f, 0.0f, 0.5f);
    effect.SetOperation(10, 50.0f);
    ASSERT_GE(effect.Mix(channel, base), 0);
    EXPECT_EQ(PlaneSamples(Luma(channel)), std::vector<int16_t>(640 * 480, 200));
    EXPECT_EQ(PlaneSamples(Chroma(channel)), std::vector<int16_t>(640 * 480, 60));
    EXPECT_EQ(PlaneSample(Luma(base), 64, 0), 105);
    EXPECT_EQ(PlaneSample(Chroma(base), 64, 0), 80);
    EXPECT_EQ(PlaneSample(Luma(base), 63, 0), 10);
    EXPECT_EQ(PlaneSample(Luma(base), 0, 0), 10);
    for (int slot : {13, 15})
        EXPECT_GT(base.m_index_child.GetElement(static_cast<uint32_t>(slot)), 2) << slot;
}
