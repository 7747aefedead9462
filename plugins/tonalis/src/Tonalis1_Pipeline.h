// The pipeline's own work around the correction steps: the split of the frame into its work
// planes, the resize of those planes, and the reduced copies with their output planes.
#pragma once

#include "FramePlaneProcedures.h"
#include "Tonalis1State.h"

// Frames no wider than this are never worked at half size.
inline constexpr int32_t kTonalisHalfSizeAbove = 320;

// Where a picture of the source size lies in a plane of the target size: the whole target, or,
// keeping the ratio, as large as fits, centred (across on a multiple of 16 samples).
PlaneFit FitPictureToTarget(int32_t sourceWidth, int32_t sourceHeight, int32_t targetWidth, int32_t targetHeight,
                            bool keepRatio);

// The split view: the planes as they were before the corrections are kept, and half of the
// picture is put back from them afterwards.
HRESULT SaveSplitView(Tonalis1State& state, InfoDataBufferPath1& luma, InfoDataBufferPath1* chroma);
HRESULT RestoreSplitView(Tonalis1State& state, InfoDataBufferPath1& luma, InfoDataBufferPath1* chroma);

// Whether a plane of the size can be laid out at all (its whole block within 32-bit sizes).
bool IsPlaneSizeAllowed(int64_t width, int64_t height);

// Splits the frame's pixels into the luminance and chroma planes of the index slots and sizes the
// planes of every level, resizing first when the resize parameters ask for it. Nothing for a
// frame that is neither YUY2 nor grey; E_UNEXPECTED when the data does not hold the frame's rows.
HRESULT HelperFunction_SpliteImage(Tonalis1State& state, InfoDataBufferPath1& frame, const BYTE* data, int32_t size);
// Scales the luminance and chroma planes (and the frame's size) to the resize parameters'
// target; 1 when there is nothing to do or the target cannot be laid out.
HRESULT HelperFunction_ResizeFrame(Tonalis1State& state, InfoDataBufferPath1& frame);
