#include "TestVideoFrames.h"

#include "MediaSubtypeGuids.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <cstring>

namespace {

// The plain-code operations of every processor mode give the same planes; the MMX column is the
// one every machine here runs.
const OptimFunctionTableSWORD& Operations()
{
    static const OptimFunctionTableSWORD table = [] {
        OptimFunctionTableSWORD filled{};
        FillOptimFunctionTableSWORD(filled, 1);
        return filled;
    }();
    return table;
}

SWORD* PlaneData(InfoDataBufferPath1& plane)
{
    return reinterpret_cast<SWORD*>(plane.m_data + plane.m_offset_data);
}

// A zeroed working plane of the frame's description at the size; the 2 x 2 averages leave the
// last columns of an odd-sized level unwritten, and a test must see the same words every time.
HRESULT SizePlane(InfoDataBufferPath1& plane, const InfoDataBufferPath1& frame, int width, int height)
{
    plane.m_info = frame.m_info;
    plane.m_number_frame = frame.m_number_frame;
    const HRESULT result = plane.UpdateSizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (FAILED(result))
        return result;
    std::memset(plane.m_data, 0, static_cast<size_t>(plane.m_capacity));
    return S_OK;
}

HRESULT SplitFrame(InfoDataBufferPath1& frame, InfoDataBufferPath1& luma, InfoDataBufferPath1* chroma)
{
    const int width = frame.m_info.m_bih.biWidth;
    const int height = frame.m_info.m_bih.biHeight;
    const BYTE* pixels = frame.m_data + frame.m_offset_data;
    if (chroma == nullptr)
        return Operations().y8ToY16(PlaneData(luma), nullptr, pixels, nullptr, nullptr, luma.m_stride,
                                    frame.m_stride, width, height, 0, nullptr, nullptr, nullptr);
    return Operations().yuy2ToY16UV16(PlaneData(luma), PlaneData(*chroma), pixels, nullptr, nullptr, luma.m_stride,
                                      frame.m_stride, width, height, 0, nullptr, nullptr, nullptr);
}

// A level too small for the 2 x 2 averages (fewer than 64 samples) stays zero, as the correction
// filter leaves it.
HRESULT Reduce(UnifSwordFunction average, InfoDataBufferPath1& from, InfoDataBufferPath1& to)
{
    if (from.m_info.m_bih.biWidth * from.m_info.m_bih.biHeight < 64)
        return S_OK;
    return average(PlaneData(to), nullptr, PlaneData(from), nullptr, nullptr, to.m_stride, from.m_stride,
                   from.m_info.m_bih.biWidth, from.m_info.m_bih.biHeight, 0, nullptr, nullptr, nullptr);
}

} // namespace

HRESULT AttachTestChildPlanes(InfoDataBufferPath1& frame)
{
    try {
        const bool hasChroma = frame.m_info.m_subtype == media_guids::MEDIASUBTYPE_YUY2;
        HRESULT result = frame.EnableChildBuffers();
        if (FAILED(result))
            return result;
        frame.m_index_child.Fill(-1);
        const int width = frame.m_info.m_bih.biWidth;
        const int height = frame.m_info.m_bih.biHeight;
        for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
            const int divisor = FrameChildSlot::kDivisors[level];
            for (int slot : {FrameChildSlot::Luma(level), FrameChildSlot::Chroma(level)}) {
                if (slot == FrameChildSlot::Chroma(level) && !hasChroma)
                    continue;
                frame.m_index_child.GetElement(static_cast<uint32_t>(slot)) = slot + 1;
                result = SizePlane(*GetFrameChildPlane(frame, slot), frame, width / divisor, height / divisor);
                if (FAILED(result))
                    return result;
            }
        }
        result = SplitFrame(frame, *GetFrameChildPlane(frame, FrameChildSlot::Luma(0)),
                            GetFrameChildPlane(frame, FrameChildSlot::Chroma(0)));
        for (int level = 1; level < FrameChildSlot::kLevels && SUCCEEDED(result); ++level) {
            result = Reduce(Operations().average2x2Y16, *GetFrameChildPlane(frame, FrameChildSlot::Luma(level - 1)),
                            *GetFrameChildPlane(frame, FrameChildSlot::Luma(level)));
            if (hasChroma && SUCCEEDED(result))
                result = Reduce(Operations().average2x2UV16,
                                *GetFrameChildPlane(frame, FrameChildSlot::Chroma(level - 1)),
                                *GetFrameChildPlane(frame, FrameChildSlot::Chroma(level)));
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT MakeTestFrame(InfoDataBufferPath1& frame, TestFrameFormat format, int width, int height,
                      const TestFrameLuma& luma, int32_t number)
{
    if (width < 1 || height < 1 || !luma)
        return E_INVALIDARG;
    try {
        const bool yuy2 = format == TestFrameFormat::Yuy2;
        const int bytesPerPixel = yuy2 ? 2 : 1;
        const int stride = bytesPerPixel * width;
        const int size = stride * height;
        const HRESULT result = frame.AllocBufferForStandartTypeVideoData(
            size, width, height, stride, 0, size, yuy2 ? media_guids::MEDIASUBTYPE_YUY2 : media_guids::MediaSubtypeY8,
            yuy2 ? MAKEFOURCC('Y', 'U', 'Y', '2') : MAKEFOURCC('Y', '8', ' ', ' '),
            static_cast<unsigned short>(8 * bytesPerPixel));
        if (FAILED(result))
            return result;
        frame.m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
        frame.m_number_frame = number;
        for (int y = 0; y < height; ++y) {
            BYTE* row = frame.m_data + static_cast<size_t>(y) * stride;
            for (int x = 0; x < width; ++x) {
                row[bytesPerPixel * x] = luma(x, y);
                if (yuy2)
                    row[2 * x + 1] = 128;
            }
        }
        return AttachTestChildPlanes(frame);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

TestFrameLuma UniformLuma(uint8_t value)
{
    return [value](int, int) { return value; };
}

TestFrameLuma BlockLuma(uint8_t background, uint8_t block, int left, int top, int right, int bottom)
{
    return [=](int x, int y) { return x >= left && x < right && y >= top && y < bottom ? block : background; };
}
