#include "KestrelDebugFunct.h"

#include <cmath>
#include <cstring>
#include <emmintrin.h>

namespace {

// Wine's C runtime memcpy is markedly slower than a plain vector loop on frame-sized copies.
void CopyBytes(unsigned char* destination, const unsigned char* source, size_t length)
{
#ifdef __SSE2__
    while (length >= 64) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 16));
        __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 32));
        __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 48));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 16), b);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 32), c);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 48), d);
        source += 64;
        destination += 64;
        length -= 64;
    }
#endif
    std::memcpy(destination, source, length);
}

bool Overlap(const void* a, const void* b, size_t length)
{
    auto x = reinterpret_cast<uintptr_t>(a);
    auto y = reinterpret_cast<uintptr_t>(b);
    return x < y + length && y < x + length;
}

} // namespace

HRESULT MemCopy(void* destination, const void* source, size_t length, const char* caller)
{
    if (length == 0)
        return S_OK;
    if (destination == nullptr || source == nullptr) {
        fMfSG(caller != nullptr ? caller : "MemCopy: null block", nullptr, __FILE__, __LINE__, nullptr, false,
              true);
        return E_INVALIDARG;
    }
    if (Overlap(destination, source, length))
        std::memmove(destination, source, length);
    else
        CopyBytes(static_cast<unsigned char*>(destination), static_cast<const unsigned char*>(source), length);
    return S_OK;
}

void* MemStr(const void* block, size_t size, const void* pattern, size_t patternSize)
{
    if (block == nullptr || pattern == nullptr || patternSize == 0 || patternSize > size)
        return nullptr;
    auto bytes = static_cast<const unsigned char*>(block);
    auto first = *static_cast<const unsigned char*>(pattern);
    for (size_t i = 0; i + patternSize <= size; ++i)
        if (bytes[i] == first && std::memcmp(bytes + i, pattern, patternSize) == 0)
            return const_cast<unsigned char*>(bytes + i);
    return nullptr;
}

int MemReplaceStr1(void* block, size_t size, const void* pattern, const void* replacement, size_t patternSize)
{
    if (replacement == nullptr)
        return 0;
    int count = 0;
    auto bytes = static_cast<unsigned char*>(block);
    size_t offset = 0;
    while (void* found = MemStr(bytes + offset, size - offset, pattern, patternSize)) {
        std::memcpy(found, replacement, patternSize);
        offset = static_cast<size_t>(static_cast<unsigned char*>(found) - bytes) + patternSize;
        ++count;
    }
    return count;
}

HRESULT CheckRWBufferMemory(const void* block, size_t size)
{
    if (block == nullptr)
        return E_INVALIDARG;
    constexpr DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    auto address = reinterpret_cast<uintptr_t>(block);
    const uintptr_t end = address + size;
    if (end < address)
        return E_FAIL;
    while (address < end) {
        MEMORY_BASIC_INFORMATION region;
        if (VirtualQuery(reinterpret_cast<void*>(address), &region, sizeof(region)) == 0)
            return E_FAIL;
        if (region.State != MEM_COMMIT || (region.Protect & writable) == 0 || (region.Protect & PAGE_GUARD) != 0)
            return E_FAIL;
        address = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    }
    return S_OK;
}

HRESULT CheckFloatValue(float* value, float defaultValue)
{
    if (value == nullptr)
        return E_INVALIDARG;
    if (std::isfinite(*value))
        return S_OK;
    *value = defaultValue;
    return S_FALSE;
}

HRESULT WideCharToChar(const wchar_t* text, char* buffer, int size)
{
    if (text == nullptr || buffer == nullptr || size <= 0)
        return E_INVALIDARG;
    int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) {
        buffer[0] = 0;
        return E_FAIL;
    }
    if (needed <= size) {
        WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, size, nullptr, nullptr);
        return S_OK;
    }
    // Too long: convert in full and cut, so the caller always gets terminated text.
    char* whole = new char[needed];
    WideCharToMultiByte(CP_ACP, 0, text, -1, whole, needed, nullptr, nullptr);
    std::memcpy(buffer, whole, static_cast<size_t>(size) - 1);
    buffer[size - 1] = 0;
    delete[] whole;
    return S_FALSE;
}

HRESULT SetDefaultPath()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return E_FAIL;
    char* slash = std::strrchr(path, '\\');
    if (slash == nullptr)
        return E_FAIL;
    *slash = 0;
    return SetCurrentDirectoryA(path) ? S_OK : E_FAIL;
}
