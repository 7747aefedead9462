// SSE2 conversions: 8 pixels (one 16-byte word vector) a step with loads and stores of any
// alignment; the rest of a row goes through the plain row code.
#include "sword_convert_vector.h"
#include "sword_vector_sse2.h"

SWORD_CONVERT_VARIANTS(sword_vector::Sse2Unaligned, ConvertYUY2toY16UV16_sse2, ConvertY8toY16_sse2,
                       SpliteUVImageToU_V_sse2, JoinU_VImageToUV_sse2, r16g16b16_to_rgb32_sse2, r16g16b16_to_rgb16_sse2,
                       ConvertRGB24ToYUY2_sse2, ConvertY16UV16ToYUY2_sse2, ConvertY16ToYUY2_sse2)
