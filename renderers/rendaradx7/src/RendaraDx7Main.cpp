// The three exports of "RendaraDx7.vdr".
#include "VideoRendererObjectDx7.h"

#include "CatchAllLog.h"

#include <cstring>
#include <new>

namespace {

// {7637AE2C-F2F0-4CE3-A60E-A797B74D1C54}
constexpr GUID kRendaraDx7Id = {0x7637AE2C, 0xF2F0, 0x4CE3, {0xA6, 0x0E, 0xA7, 0x97, 0xB7, 0x4D, 0x1C, 0x54}};

} // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI GetInfoFromLibrary(int32_t* kind, InfoRenderLibrary* info, char* name,
                                                                   int32_t size)
{
    try {
        if (kind == nullptr || info == nullptr || name == nullptr || size <= 0)
            return E_UNEXPECTED;
        *kind = 0;
        info->m_id = kRendaraDx7Id;
        const size_t length = std::strlen(kRendaraDx7Name);
        if (length >= static_cast<size_t>(size)) {
            name[0] = 0;
            return E_FAIL;
        }
        std::memcpy(name, kRendaraDx7Name, length + 1);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI CreateVideoRenderObjectFromLibrary(GeneralVideoRendererObject** object)
{
    if (object == nullptr)
        return E_FAIL;
    try {
        *object = nullptr;
        *object = new (std::nothrow) VideoRendererObjectDx7(kRendaraDx7Name);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI DeleteVideoRenderObjectFromLibrary(GeneralVideoRendererObject* object)
{
    try {
        // Another library's object, or one renamed, is not ours to free.
        if (object != nullptr && object->IsOwnRenderObject(kRendaraDx7Name) == S_OK)
            delete object;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
