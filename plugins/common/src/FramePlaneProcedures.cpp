#include "FramePlaneProcedures.h"

#include "CatchAllLog.h"

#include <initializer_list>
#include <utility>

namespace {

constexpr SWORD kAllLanes[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
constexpr SWORD kGrey[8] = {128, 128, 128, 128, 128, 128, 128, 128};
// Thrown when a scaled picture would not lie inside its target plane.
constexpr int kPictureOutsidePlane = 160;

SWORD* PlaneWords(InfoDataBufferPath1& plane)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data);
}

int Width(const InfoDataBufferPath1& plane)
{
    return plane.m_info.m_bih.biWidth;
}

int Height(const InfoDataBufferPath1& plane)
{
    return plane.m_info.m_bih.biHeight;
}

void CheckFitInsideTarget(const PlaneFit& fit)
{
    if (fit.width < 1 || fit.height < 1 || fit.x < 0 || fit.y < 0 || fit.x % 2 != 0 ||
        static_cast<int64_t>(fit.x) + fit.width > fit.targetWidth ||
        static_cast<int64_t>(fit.y) + fit.height > fit.targetHeight)
        throw kPictureOutsidePlane;
}

// Byte offset of the picture's first sample in the plane, once the plane's block is known to hold
// every row of the picture.
int64_t PictureOffset(const InfoDataBufferPath1& plane, const PlaneFit& fit)
{
    const int64_t offset =
        plane.m_offset_data + static_cast<int64_t>(fit.y) * plane.m_stride + 2 * static_cast<int64_t>(fit.x);
    if (offset + static_cast<int64_t>(fit.height) * plane.m_stride > plane.m_capacity)
        throw kPictureOutsidePlane;
    return offset;
}

HRESULT FillGrey(const FramePlaneKernels& kernels, SWORD* start, int stride, int width, int height)
{
    return kernels.setConstant(start, nullptr, nullptr, nullptr, kAllLanes, stride, 0, width, height, 0, kGrey,
                               nullptr, nullptr);
}

// Scales one split chroma plane into its place in the target-sized plane.
HRESULT ScaleSplitPlane(const FramePlaneKernels& kernels, InfoDataBufferPath1& split, InfoDataBufferPath1& scaled,
                        const PlaneFit& fit)
{
    const int64_t offset = PictureOffset(scaled, fit);
    const bool bordered = fit.width != fit.targetWidth || fit.height != fit.targetHeight;
    HRESULT result = S_OK;
    if (bordered)
        result = FillGrey(kernels, PlaneWords(scaled), scaled.m_stride, fit.targetWidth, fit.targetHeight);
    SWORD* picture = reinterpret_cast<SWORD*>(scaled.m_data + offset);
    int stride = scaled.m_stride;
    result = kernels.resize(PlaneWords(split), picture, Width(split), Height(split), split.m_stride, fit.width,
                            fit.height, &stride, static_cast<int>(scaled.m_capacity - offset), 0);
    // The resize writes whole groups of 8 samples a row; the ones past the picture belong to the
    // border, which must stay grey.
    if (SUCCEEDED(result) && bordered && fit.width % 8 != 0)
        result = FillGrey(kernels, picture + fit.width, scaled.m_stride, 8 - fit.width % 8, fit.height);
    return result;
}

// The averages refuse a source of fewer than 64 samples: such a level keeps its size only.
HRESULT ReduceLevel(UnifSwordFunction average, InfoDataBufferPath1& from, InfoDataBufferPath1& to, int width,
                    int height, uint32_t* mean)
{
    const HRESULT result = TakePlaneLayout(to, from, width, height);
    if (FAILED(result) || Width(from) * Height(from) < 64)
        return result;
    return average(PlaneWords(to), mean, PlaneWords(from), nullptr, nullptr, to.m_stride, from.m_stride, Width(from),
                   Height(from), 0, nullptr, nullptr, nullptr);
}

} // namespace

FramePlaneKernels GetFramePlaneKernels(const OptimFunctionTableSWORD& table)
{
    return {table.average2x2Y16, table.average2x2UV16, table.splitUV, table.joinUV, table.resize, table.setConstant};
}

