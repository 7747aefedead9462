// The page's public operations: each packs its arguments and runs on the page's thread.
#include "PageObjectUserInterface2.h"

#include "PageMessagesUserInterface2.h"

HRESULT PageObjectUserInterface2::UpdatePage(const InfoPageUserInterface2* description)
{
    InfoMessageForXXXUpdatePage record;
    record.m_description = description;
    return SendOperation(m_page_messages, PageOperationUpdatePage, reinterpret_cast<WPARAM>(&record), 0,
                         "PageObjectUserInterface2::UpdatePage");
}

HRESULT PageObjectUserInterface2::GetChildObjectUserInterface(uint32_t elementId, BaseUserInterface** widget,
                                                              uint32_t kind)
{
    InfoMessageForXXXGetChildObjectUserInterface record;
    record.m_element_id = elementId;
    record.m_kind = kind;
    record.m_widget = widget;
    return SendOperation(m_page_messages, PageOperationGetChild, reinterpret_cast<WPARAM>(&record), 0,
                         "PageObjectUserInterface2::GetChildObjectUserInterface");
}

HRESULT PageObjectUserInterface2::FreeChildObjectUserInterface(BaseUserInterface* widget, uint32_t kind)
{
    InfoMessageForXXXGetChildObjectUserInterface record;
    record.m_kind = kind;
    record.m_widget = &widget;
    return SendOperation(m_page_messages, PageOperationFreeChild, reinterpret_cast<WPARAM>(&record), 0,
                         "PageObjectUserInterface2::FreeChildObjectUserInterface");
}

HRESULT PageObjectUserInterface2::SetVisibleStatusColAndRow(int32_t column, int32_t row, uint8_t visible)
{
    InfoMessageForXXXSetVisibleStatusColAndRow record;
    record.m_column = column;
    record.m_row = row;
    record.m_visible = visible;
    return SendOperation(m_page_messages, PageOperationSetVisibleStatusColAndRow, reinterpret_cast<WPARAM>(&record),
                         0, "PageObjectUserInterface2::SetVisibleStatusColAndRow");
}

HRESULT PageObjectUserInterface2::IsChildExist(uint32_t elementId, uint32_t kind, int32_t* exists, int32_t* row,
                                               int32_t* column)
{
    InfoMessageForXXXGetChildObjectUserInterface record;
    record.m_element_id = elementId;
    record.m_kind = kind;
    record.m_exists = exists;
    record.m_row = row;
    record.m_column = column;
    return SendOperation(m_page_messages, PageOperationIsChildExist, reinterpret_cast<WPARAM>(&record), 0,
                         "PageObjectUserInterface2::IsChildExist");
}

HRESULT PageObjectUserInterface2::UpdateChildElement(int32_t row, int32_t column,
                                                     const InfoChildPageUserInterface2* descriptor)
{
    InfoMessageForXXXUpdateChildElement record;
    record.m_row = row;
    record.m_column = column;
    record.m_descriptor = descriptor;
    return SendOperation(m_page_messages, PageOperationUpdateChildElement, reinterpret_cast<WPARAM>(&record), 0,
                         "PageObjectUserInterface2::UpdateChildElement");
}
