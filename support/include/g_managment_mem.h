// Owners of objects, GDI objects and file handles: each frees what it holds when destroyed.
#pragma once

#include "StaticAndDynamicBoundsObject.h"

// N owned object pointers.
template <class T, uint32_t N>
class AutoObjectArray
{
public:
    // Adopts the object as element 0, or, given null, creates a default object for every element.
    explicit AutoObjectArray(T* object = nullptr)
    {
        try {
            if (object != nullptr) {
                m_objects.GetElement(0) = object;
                return;
            }
            for (uint32_t i = 0; i < N; ++i)
                m_objects.GetElement(i) = new T();
        }
        CATCH_ALL_LOG()
    }
    AutoObjectArray(const AutoObjectArray&) = delete;
    AutoObjectArray& operator=(const AutoObjectArray&) = delete;
    ~AutoObjectArray()
    {
        try {
            for (uint32_t i = 0; i < N; ++i) {
                T*& slot = m_objects.GetElement(i);
                delete slot;
                slot = nullptr;
            }
        }
        CATCH_ALL_LOG()
    }

    T* Get(uint32_t index) const { return m_objects.GetElement(index); }

private:
    StaticBoundsObject<T*, N> m_objects;
};

class AutoGDIObject
{
public:
    AutoGDIObject() = default;
    explicit AutoGDIObject(HGDIOBJ handle) : m_handle(handle) {}
    AutoGDIObject(const AutoGDIObject&) = delete;
    AutoGDIObject& operator=(const AutoGDIObject&) = delete;
    ~AutoGDIObject() { Close(); }

    HRESULT Close()
    {
        try {
            if (m_handle != nullptr)
                DeleteObject(m_handle);
            m_handle = nullptr;
            return S_OK;
        }
        catch (...) {
            LogExceptionAt(__FILE__, __LINE__);
            m_handle = nullptr;
            return E_FAIL;
        }
    }
    void Attach(HGDIOBJ handle)
    {
        Close();
        m_handle = handle;
    }
    HGDIOBJ Get() const { return m_handle; }

private:
    HGDIOBJ m_handle = nullptr;
};

class AutoFileHandle
{
public:
    AutoFileHandle() = default;
    AutoFileHandle(HANDLE handle, bool isSearch) : m_handle(handle), m_isSearch(isSearch) {}
    AutoFileHandle(const AutoFileHandle&) = delete;
    AutoFileHandle& operator=(const AutoFileHandle&) = delete;
    ~AutoFileHandle() { Close(); }

    // Closes a real handle (FindClose for a search, else flush and close); the handle is 0 afterwards.
    HRESULT Close()
    {
        try {
            if (m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE) {
                if (m_isSearch) {
                    FindClose(m_handle);
                } else {
                    FlushFileBuffers(m_handle);
                    SAFE_CLOSE_HANDLE(m_handle);
                }
            }
            m_handle = nullptr;
            return S_OK;
        }
        catch (...) {
            LogExceptionAt(__FILE__, __LINE__);
            m_handle = nullptr;
            return E_FAIL;
        }
    }
    void Attach(HANDLE handle, bool isSearch)
    {
        Close();
        m_handle = handle;
        m_isSearch = isSearch;
    }
    HANDLE Get() const { return m_handle; }
    bool IsSearch() const { return m_isSearch; }

private:
    HANDLE m_handle = nullptr;
    bool m_isSearch = false;
};
