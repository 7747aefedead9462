// Rows of 32-bit pixels moved to a stride that is a multiple of 16 bytes, so the vector
// conversions into planes can take whole aligned vectors. Shared by the two plane converters.
#pragma once

#include "MemoryBlockClass.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <cstdint>

inline int64_t AlignedStride(int64_t stride)
{
    return (stride + 15) & ~int64_t{15};
}

// Callers have checked that the aligned rows fit in 32 bits.
inline HRESULT AlignRows(MemoryBlockClass<BYTE>& pixels, int width, int height, int& stride)
{
    const int aligned = static_cast<int>(AlignedStride(stride));
    if (aligned == stride)
        return S_OK;
    MemoryBlockClass<BYTE> realigned;
    if (FAILED(realigned.CreateBlock(static_cast<uint32_t>(static_cast<int64_t>(aligned) * height))))
        return E_FAIL;
    const HRESULT copied = CopyPlaneSWORD(pixels.GetData(), realigned.GetData(), 4 * width, height, stride, aligned);
    if (FAILED(copied))
        return copied;
    pixels.MoveFrom(realigned);
    stride = aligned;
    return S_OK;
}
