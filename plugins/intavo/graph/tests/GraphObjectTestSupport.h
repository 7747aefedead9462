// Shared set-up of the graph object and facade tests: source descriptions, frames and waits.
#pragma once

#include "ClassDirectAcessToDriver.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <windows.h>

#include <functional>
#include <string>

// A capture device of the video input category, by friendly name and ordinal.
InfoNeedInterface MakeDeviceSource(const wchar_t* friendlyName, int32_t ordinal);
InfoNeedInterface MakeFileSource(const std::string& path);
InfoNeedInterface MakeOwnSource(int32_t kind);

// Asks until the condition holds or the time is up; whether it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Fetches frames until one arrives; whether one did.
bool FetchFrame(ClassDirectAcessToDriver& driver, InfoDataBufferPath1& frame, DWORD timeoutMs);
// Returns once every message sent to the graph thread before it has been handled.
void SyncWithGraphThread(ClassDirectAcessToDriver& driver);
