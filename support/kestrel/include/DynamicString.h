// Growable 8-bit text. Its memory lives in one process-wide heap, so strings may be made in
// one module and freed in another.
#pragma once

#include <cstdint>

class KESTREL_API DynamicString
{
public:
    DynamicString();
    DynamicString(const char* text);
    DynamicString(const wchar_t* text);
    DynamicString(const DynamicString& other);
    DynamicString(DynamicString&& other) noexcept;
    ~DynamicString();

    DynamicString& operator=(const char* text);
    DynamicString& operator=(const wchar_t* text);
    DynamicString& operator=(const DynamicString& other);
    DynamicString& operator=(DynamicString&& other) noexcept;

    // Appends text, or a number as decimal text.
    DynamicString& operator+=(const char* text);
    DynamicString& operator+=(const DynamicString& other);
    DynamicString& operator+=(int value);
    DynamicString& operator+=(unsigned int value);
    DynamicString& operator+=(long value);
    DynamicString& operator+=(unsigned long value);
    DynamicString& operator+=(long long value);
    DynamicString& operator+=(unsigned long long value);
    DynamicString& operator+=(double value);

    bool operator==(const char* text) const;
    bool operator==(const DynamicString& other) const;
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator!=(const DynamicString& other) const { return !(*this == other); }

    // Character at index; an index not below the length throws integer 2.
    char& operator[](uint32_t index);
    char operator[](uint32_t index) const;

    // Never null: an empty string gives "".
    const char* GetString() const;
    uint32_t GetLenString() const { return m_length; }

    // Empty the text (the memory is kept).
    void NullString();
    HRESULT ResetString();
    // Empty the text and give its memory back.
    void FreeString();
    // 0 when the text is consistent (terminated at its length), 0x8000FFFF when not.
    HRESULT CheckString() const;
    // Writes the text to the log; with flush set, also flushes the log.
    void DumpString(bool flush = false) const;
    // Copies the text, cut to size - 1 characters and terminated. 0x80070057 for no buffer.
    HRESULT CopyToStandartString(char* buffer, uint32_t size) const;

    // Index of the first occurrence at or after start, or -1.
    int FindFirstSubstring(const char* text, uint32_t start = 0) const;
    // destination = count characters from index (cut at the end of the text).
    HRESULT CopySubString(DynamicString& destination, uint32_t index, uint32_t count) const;
    HRESULT InsertStringToIndex(const char* text, uint32_t index);
    HRESULT DeleteSubStringFromIndex(uint32_t index, uint32_t count);
    HRESULT DeleteAllSymbolFromString(char symbol);

private:
    HRESULT Reserve(uint32_t length);
    HRESULT Assign(const char* text, uint32_t length);
    HRESULT Append(const char* text, uint32_t length);

    char* m_text = nullptr;
    uint32_t m_length = 0;
    uint32_t m_capacity = 0; // bytes allocated, terminator included
#if !defined(_WIN64)
    // The outside library's string object is 32 bytes in the 32-bit build, and the records other
    // programs read with strings inside count on that size.
    uint32_t m_reserved[5] = {};
#endif
};

#if !defined(_WIN64)
static_assert(sizeof(DynamicString) == 32, "a string is 32 bytes in the 32-bit build");
#endif
