#include "struct_format_graph1.h"

#include "CatchAllLog.h"
#include "MediaSubtypeGuids.h"

#include <cstring>

namespace {

float Clamp(float value, float low, float high)
{
    return value < low ? low : (value > high ? high : value);
}

// Keeps a text as it is, but always terminated inside its buffer.
void TerminateText(TextFormatGraph1& text)
{
    text.ValidateString();
}

void ValidateRate(float& rate)
{
    CheckFloatValue(&rate, 0.0f);
    rate = Clamp(rate, 1.0f, 60.0f);
}

} // namespace

HRESULT InfoVideoDetectBounds::Validate()
{
    float* bounds[3][2] = {{&m_lower1, &m_upper1}, {&m_lower2, &m_upper2}, {&m_lower3, &m_upper3}};
    const float defaults[3][2] = {{2.0f, 60.0f}, {0.0f, 100.0f}, {10.0f, 90.0f}};
    for (int pair = 0; pair < 3; ++pair) {
        float& lower = *bounds[pair][0];
        float& upper = *bounds[pair][1];
        CheckFloatValue(&lower, defaults[pair][0]);
        CheckFloatValue(&upper, defaults[pair][1]);
        upper = Clamp(upper, 0.0f, 100.0f);
        lower = Clamp(lower, 0.0f, upper);
    }
    return S_OK;
}

void InfoCaptureFormatGraph1::Reset()
{
    m_codec_name = "Codexa5.vvd";
    m_detector_name = "D.U.R.M.I.X.VideoDetector4";
    m_codec_name2 = "Codexa5.vvd";
    for (uint32_t row = 0; row < kRows; ++row) {
        m_flags1[row] = 0;
        m_values1[row] = 5.0f;
        m_values2[row] = 5.0f;
        for (InfoFormatFrameVCodec& format : m_formats[row])
            format.ResetStruct();
        const float rates[kRatesPerRow] = {1.0f, 1.0f, 1.0f, 1.0f, 50.0f};
        std::memcpy(m_rates[row], rates, sizeof(rates));
        m_flags2[row] = 0;
        m_bounds[row] = InfoVideoDetectBounds();
    }
    std::memset(m_zones, 0, sizeof(m_zones));
    const float levels[6] = {50.0f, 50.0f, 50.0f, 50.0f, 1.0f, 13.0f};
    std::memcpy(m_levels, levels, sizeof(levels));
}

HRESULT InfoCaptureFormatGraph1::Validate()
{
    for (float& level : m_levels)
        CheckFloatValue(&level, 0.0f);
    for (int i = 0; i < 4; ++i)
        m_levels[i] = Clamp(m_levels[i], 0.0f, 100.0f);
    m_levels[4] = Clamp(m_levels[4], 0.0f, 1.0f);
    m_levels[5] = Clamp(m_levels[5], 1.0f, 25.0f);
    ValidateTexts();
    ValidateRows();
    return S_OK;
}

void InfoCaptureFormatGraph1::ValidateTexts()
{
    TerminateText(m_codec_name);
    TerminateText(m_detector_name);
    TerminateText(m_codec_name2);
}

void InfoCaptureFormatGraph1::ValidateRows()
{
    for (uint32_t row = 0; row < kRows; ++row) {
        for (InfoFormatFrameVCodec& format : m_formats[row])
            format.CheckStruct();
        for (float& rate : m_rates[row])
            ValidateRate(rate);
        m_bounds[row].Validate();
    }
}

void InfoMixerFormatGraph1::Reset()
{
    m_name1.NullString();
    m_name2.NullString();
    m_flag1 = 1;
    m_flag2 = 1;
    m_value1 = 1.0f;
    m_value2 = 1.0f;
    m_word = 0;
    m_value3 = 1.0f;
}

HRESULT InfoMixerFormatGraph1::Validate()
{
    CheckFloatValue(&m_value1, 0.0f);
    CheckFloatValue(&m_value2, 0.0f);
    CheckFloatValue(&m_value3, 0.0f);
    ValidateTexts();
    return S_OK;
}

void InfoMixerFormatGraph1::ValidateTexts()
{
    TerminateText(m_name1);
    TerminateText(m_name2);
}

