// The per-instance state of the video output Rendara1: its output window, the frame-rate window,
// the settings of the video output interface, the zone masks painted with the mouse and the render
// library the instance draws through. Made by InitInfoFilter on the thread that then owns the
// output window (the data path's worker); everything but the destructor runs on that thread.
#pragma once

#include "BaseClassObjectDataPath1.h"
#include "GeneralVideoRendererObject.h"
#include "interface_optim.h"

#include "Class_InfoCountore.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include "CTimeServer.h"
#include "OptimFunctionUnifProcessSWORD.h"

#include <windows.h>
#include <amvideo.h>

#include <cstdint>

class ObjectControlDataPath1;
class InfoUserKestrelUserServer;

// The render library an instance loaded, its entry points and the object it made.
struct RenderLibraryBinding
{
    HMODULE m_module = nullptr;
    CreateVideoRenderObjectFromLibraryFunction m_create = nullptr;
    DeleteVideoRenderObjectFromLibraryFunction m_delete = nullptr;
    GetInfoFromLibraryFunction m_get_info = nullptr;
    GeneralVideoRendererObject* m_object = nullptr;
    DynamicString m_file_name;
};

class InfoFilterStateRendara1 : public InfoFilterStateDataPath1
{
public:
    static constexpr uint32_t kFrameTimes = 25;
    static constexpr uint32_t kCaptions = kRenderCaptionCount;
    static constexpr uint32_t kOptions = kRenderOptionCount;
    static constexpr uint32_t kZones = 3;
    static constexpr uint32_t kMaskSide = 128;
    static constexpr uint32_t kMaskBytes = kMaskSide * kMaskSide / 8;
    static constexpr uint32_t kWeeklyTableBytes = kRenderWeeklyTableBytes;

    InfoFilterStateRendara1();
    // Destroys the output window from any thread (the owner is asked with WM_CLOSE).
    ~InfoFilterStateRendara1();
    InfoFilterStateRendara1(const InfoFilterStateRendara1&) = delete;
    InfoFilterStateRendara1& operator=(const InfoFilterStateRendara1&) = delete;

    HWND m_window = nullptr;
    HWND m_parent = nullptr;
    DWORD m_style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    uint8_t m_enabled = 1;
    uint8_t m_visible = 0;
    int32_t m_window_x = 0;
    int32_t m_window_y = 0;
    int32_t m_window_width = 10;
    int32_t m_window_height = 10;
    LONG_PTR m_value14 = 0;
    int32_t m_source_x = 0;
    int32_t m_source_y = 0;
    int32_t m_source_width = 10;
    int32_t m_source_height = 10;

    // Holds the converted copy; only grows.
    BYTE* m_scratch = nullptr;
    int32_t m_scratch_capacity = 0;

    CTimeServer m_time;
    ObjectOptimProcessorDataPath1 m_optim;
    // The conversions of the instance's processor mode.
    PackYuy2Kernels m_kernels;

    VIDEOINFOHEADER m_format;
    // The size of the last YUY2 frame.
    uint32_t m_frame_width = 0;
    uint32_t m_frame_height = 0;

    uint64_t m_frame_times[kFrameTimes] = {};
    uint32_t m_frame_time_count = 0;
    float m_frame_rate = 0.0f;

    uint32_t m_status_flags = RenderStatusLostSignal | 0x1;
    UINT_PTR m_timer_id = 0;
    int32_t m_timer_period_seconds = 5;
    uint64_t m_last_frame_time = 0;
    int32_t m_signal_timeout_seconds = 30;
    uint8_t m_timeout_enabled = 1;
    uint8_t m_signal_returned = 1;

    int32_t m_channel = -1;
    uint8_t m_access = 0;
    const InfoUserKestrelUserServer* m_access_record = nullptr;

    uint8_t m_caption_changed = 0;
    uint8_t m_closing = 0;
    uint8_t m_started = 0;
    uint64_t m_start_time = 0;
    UINT m_message_failed = 0;
    UINT m_message_succeeded = 0;
    uint8_t m_value22 = 0;
    int32_t m_title_value2 = 0;
    uint8_t m_title_value2_set = 1;

    ObjectControlDataPath1* m_event_target = nullptr;

    uint8_t m_caption_flags[kCaptions] = {};
    StaticString<256> m_caption_texts[kCaptions];
    uint8_t m_caption_colour[3] = {1, 1, 1};

    // Carries the statistics of the last frame to the render object.
    InfoDataBufferPath1 m_display;

    uint8_t m_alternate_colours = 0;
    uint8_t m_option_bytes[kOptions] = {};

    uint8_t m_zone_masks[kZones][kMaskBytes] = {};
    // Both switches set: the mouse paints the zone of the index (no setter: tests set them).
    uint8_t m_zone_editing = 0;
    int32_t m_zone_index = 0;
    int32_t m_zone_sub_index = 0;
    uint8_t m_zone_editing2 = 0;
    uint8_t m_weekly_table[kWeeklyTableBytes] = {};

    RenderLibraryBinding m_render;

    DynamicBoundsObject<Class_InfoCountore> m_contours;
    int32_t m_contour_count = 0;

    uint32_t m_display_mode = kRenderDisplayKeepPicture | 0x1;

    // One 16-bit cell per mask bit, row after row.
    uint16_t m_mask_grid[kMaskSide * kMaskSide] = {};
    uint8_t m_mask_changed = 1;
    float m_last_ratio = -1.0f;
};

// Packs a grid of 16-bit cells into a zone mask: row after row, 16 bytes a row, eight cells a
// byte with the first in bit 0. E_INVALIDARG without grid or mask; E_UNEXPECTED for a grid of
// fewer than 32768 bytes, a row below 256 bytes or fewer than 128 rows.
HRESULT PackZoneMask(const uint16_t* grid, uint32_t gridBytes, uint32_t rowBytes, uint32_t rows, uint8_t* mask);
