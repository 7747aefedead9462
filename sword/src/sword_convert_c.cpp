// Plain conversions: the reference for every vector variant, the row code that finishes their
// rows, and the argument checks they share.
#include "sword_convert_rows.h"

#include "KestrelDebugFunct.h"

#include <climits>

namespace {

BYTE SaturateToByte(int value)
{
    return static_cast<BYTE>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

bool RowFits(int stride, int64_t rowBytes)
{
    return static_cast<int64_t>(stride) >= rowBytes;
}

int EvenWidth(int widthInWords)
{
    return (widthInWords + 1) & ~1;
}

// Output stride of an 8-bit picture: the visible bytes, or, when the width is not a multiple of
// pixelsPerBlock, those bytes plus 16 rounded down to a multiple of 16.
int OutputStride(int width, int bytesPerPixel, int pixelsPerBlock)
{
    const int bytes = width * bytesPerPixel;
    return width % pixelsPerBlock == 0 ? bytes : ((bytes + 16) & ~15);
}

int PixelsPerStrideBlock(int bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 4:
        return 4;
    case 3:
        return 16;
    default:
        return 8;
    }
}

void ReleasePlanes(SWORD** planeR, SWORD** planeG, SWORD** planeB)
{
    SAFE_TASK_FREE(planeR);
    SAFE_TASK_FREE(planeG);
    SAFE_TASK_FREE(planeB);
}

int LumaOf(int r, int g, int b)
{
    return ((33 * r + 65 * g + 13 * b) >> 7) + 16;
}

} // namespace

// ---- Checks ---------------------------------------------------------------------------------

