// The event family: construction, copies and the clone that the data-path controller makes.
#include "MessageForObjectsDataPath1.h"

#include "CatchAllLog.h"

#include <cstring>
#include <memory>

namespace {

const int kRefused = 241;

template <class Event>
void RefuseSelfAssignment(const Event* self, const Event& other)
{
    if (&other == self)
        throw kRefused;
}

bool IsKnownType(int32_t type)
{
    return type == 1 || (type >= 3 && type <= 6) || (type >= 8 && type <= 13);
}

template <class Event>
InfoEventDataFrame1* CloneAs(const InfoEventDataFrame1& event)
{
    std::unique_ptr<Event> clone(new Event);
    *clone = static_cast<const Event&>(event);
    return clone.release();
}

} // namespace

// ---- Base -----------------------------------------------------------------------------------

InfoEventDataFrame1::InfoEventDataFrame1()
{
    ResetStruct();
}

InfoEventDataFrame1::~InfoEventDataFrame1() = default;

HRESULT InfoEventDataFrame1::ResetStruct()
{
    m_type = ted1None;
    m_filter = nullptr;
    m_controller = nullptr;
    m_id_camera = -1;
    m_number_frame = -1;
    return S_OK;
}

HRESULT InfoEventDataFrame1::InitStruct(BaseClassObjectDataPath1* filter, ObjectControlDataPath1* controller,
                                        int32_t idCamera)
{
    m_filter = filter;
    m_controller = controller;
    m_id_camera = idCamera;
    return S_OK;
}

InfoEventDataFrame1* InfoEventDataFrame1::GetPointerToDerivedClass()
{
    try {
        if (!IsKnownType(m_type))
            throw kRefused;
    }
    CATCH_ALL_LOG()
    return this;
}

void InfoEventDataFrame1::CopyBaseFrom(const InfoEventDataFrame1& other)
{
    m_filter = other.m_filter;
    m_controller = other.m_controller;
    m_id_camera = other.m_id_camera;
    m_number_frame = other.m_number_frame;
}

InfoEventDataFrame1* InfoEventDataFrame1::CheckAndCreateNewObjectFromCurrent(const InfoEventDataFrame1* event)
{
    if (event == nullptr)
        throw 1;
    InfoEventDataFrame1* clone = nullptr;
    switch (event->m_type) {
    case ted1VideoDetectEvent: clone = CloneAs<InfoEventDataFrame_ted1VideoDetectEvent>(*event); break;
    case ted1UserWindowInputEvent: clone = CloneAs<InfoEventDataFrame_ted1UserWindowInputEvent>(*event); break;
    case ted1AverageVideoLevel: clone = CloneAs<InfoEventDataFrame_ted1AverageVideoLevel>(*event); break;
    case ted1FirstAverageVideoLevel: clone = CloneAs<InfoEventDataFrame_ted1FirstAverageVideoLevel>(*event); break;
    case ted1InternalVideoDetectEvent: clone = CloneAs<InfoEventDataFrame_ted1InternalVideoDetectEvent>(*event); break;
    case ted1InternalVideoConture: clone = CloneAs<InfoEventDataFrame_ted1InternalVideoConture>(*event); break;
    case ted1EditVideoContour: clone = CloneAs<InfoEventDataFrame_ted1EditVideoContour>(*event); break;
    case ted1GistogramFullFrame: clone = CloneAs<InfoEventDataFrame_ted1GistogramFullFrame>(*event); break;
    case ted1ChangeWidthToHeightFrame:
        clone = CloneAs<InfoEventDataFrame_ted1ChangeWidthToHeightFrame>(*event);
        break;
    case ted1ChangeStateExternalVideoDriverPlexemo:
        clone = CloneAs<InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo>(*event);
        break;
    case ted1ChangeStaticInfoAboutProcess:
        clone = CloneAs<InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess>(*event);
        break;
    default:
        throw 1;
    }
    if (event->m_type == ted1ChangeWidthToHeightFrame || event->m_type == ted1ChangeStateExternalVideoDriverPlexemo) {
        // The application dispatches these by camera: the clone keeps where it came from.
        clone->m_id_camera = event->m_id_camera;
        clone->m_number_frame = event->m_number_frame;
    }
    return clone;
}

// ---- Type 1: video detection ----------------------------------------------------------------

