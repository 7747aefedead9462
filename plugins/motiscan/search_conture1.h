// The contour search of the motion detector: the 8-connected regions of a binary plane, each
// measured (area, centre, outline) and checked against a zone plane.
#pragma once

#include "Class_InfoCountore.h"

#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// A plane of 16-bit samples; the stride in bytes.
struct ContourPlane
{
    int16_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Memory the search keeps between calls, so a frame allocates nothing once the sizes are stable.
struct ContourSearchWork
{
    std::vector<int32_t> left;
    std::vector<int32_t> right;
    std::vector<int32_t> pending;
    std::vector<InfoCountorePoint> outline;
    std::vector<InfoCountorePoint> kept;
};

// Finds the regions of non-zero samples of the plane, which it clears on the way. The border rows
// and columns must be zero: a region that reaches them is refused with E_UNEXPECTED, as is a zone
// plane smaller than the plane. Fills the first *count records of the list (which grows by 32 when
// full; records are reused); *count keeps the regions found before a failure.
HRESULT SearchConture(const ContourPlane& plane, const ContourPlane& zone, DynamicBoundsObject<Class_InfoCountore>& contours,
                      int32_t* count, ContourSearchWork& work);

