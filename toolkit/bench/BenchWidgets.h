// What the scenes of toolkit_bench share: a widget set up on the display, its messages pumped, a
// figure printed, the runs read from the command line.
#pragma once

#include "BaseUserInterface.h"

#include <vector>

// Dispatches every message waiting for this thread.
void PumpMessages();

// Makes the widget's window and stops its timer, so that only the scene's ticks draw; shows it at
// the display's top left in the size, with the skin folder and the skins as properties 0.., and
// dispatches what that brought. False when the window cannot be made.
bool ShowBenchWidget(BaseUserInterface& widget, int width, int height, const char* skinFolder,
                     const std::vector<const char*>& skins = {});

// "  <label padded to labelWidth><microseconds> us<note>", one line of a scene's figures.
void PrintFigure(int labelWidth, const char* label, double seconds, const char* note = "");

// The runs the argument at index asks for (at least 1), or fallback when it is absent.
int RunsArgument(int argc, char** argv, int index, int fallback);
