// The default skins of the status strip and the schedule grid, in the order of their properties
// 0.. (the test panel's strip and the grid's states, marks, stencils, headers and corner), for the
// tests, the benchmark and the demonstration pages.
#pragma once

#include <vector>

inline const std::vector<const char*>& StatusStripSkins()
{
    static const std::vector<const char*> skins = {
        "PlexamoHome_StatusDialog_TopStatus.bmp", "PlexamoHome_StatusDialog_GlassPatternStatus.bmp",
        "PlexamoHome_StatusDialog_BottomStatus.bmp", "PlexamoHome_StatusDialog_TopText.bmp"};
    return skins;
}

inline const std::vector<const char*>& ScheduleGridSkins()
{
    static const std::vector<const char*> skins = {
        "ScheduleGrid_State1.bmp",          "ScheduleGrid_State2.bmp",          "ScheduleGrid_State3.bmp",
        "ScheduleGrid_State4.bmp",          "ScheduleGrid_Mark0.bmp",           "ScheduleGrid_Mark1.bmp",
        "ScheduleGrid_Mark2.bmp",           "ScheduleGrid_StateStencil.bmp",    "ScheduleGrid_MarkStencil.bmp",
        "ScheduleGrid_FrameStencil.bmp",    "ScheduleGrid_HeaderBackground.bmp", "ScheduleGrid_HeaderStencil.bmp",
        "ScheduleGrid_HeaderBackground.bmp", "ScheduleGrid_HeaderStencil.bmp", "ScheduleGrid_CornerStateStencil.bmp",
        "ScheduleGrid_CornerMarkStencil.bmp", "ScheduleGrid_CornerFrame.bmp"};
    return skins;
}
