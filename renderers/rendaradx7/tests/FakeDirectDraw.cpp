#include "FakeDirectDraw.h"

#include <cstring>

FakeDirectDrawSystem* FakeDirectDrawSystem::s_current = nullptr;

namespace {

RECT WholeSurface(const FakeSurface& surface)
{
    return RECT{0, 0, static_cast<LONG>(surface.m_width), static_cast<LONG>(surface.m_height)};
}

bool IsInside(const RECT& rect, const FakeSurface& surface)
{
    return rect.left >= 0 && rect.top >= 0 && rect.left < rect.right && rect.top < rect.bottom &&
           rect.right <= static_cast<LONG>(surface.m_width) && rect.bottom <= static_cast<LONG>(surface.m_height);
}

// A target rectangle cut to the surface, as a clipper would.
RECT ClipToSurface(const RECT& rect, const FakeSurface& surface)
{
    RECT clipped;
    const RECT whole = WholeSurface(surface);
    if (!IntersectRect(&clipped, &rect, &whole))
        return RECT{};
    return clipped;
}

uint32_t BytesPerPixelOf(const DDPIXELFORMAT& format)
{
    if ((format.dwFlags & DDPF_FOURCC) != 0)
        return 2;
    return format.dwRGBBitCount / 8;
}

} // namespace

// ---- FakeClipper ------------------------------------------------------------------------------

HRESULT FakeClipper::GetHWnd(HWND* window)
{
    *window = m_window;
    return DD_OK;
}

HRESULT FakeClipper::SetHWnd(DWORD, HWND window)
{
    m_window = window;
    return DD_OK;
}

// ---- FakeSurface ------------------------------------------------------------------------------

FakeSurface::FakeSurface(DWORD width, DWORD height, const DDPIXELFORMAT& format, DWORD caps)
    : m_width(width), m_height(height), m_format(format), m_caps(caps), m_bytes_per_pixel(BytesPerPixelOf(format))
{
    m_pitch = m_width * m_bytes_per_pixel;
    m_memory = std::make_unique<GuardedBuffer>(static_cast<size_t>(m_pitch) * m_height);
    std::memset(m_memory->Bytes(), 0, m_memory->Size());
}

FakeSurface::~FakeSurface()
{
    if (m_dc != nullptr)
        ReleaseDC(m_dc);
}

ULONG FakeSurface::Release()
{
    const LONG refs = --m_refs;
    if (refs == 0 && m_clipper != nullptr) {
        m_clipper->Release();
        m_clipper = nullptr;
    }
    return refs;
}

uint32_t FakeSurface::Pixel(DWORD x, DWORD y) const
{
    uint32_t pixel = 0;
    std::memcpy(&pixel, Row(y) + static_cast<size_t>(x) * 4, sizeof(pixel));
    return pixel & 0xFFFFFF;
}

uint32_t FakeSurface::SourcePixel(DWORD x, DWORD y) const
{
    // A YUY2 source stands for what a blitter that converts would show: grey of its luma.
    if (IsFourcc())
        return Row(y)[2 * x] * 0x010101u;
    return Pixel(x, y);
}

void FakeSurface::Fill(const RECT& target, DWORD colour)
{
    for (LONG y = target.top; y < target.bottom; ++y)
        for (LONG x = target.left; x < target.right; ++x)
            std::memcpy(Row(y) + static_cast<size_t>(x) * m_bytes_per_pixel, &colour, m_bytes_per_pixel);
}

HRESULT FakeSurface::CopyFrom(const RECT& target, const FakeSurface& source, const RECT& sourceRect)
{
    if (m_bytes_per_pixel != 4 || !IsInside(sourceRect, source))
        return DDERR_INVALIDRECT;
    const RECT clipped = ClipToSurface(target, *this);
    const LONG targetWidth = target.right - target.left, targetHeight = target.bottom - target.top;
    const LONG sourceWidth = sourceRect.right - sourceRect.left, sourceHeight = sourceRect.bottom - sourceRect.top;
    for (LONG y = clipped.top; y < clipped.bottom; ++y)
        for (LONG x = clipped.left; x < clipped.right; ++x) {
            const LONG sx = sourceRect.left + (x - target.left) * sourceWidth / targetWidth;
            const LONG sy = sourceRect.top + (y - target.top) * sourceHeight / targetHeight;
            const uint32_t pixel = source.SourcePixel(sx, sy);
            std::memcpy(Row(y) + static_cast<size_t>(x) * 4, &pixel, sizeof(pixel));
        }
    return DD_OK;
}

