// A growable block of elements in the support library's memory. An owning block of pointers
// also frees the block each element points at.
#pragma once

#include "CatchAllLog.h"

#include <cstdint>
#include <type_traits>

template <class T>
class MemoryBlockClass
{
public:
    explicit MemoryBlockClass(bool owner = false) : m_owner(owner) {}
    MemoryBlockClass(const MemoryBlockClass&) = delete;
    MemoryBlockClass& operator=(const MemoryBlockClass&) = delete;
    ~MemoryBlockClass()
    {
        try {
            Free();
        }
        CATCH_ALL_LOG()
    }

    HRESULT Free()
    {
        try {
            FreeElements();
            SAFE_TASK_FREE(&m_data);
            m_size = 0;
            return S_OK;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    HRESULT CreateBlock(uint32_t size)
    {
        Free();
        if (size == 0)
            return E_UNEXPECTED;
        if (FAILED(SAFE_TASK_ALLOC(&m_data, static_cast<uint64_t>(size) * sizeof(T))))
            return E_FAIL;
        m_size = size;
        return S_OK;
    }

    // Resizes the block, keeping its contents; on failure the block and its size stay as they were.
    HRESULT ReallocBlock(uint32_t size)
    {
        if (size == 0)
            return Free();
        if (FAILED(SAFE_TASK_REALLOC(&m_data, static_cast<uint64_t>(size) * sizeof(T))))
            return E_FAIL;
        m_size = size;
        return S_OK;
    }

    // Copies length bytes to the start of the block, growing it when it is smaller.
    HRESULT CopyBlock(const void* source, uint32_t length)
    {
        try {
            if (source == nullptr)
                return E_INVALIDARG;
            if (length == 0)
                return E_UNEXPECTED;
            const uint32_t elements = static_cast<uint32_t>((static_cast<uint64_t>(length) + sizeof(T) - 1) / sizeof(T));
            if (m_size < elements && FAILED(ReallocBlock(elements)))
                return E_FAIL;
            return MemCopy(m_data, source, length, "MemoryBlockClass::CopyBlock");
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    // Takes the other block's memory; blocks of different ownership are left alone.
    MemoryBlockClass& MoveFrom(MemoryBlockClass& other)
    {
        if (&other == this || other.m_owner != m_owner)
            return *this;
        if (FAILED(Free()))
            return *this;
        m_data = other.m_data;
        m_size = other.m_size;
        other.m_data = nullptr;
        other.m_size = 0;
        other.m_owner = false;
        return *this;
    }

    // Address of the element at offset: no block throws 2, an offset not below the size throws 1.
    T* GetPointerFromOffset(uint32_t offset)
    {
        if (m_data == nullptr)
            throw 2;
        if (offset >= m_size)
            throw 1;
        return m_data + offset;
    }

    T* GetData() { return m_data; }
    const T* GetData() const { return m_data; }
    uint32_t GetSize() const { return m_size; }
    bool IsOwner() const { return m_owner; }

private:
    // Only a block of pointers can own what its elements point at.
    void FreeElements()
    {
        if constexpr (std::is_pointer_v<T>) {
            if (m_owner && m_data != nullptr)
                for (uint32_t i = 0; i < m_size; ++i)
                    SAFE_TASK_FREE(&m_data[i]);
        }
    }

    T* m_data = nullptr;
    uint32_t m_size = 0;
    bool m_owner = false;
};
