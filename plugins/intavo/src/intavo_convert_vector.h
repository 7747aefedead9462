// The MMX and SSE2 row routines, written once over a vector type V of SWORD's vector types
// (sword_vector_mmx.h, sword_vector_sse2.h): a packed step is a whole number of vectors, a planar
// step V::kWords pixels of both rows. Included only by the MMX and SSE2 files, so every
// instantiation is compiled with its own instruction set; V::End() empties the MMX state.
#pragma once

#include "intavo_convert_rows.h"

#include "sword_pixel_pairs.h"

namespace intavo {

template <class V>
using Vec = typename V::Vec;

// (10 x (B + G + R)) >> 5 of the pixels of 3 words (B0 G0) (R0 B1) (G1 R1) a pair: one luma byte
// a word from each of the two pixels, joined into the words of the pair's two output bytes.
template <class V, bool kRowEnd>
[[gnu::always_inline]] inline void Rgb24ToY8Step(BYTE* out, const BYTE* in)
{
    const sword_vector::PixelPairs<V> pairs = sword_vector::LoadPixelPairs<V, kRowEnd>(in);
    const Vec<V> lowBytes = V::Set1(0x00FF);
    const auto sumOfBytes = [&](Vec<V> words) { return V::Add(V::And(words, lowBytes), V::SrlBy(words, 8)); };
    const Vec<V> first = V::Add(sumOfBytes(pairs.blueGreen), V::And(pairs.redBlue, lowBytes));
    const Vec<V> second = V::Add(V::SrlBy(pairs.redBlue, 8), sumOfBytes(pairs.greenRed));
    // At most 10 x 765 >> 5 = 239: both bytes fit.
    const Vec<V> ten = V::Set1(10);
    const Vec<V> luma0 = V::SrlBy(V::MulLo(first, ten), 5), luma1 = V::SrlBy(V::MulLo(second, ten), 5);
    V::Store(out, V::Or(luma0, V::SllBy(luma1, 8)));
}

// 2 x V::kWords pixels a step; the last step of a row reads nothing past its own bytes.
template <class V>
void Rgb24ToY8Steps(BYTE* out, const BYTE* in, int steps)
{
    for (int step = 0; step + 1 < steps; ++step, in += 6 * V::kWords, out += 2 * V::kWords)
        Rgb24ToY8Step<V, false>(out, in);
    if (steps > 0)
        Rgb24ToY8Step<V, true>(out, in);
}

// 2 x V::kWords pixels a step: the even bytes.
template <class V>
void Yuy2ToY8Steps(BYTE* out, const BYTE* in, int steps)
{
    const Vec<V> lowBytes = V::Set1(0x00FF);
    for (int step = 0; step < steps; ++step, in += 2 * V::kBytes, out += V::kBytes)
        V::Store(out, V::PackUS(V::And(V::Load(in), lowBytes), V::And(V::Load(in + V::kBytes), lowBytes)));
}

// V::kWords pixels a step; the two bytes of every word trade places.
template <class V>
void UyvyToYuy2Steps(BYTE* out, const BYTE* in, int steps)
{
    for (int step = 0; step < steps; ++step, in += V::kBytes, out += V::kBytes) {
        const Vec<V> words = V::Load(in);
        V::Store(out, V::Or(V::SllBy(words, 8), V::SrlBy(words, 8)));
    }
}

// V::kWords pixels a step; the chroma words of each pair trade places (a 16-bit rotation of every
// 32-bit lane of chroma).
template <class V>
void YvyuToYuy2Steps(BYTE* out, const BYTE* in, int steps)
{
    const Vec<V> lumaBytes = V::Set1Lanes(0x00FF00FF);
    const Vec<V> sixteen = V::ShiftCount(16);
    for (int step = 0; step < steps; ++step, in += V::kBytes, out += V::kBytes) {
        const Vec<V> pixels = V::Load(in);
        const Vec<V> chroma = V::AndNot(lumaBytes, pixels);
        const Vec<V> swapped = V::Or(V::SllLanes(chroma, sixteen), V::SrlLanes(chroma, sixteen));
        V::Store(out, V::Or(V::And(pixels, lumaBytes), swapped));
    }
}

// Steps of the reorders: the MMX set walks (width + 7) / 4 steps when the width is not a multiple
// of 8, so up to 7 pixels of padding are reordered too; the SSE2 set rounds up to whole steps.
template <class V>
int ReorderSteps(int width)
{
    if constexpr (V::kMmx)
        return width % 8 != 0 ? static_cast<int>((static_cast<int64_t>(width) + 7) / 4) : width / 4;
    return StepsRoundingUp(width, V::kWords);
}

// V::kWords pixels of both rows a step (out1 null for an odd last row); the rest of the row
// through the plain code.
template <class V>
void PlanarRowPair(BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u, const BYTE* v, int width)
{
    int x = 0;
    for (; x + V::kWords <= width; x += V::kWords) {
        const Vec<V> chroma = V::UnpackLoBytes(V::LoadQuarter(u + x / 2), V::LoadQuarter(v + x / 2));
        V::Store(out0 + 2 * x, V::UnpackLoBytes(V::LoadHalf(y0 + x), chroma));
        if (out1 != nullptr)
            V::Store(out1 + 2 * x, V::UnpackLoBytes(V::LoadHalf(y1 + x), chroma));
    }
    V::End();
    PlanarRowPair_c(out0, out1, y0, y1, u, v, x, width);
}

template <class V>
HRESULT ConvertPlanar(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                      int sourceCapacity, bool vFirst)
{
    return ConvertPlanarRows(destination, source, destinationStride, width, height, sourceCapacity, vFirst,
                             [width](BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u,
                                     const BYTE* v) { PlanarRowPair<V>(out0, out1, y0, y1, u, v, width); });
}

// A packed routine; the MMX state is left empty on every path.
template <class V, class RowSteps>
HRESULT ConvertPacked(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride, int width,
                      int height, PackedKind kind, PackedStep step, int steps, RowSteps rowSteps)
{
    const HRESULT result = ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                                             kind, step, steps, rowSteps);
    V::End();
    return result;
}

} // namespace intavo

