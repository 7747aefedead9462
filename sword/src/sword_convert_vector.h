// The conversions whose vector code is the same for MMX and SSE2, written once over a vector type
// V of sword_vector_mmx.h or sword_vector_sse2.h: V::kWords pixels a step, the rest of a row
// through the plain row code. Included only by the MMX and SSE2 files, so every instantiation is
// compiled with its own instruction set.
#pragma once

#include "sword_arith_vector.h"
#include "sword_convert_rows.h"
#include "sword_pixel_pairs.h"

#include <cstring>

namespace convert {

using arith::LoadAt;
using arith::StoreAt;
using arith::Vec;

// Masks are built where they are used: a static vector would run MMX code before main without EMMS.
template <class V>
Vec<V> LowWords()
{
    return V::Set1Lanes(0x0000FFFF);
}

// Saturates words to 0..255 and packs them into the low half.
template <class V>
Vec<V> PackToBytes(Vec<V> words)
{
    return V::PackUS(words, words);
}

// (33 r + 65 g + 13 b) >> 7: luma of pixels before its offset (the sum stays below 2^15).
template <class V>
Vec<V> LumaWords(Vec<V> r, Vec<V> g, Vec<V> b)
{
    const Vec<V> sum = V::Add(V::MulLo(r, V::Set1(33)), V::MulLo(g, V::Set1(65)));
    return V::SrlBy(V::Add(sum, V::MulLo(b, V::Set1(13))), 7);
}

// RGB24 to YUY2, a block of V::kWords pixel pairs gathered as sword_pixel_pairs.h does, luma and
// chroma exactly as the plain row code. Chroma comes from the pair averages through two
// differences: -19 r - 37 g + 56 b = 19 (b - r) + 37 (b - g) and 56 r - 47 g - 9 b =
// 47 (b - g) - 56 (b - r). With the weights doubled the high byte of the word is the sum >> 7,
// and a mask puts it in place. Luma gets 16 and chroma 128 in one add: the luma byte stays below
// 256 and the chroma byte wraps to its value 16..239.
template <class V, bool kRowEnd>
[[gnu::always_inline]] inline void Rgb24ToYuy2Block(const BYTE* input, BYTE* output)
{
    const sword_vector::PixelPairs<V> pairs = sword_vector::LoadPixelPairs<V, kRowEnd>(input);
    const Vec<V> lowBytes = V::Set1(0x00FF);
    const Vec<V> b0 = V::And(pairs.blueGreen, lowBytes), g0 = V::SrlBy(pairs.blueGreen, 8);
    const Vec<V> r0 = V::And(pairs.redBlue, lowBytes), b1 = V::SrlBy(pairs.redBlue, 8);
    const Vec<V> g1 = V::And(pairs.greenRed, lowBytes), r1 = V::SrlBy(pairs.greenRed, 8);
    const auto average = [](Vec<V> a, Vec<V> b) { return V::SrlBy(V::Add(a, b), 1); };
    const Vec<V> blue = average(b0, b1);
    const Vec<V> blueLessRed = V::Sub(blue, average(r0, r1)), blueLessGreen = V::Sub(blue, average(g0, g1));
    const Vec<V> u = V::Add(V::MulLo(blueLessRed, V::Set1(38)), V::MulLo(blueLessGreen, V::Set1(74)));
    const Vec<V> v = V::Sub(V::MulLo(blueLessGreen, V::Set1(94)), V::MulLo(blueLessRed, V::Set1(112)));
    const Vec<V> offsets = V::Set1(static_cast<short>(0x8010));
    const Vec<V> first = V::Add(V::Add(LumaWords<V>(r0, g0, b0), V::AndNot(lowBytes, u)), offsets);
    const Vec<V> second = V::Add(V::Add(LumaWords<V>(r1, g1, b1), V::AndNot(lowBytes, v)), offsets);
    StoreAt<V>(output, V::UnpackLoWords(first, second));
    StoreAt<V>(output + V::kBytes, V::UnpackHiWords(first, second));
}

// Pixels of three planes to 16-bit RGB.
template <class V>
Vec<V> PlanesToRgb16Step(Vec<V> first, Vec<V> second, Vec<V> third, bool layout555)
{
    first = V::ClampToByteRange(first);
    second = V::ClampToByteRange(second);
    third = V::ClampToByteRange(third);
    Vec<V> high, middle;
    if (layout555) {
        high = V::And(V::Sll(first, V::ShiftCount(7)), V::Set1(0x7C00));
        middle = V::And(V::Sll(second, V::ShiftCount(2)), V::Set1(0x03E0));
    } else {
        high = V::And(V::Sll(first, V::ShiftCount(8)), V::Set1(static_cast<short>(0xF800)));
        middle = V::And(V::Sll(second, V::ShiftCount(3)), V::Set1(0x07E0));
    }
    return V::Or(V::Or(high, middle), V::Srl(third, V::ShiftCount(3)));
}

template <class V>
HRESULT Yuy2ToPlanes(SWORD* planeY, void* planeUV, const void* source, int planeStride, int sourceStride,
                     int width, int height, int* alignmentOut)
{
    const HRESULT check = CheckYuy2ToPlanes(planeY, planeUV, source, planeStride, sourceStride, width, height,
                                            alignmentOut, V::kGranularity);
    if (check != S_OK)
        return check;
    const Vec<V> lowBytes = V::Set1(0x00FF);
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(static_cast<const BYTE*>(source), sourceStride, row);
        SWORD* y = RowAt(planeY, planeStride, row);
        SWORD* uv = RowAt(static_cast<SWORD*>(planeUV), planeStride, row);
        int x = 0;
        for (; x + V::kWords <= width; x += V::kWords) {
            const Vec<V> pixels = LoadAt<V>(in + 2 * x);
            StoreAt<V>(y + x, V::And(pixels, lowBytes));
            StoreAt<V>(uv + x, V::Srl(pixels, V::ShiftCount(8)));
        }
        Yuy2ToY16UV16Row_c(in, y, uv, x, width);
    }
    V::End();
    return S_OK;
}

