// Layout classes of DirectShow video subtypes, and two small numeric helpers of the widgets.
#pragma once

#include <windows.h>

#include <cstdint>

// 0 for a planar YUV subtype (I420, IYUV, YV12, YVU9), 1 otherwise.
HRESULT IsNotPlanarYUVFormat(GUID subtype);
// Bytes per pixel for sizing frame buffers; planar 4:2:0 counts 2. An unknown subtype is logged
// and counts 4, so that sizing never fails.
uint32_t GetBytesPerPixelFromSubtype(GUID subtype);
// A client-area point on a 0 to 65535 scale of the client width and height.
HRESULT ClientPointToUnitScale(uint16_t x, uint16_t y, HWND window, uint16_t* unitX, uint16_t* unitY);
// Number of decimal digits, without the sign; 0 has one digit.
int GetCountDigits(int32_t value);
