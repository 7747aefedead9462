// The status strip's and the schedule grid's scenes of toolkit_bench (command "status").
#pragma once

// Prints the figures of every scene; 1 when a widget's window cannot be made.
int RunStatusAndScheduleScenes(int runs);
