// For the span of a scope, every module's choice of kernels sees the given processor features
// instead of the detected ones.
#pragma once

#include "KestrelDebugFunct.h"

class ForcedProcessorFeatures
{
public:
    ForcedProcessorFeatures(bool mmx, bool sse, bool sse2)
    {
        InfoAboutCPUFromCPUID features{};
        features.m_flags[CpuFlagMMX] = mmx;
        features.m_flags[CpuFlagSSE] = sse;
        features.m_flags[CpuFlagSSE2] = sse2;
        SetProcessorFeaturesForTest(&features);
    }
    ~ForcedProcessorFeatures() { SetProcessorFeaturesForTest(nullptr); }
    ForcedProcessorFeatures(const ForcedProcessorFeatures&) = delete;
    ForcedProcessorFeatures& operator=(const ForcedProcessorFeatures&) = delete;
};
