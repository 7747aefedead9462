// The scenes of toolkit_bench beside its group frame; each prints its own figures.
#pragma once

// The representative page: a property page of three framed lists of 40 rows each.
int RunPropertyPageScene(int width, int height, int runs);
