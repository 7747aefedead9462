// The user record that a controller keeps and hands to its video output filters, which read it
// as it is: one declaration for the host and the plug-ins.
#pragma once

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <cstdint>

class InfoUserKestrelUserServer
{
public:
    static constexpr int32_t kNumberRights = 64;
    static constexpr int32_t kSizeBlock = 512;
    static constexpr int32_t kLevelAfterReset = 5;
    static constexpr int32_t kHighestLevel = 4;
    static constexpr int32_t kHighestValue = 128;

    InfoUserKestrelUserServer() { GetLocalTime(&m_local_time); }

    void Reset()
    {
        m_level = kLevelAfterReset;
        m_first_text = "";
        m_second_text = "";
        GetLocalTime(&m_local_time);
        m_mode = 1;
        m_value = 0;
        for (int32_t& right : m_rights)
            right = 0;
    }

    // Brings a record from a caller into the ranges the video outputs rely on.
    void Validate()
    {
        m_first_text.ValidateString();
        m_second_text.ValidateString();
        for (int32_t& right : m_rights)
            if (right >= 2)
                right = 0;
        m_level = Clamp(m_level, 0, kHighestLevel);
        if (m_level == 1) {
            for (int32_t& right : m_rights)
                right = 1;
            m_mode = 2;
        }
        else {
            if (m_level == 4) {
                ClearGrantedRights();
                m_mode = 1;
            }
            if (m_rights[4] == 1)
                m_rights[4] = 0;
            if (m_level == 3)
                ClearGrantedRights();
        }
        if (m_mode >= 5)
            m_mode = 1;
        m_value = Clamp(m_value, 0, kHighestValue);
    }

    SYSTEMTIME m_local_time{};
    int32_t m_level = 0;
    StaticString<32> m_first_text;
    StaticString<32> m_second_text;
    int32_t m_rights[kNumberRights]{};
    int32_t m_mode = 0;
    uint8_t m_block[kSizeBlock]{};
    int32_t m_value = 0;

private:
    static int32_t Clamp(int32_t value, int32_t lowest, int32_t highest)
    {
        return value < lowest ? lowest : (value > highest ? highest : value);
    }
    void ClearGrantedRights()
    {
        for (int32_t& right : m_rights)
            if (right == 1)
                right = 0;
    }
};

#if !defined(_WIN64)
static_assert(sizeof(InfoUserKestrelUserServer) == 16 + 4 + 32 + 32 + 256 + 4 + 512 + 4,
              "InfoUserKestrelUserServer is 860 bytes");
#endif
