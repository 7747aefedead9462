// One delivered frame into the data path's YUY2 or Y8 frame.
#include "IntavoConversions.h"

#include "CatchAllLog.h"
#include "MediaSubtypeGuids.h"
#include "sys_funct1.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

using namespace media_guids;

namespace {

constexpr DWORD kCompressionYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');
constexpr DWORD kCompressionY8 = 0x20203859; // "Y8  "

enum class SourceLayout
{
    Yuy2Family, // YUY2, YUYV, UYVY, YVYU
    Rgb24,
    Y8,
    Unsupported,
};

SourceLayout LayoutOf(const GUID& subtype)
{
    for (const GUID& packed : {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_YUYV, MEDIASUBTYPE_UYVY, MEDIASUBTYPE_YVYU})
        if (IsEqualGUID(subtype, packed))
            return SourceLayout::Yuy2Family;
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24))
        return SourceLayout::Rgb24;
    if (IsEqualGUID(subtype, MediaSubtypeY8))
        return SourceLayout::Y8;
    return SourceLayout::Unsupported;
}

// The next multiple of the alignment strictly above a stride that is not one already.
int RoundUpToAlignment(int value, int alignment)
{
    return value % alignment == 0 ? value : (value + alignment) / alignment * alignment;
}

void Describe(InfoDataBufferPath1& frame, const GUID& subtype, DWORD compression, WORD bitCount)
{
    frame.m_info.m_subtype = subtype;
    frame.m_info.m_bih.biCompression = compression;
    frame.m_info.m_bih.biBitCount = bitCount;
}

// The source rows as the row routines walk them: a stride of whole vectors.
struct WorkingSource
{
    BYTE* data;
    int stride;
    int pixelsPerRow;
};

HRESULT AlignSource(MemoryBlockClass<BYTE>& scratch, BYTE* source, int sourceStride, int rowBytes, int height,
                    int alignment, int bytesPerPixel, WorkingSource& working)
{
    working = {source, sourceStride, rowBytes / bytesPerPixel};
    if (sourceStride % alignment == 0)
        return S_OK;
    const int stride = RoundUpToAlignment(sourceStride, alignment);
    const int64_t bytes = static_cast<int64_t>(stride) * height;
    if (bytes > INT_MAX)
        return E_UNEXPECTED;
    if (scratch.GetSize() < bytes) {
        LOG_TEXT("Intavo1::ConvertDataBufferToYUY2orY8Formats::begin alloc align source buffer");
        if (FAILED(scratch.CreateBlock(static_cast<uint32_t>(bytes))))
            return E_FAIL;
    }
    working = {scratch.GetData(), stride, stride / bytesPerPixel};
    return CopyPlaneSWORD(source, working.data, rowBytes, height, sourceStride, stride);
}

// Gives the destination a block of stride x height bytes and that layout.
HRESULT PrepareDestination(InfoDataBufferPath1& destination, int stride, int height)
{
    const int64_t bytes = static_cast<int64_t>(stride) * height;
    if (bytes > INT_MAX)
        return E_UNEXPECTED;
    const int size = static_cast<int>(bytes);
    if (destination.m_capacity < size || destination.m_data == nullptr) {
        const BITMAPINFOHEADER& header = destination.m_info.m_bih;
        const HRESULT result = destination.AllocBufferForStandartTypeVideoData(
            size, header.biWidth, header.biHeight, stride, 0, size, destination.m_info.m_subtype,
            header.biCompression, header.biBitCount);
        if (FAILED(result))
            return result;
    }
    destination.m_stride = stride;
    destination.m_size_data = size;
    destination.m_offset_data = 0;
    return S_OK;
}

// RGB24 rows arrive bottom-up and the data path's frames are upright: each row is converted
// straight into its upright place, so the picture needs no pass of its own to turn it over.
HRESULT ConvertRowsUpsideDown(PackedConversionFunction convert, BYTE* out, int stride, const WorkingSource& working,
                              int width, int height)
{
    for (int row = 0; row < height; ++row) {
        const HRESULT result = convert(out + static_cast<int64_t>(height - 1 - row) * stride,
                                       working.data + static_cast<int64_t>(row) * working.stride, stride,
                                       working.stride, width, 1);
        if (FAILED(result))
            return result;
    }
    return S_OK;
}

// Brings UYVY and YVYU to the YUY2 order in place; YUY2 and YUYV need nothing.
HRESULT ReorderToYuy2(const ConversionRoutinesIntavo1& routines, const WorkingSource& working, const GUID& subtype,
                      int width, int height)
{
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YVYU))
        return routines.yvyuToYuy2(working.data, working.data, working.stride, working.stride, width, height);
    if (IsEqualGUID(subtype, MEDIASUBTYPE_UYVY))
        return routines.uyvyToYuy2(working.data, working.data, working.stride, working.stride, width, height);
    return S_OK;
}

