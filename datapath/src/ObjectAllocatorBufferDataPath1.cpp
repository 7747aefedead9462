#include "ObjectAllocatorBufferDataPath1.h"

#include "CatchAllLog.h"

ObjectAllocatorBufferDataPath1::Entry::Entry()
{
    try {
        m_frame.SetNULLFrame();
    }
    CATCH_ALL_RETHROW()
}

ObjectAllocatorBufferDataPath1::~ObjectAllocatorBufferDataPath1()
{
    try {
        ResetAllBuffers();
    }
    CATCH_ALL_LOG()
}

InfoDataBufferPath1* ObjectAllocatorBufferDataPath1::GetFreeBuffer(uint32_t /*sizeHint*/, bool withChildren)
{
    try {
        for (uint32_t i = 0; i < kCountBuffers; ++i) {
            Entry& entry = m_entries.GetElement(i);
            if (entry.m_in_use)
                continue;
            entry.m_in_use = true;
            if (withChildren && entry.m_frame.m_child_buffers.GetCount() == 0)
                entry.m_frame.EnableChildBuffers();
            return &entry.m_frame;
        }
        return nullptr;
    }
    CATCH_ALL_RETURN(nullptr)
}

HRESULT ObjectAllocatorBufferDataPath1::ReleaseBuffer(InfoDataBufferPath1* frame)
{
    if (frame == nullptr)
        return E_UNEXPECTED;
    try {
        for (uint32_t i = 0; i < kCountBuffers; ++i) {
            Entry& entry = m_entries.GetElement(i);
            if (&entry.m_frame == frame) {
                entry.m_in_use = false;
                return S_OK;
            }
        }
        return E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectAllocatorBufferDataPath1::ReleaseAllBuffers()
{
    try {
        for (uint32_t i = 0; i < kCountBuffers; ++i)
            m_entries.GetElement(i).m_in_use = false;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

uint32_t ObjectAllocatorBufferDataPath1::GetCountUsedBuffers() const
{
    try {
        uint32_t count = 0;
        for (uint32_t i = 0; i < kCountBuffers; ++i)
            count += m_entries.GetElement(i).m_in_use ? 1 : 0;
        return count;
    }
    CATCH_ALL_RETURN(0)
}

HRESULT ObjectAllocatorBufferDataPath1::ResetAllBuffers()
{
    try {
        HRESULT result = S_OK;
        for (uint32_t i = 0; i < kCountBuffers; ++i) {
            Entry& entry = m_entries.GetElement(i);
            if (entry.m_in_use) {
                DynamicString line("delete using buffers in index ");
                line += i;
                line += ", system instable";
                line.DumpString(true);
            }
            entry.m_in_use = false;
            entry.m_frame.UpdateSizeBuffer(16, 1);
            result = entry.m_frame.SetNULLFrame();
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
