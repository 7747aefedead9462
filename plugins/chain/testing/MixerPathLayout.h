// Where the mixer path's filters are found, for the tests and the benchmark that build it with
// the delivered plug-ins.
#pragma once

#include <cstdint>
#include <string>

// Filter indexes of the mixer path: the mixer, the output, then four per source added, in the
// order the recipe creates them.
inline constexpr int32_t kMixer = 0;
inline constexpr int32_t kOutput = 1;
struct SourceFilters
{
    int32_t source;
    int32_t camera;
    int32_t detector;
    int32_t correction;
};
inline SourceFilters FiltersOfSource(int32_t order)
{
    const int32_t first = 2 + 4 * order;
    return {first, first + 1, first + 2, first + 3};
}

// The program's folder, where the plug-ins lie, without the trailing backslash.
std::string ProgramFolderPath();
