#include "RendaraDx7LibraryFixture.h"

namespace {

template <class Function>
Function FindExport(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

RendaraDx7Library::RendaraDx7Library()
{
    m_module = LoadLibraryA("RendaraDx7.vdr");
    if (m_module == nullptr)
        return;
    m_info = FindExport<GetInfoFromLibraryFunction>(m_module, "GetInfoFromLibrary");
    m_create = FindExport<CreateVideoRenderObjectFromLibraryFunction>(m_module, "CreateVideoRenderObjectFromLibrary");
    m_delete = FindExport<DeleteVideoRenderObjectFromLibraryFunction>(m_module, "DeleteVideoRenderObjectFromLibrary");
}

RendaraDx7Library::~RendaraDx7Library()
{
    if (m_module != nullptr)
        FreeLibrary(m_module);
}