HRESULT FakeSurface::Blt(LPRECT target, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD flags, LPDDBLTFX effects)
{
    if (m_lost)
        return DDERR_SURFACELOST;
    const RECT targetRect = target != nullptr ? *target : WholeSurface(*this);
    if ((flags & DDBLT_COLORFILL) != 0) {
        if (effects == nullptr)
            return DDERR_INVALIDPARAMS;
        ++m_colour_fill_count;
        Fill(ClipToSurface(targetRect, *this), effects->dwFillColor);
        return DD_OK;
    }
    ++m_copy_blit_count;
    if (FAILED(m_copy_blit_result))
        return m_copy_blit_result;
    // As Wine: a raster-operation blit needs its effects record.
    if (source == nullptr || (flags & DDBLT_ROP) == 0 || effects == nullptr || effects->dwROP != SRCCOPY)
        return DDERR_INVALIDPARAMS;
    auto* from = static_cast<FakeSurface*>(source);
    if (from->m_lost)
        return DDERR_SURFACELOST;
    return CopyFrom(targetRect, *from, sourceRect != nullptr ? *sourceRect : WholeSurface(*from));
}

HRESULT FakeSurface::GetDC(HDC* dc)
{
    if (m_lost)
        return DDERR_SURFACELOST;
    if (m_dc != nullptr || m_bytes_per_pixel != 4 || IsFourcc())
        return DDERR_CANTCREATEDC;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(m_width);
    info.bmiHeader.biHeight = -static_cast<LONG>(m_height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_dib == nullptr)
        return DDERR_CANTCREATEDC;
    m_dib_bits = static_cast<BYTE*>(bits);
    std::memcpy(m_dib_bits, m_memory->Bytes(), static_cast<size_t>(m_pitch) * m_height);
    m_dc = CreateCompatibleDC(nullptr);
    m_previous_bitmap = SelectObject(m_dc, m_dib);
    *dc = m_dc;
    return DD_OK;
}

HRESULT FakeSurface::ReleaseDC(HDC dc)
{
    if (dc == nullptr || dc != m_dc)
        return DDERR_INVALIDPARAMS;
    GdiFlush();
    std::memcpy(m_memory->Bytes(), m_dib_bits, static_cast<size_t>(m_pitch) * m_height);
    SelectObject(m_dc, m_previous_bitmap);
    DeleteDC(m_dc);
    DeleteObject(m_dib);
    m_dc = nullptr;
    m_dib = nullptr;
    m_dib_bits = nullptr;
    return DD_OK;
}

HRESULT FakeSurface::GetSurfaceDesc(LPDDSURFACEDESC2 description)
{
    if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC2))
        return DDERR_INVALIDPARAMS;
    std::memset(description, 0, sizeof(*description));
    description->dwSize = sizeof(DDSURFACEDESC2);
    description->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    description->dwWidth = m_width;
    description->dwHeight = m_height;
    description->lPitch = static_cast<LONG>(m_pitch);
    description->ddpfPixelFormat = m_format;
    description->ddsCaps.dwCaps = m_caps;
    return DD_OK;
}

HRESULT FakeSurface::Lock(LPRECT rect, LPDDSURFACEDESC2 description, DWORD flags, HANDLE)
{
    if (m_lost)
        return DDERR_SURFACELOST;
    if (rect != nullptr)
        return DDERR_UNSUPPORTED;
    const HRESULT result = GetSurfaceDesc(description);
    if (FAILED(result))
        return result;
    description->dwFlags |= DDSD_LPSURFACE;
    description->lpSurface = m_memory->Bytes();
    ++m_lock_count;
    m_last_lock_flags = flags;
    return DD_OK;
}

HRESULT FakeSurface::Unlock(LPRECT)
{
    return DD_OK;
}

HRESULT FakeSurface::Restore()
{
    ++m_restore_count;
    if (m_restore_result == DD_OK)
        m_lost = false;
    return m_restore_result;
}

