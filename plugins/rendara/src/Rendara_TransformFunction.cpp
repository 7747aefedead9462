// The frame display path: every frame is measured, its contour taken over, the scaled copy that
// fits the window converted to YUY2 and uploaded to the render object; the frame ends here.
// The output never scales pixels: upstream filters left the copies on the frame.
#include "Rendara1.h"

#include "FrameChildPlanes.h"
#include "MessageForObjectsDataPath1.h"

#include "FunctWorkWithHWND.h"
#include "MediaSubtypeGuids.h"

#include <algorithm>

namespace {

constexpr DWORD kCompressionYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');
constexpr DWORD kCompressionY8 = MAKEFOURCC('Y', '8', ' ', ' ');
constexpr double kMillisecondsPerSecond = 1000.0;

void SetStatusFlag(uint32_t& flags, uint32_t flag, bool set)
{
    if (set)
        flags |= flag;
    else
        flags &= ~flag;
}

// Steps 3 of the path: lost signal, format and access flags for this frame.
void UpdateStatusFlags(InfoFilterStateRendara1& state, const InfoDataBufferPath1& frame)
{
    constexpr uint32_t kFrameNotDisplayable = 0x200;
    constexpr uint32_t kFrameNoAccess = 0x1000;
    if ((state.m_status_flags & RenderStatusLostSignal) != 0) {
        state.m_status_flags &= ~static_cast<uint32_t>(RenderStatusLostSignal);
        state.m_signal_returned = 1;
    }
    SetStatusFlag(state.m_status_flags, RenderStatusBadFormat, (frame.m_info.m_state & kFrameNotDisplayable) != 0);
    SetStatusFlag(state.m_status_flags, RenderStatusNoAccess,
                  state.m_access == 0 || (frame.m_info.m_state & kFrameNoAccess) != 0);
}

// The last contour event of the instance's channel in the list wins.
HRESULT TakeOverContour(InfoFilterStateRendara1& state, const ListEventsDataPath1* events)
{
    if (events == nullptr)
        return S_OK;
    for (uint32_t i = 0; i < events->GetCount(); ++i) {
        const InfoEventDataFrame1* event = events->GetElement(i).m_event;
        if (event == nullptr || event->m_type != ted1InternalVideoConture || event->m_id_camera != state.m_channel)
            continue;
        const auto* contour = static_cast<const InfoEventDataFrame_ted1InternalVideoConture*>(event);
        state.m_contour_count = 0;
        if (contour->m_contours.GetCount() > 0) {
            state.m_contours = contour->m_contours;
            state.m_contour_count = contour->m_count_contours;
        }
    }
    return S_OK;
}

// Rate over the window of the last timestamps: the fill count over the span, 0 for no span.
void MeasureFrameRate(InfoFilterStateRendara1& state, uint64_t now)
{
    constexpr uint32_t capacity = InfoFilterStateRendara1::kFrameTimes;
    uint64_t* times = state.m_frame_times;
    if (state.m_frame_time_count < capacity) {
        times[state.m_frame_time_count++] = now;
    }
    else {
        std::copy(times + 1, times + capacity, times);
        times[capacity - 1] = now;
    }
    const uint64_t span = times[state.m_frame_time_count - 1] - times[0];
    state.m_frame_rate =
        span != 0 ? static_cast<float>(state.m_frame_time_count / (static_cast<double>(span) / kMillisecondsPerSecond)) : 0.0f;
}

bool IsWindowShown(const InfoFilterStateRendara1& state)
{
    return state.m_enabled != 0 && state.m_visible != 0 && IsWindowVisible(state.m_window);
}

bool CarriesVideoData(const InfoDataBufferPath1& frame, uint32_t frameSize)
{
    const uint32_t stateBits = frame.m_info.m_state;
    return (stateBits & InfoCallInterfaceDataPath1::kStateVirtual) == 0 &&
           (stateBits & InfoCallInterfaceDataPath1::kStateFrame) != 0 &&
           IsEqualGUID(frame.m_info.m_major_type, media_guids::MEDIATYPE_Video) && frame.m_data != nullptr &&
           frameSize >= 1 && frame.m_capacity >= 1 && frame.m_size_data >= 1;
}

// A grey frame is described again as YUY2 of its size: the copies are what is shown.
HRESULT DescribeY8AsYuy2(InfoDataBufferPath1& frame)
{
    const int width = frame.m_info.m_bih.biWidth;
    const int height = frame.m_info.m_bih.biHeight;
    const int stride = 2 * width;
    const int dataSize = stride * height;
    return frame.AllocBufferForStandartTypeVideoData(frame.m_offset_data + dataSize, width, height, stride,
                                                     frame.m_offset_data, dataSize, media_guids::MEDIASUBTYPE_YUY2,
                                                     kCompressionYuy2, 16);
}

// The largest copy narrower than one and a half times the client area; the smallest when the
// window is not shown.
int ChooseScaledCopy(const InfoFilterStateRendara1& state, int32_t width)
{
    constexpr int kSmallest = FrameChildSlot::kLevels - 1;
    if (FAILED(CheckIsWindow(state.m_window)) || !IsWindowShown(state))
        return kSmallest;
    RECT client = {};
    GetClientRect(state.m_window, &client);
    const double limit = 1.5 * (client.right - client.left);
    for (int level = 0; level < kSmallest; ++level)
        if (width / FrameChildSlot::kDivisors[level] < limit)
            return level;
    return kSmallest;
}

// The plane of a copy, when it holds at least the copy's size.
const SWORD* PlaneSamples(InfoDataBufferPath1* plane, int32_t width, int32_t height)
{
    if (plane == nullptr || plane->m_data == nullptr || plane->m_info.m_bih.biWidth < width ||
        plane->m_info.m_bih.biHeight < height)
        return nullptr;
    return reinterpret_cast<const SWORD*>(plane->m_data + plane->m_offset_data);
}

} // namespace

