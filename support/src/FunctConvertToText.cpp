#include "FunctConvertToText.h"

#include "CatchAllLog.h"

#include <cstring>

namespace {

bool HasText(const char* text)
{
    return text != nullptr && text[0] != 0;
}

// The date fields joined by the given separators: year s0 month s1 day s2 hour s3 minute s4 second s5.
HRESULT AppendSystemTime(const SYSTEMTIME* time, DynamicString& text, const char* const (&separators)[6])
{
    if (time == nullptr)
        return E_FAIL;
    const WORD fields[6] = {time->wYear, time->wMonth, time->wDay, time->wHour, time->wMinute, time->wSecond};
    text.NullString();
    for (int i = 0; i < 6; ++i) {
        text += static_cast<unsigned int>(fields[i]);
        text += separators[i];
    }
    return S_OK;
}

int64_t SpanFromWords(uint32_t low, uint32_t high)
{
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

const char* OperatingSystemName(DWORD os)
{
    const WORD high = HIWORD(os);
    const WORD low = LOWORD(os);
    if (high == HIWORD(VOS_DOS))
        return "VOS_DOS        ";
    if (high == HIWORD(VOS_NT))
        return "VOS_NT         ";
    if (low == LOWORD(VOS__WINDOWS16))
        return "VOS__WINDOWS16 ";
    if (low == LOWORD(VOS__WINDOWS32))
        return "VOS__WINDOWS32 ";
    if (high == HIWORD(VOS_OS216))
        return "VOS_OS216      ";
    if (high == HIWORD(VOS_OS232))
        return "VOS_OS232      ";
    if (low == LOWORD(VOS__PM16))
        return "VOS__PM16      ";
    if (low == LOWORD(VOS__PM32))
        return "VOS__PM32      ";
    return "VOS_UNKNOWN    ";
}

} // namespace

HRESULT GetTextFromErrorCode(DWORD code, DynamicString& text, HMODULE module)
{
    try {
        text.NullString();
        char buffer[256] = {};
        // Without IGNORE_INSERTS a text holding "%1" would read arguments that were never passed.
        const DWORD source = module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
        FormatMessageA(source | FORMAT_MESSAGE_IGNORE_INSERTS, module, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                       buffer, sizeof(buffer) - 2, nullptr);
        text = buffer;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT CreateFullPathFromFolder(DynamicString& path, const char* folder, const char* name)
{
    try {
        // Built apart, so the folder or the name may be the output's own text.
        DynamicString joined;
        if (HasText(folder)) {
            joined = folder;
            if (joined[joined.GetLenString() - 1] != '\\')
                joined += "\\";
        }
        if (HasText(name))
            joined += name;
        path = joined;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SplitFullPathToFolderAndName(const DynamicString& path, DynamicString& folder, DynamicString& name)
{
    try {
        if (&path == &folder || &path == &name) {
            LOG_TEXT("SplitFullPathToFolderAndName::the path is one of the outputs");
            return E_FAIL;
        }
        folder.NullString();
        name.NullString();
        DynamicString rest(path);
        for (int attempt = 0; attempt < 2; ++attempt) {
            const char* text = rest.GetString();
            const char* lastSlash = std::strrchr(text, '\\');
            if (lastSlash == nullptr)
                break;
            name = lastSlash + 1;
            rest.DeleteSubStringFromIndex(static_cast<uint32_t>(lastSlash - text), rest.GetLenString());
            folder = rest;
            if (name.GetLenString() != 0)
                break;
            folder.NullString();
            name.NullString();
        }
        return CreateFullPathFromFolder(folder, folder.GetString(), nullptr);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertDwordToDottedText(uint32_t value, DynamicString& text)
{
    try {
        text.NullString();
        for (int shift = 24; shift >= 0; shift -= 8) {
            text += static_cast<unsigned int>((value >> shift) & 0xFF);
            if (shift != 0)
                text += ".";
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertSystemTimeToText(const SYSTEMTIME* time, DynamicString& text)
{
    try {
        return AppendSystemTime(time, text, {"/", "/", " [ ", ":", ":", " ]"});
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertSystemTimeToFileNameText(const SYSTEMTIME* time, DynamicString& text)
{
    try {
        return AppendSystemTime(time, text, {"_", "_", "_[_", "_", "_", "_]"});
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertSystemTimeToShortText(const SYSTEMTIME* time, DynamicString& text)
{
    try {
        return AppendSystemTime(time, text, {":", ":", "-", ":", ":", ""});
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertTimeSpanToHMSText(uint32_t spanLow, uint32_t spanHigh, DynamicString& text)
{
    try {
        const int64_t seconds = SpanFromWords(spanLow, spanHigh) / 10000000;
        const int64_t hours = seconds / 3600;
        const int64_t minutes = seconds / 60 - hours * 60;
        text.NullString();
        text += static_cast<long long>(hours);
        text += ":";
        text += static_cast<long long>(minutes);
        text += ":";
        text += static_cast<long long>(seconds - hours * 3600 - minutes * 60);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertTimeSpanToText(uint32_t spanLow, uint32_t spanHigh, DynamicString& text)
{
    try {
        const int64_t seconds = SpanFromWords(spanLow, spanHigh) / 10000000;
        text.NullString();
        text += static_cast<long long>(seconds / 86400);
        text += ":";
        text += static_cast<long long>(seconds % 86400 / 3600);
        text += ":";
        text += static_cast<long long>(seconds % 3600 / 60);
        text += ":";
        text += static_cast<long long>(seconds % 60);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertFileVersionInfoToText(const VS_FIXEDFILEINFO* info, DynamicString& text)
{
    try {
        if (info == nullptr)
            return E_FAIL;
        text = OperatingSystemName(info->dwFileOS);
        text += " : file ver.";
        text += static_cast<unsigned long>(info->dwFileVersionMS);
        text += ".";
        text += static_cast<unsigned long>(info->dwFileVersionLS);
        text += " : prod ver.";
        text += static_cast<unsigned long>(info->dwProductVersionMS);
        text += ".";
        text += static_cast<unsigned long>(info->dwProductVersionLS);
        text += " :";
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
