// The events that filters raise on a frame. An event made in one module is cloned and deleted in
// another: every class is exported and deleted through the virtual destructor of the base.
#pragma once

#include "Class_InfoCountore.h"
#include "CorelinkApi.h"

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

class BaseClassObjectDataPath1;
class ObjectControlDataPath1;

enum TypeEventDataFrame1 : int32_t
{
    ted1None = 0,
    ted1VideoDetectEvent = 1,
    ted1UserWindowInputEvent = 3,
    ted1AverageVideoLevel = 4,
    ted1FirstAverageVideoLevel = 5,
    ted1InternalVideoDetectEvent = 6,
    ted1InternalVideoConture = 8,
    ted1EditVideoContour = 9,
    ted1GistogramFullFrame = 10,
    ted1ChangeWidthToHeightFrame = 11,
    ted1ChangeStateExternalVideoDriverPlexemo = 12,
    ted1ChangeStaticInfoAboutProcess = 13,
};

class CORELINK_API InfoEventDataFrame1
{
public:
    InfoEventDataFrame1();
    virtual ~InfoEventDataFrame1();

    HRESULT ResetStruct();
    HRESULT InitStruct(BaseClassObjectDataPath1* filter, ObjectControlDataPath1* controller, int32_t idCamera);
    TypeEventDataFrame1 GetTypeEvent() const { return m_type; }
    // The event's own address, to be read as the class its type names.
    InfoEventDataFrame1* GetPointerToDerivedClass();

    // A new copy of the event, owned by the caller; an unknown type throws integer 1.
    static InfoEventDataFrame1* CheckAndCreateNewObjectFromCurrent(const InfoEventDataFrame1* event);

    TypeEventDataFrame1 m_type;
    BaseClassObjectDataPath1* m_filter;
    ObjectControlDataPath1* m_controller;
    int32_t m_id_camera;
    int32_t m_number_frame;

protected:
    InfoEventDataFrame1(const InfoEventDataFrame1&) = delete;
    InfoEventDataFrame1& operator=(const InfoEventDataFrame1&) = delete;
    void CopyBaseFrom(const InfoEventDataFrame1& other);
};

class CORELINK_API InfoEventDataFrame_ted1VideoDetectEvent : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1VideoDetectEvent();
    ~InfoEventDataFrame_ted1VideoDetectEvent() override;
    InfoEventDataFrame_ted1VideoDetectEvent& operator=(const InfoEventDataFrame_ted1VideoDetectEvent& other);

    int32_t m_level;
    int32_t m_reserved;
    float m_area_max;
    float m_area_sum;
    float m_values1[4];
    float m_zone[2];
    float m_values2[4];
};

class CORELINK_API InfoEventDataFrame_ted1UserWindowInputEvent : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1UserWindowInputEvent();
    ~InfoEventDataFrame_ted1UserWindowInputEvent() override;
    InfoEventDataFrame_ted1UserWindowInputEvent& operator=(const InfoEventDataFrame_ted1UserWindowInputEvent& other);

    HWND m_window;
    UINT m_message;
    WPARAM m_wparam;
    LPARAM m_lparam;
};

class CORELINK_API InfoEventDataFrame_ted1AverageVideoLevel : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1AverageVideoLevel();
    ~InfoEventDataFrame_ted1AverageVideoLevel() override;
    InfoEventDataFrame_ted1AverageVideoLevel& operator=(const InfoEventDataFrame_ted1AverageVideoLevel& other);

    float m_level1;
    float m_level2;
};

class CORELINK_API InfoEventDataFrame_ted1FirstAverageVideoLevel : public InfoEventDataFrame_ted1AverageVideoLevel
{
public:
    InfoEventDataFrame_ted1FirstAverageVideoLevel();
    ~InfoEventDataFrame_ted1FirstAverageVideoLevel() override;
    InfoEventDataFrame_ted1FirstAverageVideoLevel& operator=(const InfoEventDataFrame_ted1FirstAverageVideoLevel& other);
};

class CORELINK_API InfoEventDataFrame_ted1InternalVideoDetectEvent : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1InternalVideoDetectEvent();
    ~InfoEventDataFrame_ted1InternalVideoDetectEvent() override;
    InfoEventDataFrame_ted1InternalVideoDetectEvent& operator=(const InfoEventDataFrame_ted1InternalVideoDetectEvent& other);
};

class CORELINK_API InfoEventDataFrame_ted1InternalVideoConture : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1InternalVideoConture();
    ~InfoEventDataFrame_ted1InternalVideoConture() override;
    InfoEventDataFrame_ted1InternalVideoConture& operator=(const InfoEventDataFrame_ted1InternalVideoConture& other);

    DynamicBoundsObject<Class_InfoCountore> m_contours;
    int32_t m_count_contours;
};

class CORELINK_API InfoEventDataFrame_ted1EditVideoContour : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1EditVideoContour();
    ~InfoEventDataFrame_ted1EditVideoContour() override;
    InfoEventDataFrame_ted1EditVideoContour& operator=(const InfoEventDataFrame_ted1EditVideoContour& other);
};

class CORELINK_API InfoEventDataFrame_ted1GistogramFullFrame : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1GistogramFullFrame();
    ~InfoEventDataFrame_ted1GistogramFullFrame() override;
    InfoEventDataFrame_ted1GistogramFullFrame& operator=(const InfoEventDataFrame_ted1GistogramFullFrame& other);

    DynamicBoundsObject<float> m_histogram;
    int32_t m_width;
    int32_t m_height;
};

class CORELINK_API InfoEventDataFrame_ted1ChangeWidthToHeightFrame : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1ChangeWidthToHeightFrame();
    ~InfoEventDataFrame_ted1ChangeWidthToHeightFrame() override;
    // Copies the ratio only.
    InfoEventDataFrame_ted1ChangeWidthToHeightFrame& operator=(const InfoEventDataFrame_ted1ChangeWidthToHeightFrame& other);

    float m_ratio;
};

class CORELINK_API InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo();
    ~InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo() override;
    // Copies the state byte only.
    InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo& operator=(
        const InfoEventDataFrame_ted1ChangeStateExternalVideoDriverPlexemo& other);

    uint8_t m_state;
};

class CORELINK_API InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess : public InfoEventDataFrame1
{
public:
    InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess();
    ~InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess() override;
    InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess& operator=(
        const InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess& other);

    StaticString<64> m_text_id;
    uint32_t m_count_frames;
    uint32_t m_time_low;
    uint32_t m_time_high;
    int32_t m_period_report;
};
