// A small facade over the Windows Imaging Component with the calls the picture source makes: the
// file's type, loading, conversion to 24 bits, rescaling, width, height, scan lines and unloading.
// Rescaling is our own bilinear filter: WIC's scaler samples the nearest pixel under Wine.
// Pictures of 24 bits have bytes B, G, R; scan line 0 is the bottom row. Every call catches what
// it throws and answers a failure (S_FALSE or an empty pointer); the calling thread has COM.
#pragma once

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <memory>

class PictureBitmap;
struct PictureBitmapDeleter
{
    void operator()(PictureBitmap* picture) const;
};
// Unloading is the end of the pointer's life (or UnloadPicture).
using PicturePointer = std::unique_ptr<PictureBitmap, PictureBitmapDeleter>;

// The container format of the file (S_OK), or S_FALSE when no decoder takes it.
HRESULT GetPictureFileType(const DynamicString& fileName, GUID& containerFormat);
// The first frame of the file, not yet decoded; empty when the file cannot be opened as the type.
PicturePointer LoadPicture(const GUID& containerFormat, const DynamicString& fileName);
// The picture decoded into 24 bits (palette pictures by way of 32 bits with alpha); empty when the
// decoding fails, as it does for a truncated or corrupt file.
PicturePointer ConvertPictureTo24Bits(const PictureBitmap& picture);
// A 24-bit picture scaled to width x height with a bilinear filter; empty for a picture that is
// not 24 bits or a size below 1.
PicturePointer RescalePicture(const PictureBitmap& picture, int width, int height);

int GetPictureWidth(const PictureBitmap& picture);
int GetPictureHeight(const PictureBitmap& picture);
// Row `line` counted from the bottom of a 24-bit picture (width x 3 bytes), or null.
const BYTE* GetPictureScanLine(const PictureBitmap& picture, int line);
void UnloadPicture(PicturePointer& picture);