InfoEventDataFrame_ted1VideoDetectEvent::InfoEventDataFrame_ted1VideoDetectEvent()
    : m_level(0), m_reserved(0), m_area_max(0.0f), m_area_sum(0.0f), m_values1{}, m_zone{}, m_values2{}
{
    m_type = ted1VideoDetectEvent;
}

InfoEventDataFrame_ted1VideoDetectEvent::~InfoEventDataFrame_ted1VideoDetectEvent() = default;

InfoEventDataFrame_ted1VideoDetectEvent& InfoEventDataFrame_ted1VideoDetectEvent::operator=(
    const InfoEventDataFrame_ted1VideoDetectEvent& other)
{
    RefuseSelfAssignment(this, other);
    m_level = other.m_level;
    m_reserved = other.m_reserved;
    m_area_max = other.m_area_max;
    m_area_sum = other.m_area_sum;
    std::memcpy(m_values1, other.m_values1, sizeof(m_values1));
    std::memcpy(m_zone, other.m_zone, sizeof(m_zone));
    std::memcpy(m_values2, other.m_values2, sizeof(m_values2));
    CopyBaseFrom(other);
    return *this;
}

// ---- Type 3: user input in an output window -------------------------------------------------

InfoEventDataFrame_ted1UserWindowInputEvent::InfoEventDataFrame_ted1UserWindowInputEvent()
    : m_window(nullptr), m_message(0), m_wparam(0), m_lparam(0)
{
    m_type = ted1UserWindowInputEvent;
}

InfoEventDataFrame_ted1UserWindowInputEvent::~InfoEventDataFrame_ted1UserWindowInputEvent() = default;

InfoEventDataFrame_ted1UserWindowInputEvent& InfoEventDataFrame_ted1UserWindowInputEvent::operator=(
    const InfoEventDataFrame_ted1UserWindowInputEvent& other)
{
    RefuseSelfAssignment(this, other);
    m_window = other.m_window;
    m_message = other.m_message;
    m_wparam = other.m_wparam;
    m_lparam = other.m_lparam;
    CopyBaseFrom(other);
    return *this;
}

// ---- Types 4 and 5: average video level -----------------------------------------------------

InfoEventDataFrame_ted1AverageVideoLevel::InfoEventDataFrame_ted1AverageVideoLevel() : m_level1(0.0f), m_level2(0.0f)
{
    m_type = ted1AverageVideoLevel;
}

InfoEventDataFrame_ted1AverageVideoLevel::~InfoEventDataFrame_ted1AverageVideoLevel() = default;

InfoEventDataFrame_ted1AverageVideoLevel& InfoEventDataFrame_ted1AverageVideoLevel::operator=(
    const InfoEventDataFrame_ted1AverageVideoLevel& other)
{
    RefuseSelfAssignment(this, other);
    m_level1 = other.m_level1;
    m_level2 = other.m_level2;
    CopyBaseFrom(other);
    return *this;
}

InfoEventDataFrame_ted1FirstAverageVideoLevel::InfoEventDataFrame_ted1FirstAverageVideoLevel()
{
    m_type = ted1FirstAverageVideoLevel;
}

InfoEventDataFrame_ted1FirstAverageVideoLevel::~InfoEventDataFrame_ted1FirstAverageVideoLevel() = default;

InfoEventDataFrame_ted1FirstAverageVideoLevel& InfoEventDataFrame_ted1FirstAverageVideoLevel::operator=(
    const InfoEventDataFrame_ted1FirstAverageVideoLevel& other)
{
    InfoEventDataFrame_ted1AverageVideoLevel::operator=(other);
    return *this;
}

// ---- Types 6 and 9: no payload --------------------------------------------------------------

InfoEventDataFrame_ted1InternalVideoDetectEvent::InfoEventDataFrame_ted1InternalVideoDetectEvent()
{
    m_type = ted1InternalVideoDetectEvent;
}

InfoEventDataFrame_ted1InternalVideoDetectEvent::~InfoEventDataFrame_ted1InternalVideoDetectEvent() = default;

InfoEventDataFrame_ted1InternalVideoDetectEvent& InfoEventDataFrame_ted1InternalVideoDetectEvent::operator=(
    const InfoEventDataFrame_ted1InternalVideoDetectEvent& other)
{
    RefuseSelfAssignment(this, other);
    CopyBaseFrom(other);
    return *this;
}

