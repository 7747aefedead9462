// The MMX word vector (4 words, any alignment) that the kernels written once over a vector type
// are instantiated with. Included only by the *_mmx.cpp files, compiled with their flags; End()
// empties the MMX state so floating-point code can follow.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

#include <mmintrin.h>

#include <cstring>

namespace sword_vector {

struct Mmx
{
    using Vec = __m64;
    static constexpr int kWords = 4;
    static constexpr int kBytes = 8;
    static constexpr int kGranularity = kSwordAlignmentMmx;
    static constexpr bool kMmx = true;
    static constexpr bool kAlignedOnly = false;

    static Vec Load(const BYTE* address)
    {
        Vec value;
        std::memcpy(&value, address, sizeof(value));
        return value;
    }
    static void Store(BYTE* address, Vec value) { std::memcpy(address, &value, sizeof(value)); }
    static Vec LoadConstant(const SWORD* constant) { return Load(reinterpret_cast<const BYTE*>(constant)); }
    static Vec ShiftCount(unsigned count) { return _mm_cvtsi32_si64(static_cast<int>(count)); }
    static Vec ShiftCount64(const SWORD* constant) { return LoadConstant(constant); }
    static void End() { _mm_empty(); }

    static Vec Zero() { return _mm_setzero_si64(); }
    static Vec Set1(short value) { return _mm_set1_pi16(value); }
    static Vec Columns() { return _mm_set_pi16(4, 3, 2, 1); }
    static Vec Add(Vec a, Vec b) { return _mm_add_pi16(a, b); }
    static Vec AddS(Vec a, Vec b) { return _mm_adds_pi16(a, b); }
    static Vec SubS(Vec a, Vec b) { return _mm_subs_pi16(a, b); }
    static Vec SubUS(Vec a, Vec b) { return _mm_subs_pu16(a, b); }
    static Vec MulLo(Vec a, Vec b) { return _mm_mullo_pi16(a, b); }
    static Vec Sra(Vec a, Vec count) { return _mm_sra_pi16(a, count); }
    static Vec And(Vec a, Vec b) { return _mm_and_si64(a, b); }
    static Vec Or(Vec a, Vec b) { return _mm_or_si64(a, b); }
    static Vec Xor(Vec a, Vec b) { return _mm_xor_si64(a, b); }
    // (NOT a) AND b
    static Vec AndNot(Vec a, Vec b) { return _mm_andnot_si64(a, b); }
    static Vec CmpGt(Vec a, Vec b) { return _mm_cmpgt_pi16(a, b); }
    static Vec CmpEq(Vec a, Vec b) { return _mm_cmpeq_pi16(a, b); }
    static Vec ClampToByteRange(Vec a) { return _mm_unpacklo_pi8(_mm_packs_pu16(a, a), _mm_setzero_si64()); }

    // For the conversions: 32-bit lanes, logical shifts, packs and unpacks; LoadHalf reads half a
    // vector into the low half.
    static Vec Lanes(const int* values) { return _mm_set_pi32(values[1], values[0]); }
    static Vec Set1Lanes(int value) { return _mm_set1_pi32(value); }
    static Vec AddLanes(Vec a, Vec b) { return _mm_add_pi32(a, b); }
    static Vec Sll(Vec a, Vec count) { return _mm_sll_pi16(a, count); }
    static Vec Srl(Vec a, Vec count) { return _mm_srl_pi16(a, count); }
    static Vec SllLanes(Vec a, Vec count) { return _mm_sll_pi32(a, count); }
    static Vec SrlLanes(Vec a, Vec count) { return _mm_srl_pi32(a, count); }
    // Words to bytes saturated to 0..255, a in the low half.
    static Vec PackUS(Vec a, Vec b) { return _mm_packs_pu16(a, b); }
    // Lanes to words saturated.
    static Vec PackLanes(Vec a, Vec b) { return _mm_packs_pi32(a, b); }
    static Vec LoadHalf(const BYTE* address)
    {
        int value;
        std::memcpy(&value, address, sizeof(value));
        return _mm_cvtsi32_si64(value);
    }
    // A quarter vector (2 bytes) into the low end.
    static Vec LoadQuarter(const BYTE* address)
    {
        uint16_t value;
        std::memcpy(&value, address, sizeof(value));
        return _mm_cvtsi32_si64(value);
    }
    static Vec UnpackLoBytes(Vec a, Vec b) { return _mm_unpacklo_pi8(a, b); }
    static Vec UnpackHiBytes(Vec a, Vec b) { return _mm_unpackhi_pi8(a, b); }
    static Vec UnpackLoWords(Vec a, Vec b) { return _mm_unpacklo_pi16(a, b); }
    static Vec UnpackHiWords(Vec a, Vec b) { return _mm_unpackhi_pi16(a, b); }

