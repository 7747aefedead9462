#include "need_interface.h"

#include "ThrownInteger.h"

#include <cguid.h>
#include <uuids.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Every field set apart from its reset value.
void FillDistinct(InfoNeedInterface& record)
{
    record.m_type_driver = TypeSourceVideoFile;
    record.m_type_resize_image = 2;
    record.m_type_desktop_capture_region = 0x10003;
    record.m_guid_category = CLSID_VideoInputDeviceCategory;
    record.m_name_file = "Z:\\video\\clip.avi";
    record.m_name_device = "Some camera";
    record.m_enabled = 1;
    record.m_id_camera_from_node = 7;
    record.m_id_camera = 8;
    record.m_index_device = 1;
    record.m_reserved_value[0] = 11;
    record.m_reserved_value[1] = 12;
    record.m_type_analog_video_standard = 0x200;
    record.m_media_type.m_major_type = MEDIATYPE_Video;
    record.m_media_type.m_subtype = MEDIASUBTYPE_YUY2;
    record.m_media_type.m_format_type = FORMAT_VideoInfo;
    record.m_media_type.m_bih.biWidth = 640;
    record.m_media_type.m_bih.biHeight = 480;
    record.m_option_sink = 0;
    record.m_option_reserved = 9;
    record.m_guid_special.GetElement(0) = MEDIASUBTYPE_RGB24;
    record.m_guid_special.GetElement(3) = MEDIASUBTYPE_UYVY;
    record.m_table_flags.GetElement(0).GetElement(5) = 1;
    record.m_table_flags.GetElement(3).GetElement(15) = -1;
    record.m_value_from_node = 13;
    record.m_frame_rate = 25.0f;
    record.m_disabled = 1;
    record.m_properties_only = 1;
}

void ExpectSame(const InfoNeedInterface& a, const InfoNeedInterface& b)
{
    EXPECT_EQ(a.m_type_driver, b.m_type_driver);
    EXPECT_EQ(a.m_type_resize_image, b.m_type_resize_image);
    EXPECT_EQ(a.m_type_desktop_capture_region, b.m_type_desktop_capture_region);
    EXPECT_TRUE(IsEqualGUID(a.m_guid_category, b.m_guid_category));
    EXPECT_EQ(a.m_name_file, b.m_name_file);
    EXPECT_EQ(a.m_name_device, b.m_name_device);
    EXPECT_EQ(a.m_enabled, b.m_enabled);
    EXPECT_EQ(a.m_id_camera_from_node, b.m_id_camera_from_node);
    EXPECT_EQ(a.m_id_camera, b.m_id_camera);
    EXPECT_EQ(a.m_index_device, b.m_index_device);
    EXPECT_EQ(a.m_reserved_value[0], b.m_reserved_value[0]);
    EXPECT_EQ(a.m_reserved_value[1], b.m_reserved_value[1]);
    EXPECT_EQ(a.m_type_analog_video_standard, b.m_type_analog_video_standard);
    EXPECT_TRUE(IsEqualGUID(a.m_media_type.m_major_type, b.m_media_type.m_major_type));
    EXPECT_TRUE(IsEqualGUID(a.m_media_type.m_subtype, b.m_media_type.m_subtype));
    EXPECT_TRUE(IsEqualGUID(a.m_media_type.m_format_type, b.m_media_type.m_format_type));
    EXPECT_EQ(std::memcmp(&a.m_media_type.m_bih, &b.m_media_type.m_bih, sizeof(BITMAPINFOHEADER)), 0);
    EXPECT_EQ(a.m_option_sink, b.m_option_sink);
    EXPECT_EQ(a.m_option_reserved, b.m_option_reserved);
    for (uint32_t k = 0; k < InfoNeedInterface::kNumberSpecialGuids; ++k)
        EXPECT_TRUE(IsEqualGUID(a.m_guid_special.GetElement(k), b.m_guid_special.GetElement(k))) << k;
    for (uint32_t row = 0; row < InfoNeedInterface::kNumberFlagRows; ++row)
        for (uint32_t k = 0; k < InfoNeedInterface::kNumberFlagsInRow; ++k)
            EXPECT_EQ(a.m_table_flags.GetElement(row).GetElement(k), b.m_table_flags.GetElement(row).GetElement(k));
    EXPECT_EQ(a.m_value_from_node, b.m_value_from_node);
    EXPECT_EQ(a.m_frame_rate, b.m_frame_rate);
    EXPECT_EQ(a.m_disabled, b.m_disabled);
    EXPECT_EQ(a.m_properties_only, b.m_properties_only);
}

} // namespace

