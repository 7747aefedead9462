// MMX row routines: plain MMX instructions only (the set also runs on processors without the
// integer additions of SSE). Every routine empties the MMX state before it returns.
#include "sword_vector_mmx.h"

#include "intavo_convert_vector.h"

INTAVO_CONVERSION_VARIANTS(sword_vector::Mmx, mmx)
