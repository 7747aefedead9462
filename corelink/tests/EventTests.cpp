#include "CorelinkTestSupport.h"
#include "CrossModuleHelper.h"

#include "Class_InfoCountore.h"
#include "LogCapture.h"
#include "MessageForObjectsDataPath1.h"

#include <memory>

namespace {

struct EventDeleter
{
    void operator()(InfoEventDataFrame1* event) const { delete event; }
};
using EventPointer = std::unique_ptr<InfoEventDataFrame1, EventDeleter>;

template <class Event>
const Event& As(const EventPointer& event)
{
    return *static_cast<const Event*>(event->GetPointerToDerivedClass());
}

// The payload that the helper module wrote arrived in the clone.
void ExpectPayload(const EventPointer& clone)
{
    switch (clone->GetTypeEvent()) {
    case ted1VideoDetectEvent:
        EXPECT_EQ(As<InfoEventDataFrame_ted1VideoDetectEvent>(clone).m_level, 3);
        EXPECT_EQ(As<InfoEventDataFrame_ted1VideoDetectEvent>(clone).m_area_sum, 0.25f);
        EXPECT_EQ(As<InfoEventDataFrame_ted1VideoDetectEvent>(clone).m_values2[3], 25.0f);
        break;
    case ted1UserWindowInputEvent:
        EXPECT_EQ(As<InfoEventDataFrame_ted1UserWindowInputEvent>(clone).m_message, static_cast<UINT>(WM_LBUTTONDOWN));
        EXPECT_EQ(As<InfoEventDataFrame_ted1UserWindowInputEvent>(clone).m_lparam, 0x00100020);
        break;
    case ted1AverageVideoLevel:
    case ted1FirstAverageVideoLevel:
        EXPECT_EQ(As<InfoEventDataFrame_ted1AverageVideoLevel>(clone).m_level1, 0.75f);
        EXPECT_EQ(As<InfoEventDataFrame_ted1AverageVideoLevel>(clone).m_level2, 0.5f);
        break;
    case ted1InternalVideoConture: {
        const auto& event = As<InfoEventDataFrame_ted1InternalVideoConture>(clone);
        EXPECT_EQ(event.m_count_contours, 3);
        ASSERT_EQ(event.m_contours.GetCount(), 3u);
        EXPECT_EQ(event.m_contours.GetElement(2).m_points.GetElement(4).m_x, 24.0f);
        break;
    }
    case ted1GistogramFullFrame:
        EXPECT_EQ(As<InfoEventDataFrame_ted1GistogramFullFrame>(clone).m_histogram.GetCount(), 256u);
        EXPECT_EQ(As<InfoEventDataFrame_ted1GistogramFullFrame>(clone).m_histogram.GetElement(255), 0.125f);
        EXPECT_EQ(As<InfoEventDataFrame_ted1GistogramFullFrame>(clone).m_height, 240);
        break;
    case ted1ChangeWidthToHeightFrame:
        EXPECT_EQ(As<InfoEventDataFrame_ted1ChangeWidthToHeightFrame>(clone).m_ratio, 1.5f);
        break;
    case ted1ChangeStateExternalVideoDriverPlexemo:
        EXPECT_EQ(As<InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo>(clone).m_state, 1);
        break;
    case ted1ChangeStaticInfoAboutProcess: {
        const auto& event = As<InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess>(clone);
        EXPECT_TRUE(event.m_text_id == "TextIDFilter::Tonalis1");
        EXPECT_EQ(event.m_count_frames, 100u);
        EXPECT_EQ(event.m_period_report, 100);
        EXPECT_EQ(event.m_time_low, 12345u);
        break;
    }
    default:
        break;
    }
}

} // namespace

TEST(Events, FreshBaseIsReset)
{
    InfoEventDataFrame1 event;
    EXPECT_EQ(event.GetTypeEvent(), ted1None);
    EXPECT_EQ(event.m_id_camera, -1);
    EXPECT_EQ(event.m_number_frame, -1);
    EXPECT_EQ(event.m_filter, nullptr);
    LogCapture log;
    EXPECT_EQ(event.GetPointerToDerivedClass(), &event);
    EXPECT_FALSE(log.Lines().empty()) << "a base without a type is logged";
}

// Every event made in the helper module is cloned here and each side deletes its own.
TEST(Events, EveryTypeIsClonedAcrossModules)
{
    const int types[] = {1, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13};
    for (const int type : types) {
        SCOPED_TRACE(type);
        InfoEventDataFrame1* original = CrossModuleCreateEvent(type);
        ASSERT_NE(original, nullptr);
        EventPointer clone(InfoEventDataFrame1::CheckAndCreateNewObjectFromCurrent(original));
        CrossModuleDeleteEvent(original);

        ASSERT_NE(clone, nullptr);
        EXPECT_EQ(clone->GetTypeEvent(), type);
        EXPECT_EQ(clone->m_id_camera, 7);
        EXPECT_EQ(clone->m_number_frame, 42);
        const bool payloadOnly = type == 11 || type == 12;
        EXPECT_EQ(clone->m_filter != nullptr, !payloadOnly);
        EXPECT_EQ(clone->m_controller != nullptr, !payloadOnly);
        ExpectPayload(clone);
    }
}

