#include "TestWidget.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Calls = std::vector<std::string>;

TypedValueListUserInterface2 MakeValues(const std::vector<InfoTypedValueUserInterface2>& values)
{
    return MakeList(values);
}

InfoTypedValueUserInterface2 Int(int32_t value)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetInt(value);
    return typed;
}

InfoTypedValueUserInterface2 Text(const char* value)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetText(value);
    return typed;
}

} // namespace

// Three used elements (0 to 2), one description in the list that is not used (3).
class DescriptionUpdateTest : public testing::Test
{
protected:
    DescriptionUpdateTest()
        : m_widget(m_record,
                   MakeElementList({MakeElement(10, 10, 40, 10, 1), MakeElement(30, 5, 10, 30, 2),
                                    MakeElement(60, 0, 20, 20, 3, ElementStateDisabled), InfoElementUserInterface2()}),
                   {.m_count = 4})
    {
        for (uint32_t i = 0; i < 16; ++i)
            m_widget.m_elements.GetElement(i).SetAllChanged(0);
    }

    const InfoTypedValueUserInterface2& Property(uint32_t table, uint32_t index)
    {
        return m_widget.m_property_tables.GetElement(table).GetElement(index);
    }
    int ChangedProperties(uint32_t table)
    {
        int count = 0;
        const auto& flags = m_widget.m_property_changed.GetElement(table);
        for (uint32_t i = 0; i < flags.GetCount(); ++i)
            count += flags.GetElement(i);
        return count;
    }
    uint32_t State(uint32_t element) { return m_widget.m_elements.GetElement(element).GetStateWord(); }

    HookRecord m_record;
    TestWidget m_widget;
};

TEST_F(DescriptionUpdateTest, TextIndexOneStoresMarksAndRunsTheHooks)
{
    EXPECT_EQ(m_widget.SetTextVarForObjectReal(0, "x"), E_UNEXPECTED);
    EXPECT_EQ(m_widget.SetTextVarForObjectReal(2, "x"), S_OK);
    EXPECT_EQ(m_widget.m_text.GetLenString(), 0u);
    EXPECT_TRUE(m_record.m_calls.empty());

    EXPECT_EQ(m_widget.SetTextVarForObjectReal(1, "Skins"), S_OK);
    EXPECT_STREQ(m_widget.m_text.GetString(), "Skins");
    EXPECT_EQ(m_record.m_calls, (Calls{"OnElementInfoChanged", "OnGeneralInfoChanged"}));
    // The seven text properties and fields 0, 1 and 4 of the used elements were marked for the hooks.
    EXPECT_EQ(m_record.m_changed_properties_seen, 7);
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(m_record.m_element_flags_seen[i], (i < 3 ? std::vector<int>{0, 1, 4} : std::vector<int>{})) << i;
    EXPECT_EQ(ChangedProperties(0), 0);
}

TEST_F(DescriptionUpdateTest, FrozenWidgetStoresWithoutHooksAndUnfreezingRunsThemOnce)
{
    m_widget.m_array_general_buffers.GetElement(5).ResizeBuffer(40, 40);
    EXPECT_EQ(m_widget.ControlStatObjectShowReal(2, 1), S_OK);
    EXPECT_EQ(m_widget.m_frozen, 1);
    EXPECT_EQ(m_widget.m_array_general_buffers.GetElement(5).m_max_size_byte_buffer, 0);
    EXPECT_EQ(m_widget.m_array_general_buffers.GetElement(5).IsChanged(), 1u);
    EXPECT_EQ(m_widget.m_finall_rgb.m_size, 0u);

    EXPECT_EQ(m_widget.SetTextVarForObjectReal(1, "Frozen"), S_OK);
    const auto values = MakeValues({Int(3)});
    const auto indexes = MakeIndexList({7});
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(0, &values, &indexes, 1), S_OK);
    EXPECT_STREQ(m_widget.m_text.GetString(), "Frozen");
    EXPECT_EQ(Property(0, 7).m_value.m_int, 3);
    EXPECT_TRUE(m_record.m_calls.empty());

    EXPECT_EQ(m_widget.ControlStatObjectShowReal(2, 0), S_OK);
    EXPECT_EQ(m_record.m_calls, (Calls{"OnElementInfoChanged", "OnGeneralInfoChanged"}));
    EXPECT_EQ(m_widget.ControlStatObjectShowReal(2, 0), S_OK); // unchanged: nothing more
    EXPECT_EQ(m_record.m_calls.size(), 2u);
}

