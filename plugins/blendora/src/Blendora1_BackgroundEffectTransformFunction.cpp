// The background effect: each enabled channel's picture is scaled into its input's working frames
// when a frame of that input arrives, and mixed into the base channel's frame inside the channel's
// rectangle when a base frame arrives.
#include "Blendora1.h"

#include "FrameChildPlanes.h"
#include "FramePlaneProcedures.h"
#include "MediaSubtypeGuids.h"

#include <algorithm>
#include <cstring>

namespace {

using Effect = InfoBackgroundEffectForMixerFilter;
using State = InfoFilterStateBlendora1;

// The base size while no base frame has been seen.
constexpr int kDefaultBaseWidth = 320;
constexpr int kDefaultBaseHeight = 240;
// Narrower planes are neither scaled nor mixed.
constexpr int kNarrowestPlane = 16;
// Child slots of the base frame borrowed as scratch: one for an unaligned rectangle and one for the
// channel's share of a mix.
constexpr int kRegionScratchSlot = 13;
constexpr int kProductScratchSlot = 15;

enum BlendOperation
{
    kCopy = 1,
    kOr,
    kAnd,
    kXor,
    kAndNot,
    kAdd,
    kSubtract,
    kMultiply,
    kAbsoluteDifference,
    kAlphaMix,
    kMaskFromBase,
    kMaskFromChannel,
    kLevelFromBase,
    kLevelFromChannel,
};

// Softening: each pass of 50 blurs at full strength (constant 0), a last one of less more weakly.
constexpr float kSofteningPerPass = 50.0f;
constexpr float kMostSoftening = 1000.0f;
constexpr int kMostSofteningPasses = 20;
// The blur needs a row above and below the rows it changes; a shorter mask stays unsoftened.
constexpr int kShortestSoftenedMask = 4;
// The multiply-shifts work in 7-bit fixed point: 128 is 1.0.
constexpr int kFixedPointShift = 7;
constexpr SWORD kFixedPointOne = 128;

constexpr SWORD kAllLanes[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
constexpr SWORD kChromaBias[8] = {kMixChromaBias, kMixChromaBias, kMixChromaBias, kMixChromaBias,
                                  kMixChromaBias, kMixChromaBias, kMixChromaBias, kMixChromaBias};

struct WordVector
{
    SWORD words[8];
};

WordVector Splat(int value)
{
    WordVector vector;
    std::fill(std::begin(vector.words), std::end(vector.words), static_cast<SWORD>(value));
    return vector;
}

// A float from the record as a kernel's 16-bit constant: truncated, and held to the word range
// first so no value can overflow the conversion.
int TruncateToWord(float value)
{
    return static_cast<int>(std::clamp(value, -32768.0f, 32767.0f));
}

// Truncated and even, within [0, limit].
int EvenPixels(float value, int limit)
{
    return static_cast<int>(std::clamp(value, 0.0f, static_cast<float>(limit))) & ~1;
}

struct ChannelRectangle
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

ChannelRectangle RectangleOf(const Effect& effect, uint32_t channel, int baseWidth, int baseHeight)
{
    const float left = effect.m_left.GetElement(channel);
    const float top = effect.m_top.GetElement(channel);
    ChannelRectangle rectangle;
    rectangle.x = EvenPixels(static_cast<float>(baseWidth) * left, baseWidth);
    rectangle.y = EvenPixels(static_cast<float>(baseHeight) * top, baseHeight);
    rectangle.width = std::min(EvenPixels((effect.m_right.GetElement(channel) - left) * static_cast<float>(baseWidth),
                                          baseWidth),
                               baseWidth - rectangle.x);
    rectangle.height = std::min(EvenPixels((effect.m_bottom.GetElement(channel) - top) * static_cast<float>(baseHeight),
                                           baseHeight),
                                baseHeight - rectangle.y);
    return rectangle;
}

int Width(const InfoDataBufferPath1& plane)
{
    return plane.m_info.m_bih.biWidth;
}

int Height(const InfoDataBufferPath1& plane)
{
    return plane.m_info.m_bih.biHeight;
}

bool IsUsablePlane(const InfoDataBufferPath1* plane)
{
    return plane != nullptr && IsReadableFramePlane(*plane) && Width(*plane) >= kNarrowestPlane;
}

// A block of samples of a plane.
struct PlaneRegion
{
    SWORD* data = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
};

PlaneRegion RegionOf(InfoDataBufferPath1& plane, int x, int y, int width, int height)
{
    BYTE* start = plane.m_data + plane.m_offset_data + static_cast<ptrdiff_t>(y) * plane.m_stride + 2 * static_cast<ptrdiff_t>(x);
    return {reinterpret_cast<SWORD*>(start), plane.m_stride, width, height};
}

PlaneRegion TopLeftOf(InfoDataBufferPath1& plane, const ChannelRectangle& size)
{
    return RegionOf(plane, 0, 0, size.width, size.height);
}

// ---- Kernel calls ------------------------------------------------------------------------------

// d := kernel(d, s) under the lane mask; constant 1 and 2 as the kernel reads them.
HRESULT Combine(UnifSwordFunction kernel, const PlaneRegion& d, const PlaneRegion& s,
                const SWORD* constant1 = nullptr, const SWORD* constant2 = nullptr, const SWORD* mask = kAllLanes)
{
    return kernel(d.data, nullptr, s.data, nullptr, mask, d.stride, s.stride, d.width, d.height, 0, constant1,
                  constant2, nullptr);
}

HRESULT ApplyConstant(UnifSwordFunction kernel, const PlaneRegion& d, const SWORD* constant, int shift = 0)
{
    return kernel(d.data, nullptr, nullptr, nullptr, kAllLanes, d.stride, 0, d.width, d.height, shift, constant,
                  nullptr, nullptr);
}

// The samples a kernel processes at once; the plain kernels take them one by one.
int WordsPerStep(UnifSwordFunction kernel)
{
    int bytes = 0;
    kernel(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, &bytes);
    return std::max(bytes / 2, 1);
}

// The worked region goes back into the rectangle: whole steps of the copy kernel, then the rest of
// each row through a mask of as many lanes, so not one sample beside the rectangle is changed.
HRESULT CopyBack(UnifSwordFunction copy, const PlaneRegion& target, const PlaneRegion& worked)
{
    const int step = WordsPerStep(copy);
    const int whole = target.width / step * step;
    const int rest = target.width - whole;
    HRESULT result = S_OK;
    if (whole > 0)
        result = Combine(copy, {target.data, target.stride, whole, target.height},
                         {worked.data, worked.stride, whole, target.height});
    if (rest > 0 && SUCCEEDED(result)) {
        SWORD mask[8] = {};
        std::fill(mask, mask + rest, SWORD{-1});
        result = Combine(copy, {target.data + whole, target.stride, rest, target.height},
                         {worked.data + whole, worked.stride, rest, target.height}, nullptr, nullptr, mask);
    }
    return result;
}

// ---- Scratch planes ----------------------------------------------------------------------------

bool IsNamedByAnotherSlot(const InfoDataBufferPath1& frame, int slot, int32_t number)
{
    for (int other = 0; other < static_cast<int>(InfoDataBufferPath1::kNumberChildren); ++other)
        if (other != slot && frame.m_index_child.GetElement(static_cast<uint32_t>(other)) == number)
            return true;
    return false;
}

// The child a scratch slot names; a frame without one (or whose child another slot also names)
// gets a child no slot names, the correction filter's own for the slot when it is free. Null when
// every child is taken.
InfoDataBufferPath1* TakeScratchPlane(InfoDataBufferPath1& frame, int slot)
{
    const auto index = static_cast<uint32_t>(slot);
    InfoDataBufferPath1* named = GetFrameChildPlane(frame, slot);
    if (named != nullptr && !IsNamedByAnotherSlot(frame, slot, frame.m_index_child.GetElement(index)))
        return named;
    if (FAILED(frame.EnableChildBuffers()))
        return nullptr;
    const auto children = static_cast<int32_t>(InfoDataBufferPath1::kNumberChildren);
    for (int32_t k = 0; k < children; ++k) {
        const int32_t number = (slot + k) % children + 1;
        if (!IsNamedByAnotherSlot(frame, slot, number)) {
            frame.m_index_child.GetElement(index) = number;
            return GetFrameChildPlane(frame, slot);
        }
    }
    return nullptr;
}

HRESULT SizeScratch(InfoDataBufferPath1& scratch, const ChannelRectangle& size)
{
    return scratch.UpdateSizeBuffer(static_cast<unsigned>(size.width), static_cast<unsigned>(size.height));
}

// ---- Channel pictures --------------------------------------------------------------------------

void DescribeWorkingFrame(InfoDataBufferPath1& work)
{
    work.m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
    work.m_info.m_count = 1;
    work.m_info.m_major_type = media_guids::MEDIATYPE_Video;
    work.m_info.m_subtype = media_guids::MEDIASUBTYPE_YUY2;
    work.m_info.m_format_type = media_guids::FORMAT_VideoInfo;
}

// The working frames of the input at the rectangle's size; a picture of another size is gone.
HRESULT SizeWorkingFrames(State& state, uint32_t input, const ChannelRectangle& rectangle)
{
    uint32_t& pictures = state.m_work_pictures.GetElement(input);
    HRESULT result = S_OK;
    for (auto* frames : {&state.m_work_luma, &state.m_work_chroma, &state.m_work_mask}) {
        InfoDataBufferPath1& work = frames->GetElement(input);
        if (Width(work) != rectangle.width || Height(work) != rectangle.height)
            pictures = 0;
        DescribeWorkingFrame(work);
        result = SizeScratch(work, rectangle);
        if (FAILED(result)) {
            pictures = 0;
            return result;
        }
    }
    return result;
}

HRESULT ScaleLuma(const BlendoraKernels& kernels, InfoDataBufferPath1& luma, InfoDataBufferPath1& work,
                  const ChannelRectangle& size)
{
    if (Width(luma) == size.width && Height(luma) == size.height) {
        work = luma;
        return S_OK;
    }
    int stride = work.m_stride;
    return kernels.planes.resize(TopLeftOf(luma, size).data, TopLeftOf(work, size).data, Width(luma),
                                 Height(luma), luma.m_stride, size.width, size.height, &stride,
                                 work.m_capacity - work.m_offset_data, 0);
}

HRESULT ScaleChroma(InfoDataBufferPath1& chroma, InfoDataBufferPath1& work, const ChannelRectangle& size)
{
    if (Width(chroma) == size.width && Height(chroma) == size.height) {
        work = chroma;
        return S_OK;
    }
    return ResizeUVBuffer(&chroma, &work, nullptr, FitWholePlane(size.width, size.height));
}

// The planes of an arriving frame of the input become its pictures; a plane the frame lacks
// leaves the input without that picture.
HRESULT TakeChannelPicture(State& state, InfoDataBufferPath1& frame, uint32_t input, const ChannelRectangle& size)
{
    uint32_t& pictures = state.m_work_pictures.GetElement(input);
    pictures = 0;
    HRESULT result = S_OK;
    InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(0));
    if (IsUsablePlane(luma)) {
        result = ScaleLuma(state.m_kernels, *luma, state.m_work_luma.GetElement(input), size);
        if (result == S_OK)
            pictures |= State::kWorkPictureLuma;
    }
    InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(0));
    if (IsUsablePlane(chroma)) {
        result = ScaleChroma(*chroma, state.m_work_chroma.GetElement(input), size);
        if (result == S_OK)
            pictures |= State::kWorkPictureChroma;
    }
    return result;
}

