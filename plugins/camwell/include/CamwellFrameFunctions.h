// Small per-frame helpers of the camera filter: the position in the weekly schedule and the
// byte scrambling of frame data.
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr int32_t kCountScheduleHours = 168;

// Hour of the week, Monday 00-01 = 0 ... Sunday 23-24 = 167; out-of-range fields are clamped.
int32_t GetScheduleHourIndex(const SYSTEMTIME& time);

// One byte of the weekly schedule: the high nibble is the rate row + 1, the low nibble the mode.
struct InfoScheduleHourCamwell1
{
    static constexpr uint8_t kModeNone = 1;
    static constexpr uint8_t kModeWhileMotion = 3;
    static constexpr uint8_t kModeMotionTriggered = 4;

    int32_t m_row; // 0..2
    uint8_t m_mode;
};
InfoScheduleHourCamwell1 DecodeScheduleByte(uint8_t value);

// XORs every byte with the fixed key; a second call restores the data. A key flag of 0 gives
// 0x80070057, a null buffer 0 (nothing to do).
HRESULT ScrambleDataCamwell1(uint8_t keyFlag, BYTE* data, int64_t length);
