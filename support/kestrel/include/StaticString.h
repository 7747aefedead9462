// Fixed-capacity text of N characters (terminator included), 8-bit or 16-bit. Longer text is cut.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <cstring>
#include <string>

namespace kestrel_detail {

inline size_t TextLength(const char* text) { return std::strlen(text); }
inline size_t TextLength(const wchar_t* text) { return std::wcslen(text); }
// Length of text in a buffer of capacity characters that may lack its terminator.
inline size_t TextLength(const char* text, size_t capacity) { return strnlen(text, capacity); }
inline size_t TextLength(const wchar_t* text, size_t capacity) { return wcsnlen(text, capacity); }

// Copies source into a buffer of capacity characters, converting between 8-bit and 16-bit text,
// cut to capacity - 1 characters and always terminated.
template <class CharT>
void CopyText(CharT* buffer, size_t capacity, const CharT* source)
{
    size_t length = TextLength(source);
    if (length > capacity - 1)
        length = capacity - 1;
    std::char_traits<CharT>::copy(buffer, source, length);
    buffer[length] = 0;
}
inline void CopyText(char* buffer, size_t capacity, const wchar_t* source)
{
    buffer[0] = 0;
    WideCharToChar(source, buffer, static_cast<int>(capacity));
}
inline void CopyText(wchar_t* buffer, size_t capacity, const char* source)
{
    // MultiByteToWideChar fails on a short buffer; convert in full first, then cut.
    int needed = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
    if (needed <= 0) {
        buffer[0] = 0;
        return;
    }
    if (static_cast<size_t>(needed) <= capacity) {
        MultiByteToWideChar(CP_ACP, 0, source, -1, buffer, static_cast<int>(capacity));
        return;
    }
    wchar_t* whole = new wchar_t[needed];
    MultiByteToWideChar(CP_ACP, 0, source, -1, whole, needed);
    CopyText(buffer, capacity, static_cast<const wchar_t*>(whole));
    delete[] whole;
}

} // namespace kestrel_detail

template <uint32_t N, class CharT = char>
class StaticString
{
    static_assert(N >= 2, "a static string holds at least one character");

public:
    StaticString() { m_text[0] = 0; }
    StaticString(const char* text) { *this = text; }
    StaticString(const wchar_t* text) { *this = text; }
    StaticString(const StaticString& other) = default;

    StaticString& operator=(const StaticString& other) = default;
    StaticString& operator=(const char* text)
    {
        if (text == nullptr)
            m_text[0] = 0;
        else
            kestrel_detail::CopyText(m_text, N, text);
        return *this;
    }
    StaticString& operator=(const wchar_t* text)
    {
        if (text == nullptr)
            m_text[0] = 0;
        else
            kestrel_detail::CopyText(m_text, N, text);
        return *this;
    }

    StaticString& operator+=(const CharT* text)
    {
        if (text != nullptr)
            Append(text);
        return *this;
    }
    StaticString& operator+=(int value) { return AppendNumber("%d", value); }
    StaticString& operator+=(unsigned int value) { return AppendNumber("%u", value); }
    StaticString& operator+=(long value) { return AppendNumber("%ld", value); }
    StaticString& operator+=(unsigned long value) { return AppendNumber("%lu", value); }
    StaticString& operator+=(long long value) { return AppendNumber("%lld", value); }
    StaticString& operator+=(unsigned long long value) { return AppendNumber("%llu", value); }
    StaticString& operator+=(double value) { return AppendNumber("%.6g", value); }

    bool operator==(const CharT* text) const
    {
        return text != nullptr && std::char_traits<CharT>::length(text) == GetLenString() &&
               std::char_traits<CharT>::compare(m_text, text, GetLenString()) == 0;
    }
    bool operator==(const StaticString& other) const { return *this == other.m_text; }
    bool operator!=(const CharT* text) const { return !(*this == text); }
    bool operator!=(const StaticString& other) const { return !(*this == other); }

    const CharT* GetString() const { return m_text; }
    CharT* GetString() { return m_text; }
    // N when the buffer lacks its terminator (a record read from outside before ValidateString).
    uint32_t GetLenString() const { return static_cast<uint32_t>(kestrel_detail::TextLength(m_text, N)); }
    static constexpr uint32_t GetMaxSizeBuffer() { return N; }

    void NullString() { m_text[0] = 0; }
    HRESULT ResetString()
    {
        m_text[0] = 0;
        return S_OK;
    }
    // 0 when the text is terminated inside the buffer, 0x8000FFFF when not.
    HRESULT CheckString() const
    {
        for (uint32_t i = 0; i < N; ++i)
            if (m_text[i] == 0)
                return S_OK;
        return E_UNEXPECTED;
    }
    // Forces a terminator into the last place, so a record read from outside is always text.
    void ValidateString() { m_text[N - 1] = 0; }
    void DumpString(bool flush = false) const
    {
        DynamicString text(m_text);
        text.DumpString(flush);
    }
    HRESULT CopyToStandartString(char* buffer, uint32_t size) const
    {
        if (buffer == nullptr || size == 0)
            return E_INVALIDARG;
        kestrel_detail::CopyText(buffer, size, m_text);
        return S_OK;
    }

private:
    template <class Number>
    StaticString& AppendNumber(const char* format, Number value)
    {
        char digits[64];
        std::snprintf(digits, sizeof(digits), format, value);
        Append(static_cast<const char*>(digits));
        return *this;
    }

    // Appends behind the text, cut to the buffer; a buffer without terminator has no room left.
    template <class SourceT>
    void Append(const SourceT* text)
    {
        const uint32_t length = GetLenString();
        if (length < N)
            kestrel_detail::CopyText(m_text + length, N - length, text);
    }

    CharT m_text[N];
};