bool IsActiveChannel(const Effect& effect, uint32_t channel)
{
    return effect.m_input.GetElement(channel) != -1 && effect.m_enabled.GetElement(channel) != 0;
}

// ---- Mixing ------------------------------------------------------------------------------------

// The part of the rectangle inside the plane's rows and block, with room for a kernel's last whole
// step of 8 samples in every row.
ChannelRectangle ClipToPlane(ChannelRectangle rectangle, const InfoDataBufferPath1& plane)
{
    rectangle.width = std::max(0, std::min(rectangle.width, Width(plane) - rectangle.x));
    rectangle.height = std::max(0, std::min(rectangle.height, Height(plane) - rectangle.y));
    const int64_t reach = 2 * (static_cast<int64_t>(rectangle.x) + ((rectangle.width + 7) & ~7));
    const int64_t room = static_cast<int64_t>(plane.m_capacity) - plane.m_offset_data - reach;
    const int64_t rows = room < 0 ? 0 : room / plane.m_stride + 1 - rectangle.y;
    rectangle.height = static_cast<int>(std::clamp<int64_t>(rows, 0, rectangle.height));
    return rectangle;
}

ChannelRectangle ClipToPicture(ChannelRectangle rectangle, const InfoDataBufferPath1& picture)
{
    rectangle.width = std::min(rectangle.width, Width(picture));
    rectangle.height = std::min(rectangle.height, Height(picture));
    return rectangle;
}

