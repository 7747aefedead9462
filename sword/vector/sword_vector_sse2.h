// The SSE2 word vectors (8 words) that the kernels written once over a vector type are
// instantiated with: Sse2 needs 16-byte aligned addresses, Sse2Unaligned takes any. Included only
// by the *_sse2.cpp files, compiled with their flags.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

#include <emmintrin.h>

#include <cstring>

namespace sword_vector {

struct Sse2Words
{
    using Vec = __m128i;
    static constexpr int kWords = 8;
    static constexpr int kBytes = 16;
    static constexpr int kGranularity = kSwordAlignmentSse2;
    static constexpr bool kMmx = false;
    static constexpr bool kAlignedOnly = false;

    static Vec LoadConstant(const SWORD* constant) { return _mm_loadu_si128(reinterpret_cast<const Vec*>(constant)); }
    static Vec ShiftCount(unsigned count) { return _mm_cvtsi32_si128(static_cast<int>(count)); }
    static Vec ShiftCount64(const SWORD* constant) { return _mm_loadl_epi64(reinterpret_cast<const Vec*>(constant)); }
    static void End() {}
    // A store past the caches to a 16-byte aligned address, for output nothing reads soon; the
    // fence orders such stores before any later store.
    static void StreamStore(BYTE* address, Vec value) { _mm_stream_si128(reinterpret_cast<Vec*>(address), value); }
    static void EndStreaming() { _mm_sfence(); }

    static Vec Zero() { return _mm_setzero_si128(); }
    static Vec Set1(short value) { return _mm_set1_epi16(value); }
    static Vec Columns() { return _mm_setr_epi16(1, 2, 3, 4, 5, 6, 7, 8); }
    static Vec Add(Vec a, Vec b) { return _mm_add_epi16(a, b); }
    static Vec AddS(Vec a, Vec b) { return _mm_adds_epi16(a, b); }
    static Vec SubS(Vec a, Vec b) { return _mm_subs_epi16(a, b); }
    static Vec SubUS(Vec a, Vec b) { return _mm_subs_epu16(a, b); }
    // The builtin stays one multiply: the intrinsic is a plain vector product here, which the
    // compiler turns into several shifts and adds when a factor is constant.
    static Vec MulLo(Vec a, Vec b) { return reinterpret_cast<Vec>(__builtin_ia32_pmullw128(reinterpret_cast<__v8hi>(a), reinterpret_cast<__v8hi>(b))); }
    static Vec Sra(Vec a, Vec count) { return _mm_sra_epi16(a, count); }
    static Vec And(Vec a, Vec b) { return _mm_and_si128(a, b); }
    static Vec Or(Vec a, Vec b) { return _mm_or_si128(a, b); }
    static Vec Xor(Vec a, Vec b) { return _mm_xor_si128(a, b); }
    // (NOT a) AND b
    static Vec AndNot(Vec a, Vec b) { return _mm_andnot_si128(a, b); }
    static Vec CmpGt(Vec a, Vec b) { return _mm_cmpgt_epi16(a, b); }
    static Vec CmpEq(Vec a, Vec b) { return _mm_cmpeq_epi16(a, b); }
    static Vec ClampToByteRange(Vec a) { return _mm_unpacklo_epi8(_mm_packus_epi16(a, a), _mm_setzero_si128()); }

    // For the conversions: 32-bit lanes, logical shifts, packs and unpacks; LoadHalf reads half a
    // vector into the low half.
    static Vec Lanes(const int* values) { return _mm_set_epi32(values[3], values[2], values[1], values[0]); }
    static Vec Set1Lanes(int value) { return _mm_set1_epi32(value); }
    static Vec AddLanes(Vec a, Vec b) { return _mm_add_epi32(a, b); }
    static Vec Sll(Vec a, Vec count) { return _mm_sll_epi16(a, count); }
    static Vec Srl(Vec a, Vec count) { return _mm_srl_epi16(a, count); }
    static Vec SllLanes(Vec a, Vec count) { return _mm_sll_epi32(a, count); }
    static Vec SrlLanes(Vec a, Vec count) { return _mm_srl_epi32(a, count); }
    // Words to bytes saturated to 0..255, a in the low half.
    static Vec PackUS(Vec a, Vec b) { return _mm_packus_epi16(a, b); }
    // Lanes to words saturated.
    static Vec PackLanes(Vec a, Vec b) { return _mm_packs_epi32(a, b); }
    static Vec LoadHalf(const BYTE* address) { return _mm_loadl_epi64(reinterpret_cast<const Vec*>(address)); }
    // A quarter vector (4 bytes) into the low end.
    static Vec LoadQuarter(const BYTE* address)
    {
        int value;
        std::memcpy(&value, address, sizeof(value));
        return _mm_cvtsi32_si128(value);
    }
    static Vec UnpackLoBytes(Vec a, Vec b) { return _mm_unpacklo_epi8(a, b); }
    static Vec UnpackHiBytes(Vec a, Vec b) { return _mm_unpackhi_epi8(a, b); }
    static Vec UnpackLoWords(Vec a, Vec b) { return _mm_unpacklo_epi16(a, b); }
    static Vec UnpackHiWords(Vec a, Vec b) { return _mm_unpackhi_epi16(a, b); }

