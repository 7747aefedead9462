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
