// Pins of a filter, their connections, and the pruning of dead-end chains.
#include "ObjectControlGraphFunction.h"

#include "ObjectControlGraphInternal.h"

#include "CatchAllLog.h"

namespace {

bool IsWantedPin(const std::wstring& id, const wchar_t* wanted)
{
    return wanted == nullptr || id == wanted;
}

void LogConnectFailure(HRESULT result, const wchar_t* sourcePinId, const wchar_t* targetPinId)
{
    DynamicString text("ConnectFilters::pins not connected: ");
    DynamicString error;
    GetTextFromErrorCodeDirectX(result, error);
    text += error;
    text += " source pin ";
    text += sourcePinId != nullptr ? DynamicString(sourcePinId) : DynamicString("(any)");
    text += " target pin ";
    text += targetPinId != nullptr ? DynamicString(targetPinId) : DynamicString("(any)");
    text.DumpString();
}

// Connects the two pins when neither is connected yet; S_FALSE when the pair was not tried.
HRESULT ConnectPinPair(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter* target, const std::wstring& outputId,
                       const std::wstring& inputId, bool direct)
{
    SmartComPointer<IPin> output;
    SmartComPointer<IPin> input;
    if (FAILED(source->FindPin(outputId.c_str(), output.ReceiveSlot())) ||
        FAILED(target->FindPin(inputId.c_str(), input.ReceiveSlot())))
        return S_FALSE;
    if (IsPinConnected(output.Get()) != S_FALSE || IsPinConnected(input.Get()) != S_FALSE)
        return S_FALSE;
    return ConnectPins(graph, output.Get(), input.Get(), nullptr, direct);
}

HRESULT AppendPinIdOfDirection(ListPinIdsGraph& list, IPin* pin, int32_t direction)
{
    PIN_DIRECTION pinDirection = PINDIR_INPUT;
    HRESULT result = pin->QueryDirection(&pinDirection);
    if (FAILED(result) || pinDirection != direction)
        return result;
    LPWSTR id = nullptr;
    result = pin->QueryId(&id);
    if (FAILED(result))
        return result;
    const std::wstring text = id != nullptr ? id : L"";
    CoTaskMemFree(id);
    const uint32_t count = list.GetCount();
    if (FAILED(list.SetSize(count + 1)))
        return E_FAIL;
    list.GetElement(count) = text;
    return S_OK;
}

HRESULT GetOwnerFilter(IPin* pin, SmartComPointer<IBaseFilter>& owner)
{
    PIN_INFO info = {};
    const HRESULT result = pin->QueryPinInfo(&info);
    if (FAILED(result))
        return result;
    owner.Attach(info.pFilter);
    return owner ? S_OK : E_FAIL;
}

} // namespace

HRESULT GetPinIds(IBaseFilter* filter, ListPinIdsGraph& list, int32_t direction)
{
    try {
        list.FreeAll();
        if (filter == nullptr)
            return E_INVALIDARG;
        SmartComPointer<IEnumPins> pins;
        const HRESULT result = filter->EnumPins(pins.ReceiveSlot());
        if (FAILED(result))
            return result;
        const HRESULT walked = WalkEnumeration<IPin>(
            pins.Get(), [&](IPin* pin) { return AppendPinIdOfDirection(list, pin, direction); },
            [&] { list.FreeAll(); });
        return walked == S_FALSE ? S_OK : walked;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConnectFilters(IGraphBuilder* graph, IBaseFilter* source, IBaseFilter* target, const wchar_t* sourcePinId,
                       const wchar_t* targetPinId, bool direct)
{
    try {
        if (graph == nullptr || source == nullptr || target == nullptr)
            return E_INVALIDARG;
        ListPinIdsGraph outputs;
        ListPinIdsGraph inputs;
        if (FAILED(GetPinIds(source, outputs, kDirectionOutputGraph)) ||
            FAILED(GetPinIds(target, inputs, kDirectionInputGraph)))
            return E_FAIL;
        HRESULT result = E_FAIL;
        for (uint32_t o = 0; o < outputs.GetCount(); ++o) {
            if (!IsWantedPin(outputs.GetElement(o), sourcePinId))
                continue;
            for (uint32_t i = 0; i < inputs.GetCount(); ++i) {
                if (!IsWantedPin(inputs.GetElement(i), targetPinId))
                    continue;
                const HRESULT pair =
                    ConnectPinPair(graph, source, target, outputs.GetElement(o), inputs.GetElement(i), direct);
                if (pair == S_FALSE)
                    continue;
                result = pair;
                if (SUCCEEDED(result))
                    return result;
                LogConnectFailure(result, sourcePinId, targetPinId);
            }
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConnectPins(IGraphBuilder* graph, IPin* output, IPin* input, const AM_MEDIA_TYPE* type, bool direct)
{
    try {
        if (graph == nullptr || output == nullptr || input == nullptr)
            return E_INVALIDARG;
        return direct ? graph->ConnectDirect(output, input, type) : graph->Connect(output, input);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT IsPinConnected(IPin* pin)
{
    try {
        if (pin == nullptr)
            return E_INVALIDARG;
        SmartComPointer<IPin> peer;
        return SUCCEEDED(pin->ConnectedTo(peer.ReceiveSlot())) && peer ? S_OK : S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetConnectedPin(IBaseFilter* filter, const wchar_t* pinId, IPin** peer)
{
    try {
        if (filter == nullptr || pinId == nullptr || peer == nullptr)
            return E_INVALIDARG;
        *peer = nullptr;
        SmartComPointer<IPin> pin;
        const HRESULT result = filter->FindPin(pinId, pin.ReceiveSlot());
        if (FAILED(result))
            return result;
        return pin->ConnectedTo(peer);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT HasConnectedPin(IBaseFilter* filter, int32_t direction)
{
    try {
        ListPinIdsGraph ids;
        HRESULT result = GetPinIds(filter, ids, direction);
        if (FAILED(result))
            return result;
        for (uint32_t k = 0; k < ids.GetCount(); ++k) {
            SmartComPointer<IPin> peer;
            if (SUCCEEDED(GetConnectedPin(filter, ids.GetElement(k).c_str(), peer.ReceiveSlot())) && peer)
                return S_OK;
        }
        return S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RemoveDeadEndFilters(IGraphBuilder* graph, IBaseFilter* filter, TestDeadEndFilterGraph test)
{
    try {
        if (graph == nullptr || filter == nullptr || test == nullptr)
            return S_FALSE;
        ListPinIdsGraph outputs;
        HRESULT result = GetPinIds(filter, outputs, kDirectionOutputGraph);
        if (FAILED(result))
            return result;
        for (uint32_t k = 0; k < outputs.GetCount(); ++k) {
            SmartComPointer<IPin> peer;
            if (FAILED(GetConnectedPin(filter, outputs.GetElement(k).c_str(), peer.ReceiveSlot())) || !peer)
                continue;
            SmartComPointer<IBaseFilter> downstream;
            result = GetOwnerFilter(peer.Get(), downstream);
            if (FAILED(result))
                return result;
            peer.ReleasePointer("RemoveDeadEndFilters::peer.ReleasePointer::1");
            result = RemoveDeadEndFilters(graph, downstream.Get(), test);
            if (FAILED(result))
                return result;
            if (test(downstream.Get())) {
                result = RemoveFilterFromGraph(graph, downstream);
                if (FAILED(result))
                    return result;
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