template <class V>
HRESULT Y8ToY16(SWORD* planeY, const void* source, int planeStride, int sourceStride, int width, int height,
                int* alignmentOut)
{
    const HRESULT check =
        CheckY8ToY16(planeY, source, planeStride, sourceStride, width, height, alignmentOut, V::kGranularity);
    if (check != S_OK)
        return check;
    const Vec<V> zero = V::Zero();
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(static_cast<const BYTE*>(source), sourceStride, row);
        SWORD* y = RowAt(planeY, planeStride, row);
        int x = 0;
        for (; x + 2 * V::kWords <= width; x += 2 * V::kWords) {
            const Vec<V> bytes = LoadAt<V>(in + x);
            StoreAt<V>(y + x, V::UnpackLoBytes(bytes, zero));
            StoreAt<V>(y + x + V::kWords, V::UnpackHiBytes(bytes, zero));
        }
        // Half a step: half a vector of source bytes still fills one whole word vector.
        if (x + V::kWords <= width) {
            StoreAt<V>(y + x, V::UnpackLoBytes(V::LoadHalf(in + x), zero));
            x += V::kWords;
        }
        Y8ToY16Row_c(in, y, x, width);
    }
    V::End();
    return S_OK;
}

template <class V>
HRESULT SplitUV(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int stride, int widthInWords, int height)
{
    const HRESULT check = CheckSplitJoin(planeUV, planeU, planeV, stride, widthInWords, height);
    if (check != S_OK)
        return check;
    const Vec<V> sixteen = V::ShiftCount(16);
    for (int row = 0; row < height; ++row) {
        const SWORD* uv = RowAt(planeUV, stride, row);
        SWORD* u = RowAt(planeU, stride, row);
        SWORD* v = RowAt(planeV, stride, row);
        int x = 0;
        for (; x + V::kWords <= widthInWords; x += V::kWords) {
            const Vec<V> pairs = LoadAt<V>(uv + x);
            const Vec<V> us = V::And(pairs, LowWords<V>());
            const Vec<V> vs = V::SrlLanes(pairs, sixteen);
            StoreAt<V>(u + x, V::Or(us, V::SllLanes(us, sixteen)));
            StoreAt<V>(v + x, V::Or(vs, V::SllLanes(vs, sixteen)));
        }
        SplitUVRow_c(uv, u, v, x, widthInWords);
    }
    V::End();
    return S_OK;
}

template <class V>
HRESULT JoinUV(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int stride, int widthInWords, int height)
{
    const HRESULT check = CheckSplitJoin(planeUV, planeU, planeV, stride, widthInWords, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        SWORD* uv = RowAt(planeUV, stride, row);
        const SWORD* u = RowAt(planeU, stride, row);
        const SWORD* v = RowAt(planeV, stride, row);
        int x = 0;
        for (; x + V::kWords <= widthInWords; x += V::kWords) {
            const Vec<V> us = V::And(LoadAt<V>(u + x), LowWords<V>());
            StoreAt<V>(uv + x, V::Or(us, V::SllLanes(LoadAt<V>(v + x), V::ShiftCount(16))));
        }
        JoinUVRow_c(uv, u, v, x, widthInWords);
    }
    V::End();
    return S_OK;
}

