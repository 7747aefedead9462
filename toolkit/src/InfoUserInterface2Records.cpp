#include "InfoUserInterface2Records.h"

#include "CatchAllLog.h"

bool InfoRectUserInterface2::HoldsStrictly(int32_t x, int32_t y) const
{
    // 64-bit sums: a rectangle near the int limit must not wrap.
    return m_left < x && x < static_cast<int64_t>(m_left) + m_width && m_top < y &&
           y < static_cast<int64_t>(m_top) + m_height;
}

InfoTypedValueUserInterface2& InfoTypedValueUserInterface2::operator=(const InfoTypedValueUserInterface2& other)
{
    if (&other == this)
        throw 241;
    m_type = other.m_type;
    m_value = other.m_value;
    return *this;
}

bool InfoTypedValueUserInterface2::operator==(const InfoTypedValueUserInterface2& other) const
{
    if (&other == this)
        throw 241;
    if (m_type != other.m_type)
        return false;
    const InfoValueUserInterface2& a = m_value;
    const InfoValueUserInterface2& b = other.m_value;
    switch (m_type) {
    case TypeFloat:
        return a.m_float == b.m_float;
    case TypeRect:
        return a.m_rect.m_left == b.m_rect.m_left && a.m_rect.m_top == b.m_rect.m_top &&
               a.m_rect.m_width == b.m_rect.m_width && a.m_rect.m_height == b.m_rect.m_height;
    case TypeText:
        return a.m_text == b.m_text;
    case TypeBool:
        return a.m_bool == b.m_bool;
    case TypeInt:
        return a.m_int == b.m_int;
    default:
        return true;
    }
}

void InfoTypedValueUserInterface2::SetFloat(float value)
{
    m_type = TypeFloat;
    m_value.m_float = value;
}

void InfoTypedValueUserInterface2::SetRect(int32_t left, int32_t top, int32_t width, int32_t height)
{
    m_type = TypeRect;
    m_value.m_rect = {left, top, width, height};
}

void InfoTypedValueUserInterface2::SetText(const char* text)
{
    m_type = TypeText;
    m_value.m_text = text != nullptr ? text : "";
}

void InfoTypedValueUserInterface2::SetBool(bool value)
{
    m_type = TypeBool;
    m_value.m_bool = value;
}

void InfoTypedValueUserInterface2::SetInt(int32_t value)
{
    m_type = TypeInt;
    m_value.m_int = value;
}

void InfoTypedValueUserInterface2::Reset()
{
    m_type = TypeNone;
    m_value.m_bool = false;
    m_value.m_float = 0.0f;
    m_value.m_int = 0;
    m_value.m_rect = {};
    m_value.m_flag = 0;
    m_value.m_text.NullString();
}

InfoElementUserInterface2::InfoElementUserInterface2()
{
    m_changed.Fill(1);
}

InfoElementUserInterface2& InfoElementUserInterface2::operator=(const InfoElementUserInterface2& other)
{
    if (&other == this)
        throw 241;
    m_header_flag = other.m_header_flag;
    m_notification_code = other.m_notification_code;
    for (uint32_t i = 0; i < FieldCount; ++i) {
        m_fields.GetElement(i) = other.m_fields.GetElement(i);
        if (other.m_changed.GetElement(i) != 0)
            m_changed.GetElement(i) = other.m_changed.GetElement(i);
    }
    return *this;
}

InfoGDIUserInterface2& InfoGDIUserInterface2::operator=(const InfoGDIUserInterface2& other)
{
    if (&other == this)
        throw 241;
    m_color = other.m_color;
    m_font = other.m_font;
    return *this;
}

namespace {

struct DefaultColor
{
    uint32_t m_index;
    COLORREF m_color;
};

// In the order the table is filled.
constexpr DefaultColor g_defaultColors[] = {
    {53, 0x646423}, {32, 0x464600}, {4, 0x321E00}, {0, 0x0000FF}, {1, 0x000000}, {2, 0x788223}, {3, 0x00FF00},
    {5, 0x000000},  {48, 0x000000}, {49, 0x000000}, {50, 0x000000}, {51, 0x000000}, {52, 0x000000},
    {54, 0x000000}, {64, 0x005000}, {65, 0x786400}, {66, 0x000000}, {67, 0x000000}, {6, 0x646423},
};

struct DefaultFont
{
    uint32_t m_index;
    COLORREF m_color;
    LONG m_height;
    LONG m_width;
};

constexpr DefaultFont g_defaultFonts[] = {
    {128, 0xFFFFFF, 16, 7}, {129, 0x000000, 16, 7}, {130, 0xC8DC50, 16, 7},
    {131, 0x000000, 16, 7}, {132, 0x000000, 16, 7}, {133, 0x000000, 16, 7},
    {134, 0xB46400, 16, 7}, {135, 0xFFFFFF, 18, 8}, {136, 0xFFFFFF, 16, 6},
};

LOGFONTA DefaultTextFont(LONG height, LONG width)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWidth = width;
    font.lfWeight = 900;
    font.lfOutPrecision = OUT_TT_PRECIS;
    font.lfQuality = CLEARTYPE_QUALITY;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    return font;
}

} // namespace

HRESULT FillDefaultGDITableUserInterface2(DynamicBoundsObject<InfoGDIUserInterface2>* table)
{
    try {
        if (table == nullptr)
            return E_UNEXPECTED;
        for (const DefaultColor& entry : g_defaultColors) {
            if (entry.m_index >= table->GetCount())
                return E_UNEXPECTED;
            table->GetElement(entry.m_index).m_color = entry.m_color;
        }
        for (const DefaultFont& entry : g_defaultFonts) {
            if (entry.m_index >= table->GetCount())
                return E_UNEXPECTED;
            InfoGDIUserInterface2& target = table->GetElement(entry.m_index);
            target.m_color = entry.m_color;
            target.m_font = DefaultTextFont(entry.m_height, entry.m_width);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
