// Frame-rate gate: answers on each call whether a frame is due at the set rate. It neither
// sleeps nor counts frames; elapsed time not used by a taken frame carries over, so the average
// rate holds when the caller polls at an uneven pace. Safe to share between threads.
#pragma once

#include "CTimeServer.h"

#include <windows.h>

#include <cstdint>

class ObjectControlFrameRate
{
public:
    ObjectControlFrameRate();
    virtual ~ObjectControlFrameRate();
    ObjectControlFrameRate(const ObjectControlFrameRate&) = delete;
    ObjectControlFrameRate& operator=(const ObjectControlFrameRate&) = delete;

    // Frames per second; 0 or below keeps the previous interval and lets no frame through.
    HRESULT SetFrameRate(float rate);
    // 0 when a frame is due now (the caller takes it), 1 when not.
    HRESULT CheckTimeForNextFrame();
    // Milliseconds since the last frame was let through (or since construction or reset).
    int64_t GetTimeFromLastFrame();
    // Forgets the carried time and starts counting from now.
    HRESULT ResetFrameTime();
    // The rate last set (frames per second).
    float GetFrameRate();

private:
    CRITICAL_SECTION m_lock;
    float m_carry = 0.0f;     // seconds not yet used by taken frames
    int64_t m_lastTime = 0;   // milliseconds of the time source
    float m_rate = 0.0f;      // frames per second
    float m_interval = 0.0f;  // seconds per frame
    CTimeServer m_timeSource;
};
