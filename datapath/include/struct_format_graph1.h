// The path record: the capture format and path description of one source. One fixed layout in
// every module (it is handed between modules by pointer, with its size beside it), so it holds
// only fixed-width fields and is padded explicitly to one size in both builds.
#pragma once

#include "format_frame_vcodec1.h"

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

using TextFormatGraph1 = StaticString<128, wchar_t>;

// Lower and upper bound pairs of the detector, in percent.
struct InfoVideoDetectBounds
{
    int32_t m_reserved = 0;
    float m_lower1 = 2.0f;
    float m_upper1 = 60.0f;
    float m_lower2 = 0.0f;
    float m_upper2 = 100.0f;
    float m_lower3 = 10.0f;
    float m_upper3 = 90.0f;

    HRESULT Validate();
};

struct InfoNameEntryFormatGraph1
{
    TextFormatGraph1 m_text;
    uint8_t m_reserved[310];
};

struct InfoCaptureFormatGraph1
{
    static constexpr uint32_t kRows = 3;
    static constexpr uint32_t kFormatsPerRow = 4;
    static constexpr uint32_t kRatesPerRow = 5;
    static constexpr uint32_t kZoneBytes = 2048;

    TextFormatGraph1 m_codec_name;
    TextFormatGraph1 m_detector_name;
    TextFormatGraph1 m_codec_name2;
    uint8_t m_flags1[kRows];
    float m_values1[kRows];
    float m_values2[kRows];
    InfoFormatFrameVCodec m_formats[kRows][kFormatsPerRow];
    float m_rates[kRows][kRatesPerRow];
    uint8_t m_flags2[kRows];
    InfoVideoDetectBounds m_bounds[kRows];
    uint8_t m_zones[kRows][kZoneBytes];
    float m_levels[6];

    void Reset();
    HRESULT Validate();
    // The parts the record's own check repeats for a capture path.
    void ValidateTexts();
    void ValidateRows();
};

struct InfoMixerFormatGraph1
{
    TextFormatGraph1 m_name1;
    TextFormatGraph1 m_name2;
    uint8_t m_flag1;
    uint8_t m_flag2;
    float m_value1;
    float m_value2;
    uint32_t m_word;
    float m_value3;

    void Reset();
    HRESULT Validate();
    void ValidateTexts();
};

class StructFormatGraph1
{
public:
    static constexpr int32_t kKindCapture = 1;
    static constexpr int32_t kKindMixer = 2;
    static constexpr uint32_t kNameEntries = 4;
    static constexpr uint32_t kScheduleHours = 168;
    static constexpr uint8_t kScheduleDefault = 0x10;

    explicit StructFormatGraph1(int32_t kind = kKindCapture) { Reset(kind); }

    // Every field to its default, the kind from the argument; ends with Validate.
    HRESULT Reset(int32_t kind);
    // Normalises in place: terminates the texts, brings numbers, schedule and kind into range.
    HRESULT Validate();

    TextFormatGraph1 objectName;
    InfoNameEntryFormatGraph1 m_names[kNameEntries];
    uint32_t m_word1;
    InfoCaptureFormatGraph1 m_capture;
    int32_t m_value1;
    int32_t m_value2;
    InfoMixerFormatGraph1 m_mixer;
    int32_t kind;
    int32_t cameraId;
    uint8_t m_flag1;
    uint8_t schedule[kScheduleHours];
    uint8_t m_flags2[3];
    int32_t m_value3;
    uint8_t m_reserved[4];

private:
    void ValidateSchedule();
};

static_assert(sizeof(StructFormatGraph1) == 10652, "the path record is 10652 bytes in every build");

// ---- Format graph: a flat byte buffer of whole node records, linked by node ids ----------------

// Kinds of node; 0 marks a free record.
enum TypeNodeFormatGraph1 : int32_t
{
    TypeNodeFree = 0,
    TypeNodeComputer = 3,
    TypeNodeFilter = 4,
    TypeNodeCaptureDevice = 5,
    TypeNodeCaptureFormat = 6,
};

// Kind 3: the computer the graph describes.
struct InfoComputerNodeFormatGraph1
{
    StaticString<292, wchar_t> m_name;
    // IPv4 addresses as the system keeps them: 127.0.0.1 is the bytes 1, 0, 0, 127 in memory order.
    uint32_t m_address1;
    uint32_t m_address2;
    int32_t m_value1;
    int32_t m_value2;

    void Reset();
};