// The exported routines of one instruction set, named by its suffix.
#define INTAVO_CONVERSION_VARIANTS(V, suffix)                                                                      \
    HRESULT ConvertRGB24ToY8_##suffix(BYTE* destination, const BYTE* source, int destinationStride,               \
                                      int sourceStride, int width, int height)                                    \
    {                                                                                                              \
        return intavo::ConvertPacked<V>(destination, source, destinationStride, sourceStride, width, height,      \
                                        intavo::PackedKind::Rgb24ToY8, {2 * V::kWords, 6 * V::kWords, 2 * V::kWords}, \
                                        intavo::StepsRoundingUp(width, 2 * V::kWords),                            \
                                        intavo::Rgb24ToY8Steps<V>);                                               \
    }                                                                                                              \
    HRESULT ConvertYUY2ToY8_##suffix(BYTE* destination, const BYTE* source, int destinationStride,                \
                                     int sourceStride, int width, int height)                                     \
    {                                                                                                              \
        return intavo::ConvertPacked<V>(destination, source, destinationStride, sourceStride, width, height,      \
                                        intavo::PackedKind::Yuy2ToY8, {V::kBytes, 2 * V::kBytes, V::kBytes},      \
                                        intavo::StepsRoundingUp(width, V::kBytes), intavo::Yuy2ToY8Steps<V>);     \
    }                                                                                                              \
    HRESULT ConvertUYVYToYUY2_##suffix(BYTE* destination, const BYTE* source, int destinationStride,              \
                                       int sourceStride, int width, int height)                                   \
    {                                                                                                              \
        return intavo::ConvertPacked<V>(destination, source, destinationStride, sourceStride, width, height,      \
                                        intavo::PackedKind::Reorder, {V::kWords, V::kBytes, V::kBytes},           \
                                        intavo::ReorderSteps<V>(width), intavo::UyvyToYuy2Steps<V>);              \
    }                                                                                                              \
    HRESULT ConvertYVYUToYUY2_##suffix(BYTE* destination, const BYTE* source, int destinationStride,              \
                                       int sourceStride, int width, int height)                                   \
    {                                                                                                              \
        return intavo::ConvertPacked<V>(destination, source, destinationStride, sourceStride, width, height,      \
                                        intavo::PackedKind::Reorder, {V::kWords, V::kBytes, V::kBytes},           \
                                        intavo::ReorderSteps<V>(width), intavo::YvyuToYuy2Steps<V>);              \
    }                                                                                                              \
    HRESULT ConvertI420ToYUY2_##suffix(BYTE* destination, const BYTE* source, int destinationStride, int width,   \
                                       int height, int sourceCapacity)                                            \
    {                                                                                                              \
        return intavo::ConvertPlanar<V>(destination, source, destinationStride, width, height, sourceCapacity,    \
                                        false);                                                                    \
    }                                                                                                              \
    HRESULT ConvertYV12ToYUY2_##suffix(BYTE* destination, const BYTE* source, int destinationStride, int width,   \
                                       int height, int sourceCapacity)                                            \
    {                                                                                                              \
        return intavo::ConvertPlanar<V>(destination, source, destinationStride, width, height, sourceCapacity,    \
                                        true);                                                                     \
    }