// Three planes into an output picture of bytesPerPixel: step(a, b, c, out) writes V::kWords pixels
// from their words, rowEnd(a, b, c, out, from, width) the rest of a row.
template <class V, class Step, class RowEnd>
HRESULT PlanesToRgb(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int capacity,
                    int planeStride, int* outputStride, int width, int height, int bytesPerPixel, Step step,
                    RowEnd rowEnd)
{
    const HRESULT prepared = PreparePlanesToRgb(first, second, third, output, capacity, planeStride, outputStride,
                                                width, height, bytesPerPixel);
    if (prepared != S_OK)
        return prepared;
    for (int row = 0; row < height; ++row) {
        const SWORD* a = RowAt(first, planeStride, row);
        const SWORD* b = RowAt(second, planeStride, row);
        const SWORD* c = RowAt(third, planeStride, row);
        BYTE* out = RowAt(output, *outputStride, row);
        int x = 0;
        for (; x + V::kWords <= width; x += V::kWords)
            step(LoadAt<V>(a + x), LoadAt<V>(b + x), LoadAt<V>(c + x), out + bytesPerPixel * x);
        rowEnd(a, b, c, out, x, width);
    }
    V::End();
    return S_OK;
}

template <class V>
HRESULT PlanesToRgb32(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int capacity,
                      int planeStride, int* outputStride, int width, int height)
{
    const auto step = [](Vec<V> a, Vec<V> b, Vec<V> c, BYTE* out) {
        const Vec<V> thirdAndFirst = V::PackUS(c, a), secondAndZero = V::PackUS(b, V::Zero());
        const Vec<V> blueGreen = V::UnpackLoBytes(thirdAndFirst, secondAndZero);
        const Vec<V> redZero = V::UnpackHiBytes(thirdAndFirst, secondAndZero);
        StoreAt<V>(out, V::UnpackLoWords(blueGreen, redZero));
        StoreAt<V>(out + V::kBytes, V::UnpackHiWords(blueGreen, redZero));
    };
    return PlanesToRgb<V>(first, second, third, output, capacity, planeStride, outputStride, width, height, 4, step,
                          PlanesToRgb32Row_c);
}

template <class V>
HRESULT PlanesToRgb16(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int capacity,
                      int planeStride, int* outputStride, int width, int height, int layout555)
{
    const bool is555 = (layout555 & 0xFF) != 0;
    const auto step = [is555](Vec<V> a, Vec<V> b, Vec<V> c, BYTE* out) {
        StoreAt<V>(out, PlanesToRgb16Step<V>(a, b, c, is555));
    };
    const auto rowEnd = [is555](const SWORD* a, const SWORD* b, const SWORD* c, BYTE* out, int from, int width) {
        PlanesToRgb16Row_c(a, b, c, out, from, width, is555);
    };
    return PlanesToRgb<V>(first, second, third, output, capacity, planeStride, outputStride, width, height, 2, step,
                          rowEnd);
}

template <class V>
HRESULT Rgb24ToYuy2(BYTE* output, const BYTE* input, int outputStride, int inputStride, int width, int height)
{
    const HRESULT check = CheckRgb24ToYuy2(output, input, outputStride, inputStride, width, height);
    if (check != S_OK)
        return check;
    constexpr int kBlockPixels = 2 * V::kWords;
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(input, inputStride, row);
        BYTE* out = RowAt(output, outputStride, row);
        int x = 0;
        // A block reads 2 bytes past its pixels: only a block that ends the row reads otherwise.
        for (; x + kBlockPixels < width; x += kBlockPixels)
            Rgb24ToYuy2Block<V, false>(in + 3 * x, out + 2 * x);
        if (x + kBlockPixels == width) {
            Rgb24ToYuy2Block<V, true>(in + 3 * x, out + 2 * x);
            x = width;
        }
        Rgb24ToYuy2Row_c(in, out, x, width);
    }
    V::End();
    return S_OK;
}

// Luma words with the chroma words of planeUV, or grey where planeUV is null; arguments checked.
// A step packs two vectors of each into whole byte vectors and writes two vectors of YUY2; a last
// single vector of words packs with itself.
template <class V>
void PlanesToYuy2Rows(const SWORD* planeY, const SWORD* planeUV, int sourceStride, BYTE* output, int outputStride,
                      int width, int height)
{
    const Vec<V> grey = V::Set1(static_cast<short>(0x8080)); // 128 in every byte
    const auto bytesAt = [](const SWORD* words, int x) {
        return V::PackUS(LoadAt<V>(words + x), LoadAt<V>(words + x + V::kWords));
    };
    for (int row = 0; row < height; ++row) {
        const SWORD* y = RowAt(planeY, sourceStride, row);
        const SWORD* uv = planeUV != nullptr ? RowAt(planeUV, sourceStride, row) : nullptr;
        BYTE* out = RowAt(output, outputStride, row);
        int x = 0;
        for (; x + 2 * V::kWords <= width; x += 2 * V::kWords) {
            const Vec<V> luma = bytesAt(y, x);
            const Vec<V> chroma = uv != nullptr ? bytesAt(uv, x) : grey;
            StoreAt<V>(out + 2 * x, V::UnpackLoBytes(luma, chroma));
            StoreAt<V>(out + 2 * x + V::kBytes, V::UnpackHiBytes(luma, chroma));
        }
        if (x + V::kWords <= width) {
            const Vec<V> chroma = uv != nullptr ? PackToBytes<V>(LoadAt<V>(uv + x)) : grey;
            StoreAt<V>(out + 2 * x, V::UnpackLoBytes(PackToBytes<V>(LoadAt<V>(y + x)), chroma));
            x += V::kWords;
        }
        if (uv != nullptr)
            Y16UV16ToYuy2Row_c(y, uv, out, x, width);
        else
            Y16ToYuy2Row_c(y, out, x, width);
    }
    V::End();
}

