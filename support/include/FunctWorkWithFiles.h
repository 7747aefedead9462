// Files and folders: the module's folder, block reads and writes at an offset, fixed-size files,
// folder listings, copies, logical drives and the registration of in-process COM servers.
// Every function catches every exception, logs it and answers 0x80004005 unless it says otherwise.
#pragma once

#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>
#include <string>

// One entry of a folder listing: subfolders first, then names in byte-wise order.
struct FileListRecord
{
    std::string m_name;
    uint32_t m_attributes = 0; // as FindFirstFileA reports them

    bool operator<(const FileListRecord& other) const;
};

// Length of the module's folder (without a trailing backslash); 0 for a null module or a failure.
uint32_t GetFolderFromModule(HMODULE module, DynamicString& folder);
// Length of the module's full path; 0 for a null module or a failure.
uint32_t GetFullPathFromModule(HMODULE module, DynamicString& path);
// The module's file name without its folder. 0; 0x8000FFFF for a null module; 0x80004005 when unreadable.
HRESULT GetFileNameFromModule(HMODULE module, DynamicString& name);

// CreateFileA that logs the name, the label and the system's error text when the open fails.
// Answers the handle, or INVALID_HANDLE_VALUE.
HANDLE OpenFileWithLog(const DynamicString& fileName, DWORD access, DWORD shareMode,
                       SECURITY_ATTRIBUTES* security, DWORD creationDisposition,
                       DWORD flagsAndAttributes, HANDLE templateFile, const char* label);

// File size as two words, 0 when the file does not open. 0x8000FFFF for an empty name.
HRESULT GetSizeFile(const DynamicString& fileName, DWORD& sizeLow, DWORD& sizeHigh);
// Makes the file exactly the size given (kept untouched when it already has it, unless forced).
HRESULT CreateFixedSizeFile(const DynamicString& fileName, DWORD sizeLow, LONG sizeHigh, bool force);
// 0 when the folder exists afterwards (also when it existed before), else 0x80004005.
HRESULT CreateFolder(const DynamicString& path, SECURITY_ATTRIBUTES* security);

// Reads or writes count bytes at the offset in one call. The file is opened (created when
// missing) and never truncated. 0; 0x80070057 for a null buffer; 0x80004005 on any failure.
HRESULT ReadOrWriteFileBlock(const DynamicString& fileName, void* buffer, DWORD count, DWORD offset, bool read);
HRESULT SaveDataToFile(const DynamicString& fileName, const void* buffer, DWORD count, DWORD offset);
HRESULT LoadDataFromFile(const DynamicString& fileName, void* buffer, DWORD count, DWORD offset);
// Flushes the handle and logs a failure; always 0.
HRESULT FlushFileWithLog(HANDLE file, const char* label);

// Lists the folder: every subfolder, then the entries that match one of the masks (separated by
// "?") and whose attributes equal the filter (0 = any). "." and ".." never appear; each name once.
// 0; 1 when the path is empty or names a file (both arrays are then empty).
HRESULT GetListFilesInFolder(const DynamicString& folder, const DynamicString& masks,
                             DynamicBoundsObject<DynamicString>& names, DWORD attributeFilter,
                             DynamicBoundsObject<uint32_t>& attributes);
// Copies every listed entry of the source folder into the destination; a failed copy is logged
// and the rest go on. Answers the listing's result.
HRESULT CopyFilesFromFolder(const DynamicString& destination, const DynamicString& source,
                            bool failIfExists, DWORD attributeFilter);

// Calls DllRegisterServer (or DllUnregisterServer) of the DLL: its result; 0 when the DLL or the
// export is missing; 0x8000FFFF for an empty path.
HRESULT RegisterServerDll(const DynamicString& dllPath, bool registerServer);
// Writes HKCR\CLSID\{class id} (default value: the name) and its InprocServer32 key (the
// module's path, threading model "Both"); the result of the registry calls.
HRESULT RegisterInProcessServerClass(HMODULE module, const CLSID& classId, const wchar_t* name);
// Removes HKCR\CLSID\{class id} with everything under it; 0 also when it was not there.
HRESULT UnregisterInProcessServerClass(const CLSID& classId);

// Roots such as "C:\" of the logical drives of the type (0 = every type). 0.
HRESULT GetListLogicalDrives(DynamicBoundsObject<DynamicString>& roots, UINT driveType);

// 0 when equal ignoring case; 1 when exactly one is empty; else as _stricmp.
int CompareTextNoCase(const DynamicString& first, const DynamicString& second);
// Number of backslashes in the path.
uint32_t GetCountLevelsInPath(const DynamicString& path);
// True for an existing folder; a root of at most three characters must be a fixed drive's ("C:\").
bool IsFolderExist(const DynamicString& path);
// 1 for an empty path or an existing file; 0 for a folder or a missing path.
int IsFileNotFolder(const DynamicString& path);
