#include "FramePlaneProcedures.h"

#include "CatchAllLog.h"
#include "ChromaPairPick.h"
#include "SwordNearestSample.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr SWORD kGrey = 128;
// Thrown when a scaled picture would not lie inside its target plane.
constexpr int kPictureOutsidePlane = 160;

SWORD* PlaneWords(InfoDataBufferPath1& plane)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data);
}

SWORD* RowWords(InfoDataBufferPath1& plane, int row)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data + static_cast<ptrdiff_t>(row) * plane.m_stride);
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

// Words of a UV16 row walked in whole pairs: an odd width takes its last pair whole.
int PairWords(int width)
{
    return (width + 1) & ~1;
}

// Source pairs looked up at once, in a table on the stack: a frame allocates nothing.
constexpr int kPairsAtOnce = 512;

// The pairs around the picture are grey: whole rows above and below it, both sides beside it.
void FillGreyBorder(InfoDataBufferPath1& target, const PlaneFit& fit)
{
    const int rowWords = PairWords(fit.targetWidth);
    const int pictureEnd = fit.x + PairWords(fit.width);
    for (int y = 0; y < fit.targetHeight; ++y) {
        SWORD* out = RowWords(target, y);
        if (y < fit.y || y >= fit.y + fit.height) {
            std::fill(out, out + rowWords, kGrey);
            continue;
        }
        std::fill(out, out + fit.x, kGrey);
        std::fill(out + pictureEnd, out + rowWords, kGrey);
    }
}

// U and V of a pair move together, as one 32-bit unit.
void CopyPair(const SWORD* from, SWORD* to)
{
    std::memcpy(to, from, 2 * sizeof(SWORD));
}

// Each picture pair takes the source pair holding the column picked for its first word (the split
// writes a pair's U and V over both its columns, the join takes them from the pair's first).
// Walked in strips of kPairsAtOnce pairs.
void GatherPairsByTable(InfoDataBufferPath1& source, InfoDataBufferPath1& target, const PlaneFit& fit)
{
    const int pairs = PairWords(fit.width) / 2;
    const NearestSample column(Width(source), fit.width);
    const NearestSample row(Height(source), fit.height);
    for (int first = 0; first < pairs; first += kPairsAtOnce) {
        const int count = std::min(kPairsAtOnce, pairs - first);
        // Word offset of each picture pair's source pair in its row.
        int sourcePair[kPairsAtOnce];
        for (int p = 0; p < count; ++p)
            sourcePair[p] = column(2 * (first + p)) & ~1;
        for (int j = 0; j < fit.height; ++j) {
            const SWORD* in = RowWords(source, row(j));
            SWORD* out = RowWords(target, fit.y + j) + fit.x + 2 * first;
            for (int p = 0; p < count; ++p)
                CopyPair(in + sourcePair[p], out + 2 * p);
        }
    }
}

// The source pairs a picture pair steps over when the width is kept (1) or halved exactly (2); 0
// for any other width. Columns below 2^24 are exact in float, so these steps pick what the table
// would.
int ExactPairStep(int sourceWidth, int width)
{
    if (width > (1 << 24))
        return 0;
    if (sourceWidth == width)
        return 1;
    return sourceWidth == 2 * width ? 2 : 0;
}

void GatherPicturePairs(InfoDataBufferPath1& source, InfoDataBufferPath1& target, const PlaneFit& fit)
{
    const int step = ExactPairStep(Width(source), fit.width);
    if (step == 0) {
        GatherPairsByTable(source, target, fit);
        return;
    }
    const int pairs = PairWords(fit.width) / 2;
    const NearestSample row(Height(source), fit.height);
    for (int j = 0; j < fit.height; ++j) {
        const SWORD* in = RowWords(source, row(j));
        SWORD* out = RowWords(target, fit.y + j) + fit.x;
        if (step == 1)
            std::memcpy(out, in, 2 * sizeof(SWORD) * static_cast<size_t>(pairs));
        else
            PickEverySecondPair(in, out, pairs);
    }
}

// Every row of the plane, its pairs whole, lies inside its block.
bool HoldsPairRows(const InfoDataBufferPath1& plane)
{
    const int64_t rowBytes = 2 * static_cast<int64_t>(PairWords(Width(plane)));
    return plane.m_stride >= rowBytes && plane.m_offset_data >= 0 &&
           plane.m_offset_data + static_cast<int64_t>(plane.m_stride) * (Height(plane) - 1) + rowBytes <=
               plane.m_capacity;
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
    return {table.average2x2Y16, table.average2x2UV16, table.resize};
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

HRESULT ResizeUVBuffer(InfoDataBufferPath1* source, InfoDataBufferPath1* target, InfoDataBufferPath1* inPlaceCopy,
                       const PlaneFit& fit)
{
    if (source == nullptr || target == nullptr || (source == target && inPlaceCopy == nullptr) ||
        source->m_data == nullptr || Width(*source) < 1 || Height(*source) < 1)
        return S_FALSE;
    try {
        CheckFitInsideTarget(fit);
        if (!HoldsPairRows(*source))
            return E_UNEXPECTED;
        InfoDataBufferPath1* from = source;
        if (source == target) {
            *inPlaceCopy = *source;
            from = inPlaceCopy;
        }
        const HRESULT result =
            target->UpdateSizeBuffer(static_cast<unsigned>(fit.targetWidth), static_cast<unsigned>(fit.targetHeight));
        if (FAILED(result))
            return result;
        FillGreyBorder(*target, fit);
        GatherPicturePairs(*from, *target, fit);
        return result;
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