HRESULT ConvertToYuy2(const ConversionRoutinesIntavo1& routines, SourceLayout layout, const WorkingSource& working,
                      InfoDataBufferPath1& destination, int width, int height)
{
    BYTE* out = destination.m_data;
    const int stride = destination.m_stride;
    HRESULT result = E_UNEXPECTED;
    if (layout == SourceLayout::Yuy2Family)
        result = CopyPlaneSWORD(working.data, out, 2 * width, height, working.stride, stride);
    else if (layout == SourceLayout::Rgb24)
        result = ConvertRowsUpsideDown(routines.rgb24ToYuy2, out, stride, working, width, height);
    Describe(destination, MEDIASUBTYPE_YUY2, kCompressionYuy2, 16);
    return result;
}

HRESULT ConvertToY8(const ConversionRoutinesIntavo1& routines, SourceLayout layout, const WorkingSource& working,
                    InfoDataBufferPath1& destination, int width, int height)
{
    BYTE* out = destination.m_data;
    const int stride = destination.m_stride;
    HRESULT result = E_UNEXPECTED;
    if (layout == SourceLayout::Yuy2Family)
        result = routines.yuy2ToY8(out, working.data, stride, working.stride, width, height);
    else if (layout == SourceLayout::Y8)
        result = CopyPlaneSWORD(working.data, out, width, height, working.stride, stride);
    else if (layout == SourceLayout::Rgb24)
        result = ConvertRowsUpsideDown(routines.rgb24ToY8, out, stride, working, width, height);
    Describe(destination, MediaSubtypeY8, kCompressionY8, 8);
    return result;
}

HRESULT ConvertFrame(const ConversionRoutinesIntavo1& routines, MemoryBlockClass<BYTE>& scratch, BYTE* source,
                     int sourceStride, InfoDataBufferPath1& destination, bool yuy2Output)
{
    const GUID subtype = destination.m_info.m_subtype;
    const SourceLayout layout = LayoutOf(subtype);
    if (layout == SourceLayout::Unsupported)
        return E_UNEXPECTED;
    const bool yuy2 = yuy2Output && layout != SourceLayout::Y8;
    BITMAPINFOHEADER& header = destination.m_info.m_bih;
    header.biWidth = std::abs(header.biWidth);
    header.biHeight = std::abs(header.biHeight);
    const int width = header.biWidth;
    const int height = header.biHeight;
    const int bytesPerPixel = static_cast<int>(GetBytesPerPixelFromSubtype(subtype));
    const int64_t rowBytes = static_cast<int64_t>(width) * bytesPerPixel;
    if (width < 1 || height < 1 || rowBytes > sourceStride)
        return E_UNEXPECTED;

    const int alignment = layout == SourceLayout::Rgb24 ? 48 : 16;
    WorkingSource working{};
    HRESULT result = AlignSource(scratch, source, sourceStride, static_cast<int>(rowBytes), height, alignment,
                                 bytesPerPixel, working);
    if (FAILED(result))
        return result;
    const int64_t outputRow = static_cast<int64_t>(yuy2 ? 2 : 1) * working.pixelsPerRow;
    if (outputRow > INT_MAX - alignment)
        return E_UNEXPECTED;
    result = PrepareDestination(destination, RoundUpToAlignment(static_cast<int>(outputRow), alignment), height);
    if (FAILED(result))
        return result;

    if (layout == SourceLayout::Yuy2Family) {
        result = ReorderToYuy2(routines, working, subtype, width, height);
        if (FAILED(result))
            return result;
        Describe(destination, MEDIASUBTYPE_YUY2, kCompressionYuy2, 16);
    }
    return yuy2 ? ConvertToYuy2(routines, layout, working, destination, width, height)
                : ConvertToY8(routines, layout, working, destination, width, height);
}

} // namespace

bool ConvertsInPlace(const InfoDataBufferPath1& frame)
{
    const SourceLayout layout = LayoutOf(frame.m_info.m_subtype);
    if (layout != SourceLayout::Yuy2Family && layout != SourceLayout::Y8)
        return false;
    const int64_t width = std::abs(static_cast<int64_t>(frame.m_info.m_bih.biWidth));
    const int64_t height = std::abs(static_cast<int64_t>(frame.m_info.m_bih.biHeight));
    const int64_t stride = width * GetBytesPerPixelFromSubtype(frame.m_info.m_subtype);
    return frame.m_data != nullptr && frame.m_offset_data == 0 && width > 0 && height > 0 && stride % 16 == 0 &&
           stride * height <= frame.m_capacity;
}

HRESULT ConvertDataBufferToYUY2orY8Formats(const ConversionRoutinesIntavo1& routines, MemoryBlockClass<BYTE>& scratch,
                                           BYTE* source, int sourceStride, InfoDataBufferPath1& destination,
                                           bool yuy2Output)
{
    if (source == nullptr)
        return E_INVALIDARG;
    if (sourceStride < 1)
        return E_UNEXPECTED;
    HRESULT result = E_FAIL;
    try {
        result = ConvertFrame(routines, scratch, source, sourceStride, destination, yuy2Output);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    destination.m_size_data = std::clamp(destination.m_size_data, 0, std::max(destination.m_capacity, 0));
    if (FAILED(result))
        destination.SetNULLFrame();
    return result;
}
