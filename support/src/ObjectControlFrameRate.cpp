#include "ObjectControlFrameRate.h"

#include "CatchAllLog.h"

ObjectControlFrameRate::ObjectControlFrameRate()
{
    InitializeCriticalSection(&m_lock);
    m_lastTime = static_cast<int64_t>(m_timeSource.GetTime());
}

ObjectControlFrameRate::~ObjectControlFrameRate()
{
    DeleteCriticalSection(&m_lock);
}

HRESULT ObjectControlFrameRate::SetFrameRate(float rate)
{
    try {
        CriticalSectionLock lock(m_lock);
        m_rate = rate;
        if (rate > 0.0f)
            m_interval = 1.0f / rate;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

float ObjectControlFrameRate::GetFrameRate()
{
    CriticalSectionLock lock(m_lock);
    return m_rate;
}

HRESULT ObjectControlFrameRate::CheckTimeForNextFrame()
{
    try {
        CriticalSectionLock lock(m_lock);
        if (!(m_rate > 0.0f))
            return S_FALSE;
        const int64_t now = static_cast<int64_t>(m_timeSource.GetTime());
        const float elapsed = static_cast<float>((now - m_lastTime) / 1000.0) + m_carry;
        if (m_interval > elapsed)
            return S_FALSE;
        // The backlog is bounded, so a long pause does not release a burst of frames.
        float carry = elapsed - m_interval;
        if (carry < 0.0f)
            carry = 0.0f;
        if (carry > m_interval + 1.0f)
            carry = m_interval + 1.0f;
        m_carry = carry;
        m_lastTime = now;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int64_t ObjectControlFrameRate::GetTimeFromLastFrame()
{
    CriticalSectionLock lock(m_lock);
    return static_cast<int64_t>(m_timeSource.GetTime()) - m_lastTime;
}

HRESULT ObjectControlFrameRate::ResetFrameTime()
{
    CriticalSectionLock lock(m_lock);
    m_carry = 0.0f;
    m_lastTime = static_cast<int64_t>(m_timeSource.GetTime());
    return S_OK;
}
