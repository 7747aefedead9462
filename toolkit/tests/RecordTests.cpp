#include "InfoUserInterface2Records.h"

#include "ThrownInteger.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

InfoTypedValueUserInterface2 Typed(int32_t type, int32_t number)
{
    InfoTypedValueUserInterface2 value;
    switch (type) {
    case InfoTypedValueUserInterface2::TypeFloat:
        value.SetFloat(static_cast<float>(number) / 2);
        break;
    case InfoTypedValueUserInterface2::TypeRect:
        value.SetRect(number, 1, 2, 3);
        break;
    case InfoTypedValueUserInterface2::TypeText:
        value.SetText(number == 0 ? "zero" : "other");
        break;
    case InfoTypedValueUserInterface2::TypeBool:
        value.SetBool(number != 0);
        break;
    default:
        value.SetInt(number);
        break;
    }
    return value;
}

} // namespace

TEST(TypedValue, EqualWhenTypeAndValueOfThatTypeMatch)
{
    for (int32_t type : {3, 6, 7, 8, 9}) {
        SCOPED_TRACE(type);
        EXPECT_TRUE(Typed(type, 0) == Typed(type, 0));
        EXPECT_FALSE(Typed(type, 0) == Typed(type, 1));
    }
    // The same number under another type is another value.
    EXPECT_FALSE(Typed(9, 1) == Typed(8, 1));
}

TEST(TypedValue, AssignmentCopiesTypeAndValue)
{
    InfoTypedValueUserInterface2 target;
    target.SetInt(5);
    InfoTypedValueUserInterface2 source = Typed(InfoTypedValueUserInterface2::TypeText, 0);
    source.m_value.m_int = 6; // the whole value record travels, whatever the type
    target = source;
    EXPECT_EQ(target.m_type, InfoTypedValueUserInterface2::TypeText);
    EXPECT_STREQ(target.m_value.m_text.GetString(), "zero");
    EXPECT_EQ(target.m_value.m_int, 6);

    target.Reset();
    EXPECT_EQ(target.m_type, InfoTypedValueUserInterface2::TypeNone);
    EXPECT_EQ(target.m_value.m_int, 0);
    EXPECT_EQ(target.m_value.m_text.GetLenString(), 0u);
}

TEST(Records, SelfAssignmentAndSelfComparisonThrow241)
{
    InfoTypedValueUserInterface2 value;
    InfoElementUserInterface2 element;
    InfoGDIUserInterface2 entry;
    auto& valueAlias = value;
    auto& elementAlias = element;
    auto& entryAlias = entry;
    EXPECT_EQ(ThrownInteger([&] { value = valueAlias; }), 241);
    EXPECT_EQ(ThrownInteger([&] { (void)(value == valueAlias); }), 241);
    EXPECT_EQ(ThrownInteger([&] { element = elementAlias; }), 241);
    EXPECT_EQ(ThrownInteger([&] { entry = entryAlias; }), 241);
}

TEST(ElementDescription, CopyTakesSetFlagsFromTheSourceAndKeepsTheOthers)
{
    InfoElementUserInterface2 source;
    source.m_header_flag = 1;
    source.m_notification_code = 3;
    source.Field(InfoElementUserInterface2::FieldCommand).SetInt(77);
    source.SetAllChanged(0);
    source.m_changed.GetElement(6) = 1;

    InfoElementUserInterface2 target;
    target.SetAllChanged(0);
    target.m_changed.GetElement(2) = 1;
    target = source;

    EXPECT_EQ(target.m_header_flag, 1);
    EXPECT_EQ(target.m_notification_code, 3);
    EXPECT_EQ(target.Field(InfoElementUserInterface2::FieldCommand).m_value.m_int, 77);
    for (uint32_t field = 0; field < InfoElementUserInterface2::FieldCount; ++field)
        EXPECT_EQ(target.m_changed.GetElement(field), field == 2 || field == 6 ? 1 : 0) << field;

    // A new description has every field marked changed.
    const InfoElementUserInterface2 fresh;
    for (uint32_t field = 0; field < InfoElementUserInterface2::FieldCount; ++field)
        EXPECT_EQ(fresh.m_changed.GetElement(field), 1);
}

