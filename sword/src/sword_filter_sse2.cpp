// SSE2 neighbourhood filters: 8 words a vector, loads and stores of any alignment.
#include "sword_filter_vector.h"
#include "sword_vector_sse2.h"

SWORD_FILTER_VARIANTS(sword_vector::Sse2Unaligned, sse2)
