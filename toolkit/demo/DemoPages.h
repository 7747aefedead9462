// The pages the toolkit's test harness can show: each fills a page description and then sets its
// children up as the application does (skins and properties sent to the borrowed widgets).
#pragma once

#include "PageObjectUserInterface2.h"

#include <vector>

struct DemoPage
{
    const char* m_name;
    void (*m_describe)(InfoPageUserInterface2& description);
    void (*m_configure)(PageObjectUserInterface2& page);
};

// Every page of the harness; a page of another widget adds its line in DemoPages.cpp.
const std::vector<DemoPage>& DemoPages();

// ---- helpers for the pages ----

// One cell of the description: kind, id, object name and group-frame caption (empty: no frame).
InfoChildPageUserInterface2& DescribeCell(InfoPageUserInterface2& description, uint32_t row, uint32_t column,
                                          uint32_t kind, uint32_t id, const char* caption);
// The cell's widget flags and one element per entry, each a header with the entry's command and
// state and the given field 8, completed by describe(element, entry).
template <class Entry, size_t N, class Describe>
void DescribeElements(InfoChildPageUserInterface2& cell, uint32_t flags, const Entry (&entries)[N], int32_t field8,
                      Describe describe)
{
    cell.m_widget_flags = flags;
    cell.m_element_count = static_cast<int32_t>(N);
    for (size_t i = 0; i < N; ++i) {
        const Entry& entry = entries[i];
        InfoElementUserInterface2& element = cell.m_elements.GetElement(static_cast<uint32_t>(i));
        element.m_header_flag = 1;
        element.Field(InfoElementUserInterface2::FieldCommand).SetInt(entry.m_command);
        element.Field(InfoElementUserInterface2::FieldState).SetInt(static_cast<int32_t>(entry.m_state));
        element.Field(8).SetInt(field8);
        element.Field(9).SetInt(14);
        describe(element, entry);
    }
}

// Sets the properties 0.. of the child with the id to the texts, then the further typed values at
// their indexes.
void SendProperties(PageObjectUserInterface2& page, uint32_t id, uint32_t kind, const std::vector<const char*>& skins,
                    const std::vector<std::pair<int32_t, InfoTypedValueUserInterface2>>& more = {});

// The pages of the trackbar and the button set.
void DescribeSlidersPage(InfoPageUserInterface2& description);
void ConfigureSlidersPage(PageObjectUserInterface2& page);
void DescribeButtonsPage(InfoPageUserInterface2& description);
void ConfigureButtonsPage(PageObjectUserInterface2& page);

// The pages of the histogram and the graph.
void DescribeHistogramPage(InfoPageUserInterface2& description);
void ConfigureHistogramPage(PageObjectUserInterface2& page);
void DescribeGraphPage(InfoPageUserInterface2& description);
void ConfigureGraphPage(PageObjectUserInterface2& page);

// The pages of the status strip and the schedule grid.
void DescribeStatusPage(InfoPageUserInterface2& description);
void ConfigureStatusPage(PageObjectUserInterface2& page);
void DescribeSchedulePage(InfoPageUserInterface2& description);
void ConfigureSchedulePage(PageObjectUserInterface2& page);
