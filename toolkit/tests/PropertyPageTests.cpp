// The property page: its three lists, the kinds and their properties, the skin folders, its window
// slots and the selection changes it logs.
#include "ObjectControlPropertyUserInterface2.h"
#include "PageTestSupport.h"

#include "LogCapture.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using PropertyPage = ObjectForControlPropertyUserInterface2;

class TestPropertyPage : public CellAccess<PropertyPage>
{
public:
    TestPropertyPage() : CellAccess(nullptr) {}

    using PropertyPage::m_list_notifications;
    using PropertyPage::m_windows;
};

// Windows-1251 bytes of the catalogue's display names.
const std::string CommonKindName =
    "\xCE\xE1\xF9\xE8\xE5 \xF1\xE2\xEE\xE9\xF1\xF2\xE2\xE0 \xE4\xEB\xFF \xE2\xF1\xE5\xF5 "
    "\xFD\xEB\xE5\xEC\xE5\xED\xF2\xEE\xE2";
const std::string ListKindName = "\xCB\xE8\xED\xE5\xE9\xED\xFB\xE9 \xF1\xEF\xE8\xF1\xEE\xEA";
const std::string ListBackgroundName = "\xD6\xE2\xE5\xF2 \xF4\xEE\xED\xE0 \xF1\xEF\xE8\xF1\xEA\xE0";

class PropertyPageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_page.CreateObject();
        m_page.SetWindowReal(1, nullptr);
        m_page.ControlStatObjectShowReal(BaseUserInterface::StateShown, 1);
        m_page.MoveObjectReal(0, 0, 720, 416);
    }

    void Build(const std::string& skinPath = "")
    {
        m_page.SetTextVarForObjectReal(1, skinPath.c_str());
        ASSERT_EQ(m_page.UpdatePage(nullptr), S_OK);
    }

    ListObjectUserInterface2& List(uint32_t id)
    {
        BaseUserInterface* widget = nullptr;
        m_page.GetChildObjectUserInterfaceReal(id, &widget, ChildKindList);
        m_page.FreeChildObjectUserInterfaceReal(widget, ChildKindList);
        return dynamic_cast<ListObjectUserInterface2&>(*widget);
    }

    std::vector<std::string> FirstCells(uint32_t id)
    {
        ListObjectUserInterface2& list = List(id);
        int32_t count = 0;
        list.UpdateIndexFromTypeReal(ListObjectUserInterface2::ActionGet | ListObjectUserInterface2::KindRowCount,
                                     &count);
        std::vector<std::string> texts;
        if (count == 0)
            return texts;
        RowListUserInterface2 rows;
        rows.Init(static_cast<uint32_t>(count), 0);
        list.UpdateElementsListReal(ListObjectUserInterface2::CodeRead, 0, count, &rows);
        for (int32_t i = 0; i < count; ++i)
            texts.emplace_back(rows.GetElement(static_cast<uint32_t>(i)).m_cells.GetElement(0).m_text.GetString());
        return texts;
    }

    // Selects the row as a click would; the list tells the page by a posted notification.
    void Select(uint32_t id, int32_t row)
    {
        int32_t value = row;
        List(id).UpdateIndexFromTypeReal(ListObjectUserInterface2::ActionSet | ListObjectUserInterface2::KindSelected,
                                         &value);
        PumpPending();
    }

    TestPropertyPage m_page;
};

TEST_F(PropertyPageTest, BuildsThreeFramedListsWithTheirIdsAndNoHeader)
{
    Build();

    for (uint32_t column = 0; column < 3; ++column) {
        auto* list = dynamic_cast<ListObjectUserInterface2*>(m_page.Child(0, column));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(WidgetState::ControlId(*list), PropertyPage::SkinListId + column);
        EXPECT_FALSE(WidgetState::PropertyBool(*list, 13));
        EXPECT_NE(m_page.Frame(0, column), nullptr);
        EXPECT_EQ(WidgetState::Related(*list, 1), m_page.GetHWNDReal());
    }
    EXPECT_EQ(PositionOf(*m_page.Frame(0, 1)), (Position{110, 0, 200, 416}));
    EXPECT_EQ(PositionOf(*m_page.Frame(0, 2)), (Position{310, 0, 410, 416}));
}

// What the tests read of a list's header.
struct HeaderReader : ListObjectUserInterface2
{
    static const InfoHeaderColumnUserInterface2& Column(const ListObjectUserInterface2& list, uint32_t index)
    {
        return (list.*(&HeaderReader::m_header)).GetElement(index);
    }
};

TEST_F(PropertyPageTest, ListsGetTheirColumns)
{
    Build();
    struct Expected
    {
        uint32_t m_list;
        uint32_t m_column;
        float m_width;
        int32_t m_id;
        uint32_t m_word;
        uint32_t m_text_format;
    };
    const Expected columns[] = {{PropertyPage::SkinListId, 0, 0.7f, 0x30000, 75, 37},
                                {PropertyPage::SkinListId, 1, 1.0f, 0x30000, 75, 36},
                                {PropertyPage::SkinListId, 2, 100.0f, 0x10000, 76, 37},
                                {PropertyPage::ElementListId, 0, 1.0f, 0x30000, 75, 37},
                                {PropertyPage::PropertyListId, 0, 400.0f, 0x30000, 75, 36},
                                {PropertyPage::PropertyListId, 1, 1.0f, 0x30000, 75, 36}};
    for (const Expected& expected : columns) {
        const InfoHeaderColumnUserInterface2& column = HeaderReader::Column(List(expected.m_list), expected.m_column);
        EXPECT_EQ(column.m_enabled, 1) << expected.m_list << " " << expected.m_column;
        EXPECT_EQ(column.m_width, expected.m_width) << expected.m_list << " " << expected.m_column;
        EXPECT_EQ(column.m_id, expected.m_id) << expected.m_list << " " << expected.m_column;
        EXPECT_EQ(column.m_word, expected.m_word) << expected.m_list << " " << expected.m_column;
        EXPECT_EQ(column.m_text_format, expected.m_text_format) << expected.m_list << " " << expected.m_column;
    }
    EXPECT_EQ(HeaderReader::Column(List(PropertyPage::ElementListId), 1).m_enabled, 0);
    EXPECT_STREQ(HeaderReader::Column(List(PropertyPage::PropertyListId), 1).m_title.GetString(),
                 "\xCF\xEE\xEB\xE5 \xF3\xEF\xF0\xE0\xE2\xEB\xE5\xED\xE8\xFF \xF1\xE2\xEE\xE9\xF1\xF2\xE2\xEE\xEC");
}

