#include "GroupObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "GdiScopes.h"
#include "g_managment_mem.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t MaxFrames = BaseUserInterface::MaxElements;
constexpr uint32_t FrameSlot = 14;
constexpr int DrawingTag = 1808;
constexpr uint32_t FillEntry = 2;
constexpr uint32_t FrameEntry = 78;
constexpr uint32_t CaptionEntry = 130;
constexpr int CaptionHeight = 13;
// The frame line runs through the middle of the caption.
constexpr int FrameBelowCaption = 6;
constexpr int Corner = 6;

// Everything one drawing of the frames needs, taken from the widget.
struct GroupFrameDrawing
{
    uint32_t m_layout = GroupObjectUserInterface2::LayoutSideBySide;
    unifrgb m_fill{0, 0, 255};
    unifrgb m_frame{255, 0, 0};
    int32_t m_count = 0;
    uint8_t m_rounded = 0;
    StaticString<128> m_captions[MaxFrames];
    StaticBoundsObject<float, MaxFrames> m_sizes;
    InfoFontForDrawToHDC m_caption_font;
};

unifrgb FromColorRef(COLORREF colour)
{
    return unifrgb(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

int32_t Truncate(float value)
{
    return static_cast<int32_t>(std::trunc(value));
}

// Sum of the sizes given in pixels.
float FixedLength(const StaticBoundsObject<float, MaxFrames>& sizes, int32_t count)
{
    float fixed = 0.0f;
    for (int32_t i = 0; i < count; ++i)
        if (sizes.GetElement(i) > 1.0f)
            fixed += sizes.GetElement(i);
    return fixed;
}

// Start and end of the next frame along the layout's axis; pos moves behind it by the gap. A size
// up to 1 is a share of the free length.
void NextBand(float size, int32_t length, float fixed, float& pos, int32_t startGap, int32_t endGap, int32_t gap,
              LONG& start, LONG& end)
{
    start = Truncate(pos + static_cast<float>(startGap));
    end = size <= 1.0f ? Truncate((static_cast<float>(length) - fixed) * size + pos - static_cast<float>(endGap))
                       : Truncate(pos + size - static_cast<float>(endGap));
    pos = static_cast<float>(end + gap);
}

HRESULT DrawFramesToContext(HDC context, int width, int height, void* record, int tag)
{
    if (context == nullptr || width < 1 || height < 1)
        return E_UNEXPECTED;
    if (record == nullptr || tag != DrawingTag)
        return E_FAIL;
    GroupFrameDrawing& drawing = *static_cast<GroupFrameDrawing*>(record);
    AutoGDIObject brush(CreateSolidBrush(drawing.m_fill.GetColorRef()));
    AutoGDIObject pen(CreatePen(PS_SOLID, 1, drawing.m_frame.GetColorRef()));
    const RECT all = {0, 0, width, height};
    FillRect(context, &all, static_cast<HBRUSH>(brush.Get()));
    ScopedSelection brushSelection(context, brush.Get());
    ScopedSelection fontSelection(context, drawing.m_caption_font.m_font != nullptr
                                               ? static_cast<HGDIOBJ>(drawing.m_caption_font.m_font)
                                               : GetStockObject(DEFAULT_GUI_FONT));
    ScopedSelection penSelection(context, pen.Get());
    SetBkMode(context, OPAQUE);
    SetBkColor(context, drawing.m_fill.GetColorRef());
    SetTextColor(context, drawing.m_caption_font.m_text_color);
    const float fixed = FixedLength(drawing.m_sizes, drawing.m_count);
    const uint32_t layout = drawing.m_layout & 0xFF;
    float pos = 0.0f;
    RECT frame = all;
    for (int32_t i = 0; i < drawing.m_count; ++i) {
        const float size = drawing.m_sizes.GetElement(i);
        if (layout == GroupObjectUserInterface2::LayoutOneAboveTheOther)
            NextBand(size, height, fixed, pos, 2, 2, 2, frame.top, frame.bottom);
        else if (layout == GroupObjectUserInterface2::LayoutSideBySide)
            NextBand(size, width, fixed, pos, 1, 0, 0, frame.left, frame.right);
        // A frame of no length is not drawn.
        if (frame.right <= frame.left || frame.bottom <= frame.top + FrameBelowCaption)
            continue;
        if (drawing.m_rounded != 0)
            RoundRect(context, frame.left, frame.top + FrameBelowCaption, frame.right, frame.bottom, Corner, Corner);
        else
            Rectangle(context, frame.left, frame.top + FrameBelowCaption, frame.right, frame.bottom);
        RECT caption = {frame.left, frame.top, frame.right, frame.top + CaptionHeight};
        DrawTextA(context, drawing.m_captions[i].GetString(), -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    return S_OK;
}

} // namespace

GroupObjectUserInterface2::GroupObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count,
                                                     uint32_t styleFlags, const char* objectName, HINSTANCE module)
try : BaseUserInterface(elements, count, styleFlags, objectName, module, 0, 50) {
    m_window_class_name = "OJV::UserInterface2::GroupObjectUserInterface2::24.10.2006";
}
CATCH_ALL_RETHROW()

GroupObjectUserInterface2::~GroupObjectUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

float GroupObjectUserInterface2::FrameSize(uint32_t element) const
{
    return m_elements.GetElement(element).Field(FieldSize).m_value.m_float;
}

// The inside of every frame is cut out; an even number of cuts of one rectangle leaves it whole.
HRESULT GroupObjectUserInterface2::UpdateWindowRegion(HWND window)
{
    if (FAILED(CheckIsWindow(window)))
        return E_FAIL;
    HRGN region = CreateRectRgn(0, 0, m_width, m_height);
    if (region == nullptr)
        return E_FAIL;
    StaticBoundsObject<float, MaxFrames> sizes;
    const int32_t count = std::min<int32_t>(m_element_count, MaxFrames);
    for (int32_t i = 0; i < count; ++i)
        sizes.GetElement(i) = FrameSize(i);
    const float fixed = FixedLength(sizes, count);
    const uint32_t layout = m_style_flags & 0xFF;
    RECT inside = {0, 14, m_width, m_height - 4};
    float pos = 0.0f;
    for (int32_t i = 0; i < count; ++i) {
        if (layout == LayoutOneAboveTheOther)
            NextBand(sizes.GetElement(i), m_height, fixed, pos, 4, 3, 3, inside.top, inside.bottom);
        else if (layout == LayoutSideBySide)
            NextBand(sizes.GetElement(i), m_width, fixed, pos, 4, 3, 3, inside.left, inside.right);
        // An inverted rectangle would cut the area beside the frame.
        if (inside.right <= inside.left || inside.bottom <= inside.top)
            continue;
        AutoGDIObject cut(CreateRectRgnIndirect(&inside));
        CombineRgn(region, region, static_cast<HRGN>(cut.Get()), RGN_XOR);
    }
    // The system owns the region from here on.
    if (SetWindowRgn(window, region, FALSE) != 0)
        return S_OK;
    DeleteObject(region);
    return E_FAIL;
}

HRESULT GroupObjectUserInterface2::OnSizeWindow(HWND window, WPARAM, LPARAM, uint64_t)
{
    try {
        const HRESULT shaped = UpdateWindowRegion(window);
        if (FAILED(shaped))
            return shaped;
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GroupObjectUserInterface2::SetupGeneralCycle(uint32_t)
{
    try {
        InfoActionUserInterface2& action = m_actions.GetElement(FrameSlot);
        action = InfoActionUserInterface2();
        action.m_flags = InfoActionUserInterface2::FlagsEmptyLayer;
        action.m_repeat_count = 1;
        action.m_callback = DrawFramesAction;
        action.m_callback_context = 0;
        action.m_source_index = -1;
        action.m_destination_index = 0;
        m_finall_buffer_choice = 0;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GroupObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        if (m_property_tables.GetElement(0).GetCount() == 0 || m_property_changed.GetElement(0).GetCount() == 0 ||
            m_property_counts.GetElement(0) < 1)
            return E_UNEXPECTED;
        return OnSizeWindow(m_window, 0, 0, 0);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GroupObjectUserInterface2::OnElementInfoChanged()
{
    return S_OK;
}

// A group of no area keeps its rebuild flag, so its ticks draw nothing.
HRESULT GroupObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        m_rebuild_in_progress = 1;
        const HRESULT resized = m_array_general_buffers.GetElement(0).ResizeBuffer(m_width, m_height);
        if (m_width > 0 && m_height > 0)
            m_rebuild_in_progress = 0;
        return resized;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t GroupObjectUserInterface2::GetIndexElementFromPoint(int32_t, int32_t)
{
    return 0;
}

HRESULT GroupObjectUserInterface2::DrawFramesAction(BaseUserInterface* widget, uintptr_t context, int32_t slot,
                                                    int32_t run, uint32_t timeLow, uint32_t timeHigh)
{
    try {
        const HRESULT check = CheckParamActionFunction(widget, context, slot, run, timeLow, timeHigh);
        if (check < 0 || context != 0)
            return E_FAIL;
        if (slot != static_cast<int32_t>(FrameSlot))
            return check;
        return static_cast<GroupObjectUserInterface2*>(widget)->DrawFrames();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GroupObjectUserInterface2::DrawFrames()
{
    InfoGeneralBufferForUserInterface2& picture = m_array_general_buffers.GetElement(0);
    if (picture.m_rgb_buffers.GetElement(0) == nullptr || picture.IsChanged() == 0)
        return S_OK;
    GroupFrameDrawing drawing;
    drawing.m_layout = m_style_flags;
    drawing.m_fill = FromColorRef(m_gdi_table.GetElement(FillEntry).m_color);
    drawing.m_frame = FromColorRef(m_gdi_table.GetElement(FrameEntry).m_color);
    drawing.m_count = std::min<int32_t>(m_element_count, MaxFrames);
    drawing.m_rounded = (m_style_flags & StyleRoundCorners) != 0 ? 1 : 0;
    for (int32_t i = 0; i < drawing.m_count; ++i) {
        drawing.m_captions[i] = m_elements.GetElement(i).Field(FieldCaption).m_value.m_text.GetString();
        drawing.m_sizes.GetElement(i) = FrameSize(i);
    }
    const InfoGDIUserInterface2& caption = m_gdi_table.GetElement(CaptionEntry);
    drawing.m_caption_font.m_text_color = caption.m_color;
    drawing.m_caption_font.m_font = CreateFontIndirectA(&caption.m_font);
    InfoLayerLookUserInterface2 look;
    look.m_draw = DrawFramesToContext;
    look.m_record = &drawing;
    look.m_record_size = DrawingTag;
    const HRESULT drawn = DrawLayer(0, look);
    if (FAILED(drawn))
        m_object_name.DumpString();
    return drawn;
}
