// Shared by the variants of the neighbourhood filters, the noise removal and the measurements:
// argument checks, weights, and the plain code that is the reference of every vector variant.
// The plain code of the operations whose results depend on the vector width takes that width as
// a parameter. Defined in the *_c.cpp files, compiled without instruction-set flags.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

#include <cstddef>
#include <cstring>

// ---- Words and rows -------------------------------------------------------------------------

inline SWORD SaturateToWord(int64_t value)
{
    return static_cast<SWORD>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}

inline SWORD LowWord(int value)
{
    return static_cast<SWORD>(static_cast<uint16_t>(static_cast<uint32_t>(value)));
}

inline int SaturateToByteRange(int value)
{
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

inline BYTE* BytesOf(SWORD* plane)
{
    return reinterpret_cast<BYTE*>(plane);
}

inline const BYTE* BytesOf(const SWORD* plane)
{
    return reinterpret_cast<const BYTE*>(plane);
}

inline SWORD* WordRow(SWORD* plane, int stride, int row)
{
    return reinterpret_cast<SWORD*>(BytesOf(plane) + static_cast<ptrdiff_t>(stride) * row);
}

inline const SWORD* WordRow(const SWORD* plane, int stride, int row)
{
    return reinterpret_cast<const SWORD*>(BytesOf(plane) + static_cast<ptrdiff_t>(stride) * row);
}

// ---- Convolution ----------------------------------------------------------------------------

// The nine kernel words, read through the bounded array's checked access (which throws when the
// kernel is short).
struct Kernel3x3
{
    explicit Kernel3x3(const SwordWords& kernel);
    SWORD k[9];
};

// Words written per row from column 8: the vectors that cover width - 16, or none.
int ConvolutionWordsPerRow(int widthWithMargins, int vectorWords);

HRESULT CheckConvolution(const SWORD* source, const SWORD* destination, const SWORD* condition);

// Outer weights 1 and a centre of 0 or 1: the kernel sums the words, with or without the centre.
bool IsUnitKernel(const Kernel3x3& kernel);

// Whether the rows of the two planes, each height rows of stride bytes, share a byte.
bool PlanesOverlap(const SWORD* first, const SWORD* second, int stride, int height);

// The 16-bit output word of one kernel at (x, y).
SWORD ConvolveWord(const SWORD* source, int stride, int x, int y, const Kernel3x3& kernel, SWORD scale);

// ---- Blur, sharpen and edge image -----------------------------------------------------------

// Weights of a strength; valid is false when a weight denominator is 0 or negative.
struct BlurWeights
{
    bool valid;
    SWORD strength;
    SWORD inner; // 1024 / (K + 8)
    SWORD end;   // 1024 / (K + 5)
};
BlurWeights GetBlurWeights(SWORD strength);

struct SharpenWeights
{
    bool valid;
    SWORD inner;      // centre weight of an inner word: K + 11
    SWORD end;        // centre weight of the first and last word of a group: K + 8
    SWORD normaliser; // 1024 / (K + 3)
};
SharpenWeights GetSharpenWeights(SWORD strength);

// S_OK to go on, else the answer; the strength is constant 1's first word.
HRESULT CheckBlurSharpen(const SWORD* plane, int height, const SWORD* constant1, int* alignmentOut);
// Whole vectors in the in-place run: (height - 2) x stride bytes from the start of row 1, rounded
// down, so the row below the last vector is always inside the plane.
int GroupFilterVectors(int stride, int height, int vectorBytes);

// Plain code with the vector group size as parameter (4 words like MMX, 8 like SSE2).
void BlurPlain(SWORD* plane, int stride, int height, const BlurWeights& weights, int groupWords);
void SharpenPlain(SWORD* plane, int stride, int height, const SharpenWeights& weights, int groupWords);
void EdgeImagePlain(SWORD* destination, const SWORD* source, int strideA, int strideB, int width, int height,
                    int groupWords);

// ---- Noise removal --------------------------------------------------------------------------

HRESULT CheckNoisePlanes(const SWORD* planeA, const SWORD* planeB, int stride, int width, int height);

// The blend of one word with its weight k (units of 1/128).
SWORD BlendNoiseWord(SWORD a, SWORD b, SWORD k);
// The weight of a difference in versions 2 and 3.
SWORD NoiseWeight2(uint16_t difference, SWORD t1, SWORD t2, SWORD k0, SWORD k1, SWORD k2);
inline uint16_t UnsignedDifference(SWORD a, SWORD b)
{
    const uint16_t ua = static_cast<uint16_t>(a), ub = static_cast<uint16_t>(b);
    return static_cast<uint16_t>(ua > ub ? ua - ub : ub - ua);
}

// Version 2 and 3 parameters, read through the checked access.
struct NoiseParameters
{
    NoiseParameters(const SwordWords& thresholds, const SwordWords& weights);
    SWORD t1, t2, k0, k1, k2;
};

// ---- Histogram and block averages -----------------------------------------------------------

HRESULT CheckHistogram(const SWORD* plane, int stride, int width, int height, const uint32_t* counters,
                       int counterCount);
// Counts every word of each row up to the vectorWords boundary.
void HistogramPlain(const SWORD* plane, int stride, int width, int height, uint32_t* counters, int vectorWords);

// Eight sets of counters: neighbouring words count in different sets, so that runs of one value
// do not wait on one counter's previous increment.
struct SplitCounters
{
    uint32_t sets[8][256];
};
void ClearCounters(SplitCounters& counters);
// Counts the four bytes of a 32-bit word, low byte first, in the sets first .. first + 3.
inline void CountFourBytes(uint32_t bytes, SplitCounters& counters, int first)
{
    ++counters.sets[first][bytes & 0xFF];
    ++counters.sets[first + 1][(bytes >> 8) & 0xFF];
    ++counters.sets[first + 2][(bytes >> 16) & 0xFF];
    ++counters.sets[first + 3][bytes >> 24];
}
void SumCounters(const SplitCounters& split, uint32_t* counters);

// S_OK to go on, or the answer (also to the alignment query). minimumWidth and minimumHeight:
// the smallest sizes that hold one block.
HRESULT CheckAverages(const SWORD* output, const void* source, int width, int height, int minimumWidth,
                      int minimumHeight, int* alignmentOut, int alignment);

// Sum of an 8 x 8 block in the order of the 4-lane vector code, shifted right by 6.
SWORD Average8x8Block(const SWORD* block, int stride);
// Mean of the averages, given their unsigned total; nothing is written to a null mean.
void WriteMean(void* meanOut, uint32_t total, int64_t count);

enum class PairLayout
{
    Y16,  // pairs (w0, w1) and (w2, w3)
    UV16, // pairs (U0, U1) and (V0, V1)
};
// 2 x 2 averages of the steps [fromStep, steps) of one output row from two source rows; roundUp
// selects the SSE-integer rounding of the step mean. Returns the total of the step means.
uint32_t Average2x2Row(SWORD* output, const SWORD* row0, const SWORD* row1, int fromStep, int steps,
                       PairLayout layout, bool roundUp);