TEST_F(DescriptionUpdateTest, PropertyTableZeroKeepsItsSizeAndTypes)
{
    // A text into a text entry, an integer into a text entry (skipped), indexes out of range.
    const auto values = MakeValues({Text("skin.bmp"), Int(9), Int(1), Int(2), Int(42)});
    const auto indexes = MakeIndexList({2, 3, -1, 128, 7});
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(0, &values, &indexes, 5), S_OK);
    EXPECT_STREQ(Property(0, 2).m_value.m_text.GetString(), "skin.bmp");
    EXPECT_EQ(Property(0, 3).m_type, InfoTypedValueUserInterface2::TypeText);
    EXPECT_EQ(Property(0, 3).m_value.m_int, 0);
    EXPECT_EQ(Property(0, 7).m_value.m_int, 42);
    EXPECT_EQ(m_record.m_changed_properties_seen, 2); // entries 2 and 7
    EXPECT_EQ(m_record.m_calls, (Calls{"OnGeneralInfoChanged"}));
    EXPECT_EQ(ChangedProperties(0), 0);
    EXPECT_EQ(m_widget.m_property_tables.GetElement(0).GetCount(), 128u);

    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(0, &values, &indexes, 129), E_FAIL);
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(2, &values, &indexes, 1), E_UNEXPECTED);
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(-1, &values, &indexes, 1), E_UNEXPECTED);
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(0, &values, &indexes, -1), E_UNEXPECTED);
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(0, nullptr, &indexes, 1), E_INVALIDARG);
    // Lists shorter than the count: the entries before stay copied.
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(0, &values, &indexes, 6), E_FAIL);
}

