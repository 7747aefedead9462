// Pages "status" and "schedule": the test panel's status strip in both pipelines with its skins and
// text, and the weekly schedule grid with a loaded week.
#include "DemoPages.h"

#include "StatusCameraObjectUserInterface2.h"
#include "StatusObjectUserInterface2.h"
#include "StatusSkinNames.h"

#include <vector>

namespace {

using Status = StatusObjectUserInterface2;
using Grid = StatusCameraObjectUserInterface2;

constexpr uint32_t SplitStripId = 2071;
constexpr uint32_t WholeStripId = 2076;
constexpr uint32_t GridId = 2200;
constexpr float StripWidth = 165.0f;
constexpr float StripHeight = 100.0f;
constexpr float GridHeight = 250.0f;
const char PanelText[] = "K.O.R.V.A.N.E.";

InfoTypedValueUserInterface2 Text(const char* text)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetText(text);
    return typed;
}

// Working days from 8 to 18 in state 2, the evenings in state 3, the weekend in state 4; a mark on
// each day's first working hour.
std::vector<uint8_t> SampleWeek()
{
    std::vector<uint8_t> week(Grid::CellCount);
    for (int32_t day = 0; day < Grid::Days; ++day)
        for (int32_t hour = 0; hour < Grid::Hours; ++hour) {
            uint8_t state = 1;
            if (day >= 5)
                state = 4;
            else if (hour >= 8 && hour < 18)
                state = 2;
            else if (hour >= 18 && hour < 22)
                state = 3;
            week[day * Grid::Hours + hour] = static_cast<uint8_t>(state << 4 | (hour == 8 && day < 5 ? 1 : 0));
        }
    return week;
}

} // namespace

void DescribeStatusPage(InfoPageUserInterface2& description)
{
    description.SetSizeTable(2, 3);
    description.m_columns.GetElement(0).m_size = StripWidth;
    description.m_columns.GetElement(1).m_size = StripWidth;
    description.m_columns.GetElement(2).m_size = 1.0f;
    description.m_rows.GetElement(0).m_size = StripHeight;
    description.m_rows.GetElement(1).m_size = 1.0f;
    DescribeCell(description, 0, 0, ChildKindStatus, SplitStripId, "").m_status_parameter = Status::PipelineSplit;
    DescribeCell(description, 0, 1, ChildKindStatus, WholeStripId, "").m_status_parameter =
        Status::PipelineWhole | Status::ScrollWithTrails;
}

void ConfigureStatusPage(PageObjectUserInterface2& page)
{
    for (uint32_t id : {SplitStripId, WholeStripId})
        SendProperties(page, id, ChildKindStatus, StatusStripSkins(), {{Status::FieldText, Text(PanelText)}});
}

void DescribeSchedulePage(InfoPageUserInterface2& description)
{
    description.SetSizeTable(2, 1);
    description.m_columns.GetElement(0).m_size = 1.0f;
    description.m_rows.GetElement(0).m_size = GridHeight;
    description.m_rows.GetElement(1).m_size = 1.0f;
    DescribeCell(description, 0, 0, ChildKindStatusCamera, GridId, "");
}

void ConfigureSchedulePage(PageObjectUserInterface2& page)
{
    SendProperties(page, GridId, ChildKindStatusCamera, ScheduleGridSkins());
    BaseUserInterface* widget = nullptr;
    page.GetChildObjectUserInterfaceReal(GridId, &widget, ChildKindStatusCamera);
    if (widget == nullptr)
        return;
    std::vector<uint8_t> week = SampleWeek();
    static_cast<Grid*>(widget)->UpdateStateSheduler(week.data(), Grid::CellCount, Grid::DirectionSet);
    page.FreeChildObjectUserInterfaceReal(widget, ChildKindStatusCamera);
}
