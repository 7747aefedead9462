// The DirectDraw 7 render object of "RendaraDx7.vdr": a windowed primary surface with a clipper,
// a source surface for the frame, a conversion surface for software conversion, and a composition
// surface of the window's client size on which captions are drawn with GDI before the whole is
// blitted to the screen.
// The object holds no lock: uploads and draws come from the thread that owns the output window.
#pragma once

#include "GeneralVideoRendererObject.h"

#include <ddraw.h>

inline constexpr const char* kRendaraDx7Name = "Output from DDraw7";

// The DirectDraw entry points the object calls: the system's, or test doubles.
struct DirectDrawEntryPoints
{
    HRESULT(WINAPI* enumerate)(LPDDENUMCALLBACKA callback, LPVOID context);
    HRESULT(WINAPI* create)(GUID* device, LPVOID* directDraw, REFIID iid, IUnknown* outer);
};

class VideoRendererObjectDx7 : public GeneralVideoRendererObject
{
public:
    explicit VideoRendererObjectDx7(const char* name = kRendaraDx7Name);
    ~VideoRendererObjectDx7() override;

    HRESULT RebuildBackSurface() override;
    HRESULT RebuildSourceSurface() override;
    HRESULT AttachPrimarySurface() override;
    HRESULT InitDevice() override;
    HRESULT DrawFrame(InfoDataBufferPath1* display, uint8_t* needsInit) override;
    HRESULT CheckConvertSurface() override;
    HRESULT UploadFrame(const BYTE* data, int32_t size, const VIDEOINFOHEADER* header) override;

    // Takes effect at the next InitDevice.
    void SetDirectDrawEntryPoints(const DirectDrawEntryPoints& entryPoints) { m_entry_points = entryPoints; }

    IDirectDrawSurface7* m_primary = nullptr;
    IDirectDraw7* m_direct_draw = nullptr;
    IDirectDrawClipper* m_clipper = nullptr;
    IDirectDrawSurface7* m_source = nullptr;
    IDirectDrawSurface7* m_back = nullptr;
    IDirectDrawSurface7* m_convert = nullptr;
    COLORREF m_caption_background = 0xC89696;
    DynamicBoundsObject<uint8_t> m_reserved_array;

private:
    HRESULT ReleaseDevice();
    HRESULT CreateDirectDraw();
    HRESULT CreateClipper();
    // Detaches the clipper from the primary surface and releases the primary surface.
    HRESULT ReleasePrimarySurface();
    HRESULT CreateSurface(DDSURFACEDESC2& description, IDirectDrawSurface7*& surface);
    // Releases the surface (E_FAIL when references remain), creates it anew and fills it grey.
    HRESULT RecreateSurface(DDSURFACEDESC2& description, IDirectDrawSurface7*& surface);
    HRESULT DescribeSourceSurface(DDSURFACEDESC2& description);
    HRESULT ReleaseStaleConvertSurface(const DDSURFACEDESC2& source, const DDSURFACEDESC2& back);
    HRESULT ConvertFrame(const BYTE* data, int32_t size, const VIDEOINFOHEADER& header);
    HRESULT CopyFrameToSource(const BYTE* data, int32_t size, const VIDEOINFOHEADER& header);

    // Drawing steps of DrawFrame.
    HRESULT RestoreDrawSurfaces(uint8_t* needsInit);
    HRESULT ComposeFrame();
    bool HasOverlays() const;
    HRESULT DrawOverlays(const InfoDataBufferPath1& display);
    HRESULT Present(const RECT& screen);
    void DrawOutline(HDC dc, const DDSURFACEDESC2& back) const;
    void DrawCaptionLines(HDC dc, const InfoDataBufferPath1& display);
    void DrawStatusCaptions(HDC dc) const;
    void DrawCaption(HDC dc, const char* text, RECT rect, COLORREF colour, UINT format) const;

    DirectDrawEntryPoints m_entry_points;
};
