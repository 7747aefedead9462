// Free functions on a DirectShow graph: find device filters by friendly name and add them, list
// a graph's filters and a filter's pins, connect them and take dead ends out again. Every
// function catches everything, logs it and answers E_FAIL; null arguments give E_INVALIDARG
// unless a function says otherwise.
#pragma once

#include "SmartComPointer.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>

// A list keeps one reference on each filter and releases it when the list goes.
using ListFiltersGraph = DynamicBoundsObject<SmartComPointer<IBaseFilter>>;
using ListPinIdsGraph = DynamicBoundsObject<std::wstring>;

// Pin directions as the functions take them: PINDIR_INPUT 0, PINDIR_OUTPUT 1.
constexpr int32_t kDirectionInputGraph = PINDIR_INPUT;
constexpr int32_t kDirectionOutputGraph = PINDIR_OUTPUT;

// Decides for RemoveDeadEndFilters whether a filter goes.
using TestDeadEndFilterGraph = bool (*)(IBaseFilter* filter);

// The device of the category whose friendly name equals the name (narrow text), the ordinal-th
// among devices of that name in enumeration order. E_FAIL and a null filter for an empty category
// or no match; a failure of the enumeration is returned.
HRESULT FindDeviceFilterByFriendlyName(const GUID& category, const char* friendlyName, int32_t ordinal,
                                       IBaseFilter** filter);
// Finds the device and adds it under its friendly name, or under the name followed by 0, 1, ...
// when the graph already holds that name. E_UNEXPECTED for a negative ordinal. The caller owns the
// reference in *filter.
HRESULT AddFilterByFriendlyName(IGraphBuilder* graph, IBaseFilter** filter, const char* friendlyName,
                                const GUID& category, int32_t ordinal);
// E_FAIL for an empty filter or file name.
HRESULT AddSourceFilterForFile(IGraphBuilder* graph, IBaseFilter** filter, const char* filterName,
                               const char* fileName);

// The graph's filters that expose the interface; S_FALSE at the normal end.
HRESULT GetFiltersWithInterface(IGraphBuilder* graph, ListFiltersGraph& list, const IID& iid);
// The graph's filters without a connected pin of the direction; E_FAIL for a direction not 0 or 1.
HRESULT GetHeadFilters(IGraphBuilder* graph, ListFiltersGraph& list, int32_t direction);
// Removes the filter from the graph and releases the holder's reference (the holder is then
// empty); other holders keep theirs. On failure the holder keeps its reference.
HRESULT RemoveFilterFromGraph(IGraphBuilder* graph, SmartComPointer<IBaseFilter>& holder);

// The ids of the filter's pins of the direction, in enumeration order.
HRESULT GetPinIds(IBaseFilter* filter, ListPinIdsGraph& list, int32_t direction);
// Connects the first pair of unconnected pins (output of source, input of target) that accepts,
// trying only the named pin of a side whose id is given. The last result; E_FAIL when no pair was tried.
HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter* target, const wchar_t* sourcePinId,
                       const wchar_t* targetPinId, bool direct);
// Direct: IFilterGraph::ConnectDirect with the type (may be null); else IGraphBuilder::Connect.
HRESULT ConnectPins(IGraphBuilder* graph, IPin* output, IPin* input, const AM_MEDIA_TYPE* type, bool direct);
// S_OK when connected, S_FALSE when not.
HRESULT IsPinConnected(IPin* pin);
// The pin connected to the filter's pin of that id.
HRESULT GetConnectedPin(IBaseFilter* filter, const wchar_t* pinId, IPin** peer);
// S_OK when a pin of the direction is connected, S_FALSE when none is.
HRESULT HasConnectedPin(IBaseFilter* filter, int32_t direction);
// Depth first along the connected outputs of the filter: every downstream filter for which the
// test answers true (after its own downstream was pruned) is removed. S_FALSE for a missing argument.
HRESULT RemoveDeadEndFilters(IGraphBuilder* graph, IBaseFilter* filter, TestDeadEndFilterGraph test);
