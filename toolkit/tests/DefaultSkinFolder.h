// The default skins the build draws into the skin folder beside the test program.
#pragma once

#include "FunctLoadBMP32FileToR16G16B16Format.h"

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <string>

// The skin folder beside the test program, as the program finds its own.
inline std::string DefaultSkinFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.resize(folder.find_last_of('\\'));
    return folder + "\\ResourceBMP\\DefaultSchemeKorvane";
}

// Loads the named skin of that folder and tells its size: the loader's answer.
inline HRESULT ReadDefaultSkinSize(const char* name, int* width, int* height)
{
    SWORD* planes[3] = {};
    int stride = 0, capacity = 0;
    const DynamicString path((DefaultSkinFolder() + "\\" + name).c_str());
    const HRESULT loaded = LoadBMP32FileToR16G16B16Format(rgb32_to_r16g16b16_c, YMirror_function_c, path, &planes[0],
                                                          &planes[1], &planes[2], width, height, &stride, 16,
                                                          &capacity);
    for (SWORD*& plane : planes)
        SAFE_TASK_FREE(&plane);
    return loaded;
}
