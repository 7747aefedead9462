// The property page: three lists side by side that show the skin folders the program can use, the
// widget kinds of the toolkit and the properties of the kind selected in the second list. It only
// lists them; nothing here changes a property. It is a page and belongs to its window's thread.
#pragma once

#include "ListObjectUserInterface2.h"
#include "PageObjectUserInterface2.h"

#include <cstdint>

// One listed property: its identifier (a colour or font entry, or a typed property index), its
// default and its display name.
struct InfoPropertyControlUserInterface2
{
    InfoTypedValueUserInterface2 m_typed_value;
    InfoValueUserInterface2 m_value;
    DynamicString m_name;
};

// One widget kind of the catalogue with its properties.
struct InfoElementKindControlUserInterface2
{
    uint32_t m_kind = 0;
    DynamicBoundsObject<InfoPropertyControlUserInterface2> m_properties;
    DynamicString m_name;
};

class ObjectForControlPropertyUserInterface2 : public PageObjectUserInterface2
{
public:
    static constexpr uint32_t SkinListId = 4000;
    static constexpr uint32_t ElementListId = 4001;
    static constexpr uint32_t PropertyListId = 4002;
    static constexpr uint32_t WindowSlotCount = 3;
    static constexpr uint32_t KindCount = 10;

    explicit ObjectForControlPropertyUserInterface2(HINSTANCE module);
    ~ObjectForControlPropertyUserInterface2() override;

    // Builds the page's own three lists, whatever description is handed over, and fills them.
    HRESULT UpdatePageReal(const InfoPageUserInterface2* description) override;
    // Index 1 (the skin folder's path) also refills the skin list.
    HRESULT SetTextVarForObjectReal(int32_t index, const char* text) override;
    // Selection changes of the three lists; a new kind selected refills the property list.
    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    // Slots 0..2: slot 0 is the page's parent; 1 and 2 make the page its own receiver.
    HRESULT SetWindowReal(int32_t slot, HWND window) override;

protected:
    void FillCatalogue();
    // Gives a list of the page the default list look without a header, and its columns.
    HRESULT SetUpList(uint32_t id, const HeaderListUserInterface2& columns);
    HRESULT FillChildElementsListWindow();
    // -1: no kind; the list is only emptied.
    HRESULT FillPropertyListWindow(int32_t kind);
    HRESULT FillSkinListWindow();
    // Borrows the list with the id, runs the fill on it and gives it back; 1 when it cannot be borrowed.
    template <class Fill>
    HRESULT FillList(uint32_t id, Fill fill);

    StaticBoundsObject<HWND, WindowSlotCount> m_windows;
    DynamicBoundsObject<InfoElementKindControlUserInterface2> m_catalogue;
};
