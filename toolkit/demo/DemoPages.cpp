#include "DemoPages.h"

const std::vector<DemoPage>& DemoPages()
{
    static const std::vector<DemoPage> pages = {
        {"sliders", DescribeSlidersPage, ConfigureSlidersPage},
        {"buttons", DescribeButtonsPage, ConfigureButtonsPage},
        {"histogram", DescribeHistogramPage, ConfigureHistogramPage},
        {"graph", DescribeGraphPage, ConfigureGraphPage},
        {"status", DescribeStatusPage, ConfigureStatusPage},
        {"schedule", DescribeSchedulePage, ConfigureSchedulePage},
    };
    return pages;
}

InfoChildPageUserInterface2& DescribeCell(InfoPageUserInterface2& description, uint32_t row, uint32_t column,
                                          uint32_t kind, uint32_t id, const char* caption)
{
    InfoChildPageUserInterface2& cell = description.m_children.GetElement(row).GetElement(column);
    cell.m_kind = kind;
    cell.m_element_id = id;
    cell.m_caption = caption;
    cell.m_group_frame = caption[0] != '\0' ? 1 : 0;
    cell.m_object_name = "toolkit_demo child";
    return cell;
}

void SendProperties(PageObjectUserInterface2& page, uint32_t id, uint32_t kind, const std::vector<const char*>& skins,
                    const std::vector<std::pair<int32_t, InfoTypedValueUserInterface2>>& more)
{
    BaseUserInterface* widget = nullptr;
    page.GetChildObjectUserInterfaceReal(id, &widget, kind);
    if (widget == nullptr)
        return;
    const uint32_t count = static_cast<uint32_t>(skins.size() + more.size());
    TypedValueListUserInterface2 values;
    IndexListUserInterface2 indexes;
    values.Init(count, 0);
    indexes.Init(count, 0);
    for (uint32_t i = 0; i < skins.size(); ++i) {
        values.GetElement(i).SetText(skins[i]);
        indexes.GetElement(i) = static_cast<int32_t>(i);
    }
    for (uint32_t i = 0; i < more.size(); ++i) {
        values.GetElement(static_cast<uint32_t>(skins.size()) + i) = more[i].second;
        indexes.GetElement(static_cast<uint32_t>(skins.size()) + i) = more[i].first;
    }
    widget->UpdateGeneralInfoForObjectReal(0, &values, &indexes, static_cast<int32_t>(count));
    page.FreeChildObjectUserInterfaceReal(widget, kind);
}
