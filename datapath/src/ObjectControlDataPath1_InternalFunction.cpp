// Worker side of the controller: the filter table, the links between filters, the lookups by
// camera and by interface, and running and stopping. Runs on the worker thread only.
#include "ObjectControlDataPath1.h"

#include "ObjectDataPath1.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"

namespace {

// The controller keeps the links in its filters' records; the proxies hand the plug-ins the same record.
InfoConnectionPointDataPath1& LinkPoint(ObjectDataPath1* filter, bool input, uint32_t index)
{
    auto& record = const_cast<InfoFilterObjectDataPath1&>(filter->GetInstanceRecord());
    return input ? record.m_points.m_inputs.GetElement(index) : record.m_points.m_outputs.GetElement(index);
}

uint32_t CountPoints(const ObjectDataPath1* filter, bool input)
{
    const ListConnectionPointsDataPath1& points = filter->GetInstanceRecord().m_points;
    const uint32_t count = input ? points.m_count_inputs : points.m_count_outputs;
    return count < ListConnectionPointsDataPath1::kMaxPoints ? count : ListConnectionPointsDataPath1::kMaxPoints;
}

// Whether the walk along output links from `from` meets `to`. Bounded in depth by the table size
// and in work by a budget of visits; a walk that runs out counts as meeting it (refused).
bool ReachesDownstream(ObjectDataPath1* from, const ObjectDataPath1* to, uint32_t depth, uint32_t& budget)
{
    if (from == to || depth >= ObjectControlDataPath1::kMaxFilters || budget == 0)
        return true;
    --budget;
    for (uint32_t output = 0; output < CountPoints(from, false); ++output) {
        ObjectDataPath1* peer = LinkPoint(from, false, output).m_peer;
        if (peer != nullptr && ReachesDownstream(peer, to, depth + 1, budget))
            return true;
    }
    return false;
}

} // namespace

// ---- Table access ---------------------------------------------------------------------------

ObjectDataPath1* ObjectControlDataPath1::GetFilterFromIndex(int32_t index) const
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetFilterFromIndex"))
        return nullptr;
    try {
        return index < 0 ? nullptr : m_filters.GetElement(static_cast<uint32_t>(index));
    }
    CATCH_ALL_RETURN(nullptr)
}

int32_t ObjectControlDataPath1::GetIndexFilter(const ObjectDataPath1* filter) const
{
    try {
        if (filter == nullptr)
            return -1;
        for (uint32_t k = 0; k < m_count_used_filters; ++k)
            if (m_filters.GetElement(k) == filter)
                return static_cast<int32_t>(k);
        return -1;
    }
    CATCH_ALL_RETURN(-1)
}

bool ObjectControlDataPath1::AnswersInterface(ObjectDataPath1* filter, const GUID& iid) const
{
    return filter != nullptr && filter->QueryInterfaceFunction(iid) == S_OK;
}

