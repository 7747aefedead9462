// The records that the capture, local-camera and archive recipes read besides the source
// settings: the codec list, the network clients of a capture path and the archive list. Kept as
// small as the recipes need.
#pragma once

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <cstdint>

// The codecs a codec filter may choose from: an entry of 16 bytes and a name for each.
struct InfoCodecListDataPath1
{
    static constexpr uint32_t kMaxCodecs = 32;
    static constexpr uint32_t kEntryBytes = 16;

    uint8_t m_entries[kMaxCodecs][kEntryBytes];
    StaticString<128> m_names[kMaxCodecs];
    int32_t m_count;
};

// One computer that gets the streams of the cameras it lists.
struct InfoNetworkClientListDataPath1
{
    static constexpr uint32_t kMaxCameras = 32;

    int32_t m_cameras[kMaxCameras];
    int32_t m_count_cameras;
    // In host order: 127.0.0.1 is 0x7F000001.
    uint32_t m_address;
};

struct InfoNetworkClientsDataPath1
{
    static constexpr uint32_t kMaxLists = 32;

    InfoNetworkClientListDataPath1 m_lists[kMaxLists];
    int32_t m_count_lists;
    // Items 3 and 4 of the video output's method 27.
    uint8_t m_output_values[2];
};

// The archive streams that reader-to-network paths are kept for, and the settings the readers get.
struct InfoArchiveListDataPath1
{
    static constexpr uint32_t kMaxStreams = 512;
    static constexpr uint32_t kRebuildPaths = 0x1;
    static constexpr uint32_t kSendTime = 0x2;
    static constexpr uint32_t kSendByteSetting = 0x4;
    static constexpr uint32_t kSendFloatSetting = 0x8;

    uint32_t m_unused;
    uint32_t m_flags;
    SYSTEMTIME m_time;
    uint8_t m_byte_setting;
    float m_float_setting;
    // Stream i is the pair (first id i, second id i).
    int32_t m_count;
    int32_t m_first_ids[kMaxStreams];
    int32_t m_second_ids[kMaxStreams];
};
