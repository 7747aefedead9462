// MMX matrix effect (also the SSE-integer column's): two 4-word vectors per block row.
// Ends with _mm_empty.
#include "sword_matrix_vector.h"
#include "sword_vector_mmx.h"

SWORD_MATRIX_VARIANT(sword_vector::Mmx, MatrixEffectImage_mmx)