template <class V>
HRESULT Y16UV16ToYuy2(const SWORD* planeY, const SWORD* planeUV, int sourceStride, BYTE* output, int outputStride,
                      int width, int height)
{
    const HRESULT check = CheckPlanesToYuy2(planeY, planeUV, sourceStride, output, outputStride, width, height);
    if (check == S_OK)
        PlanesToYuy2Rows<V>(planeY, planeUV, sourceStride, output, outputStride, width, height);
    return check;
}

template <class V>
HRESULT Y16ToYuy2(const SWORD* planeY, int sourceStride, BYTE* output, int outputStride, int width, int height)
{
    const HRESULT check = CheckPlanesToYuy2(planeY, planeY, sourceStride, output, outputStride, width, height);
    if (check == S_OK)
        PlanesToYuy2Rows<V>(planeY, nullptr, sourceStride, output, outputStride, width, height);
    return check;
}

} // namespace convert

// The exported functions of one instruction set, in the order of the templates above.
#define SWORD_CONVERT_VARIANTS(V, yuy2ToPlanes, y8ToY16, splitUV, joinUV, planesToRgb32, planesToRgb16, rgb24ToYuy2, \
                               y16UV16ToYuy2, y16ToYuy2)                                                          \
    HRESULT yuy2ToPlanes(SWORD* planeY, void* planeUV, const void* source, void*, const SWORD*, int planeStride,     \
                         int sourceStride, int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut) \
    {                                                                                                              \
        return convert::Yuy2ToPlanes<V>(planeY, planeUV, source, planeStride, sourceStride, width, height,         \
                                        alignmentOut);                                                             \
    }                                                                                                              \
    HRESULT y8ToY16(SWORD* planeY, void*, const void* source, void*, const SWORD*, int planeStride, int sourceStride, \
                    int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut)                     \
    {                                                                                                              \
        return convert::Y8ToY16<V>(planeY, source, planeStride, sourceStride, width, height, alignmentOut);        \
    }                                                                                                              \
    HRESULT splitUV(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int stride, int widthInWords, int height)   \
    {                                                                                                              \
        return convert::SplitUV<V>(planeUV, planeU, planeV, stride, widthInWords, height);                         \
    }                                                                                                              \
    HRESULT joinUV(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int stride, int widthInWords, int height) \
    {                                                                                                              \
        return convert::JoinUV<V>(planeUV, planeU, planeV, stride, widthInWords, height);                          \
    }                                                                                                              \
    HRESULT planesToRgb32(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int capacity,  \
                          int planeStride, int* outputStride, int width, int height)                               \
    {                                                                                                              \
        return convert::PlanesToRgb32<V>(first, second, third, output, capacity, planeStride, outputStride, width, \
                                         height);                                                                  \
    }                                                                                                              \
    HRESULT planesToRgb16(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int capacity,  \
                          int planeStride, int* outputStride, int width, int height, int layout555)                \
    {                                                                                                              \
        return convert::PlanesToRgb16<V>(first, second, third, output, capacity, planeStride, outputStride, width, \
                                         height, layout555);                                                       \
    }                                                                                                              \
    HRESULT rgb24ToYuy2(BYTE* output, const BYTE* input, int outputStride, int inputStride, int width, int height)  \
    {                                                                                                              \
        return convert::Rgb24ToYuy2<V>(output, input, outputStride, inputStride, width, height);                   \
    }                                                                                                              \
    HRESULT y16UV16ToYuy2(const SWORD* planeY, const SWORD* planeUV, int sourceStride, BYTE* output,               \
                          int outputStride, int width, int height)                                                 \
    {                                                                                                              \
        return convert::Y16UV16ToYuy2<V>(planeY, planeUV, sourceStride, output, outputStride, width, height);      \
    }                                                                                                              \
    HRESULT y16ToYuy2(const SWORD* planeY, int sourceStride, BYTE* output, int outputStride, int width, int height) \
    {                                                                                                              \
        return convert::Y16ToYuy2<V>(planeY, sourceStride, output, outputStride, width, height);                   \
    }
