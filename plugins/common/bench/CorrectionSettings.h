// The correction filter's settings the benchmarks put it into, called through its interface.
#pragma once

#include "ObjectDataPath1.h"

#include <cstdint>
#include <vector>

struct CorrectionSetting
{
    int32_t method;
    int32_t index; // unused by the enable method
    float value;
};

// The corrections on or off, the animated gradient effect 3 and the temporal noise removal in
// both passes each on or off, sharpness and edge smoothing neutral, split view off. Every list
// states each setting another list changes, since callers reuse one instance.
std::vector<CorrectionSetting> CorrectionChainSettings(bool colour, bool gradient, bool noise);
// Every one of those settings at its default.
std::vector<CorrectionSetting> CorrectionDefaultSettings();
// The first failure, or 0.
HRESULT ApplyCorrectionSettings(ObjectDataPath1& filter, const std::vector<CorrectionSetting>& settings);
