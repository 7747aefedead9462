#include "ScrollBufferEffectsUserInterface2.h"

#include "CatchAllLog.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

HRESULT LibraryRowBufferReallocation(int16_t** rowBuffer, uint64_t size)
{
    return SAFE_TASK_REALLOC(rowBuffer, size);
}

std::atomic<RowBufferReallocationUserInterface2> g_rowBufferReallocation{&LibraryRowBufferReallocation};

constexpr int64_t MaxCountedMilliseconds = 5000;
constexpr float TrailShareOfWidth = 0.9f;

bool HasPlanes(const InfoGeneralBufferForUserInterface2& buffer)
{
    for (uint32_t plane = 0; plane < 3; ++plane)
        if (buffer.m_rgb_buffers.GetElement(plane) == nullptr)
            return false;
    return true;
}

HRESULT CheckScrollArguments(const InfoGeneralBufferForUserInterface2* buffer, const int64_t* lastTime)
{
    if (buffer == nullptr || lastTime == nullptr)
        return E_INVALIDARG;
    if (!HasPlanes(*buffer))
        return E_UNEXPECTED;
    return S_OK;
}

// Whole rows due since the last step; 0 when nothing is to move.
int32_t RowsDue(const InfoGeneralBufferForUserInterface2& buffer, uint8_t apply, int64_t now, int64_t lastTime,
                float speed)
{
    const int64_t elapsed = std::min(now - lastTime, MaxCountedMilliseconds);
    int32_t rows = static_cast<int32_t>(static_cast<double>(elapsed) / 1000.0 * speed);
    if (rows >= buffer.m_height_element)
        rows = buffer.m_height_element - 1;
    return apply != 0 && rows >= 1 ? rows : 0;
}

int16_t* Row(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t y)
{
    return reinterpret_cast<int16_t*>(reinterpret_cast<BYTE*>(buffer.m_rgb_buffers.GetElement(plane)) +
                                      static_cast<ptrdiff_t>(y) * buffer.m_byte_stride);
}

HRESULT MoveRowsDown(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t rows)
{
    return ShiftPlaneRows(buffer.m_rgb_buffers.GetElement(plane), buffer.m_height_element, buffer.m_byte_stride,
                          -rows);
}

// Grows the three row buffers to width entries; the new ones are 0.
HRESULT GrowRowBuffers(int16_t** rowBuffers, int32_t* rowWidth, int32_t width)
{
    if (*rowWidth >= width)
        return S_OK;
    const int32_t kept = std::max(*rowWidth, 0);
    for (uint32_t channel = 0; channel < 3; ++channel) {
        if (FAILED(g_rowBufferReallocation.load()(&rowBuffers[channel], static_cast<uint64_t>(width) * 2)) ||
            rowBuffers[channel] == nullptr)
            return E_FAIL;
        std::fill(rowBuffers[channel] + kept, rowBuffers[channel] + width, int16_t{0});
    }
    *rowWidth = width;
    return S_OK;
}

// One new row of a channel: the trail points fade by decay and are relit up to target points.
void NextTrailRow(int16_t* row, int32_t width, int32_t target, int32_t decay)
{
    int32_t lit = 0;
    for (int32_t x = 0; x < width; ++x) {
        row[x] = static_cast<int16_t>(std::clamp(row[x] - decay, 0, 255));
        lit += row[x] != 0;
    }
    while (lit < target) {
        int32_t x = std::rand() % width;
        while (row[x] != 0)
            x = std::rand() % width;
        row[x] = static_cast<int16_t>(std::clamp((std::rand() & 255) + target, 0, 255));
        ++lit;
    }
}

} // namespace

void SetRowBufferReallocationForTest(RowBufferReallocationUserInterface2 reallocation)
{
    g_rowBufferReallocation = reallocation != nullptr ? reallocation : &LibraryRowBufferReallocation;
}

HRESULT FunctScrollBufferByTime(InfoGeneralBufferForUserInterface2* buffer, uint8_t apply, int64_t now,
                                int64_t* lastTime, float speed)
{
    try {
        const HRESULT checked = CheckScrollArguments(buffer, lastTime);
        if (checked != S_OK)
            return checked;
        const int32_t rows = RowsDue(*buffer, apply, now, *lastTime, speed);
        if (rows == 0)
            return S_FALSE;
        buffer->SetChanged();
        *lastTime = now;
        HRESULT result = S_OK;
        for (uint32_t plane = 0; plane < 3; ++plane) {
            result = MoveRowsDown(*buffer, plane, rows);
            for (int32_t y = 0; y < rows; ++y) {
                int16_t* row = Row(*buffer, plane, y);
                for (int32_t x = 0; x < buffer->m_width_element; ++x)
                    row[x] = static_cast<int16_t>(std::rand() & 63);
            }
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT FunctScrollBufferWithTrailsByTime(InfoGeneralBufferForUserInterface2* buffer, int16_t** rowBuffers,
                                          int32_t* rowWidth, const uint8_t* channelMask, uint8_t apply, int64_t now,
                                          int64_t* lastTime, float speed, int32_t trailCount, int32_t decay)
{
    try {
        if (rowBuffers == nullptr || rowWidth == nullptr || channelMask == nullptr)
            return E_INVALIDARG;
        const HRESULT checked = CheckScrollArguments(buffer, lastTime);
        if (checked != S_OK)
            return checked;
        const int32_t rows = RowsDue(*buffer, apply, now, *lastTime, speed);
        if (rows == 0)
            return S_FALSE;
        const int32_t width = buffer->m_width_element;
        if (FAILED(GrowRowBuffers(rowBuffers, rowWidth, width)))
            return E_FAIL;
        buffer->SetChanged();
        *lastTime = now;
        const int32_t target =
            trailCount < 0 ? 0 : static_cast<int32_t>(std::min(static_cast<float>(trailCount), TrailShareOfWidth * width));
        HRESULT result = S_OK;
        for (uint32_t plane = 0; plane < 3; ++plane) {
            if (channelMask[plane] == 0)
                continue;
            result = MoveRowsDown(*buffer, plane, rows);
            for (int32_t y = rows - 1; y >= 0; --y) {
                NextTrailRow(rowBuffers[plane], width, target, decay);
                std::memcpy(Row(*buffer, plane, y), rowBuffers[plane], static_cast<size_t>(width) * 2);
            }
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
