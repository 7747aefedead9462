// Operations of the frame buffer: allocation, layouts, copies, exchange, alignment and fills.
// Every copy, move and fill checks the block's capacity before it touches a byte.
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "MediaTypeGuids.h"

#include "CatchAllLog.h"
#include "sys_funct1.h"

#include <climits>
#include <cstring>
#include <utility>

namespace {

const int kRefused = 241;

int64_t Min(int64_t a, int64_t b) { return a < b ? a : b; }

int64_t PlaneStride(unsigned width)
{
    return ((2 * static_cast<int64_t>(width) + 15) & ~int64_t{15}) + 32;
}

} // namespace

bool InfoDataBufferPath1::HoldsRange(int64_t start, int64_t length) const
{
    return m_data != nullptr && start >= 0 && length >= 0 && start + length <= m_capacity;
}

// ---- Allocation -----------------------------------------------------------------------------

HRESULT InfoDataBufferPath1::AllocBuffer(int size, bool extra16)
{
    try {
        if (size < 0)
            return E_UNEXPECTED;
        const int64_t need = static_cast<int64_t>(size) + (extra16 ? 16 : 0);
        if (need > INT_MAX)
            return E_UNEXPECTED;
        if (m_capacity >= need && m_data != nullptr && size != 0 &&
            (need == 0 || static_cast<double>(m_capacity) / static_cast<double>(need) <= 2.0))
            return S_OK;
        if (need == 0) {
            // A block of no bytes is no block.
            SAFE_TASK_FREE(&m_data, m_heap_buffer);
            m_capacity = 0;
            return S_OK;
        }
        // A failed reallocation keeps the old block and its capacity, so later writes stay inside it.
        if (FAILED(SAFE_TASK_REALLOC(&m_data, static_cast<uint64_t>(need), m_heap_buffer))) {
            LOG_TEXT("InfoDataBufferPath1::AllocBuffer::reallocation failed");
            return E_FAIL;
        }
        m_capacity = static_cast<int32_t>(need);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoDataBufferPath1::AllocBufferForStandartTypeVideoData(int size, int width, int height, int stride,
                                                                 int dataOffset, int dataSize, GUID subtype,
                                                                 unsigned long compression,
                                                                 unsigned short bitCount)
{
    try {
        if (size < 0)
            return E_UNEXPECTED;
        // The layout is recorded only once the block holds it.
        const HRESULT result = AllocBuffer(size, false);
        if (FAILED(result))
            return result;
        m_info.m_major_type = kMediaTypeVideo;
        m_info.m_subtype = subtype;
        m_info.m_format_type = kFormatVideoInfo;
        m_info.m_bih.biCompression = compression;
        m_info.m_bih.biBitCount = bitCount;
        m_info.m_bih.biWidth = width;
        m_info.m_bih.biHeight = height;
        m_offset_data = dataOffset;
        m_size_data = dataSize;
        m_stride = stride;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoDataBufferPath1::AllocBufferEqualCurrent(const InfoDataBufferPath1& other)
{
    if (&other == this || other.m_self_size != sizeof(InfoDataBufferPath1))
        throw kRefused;
    m_self_size = other.m_self_size;
    m_info = other.m_info;
    m_size_data = 0;
    m_stride = other.m_stride;
    m_offset_data = other.m_offset_data;
    return AllocBuffer(other.m_capacity, true);
}

HRESULT InfoDataBufferPath1::UpdateSizeBuffer(unsigned width, unsigned height)
{
    try {
        // Each factor is bounded before the product, which then stays far inside 64 bits.
        if (width > INT_MAX || height > INT_MAX)
            return E_UNEXPECTED;
        const int64_t stride = PlaneStride(width);
        if (stride > INT_MAX)
            return E_UNEXPECTED;
        const int64_t blockSize = (static_cast<int64_t>(height) + 2) * stride;
        if (blockSize > INT_MAX)
            return E_UNEXPECTED;
        // The layout is recorded only once the block holds it.
        const HRESULT result = AllocBuffer(static_cast<int>(blockSize), true);
        if (FAILED(result))
            return result;
        m_stride = static_cast<int32_t>(stride);
        m_info.m_bih.biWidth = static_cast<LONG>(width);
        m_info.m_bih.biHeight = static_cast<LONG>(height);
        m_offset_data = m_stride + 16;
        m_size_data = static_cast<int32_t>(height) * m_stride;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Copies and exchange --------------------------------------------------------------------

InfoDataBufferPath1& InfoDataBufferPath1::operator=(const InfoDataBufferPath1& other)
{
    if (&other == this || other.m_self_size != sizeof(InfoDataBufferPath1) || other.m_heap_buffer != m_heap_buffer)
        throw kRefused;
    m_self_size = other.m_self_size;
    m_info = other.m_info;
    CopyDataFrom(other);
    m_child_buffers = other.m_child_buffers;
    m_index_child = other.m_index_child;
    return *this;
}

// Copies the frame with the row above it and the 16 bytes before its first row, as the working
// plane layout needs. A copy that would leave either block is refused with integer 241.
void InfoDataBufferPath1::CopyDataFrom(const InfoDataBufferPath1& other)
{
    const int64_t offset = other.m_offset_data;
    const int64_t size = other.m_size_data;
    const int64_t stride = other.m_stride;
    const int64_t end = offset + size + stride;
    const int64_t span = size + 2 * stride + 32;
    const int64_t start = offset < stride + 16 ? 0 : offset - stride - 16;
    int64_t count = span < 0 ? 0 : Min(end - start, span);
    count = count < 0 ? 0 : Min(other.m_capacity - start, count);

    if (end < 0 || end > INT_MAX || FAILED(AllocBuffer(static_cast<int>(end), true)))
        throw kRefused;
    if (count > 0 && (!other.HoldsRange(start, count) || !HoldsRange(start, count)))
        throw kRefused;
    m_size_data = other.m_size_data;
    m_offset_data = other.m_offset_data;
    m_stride = other.m_stride;
    if (count > 0)
        MemCopy(m_data + start, other.m_data + start, static_cast<size_t>(count), "InfoDataBufferPath1::operator=");
}

HRESULT InfoDataBufferPath1::ExchangeBuffersAndDataFromCurrent(InfoDataBufferPath1& other)
{
    try {
        if (&other == this || other.m_heap_buffer != m_heap_buffer)
            throw kRefused;
        m_info.SwapDescription(other.m_info);
        std::swap(m_data, other.m_data);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_size_data, other.m_size_data);
        std::swap(m_offset_data, other.m_offset_data);
        std::swap(m_stride, other.m_stride);
        std::swap(m_number_frame, other.m_number_frame);

        const uint32_t children = m_child_buffers.GetCount() > other.m_child_buffers.GetCount()
                                      ? m_child_buffers.GetCount()
                                      : other.m_child_buffers.GetCount();
        if (m_child_buffers.GetCount() != other.m_child_buffers.GetCount()) {
            m_child_buffers.SetSize(children);
            other.m_child_buffers.SetSize(children);
        }
        HRESULT result = S_OK;
        for (uint32_t k = 0; k < children; ++k)
            result = m_child_buffers.GetElement(k).ExchangeBuffersAndDataFromCurrent(other.m_child_buffers.GetElement(k));
        std::swap(m_index_child, other.m_index_child);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoDataBufferPath1::CopyHalfBufferFromCurrent(InfoDataBufferPath1& other)
{
    try {
        if (&other == this || other.m_self_size != m_self_size || other.m_stride != m_stride ||
            other.m_size_data != m_size_data || other.m_info.m_major_type != m_info.m_major_type ||
            other.m_info.m_subtype != m_info.m_subtype || m_info.m_major_type != kMediaTypeVideo ||
            other.Height() != Height() || other.Width() != Width())
            throw kRefused;
        if (m_data == nullptr || other.m_data == nullptr)
            return S_OK;
        const int64_t half = m_stride / 2;
        for (int32_t r = 0; r < Height(); ++r) {
            const int64_t source = other.m_offset_data + static_cast<int64_t>(r) * other.m_stride;
            const int64_t destination = m_offset_data + static_cast<int64_t>(r) * m_stride;
            if (!other.HoldsRange(source, half) || !HoldsRange(destination, half))
                throw kRefused;
            MemCopy(m_data + destination, other.m_data + source, static_cast<size_t>(half),
                    "InfoDataBufferPath1::CopyHalfBufferFromCurrent");
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Alignment ------------------------------------------------------------------------------

HRESULT InfoDataBufferPath1::CheckAlignedFrame()
{
    try {
        if (m_data == nullptr || m_capacity < 1)
            return S_OK;
        HRESULT result = S_OK;
        if ((reinterpret_cast<uintptr_t>(m_data) % 16) != 0 || (m_offset_data % 16) != 0)
            result = MoveDataToAlignedOffset();
        if (SUCCEEDED(result) && m_info.m_format_type == kFormatVideoInfo && (Width() % 16) != 0)
            result = CropWidthToMultipleOf16();
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoDataBufferPath1::MoveDataToAlignedOffset()
{
    LOG_TEXT("InfoDataBufferPath1::CheckAlignedFrame::aliging begin and offset buffer");
    const int32_t oldOffset = m_offset_data;
    const bool moveData = m_size_data > 0;
    if (oldOffset < 0 || (moveData && !HoldsRange(oldOffset, m_size_data)))
        throw kRefused;
    int64_t newOffset = oldOffset;
    int64_t newCapacity = static_cast<int64_t>(m_capacity) + 16;
    if (oldOffset != 0) {
        newOffset = (static_cast<int64_t>(oldOffset) + 16) & ~int64_t{15};
        newCapacity += 16;
    }
    if (newCapacity > INT_MAX || FAILED(SAFE_TASK_REALLOC(&m_data, static_cast<uint64_t>(newCapacity), m_heap_buffer)))
        return E_FAIL;
    m_capacity = static_cast<int32_t>(newCapacity);
    m_offset_data = static_cast<int32_t>(newOffset);
    if (moveData && newOffset != oldOffset)
        std::memmove(m_data + newOffset, m_data + oldOffset, static_cast<size_t>(m_size_data));
    return S_OK;
}

HRESULT InfoDataBufferPath1::CropWidthToMultipleOf16()
{
    if (Width() <= 0 || Height() <= 0)
        return S_OK;
    const int32_t newWidth = Width() & ~15;
    if (IsNotPlanarYUVFormat(m_info.m_subtype) == S_OK)
        return CropPlanarRows(newWidth);
    // An unknown subtype counts 4 bytes a pixel; the capacity checks keep its rows inside the block.
    return CropPackedRows(newWidth, GetBytesPerPixelFromSubtype(m_info.m_subtype));
}

HRESULT InfoDataBufferPath1::CropPackedRows(int32_t newWidth, uint32_t bytesPerPixel)
{
    const int64_t rowBytes = static_cast<int64_t>(bytesPerPixel) * newWidth;
    const int64_t height = Height();
    const int64_t lastRow = m_offset_data + (height - 1) * m_stride;
    if (m_stride < rowBytes || !HoldsRange(m_offset_data, 0) || !HoldsRange(lastRow, rowBytes))
        throw kRefused;
    for (int64_t r = 0; r < height; ++r)
        std::memmove(m_data + m_offset_data + r * rowBytes, m_data + m_offset_data + r * m_stride,
                     static_cast<size_t>(rowBytes));
    m_stride = static_cast<int32_t>(rowBytes);
    m_info.m_bih.biWidth = newWidth;
    m_size_data = static_cast<int32_t>(rowBytes * height);
    return S_OK;
}

HRESULT InfoDataBufferPath1::CropPlanarRows(int32_t newWidth)
{
    struct Plane
    {
        int64_t rowLength, rows, sourceRowLength, sourceOffset;
    };
    const int64_t width = Width();
    const int64_t height = Height();
    const Plane planes[3] = {
        {newWidth, height, width, 0},
        {newWidth / 2, height / 2, width / 2, height * width},
        {newWidth / 2, height / 2, width / 2, height * width + (height / 2) * (width / 2)},
    };
    const int64_t sourceEnd = height * width + 2 * (height / 2) * (width / 2);
    if (!HoldsRange(m_offset_data, sourceEnd))
        throw kRefused;
    BYTE* base = m_data + m_offset_data;
    int64_t written = 0;
    for (const Plane& plane : planes)
        for (int64_t r = 0; r < plane.rows; ++r) {
            std::memmove(base + written, base + plane.sourceOffset + r * plane.sourceRowLength,
                         static_cast<size_t>(plane.rowLength));
            written += plane.rowLength;
        }
    m_stride = 2 * newWidth;
    m_info.m_bih.biWidth = newWidth;
    m_size_data = static_cast<int32_t>(static_cast<int64_t>(newWidth) * height + (newWidth & ~1) * (height / 2));
    return S_OK;
}

// ---- Fills ----------------------------------------------------------------------------------

HRESULT InfoDataBufferPath1::SlowFillRect(short value, unsigned x, unsigned y, unsigned width, unsigned height)
{
    try {
        if (m_info.m_major_type != kMediaTypeVideo)
            return S_FALSE;
        const int64_t frameWidth = Width();
        const int64_t frameHeight = Height();
        if (!(y < frameHeight && height > 0 && int64_t{y} + height <= frameHeight && x < frameWidth && width > 0 &&
              int64_t{x} + width <= frameWidth))
            return E_FAIL;
        if (m_data == nullptr)
            return S_OK;
        const int64_t firstRow = m_offset_data + int64_t{y} * m_stride + 2 * int64_t{x};
        const int64_t lastRow = firstRow + (int64_t{height} - 1) * m_stride;
        if (!HoldsRange(firstRow, 2 * int64_t{width}) || !HoldsRange(lastRow, 2 * int64_t{width}))
            return E_FAIL;
        for (unsigned r = 0; r < height; ++r) {
            int16_t* row = reinterpret_cast<int16_t*>(m_data + firstRow + int64_t{r} * m_stride);
            for (unsigned c = 0; c < width; ++c)
                row[c] = value;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Mirrors the 8 samples (or 4 sample pairs) at each end of a row into its borders.
void InfoDataBufferPath1::MirrorRowBorders(int16_t* row, int32_t width, bool singleSamples)
{
    if (singleSamples) {
        for (int32_t i = 0; i < 8; ++i) {
            row[-1 - i] = row[i];
            row[width + i] = row[width - 1 - i];
        }
        return;
    }
    for (int32_t j = 0; j < 4; ++j) {
        row[-2 - 2 * j] = row[2 * j];
        row[-1 - 2 * j] = row[2 * j + 1];
        row[width + 2 * j] = row[width - 2 - 2 * j];
        row[width + 2 * j + 1] = row[width - 1 - 2 * j];
    }
}

HRESULT InfoDataBufferPath1::FillBoardBufferForSvertka(bool singleSamples)
{
    try {
        const int32_t width = Width();
        const int32_t height = Height();
        // Only a working plane with its borders and at least 8 samples a row can be mirrored.
        if (width < 8 || height < 1 || m_stride < PlaneStride(static_cast<unsigned>(width)) ||
            m_offset_data != m_stride + 16 ||
            !HoldsRange(0, (static_cast<int64_t>(height) + 2) * m_stride + 16))
            return E_UNEXPECTED;
        for (int32_t r = 0; r < height; ++r)
            MirrorRowBorders(reinterpret_cast<int16_t*>(m_data + m_offset_data + static_cast<int64_t>(r) * m_stride),
                             width, singleSamples);
        BYTE* firstRow = m_data + m_offset_data - 16;
        BYTE* lastRow = firstRow + static_cast<int64_t>(height - 1) * m_stride;
        MemCopy(firstRow - m_stride, firstRow, static_cast<size_t>(m_stride), "InfoDataBufferPath1::FillBoardBufferForSvertka");
        MemCopy(lastRow + m_stride, lastRow, static_cast<size_t>(m_stride), "InfoDataBufferPath1::FillBoardBufferForSvertka");
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
