// The exact halving of a UV16 row: target pair p is source pair 2p, the most common step of a
// chroma scaling (a picture at half width). Chosen when the plane code is built: the SSE2 one
// wherever the compiler may assume SSE2 (always in 64 bits), the plain one otherwise.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

// Writes count pairs to out; reads no word of in past pair 2 (count - 1).
void PickEverySecondPair_c(const SWORD* in, SWORD* out, int count);
#ifdef __SSE2__
void PickEverySecondPair_sse2(const SWORD* in, SWORD* out, int count);
#endif

inline void PickEverySecondPair(const SWORD* in, SWORD* out, int count)
{
#ifdef __SSE2__
    PickEverySecondPair_sse2(in, out, count);
#else
    PickEverySecondPair_c(in, out, count);
#endif
}
