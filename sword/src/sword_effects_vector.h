// Colour key, band generation, gradient fill and gradient correction written once over a vector
// type V of sword_vector_mmx.h, sword_vector_sse.h or sword_vector_sse2.h: whole vectors per row.
// Aligned-only types hand planes off the vector boundary to their any-address twin. Included only
// by the files of one instruction set, so every instantiation is compiled with its own flags.
#pragma once

#include "sword_arith_vector.h"
#include "sword_effects.h"

#include "CatchAllLog.h"

namespace effects {

using arith::LoadAt;
using arith::StoreAt;
using arith::Vec;

// Where plane B's word is 0, plane A keeps its own; then every word is masked by the lanes.
template <class V>
HRESULT KeySource(SWORD* planeA, const void* planeB, const SWORD* laneMask, int strideA, int strideB, int width,
                  int height, int* alignmentOut)
{
    if constexpr (V::kAlignedOnly) {
        if (!IsOnVectorBoundary(planeA, strideA, V::kBytes) || !IsOnVectorBoundary(planeB, strideB, V::kBytes))
            return KeySource<typename V::Unaligned>(planeA, planeB, laneMask, strideA, strideB, width, height,
                                                    alignmentOut);
    }
    try {
        const HRESULT check = CheckColourKey(planeA, planeB, laneMask, alignmentOut, V::kGranularity);
        if (check != S_OK)
            return check;
        const Vec<V> mask = V::LoadConstant(laneMask), zero = V::Zero();
        const int vectors = VectorsPerRow(width, V::kWords);
        for (int row = 0; row < height; ++row) {
            SWORD* lower = RowAt(planeA, strideA, row);
            const SWORD* upper = RowAt(static_cast<const SWORD*>(planeB), strideB, row);
            for (int v = 0; v < vectors; ++v, lower += V::kWords, upper += V::kWords) {
                const Vec<V> b = LoadAt<V>(upper);
                const Vec<V> transparent = V::CmpEq(b, zero);
                StoreAt<V>(lower, V::And(arith::Under<V>(LoadAt<V>(lower), b, transparent), mask));
            }
        }
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

// Every row is one vector repeated: peaks - 2 x (row - centre)^2, saturated.
template <class V>
HRESULT GenerateBand(SWORD* planeA, int strideA, int width, int height, const SWORD* centresIn,
                     const SWORD* peaksIn, int* alignmentOut)
{
    if constexpr (V::kAlignedOnly) {
        if (!IsOnVectorBoundary(planeA, strideA, V::kBytes))
            return GenerateBand<typename V::Unaligned>(planeA, strideA, width, height, centresIn, peaksIn,
                                                       alignmentOut);
    }
    try {
        // The MMX variant answers the alignment query with "none".
        const int alignment = V::kMmx ? kSwordAlignmentNone : V::kGranularity;
        const HRESULT check = CheckGenerateImage(planeA, centresIn, peaksIn, alignmentOut, alignment);
        if (check != S_OK)
            return check;
        const Vec<V> centres = V::LoadConstant(centresIn), peaks = V::LoadConstant(peaksIn);
        const int vectors = VectorsPerRow(width, V::kWords);
        for (int row = 0; row < height; ++row) {
            const Vec<V> distance = V::SubS(V::Set1(static_cast<SWORD>(row)), centres);
            const Vec<V> square = V::MulLo(distance, distance);
            const Vec<V> value = V::SubUS(peaks, V::Add(square, square));
            SWORD* words = RowAt(planeA, strideA, row);
            for (int v = 0; v < vectors; ++v, words += V::kWords)
                StoreAt<V>(words, value);
        }
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

template <class V>
HRESULT FillGradient(SWORD* planeA, int strideA, int width, int height, const SWORD* constant1, int* alignmentOut)
{
    if constexpr (V::kAlignedOnly) {
        if (!IsOnVectorBoundary(planeA, strideA, V::kBytes))
            return FillGradient<typename V::Unaligned>(planeA, strideA, width, height, constant1, alignmentOut);
    }
    try {
        GradientRamp ramp{};
        const HRESULT prepared = PrepareGradientFill(planeA, width, height, constant1, alignmentOut, &ramp);
        if (prepared != S_OK)
            return prepared;
        // Unshifted column accumulators of the first vector, and the saturated step of one vector.
        alignas(16) SWORD first[V::kWords];
        for (int lane = 0; lane < V::kWords; ++lane)
            first[lane] = SaturateToWord(lane * ramp.columnStep);
        const Vec<V> firstColumns = V::LoadConstant(first);
        const Vec<V> vectorStep = V::Set1(SaturateToWord(V::kWords * ramp.columnStep));
        const Vec<V> base = V::Set1(ramp.base), seven = V::ShiftCount(7);
        const int vectors = VectorsPerRow(width, V::kWords);
        for (int row = 0; row < height; ++row) {
            const Vec<V> rowTerm = V::Set1(GradientTerm(ramp.rowStep, row));
            Vec<V> columns = firstColumns;
            SWORD* words = RowAt(planeA, strideA, row);
            for (int v = 0; v < vectors; ++v, words += V::kWords) {
                // The two terms are within +-256, so only the base can saturate the sum.
                StoreAt<V>(words, V::AddS(V::Add(V::Sra(columns, seven), rowTerm), base));
                columns = V::AddS(columns, vectorStep);
            }
        }
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

template <class V>
HRESULT CorrectGradient(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve, int curveEntries)
{
    try {
        const HRESULT check = CheckGradientCorrect(plane, stride, widthInWords, height, curve, curveEntries);
        if (check != S_OK)
            return check;
        const int vectors = VectorsPerRow(widthInWords, V::kWords);
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(plane, stride, row);
            for (int v = 0; v < vectors; ++v, words += V::kWords)
                StoreAt<V>(words, V::LookUpWords(V::ClampToByteRange(LoadAt<V>(words)), curve));
        }
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

} // namespace effects