HRESULT StructFormatGraph1::Reset(int32_t newKind)
{
    try {
        objectName = "enter name object";
        for (InfoNameEntryFormatGraph1& entry : m_names) {
            entry.m_text.NullString();
            std::memset(entry.m_reserved, 0, sizeof(entry.m_reserved));
        }
        m_word1 = 0;
        m_capture.Reset();
        m_value1 = 0;
        m_value2 = 8;
        m_mixer.Reset();
        kind = newKind;
        cameraId = 0;
        m_flag1 = 0;
        std::memset(schedule, kScheduleDefault, sizeof(schedule));
        m_flags2[0] = 0;
        m_flags2[1] = 1;
        m_flags2[2] = 0;
        m_value3 = 0;
        std::memset(m_reserved, 0, sizeof(m_reserved));
        return Validate();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT StructFormatGraph1::Validate()
{
    try {
        TerminateText(objectName);
        m_capture.Validate();
        HRESULT result = m_mixer.Validate();
        ValidateSchedule();
        if (kind != kKindMixer)
            kind = kKindCapture;
        if (kind == kKindCapture) {
            m_capture.ValidateTexts();
            m_capture.ValidateRows();
        }
        else {
            m_mixer.ValidateTexts();
        }
        for (InfoNameEntryFormatGraph1& entry : m_names)
            TerminateText(entry.m_text);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// An hour's byte packs two small numbers: the state (0..4) below, the level (1..3) above.
void StructFormatGraph1::ValidateSchedule()
{
    for (uint8_t& hour : schedule) {
        uint8_t state = hour & 0x0F;
        uint8_t level = hour >> 4;
        if (state > 4)
            state = 2;
        if (level > 2)
            level = 3;
        else if (level < 2)
            level = 1;
        hour = static_cast<uint8_t>(state + 16 * level);
    }
}

// ---- Format-graph nodes ----------------------------------------------------------------------

namespace {

constexpr uint32_t kAddressLoopback = 0x7F000001; // 127.0.0.1

} // namespace

void InfoComputerNodeFormatGraph1::Reset()
{
    m_name = "enter name pc";
    m_address1 = kAddressLoopback;
    m_address2 = kAddressLoopback;
    m_value1 = 0;
    m_value2 = 0;
}

void InfoCaptureDeviceNodeFormatGraph1::Reset(int32_t valueCarried1)
{
    std::memset(static_cast<void*>(this), 0, sizeof(*this));
    m_value_carried1 = valueCarried1;
    m_analog_video_standard = 16; // AnalogVideo_PAL_B
    m_bitmap_header.biSize = 72;
    m_bitmap_header.biWidth = 768;
    m_bitmap_header.biHeight = 288;
    m_bitmap_header.biPlanes = 1;
    m_bitmap_header.biBitCount = 16;
    m_bitmap_header.biCompression = 3;
    m_bitmap_header.biSizeImage = 442368;
    m_subtype = media_guids::MEDIASUBTYPE_YUY2;
    m_option_sink = 1;
    m_frame_rate = 50;
    m_value2 = 1;
    std::memcpy(m_audio_subtype, &media_guids::MEDIASUBTYPE_PCM, sizeof(m_audio_subtype));
    m_audio_format_tag = 1; // PCM
    m_audio_channels = 1;
    m_audio_samples_per_second = 44100;
    m_audio_bytes_per_second = 88200;
    m_audio_block_align = 2;
    m_audio_bits_per_sample = 16;
    m_disabled = 1;
}

uint32_t InfoNodeFormatGraph1::PayloadSizeOfKind(int32_t kindOfNode)
{
    switch (kindOfNode) {
    case TypeNodeComputer:
        return sizeof(InfoComputerNodeFormatGraph1);
    case TypeNodeFilter:
        return sizeof(InfoFilterNodeFormatGraph1);
    case TypeNodeCaptureDevice:
        return sizeof(InfoCaptureDeviceNodeFormatGraph1);
    case TypeNodeCaptureFormat:
        return sizeof(StructFormatGraph1);
    default:
        return 0;
    }
}

HRESULT InfoNodeFormatGraph1::Reset(int32_t newKind, int32_t newId)
{
    try {
        std::memset(static_cast<void*>(this), 0, sizeof(*this));
        kind = newKind;
        id = newId;
        for (uint32_t k = 0; k < kMaxLinks; ++k) {
            inputs[k] = -1;
            outputs[k] = -1;
        }
        enabled = 1;
        payloadSize = static_cast<int32_t>(PayloadSizeOfKind(newKind));
        switch (newKind) {
        case TypeNodeComputer: {
            InfoComputerNodeFormatGraph1 computer;
            computer.Reset();
            WritePayload(computer);
            break;
        }
        case TypeNodeCaptureDevice: {
            InfoCaptureDeviceNodeFormatGraph1 device;
            device.Reset(1);
            WritePayload(device);
            break;
        }
        case TypeNodeCaptureFormat:
            WritePayload(StructFormatGraph1(StructFormatGraph1::kKindCapture));
            break;
        default: // a filter's payload is all zero: an empty name
            break;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT InfoNodeFormatGraph1::Check()
{
    const uint32_t size = PayloadSizeOfKind(kind);
    if (size == 0) {
        std::memset(static_cast<void*>(this), 0, sizeof(*this));
        return S_OK;
    }
    const int32_t maxLinks = static_cast<int32_t>(kMaxLinks);
    inputCount = inputCount < 0 ? 0 : (inputCount > maxLinks ? maxLinks : inputCount);
    outputCount = outputCount < 0 ? 0 : (outputCount > maxLinks ? maxLinks : outputCount);
    payloadSize = static_cast<int32_t>(size);
    return S_OK;
}

InfoNodeFormatGraph1* FindNodeFormatGraph1(uint8_t* nodes, uint32_t countNodes, int32_t id)
{
    if (nodes == nullptr)
        return nullptr;
    for (uint32_t k = 0; k < countNodes; ++k) {
        auto* node = reinterpret_cast<InfoNodeFormatGraph1*>(nodes + static_cast<size_t>(k) * sizeof(InfoNodeFormatGraph1));
        if (node->kind != TypeNodeFree && node->id == id)
            return node;
    }
    return nullptr;
}