// One channel's operation with its values and planes for this frame.
struct ChannelMix
{
    int operation = 0;
    int alphaWeight = 0; // the base's share of an alpha mix, in 1/128
    PlaneRegion mask;    // the formed mask of ops 11 to 14
    PlaneRegion product; // the channel's share of a mix
};

float Parameter(const Effect& effect, uint32_t channel, int operation, uint32_t parameter)
{
    return effect.m_parameters.GetElement(
        Effect::ParameterIndex(channel, static_cast<uint32_t>(operation), parameter));
}

// The blur constants of the softening passes; a softening beyond the bound is the bound, so the
// number of passes is always small.
int SofteningPasses(float softening, SWORD (&constants)[kMostSofteningPasses])
{
    CheckFloatValue(&softening, 0.0f);
    float left = std::clamp(softening, 0.0f, kMostSoftening);
    int passes = 0;
    while (left > 0.0f && passes < kMostSofteningPasses) {
        if (left <= kSofteningPerPass) {
            constants[passes++] = static_cast<SWORD>(12.0f - left / kSofteningPerPass * 12.0f);
            left = 0.0f;
        } else {
            constants[passes++] = 0;
            left -= kSofteningPerPass;
        }
    }
    return passes;
}

// Runs kernel calls in order until one fails; the result of the last one run.
template <class... Steps>
HRESULT RunSteps(Steps&&... steps)
{
    HRESULT result = S_OK;
    static_cast<void>(((result = steps(), SUCCEEDED(result)) && ...));
    return result;
}

