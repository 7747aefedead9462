// The mask blend written once over a vector type V of SWORD's vector types; included only by the
// MMX and SSE2 files, so each instantiation is compiled with its own instruction set.
#pragma once

#include "BlendoraMaskBlend.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cstddef>

namespace blendora {

template <class V>
HRESULT MaskBlendPlanes(SWORD* base, int baseStride, const SWORD* channel, int channelStride, const SWORD* mask,
                        int maskStride, int width, int height, SWORD bias)
{
    using Vec = typename V::Vec;
    if (base == nullptr || channel == nullptr || mask == nullptr)
        return E_INVALIDARG;
    try {
        const Vec biasWords = V::Set1(bias), whole = V::Set1(128);
        const Vec seven = V::ShiftCount(7);
        const int bytesPerRow = std::max((width + V::kWords - 1) / V::kWords, 1) * V::kBytes;
        for (int row = 0; row < height; ++row) {
            BYTE* d = reinterpret_cast<BYTE*>(base) + static_cast<ptrdiff_t>(baseStride) * row;
            const BYTE* s = reinterpret_cast<const BYTE*>(channel) + static_cast<ptrdiff_t>(channelStride) * row;
            const BYTE* m = reinterpret_cast<const BYTE*>(mask) + static_cast<ptrdiff_t>(maskStride) * row;
            for (int done = 0; done < bytesPerRow; done += V::kBytes) {
                const Vec share = V::Load(m + done);
                const Vec kept = V::Sra(V::MulLo(V::SubS(V::Load(d + done), biasWords), share), seven);
                const Vec shown =
                    V::Sra(V::MulLo(V::SubS(V::Load(s + done), biasWords), V::SubS(whole, share)), seven);
                V::Store(d + done, V::AddS(V::AddS(kept, shown), biasWords));
            }
        }
        V::End();
        return S_OK;
    }
    catch (...) {
        V::End();
        LogExceptionAt(__FILE__, __LINE__);
        return E_FAIL;
    }
}

} // namespace blendora
