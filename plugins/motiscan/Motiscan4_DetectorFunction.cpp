// The detector's work on every frame: difference with the previous picture, threshold, regions,
// events. The frame itself is never changed.
#include "Motiscan4.h"

#include "FrameChildPlanes.h"
#include "MessageForObjectsDataPath1.h"

#include "CatchAllLog.h"
#include "MediaSubtypeGuids.h"

#include <algorithm>

namespace {

// The analysis runs on the first scaled copy at most this wide.
constexpr int32_t kLargestAnalysedWidth = 96;
// Narrower or lower pictures are not analysed.
constexpr int32_t kSmallestAnalysedSide = 16;
constexpr int kZoneGridCells = 128;
constexpr int kZoneGridRowBytes = kZoneGridCells / 8;
constexpr float kDefaultSensitivity = 5.0f;
constexpr float kEventFiller = 25.0f;

const SWORD kAllLanes[8] = {-1, -1, -1, -1, -1, -1, -1, -1};

int32_t WidthOf(const InfoDataBufferPath1& plane) { return plane.m_info.m_bih.biWidth; }
int32_t HeightOf(const InfoDataBufferPath1& plane) { return plane.m_info.m_bih.biHeight; }

// A plane whose every row, at least as long as its width, lies inside its block.
bool IsUsablePlane(const InfoDataBufferPath1* plane)
{
    if (plane == nullptr || plane->m_data == nullptr)
        return false;
    const int64_t width = WidthOf(*plane);
    const int64_t height = HeightOf(*plane);
    const int64_t stride = plane->m_stride;
    const int64_t offset = plane->m_offset_data;
    return width > 0 && height > 0 && stride >= 2 * width && offset >= 0 &&
           offset + stride * height <= plane->m_capacity;
}

// The luminance plane to analyse: the full-size one with the full-frame flag, else the first of
// the full, 1/2 and 1/4 copies that is narrow enough, else the 1/8 copy. Missing or empty planes
// are passed over; null when none is left.
InfoDataBufferPath1* ChoosePicture(InfoDataBufferPath1& frame, bool fullFrame)
{
    InfoDataBufferPath1* full = GetFrameChildPlane(frame, FrameChildSlot::Luma(0));
    if (fullFrame)
        return IsUsablePlane(full) ? full : nullptr;
    for (int level = 0; level < FrameChildSlot::kLevels - 1; ++level) {
        InfoDataBufferPath1* plane = GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
        if (IsUsablePlane(plane) && WidthOf(*plane) <= kLargestAnalysedWidth)
            return plane;
    }
    InfoDataBufferPath1* smallest = GetFrameChildPlane(frame, FrameChildSlot::Luma(FrameChildSlot::kLevels - 1));
    return IsUsablePlane(smallest) ? smallest : nullptr;
}

bool IsAnalysedFrame(const InfoDataBufferPath1& frame)
{
    return frame.m_info.m_state == InfoCallInterfaceDataPath1::kStateFrame &&
           IsEqualGUID(frame.m_info.m_major_type, media_guids::MEDIATYPE_Video) &&
           IsEqualGUID(frame.m_info.m_format_type, media_guids::FORMAT_VideoInfo);
}

void SetOutputsValid(InfoFilterObjectDataPath1& instance)
{
    for (uint32_t i = 0; i < ListConnectionPointsDataPath1::kMaxPoints; ++i)
        instance.m_points.m_outputs.GetElement(i).m_valid = true;
}

int16_t* PlaneRow(int16_t* plane, int stride, int y)
{
    return reinterpret_cast<int16_t*>(reinterpret_cast<BYTE*>(plane) + static_cast<ptrdiff_t>(y) * stride);
}

ContourPlane PlaneOf(InfoDataBufferPath1& plane)
{
    return {reinterpret_cast<int16_t*>(plane.m_data + plane.m_offset_data), WidthOf(plane), HeightOf(plane),
            plane.m_stride};
}

int32_t LevelInForce(const Motiscan4State& state)
{
    if (state.m_forced_level != Motiscan4State::kAutomaticLevel)
        return std::clamp(state.m_forced_level, 0, 2);
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ScheduledLevel(state.m_settings, now);
}

// The level's sensitivity as the sample threshold: a value that is no number counts as the
// default, and the threshold stays within the samples' range and never below 0, so a cleared
// border stays clear.
SWORD SensitivityThreshold(const StructFormatGraph1& settings, int32_t level)
{
    float sensitivity = settings.m_capture.m_values1[level];
    CheckFloatValue(&sensitivity, kDefaultSensitivity);
    return static_cast<SWORD>(std::clamp(sensitivity, 0.0f, 32767.0f));
}

bool ZoneCellIsSet(const uint8_t* mask, int row, int column)
{
    return ((mask[row * kZoneGridRowBytes + column / 8] >> (column % 8)) & 1) != 0;
}

// Draws the level's 128 x 128 zone grid into a plane of the picture's size: 1 at the top-left
// sample of every set cell, 0 elsewhere.
HRESULT BuildZonePlane(Motiscan4State& state, const InfoDataBufferPath1& picture, int32_t level)
{
    InfoDataBufferPath1& zone = state.m_zone_plane;
    state.m_rebuild_zone = 0;
    state.m_last_level = level;
    zone.m_info = picture.m_info;
    const int width = WidthOf(picture);
    const int height = HeightOf(picture);
    const HRESULT result = zone.UpdateSizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (FAILED(result))
        return result;
    int16_t* samples = reinterpret_cast<int16_t*>(zone.m_data + zone.m_offset_data);
    for (int y = 0; y < height; ++y)
        std::fill_n(PlaneRow(samples, zone.m_stride, y), width, int16_t{0});
    const uint8_t* mask = state.m_settings.m_capture.m_zones[level];
    for (int r = 0; r < kZoneGridCells; ++r)
        for (int c = 0; c < kZoneGridCells; ++c)
            if (ZoneCellIsSet(mask, r, c))
                PlaneRow(samples, zone.m_stride, r * height / kZoneGridCells)[c * width / kZoneGridCells] = 1;
    return S_OK;
}

bool ZonePlaneFits(const InfoDataBufferPath1& zone, const InfoDataBufferPath1& picture)
{
    return zone.m_data != nullptr && WidthOf(zone) == WidthOf(picture) && HeightOf(zone) == HeightOf(picture);
}

void ClearBorder(int16_t* plane, int width, int height, int stride)
{
    std::fill_n(PlaneRow(plane, stride, 0), width, int16_t{0});
    std::fill_n(PlaneRow(plane, stride, height - 1), width, int16_t{0});
    for (int y = 1; y < height - 1; ++y) {
        PlaneRow(plane, stride, y)[0] = 0;
        PlaneRow(plane, stride, y)[width - 1] = 0;
    }
}

// The work buffers are taken as one row of samples: the primitives then cover every byte of
// the picture, padding included, in a single run.
HRESULT RunOnWholeBuffer(UnifSwordFunction operation, int16_t* target, const int16_t* source, uint32_t size,
                         uint32_t capacity, const SWORD* constant)
{
    const int stride = static_cast<int>(capacity);
    return operation(target, nullptr, source, nullptr, kAllLanes, stride, stride, static_cast<int>(size / 2), 1, 0,
                     constant, nullptr, nullptr);
}

HRESULT AppendEvent(ListEventsDataPath1* events, InfoEventDataFrame1* event)
{
    const HRESULT result = AppendEventDataPath1(events, event);
    if (FAILED(result))
        delete event;
    return result;
}

} // namespace

