#include "FunctWorkWithFiles.h"

#include "FunctConvertToText.h"
#include "g_managment_mem.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kModulePathChars = 4096;
constexpr char kAllFiles[] = "*.*";
constexpr char kMaskSeparator = '?';

bool IsSet(HANDLE handle)
{
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

void LogText(const DynamicString& text)
{
    LOG_TEXT(text.GetString());
}

// The label (when given) and the system's text for the error.
void LogLabelAndError(const char* label, DWORD error)
{
    if (label != nullptr && label[0] != '\0')
        LOG_TEXT(label);
    DynamicString errorText;
    GetTextFromErrorCode(error, errorText);
    LogText(errorText);
}

// The module's full path; 0 when it is null, unreadable or longer than the buffer (never cut short).
uint32_t ReadModulePath(HMODULE module, DynamicString& path)
{
    path.NullString();
    if (module == nullptr)
        return 0;
    char buffer[kModulePathChars] = {};
    const DWORD length = GetModuleFileNameA(module, buffer, kModulePathChars);
    if (length == 0 || length >= kModulePathChars)
        return 0;
    path = buffer;
    return length;
}

int FindLastBackslash(const DynamicString& text)
{
    const char* start = text.GetString();
    const char* last = std::strrchr(start, '\\');
    return last != nullptr ? static_cast<int>(last - start) : -1;
}

bool IsDotEntry(const char* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// One FindFirstFileA pass of the listing; keeps entries not yet kept that the predicate accepts.
template <class Keep>
void AddMatchingEntries(const DynamicString& folder, const std::string& mask, Keep keep,
                        std::vector<FileListRecord>& records, std::set<std::string>& keptNames)
{
    DynamicString pattern;
    CreateFullPathFromFolder(pattern, folder.GetString(), mask.c_str());
    WIN32_FIND_DATAA entry = {};
    AutoFileHandle search(FindFirstFileA(pattern.GetString(), &entry), true);
    if (!IsSet(search.Get()))
        return;
    do {
        if (IsDotEntry(entry.cFileName) || !keep(entry.dwFileAttributes))
            continue;
        if (keptNames.insert(entry.cFileName).second)
            records.push_back(FileListRecord{entry.cFileName, entry.dwFileAttributes});
    } while (FindNextFileA(search.Get(), &entry));
}

// The masks of a "?"-separated list, in order, up to the first empty one.
std::vector<std::string> SplitMasks(const char* maskList)
{
    std::vector<std::string> masks;
    std::string remaining = maskList;
    while (!remaining.empty()) {
        const size_t separator = remaining.find(kMaskSeparator);
        std::string mask = remaining.substr(0, separator);
        if (mask.empty())
            break;
        masks.push_back(std::move(mask));
        remaining = separator == std::string::npos ? std::string() : remaining.substr(separator + 1);
    }
    return masks;
}

DynamicString JoinWithBackslash(const DynamicString& folder, const DynamicString& name)
{
    DynamicString path = folder;
    path += "\\";
    path += name;
    return path;
}

using ServerRegistrationFunction = HRESULT(STDAPICALLTYPE*)();

HRESULT CallRegistrationExport(HMODULE library, bool registerServer)
{
    const char* exportName = registerServer ? "DllRegisterServer" : "DllUnregisterServer";
    const auto function = reinterpret_cast<ServerRegistrationFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, exportName)));
    if (function == nullptr)
        return S_OK;
    return function();
}

} // namespace

