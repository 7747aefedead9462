// The capture devices the application offers as sources, and the stream capabilities of one.
#pragma once

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>
#include <strmif.h>

#include <cstdint>

// One stream capability of a device. Copied byte for byte: the media type's pbFormat and pUnk are
// always null, its cbFormat counts the bytes of the format block placed in m_format.
struct InfoCapabilityVideoDriver
{
    static constexpr uint32_t kSizeFormat = 112;

    // The defaults of a capability the device has not described.
    InfoCapabilityVideoDriver();

    AM_MEDIA_TYPE m_media_type;
    // VIDEOINFOHEADER and VIDEOINFOHEADER2 fit whole; a longer block is cut.
    BYTE m_format[kSizeFormat];
    VIDEO_STREAM_CONFIG_CAPS m_caps;
};

#if !defined(_WIN64)
static_assert(sizeof(AM_MEDIA_TYPE) == 72 && sizeof(VIDEO_STREAM_CONFIG_CAPS) == 128 &&
                  sizeof(InfoCapabilityVideoDriver) == 72 + 112 + 128,
              "a capability record is a media type, a 112-byte block and the capabilities");
#endif

// KSCATEGORY_CAPTURE {65E8773D-8F56-11D0-A3B9-00A0C9223196}, which mingw-w64's libraries lack.
inline constexpr GUID kKsCategoryCapture = {0x65e8773d, 0x8f56, 0x11d0, {0xa3, 0xb9, 0x00, 0xa0, 0xc9, 0x22, 0x31, 0x96}};

using ListNamesVideoDriver = DynamicBoundsObject<DynamicString>;
using ListCapabilitiesVideoDriver = DynamicBoundsObject<InfoCapabilityVideoDriver>;

// Friendly names of the devices of the category, then those of the second category that it did
// not list already (a name the first listed n times is taken from the second only beyond n), less
// the names on the skip list. A category that is empty or cannot be read adds nothing.
HRESULT GetListVideoCaptureDevices(const GUID& category, const GUID& secondCategory, const ListNamesVideoDriver& skip,
                                   ListNamesVideoDriver& names, int32_t* count);
// One record per stream capability of the first device of that name, read from its first output
// pin with IAMStreamConfig. An unknown device or a failed read leaves the list empty and fails.
HRESULT GetListCapabilitiesOfDevice(const char* friendlyName, const GUID& category,
                                    ListCapabilitiesVideoDriver& capabilities);
