// The mixer's side of the virtual-camera driver's shared buffer: the frame-ready handshake, the
// choice of the frame's copy the driver accepts, and the driver-state event.
#include "Blendora1.h"

#include "FrameChildPlanes.h"
#include "MessageForObjectsDataPath1.h"

#include <memory>

namespace {

// A frame still waiting after this many later frames and this long means the driver stopped.
constexpr uint32_t kBlockedFramesBeforeStall = 30;
constexpr int64_t kStallMilliseconds = 15000;

constexpr uint8_t kDriverStopped = 0;
constexpr uint8_t kDriverReading = 1;

// Owns the driver's mutex for a scope when it was had within the wait. A mutex its last owner
// left without releasing it is owned all the same (the header may be half written, but the
// flag is written last).
class DriverMutexLock
{
public:
    DriverMutexLock(HANDLE mutex, DWORD milliseconds) : m_mutex(mutex)
    {
        const DWORD wait = WaitForSingleObject(mutex, milliseconds);
        if (wait == WAIT_ABANDONED)
            LOG_TEXT("SendDataToSharedBuffer::the driver's mutex was abandoned; taken over");
        m_owned = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    ~DriverMutexLock()
    {
        if (m_owned)
            ReleaseMutex(m_mutex);
    }
    DriverMutexLock(const DriverMutexLock&) = delete;
    DriverMutexLock& operator=(const DriverMutexLock&) = delete;

    bool IsOwned() const { return m_owned; }

private:
    HANDLE m_mutex;
    bool m_owned = false;
};

// One level of the frame's child planes, as the driver receives it.
struct DriverFramePlanes
{
    const InfoDataBufferPath1* luma = nullptr;
    const InfoDataBufferPath1* chroma = nullptr; // null for a grey frame
    int32_t width = 0;
    int32_t height = 0;
    int64_t outputStride = 0;
};

const SWORD* PlaneSamples(const InfoDataBufferPath1& plane)
{
    return reinterpret_cast<const SWORD*>(plane.m_data + plane.m_offset_data);
}

bool MatchesLuma(const InfoDataBufferPath1& chroma, const InfoDataBufferPath1& luma)
{
    return IsReadableFramePlane(chroma) && chroma.m_info.m_bih.biWidth == luma.m_info.m_bih.biWidth &&
           chroma.m_info.m_bih.biHeight == luma.m_info.m_bih.biHeight && chroma.m_stride == luma.m_stride;
}

// The level's planes, or false when its luma is missing or empty or a named chroma does not fit it.
bool GetLevelPlanes(InfoDataBufferPath1& frame, int level, DriverFramePlanes& planes)
{
    const InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
    if (luma == nullptr || !IsReadableFramePlane(*luma))
        return false;
    const InfoDataBufferPath1* chroma = nullptr;
    if (frame.m_index_child.GetElement(FrameChildSlot::Chroma(level)) > 0) {
        chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(level));
        if (chroma == nullptr || !MatchesLuma(*chroma, *luma))
            return false;
    }
    planes.luma = luma;
    planes.chroma = chroma;
    planes.width = luma->m_info.m_bih.biWidth;
    planes.height = luma->m_info.m_bih.biHeight;
    planes.outputStride = PlexamoDataStride(planes.width);
    return true;
}

bool FitsSection(const DriverFramePlanes& planes, uint32_t sectionSize)
{
    return planes.outputStride * planes.height + kPlexamoDataOffset <= sectionSize;
}

// The first level, largest first, that the driver accepts and the section holds; when the driver
// accepts none (or tells no size), the eighth-size copy if the section holds it.
bool ChooseDriverFramePlanes(InfoDataBufferPath1& frame, const InfoBetweenPlexamoDriverAndApplication& header,
                             uint32_t sectionSize, DriverFramePlanes& chosen)
{
    const int64_t largestArea = static_cast<int64_t>(header.m_largest_width) * header.m_largest_height;
    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        DriverFramePlanes planes;
        if (GetLevelPlanes(frame, level, planes) &&
            static_cast<int64_t>(planes.width) * planes.height <= largestArea && FitsSection(planes, sectionSize)) {
            chosen = planes;
            return true;
        }
    }
    return GetLevelPlanes(frame, FrameChildSlot::kLevels - 1, chosen) && FitsSection(chosen, sectionSize);
}

