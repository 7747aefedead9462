#include "InfoGeneralBufferForUserInterface2.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HRESULT LibraryPlaneAllocation(int16_t** plane, uint64_t size)
{
    return SAFE_TASK_ALLOC(plane, size);
}

std::atomic<PlaneAllocationUserInterface2> g_planeAllocation{&LibraryPlaneAllocation};

int32_t StrideForWidth(int32_t width)
{
    return (width * 2 + 15) / 16 * 16;
}

} // namespace

void SetPlaneAllocationForTest(PlaneAllocationUserInterface2 allocation)
{
    g_planeAllocation = allocation != nullptr ? allocation : &LibraryPlaneAllocation;
}

InfoGeneralBufferForUserInterface2::~InfoGeneralBufferForUserInterface2()
{
    try {
        FreeBuffers();
    }
    CATCH_ALL_LOG()
}

InfoGeneralBufferForUserInterface2&
InfoGeneralBufferForUserInterface2::operator=(const InfoGeneralBufferForUserInterface2& source)
{
    if (&source == this)
        return *this;
    if (FAILED(ResizeBuffer(source.m_width_element, source.m_height_element)))
        throw 241;
    m_status_buffer = source.m_status_buffer;
    const int64_t bytes = static_cast<int64_t>(m_height_element) * m_byte_stride;
    if (bytes > 0) {
        if (m_byte_stride != source.m_byte_stride)
            throw 241;
        for (uint32_t plane = 0; plane < 3; ++plane)
            std::memcpy(m_rgb_buffers.GetElement(plane), source.m_rgb_buffers.GetElement(plane),
                        static_cast<size_t>(bytes));
    }
    SetChanged();
    return *this;
}

