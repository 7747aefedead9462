// What the tests of the correction steps share: an instance's state with the filter object that
// converts its settings, frames carrying the planes the pipeline hands the steps, and operation-
// table entries that record how a step called them before doing the real work.
#pragma once

#include "FrameChildPlanes.h"
#include "TestVideoFrames.h"
#include "Tonalis1.h"
#include "Tonalis1_Steps.h"

#include <gtest/gtest.h>

#include <vector>

// A frame as the pipeline leaves it for the colour, noise and effect steps: the level planes of
// the test frame helper and the work planes laid out as the luminance.
class StepFrame
{
public:
    StepFrame(TestFrameFormat format, int width, int height, const TestFrameLuma& luma)
    {
        EXPECT_EQ(S_OK, MakeTestFrame(frame, format, width, height, luma));
        for (const int slot : {TonalisWorkSlot::kEdgeMap, TonalisWorkSlot::kDifference, TonalisWorkSlot::kLumaWork,
                               TonalisWorkSlot::kMotionMask}) {
            frame.m_index_child.GetElement(static_cast<uint32_t>(slot)) = slot + 1;
            EXPECT_EQ(S_OK, GetFrameChildPlane(frame, slot)->AllocBufferEqualCurrent(Luma()));
        }
    }
    InfoDataBufferPath1& Luma() { return *GetFrameChildPlane(frame, FrameChildSlot::Luma(0)); }
    InfoDataBufferPath1* Chroma() { return GetFrameChildPlane(frame, FrameChildSlot::Chroma(0)); }

    // Every sample of the plane set to the function's value.
    static void Fill(InfoDataBufferPath1& plane, const TestFrameLuma& value)
    {
        for (int y = 0; y < PlaneHeight(plane); ++y)
            for (int x = 0; x < PlaneWidth(plane); ++x)
                PlaneSample(plane, x, y) = value(x, y);
    }

    InfoDataBufferPath1 frame;
};

// The instance state of one filter, its settings made through the filter's own interface methods.
struct StepState
{
    Tonalis1 filter;
    Tonalis1State state;

    void Value(int32_t index, float userValue) { EXPECT_EQ(S_OK, filter.SetCorrectionValue(&state, index, userValue)); }
    void Param(int32_t index, int32_t value) { EXPECT_EQ(S_OK, filter.SetCorrectionParam(&state, index, value, 1.0f)); }
};

// What a recording entry saw on each call: its word arguments in order.
struct RecordedCall
{
    std::vector<int> words;
};
std::vector<RecordedCall>& RecordedCalls();

// Entries that record their constants, then run the plain operation.
HRESULT RecordingSharpen(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int, const SWORD*,
                         const SWORD*, int*);
HRESULT RecordingBlur(SWORD*, void*, const void*, void*, const SWORD*, int, int, int, int, int, const SWORD*,
                      const SWORD*, int*);
HRESULT RecordingConvolution(const SWORD*, SWORD*, int, int, int, const SwordWords&, SWORD);
HRESULT RecordingConditionalConvolution(const SWORD*, SWORD*, const SWORD*, int, int, int, SWORD, const SwordWords&,
                                        const SwordWords&, SWORD);
HRESULT RecordingRemoveNoise2(SWORD*, SWORD*, int, int, int, const SwordWords&, const SwordWords&);
HRESULT RecordingRemoveNoise3(SWORD*, SWORD*, const SWORD*, int, int, int, const SwordWords&, const SwordWords&,
                              const SwordWords&, const SwordWords&);
HRESULT RecordingMatrixEffect(SWORD*, SWORD*, int, int, int, const SWORD* const*, const SWORD* const*,
                              const SWORD* const*, const SWORD* const*, int, SWORD, SWORD);
