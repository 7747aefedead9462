// The correction filter's work on every frame: the checks and timing of the transform, the
// pipeline that splits the frame into work planes and runs the correction steps in their order,
// the reduced copies, the average level and the events.
#include "Tonalis1.h"
#include "Tonalis1_Pipeline.h"
#include "Tonalis1_Steps.h"

#include "MessageForObjectsDataPath1.h"

#include "MediaSubtypeGuids.h"

#include <algorithm>
#include <cstring>

namespace {

// A frame of another subtype is replaced by a black standard frame of this size, marked as not
// displayable in its state word.
constexpr int32_t kStandardWidth = 80;
constexpr int32_t kStandardHeight = 60;
constexpr int32_t kStandardStride = 2 * kStandardWidth;
constexpr int32_t kStandardSize = kStandardStride * kStandardHeight;
constexpr uint32_t kStateReplacedFrame = 514;

bool IsYuy2(const InfoDataBufferPath1& frame)
{
    return IsEqualGUID(frame.m_info.m_subtype, media_guids::MEDIASUBTYPE_YUY2);
}

bool IsGrey(const InfoDataBufferPath1& frame)
{
    return IsEqualGUID(frame.m_info.m_subtype, media_guids::MediaSubtypeY8);
}

HRESULT MakeStandardFrame(InfoDataBufferPath1& frame)
{
    frame.m_info.m_state = kStateReplacedFrame;
    const HRESULT result = frame.AllocBufferForStandartTypeVideoData(
        kStandardSize, kStandardWidth, kStandardHeight, kStandardStride, 0, kStandardSize,
        media_guids::MEDIASUBTYPE_YUY2, MAKEFOURCC('Y', 'U', 'Y', '2'), 16);
    if (SUCCEEDED(result))
        std::memset(frame.m_data, 0, kStandardSize);
    return result;
}

HRESULT RaiseAverageLevelEvent(const Tonalis1State& state, const InfoDataBufferPath1& frame,
                               ListEventsDataPath1* events)
{
    auto* event = new InfoEventDataFrame_ted1AverageVideoLevel();
    event->m_level1 = state.m_average_level;
    event->m_level2 = state.m_params_int.GetElement(kParamAdaptiveBrightness) != 0
                          ? state.m_params_float.GetElement(kParamAdaptiveBrightness)
                          : 0.0f;
    return RaiseTonalisEvent(event, state, frame, events);
}

HRESULT RaiseFirstAverageLevelEvent(const Tonalis1State& state, const InfoDataBufferPath1& frame,
                                    ListEventsDataPath1* events)
{
    auto* event = new InfoEventDataFrame_ted1FirstAverageVideoLevel();
    event->m_level1 = state.m_average_level;
    event->m_level2 = state.m_average_level;
    return RaiseTonalisEvent(event, state, frame, events);
}

// The frame's pixels, or null when its data range does not lie inside its block.
BYTE* PixelData(InfoDataBufferPath1& frame)
{
    const int64_t offset = frame.m_offset_data;
    const int64_t size = frame.m_size_data;
    if (frame.m_data == nullptr || offset < 0 || size < 0 || offset + size > frame.m_capacity)
        return nullptr;
    return frame.m_data + offset;
}

void SetOutputsValid(InfoFilterObjectDataPath1& instance)
{
    for (uint32_t i = 0; i < ListConnectionPointsDataPath1::kMaxPoints; ++i)
        instance.m_points.m_outputs.GetElement(i).m_valid = true;
}

InfoDataBufferPath1& ChildPlane(InfoDataBufferPath1& frame, int slot)
{
    InfoDataBufferPath1* plane = GetFrameChildPlane(frame, slot);
    if (plane == nullptr)
        throw 2;
    return *plane;
}

// Work planes laid out as the luminance plane, for the steps' scratch work.
HRESULT AllocateLikeLuma(InfoDataBufferPath1& frame, InfoDataBufferPath1& luma, std::initializer_list<int> slots)
{
    HRESULT result = S_OK;
    for (int slot : slots)
        result = ChildPlane(frame, slot).AllocBufferEqualCurrent(luma);
    return result;
}

// Whether the frame's rows of pixels, bytesPerPixel each, lie inside the data handed over.
bool HoldsPixelRows(const InfoDataBufferPath1& frame, int32_t size, int32_t bytesPerPixel)
{
    const int64_t width = frame.m_info.m_bih.biWidth;
    const int64_t height = frame.m_info.m_bih.biHeight;
    const int64_t stride = frame.m_stride;
    return width > 0 && height > 0 && stride >= bytesPerPixel * width &&
           stride * (height - 1) + bytesPerPixel * width <= size;
}

// Index slot k names child k + 1; a grey frame has no chroma slots.
void AssignChildSlots(InfoDataBufferPath1& frame, bool withChroma)
{
    for (int slot = 0; slot <= TonalisWorkSlot::kLastUsed; ++slot) {
        const bool chromaSlot = slot < FrameChildSlot::Output(0) && slot % 2 == 1;
        frame.m_index_child.GetElement(static_cast<uint32_t>(slot)) = chromaSlot && !withChroma ? -1 : slot + 1;
    }
}

HRESULT SizeLikeFrame(InfoDataBufferPath1& plane, const InfoDataBufferPath1& frame, int32_t width, int32_t height)
{
    plane.m_info = frame.m_info;
    plane.m_number_frame = frame.m_number_frame;
    return plane.UpdateSizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height));
}

