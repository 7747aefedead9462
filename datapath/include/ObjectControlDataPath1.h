// The controller of a data path. It owns a worker thread with a hidden window and a 10 ms timer;
// every public operation packs its arguments, sends one of the controller's registered operation
// messages to that window and waits; the worker runs the matching ...Real operation. The filter
// table, links, frame pump and event queues are touched only on the worker thread.
// Plug-ins are handed the controller and call its virtual operations from their own module.
#pragma once

#include "KestrelUserServerTypes.h"
#include "ObjectWindowMessage1.h"
#include "StructForInterfaceDataPath1.h"

#include "KestrelDebugFunct.h"
#include "MemoryBlockClass.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

class ObjectDataPath1;
class TimedSendGuard;
class ObjectAllocatorBufferDataPath1;
class InfoDataBufferPath1;
class InfoEventDataFrame1;
class InfoNeedInterface;
class StructFormatGraph1;
struct InfoDriverForMixerDataPath1;
struct InfoNodeFormatGraph1;
struct InfoCodecListDataPath1;
struct InfoNetworkClientsDataPath1;
struct InfoArchiveListDataPath1;

// ---- Message records: built on the sender's stack, read by the worker while the sender waits ----

struct InfoMessageCallInterfaceFunction : GeneralParentForMessageStruct
{
    InfoMessageCallInterfaceFunction() : GeneralParentForMessageStruct("InfoMessageCallInterfaceFunction") {}

    int32_t m_id = 0;
    GUID m_iid = GUID_NULL;
    ListParamsDataPath1* m_list = nullptr;
    int32_t m_index_method = 0;
    int32_t m_sub_id = 0;
    HRESULT m_result = S_FALSE;
};

struct InfoCreateCapturePathFromFormat1 : GeneralParentForMessageStruct
{
    InfoCreateCapturePathFromFormat1() : GeneralParentForMessageStruct("InfoCreateCapturePathFromFormat1") {}

    // The node array, its count, the output window and the source's format record.
    void* m_w1 = nullptr;
    int32_t m_w2 = 0;
    HWND m_w3 = nullptr;
    InfoNeedInterface* m_w4 = nullptr;
    uint8_t m_b1 = 0;
    uint8_t m_b2 = 0;
    uint8_t m_b3 = 1;
    uint8_t m_b4 = 0;
    // The network-clients record.
    void* m_w5 = nullptr;
    int32_t m_w6 = 0;
    int32_t m_w7 = 0;
    uint8_t m_b5 = 0;
    uint8_t m_b6 = 0;
    int32_t m_w8 = 1;
    // The codec list.
    void* m_w9 = nullptr;
};

struct InfoMessageGetAllIDFromFilters : GeneralParentForMessageStruct
{
    InfoMessageGetAllIDFromFilters() : GeneralParentForMessageStruct("InfoMessageGetAllIDFromFilters") {}

    MemoryBlockClass<int32_t>* m_list = nullptr;
};

struct InfoMessageGetAllIDObjectsFromFilters : GeneralParentForMessageStruct
{
    InfoMessageGetAllIDObjectsFromFilters() : GeneralParentForMessageStruct("InfoMessageGetAllIDObjectsFromFilters") {}

    DynamicBoundsObject<int32_t>* m_list = nullptr;
};

struct InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1 : GeneralParentForMessageStruct
{
    InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1()
        : GeneralParentForMessageStruct("InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1")
    {
    }

    int32_t* m_result = nullptr;
    ListEventsDataPath1* m_events = nullptr;
};

// One entry of the per-filter timing table, by filter text id; times in milliseconds.
struct InfoStaticWorkFilterDataPath1
{
    void Reset()
    {
        m_text_id = "";
        m_total = 0;
        m_calls = 0;
        m_minimum = 0;
        m_maximum = 0;
        m_average = 0.0;
        m_spare = 0.0;
    }
    void AddMeasurement(int64_t measured);

    StaticString<256> m_text_id;
    int64_t m_total = 0;
    int64_t m_calls = 0;
    int64_t m_minimum = 0;
    int64_t m_maximum = 0;
    double m_average = 0.0;
    double m_spare = 0.0;
};

