// The description records of a widget: typed values (properties and element fields), element
// descriptions and the entries of the font and colour table. Owners fill them and hand lists of
// them to a widget's operations.
#pragma once

#include "StaticAndDynamicBoundsObject.h"

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <cstdint>

// Left, top, width and height of an element's area.
struct InfoRectUserInterface2
{
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;

    // Strictly inside: a point on an edge is outside.
    bool HoldsStrictly(int32_t x, int32_t y) const;
};

struct InfoValueUserInterface2
{
    bool m_bool = false;
    float m_float = 0.0f;
    int32_t m_int = 0;
    InfoRectUserInterface2 m_rect;
    uint8_t m_flag = 0;
    DynamicString m_text;
};

// A value with its type code. The typed reads give the value of the asked type whatever type is
// stored, as callers rely on.
struct InfoTypedValueUserInterface2
{
    enum Type : int32_t
    {
        TypeNone = 0,
        TypeFloat = 3,
        TypeRect = 6,
        TypeText = 7,
        TypeBool = 8,
        TypeInt = 9,
    };

    InfoTypedValueUserInterface2() = default;
    InfoTypedValueUserInterface2(const InfoTypedValueUserInterface2& other) = default;
    // Copies type and value; assigning a value to itself throws 241.
    InfoTypedValueUserInterface2& operator=(const InfoTypedValueUserInterface2& other);
    // Same type and an equal value of that type; comparing a value with itself throws 241.
    bool operator==(const InfoTypedValueUserInterface2& other) const;

    void SetFloat(float value);
    void SetRect(int32_t left, int32_t top, int32_t width, int32_t height);
    void SetText(const char* text);
    void SetBool(bool value);
    void SetInt(int32_t value);
    // Type 0 with a cleared value.
    void Reset();

    int32_t m_type = TypeNone;
    InfoValueUserInterface2 m_value;
};

// Bits of an element's state word (field 7).
enum ElementStateUserInterface2 : uint32_t
{
    ElementStateToggle = 0x00000001,
    ElementStateDisabled = 0x00000002,
    ElementStateExclusive = 0x00000004,
    ElementStateNotifyDisabled = 0x00000008,
    ElementStateChecked = 0x10000000,
    ElementStateSilent = 0x20000000,
};

// One clickable or drawable part of a widget.
struct InfoElementUserInterface2
{
    static constexpr uint32_t FieldCount = 14;
    enum Field : uint32_t
    {
        FieldRect = 5,    // area of the hit test
        FieldCommand = 6, // command id of WM_COMMAND, 0 for none
        FieldState = 7,   // state word
    };

    InfoElementUserInterface2();
    InfoElementUserInterface2(const InfoElementUserInterface2& other) = default;
    // Copies header and fields; each change flag is taken from the source when set there and kept
    // otherwise. Copying a description onto itself throws 241.
    InfoElementUserInterface2& operator=(const InfoElementUserInterface2& other);

    bool IsUsed() const { return m_header_flag != 0; }
    uint32_t GetStateWord() const { return static_cast<uint32_t>(m_fields.GetElement(FieldState).m_value.m_int); }
    InfoTypedValueUserInterface2& Field(uint32_t index) { return m_fields.GetElement(index); }
    const InfoTypedValueUserInterface2& Field(uint32_t index) const { return m_fields.GetElement(index); }
    void SetAllChanged(uint8_t value) { m_changed.Fill(value); }

    uint8_t m_header_flag = 0;
    uint16_t m_notification_code = 0;
    StaticBoundsObject<InfoTypedValueUserInterface2, FieldCount> m_fields;
    StaticBoundsObject<uint8_t, FieldCount> m_changed;
};

// One entry of the font and colour table.
struct InfoGDIUserInterface2
{
    InfoGDIUserInterface2() = default;
    InfoGDIUserInterface2(const InfoGDIUserInterface2& other) = default;
    // Copying an entry onto itself throws 241.
    InfoGDIUserInterface2& operator=(const InfoGDIUserInterface2& other);

    COLORREF m_color = 0;
    LOGFONTA m_font = {};
};

static_assert(sizeof(InfoGDIUserInterface2) == 64, "a colour and a font, as owners fill them");

constexpr uint32_t GDITableSizeUserInterface2 = 256;

// Fills the default colours and fonts; the colours first, in their fixed order. 0x8000FFFF for a
// null table, or when the table is shorter than an index (the entries before it stay filled).
HRESULT FillDefaultGDITableUserInterface2(DynamicBoundsObject<InfoGDIUserInterface2>* table);

using ElementListUserInterface2 = DynamicBoundsObject<InfoElementUserInterface2>;
using TypedValueListUserInterface2 = DynamicBoundsObject<InfoTypedValueUserInterface2>;
using GDIListUserInterface2 = DynamicBoundsObject<InfoGDIUserInterface2>;
using IndexListUserInterface2 = DynamicBoundsObject<int32_t>;
