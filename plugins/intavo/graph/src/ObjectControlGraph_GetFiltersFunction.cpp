// Device filters by friendly name, file sources, and the lists of a graph's filters.
#include "ObjectControlGraphFunction.h"

#include "ObjectControlGraphInternal.h"

#include "CatchAllLog.h"

#include <cwchar>

namespace {

// Names tried for one filter: the friendly name, then the name followed by 0 ... 8190.
constexpr int kMaxFilterNames = 8192;

HRESULT BindMatchingDevice(IEnumMoniker* monikers, const char* friendlyName, int32_t ordinal, IBaseFilter** filter)
{
    int32_t counter = 0;
    IMoniker* next = nullptr;
    while (monikers->Next(1, &next, nullptr) == S_OK) {
        SmartComPointer<IMoniker> moniker;
        moniker.Attach(next);
        DynamicString name;
        if (FAILED(ReadMonikerFriendlyName(moniker.Get(), name)) || name != friendlyName)
            continue;
        if (counter != ordinal) {
            ++counter;
            continue;
        }
        if (SUCCEEDED(moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter))))
            return S_OK;
        *filter = nullptr;
        LOG_TEXT("FindDeviceFilterByFriendlyName::device not bound");
        name.DumpString();
    }
    return E_FAIL;
}

bool IsFilterNameTaken(IGraphBuilder* graph, const std::wstring& name)
{
    SmartComPointer<IBaseFilter> found;
    return SUCCEEDED(graph->FindFilterByName(name.c_str(), found.ReceiveSlot())) && found;
}

// The friendly name, or the first of name0, name1, ... that the graph does not hold yet.
std::wstring ChooseFilterName(IGraphBuilder* graph, const std::wstring& friendlyName)
{
    if (!IsFilterNameTaken(graph, friendlyName))
        return friendlyName;
    for (int suffix = 0; suffix < kMaxFilterNames - 1; ++suffix) {
        const std::wstring name = friendlyName + std::to_wstring(suffix);
        if (!IsFilterNameTaken(graph, name))
            return name;
    }
    // The graph makes the name unique itself.
    return friendlyName;
}

HRESULT AppendFilter(ListFiltersGraph& list, IBaseFilter* filter)
{
    const uint32_t count = list.GetCount();
    if (FAILED(list.SetSize(count + 1)))
        return E_FAIL;
    filter->AddRef();
    list.GetElement(count).Attach(filter);
    return S_OK;
}

} // namespace

HRESULT FindDeviceFilterByFriendlyName(const GUID& category, const char* friendlyName, int32_t ordinal,
                                       IBaseFilter** filter)
{
    try {
        if (friendlyName == nullptr || filter == nullptr)
            return E_INVALIDARG;
        *filter = nullptr;
        SmartComPointer<IEnumMoniker> monikers;
        const HRESULT result = CreateDeviceEnumerator(category, monikers);
        if (result != S_OK)
            return FAILED(result) ? result : E_FAIL;
        monikers->Reset();
        return BindMatchingDevice(monikers.Get(), friendlyName, ordinal, filter);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT AddFilterByFriendlyName(IGraphBuilder* graph, IBaseFilter** filter, const char* friendlyName,
                                const GUID& category, int32_t ordinal)
{
    try {
        if (ordinal < 0)
            return E_UNEXPECTED;
        if (graph == nullptr || filter == nullptr || friendlyName == nullptr)
            return E_INVALIDARG;
        *filter = nullptr;
        SmartComPointer<IBaseFilter> found;
        HRESULT result = FindDeviceFilterByFriendlyName(category, friendlyName, ordinal, found.ReceiveSlot());
        if (FAILED(result))
            return result;
        const std::wstring name = ChooseFilterName(graph, WidenText(friendlyName));
        result = graph->AddFilter(found.Get(), name.c_str());
        if (FAILED(result))
            return result;
        *filter = found.Detach();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT AddSourceFilterForFile(IGraphBuilder* graph, IBaseFilter** filter, const char* filterName,
                               const char* fileName)
{
    try {
        if (graph == nullptr || filter == nullptr)
            return E_INVALIDARG;
        *filter = nullptr;
        if (filterName == nullptr || fileName == nullptr || *filterName == 0 || *fileName == 0)
            return E_FAIL;
        return graph->AddSourceFilter(WidenText(fileName).c_str(), WidenText(filterName).c_str(), filter);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetFiltersWithInterface(IGraphBuilder* graph, ListFiltersGraph& list, const IID& iid)
{
    try {
        list.FreeAll();
        if (graph == nullptr)
            return E_INVALIDARG;
        SmartComPointer<IEnumFilters> filters;
        const HRESULT result = graph->EnumFilters(filters.ReceiveSlot());
        if (FAILED(result))
            return result;
        return WalkEnumeration<IBaseFilter>(
            filters.Get(),
            [&](IBaseFilter* filter) {
                SmartComPointer<IUnknown> part;
                if (FAILED(filter->QueryInterface(iid, part.ReceiveVoidSlot())))
                    return S_OK;
                return AppendFilter(list, filter);
            },
            [&] { list.FreeAll(); });
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetHeadFilters(IGraphBuilder* graph, ListFiltersGraph& list, int32_t direction)
{
    try {
        list.FreeAll();
        if (direction != kDirectionInputGraph && direction != kDirectionOutputGraph)
            return E_FAIL;
        ListFiltersGraph all;
        const HRESULT result = GetFiltersWithInterface(graph, all, IID_IBaseFilter);
        if (FAILED(result))
            return result;
        for (uint32_t k = 0; k < all.GetCount(); ++k) {
            IBaseFilter* filter = all.GetElement(k).Get();
            if (HasConnectedPin(filter, direction) == S_FALSE && FAILED(AppendFilter(list, filter)))
                return E_FAIL;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RemoveFilterFromGraph(IGraphBuilder* graph, SmartComPointer<IBaseFilter>& holder)
{
    try {
        if (graph == nullptr || !holder)
            return E_INVALIDARG;
        const HRESULT result = graph->RemoveFilter(holder.Get());
        if (SUCCEEDED(result))
            holder.ReleasePointer("RemoveFilterFromGraph::holder.ReleasePointer::1");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