// The planes of the levels below the full size, and the output planes of all four, in the layout
// the reduced copies give them, so that their blocks stay from frame to frame.
HRESULT SizeLevelPlanes(InfoDataBufferPath1& frame)
{
    const int32_t width = frame.m_info.m_bih.biWidth;
    const int32_t height = frame.m_info.m_bih.biHeight;
    HRESULT result = S_OK;
    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        const int32_t levelWidth = width / FrameChildSlot::kDivisors[level];
        const int32_t levelHeight = height / FrameChildSlot::kDivisors[level];
        const int above = level < 2 ? 0 : level - 1;
        result = TakePlaneLayout(ChildPlane(frame, FrameChildSlot::Output(level)),
                                 ChildPlane(frame, FrameChildSlot::Luma(above)), levelWidth, levelHeight);
        if (level == 0)
            continue;
        result = TakePlaneLayout(ChildPlane(frame, FrameChildSlot::Luma(level)),
                                 ChildPlane(frame, FrameChildSlot::Luma(level - 1)), levelWidth, levelHeight);
        if (InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(level)))
            result = TakePlaneLayout(*chroma, ChildPlane(frame, FrameChildSlot::Chroma(level - 1)), levelWidth,
                                     levelHeight);
    }
    return result;
}

// Entry 7 in place: a work plane shrinks with the picture.
HRESULT HalveWorkPlane(const OptimFunctionTableSWORD& operations, InfoDataBufferPath1& plane, int32_t stride)
{
    const int32_t width = PlaneWidth(plane);
    const int32_t height = PlaneHeight(plane);
    if (plane.m_data == nullptr || width <= 2 || height <= 2)
        return S_FALSE;
    const HRESULT result = operations.average2x2Y16(PlaneWords(plane), nullptr, PlaneWords(plane), nullptr, nullptr,
                                                    plane.m_stride, plane.m_stride, width, height, 0, nullptr,
                                                    nullptr, nullptr);
    plane.m_info.m_bih.biWidth = width / 2;
    plane.m_info.m_bih.biHeight = height / 2;
    plane.m_stride = stride;
    plane.m_size_data = (height / 2) * stride;
    return result;
}

// From here on the pipeline works on the 1/2 copies, in the full-size slots.
HRESULT WorkAtHalfSize(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                       InfoDataBufferPath1* chroma)
{
    HRESULT result = CreateSmallCopyFrames(GetFramePlaneKernels(state.m_operations), frame);
    luma = ChildPlane(frame, FrameChildSlot::Luma(1));
    if (chroma != nullptr)
        *chroma = ChildPlane(frame, FrameChildSlot::Chroma(1));
    frame.m_info.m_bih.biWidth /= 2;
    frame.m_info.m_bih.biHeight /= 2;
    for (int slot : {TonalisWorkSlot::kDifference, TonalisWorkSlot::kMotionMask})
        result = HalveWorkPlane(state.m_operations, ChildPlane(frame, slot), luma.m_stride);
    return result;
}

// Entry 10 from each level's luminance into its output plane.
HRESULT WriteOutputPlanes(Tonalis1State& state, InfoDataBufferPath1& frame)
{
    HRESULT result = S_OK;
    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
        InfoDataBufferPath1* output = GetFrameChildPlane(frame, FrameChildSlot::Output(level));
        if (luma == nullptr || output == nullptr || luma->m_data == nullptr || output->m_data == nullptr)
            continue;
        result = state.m_operations.edgeImage(PlaneWords(*output), nullptr, PlaneWords(*luma), nullptr, nullptr,
                                              output->m_stride, luma->m_stride, PlaneWidth(*luma),
                                              PlaneHeight(*luma), 0, nullptr, nullptr, nullptr);
    }
    return result;
}