HRESULT InfoGeneralBufferForUserInterface2::FreeBuffers()
{
    try {
        m_height_element = 0;
        m_width_element = 0;
        m_byte_stride = 0;
        m_max_size_byte_buffer = 0;
        for (uint32_t plane = 0; plane < 3; ++plane)
            SAFE_TASK_FREE(&m_rgb_buffers.GetElement(plane));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::ResizeBuffer(int32_t width, int32_t height)
{
    try {
        width = std::clamp(width, 0, MaxSide);
        height = std::clamp(height, 0, MaxSide);
        SetChanged();
        const int32_t stride = StrideForWidth(width);
        const int64_t size = static_cast<int64_t>(stride) * height + SpareBytes;
        if (size >= SizeLimit)
            return E_FAIL;
        m_height_element = height;
        m_width_element = width;
        m_byte_stride = stride;
        if (size == m_max_size_byte_buffer && HasAllPlanes())
            return S_OK;
        return AllocatePlanes(static_cast<int32_t>(size));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::SetChanged()
{
    m_status_buffer |= StatusChanged;
    return S_OK;
}

HRESULT InfoGeneralBufferForUserInterface2::ClearChanged()
{
    m_status_buffer &= ~StatusChanged;
    return S_OK;
}

bool InfoGeneralBufferForUserInterface2::HasAllPlanes() const
{
    for (uint32_t plane = 0; plane < 3; ++plane)
        if (m_rgb_buffers.GetElement(plane) == nullptr)
            return false;
    return true;
}

// A plane that cannot be had leaves an empty buffer, never sizes over missing planes.
HRESULT InfoGeneralBufferForUserInterface2::AllocatePlanes(int32_t size)
{
    m_max_size_byte_buffer = size;
    for (uint32_t plane = 0; plane < 3; ++plane) {
        int16_t*& block = m_rgb_buffers.GetElement(plane);
        SAFE_TASK_FREE(&block);
        if (FAILED(g_planeAllocation.load()(&block, static_cast<uint64_t>(size))) || block == nullptr) {
            LOG_TEXT("InfoGeneralBufferForUserInterface2::ResizeBuffer::no memory for a plane");
            FreeBuffers();
            return E_FAIL;
        }
        std::memset(block, 0, static_cast<size_t>(size));
    }
    return S_OK;
}

HRESULT InfoGeneralBufferForUserInterface2::CheckBuffer() const
{
    try {
        if (!HasAllPlanes())
            return E_FAIL;
        if (m_max_size_byte_buffer < 1 || m_height_element < 1 || m_width_element < 1)
            return S_FALSE;
        if (static_cast<int64_t>(m_height_element) * m_byte_stride > m_max_size_byte_buffer)
            return E_FAIL;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::CheckRegion(int32_t offset, int32_t stride, int32_t width,
                                                        int32_t height) const
{
    if (offset < 0 || stride < 1 || width < 1 || height < 1)
        return E_UNEXPECTED;
    const int64_t available = static_cast<int64_t>(m_max_size_byte_buffer) - offset;
    if (available < 1 || static_cast<int64_t>(width) * 2 > stride)
        return E_UNEXPECTED;
    const int64_t reach = std::abs(static_cast<int64_t>(height - 1) * stride + static_cast<int64_t>(width) * 2);
    return available - reach < 0 ? E_FAIL : S_OK;
}

HRESULT InfoGeneralBufferForUserInterface2::FillBuffers(uint8_t planeMask, uint8_t value)
{
    try {
        if (m_max_size_byte_buffer >= 1)
            for (uint32_t plane = 0; plane < 3; ++plane)
                if ((planeMask & (1u << plane)) != 0 && m_rgb_buffers.GetElement(plane) != nullptr)
                    std::memset(m_rgb_buffers.GetElement(plane), value, static_cast<size_t>(m_max_size_byte_buffer));
        return SetChanged();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::RandomFill(int32_t firstRow, int32_t lastRow, int32_t firstColumn,
                                                       int32_t endColumn)
{
    try {
        if (m_height_element < 1 || m_width_element < 1 || m_max_size_byte_buffer < 1)
            return S_FALSE;
        firstRow = firstRow == -1 ? 0 : std::clamp(firstRow, 0, m_height_element - 1);
        lastRow = lastRow == -1 ? m_height_element - 1 : std::clamp(lastRow, 0, m_height_element - 1);
        firstColumn = firstColumn == -1 ? 0 : std::clamp(firstColumn, 0, m_width_element - 1);
        endColumn = endColumn == -1 ? m_width_element : std::clamp(endColumn, 0, m_width_element);
        for (uint32_t plane = 0; plane < 3; ++plane) {
            if (m_rgb_buffers.GetElement(plane) == nullptr)
                continue;
            for (int32_t y = firstRow; y <= lastRow; ++y) {
                int16_t* row = Row(plane, y);
                for (int32_t x = firstColumn; x < endColumn; ++x)
                    row[x] = static_cast<int16_t>(std::rand() & 0xFF);
            }
        }
        return SetChanged();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::DrawVerticalLine(int32_t x, int32_t y1, int32_t y2, COLORREF colour,
                                                             bool add)
{
    try {
        if (x < 0 || x >= m_width_element || y1 < 0 || y1 >= m_height_element || y2 < 0 || y2 >= m_height_element)
            return E_UNEXPECTED;
        if (!HasAllPlanes())
            return S_FALSE;
        const uint8_t channels[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
        for (uint32_t plane = 0; plane < 3; ++plane) {
            for (int32_t y = std::min(y1, y2); y <= std::max(y1, y2); ++y) {
                int16_t& sample = Row(plane, y)[x];
                // The sum wraps around as 16-bit words do.
                sample = static_cast<int16_t>(add ? static_cast<uint16_t>(sample) + channels[plane] : channels[plane]);
            }
        }
        return SetChanged();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::ShiftHorizontal(int32_t shift)
{
    try {
        if (shift == 0)
            return E_UNEXPECTED;
        const int32_t distance = std::abs(shift);
        if (distance >= m_width_element)
            return E_FAIL;
        if (!HasAllPlanes())
            return S_FALSE;
        const int32_t kept = m_width_element - distance;
        for (uint32_t plane = 0; plane < 3; ++plane) {
            for (int32_t y = 0; y < m_height_element; ++y) {
                int16_t* row = Row(plane, y);
                if (shift > 0)
                    std::memmove(row + distance, row, static_cast<size_t>(kept) * sizeof(int16_t));
                else
                    std::memmove(row, row + distance, static_cast<size_t>(kept) * sizeof(int16_t));
            }
        }
        return SetChanged();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A block moved up is copied top row first, one moved down bottom row first, so that rows it
// overlaps are read before they are written.
HRESULT InfoGeneralBufferForUserInterface2::ShiftVertical(int32_t startRow, int32_t rowCount, int32_t shift,
                                                          int32_t startColumn, int32_t columnCount)
{
    try {
        if (!HasAllPlanes() || m_height_element < 1 || m_width_element < 1)
            return S_FALSE;
        startRow = std::clamp(startRow, 0, m_height_element - 1);
        startColumn = std::max(startColumn, 0);
        rowCount = std::max(rowCount, 0);
        if (columnCount == -1 || startColumn + static_cast<int64_t>(columnCount) > m_width_element) {
            startColumn = 0;
            columnCount = m_width_element;
        }
        columnCount = std::max(columnCount, 0);
        if (rowCount >= m_height_element || std::abs(shift) >= m_height_element)
            return E_FAIL;
        const int32_t step = shift >= 0 ? 1 : -1;
        const int32_t destinationRow = std::clamp(startRow - shift, 0, m_height_element - 1);
        for (uint32_t plane = 0; plane < 3; ++plane) {
            for (int32_t k = 0; k < rowCount; ++k) {
                const int16_t* source = Row(plane, startRow + step * k) + startColumn;
                int16_t* destination = Row(plane, destinationRow + step * k) + startColumn;
                std::memmove(destination, source, static_cast<size_t>(columnCount) * sizeof(int16_t));
            }
        }
        return SetChanged();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::CopyPlaneToOthers(uint32_t sourcePlane)
{
    try {
        if (sourcePlane > 2)
            return E_UNEXPECTED;
        const int16_t* source = m_rgb_buffers.GetElement(sourcePlane);
        if (source == nullptr)
            return S_FALSE;
        const size_t bytes = static_cast<size_t>(m_height_element) * static_cast<size_t>(m_byte_stride);
        for (uint32_t plane = 0; plane < 3; ++plane)
            if (plane != sourcePlane && m_rgb_buffers.GetElement(plane) != nullptr)
                std::memcpy(m_rgb_buffers.GetElement(plane), source, bytes);
        return SetChanged();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::CheckBufferForNegativeValue() const
{
    try {
        LOG_TEXT("CheckBufferForNegativeValue::CheckBufferForNegativeValue::begin");
        return AnySample([](int16_t sample) { return sample < 0; }) ? S_FALSE : S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::CheckBufferForLargeRelativeValue(int16_t limit) const
{
    try {
        LOG_TEXT("CheckBufferForNegativeValue::CheckBufferForLargeRelativeValue::begin");
        return AnySample([limit](int16_t sample) { return sample > limit; }) ? S_FALSE : S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool InfoGeneralBufferForUserInterface2::AnySample(const std::function<bool(int16_t)>& test) const
{
    for (uint32_t plane = 0; plane < 3; ++plane) {
        if (m_rgb_buffers.GetElement(plane) == nullptr)
            continue;
        for (int32_t y = 0; y < m_height_element; ++y) {
            const int16_t* row = Row(plane, y);
            if (std::any_of(row, row + m_width_element, test))
                return true;
        }
    }
    return false;
}

HRESULT InfoGeneralBufferForUserInterface2::CheckMemoryBuffers() const
{
    try {
        HRESULT result = S_OK;
        for (uint32_t plane = 0; plane < 3; ++plane)
            if (m_rgb_buffers.GetElement(plane) != nullptr && m_max_size_byte_buffer >= 1)
                result = CheckRWBufferMemory(m_rgb_buffers.GetElement(plane), static_cast<size_t>(m_max_size_byte_buffer));
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoGeneralBufferForUserInterface2::DumpInfo(uint8_t detail) const
{
    try {
        DynamicString sizes("InfoGeneralBufferForUserInterface2::DumpInfo::m_max_size_byte_buffer=");
        sizes += m_max_size_byte_buffer;
        sizes += " m_height_element=";
        sizes += m_height_element;
        sizes += " m_width_element=";
        sizes += m_width_element;
        sizes += " m_byte_stride=";
        sizes += m_byte_stride;
        sizes += " m_last_time_update_buffer=";
        sizes += static_cast<unsigned long long>(m_last_time_update_buffer);
        sizes.DumpString();
        if (detail == 0)
            return S_OK;
        DynamicString status("m_status_buffer=");
        status += m_status_buffer;
        status.DumpString();
        char planes[160];
        std::snprintf(planes, sizeof(planes), "m_rgb_buffers[ 0 ]=%p m_rgb_buffers[ 1 ]=%p m_rgb_buffers[ 2 ]=%p",
                      static_cast<const void*>(m_rgb_buffers.GetElement(0)),
                      static_cast<const void*>(m_rgb_buffers.GetElement(1)),
                      static_cast<const void*>(m_rgb_buffers.GetElement(2)));
        LOG_TEXT(planes);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Row y of a plane; a row outside the plane is an error of the caller (3).
int16_t* InfoGeneralBufferForUserInterface2::Row(uint32_t plane, int32_t y) const
{
    if (y < 0 || y >= m_height_element)
        throw 3;
    return reinterpret_cast<int16_t*>(reinterpret_cast<uint8_t*>(m_rgb_buffers.GetElement(plane)) +
                                      static_cast<size_t>(y) * static_cast<size_t>(m_byte_stride));
}
