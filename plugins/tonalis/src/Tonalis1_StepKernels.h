// What the correction steps share to call the image operations on the frame's planes: the
// constant vectors, the word lists the filters read their kernels and limits from, and the
// bordered origin the 3 x 3 filters start at.
#pragma once

#include "FrameChildPlanes.h"
#include "Tonalis1_Steps.h"

#include <initializer_list>

// Eight copies of one value, the constant operand of the vector operations.
struct SwordVector
{
    explicit SwordVector(SWORD value)
    {
        for (SWORD& word : words)
            word = value;
    }
    SWORD words[8];
};

// A word list of the filters (kernel, limits, weights), refilled on every call. Each thread keeps
// its own lists, made on first use, so no frame allocates and no two workers share one.
enum class StepWordList
{
    KernelA,
    KernelB,
    Limits,
    Weights,
    ConditionLimit,
    ConditionWeight,
    Count,
};
const SwordWords& FillStepWords(StepWordList list, std::initializer_list<SWORD> words);

// A 3 x 3 kernel of the given outer and centre weights.
const SwordWords& FillKernel(StepWordList list, SWORD outer, SWORD centre);

// The factor that gives a 3 x 3 kernel unit gain in 14-bit fixed point, rounded up so that a
// flat plane keeps its value through the filter's truncating shift (16384 for a sum of 0 or less).
SWORD UnitGainFactor(const SwordWords& kernel);

// The plane's top-left corner with its borders: one guard row above, 8 words to the left. The 3 x 3
// filters take the plane from there, with its width + 16 and height + 2.
inline SWORD* BorderedOrigin(InfoDataBufferPath1& plane)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data - plane.m_stride - 16);
}

// An operation of the unified form over the whole plane, with plane B read at its own stride.
HRESULT ApplyToPlane(UnifSwordFunction operation, InfoDataBufferPath1& plane, const SWORD* mask,
                     const SWORD* constant1 = nullptr, const SWORD* constant2 = nullptr, int count = 0,
                     InfoDataBufferPath1* planeB = nullptr);

// 3 x 3 convolution of source into destination, both laid out as working planes of one size.
HRESULT ConvolvePlane(const OptimFunctionTableSWORD& operations, InfoDataBufferPath1& source,
                      InfoDataBufferPath1& destination, const SwordWords& kernel, SWORD factor);

// The destination of a filter holds the source's rows from now on: its data size and start with them,
// so that a copy or exchange of it moves every row (a work plane is made with no data size).
void TakeDataRange(InfoDataBufferPath1& destination, const InfoDataBufferPath1& source);

// A working plane: its rows with their 8-word margins and a guard row above and below lie in its block.
bool HoldsBorderedPlane(const InfoDataBufferPath1& plane);
// Two working planes of one size and stride: one may be filtered into the other, or take its block.
bool HasSameLayout(const InfoDataBufferPath1& first, const InfoDataBufferPath1& second);
