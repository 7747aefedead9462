// RGB24 pixels in pairs, for the conversions written once over a vector type V of
// sword_vector_mmx.h or sword_vector_sse2.h (SWORD's RGB24 to YUY2, the source plug-in's RGB24 to
// Y8). Include it after the vector type, in a file compiled with its instruction set.
#pragma once

#include <windows.h>

namespace sword_vector {

// V::kWords pixel pairs, word k of every pair (A, B, C) in one vector, the pairs in order. A pair
// is 6 bytes, or 3 words (B0 G0) (R0 B1) (G1 R1); every pair is read as 8 bytes into the low half
// of a vector (2 bytes of the next pair come along), and a transpose of words, lanes and halves
// gathers the words.
template <class V>
struct PixelPairs
{
    typename V::Vec blueGreen, redBlue, greenRed;
};

// At a row's end the last pair is read 2 bytes earlier and moved down, so nothing past the row is
// read.
template <class V, bool kRowEnd>
[[gnu::always_inline]] inline typename V::Vec LoadPixelPair(const BYTE* pair)
{
    if constexpr (kRowEnd)
        return V::WordsDown(V::LoadBytes8(pair - 2));
    return V::LoadBytes8(pair);
}

// The block of 6 x V::kWords bytes; 2 bytes past it are read too unless kRowEnd.
template <class V, bool kRowEnd>
[[gnu::always_inline]] inline PixelPairs<V> LoadPixelPairs(const BYTE* block)
{
    using Vec = typename V::Vec;
    const auto pair = [block](int j) { return V::LoadBytes8(block + 6 * j); };
    const Vec last = LoadPixelPair<V, kRowEnd>(block + 6 * (V::kWords - 1));
    if constexpr (V::kWords == 4) {
        // Pairs 0 and 1, 2 and 3 word by word: (A0 A1 B0 B1) and (C0 C1 . .), then their lanes.
        const Vec low01 = V::UnpackLoWords(pair(0), pair(1)), high01 = V::UnpackHiWords(pair(0), pair(1));
        const Vec low23 = V::UnpackLoWords(pair(2), last), high23 = V::UnpackHiWords(pair(2), last);
        return {V::UnpackLoLanes(low01, low23), V::UnpackHiLanes(low01, low23), V::UnpackLoLanes(high01, high23)};
    } else {
        // (A0 A1 B0 B1 C0 C1 . .) for each two pairs, then (A0..A3 B0..B3) and (C0..C3 . .) for
        // each four, then the halves.
        const Vec q01 = V::UnpackLoWords(pair(0), pair(1)), q23 = V::UnpackLoWords(pair(2), pair(3));
        const Vec q45 = V::UnpackLoWords(pair(4), pair(5)), q67 = V::UnpackLoWords(pair(6), last);
        const Vec ab0123 = V::UnpackLoLanes(q01, q23), c0123 = V::UnpackHiLanes(q01, q23);
        const Vec ab4567 = V::UnpackLoLanes(q45, q67), c4567 = V::UnpackHiLanes(q45, q67);
        return {V::UnpackLoHalves(ab0123, ab4567), V::UnpackHiHalves(ab0123, ab4567),
                V::UnpackLoHalves(c0123, c4567)};
    }
}

} // namespace sword_vector
