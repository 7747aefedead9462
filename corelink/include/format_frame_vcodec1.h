// The codec frame-format record that the application hands to the camera filter's rate
// interface and that the path record holds.
#pragma once

#include "CatchAllLog.h"

#include <cstdint>

class InfoFormatFrameVCodec
{
public:
    uint32_t m_size;
    int32_t m_count;
    int32_t m_flag;
    float m_factor1;
    int32_t m_limit;
    float m_factor2;

    InfoFormatFrameVCodec()
    {
        try {
            ResetStruct();
        }
        CATCH_ALL_RETHROW()
    }

    HRESULT ResetStruct()
    {
        m_size = sizeof(InfoFormatFrameVCodec);
        m_count = 5;
        m_flag = 1;
        m_factor1 = 8.0f;
        m_limit = 1500;
        m_factor2 = 8.0f;
        return CheckStruct();
    }

    // Brings every field into its range, so a record read from a file or a caller is usable.
    HRESULT CheckStruct()
    {
        m_size = sizeof(InfoFormatFrameVCodec);
        CheckFloatValue(&m_factor1, 0.0f);
        CheckFloatValue(&m_factor2, 0.0f);
        m_count = Clamp(m_count, 1, 10);
        m_factor1 = Clamp(m_factor1, 1.0f, 10.0f);
        m_limit = Clamp(m_limit, 1, 2500);
        m_factor2 = Clamp(m_factor2, 1.0f, 10.0f);
        return S_OK;
    }

private:
    template <class T>
    static T Clamp(T value, T low, T high)
    {
        return value < low ? low : (value > high ? high : value);
    }
};

#if !defined(_WIN64)
static_assert(sizeof(InfoFormatFrameVCodec) == 24, "the codec frame format is 24 bytes");
#endif
