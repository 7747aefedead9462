// What crosses between the data path and a plug-in filter besides the call records: the filter
// instance record with its connection points, the event list a transform appends to, and the
// signatures of the plug-in exports. The host and every plug-in build them from this declaration.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include "CatchAllLog.h"
#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

class ObjectDataPath1;
class InfoDataBufferPath1;
class InfoEventDataFrame1;

inline constexpr int32_t kTypeInputPointDataPath1 = 256;
inline constexpr int32_t kTypeOutputPointDataPath1 = 257;
// On input point 0: the filter wants a separate output frame from the host's pool.
inline constexpr int32_t kTypeOwnOutputBufferDataPath1 = 0x400;

// One named point of a filter. The peer is kept on an 8-byte boundary so that the point has one
// size in both builds.
class InfoConnectionPointDataPath1
{
public:
    StaticString<64> m_name;
    int32_t m_type = kTypeInputPointDataPath1;
    alignas(8) ObjectDataPath1* m_peer = nullptr;
    int32_t m_peer_index = 0;
    bool m_valid = false;
};

class ListConnectionPointsDataPath1
{
public:
    static constexpr uint32_t kMaxPoints = 16;

    StaticBoundsObject<InfoConnectionPointDataPath1, kMaxPoints> m_inputs;
    StaticBoundsObject<InfoConnectionPointDataPath1, kMaxPoints> m_outputs;
    uint32_t m_count_inputs = 0;
    uint32_t m_count_outputs = 0;

    // Declares one point as a plug-in offers it.
    static void DeclarePoint(InfoConnectionPointDataPath1& point, const char* name, int32_t type)
    {
        point.m_name = name;
        point.m_type = type;
        point.m_valid = true;
    }
};

// The record the host owns for one filter of a path and hands to every export of its plug-in.
class InfoFilterObjectDataPath1
{
public:
    InfoFilterObjectDataPath1() = default;
    // A record must be freed by its plug-in first; one that still holds a state is logged and the
    // state is dropped (it belongs to the plug-in, which alone knows how to free it).
    ~InfoFilterObjectDataPath1()
    {
        if (m_state != nullptr)
            LOG_TEXT("InfoFilterObjectDataPath1::destroyed while it still holds its plug-in's state");
        m_state = nullptr;
    }
    InfoFilterObjectDataPath1(const InfoFilterObjectDataPath1&) = delete;
    InfoFilterObjectDataPath1& operator=(const InfoFilterObjectDataPath1&) = delete;

    uint32_t m_flag = 0;
    DynamicString m_text_id;
    float m_version = 0.0f;
    ListConnectionPointsDataPath1 m_points;
    bool m_in_use = false;
    void* m_state = nullptr;
};

// One entry of the event list of a transform; the list's owner deletes the event.
struct InfoEventItemDataPath1
{
    InfoEventDataFrame1* m_event = nullptr;
    uint32_t m_reserved = 0;
};
using ListEventsDataPath1 = DynamicBoundsObject<InfoEventItemDataPath1>;

// Appends an event; from then on the list's owner deletes it. 0x80070057 for a null list or event.
inline HRESULT AppendEventDataPath1(ListEventsDataPath1* events, InfoEventDataFrame1* event)
{
    if (events == nullptr || event == nullptr)
        return E_INVALIDARG;
    try {
        const uint32_t index = events->GetCount();
        HRESULT result = events->SetSize(index + 1);
        if (FAILED(result))
            return result;
        events->GetElement(index).m_event = event;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The exports of a plug-in file, as the host binds them.
using InitInfoFilterFunction = HRESULT(WINAPI*)(InfoFilterObjectDataPath1* instance, int32_t mode);
using FreeInfoFilterFunction = HRESULT(WINAPI*)(InfoFilterObjectDataPath1* instance);
using TransformFilterFunction = HRESULT(WINAPI*)(InfoDataBufferPath1* frame, uint32_t frameSize,
                                                 InfoDataBufferPath1* output, uint32_t outputSize,
                                                 InfoFilterObjectDataPath1* instance, ListEventsDataPath1* events,
                                                 int32_t inputIndex);
using CallInterfaceFunctionFunction = HRESULT(WINAPI*)(CallInterfaceFunctionRecord call);
using QueryInterfaceFunctionFunction = HRESULT(WINAPI*)(GUID iid);
using GetNameFilterFunction = HRESULT(WINAPI*)(DynamicString* name, float* version);
using GetConnectionPointsFunction = HRESULT(WINAPI*)(ListConnectionPointsDataPath1* points, int32_t size);

static_assert(sizeof(InfoConnectionPointDataPath1) == 88, "a connection point is 88 bytes");
static_assert(sizeof(ListConnectionPointsDataPath1) == 2824, "the connection-point list is 2824 bytes");
#if !defined(_WIN64)
static_assert(sizeof(InfoEventItemDataPath1) == 8, "an event-list entry is 8 bytes");
#endif
