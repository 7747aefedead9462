#include "IntavoReferenceFrames.h"

#include "IntavoConversions.h"

#include "MediaSubtypeGuids.h"
#include "TestBitmapFiles.h"
#include "sys_funct1.h"

#include <cstdlib>


namespace {

bool IsPlanar(const GUID& subtype)
{
    return subtype == media_guids::MediaSubtypeI420 || subtype == MEDIASUBTYPE_IYUV || subtype == MEDIASUBTYPE_YV12;
}

} // namespace

int SourceRowStride(const GUID& subtype, int width)
{
    if (subtype == MEDIASUBTYPE_RGB24)
        return (3 * width + 3) & ~3;
    if (IsPlanar(subtype) || subtype == media_guids::MediaSubtypeY8)
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
    if (subtype == media_guids::MediaSubtypeY8)
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
    const int rowBytes = (subtype == media_guids::MediaSubtypeY8 ? 1 : 2) * width;
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

const std::vector<AviSourceCase>& AviSourceCases()
{
    static const std::vector<AviSourceCase> cases = {
        {"yuy2", {TestFourcc('Y', 'U', 'Y', '2'), 16, 64, 32}, MEDIASUBTYPE_YUY2},
        {"uyvy", {TestFourcc('U', 'Y', 'V', 'Y'), 16, 64, 32}, MEDIASUBTYPE_UYVY},
        {"rgb24", {BI_RGB, 24, 64, 32}, MEDIASUBTYPE_RGB24},
        // 320 x 240 arrives as YUY2 with a stride of 640.
        {"i420", {TestFourcc('I', '4', '2', '0'), 12, 320, 240}, media_guids::MediaSubtypeI420},
    };
    return cases;
}

std::string MakeBmp24File(int width, int height, const std::vector<uint8_t>& bottomUpRows)
{
    return MakeBmpFile(width, height, 24, "", std::string(bottomUpRows.begin(), bottomUpRows.end()));
}

std::vector<uint8_t> CaptureDesktopRgb24(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<uint8_t> rows;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        const auto* start = static_cast<const uint8_t*>(bits);
        rows.assign(start, start + SourcePictureBytes(MEDIASUBTYPE_RGB24, width, height));
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return rows;
}

TestCaptureCapability MakeTestCameraCapability(const GUID& subtype, int width, int height)
{
    TestCaptureCapability capability{};
    capability.formatType = FORMAT_VideoInfo;
    capability.subtype = subtype;
    capability.width = width;
    capability.height = height;
    capability.caps.guid = FORMAT_VideoInfo;
    capability.caps.InputSize = {width, height};
    capability.caps.MinOutputSize = {width, height};
    capability.caps.MaxOutputSize = {width, height};
    capability.caps.MinFrameInterval = 333333;
    capability.caps.MaxFrameInterval = 333333;
    return capability;
}

std::vector<uint8_t> MakeTestCameraPicture(const GUID& subtype, int width, int height, ULONG number)
{
    std::vector<uint8_t> picture(SourcePictureBytes(subtype, width, height));
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = TestCaptureCounterByte(number, static_cast<ULONG>(i));
    return picture;
}
