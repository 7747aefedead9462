#include "DirectDrawSurfaceFunct.h"

#include "CatchAllLog.h"

namespace {

DDBLTFX SourceCopyEffects()
{
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwROP = SRCCOPY;
    return effects;
}

HRESULT CopyRowsToLockedSurface(const DDSURFACEDESC2& locked, const BYTE* data, int32_t size, int32_t sourceStride)
{
    if (sourceStride <= 0)
        return E_UNEXPECTED;
    const uint32_t rows = static_cast<uint32_t>(size / sourceStride);
    if (locked.dwHeight < rows) {
        LOG_TEXT("FillSurfaceByLocking: the surface holds fewer rows than the data, nothing copied");
        return E_FAIL;
    }
    const uint32_t pitch = static_cast<uint32_t>(locked.lPitch);
    const uint32_t rowBytes = static_cast<uint32_t>(sourceStride) < pitch ? static_cast<uint32_t>(sourceStride) : pitch;
    auto* target = static_cast<BYTE*>(locked.lpSurface);
    for (uint32_t row = 0; row < rows; ++row)
        MemCopy(target + static_cast<size_t>(row) * pitch, data + static_cast<size_t>(row) * sourceStride, rowBytes,
                nullptr);
    return S_OK;
}

} // namespace

void LogDirectDrawError(const char* label, HRESULT code)
{
    try {
        DynamicString text(label);
        text += " : ";
        DynamicString codeText;
        GetErrorDirectDrawXCode(codeText, code);
        text += codeText;
        text.DumpString();
    }
    CATCH_ALL_LOG()
}

DDSURFACEDESC2 EmptySurfaceDescription()
{
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof(description);
    return description;
}

HRESULT DescribeSurface(IDirectDrawSurface7* surface, DDSURFACEDESC2& description)
{
    if (surface == nullptr)
        return E_INVALIDARG;
    description = EmptySurfaceDescription();
    const HRESULT result = surface->GetSurfaceDesc(&description);
    if (FAILED(result))
        LogDirectDrawError("GetSurfaceDesc", result);
    return result;
}

HRESULT CopyBlit(IDirectDrawSurface7* target, const RECT* targetRect, IDirectDrawSurface7* source,
                 const RECT* sourceRect)
{
    if (target == nullptr || source == nullptr)
        return E_INVALIDARG;
    DDBLTFX effects = SourceCopyEffects();
    RECT targetCopy = targetRect != nullptr ? *targetRect : RECT{};
    RECT sourceCopy = sourceRect != nullptr ? *sourceRect : RECT{};
    return target->Blt(targetRect != nullptr ? &targetCopy : nullptr, source,
                       sourceRect != nullptr ? &sourceCopy : nullptr, kCopyBlitFlags, &effects);
}

HRESULT ColourFillBlit(IDirectDrawSurface7* target, const RECT* targetRect, DWORD colour)
{
    if (target == nullptr)
        return E_INVALIDARG;
    DDBLTFX effects = {};
    effects.dwSize = sizeof(effects);
    effects.dwFillColor = colour;
    RECT targetCopy = targetRect != nullptr ? *targetRect : RECT{};
    return target->Blt(targetRect != nullptr ? &targetCopy : nullptr, nullptr, nullptr,
                       DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

HRESULT FillSurfaceGrey(IDirectDrawSurface7* surface)
{
    const HRESULT result = ColourFillBlit(surface, nullptr, kGreyFillColour);
    if (SUCCEEDED(result))
        return result;
    LogDirectDrawError("FillSurfaceGrey: colour fill failed, filling by locking", result);
    return FillSurfaceByLocking(surface, nullptr, 0, 0);
}

HRESULT FillSurfaceByLocking(IDirectDrawSurface7* surface, const BYTE* data, int32_t size, int32_t sourceStride)
{
    if (surface == nullptr)
        return E_INVALIDARG;
    DDSURFACEDESC2 locked = EmptySurfaceDescription();
    HRESULT result = surface->Lock(nullptr, &locked, DDLOCK_WRITEONLY, nullptr);
    if (FAILED(result)) {
        LogDirectDrawError("FillSurfaceByLocking: Lock", result);
        return result;
    }
    if (data != nullptr)
        result = CopyRowsToLockedSurface(locked, data, size, sourceStride);
    else
        std::memset(locked.lpSurface, kGreyFillByte, static_cast<size_t>(locked.lPitch) * locked.dwHeight);
    surface->Unlock(nullptr);
    return result;
}

HRESULT RestoreIfLost(IDirectDrawSurface7* surface)
{
    if (surface == nullptr)
        return E_INVALIDARG;
    return surface->IsLost() == DDERR_SURFACELOST ? surface->Restore() : S_OK;
}
