// Small operations on DirectDraw 7 surfaces shared by the render object's steps.
#pragma once

#include <windows.h>
#include <ddraw.h>

#include <cstdint>

// Grey of an empty picture, as a colour-fill value and as the byte written by locking.
inline constexpr DWORD kGreyFillColour = 0x7F7F7F;
inline constexpr BYTE kGreyFillByte = 127;
// Blits between surfaces: a plain copy that neither waits for the blitter nor for the result.
inline constexpr DWORD kCopyBlitFlags = DDBLT_ROP | DDBLT_ASYNC | DDBLT_DONOTWAIT;

// Releases the interface and clears the pointer; E_FAIL when references remain elsewhere.
template <class I>
HRESULT ReleaseLastReference(I*& pointer)
{
    I* held = pointer;
    pointer = nullptr;
    if (held == nullptr)
        return S_OK;
    return held->Release() == 0 ? S_OK : E_FAIL;
}

// Logs the label with the text of a DirectDraw result.
void LogDirectDrawError(const char* label, HRESULT code);

DDSURFACEDESC2 EmptySurfaceDescription();
// The surface's description; an error is logged as its DirectDraw text.
HRESULT DescribeSurface(IDirectDrawSurface7* surface, DDSURFACEDESC2& description);

// A source-copy blit of the source rectangle onto the target rectangle (null: whole surface).
HRESULT CopyBlit(IDirectDrawSurface7* target, const RECT* targetRect, IDirectDrawSurface7* source,
                 const RECT* sourceRect);
HRESULT ColourFillBlit(IDirectDrawSurface7* target, const RECT* targetRect, DWORD colour);
// Grey by a colour-fill blit, or by locking when the blit fails.
HRESULT FillSurfaceGrey(IDirectDrawSurface7* surface);
// Locks the surface write-only. With data: copies size / sourceStride rows of
// min(sourceStride, pitch) bytes, or nothing (logged) when the surface has fewer rows. Without
// data: sets pitch x height bytes to grey.
HRESULT FillSurfaceByLocking(IDirectDrawSurface7* surface, const BYTE* data, int32_t size, int32_t sourceStride);
// 0 when the surface is not lost, else the result of restoring it.
HRESULT RestoreIfLost(IDirectDrawSurface7* surface);
