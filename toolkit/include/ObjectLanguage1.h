// One text of the interface in every language: an identifier and one slot per language, each
// empty or owning its own string. Copies own copies of the strings.
#pragma once

#include "KestrelDebugFunct.h"

#include <cstdint>

class ObjectLanguage1
{
public:
    static constexpr uint32_t LanguageCount = 64;
    static constexpr int32_t FreeIdentifier = -1;
    using Text = StaticString<256>;

    ObjectLanguage1() = default;
    ~ObjectLanguage1();
    ObjectLanguage1(const ObjectLanguage1& other);
    // Clears this entry, then takes the identifier and a copy of every present string.
    ObjectLanguage1& operator=(const ObjectLanguage1& other);

    // Frees every string and marks the entry free.
    void Clear();
    // Gives the language its own copy of the text (null empties its slot). False for a language
    // outside the table.
    bool SetText(uint32_t language, const char* text);
    // Null for an empty slot or a language outside the table.
    const Text* GetText(uint32_t language) const;

    int32_t m_identifier = FreeIdentifier;

private:
    Text* m_texts[LanguageCount] = {};
};