// M from a luma region: where the base stays (255 above the threshold, or the level's share),
// softened; the mask blend halves it into 0..127 of the 7-bit fixed point as it reads it.
HRESULT FormMask(const BlendoraKernels& kernels, const ChannelMix& mix, const PlaneRegion& from, float threshold,
                 float softening)
{
    const bool byThreshold = mix.operation == kMaskFromBase || mix.operation == kMaskFromChannel;
    const WordVector level = Splat(TruncateToWord(threshold / 100.0f * 128.0f));
    HRESULT result =
        byThreshold ? kernels.thresholdMask(mix.mask.data, mix.mask.stride, from.data, from.stride, mix.mask.width,
                                            mix.mask.height, static_cast<SWORD>(TruncateToWord(threshold)))
                    : RunSteps([&] { return Combine(kernels.copy, mix.mask, from); },
                               [&] {
                                   return ApplyConstant(kernels.multiplyShiftConstant, mix.mask, level.words,
                                                        kFixedPointShift);
                               });
    SWORD constants[kMostSofteningPasses];
    const int passes = mix.mask.height >= kShortestSoftenedMask ? SofteningPasses(softening, constants) : 0;
    for (int pass = 0; pass < passes && SUCCEEDED(result); ++pass) {
        const WordVector strength = Splat(constants[pass]);
        result = ApplyConstant(kernels.blur, mix.mask, strength.words);
    }
    return result;
}

