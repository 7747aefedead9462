// The motion detector "Motiscan4.vdd": compares a small scaled copy of every frame with the one
// before, finds the regions that changed more than the sensitivity of the level in force and
// reports them as events. Every frame passes on unchanged through its one output.
#pragma once

#include "BaseClassObjectDataPath1.h"
#include "interface_optim.h"
#include "interface_static_result.h"
#include "search_conture1.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"
#include "OptimFunctionUnifProcessSWORD.h"
#include "struct_format_graph1.h"

#include "CTimeServer.h"

#include <cstdint>

// The three work pictures of the detector, one block each, all of one capacity: the previous
// picture, the difference and the thresholded difference. Kept between frames; they only grow.
class MotiscanWorkBuffers
{
public:
    MotiscanWorkBuffers() = default;
    ~MotiscanWorkBuffers();
    MotiscanWorkBuffers(const MotiscanWorkBuffers&) = delete;
    MotiscanWorkBuffers& operator=(const MotiscanWorkBuffers&) = delete;

    // Grows all three to hold size bytes; true when they had to (so the previous picture is void).
    bool Reserve(uint32_t size);
    void Release();

    int16_t* Previous() const { return m_previous; }
    int16_t* Difference() const { return m_difference; }
    int16_t* Threshold() const { return m_threshold; }
    uint32_t Capacity() const { return m_capacity; }

private:
    int16_t* m_previous = nullptr;
    int16_t* m_difference = nullptr;
    int16_t* m_threshold = nullptr;
    uint32_t m_capacity = 0;
};

// The size of the picture analysed last; another size starts the comparison afresh.
struct MotiscanPictureSize
{
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;

    bool operator==(const MotiscanPictureSize&) const = default;
};

// One filter instance.
struct Motiscan4State : InfoFilterStateDataPath1
{
    static constexpr int32_t kAutomaticLevel = -1;
    static constexpr uint32_t kOptionCount = 8;

    Motiscan4State();
    ~Motiscan4State();

    bool m_full_frame = false;
    ObjectStaticResultProcessDataPath1 m_statistics;
    CTimeServer m_time_server;
    uint64_t m_count_analysed = 0;
    uint64_t m_time_stamps[1] = {};
    bool m_detection_enabled = true;
    uint8_t m_caller_flag = 0;
    ObjectOptimProcessorDataPath1 m_optim;
    StructFormatGraph1 m_settings{StructFormatGraph1::kKindCapture};
    SYSTEMTIME m_marked_time = {};
    uint8_t m_time_marked = 0;
    int32_t m_forced_level = kAutomaticLevel;
    int32_t m_caller_value = 0;
    void* m_controller = nullptr;
    MotiscanWorkBuffers m_work;
    MotiscanPictureSize m_picture_size;
    int32_t m_last_level = 0;
    int32_t m_rebuild_zone = 1;
    InfoDataBufferPath1 m_zone_plane;
    uint8_t m_options[kOptionCount] = {};
    DynamicBoundsObject<Class_InfoCountore> m_contours;
    int32_t m_count_contours = 0;
    ContourSearchWork m_search;
    OptimFunctionTableSWORD m_operations{};

    // Option 2 gives back the memory of the analysis; the next frame takes it again.
    void ReleaseAnalysisMemory();
};

class Motiscan4 : public FilterObjectFrameDataPath1<Motiscan4, Motiscan4State>
{
public:
    static constexpr uint32_t kSupportedModes = 15;

    Motiscan4();

    HRESULT TransformFilterImpl(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                uint32_t outputSize, InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events,
                                int32_t inputIndex) override;
    HRESULT DispatchInterfaceCall(GUID iid, int32_t indexMethod, ListParamsDataPath1* params,
                                  InfoFilterObjectDataPath1* instance) override;

    // The plug-in's own operations, each on the instance's state.
    virtual HRESULT GetStatistics(Motiscan4State* state, InfoStaticResultProcessDataPath1* record);
    virtual HRESULT SetDetectionEnabled(Motiscan4State* state, bool enabled);
    virtual HRESULT GetDetectionEnabled(Motiscan4State* state, InfoParamDataPath1* out);
    virtual HRESULT CheckCallerBuffer(Motiscan4State* state, const void* buffer, uint32_t size);
    virtual HRESULT LoadSettings(Motiscan4State* state, const void* settings, uint32_t size);
    virtual HRESULT SetCallerFlag(Motiscan4State* state, bool flag);
    virtual HRESULT MarkTime(Motiscan4State* state);
    virtual HRESULT SetOption(Motiscan4State* state, int32_t index, int32_t value);
    virtual HRESULT SetFullFrame(Motiscan4State* state, bool fullFrame);
    virtual HRESULT SetCallerValue(Motiscan4State* state, int32_t value);
    virtual HRESULT GetCallerValue(Motiscan4State* state, InfoParamDataPath1* out);
    virtual HRESULT SetForcedLevel(Motiscan4State* state, int32_t level);
    virtual HRESULT GetSupportedModes(Motiscan4State* state, InfoParamDataPath1* out);
    virtual HRESULT SetMode(Motiscan4State* state, uint32_t mode);
    virtual HRESULT GetMode(Motiscan4State* state, InfoParamDataPath1* out);

    // For the frame: the connection points and the interfaces the plug-in offers.
    HRESULT FillConnectionPoints(ListConnectionPointsDataPath1* points, int32_t size);
    bool IsInterfaceImplemented(const GUID& iid) const;

private:
    HRESULT DetectorFunction(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                             uint32_t outputSize, InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events);
    HRESULT AnalysePicture(Motiscan4State& state, InfoDataBufferPath1& picture, int32_t numberFrame,
                           ListEventsDataPath1* events);
    HRESULT DispatchVideoDetector(Motiscan4State* state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT DispatchOptimProcessor(Motiscan4State* state, int32_t indexMethod, ListParamsDataPath1& params);
    HRESULT RaiseDetectionEvent(Motiscan4State& state, int32_t level, int32_t numberFrame,
                                ListEventsDataPath1* events);
    HRESULT RaiseContourEvent(const Motiscan4State& state, int32_t numberFrame, ListEventsDataPath1* events);
};

// The level the weekly schedule puts in force at the local time: the high nibble of the hour's
// byte holds the level plus 1 (0 and 1 give level 0, 2 level 1, 3 and more level 2).
int32_t ScheduledLevel(const StructFormatGraph1& settings, const SYSTEMTIME& localTime);
// The hour of the week: Monday 00:00 is 0, Sunday 23:00 is 167.
uint32_t HourOfWeek(const SYSTEMTIME& time);
