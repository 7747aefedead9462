// The list's scenes of toolkit_bench (command "list").
#pragma once

// Prints the figures of every scene; 1 when the list's window cannot be made.
int RunListScenes(int runs);
