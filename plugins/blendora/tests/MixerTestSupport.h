// The mixer loaded through the data path's filter proxy, as a path loads it, with its interfaces'
// calls; frames with patterned child planes and the bytes the driver should receive from them;
// and the test double of the driver, a process of its own.
#pragma once

#include "InfoFilterStateBlendora1.h"
#include "ObjectDataPath1.h"
#include "TestVideoFrames.h"
#include "VirtualCameraDriverDouble.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class MixerFilter
{
public:
    MixerFilter();
    ~MixerFilter();
    MixerFilter(const MixerFilter&) = delete;
    MixerFilter& operator=(const MixerFilter&) = delete;

    bool IsLoaded() const { return m_proxy.IsLoaded(); }
    ObjectDataPath1& Proxy() { return m_proxy; }
    // The instance's state, read as the plug-in keeps it.
    InfoFilterStateBlendora1& State();

    HRESULT EnableInput(int32_t input, bool enabled = true);
    HRESULT SetLevel(int32_t which, float value);
    HRESULT SetOption(int32_t option, int32_t value);
    HRESULT LoadRecord(int32_t kind, InfoBackgroundEffectForMixerFilter* record, int32_t size);
    HRESULT SetMode(uint32_t mode);
    HRESULT GetMode(int32_t* mode);

    // The events the transform raised stay in Events() until the next transform.
    HRESULT Transform(InfoDataBufferPath1& frame, int32_t input);
    HRESULT TransformWithEvents(InfoDataBufferPath1& frame, int32_t input, ListEventsDataPath1& events);
    const ListEventsDataPath1& Events() const { return m_events; }
    // The state bytes of the driver-state events of the last transform.
    std::vector<int> DriverStates() const;

private:
    HRESULT Call(const GUID& iid, int32_t method, ListParamsDataPath1& params);

    ObjectDataPath1 m_proxy;
    ListEventsDataPath1 m_events;
};

// Deletes the events of the list and empties it.
void DeleteEvents(ListEventsDataPath1& events);

// A YUY2 (or grey) frame whose child planes hold a pattern with samples below 0 and above 255.
void MakePatternFrame(InfoDataBufferPath1& frame, int width, int height, TestFrameFormat format = TestFrameFormat::Yuy2);
// The digest of the YUY2 rows the driver should receive from a level of the frame.
uint64_t ExpectedDriverDigest(InfoDataBufferPath1& frame, int level);

// The driver double as a process of its own; it ends with this one.
class VirtualCameraReader
{
public:
    VirtualCameraReader();
    ~VirtualCameraReader();
    VirtualCameraReader(const VirtualCameraReader&) = delete;
    VirtualCameraReader& operator=(const VirtualCameraReader&) = delete;

    bool IsRunning() const { return m_process != nullptr; }
    // One command, its answer line.
    std::string Command(const std::string& line);
    // "read" or "peek", parsed; flag -1 when the answer was an error.
    VirtualCameraFrameReport Read(bool take = true);
    // After a command that ends the process.
    bool WaitForExit();

private:
    HANDLE m_process = nullptr;
    HANDLE m_input = nullptr;
    HANDLE m_output = nullptr;
};
