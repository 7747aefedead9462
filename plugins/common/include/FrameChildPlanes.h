// The child-plane slots of a video frame. The correction filter splits each frame into signed
// 16-bit planes and leaves them on the frame as child buffers; the filters after it read them from
// these slots instead of converting the frame again. A slot of the frame's index table holds the
// 1-based number of its child buffer, or -1 when the frame has no such plane.
#pragma once

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <cstdint>

namespace FrameChildSlot {

// Levels 0 to 3 hold the picture at 1, 1/2, 1/4 and 1/8 of its width and height.
inline constexpr int kLevels = 4;
inline constexpr int kDivisors[kLevels] = {1, 2, 4, 8};

// Y16 of a level; slot 0 is the full-size luminance.
constexpr int Luma(int level) { return 2 * level; }
// Interleaved UV16 of a level; -1 in every frame without chroma ("Y8  ").
constexpr int Chroma(int level) { return 2 * level + 1; }
// The output plane of a level, sized with the reduced copies and filled by the correction filter.
constexpr int Output(int level) { return 8 + level; }

} // namespace FrameChildSlot

// The child buffer a slot names, or null when the slot is out of range or empty or names a child
// the frame does not carry.
inline InfoDataBufferPath1* GetFrameChildPlane(InfoDataBufferPath1& frame, int slot)
{
    if (slot < 0 || slot >= static_cast<int>(InfoDataBufferPath1::kNumberChildren))
        return nullptr;
    const int32_t number = frame.m_index_child.GetElement(static_cast<uint32_t>(slot));
    if (number < 1 || static_cast<uint32_t>(number) > frame.m_child_buffers.GetCount())
        return nullptr;
    return &frame.m_child_buffers.GetElement(static_cast<uint32_t>(number - 1));
}

// A plane whose every row of samples lies inside its block.
inline bool IsReadableFramePlane(const InfoDataBufferPath1& plane)
{
    const int64_t width = plane.m_info.m_bih.biWidth;
    const int64_t height = plane.m_info.m_bih.biHeight;
    const int64_t stride = plane.m_stride;
    return plane.m_data != nullptr && width > 0 && height > 0 && stride >= 2 * width && plane.m_offset_data >= 0 &&
           plane.m_offset_data + stride * (height - 1) + 2 * width <= plane.m_capacity;
}
