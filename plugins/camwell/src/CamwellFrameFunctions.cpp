#include "CamwellFrameFunctions.h"

#include <array>

namespace {

constexpr int32_t kKeyLength = 50;

int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

// The key is computed once from a fixed seed, so the program holds no table of it.
std::array<uint8_t, kKeyLength> MakeKey()
{
    std::array<uint8_t, kKeyLength> key{};
    uint32_t state = 0x4B6F7276u;
    for (uint8_t& byte : key) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return key;
}

} // namespace

int32_t GetScheduleHourIndex(const SYSTEMTIME& time)
{
    // Monday = 1 ... Sunday = 7, where SYSTEMTIME counts Sunday = 0.
    const int32_t day = time.wDayOfWeek == 0 ? 7 : time.wDayOfWeek;
    return Clamp(day * 24 + time.wHour - 24, 0, kCountScheduleHours - 1);
}

InfoScheduleHourCamwell1 DecodeScheduleByte(uint8_t value)
{
    return {Clamp((value >> 4) - 1, 0, 2), static_cast<uint8_t>(value & 0x0F)};
}

HRESULT ScrambleDataCamwell1(uint8_t keyFlag, BYTE* data, int64_t length)
{
    if (keyFlag == 0)
        return E_INVALIDARG;
    if (data == nullptr)
        return S_OK;
    static const std::array<uint8_t, kKeyLength> key = MakeKey();
    for (int64_t start = 0; start < length; start += kKeyLength) {
        const int64_t count = length - start < kKeyLength ? length - start : kKeyLength;
        for (int64_t i = 0; i < count; ++i)
            data[start + i] ^= key[i];
    }
    return S_OK;
}
