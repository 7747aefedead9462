// Owners of a memory device context and of a selection into it, for the bitmap units.
#pragma once

#include <windows.h>

class ScopedMemoryContext
{
public:
    explicit ScopedMemoryContext(HDC compatibleWith) : m_context(CreateCompatibleDC(compatibleWith)) {}
    ScopedMemoryContext(const ScopedMemoryContext&) = delete;
    ScopedMemoryContext& operator=(const ScopedMemoryContext&) = delete;
    ~ScopedMemoryContext()
    {
        if (m_context != nullptr)
            DeleteDC(m_context);
    }
    HDC Get() const { return m_context; }

private:
    HDC m_context;
};

// Selects an object and puts the previous one back; declare it after the object's owner.
class ScopedSelection
{
public:
    ScopedSelection(HDC context, HGDIOBJ object) : m_context(context), m_previous(SelectObject(context, object)) {}
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    ~ScopedSelection()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            SelectObject(m_context, m_previous);
    }
    bool Selected() const { return m_previous != nullptr && m_previous != HGDI_ERROR; }

private:
    HDC m_context;
    HGDIOBJ m_previous;
};