HRESULT CheckYuy2ToPlanes(const SWORD* planeY, const void* planeUV, const void* source, int planeStride,
                          int sourceStride, int width, int height, int* alignmentOut, int alignment)
{
    if (planeY == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, alignment);
    if (planeUV == nullptr || source == nullptr)
        return E_INVALIDARG;
    if (width <= 0 || height <= 0)
        return E_UNEXPECTED;
    const int64_t rowBytes = 2 * static_cast<int64_t>(width);
    if (!RowFits(planeStride, rowBytes) || !RowFits(sourceStride, rowBytes))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT CheckY8ToY16(const SWORD* planeY, const void* source, int planeStride, int sourceStride, int width,
                     int height, int* alignmentOut, int alignment)
{
    if (planeY == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, alignment);
    if (source == nullptr)
        return E_INVALIDARG;
    if (width <= 0 || height <= 0)
        return E_UNEXPECTED;
    if (!RowFits(planeStride, 2 * static_cast<int64_t>(width)) || !RowFits(sourceStride, width))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT PrepareRgb32ToPlanes(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                             int sourceStride, int* planeStride, int width, int height)
{
    if (source == nullptr || planeR == nullptr || planeG == nullptr || planeB == nullptr || capacity == nullptr ||
        planeStride == nullptr)
        return E_INVALIDARG;
    if (width <= 0 || height <= 0 || !RowFits(sourceStride, 4 * static_cast<int64_t>(width)))
        return E_FAIL;
    const int stride = GetSwordPlaneStride(width);
    const int64_t need = static_cast<int64_t>(stride) * height;
    if (need > INT_MAX)
        return E_FAIL;
    const bool present = *planeR != nullptr && *planeG != nullptr && *planeB != nullptr;
    if (present && *capacity >= need)
        return S_OK;
    for (SWORD** plane : {planeR, planeG, planeB}) {
        if (FAILED(SAFE_TASK_REALLOC(plane, static_cast<uint64_t>(need)))) {
            ReleasePlanes(planeR, planeG, planeB);
            *capacity = 0;
            return E_FAIL;
        }
    }
    *capacity = static_cast<int>(need);
    return S_OK;
}

HRESULT FinishRgb32ToPlanes(SWORD* planeR, SWORD* planeG, SWORD* planeB, int planeStride, int width, int height)
{
    for (SWORD* plane : {planeR, planeG, planeB})
        if (FAILED(FillRowPaddingSWORD(plane, 2 * width, height, planeStride)))
            return E_FAIL;
    return S_OK;
}

HRESULT CheckSplitJoin(const void* planeUV, const void* planeU, const void* planeV, int stride, int widthInWords,
                       int height)
{
    if (planeUV == nullptr || planeU == nullptr || planeV == nullptr || widthInWords <= 0 || height <= 0 ||
        !RowFits(stride, 2 * static_cast<int64_t>(EvenWidth(widthInWords))))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT PreparePlanesToRgb(const SWORD* first, const SWORD* second, const SWORD* third, const BYTE* output,
                           int capacity, int planeStride, int* outputStride, int width, int height,
                           int bytesPerPixel)
{
    if (first == nullptr || second == nullptr || third == nullptr || output == nullptr || outputStride == nullptr)
        return E_INVALIDARG;
    if (width <= 0 || height <= 0 || width > INT_MAX / 8 || !RowFits(planeStride, 2 * static_cast<int64_t>(width)))
        return E_UNEXPECTED;
    *outputStride = OutputStride(width, bytesPerPixel, PixelsPerStrideBlock(bytesPerPixel));
    if (static_cast<int64_t>(capacity) < static_cast<int64_t>(height) * *outputStride)
        return E_FAIL;
    return S_OK;
}

HRESULT CheckRgb24ToYuy2(const BYTE* output, const BYTE* input, int outputStride, int inputStride, int width,
                         int height)
{
    if (output == nullptr || input == nullptr)
        return E_INVALIDARG;
    if (height <= 0 || width <= 0 || outputStride <= 0 || inputStride <= 0 || inputStride <= outputStride)
        return E_UNEXPECTED;
    if (!RowFits(inputStride, 3 * static_cast<int64_t>(width)) ||
        !RowFits(outputStride, 2 * static_cast<int64_t>(width)))
        return E_UNEXPECTED;
    return S_OK;
}

HRESULT CheckPlanesToYuy2(const SWORD* planeY, const SWORD* planeUV, int sourceStride, const BYTE* output,
                          int outputStride, int width, int height)
{
    if (planeY == nullptr || planeUV == nullptr || output == nullptr)
        return E_INVALIDARG;
    if (width <= 0 || height <= 0)
        return E_UNEXPECTED;
    const int64_t rowBytes = 2 * static_cast<int64_t>(width);
    if (!RowFits(sourceStride, rowBytes) || !RowFits(outputStride, rowBytes))
        return E_UNEXPECTED;
    return S_OK;
}

// ---- Row code -------------------------------------------------------------------------------

void Yuy2ToY16UV16Row_c(const BYTE* source, SWORD* planeY, SWORD* planeUV, int from, int width)
{
    for (int x = from; x < width; ++x) {
        planeY[x] = source[2 * x];
        planeUV[x] = source[2 * x + 1];
    }
}

void Y8ToY16Row_c(const BYTE* source, SWORD* planeY, int from, int width)
{
    for (int x = from; x < width; ++x)
        planeY[x] = source[x];
}

void Rgb32ToPlanesRow_c(const BYTE* source, SWORD* planeR, SWORD* planeG, SWORD* planeB, int from, int width)
{
    for (int x = from; x < width; ++x) {
        planeB[x] = source[4 * x];
        planeG[x] = source[4 * x + 1];
        planeR[x] = source[4 * x + 2];
    }
}

void SplitUVRow_c(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int from, int widthInWords)
{
    for (int x = from; x < widthInWords; x += 2) {
        planeU[x] = planeU[x + 1] = planeUV[x];
        planeV[x] = planeV[x + 1] = planeUV[x + 1];
    }
}

void JoinUVRow_c(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int from, int widthInWords)
{
    for (int x = from; x < widthInWords; x += 2) {
        planeUV[x] = planeU[x];
        planeUV[x + 1] = planeV[x];
    }
}

void PlanesToRgb32Row_c(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int from,
                        int width)
{
    for (int x = from; x < width; ++x) {
        BYTE* pixel = output + 4 * x;
        pixel[0] = SaturateToByte(third[x]);
        pixel[1] = SaturateToByte(second[x]);
        pixel[2] = SaturateToByte(first[x]);
        pixel[3] = 0;
    }
}

void PlanesToRgb16Row_c(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int from,
                        int width, bool layout555)
{
    for (int x = from; x < width; ++x) {
        const int a = SaturateToByte(first[x]);
        const int b = SaturateToByte(second[x]);
        const int c = SaturateToByte(third[x]);
        const int word = layout555 ? ((a >> 3) << 10) | ((b >> 3) << 5) | (c >> 3)
                                   : ((a >> 3) << 11) | ((b >> 2) << 5) | (c >> 3);
        output[2 * x] = static_cast<BYTE>(word);
        output[2 * x + 1] = static_cast<BYTE>(word >> 8);
    }
}

void Rgb24ToYuy2Row_c(const BYTE* input, BYTE* output, int from, int width)
{
    for (int x = from; x < width; x += 2) {
        const BYTE* p = input + 3 * x;
        const bool hasSecond = x + 1 < width;
        const BYTE* q = hasSecond ? p + 3 : p;
        // Bytes are B, G, R.
        const int b = (p[0] + q[0]) >> 1;
        const int g = (p[1] + q[1]) >> 1;
        const int r = (p[2] + q[2]) >> 1;
        output[2 * x] = SaturateToByte(LumaOf(p[2], p[1], p[0]));
        output[2 * x + 1] = SaturateToByte(((-19 * r - 37 * g + 56 * b) >> 7) + 128);
        if (hasSecond) {
            output[2 * x + 2] = SaturateToByte(LumaOf(q[2], q[1], q[0]));
            output[2 * x + 3] = SaturateToByte(((56 * r - 47 * g - 9 * b) >> 7) + 128);
        }
    }
}

void Y16UV16ToYuy2Row_c(const SWORD* planeY, const SWORD* planeUV, BYTE* output, int from, int width)
{
    for (int x = from; x < width; ++x) {
        output[2 * x] = SaturateToByte(planeY[x]);
        output[2 * x + 1] = SaturateToByte(planeUV[x]);
    }
}

void Y16ToYuy2Row_c(const SWORD* planeY, BYTE* output, int from, int width)
{
    for (int x = from; x < width; ++x) {
        output[2 * x] = SaturateToByte(planeY[x]);
        output[2 * x + 1] = 128;
    }
}

// ---- Plain variants -------------------------------------------------------------------------

HRESULT ConvertYUY2toY16UV16_c(SWORD* planeY, void* planeUV, const void* source, void*, const SWORD*,
                               int planeStride, int sourceStride, int width, int height, int, const SWORD*,
                               const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckYuy2ToPlanes(planeY, planeUV, source, planeStride, sourceStride, width, height,
                                            alignmentOut, kSwordAlignmentPlain);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row)
        Yuy2ToY16UV16Row_c(RowAt(static_cast<const BYTE*>(source), sourceStride, row),
                           RowAt(planeY, planeStride, row), RowAt(static_cast<SWORD*>(planeUV), planeStride, row),
                           0, width);
    return S_OK;
}

HRESULT ConvertY8toY16_c(SWORD* planeY, void*, const void* source, void*, const SWORD*, int planeStride,
                         int sourceStride, int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    const HRESULT check =
        CheckY8ToY16(planeY, source, planeStride, sourceStride, width, height, alignmentOut, kSwordAlignmentPlain);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row)
        Y8ToY16Row_c(RowAt(static_cast<const BYTE*>(source), sourceStride, row), RowAt(planeY, planeStride, row), 0,
                     width);
    return S_OK;
}

HRESULT rgb32_to_r16g16b16_c(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                             int sourceStride, int* planeStride, int width, int height)
{
    return Rgb32ToPlanes(source, planeR, planeG, planeB, capacity, sourceStride, planeStride, width, height,
                         [](const BYTE*, SWORD*, SWORD*, SWORD*, int) { return 0; });
}

HRESULT SpliteUVImageToU_V_c(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int stride, int widthInWords,
                             int height)
{
    const HRESULT check = CheckSplitJoin(planeUV, planeU, planeV, stride, widthInWords, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row)
        SplitUVRow_c(RowAt(planeUV, stride, row), RowAt(planeU, stride, row), RowAt(planeV, stride, row), 0,
                     widthInWords);
    return S_OK;
}

HRESULT JoinU_VImageToUV_c(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int stride, int widthInWords,
                           int height)
{
    const HRESULT check = CheckSplitJoin(planeUV, planeU, planeV, stride, widthInWords, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row)
        JoinUVRow_c(RowAt(planeUV, stride, row), RowAt(planeU, stride, row), RowAt(planeV, stride, row), 0,
                    widthInWords);
    return S_OK;
}

HRESULT r16g16b16_to_rgb32_c(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output,
                             int capacity, int planeStride, int* outputStride, int width, int height)
{
    const HRESULT prepared =
        PreparePlanesToRgb(first, second, third, output, capacity, planeStride, outputStride, width, height, 4);
    if (prepared != S_OK)
        return prepared;
    for (int row = 0; row < height; ++row)
        PlanesToRgb32Row_c(RowAt(first, planeStride, row), RowAt(second, planeStride, row),
                           RowAt(third, planeStride, row), RowAt(output, *outputStride, row), 0, width);
    return S_OK;
}

HRESULT r16g16b16_to_rgb24(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output, int capacity,
                           int planeStride, int* outputStride, int width, int height)
{
    const HRESULT prepared =
        PreparePlanesToRgb(first, second, third, output, capacity, planeStride, outputStride, width, height, 3);
    if (prepared != S_OK)
        return prepared;
    for (int row = 0; row < height; ++row) {
        const SWORD* a = RowAt(first, planeStride, row);
        const SWORD* b = RowAt(second, planeStride, row);
        const SWORD* c = RowAt(third, planeStride, row);
        BYTE* pixel = RowAt(output, *outputStride, row);
        for (int x = 0; x < width; ++x, pixel += 3) {
            pixel[0] = SaturateToByte(a[x]);
            pixel[1] = SaturateToByte(b[x]);
            pixel[2] = SaturateToByte(c[x]);
        }
    }
    return S_OK;
}

HRESULT r16g16b16_to_rgb16_c(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output,
                             int capacity, int planeStride, int* outputStride, int width, int height, int layout555)
{
    const HRESULT prepared =
        PreparePlanesToRgb(first, second, third, output, capacity, planeStride, outputStride, width, height, 2);
    if (prepared != S_OK)
        return prepared;
    for (int row = 0; row < height; ++row)
        PlanesToRgb16Row_c(RowAt(first, planeStride, row), RowAt(second, planeStride, row),
                           RowAt(third, planeStride, row), RowAt(output, *outputStride, row), 0, width,
                           (layout555 & 0xFF) != 0);
    return S_OK;
}

HRESULT ConvertRGB24ToYUY2_c(BYTE* output, const BYTE* input, int outputStride, int inputStride, int width,
                             int height)
{
    const HRESULT check = CheckRgb24ToYuy2(output, input, outputStride, inputStride, width, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row)
        Rgb24ToYuy2Row_c(RowAt(input, inputStride, row), RowAt(output, outputStride, row), 0, width);
    return S_OK;
}

HRESULT ConvertRGB24ToYUY2InPlace(BYTE* picture, int width, int height, int inputStride)
{
    if (picture == nullptr)
        return E_INVALIDARG;
    if (width <= 0 || height <= 0)
        return E_UNEXPECTED;
    const int64_t rowBytes = 3 * static_cast<int64_t>(width);
    const int64_t rowAdvance = inputStride > rowBytes ? inputStride : rowBytes;
    BYTE* output = picture;
    for (int row = 0; row < height; ++row) {
        const BYTE* input = picture + rowAdvance * row;
        for (int x = 0; x < width; x += 2) {
            // Read the pair before writing: the output never runs ahead of the input.
            const int b0 = input[3 * x], g0 = input[3 * x + 1], r0 = input[3 * x + 2];
            *output++ = static_cast<BYTE>(((8414 * r0 + 16519 * g0 + 3208 * b0) >> 15) + 16);
            *output++ = static_cast<BYTE>(((14392 * b0 - 4857 * r0 - 9535 * g0) >> 15) + 128);
            if (x + 1 == width)
                break;
            const int b1 = input[3 * x + 3], g1 = input[3 * x + 4], r1 = input[3 * x + 5];
            *output++ = static_cast<BYTE>(((8414 * r1 + 16519 * g1 + 3208 * b1) >> 15) + 16);
            *output++ = static_cast<BYTE>(((14392 * r1 - 12051 * g1 - 2340 * b1) >> 15) + 128);
        }
    }
    return S_OK;
}

HRESULT ConvertY16UV16ToYUY2_c(const SWORD* planeY, const SWORD* planeUV, int sourceStride, BYTE* output,
                               int outputStride, int width, int height)
{
    const HRESULT check = CheckPlanesToYuy2(planeY, planeUV, sourceStride, output, outputStride, width, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row)
        Y16UV16ToYuy2Row_c(RowAt(planeY, sourceStride, row), RowAt(planeUV, sourceStride, row),
                           RowAt(output, outputStride, row), 0, width);
    return S_OK;
}

HRESULT ConvertY16ToYUY2_c(const SWORD* planeY, int sourceStride, BYTE* output, int outputStride, int width,
                           int height)
{
    const HRESULT check = CheckPlanesToYuy2(planeY, planeY, sourceStride, output, outputStride, width, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row)
        Y16ToYuy2Row_c(RowAt(planeY, sourceStride, row), RowAt(output, outputStride, row), 0, width);
    return S_OK;
}