// d := the base's share of d plus the channel's share of s.
HRESULT AlphaMix(const BlendoraKernels& kernels, const ChannelMix& mix, const PlaneRegion& d, const PlaneRegion& s)
{
    const WordVector baseShare = Splat(mix.alphaWeight);
    const WordVector channelShare = Splat(kFixedPointOne - mix.alphaWeight);
    return RunSteps(
        [&] { return Combine(kernels.copy, mix.product, s); },
        [&] { return ApplyConstant(kernels.multiplyShiftConstant, mix.product, channelShare.words, kFixedPointShift); },
        [&] { return ApplyConstant(kernels.multiplyShiftConstant, d, baseShare.words, kFixedPointShift); },
        [&] { return Combine(kernels.add, d, mix.product); });
}

// Where the mask is full the base stays; where it is empty the channel shows through. Chroma is
// blended about grey; the channel's picture, kept for later frames, is only read.
HRESULT MaskBlend(const BlendoraKernels& kernels, const ChannelMix& mix, const PlaneRegion& d, const PlaneRegion& s,
                  bool chroma)
{
    return kernels.maskBlend(d.data, d.stride, s.data, s.stride, mix.mask.data, mix.mask.stride, d.width, d.height,
                             chroma ? kMixChromaBias : SWORD{0});
}

MixPlanePair PairOf(const PlaneRegion& d, const PlaneRegion& s)
{
    return {d.data, d.stride, s.data, s.stride};
}

// A mask blend in place blends the luma and chroma planes in one pass, the mask read once.
HRESULT MaskBlendInPlace(const BlendoraKernels& kernels, const ChannelMix& mix, InfoDataBufferPath1& luma,
                         InfoDataBufferPath1& lumaPicture, InfoDataBufferPath1& chroma,
                         InfoDataBufferPath1& chromaPicture, const ChannelRectangle& rectangle)
{
    const auto target = [&](InfoDataBufferPath1& plane) {
        return RegionOf(plane, rectangle.x, rectangle.y, rectangle.width, rectangle.height);
    };
    return kernels.maskBlendLumaChroma(PairOf(target(luma), TopLeftOf(lumaPicture, rectangle)),
                                       PairOf(target(chroma), TopLeftOf(chromaPicture, rectangle)), mix.mask.data,
                                       mix.mask.stride, rectangle.width, rectangle.height);
}

// Only the alpha mix works the channel's share on a copy; the mask blend does it in its one pass.
bool NeedsProduct(int operation)
{
    return operation == kAlphaMix;
}

bool NeedsMask(int operation)
{
    return operation >= kMaskFromBase && operation <= kLevelFromChannel;
}

// The two-plane kernel of ops 1 to 9; null for the others.
UnifSwordFunction PlaneOperationKernel(const BlendoraKernels& kernels, int operation)
{
    const UnifSwordFunction byOperation[] = {kernels.copy,     kernels.orPlanes, kernels.andPlanes,
                                             kernels.xorPlanes, kernels.andNotPlanes, kernels.add,
                                             kernels.subtract, kernels.multiply, kernels.absoluteDifference};
    return operation >= kCopy && operation <= kAbsoluteDifference ? byOperation[operation - kCopy] : nullptr;
}

HRESULT Blend(const BlendoraKernels& kernels, const ChannelMix& mix, const PlaneRegion& d, const PlaneRegion& s)
{
    if (const UnifSwordFunction kernel = PlaneOperationKernel(kernels, mix.operation))
        return Combine(kernel, d, s);
    if (mix.operation == kAlphaMix)
        return AlphaMix(kernels, mix, d, s);
    return S_FALSE;
}

