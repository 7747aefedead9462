// One off-screen image of a widget: three planes (red, green, blue) of signed 16-bit samples that
// share width, height and stride, with a changed mark for the picture cycle. Touched only on the
// widget's window thread.
#pragma once

#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>
#include <functional>

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

    // E_FAIL when a plane is missing; 1 for an empty size or picture; E_FAIL when the rows do not
    // fit the planes; else 0.
    HRESULT CheckBuffer() const;
    // Whether an operation may touch width x height samples from the byte offset on with the
    // stride: E_UNEXPECTED for an empty or negative region, one wider than its stride or starting
    // behind the planes; E_FAIL when it reaches past them; else 0.
    HRESULT CheckRegion(int32_t offset, int32_t stride, int32_t width, int32_t height) const;
    // Every byte of each present plane whose mask bit is set (1 red, 2 green, 4 blue).
    HRESULT FillBuffers(uint8_t planeMask, uint8_t value);
    // Samples 0..255 from rand() into rows first..last and columns first..end-1 (each -1 for its
    // end of the picture, clamped otherwise); 1 for an empty buffer.
    HRESULT RandomFill(int32_t firstRow, int32_t lastRow, int32_t firstColumn, int32_t endColumn);
    // Column x from row y1 to row y2 (either order) set to the colour's channels or, with add,
    // raised by them with 16-bit wrap-around. E_UNEXPECTED outside the picture; 1 without planes.
    HRESULT DrawVerticalLine(int32_t x, int32_t y1, int32_t y2, COLORREF colour, bool add);
    // Every row moved by shift samples (away from column 0 for a positive shift); the vacated
    // samples keep their values. E_UNEXPECTED for 0, E_FAIL for a shift of the width or more.
    HRESULT ShiftHorizontal(int32_t shift);
    // rowCount rows from startRow moved up by shift rows (down for a negative shift), in columns
    // startColumn.. (columnCount -1: the whole width). E_FAIL for a row count or shift of the
    // height or more, or when a row would leave the picture; 1 for an empty buffer.
    HRESULT ShiftVertical(int32_t startRow, int32_t rowCount, int32_t shift, int32_t startColumn,
                          int32_t columnCount);
    // E_UNEXPECTED for a plane above 2; 1 when that plane is missing.
    HRESULT CopyPlaneToOthers(uint32_t sourcePlane);
    // 1 when a sample of the picture is negative (above the limit), else 0.
    HRESULT CheckBufferForNegativeValue() const;
    HRESULT CheckBufferForLargeRelativeValue(int16_t limit) const;
    // Whether every present plane can be read and written whole: the last plane's answer.
    HRESULT CheckMemoryBuffers() const;
    HRESULT DumpInfo(uint8_t detail) const;

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
    // Row y of a plane; a row outside the picture throws 3.
    int16_t* Row(uint32_t plane, int32_t y) const;
    bool AnySample(const std::function<bool(int16_t)>& test) const;
    HRESULT AllocatePlanes(int32_t size);
};

#if !defined(_WIN64)
static_assert(sizeof(InfoGeneralBufferForUserInterface2) == 40, "the buffer record of the 32-bit build");
#endif

// Test seam: the allocation of one plane (size bytes into *plane); null restores the library's.
using PlaneAllocationUserInterface2 = HRESULT (*)(int16_t** plane, uint64_t size);
void SetPlaneAllocationForTest(PlaneAllocationUserInterface2 allocation);
