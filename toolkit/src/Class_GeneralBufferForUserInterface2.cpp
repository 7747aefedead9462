#include "InfoGeneralBufferForUserInterface2.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <atomic>
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
