// The path record: the capture format and path description of one source. One fixed layout in
// every module (it is handed between modules by pointer, with its size beside it), so it holds
// only fixed-width fields and is padded explicitly to one size in both builds.
#pragma once

#include "format_frame_vcodec1.h"

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <cstdint>

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