    // For the neighbourhood filters: wrapping and unsigned saturating word arithmetic, shifts by a
    // count known at the call, the multiply-add of word pairs into lanes, and whole-vector moves.
    static Vec Sub(Vec a, Vec b) { return _mm_sub_pi16(a, b); }
    static Vec AddUS(Vec a, Vec b) { return _mm_adds_pu16(a, b); }
    // High words of the unsigned products, for b below 0x8000: MMX has only the signed multiply, so
    // b is added back where a's top bit is set.
    static Vec MulHi(Vec a, Vec b) { return _mm_mulhi_pi16(a, b); }
    static Vec MulHiUS(Vec a, Vec b) { return _mm_add_pi16(_mm_mulhi_pi16(a, b), _mm_and_si64(b, _mm_srai_pi16(a, 15))); }
    static Vec MulAddPairs(Vec a, Vec b) { return _mm_madd_pi16(a, b); }
    static Vec SllBy(Vec a, int count) { return _mm_slli_pi16(a, count); }
    static Vec SrlBy(Vec a, int count) { return _mm_srli_pi16(a, count); }
    static Vec SraBy(Vec a, int count) { return _mm_srai_pi16(a, count); }
    static Vec SraLanesBy(Vec a, int count) { return _mm_srai_pi32(a, count); }
    // Every word one place up (towards the high end) or down; 0 comes in.
    static Vec WordsUp(Vec a) { return _mm_slli_si64(a, 16); }
    static Vec WordsDown(Vec a) { return _mm_srli_si64(a, 16); }
    // The high half moved to the low half.
    static Vec HighHalf(Vec a) { return _mm_srli_si64(a, 32); }
    // For RGB24 to YUY2: 8 bytes (the whole vector), and the unpacks of lanes.
    static Vec LoadBytes8(const BYTE* address) { return Load(address); }
    static Vec UnpackLoLanes(Vec a, Vec b) { return _mm_unpacklo_pi32(a, b); }
    static Vec UnpackHiLanes(Vec a, Vec b) { return _mm_unpackhi_pi32(a, b); }
    // For the gradient correction: every word (0..255) replaced by the table's word at that index.
    // MMX cannot move single words out of a register, so the words go through memory.
    static Vec LookUpWords(Vec indexes, const SWORD* table)
    {
        SWORD words[kWords];
        Store(reinterpret_cast<BYTE*>(words), indexes);
        for (SWORD& word : words)
            word = table[word];
        return Load(reinterpret_cast<const BYTE*>(words));
    }
    // For the histogram: the low 32-bit lane, and every lane one place down (0 comes in).
    static uint32_t Low32(Vec a) { return static_cast<uint32_t>(_mm_cvtsi64_si32(a)); }
    static Vec LanesDown(Vec a) { return _mm_srli_si64(a, 32); }
    // Whether every byte equals its neighbour above, the last one aside: all 8 bytes the same.
    static bool AllBytesEqual(Vec a)
    {
        const Vec same = _mm_cmpeq_pi8(a, _mm_srli_si64(a, 8));
        return Low32(same) == 0xFFFFFFFF && (Low32(_mm_srli_si64(same, 32)) | 0xFF000000) == 0xFFFFFFFF;
    }
};

} // namespace sword_vector
