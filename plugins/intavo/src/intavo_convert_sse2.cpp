// SSE2 row routines. Loads and stores take any alignment: a frame heap block or a scratch stride
// need not sit on 16 bytes, and on aligned data they cost the same.
#include "sword_vector_sse2.h"

#include "intavo_convert_vector.h"

INTAVO_CONVERSION_VARIANTS(sword_vector::Sse2Unaligned, sse2)