struct InfoMessageGWM_GetStaticInfoFromDataPath1_ObjectControlDataPath1 : GeneralParentForMessageStruct
{
    InfoMessageGWM_GetStaticInfoFromDataPath1_ObjectControlDataPath1()
        : GeneralParentForMessageStruct("InfoMessageGWM_GetStaticInfoFromDataPath1_ObjectControlDataPath1")
    {
    }

    InfoStaticWorkFilterDataPath1* m_entries = nullptr;
    int32_t m_capacity = 0;
    int32_t* m_count = nullptr;
};

struct InfoMessageGWM_CreateReciveDataPathForReciverServer_ObjectControlDataPath1 : GeneralParentForMessageStruct
{
    InfoMessageGWM_CreateReciveDataPathForReciverServer_ObjectControlDataPath1()
        : GeneralParentForMessageStruct("InfoMessageGWM_CreateReciveDataPathForReciverServer_ObjectControlDataPath1")
    {
    }

    int32_t m_words[6] = {-1, -1, 0, 0, 1, 0};
};

struct InfoMessageGWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1 : GeneralParentForMessageStruct
{
    InfoMessageGWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1()
        : GeneralParentForMessageStruct("InfoMessageGWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1")
    {
    }

    HWND m_output_window = nullptr;
    int32_t m_reserved = 0;
    int32_t m_processor_mode = 1;
};

struct InfoMessageGWM_AddDriverToMixerDataPathForTundrel_ObjectControlDataPath1 : GeneralParentForMessageStruct
{
    InfoMessageGWM_AddDriverToMixerDataPathForTundrel_ObjectControlDataPath1()
        : GeneralParentForMessageStruct("InfoMessageGWM_AddDriverToMixerDataPathForTundrel_ObjectControlDataPath1")
    {
    }

    InfoNeedInterface* m_source = nullptr;
    int32_t m_reserved = 0;
    int32_t m_processor_mode = 1;
    int32_t m_slot = 0;
};

// ---- The controller ---------------------------------------------------------------------------

class ObjectControlDataPath1
{
public:
    static constexpr uint32_t kMaxFilters = 1024;
    static constexpr uint32_t kNumberOperations = 34;
    static constexpr int32_t kSendTimeoutMs = 120000;
    static constexpr uint32_t kMaxTimingEntries = 512;
    static constexpr uint32_t kNumberMixerInputs = 16;
    static constexpr uint32_t kNumberClientHandles = 16;
    static constexpr UINT_PTR kTimerId = 1000;
    static constexpr UINT kTimerPeriodMs = 10;
    // Without a client window nobody fetches the filters' events: the queue keeps at most this many.
    static constexpr uint32_t kMaxSincEventsWithoutClient = 1024;

    ObjectControlDataPath1(HINSTANCE instance, const char* pluginFolder);
    // Calls Shutdown last; a derived class calls it first in its own destructor.
    virtual ~ObjectControlDataPath1();
    ObjectControlDataPath1(const ObjectControlDataPath1&) = delete;
    ObjectControlDataPath1& operator=(const ObjectControlDataPath1&) = delete;

    // The event messages of the client window: 0 synchronous, 1 asynchronous, else 0.
    static UINT GetEventMessageId(int index);

    // Destroys the worker's window on the worker (which stops and deletes every filter there) and
    // waits for the worker thread to end; later calls do nothing. The worker calls virtual
    // operations until then, so a derived class's destructor and the controller's owner call it
    // before anything the worker may use goes away. Not on the worker thread (0x8000FFFF).
    HRESULT Shutdown();