    // For the neighbourhood filters: wrapping and unsigned saturating word arithmetic, shifts by a
    // count known at the call, the multiply-add of word pairs into lanes, and whole-vector moves.
    static Vec Sub(Vec a, Vec b) { return _mm_sub_epi16(a, b); }
    static Vec AddUS(Vec a, Vec b) { return _mm_adds_epu16(a, b); }
    // High words of the unsigned products (b below 0x8000, as MMX needs).
    static Vec MulHi(Vec a, Vec b) { return _mm_mulhi_epi16(a, b); }
    static Vec MulHiUS(Vec a, Vec b) { return _mm_mulhi_epu16(a, b); }
    static Vec MulAddPairs(Vec a, Vec b) { return _mm_madd_epi16(a, b); }
    static Vec SllBy(Vec a, int count) { return _mm_slli_epi16(a, count); }
    static Vec SrlBy(Vec a, int count) { return _mm_srli_epi16(a, count); }
    static Vec SraBy(Vec a, int count) { return _mm_srai_epi16(a, count); }
    static Vec SraLanesBy(Vec a, int count) { return _mm_srai_epi32(a, count); }
    // Every word one place up (towards the high end) or down; 0 comes in.
    static Vec WordsUp(Vec a) { return _mm_slli_si128(a, 2); }
    static Vec WordsDown(Vec a) { return _mm_srli_si128(a, 2); }
    // The high half moved to the low half.
    static Vec HighHalf(Vec a) { return _mm_unpackhi_epi64(a, a); }
    // For RGB24 to YUY2: 8 bytes into the low half, and the unpacks of lanes and halves.
    static Vec LoadBytes8(const BYTE* address) { return LoadHalf(address); }
    static Vec UnpackLoLanes(Vec a, Vec b) { return _mm_unpacklo_epi32(a, b); }
    static Vec UnpackHiLanes(Vec a, Vec b) { return _mm_unpackhi_epi32(a, b); }
    static Vec UnpackLoHalves(Vec a, Vec b) { return _mm_unpacklo_epi64(a, b); }
    static Vec UnpackHiHalves(Vec a, Vec b) { return _mm_unpackhi_epi64(a, b); }
    // For the gradient correction: every word (0..255) replaced by the table's word at that index.
    static Vec LookUpWords(Vec indexes, const SWORD* table)
    {
        Vec result = indexes;
        result = _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 0)], 0);
        result = _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 1)], 1);
        result = _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 2)], 2);
        result = _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 3)], 3);
        result = _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 4)], 4);
        result = _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 5)], 5);
        result = _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 6)], 6);
        return _mm_insert_epi16(result, table[_mm_extract_epi16(indexes, 7)], 7);
    }
    // For the histogram: the low 32-bit lane, and every lane one place down (0 comes in).
    static uint32_t Low32(Vec a) { return static_cast<uint32_t>(_mm_cvtsi128_si32(a)); }
    static Vec LanesDown(Vec a) { return _mm_srli_si128(a, 4); }
    // Whether every byte equals its neighbour above, the last one aside: all 16 bytes the same.
    static bool AllBytesEqual(Vec a) { return (_mm_movemask_epi8(_mm_cmpeq_epi8(a, _mm_srli_si128(a, 1))) & 0x7FFF) == 0x7FFF; }
};

struct Sse2Unaligned;

struct Sse2 : Sse2Words
{
    static constexpr bool kAlignedOnly = true;
    using Unaligned = Sse2Unaligned;
    static Vec Load(const BYTE* address) { return _mm_load_si128(reinterpret_cast<const Vec*>(address)); }
    static void Store(BYTE* address, Vec value) { _mm_store_si128(reinterpret_cast<Vec*>(address), value); }
};

struct Sse2Unaligned : Sse2Words
{
    static Vec Load(const BYTE* address) { return _mm_loadu_si128(reinterpret_cast<const Vec*>(address)); }
    static void Store(BYTE* address, Vec value) { _mm_storeu_si128(reinterpret_cast<Vec*>(address), value); }
};

} // namespace sword_vector
