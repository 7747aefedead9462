// The driver's side of the virtual-camera shared buffer, for tests and benchmarks: opens the
// section and mutex of a driver kind by name (creating them first when the mixer has not, as the
// driver does), tells the largest size it accepts, and takes frames. Not shipped.
#pragma once

#include "SharedInfoBetweenPlexamoDriverAndApplication.h"

#include <windows.h>

#include <cstdint>

// What the driver found in the section.
struct VirtualCameraFrameReport
{
    int32_t flag = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    // Of the visible bytes of each row (2 x width), rows top first; 0 when no frame was waiting.
    uint64_t digest = 0;
};

// FNV-1a over 2 x width bytes of each of the rows.
uint64_t DigestYuy2Rows(const BYTE* data, int32_t width, int32_t height, int32_t stride);

class VirtualCameraDriverDouble
{
public:
    VirtualCameraDriverDouble() = default;
    ~VirtualCameraDriverDouble() { Close(); }
    VirtualCameraDriverDouble(const VirtualCameraDriverDouble&) = delete;
    VirtualCameraDriverDouble& operator=(const VirtualCameraDriverDouble&) = delete;

    // Opens (or creates with the size) the kind's section and mutex; E_FAIL when not possible.
    HRESULT Open(int32_t kind, uint32_t createSize = kPlexamoSectionSize);
    void Close();

    // Each of these takes the mutex for its span; E_FAIL when it is not had within the wait.
    HRESULT SetLargestSize(int32_t width, int32_t height);
    // Reports the header and the digest of a waiting frame; with take set, clears the flag.
    HRESULT ReadFrame(VirtualCameraFrameReport& report, bool take);
    // The luma of the pixel and the chroma pair it shares, of the waiting frame; E_INVALIDARG when
    // no frame waits or the pixel lies outside it.
    HRESULT ReadPixel(int32_t x, int32_t y, int32_t yuv[3]);

    // Holds the mutex until Release (the same thread), as a driver that hangs would.
    HRESULT Hold();
    void Release();

    static constexpr DWORD kWaitMilliseconds = 10000;

private:
    InfoBetweenPlexamoDriverAndApplication& Header() { return *reinterpret_cast<InfoBetweenPlexamoDriverAndApplication*>(m_view); }

    HANDLE m_mapping = nullptr;
    HANDLE m_mutex = nullptr;
    BYTE* m_view = nullptr;
    uint32_t m_size = 0;
};
