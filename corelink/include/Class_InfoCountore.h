// One contour found in a binary picture of a frame. Every value is a fraction of the frame, so
// a contour does not depend on the frame's size.
#pragma once

#include "CorelinkApi.h"

#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>

struct InfoCountorePoint
{
    float m_x = 0.0f;
    float m_y = 0.0f;
};

class CORELINK_API Class_InfoCountore
{
public:
    Class_InfoCountore();
    Class_InfoCountore(const Class_InfoCountore& other);
    ~Class_InfoCountore();
    Class_InfoCountore& operator=(const Class_InfoCountore& other);

    // Area, centre and flags 0; the outline freed.
    HRESULT ResetStruct();

    float m_area;
    float m_center_x;
    float m_center_y;
    uint8_t m_flags[3];
    DynamicBoundsObject<InfoCountorePoint> m_points;
};

#if !defined(_WIN64)
static_assert(sizeof(Class_InfoCountore) == 32, "Class_InfoCountore is 32 bytes");
#endif
