#include "TestVideoFrames.h"

#include "FramePlaneProcedures.h"

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

// A zeroed working plane of the frame's description at the size, so that the rows and padding
// around the picture read the same in every test.
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

} // namespace

HRESULT AttachTestChildPlanes(InfoDataBufferPath1& frame)
{
    try {
        const bool hasChroma = frame.m_info.m_subtype == media_guids::MEDIASUBTYPE_YUY2;
        HRESULT result = frame.EnableChildBuffers();
        if (FAILED(result))
            return result;
        frame.m_index_child.Fill(-1);
        for (int level = 0; level < FrameChildSlot::kLevels; ++level)
            for (int slot : {FrameChildSlot::Luma(level), FrameChildSlot::Chroma(level)})
                if (slot != FrameChildSlot::Chroma(level) || hasChroma)
                    frame.m_index_child.GetElement(static_cast<uint32_t>(slot)) = slot + 1;
        // The full-size planes are split from the pixels; the reduced copies are made as the
        // correction filter makes them.
        const int width = frame.m_info.m_bih.biWidth;
        const int height = frame.m_info.m_bih.biHeight;
        InfoDataBufferPath1* luma = GetFrameChildPlane(frame, FrameChildSlot::Luma(0));
        InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(0));
        for (InfoDataBufferPath1* plane : {luma, chroma})
            if (plane != nullptr && FAILED(result = SizePlane(*plane, frame, width, height)))
                return result;
        result = SplitFrame(frame, *luma, chroma);
        if (SUCCEEDED(result))
            result = CreateSmallCopyFrames(GetFramePlaneKernels(Operations()), frame);
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

int16_t& PlaneSample(InfoDataBufferPath1& plane, int x, int y)
{
    BYTE* row = plane.m_data + plane.m_offset_data + static_cast<ptrdiff_t>(y) * plane.m_stride;
    return reinterpret_cast<int16_t*>(row)[x];
}

std::vector<int16_t> PlaneSamples(InfoDataBufferPath1& plane)
{
    std::vector<int16_t> samples;
    for (int y = 0; y < plane.m_info.m_bih.biHeight; ++y)
        for (int x = 0; x < plane.m_info.m_bih.biWidth; ++x)
            samples.push_back(PlaneSample(plane, x, y));
    return samples;
}
