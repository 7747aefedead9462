// Single video frames as 24-bit BMP files: the frame converted to B, G, R rows, stretched to
// 768 x 576 and captioned. The block then holds the whole file: a 14-byte file header, the
// 40-byte info header, four zero bytes and the rows from offset 58, bottom row first.
#pragma once

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "MemoryBlockClass.h"

#include <strmif.h>

#include <cstdint>

inline constexpr int32_t kWidthBMPFile = 768;
inline constexpr int32_t kHeightBMPFile = 576;
inline constexpr uint32_t kPixelOffsetBMPFile = 58;

// The frame described by its media description (YUY2, UYVY, YVYU or Y8) as a captioned
// 768 x 576 file in the block. Another subtype: 0 and an empty block. Negative on failure (the
// block is then empty or holds the picture at the frame's own size, uncaptioned).
HRESULT FunctCreateBMPFile(MemoryBlockClass<BYTE>& block, const BYTE* data, int64_t length,
                           const InfoCallInterfaceDataPath1& description, const char* caption);

// The frame as a 24-bit file at its own size. Takes VideoInfo and VideoInfo2 descriptions of
// YUY2, UYVY, Y8 and 16-, 24- and 32-bit RGB; the bit count must be the subtype's. A width of 0
// or less, a height of 0, too short a source or a file beyond 2 GB is refused with 0x80004005
// and an empty block; a negative height is read as its magnitude.
HRESULT ConvertVideoFrameToBMP24(MemoryBlockClass<BYTE>& block, const BYTE* data, int64_t length,
                                 const AM_MEDIA_TYPE& type);

// The picture of a file made by ConvertVideoFrameToBMP24 stretched to 768 x 576 with the caption
// drawn at the top left. When the stretch fails the block keeps the picture at its own size.
HRESULT ScaleBMP24WithCaption(MemoryBlockClass<BYTE>& block, const char* caption);
