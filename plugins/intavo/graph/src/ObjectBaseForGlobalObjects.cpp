// Saved state of active objects: one ".sav" file per object, named after it.
#include "aObjectBaseForGlobalObject.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"
#include "FunctWorkWithFiles.h"
#include "MemoryBlockClass.h"
#include "g_managment_mem.h"

#include <cstring>

namespace {

// The name block at the start of every file: the name, its terminator, zeros behind.
using NameBlockSavedObject = StaticString<256>;

const char kExtensionSavedObject[] = ".sav";

// Opens <folder>\<name>.sav, sharing it for reading and writing; false (logged) when it does not open.
bool OpenSavedObjectFile(const char* folder, const DynamicString& name, DWORD access, DWORD disposition,
                         DWORD attributes, const char* label, DynamicString& path, AutoFileHandle& file)
{
    DynamicString fileName(name);
    fileName += kExtensionSavedObject;
    if (FAILED(CreateFullPathFromFolder(path, folder != nullptr ? folder : "", fileName.GetString()))) {
        LOG_TEXT(folder != nullptr ? folder : "(no folder)");
        return false;
    }
    file.Attach(OpenFileWithLog(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition, attributes,
                                nullptr, label),
                false);
    return file.Get() != INVALID_HANDLE_VALUE;
}

// Reads exactly count bytes; a short read fails.
bool ReadWhole(HANDLE file, void* buffer, DWORD count)
{
    DWORD done = 0;
    return ReadFile(file, buffer, count, &done, nullptr) && done == count;
}

bool WriteWhole(HANDLE file, const void* buffer, DWORD count)
{
    DWORD done = 0;
    return WriteFile(file, buffer, count, &done, nullptr) && done == count;
}

void LogFailedPath(const char* what, const DynamicString& path)
{
    LOG_TEXT(what);
    path.DumpString();
}

} // namespace

HRESULT ObjectBaseForGlobalObjects::LoadObjectFromFile(const char* folder, void* buffer, int32_t size)
{
    try {
        if (buffer == nullptr || size < 1)
            return E_FAIL;
        DynamicString path;
        AutoFileHandle file;
        if (!OpenSavedObjectFile(folder, m_name_object, GENERIC_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 "For duration load object from file", path, file))
            return E_FAIL;
        NameBlockSavedObject storedName;
        if (!ReadWhole(file.Get(), storedName.GetString(), storedName.GetMaxSizeBuffer())) {
            LogFailedPath("ObjectBaseForGlobalObjects::LoadObjectFromFile::name block not read", path);
            return E_FAIL;
        }
        if (storedName.CheckString() != S_OK || m_name_object != storedName.GetString()) {
            LogFailedPath("ObjectBaseForGlobalObjects::LoadObjectFromFile::file of another object", path);
            m_name_object.DumpString();
            return E_FAIL;
        }
        // The caller's block changes only when the whole state was read.
        MemoryBlockClass<BYTE> state;
        if (FAILED(state.CreateBlock(static_cast<uint32_t>(size))))
            return E_FAIL;
        if (!ReadWhole(file.Get(), state.GetData(), static_cast<DWORD>(size))) {
            LogFailedPath("ObjectBaseForGlobalObjects::LoadObjectFromFile::state block not read", path);
            return E_FAIL;
        }
        std::memcpy(buffer, state.GetData(), static_cast<size_t>(size));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectBaseForGlobalObjects::SaveObjectToFile(const char* folder, const void* buffer, int32_t size)
{
    try {
        if (buffer == nullptr || size < 1)
            return E_FAIL;
        DynamicString path;
        AutoFileHandle file;
        // An existing file is opened, not shortened.
        if (!OpenSavedObjectFile(folder, m_name_object, GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN,
                                 "For duration saved object to file", path, file))
            return E_FAIL;
        NameBlockSavedObject name;
        std::memset(name.GetString(), 0, name.GetMaxSizeBuffer());
        name = m_name_object.GetString();
        if (!WriteWhole(file.Get(), name.GetString(), name.GetMaxSizeBuffer()) ||
            !WriteWhole(file.Get(), buffer, static_cast<DWORD>(size))) {
            LogFailedPath("ObjectBaseForGlobalObjects::SaveObjectToFile::write failed", path);
            return E_FAIL;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