HRESULT Rendara1::TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* /*output*/,
                                      uint32_t /*outputSize*/, InfoFilterObjectDataPath1* instance,
                                      ListEventsDataPath1* events, int32_t /*inputIndex*/)
{
    if (frame == nullptr || instance == nullptr)
        return E_INVALIDARG;
    if (frameSize < 1)
        return E_UNEXPECTED;
    InfoFilterStateRendara1* state = nullptr;
    const HRESULT own = TakeOwnState(instance, &state);
    if (FAILED(own))
        return own;
    return DoRenderSample(state, frame, frameSize, events);
}

HRESULT Rendara1::DoRenderSample(InfoFilterStateRendara1* state, InfoDataBufferPath1* frame, uint32_t frameSize,
                                 ListEventsDataPath1* events)
{
    if (state == nullptr || frame == nullptr)
        return E_INVALIDARG;
    try {
        const uint64_t now = state->m_time.GetTime();
        state->m_last_frame_time = now;
        UpdateStatusFlags(*state, *frame);
        TakeOverContour(*state, events);
        MeasureFrameRate(*state, now);
        const bool shown = IsWindowShown(*state) && CarriesVideoData(*frame, frameSize);
        if (shown)
            ShowFrame(state, *frame, events);
        const HRESULT result = frame->SetNULLFrame();
        if (shown)
            RedrawOutputWindow(state);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Rendara1::ShowFrame(InfoFilterStateRendara1* state, InfoDataBufferPath1& frame, ListEventsDataPath1* events)
{
    if (frame.m_info.m_bih.biCompression == kCompressionY8) {
        const HRESULT described = DescribeY8AsYuy2(frame);
        if (FAILED(described))
            return described;
    }
    state->m_status_flags &= ~static_cast<uint32_t>(RenderStatusBadFormat);
    if (frame.m_info.m_bih.biCompression != kCompressionYuy2) {
        state->m_status_flags |= RenderStatusBadFormat;
        return S_FALSE;
    }
    const int32_t width = frame.m_info.m_bih.biWidth;
    const int32_t height = frame.m_info.m_bih.biHeight;
    state->m_frame_width = static_cast<uint32_t>(width);
    state->m_frame_height = static_cast<uint32_t>(height);
    // The statistics move from the frame to the display.
    state->m_display.m_info.m_params = frame.m_info.m_params;
    frame.m_info.m_params.GetElement(0).SetUInt(0);
    frame.m_info.m_params.GetElement(1).SetUInt(0);

    GeneralVideoRendererObject* render = state->m_render.m_object;
    if (render == nullptr)
        return S_OK;
    render->SetStatusFlags(state->m_status_flags);
    render->SetDisplayedFrameRate(state->m_frame_rate);
    const int64_t scratchBytes = int64_t{2} * width * height;
    if (scratchBytes > state->m_scratch_capacity) {
        if (FAILED(SAFE_TASK_REALLOC(&state->m_scratch, static_cast<uint64_t>(scratchBytes))))
            return E_FAIL;
        state->m_scratch_capacity = static_cast<int32_t>(scratchBytes);
    }
    const int level = ChooseScaledCopy(*state, width);
    return UploadScaledCopy(state, frame, level, events);
}

HRESULT Rendara1::UploadScaledCopy(InfoFilterStateRendara1* state, InfoDataBufferPath1& frame, int level,
                                   ListEventsDataPath1* events)
{
    const int32_t width = frame.m_info.m_bih.biWidth / FrameChildSlot::kDivisors[level];
    const int32_t height = frame.m_info.m_bih.biHeight / FrameChildSlot::kDivisors[level];
    InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
    const SWORD* lumaSamples = PlaneSamples(luma, width, height);
    if (lumaSamples == nullptr || width < 1 || height < 1)
        return S_FALSE;
    InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(level));
    // The conversion reads both planes with one stride.
    const SWORD* chromaSamples =
        chroma != nullptr && chroma->m_stride == luma->m_stride ? PlaneSamples(chroma, width, height) : nullptr;
    const int32_t stride = 2 * width;
    const HRESULT converted =
        chromaSamples != nullptr
            ? state->m_kernels.packY16UV16ToYuy2(lumaSamples, chromaSamples, luma->m_stride, state->m_scratch, stride,
                                                 width, height)
            : state->m_kernels.packY16ToYuy2(lumaSamples, luma->m_stride, state->m_scratch, stride, width, height);
    if (FAILED(converted))
        return converted;
    VIDEOINFOHEADER header = state->m_format;
    header.bmiHeader.biWidth = width;
    header.bmiHeader.biHeight = height;
    const HRESULT uploaded = state->m_render.m_object->UploadFrame(state->m_scratch, stride * height, &header);
    const float ratio = static_cast<float>(width) / static_cast<float>(height);
    if (ratio != state->m_last_ratio) {
        state->m_last_ratio = ratio;
        auto* event = new InfoEventDataFrame_ted1ChangeWidthToHeightFrame();
        event->InitStruct(this, state->m_event_target, state->m_channel);
        event->m_ratio = ratio;
        if (FAILED(AppendEventDataPath1(events, event)))
            delete event;
    }
    return uploaded;
}
