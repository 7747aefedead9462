#include "Class_InfoCountore.h"

Class_InfoCountore::Class_InfoCountore()
{
    try {
        ResetStruct();
    }
    CATCH_ALL_RETHROW()
}

Class_InfoCountore::Class_InfoCountore(const Class_InfoCountore& other) : Class_InfoCountore()
{
    *this = other;
}

Class_InfoCountore::~Class_InfoCountore()
{
    try {
        ResetStruct();
    }
    CATCH_ALL_LOG()
}

HRESULT Class_InfoCountore::ResetStruct()
{
    m_area = 0.0f;
    m_center_x = 0.0f;
    m_center_y = 0.0f;
    m_flags[0] = m_flags[1] = m_flags[2] = 0;
    return m_points.FreeAll();
}

Class_InfoCountore& Class_InfoCountore::operator=(const Class_InfoCountore& other)
{
    if (&other == this)
        return *this;
    m_area = other.m_area;
    m_center_x = other.m_center_x;
    m_center_y = other.m_center_y;
    m_flags[0] = other.m_flags[0];
    m_flags[1] = other.m_flags[1];
    m_flags[2] = other.m_flags[2];
    m_points = other.m_points;
    return *this;
}
