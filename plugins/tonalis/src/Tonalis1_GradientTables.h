// The tables of the gradient effects: the effect table each effect number builds, its rotation by
// the animation phase, the random table of effect 4, and the phase that advances with time.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"
#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>

using GradientTable = StaticBoundsObject<SWORD, 256>;

// Low 16 bits of the effect word: the effect number; the two flags above them.
inline constexpr int32_t kGradientAnimate = 0x10000;
inline constexpr int32_t kGradientSharpenFirst = 0x20000;
inline constexpr int32_t kGradientRandomEffect = 4;

inline int32_t GradientEffectNumber(int32_t effectWord)
{
    return effectWord & 0xFFFF;
}

// The effects mapped through a rebuilt, rotated effect table (1 the user curve, 2, 3, 5 to 10,
// 16 to 18). Effect 0 maps nothing, 4 maps random noise, and any other number is left unmapped.
bool IsTableGradientEffect(int32_t effect);

// Rebuilds the effect table of a table effect; effect 1 copies the user curve. Any other
// number leaves the table as it is and answers E_INVALIDARG.
HRESULT BuildGradientEffectTable(int32_t effect, const GradientTable& userCurve, GradientTable& table);

// working[j] = table[(j + shift) mod 256].
void RotateGradientTable(const GradientTable& table, int32_t shift, GradientTable& working);

// Effect 4: small random values (0 to 10 before the modulo by i + 1) drawn from the C runtime's
// rand(), in a table that starts at 0 on every call.
void FillRandomGradientTable(GradientTable& working);

// Speed of the animation of the effect word, in phase units per second: none without animation,
// half speed for effect 5.
double GradientPhaseSpeed(int32_t effectWord);
// The phase moved on by the elapsed milliseconds at the speed, kept to its fraction in [0, 1).
float AdvanceGradientPhase(float phase, int64_t elapsedMilliseconds, double speed);
// The table rotation of a phase: 0 to 255.
int32_t GradientShift(float phase);
