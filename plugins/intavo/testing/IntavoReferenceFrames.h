// Source pictures in the formats the sink filter delivers, and what the data path must receive
// for them, made with the plain reference routines. For tests only.
#pragma once

#include "TestAviWriter.h"
#include "TestCaptureDeviceInterfaces.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Bytes of one row of the picture as a source stores it: RGB24 rows are padded to 4 bytes; the
// planar formats count their luma row.
int SourceRowStride(const GUID& subtype, int width);
// Bytes of a whole picture (4:2:0 formats: luma and both chroma planes).
size_t SourcePictureBytes(const GUID& subtype, int width, int height);
// A picture whose bytes follow no simple rule, different for every seed.
std::vector<uint8_t> MakePatternPicture(const GUID& subtype, int width, int height, uint32_t seed);

// The picture as the data path receives it: YUY2 (Y8 for a Y8 source), upright, rows of bytes
// per pixel x width without padding.
std::vector<uint8_t> ExpectedDataPathPicture(const GUID& subtype, int width, int height,
                                             const std::vector<uint8_t>& source);
// The stride of the frame the data path receives: its rows rounded up to whole vectors (16 bytes,
// 48 for a picture converted from RGB24).
int DataPathStride(const GUID& subtype, int width);
// The rows of a frame buffer without their padding.
std::vector<uint8_t> VisibleBytes(const InfoDataBufferPath1& frame);

// The AVI formats the sink filter is fed in the tests, with the subtype it then delivers.
struct AviSourceCase
{
    const char* name;
    TestAviFormat format;
    GUID subtype;
};
const std::vector<AviSourceCase>& AviSourceCases();

// A 24-bit BMP file of the rows (bottom-up, padded to 4 bytes).
std::string MakeBmp24File(int width, int height, const std::vector<uint8_t>& bottomUpRows);
// The desktop as a bottom-up RGB24 picture, read through GDI.
std::vector<uint8_t> CaptureDesktopRgb24(int width, int height);

// The test camera's one capability: the subtype at that size, 30 frames a second.
TestCaptureCapability MakeTestCameraCapability(const GUID& subtype, int width, int height);
// Frame n of the test camera in the subtype.
std::vector<uint8_t> MakeTestCameraPicture(const GUID& subtype, int width, int height, ULONG number);