HRESULT ObjectControlDataPath1::QueryCameraId(ObjectDataPath1* filter, int32_t* idCamera) const
{
    try {
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetIntPointer(idCamera, sizeof(*idCamera), false);
        return filter->CallInterfaceFunction(IID_IInfoCamera, 3, &params);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Creating and deleting filters ---------------------------------------------------------------

HRESULT ObjectControlDataPath1::CreateFilters(const DynamicBoundsObject<DynamicString>& names,
                                              DynamicBoundsObject<int32_t>& indexes)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::CreateFilters"))
        return E_UNEXPECTED;
    try {
        indexes.Fill(-1);
        uint32_t entry = 0;
        for (uint32_t place = 0; place < indexes.GetCount(); ++place) {
            while (entry < kMaxFilters && m_filters.GetElement(entry) != nullptr)
                ++entry;
            if (entry >= kMaxFilters)
                throw 2;
            m_enabled.GetElement(entry) = 0;
            DynamicString path;
            const DynamicString& name = names.GetElement(place);
            if (m_plugin_folder.GetLenString() != 0)
                CreateFullPathFromFolder(path, m_plugin_folder.GetString(), name.GetString());
            else
                path = name;
            auto* filter = new ObjectDataPath1(m_instance, path.GetString());
            m_filters.GetElement(entry) = filter;
            if (!filter->IsLoaded())
                throw 1;
            m_enabled.GetElement(entry) = 1;
            indexes.GetElement(place) = static_cast<int32_t>(entry);
            if (AnswersInterface(filter, IID_ISourceFilterDataPath1))
                m_sources.GetElement(m_count_sources++) = static_cast<int32_t>(entry);
            if (entry + 1 > m_count_used_filters)
                m_count_used_filters = entry + 1;
        }
        return S_OK;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    // All or nothing: the filter that failed and every one made before it go.
    try {
        for (uint32_t entry = 0; entry < kMaxFilters; ++entry) {
            ObjectDataPath1* filter = m_filters.GetElement(entry);
            if (filter != nullptr && m_enabled.GetElement(entry) == 0) {
                m_filters.GetElement(entry) = nullptr;
                delete filter;
            }
        }
        DeleteFiltersOfCall(indexes);
    }
    CATCH_ALL_LOG()
    return E_FAIL;
}

void ObjectControlDataPath1::DeleteFiltersOfCall(DynamicBoundsObject<int32_t>& indexes)
{
    for (uint32_t place = 0; place < indexes.GetCount(); ++place) {
        const int32_t index = indexes.GetElement(place);
        if (index < 0)
            continue;
        ObjectDataPath1* filter = m_filters.GetElement(static_cast<uint32_t>(index));
        m_filters.GetElement(static_cast<uint32_t>(index)) = nullptr;
        m_enabled.GetElement(static_cast<uint32_t>(index)) = 0;
        RemoveFromSourceList(index);
        delete filter;
        indexes.GetElement(place) = -1;
    }
}

HRESULT ObjectControlDataPath1::RemoveFromSourceList(int32_t index)
{
    for (uint32_t place = 0; place < m_count_sources; ++place) {
        if (m_sources.GetElement(place) != index)
            continue;
        for (uint32_t later = place; later + 1 < m_count_sources; ++later)
            m_sources.GetElement(later) = m_sources.GetElement(later + 1);
        m_sources.GetElement(--m_count_sources) = -1;
        return S_OK;
    }
    return S_FALSE;
}

// No filter may keep a link into a filter that is gone, on either side of the link.
HRESULT ObjectControlDataPath1::ClearLinksTo(ObjectDataPath1* filter)
{
    for (uint32_t k = 0; k < m_count_used_filters; ++k) {
        ObjectDataPath1* other = m_filters.GetElement(k);
        if (other == nullptr || other == filter)
            continue;
        for (bool input : {true, false})
            for (uint32_t point = 0; point < ListConnectionPointsDataPath1::kMaxPoints; ++point) {
                InfoConnectionPointDataPath1& link = LinkPoint(other, input, point);
                if (link.m_peer == filter)
                    link.m_peer = nullptr;
            }
    }
    return S_OK;
}

HRESULT ObjectControlDataPath1::DeleteFilterFromIndex(int32_t index)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DeleteFilterFromIndex"))
        return E_UNEXPECTED;
    try {
        if (index < 0 || index >= static_cast<int32_t>(kMaxFilters))
            return E_UNEXPECTED;
        ObjectDataPath1* filter = m_filters.GetElement(static_cast<uint32_t>(index));
        if (filter == nullptr)
            return S_OK;
        const HRESULT result = filter->StopFilter();
        RemoveFromSourceList(index);
        ClearLinksTo(filter);
        m_filters.GetElement(static_cast<uint32_t>(index)) = nullptr;
        delete filter;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::DeleteFilter(ObjectDataPath1* filter)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DeleteFilter"))
        return E_UNEXPECTED;
    try {
        const int32_t index = GetIndexFilter(filter);
        return index < 0 ? E_FAIL : DeleteFilterFromIndex(index);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::DeleteAllFiltersFromThisReal(ObjectDataPath1* filter)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DeleteAllFiltersFromThisReal"))
        return E_UNEXPECTED;
    try {
        if (filter == nullptr)
            return E_INVALIDARG;
        if (GetIndexFilter(filter) < 0)
            return S_OK;
        for (uint32_t input = 0; input < CountPoints(filter, true); ++input) {
            InfoConnectionPointDataPath1& link = LinkPoint(filter, true, input);
            if (link.m_peer == nullptr)
                continue;
            const int32_t peerIndex = link.m_peer_index;
            if (peerIndex >= 0 && peerIndex < static_cast<int32_t>(ListConnectionPointsDataPath1::kMaxPoints))
                LinkPoint(link.m_peer, false, static_cast<uint32_t>(peerIndex)).m_peer = nullptr;
            link.m_peer = nullptr;
        }
        HRESULT result = S_OK;
        for (uint32_t output = 0; output < CountPoints(filter, false); ++output) {
            InfoConnectionPointDataPath1& link = LinkPoint(filter, false, output);
            ObjectDataPath1* peer = link.m_peer;
            link.m_peer = nullptr;
            if (peer != nullptr)
                result = DeleteAllFiltersFromThisReal(peer);
        }
        DeleteFilter(filter);
        for (uint32_t slot = 0; slot < kNumberMixerInputs; ++slot)
            if (m_mixer_inputs.GetElement(slot) == filter) {
                m_mixer_inputs.GetElement(slot) = nullptr;
                break;
            }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::DeleteGraphFromIDCameraReal(int32_t idCamera)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DeleteGraphFromIDCameraReal"))
        return E_UNEXPECTED;
    try {
        ObjectDataPath1* head = GetHeadFilterFromIDCamera(idCamera);
        return head == nullptr ? S_OK : DeleteAllFiltersFromThisReal(head);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::DeleteAllGraphReal()
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DeleteAllGraphReal"))
        return E_UNEXPECTED;
    try {
        for (uint32_t k = 0; k < m_count_used_filters; ++k)
            DeleteFilterFromIndex(static_cast<int32_t>(k));
        m_count_used_filters = 0;
        m_mixer_inputs.Fill(nullptr);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Links --------------------------------------------------------------------------------

HRESULT ObjectControlDataPath1::ConnectFilters(ObjectDataPath1* source, int32_t output, ObjectDataPath1* target,
                                               int32_t input)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::ConnectFilters"))
        return E_UNEXPECTED;
    try {
        if (source == nullptr || target == nullptr || GetIndexFilter(source) < 0 || GetIndexFilter(target) < 0)
            return E_INVALIDARG;
        if (output < 0 || input < 0)
            return E_UNEXPECTED;
        // Both ends are checked before either is written: a refused link leaves nothing behind.
        if (static_cast<uint32_t>(output) >= CountPoints(source, false) ||
            static_cast<uint32_t>(input) >= CountPoints(target, true))
            return E_FAIL;
        // Frames are pushed depth first along the links: a loop would never end.
        uint32_t budget = kMaxFilters * ListConnectionPointsDataPath1::kMaxPoints;
        if (ReachesDownstream(target, source, 0, budget)) {
            LOG_TEXT("ObjectControlDataPath1::ConnectFilters::the link would close a cycle, refused");
            return E_UNEXPECTED;
        }
        const HRESULT result = source->SetConnection(false, output, target, input);
        if (FAILED(result))
            return result;
        return target->SetConnection(true, input, source, output);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::DisconnectFilters(ObjectDataPath1* upstream, ObjectDataPath1* downstream)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::DisconnectFilters"))
        return E_UNEXPECTED;
    try {
        if (upstream == nullptr || downstream == nullptr)
            return E_INVALIDARG;
        const uint32_t points = ListConnectionPointsDataPath1::kMaxPoints;
        uint32_t output = 0;
        while (output < points && LinkPoint(upstream, false, output).m_peer != downstream)
            ++output;
        if (output == points)
            return S_OK;
        for (uint32_t input = 0; input < points; ++input) {
            InfoConnectionPointDataPath1& link = LinkPoint(downstream, true, input);
            if (link.m_peer == upstream) {
                link.m_peer = nullptr;
                link.m_peer_index = -1;
                break;
            }
        }
        InfoConnectionPointDataPath1& link = LinkPoint(upstream, false, output);
        link.m_peer = nullptr;
        link.m_peer_index = -1;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Lookups ------------------------------------------------------------------------------

ObjectDataPath1* ObjectControlDataPath1::GetFilterFromIDCamera(int32_t idCamera)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetFilterFromIDCamera"))
        return nullptr;
    try {
        for (uint32_t k = 0; k < m_count_used_filters; ++k) {
            ObjectDataPath1* filter = m_filters.GetElement(k);
            if (!AnswersInterface(filter, IID_IInfoCamera))
                continue;
            int32_t reported = 0;
            if (SUCCEEDED(QueryCameraId(filter, &reported)) && reported == idCamera)
                return filter;
        }
        return nullptr;
    }
    CATCH_ALL_RETURN(nullptr)
}

ObjectDataPath1* ObjectControlDataPath1::GetHeadFilterFromIDCamera(int32_t idCamera)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetHeadFilterFromIDCamera"))
        return nullptr;
    try {
        ObjectDataPath1* head = GetFilterFromIDCamera(idCamera);
        // Bounded by the table size, so that a cycle of links cannot hold the worker.
        for (uint32_t steps = 0; head != nullptr && steps < kMaxFilters; ++steps) {
            if (CountPoints(head, true) < 1)
                break;
            ObjectDataPath1* peer = LinkPoint(head, true, 0).m_peer;
            if (peer == nullptr || GetIndexFilter(peer) < 0 || CountPoints(peer, false) >= 2)
                break;
            head = peer;
        }
        return head;
    }
    CATCH_ALL_RETURN(nullptr)
}

// Pre-order, depth first along the outputs. A match that does not yet bring the counter above 0
// is passed over and the walk goes on below it, so later occurrences along a chain are found.
ObjectDataPath1* ObjectControlDataPath1::FindFilterWithInterface(ObjectDataPath1* start, int32_t* counter, GUID iid)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::FindFilterWithInterface"))
        return nullptr;
    return FindFilterWithInterfaceBelow(start, counter, iid, 0);
}

// Bounded by the table size, so that a cycle of links cannot exhaust the worker's stack.
ObjectDataPath1* ObjectControlDataPath1::FindFilterWithInterfaceBelow(ObjectDataPath1* start, int32_t* counter,
                                                                      const GUID& iid, uint32_t depth)
{
    try {
        if (counter == nullptr || depth >= kMaxFilters)
            return nullptr;
        for (uint32_t k = 0; k < m_count_used_filters; ++k) {
            ObjectDataPath1* filter = m_filters.GetElement(k);
            if (filter == nullptr || (start != nullptr && filter != start))
                continue;
            if (AnswersInterface(filter, iid) && ++*counter > 0)
                return filter;
            for (uint32_t output = 0; output < CountPoints(filter, false); ++output) {
                ObjectDataPath1* peer = LinkPoint(filter, false, output).m_peer;
                if (peer == nullptr)
                    continue;
                if (ObjectDataPath1* found = FindFilterWithInterfaceBelow(peer, counter, iid, depth + 1))
                    return found;
            }
        }
        return nullptr;
    }
    CATCH_ALL_RETURN(nullptr)
}

HRESULT ObjectControlDataPath1::GetAllFiltersWithInterfaceReal(GUID iid, MemoryBlockClass<ObjectDataPath1*>* list)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetAllFiltersWithInterfaceReal"))
        return E_UNEXPECTED;
    if (list == nullptr)
        return E_INVALIDARG;
    if (iid == GUID_NULL)
        return E_UNEXPECTED;
    try {
        list->Free();
        if (m_count_used_filters == 0)
            return S_OK;
        if (FAILED(list->CreateBlock(m_count_used_filters)))
            return E_FAIL;
        uint32_t stored = 0;
        for (uint32_t k = 0; k < m_count_used_filters; ++k) {
            ObjectDataPath1* filter = m_filters.GetElement(k);
            if (AnswersInterface(filter, iid))
                *list->GetPointerFromOffset(stored++) = filter;
        }
        return list->ReallocBlock(stored);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        list->Free();
        return E_FAIL;
    }
}

HRESULT ObjectControlDataPath1::GetAllIDCameraFromFiltersReal(MemoryBlockClass<int32_t>* list)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetAllIDCameraFromFiltersReal"))
        return E_UNEXPECTED;
    if (list == nullptr)
        return E_INVALIDARG;
    try {
        list->Free();
        MemoryBlockClass<ObjectDataPath1*> cameras;
        HRESULT result = GetAllFiltersWithInterfaceReal(IID_IInfoCamera, &cameras);
        if (FAILED(result) || cameras.GetSize() == 0)
            return result;
        if (FAILED(list->CreateBlock(cameras.GetSize())))
            return E_FAIL;
        uint32_t stored = 0;
        for (uint32_t k = 0; k < cameras.GetSize(); ++k) {
            ObjectDataPath1* filter = *cameras.GetPointerFromOffset(k);
            if (filter->QueryInterfaceFunction(IID_IInfoCamera) < 0)
                continue;
            int32_t idCamera = 0;
            result = QueryCameraId(filter, &idCamera);
            if (SUCCEEDED(result))
                *list->GetPointerFromOffset(stored++) = idCamera;
        }
        list->ReallocBlock(stored);
        return result;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        list->Free();
        return E_FAIL;
    }
}

HRESULT ObjectControlDataPath1::GetAllIDObjectsFromFiltersReal(DynamicBoundsObject<int32_t>* list)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetAllIDObjectsFromFiltersReal"))
        return E_UNEXPECTED;
    if (list == nullptr)
        return E_INVALIDARG;
    try {
        list->SetSize(m_count_used_filters);
        uint32_t stored = 0;
        for (uint32_t k = 0; k < m_count_used_filters; ++k)
            if (m_filters.GetElement(k) != nullptr)
                list->GetElement(stored++) = static_cast<int32_t>(k);
        return list->SetSize(stored);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        list->SetSize(0);
        return E_FAIL;
    }
}

// ---- Running and stopping ----------------------------------------------------------------

HRESULT ObjectControlDataPath1::RunReal()
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::RunReal"))
        return E_UNEXPECTED;
    try {
        m_run_state = 1;
        const HRESULT result = SetStateAllFilters(1);
        for (uint32_t k = 0; k < kMaxTimingEntries; ++k)
            m_timing.GetElement(k).Reset();
        m_count_timing = 0;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::StopReal()
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::StopReal"))
        return E_UNEXPECTED;
    try {
        m_run_state = 0;
        return SetStateAllFilters(0);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::GetStateObjectReal(int32_t* state)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetStateObjectReal"))
        return E_UNEXPECTED;
    if (state != nullptr)
        *state = m_run_state;
    return S_OK;
}

// Sources first, then the filters that do not know the source interface.
HRESULT ObjectControlDataPath1::SetStateAllFilters(int32_t state)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::SetStateAllFilters"))
        return E_UNEXPECTED;
    try {
        if (state != 0 && state != 1)
            return E_UNEXPECTED;
        HRESULT result = S_OK;
        for (bool sources : {true, false})
            for (uint32_t k = 0; k < m_count_used_filters; ++k) {
                ObjectDataPath1* filter = m_filters.GetElement(k);
                if (filter == nullptr)
                    continue;
                result = filter->QueryInterfaceFunction(IID_ISourceFilterDataPath1);
                if (sources ? result != S_OK : result >= 0)
                    continue;
                result = state == 1 ? filter->RunFilter() : filter->StopFilter();
            }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