    // ---- Public operations: any thread ----
    HRESULT Run();
    HRESULT Stop();
    HRESULT GetStateObject(int32_t* state);
    HRESULT CreateLocalVideoCamera(InfoDriverForMixerDataPath1* settings, LPARAM l);
    HRESULT CreateCapturePathFromFormat1(void* a1, int32_t a2, HWND a3, InfoNeedInterface* a4, uint8_t a5, uint8_t a6,
                                 uint8_t a7, uint8_t a8, int32_t a9, int32_t a10, uint8_t a11, uint8_t a12, void* a13,
                                 int32_t a14, void* a15);
    HRESULT DeleteGraphFromIDCamera(int32_t idCamera);
    HRESULT DeleteAllGraph();
    HRESULT CallInterfaceFunctionForIDCamera(int32_t idCamera, int32_t subId, GUID iid, int32_t indexMethod,
                                             ListParamsDataPath1* params);
    HRESULT GetAllIDCameraFromFilters(MemoryBlockClass<int32_t>* list);
    HRESULT AddAsincEvents(ListEventsDataPath1* events, int32_t count);
    int32_t GetAsincEvents(ListEventsDataPath1* events);
    int32_t GetSincEvents(ListEventsDataPath1* events);
    HRESULT CreateNetworkCapturePathFromFormat1(void* a1, int32_t a2, HWND a3, InfoNeedInterface* a4, uint8_t a5, uint8_t a6,
                                 uint8_t a7, uint8_t a8, int32_t a9, int32_t a10, uint8_t a11, uint8_t a12, void* a13,
                                 int32_t a14, void* a15);
    HRESULT SetHandleClientForComServer(int32_t place, int32_t handle);
    HRESULT SetHandleConnectForReciveFromNetwork(int32_t handle);
    HRESULT CreateNetworkDataPathForReciveArhive(WPARAM w, LPARAM l);
    HRESULT RefreshPathForNetworkArhive(void* archiveList);
    HRESULT CallInterfaceFunctionForAllObjects(GUID iid, int32_t indexMethod, ListParamsDataPath1* params);
    HRESULT SetExternWindow(HWND client);
    HRESULT GetStaticInfoFromDataPath1(InfoStaticWorkFilterDataPath1* entries, int32_t capacity, int32_t* count);
    HRESULT CreateReciveDataPathForReciverServer(int32_t w1, int32_t w2, int32_t w3, int32_t w4, int32_t w5,
                                                 int32_t w6);
    HRESULT RefreshForUserChange(InfoUserKestrelUserServer* user, LPARAM l);
    HRESULT CreateMixerDataPathForTundrel(HWND outputWindow, int32_t reserved, int32_t processorMode);
    HRESULT AddDriverToMixerDataPathForTundrel(InfoNeedInterface* source, int32_t reserved, int32_t slot,
                                               int32_t processorMode);
    HRESULT DeleteDriverFromMixerDataPathForTundrel(int32_t slot);
    HRESULT QueryInterfaceForIDObject(int32_t idObject, int32_t subId, GUID iid);
    HRESULT GetAllIDObjectsFromFilters(DynamicBoundsObject<int32_t>* list);
    HRESULT CallInterfaceFunctionForIDObject(int32_t idObject, int32_t subId, GUID iid, int32_t indexMethod,
                                             ListParamsDataPath1* params);

    // ---- Virtual operations: slot order is part of the contract with the plug-ins ----
    // Typed calls, each through CallInterfaceFunctionForIDCamera.
    virtual HRESULT CallSetRateDataForIDCamera(int32_t idCamera, StructFormatGraph1* format);
    virtual HRESULT CallSetVideoCompressForIDCamera(int32_t idCamera, StructFormatGraph1* format, bool shifted);
    virtual HRESULT CallSetReaderFloatForIDCamera(int32_t idCamera, float value);
    virtual HRESULT CallSetOutputRectForIDCamera(int32_t idCamera, int32_t left, int32_t top, int32_t right,
                                                 int32_t bottom);
    virtual HRESULT CallSetOutputFlagForIDCamera(int32_t idCamera, uint8_t value);
    virtual HRESULT CallGrabFrameForIDCamera(int32_t idCamera, void* a, void* b);
    virtual HRESULT CallSetOutputItemForIDCamera(int32_t idCamera, int32_t item, uint8_t value);
    virtual HRESULT CallSetOutputTextForIDCamera(int32_t idCamera, int32_t item, const DynamicString& text);

