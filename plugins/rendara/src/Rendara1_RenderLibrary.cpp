// The render library of an instance: a ".vdr" file beside this plug-in, loaded per instance.
#include "Rendara1.h"

#include "FunctConvertToText.h"
#include "FunctWorkWithFiles.h"

namespace {

template <class Function>
Function BindRenderExport(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void ClearBinding(RenderLibraryBinding& binding)
{
    binding.m_object = nullptr;
    binding.m_module = nullptr;
    binding.m_create = nullptr;
    binding.m_delete = nullptr;
    binding.m_get_info = nullptr;
}

// Deletes the object through its library and frees the library; the deletion's result, 0 when
// nothing was deleted.
HRESULT UnloadBinding(RenderLibraryBinding& binding)
{
    HRESULT result = S_OK;
    if (binding.m_module == nullptr)
        return result;
    if (binding.m_delete != nullptr && binding.m_object != nullptr)
        result = binding.m_delete(binding.m_object);
    FreeLibrary(binding.m_module);
    ClearBinding(binding);
    return result;
}

} // namespace

HRESULT Rendara1::LoadRenderLibrary(InfoFilterStateRendara1* state, bool unloadOnly)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        RenderLibraryBinding& binding = state->m_render;
        const HRESULT kept = UnloadBinding(binding);
        if (unloadOnly)
            return kept;
        DynamicString folder;
        GetFolderFromModule(m_module, folder);
        DynamicString path;
        CreateFullPathFromFolder(path, folder.GetString(), binding.m_file_name.GetString());
        binding.m_module = LoadLibraryA(path.GetString());
        if (binding.m_module == nullptr) {
            // The output then paints its fallback text.
            path.DumpString();
            return kept;
        }
        binding.m_create = BindRenderExport<CreateVideoRenderObjectFromLibraryFunction>(
            binding.m_module, "CreateVideoRenderObjectFromLibrary");
        binding.m_delete = BindRenderExport<DeleteVideoRenderObjectFromLibraryFunction>(
            binding.m_module, "DeleteVideoRenderObjectFromLibrary");
        binding.m_get_info = BindRenderExport<GetInfoFromLibraryFunction>(binding.m_module, "GetInfoFromLibrary");
        if (binding.m_create == nullptr || binding.m_delete == nullptr || binding.m_get_info == nullptr) {
            FreeLibrary(binding.m_module);
            ClearBinding(binding);
            path.DumpString();
            return kept;
        }
        const HRESULT created = binding.m_create(&binding.m_object);
        if (binding.m_object == nullptr)
            return created;
        return binding.m_object->SetOutputWindow(state->m_window);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