// Kind 4: a plug-in filter of the path and the names of its outputs.
struct InfoFilterNodeFormatGraph1
{
    static constexpr uint32_t kMaxOutputs = 16;

    StaticString<256, wchar_t> m_file_name;
    StaticString<256, wchar_t> m_text;
    int32_t m_count_outputs;
    StaticString<40, wchar_t> m_output_names[kMaxOutputs];
    uint8_t m_reserved[16];
};

// Kind 5: a DirectShow capture device and the format asked of it.
struct InfoCaptureDeviceNodeFormatGraph1
{
    int32_t m_value_carried1;
    StaticString<292, wchar_t> m_friendly_name;
    // An AnalogVideoStandard value.
    int32_t m_analog_video_standard;
    BITMAPINFOHEADER m_bitmap_header;
    GUID m_subtype;
    // Its low byte is the sink filter's option 0.
    uint32_t m_option_sink;
    int32_t m_frame_rate;
    int32_t m_value1;
    int32_t m_value2;
    // The first 12 bytes of the audio subtype: the audio format follows at a fixed place.
    uint8_t m_audio_subtype[12];
    uint16_t m_audio_format_tag;
    uint16_t m_audio_channels;
    uint32_t m_audio_samples_per_second;
    uint32_t m_audio_bytes_per_second;
    uint16_t m_audio_block_align;
    uint16_t m_audio_bits_per_sample;
    uint16_t m_audio_extra_size;
    uint8_t m_reserved1[2];
    int32_t m_value3;
    int32_t m_value_carried2;
    // Tells apart devices that share one friendly name.
    int32_t m_index_device;
    uint8_t m_disabled;
    uint8_t m_reserved2[3];

    void Reset(int32_t valueCarried1);
};

#pragma pack(push, 1)
// One node of a format graph. Modules hand the buffer to each other, so the layout is fixed and
// byte-packed; the payload starts at an odd offset and is only ever read and written by copy.
struct InfoNodeFormatGraph1
{
    static constexpr uint32_t kMaxLinks = 64;
    static constexpr uint32_t kPayloadCapacity = 12291;

    // Clears the record, then kind and id, no links, enabled, the kind's payload at its defaults.
    HRESULT Reset(int32_t newKind, int32_t newId);
    // Link counts into 0..64 and the payload size from the kind; a record of an unknown kind is cleared.
    HRESULT Check();
    // The payload size of a kind, 0 for an unknown kind.
    static uint32_t PayloadSizeOfKind(int32_t kindOfNode);

    template <class Payload>
    void ReadPayload(Payload& payload) const
    {
        static_assert(sizeof(Payload) <= kPayloadCapacity);
        std::memcpy(static_cast<void*>(&payload), m_payload, sizeof(Payload));
    }
    template <class Payload>
    void WritePayload(const Payload& payload)
    {
        static_assert(sizeof(Payload) <= kPayloadCapacity);
        std::memcpy(m_payload, static_cast<const void*>(&payload), sizeof(Payload));
    }

    int32_t kind;
    int32_t id;
    int32_t payloadSize;
    int32_t inputs[kMaxLinks];
    int32_t inputCount;
    int32_t outputs[kMaxLinks];
    int32_t outputCount;
    uint8_t enabled;
    uint8_t m_payload[kPayloadCapacity];
};
#pragma pack(pop)

// The first node of the array (free records aside) with the id; null when there is none.
InfoNodeFormatGraph1* FindNodeFormatGraph1(uint8_t* nodes, uint32_t countNodes, int32_t id);

static_assert(sizeof(InfoComputerNodeFormatGraph1) == 600, "the computer payload is 600 bytes");
static_assert(sizeof(InfoFilterNodeFormatGraph1) == 2324, "the filter payload is 2324 bytes");
static_assert(sizeof(InfoCaptureDeviceNodeFormatGraph1) == 712, "the capture device payload is 712 bytes");
static_assert(offsetof(InfoCaptureDeviceNodeFormatGraph1, m_audio_format_tag) == 676, "the audio format sits at 676");
static_assert(offsetof(InfoCaptureDeviceNodeFormatGraph1, m_disabled) == 708, "the disabled flag sits at 708");
static_assert(sizeof(InfoNodeFormatGraph1) == 12824, "a format-graph node is 12824 bytes in every build");
static_assert(offsetof(InfoNodeFormatGraph1, m_payload) == 533, "the payload of a node starts at byte 533");
