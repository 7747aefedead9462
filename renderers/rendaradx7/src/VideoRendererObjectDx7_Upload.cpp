// Taking frames into the object's surfaces.
#include "VideoRendererObjectDx7.h"

#include "DirectDrawSurfaceFunct.h"
#include "GreyConversion.h"

#include "CatchAllLog.h"

namespace {

constexpr DWORD kFourccYUY2 = MAKEFOURCC('Y', 'U', 'Y', '2');

} // namespace

HRESULT VideoRendererObjectDx7::CopyFrameToSource(const BYTE* data, int32_t size, const VIDEOINFOHEADER& header)
{
    const BITMAPINFOHEADER& bitmap = header.bmiHeader;
    const int64_t sourceStride = static_cast<int64_t>(bitmap.biBitCount) * bitmap.biWidth / 8;
    if (sourceStride <= 0 || sourceStride > INT32_MAX)
        return E_UNEXPECTED;
    return FillSurfaceByLocking(m_source, data, size, static_cast<int32_t>(sourceStride));
}

HRESULT VideoRendererObjectDx7::ConvertFrame(const BYTE* data, int32_t size, const VIDEOINFOHEADER& header)
{
    const BITMAPINFOHEADER& bitmap = header.bmiHeader;
    DDSURFACEDESC2 locked = EmptySurfaceDescription();
    HRESULT result = m_convert->Lock(nullptr, &locked, DDLOCK_WRITEONLY, nullptr);
    if (FAILED(result))
        return result;
    if (locked.dwWidth != static_cast<DWORD>(bitmap.biWidth) || locked.dwHeight != static_cast<DWORD>(bitmap.biHeight)) {
        m_convert->Unlock(nullptr);
        return E_FAIL;
    }
    if (bitmap.biCompression == kFourccYUY2 && (locked.ddpfPixelFormat.dwFlags & DDPF_RGB) != 0) {
        const int32_t sourceStride = 2 * bitmap.biWidth;
        // A frame shorter than its header says converts only the rows it holds.
        const int32_t rows = size / sourceStride < bitmap.biHeight ? size / sourceStride : bitmap.biHeight;
        ConvertYUY2ToGrey(data, sourceStride, static_cast<BYTE*>(locked.lpSurface), locked.lPitch, bitmap.biWidth,
                          rows, locked.ddpfPixelFormat.dwRGBBitCount);
    }
    m_convert->Unlock(nullptr);
    return S_OK;
}

HRESULT VideoRendererObjectDx7::UploadFrame(const BYTE* data, int32_t size, const VIDEOINFOHEADER* header)
{
    try {
        if (data == nullptr || size <= 0 || header == nullptr)
            return E_UNEXPECTED;
        const BITMAPINFOHEADER& bitmap = header->bmiHeader;
        // Sizes that no surface can have; also keeps every row computation positive and in range.
        if (bitmap.biWidth <= 0 || bitmap.biHeight <= 0 || bitmap.biWidth > 0x8000 || bitmap.biHeight > 0x8000)
            return E_UNEXPECTED;
        ++m_frame_counter;
        const bool formatChanged =
            bitmap.biWidth != m_format.bmiHeader.biWidth || bitmap.biHeight != m_format.bmiHeader.biHeight;
        m_format = *header;
        SetSourceRect(0, 0, bitmap.biWidth, bitmap.biHeight);
        if (formatChanged && m_direct_draw != nullptr)
            RebuildSourceSurface();
        if (m_primary == nullptr || m_source == nullptr || m_clipper == nullptr) {
            if (RebuildSourceSurface() != S_OK || m_source == nullptr)
                return S_OK; // no device yet: the frame is dropped
        }
        HRESULT result = RestoreIfLost(m_source);
        if (result == DDERR_WRONGMODE) {
            result = RebuildSourceSurface();
            if (FAILED(result))
                return result;
            if (m_source == nullptr || m_source->IsLost() == DDERR_SURFACELOST)
                return E_FAIL;
        }
        if (m_rgb_surfaces == 0)
            return CopyFrameToSource(data, size, *header);
        result = CheckConvertSurface();
        if (m_convert == nullptr)
            return result;
        return ConvertFrame(data, size, *header);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
