// SSE2 temporal noise removal: 8 words a step, loads and stores of any alignment.
#include "sword_noise_vector.h"
#include "sword_vector_sse2.h"

SWORD_NOISE_VARIANTS(sword_vector::Sse2Unaligned, RemoveAddNoiseFromImage_sse2, RemoveAddNoiseFromImage2_sse2,
                     RemoveAddNoiseFromImage3_sse2)
