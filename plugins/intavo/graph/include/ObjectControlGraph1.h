// One DirectShow graph for one video source, owned by an active object: every call that touches
// the graph runs on the object's own thread, reached through registered messages. The thread's
// hidden window also takes the graph's events and runs a 10-second watchdog that restarts a source
// that stopped delivering or reported an error. Only the driver-access facade drives it.
#pragma once

#include "ObjectControlGraphStillSources.h"
#include "ObjectEventDShow1.h"
#include "aObjectBaseForGlobalObject.h"
#include "need_interface.h"

#include "CTimeServer.h"
#include "ObjectWindowMessage1.h"
#include "SmartComPointer.h"

#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <cstdint>

class InfoDataBufferPath1;
class TimedSendRequest;

// Carried by the build operation; only the source description is used.
struct InfoMessageSafeCreateGraphFromFormat1 : public GeneralParentForMessageStruct
{
    InfoMessageSafeCreateGraphFromFormat1() : GeneralParentForMessageStruct("InfoMessageSafeCreateGraphFromFormat1") {}

    float m_value_float = 0.0f;
    uint32_t m_value = 0;
    const InfoNeedInterface* m_need_interface = nullptr;
};

struct InfoMessageSetFrameRateToVideoDriver : public GeneralParentForMessageStruct
{
    InfoMessageSetFrameRateToVideoDriver() : GeneralParentForMessageStruct("InfoMessageSetFrameRateToVideoDriver") {}

    float m_frame_rate = 0.0f;
};

// Internal-variable operation codes: the low 16 bits name the variable, bits 16 to 19 the direction.
enum CodeInternalVarGraph : uint32_t
{
    InternalVarCurrentPosition = 1,
    InternalVarStopPosition = 2,
    InternalVarDuration = 3,
    InternalVarRate = 4,
    InternalVarGraphClock = 5,
    InternalVarPictureInterval = 6,
    InternalVarHue = 7,
    InternalVarPropertyPages = 8,
    InternalVarDesktopMode = 9,
    InternalVarWrite = 0x10000,
    InternalVarRead = 0x20000,
};

// Frames per second as the sink takes them: within [1, 200].
float ClampFrameRateToVideoDriver(float framesPerSecond);

// The hue setting c in [-1, 1] (clamped) as an amplifier value of the range: below 0 towards the
// minimum, above 0 towards the maximum, 0 the default; truncated.
long ComputeHueFromSetting(double setting, long minimum, long maximum, long byDefault);

class ObjectControlGraph1 : public aObjectBaseForGlobalObject
{
public:
    static constexpr uint32_t kNumberOperations = 8;
    static constexpr UINT kGraphNotifyMessage = WM_APP + 16;
    static constexpr UINT_PTR kWatchdogTimerId = 8000;
    static constexpr UINT kWatchdogPeriodMs = 10000;
    static constexpr int64_t kNoFrameRestartMs = 9999;
    static constexpr uint64_t kRestartIntervalMs = 59999;
    // A frame fetch waits for the graph thread this long at most, so that one stuck graph never
    // holds up the data path's tick.
    static constexpr int32_t kFrameFetchTimeoutMs = 40;
    static constexpr int32_t kStateChangeAttempts = 50;
    static constexpr DWORD kGetStateWaitMs = 100;

    static const char* const kWindowClassName;
    static const char* const kOperationNames[kNumberOperations];

    explicit ObjectControlGraph1(void* moduleInstance);
    ~ObjectControlGraph1() override;

    // Public operations, callable from any thread; each runs on the graph thread.
    HRESULT SafeRemoveAndDeleteAllFiltersFromGraph();
    HRESULT SafeCreateGraphFromFormat1(float valueFloat, uint32_t value, const InfoNeedInterface* needInterface);
    // The newest frame of the source into the buffer, which is emptied first. 1 (empty buffer)
    // when stopped or when the graph thread does not take the request within a few ticks.
    HRESULT SafeGetBuffer(InfoDataBufferPath1* frame);
    HRESULT SafeSetCPUUsing(int32_t value);
    HRESULT SafeUpdateExtInfoForReciver(int32_t index, LONG_PTR value);
    HRESULT ApplayPropertyToVideoDriver(const InfoNeedInterface* needInterface);
    // Clamped to [1, 200] before it is sent.
    HRESULT SafeSetFrameRateToVideoDriver(float framesPerSecond);
    HRESULT SafeUpdateInternalVar(uint32_t code, ExtStateVideoDriver* state);