    virtual HRESULT RunReal();
    virtual HRESULT StopReal();
    virtual HRESULT GetStateObjectReal(int32_t* state);
    virtual HRESULT RefreshPathForNetworkArhiveReal(void* archiveList);
    virtual HRESULT CreateLocalVideoCameraReal(InfoDriverForMixerDataPath1* settings, LPARAM l);
    virtual HRESULT CreateNetworkDataPathForReciveArhiveReal(WPARAM w, LPARAM l);
    virtual HRESULT CreateCapturePathFromFormat1Real(void* p, int32_t count, HWND w3, InfoNeedInterface* format,
                                                     uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4, int32_t w6,
                                                     int32_t w7, uint8_t b5, uint8_t b6, void* w5, int32_t zero,
                                                     int32_t processorMode, void* w9);
    virtual HRESULT CreateNetworkCapturePathFromFormat1Real(void* p, int32_t count, HWND w3, InfoNeedInterface* format,
                                                            uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4, int32_t w6,
                                                            int32_t w7, uint8_t b5, uint8_t b6, void* w5,
                                                            int32_t processorMode, void* w9);
    virtual HRESULT CreateMixerDataPathForTundrelReal(HWND outputWindow, int32_t reserved, int32_t processorMode);
    virtual HRESULT AddDriverToMixerDataPathForTundrelReal(InfoNeedInterface* source, int32_t reserved,
                                                           int32_t slot, int32_t processorMode);
    virtual HRESULT DeleteDriverFromMixerDataPathForTundrelReal(int32_t slot);
    virtual HRESULT CreateReciveDataPathForReciverServerReal(int32_t w1, int32_t w2, int32_t w3, int32_t w4,
                                                             int32_t w5, int32_t w6);
    // The capture-path builders: the recursive reader of a path description and the recipe for one source.
    virtual HRESULT CreatePathFromFormatGraph(void* nodes, int32_t countNodes, int32_t startId, HWND outputWindow,
                                              ObjectDataPath1* upstream, int32_t output, bool useLinkPositions,
                                              uint8_t flag1, uint8_t flag2, uint8_t flag3, uint8_t flag4,
                                              int32_t value1, int32_t value2, uint8_t flag5, uint8_t flag6,
                                              void* passThrough1, void* passThrough2, int32_t processorMode,
                                              void* codecList);
    virtual HRESULT CreateCapturePathFromDriverInfo(ObjectDataPath1* upstream, int32_t upstreamOutput,
                                                    InfoDriverForMixerDataPath1* settings, void* clients,
                                                    void* codecFormats);
    virtual HRESULT CreateFilters(const DynamicBoundsObject<DynamicString>& names,
                                  DynamicBoundsObject<int32_t>& indexes);
    virtual HRESULT CreateReaderToNetworkPath(int32_t firstId, int32_t secondId, SYSTEMTIME time, int32_t setting,
                                              float floatSetting);
    virtual HRESULT ConnectFilters(ObjectDataPath1* source, int32_t output, ObjectDataPath1* target, int32_t input);
    virtual HRESULT DisconnectFilters(ObjectDataPath1* upstream, ObjectDataPath1* downstream);
    virtual HRESULT DeleteGraphFromIDCameraReal(int32_t idCamera);
    virtual HRESULT DeleteAllGraphReal();
    virtual HRESULT CallInterfaceFunctionForIDCameraReal(int32_t idCamera, int32_t subId, GUID iid,
                                                         int32_t indexMethod, ListParamsDataPath1* params);
    virtual HRESULT QueryInterfaceForIDObjectReal(int32_t idObject, int32_t subId, GUID iid);
    virtual HRESULT CallInterfaceFunctionForAllObjectsReal(GUID iid, int32_t indexMethod, ListParamsDataPath1* params);
    virtual HRESULT GetAllFiltersWithInterfaceReal(GUID iid, MemoryBlockClass<ObjectDataPath1*>* list);
    virtual HRESULT GetAllIDCameraFromFiltersReal(MemoryBlockClass<int32_t>* list);
    virtual HRESULT GetAllIDObjectsFromFiltersReal(DynamicBoundsObject<int32_t>* list);
    virtual HRESULT DeleteAllFiltersFromThisReal(ObjectDataPath1* filter);
    virtual HRESULT AddAsincEventsReal(ListEventsDataPath1* events, int32_t count);
    virtual HRESULT GetAsincEventsReal(ListEventsDataPath1* events);
    virtual HRESULT GetSincEventsReal(ListEventsDataPath1* events);
    virtual HRESULT SetHandleClientForComServerReal(int32_t place, int32_t handle);
    virtual HRESULT SetHandleConnectForReciveFromNetworkReal(int32_t handle);
    virtual HRESULT SetExternWindowReal(HWND client);
    virtual HRESULT GetStaticInfoFromDataPath1Real(InfoStaticWorkFilterDataPath1* entries, int32_t capacity,
                                                   int32_t* count);
    virtual HRESULT RefreshForUserChangeReal(InfoUserKestrelUserServer* user, LPARAM l);
    virtual HRESULT CatchRegisteredMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);
    virtual HRESULT SetStateAllFilters(int32_t state);
    virtual HRESULT RouteFrameThroughFilter(int32_t* step, int64_t sourceFetchTime, ObjectDataPath1* filter,
                                            InfoDataBufferPath1* frame, ObjectAllocatorBufferDataPath1* pool,
                                            ListEventsDataPath1* events, int32_t inputIndex);
    virtual ObjectDataPath1* GetHeadFilterFromIDCamera(int32_t idCamera);
    virtual ObjectDataPath1* GetFilterFromIDCamera(int32_t idCamera);
    virtual ObjectDataPath1* FindFilterWithInterface(ObjectDataPath1* start, int32_t* counter, GUID iid);
    virtual HRESULT DeleteFilter(ObjectDataPath1* filter);
    virtual HRESULT DeleteFilterFromIndex(int32_t index);
    // After the 52 slots above, so that no slot the plug-ins call moves: the chain of one mixer
    // source (correction, detector, camera) behind its source filter, the camera feeding the mixer
    // input. Called by AddDriverToMixerDataPathForTundrelReal only.
    virtual HRESULT CreateDriverChainForMixer(ObjectDataPath1* sourceFilter, int32_t mixerInput,
                                              InfoDriverForMixerDataPath1* settings, int32_t reserved);

    HRESULT CallInterfaceFunctionForIDObjectReal(int32_t idObject, int32_t subId, GUID iid, int32_t indexMethod,
                                                 ListParamsDataPath1* params);
    int32_t GetIndexFilter(const ObjectDataPath1* filter) const;

    // Worker side, also for tests that inspect the controller. The table accessors and every
    // ...Real operation run on the worker thread only: elsewhere they log and refuse (0x8000FFFF or null).
    HWND GetWorkerWindow() const { return m_worker_window; }
    DWORD GetWorkerThreadId() const { return m_worker_thread_id; }
    ObjectDataPath1* GetFilterFromIndex(int32_t index) const;
    uint32_t GetCountUsedFilters() const { return m_count_used_filters; }
    const InfoUserKestrelUserServer& GetUserRecord() const { return m_user; }
    UINT GetOperationMessage(uint32_t code) const;
    // Senders that wait for their operation now.
    uint32_t GetCountWaitingSenders() const;

    // The 34 operation names in code order, each as registered.
    static const char* GetOperationName(uint32_t code);

    // Test seams: a shorter send time-out (0 restores the constant); a hook that runs on the worker
    // before each operation; a hook that runs first in the worker thread (null restores none).
    static void SetSendTimeoutForTest(int32_t timeoutMs);
    static void SetOperationHookForTest(void (*hook)(uint32_t code));
    static void SetWorkerStartHookForTest(void (*hook)());