InfoEventDataFrame_ted1EditVideoContour::InfoEventDataFrame_ted1EditVideoContour()
{
    m_type = ted1EditVideoContour;
}

InfoEventDataFrame_ted1EditVideoContour::~InfoEventDataFrame_ted1EditVideoContour() = default;

InfoEventDataFrame_ted1EditVideoContour& InfoEventDataFrame_ted1EditVideoContour::operator=(
    const InfoEventDataFrame_ted1EditVideoContour& other)
{
    RefuseSelfAssignment(this, other);
    CopyBaseFrom(other);
    return *this;
}

// ---- Type 8: contours -----------------------------------------------------------------------

InfoEventDataFrame_ted1InternalVideoConture::InfoEventDataFrame_ted1InternalVideoConture() : m_count_contours(0)
{
    m_type = ted1InternalVideoConture;
}

InfoEventDataFrame_ted1InternalVideoConture::~InfoEventDataFrame_ted1InternalVideoConture()
{
    try {
        m_contours.FreeAll();
    }
    CATCH_ALL_LOG()
}

InfoEventDataFrame_ted1InternalVideoConture& InfoEventDataFrame_ted1InternalVideoConture::operator=(
    const InfoEventDataFrame_ted1InternalVideoConture& other)
{
    RefuseSelfAssignment(this, other);
    m_contours = other.m_contours;
    m_count_contours = other.m_count_contours;
    CopyBaseFrom(other);
    return *this;
}

// ---- Type 10: histogram ---------------------------------------------------------------------

InfoEventDataFrame_ted1GistogramFullFrame::InfoEventDataFrame_ted1GistogramFullFrame() : m_width(0), m_height(0)
{
    m_type = ted1GistogramFullFrame;
}

InfoEventDataFrame_ted1GistogramFullFrame::~InfoEventDataFrame_ted1GistogramFullFrame()
{
    try {
        m_histogram.FreeAll();
    }
    CATCH_ALL_LOG()
}

InfoEventDataFrame_ted1GistogramFullFrame& InfoEventDataFrame_ted1GistogramFullFrame::operator=(
    const InfoEventDataFrame_ted1GistogramFullFrame& other)
{
    RefuseSelfAssignment(this, other);
    m_histogram = other.m_histogram;
    m_width = other.m_width;
    m_height = other.m_height;
    CopyBaseFrom(other);
    return *this;
}

// ---- Types 11 and 12: payload only ----------------------------------------------------------

InfoEventDataFrame_ted1ChangeWidthToHeightFrame::InfoEventDataFrame_ted1ChangeWidthToHeightFrame() : m_ratio(0.0f)
{
    m_type = ted1ChangeWidthToHeightFrame;
}

InfoEventDataFrame_ted1ChangeWidthToHeightFrame::~InfoEventDataFrame_ted1ChangeWidthToHeightFrame() = default;

InfoEventDataFrame_ted1ChangeWidthToHeightFrame& InfoEventDataFrame_ted1ChangeWidthToHeightFrame::operator=(
    const InfoEventDataFrame_ted1ChangeWidthToHeightFrame& other)
{
    RefuseSelfAssignment(this, other);
    m_ratio = other.m_ratio;
    return *this;
}

InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo::InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo()
    : m_state(0)
{
    m_type = ted1ChangeStateExternalVideoDriverPlexemo;
}

InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo::~InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo() =
    default;

InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo&
InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo::operator=(
    const InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo& other)
{
    RefuseSelfAssignment(this, other);
    m_state = other.m_state;
    return *this;
}

// ---- Type 13: process statistics ------------------------------------------------------------

InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess::InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess()
    : m_count_frames(0), m_time_low(0), m_time_high(0), m_period_report(-1)
{
    m_type = ted1ChangeStaticInfoAboutProcess;
}

InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess::~InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess() = default;

InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess& InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess::operator=(
    const InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess& other)
{
    RefuseSelfAssignment(this, other);
    m_text_id = other.m_text_id;
    m_count_frames = other.m_count_frames;
    m_time_low = other.m_time_low;
    m_time_high = other.m_time_high;
    m_period_report = other.m_period_report;
    CopyBaseFrom(other);
    return *this;
}
