// SSE2 matrix effect: one 8-word vector per block row, loads and stores of any alignment.
#include "sword_matrix_vector.h"
#include "sword_vector_sse2.h"

SWORD_MATRIX_VARIANT(sword_vector::Sse2Unaligned, MatrixEffectImage_sse2)
