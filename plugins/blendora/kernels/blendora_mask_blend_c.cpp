// The plain mask blend: the reference of the vector variants.
#include "BlendoraMaskBlend.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace {

int Saturate(int value)
{
    return std::clamp(value, -32768, 32767);
}

// The low 16 bits as a signed word, shifted down arithmetically.
int ShiftedProduct(int a, int b)
{
    return static_cast<int16_t>(static_cast<uint16_t>(a * b)) >> 7;
}

SWORD BlendWord(SWORD base, SWORD channel, SWORD mask, SWORD bias)
{
    const int kept = ShiftedProduct(Saturate(base - bias), mask);
    const int shown = ShiftedProduct(Saturate(channel - bias), Saturate(128 - mask));
    return static_cast<SWORD>(Saturate(Saturate(kept + shown) + bias));
}

template <class T>
T* WordRowAt(T* plane, int stride, int row)
{
    using Byte = std::conditional_t<std::is_const_v<T>, const BYTE, BYTE>;
    return reinterpret_cast<T*>(reinterpret_cast<Byte*>(plane) + static_cast<ptrdiff_t>(stride) * row);
}

} // namespace

HRESULT MaskBlendPlanes_c(SWORD* base, int baseStride, const SWORD* channel, int channelStride, const SWORD* mask,
                          int maskStride, int width, int height, SWORD bias)
{
    if (base == nullptr || channel == nullptr || mask == nullptr)
        return E_INVALIDARG;
    try {
        const int words = std::max(width, 1);
        for (int row = 0; row < height; ++row) {
            SWORD* d = WordRowAt(base, baseStride, row);
            const SWORD* s = WordRowAt(channel, channelStride, row);
            const SWORD* m = WordRowAt(mask, maskStride, row);
            for (int x = 0; x < words; ++x)
                d[x] = BlendWord(d[x], s[x], m[x], bias);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
