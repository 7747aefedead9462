#include "MixerPathLayout.h"

#include <windows.h>

std::string ProgramFolderPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file = path;
    return file.substr(0, file.find_last_of('\\'));
}