HRESULT TakePlaneLayout(InfoDataBufferPath1& plane, const InfoDataBufferPath1& from, int width, int height)
{
    const HRESULT result = plane.AllocBufferEqualCurrent(from);
    if (FAILED(result))
        return result;
    plane.m_info.m_bih.biWidth = width;
    plane.m_info.m_bih.biHeight = height;
    plane.m_size_data = height * plane.m_stride;
    return result;
}

PlaneFit FitWholePlane(int width, int height)
{
    return {width, height, width, height, 0, 0};
}

HRESULT ResizeUVBuffer(const FramePlaneKernels& kernels, InfoDataBufferPath1* source, InfoDataBufferPath1* target,
                       const ChromaScratchPlanes& scratch, const PlaneFit& fit)
{
    if (source == nullptr || target == nullptr || scratch.splitU == nullptr || scratch.splitV == nullptr ||
        scratch.scaledU == nullptr || scratch.scaledV == nullptr || source->m_data == nullptr || Width(*source) < 1 ||
        Height(*source) < 1)
        return S_FALSE;
    if (kernels.splitUV == nullptr || kernels.joinUV == nullptr || kernels.resize == nullptr ||
        kernels.setConstant == nullptr)
        return E_INVALIDARG;
    try {
        CheckFitInsideTarget(fit);
        HRESULT result = S_OK;
        for (InfoDataBufferPath1* split : {scratch.splitU, scratch.splitV}) {
            result = split->AllocBufferEqualCurrent(*source);
            if (FAILED(result))
                return result;
        }
        result = kernels.splitUV(PlaneWords(*source), PlaneWords(*scratch.splitU), PlaneWords(*scratch.splitV),
                                 source->m_stride, Width(*source), Height(*source));
        if (FAILED(result))
            return result;
        for (auto [split, scaled] : {std::pair{scratch.splitU, scratch.scaledU}, std::pair{scratch.splitV, scratch.scaledV}}) {
            scaled->m_info = source->m_info;
            result = scaled->UpdateSizeBuffer(static_cast<unsigned>(fit.targetWidth), static_cast<unsigned>(fit.targetHeight));
            if (SUCCEEDED(result))
                result = ScaleSplitPlane(kernels, *split, *scaled, fit);
            if (FAILED(result))
                return result;
        }
        result = target->UpdateSizeBuffer(static_cast<unsigned>(fit.targetWidth), static_cast<unsigned>(fit.targetHeight));
        if (FAILED(result))
            return result;
        return kernels.joinUV(PlaneWords(*target), PlaneWords(*scratch.scaledU), PlaneWords(*scratch.scaledV),
                              target->m_stride, fit.targetWidth, fit.targetHeight);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CreateSmallCopyFrames(const FramePlaneKernels& kernels, InfoDataBufferPath1& frame, uint32_t* averageLevel)
{
    try {
        InfoDataBufferPath1* luma[FrameChildSlot::kLevels];
        InfoDataBufferPath1* chroma[FrameChildSlot::kLevels];
        bool withChroma = true;
        for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
            luma[level] = GetFrameChildPlane(frame, FrameChildSlot::Luma(level));
            chroma[level] = GetFrameChildPlane(frame, FrameChildSlot::Chroma(level));
            if (luma[level] == nullptr)
                return S_FALSE;
            withChroma = withChroma && chroma[level] != nullptr;
        }
        if (kernels.averageLuma == nullptr || kernels.averageChroma == nullptr)
            return E_INVALIDARG;
        if (averageLevel != nullptr)
            *averageLevel = 0;
        HRESULT result = S_OK;
        for (int level = 1; level < FrameChildSlot::kLevels && withChroma; ++level) {
            const int divisor = FrameChildSlot::kDivisors[level];
            result = ReduceLevel(kernels.averageChroma, *chroma[level - 1], *chroma[level], Width(*chroma[0]) / divisor,
                                 Height(*chroma[0]) / divisor, nullptr);
        }
        for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
            const int divisor = FrameChildSlot::kDivisors[level];
            const int width = Width(*luma[0]) / divisor;
            const int height = Height(*luma[0]) / divisor;
            if (InfoDataBufferPath1* output = GetFrameChildPlane(frame, FrameChildSlot::Output(level)))
                result = TakePlaneLayout(*output, level < 2 ? *luma[0] : *luma[level - 1], width, height);
            if (level > 0)
                result = ReduceLevel(kernels.averageLuma, *luma[level - 1], *luma[level], width, height,
                                     level == 1 ? averageLevel : nullptr);
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