int32_t Param(const Tonalis1State& state, uint32_t index)
{
    return state.m_params_int.GetElement(index);
}

} // namespace

HRESULT RaiseTonalisEvent(InfoEventDataFrame1* event, const Tonalis1State& state, const InfoDataBufferPath1& frame,
                          ListEventsDataPath1* events)
{
    event->InitStruct(state.m_owner, state.m_event_owner, state.m_event_source_index);
    event->m_number_frame = frame.m_number_frame;
    const HRESULT result = AppendEventDataPath1(events, event);
    if (FAILED(result))
        delete event;
    return result;
}

// ---- Split view --------------------------------------------------------------------------------

HRESULT SaveSplitView(Tonalis1State& state, InfoDataBufferPath1& luma, InfoDataBufferPath1* chroma)
{
    state.m_split_view_luma = luma;
    if (chroma != nullptr)
        state.m_split_view_chroma = *chroma;
    return S_OK;
}

HRESULT RestoreSplitView(Tonalis1State& state, InfoDataBufferPath1& luma, InfoDataBufferPath1* chroma)
{
    HRESULT result = luma.CopyHalfBufferFromCurrent(state.m_split_view_luma);
    if (chroma != nullptr)
        result = chroma->CopyHalfBufferFromCurrent(state.m_split_view_chroma);
    return result;
}

// ---- Split and resize -------------------------------------------------------------------------

bool IsPlaneSizeAllowed(int64_t width, int64_t height)
{
    if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX)
        return false;
    const int64_t stride = ((2 * width + 15) & ~int64_t{15}) + 32;
    return (height + 2) * stride + 16 <= INT32_MAX;
}

PlaneFit FitPictureToTarget(int32_t sourceWidth, int32_t sourceHeight, int32_t targetWidth, int32_t targetHeight,
                            bool keepRatio)
{
    PlaneFit fit = FitWholePlane(targetWidth, targetHeight);
    const float source = static_cast<float>(sourceWidth) / static_cast<float>(sourceHeight);
    const float target = static_cast<float>(targetWidth) / static_cast<float>(targetHeight);
    if (!keepRatio || source == target)
        return fit;
    if (source < target) {
        fit.width = std::max(1, static_cast<int32_t>(source * static_cast<float>(targetHeight)));
        fit.x = ((targetWidth - fit.width) / 2) & ~15;
    }
    else {
        fit.height = std::max(1, static_cast<int32_t>(static_cast<float>(targetWidth) / source));
        fit.y = (targetHeight - fit.height) / 2;
    }
    return fit;
}

HRESULT HelperFunction_ResizeFrame(Tonalis1State& state, InfoDataBufferPath1& frame)
{
    const int32_t targetWidth = Param(state, kParamResizeWidth);
    const int32_t targetHeight = Param(state, kParamResizeHeight);
    const int32_t width = frame.m_info.m_bih.biWidth;
    const int32_t height = frame.m_info.m_bih.biHeight;
    if ((targetWidth == width && targetHeight == height) || !IsPlaneSizeAllowed(targetWidth, targetHeight))
        return S_FALSE;
    InfoDataBufferPath1& luma = ChildPlane(frame, FrameChildSlot::Luma(0));
    InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(0));
    InfoDataBufferPath1& target = ChildPlane(frame, TonalisWorkSlot::kDifference);
    HRESULT result = SizeLikeFrame(target, frame, targetWidth, targetHeight);
    if (FAILED(result))
        return result;
    result = ChildPlane(frame, TonalisWorkSlot::kLumaWork).AllocBufferEqualCurrent(target);
    if (SUCCEEDED(result))
        result = frame.UpdateSizeBuffer(static_cast<unsigned>(targetWidth), static_cast<unsigned>(targetHeight));
    if (FAILED(result))
        return result;

    const PlaneFit fit =
        FitPictureToTarget(width, height, targetWidth, targetHeight, Param(state, kParamResizeKeepRatio) == 1);
    const bool bordered = fit.width != targetWidth || fit.height != targetHeight;
    const SWORD kBlack[8] = {};
    if (bordered)
        result = state.m_operations.setConstant(PlaneWords(target), nullptr, nullptr, nullptr, kTonalisAllSamples,
                                                target.m_stride, 0, targetWidth, targetHeight, 0, kBlack, nullptr,
                                                nullptr);
    const int64_t offset = target.m_offset_data + static_cast<int64_t>(fit.y) * target.m_stride + 2 * fit.x;
    if (offset + static_cast<int64_t>(fit.height) * target.m_stride > target.m_capacity)
        throw 160;
    int stride = target.m_stride;
    SWORD* picture = reinterpret_cast<SWORD*>(target.m_data + offset);
    result = state.m_operations.resize(PlaneWords(luma), picture, width, height, luma.m_stride, fit.width,
                                       fit.height, &stride, static_cast<int>(target.m_capacity - offset), 0);
    // The resize writes whole groups of 8 samples a row; those past the picture are border.
    if (SUCCEEDED(result) && bordered && fit.width % 8 != 0)
        result = state.m_operations.setConstant(picture + fit.width, nullptr, nullptr, nullptr, kTonalisAllSamples,
                                                target.m_stride, 0, 8 - fit.width % 8, fit.height, 0, kBlack,
                                                nullptr, nullptr);
    target.m_size_data = target.m_stride * targetHeight;
    luma = target;
    if (chroma != nullptr)
        result = ResizeUVBuffer(chroma, chroma, &state.m_work_u, fit);
    return result;
}

