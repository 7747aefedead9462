#include "KestrelDebugFunct.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// Text length as the string stores it; longer text than 4 GiB is not text.
uint32_t Length(const char* text)
{
    return text != nullptr ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

template <class Number>
DynamicString& AppendNumber(DynamicString& text, const char* format, Number value)
{
    char digits[64];
    std::snprintf(digits, sizeof(digits), format, value);
    return text += digits;
}

} // namespace

DynamicString::DynamicString() = default;

DynamicString::DynamicString(const char* text)
{
    Assign(text, Length(text));
}

DynamicString::DynamicString(const wchar_t* text)
{
    *this = text;
}

DynamicString::DynamicString(const DynamicString& other)
{
    Assign(other.m_text, other.m_length);
}

DynamicString::DynamicString(DynamicString&& other) noexcept
    : m_text(std::exchange(other.m_text, nullptr)), m_length(std::exchange(other.m_length, 0)),
      m_capacity(std::exchange(other.m_capacity, 0))
{
}

DynamicString::~DynamicString()
{
    FreeString();
}

DynamicString& DynamicString::operator=(const char* text)
{
    Assign(text, Length(text));
    return *this;
}

DynamicString& DynamicString::operator=(const wchar_t* text)
{
    NullString();
    if (text == nullptr)
        return *this;
    int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 1 || FAILED(Reserve(static_cast<uint32_t>(needed - 1))))
        return *this;
    WideCharToMultiByte(CP_ACP, 0, text, -1, m_text, needed, nullptr, nullptr);
    m_length = static_cast<uint32_t>(needed - 1);
    return *this;
}

DynamicString& DynamicString::operator=(const DynamicString& other)
{
    if (this != &other)
        Assign(other.m_text, other.m_length);
    return *this;
}

