// Test doubles of DirectDraw 7 (the device, surfaces and clippers) for the paths Wine cannot
// provoke: chosen capabilities, FOURCC surfaces, lost surfaces, mode changes and failing blits.
// Pixels live in guarded memory with rows exactly as wide as the picture, so a write past the
// last row faults at once. Nothing is freed before the system object: tests read released
// objects and check that every reference was given back.
#pragma once

#include "SwordBuffers.h"

#include <windows.h>
#include <ddraw.h>

#include <memory>
#include <optional>
#include <vector>

class FakeDirectDrawSystem;

class FakeClipper : public IDirectDrawClipper
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE GetClipList(LPRECT, LPRGNDATA, LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetHWnd(HWND* window) override;
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW, DWORD) override { return DDERR_ALREADYINITIALIZED; }
    HRESULT STDMETHODCALLTYPE IsClipListChanged(WINBOOL*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE SetClipList(LPRGNDATA, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE SetHWnd(DWORD, HWND window) override;

    LONG m_refs = 1;
    HWND m_window = nullptr;
};

class FakeSurface : public IDirectDrawSurface7
{
public:
    FakeSurface(DWORD width, DWORD height, const DDPIXELFORMAT& format, DWORD caps);
    ~FakeSurface();

    uint32_t BytesPerPixel() const { return m_bytes_per_pixel; }
    BYTE* Row(DWORD y) const { return m_memory->Bytes() + static_cast<size_t>(y) * m_pitch; }
    // The pixel as 0x00RRGGBB (32-bit surfaces).
    uint32_t Pixel(DWORD x, DWORD y) const;
    bool IsPrimary() const { return (m_caps & DDSCAPS_PRIMARYSURFACE) != 0; }
    bool IsFourcc() const { return (m_format.dwFlags & DDPF_FOURCC) != 0; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override;
    // What the render object uses.
    HRESULT STDMETHODCALLTYPE Blt(LPRECT target, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags,
                                  LPDDBLTFX effects) override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceDesc(LPDDSURFACEDESC2 description) override;
    HRESULT STDMETHODCALLTYPE IsLost() override { return m_lost ? DDERR_SURFACELOST : DD_OK; }
    HRESULT STDMETHODCALLTYPE Lock(LPRECT rect, LPDDSURFACEDESC2 description, DWORD flags, HANDLE event) override;
    HRESULT STDMETHODCALLTYPE Unlock(LPRECT) override;
    HRESULT STDMETHODCALLTYPE Restore() override;
    HRESULT STDMETHODCALLTYPE SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    // The rest is not used.
    HRESULT STDMETHODCALLTYPE AddAttachedSurface(LPDIRECTDRAWSURFACE7) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE AddOverlayDirtyRect(LPRECT) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE BltBatch(LPDDBLTBATCH, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE BltFast(DWORD, DWORD, LPDIRECTDRAWSURFACE7, LPRECT, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DeleteAttachedSurface(DWORD, LPDIRECTDRAWSURFACE7) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumAttachedSurfaces(LPVOID, LPDDENUMSURFACESCALLBACK7) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumOverlayZOrders(DWORD, LPVOID, LPDDENUMSURFACESCALLBACK7) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE Flip(LPDIRECTDRAWSURFACE7, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetAttachedSurface(LPDDSCAPS2, LPDIRECTDRAWSURFACE7*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetBltStatus(DWORD) override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDSCAPS2) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetClipper(LPDIRECTDRAWCLIPPER*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetColorKey(DWORD, LPDDCOLORKEY) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetFlipStatus(DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetOverlayPosition(LPLONG, LPLONG) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetPalette(LPDIRECTDRAWPALETTE*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetPixelFormat(LPDDPIXELFORMAT) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE Initialize(LPDIRECTDRAW, LPDDSURFACEDESC2) override { return DDERR_ALREADYINITIALIZED; }
    HRESULT STDMETHODCALLTYPE SetColorKey(DWORD, LPDDCOLORKEY) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE SetOverlayPosition(LONG, LONG) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE SetPalette(LPDIRECTDRAWPALETTE) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE UpdateOverlay(LPRECT, LPDIRECTDRAWSURFACE7, LPRECT, DWORD, LPDDOVERLAYFX) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE UpdateOverlayDisplay(DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE UpdateOverlayZOrder(DWORD, LPDIRECTDRAWSURFACE7) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetDDInterface(LPVOID*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE PageLock(DWORD) override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE PageUnlock(DWORD) override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE SetSurfaceDesc(LPDDSURFACEDESC2, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, LPVOID, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, LPVOID, LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetUniquenessValue(LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE ChangeUniquenessValue() override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE SetPriority(DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetPriority(LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE SetLOD(DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetLOD(LPDWORD) override { return DDERR_UNSUPPORTED; }

    DWORD m_width, m_height, m_pitch;
    DDPIXELFORMAT m_format;
    DWORD m_caps;
    LONG m_refs = 1;
    bool m_lost = false;
    // Answer of Restore; DD_OK also makes the surface usable again.
    HRESULT m_restore_result = DD_OK;
    // Answer of blits from another surface.
    HRESULT m_copy_blit_result = DD_OK;
    int m_restore_count = 0;
    int m_lock_count = 0;
    int m_copy_blit_count = 0;
    int m_colour_fill_count = 0;
    DWORD m_last_lock_flags = 0;
    FakeClipper* m_clipper = nullptr;

private:
    HRESULT CopyFrom(const RECT& target, const FakeSurface& source, const RECT& sourceRect);
    void Fill(const RECT& target, DWORD colour);
    uint32_t SourcePixel(DWORD x, DWORD y) const;

    uint32_t m_bytes_per_pixel;
    std::unique_ptr<GuardedBuffer> m_memory;
    HDC m_dc = nullptr;
    HBITMAP m_dib = nullptr;
    HGDIOBJ m_previous_bitmap = nullptr;
    BYTE* m_dib_bits = nullptr;
};

class FakeDirectDraw : public IDirectDraw7
{
public:
    explicit FakeDirectDraw(FakeDirectDrawSystem& system) : m_system(system) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE CreateClipper(DWORD, LPDIRECTDRAWCLIPPER* clipper, IUnknown*) override;
    HRESULT STDMETHODCALLTYPE CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE7* surface, IUnknown*) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Compact() override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE CreatePalette(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE DuplicateSurface(LPDIRECTDRAWSURFACE7, LPDIRECTDRAWSURFACE7*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDisplayModes(DWORD, LPDDSURFACEDESC2, LPVOID, LPDDENUMMODESCALLBACK2) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumSurfaces(DWORD, LPDDSURFACEDESC2, LPVOID, LPDDENUMSURFACESCALLBACK7) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE FlipToGDISurface() override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE GetDisplayMode(LPDDSURFACEDESC2) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetFourCCCodes(LPDWORD, LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetGDISurface(LPDIRECTDRAWSURFACE7*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetMonitorFrequency(LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetScanLine(LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetVerticalBlankStatus(WINBOOL*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE Initialize(GUID*) override { return DDERR_ALREADYINITIALIZED; }
    HRESULT STDMETHODCALLTYPE RestoreDisplayMode() override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE SetDisplayMode(DWORD, DWORD, DWORD, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE WaitForVerticalBlank(DWORD, HANDLE) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetAvailableVidMem(LPDDSCAPS2, LPDWORD, LPDWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE GetSurfaceFromDC(HDC, LPDIRECTDRAWSURFACE7*) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE RestoreAllSurfaces() override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override { return DD_OK; }
    HRESULT STDMETHODCALLTYPE GetDeviceIdentifier(LPDDDEVICEIDENTIFIER2, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE StartModeTest(LPSIZE, DWORD, DWORD) override { return DDERR_UNSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EvaluateMode(DWORD, DWORD*) override { return DDERR_UNSUPPORTED; }

    LONG m_refs = 1;
    HWND m_cooperative_window = nullptr;
    DWORD m_cooperative_flags = 0;

private:
    FakeDirectDrawSystem& m_system;
};

// What the fakes answer, and every object they made. One system is current at a time; the two
// entry points below work on it.
class FakeDirectDrawSystem
{
public:
    FakeDirectDrawSystem();
    ~FakeDirectDrawSystem();

    static HRESULT WINAPI Enumerate(LPDDENUMCALLBACKA callback, LPVOID context);
    static HRESULT WINAPI Create(GUID* device, LPVOID* directDraw, REFIID iid, IUnknown* outer);

    FakeDirectDraw* LastDirectDraw() const { return m_direct_draws.empty() ? nullptr : m_direct_draws.back().get(); }
    // Whether every object made was released as often as it was referenced.
    bool AllReleased() const;

    // Settings.
    DWORD m_caps = DDCAPS_BLT;
    DWORD m_caps2 = 0;
    DWORD m_screen_width = 640;
    DWORD m_screen_height = 480;
    // Devices handed to the enumeration callback; an empty one is the display's null identifier.
    std::vector<std::optional<GUID>> m_devices;

    // Observations.
    int m_create_calls = 0;
    std::optional<GUID> m_created_device;
    std::vector<std::unique_ptr<FakeSurface>> m_surfaces;
    std::vector<std::unique_ptr<FakeClipper>> m_clippers;
    std::vector<std::unique_ptr<FakeDirectDraw>> m_direct_draws;

private:
    static FakeDirectDrawSystem* s_current;
};
