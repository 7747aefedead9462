// The render object that the video output plug-in draws through, and the three exports of every
// render library (".vdr"). The library builds the object and implements its virtual operations;
// the plug-in calls them and compiles the non-virtual setters below into itself, which write the
// data members directly. Both sides must therefore be built from this one declaration: member
// order and widths are shared.
#pragma once

#include "Class_InfoCountore.h"
#include "struct_format_graph1.h"

#include "KestrelDebugFunct.h"
#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>
#include <strmif.h>
#include <amvideo.h>

#include <cstdint>

class InfoDataBufferPath1;

#if !defined(_WIN64)
static_assert(sizeof(VIDEOINFOHEADER) == 88, "the frame format header of the 32-bit platform");
#endif

// Status flags: the plug-in replaces the whole word before each frame.
enum RenderStatusFlags : uint32_t
{
    RenderStatusNoAccess = 0x4,
    RenderStatusLostSignal = 0x10,
    RenderStatusDrawFailed = 0x20,
    RenderStatusBadFormat = 0x40,
};

// Display mode bit that keeps the "access denied" caption away even when access is denied.
inline constexpr uint32_t kRenderDisplayKeepPicture = 0x100;

inline constexpr uint32_t kRenderCaptionCount = 16;
inline constexpr uint32_t kRenderOptionCount = 8;
inline constexpr uint32_t kRenderOutlinePoints = 5;
inline constexpr int32_t kRenderWeeklyTableBytes = 168;

// Filled by GetInfoFromLibrary: the library's identifier.
struct InfoRenderLibrary
{
    GUID m_id;
};

#if !defined(_WIN64)
static_assert(sizeof(InfoRenderLibrary) == 16, "the library info record of the 32-bit platform");
#endif

// A point of the outline, each coordinate a fraction of 65535 of the surface's size.
struct RenderOutlinePoint
{
    uint16_t m_x;
    uint16_t m_y;
};

class GeneralVideoRendererObject
{
public:
    explicit GeneralVideoRendererObject(const char* name = nullptr);
    virtual ~GeneralVideoRendererObject();
    GeneralVideoRendererObject(const GeneralVideoRendererObject&) = delete;
    GeneralVideoRendererObject& operator=(const GeneralVideoRendererObject&) = delete;

    // (Re)creates the composition surface at the window's client size; after a resize.
    virtual HRESULT RebuildBackSurface();
    // (Re)creates the surface that receives frames, at the frame format's size.
    virtual HRESULT RebuildSourceSurface();
    // (Re)creates the screen surface and its clipper for the output window.
    virtual HRESULT AttachPrimarySurface();
    // Releases everything and builds the whole drawing device again.
    virtual HRESULT InitDevice();
    // Shows the last uploaded frame with its captions. Sets *needsInit to 1 when the caller must
    // call InitDevice, to 0 otherwise; leaves it untouched while there is no device yet.
    virtual HRESULT DrawFrame(InfoDataBufferPath1* display, uint8_t* needsInit);
    // Checks, restores or creates the surface used for software conversion.
    virtual HRESULT CheckConvertSurface();
    // Copies one YUY2 frame of size bytes, described by header, into the object's surfaces.
    virtual HRESULT UploadFrame(const BYTE* data, int32_t size, const VIDEOINFOHEADER* header);
    // Kept for its place; answers 1.
    virtual HRESULT Reserved(int32_t value);