DynamicString& DynamicString::operator=(DynamicString&& other) noexcept
{
    if (this != &other) {
        FreeString();
        m_text = std::exchange(other.m_text, nullptr);
        m_length = std::exchange(other.m_length, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

DynamicString& DynamicString::operator+=(const char* text)
{
    Append(text, Length(text));
    return *this;
}

DynamicString& DynamicString::operator+=(const DynamicString& other)
{
    if (this == &other) {
        DynamicString copy(other);
        Append(copy.m_text, copy.m_length);
    } else {
        Append(other.m_text, other.m_length);
    }
    return *this;
}

DynamicString& DynamicString::operator+=(int value) { return AppendNumber(*this, "%d", value); }
DynamicString& DynamicString::operator+=(unsigned int value) { return AppendNumber(*this, "%u", value); }
DynamicString& DynamicString::operator+=(long value) { return AppendNumber(*this, "%ld", value); }
DynamicString& DynamicString::operator+=(unsigned long value) { return AppendNumber(*this, "%lu", value); }
DynamicString& DynamicString::operator+=(long long value) { return AppendNumber(*this, "%lld", value); }
DynamicString& DynamicString::operator+=(unsigned long long value) { return AppendNumber(*this, "%llu", value); }
DynamicString& DynamicString::operator+=(double value) { return AppendNumber(*this, "%.6g", value); }

bool DynamicString::operator==(const char* text) const
{
    return text != nullptr && Length(text) == m_length && std::memcmp(GetString(), text, m_length) == 0;
}

bool DynamicString::operator==(const DynamicString& other) const
{
    return other.m_length == m_length && std::memcmp(GetString(), other.GetString(), m_length) == 0;
}

char& DynamicString::operator[](uint32_t index)
{
    if (index >= m_length)
        throw 2;
    return m_text[index];
}

char DynamicString::operator[](uint32_t index) const
{
    if (index >= m_length)
        throw 2;
    return m_text[index];
}

const char* DynamicString::GetString() const
{
    return m_text != nullptr ? m_text : "";
}

void DynamicString::NullString()
{
    m_length = 0;
    if (m_text != nullptr)
        m_text[0] = 0;
}

HRESULT DynamicString::ResetString()
{
    NullString();
    return S_OK;
}

void DynamicString::FreeString()
{
    SAFE_TASK_FREE(&m_text, GetHeapForDynamicString());
    m_length = 0;
    m_capacity = 0;
}

HRESULT DynamicString::CheckString() const
{
    if (m_text == nullptr)
        return m_length == 0 ? S_OK : E_UNEXPECTED;
    return m_length < m_capacity && m_text[m_length] == 0 ? S_OK : E_UNEXPECTED;
}

void DynamicString::DumpString(bool flush) const
{
    fMfSG(GetString(), nullptr, __FILE__, __LINE__, nullptr, false, true);
    if (flush)
        FlushDebugeBuffers();
}

HRESULT DynamicString::CopyToStandartString(char* buffer, uint32_t size) const
{
    if (buffer == nullptr || size == 0)
        return E_INVALIDARG;
    uint32_t length = m_length < size - 1 ? m_length : size - 1;
    std::memcpy(buffer, GetString(), length);
    buffer[length] = 0;
    return length == m_length ? S_OK : S_FALSE;
}

int DynamicString::FindFirstSubstring(const char* text, uint32_t start) const
{
    uint32_t length = Length(text);
    if (length == 0 || start > m_length)
        return -1;
    void* found = MemStr(GetString() + start, m_length - start, text, length);
    return found != nullptr ? static_cast<int>(static_cast<const char*>(found) - GetString()) : -1;
}

HRESULT DynamicString::CopySubString(DynamicString& destination, uint32_t index, uint32_t count) const
{
    if (index > m_length)
        return E_UNEXPECTED;
    if (count > m_length - index)
        count = m_length - index;
    if (&destination == this) {
        DynamicString part;
        part.Assign(GetString() + index, count);
        destination = std::move(part);
        return S_OK;
    }
    return destination.Assign(GetString() + index, count);
}

HRESULT DynamicString::InsertStringToIndex(const char* text, uint32_t index)
{
    if (text == nullptr)
        return E_INVALIDARG;
    if (index > m_length)
        return E_UNEXPECTED;
    DynamicString copy(text); // text may point into this string
    uint32_t length = copy.m_length;
    if (length == 0)
        return S_OK;
    if (m_length + length < m_length)
        return E_INVALIDARG;
    HRESULT result = Reserve(m_length + length);
    if (FAILED(result))
        return result;
    std::memmove(m_text + index + length, m_text + index, m_length - index + 1);
    std::memcpy(m_text + index, copy.m_text, length);
    m_length += length;
    return S_OK;
}

HRESULT DynamicString::DeleteSubStringFromIndex(uint32_t index, uint32_t count)
{
    if (index > m_length)
        return E_UNEXPECTED;
    if (count > m_length - index)
        count = m_length - index;
    if (count == 0)
        return S_OK;
    std::memmove(m_text + index, m_text + index + count, m_length - index - count + 1);
    m_length -= count;
    return S_OK;
}

HRESULT DynamicString::DeleteAllSymbolFromString(char symbol)
{
    uint32_t kept = 0;
    for (uint32_t i = 0; i < m_length; ++i)
        if (m_text[i] != symbol)
            m_text[kept++] = m_text[i];
    if (m_text != nullptr)
        m_text[kept] = 0;
    m_length = kept;
    return S_OK;
}

HRESULT DynamicString::Reserve(uint32_t length)
{
    if (length == UINT32_MAX)
        return E_INVALIDARG;
    if (length < m_capacity)
        return S_OK;
    // Grow geometrically so repeated appends stay linear.
    uint64_t capacity = static_cast<uint64_t>(length) + 1;
    if (capacity < 2ull * m_capacity)
        capacity = 2ull * m_capacity;
    if (capacity < 16)
        capacity = 16;
    if (capacity > UINT32_MAX)
        capacity = UINT32_MAX;
    HRESULT result = SAFE_TASK_REALLOC(&m_text, capacity, GetHeapForDynamicString());
    if (FAILED(result))
        return result;
    m_capacity = static_cast<uint32_t>(capacity);
    return S_OK;
}

HRESULT DynamicString::Assign(const char* text, uint32_t length)
{
    if (text != nullptr && m_text != nullptr && text >= m_text && text < m_text + m_capacity) {
        DynamicString copy;
        copy.Assign(text, length);
        *this = std::move(copy);
        return S_OK;
    }
    NullString();
    return Append(text, length);
}

HRESULT DynamicString::Append(const char* text, uint32_t length)
{
    if (text == nullptr || length == 0)
        return S_OK;
    if (m_length + length < m_length)
        return E_INVALIDARG;
    if (m_text != nullptr && text >= m_text && text < m_text + m_capacity) {
        DynamicString copy;
        copy.Assign(text, length);
        return Append(copy.m_text, copy.m_length);
    }
    HRESULT result = Reserve(m_length + length);
    if (FAILED(result))
        return result;
    std::memcpy(m_text + m_length, text, length);
    m_length += length;
    m_text[m_length] = 0;
    return S_OK;
}