bool FileListRecord::operator<(const FileListRecord& other) const
{
    const bool isFolder = (m_attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const bool otherIsFolder = (other.m_attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isFolder != otherIsFolder)
        return isFolder;
    return m_name < other.m_name;
}

uint32_t GetFullPathFromModule(HMODULE module, DynamicString& path)
{
    try {
        return ReadModulePath(module, path);
    }
    CATCH_ALL_RETURN(0)
}

uint32_t GetFolderFromModule(HMODULE module, DynamicString& folder)
{
    try {
        if (ReadModulePath(module, folder) == 0)
            return 0;
        const int backslash = FindLastBackslash(folder);
        if (backslash >= 0)
            folder.DeleteSubStringFromIndex(static_cast<uint32_t>(backslash), folder.GetLenString());
        return folder.GetLenString();
    }
    CATCH_ALL_RETURN(0)
}

HRESULT GetFileNameFromModule(HMODULE module, DynamicString& name)
{
    try {
        name.NullString();
        if (module == nullptr)
            return E_UNEXPECTED;
        DynamicString path;
        if (ReadModulePath(module, path) == 0)
            return E_FAIL;
        const int backslash = FindLastBackslash(path);
        if (backslash >= 0)
            path.CopySubString(name, static_cast<uint32_t>(backslash) + 1, path.GetLenString());
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HANDLE OpenFileWithLog(const DynamicString& fileName, DWORD access, DWORD shareMode,
                       SECURITY_ATTRIBUTES* security, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE templateFile, const char* label)
{
    try {
        const HANDLE file = CreateFileA(fileName.GetString(), access, shareMode, security,
                                        creationDisposition, flagsAndAttributes, templateFile);
        if (IsSet(file))
            return file;
        const DWORD error = GetLastError();
        LogText(fileName);
        LogLabelAndError(label, error);
        return INVALID_HANDLE_VALUE;
    }
    CATCH_ALL_RETURN(INVALID_HANDLE_VALUE)
}

HRESULT GetSizeFile(const DynamicString& fileName, DWORD& sizeLow, DWORD& sizeHigh)
{
    try {
        sizeLow = 0;
        sizeHigh = 0;
        if (fileName.GetLenString() == 0)
            return E_UNEXPECTED;
        AutoFileHandle file(OpenFileWithLog(fileName, 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr, "For duration reciving size file"),
                            false);
        if (!IsSet(file.Get()))
            return S_OK;
        sizeLow = GetFileSize(file.Get(), &sizeHigh);
        return file.Close();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CreateFixedSizeFile(const DynamicString& fileName, DWORD sizeLow, LONG sizeHigh, bool force)
{
    try {
        if (fileName.GetLenString() == 0 || sizeHigh < 0)
            return S_OK;
        const ULONGLONG wanted = (static_cast<ULONGLONG>(sizeHigh) << 32) | sizeLow;
        AutoFileHandle file(OpenFileWithLog(fileName, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr,
                                            "For duration create file fixed size file1"),
                            false);
        if (IsSet(file.Get()) && !force) {
            DWORD currentHigh = 0;
            const DWORD currentLow = GetFileSize(file.Get(), &currentHigh);
            if (((static_cast<ULONGLONG>(currentHigh) << 32) | currentLow) == wanted)
                return file.Close();
        }
        file.Attach(OpenFileWithLog(fileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr,
                                    "For duration create file fixed size file2"),
                    false);
        if (!IsSet(file.Get())) {
            LogText(fileName);
            return E_FAIL;
        }
        LONG high = sizeHigh;
        SetLastError(NO_ERROR);
        if (SetFilePointer(file.Get(), static_cast<LONG>(sizeLow), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER
            && GetLastError() != NO_ERROR)
            LogText(fileName);
        if (!SetEndOfFile(file.Get()))
            LogText(fileName);
        return file.Close();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CreateFolder(const DynamicString& path, SECURITY_ATTRIBUTES* security)
{
    try {
        if (CreateDirectoryA(path.GetString(), security))
            return S_OK;
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return S_OK;
        LogText(path);
        return E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ReadOrWriteFileBlock(const DynamicString& fileName, void* buffer, DWORD count, DWORD offset, bool read)
{
    try {
        if (buffer == nullptr)
            return E_INVALIDARG;
        AutoFileHandle file(OpenFileWithLog(fileName, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr,
                                            "For duration call::SaveDataToFile"),
                            false);
        if (!IsSet(file.Get()))
            return E_FAIL;
        // The offset is unsigned: offsets beyond 2 GiB are positions, not negative moves.
        LARGE_INTEGER position;
        position.QuadPart = offset;
        if (offset != 0 && !SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN)) {
            LogText(fileName);
            return E_FAIL;
        }
        DWORD transferred = 0;
        const BOOL done = read ? ReadFile(file.Get(), buffer, count, &transferred, nullptr)
                               : WriteFile(file.Get(), buffer, count, &transferred, nullptr);
        if (!done || transferred != count) {
            LogText(fileName);
            return E_FAIL;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SaveDataToFile(const DynamicString& fileName, const void* buffer, DWORD count, DWORD offset)
{
    // Writing only reads the buffer.
    return ReadOrWriteFileBlock(fileName, const_cast<void*>(buffer), count, offset, false);
}

HRESULT LoadDataFromFile(const DynamicString& fileName, void* buffer, DWORD count, DWORD offset)
{
    return ReadOrWriteFileBlock(fileName, buffer, count, offset, true);
}

HRESULT FlushFileWithLog(HANDLE file, const char* label)
{
    try {
        if (file == nullptr)
            return S_OK;
        if (!FlushFileBuffers(file))
            LogLabelAndError(label, GetLastError());
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetListFilesInFolder(const DynamicString& folder, const DynamicString& masks,
                             DynamicBoundsObject<DynamicString>& names, DWORD attributeFilter,
                             DynamicBoundsObject<uint32_t>& attributes)
{
    try {
        names.FreeAll();
        attributes.FreeAll();
        if (folder.GetLenString() == 0 || IsFileNotFolder(folder) == 1)
            return S_FALSE;

        std::vector<FileListRecord> records;
        std::set<std::string> keptNames;
        AddMatchingEntries(
            folder, kAllFiles, [](DWORD found) { return (found & FILE_ATTRIBUTE_DIRECTORY) != 0; }, records,
            keptNames);
        const auto matchesFilter = [attributeFilter](DWORD found) {
            return attributeFilter == 0 || found == attributeFilter;
        };
        for (const std::string& mask : SplitMasks(masks.GetString()))
            AddMatchingEntries(folder, mask, matchesFilter, records, keptNames);

        std::stable_sort(records.begin(), records.end());
        const uint32_t count = static_cast<uint32_t>(records.size());
        if (FAILED(names.SetSize(count)) || FAILED(attributes.SetSize(count)))
            return E_FAIL;
        for (uint32_t i = 0; i < count; ++i) {
            names.GetElement(i) = records[i].m_name.c_str();
            attributes.GetElement(i) = records[i].m_attributes;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CopyFilesFromFolder(const DynamicString& destination, const DynamicString& source,
                            bool failIfExists, DWORD attributeFilter)
{
    try {
        DynamicBoundsObject<DynamicString> names;
        DynamicBoundsObject<uint32_t> attributes;
        const HRESULT listed = GetListFilesInFolder(source, kAllFiles, names, attributeFilter, attributes);
        if (FAILED(listed)) {
            LogText(destination);
            LogText(source);
            return listed;
        }
        for (uint32_t i = 0; i < names.GetCount(); ++i) {
            const DynamicString from = JoinWithBackslash(source, names.GetElement(i));
            const DynamicString to = JoinWithBackslash(destination, names.GetElement(i));
            if (CopyFileA(from.GetString(), to.GetString(), failIfExists))
                continue;
            DynamicString error = "last_error =";
            error += static_cast<unsigned long>(GetLastError());
            LogText(from);
            LogText(to);
            LogText(error);
        }
        return listed;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RegisterServerDll(const DynamicString& dllPath, bool registerServer)
{
    if (dllPath.GetLenString() == 0)
        return E_UNEXPECTED;
    const HMODULE library = LoadLibraryA(dllPath.GetString());
    if (library == nullptr)
        return S_OK;
    HRESULT result = E_FAIL;
    try {
        result = CallRegistrationExport(library, registerServer);
    }
    CATCH_ALL_LOG()
    FreeLibrary(library);
    return result;
}

namespace {

HRESULT SetClassRegistryText(const std::wstring& subkey, const wchar_t* name, const wchar_t* value)
{
    HKEY opened = nullptr;
    LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &opened,
                                  nullptr);
    if (status == ERROR_SUCCESS) {
        const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
        status = RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
        RegCloseKey(opened);
    }
    return HRESULT_FROM_WIN32(status);
}

std::wstring ClassRegistryKey(const CLSID& classId)
{
    wchar_t text[40] = {};
    StringFromGUID2(classId, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

} // namespace

HRESULT RegisterInProcessServerClass(HMODULE module, const CLSID& classId, const wchar_t* name)
{
    try {
        if (module == nullptr || name == nullptr)
            return E_INVALIDARG;
        wchar_t modulePath[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameW(module, modulePath, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return E_FAIL;
        const std::wstring classKey = ClassRegistryKey(classId);
        const std::wstring serverKey = classKey + L"\\InprocServer32";
        HRESULT result = SetClassRegistryText(classKey, nullptr, name);
        if (SUCCEEDED(result))
            result = SetClassRegistryText(serverKey, nullptr, modulePath);
        if (SUCCEEDED(result))
            result = SetClassRegistryText(serverKey, L"ThreadingModel", L"Both");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT UnregisterInProcessServerClass(const CLSID& classId)
{
    try {
        const LONG status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassRegistryKey(classId).c_str());
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : HRESULT_FROM_WIN32(status);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetListLogicalDrives(DynamicBoundsObject<DynamicString>& roots, UINT driveType)
{
    try {
        roots.FreeAll();
        const DWORD drives = GetLogicalDrives();
        for (uint32_t bit = 0; bit < 32; ++bit) {
            if ((drives & (1u << bit)) == 0)
                continue;
            const char root[4] = {static_cast<char>('A' + bit), ':', '\\', '\0'};
            if (driveType != 0 && GetDriveTypeA(root) != driveType)
                continue;
            const uint32_t count = roots.GetCount();
            if (FAILED(roots.SetSize(count + 1)))
                return E_FAIL;
            roots.GetElement(count) = root;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int CompareTextNoCase(const DynamicString& first, const DynamicString& second)
{
    const bool firstEmpty = first.GetLenString() == 0;
    const bool secondEmpty = second.GetLenString() == 0;
    if (firstEmpty || secondEmpty)
        return firstEmpty == secondEmpty ? 0 : 1;
    return _stricmp(first.GetString(), second.GetString());
}

uint32_t GetCountLevelsInPath(const DynamicString& path)
{
    const char* text = path.GetString();
    return static_cast<uint32_t>(std::count(text, text + path.GetLenString(), '\\'));
}

bool IsFolderExist(const DynamicString& path)
{
    try {
        if (path.GetLenString() <= 3) {
            DynamicBoundsObject<DynamicString> fixedRoots;
            GetListLogicalDrives(fixedRoots, DRIVE_FIXED);
            for (uint32_t i = 0; i < fixedRoots.GetCount(); ++i)
                if (CompareTextNoCase(path, fixedRoots.GetElement(i)) == 0)
                    return true;
            return false;
        }
        if (CreateDirectoryA(path.GetString(), nullptr)) {
            RemoveDirectoryA(path.GetString());
            return false;
        }
        // "Already exists" is also the answer for a file of that name, which is no folder.
        return GetLastError() == ERROR_ALREADY_EXISTS && IsFileNotFolder(path) == 0;
    }
    CATCH_ALL_RETURN(false)
}

int IsFileNotFolder(const DynamicString& path)
{
    if (path.GetLenString() == 0)
        return 1;
    return (GetFileAttributesA(path.GetString()) & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : 1;
}
