// Scenes of toolkit_bench for the data widgets, one command each.
#pragma once

// Both print their figures and answer the program's exit code. Need a display.
int RunHistogramScene(int runs);
int RunGraphScene(int runs);
