#include "IntavoReferenceFrames.h"

#include "IntavoConversions.h"

#include "MediaSubtypeGuids.h"
#include "sys_funct1.h"

#include <cstdlib>

using namespace media_guids;

namespace {

bool IsPlanar(const GUID& subtype)
{
    return subtype == MediaSubtypeI420 || subtype == MEDIASUBTYPE_IYUV || subtype == MEDIASUBTYPE_YV12;
}

} // namespace

int SourceRowStride(const GUID& subtype, int width)
{
    if (subtype == MEDIASUBTYPE_RGB24)
        return (3 * width + 3) & ~3;
    if (IsPlanar(subtype) || subtype == MediaSubtypeY8)
        return width;
    return 2 * width;
}

size_t SourcePictureBytes(const GUID& subtype, int width, int height)
{
    if (IsPlanar(subtype))
        return static_cast<size_t>(GetPlanar420FrameBytes(width, height));
    return static_cast<size_t>(SourceRowStride(subtype, width)) * height;
}

std::vector<uint8_t> MakePatternPicture(const GUID& subtype, int width, int height, uint32_t seed)
{
    std::vector<uint8_t> bytes(SourcePictureBytes(subtype, width, height));
    uint32_t state = seed * 2654435761u + 12345u;
    for (uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return bytes;
}

std::vector<uint8_t> ExpectedDataPathPicture(const GUID& subtype, int width, int height,
                                             const std::vector<uint8_t>& source)
{
    const int sourceStride = SourceRowStride(subtype, width);
    if (subtype == MediaSubtypeY8)
        return source;
    const int stride = 2 * width;
    std::vector<uint8_t> out(static_cast<size_t>(stride) * height);
    auto* sourceBytes = const_cast<uint8_t*>(source.data());
    const int capacity = static_cast<int>(source.size());
    if (subtype == MEDIASUBTYPE_UYVY)
        ConvertUYVYToYUY2_c(out.data(), sourceBytes, stride, sourceStride, width, height);
    else if (subtype == MEDIASUBTYPE_YVYU)
        ConvertYVYUToYUY2_c(out.data(), sourceBytes, stride, sourceStride, width, height);
    else if (subtype == MEDIASUBTYPE_YV12)
        ConvertYV12ToYUY2_c(out.data(), sourceBytes, stride, width, height, capacity);
    else if (IsPlanar(subtype))
        ConvertI420ToYUY2_c(out.data(), sourceBytes, stride, width, height, capacity);
    else if (subtype == MEDIASUBTYPE_RGB24) {
        // Bottom-up rows turned upright.
        ConvertRGB24ToYUY2_c(out.data(), sourceBytes, stride, sourceStride, width, height);
        FlipImageRows(out.data(), stride, height);
    } else
        out = source;
    return out;
}

int DataPathStride(const GUID& subtype, int width)
{
    const int rowBytes = (subtype == MediaSubtypeY8 ? 1 : 2) * width;
    const int alignment = subtype == MEDIASUBTYPE_RGB24 ? 48 : 16;
    return (rowBytes + alignment - 1) / alignment * alignment;
}

std::vector<uint8_t> VisibleBytes(const InfoDataBufferPath1& frame)
{
    const int rowBytes =
        static_cast<int>(GetBytesPerPixelFromSubtype(frame.m_info.m_subtype)) * std::abs(frame.m_info.m_bih.biWidth);
    const int rows = std::abs(frame.m_info.m_bih.biHeight);
    std::vector<uint8_t> bytes;
    if (frame.m_data == nullptr || frame.m_size_data <= 0 || frame.m_stride < rowBytes ||
        static_cast<int64_t>(frame.m_offset_data) + static_cast<int64_t>(rows - 1) * frame.m_stride + rowBytes >
            frame.m_capacity)
        return bytes;
    for (int r = 0; r < rows; ++r) {
        const uint8_t* row = frame.m_data + frame.m_offset_data + static_cast<size_t>(r) * frame.m_stride;
        bytes.insert(bytes.end(), row, row + rowBytes);
    }
    return bytes;
}
