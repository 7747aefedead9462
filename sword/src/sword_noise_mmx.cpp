// MMX temporal noise removal: 4 words a step, any alignment; ends with _mm_empty so floating-point
// code can follow.
#include "sword_noise_vector.h"
#include "sword_vector_mmx.h"

SWORD_NOISE_VARIANTS(sword_vector::Mmx, RemoveAddNoiseFromImage_mmx, RemoveAddNoiseFromImage2_mmx,
                     RemoveAddNoiseFromImage3_mmx)
