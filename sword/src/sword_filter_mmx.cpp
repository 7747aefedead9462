// MMX neighbourhood filters: 4 words a vector, any alignment; every operation ends with _mm_empty
// so floating-point code can follow.
#include "sword_filter_vector.h"
#include "sword_vector_mmx.h"

SWORD_FILTER_VARIANTS(sword_vector::Mmx, mmx)
