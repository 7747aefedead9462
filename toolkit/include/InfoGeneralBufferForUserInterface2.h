// One off-screen image of a widget: three planes (red, green, blue) of signed 16-bit samples that
// share width, height and stride, with a changed mark for the picture cycle. Touched only on the
// widget's window thread.
#pragma once

#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

class InfoGeneralBufferForUserInterface2
{
public:
    static constexpr int32_t MaxSide = 8192;
    // Bytes behind the last row, so that block-wise operations may read past it.
    static constexpr int32_t SpareBytes = 16;
    static constexpr int64_t SizeLimit = 0x4000010;

    InfoGeneralBufferForUserInterface2() = default;
    ~InfoGeneralBufferForUserInterface2();
    InfoGeneralBufferForUserInterface2(const InfoGeneralBufferForUserInterface2&) = delete;
    // Takes the source's size, status and samples; nothing for self-assignment.
    InfoGeneralBufferForUserInterface2& operator=(const InfoGeneralBufferForUserInterface2& source);

    HRESULT FreeBuffers();
    // Sizes the planes for width x height (each clamped to 0..8192); new planes are zero. Keeps the
    // planes and their samples when the byte size stays. E_FAIL beyond the size limit (nothing
    // changes but the mark) or when a plane cannot be allocated (the buffer is then empty).
    HRESULT ResizeBuffer(int32_t width, int32_t height);

    HRESULT SetChanged();
    HRESULT ClearChanged();
    uint32_t IsChanged() const { return m_status_buffer & StatusChanged; }

    static constexpr uint32_t StatusChanged = 0x1;

    uint32_t m_status_buffer = 0;
    StaticBoundsObject<int16_t*, 3> m_rgb_buffers;
    int32_t m_height_element = 0;
    int32_t m_width_element = 0;
    int32_t m_byte_stride = 0;
    int32_t m_max_size_byte_buffer = 0;
    uint64_t m_last_time_update_buffer = 0;

private:
    bool HasAllPlanes() const;
    HRESULT AllocatePlanes(int32_t size);
};

#if !defined(_WIN64)
static_assert(sizeof(InfoGeneralBufferForUserInterface2) == 40, "the buffer record of the 32-bit build");
#endif

// Test seam: the allocation of one plane (size bytes into *plane); null restores the library's.
using PlaneAllocationUserInterface2 = HRESULT (*)(int16_t** plane, uint64_t size);
void SetPlaneAllocationForTest(PlaneAllocationUserInterface2 allocation);
