#include "ObjectDataPath1.h"

#include "StructForInterfaceDataPath1Table.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"
#include "FunctWorkWithFiles.h"

namespace {

// The file name, then the system's text for the error, each as its own log line.
void LogLoadFailure(const char* fileName, DWORD error)
{
    DynamicString(fileName).DumpString(true);
    DynamicString text;
    GetTextFromErrorCode(error, text);
    text.DumpString(true);
}

template <class Function>
Function BindEntryPoint(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Unloads a probed library whatever happens in between.
class ProbedLibrary
{
public:
    explicit ProbedLibrary(const char* path) : m_module(LoadLibraryExA(path, nullptr, 0)) {}
    ~ProbedLibrary()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    ProbedLibrary(const ProbedLibrary&) = delete;
    ProbedLibrary& operator=(const ProbedLibrary&) = delete;

    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

} // namespace

InfoStaticFilterDataPath1& InfoStaticFilterDataPath1::operator=(const InfoStaticFilterDataPath1& other)
{
    if (other.m_size != m_size)
        throw 241;
    m_type = other.m_type;
    m_name = other.m_name;
    m_count = other.m_count;
    for (uint32_t i = 0; i < kMaxNames; ++i)
        m_names[i] = other.m_names[i];
    for (uint32_t i = 0; i < 4; ++i) {
        m_words1[i] = other.m_words1[i];
        m_words2[i] = other.m_words2[i];
    }
    return *this;
}

void InfoStaticFilterDataPath1::ResetBlock()
{
    if (m_count > kMaxNames)
        m_count = kMaxNames;
    for (StaticString<32>& name : m_names)
        name.NullString();
    for (uint32_t i = 0; i < 4; ++i) {
        m_words1[i] = 0;
        m_words2[i] = 0;
    }
}

ObjectDataPath1::ObjectDataPath1(HINSTANCE instance, const char* fileName) : m_instance(instance)
{
    try {
        if (fileName != nullptr && fileName[0] != 0)
            LoadFilter(fileName);
    }
    CATCH_ALL_RETHROW()
}

ObjectDataPath1::~ObjectDataPath1()
{
    try {
        m_running = 0;
        UnloadFilter();
    }
    CATCH_ALL_LOG()
}

HRESULT ObjectDataPath1::GetInfoFilter(InfoFilterObjectDataPath1* info)
{
    // A null record would be a processor fault, which no catch-all survives.
    if (info == nullptr)
        return E_FAIL;
    try {
        info->m_flag = m_info_filter.m_flag;
        info->m_text_id = m_info_filter.m_text_id;
        info->m_version = m_info_filter.m_version;
        info->m_points = m_info_filter.m_points;
        info->m_in_use = false;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectDataPath1::RunFilter()
{
    m_running = 1;
    return S_OK;
}

HRESULT ObjectDataPath1::StopFilter()
{
    m_running = 0;
    return S_OK;
}

HRESULT ObjectDataPath1::GetStateFilter(int32_t* state)
{
    if (state != nullptr)
        *state = m_running;
    return S_OK;
}

int64_t ObjectDataPath1::GetIDFilter()
{
    return m_id;
}

HRESULT ObjectDataPath1::TransformFilter(InfoDataBufferPath1* frame, uint32_t frameSize, InfoDataBufferPath1* output,
                                         uint32_t outputSize, ListEventsDataPath1* events, int32_t inputIndex)
{
    if (m_transform_filter == nullptr)
        return E_INVALIDARG;
    try {
        return m_transform_filter(frame, frameSize, output, outputSize, &m_info_filter, events, inputIndex);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectDataPath1::CallInterfaceFunction(GUID iid, int32_t indexMethod, ListParamsDataPath1* params)
{
    try {
        const HRESULT check = CheckParamsForCallFunction(iid, indexMethod, params);
        if (check != S_OK)
            return check;
        if (m_call_interface_function == nullptr)
            return E_INVALIDARG;
        return m_call_interface_function(CallInterfaceFunctionRecord{iid, indexMethod, params, &m_info_filter});
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectDataPath1::QueryInterfaceFunction(GUID iid)
{
    if (m_query_interface_function == nullptr)
        return E_INVALIDARG;
    try {
        return m_query_interface_function(iid);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectDataPath1::SetConnection(bool input, int32_t index, ObjectDataPath1* peer, int32_t peerIndex)
{
    if (index < 0 || peerIndex < 0 || !m_info_filter.m_in_use)
        return E_UNEXPECTED;
    try {
        ListConnectionPointsDataPath1& points = m_info_filter.m_points;
        const uint32_t count = input ? points.m_count_inputs : points.m_count_outputs;
        if (static_cast<uint32_t>(index) >= count)
            return E_FAIL;
        InfoConnectionPointDataPath1& point = (input ? points.m_inputs : points.m_outputs).GetElement(index);
        point.m_peer = peer;
        point.m_peer_index = peerIndex;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectDataPath1::LoadFilter(const char* fileName)
{
    try {
        return LoadFilterReal(fileName);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        UnloadFilter();
        return E_FAIL;
    }
}

HRESULT ObjectDataPath1::LoadFilterReal(const char* fileName)
{
    UnloadFilter();
    if (fileName == nullptr || fileName[0] == 0)
        return S_FALSE;
    m_file_name = fileName;
    m_module = LoadLibraryA(fileName);
    const DWORD error = GetLastError();
    if (m_module == nullptr) {
        LogLoadFailure(fileName, error);
        UnloadFilter();
        return E_FAIL;
    }
    if (!BindEntryPoints()) {
        DynamicString(fileName).DumpString(true);
        UnloadFilter();
        return E_FAIL;
    }
    const HRESULT result = m_init_info_filter(&m_info_filter, 1);
    if (FAILED(result)) {
        UnloadFilter();
        return result;
    }
    ResetConnectionLinks();
    return S_OK;
}

// Binds all five, also after a missing one; true when none is missing.
bool ObjectDataPath1::BindEntryPoints()
{
    m_init_info_filter = BindEntryPoint<InitInfoFilterFunction>(m_module, "InitInfoFilter");
    m_free_info_filter = BindEntryPoint<FreeInfoFilterFunction>(m_module, "FreeInfoFilter");
    m_transform_filter = BindEntryPoint<TransformFilterFunction>(m_module, "TransformFilter");
    m_call_interface_function = BindEntryPoint<CallInterfaceFunctionFunction>(m_module, "CallInterfaceFunction");
    m_query_interface_function = BindEntryPoint<QueryInterfaceFunctionFunction>(m_module, "QueryInterfaceFunction");
    return m_init_info_filter != nullptr && m_free_info_filter != nullptr && m_transform_filter != nullptr &&
           m_call_interface_function != nullptr && m_query_interface_function != nullptr;
}

void ObjectDataPath1::ClearEntryPoints()
{
    m_init_info_filter = nullptr;
    m_free_info_filter = nullptr;
    m_transform_filter = nullptr;
    m_call_interface_function = nullptr;
    m_query_interface_function = nullptr;
}

// Whatever links a plug-in left in the record are dropped; names are made terminated text.
void ObjectDataPath1::ResetConnectionLinks()
{
    ListConnectionPointsDataPath1& points = m_info_filter.m_points;
    for (auto* side : {&points.m_inputs, &points.m_outputs}) {
        for (uint32_t i = 0; i < ListConnectionPointsDataPath1::kMaxPoints; ++i) {
            InfoConnectionPointDataPath1& point = side->GetElement(i);
            point.m_peer = nullptr;
            point.m_peer_index = 0;
            point.m_name.ValidateString();
        }
    }
}

HRESULT ObjectDataPath1::UnloadFilter()
{
    try {
        HRESULT result = S_OK;
        if (m_module != nullptr) {
            if (m_free_info_filter != nullptr)
                result = m_free_info_filter(&m_info_filter);
            ClearEntryPoints();
            if (!FreeLibrary(m_module)) {
                DynamicString text;
                GetTextFromErrorCode(GetLastError(), text);
                text.DumpString(false);
            }
            m_module = nullptr;
        }
        m_file_name.NullString();
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectDataPath1::ProbeStaticInfoFilter(const char* path, InfoStaticFilterDataPath1* info)
{
    if (info == nullptr)
        return E_INVALIDARG;
    try {
        ProbedLibrary library(path);
        if (library.Get() == nullptr)
            return E_FAIL;
        auto probe = BindEntryPoint<GetStaticInfoFilterFunction>(library.Get(), "GetStaticInfoFilter");
        if (probe == nullptr)
            return E_FAIL;
        return probe(info);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectDataPath1::GetListStaticInfoFilters(const char* folder,
                                                  DynamicBoundsObject<InfoStaticFilterItemDataPath1>& list,
                                                  uint32_t type, uint32_t* count)
{
    try {
        list.FreeAll();
        if (count != nullptr)
            *count = 0;
        DynamicBoundsObject<DynamicString> names;
        DynamicBoundsObject<uint32_t> attributes;
        const HRESULT listed = GetListFilesInFolder(DynamicString(folder), DynamicString("*.vdd"), names, 0, attributes);
        if (FAILED(listed))
            return listed;
        list.SetSize(names.GetCount());
        InfoStaticFilterDataPath1 info;
        uint32_t filled = 0;
        for (uint32_t i = 0; i < names.GetCount(); ++i) {
            const DynamicString& name = names.GetElement(i);
            if (name.GetLenString() == 0)
                continue;
            DynamicString path;
            CreateFullPathFromFolder(path, folder, name.GetString());
            if (FAILED(ProbeStaticInfoFilter(path.GetString(), &info)) || info.m_type != type)
                continue;
            InfoStaticFilterItemDataPath1& item = list.GetElement(filled++);
            item.m_full_path = path.GetString();
            item.m_file_name = name.GetString();
            item.m_info = info;
        }
        if (count != nullptr)
            *count = filled;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