HRESULT Motiscan4::TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                       uint32_t outputSize, InfoFilterObjectDataPath1* instance,
                                       ListEventsDataPath1* events, int32_t /*inputIndex*/)
{
    try {
        return DetectorFunction(frame, frameSize, output, outputSize, instance, events);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Motiscan4::DetectorFunction(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                    uint32_t outputSize, InfoFilterObjectDataPath1* instance,
                                    ListEventsDataPath1* events)
{
    if (instance == nullptr || frame == nullptr)
        return E_INVALIDARG;
    if (frameSize < 1 || output != nullptr || outputSize > 0)
        return E_UNEXPECTED;
    if (frame->IsVirtualFrame() == 0) {
        SetOutputsValid(*instance);
        return S_OK;
    }
    if (!IsAnalysedFrame(*frame))
        return S_OK;
    Motiscan4State* state = nullptr;
    const HRESULT own = TakeOwnState(instance, &state);
    if (FAILED(own))
        return own;
    SetOutputsValid(*instance);
    if (!state->m_detection_enabled)
        return S_OK;
    const uint64_t start = state->m_time_server.GetTime();
    InfoDataBufferPath1* picture = ChoosePicture(*frame, state->m_full_frame);
    if (picture == nullptr || WidthOf(*picture) < kSmallestAnalysedSide || HeightOf(*picture) < kSmallestAnalysedSide)
        return S_OK;
    const HRESULT analysed = AnalysePicture(*state, *picture, frame->m_number_frame, events);
    if (FAILED(analysed))
        return analysed;
    return state->m_statistics.AddProcessedFrame(state->m_time_server.GetTime() - start, events, this,
                                                 m_text_id.GetString(), frame->m_number_frame);
}

HRESULT Motiscan4::AnalysePicture(Motiscan4State& state, InfoDataBufferPath1& picture, int32_t numberFrame,
                                  ListEventsDataPath1* events)
{
    const int width = WidthOf(picture);
    const int height = HeightOf(picture);
    const int stride = picture.m_stride;
    const uint32_t size = static_cast<uint32_t>(stride) * static_cast<uint32_t>(height);
    const BYTE* pixels = picture.m_data + picture.m_offset_data;
    MotiscanWorkBuffers& work = state.m_work;

    // The first picture of a size is compared with itself.
    const MotiscanPictureSize pictureSize{width, height, stride};
    if (work.Reserve(size) || !(pictureSize == state.m_picture_size)) {
        state.m_picture_size = pictureSize;
        MemCopy(work.Previous(), pixels, size, "Motiscan4::DetectorFunction");
    }
    MemCopy(work.Difference(), pixels, size, "Motiscan4::DetectorFunction");
    HRESULT result = RunOnWholeBuffer(state.m_operations.absoluteDifference, work.Difference(), work.Previous(), size,
                                      work.Capacity(), nullptr);
    if (FAILED(result))
        return result;

    const int32_t level = LevelInForce(state);
    if (state.m_rebuild_zone != 0 || level != state.m_last_level || !ZonePlaneFits(state.m_zone_plane, picture)) {
        result = BuildZonePlane(state, picture, level);
        if (FAILED(result))
            return result;
    }

    MemCopy(work.Threshold(), work.Difference(), size, "Motiscan4::DetectorFunction");
    ClearBorder(work.Threshold(), width, height, stride);
    SWORD threshold[8];
    std::fill_n(threshold, 8, SensitivityThreshold(state.m_settings, level));
    result = RunOnWholeBuffer(state.m_operations.compareGreater, work.Threshold(), nullptr, size, work.Capacity(),
                              threshold);
    if (FAILED(result))
        return result;

    result = SearchConture(ContourPlane{work.Threshold(), width, height, stride}, PlaneOf(state.m_zone_plane),
                           state.m_contours, &state.m_count_contours, state.m_search);
    if (FAILED(result))
        return result;
    ++state.m_count_analysed;
    result = RaiseDetectionEvent(state, level, numberFrame, events);
    if (SUCCEEDED(result))
        result = RaiseContourEvent(state, numberFrame, events);
    MemCopy(work.Previous(), pixels, size, "Motiscan4::DetectorFunction");
    return result;
}

HRESULT Motiscan4::RaiseDetectionEvent(Motiscan4State& state, int32_t level, int32_t numberFrame,
                                       ListEventsDataPath1* events)
{
    const InfoVideoDetectBounds& bounds = state.m_settings.m_capture.m_bounds[level];
    const float smallestArea = bounds.m_lower1 * bounds.m_lower1 / 10000.0f;
    const float largestArea = bounds.m_upper1 * bounds.m_upper1 / 10000.0f;
    auto* event = new InfoEventDataFrame_ted1VideoDetectEvent();
    event->InitStruct(this, nullptr, state.m_settings.cameraId);
    event->m_number_frame = numberFrame;
    event->m_level = level;
    event->m_reserved = 0;
    event->m_area_max = 0.0f;
    event->m_area_sum = 0.0f;
    for (int32_t i = 0; i < state.m_count_contours; ++i) {
        Class_InfoCountore& contour = state.m_contours.GetElement(static_cast<uint32_t>(i));
        contour.m_flags[0] = contour.m_area >= smallestArea && contour.m_area <= largestArea ? 1 : 0;
        event->m_area_max = std::max(event->m_area_max, contour.m_area);
        event->m_area_sum += contour.m_area;
    }
    std::fill_n(event->m_values1, 4, kEventFiller);
    event->m_zone[0] = bounds.m_lower2 * 0.01f;
    event->m_zone[1] = bounds.m_upper2 * 0.01f;
    std::fill_n(event->m_values2, 4, kEventFiller);
    return AppendEvent(events, event);
}

HRESULT Motiscan4::RaiseContourEvent(const Motiscan4State& state, int32_t numberFrame, ListEventsDataPath1* events)
{
    auto* event = new InfoEventDataFrame_ted1InternalVideoConture();
    try {
        event->InitStruct(this, nullptr, state.m_settings.cameraId);
        event->m_number_frame = numberFrame;
        event->m_count_contours = state.m_count_contours;
        event->m_contours.SetSize(static_cast<uint32_t>(state.m_count_contours));
        for (int32_t i = 0; i < state.m_count_contours; ++i)
            event->m_contours.GetElement(static_cast<uint32_t>(i)) =
                state.m_contours.GetElement(static_cast<uint32_t>(i));
    }
    catch (...) {
        delete event;
        throw;
    }
    return AppendEvent(events, event);
}