HRESULT HelperFunction_SpliteImage(Tonalis1State& state, InfoDataBufferPath1& frame, const BYTE* data, int32_t size)
{
    const bool yuy2 = IsYuy2(frame);
    if (!yuy2 && !IsGrey(frame))
        return S_FALSE;
    if (!HoldsPixelRows(frame, size, yuy2 ? 2 : 1))
        return E_UNEXPECTED;
    AssignChildSlots(frame, yuy2);
    const int32_t width = frame.m_info.m_bih.biWidth;
    const int32_t height = frame.m_info.m_bih.biHeight;
    InfoDataBufferPath1& luma = ChildPlane(frame, FrameChildSlot::Luma(0));
    InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(0));
    HRESULT result = S_OK;
    for (InfoDataBufferPath1* plane : {&luma, chroma})
        if (plane != nullptr && FAILED(result = SizeLikeFrame(*plane, frame, width, height)))
            return result;
    if (yuy2)
        result = state.m_operations.yuy2ToY16UV16(PlaneWords(luma), PlaneWords(*chroma), data, nullptr, nullptr,
                                                  luma.m_stride, frame.m_stride, width, height, 0, nullptr, nullptr,
                                                  nullptr);
    else
        result = state.m_operations.y8ToY16(PlaneWords(luma), nullptr, data, nullptr, nullptr, luma.m_stride,
                                            frame.m_stride, width, height, 0, nullptr, nullptr, nullptr);
    if (Param(state, kParamResizeWidth) != 0 && Param(state, kParamResizeHeight) != 0)
        result = HelperFunction_ResizeFrame(state, frame);
    result = SizeLevelPlanes(frame);
    result = luma.FillBoardBufferForSvertka(true);
    if (chroma != nullptr)
        result = chroma->FillBoardBufferForSvertka(false);
    return AllocateLikeLuma(frame, luma,
                            {TonalisWorkSlot::kEdgeMap, TonalisWorkSlot::kDifference, TonalisWorkSlot::kMotionMask});
}

// ---- Transform and pipeline -------------------------------------------------------------------

