// Helpers shared by the graph layer's own units.
#pragma once

#include "SmartComPointer.h"

#include "KestrelDebugFunct.h"

#include <windows.h>
#include <dshow.h>

#include <string>

std::wstring WidenText(const char* text);
// The class enumerator of the system device enumerator for the category: S_OK with an
// enumerator, S_FALSE without one for an empty category, or the failure.
HRESULT CreateDeviceEnumerator(const GUID& category, SmartComPointer<IEnumMoniker>& monikers);
// The "FriendlyName" of the device's property bag as narrow text.
HRESULT ReadMonikerFriendlyName(IMoniker* moniker, DynamicString& name);
// Walks the enumerator from its start, handing each item to visit (a failure of visit ends the
// walk with it). An enumerator that falls out of step with its collection starts again, at most 16
// times, after restart has dropped what was collected. S_FALSE at the normal end.
template <class Item, class Enumerator, class Visit, class Restart>
HRESULT WalkEnumeration(Enumerator* enumerator, Visit visit, Restart restart)
{
    constexpr int kMaxRestarts = 16;
    enumerator->Reset();
    int restarts = 0;
    for (;;) {
        Item* next = nullptr;
        const HRESULT result = enumerator->Next(1, &next, nullptr);
        if (result == VFW_E_ENUM_OUT_OF_SYNC && ++restarts <= kMaxRestarts) {
            restart();
            enumerator->Reset();
            continue;
        }
        if (result != S_OK)
            return FAILED(result) ? result : S_FALSE;
        SmartComPointer<Item> item;
        item.Attach(next);
        const HRESULT visited = visit(item.Get());
        if (FAILED(visited))
            return visited;
    }
}

// Frees a media type that DirectShow allocated: its format block, its interface and itself.
void DeleteMediaTypeGraph(AM_MEDIA_TYPE* type);
