// The render object's base: defaults, the setters both sides compile, and the bodies of the
// virtual operations that a library does not implement.
#include "GeneralVideoRendererObject.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <cstring>

namespace {

constexpr const char* kBaseName = "GeneralVideoRendererObject";

bool IsIndexInRange(int32_t index, uint32_t count)
{
    return index >= 0 && static_cast<uint32_t>(index) < count;
}

} // namespace

GeneralVideoRendererObject::GeneralVideoRendererObject(const char* name)
    : m_name(name != nullptr ? name : kBaseName)
{
    std::memset(&m_format, 0, sizeof(m_format));
    BITMAPINFOHEADER& header = m_format.bmiHeader;
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = 16;
    header.biHeight = 16;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = 0;
    header.biSizeImage = 1024;
}

GeneralVideoRendererObject::~GeneralVideoRendererObject() = default;

HRESULT GeneralVideoRendererObject::RebuildBackSurface() { return E_FAIL; }
HRESULT GeneralVideoRendererObject::RebuildSourceSurface() { return E_FAIL; }
HRESULT GeneralVideoRendererObject::AttachPrimarySurface() { return E_FAIL; }
HRESULT GeneralVideoRendererObject::InitDevice() { return E_FAIL; }
HRESULT GeneralVideoRendererObject::DrawFrame(InfoDataBufferPath1*, uint8_t*) { return E_FAIL; }
HRESULT GeneralVideoRendererObject::CheckConvertSurface() { return E_FAIL; }
HRESULT GeneralVideoRendererObject::UploadFrame(const BYTE*, int32_t, const VIDEOINFOHEADER*) { return E_FAIL; }
HRESULT GeneralVideoRendererObject::Reserved(int32_t) { return 1; }

HRESULT GeneralVideoRendererObject::IsOwnRenderObject(const char* name) const
{
    try {
        if (name == nullptr)
            return E_FAIL;
        return m_name == name ? S_OK : S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GeneralVideoRendererObject::SetOutputWindow(HWND window)
{
    m_window = window;
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetOutputRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    try {
        NormalizeWindowRect(x, y, width, height);
        m_output_x = x;
        m_output_y = y;
        m_output_width = width;
        m_output_height = height;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GeneralVideoRendererObject::SetSourceRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    m_source_x = x;
    m_source_y = y;
    m_source_width = width;
    m_source_height = height;
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetStatusFlags(uint32_t flags)
{
    m_status_flags = flags;
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetDisplayedFrameRate(float rate)
{
    m_frame_rate = rate;
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetTitleInfo(int32_t channel, int32_t secondValue)
{
    m_channel = channel;
    m_title_value2 = secondValue;
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetCaptionFlag(int32_t index, int32_t flag, int32_t /*redraw*/)
{
    if (!IsIndexInRange(index, kRenderCaptionCount))
        return E_UNEXPECTED;
    m_caption_flags[index] = flag != 0 ? 1 : 0;
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetOptionByte(int32_t index, int32_t value)
{
    if (!IsIndexInRange(index, kRenderOptionCount))
        return E_UNEXPECTED;
    m_option_bytes[index] = static_cast<uint8_t>(value);
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetCaptionText(int32_t index, const char* text)
{
    try {
        if (!IsIndexInRange(index, kRenderCaptionCount))
            return E_UNEXPECTED;
        // The fixed-capacity text cuts a longer caption and keeps its terminator.
        m_caption_texts[index] = text;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GeneralVideoRendererObject::SetCaptionColour(const uint8_t* colour, int32_t length)
{
    if (colour == nullptr)
        return E_INVALIDARG;
    // Three bytes are read: a shorter buffer is refused.
    if (length < static_cast<int32_t>(sizeof(m_caption_colour)))
        return E_UNEXPECTED;
    std::memcpy(m_caption_colour, colour, sizeof(m_caption_colour));
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetWeeklyTable(const uint8_t* table, int32_t length)
{
    static_assert(sizeof(StructFormatGraph1::schedule) == kRenderWeeklyTableBytes);
    if (table == nullptr)
        return E_INVALIDARG;
    if (length < kRenderWeeklyTableBytes)
        return E_UNEXPECTED;
    std::memcpy(m_path_record.schedule, table, kRenderWeeklyTableBytes);
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetContour(const DynamicBoundsObject<Class_InfoCountore>& contours,
                                               int32_t count)
{
    try {
        if (&contours != &m_contours)
            m_contours = contours;
        m_contour_count = count;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GeneralVideoRendererObject::SetDisplayMode(uint32_t mode, int32_t /*secondValue*/)
{
    m_display_mode = mode;
    return S_OK;
}

HRESULT GeneralVideoRendererObject::SetAlternateColours(int32_t flag)
{
    m_alternate_colours = flag != 0 ? 1 : 0;
    return S_OK;
}