TEST_F(PropertyPageTest, ElementListHoldsTheTenKindsInCatalogueOrder)
{
    Build();

    const std::vector<std::string> kinds = FirstCells(PropertyPage::ElementListId);
    ASSERT_EQ(kinds.size(), 10u);
    EXPECT_EQ(kinds[0], CommonKindName);
    EXPECT_EQ(kinds[7], ListKindName);
    EXPECT_TRUE(FirstCells(PropertyPage::PropertyListId).empty());
}

TEST_F(PropertyPageTest, SelectingAKindListsItsProperties)
{
    Build();
    struct Step
    {
        int32_t m_kind;
        size_t m_rows;
    };
    const Step steps[] = {{7, 22}, {0, 8}, {1, 0}, {9, 8}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {8, 0}};
    for (const Step& step : steps) {
        Select(PropertyPage::ElementListId, step.m_kind);
        const std::vector<std::string> properties = FirstCells(PropertyPage::PropertyListId);
        EXPECT_EQ(properties.size(), step.m_rows) << "kind " << step.m_kind;
        if (step.m_kind == 7 && properties.size() == 22) {
            EXPECT_EQ(properties[0], ListBackgroundName);
            EXPECT_EQ(properties[14], "OFFSET_HEADER_ENABLE_RECT2_BOOL_LIST_WINDOW");
            EXPECT_EQ(properties[21], "OFFSET_SCROLLBAR_ROUND_RECT_BOOL_LIST_WINDOW");
        }
    }
}

TEST_F(PropertyPageTest, SkinListShowsTheSortedSiblingFoldersOfTheSkinFolder)
{
    TempFolder root;
    root.MakeFolder("skins");
    for (const char* name : {"skins\\c3", "skins\\a1", "skins\\b2", "empty"})
        root.MakeFolder(name);
    root.WriteFile("skins\\picture.bmp", "not a folder");
    root.WriteFile("empty\\picture.bmp", "not a folder");
    Build(root / "skins\\b2");

    EXPECT_EQ(FirstCells(PropertyPage::SkinListId), (std::vector<std::string>{"a1", "b2", "c3"}));

    RunOnOtherThreadWhilePumping([&] { m_page.SetTextVarForObject(1, (root / "empty\\none").c_str()); });
    EXPECT_TRUE(FirstCells(PropertyPage::SkinListId).empty());
    m_page.SetTextVarForObjectReal(1, "no backslash");
    EXPECT_TRUE(FirstCells(PropertyPage::SkinListId).empty());
}

TEST_F(PropertyPageTest, WindowSlotsOutsideTheTableAreRefused)
{
    MessageRecorder parent;
    EXPECT_EQ(m_page.SetWindowReal(3, parent.Handle()), E_UNEXPECTED);
    EXPECT_EQ(m_page.SetWindowReal(-1, parent.Handle()), E_UNEXPECTED);
    for (uint32_t slot = 0; slot < 3; ++slot)
        EXPECT_EQ(m_page.m_windows.GetElement(slot), nullptr);

    EXPECT_EQ(m_page.SetWindowReal(2, parent.Handle()), S_OK);
    EXPECT_EQ(m_page.m_windows.GetElement(2), parent.Handle());
    EXPECT_EQ(WidgetState::Related(m_page, 2), m_page.GetHWNDReal());
}

TEST_F(PropertyPageTest, SelectionChangesAreLoggedByList)
{
    Build();
    const UINT selection = m_page.m_list_notifications.GetElement(ListNotifySelection);
    const std::string prefix = "ObjectForControlPropertyUserInterface2::CompliteStandartMessage::";
    const std::pair<uint32_t, std::string> cases[] = {
        {PropertyPage::SkinListId, "WM_COMMAND::ID_LIST_PATH_BMP_RESOURCE_OBJECT_CONTROL_USER_INTERFACE"},
        {PropertyPage::ElementListId, "WM_COMMAND::ID_LIST_ELEMENTS_OBJECT_CONTROL_USER_INTERFACE"},
        {PropertyPage::PropertyListId, "WM_COMMAND::ID_LIST_PROPERTY_ELEMENTS_OBJECT_CONTROL_USER_INTERFACE"},
    };
    for (const auto& [id, text] : cases) {
        LogCapture log;
        SendMessageA(m_page.GetHWNDReal(), selection, id, 0);
        EXPECT_TRUE(log.Contains(prefix + "recive change select message")) << id;
        EXPECT_TRUE(log.Contains(prefix + text)) << id;
    }
    LogCapture log;
    SendMessageA(m_page.GetHWNDReal(), selection, 4100, 0);
    EXPECT_TRUE(log.Contains(prefix + "recive change select message"));
    EXPECT_FALSE(log.Contains(prefix + "WM_COMMAND"));
}

} // namespace