// One plane of the channel into the base plane: in place when the rectangle lies on whole steps of
// 8 samples, else on a copy in the region scratch that goes back sample-exact. Chroma blends work
// about grey (a copy is the same either way): 128 comes off both planes and back on.
HRESULT MixPlane(const BlendoraKernels& kernels, const ChannelMix& mix, InfoDataBufferPath1& basePlane,
                 InfoDataBufferPath1& picture, InfoDataBufferPath1* regionScratch, const ChannelRectangle& rectangle,
                 bool chroma)
{
    const PlaneRegion target = RegionOf(basePlane, rectangle.x, rectangle.y, rectangle.width, rectangle.height);
    const PlaneRegion source = TopLeftOf(picture, rectangle);
    PlaneRegion d = target;
    if (regionScratch != nullptr) {
        const HRESULT sized = SizeScratch(*regionScratch, rectangle);
        if (FAILED(sized))
            return sized;
        d = TopLeftOf(*regionScratch, rectangle);
    }
    const auto copyIn = [&] { return regionScratch != nullptr ? Combine(kernels.copy, d, target) : S_OK; };
    const auto copyBack = [&] { return regionScratch != nullptr ? CopyBack(kernels.copy, target, d) : S_OK; };
    if (NeedsMask(mix.operation))
        return RunSteps(copyIn, [&] { return MaskBlend(kernels, mix, d, source, chroma); }, copyBack);
    const bool biased = chroma && mix.operation != kCopy;
    const auto bias = [&](UnifSwordFunction kernel) {
        return biased ? RunSteps([&] { return ApplyConstant(kernel, d, kChromaBias); },
                                 [&] { return ApplyConstant(kernel, source, kChromaBias); })
                      : S_OK;
    };
    return RunSteps(copyIn, [&] { return bias(kernels.subtractConstant); },
                    [&] {
                        // The channel's picture is kept for later frames: grey goes back on it
                        // whatever the blend answered.
                        const HRESULT blended = Blend(kernels, mix, d, source);
                        const HRESULT restored = bias(kernels.addConstant);
                        return FAILED(blended) ? blended : restored;
                    },
                    copyBack);
}

// Mixes one channel into the base planes; 1 when the channel is skipped (no picture of its input,
// a base plane missing, no area left after clipping, no scratch).
HRESULT MixChannel(State& state, InfoDataBufferPath1& frame, uint32_t channel, bool& counted)
{
    const Effect& effect = state.m_effect;
    const auto input = static_cast<uint32_t>(effect.m_input.GetElement(channel));
    const bool withChroma = effect.m_chroma.GetElement(channel) != 0;
    const uint32_t needed = State::kWorkPictureLuma | (withChroma ? State::kWorkPictureChroma : 0);
    InfoDataBufferPath1& lumaPicture = state.m_work_luma.GetElement(input);
    InfoDataBufferPath1& chromaPicture = state.m_work_chroma.GetElement(input);
    InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(0));
    InfoDataBufferPath1* chroma = withChroma ? GetFrameChildPlane(frame, FrameChildSlot::Chroma(0)) : nullptr;
    if ((state.m_work_pictures.GetElement(input) & needed) != needed || !IsUsablePlane(luma) ||
        !IsUsablePlane(&lumaPicture) || (withChroma && (!IsUsablePlane(chroma) || !IsUsablePlane(&chromaPicture))))
        return S_FALSE;

    ChannelRectangle rectangle = RectangleOf(effect, channel, state.m_base_width, state.m_base_height);
    rectangle = ClipToPicture(ClipToPlane(rectangle, *luma), lumaPicture);
    if (withChroma)
        rectangle = ClipToPicture(ClipToPlane(rectangle, *chroma), chromaPicture);
    if (rectangle.width == 0 || rectangle.height == 0)
        return S_FALSE;

    ChannelMix mix;
    mix.operation = effect.m_operation.GetElement(channel);
    const bool aligned = rectangle.x % 8 == 0 && rectangle.width % 8 == 0;
    InfoDataBufferPath1* regionScratch = aligned ? nullptr : TakeScratchPlane(frame, kRegionScratchSlot);
    InfoDataBufferPath1* product = NeedsProduct(mix.operation) ? TakeScratchPlane(frame, kProductScratchSlot) : nullptr;
    if ((!aligned && regionScratch == nullptr) || (NeedsProduct(mix.operation) && product == nullptr)) {
        LOG_TEXT("Blendora1::BackgroundEffectTransform::the base frame has no child left for scratch; the channel is skipped");
        return S_FALSE;
    }
    counted = true;
    HRESULT result = S_OK;
    if (product != nullptr) {
        result = SizeScratch(*product, rectangle);
        if (FAILED(result))
            return result;
        mix.product = TopLeftOf(*product, rectangle);
    }
    if (mix.operation == kAlphaMix)
        mix.alphaWeight = TruncateToWord(Parameter(effect, channel, kAlphaMix, 0) / 100.0f * 128.0f);
    if (NeedsMask(mix.operation)) {
        mix.mask = TopLeftOf(state.m_work_mask.GetElement(input), rectangle);
        const bool fromBase = mix.operation == kMaskFromBase || mix.operation == kLevelFromBase;
        const PlaneRegion from = fromBase ? RegionOf(*luma, rectangle.x, rectangle.y, rectangle.width, rectangle.height)
                                          : TopLeftOf(lumaPicture, rectangle);
        result = FormMask(state.m_kernels, mix, from, Parameter(effect, channel, mix.operation, 0),
                          Parameter(effect, channel, mix.operation, 1));
        if (FAILED(result))
            return result;
    }
    if (withChroma && NeedsMask(mix.operation) && regionScratch == nullptr)
        return MaskBlendInPlace(state.m_kernels, mix, *luma, lumaPicture, *chroma, chromaPicture, rectangle);
    result = MixPlane(state.m_kernels, mix, *luma, lumaPicture, regionScratch, rectangle, false);
    if (withChroma)
        result = MixPlane(state.m_kernels, mix, *chroma, chromaPicture, regionScratch, rectangle, true);
    return result;
}

} // namespace