HRESULT RaiseDriverStateEvent(InfoFilterStateBlendora1& state, ListEventsDataPath1* events, uint8_t driverState)
{
    auto event = std::make_unique<InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo>();
    event->InitStruct(state.m_owner, nullptr, 0);
    event->m_state = driverState;
    const HRESULT result = AppendEventDataPath1(events, event.get());
    if (SUCCEEDED(result))
        event.release();
    return result;
}

HRESULT CountBlockedFrame(InfoFilterStateBlendora1& state, ListEventsDataPath1* events)
{
    const uint64_t now = state.m_time.GetTime();
    if (state.m_count_blocked_frames == 0)
        state.m_time_first_blocked = now;
    ++state.m_count_blocked_frames;
    if (state.m_count_blocked_frames > kBlockedFramesBeforeStall &&
        static_cast<int64_t>(now - state.m_time_first_blocked) > kStallMilliseconds) {
        state.m_count_blocked_frames = 0;
        return RaiseDriverStateEvent(state, events, kDriverStopped);
    }
    return S_OK;
}

// The data first, then the size, then the flag: the driver reads nothing half written.
HRESULT WriteFrame(InfoFilterStateBlendora1& state, InfoDataBufferPath1& frame,
                   InfoBetweenPlexamoDriverAndApplication& header)
{
    DriverFramePlanes planes;
    if (!ChooseDriverFramePlanes(frame, header, state.m_section_size, planes))
        return S_OK;
    BYTE* data = state.m_view + kPlexamoDataOffset;
    const int32_t outputStride = static_cast<int32_t>(planes.outputStride);
    const HRESULT result =
        planes.chroma != nullptr
            ? state.m_kernels.packY16UV16ToYuy2(PlaneSamples(*planes.luma), PlaneSamples(*planes.chroma),
                                                planes.luma->m_stride, data, outputStride, planes.width,
                                                planes.height)
            : state.m_kernels.packY16ToYuy2(PlaneSamples(*planes.luma), planes.luma->m_stride, data, outputStride,
                                            planes.width, planes.height);
    if (FAILED(result))
        return result;
    header.m_width = planes.width;
    header.m_height = planes.height;
    header.m_stride = outputStride;
    header.m_frame_ready = 1;
    return result;
}

HRESULT SendLocked(InfoFilterStateBlendora1& state, InfoDataBufferPath1& frame, ListEventsDataPath1* events,
                   bool send)
{
    auto& header = *reinterpret_cast<InfoBetweenPlexamoDriverAndApplication*>(state.m_view);
    if (!send)
        return S_OK;
    if (!HoldsFrameData(frame))
        return header.m_frame_ready == 0 ? RaiseDriverStateEvent(state, events, kDriverReading) : S_OK;
    if (IsEqualGUID(frame.m_info.m_major_type, GUID_NULL))
        return S_OK;
    if (header.m_frame_ready != 0)
        return CountBlockedFrame(state, events);
    state.m_count_blocked_frames = 0;
    return WriteFrame(state, frame, header);
}

} // namespace

HRESULT SendDataToSharedBuffer(InfoFilterStateBlendora1* state, InfoDataBufferPath1* frame,
                               ListEventsDataPath1* events, bool send)
{
    if (state == nullptr || frame == nullptr)
        return E_FAIL;
    if (state->m_view == nullptr || state->m_mutex == nullptr)
        return S_FALSE;
    DriverMutexLock lock(state->m_mutex, state->m_mutex_wait_milliseconds);
    if (!lock.IsOwned())
        return S_FALSE;
    try {
        return SendLocked(*state, *frame, events, send);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
