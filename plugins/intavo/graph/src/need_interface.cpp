#include "need_interface.h"

#include "CatchAllLog.h"

#include <cguid.h>

namespace {

constexpr int32_t kDefaultAnalogVideoStandard = 16; // AnalogVideo_PAL_B
constexpr float kDefaultFrameRate = 50.0f;

} // namespace

InfoNeedInterface::InfoNeedInterface()
{
    try {
        ResetStruct();
    }
    CATCH_ALL_RETHROW()
}

InfoNeedInterface& InfoNeedInterface::operator=(const InfoNeedInterface& other)
{
    if (&other == this)
        throw 1;
    m_type_driver = other.m_type_driver;
    m_type_resize_image = other.m_type_resize_image;
    m_type_desktop_capture_region = other.m_type_desktop_capture_region;
    m_guid_category = other.m_guid_category;
    m_name_file = other.m_name_file;
    m_name_device = other.m_name_device;
    m_enabled = other.m_enabled;
    m_id_camera_from_node = other.m_id_camera_from_node;
    m_id_camera = other.m_id_camera;
    m_index_device = other.m_index_device;
    m_reserved_value[0] = other.m_reserved_value[0];
    m_reserved_value[1] = other.m_reserved_value[1];
    m_type_analog_video_standard = other.m_type_analog_video_standard;
    m_media_type = other.m_media_type;
    m_option_sink = other.m_option_sink;
    m_option_reserved = other.m_option_reserved;
    m_guid_special = other.m_guid_special;
    m_table_flags = other.m_table_flags;
    m_value_from_node = other.m_value_from_node;
    m_frame_rate = other.m_frame_rate;
    m_disabled = other.m_disabled;
    m_properties_only = other.m_properties_only;
    return *this;
}

HRESULT InfoNeedInterface::ResetStruct()
{
    try {
        m_type_driver = TypeSourceCaptureDevice;
        m_type_resize_image = 1;
        m_type_desktop_capture_region = 0;
        m_guid_category = GUID_NULL;
        m_name_file.NullString();
        m_name_device.NullString();
        m_enabled = 0;
        m_id_camera_from_node = 0;
        m_id_camera = 0;
        m_index_device = 0;
        m_reserved_value[0] = 0;
        m_reserved_value[1] = 0;
        m_type_analog_video_standard = kDefaultAnalogVideoStandard;
        m_media_type.ResetStruct(true);
        m_option_sink = 1;
        m_option_reserved = 0;
        m_guid_special.Fill(GUID_NULL);
        for (uint32_t row = 0; row < kNumberFlagRows; ++row)
            m_table_flags.GetElement(row).Fill(0);
        m_value_from_node = 0;
        m_frame_rate = kDefaultFrameRate;
        m_disabled = 0;
        m_properties_only = 0;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

ExtStateVideoDriver::ExtStateVideoDriver()
{
    try {
        ResetStruct();
    }
    CATCH_ALL_RETHROW()
}

HRESULT ExtStateVideoDriver::ResetStruct()
{
    try {
        m_array_uint.Fill(0);
        m_array_longlong.Fill(0);
        m_array_double.Fill(0.0);
        m_guid_param = GUID_NULL;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
