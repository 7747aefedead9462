// The render library loaded as the video output plug-in loads it: by file name, through its three exports.
#pragma once

#include "GeneralVideoRendererObject.h"

#include <gtest/gtest.h>

class RendaraDx7Library
{
public:
    RendaraDx7Library();
    ~RendaraDx7Library();
    RendaraDx7Library(const RendaraDx7Library&) = delete;
    RendaraDx7Library& operator=(const RendaraDx7Library&) = delete;

    bool IsLoaded() const { return m_create != nullptr && m_delete != nullptr && m_info != nullptr; }

    GetInfoFromLibraryFunction m_info = nullptr;
    CreateVideoRenderObjectFromLibraryFunction m_create = nullptr;
    DeleteVideoRenderObjectFromLibraryFunction m_delete = nullptr;

private:
    HMODULE m_module = nullptr;
};
