// The camera filter: per frame it chooses which of its three outputs the frame goes to (recording
// paced by the weekly schedule, a rate and the motion window; a second paced output with a
// keep-alive; the live view through a frame-rate limiter), keeps the last frame for grabbing and
// can grey, replace or scramble the picture. All calls arrive on the owning controller's worker
// thread; the state has no lock.
#pragma once

#include "BaseClassObjectDataPath1.h"
#include "CamwellFrameFunctions.h"
#include "interface_optim.h"

#include "MessageForObjectsDataPath1.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "CTimeServer.h"
#include "ObjectControlFrameRate.h"

#include <cstdint>

// The settings of one rate row.
struct InfoRateRowCamwell1
{
    static constexpr int32_t kCountBlocks = 4;
    static constexpr int32_t kBlockSize = 24;
    static constexpr int32_t kCountRates = 5;
    static constexpr int32_t kRateOutput0 = 0;
    static constexpr int32_t kRateOutput0Motion = 1;
    static constexpr int32_t kRateOutput1 = 2;
    static constexpr int32_t kRateView = 4;

    uint8_t m_blocks[kCountBlocks][kBlockSize] = {}; // stored for the application
    float m_rates[kCountRates] = {1.0f, 1.0f, 1.0f, 1.0f, 0.0f}; // frames per second
    uint8_t m_bytes[3] = {1, 0, 0}; // the second: output 1 enabled for the row
    float m_stored = 5.0f;
    float m_motion_timeout = 5.0f; // seconds

    bool IsOutput1Enabled() const { return m_bytes[1] != 0; }
};

struct InfoCamwell1State : InfoFilterStateDataPath1
{
    InfoCamwell1State();

    static constexpr int32_t kCountRows = 3;

    InfoDataBufferPath1 m_last_frame;
    int32_t m_hour_index = 0;
    int32_t m_row = 0;
    ObjectOptimProcessorDataPath1 m_optim;
    DynamicString m_camera_text;
    int32_t m_camera_id = 0;
    int32_t m_camera_word2 = 0;
    // Carried in the internal detection event; the application hands over its controller.
    ObjectControlDataPath1* m_event_control = nullptr;
    int64_t m_last_output0 = 0; // milliseconds of m_time
    int64_t m_last_output1 = 0;
    double m_carry_output0 = 0.0; // seconds
    double m_carry_output1 = 0.0;
    bool m_paused = false;
    int64_t m_last_detection = 0;
    uint8_t m_coder_key = 1;
    bool m_coder_on = false;
    bool m_camera_flag = false;
    bool m_grabber_on = false;
    bool m_continuous_copy = false;
    bool m_grey_picture = false;
    DynamicString m_grab_file;
    bool m_grab_request = false;
    bool m_special_request = true;
    int64_t m_keep_alive = 0;
    uint8_t m_schedule[kCountScheduleHours];
    StaticBoundsObject<InfoRateRowCamwell1, kCountRows> m_rows;
    CTimeServer m_time;
    ObjectControlFrameRate m_view_limiter;

    int64_t Now() { return static_cast<int64_t>(m_time.GetTime()); }
    InfoRateRowCamwell1& Row() { return m_rows.GetElement(m_row); }
    uint8_t Mode() const { return DecodeScheduleByte(m_schedule[m_hour_index]).m_mode; }
    // Seconds since the last motion notice; a clock that went back counts as the given value.
    double SecondsSinceDetection(double whenNegative);
};

class Camwell1 : public FilterObjectFrameDataPath1<Camwell1, InfoCamwell1State>
{
public:
    static constexpr uint32_t kSupportedModes = 15;
    static constexpr int32_t kCountOutputs = 3;

    Camwell1();

    // A record that already holds a state keeps it.
    HRESULT InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode) override;
    HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                uint32_t outputSize, InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events,
                                int32_t inputIndex) override;
    HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                  InfoFilterObjectDataPath1* instance) override;

    HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size);
    bool IsInterfaceImplemented(const GUID& iid) const;

    // Rate control.
    HRESULT SetPaused(InfoCamwell1State& state, bool paused);
    HRESULT NoticeMotion(InfoCamwell1State& state);
    HRESULT GetMotionWindowOpen(InfoCamwell1State& state, bool* open);
    HRESULT SetRateRow(InfoCamwell1State& state, uint32_t row, const BYTE* blocks, const float* rates,
                       const uint8_t bytes[3]);
    // Camera.
    HRESULT SetCameraText(InfoCamwell1State& state, const char* text, uint32_t flag);
    HRESULT GetCameraText(InfoCamwell1State& state, char* buffer, uint32_t size, uint32_t* needed);
    HRESULT SetCameraId(InfoCamwell1State& state, int32_t id, int32_t word2);
    HRESULT GetCameraId(InfoCamwell1State& state, int32_t* id);
    HRESULT SetSchedule(InfoCamwell1State& state, const BYTE* schedule, uint32_t size);
    // Grabber.
    HRESULT HandOutLastFrame(InfoCamwell1State& state, BYTE* buffer, uint32_t* size);
    HRESULT WriteLastFrameToFile(InfoCamwell1State& state, const char* fileName, const char* caption);
    HRESULT GetHandOutSize(InfoCamwell1State& state, uint32_t* size);

private:
    HRESULT DispatchRateControl(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchCamera(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchCoder(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchGrabber(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params);

    // Steps of the transform.
    HRESULT NoticeMotionFromEvents(InfoCamwell1State& state, ListEventsDataPath1* events);
    void SelectPacedOutputs(InfoCamwell1State& state, int64_t now, ListEventsDataPath1* events,
                            bool flags[kCountOutputs]);
    HRESULT RaiseInternalDetection(InfoCamwell1State& state, ListEventsDataPath1* events);
    HRESULT KeepVideoFrame(InfoCamwell1State& state, InfoDataBufferPath1& frame);
};

// Whether the frame's data lie inside its block.
inline bool HoldsFrameData(const InfoDataBufferPath1& frame)
{
    return frame.m_data != nullptr && frame.m_offset_data >= 0 && frame.m_size_data > 0 &&
           static_cast<int64_t>(frame.m_offset_data) + frame.m_size_data <= frame.m_capacity;
}

// The caption of a frame file: the time as text, " Camera : " and the camera id.
DynamicString MakeCaptionCamwell1(const SYSTEMTIME& time, int32_t cameraId);
// The frame's data written as a captioned BMP file; no file when the frame cannot be converted.
HRESULT WriteFrameToBMPFile(const InfoDataBufferPath1& frame, const char* fileName, const char* caption);
