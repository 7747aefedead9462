// Fixed and growable arrays that check every index. A bad index throws a small integer
// (1 no storage, 2 out of range), which the calling operation's catch-all logs.
#pragma once

#include "CatchAllLog.h"

#include <cstdint>
#include <new>

template <class T, uint32_t N>
class StaticBoundsObject
{
    static_assert(N >= 1, "a static array holds at least one element");

public:
    T& GetElement(uint32_t index)
    {
        if (index >= N)
            throw 2;
        return m_elements[index];
    }
    const T& GetElement(uint32_t index) const
    {
        if (index >= N)
            throw 2;
        return m_elements[index];
    }
    static constexpr uint32_t GetCount() { return N; }

    HRESULT Fill(const T& value)
    {
        for (T& element : m_elements)
            element = value;
        return S_OK;
    }

private:
    // Built in order and destroyed in reverse order by the language itself.
    T m_elements[N]{};
};

template <class T>
class DynamicBoundsObject
{
public:
    DynamicBoundsObject() = default;
    DynamicBoundsObject(const DynamicBoundsObject& other) { *this = other; }
    ~DynamicBoundsObject()
    {
        try {
            FreeAndCheck();
        }
        CATCH_ALL_LOG()
    }

    // Stands for construction; an array that is already in use is freed first, not leaked.
    HRESULT Init(uint32_t count, uint32_t step)
    {
        FreeAll();
        m_step = step;
        return count != 0 ? SetSize(count) : S_OK;
    }

    HRESULT SetSize(uint32_t count)
    {
        try {
            return SetSizeReal(count, false);
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    // Resizes to count elements, keeping the first ones. Grows to count + step when the
    // capacity is passed (or when forced); gives room back when more than three steps are spare.
    HRESULT SetSizeReal(uint32_t count, bool force)
    {
        try {
            if (count == 0)
                return FreeAll();
            if (count == m_count)
                return S_OK;
            const bool grow = count > m_capacity || force;
            const bool shrink = !force && m_step > 0 && m_capacity - count > 3ull * m_step;
            if (grow || shrink)
                Reallocate(count, static_cast<uint64_t>(count) + m_step);
            else
                m_count = count;
            return S_OK;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    T& GetElement(uint32_t index)
    {
        if (m_data == nullptr)
            throw 1;
        if (index >= m_count)
            throw 2;
        return m_data[index];
    }
    const T& GetElement(uint32_t index) const
    {
        return const_cast<DynamicBoundsObject*>(this)->GetElement(index);
    }

    uint32_t GetCount() const { return m_count; }
    uint32_t GetCapacity() const { return m_capacity; }
    uint32_t GetStep() const { return m_step; }
    bool HasStorage() const { return m_data != nullptr; }

    HRESULT Fill(const T& value)
    {
        for (uint32_t i = 0; i < m_count; ++i)
            m_data[i] = value;
        return S_OK;
    }

    HRESULT FreeAll()
    {
        try {
            T* data = m_data;
            m_data = nullptr;
            m_count = 0;
            m_capacity = 0;
            delete[] data;
            return S_OK;
        }
        catch (...) {
            LogExceptionAt(__FILE__, __LINE__);
            m_count = 0;
            m_capacity = 0;
            return E_FAIL;
        }
    }

    HRESULT FreeAndCheck()
    {
        HRESULT result = FreeAll();
        if (m_data != nullptr)
            throw 241;
        if (m_count != 0)
            throw 242;
        if (m_capacity != 0)
            throw 243;
        return result;
    }

    DynamicBoundsObject& operator=(const DynamicBoundsObject& other)
    {
        try {
            if (&other == this)
                throw -1;
            m_step = other.m_step;
            if (FAILED(SetSizeReal(other.m_count, false)))
                return *this;
            for (uint32_t k = 0; k < other.m_count; ++k)
                m_data[k] = other.m_data[k];
        }
        CATCH_ALL_LOG()
        return *this;
    }

    // Drops the first n elements by moving the rest down; the count stays.
    HRESULT ShiftDown(uint32_t n)
    {
        try {
            if (n == 0)
                throw 100;
            if (n < m_count && m_data != nullptr)
                for (uint32_t k = 0; k + n < m_count; ++k)
                    m_data[k] = m_data[k + n];
            return S_OK;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

private:
    void Reallocate(uint32_t count, uint64_t capacity)
    {
        T* fresh = nullptr;
        // A byte count beyond 32 bits is refused as an impossible request, never cut short.
        if (capacity * sizeof(T) <= UINT32_MAX)
            fresh = new (std::nothrow) T[static_cast<size_t>(capacity)];
        // A growth that cannot be made leaves the array as it was: its elements may own things.
        if (fresh == nullptr)
            throw 240;
        const uint32_t kept = m_count < count ? m_count : count;
        for (uint32_t k = 0; k < kept; ++k)
            fresh[k] = m_data[k];
        delete[] m_data;
        m_data = fresh;
        m_capacity = static_cast<uint32_t>(capacity);
        m_count = count;
    }

    T* m_data = nullptr;
    uint32_t m_count = 0;
    uint32_t m_capacity = 0;
    uint32_t m_step = 0;
};
