#include "FunctConvertToText.h"

#include "CatchAllLog.h"

namespace {

// The time as a FILETIME count of 100-ns units; false for a null record or a time the platform refuses.
bool ToFileTimeUnits(const SYSTEMTIME* time, int64_t& units)
{
    FILETIME fileTime;
    if (time == nullptr || !SystemTimeToFileTime(time, &fileTime))
        return false;
    units = static_cast<int64_t>((static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime);
    return true;
}

} // namespace

int64_t GetSystemTimeDifference(const SYSTEMTIME* a, const SYSTEMTIME* b)
{
    try {
        int64_t unitsA = 0;
        int64_t unitsB = 0;
        if (!ToFileTimeUnits(a, unitsA) || !ToFileTimeUnits(b, unitsB))
            return 0;
        return unitsA - unitsB;
    }
    CATCH_ALL_RETURN(0)
}

uint32_t ConvertSystemTimeToMinutes(const SYSTEMTIME* time)
{
    try {
        int64_t units = 0;
        if (!ToFileTimeUnits(time, units))
            return 0;
        return static_cast<uint32_t>(units / 600000000);
    }
    CATCH_ALL_RETURN(0)
}

uint32_t GetSystemTimeDistanceIn10ms(const SYSTEMTIME* a, const SYSTEMTIME* b)
{
    try {
        int64_t distance = GetSystemTimeDifference(a, b) / 100000;
        if (distance < 0)
            distance = -distance;
        return distance > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(distance);
    }
    CATCH_ALL_RETURN(0)
}

int CompareSystemTime(const SYSTEMTIME* a, const SYSTEMTIME* b)
{
    try {
        int64_t unitsA = 0;
        int64_t unitsB = 0;
        if (!ToFileTimeUnits(a, unitsA) || !ToFileTimeUnits(b, unitsB))
            return 0;
        return unitsA > unitsB ? 1 : unitsA < unitsB ? -1 : 0;
    }
    CATCH_ALL_RETURN(0)
}

int64_t GetTimeIntervalsOverlap(const SYSTEMTIME* start1, const SYSTEMTIME* end1, const SYSTEMTIME* start2,
                                const SYSTEMTIME* end2)
{
    try {
        if (CompareSystemTime(start1, end1) == 1 || CompareSystemTime(start2, end2) == 1)
            return static_cast<int64_t>(static_cast<int32_t>(E_UNEXPECTED));
        const int64_t startShift = GetSystemTimeDifference(start2, start1);
        const int64_t endShift = GetSystemTimeDifference(end2, end1);
        if (startShift >= 0 && endShift >= 0) {
            const int64_t overlap = GetSystemTimeDifference(end1, start2);
            return overlap > 0 ? overlap : 0;
        }
        if (startShift <= 0 && endShift <= 0) {
            const int64_t overlap = GetSystemTimeDifference(end2, start1);
            return overlap > 0 ? overlap : 0;
        }
        if (startShift >= 0 && endShift <= 0)
            return GetSystemTimeDifference(end2, start2);
        return GetSystemTimeDifference(end1, start1);
    }
    CATCH_ALL_RETURN(0)
}

HRESULT AddTimeToSystemTime(SYSTEMTIME* time, int64_t span)
{
    try {
        if (time == nullptr)
            return E_INVALIDARG;
        int64_t units = 0;
        if (!ToFileTimeUnits(time, units))
            return E_FAIL;
        const uint64_t sum = static_cast<uint64_t>(units) + static_cast<uint64_t>(span);
        FILETIME fileTime;
        fileTime.dwLowDateTime = static_cast<DWORD>(sum);
        fileTime.dwHighDateTime = static_cast<DWORD>(sum >> 32);
        SYSTEMTIME result;
        if (!FileTimeToSystemTime(&fileTime, &result))
            return E_FAIL;
        *time = result;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
