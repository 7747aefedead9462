// Holds one reference on a COM interface pointer.
#pragma once

#include "CatchAllLog.h"

#include <unknwn.h>

template <class I>
class SmartComPointer
{
public:
    SmartComPointer() = default;
    SmartComPointer(const SmartComPointer&) = delete;
    ~SmartComPointer() { ReleasePointer("SmartComPointer::~SmartComPointer"); }

    // Moves the other holder's reference here; no reference is added.
    SmartComPointer& operator=(SmartComPointer& other)
    {
        if (&other != this) {
            ReleasePointer("SmartComPointer::perator=");
            m_pointer = other.m_pointer;
            other.m_pointer = nullptr;
        }
        return *this;
    }

    // Releases the held reference; the label names the holder and the place in the log.
    ULONG ReleasePointer(const char* label)
    {
        if (m_pointer == nullptr)
            return 0;
        I* pointer = m_pointer;
        m_pointer = nullptr;
        try {
            return pointer->Release();
        }
        catch (...) {
            fMfSG(label, nullptr, __FILE__, __LINE__, nullptr, false, true);
            LogExceptionAt(__FILE__, __LINE__);
            return 0;
        }
    }

    // Slot for calls that hand out a new reference (QueryInterface, CoCreateInstance).
    I** ReceiveSlot()
    {
        ReleasePointer("SmartComPointer::ReceiveSlot");
        return &m_pointer;
    }
    void** ReceiveVoidSlot() { return reinterpret_cast<void**>(ReceiveSlot()); }
    I* operator->() const { return m_pointer; }
    I* Get() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // Takes over a reference the caller already owns.
    void Attach(I* pointer)
    {
        ReleasePointer("SmartComPointer::Attach");
        m_pointer = pointer;
    }
    // Hands the reference to the caller.
    I* Detach()
    {
        I* pointer = m_pointer;
        m_pointer = nullptr;
        return pointer;
    }

private:
    I* m_pointer = nullptr;
};
