// SSE2 kernels of the mixer: 8 words a step, planes at any address.
#include "sword_vector_sse2.h"

#include "blendora_mix_kernels_vector.h"

BLENDORA_MIX_KERNEL_VARIANTS(sword_vector::Sse2Unaligned, sse2)
