// Building and releasing the DirectDraw device and the object's surfaces.
#include "VideoRendererObjectDx7.h"

#include "DirectDrawSurfaceFunct.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <cstring>

namespace {

// Surfaces ask for caps, height, width and pixel format, with no surface caps: the driver places them.
constexpr DWORD kOffscreenDescriptionFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;

BOOL CALLBACK RememberDevice(GUID* device, LPSTR /*description*/, LPSTR /*name*/, LPVOID context)
{
    // The last device with an identifier wins; the display device itself has none.
    if (device != nullptr)
        *static_cast<GUID*>(context) = *device;
    return DDENUMRET_OK;
}

bool IsZeroGuid(const GUID& guid)
{
    static const GUID zero = {};
    return std::memcmp(&guid, &zero, sizeof(GUID)) == 0;
}

DDSURFACEDESC2 OffscreenDescription(DWORD width, DWORD height, const DDPIXELFORMAT& format)
{
    DDSURFACEDESC2 description = EmptySurfaceDescription();
    description.dwFlags = kOffscreenDescriptionFlags;
    description.dwWidth = width;
    description.dwHeight = height;
    description.ddpfPixelFormat = format;
    return description;
}

} // namespace

VideoRendererObjectDx7::VideoRendererObjectDx7(const char* name)
    : GeneralVideoRendererObject(name != nullptr ? name : kRendaraDx7Name),
      m_entry_points{DirectDrawEnumerateA, DirectDrawCreateEx}
{
}

VideoRendererObjectDx7::~VideoRendererObjectDx7()
{
    try {
        ReleaseDevice();
    }
    CATCH_ALL_LOG()
}

HRESULT VideoRendererObjectDx7::ReleaseDevice()
{
    // Each pointer is dropped even when references remain elsewhere: the object no longer owns one.
    ReleaseLastReference(m_source);
    ReleaseLastReference(m_convert);
    ReleaseLastReference(m_back);
    ReleasePrimarySurface();
    ReleaseLastReference(m_clipper);
    ReleaseLastReference(m_direct_draw);
    return S_OK;
}

HRESULT VideoRendererObjectDx7::ReleasePrimarySurface()
{
    if (m_primary == nullptr)
        return S_OK;
    m_primary->SetClipper(nullptr);
    return ReleaseLastReference(m_primary);
}

HRESULT VideoRendererObjectDx7::CreateSurface(DDSURFACEDESC2& description, IDirectDrawSurface7*& surface)
{
    surface = nullptr;
    const HRESULT result = m_direct_draw->CreateSurface(&description, &surface, nullptr);
    if (FAILED(result)) {
        surface = nullptr;
        LogDirectDrawError("VideoRendererObjectDx7::CreateSurface", result);
    }
    return result;
}

HRESULT VideoRendererObjectDx7::RecreateSurface(DDSURFACEDESC2& description, IDirectDrawSurface7*& surface)
{
    if (FAILED(ReleaseLastReference(surface)))
        return E_FAIL;
    const HRESULT result = CreateSurface(description, surface);
    if (SUCCEEDED(result))
        FillSurfaceGrey(surface);
    return result;
}

HRESULT VideoRendererObjectDx7::CreateClipper()
{
    const HRESULT result = m_direct_draw->CreateClipper(0, &m_clipper, nullptr);
    if (FAILED(result)) {
        m_clipper = nullptr;
        LogDirectDrawError("VideoRendererObjectDx7::CreateClipper", result);
    }
    return result;
}

HRESULT VideoRendererObjectDx7::CreateDirectDraw()
{
    GUID device = {};
    if (m_entry_points.enumerate == nullptr || m_entry_points.create == nullptr)
        return E_FAIL;
    const HRESULT enumerated = m_entry_points.enumerate(RememberDevice, &device);
    if (FAILED(enumerated))
        LogDirectDrawError("VideoRendererObjectDx7::InitDevice: DirectDrawEnumerateA", enumerated);
    // No device with an identifier: null asks for the active display.
    HRESULT result = m_entry_points.create(IsZeroGuid(device) ? nullptr : &device,
                                           reinterpret_cast<void**>(&m_direct_draw), IID_IDirectDraw7, nullptr);
    if (FAILED(result) || m_direct_draw == nullptr) {
        m_direct_draw = nullptr;
        LogDirectDrawError("VideoRendererObjectDx7::InitDevice: DirectDrawCreateEx", result);
        return FAILED(result) ? result : E_FAIL;
    }
    DDCAPS caps = {};
    caps.dwSize = sizeof(caps);
    result = m_direct_draw->GetCaps(&caps, nullptr);
    // Without blits nothing can be shown: no device is a failure, never a success.
    if (FAILED(result) || (caps.dwCaps & DDCAPS_BLT) == 0) {
        LogDirectDrawError("VideoRendererObjectDx7::InitDevice: no blit capability", result);
        ReleaseLastReference(m_direct_draw);
        return E_FAIL;
    }
    m_rgb_surfaces = (caps.dwCaps & DDCAPS_BLTFOURCC) == 0 ? 1 : 0;
    m_fourcc_copy = (caps.dwCaps2 & DDCAPS2_COPYFOURCC) != 0 ? 1 : 0;
    return S_OK;
}

