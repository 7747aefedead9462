// The tables of the gradient effects.
#include "Tonalis1_GradientTables.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int32_t kEntries = 256;

// Fixed tone maps: the value of each run of entries, a run ending at the entry given.
constexpr int32_t kToneRuns = 13;
constexpr int32_t kToneRunEnds[kToneRuns] = {19, 39, 59, 78, 98, 118, 137, 157, 177, 196, 216, 236, 255};
constexpr SWORD kToneMaps[3][kToneRuns] = {
    {0, 0, 14, 44, 63, 78, 131, 96, 40, 30, 170, 211, 234},  // effect 6
    {0, 19, 38, 64, 95, 200, 228, 255, 228, 198, 0, 30, 61}, // effect 7
    {0, 22, 55, 146, 216, 255, 187, 133, 74, 73, 157, 205, 255}, // effect 8
};

void FillToneMap(const SWORD (&values)[kToneRuns], GradientTable& table)
{
    int32_t run = 0;
    for (int32_t i = 0; i < kEntries; ++i) {
        if (i > kToneRunEnds[run])
            ++run;
        table.GetElement(i) = values[run];
    }
}

void FillThreshold(int32_t first, GradientTable& table)
{
    for (int32_t i = 0; i < kEntries; ++i)
        table.GetElement(i) = i < first ? 0 : 255;
}

// Effect numbers 9, 10, 16, 17, 18 threshold at these entries.
int32_t ThresholdOf(int32_t effect)
{
    switch (effect) {
    case 9:
        return 50;
    case 10:
        return 90;
    case 16:
        return 120;
    case 17:
        return 150;
    case 18:
        return 180;
    default:
        return -1;
    }
}

} // namespace

bool IsTableGradientEffect(int32_t effect)
{
    return (effect >= 1 && effect <= 10 && effect != kGradientRandomEffect) || (effect >= 16 && effect <= 18);
}

HRESULT BuildGradientEffectTable(int32_t effect, const GradientTable& userCurve, GradientTable& table)
{
    switch (effect) {
    case 1:
        table = userCurve;
        return S_OK;
    case 2:
        for (int32_t i = 0; i < kEntries; ++i)
            table.GetElement(i) = static_cast<SWORD>(i / 30 * 30);
        return S_OK;
    case 3:
        for (int32_t i = 0; i < kEntries; ++i)
            table.GetElement(i) = static_cast<SWORD>(255 - i);
        return S_OK;
    case 5:
        for (int32_t i = 0; i < kEntries; ++i)
            table.GetElement(i) = i / 20 % 2 == 0 ? 0 : 255;
        return S_OK;
    case 6:
    case 7:
    case 8:
        FillToneMap(kToneMaps[effect - 6], table);
        return S_OK;
    default:
        break;
    }
    const int32_t threshold = ThresholdOf(effect);
    if (threshold < 0)
        return E_INVALIDARG;
    FillThreshold(threshold, table);
    return S_OK;
}

void RotateGradientTable(const GradientTable& table, int32_t shift, GradientTable& working)
{
    for (int32_t j = 0; j < kEntries; ++j)
        working.GetElement(j) = table.GetElement(static_cast<uint32_t>((j + shift) % kEntries));
}

void FillRandomGradientTable(GradientTable& working)
{
    // Each entry is drawn on top of a table that starts at 0 on every call.
    for (int32_t i = 0; i < kEntries; ++i) {
        const int32_t step = static_cast<int32_t>(static_cast<float>(std::rand() & 255) / 255.0f * 10.0f);
        working.GetElement(i) = static_cast<SWORD>(step % (i + 1));
    }
}

double GradientPhaseSpeed(int32_t effectWord)
{
    if ((effectWord & kGradientAnimate) == 0)
        return 0.0;
    return GradientEffectNumber(effectWord) == 5 ? 0.05 : 0.1;
}

float AdvanceGradientPhase(float phase, int64_t elapsedMilliseconds, double speed)
{
    const double moved = phase + static_cast<double>(elapsedMilliseconds) * speed * 0.001;
    const float fraction = static_cast<float>(moved - std::floor(moved));
    // A fraction just below 1 can round up to 1 as a float.
    return fraction < 1.0f ? fraction : 0.0f;
}

int32_t GradientShift(float phase)
{
    const int32_t shift = static_cast<int32_t>(phase * 255.0f);
    return shift < 255 ? shift : 255;
}
