#include "BaseClassObjectDataPath1.h"

BaseClassObjectDataPath1::BaseClassObjectDataPath1()
{
    try {
        m_text_id = "BaseClassObjectDataPath1";
    }
    CATCH_ALL_RETHROW()
}

BaseClassObjectDataPath1::~BaseClassObjectDataPath1() = default;

HRESULT BaseClassObjectDataPath1::ReservedHook3()
{
    return S_OK;
}

HRESULT BaseClassObjectDataPath1::GetNameFilterImpl(DynamicString* name, float* version)
{
    if (version == nullptr || name == nullptr)
        return E_UNEXPECTED;
    try {
        *name = m_text_id;
        *version = m_version;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
