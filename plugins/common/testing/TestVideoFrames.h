// Video frames for the tests and benchmarks of the plug-ins: YUY2 or "Y8  " frames that carry the
// child planes the correction filter leaves for the filters after it (FrameChildPlanes.h):
//   slot 0  Y16, full size            slot 1  UV16, full size (YUY2 only)
//   slots 2, 4, 6  Y16 at 1/2, 1/4, 1/8     slots 3, 5, 7  UV16 at 1/2, 1/4, 1/8 (YUY2 only)
// Every other slot is -1. The full-size planes have the working-plane layout of UpdateSizeBuffer
// (a guard row above and below, 16 bytes before each row start); the reduced copies are made by
// CreateSmallCopyFrames as the correction filter makes them (2 x 2 averages of the level above, in
// the full-size plane's layout), so a block aligned to 8 pixels keeps its exact value down to the
// 1/8 copy. A level whose source has fewer than 64 samples is not averaged.
// For tests and benchmarks only.
#pragma once

#include "FrameChildPlanes.h"

#include <cstdint>
#include <functional>
#include <vector>

enum class TestFrameFormat
{
    Yuy2,
    Y8,
};

// The 8-bit luminance of the pixel at column x, row y.
using TestFrameLuma = std::function<uint8_t(int x, int y)>;

// Makes the frame a complete video frame of the size: state 2, "vids", FORMAT_VideoInfo, packed
// rows, the given frame number, chroma 128, luminance from the function, and its child planes.
HRESULT MakeTestFrame(InfoDataBufferPath1& frame, TestFrameFormat format, int width, int height,
                      const TestFrameLuma& luma, int32_t number = 0);

// Builds the child planes again from the frame's pixels, after a test changed them.
HRESULT AttachTestChildPlanes(InfoDataBufferPath1& frame);

// Luminance functions for the common scenes.
TestFrameLuma UniformLuma(uint8_t value);
// A rectangle of one value on a uniform background; columns and rows are half-open ranges.
TestFrameLuma BlockLuma(uint8_t background, uint8_t block, int left, int top, int right, int bottom);

// Sample x of row y of a plane, and every sample of its width x height, row by row.
int16_t& PlaneSample(InfoDataBufferPath1& plane, int x, int y);
std::vector<int16_t> PlaneSamples(InfoDataBufferPath1& plane);
