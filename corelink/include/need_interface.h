// The source description that the application fills, the data path hands on unchanged and the
// DirectShow source builds its graph from, and the extended state a source's driver hands back
// and gets again. Both cross the program, the data path and the source plug-in by pointer; their
// size crosses as sizeof. The code lives in the graph library (plugins/intavo/graph).
#pragma once

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>

// Kinds of source (m_type_driver).
enum TypeSourceNeedInterface : int32_t
{
    TypeSourceCaptureDevice = 1,
    TypeSourceVideoFile = 2,
    TypeSourcePictureFile = 3,
    TypeSourceDesktop = 4,
};

class InfoNeedInterface
{
public:
    static constexpr uint32_t kNumberSpecialGuids = 4;
    static constexpr uint32_t kNumberFlagRows = 4;
    static constexpr uint32_t kNumberFlagsInRow = 16;

    InfoNeedInterface();
    InfoNeedInterface(const InfoNeedInterface& other) = default;
    // Copies every field; assigning a record to itself throws integer 1.
    InfoNeedInterface& operator=(const InfoNeedInterface& other);

    // Capture device, resize kind 1, PAL B, sink option 1, 50 frames per second, everything else
    // empty or 0.
    HRESULT ResetStruct();

    int32_t m_type_driver;
    uint32_t m_type_resize_image;
    // Low 16 bits: the desktop capture mode.
    uint32_t m_type_desktop_capture_region;
    GUID m_guid_category;
    // Video file, picture file or picture folder.
    DynamicString m_name_file;
    StaticString<128> m_name_device;
    uint8_t m_enabled;
    int32_t m_id_camera_from_node;
    // The capture node's id: the camera id the data path reads.
    int32_t m_id_camera;
    // Tells apart devices that share one friendly name.
    int32_t m_index_device;
    int32_t m_reserved_value[2];
    // An AnalogVideoStandard value.
    int32_t m_type_analog_video_standard;
    // Major type, subtype and format type; the bitmap header holds the requested width and height.
    InfoCallInterfaceDataPath1 m_media_type;
    // Handed to the sink filter as its option 0.
    uint8_t m_option_sink;
    uint8_t m_option_reserved;
    StaticBoundsObject<GUID, kNumberSpecialGuids> m_guid_special;
    StaticBoundsObject<StaticBoundsObject<int32_t, kNumberFlagsInRow>, kNumberFlagRows> m_table_flags;
    int32_t m_value_from_node;
    float m_frame_rate;
    // Cleared when the driver-access facade takes the record.
    uint8_t m_disabled;
    // Set: re-apply the record to the running graph instead of rebuilding it.
    uint8_t m_properties_only;
};

class ExtStateVideoDriver
{
public:
    static constexpr uint32_t kNumberSlots = 16;

    ExtStateVideoDriver();

    // Every slot 0, the GUID all zero.
    HRESULT ResetStruct();

    StaticBoundsObject<uint32_t, kNumberSlots> m_array_uint;
    // Media times in 100-ns units.
    StaticBoundsObject<int64_t, kNumberSlots> m_array_longlong;
    StaticBoundsObject<double, kNumberSlots> m_array_double;
    GUID m_guid_param;
};
