#include "KestrelDebugFunct.h"

#include <cpuid.h>
#include <cstdio>
#include <cstring>

namespace {

void ReadBrand(char* text, size_t size)
{
    unsigned int words[12] = {};
    unsigned int top = __get_cpuid_max(0x80000000u, nullptr);
    if (top < 0x80000004u) {
        std::snprintf(text, size, "Unknown processor");
        return;
    }
    for (unsigned int leaf = 0; leaf < 3; ++leaf)
        __get_cpuid(0x80000002u + leaf, &words[leaf * 4], &words[leaf * 4 + 1], &words[leaf * 4 + 2],
                    &words[leaf * 4 + 3]);
    char brand[49] = {};
    std::memcpy(brand, words, 48);
    const char* start = brand;
    while (*start == ' ')
        ++start;
    std::snprintf(text, size, "%s", start);
}

} // namespace

HRESULT GetCPUInfoFromCPUID(InfoAboutCPUFromCPUID* info, bool logIt)
{
    if (info == nullptr)
        return E_INVALIDARG;
    std::memset(info, 0, sizeof(*info));
    ReadBrand(info->m_text, sizeof(info->m_text));

    unsigned int a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d)) {
        info->m_flags[CpuFlagMMX] = (d & bit_MMX) != 0;
        info->m_flags[CpuFlagSSE] = (d & bit_SSE) != 0;
        info->m_flags[CpuFlagSSE2] = (d & bit_SSE2) != 0;
        info->m_flags[CpuFlagSSE3] = (c & bit_SSE3) != 0;
        info->m_flags[CpuFlagSSE4_1] = (c & bit_SSE4_1) != 0;
        info->m_flags[CpuFlagSSE4_2] = (c & bit_SSE4_2) != 0;
    }
    if (__get_cpuid(0x80000001u, &a, &b, &c, &d)) {
        info->m_flags[CpuFlagEM64T] = (d & bit_LM) != 0;
        info->m_flags[CpuFlagSSE4_A] = (c & bit_SSE4a) != 0;
    }
    if (logIt)
        fMfSG(info->m_text, nullptr, __FILE__, __LINE__, nullptr, false, true);
    return S_OK;
}

HRESULT GetStringSystemInfo1(const SYSTEM_INFO* info, DynamicString& processorText, DynamicString& memoryText)
{
    if (info == nullptr)
        return E_INVALIDARG;
    processorText = "Processors: ";
    processorText += static_cast<unsigned long>(info->dwNumberOfProcessors);
    processorText += ", architecture: ";
    processorText += static_cast<unsigned int>(info->wProcessorArchitecture);
    processorText += ", level: ";
    processorText += static_cast<unsigned int>(info->wProcessorLevel);
    processorText += ", revision: ";
    processorText += static_cast<unsigned int>(info->wProcessorRevision);

    memoryText = "Page size: ";
    memoryText += static_cast<unsigned long>(info->dwPageSize);
    memoryText += ", allocation granularity: ";
    memoryText += static_cast<unsigned long>(info->dwAllocationGranularity);
    return S_OK;
}

HRESULT GetStringSystemInfo3(const MEMORYSTATUS* status, DynamicString& text)
{
    if (status == nullptr)
        return E_INVALIDARG;
    constexpr unsigned long long mebibyte = 1024ull * 1024ull;
    text = "Memory load: ";
    text += static_cast<unsigned long>(status->dwMemoryLoad);
    text += "%, physical: ";
    text += static_cast<unsigned long long>(status->dwTotalPhys) / mebibyte;
    text += " MB (";
    text += static_cast<unsigned long long>(status->dwAvailPhys) / mebibyte;
    text += " MB free), virtual: ";
    text += static_cast<unsigned long long>(status->dwTotalVirtual) / mebibyte;
    text += " MB";
    return S_OK;
}