TEST_F(DescriptionUpdateTest, PropertyTableOneGrowsToTheLargestUpdate)
{
    std::vector<InfoTypedValueUserInterface2> twelve;
    for (int32_t i = 0; i < 12; ++i)
        twelve.push_back(Int(100 + i));
    const auto values = MakeValues(twelve);
    const auto identity = MakeIndexList({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});

    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(1, &values, &identity, 8), S_OK);
    EXPECT_EQ(m_widget.m_property_counts.GetElement(1), 8);
    EXPECT_EQ(m_widget.m_property_tables.GetElement(1).GetCount(), 8u);
    EXPECT_EQ(Property(1, 7).m_value.m_int, 107);

    // Count 5 keeps 8 entries; the copied values may change the type.
    const auto texts = MakeValues({Text("a"), Text("b"), Text("c"), Text("d"), Text("e")});
    const auto reversed = MakeIndexList({4, 3, 2, 1, 0});
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(1, &texts, &reversed, 5), S_OK);
    EXPECT_EQ(m_widget.m_property_counts.GetElement(1), 8);
    EXPECT_STREQ(Property(1, 0).m_value.m_text.GetString(), "e");
    EXPECT_EQ(Property(1, 6).m_value.m_int, 106);

    // Count 12 resets all twelve entries before copying: entries not named stay type 0.
    const auto sparse = MakeIndexList({11, 20, -4, 11, 11, 11, 11, 11, 11, 11, 11, 11});
    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(1, &values, &sparse, 12), S_OK);
    EXPECT_EQ(m_widget.m_property_counts.GetElement(1), 12);
    EXPECT_EQ(Property(1, 0).m_type, InfoTypedValueUserInterface2::TypeNone);
    EXPECT_EQ(Property(1, 6).m_type, InfoTypedValueUserInterface2::TypeNone);
    EXPECT_EQ(Property(1, 11).m_value.m_int, 111);
    EXPECT_EQ(ChangedProperties(1), 0);

    EXPECT_EQ(m_widget.UpdateGeneralInfoForObjectReal(1, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(m_widget.m_property_counts.GetElement(1), 12);
}

TEST_F(DescriptionUpdateTest, ElementsAreMergedAndExclusiveGroupsKeepOneChecked)
{
    const uint32_t group = ElementStateToggle | ElementStateExclusive;
    auto elements = MakeElementList({MakeElement(10, 10, 40, 10, 1, group | ElementStateChecked),
                                     MakeElement(30, 5, 10, 30, 2, group), MakeElement(0, 0, 5, 5, 5)});
    for (uint32_t i = 0; i < 3; ++i)
        elements.GetElement(i).SetAllChanged(0);
    elements.GetElement(1).m_changed.GetElement(6) = 1;
    auto indexes = MakeIndexList({0, 1, 9});
    EXPECT_EQ(m_widget.SetElementInfoFromIndexReal(&elements, &indexes, 3), S_OK);
    EXPECT_EQ(State(0), group | ElementStateChecked);
    EXPECT_EQ(State(1), group);
    EXPECT_EQ(m_widget.m_elements.GetElement(3).m_header_flag, 0); // index 9 is beyond the count

    // Checking member 1 unchecks member 0 and marks its state.
    elements.GetElement(0) = MakeElement(30, 5, 10, 30, 2, group | ElementStateChecked);
    elements.GetElement(0).SetAllChanged(0);
    indexes = MakeIndexList({1});
    m_record = {};
    EXPECT_EQ(m_widget.SetElementInfoFromIndexReal(&elements, &indexes, 1), S_OK);
    EXPECT_EQ(State(1), group | ElementStateChecked);
    EXPECT_EQ(State(0), group);
    EXPECT_EQ(m_record.m_calls, (Calls{"OnElementInfoChanged", "RebuildObject"}));
    EXPECT_EQ(m_record.m_element_flags_seen[0], std::vector<int>{7});
    for (uint32_t i = 0; i < 16; ++i)
        for (uint32_t field = 0; field < 14; ++field)
            EXPECT_EQ(m_widget.m_elements.GetElement(i).m_changed.GetElement(field), 0);

    // Count 0 marks every field of every element for a full redraw.
    m_record = {};
    EXPECT_EQ(m_widget.SetElementInfoFromIndexReal(nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(m_record.m_element_flags_seen[15].size(), 14u);
}

TEST_F(DescriptionUpdateTest, ElementsAreReadByIndex)
{
    auto elements = MakeElementList({InfoElementUserInterface2(), InfoElementUserInterface2()});
    const auto indexes = MakeIndexList({2, 7});
    EXPECT_EQ(m_widget.GetElementInfoFromIndexReal(&elements, &indexes, 0), E_UNEXPECTED);
    EXPECT_EQ(m_widget.GetElementInfoFromIndexReal(&elements, &indexes, 2), S_OK);
    EXPECT_EQ(elements.GetElement(0).Field(6).m_value.m_int, 3);
    EXPECT_EQ(elements.GetElement(0).GetStateWord(), static_cast<uint32_t>(ElementStateDisabled));
    EXPECT_EQ(elements.GetElement(1).m_header_flag, 0); // 7 is beyond the count: untouched
}

TEST_F(DescriptionUpdateTest, FontTableUpdates)
{
    GDIListUserInterface2 entries;
    entries.Init(300, 0);
    for (uint32_t i = 0; i < 300; ++i)
        entries.GetElement(i).m_color = 0x10000 + i;

    EXPECT_EQ(m_widget.UpdateGDIInfoForObjectReal(nullptr, nullptr, 1), E_INVALIDARG);
    EXPECT_EQ(m_widget.UpdateGDIInfoForObjectReal(&entries, nullptr, -1), E_UNEXPECTED);

    m_widget.m_array_general_buffers.GetElement(2).ResizeBuffer(4, 4);
    m_widget.m_array_general_buffers.GetElement(2).ClearChanged();
    EXPECT_EQ(m_widget.UpdateGDIInfoForObjectReal(&entries, nullptr, 300), S_OK);
    EXPECT_EQ(m_widget.m_gdi_table.GetElement(255).m_color, 0x10000u + 255);
    EXPECT_EQ(m_widget.m_gdi_table.GetCount(), 256u);
    EXPECT_EQ(m_record.m_changed_fonts_seen, 256);
    EXPECT_EQ(m_widget.m_gdi_changed.GetElement(0), 0);
    EXPECT_EQ(m_widget.m_array_general_buffers.GetElement(2).IsChanged(), 1u);
    EXPECT_EQ(m_widget.m_array_general_buffers.GetElement(9).IsChanged(), 0u); // no storage
    EXPECT_EQ(m_widget.m_finall_buffer.IsChanged(), 1u);

    // With an index list only the named entries change; an index of 256 ends it, keeping the earlier.
    entries.GetElement(0).m_color = 0xAA;
    entries.GetElement(1).m_color = 0xBB;
    const auto indexes = MakeIndexList({40, 41});
    EXPECT_EQ(m_widget.UpdateGDIInfoForObjectReal(&entries, &indexes, 2), S_OK);
    EXPECT_EQ(m_widget.m_gdi_table.GetElement(41).m_color, 0xBBu);
    EXPECT_EQ(m_record.m_changed_fonts_seen, 2);

    const auto pastTheEnd = MakeIndexList({50, 256, 51});
    EXPECT_EQ(m_widget.UpdateGDIInfoForObjectReal(&entries, &pastTheEnd, 3), E_FAIL);
    EXPECT_EQ(m_widget.m_gdi_table.GetElement(50).m_color, 0xAAu);
    EXPECT_NE(m_widget.m_gdi_table.GetElement(51).m_color, 0xBBu);

    // The widget's own table as the source: entry 0 goes to 5, then entry 1 onto itself is refused.
    GDIListUserInterface2& own = m_widget.m_gdi_table;
    own.GetElement(0).m_color = 0x123456;
    const auto ownIndexes = MakeIndexList({5, 1, 6});
    EXPECT_EQ(m_widget.UpdateGDIInfoForObjectReal(&own, &ownIndexes, 3), E_FAIL);
    EXPECT_EQ(own.GetElement(5).m_color, 0x123456u);
    EXPECT_NE(own.GetElement(6).m_color, own.GetElement(2).m_color);
}

TEST_F(DescriptionUpdateTest, HitTestOnEdgesAndCorners)
{
    struct Case
    {
        int32_t x, y, element;
    };
    // Element 0: (10, 10, 40, 10); element 1: (30, 5, 10, 30); element 2 disabled: (60, 0, 20, 20).
    const Case cases[] = {
        {10, 15, -1}, {11, 15, 0},  {49, 15, 0},  {50, 15, -1}, {20, 10, -1}, {20, 11, 0},  {20, 19, 0},
        {20, 20, -1}, {10, 10, -1}, {50, 20, -1}, {11, 11, 0},  {49, 19, 0},  {35, 15, 0},  {35, 25, 1},
        {35, 5, -1},  {30, 25, -1}, {65, 5, 2},   {0, 0, -1},   {-5, -5, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_widget.GetIndexElementFromPoint(c.x, c.y), c.element) << c.x << ", " << c.y;

    // An element that is not in use, or beyond the count, is never hit.
    m_widget.m_elements.GetElement(3).Field(5).SetRect(100, 100, 50, 50);
    m_widget.m_elements.GetElement(5) = MakeElement(200, 200, 50, 50);
    EXPECT_EQ(m_widget.GetIndexElementFromPoint(120, 120), -1);
    EXPECT_EQ(m_widget.GetIndexElementFromPoint(220, 220), -1);
}
