// The shared buffer between the mixer and the outside virtual-camera driver: a named 2 MiB
// page-file section that starts with this 288-byte header, followed by one packed YUY2 frame,
// and a named mutex that orders every access to both. The driver comes in a standard and a "Pro"
// edition with objects of their own names. The layout and the names are the driver's: they must
// not change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// The driver the mixer serves (the mixer's option 1).
enum PlexamoDriverKind : int32_t
{
    kPlexamoDriverStandard = 0,
    kPlexamoDriverPro = 1,
    kPlexamoDriverNone = 2,
};

inline constexpr uint32_t kPlexamoSectionSize = 0x200000;

struct PlexamoDriverObjectNames
{
    const char* mapping = nullptr;
    const char* mutex = nullptr;
};

// The names of the kind's section and mutex; both null for any kind without a driver.
inline PlexamoDriverObjectNames GetPlexamoDriverObjectNames(int32_t kind)
{
    switch (kind) {
    case kPlexamoDriverStandard:
        return {"Plexamo::VideoDriver::12.01.2007.3.33.03::BrennickTech ltd.::Harbury",
                "Plexamo::Mutex::12.01.2007.3.34.31::BrennickTech ltd.::Harbury"};
    case kPlexamoDriverPro:
        return {"PlexamoPro::VideoDriver::16.08.2007.22.47.03::BrennickTech ltd.::Harbury",
                "PlexamoPro::Mutex::16.08.2007.22.47.31::BrennickTech ltd.::Harbury"};
    default:
        return {};
    }
}

// The header at the start of the section. The mixer writes the frame's size and sets the
// frame-ready flag after the data; the driver writes the largest size it accepts and clears the
// flag once it has taken the frame.
struct InfoBetweenPlexamoDriverAndApplication
{
    InfoBetweenPlexamoDriverAndApplication()
    {
        static const char kIdentification[] =
            "Brennick ltd.::InfoBetweenPlexamoDriverAndApplication::0.2 ver::16.08.2007";
        std::memcpy(m_identification, kIdentification, sizeof(kIdentification));
    }

    char m_identification[256] = {};
    uint32_t m_reserved1 = 0;
    // Only the low byte is the flag: 1 a frame is waiting, 0 the driver has taken it.
    uint8_t m_frame_ready = 0;
    uint8_t m_frame_ready_high[3] = {};
    int32_t m_width = 0;
    int32_t m_height = 0;
    // Bytes per row of the data: 2 x width rounded up to 16.
    int32_t m_stride = 0;
    // The largest frame the driver accepts; the mixer uses only the area.
    int32_t m_largest_width = 0;
    int32_t m_largest_height = 0;
    uint32_t m_reserved2 = 0;
};

static_assert(sizeof(InfoBetweenPlexamoDriverAndApplication) == 288, "the driver's header is 288 bytes");
static_assert(offsetof(InfoBetweenPlexamoDriverAndApplication, m_frame_ready) == 260, "flag at 260");
static_assert(offsetof(InfoBetweenPlexamoDriverAndApplication, m_width) == 264, "width at 264");
static_assert(offsetof(InfoBetweenPlexamoDriverAndApplication, m_largest_width) == 276, "largest at 276");

// The frame's rows start right after the header: a view starts on a page boundary, so this is the
// first 16-byte boundary at or after the header.
inline constexpr uint32_t kPlexamoDataOffset = sizeof(InfoBetweenPlexamoDriverAndApplication);

// Bytes per row of a frame of the width in the data area.
inline constexpr int64_t PlexamoDataStride(int64_t width)
{
    return (2 * width + 15) / 16 * 16;
}
