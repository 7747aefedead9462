// The source plug-in: the first filter of a path. Each instance owns one driver-access facade (and
// with it one DirectShow graph on its own thread); on every tick the data path asks it for the
// newest frame of its source, which it takes over from the sink filter by exchange and converts
// into the data path's frame as YUY2 (Y8 stays Y8). All calls arrive on the owning controller's
// worker thread; the state has no lock.
#pragma once

#include "BaseClassObjectDataPath1.h"
#include "IntavoConversions.h"
#include "interface_optim.h"

#include "ClassDirectAcessToDriver.h"
#include "need_interface.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "CTimeServer.h"
#include "MemoryBlockClass.h"
#include "ObjectControlFrameRate.h"
#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>
#include <memory>

struct InfoFilterIntavo1 : InfoFilterStateDataPath1
{
    static constexpr uint32_t kNumberOptions = 16;
    static constexpr int32_t kOptionSuspend = 0;
    static constexpr int32_t kOptionSelfCheck = 1;

    InfoFilterIntavo1();
    // The graph and its thread end before the rest of the state goes.
    ~InfoFilterIntavo1();

    HRESULT DeleteDriver();

    std::unique_ptr<ClassDirectAcessToDriver> m_driver;
    InfoNeedInterface m_need_interface;
    ObjectOptimProcessorDataPath1 m_optim;
    CTimeServer m_time;
    // Milliseconds of m_time when the current run of empty fetches began; 0 = none open.
    int64_t m_empty_run_start = 0;
    ObjectControlFrameRate m_rate_gate;
    StaticBoundsObject<int32_t, kNumberOptions> m_options;
    // The sample last taken over from the sink filter.
    InfoDataBufferPath1 m_own_frame;
    ConversionRoutinesIntavo1 m_routines;
    // The conversion's scratch rows; they only grow, so a steady stream allocates nothing.
    MemoryBlockClass<BYTE> m_scratch;
};

class Intavo1 : public FilterObjectFrameDataPath1<Intavo1, InfoFilterIntavo1>
{
public:
    static constexpr uint32_t kSupportedModes = 15;
    static constexpr float kVersion = 1.51f;
    static constexpr const char* kModuleName = "Intavo1.vdd";
    // Empty fetches for longer than this make one lost-signal frame.
    static constexpr int64_t kLostSignalMs = 4000;
    static constexpr uint32_t kStateLostSignal = 0x102;
    // A frame buffer smaller than this is laid out anew before a fetch.
    static constexpr int32_t kMinFetchCapacity = 0x4000;
    static constexpr float kMinSourceRate = 1.0f;
    static constexpr float kMaxSourceRate = 1000.0f;

    Intavo1();

    // A record already in use is left as it is (answer 0).
    HRESULT InitInfoFilterImpl(InfoFilterObjectDataPath1* instance, int32_t mode) override;
    HRESULT FreeInfoFilterImpl(InfoFilterObjectDataPath1* instance) override;
    // Frames come through the source interface: nothing to do here.
    HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                uint32_t outputSize, InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events,
                                int32_t inputIndex) override;
    HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                  InfoFilterObjectDataPath1* instance) override;

    HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size);
    bool IsInterfaceImplemented(const GUID& iid) const;

    // Source interface.
    HRESULT GetFrame(InfoFilterIntavo1* state, int32_t waitLimit, InfoDataBufferPath1* frame);
    HRESULT SetSourceOption(InfoFilterIntavo1& state, int32_t index, int32_t value);
    HRESULT UpdateGraphInternalVar(InfoFilterIntavo1& state, uint32_t code, ExtStateVideoDriver* data);
    // Driver interface.
    HRESULT SetCaptureFormat(InfoFilterIntavo1& state, const InfoNeedInterface* record);
    HRESULT UpdateReceiverInfo(InfoFilterIntavo1& state, int32_t key, int32_t value);
    HRESULT GetCaptureFormat(InfoFilterIntavo1& state, InfoNeedInterface* record, int32_t size);
    HRESULT SetSourceFrameRate(InfoFilterIntavo1& state, float framesPerSecond);
    // Processor optimisation.
    HRESULT SetCPUMode(InfoFilterIntavo1& state, uint32_t mode);

private:
    HRESULT DispatchSource(InfoFilterIntavo1& state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchDriver(InfoFilterIntavo1& state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchOptim(InfoFilterIntavo1& state, int32_t indexMethod, ListParamsDataPath1& params);
};

// The processor mode goes to the graph (its sink converts with it), then the state's table is
// filled for it; the graph's answer (0 without a graph).
HRESULT SelectConversionRoutinesForState(InfoFilterIntavo1& state);

// The fetch once a frame came: a packed sample moves into the own frame buffer by exchange and is
// converted into the frame buffer; a planar one is converted to YUY2 in the own frame buffer,
// whose block then moves into the frame buffer by exchange. The frame buffer then carries the
// camera id as its frame number. A failed conversion leaves a NULL frame.
void ConvertDeliveredFrame(InfoFilterIntavo1& state, InfoDataBufferPath1& frame);
// The fetch when none came: opens a run of empty fetches, or, once the run is older than the
// lost-signal time, marks the frame buffer as lost signal and closes the run.
void NoteEmptyFetch(InfoFilterIntavo1& state, InfoDataBufferPath1& frame);