HRESULT FakeSurface::SetClipper(LPDIRECTDRAWCLIPPER clipper)
{
    if (clipper != nullptr)
        clipper->AddRef();
    if (m_clipper != nullptr)
        m_clipper->Release();
    m_clipper = static_cast<FakeClipper*>(clipper);
    return DD_OK;
}

// ---- FakeDirectDraw ---------------------------------------------------------------------------

HRESULT FakeDirectDraw::CreateClipper(DWORD, LPDIRECTDRAWCLIPPER* clipper, IUnknown*)
{
    m_system.m_clippers.push_back(std::make_unique<FakeClipper>());
    *clipper = m_system.m_clippers.back().get();
    return DD_OK;
}

HRESULT FakeDirectDraw::CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE7* surface, IUnknown*)
{
    if (description == nullptr || description->dwSize != sizeof(DDSURFACEDESC2) || surface == nullptr)
        return DDERR_INVALIDPARAMS;
    const DWORD caps = description->ddsCaps.dwCaps;
    if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) {
        DDPIXELFORMAT format = {};
        format.dwSize = sizeof(format);
        format.dwFlags = DDPF_RGB;
        format.dwRGBBitCount = 32;
        format.dwRBitMask = 0xFF0000;
        format.dwGBitMask = 0x00FF00;
        format.dwBBitMask = 0x0000FF;
        m_system.m_surfaces.push_back(
            std::make_unique<FakeSurface>(m_system.m_screen_width, m_system.m_screen_height, format, caps));
    }
    else {
        const DWORD needed = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        if ((description->dwFlags & needed) != needed || description->dwWidth == 0 || description->dwHeight == 0)
            return DDERR_INVALIDPARAMS;
        m_system.m_surfaces.push_back(std::make_unique<FakeSurface>(description->dwWidth, description->dwHeight,
                                                                    description->ddpfPixelFormat, caps));
    }
    *surface = m_system.m_surfaces.back().get();
    return DD_OK;
}

HRESULT FakeDirectDraw::GetCaps(LPDDCAPS driverCaps, LPDDCAPS)
{
    if (driverCaps == nullptr || driverCaps->dwSize != sizeof(DDCAPS))
        return DDERR_INVALIDPARAMS;
    driverCaps->dwCaps = m_system.m_caps;
    driverCaps->dwCaps2 = m_system.m_caps2;
    return DD_OK;
}

HRESULT FakeDirectDraw::SetCooperativeLevel(HWND window, DWORD flags)
{
    m_cooperative_window = window;
    m_cooperative_flags = flags;
    return DD_OK;
}

// ---- FakeDirectDrawSystem ---------------------------------------------------------------------

FakeDirectDrawSystem::FakeDirectDrawSystem()
{
    s_current = this;
}

FakeDirectDrawSystem::~FakeDirectDrawSystem()
{
    if (s_current == this)
        s_current = nullptr;
}

HRESULT WINAPI FakeDirectDrawSystem::Enumerate(LPDDENUMCALLBACKA callback, LPVOID context)
{
    char description[] = "Fake display";
    char name[] = "DISPLAY";
    for (std::optional<GUID>& device : s_current->m_devices)
        if (!callback(device ? &*device : nullptr, description, name, context))
            break;
    return DD_OK;
}

HRESULT WINAPI FakeDirectDrawSystem::Create(GUID* device, LPVOID* directDraw, REFIID iid, IUnknown*)
{
    FakeDirectDrawSystem& system = *s_current;
    ++system.m_create_calls;
    system.m_created_device = device != nullptr ? std::optional<GUID>(*device) : std::nullopt;
    if (!IsEqualGUID(iid, IID_IDirectDraw7))
        return DDERR_INVALIDPARAMS;
    system.m_direct_draws.push_back(std::make_unique<FakeDirectDraw>(system));
    *directDraw = static_cast<IDirectDraw7*>(system.m_direct_draws.back().get());
    return DD_OK;
}

bool FakeDirectDrawSystem::AllReleased() const
{
    for (const auto& surface : m_surfaces)
        if (surface->m_refs != 0)
            return false;
    for (const auto& clipper : m_clippers)
        if (clipper->m_refs != 0)
            return false;
    for (const auto& directDraw : m_direct_draws)
        if (directDraw->m_refs != 0)
            return false;
    return true;
}
