// The camera filter's work on each frame: which outputs forward it, the internal detection
// event, and what is kept of it for grabbing.
#include "Camwell1.h"

#include "MediaSubtypeGuids.h"

#include <cstring>

using namespace media_guids;

namespace {

constexpr int32_t kOutputPaced = 0;
constexpr int32_t kOutputSpecial = 1;
constexpr int32_t kOutputView = 2;
constexpr int64_t kKeepAliveMs = 30000;
constexpr uint32_t kStatePlaceholder = 514;
constexpr uint8_t kGreyLevel = 127;

// The paced decision of one output: the elapsed time plus the carried seconds against the
// interval. A taken frame keeps the rest of the carry, bounded so that a long gap does not
// release a burst. A rate of 0 (or anything not above 0) never takes a frame.
bool TakePacedFrame(float rate, int64_t elapsedMs, double& carry)
{
    if (!(rate > 0.0f))
        return false;
    const double interval = 1.0 / rate;
    const double accumulated = static_cast<double>(elapsedMs) / 1000.0 + carry;
    if (interval > accumulated)
        return false;
    const double rest = accumulated - interval;
    carry = rest < 0.0 ? 0.0 : (rest > interval + 1.0 ? interval + 1.0 : rest);
    return true;
}

void UpdateSchedulePosition(InfoCamwell1State& state)
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    state.m_hour_index = GetScheduleHourIndex(local);
    state.m_row = DecodeScheduleByte(state.m_schedule[state.m_hour_index]).m_row;
}

BYTE* FrameBytes(InfoDataBufferPath1& frame)
{
    return frame.m_data + frame.m_offset_data;
}

// A small black YUY2 frame in place of one the path cannot show.
HRESULT ReplaceByPlaceholder(InfoDataBufferPath1& frame)
{
    constexpr int32_t kWidth = 80, kHeight = 60, kStride = 2 * kWidth, kSize = kStride * kHeight;
    const HRESULT result = frame.AllocBufferForStandartTypeVideoData(kSize, kWidth, kHeight, kStride, 0, kSize,
                                                                    MEDIASUBTYPE_YUY2, MEDIASUBTYPE_YUY2.Data1, 16);
    if (FAILED(result))
        return result;
    frame.m_info.m_state = kStatePlaceholder;
    std::memset(frame.m_data, 0, kSize);
    return S_OK;
}

// The last frame takes the frame's description, its parameters (the time) included, without data.
void TakeDescription(InfoDataBufferPath1& last, const InfoDataBufferPath1& frame)
{
    last.m_info = frame.m_info;
    last.m_info.m_params = frame.m_info.m_params;
    last.m_stride = frame.m_stride;
    last.m_size_data = 0;
    last.m_offset_data = 0;
}

} // namespace

