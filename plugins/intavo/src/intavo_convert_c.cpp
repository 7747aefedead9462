// Plain row routines, the checks every variant shares and the row flip.
#include "intavo_convert_rows.h"

#include <algorithm>
#include <cstring>

namespace intavo {

namespace {

bool FitsInStride(int steps, int bytesPerStep, int stride)
{
    return static_cast<int64_t>(steps) * bytesPerStep <= stride;
}

bool StridesFollowRules(PackedKind kind, int destinationStride, int sourceStride, int width)
{
    const int64_t w = width;
    switch (kind) {
    case PackedKind::Yuy2ToY8:
        return sourceStride > destinationStride && sourceStride >= 2 * w;
    case PackedKind::Rgb24ToY8:
        return sourceStride > destinationStride && sourceStride >= 3 * w;
    case PackedKind::Reorder:
        return sourceStride >= destinationStride && destinationStride >= 2 * w && sourceStride >= 2 * w;
    }
    return false;
}

BYTE LumaOfRgb(const BYTE* pixel)
{
    // At most 10 x 765 >> 5 = 239: never above a byte.
    return static_cast<BYTE>((10 * (pixel[0] + pixel[1] + pixel[2])) >> 5);
}

} // namespace

HRESULT CheckPackedRows(const BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                        int width, int height, PackedKind kind, PackedStep step, int steps)
{
    if (destination == nullptr || source == nullptr)
        return E_INVALIDARG;
    if (height < 1 || width < 1 || destinationStride < 1 || sourceStride < 1)
        return E_UNEXPECTED;
    if (!StridesFollowRules(kind, destinationStride, sourceStride, width))
        return E_UNEXPECTED;
    if (!FitsInStride(steps, step.sourceBytes, sourceStride) ||
        !FitsInStride(steps, step.destinationBytes, destinationStride))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT PreparePlanar(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                      int sourceCapacity, bool vFirst, PlanarFrame& planes)
{
    if (destination == nullptr || source == nullptr)
        return E_INVALIDARG;
    if (width < 2 || width % 2 != 0 || height < 1 || destinationStride < 2 * static_cast<int64_t>(width))
        return E_UNEXPECTED;
    if (sourceCapacity < GetPlanar420FrameBytes(width, height))
        return E_UNEXPECTED;
    const int chromaStride = width / 2;
    const BYTE* first = source + static_cast<ptrdiff_t>(width) * height;
    const BYTE* second = first + static_cast<ptrdiff_t>(chromaStride) * ((height + 1) / 2);
    planes = {source, vFirst ? second : first, vFirst ? first : second, chromaStride};
    return S_OK;
}

void PlanarRowPair_c(BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u, const BYTE* v,
                     int fromPixel, int width)
{
    for (int x = fromPixel; x < width; x += 2) {
        const BYTE chromaU = u[x / 2];
        const BYTE chromaV = v[x / 2];
        BYTE* pair0 = out0 + 2 * x;
        pair0[0] = y0[x];
        pair0[1] = chromaU;
        pair0[2] = y0[x + 1];
        pair0[3] = chromaV;
        if (out1 != nullptr) {
            BYTE* pair1 = out1 + 2 * x;
            pair1[0] = y1[x];
            pair1[1] = chromaU;
            pair1[2] = y1[x + 1];
            pair1[3] = chromaV;
        }
    }
}

} // namespace intavo

using namespace intavo;

int64_t GetPlanar420FrameBytes(int width, int height)
{
    return static_cast<int64_t>(width) * height + 2 * static_cast<int64_t>(width / 2) * ((height + 1) / 2);
}

HRESULT ConvertRGB24ToY8_c(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride, int width,
                           int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Rgb24ToY8, {1, 3, 1}, width, [](BYTE* out, const BYTE* in, int steps) {
                                 for (int x = 0; x < steps; ++x)
                                     out[x] = LumaOfRgb(in + 3 * x);
                             });
}

HRESULT ConvertYUY2ToY8_c(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride, int width,
                          int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Yuy2ToY8, {1, 2, 1}, width, [](BYTE* out, const BYTE* in, int steps) {
                                 for (int x = 0; x < steps; ++x)
                                     out[x] = in[2 * x];
                             });
}

HRESULT ConvertUYVYToYUY2_c(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                            int width, int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Reorder, {1, 2, 2}, width, [](BYTE* out, const BYTE* in, int steps) {
                                 for (int x = 0; x < steps; ++x) {
                                     const BYTE first = in[2 * x], second = in[2 * x + 1];
                                     out[2 * x] = second;
                                     out[2 * x + 1] = first;
                                 }
                             });
}

HRESULT ConvertYVYUToYUY2_c(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                            int width, int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Reorder, {2, 4, 4}, StepsRoundingUp(width, 2),
                             [](BYTE* out, const BYTE* in, int steps) {
                                 for (int pair = 0; pair < steps; ++pair) {
                                     const BYTE* from = in + 4 * pair;
                                     const BYTE y0 = from[0], v = from[1], y1 = from[2], u = from[3];
                                     BYTE* to = out + 4 * pair;
                                     to[0] = y0;
                                     to[1] = u;
                                     to[2] = y1;
                                     to[3] = v;
                                 }
                             });
}

HRESULT ConvertI420ToYUY2_c(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                            int sourceCapacity)
{
    return ConvertPlanarRows(destination, source, destinationStride, width, height, sourceCapacity, false,
                             [width](BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u,
                                     const BYTE* v) { PlanarRowPair_c(out0, out1, y0, y1, u, v, 0, width); });
}

HRESULT ConvertYV12ToYUY2_c(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                            int sourceCapacity)
{
    return ConvertPlanarRows(destination, source, destinationStride, width, height, sourceCapacity, true,
                             [width](BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u,
                                     const BYTE* v) { PlanarRowPair_c(out0, out1, y0, y1, u, v, 0, width); });
}

HRESULT FlipImageRows(BYTE* data, int rowLength, int rows)
{
    try {
        if (data == nullptr)
            return E_INVALIDARG;
        if (rowLength < 1 || rows < 1)
            return E_UNEXPECTED;
        // Rows trade places through a small block on the stack: no allocation per frame.
        BYTE spare[512];
        for (int i = 0; i < rows / 2; ++i) {
            BYTE* top = RowAt(data, rowLength, i);
            BYTE* bottom = RowAt(data, rowLength, rows - 1 - i);
            for (int done = 0; done < rowLength; done += static_cast<int>(sizeof(spare))) {
                const size_t chunk = std::min<size_t>(sizeof(spare), static_cast<size_t>(rowLength - done));
                std::memcpy(spare, top + done, chunk);
                std::memcpy(top + done, bottom + done, chunk);
                std::memcpy(bottom + done, spare, chunk);
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
