#include "ObjectWindowMessage1.h"

#include "FunctWorkWithHWND.h"

ObjectWindowMessage1::ObjectWindowMessage1() = default;

ObjectWindowMessage1::~ObjectWindowMessage1() = default;

HRESULT ObjectWindowMessage1::InitMessages(const char* const* names, int32_t count)
{
    try {
        if (names == nullptr || count < 1 || count > static_cast<int32_t>(MaxMessages))
            return E_UNEXPECTED;
        m_count = count;
        for (int32_t position = 0; position < count; ++position) {
            UINT& message = m_messages.GetElement(position);
            message = 0;
            if (names[position] == nullptr)
                continue;
            message = RegisterWindowMessageA(names[position]);
            if (message == 0)
                LOG_TEXT(names[position]);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t ObjectWindowMessage1::GetIndexFromMessage(UINT message) const
{
    try {
        // Identifier 0 marks an unregistered position; WM_NULL (0) must never pass for an operation.
        if (message == 0)
            return -1;
        for (int32_t position = 0; position < m_count; ++position)
            if (m_messages.GetElement(position) == message)
                return position;
        return -1;
    }
    CATCH_ALL_RETURN(-1)
}

UINT ObjectWindowMessage1::GetMessageFromIndex(uint32_t position) const
{
    return m_messages.GetElement(position);
}

HRESULT ObjectWindowMessage1::SendMessageFromIndex(uint32_t position, HWND window, WPARAM wParam, LPARAM lParam,
                                                   const char* caption, bool block, int32_t timeoutMs) const
{
    try {
        const UINT message = GetMessageFromIndex(position);
        if (message == 0)
            return E_FAIL;
        // The owner answers with its operation's 32-bit result code.
        return static_cast<HRESULT>(
            SafeSendMessageTimeout(window, message, wParam, lParam, timeoutMs, DynamicString(caption), block));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

GeneralParentForMessageStruct::GeneralParentForMessageStruct(const char* name)
{
    try {
        m_name = name != nullptr ? name : "GeneralParentForMessageStruct";
    }
    CATCH_ALL_RETHROW()
}

HRESULT GeneralParentForMessageStruct::CheckNameStruct(const char* expectedName) const
{
    try {
        if (expectedName == nullptr)
            return E_UNEXPECTED;
        if (m_name == expectedName)
            return S_OK;
        m_name.DumpString();
        LOG_TEXT(expectedName);
        return S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
