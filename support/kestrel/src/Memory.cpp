#include "KestrelDebugFunct.h"

#include <cstdio>
#include <cstring>

namespace {

HANDLE OwnHeap()
{
    static HANDLE heap = HeapCreate(0, 0, 0);
    return heap;
}

HANDLE HeapOrOwn(HANDLE heap)
{
    return heap != nullptr ? heap : OwnHeap();
}

bool FitsAddressSpace(uint64_t size)
{
    return size <= static_cast<uint64_t>(static_cast<SIZE_T>(-1) / 2);
}

} // namespace

HANDLE GetHeapForDynamicString()
{
    static HANDLE heap = HeapCreate(0, 0, 0);
    return heap;
}

HRESULT SafeTaskAllocRaw(void** slot, uint64_t size, HANDLE heap)
{
    if (slot == nullptr || size == 0 || !FitsAddressSpace(size))
        return E_INVALIDARG;
    void* block = HeapAlloc(HeapOrOwn(heap), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(size));
    if (block == nullptr)
        return E_OUTOFMEMORY;
    *slot = block;
    return S_OK;
}

HRESULT SafeTaskReallocRaw(void** slot, uint64_t size, HANDLE heap)
{
    if (slot == nullptr || size == 0 || !FitsAddressSpace(size))
        return E_INVALIDARG;
    if (*slot == nullptr)
        return SafeTaskAllocRaw(slot, size, heap);
    void* block = HeapReAlloc(HeapOrOwn(heap), HEAP_ZERO_MEMORY, *slot, static_cast<SIZE_T>(size));
    if (block == nullptr)
        return E_OUTOFMEMORY;
    *slot = block;
    return S_OK;
}

HRESULT SafeTaskFreeRaw(void** slot, HANDLE heap)
{
    if (slot == nullptr)
        return E_INVALIDARG;
    if (*slot == nullptr)
        return S_OK;
    BOOL freed = HeapFree(HeapOrOwn(heap), 0, *slot);
    *slot = nullptr;
    return freed ? S_OK : E_FAIL;
}

HRESULT SAFE_GET_INFO_HEAP(bool logTotal, uint64_t* total, HANDLE heap)
{
    if (total == nullptr)
        return E_INVALIDARG;
    HANDLE walked = HeapOrOwn(heap);
    uint64_t busy = 0;
    if (!HeapLock(walked))
        return E_FAIL;
    PROCESS_HEAP_ENTRY entry;
    std::memset(&entry, 0, sizeof(entry));
    while (HeapWalk(walked, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    HeapUnlock(walked);
    *total = busy;
    if (logTotal) {
        char text[96];
        std::snprintf(text, sizeof(text), "Heap %p: %llu bytes allocated", walked,
                      static_cast<unsigned long long>(busy));
        fMfSG(text, nullptr, __FILE__, __LINE__, nullptr, false, true);
    }
    return S_OK;
}

HRESULT SAFE_CLOSE_HANDLE(HANDLE& handle)
{
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        handle = nullptr;
        return S_FALSE;
    }
    BOOL closed = CloseHandle(handle);
    handle = nullptr;
    return closed ? S_OK : E_FAIL;
}