HRESULT VideoRendererObjectDx7::InitDevice()
{
    try {
        LOG_TEXT("VideoRendererObjectDx7::InitDevice::begin");
        ReleaseDevice();
        HRESULT result = CreateDirectDraw();
        if (FAILED(result))
            return result;
        result = m_direct_draw->SetCooperativeLevel(m_window, DDSCL_NORMAL | DDSCL_MULTITHREADED);
        if (FAILED(result)) {
            LogDirectDrawError("VideoRendererObjectDx7::InitDevice: SetCooperativeLevel", result);
            return result;
        }
        result = CreateClipper();
        if (SUCCEEDED(result))
            result = AttachPrimarySurface();
        if (SUCCEEDED(result))
            result = RebuildSourceSurface();
        if (SUCCEEDED(result))
            result = RebuildBackSurface();
        LOG_TEXT("VideoRendererObjectDx7::InitDevice::end");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT VideoRendererObjectDx7::AttachPrimarySurface()
{
    try {
        if (m_direct_draw == nullptr)
            return E_FAIL;
        if (FAILED(ReleasePrimarySurface()))
            return E_FAIL;
        DDSURFACEDESC2 description = EmptySurfaceDescription();
        description.dwFlags = DDSD_CAPS;
        description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        HRESULT result = CreateSurface(description, m_primary);
        if (FAILED(result))
            return result;
        ReleaseLastReference(m_clipper);
        result = CreateClipper();
        if (FAILED(result))
            return result;
        result = m_primary->SetClipper(m_clipper);
        if (SUCCEEDED(result))
            result = m_clipper->SetHWnd(0, m_window);
        if (FAILED(result)) {
            LogDirectDrawError("VideoRendererObjectDx7::AttachPrimarySurface: clipper", result);
            return result;
        }
        if (SUCCEEDED(CheckIsWindow(m_window))) {
            const RECT screen = GetClientRectOnScreen(m_window);
            ColourFillBlit(m_primary, &screen, kGreyFillColour);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT VideoRendererObjectDx7::RebuildBackSurface()
{
    try {
        if (FAILED(CheckIsWindow(m_window)))
            return E_UNEXPECTED;
        if (m_primary == nullptr || m_direct_draw == nullptr)
            return E_FAIL;
        RECT client = {};
        GetClientRect(m_window, &client);
        SetOutputRect(client.left, client.top, client.right - client.left, client.bottom - client.top);
        DDSURFACEDESC2 primary;
        const HRESULT result = DescribeSurface(m_primary, primary);
        if (FAILED(result))
            return result;
        DDSURFACEDESC2 description = OffscreenDescription(m_output_width, m_output_height, primary.ddpfPixelFormat);
        return RecreateSurface(description, m_back);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT VideoRendererObjectDx7::DescribeSourceSurface(DDSURFACEDESC2& description)
{
    const BITMAPINFOHEADER& header = m_format.bmiHeader;
    DDPIXELFORMAT format = {};
    format.dwSize = sizeof(format);
    if (m_fourcc_copy != 0 && header.biCompression != BI_RGB) {
        format.dwFlags = DDPF_FOURCC;
        format.dwFourCC = header.biCompression;
        format.dwYUVBitCount = 16;
    }
    else if (m_rgb_surfaces != 0) {
        DDSURFACEDESC2 primary;
        const HRESULT result = DescribeSurface(m_primary, primary);
        if (FAILED(result))
            return result;
        format = primary.ddpfPixelFormat;
    }
    else {
        return E_FAIL;
    }
    description = OffscreenDescription(header.biWidth, header.biHeight, format);
    return S_OK;
}

HRESULT VideoRendererObjectDx7::RebuildSourceSurface()
{
    try {
        if (m_frame_counter == 0)
            return S_FALSE;
        if (m_direct_draw == nullptr)
            return S_OK;
        const BITMAPINFOHEADER& header = m_format.bmiHeader;
        m_image_size = static_cast<uint32_t>(static_cast<uint64_t>(header.biWidth) * static_cast<uint64_t>(header.biHeight) *
                                             (header.biBitCount / 8u));
        DDSURFACEDESC2 description;
        const HRESULT result = DescribeSourceSurface(description);
        if (FAILED(result))
            return result;
        return RecreateSurface(description, m_source);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT VideoRendererObjectDx7::ReleaseStaleConvertSurface(const DDSURFACEDESC2& source, const DDSURFACEDESC2& back)
{
    DDSURFACEDESC2 convert;
    if (FAILED(DescribeSurface(m_convert, convert)) || convert.dwWidth != source.dwWidth ||
        convert.dwHeight != source.dwHeight ||
        convert.ddpfPixelFormat.dwRGBBitCount != back.ddpfPixelFormat.dwRGBBitCount)
        return ReleaseLastReference(m_convert);
    if (RestoreIfLost(m_convert) == DDERR_WRONGMODE)
        return ReleaseLastReference(m_convert);
    return S_OK;
}

HRESULT VideoRendererObjectDx7::CheckConvertSurface()
{
    try {
        if (m_source == nullptr || m_back == nullptr)
            return E_FAIL;
        DDSURFACEDESC2 source, back;
        HRESULT result = DescribeSurface(m_source, source);
        if (SUCCEEDED(result))
            result = DescribeSurface(m_back, back);
        if (FAILED(result))
            return result;
        if (m_convert != nullptr)
            ReleaseStaleConvertSurface(source, back);
        if (m_convert == nullptr) {
            DDSURFACEDESC2 description = OffscreenDescription(source.dwWidth, source.dwHeight, back.ddpfPixelFormat);
            result = RecreateSurface(description, m_convert);
            if (FAILED(result))
                return result;
        }
        return RestoreIfLost(m_convert);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
