#define CROSS_MODULE_BUILD
#include "CrossModuleHelper.h"

namespace {

BaseClassObjectDataPath1* const kFilter = reinterpret_cast<BaseClassObjectDataPath1*>(0x1000);
ObjectControlDataPath1* const kController = reinterpret_cast<ObjectControlDataPath1*>(0x2000);

void FillContours(InfoEventDataFrame_ted1InternalVideoConture& event)
{
    event.m_contours.SetSize(3);
    event.m_count_contours = 3;
    for (uint32_t c = 0; c < 3; ++c) {
        Class_InfoCountore& contour = event.m_contours.GetElement(c);
        contour.m_area = 0.1f * (c + 1);
        contour.m_flags[2] = static_cast<uint8_t>(c + 1);
        contour.m_points.SetSize(5);
        for (uint32_t p = 0; p < 5; ++p) {
            contour.m_points.GetElement(p).m_x = static_cast<float>(c * 10 + p);
            contour.m_points.GetElement(p).m_y = 0.5f;
        }
    }
}

InfoEventDataFrame1* CreateWithPayload(int type)
{
    switch (type) {
    case ted1VideoDetectEvent: {
        auto* event = new InfoEventDataFrame_ted1VideoDetectEvent;
        event->m_level = 3;
        event->m_area_sum = 0.25f;
        event->m_values2[3] = 25.0f;
        return event;
    }
    case ted1UserWindowInputEvent: {
        auto* event = new InfoEventDataFrame_ted1UserWindowInputEvent;
        event->m_message = WM_LBUTTONDOWN;
        event->m_lparam = 0x00100020;
        return event;
    }
    case ted1AverageVideoLevel:
    case ted1FirstAverageVideoLevel: {
        InfoEventDataFrame_ted1AverageVideoLevel* event = type == ted1AverageVideoLevel
                                                              ? new InfoEventDataFrame_ted1AverageVideoLevel
                                                              : new InfoEventDataFrame_ted1FirstAverageVideoLevel;
        event->m_level1 = 0.75f;
        event->m_level2 = 0.5f;
        return event;
    }
    case ted1InternalVideoDetectEvent: return new InfoEventDataFrame_ted1InternalVideoDetectEvent;
    case ted1InternalVideoConture: {
        auto* event = new InfoEventDataFrame_ted1InternalVideoConture;
        FillContours(*event);
        return event;
    }
    case ted1EditVideoContour: return new InfoEventDataFrame_ted1EditVideoContour;
    case ted1GistogramFullFrame: {
        auto* event = new InfoEventDataFrame_ted1GistogramFullFrame;
        event->m_histogram.SetSize(256);
        event->m_histogram.GetElement(255) = 0.125f;
        event->m_width = 320;
        event->m_height = 240;
        return event;
    }
    case ted1ChangeWidthToHeightFrame: {
        auto* event = new InfoEventDataFrame_ted1ChangeWidthToHeightFrame;
        event->m_ratio = 1.5f;
        return event;
    }
    case ted1ChangeStateExternalVideoDriverPlexemo: {
        auto* event = new InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo;
        event->m_state = 1;
        return event;
    }
    case ted1ChangeStaticInfoAboutProcess: {
        auto* event = new InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess;
        event->m_text_id = "TextIDFilter::Tonalis1";
        event->m_count_frames = 100;
        event->m_period_report = 100;
        event->m_time_low = 12345;
        return event;
    }
    default: return nullptr;
    }
}

} // namespace

InfoDataBufferPath1* CrossModuleCreateFrame(unsigned width, unsigned height)
{
    auto* frame = new InfoDataBufferPath1(false);
    frame->UpdateSizeBuffer(width, height);
    for (int32_t i = 0; i < frame->m_capacity; ++i)
        frame->m_data[i] = static_cast<BYTE>(i);
    frame->m_number_frame = 5;
    return frame;
}

void CrossModuleDeleteFrame(InfoDataBufferPath1* frame)
{
    delete frame;
}

HANDLE CrossModuleFrameHeap()
{
    return InfoDataBufferPath1::m_heap;
}

InfoEventDataFrame1* CrossModuleCreateEvent(int type)
{
    InfoEventDataFrame1* event = CreateWithPayload(type);
    if (event != nullptr) {
        event->InitStruct(kFilter, kController, 7);
        event->m_number_frame = 42;
    }
    return event;
}

void CrossModuleDeleteEvent(InfoEventDataFrame1* event)
{
    delete event;
}
