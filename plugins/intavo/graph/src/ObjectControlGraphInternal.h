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
// Frees a media type that DirectShow allocated: its format block, its interface and itself.
void DeleteMediaTypeGraph(AM_MEDIA_TYPE* type);
