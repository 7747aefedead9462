#include "ObjectLanguage1.h"

ObjectLanguage1::~ObjectLanguage1()
{
    Clear();
}

ObjectLanguage1::ObjectLanguage1(const ObjectLanguage1& other)
{
    *this = other;
}

ObjectLanguage1& ObjectLanguage1::operator=(const ObjectLanguage1& other)
{
    if (&other == this)
        return *this;
    Clear();
    m_identifier = other.m_identifier;
    for (uint32_t language = 0; language < LanguageCount; ++language)
        if (other.m_texts[language] != nullptr)
            m_texts[language] = new Text(*other.m_texts[language]);
    return *this;
}

void ObjectLanguage1::Clear()
{
    for (Text*& text : m_texts) {
        delete text;
        text = nullptr;
    }
    m_identifier = FreeIdentifier;
}

bool ObjectLanguage1::SetText(uint32_t language, const char* text)
{
    if (language >= LanguageCount)
        return false;
    delete m_texts[language];
    m_texts[language] = text != nullptr ? new Text(text) : nullptr;
    return true;
}

const ObjectLanguage1::Text* ObjectLanguage1::GetText(uint32_t language) const
{
    return language < LanguageCount ? m_texts[language] : nullptr;
}
