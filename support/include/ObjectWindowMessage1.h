// The registered operation messages of a class that owns a thread with a hidden window: the
// position of a name in the owner's list is the operation code. Filled once, then read from any thread.
#pragma once

#include "StaticAndDynamicBoundsObject.h"

#include <cstdint>

class ObjectWindowMessage1
{
public:
    static constexpr uint32_t MaxMessages = 128;

    ObjectWindowMessage1();
    virtual ~ObjectWindowMessage1();

    // Registers names[0..count); a null name leaves identifier 0. 0x8000FFFF for no names or a
    // count outside 1..128 (nothing changes then).
    HRESULT InitMessages(const char* const* names, int32_t count);
    // The lowest position holding the identifier, or -1.
    int32_t GetIndexFromMessage(UINT message) const;
    // Throws 2 for a position of 128 or more.
    UINT GetMessageFromIndex(uint32_t position) const;
    // Sends the operation at the position to the owner's window and waits at most timeoutMs:
    // the owner's answer, or 0x80004005 for no identifier, a dead window or a time-out.
    HRESULT SendMessageFromIndex(uint32_t position, HWND window, WPARAM wParam, LPARAM lParam, const char* caption,
                                 bool block, int32_t timeoutMs) const;

private:
    StaticBoundsObject<UINT, MaxMessages> m_messages;
    int32_t m_count = 0;
};

// Base of every request record sent with a registered operation; the receiver checks the name
// before it reads the record.
struct GeneralParentForMessageStruct
{
    explicit GeneralParentForMessageStruct(const char* name = nullptr);

    // 0 when the record carries the expected name; 1 (both names logged) when not; 0x8000FFFF for null.
    HRESULT CheckNameStruct(const char* expectedName) const;

    StaticString<128> m_name;
};