    // 0 when the object's name equals the text, 1 when it differs, E_FAIL without a text.
    HRESULT IsOwnRenderObject(const char* name) const;
    HRESULT SetOutputWindow(HWND window);
    // Stored normalised: negative values become 0, width and height at least 10.
    HRESULT SetOutputRect(int32_t x, int32_t y, int32_t width, int32_t height);
    HRESULT SetSourceRect(int32_t x, int32_t y, int32_t width, int32_t height);
    HRESULT SetStatusFlags(uint32_t flags);
    HRESULT SetDisplayedFrameRate(float rate);
    HRESULT SetTitleInfo(int32_t channel, int32_t secondValue);
    // The redraw flag is not used: the plug-in invalidates its window itself.
    HRESULT SetCaptionFlag(int32_t index, int32_t flag, int32_t redraw);
    HRESULT SetOptionByte(int32_t index, int32_t value);
    // Empties the entry, then copies the text (at most 255 characters) when there is one.
    HRESULT SetCaptionText(int32_t index, const char* text);
    // Copies three bytes: red, green, blue.
    HRESULT SetCaptionColour(const uint8_t* colour, int32_t length);
    HRESULT SetWeeklyTable(const uint8_t* table, int32_t length);
    HRESULT SetContour(const DynamicBoundsObject<Class_InfoCountore>& contours, int32_t count);
    // The second value is not kept.
    HRESULT SetDisplayMode(uint32_t mode, int32_t secondValue);
    HRESULT SetAlternateColours(int32_t flag);

    HWND m_window = nullptr;
    int32_t m_output_x = 0;
    int32_t m_output_y = 0;
    int32_t m_output_width = 10;
    int32_t m_output_height = 10;
    // The hardware cannot blit FOURCC surfaces: frames are converted in software to RGB.
    uint8_t m_rgb_surfaces = 1;
    // The hardware can copy FOURCC surfaces.
    uint8_t m_fourcc_copy = 0;
    // The next draw fills the source and composition surfaces grey.
    uint8_t m_clear_pending = 0;
    uint32_t m_status_flags = RenderStatusLostSignal | 0x1;
    uint8_t m_reserved_bytes[3] = {};
    uint64_t m_frame_counter = 0;
    VIDEOINFOHEADER m_format;
    uint32_t m_image_size = 0;
    StructFormatGraph1 m_path_record{StructFormatGraph1::kKindCapture};
    DynamicString m_name;
    uint8_t m_caption_flags[kRenderCaptionCount] = {};
    StaticString<256> m_caption_texts[kRenderCaptionCount];
    uint8_t m_caption_colour[3] = {1, 1, 1};
    int32_t m_channel = -1;
    int32_t m_title_value2 = 0;
    int32_t m_source_x = 0;
    int32_t m_source_y = 0;
    int32_t m_source_width = 80;
    int32_t m_source_height = 60;
    // Selects the fourth caption colour for "access denied" and "lost signal".
    uint8_t m_alternate_colours = 0;
    uint8_t m_option_bytes[kRenderOptionCount] = {};
    uint32_t m_reserved_words[4] = {};
    int32_t m_reserved_minus_one = -1;
    uint8_t m_outline = 0;
    RECT m_outline_rect = {};
    RenderOutlinePoint m_outline_points[kRenderOutlinePoints] = {};
    uint8_t m_outline_hidden = 0;
    uint32_t m_reserved_words2[2] = {};
    COLORREF m_caption_colours[4] = {0x6464FF, 0x6464C8, 0xFF6464, 0xC83232};
    float m_frame_rate = 0.0f;
    int32_t m_statistics[2] = {};
    uint32_t m_reserved_one = 1;
    DynamicBoundsObject<Class_InfoCountore> m_contours;
    int32_t m_contour_count = 0;
    uint32_t m_display_mode = kRenderDisplayKeepPicture | 0x1;
};

// The exports of a render library, standard Windows calling convention.
// Any pointer null or size 0 or less: E_UNEXPECTED. Writes 0 to the kind and the library's
// identifier to the info record; the name when it fits in size characters (else an empty name
// and E_FAIL).
using GetInfoFromLibraryFunction = HRESULT(WINAPI*)(int32_t* kind, InfoRenderLibrary* info, char* name,
                                                    int32_t size);
// Clears *object, then stores a new render object there.
using CreateVideoRenderObjectFromLibraryFunction = HRESULT(WINAPI*)(GeneralVideoRendererObject** object);
// Deletes the object only when it is the library's own (by name); null gives 0.
using DeleteVideoRenderObjectFromLibraryFunction = HRESULT(WINAPI*)(GeneralVideoRendererObject* object);
