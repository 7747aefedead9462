// The SSE-integer word vector: the MMX vector with the word extract and insert of SSE. Included
// only by the *_sse.cpp files, compiled with their flags.
#pragma once

#include "sword_vector_mmx.h"

#include <xmmintrin.h>

namespace sword_vector {

struct MmxSse : Mmx
{
    // Every word (0..255) replaced by the table's word at that index, without leaving the register.
    static Vec LookUpWords(Vec indexes, const SWORD* table)
    {
        Vec result = indexes;
        result = _mm_insert_pi16(result, table[_mm_extract_pi16(indexes, 0)], 0);
        result = _mm_insert_pi16(result, table[_mm_extract_pi16(indexes, 1)], 1);
        result = _mm_insert_pi16(result, table[_mm_extract_pi16(indexes, 2)], 2);
        return _mm_insert_pi16(result, table[_mm_extract_pi16(indexes, 3)], 3);
    }
};

} // namespace sword_vector