HRESULT Tonalis1::TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                      uint32_t outputSize, InfoFilterObjectDataPath1* instance,
                                      ListEventsDataPath1* events, int32_t /*inputIndex*/)
{
    if (instance == nullptr)
        return E_INVALIDARG;
    if (instance->m_state == nullptr)
        return E_UNEXPECTED;
    if (frame == nullptr)
        return E_INVALIDARG;
    if (static_cast<int32_t>(frameSize) <= 0 || output != nullptr || static_cast<int32_t>(outputSize) >= 1)
        return E_UNEXPECTED;
    try {
        Tonalis1State* state = nullptr;
        const HRESULT own = TakeOwnState(instance, &state);
        if (FAILED(own))
            return own;
        SetOutputsValid(*instance);
        if (frame->IsVirtualFrame() == 0)
            return S_OK;
        return TransformVideoFrame(*state, *frame, events);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::TransformVideoFrame(Tonalis1State& state, InfoDataBufferPath1& frame, ListEventsDataPath1* events)
{
    const uint64_t start = state.m_time.GetTime();
    state.m_counters.Fill(InfoCounterPairTonalis1{});
    if (!IsEqualGUID(frame.m_info.m_major_type, media_guids::MEDIATYPE_Video))
        return S_OK;
    HRESULT result = S_OK;
    if (!IsYuy2(frame) && !IsGrey(frame))
        result = MakeStandardFrame(frame);
    if (SUCCEEDED(result))
        result = CorrectImageFunction(&state, PixelData(frame), frame.m_size_data, events, &frame);
    const uint64_t elapsed = state.m_time.GetTime() - start;
    const HRESULT raised = events != nullptr ? RaiseAverageLevelEvent(state, frame, events) : S_OK;
    const HRESULT counted = state.m_statistics.AddProcessedFrame(elapsed, events, this, m_text_id.GetString(),
                                                                 frame.m_number_frame, state.m_event_owner,
                                                                 state.m_event_source_index);
    if (FAILED(result))
        return result;
    // A processed frame goes on to the next filter whatever its last step answered.
    if (events == nullptr)
        return S_OK;
    return FAILED(raised) ? raised : counted;
}

HRESULT Tonalis1::CorrectImageFunction(Tonalis1State* state, BYTE* data, int32_t size, ListEventsDataPath1* events,
                                       InfoDataBufferPath1* frame)
{
    if (state == nullptr || data == nullptr || frame == nullptr)
        return E_INVALIDARG;
    if (size < 1)
        return E_UNEXPECTED;
    try {
        HRESULT result = frame->EnableChildBuffers();
        frame->m_index_child.Fill(-1);
        result = HelperFunction_SpliteImage(*state, *frame, data, size);
        InfoDataBufferPath1* luma = GetFrameChildPlane(*frame, FrameChildSlot::Luma(0));
        if (luma == nullptr || FAILED(result))
            return result;
        InfoDataBufferPath1* chroma = GetFrameChildPlane(*frame, FrameChildSlot::Chroma(0));
        const SWORD* mask = kTonalisAllSamples;
        const bool enabled = state->m_enable != 0;
        const bool splitView = Param(*state, kParamSplitView) != 0;
        // With the corrections off no step changes the planes: there is no half to restore.
        const bool keepHalf = splitView && enabled;
        const bool motion = Param(*state, kParamMotionAdaptiveNoise) != 0;

        if (keepHalf)
            result = SaveSplitView(*state, *luma, chroma);
        if (enabled) {
            result = HelperFunction_RemoveNoise(*state, *frame, *luma, nullptr, mask, true, motion);
            result = EdgeSmoothingFunction(*state, *frame, *luma, chroma, mask);
        }
        if (frame->m_info.m_bih.biWidth > kTonalisHalfSizeAbove && !splitView && Param(*state, kParamHalfSize) == 1)
            result = WorkAtHalfSize(*state, *frame, *luma, chroma);
        result = AllocateLikeLuma(*frame, *luma, {TonalisWorkSlot::kLumaWork});
        result = ColorCorrectionFunction(*state, *frame, *luma, chroma, mask);
        if (enabled)
            result = HelperFunction_RemoveNoise(*state, *frame, *luma, chroma, mask, false, motion);
        result = GraduentEffectsFunction(*state, *frame, *luma, mask);
        result = HelperFunction_Histogram(*state, *frame, *luma, events, true, false);
        if (enabled && Param(*state, kParamEffectsOff) == 0)
            result = HelperFunction_TemplateMosaic(*state, *frame, *luma, Param(*state, kParamMosaicChroma) != 0 ? chroma : nullptr,
                                          mask);
        if (keepHalf)
            result = RestoreSplitView(*state, *luma, chroma);
        uint32_t average = 0;
        result = CreateSmallCopyFrames(GetFramePlaneKernels(state->m_operations), *frame, &average);
        result = WriteOutputPlanes(*state, *frame);
        state->m_average_level = std::clamp(static_cast<float>(average) / 255.0f, 0.0f, 1.0f);
        if (state->m_first_average_request != 0) {
            result = RaiseFirstAverageLevelEvent(*state, *frame, events);
            state->m_first_average_request = 0;
        }
        if (Param(*state, kParamTextEffects) != 0)
            result = TextEffectsFunction(*state, *frame);
        state->m_params_int.GetElement(kParamFrameCounter) += 1;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
