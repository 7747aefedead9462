// MMX kernels of the mixer: 4 words a step; the MMX state is emptied before they return.
#include "sword_vector_mmx.h"

#include "blendora_mix_kernels_vector.h"

BLENDORA_MIX_KERNEL_VARIANTS(sword_vector::Mmx, mmx)