protected:
    // One tick of the worker's timer: the frame pump.
    HRESULT ProcessTimerTick(WPARAM wParam, LPARAM lParam);
    // Sends the operation to the worker through the guard: the operation's answer, or 0x80004005
    // when it was not delivered.
    HRESULT SendOperation(uint32_t code, WPARAM wParam, LPARAM lParam, const char* operationName);

private:
    friend struct ControlDataPath1WorkerAccess;

    static DWORD WINAPI WorkerThreadProc(void* parameter);
    static LRESULT CALLBACK WindowProcControlDataPath1(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    DWORD RunWorkerThread();
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnWorkerWindowDestroyed();
    HRESULT RunOperation(uint32_t code, WPARAM wParam, LPARAM lParam, bool* handled);
    // The operation on the worker, as its message would run it (the test hook first).
    HRESULT RunOperationOnWorker(uint32_t code, WPARAM wParam, LPARAM lParam, bool* handled);
    // True on the worker thread, and when no worker thread runs; elsewhere logs the operation.
    bool IsOnWorkerThread(const char* operation) const;
    HRESULT SendInterfaceCall(uint32_t code, const char* operationName, int32_t id, int32_t subId, GUID iid,
                              int32_t indexMethod, ListParamsDataPath1* params);
    HRESULT CreateNamedEvents();
    HRESULT WaitForWorkerStart(HANDLE startEvent);

    // Filter table helpers.
    ObjectDataPath1* FindFilterWithInterfaceBelow(ObjectDataPath1* start, int32_t* counter, const GUID& iid,
                                                  uint32_t depth);
    bool AnswersInterface(ObjectDataPath1* filter, const GUID& iid) const;
    HRESULT QueryCameraId(ObjectDataPath1* filter, int32_t* idCamera) const;
    HRESULT RemoveFromSourceList(int32_t index);
    HRESULT ClearLinksTo(ObjectDataPath1* filter);
    void DeleteFiltersOfCall(DynamicBoundsObject<int32_t>& indexes);

    // Path recipe helpers.
    using RecipeBuild = std::function<HRESULT(const DynamicBoundsObject<int32_t>& made)>;
    // Creates the filters of the names and tells each the processor mode; their indexes in order.
    HRESULT CreateNamedFilters(std::initializer_list<const char*> names, DynamicBoundsObject<int32_t>& indexes);
    HRESULT CreateRecipeFilters(std::initializer_list<const char*> names, int32_t processorMode,
                                DynamicBoundsObject<int32_t>& indexes);
    // CreateRecipeFilters, then the build on them; when the build fails (or throws) the filters
    // it was given are deleted again, in creation order.
    HRESULT BuildRecipe(std::initializer_list<const char*> names, int32_t processorMode, const RecipeBuild& build);
    void DeleteCreatedFilters(const DynamicBoundsObject<int32_t>& indexes);
    ObjectDataPath1* CreatedFilter(const DynamicBoundsObject<int32_t>& indexes, uint32_t place) const;
    HRESULT ConfigureMixerOutput(ObjectDataPath1* output, HWND outputWindow);
    HRESULT AddSourceToMixerSlot(ObjectDataPath1* source, InfoNeedInterface* record, int32_t slot,
                                 int32_t processorMode);
    HRESULT ConfigureCameraIdentity(ObjectDataPath1* camera, const InfoDriverForMixerDataPath1& settings);
    HRESULT ConfigureMixerCamera(ObjectDataPath1* camera, const InfoDriverForMixerDataPath1& settings);
    HRESULT ConfigureMixerCorrection(ObjectDataPath1* correction, const InfoDriverForMixerDataPath1& settings);
    HRESULT ConfigureMixerDetector(ObjectDataPath1* detector, const InfoDriverForMixerDataPath1& settings);

    // Capture path helpers.
    struct FormatGraphOptions;
    HRESULT BuildCaptureFormatNode(const InfoNodeFormatGraph1& node, ObjectDataPath1* upstream, int32_t upstreamOutput,
                                   const FormatGraphOptions& options);
    HRESULT BuildFilterNode(void* nodes, int32_t countNodes, const InfoNodeFormatGraph1& node, ObjectDataPath1* upstream,
                            int32_t upstreamOutput, const FormatGraphOptions& options);
    HRESULT BuildCapturePath(const DynamicBoundsObject<int32_t>& made, ObjectDataPath1* upstream, int32_t upstreamOutput,
                             const InfoDriverForMixerDataPath1& settings, const InfoNetworkClientsDataPath1* clients,
                             void* codecFormats);
    void GiveCodecListsToBranches(const DynamicBoundsObject<int32_t>& made, const InfoDriverForMixerDataPath1& settings);
    HRESULT GiveCodecList(ObjectDataPath1* codec, const InfoCodecListDataPath1& list);
    HRESULT ConfigureCaptureOutput(ObjectDataPath1* output, const InfoDriverForMixerDataPath1& settings,
                                   const InfoNetworkClientsDataPath1* clients);
    HRESULT ConfigureCaptureCorrection(ObjectDataPath1* correction, const InfoDriverForMixerDataPath1& settings);
    void ConfigureCaptureWriter(ObjectDataPath1* writer, const InfoDriverForMixerDataPath1& settings);
    void ConfigureCaptureSender(ObjectDataPath1* sender, int32_t place, const InfoDriverForMixerDataPath1& settings,
                                const InfoNetworkClientsDataPath1* clients);
    HRESULT LinkCapturePath(const DynamicBoundsObject<int32_t>& made, ObjectDataPath1* upstream, int32_t upstreamOutput,
                            const InfoDriverForMixerDataPath1& settings, void* codecFormats);
    void DeleteDisabledCaptureParts(const DynamicBoundsObject<int32_t>& made, const InfoDriverForMixerDataPath1& settings);
    HRESULT CreateLocalVideoCameraPath(InfoDriverForMixerDataPath1* settings, void* clients);
    HRESULT RebuildReaderToNetworkPaths(const InfoArchiveListDataPath1& list);

    // Frame pump helpers.
    HRESULT PumpSource(int32_t index, InfoDataBufferPath1* frame);
    InfoStaticWorkFilterDataPath1* FindTimingEntry(const DynamicString& textId);

    // Event helpers.
    HRESULT MoveTickEventsToSincQueue();
    HRESULT DeleteAllQueuedEvents();
    void PostEventMessages(uint32_t countSinc, uint32_t countAsinc);

    HINSTANCE m_instance = nullptr;
    HANDLE m_internal_event = nullptr;
    HANDLE m_external_event = nullptr;
    HWND m_worker_window = nullptr;
    int32_t m_run_state = 0;
    HANDLE m_worker_thread = nullptr;
    DWORD m_worker_thread_id = 0;
    StaticBoundsObject<ObjectDataPath1*, kMaxFilters> m_filters;
    StaticBoundsObject<uint8_t, kMaxFilters> m_enabled;
    uint32_t m_count_used_filters = 0;
    HANDLE m_start_event = nullptr;
    UINT_PTR m_timer_id = 0;
    DynamicString m_plugin_folder;
    ObjectWindowMessage1 m_messages;
    ListEventsDataPath1 m_sinc_events;
    ListEventsDataPath1 m_asinc_events;
    ListEventsDataPath1 m_tick_events;
    HWND m_client_window = nullptr;
    StaticBoundsObject<int32_t, kMaxFilters> m_sources;
    uint32_t m_count_sources = 0;
    StaticBoundsObject<int32_t, kNumberClientHandles> m_client_handles;
    int32_t m_network_connect_handle = -1;
    DynamicBoundsObject<int32_t> m_reader_first_ids;
    DynamicBoundsObject<int32_t> m_reader_second_ids;
    ObjectAllocatorBufferDataPath1* m_pool = nullptr;
    StaticBoundsObject<InfoStaticWorkFilterDataPath1, kMaxTimingEntries> m_timing;
    uint32_t m_count_timing = 0;
    InfoUserKestrelUserServer m_user;
    // How deep the reader of a path description has gone.
    uint32_t m_reading_depth = 0;

protected:
    StaticBoundsObject<ObjectDataPath1*, kNumberMixerInputs> m_mixer_inputs;

private:
    uint8_t m_send_block = 0;
    // Keeps the records of senders that gave up from being read.
    std::unique_ptr<TimedSendGuard> m_requests;
};