TEST(GDITable, DefaultColoursAndFonts)
{
    DynamicBoundsObject<InfoGDIUserInterface2> table;
    table.Init(GDITableSizeUserInterface2, 0);
    ASSERT_EQ(FillDefaultGDITableUserInterface2(&table), S_OK);

    const std::vector<std::pair<uint32_t, COLORREF>> colours = {
        {0, 0x0000FF},   {1, 0},          {2, 0x788223},   {3, 0x00FF00},   {4, 0x321E00},   {5, 0},
        {6, 0x646423},   {32, 0x464600},  {53, 0x646423},  {64, 0x005000},  {65, 0x786400},  {66, 0},
        {128, 0xFFFFFF}, {129, 0},        {130, 0xC8DC50}, {133, 0},        {134, 0xB46400}, {135, 0xFFFFFF},
        {136, 0xFFFFFF}, {7, 0},          {137, 0},        {255, 0},
    };
    for (const auto& [index, colour] : colours)
        EXPECT_EQ(table.GetElement(index).m_color, colour) << index;

    for (uint32_t index = 128; index <= 136; ++index) {
        SCOPED_TRACE(index);
        const LOGFONTA& font = table.GetElement(index).m_font;
        EXPECT_EQ(font.lfHeight, index == 135 ? 18 : 16);
        EXPECT_EQ(font.lfWidth, index == 135 ? 8 : index == 136 ? 6 : 7);
        EXPECT_EQ(font.lfEscapement, 0);
        EXPECT_EQ(font.lfOrientation, 0);
        EXPECT_EQ(font.lfWeight, 900);
        EXPECT_EQ(font.lfItalic | font.lfUnderline | font.lfStrikeOut | font.lfCharSet, 0);
        EXPECT_EQ(font.lfOutPrecision, OUT_TT_PRECIS);
        EXPECT_EQ(font.lfClipPrecision, 0);
        EXPECT_EQ(font.lfQuality, CLEARTYPE_QUALITY);
        EXPECT_EQ(font.lfPitchAndFamily, 0x31);
        EXPECT_EQ(font.lfFaceName[0], 0);
    }
    // Entries without a font keep a zero one.
    const LOGFONTA zero = {};
    EXPECT_EQ(std::memcmp(&table.GetElement(0).m_font, &zero, sizeof(zero)), 0);
}

TEST(GDITable, ShortTableIsRefusedAfterTheColoursBeforeTheMissingIndex)
{
    EXPECT_EQ(FillDefaultGDITableUserInterface2(nullptr), E_UNEXPECTED);

    // Filled in the order 53, 32, 4, 0, 1, 2, 3, 5, 48-52, then 54 is missing.
    DynamicBoundsObject<InfoGDIUserInterface2> table;
    table.Init(54, 0);
    EXPECT_EQ(FillDefaultGDITableUserInterface2(&table), E_UNEXPECTED);
    EXPECT_EQ(table.GetElement(53).m_color, 0x646423u);
    EXPECT_EQ(table.GetElement(32).m_color, 0x464600u);
    EXPECT_EQ(table.GetElement(0).m_color, 0x0000FFu);
    EXPECT_EQ(table.GetElement(6).m_color, 0u); // last in the order, never reached

    DynamicBoundsObject<InfoGDIUserInterface2> tooShortForTheFirst;
    tooShortForTheFirst.Init(40, 0);
    EXPECT_EQ(FillDefaultGDITableUserInterface2(&tooShortForTheFirst), E_UNEXPECTED);
    EXPECT_EQ(tooShortForTheFirst.GetElement(32).m_color, 0u);
}