TEST(InfoNeedInterface, ResetStateIsACaptureDeviceAtFiftyFramesPerSecond)
{
    InfoNeedInterface record;
    FillDistinct(record);
    ASSERT_EQ(record.ResetStruct(), S_OK);
    EXPECT_EQ(record.m_type_driver, TypeSourceCaptureDevice);
    EXPECT_EQ(record.m_type_resize_image, 1u);
    EXPECT_EQ(record.m_type_desktop_capture_region, 0u);
    EXPECT_TRUE(IsEqualGUID(record.m_guid_category, GUID_NULL));
    EXPECT_EQ(record.m_name_file.GetLenString(), 0u);
    EXPECT_EQ(record.m_name_device.GetLenString(), 0u);
    EXPECT_EQ(record.m_enabled, 0);
    EXPECT_EQ(record.m_id_camera_from_node, 0);
    EXPECT_EQ(record.m_id_camera, 0);
    EXPECT_EQ(record.m_index_device, 0);
    EXPECT_EQ(record.m_type_analog_video_standard, 16);
    EXPECT_TRUE(IsEqualGUID(record.m_media_type.m_subtype, GUID_NULL));
    EXPECT_EQ(record.m_media_type.m_bih.biWidth, 0);
    EXPECT_EQ(record.m_option_sink, 1);
    EXPECT_TRUE(IsEqualGUID(record.m_guid_special.GetElement(3), GUID_NULL));
    EXPECT_EQ(record.m_table_flags.GetElement(3).GetElement(15), 0);
    EXPECT_EQ(record.m_value_from_node, 0);
    EXPECT_EQ(record.m_frame_rate, 50.0f);
    EXPECT_EQ(record.m_disabled, 0);
    EXPECT_EQ(record.m_properties_only, 0);

    InfoNeedInterface fresh;
    ExpectSame(fresh, record);
}

TEST(InfoNeedInterface, CopyTakesEveryFieldAndSelfAssignmentThrowsOne)
{
    InfoNeedInterface source;
    FillDistinct(source);
    InfoNeedInterface copy;
    copy = source;
    ExpectSame(copy, source);
    const InfoNeedInterface constructed(source);
    ExpectSame(constructed, source);
    // Each copy owns its texts.
    source.m_name_file = "other";
    EXPECT_EQ(copy.m_name_file, "Z:\\video\\clip.avi");

    InfoNeedInterface& same = copy;
    EXPECT_EQ(ThrownInteger([&] { copy = same; }), 1);
}

TEST(ExtStateVideoDriver, HoldsOnlyZerosWhenBuiltAndAfterReset)
{
    ExtStateVideoDriver state;
    for (uint32_t k = 0; k < ExtStateVideoDriver::kNumberSlots; ++k) {
        EXPECT_EQ(state.m_array_uint.GetElement(k), 0u);
        EXPECT_EQ(state.m_array_longlong.GetElement(k), 0);
        EXPECT_EQ(state.m_array_double.GetElement(k), 0.0);
    }
    EXPECT_TRUE(IsEqualGUID(state.m_guid_param, GUID_NULL));

    state.m_array_uint.GetElement(6) = 3000;
    state.m_array_longlong.GetElement(1) = -5;
    state.m_array_double.GetElement(7) = 0.5;
    state.m_guid_param = MEDIASUBTYPE_YUY2;
    const ExtStateVideoDriver copy(state);
    EXPECT_EQ(copy.m_array_uint.GetElement(6), 3000u);
    EXPECT_EQ(copy.m_array_longlong.GetElement(1), -5);
    ASSERT_EQ(state.ResetStruct(), S_OK);
    EXPECT_EQ(state.m_array_uint.GetElement(6), 0u);
    EXPECT_EQ(state.m_array_longlong.GetElement(1), 0);
    EXPECT_EQ(state.m_array_double.GetElement(7), 0.0);
    EXPECT_TRUE(IsEqualGUID(state.m_guid_param, GUID_NULL));
}