// The application dispatches ratio and driver-state events by camera, so their clones keep the
// camera and frame of the original; filter and controller stay empty.
TEST(Events, RatioAndDriverStateClonesKeepTheirCamera)
{
    for (const int type : {11, 12}) {
        InfoEventDataFrame1* original = CrossModuleCreateEvent(type);
        original->m_id_camera = 3;
        original->m_number_frame = 77;
        EventPointer clone(InfoEventDataFrame1::CheckAndCreateNewObjectFromCurrent(original));
        CrossModuleDeleteEvent(original);
        EXPECT_EQ(clone->m_id_camera, 3) << type;
        EXPECT_EQ(clone->m_number_frame, 77) << type;
        EXPECT_EQ(clone->m_filter, nullptr) << type;
        EXPECT_EQ(clone->m_controller, nullptr) << type;
    }
}

TEST(Events, UnknownTypesAreNotCloned)
{
    InfoEventDataFrame1 base;
    for (const int type : {0, 2, 7, 14}) {
        base.m_type = static_cast<TypeEventDataFrame1>(type);
        EXPECT_EQ(ThrownInteger([&] { delete InfoEventDataFrame1::CheckAndCreateNewObjectFromCurrent(&base); }), 1)
            << type;
    }
    EXPECT_EQ(ThrownInteger([] { InfoEventDataFrame1::CheckAndCreateNewObjectFromCurrent(nullptr); }), 1);
}

TEST(Events, SelfAssignmentIsRefused)
{
    InfoEventDataFrame_ted1InternalVideoConture contours;
    EXPECT_EQ(ThrownInteger([&] { contours = contours; }), 241);
    InfoEventDataFrame_ted1ChangeWidthToHeightFrame ratio;
    EXPECT_EQ(ThrownInteger([&] { ratio = ratio; }), 241);
}

TEST(Events, ContourCloneIsIndependentOfTheSource)
{
    InfoEventDataFrame1* original = CrossModuleCreateEvent(ted1InternalVideoConture);
    EventPointer clone(InfoEventDataFrame1::CheckAndCreateNewObjectFromCurrent(original));
    auto* source = static_cast<InfoEventDataFrame_ted1InternalVideoConture*>(original);
    source->m_contours.GetElement(0).m_points.SetSize(1);
    source->m_contours.GetElement(1).m_points.GetElement(0).m_x = -1.0f;
    CrossModuleDeleteEvent(original);

    const auto& copy = As<InfoEventDataFrame_ted1InternalVideoConture>(clone);
    for (uint32_t c = 0; c < 3; ++c) {
        ASSERT_EQ(copy.m_contours.GetElement(c).m_points.GetCount(), 5u);
        for (uint32_t p = 0; p < 5; ++p)
            EXPECT_EQ(copy.m_contours.GetElement(c).m_points.GetElement(p).m_x, static_cast<float>(c * 10 + p));
    }
    EXPECT_EQ(copy.m_contours.GetElement(1).m_area, 0.2f);
    EXPECT_EQ(copy.m_contours.GetElement(2).m_flags[2], 3);
}

TEST(Contour, CopyOwnsItsOutlineAndResetEmptiesIt)
{
    Class_InfoCountore contour;
    contour.m_area = 0.5f;
    contour.m_center_x = 0.25f;
    contour.m_flags[1] = 1;
    contour.m_points.SetSize(100);
    contour.m_points.GetElement(99).m_y = 0.75f;

    Class_InfoCountore copy;
    copy = contour;
    contour.m_points.GetElement(99).m_y = 0.0f;
    contour.m_points.SetSize(2);
    EXPECT_EQ(copy.m_points.GetCount(), 100u);
    EXPECT_EQ(copy.m_points.GetElement(99).m_y, 0.75f);
    EXPECT_EQ(copy.m_center_x, 0.25f);

    copy = copy;
    EXPECT_EQ(copy.m_points.GetCount(), 100u);
    ASSERT_EQ(copy.ResetStruct(), S_OK);
    EXPECT_EQ(copy.m_points.GetCount(), 0u);
    EXPECT_EQ(copy.m_area, 0.0f);
    EXPECT_EQ(copy.m_center_x, 0.0f);
    EXPECT_EQ(copy.m_flags[1], 0);
}