HRESULT Blendora1::BackgroundEffectTransform(InfoFilterStateBlendora1* state, InfoDataBufferPath1* frame,
                                             ListEventsDataPath1* /*events*/, int32_t inputIndex)
{
    if (state == nullptr || frame == nullptr)
        return E_INVALIDARG;
    try {
        if (state->m_background_effect == 0)
            return S_FALSE;
        const Effect& effect = state->m_effect;
        const bool isBase = inputIndex == effect.m_base_channel;
        const bool holdsData = HoldsFrameData(*frame);
        if (isBase && holdsData) {
            state->m_base_width = std::max<int32_t>(0, Width(*frame));
            state->m_base_height = std::max<int32_t>(0, Height(*frame));
        }
        const int baseWidth = state->m_base_width < 0 ? kDefaultBaseWidth : state->m_base_width;
        const int baseHeight = state->m_base_height < 0 ? kDefaultBaseHeight : state->m_base_height;

        HRESULT result = S_OK;
        for (uint32_t channel = 0; channel < Effect::kChannels; ++channel) {
            if (!IsActiveChannel(effect, channel))
                continue;
            const ChannelRectangle rectangle = RectangleOf(effect, channel, baseWidth, baseHeight);
            if (rectangle.width == 0 || rectangle.height == 0)
                continue;
            const auto input = static_cast<uint32_t>(effect.m_input.GetElement(channel));
            result = SizeWorkingFrames(*state, input, rectangle);
            if (SUCCEEDED(result) && static_cast<int32_t>(input) == inputIndex && holdsData)
                result = TakeChannelPicture(*state, *frame, input, rectangle);
        }
        if (!isBase) {
            frame->SetVirtualFrame();
            return result;
        }
        if (!holdsData)
            return result;

        bool counted = false;
        for (uint32_t channel = 0; channel < Effect::kChannels; ++channel)
            if (IsActiveChannel(effect, channel) && effect.m_input.GetElement(channel) != inputIndex)
                result = MixChannel(*state, *frame, channel, counted);
        if (counted)
            result = CreateSmallCopyFrames(state->m_kernels.planes, *frame);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
