// The host side of one plug-in filter: loads the ".vdd" file, binds its entry points, owns the
// filter instance record the plug-in fills, and turns the controller's requests into checked
// calls of the plug-in's exports. Used only on its controller's worker thread.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

// What an optional "GetStaticInfoFilter" export of a plug-in tells about it without loading it for good.
class InfoStaticFilterDataPath1
{
public:
    static constexpr uint32_t kMaxNames = 16;

    InfoStaticFilterDataPath1() { ResetBlock(); }
    InfoStaticFilterDataPath1(const InfoStaticFilterDataPath1& other) { *this = other; }
    // A record of another size is refused with integer 241 and nothing is copied.
    InfoStaticFilterDataPath1& operator=(const InfoStaticFilterDataPath1& other);
    // Clamps the count to 16, empties the names and clears the words.
    void ResetBlock();

    uint32_t m_size = sizeof(InfoStaticFilterDataPath1);
    uint32_t m_type = 0;
    StaticString<256> m_name;
    uint32_t m_count = 0;
    StaticString<32> m_names[kMaxNames];
    uint32_t m_words1[4] = {};
    uint32_t m_words2[4] = {};
};

struct InfoStaticFilterItemDataPath1
{
    StaticString<2048> m_full_path;
    StaticString<2048> m_file_name;
    InfoStaticFilterDataPath1 m_info;
};

using GetStaticInfoFilterFunction = HRESULT(WINAPI*)(InfoStaticFilterDataPath1* info);

class ObjectDataPath1
{
public:
    // With a file name the plug-in is loaded at once; the creator tests IsLoaded afterwards.
    ObjectDataPath1(HINSTANCE instance, const char* fileName);
    virtual ~ObjectDataPath1();
    ObjectDataPath1(const ObjectDataPath1&) = delete;
    ObjectDataPath1& operator=(const ObjectDataPath1&) = delete;

    // Copies flag, text id, version and connection points; the copy is not in use and keeps its state.
    virtual HRESULT GetInfoFilter(InfoFilterObjectDataPath1* info);
    virtual HRESULT RunFilter();
    virtual HRESULT StopFilter();
    virtual HRESULT GetStateFilter(int32_t* state);
    virtual int64_t GetIDFilter();
    // The plug-in's result unchanged; the instance record is inserted as the fifth word.
    virtual HRESULT TransformFilter(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                    uint32_t outputSize, ListEventsDataPath1* events, int32_t inputIndex);
    // Checked against the interface table first; a refused call never reaches the plug-in.
    virtual HRESULT CallInterfaceFunction(GUID iid, int32_t indexMethod, ListParamsDataPath1* params);
    // 0 implemented, 1 not; E_INVALIDARG when nothing is bound.
    virtual HRESULT QueryInterfaceFunction(GUID iid);
    // Records a link on one input or output point.
    virtual HRESULT SetConnection(bool input, int32_t index, ObjectDataPath1* peer, int32_t peerIndex);

    HRESULT LoadFilter(const char* fileName);
    HRESULT UnloadFilter();

    bool IsLoaded() const { return m_module != nullptr; }
    HMODULE GetModule() const { return m_module; }
    const DynamicString& GetFileName() const { return m_file_name; }
    // The record handed to the plug-in; the controller reads its points after a transform.
    const InfoFilterObjectDataPath1& GetInstanceRecord() const { return m_info_filter; }

    static HRESULT ProbeStaticInfoFilter(const char* path, InfoStaticFilterDataPath1* info);
    // The "*.vdd" files of the folder whose static information has the type; one list element
    // per listed entry, the first count filled.
    static HRESULT GetListStaticInfoFilters(const char* folder, DynamicBoundsObject<InfoStaticFilterItemDataPath1>& list,
                                            uint32_t type, uint32_t* count);

private:
    HRESULT LoadFilterReal(const char* fileName);
    bool BindEntryPoints();
    void ClearEntryPoints();
    void ResetConnectionLinks();

    HINSTANCE m_instance;
    HMODULE m_module = nullptr;
    InfoFilterObjectDataPath1 m_info_filter;
    int32_t m_running = 0;
    DynamicString m_file_name;
    int64_t m_id = 0;
    InitInfoFilterFunction m_init_info_filter = nullptr;
    FreeInfoFilterFunction m_free_info_filter = nullptr;
    TransformFilterFunction m_transform_filter = nullptr;
    CallInterfaceFunctionFunction m_call_interface_function = nullptr;
    QueryInterfaceFunctionFunction m_query_interface_function = nullptr;
};