    // The registered identifier of an operation of this class, 0 for a code outside the table.
    UINT GetGraphOperationMessage(uint32_t code) const;
    // Whether the driver's property pages are open now; while they are, nothing rebuilds the graph.
    bool IsPropertyPagesOpen() const { return m_property_pages_open; }
    // Test seam: marks the property pages open or closed without showing them.
    void MarkPropertyPagesOpenForTest(bool open) { m_property_pages_open = open; }

protected:
    HRESULT InitThreadProc() override;
    HRESULT RealRun() override;
    HRESULT RealStop() override;
    HRESULT RealPause() override { return S_OK; }
    HRESULT RealDestroyDependThreadObject() override;
    HRESULT CatchRegisteredMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    virtual HRESULT WindowProcObject_WM_DESTROY();
    virtual HRESULT WindowProcObject_WM_TIMER(WPARAM timerId);
    // Capture-format negotiation on one pin of a capture device.
    virtual HRESULT SetFormatToPin(IPin* pin, const InfoNeedInterface& needInterface);

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT CreateGraphInterfaces();
    void TakeGraphEvents();
    HRESULT RunGraphOperation(uint32_t code, TimedSendRequest*& request);
    // The graph state by DirectShow, reached within the bounded number of attempts.
    HRESULT ChangeGraphState(OAFilterState goal, uint32_t seekCode, const char* failureText);
    HRESULT RestartGraph();
    bool IsSinkStarved();
    // The first filter of the graph with the sink interface, queried for it.
    template <class Interface>
    HRESULT GetFirstSinkInterface(const IID& iid, SmartComPointer<Interface>& sink);

    // Handlers of the eight operations, on the graph thread.
    HRESULT RemoveAndDeleteAllFiltersFromGraph();
    HRESULT CreateGraphFromFormat1Real(const InfoNeedInterface* needInterface);
    HRESULT GetBufferReal(InfoDataBufferPath1* frame);
    HRESULT SetCPUUsingReal(int32_t value);
    HRESULT UpdateExtInfoForReciverReal(int32_t index, LONG_PTR value);
    HRESULT ApplayPropertyToVideoDriverReal(const InfoNeedInterface* needInterface);
    HRESULT SetFrameRateToVideoDriverReal(const InfoMessageSetFrameRateToVideoDriver* record);
    HRESULT UpdateInternalVarReal(uint32_t code, ExtStateVideoDriver* state, TimedSendRequest** request);

    // Graph building and its parts.
    HRESULT TakeSourceDescription(const InfoNeedInterface& needInterface);
    HRESULT AddSourceFilter(SmartComPointer<IBaseFilter>& source);
    HRESULT AddAndConnectSink(IBaseFilter* source);
    HRESULT ApplyCapturePropertiesToFilter(IBaseFilter* filter, const InfoNeedInterface& needInterface);
    void ApplyTvStandard(IBaseFilter* filter, const InfoNeedInterface& needInterface);
    HRESULT ResetVideoProcAmp(IBaseFilter* filter);
    void SetFormatToFirstCapturePin(IBaseFilter* filter, const InfoNeedInterface& needInterface);
    bool IsGraphRebuildRefused(const char* operation) const;

    // Internal variables.
    HRESULT UpdatePositionVar(uint32_t variable, bool write, ExtStateVideoDriver& state);
    HRESULT UpdateRateVar(bool write, ExtStateVideoDriver& state);
    HRESULT UpdateGraphClockVar(ExtStateVideoDriver& state);
    HRESULT UpdateHueVar(bool write, ExtStateVideoDriver& state);
    HRESULT ShowPropertyPages(TimedSendRequest** request);

    // The sources that fill frames themselves (picture files, the desktop): their graphs hold no
    // filter.
    HRESULT RebuildPictureList();
    HRESULT FillBufferForPicterFileDriver(InfoDataBufferPath1& frame);
    HRESULT FillBufferForDesktopDriver(InfoDataBufferPath1& frame);

    SmartComPointer<IGraphBuilder> m_graph;
    SmartComPointer<IMediaControl> m_media_control;
    SmartComPointer<IMediaSeeking> m_media_seeking;
    SmartComPointer<IMediaEventEx> m_media_event;
    SmartComPointer<IMediaFilter> m_media_filter;
    // The sink's sample exchange, looked up on the first frame request after the graph was built
    // (a lookup walks every filter of the graph: too slow for every frame).
    SmartComPointer<IUnknown> m_sink_exchange;
    ObjectEventDShow1 m_event_text;
    ObjectWindowMessage1 m_messages_graph;
    UINT_PTR m_timer_id = 0;
    UINT m_graph_notify_message = 0;
    StaticString<256> m_last_event_text;
    uint8_t m_restart_requested = 0;
    uint64_t m_time_last_restart = 0;
    CTimeServer m_time_server;
    bool m_busy = false;
    InfoNeedInterface m_need_interface;
    ExtStateVideoDriver m_internal_var;
    PictureFileSource m_picture_source{m_time_server};
    DesktopSource m_desktop_source;
    // The remembered "property pages open" variable; read by the facade from its own thread.
    std::atomic<bool> m_property_pages_open{false};
};
