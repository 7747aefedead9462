// The mixer's transform: input switches, the background effect, the level gate and the hand-over
// of every passing frame to the virtual-camera driver.
#include "Blendora1.h"

#include "MessageForObjectsDataPath1.h"

#include "MediaSubtypeGuids.h"

namespace {

bool IsVideoFrame(const InfoDataBufferPath1& frame)
{
    return IsEqualGUID(frame.m_info.m_major_type, media_guids::MEDIATYPE_Video) ||
           IsEqualGUID(frame.m_info.m_major_type, GUID_NULL);
}

bool IsOutside(float value, const BlendoraLevelRange& range)
{
    return value < range.low || value > range.high;
}

// Closed by a detection or average-level event of the frame outside its range.
bool IsLevelGateClosed(const InfoFilterStateBlendora1& state, const ListEventsDataPath1* events)
{
    if (events == nullptr)
        return false;
    for (uint32_t i = 0; i < events->GetCount(); ++i) {
        const InfoEventDataFrame1* event = events->GetElement(i).m_event;
        if (event == nullptr)
            continue;
        if (event->m_type == ted1VideoDetectEvent &&
            IsOutside(static_cast<const InfoEventDataFrame_ted1VideoDetectEvent*>(event)->m_area_sum,
                      state.m_level_ranges.GetElement(InfoFilterStateBlendora1::kRangeDetection)))
            return true;
        if (event->m_type == ted1AverageVideoLevel &&
            IsOutside(static_cast<const InfoEventDataFrame_ted1AverageVideoLevel*>(event)->m_level1,
                      state.m_level_ranges.GetElement(InfoFilterStateBlendora1::kRangeAverageLevel)))
            return true;
    }
    return false;
}

} // namespace

bool HoldsFrameData(const InfoDataBufferPath1& frame)
{
    return frame.IsVirtualFrame() != 0 && frame.m_size_data > 0;
}

HRESULT Blendora1::TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize,
                                       InfoDataBufferPath1* /*output*/, uint32_t /*outputSize*/,
                                       InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events,
                                       int32_t inputIndex)
{
    if (frame == nullptr)
        return E_INVALIDARG;
    InfoFilterStateBlendora1* state = nullptr;
    const HRESULT own = TakeOwnState(instance, &state);
    if (FAILED(own))
        return own;
    if (frameSize < 1)
        return E_UNEXPECTED;
    try {
        if (state->m_input_enabled.GetElement(static_cast<uint32_t>(inputIndex)) == 0 && HoldsFrameData(*frame)) {
            frame->SetVirtualFrame();
            return S_FALSE;
        }
        if (!IsVideoFrame(*frame))
            return S_OK;
        return TransformVideoFrame(state, frame, events, inputIndex);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Blendora1::TransformVideoFrame(InfoFilterStateBlendora1* state, InfoDataBufferPath1* frame,
                                       ListEventsDataPath1* events, int32_t inputIndex)
{
    const HRESULT mixed =
        state->m_background_effect != 0 ? BackgroundEffectTransform(state, frame, events, inputIndex) : S_OK;
    if (IsLevelGateClosed(*state, events))
        return mixed;
    SendDataToSharedBuffer(state, frame, events, true);
    return S_OK;
}