HRESULT Camwell1::TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* /*output*/,
                                      uint32_t /*outputSize*/, InfoFilterObjectDataPath1* instance,
                                      ListEventsDataPath1* events, int32_t /*inputIndex*/)
{
    try {
        if (instance == nullptr || frame == nullptr)
            return E_INVALIDARG;
        InfoCamwell1State* state = nullptr;
        const HRESULT own = TakeOwnState(instance, &state);
        if (FAILED(own))
            return own;
        if (frameSize < 1)
            return E_UNEXPECTED;
        auto& outputs = instance->m_points.m_outputs;
        if (frame->IsVirtualFrame() == 0 || !HoldsFrameData(*frame)) {
            for (int32_t i = 0; i < kCountOutputs; ++i)
                outputs.GetElement(i).m_valid = true;
            return S_OK;
        }

        bool flags[kCountOutputs] = {};
        flags[kOutputView] = state->m_rows.GetElement(0).m_rates[InfoRateRowCamwell1::kRateView] == 0.0f ||
                             state->m_view_limiter.CheckTimeForNextFrame() == S_OK;
        const HRESULT result = NoticeMotionFromEvents(*state, events);
        UpdateSchedulePosition(*state);
        const int64_t now = state->Now();
        // A second output that stays silent gets a frame every 30 seconds.
        if (state->Row().IsOutput1Enabled() && now - state->m_keep_alive >= kKeepAliveMs) {
            LOG_TEXT("correct needed send compress frame by time, fake");
            flags[kOutputSpecial] = true;
        }
        if (!state->m_paused)
            SelectPacedOutputs(*state, now, events, flags);
        if (flags[kOutputSpecial])
            state->m_keep_alive = now;
        for (int32_t i = 0; i < kCountOutputs; ++i)
            outputs.GetElement(i).m_valid = flags[i];

        if (state->m_grey_picture) {
            std::memset(FrameBytes(*frame), kGreyLevel, static_cast<size_t>(frame->m_size_data));
            return result;
        }
        if (IsEqualGUID(frame->m_info.m_major_type, MEDIATYPE_Video)) {
            const HRESULT kept = KeepVideoFrame(*state, *frame);
            if (FAILED(kept))
                return kept;
        }
        else if (IsEqualGUID(frame->m_info.m_major_type, MEDIATYPE_Audio)) {
            TakeDescription(state->m_last_frame, *frame);
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The first detection event of this camera (type 1 or 2) counts as motion.
HRESULT Camwell1::NoticeMotionFromEvents(InfoCamwell1State& state, ListEventsDataPath1* events)
{
    if (events == nullptr)
        return S_OK;
    for (uint32_t i = 0; i < events->GetCount(); ++i) {
        const InfoEventDataFrame1* event = events->GetElement(i).m_event;
        if (event == nullptr || event->m_id_camera != state.m_camera_id)
            continue;
        const int32_t type = event->m_type;
        if (type == ted1VideoDetectEvent || type == 2)
            return NoticeMotion(state);
    }
    return S_OK;
}

void Camwell1::SelectPacedOutputs(InfoCamwell1State& state, int64_t now, ListEventsDataPath1* events,
                                  bool flags[kCountOutputs])
{
    const InfoRateRowCamwell1& row = state.Row();
    const uint8_t mode = state.Mode();
    float rate = row.m_rates[InfoRateRowCamwell1::kRateOutput0];
    if (mode != InfoScheduleHourCamwell1::kModeNone) {
        flags[kOutputPaced] = true;
        const bool motionMode = mode == InfoScheduleHourCamwell1::kModeWhileMotion ||
                                mode == InfoScheduleHourCamwell1::kModeMotionTriggered;
        const bool windowOpen = motionMode && row.m_motion_timeout >= state.SecondsSinceDetection(600.0);
        if (mode == InfoScheduleHourCamwell1::kModeMotionTriggered) {
            rate = row.m_rates[InfoRateRowCamwell1::kRateOutput0Motion];
            flags[kOutputPaced] = windowOpen;
        }
        else if (windowOpen) {
            const float motionRate = row.m_rates[InfoRateRowCamwell1::kRateOutput0Motion];
            rate = motionRate < 1.0f ? 1.0f : motionRate;
        }
        if (windowOpen)
            RaiseInternalDetection(state, events);
    }

    if (flags[kOutputPaced] && TakePacedFrame(rate, now - state.m_last_output0, state.m_carry_output0))
        state.m_last_output0 = now;
    else
        flags[kOutputPaced] = false;

    if (row.IsOutput1Enabled() &&
        TakePacedFrame(row.m_rates[InfoRateRowCamwell1::kRateOutput1], now - state.m_last_output1,
                       state.m_carry_output1)) {
        state.m_last_output1 = now;
        flags[kOutputSpecial] = true;
        state.m_special_request = false;
    }
}

HRESULT Camwell1::RaiseInternalDetection(InfoCamwell1State& state, ListEventsDataPath1* events)
{
    if (events == nullptr)
        return E_INVALIDARG;
    auto* event = new InfoEventDataFrame_ted1InternalVideoDetectEvent();
    event->InitStruct(this, state.m_event_control, state.m_camera_id);
    const HRESULT result = AppendEventDataPath1(events, event);
    if (FAILED(result))
        delete event;
    return result;
}

HRESULT Camwell1::KeepVideoFrame(InfoCamwell1State& state, InfoDataBufferPath1& frame)
{
    const GUID& subtype = frame.m_info.m_subtype;
    if (!IsEqualGUID(subtype, MEDIASUBTYPE_YUY2) && !IsEqualGUID(subtype, MediaSubtypeY8)) {
        const HRESULT replaced = ReplaceByPlaceholder(frame);
        if (FAILED(replaced))
            return replaced;
    }
    InfoDataBufferPath1& last = state.m_last_frame;
    TakeDescription(last, frame);
    if (state.m_coder_on)
        ScrambleDataCamwell1(state.m_coder_key, FrameBytes(frame), frame.m_size_data);
    if (state.m_continuous_copy || state.m_grab_request)
        last = frame;
    if (state.m_grab_request) {
        state.m_grab_request = false;
        SYSTEMTIME local;
        GetLocalTime(&local);
        // A frame that cannot be written leaves no file; the frame goes on.
        WriteFrameToBMPFile(frame, state.m_grab_file.GetString(),
                            MakeCaptionCamwell1(local, state.m_camera_id).GetString());
    }
    return S_OK;
}
